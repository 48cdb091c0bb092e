#pragma once
// The grid's free routines that draw nothing: integer helpers, character and
// substring search, what kind of text a cell holds (number, date, URL,
// formula, RTF, HTML, encoded wide text), the number and short-date readers,
// the line-break forms cells take on the clipboard, in streams and in
// imports, delimiter counting for text import, the wide-text cell encoding
// and name casing.
//
// Texts are 8-bit strings; positions are 1-based and 0 means "not found".
// Routines that depend on regional settings read them at each call from the
// settings passed in, by default the current ones (GridEnvironment.h).
#include <bitset>
#include <string>
#include <string_view>

#include "grid/model/GridEnvironment.h"
#include "grid/model/GridTypes.h"

namespace grid {

// --- Integers ---

// A when B < A, else B (signed; one of the arguments unchanged).
inline Integer Max(Integer a, Integer b) { return b < a ? a : b; }
// A when B > A, else B.
inline Integer Min(Integer a, Integer b) { return b > a ? a : b; }
// Value held between the bounds; equal bounds, and a bound of 0 or less,
// do not limit. Both tests look at the value as passed in.
Integer LimitToRange(Integer value, Integer minimum, Integer maximum);
bool CellInGridRect(const TGridRect& rect, Integer col, Integer row);

// --- Search ---

// Position of sub (given in upper case) in the ASCII-upper-cased text.
Integer UpperPos(std::string_view sub, std::string_view text);
Integer CharIndex(char ch, std::string_view text);
// CharIndex, stored into position only when found.
Integer FindCharPos(char ch, std::string_view text, Integer& position);
// Position of sub in text, always stored into position.
Integer FindPos(std::string_view sub, std::string_view text, Integer& position);
// Token := the text before the first occurrence of delimiter, which is cut
// from source together with the delimiter's first character; without the
// delimiter source stays and token is empty.
void SplitAtDelimiter(AnsiString& source, std::string_view delimiter, AnsiString& token);
using TCharSet = std::bitset<256>;
TCharSet CharSet(std::string_view chars);
// The first character of the set standing outside double quotes (the count
// of quotes up to and including it is even); position is its 1-based place,
// or -1 with the result 0 when none.
char FirstSetCharOutsideQuotes(const TCharSet& set, std::string_view text, Integer& position);
// Null-terminated wide search: a pointer into str, or null.
const WideChar* WideStrPos(const WideChar* str, const WideChar* sub);
Integer WidePos(std::u16string_view sub, std::u16string_view text);

// --- Character classes ---

bool IsDigitChar(char c);
bool IsSignOrDigit(char c);
bool IsNumberChar(char c, const LocaleSettings& locale = CurrentLocale());
bool IsFloatChar(char c);
bool IsSignedNumberChar(char c, const LocaleSettings& locale = CurrentLocale());
bool IsWordBreakChar(char c);
char LowerChar(char c);

// --- Text kinds ---

enum class TTextKind { tkPlain = 0, tkHTML = 1, tkRTF = 2, tkFormula = 3, tkWide = 5 };
TTextKind GetTextKind(std::string_view text, bool htmlEnabled);
bool HasURLScheme(std::string_view text);
void StripURLScheme(AnsiString& text);
// Wraps the first URL of the given scheme (upper case, such as "FTP://") in
// an anchor, after escaping '<' and '>'; false (result untouched) when the
// scheme does not occur.
bool LinkifyURL(std::string_view text, std::string_view scheme, AnsiString& result);
// "R<row>C<col>", any case, four characters at least.
bool ParseCellReference(std::string_view text, TCellCoord& cell);

// --- Numbers ---

enum class TNumberKind { nkInteger = 0, nkFloat = 1, nkNone = 2, nkExponent = 5 };
// A displayed number as a plain number text ("." as decimal separator).
AnsiString ExtractNumberText(std::string_view text, const LocaleSettings& locale = CurrentLocale());
TNumberKind GetNumberKind(std::string_view text, const LocaleSettings& locale = CurrentLocale());

// --- Dates ---

// A short date in the order of the short date format, then an optional time.
bool TryParseDateTime(std::string_view text, TDateTime& value, const LocaleSettings& locale = CurrentLocale());
// Month/day/year and day/month/year with "/", "." or "-"; 0 when the text
// holds no date. Years 0-25 are 2000-2025, 26-99 are 1926-1999, larger
// years stand as written. An impossible date raises EConvertError.
TDateTime ParseUSDate(std::string_view text);
TDateTime ParseEUDate(std::string_view text);
bool HasTwoDateSeparators(std::string_view text, const LocaleSettings& locale = CurrentLocale());
// One step of years, months or days (16-bit values, negative steps as their
// two's complement), or date + delta when more or none is given.
TDateTime IncDateParts(Word years, Word months, Word days, TDateTime date, TDateTime delta);

// --- Line breaks and cell text forms ---

// CR -> 9, LF -> 8, NUL -> 1, only when the text holds a CR.
AnsiString EncodeLineBreaks(std::string_view text);
// The reverse when the text holds an 8; the whole text or its first line.
AnsiString DecodeLineBreaks(std::string_view text, bool wholeText);
// Line := the text before the first CR (which is cut, with an LF after it);
// without KeepRest the rest is dropped too.
void TakeFirstLine(AnsiString& text, bool keepRest, AnsiString& line);
Integer LineCount(std::string_view text, bool multiLineCells);
// Each CR LF becomes one character 11 and the text is put in double quotes.
void PackLineBreaks(AnsiString& text);
void UnpackLineBreaks(AnsiString& text);
// "~" becomes CR LF; a lone "^" becomes empty.
void ExpandTildeBreaks(AnsiString& text);
// Backslash-n becomes CR.
AnsiString ExpandLineBreakEscapes(std::string_view text);
// Every CR becomes LF.
AnsiString CRToLF(std::string_view text);
void FillWithChar(AnsiString& text, char ch);
// Text in the OEM code page to the program's 8-bit text.
void OemToAnsiText(AnsiString& text, const LocaleSettings& locale = CurrentLocale());
// Doubled quote characters become one, single ones are dropped.
AnsiString RemoveQuoteChar(char quote, std::string_view text);

// --- Delimiter counting ---

Integer SingleCharPos(char ch, std::string_view text, Integer& position);
Integer SingleCharCount(char ch, std::string_view text);
Integer CharCount(char ch, std::string_view text);

// --- Wide text cells ---

// "|\" and then each UTF-16 unit as two characters, high byte first.
AnsiString EncodeWideText(std::u16string_view text);
// The reverse for marked text; any other text is converted from UTF-8.
WideString DecodeWideText(std::string_view text);

// --- Names ---

// Capitalised words, with the "Mc" and Roman-numeral rules.
AnsiString MixedCase(std::string_view text);

}  // namespace grid
