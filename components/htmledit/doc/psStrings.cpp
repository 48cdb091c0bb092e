#include "htmledit/doc/psStrings.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "htmledit/doc/psLookupLists.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace htmldoc {

// ---------------------------------------------------------------------------
// TpsStrings

AnsiString TpsStrings::LowerCase(const AnsiString& aText) { return rtl::LowerCase(aText); }

WideString TpsStrings::WideLowerCase(const WideString& aText) {
  return rtl::Utf8ToWide(rtl::LowerCase(rtl::WideToUtf8(aText)));
}

AnsiString TpsStrings::UpperCase(const AnsiString& aText) { return rtl::UpperCase(aText); }

WideString TpsStrings::WideUpperCase(const WideString& aText) {
  return rtl::Utf8ToWide(rtl::UpperCase(rtl::WideToUtf8(aText)));
}

AnsiString TpsStrings::Trim(const AnsiString& aText) { return rtl::Trim(aText); }

Integer TpsStrings::CompareText(const AnsiString& aText1, const AnsiString& aText2) {
  return rtl::CompareText(aText1, aText2);
}

Integer TpsStrings::Pos(const AnsiString& aSubText, const AnsiString& aText) {
  return rtl::Pos(aSubText, aText);
}

AnsiString TpsStrings::IntToStr(Integer aValue) { return rtl::IntToStr(aValue); }

AnsiString TpsStrings::Format(const AnsiString& aFormat, const std::vector<rtl::FormatArg>& aArgs) {
  return rtl::Format(aFormat, aArgs);
}

Integer TpsStrings::FindFirstOf(const AnsiString& aChars, const AnsiString& aText, Integer aStart) {
  if (aStart < 1) aStart = 1;
  const auto at = aText.find_first_of(aChars, static_cast<size_t>(aStart - 1));
  return at == AnsiString::npos ? 0 : static_cast<Integer>(at) + 1;
}

// ---------------------------------------------------------------------------
// Entities

namespace {

constexpr Integer kReplacementChar = 0xFFFD;

bool IsNumericReferenceChar(char32_t c) {
  // What may stand between "&#" and ";" of a reference under the number
  // rules: digits, hexadecimal letters, the prefixes, a sign, leading blanks.
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ||
         c == 'x' || c == 'X' || c == '$' || c == '+' || c == '-' || c == ' ' || c == '\t';
}

AnsiString SpanToAnsi(const AnsiString& aText, size_t aFrom, size_t aTo) {
  return aText.substr(aFrom, aTo - aFrom + 1);
}
AnsiString SpanToAnsi(const WideString& aText, size_t aFrom, size_t aTo) {
  return rtl::WideToUtf8(std::u16string_view(aText).substr(aFrom, aTo - aFrom + 1));
}

// Scans text for entities the way both decoders do. The search for ";" is
// remembered between "&"s, and only spans that can be an entity are looked
// up, so that a text full of "&" without a ";" near stays linear.
template <typename Text>
class EntityScanner {
 public:
  explicit EntityScanner(const Text& aText)
      : FText(aText), FTable(HtmlCodeTable()), FMaxNamed(FTable.MaxEntityLength()) {}

  // At the "&" at aAt: True with the code point and the index after the
  // entity (one or two references) when an entity starts there.
  bool DecodeAt(size_t aAt, Integer& aCode, size_t& aNext) {
    size_t semi = 0;
    Integer raw = 0;
    if (!TryEntity(aAt, aCode, semi, raw)) return false;
    aNext = semi + 1;
    // Older writers wrote a character beyond U+FFFF as the references of its
    // two surrogates.
    if (raw >= 0xD800 && raw <= 0xDBFF && aNext < FText.size() && FText[aNext] == '&') {
      Integer lowCode = 0;
      size_t lowSemi = 0;
      Integer low = 0;
      if (TryEntity(aNext, lowCode, lowSemi, low) && low >= 0xDC00 && low <= 0xDFFF) {
        aCode = 0x10000 + ((raw - 0xD800) << 10) + (low - 0xDC00);
        aNext = lowSemi + 1;
      }
    }
    aCode = SanitizeCodePoint(aCode);
    return true;
  }

