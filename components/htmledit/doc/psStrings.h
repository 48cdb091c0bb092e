#pragma once
// Text helpers of the HTML editor: the case and trimming rules in one place
// (TpsStrings), helpers on 8-bit text (UTF-8, the system code page) and on
// 16-bit text, the entity encoder and decoders, a ring buffer of recent
// characters for error messages, a token parser, a document's character
// encoding and a growable list of 16-bit strings.
//
// Positions are 1-based. Mind which helpers answer 0 and which -1 for "not
// found": each keeps the convention its callers rely on.
#include <memory>
#include <vector>

#include "rtl/CodePages.h"
#include "rtl/Format.h"
#include "rtl/StringList.h"
#include "rtl/Types.h"

namespace htmldoc {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;
using rtl::WideChar;
using rtl::WideString;

// String operations the rest of the editor calls so that the case rules stay
// in one place. Never instantiated.
class TpsStrings {
 public:
  TpsStrings() = delete;
  static AnsiString LowerCase(const AnsiString& aText);  // ASCII only
  // Through the system code page and back; characters it cannot hold do not
  // survive.
  static WideString WideLowerCase(const WideString& aText);
  static AnsiString UpperCase(const AnsiString& aText);  // ASCII only
  static WideString WideUpperCase(const WideString& aText);
  // Removes leading and trailing characters with codes up to 32.
  static AnsiString Trim(const AnsiString& aText);
  // ASCII case ignored; 0 when equal.
  static Integer CompareText(const AnsiString& aText1, const AnsiString& aText2);
  // 1-based position of the first occurrence, 0 when absent.
  static Integer Pos(const AnsiString& aSubText, const AnsiString& aText);
  static AnsiString IntToStr(Integer aValue);
  static AnsiString Format(const AnsiString& aFormat, const std::vector<rtl::FormatArg>& aArgs);
  // First position at or after aStart holding one of aChars; 0 when none.
  static Integer FindFirstOf(const AnsiString& aChars, const AnsiString& aText, Integer aStart);
};

using TStringArray = std::vector<AnsiString>;

// --- Entities --------------------------------------------------------------

// Replaces every entity the entity table knows, and every numeric character
// reference, by its character; anything else after "&" stays as it is.
AnsiString DecodeEntities(const AnsiString& aText);
WideString DecodeEntitiesW(const WideString& aText);
// Characters with an entity become it (or "&#n;" with aNumeric); other
// characters below 256 stay as one byte, the rest become "&#n;" with the
// code point (one reference for a surrogate pair).
AnsiString EncodeEntities(const WideString& aText, bool aNumeric);

// --- 8-bit and 16-bit helpers ---------------------------------------------

// Every run of tab, LF, CR and space becomes one space; none at either end.
AnsiString CollapseWhitespace(const AnsiString& aText);
// Removes leading and trailing spaces (code 32 only).
AnsiString TrimSpaces(const AnsiString& aText);
void DeleteFirstChar(AnsiString& aText);
// The leading hexadecimal digits of the text trimmed of spaces; 0 when none.
Integer HexToInt(const AnsiString& aText);
// Two lower-case hexadecimal digits.
AnsiString ByteToHex(Byte aValue);
void DeleteAll(AnsiString& aText, const AnsiString& aSubText);
// The pieces between separators, each trimmed of spaces; n separators give
// n + 1 pieces, the empty text none.
TStringArray SplitAndTrim(const AnsiString& aText, char aSeparator);
// Every line followed by CR LF.
AnsiString StringsToText(const rtl::TStrings& aStrings);
// The lines separated by CR LF; a last line without one counts when not empty.
std::unique_ptr<rtl::TStringList> TextToStringList(const AnsiString& aText);
// Appends aItem with ";" between when aText is not empty.
void AppendSeparated(AnsiString& aText, const AnsiString& aItem);
bool IsWideBlank(WideChar aChar);  // space or tab
bool IsBlank(char aChar);          // space or tab
// An integer by Val rules: leading spaces, a sign, "$", "x" or "0x" before
// hexadecimal digits. False on any error.
bool TryParseInt(const AnsiString& aText, Integer& aValue);
bool IsWideQuote(WideChar aChar);
AnsiString SpaceString(Integer aCount);  // "" for a negative count
void TrimTrailingBlanksW(WideString& aText);
// Prefixes "0" until the length reaches aWidth.
AnsiString ZeroPad(const AnsiString& aText, Integer aWidth);
void TrimLeadingBlanksW(WideString& aText);
void TrimLeadingBlanks(AnsiString& aText);
// Of each run of spaces and tabs only the first character is kept.
WideString CollapseBlanksW(const WideString& aText);
WideString WideCharToWideString(WideChar aChar);
AnsiString CharToString(char aChar);
// Takes the first comma-separated integer off aList; False (aList as it
// was) when it is no integer.
bool PopListInteger(AnsiString& aList, Integer& aValue);
// One of ( ) [ ] " , ; . : - _ ! ? #
bool IsDelimiterChar(WideChar aChar);
// 0 blank, 1 delimiter, 2 anything else: the classes word navigation uses.
Integer GetCharClass(WideChar aChar);
// Characters aFrom to aTo inclusive.
AnsiString CopyFromTo(const AnsiString& aText, Integer aFrom, Integer aTo);
// Strictly between the first aOpen and the first aClose; empty when aOpen
// is absent or nothing lies between.
AnsiString TextBetweenChars(const AnsiString& aText, char aOpen, char aClose);
// First position at or after aStart holding aChar; aPos -1 when none.
bool FindCharW(const WideString& aText, WideChar aChar, Integer aStart, Integer& aPos);
// Last position from aStart down to aLowest holding aChar; aPos -1 when none.
bool FindCharBackW(const WideString& aText, WideChar aChar, Integer aLowest, Integer aStart,
                   Integer& aPos);
// Start of the last occurrence; -1 when none.
Integer LastPos(const AnsiString& aText, const AnsiString& aSubText);
// First occurrence at or after aStart; aPos -1 when none.
bool FindSubString(const AnsiString& aText, const AnsiString& aSubText, Integer aStart,
                   Integer& aPos);
// First position at or after aPos that is not a space; -1 when none.
Integer SkipSpaces(const AnsiString& aText, Integer aPos);
// First (aFromStart) or last position whose character is not in aSet; -1
// when every character is in it.
Integer FindCharNotInSetW(const WideString& aText, const WideString& aSet, bool aFromStart);
// Every occurrence replaced, scanning on after each inserted text.
void ReplaceAllW(WideString& aText, const WideString& aOld, const WideString& aNew);
void ReplaceAll(AnsiString& aText, const AnsiString& aOld, const AnsiString& aNew);
// Every tab becomes aCount copies of aFill; nothing when aCount <= 0.
void ExpandTabsW(WideString& aText, WideChar aFill, Integer aCount);
// Every space followed by a space becomes the non-breaking space.
void SpacesToNbsp(WideString& aText);
// The address inside a CSS url(...) value; empty when it is none.
AnsiString ExtractCssUrl(const AnsiString& aValue);
// "12.5%" style: a number of 0 or more followed by "%".
bool ParsePercentage(const AnsiString& aText, double& aValue);
bool TryParseFloat(const AnsiString& aText, double& aValue);

// --- Ring buffer of recent characters --------------------------------------

class TpsStringRingBuffer {
 public:
  // The capacity is kept between 1 and 256.
  explicit TpsStringRingBuffer(Integer aCapacity);
  void Add(char aChar);
  // The kept characters, oldest first.
  AnsiString GetText() const;

