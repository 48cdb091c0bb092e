#pragma once
// String routines with the run-time library's exact results.
//
// Positions are 1-based and out-of-range arguments clamp instead of failing,
// so a 1-based algorithm can be carried over line by line. Case rules are
// ASCII unless the name starts with "Ansi" or "Wide"; nothing here reads the
// machine's locale.
#include <string>
#include <string_view>

#include "rtl/Types.h"

namespace rtl {

// Copy(s, index, count): up to count characters from 1-based index. An index
// below 1 starts at 1; an index past the end or a count <= 0 gives "".
AnsiString Copy(std::string_view s, Integer index, Integer count);
WideString Copy(std::u16string_view s, Integer index, Integer count);
// Copy(s, index): from index to the end.
AnsiString Copy(std::string_view s, Integer index);
WideString Copy(std::u16string_view s, Integer index);

// 1-based position of the first occurrence of sub in s; 0 when absent or
// when sub is empty.
Integer Pos(std::string_view sub, std::string_view s);
Integer Pos(std::u16string_view sub, std::u16string_view s);
inline Integer Pos(char sub, std::string_view s) { return Pos(std::string_view(&sub, 1), s); }
inline Integer Pos(WideChar sub, std::u16string_view s) { return Pos(std::u16string_view(&sub, 1), s); }
// Like Pos, searching from 1-based offset; 0 when offset < 1 or offset is
// past the end of s.
Integer PosEx(std::string_view sub, std::string_view s, Integer offset = 1);
Integer PosEx(std::u16string_view sub, std::u16string_view s, Integer offset = 1);

// Removes count characters from 1-based index. Nothing happens when index < 1,
// index > length or count <= 0; a count past the end removes to the end.
void Delete(AnsiString& s, Integer index, Integer count);
void Delete(WideString& s, Integer index, Integer count);
// Inserts source before 1-based index of s; index < 1 inserts at the front,
// index past the end appends.
void Insert(std::string_view source, AnsiString& s, Integer index);
void Insert(std::u16string_view source, WideString& s, Integer index);

// Remove leading/trailing characters whose codes are 32 or below.
AnsiString Trim(std::string_view s);
AnsiString TrimLeft(std::string_view s);
AnsiString TrimRight(std::string_view s);
WideString Trim(std::u16string_view s);
WideString TrimLeft(std::u16string_view s);
WideString TrimRight(std::u16string_view s);

// ASCII case mapping: only 'A'..'Z' / 'a'..'z' change.
AnsiString LowerCase(std::string_view s);
AnsiString UpperCase(std::string_view s);
WideString LowerCase(std::u16string_view s);
WideString UpperCase(std::u16string_view s);
char UpCase(char c);

// Case mapping beyond ASCII for UTF-8 text: Latin-1, Latin Extended-A,
// Greek and Cyrillic letters map with a fixed table (no locale).
AnsiString AnsiLowerCase(std::string_view s);
AnsiString AnsiUpperCase(std::string_view s);
WideString WideLowerCase(std::u16string_view s);
WideString WideUpperCase(std::u16string_view s);

// Ordinal comparison; < 0, 0 or > 0.
Integer CompareStr(std::string_view a, std::string_view b);
bool SameStr(std::string_view a, std::string_view b);
// ASCII case-insensitive comparison; < 0, 0 or > 0 (by upper-cased bytes).
Integer CompareText(std::string_view a, std::string_view b);
Integer CompareText(std::u16string_view a, std::u16string_view b);
bool SameText(std::string_view a, std::string_view b);
bool SameText(std::u16string_view a, std::u16string_view b);
// Case-insensitive comparison with the fixed table of AnsiUpperCase, then by
// code point; deterministic and locale-free.
Integer AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
Integer AnsiCompareStr(std::string_view a, std::string_view b);
Integer WideCompareText(std::u16string_view a, std::u16string_view b);
bool WideSameText(std::u16string_view a, std::u16string_view b);

// Text starts/ends with/contains another, ASCII case ignored (Text) or exact (Str).
bool StartsText(std::string_view sub, std::string_view s);
bool EndsText(std::string_view sub, std::string_view s);
bool ContainsText(std::string_view s, std::string_view sub);
bool StartsStr(std::string_view sub, std::string_view s);
bool EndsStr(std::string_view sub, std::string_view s);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
// Replaces the first (or with rfReplaceAll every) occurrence of oldPattern;
// rfIgnoreCase matches ASCII letters without regard to case. An empty
// oldPattern changes nothing.
AnsiString StringReplace(std::string_view s, std::string_view oldPattern,
                         std::string_view newPattern, TReplaceFlags flags = {});
WideString StringReplace(std::u16string_view s, std::u16string_view oldPattern,
                         std::u16string_view newPattern, TReplaceFlags flags = {});

// s in single quotes, every single quote inside doubled.
AnsiString QuotedStr(std::string_view s);
// s in the given quote character, every quote inside doubled.
AnsiString AnsiQuotedStr(std::string_view s, char quote);
// Reverses AnsiQuotedStr: when s starts with quote, the text up to the
// closing quote with doubled quotes undoubled; otherwise s unchanged.
AnsiString AnsiDequotedStr(std::string_view s, char quote);

AnsiString StringOfChar(char c, Integer count);  // "" when count <= 0
WideString StringOfChar(WideChar c, Integer count);
AnsiString DupeString(std::string_view s, Integer count);

// 1-based index of the last character of s that is in delimiters; 0 if none.
Integer LastDelimiter(std::string_view delimiters, std::string_view s);
// True when s[index] (1-based) is one of delimiters.
bool IsDelimiter(std::string_view delimiters, std::string_view s, Integer index);

// Line ends (CR, LF, CR LF) normalised to CR LF.
AnsiString AdjustLineBreaks(std::string_view s);

// Length as a run-time Integer.
inline Integer Length(std::string_view s) { return static_cast<Integer>(s.size()); }
inline Integer Length(std::u16string_view s) { return static_cast<Integer>(s.size()); }

}  // namespace rtl