 private:
  // aRaw is the unchecked value of a numeric reference, -1 for a named one.
  bool TryEntity(size_t aAt, Integer& aCode, size_t& aSemi, Integer& aRaw) {
    aRaw = -1;
    if (FSemi == Text::npos || FSemi < aAt + 1) {
      FSemi = FText.find(';', aAt + 1);
      if (FSemi == Text::npos) {
        // No ";" anywhere after: no later "&" can find one either.
        FSemi = FText.size() + 1;
      }
    }
    if (FSemi >= FText.size()) return false;
    aSemi = FSemi;
    const size_t length = FSemi - aAt + 1;
    const bool numeric = length >= 4 && FText[aAt + 1] == '#';
    if (length > FMaxNamed) {
      if (!numeric) return false;
      for (size_t i = aAt + 2; i < FSemi; ++i)
        if (!IsNumericReferenceChar(static_cast<char32_t>(FText[i]))) return false;
    }
    const AnsiString entity = SpanToAnsi(FText, aAt, FSemi);
    if (!FTable.TryGetEntityChar(entity, aCode)) return false;
    Integer raw = 0;
    if (numeric && aCode == kReplacementChar && TryParseCharacterReference(entity, raw)) aRaw = raw;
    return true;
  }

  const Text& FText;
  const TpsHtmlCodeTable& FTable;
  size_t FMaxNamed;
  size_t FSemi = Text::npos;
};

template <typename Text, typename Append>
Text Decode(const Text& aText, Append aAppend) {
  Text result;
  result.reserve(aText.size());
  EntityScanner<Text> scanner(aText);
  size_t i = 0;
  while (i < aText.size()) {
    const auto c = aText[i];
    Integer code = 0;
    size_t next = 0;
    if (c == '&' && scanner.DecodeAt(i, code, next)) {
      aAppend(result, code);
      i = next;
    } else {
      result += c;
      ++i;
    }
  }
  return result;
}

}  // namespace

AnsiString DecodeEntities(const AnsiString& aText) {
  // The 8-bit text is in the system code page, UTF-8: every decoded
  // character is written as its UTF-8 bytes.
  return Decode(aText, rtl::AppendUtf8);
}

WideString DecodeEntitiesW(const WideString& aText) { return Decode(aText, rtl::AppendUtf16); }