 private:
  char FBuffer[256] = {};
  Integer FCapacity;
  Integer FStart = 1;
  Integer FLength = 0;
};

// --- Token parser ------------------------------------------------------------

class TpsTokenParser {
 public:
  explicit TpsTokenParser(const AnsiString& aText) : FText(aText) {}
  // Skips delimiters, then takes the characters up to the next delimiter or
  // the end; True when that token is not empty.
  bool NextToken(char aDelimiter, AnsiString& aToken);

 private:
  AnsiString FText;
  Integer FPosition = 1;
};

// --- Character encoding ------------------------------------------------------

// A document's character set as a Windows code page (0: unknown), known by
// the charset names of the code-page table.
class TpsCharacterEncoding {
 public:
  explicit TpsCharacterEncoding(const AnsiString& aCharsetName);
  static TpsCharacterEncoding CreateFromCodePage(Integer aCodePage);

  void SetCharsetName(const AnsiString& aName);
  AnsiString GetCharsetName() const;
  void SetCodePage(Integer aCodePage) { FCodePage = aCodePage; }
  Integer GetCodePage() const { return FCodePage; }
  bool IsKnown() const { return FCodePage != 0; }
  // 32 for UTF-8, 8 for the single-byte sets, 0 when not in the table.
  Integer GetCharBits() const;

  // Text in this code page to 16-bit text (bytes it does not allow become
  // U+FFFD), and back (characters it cannot hold are reported). An unknown
  // code page is the system code page.
  WideString Decode(std::string_view aBytes) const;
  rtl::EncodeResult Encode(const WideString& aText) const;
  // Whether the code page holds the character: beyond U+FFFF only the
  // Unicode encodings do, a surrogate none. Safe from any thread.
  bool CanEncode(char32_t aCodePoint) const;

  static bool IsKnownCharset(const AnsiString& aName);
  // The text after the first "=", trimmed; empty when there is no "=".
  static AnsiString ExtractCharset(const AnsiString& aContentType);

 private:
  TpsCharacterEncoding() = default;
  Integer FCodePage = 0;
};

// --- List of 16-bit strings --------------------------------------------------

class TpsWidestringList {
 public:
  TpsWidestringList() : FItems(10) {}
  void Add(const WideString& aText);
  // No range check: the caller keeps aIndex below Count.
  const WideString& GetItem(Integer aIndex) const { return FItems[aIndex]; }
  Integer Count() const { return FCount; }
  Integer Capacity() const { return static_cast<Integer>(FItems.size()); }

 private:
  std::vector<WideString> FItems;
  Integer FCount = 0;
};

}  // namespace htmldoc