AnsiString EncodeEntities(const WideString& aText, bool aNumeric) {
  const TpsHtmlCodeTable& table = HtmlCodeTable();
  AnsiString result;
  result.reserve(aText.size());
  AnsiString entity;
  for (size_t i = 0; i < aText.size(); ++i) {
    Integer code = aText[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < aText.size() && aText[i + 1] >= 0xDC00 &&
        aText[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (aText[i + 1] - 0xDC00);
      ++i;
    }
    if (table.GetEntity(code, entity)) {
      result += aNumeric ? "&#" + rtl::IntToStr(code) + ";" : entity;
    } else if (code < 256) {
      result += static_cast<char>(code);
    } else {
      result += "&#" + rtl::IntToStr(code) + ";";
    }
  }
  return result;
}

// ---------------------------------------------------------------------------
// Plain helpers

namespace {
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
}  // namespace

AnsiString CollapseWhitespace(const AnsiString& aText) {
  AnsiString result;
  bool pending = false;
  for (char c : aText) {
    if (IsWhite(c)) {
      pending = !result.empty();
    } else {
      if (pending) result += ' ';
      pending = false;
      result += c;
    }
  }
  return result;
}

AnsiString TrimSpaces(const AnsiString& aText) {
  const auto first = aText.find_first_not_of(' ');
  if (first == AnsiString::npos) return {};
  const auto last = aText.find_last_not_of(' ');
  return aText.substr(first, last - first + 1);
}

void DeleteFirstChar(AnsiString& aText) { rtl::Delete(aText, 1, 1); }

Integer HexToInt(const AnsiString& aText) {
  const AnsiString text = TrimSpaces(aText);
  uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      break;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return static_cast<Integer>(value);
}

AnsiString ByteToHex(Byte aValue) {
  static const char kDigits[] = "0123456789abcdef";
  return {kDigits[aValue >> 4], kDigits[aValue & 0x0F]};
}

void DeleteAll(AnsiString& aText, const AnsiString& aSubText) {
  if (aSubText.empty()) return;
  AnsiString result;
  size_t from = 0;
  for (size_t at = aText.find(aSubText); at != AnsiString::npos; at = aText.find(aSubText, from)) {
    result.append(aText, from, at - from);
    from = at + aSubText.size();
  }
  result.append(aText, from, AnsiString::npos);
  aText = std::move(result);
}

TStringArray SplitAndTrim(const AnsiString& aText, char aSeparator) {
  TStringArray parts;
  if (aText.empty()) return parts;
  size_t from = 0;
  for (;;) {
    const size_t at = aText.find(aSeparator, from);
    if (at == AnsiString::npos) {
      parts.push_back(TrimSpaces(aText.substr(from)));
      return parts;
    }
    parts.push_back(TrimSpaces(aText.substr(from, at - from)));
    from = at + 1;
  }
}

AnsiString StringsToText(const rtl::TStrings& aStrings) {
  AnsiString text;
  for (Integer i = 0; i < aStrings.Count(); ++i) {
    text += aStrings.Get(i);
    text += "\r\n";
  }
  return text;
}

std::unique_ptr<rtl::TStringList> TextToStringList(const AnsiString& aText) {
  auto list = std::make_unique<rtl::TStringList>();
  size_t from = 0;
  for (;;) {
    const size_t at = aText.find("\r\n", from);
    if (at == AnsiString::npos) {
      if (from < aText.size()) list->Add(aText.substr(from));
      return list;
    }
    list->Add(aText.substr(from, at - from));
    from = at + 2;
  }
}

void AppendSeparated(AnsiString& aText, const AnsiString& aItem) {
  if (!aText.empty()) aText += ';';
  aText += aItem;
}

bool IsWideBlank(WideChar aChar) { return aChar == u' ' || aChar == u'\t'; }
bool IsBlank(char aChar) { return aChar == ' ' || aChar == '\t'; }

bool TryParseInt(const AnsiString& aText, Integer& aValue) {
  Integer code = 0;
  Integer value = 0;
  rtl::Val(aText, value, code);
  if (code != 0) return false;
  aValue = value;
  return true;
}

bool IsWideQuote(WideChar aChar) { return aChar == u'\'' || aChar == u'"'; }

AnsiString SpaceString(Integer aCount) { return rtl::StringOfChar(' ', aCount); }

void TrimTrailingBlanksW(WideString& aText) {
  while (!aText.empty() && IsWideBlank(aText.back())) aText.pop_back();
}

AnsiString ZeroPad(const AnsiString& aText, Integer aWidth) {
  const Integer missing = aWidth - static_cast<Integer>(aText.size());
  return missing > 0 ? AnsiString(missing, '0') + aText : aText;
}

void TrimLeadingBlanksW(WideString& aText) {
  size_t n = 0;
  while (n < aText.size() && IsWideBlank(aText[n])) ++n;
  aText.erase(0, n);
}

void TrimLeadingBlanks(AnsiString& aText) {
  size_t n = 0;
  while (n < aText.size() && IsBlank(aText[n])) ++n;
  aText.erase(0, n);
}

WideString CollapseBlanksW(const WideString& aText) {
  WideString result;
  result.reserve(aText.size());
  for (size_t i = 0; i < aText.size(); ++i)
    if (!(IsWideBlank(aText[i]) && i > 0 && IsWideBlank(aText[i - 1]))) result += aText[i];
  return result;
}

WideString WideCharToWideString(WideChar aChar) { return WideString(1, aChar); }
AnsiString CharToString(char aChar) { return AnsiString(1, aChar); }

bool PopListInteger(AnsiString& aList, Integer& aValue) {
  const Integer comma = rtl::Pos(",", aList);
  Integer value = 0;
  if (comma >= 2) {
    if (!TryParseInt(TrimSpaces(rtl::Copy(aList, 1, comma - 1)), value)) return false;
    rtl::Delete(aList, 1, comma);
  } else {
    if (!TryParseInt(TrimSpaces(aList), value)) return false;
    aList.clear();
  }
  aValue = value;
  return true;
}

bool IsDelimiterChar(WideChar aChar) {
  switch (aChar) {
    case u'(': case u')': case u'[': case u']': case u'"': case u',': case u';':
    case u'.': case u':': case u'-': case u'_': case u'!': case u'?': case u'#':
      return true;
    default:
      return false;
  }
}

Integer GetCharClass(WideChar aChar) {
  if (IsWideBlank(aChar)) return 0;
  if (IsDelimiterChar(aChar)) return 1;
  return 2;
}

AnsiString CopyFromTo(const AnsiString& aText, Integer aFrom, Integer aTo) {
  return rtl::Copy(aText, aFrom, aTo - aFrom + 1);
}

AnsiString TextBetweenChars(const AnsiString& aText, char aOpen, char aClose) {
  const Integer open = rtl::Pos(AnsiString(1, aOpen), aText);
  if (open == 0) return {};
  const Integer close = rtl::Pos(AnsiString(1, aClose), aText);
  if (close - open - 1 < 1) return {};
  return rtl::Copy(aText, open + 1, close - open - 1);
}

bool FindCharW(const WideString& aText, WideChar aChar, Integer aStart, Integer& aPos) {
  const Integer length = static_cast<Integer>(aText.size());
  for (Integer i = std::max(aStart, 1); i <= length; ++i) {
    if (aText[i - 1] == aChar) {
      aPos = i;
      return true;
    }
  }
  aPos = -1;
  return false;
}

bool FindCharBackW(const WideString& aText, WideChar aChar, Integer aLowest, Integer aStart,
                   Integer& aPos) {
  const Integer lowest = std::max(aLowest, 1);
  for (Integer i = std::min(aStart, static_cast<Integer>(aText.size())); i >= lowest; --i) {
    if (aText[i - 1] == aChar) {
      aPos = i;
      return true;
    }
  }
  aPos = -1;
  return false;
}

Integer LastPos(const AnsiString& aText, const AnsiString& aSubText) {
  if (aSubText.empty()) return -1;
  const auto at = aText.rfind(aSubText);
  return at == AnsiString::npos ? -1 : static_cast<Integer>(at) + 1;
}

bool FindSubString(const AnsiString& aText, const AnsiString& aSubText, Integer aStart,
                   Integer& aPos) {
  const Integer at = aSubText.empty() ? 0 : rtl::PosEx(aSubText, aText, std::max(aStart, 1));
  aPos = at == 0 ? -1 : at;
  return at != 0;
}

Integer SkipSpaces(const AnsiString& aText, Integer aPos) {
  for (Integer i = std::max(aPos, 1); i <= static_cast<Integer>(aText.size()); ++i)
    if (aText[i - 1] != ' ') return i;
  return -1;
}

Integer FindCharNotInSetW(const WideString& aText, const WideString& aSet, bool aFromStart) {
  const auto at = aFromStart ? aText.find_first_not_of(aSet) : aText.find_last_not_of(aSet);
  return at == WideString::npos ? -1 : static_cast<Integer>(at) + 1;
}

namespace {
template <typename Text>
void ReplaceEvery(Text& aText, const Text& aOld, const Text& aNew) {
  if (aOld.empty()) return;
  for (size_t at = aText.find(aOld); at != Text::npos; at = aText.find(aOld, at + aNew.size()))
    aText.replace(at, aOld.size(), aNew);
}
}  // namespace

void ReplaceAllW(WideString& aText, const WideString& aOld, const WideString& aNew) {
  ReplaceEvery(aText, aOld, aNew);
}

void ReplaceAll(AnsiString& aText, const AnsiString& aOld, const AnsiString& aNew) {
  ReplaceEvery(aText, aOld, aNew);
}

void ExpandTabsW(WideString& aText, WideChar aFill, Integer aCount) {
  if (aCount <= 0) return;
  WideString result;
  result.reserve(aText.size());
  for (WideChar c : aText) {
    if (c == u'\t')
      result.append(static_cast<size_t>(aCount), aFill);
    else
      result += c;
  }
  aText = std::move(result);
}

void SpacesToNbsp(WideString& aText) {
  const WideChar nbsp = static_cast<WideChar>(HtmlCodeTable().GetNbspChar());
  for (size_t i = 0; i + 1 < aText.size(); ++i)
    if (aText[i] == u' ' && aText[i + 1] == u' ') aText[i] = nbsp;
}

AnsiString ExtractCssUrl(const AnsiString& aValue) {
  AnsiString text = TrimSpaces(aValue);
  if (text.size() < 3 || rtl::CompareText(text.substr(0, 3), "url") != 0) return {};
  text = TrimSpaces(text.substr(3));
  if (text.size() <= 2 || text.front() != '(' || text.back() != ')') return {};
  text = TrimSpaces(text.substr(1, text.size() - 2));
  const auto isQuote = [](char c) { return c == '"' || c == '\''; };
  if (text.size() >= 2 && isQuote(text.front()) && isQuote(text.back()))
    text = TrimSpaces(text.substr(1, text.size() - 2));
  return text;
}

bool ParsePercentage(const AnsiString& aText, double& aValue) {
  const AnsiString text = TpsStrings::Trim(aText);
  if (text.empty() || text.back() != '%') return false;
  double value = 0;
  if (!TryParseFloat(text.substr(0, text.size() - 1), value) || !(value >= 0)) return false;
  aValue = value;
  return true;
}

bool TryParseFloat(const AnsiString& aText, double& aValue) {
  double value = 0;
  Integer code = 0;
  rtl::Val(TpsStrings::Trim(aText), value, code);
  if (code != 0) return false;
  aValue = value;
  return true;
}

// ---------------------------------------------------------------------------
// TpsStringRingBuffer

TpsStringRingBuffer::TpsStringRingBuffer(Integer aCapacity)
    : FCapacity(std::clamp<Integer>(aCapacity, 1, 256)) {}

void TpsStringRingBuffer::Add(char aChar) {
  if (FLength >= FCapacity) {
    FBuffer[FStart - 1] = aChar;
    FStart = FStart == FCapacity ? 1 : FStart + 1;
  } else {
    ++FLength;
    FBuffer[FLength - 1] = aChar;
  }
}

AnsiString TpsStringRingBuffer::GetText() const {
  if (FStart + FLength - 1 > FCapacity) {
    AnsiString text(FBuffer + FStart - 1, FCapacity - FStart + 1);
    text.append(FBuffer, FLength - (FCapacity - FStart + 1));
    return text;
  }
  return AnsiString(FBuffer + FStart - 1, FLength);
}

// ---------------------------------------------------------------------------
// TpsTokenParser

bool TpsTokenParser::NextToken(char aDelimiter, AnsiString& aToken) {
  const Integer length = static_cast<Integer>(FText.size());
  while (FPosition <= length && FText[FPosition - 1] == aDelimiter) ++FPosition;
  const Integer start = FPosition;
  while (FPosition <= length && FText[FPosition - 1] != aDelimiter) ++FPosition;
  aToken = FText.substr(start - 1, FPosition - start);
  return !aToken.empty();
}

// ---------------------------------------------------------------------------
// TpsCharacterEncoding

TpsCharacterEncoding::TpsCharacterEncoding(const AnsiString& aCharsetName) {
  SetCharsetName(aCharsetName);
}

TpsCharacterEncoding TpsCharacterEncoding::CreateFromCodePage(Integer aCodePage) {
  TpsCharacterEncoding encoding;
  encoding.FCodePage = aCodePage;
  return encoding;
}

void TpsCharacterEncoding::SetCharsetName(const AnsiString& aName) {
  FCodePage = CodepageTable().GetCodePage(aName);
}

AnsiString TpsCharacterEncoding::GetCharsetName() const {
  return CodepageTable().GetCharsetName(FCodePage);
}

Integer TpsCharacterEncoding::GetCharBits() const { return CodepageTable().GetCharBits(FCodePage); }

WideString TpsCharacterEncoding::Decode(std::string_view aBytes) const {
  return rtl::DecodeCodePage(FCodePage, aBytes);
}

rtl::EncodeResult TpsCharacterEncoding::Encode(const WideString& aText) const {
  return rtl::EncodeCodePage(FCodePage, aText);
}

namespace {

bool IsUnicodeCodePage(Integer aCodePage) {
  return aCodePage == rtl::CP_UTF8 || aCodePage == rtl::CP_UTF7 || aCodePage == 1200 || aCodePage == 1201 ||
         aCodePage == 12000 || aCodePage == 12001;
}

// Which characters of the basic plane a code page holds, found once per
// code page by encoding them all and reading the refusals.
const std::vector<bool>& HeldCharacters(Integer aCodePage) {
  static std::mutex lock;
  static std::map<Integer, std::unique_ptr<std::vector<bool>>> tables;
  std::lock_guard<std::mutex> guard(lock);
  auto& table = tables[aCodePage];
  if (!table) {
    table = std::make_unique<std::vector<bool>>(0x10000, false);
    WideString all;
    std::vector<char32_t> codes;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      all += static_cast<WideChar>(c);
      codes.push_back(c);
    }
    if (rtl::IsCodePageSupported(aCodePage)) {
      const rtl::EncodeResult result = rtl::EncodeCodePage(aCodePage, all);
      for (char32_t c : codes) (*table)[c] = true;
      for (Integer position : result.unmappable) (*table)[codes[position]] = false;
    } else {
      for (char32_t c = 0; c < 0x80; ++c) (*table)[c] = true;
    }
  }
  return *table;
}

}  // namespace

bool TpsCharacterEncoding::CanEncode(char32_t aCodePoint) const {
  const Integer codePage = FCodePage == 0 ? rtl::CP_UTF8 : FCodePage;
  if (aCodePoint >= 0xD800 && aCodePoint <= 0xDFFF) return false;
  if (IsUnicodeCodePage(codePage)) return aCodePoint <= 0x10FFFF;
  if (aCodePoint > 0xFFFF) return false;
  return HeldCharacters(codePage)[aCodePoint];
}

bool TpsCharacterEncoding::IsKnownCharset(const AnsiString& aName) {
  return CodepageTable().GetCodePage(aName) != 0;
}

AnsiString TpsCharacterEncoding::ExtractCharset(const AnsiString& aContentType) {
  const auto at = aContentType.find('=');
  if (at == AnsiString::npos) return {};
  return TpsStrings::Trim(aContentType.substr(at + 1));
}

// ---------------------------------------------------------------------------
// TpsWidestringList

void TpsWidestringList::Add(const WideString& aText) {
  if (static_cast<Integer>(FItems.size()) < FCount + 1) FItems.resize(FCount + 17);
  FItems[FCount] = aText;
  ++FCount;
}

}  // namespace htmldoc
