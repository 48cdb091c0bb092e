#include "htmledit/control/psClipboard.h"

#include <algorithm>
#include <cstdio>

#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

namespace htmledit {

namespace {

IpsClipboardBackend* gBackend = nullptr;

TpsMemoryClipboard& ProcessClipboard() {
  static TpsMemoryClipboard clipboard;
  return clipboard;
}

// Closes the backend on every path.
struct TOpenScope {
  explicit TOpenScope(IpsClipboardBackend& aBackend) : backend(aBackend) { backend.Open(); }
  ~TOpenScope() { backend.Close(); }
  IpsClipboardBackend& backend;
};

AnsiString NineDigits(long long aValue) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%09lld", aValue);
  return buffer;
}

AnsiString Trim(const AnsiString& aText) {
  const size_t first = aText.find_first_not_of(' ');
  if (first == AnsiString::npos) return {};
  return aText.substr(first, aText.find_last_not_of(' ') - first + 1);
}

// An optional sign and decimal digits; held to the range of Integer.
bool ReadNumber(const AnsiString& aText, long long& aValue) {
  size_t i = 0;
  bool negative = false;
  if (i < aText.size() && (aText[i] == '+' || aText[i] == '-')) negative = aText[i++] == '-';
  if (i == aText.size()) return false;
  long long value = 0;
  for (; i < aText.size(); ++i) {
    if (aText[i] < '0' || aText[i] > '9') return false;
    value = std::min(value * 10 + (aText[i] - '0'), 1LL << 40);
  }
  aValue = negative ? -value : value;
  return true;
}

Integer ToInteger(long long aValue) {
  return static_cast<Integer>(std::clamp<long long>(aValue, INT32_MIN, INT32_MAX));
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

void TrimTrailingBlanks(WideString& aLine) {
  while (!aLine.empty() && IsBlank(aLine.back())) aLine.pop_back();
}

}  // namespace

void TpsMemoryClipboard::Open() {
  if (FOpenCount++ == 0) FEmptied = false;
}

void TpsMemoryClipboard::Close() {
  if (FOpenCount > 0) --FOpenCount;
}

bool TpsMemoryClipboard::HasFormat(TpsClipboardFormat aFormat) { return FData.count(aFormat) != 0; }

std::string TpsMemoryClipboard::GetData(TpsClipboardFormat aFormat) {
  const auto it = FData.find(aFormat);
  return it == FData.end() ? std::string() : it->second;
}

void TpsMemoryClipboard::SetData(TpsClipboardFormat aFormat, const std::string& aBytes) {
  if (FOpenCount == 0 || !FEmptied) FData.clear();
  if (FOpenCount > 0) FEmptied = true;
  FData[aFormat] = aBytes;
}

TpsClipboardFormat TpsMemoryClipboard::RegisterFormat(const AnsiString& aName) {
  if (aName.empty()) return 0;
  for (size_t i = 0; i < FNames.size(); ++i)
    if (rtl::SameText(FNames[i], aName)) return static_cast<TpsClipboardFormat>(0xC000 + i);
  FNames.push_back(aName);
  return static_cast<TpsClipboardFormat>(0xC000 + FNames.size() - 1);
}

std::vector<TpsClipboardFormat> TpsMemoryClipboard::Formats() const {
  std::vector<TpsClipboardFormat> formats;
  for (const auto& [format, bytes] : FData) formats.push_back(format);
  return formats;
}

void SetClipboardBackend(IpsClipboardBackend* aBackend) { gBackend = aBackend; }

IpsClipboardBackend& ClipboardBackend() { return gBackend ? *gBackend : ProcessClipboard(); }

TpsClipboardFormat TpsClipboard::HtmlFormat() { return ClipboardBackend().RegisterFormat("HTML Format"); }

void TpsClipboard::SetData(TpsClipboardFormat aFormat, const char* aBytes, size_t aCount) {
  ClipboardBackend().SetData(aFormat, std::string(aBytes, aCount));
}

std::string TpsClipboard::BuildHtmlFormat(const AnsiString& aHtml, Integer aFirst, Integer aLast) {
  // Every offset counts from the "V" of the first line. The HTML text
  // starts right after the header and ends after its final line end; the
  // selection is the fragment.
  const long long startFragment = HeaderLength + static_cast<long long>(aFirst) - 1;
  const long long endFragment = HeaderLength + static_cast<long long>(aLast);
  const long long endHtml = HeaderLength + static_cast<long long>(aHtml.size()) + 2;
  std::string data;
  data.reserve(aHtml.size() + HeaderLength + 3);
  data += "Version:1.0\r\n";
  data += "StartHTML:" + NineDigits(HeaderLength) + "\r\n";
  data += "EndHTML:" + NineDigits(endHtml) + "\r\n";
  data += "StartFragment:" + NineDigits(startFragment) + "\r\n";
  data += "EndFragment:" + NineDigits(endFragment) + "\r\n";
  data += "StartSelection:" + NineDigits(startFragment) + "\r\n";
  data += "EndSelection:" + NineDigits(endFragment) + "\r\n";
  data += "SourceURL:\r\n";
  RTL_ASSERT(data.size() == static_cast<size_t>(HeaderLength));
  data += aHtml;
  data += "\r\n";
  data += '\0';
  return data;
}

void TpsClipboard::PutHtml(const AnsiString& aHtml, Integer aFirst, Integer aLast) {
  const std::string data = BuildHtmlFormat(aHtml, aFirst, aLast);
  SetData(HtmlFormat(), data.data(), data.size());
}

AnsiString TpsClipboard::GetHtml() {
  IpsClipboardBackend& backend = ClipboardBackend();
  const TpsClipboardFormat format = HtmlFormat();
  if (!backend.HasFormat(format)) return {};
  TOpenScope open(backend);
  std::string bytes = backend.GetData(format);
  const size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

AnsiString TpsClipboard::GetFragment(const AnsiString& aData) {
  bool haveStart = false, haveEnd = false;
  long long start = 0, end = 0;
  size_t from = 0;
  while (from <= aData.size() && !(haveStart && haveEnd)) {
    size_t lineEnd = aData.find("\r\n", from);
    if (lineEnd == AnsiString::npos) lineEnd = aData.size();
    const AnsiString line = aData.substr(from, lineEnd - from);
    from = lineEnd + 2;
    const size_t colon = line.find(':');
    if (colon == AnsiString::npos) break;
    const AnsiString name = Trim(line.substr(0, colon));
    long long value;
    if (!ReadNumber(Trim(line.substr(colon + 1)), value)) continue;
    if (rtl::SameText(name, "StartFragment")) {
      start = value + 1;
      haveStart = true;
    } else if (rtl::SameText(name, "EndFragment")) {
      end = value;
      haveEnd = true;
    }
  }
  if (!haveStart || !haveEnd) return {};
  return rtl::Copy(aData, ToInteger(start), ToInteger(end - start + 1));
}

void TpsClipboard::PutUnicodeText(const WideString& aText) {
  std::string bytes;
  bytes.reserve(aText.size() * 2 + 2);
  for (char16_t unit : aText) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  bytes += '\0';
  bytes += '\0';
  SetData(CF_UNICODETEXT, bytes.data(), bytes.size());
}

WideString TpsClipboard::GetUnicodeText() {
  IpsClipboardBackend& backend = ClipboardBackend();
  if (!backend.HasFormat(CF_UNICODETEXT)) return {};
  TOpenScope open(backend);
  const std::string bytes = backend.GetData(CF_UNICODETEXT);
  WideString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

void TpsClipboard::TextToLines(const WideString& aText, std::vector<WideString>& aLines) {
  const auto isLineEnd = [](char16_t c) { return c == u'\r' || c == u'\n'; };
  WideString line;
  const size_t n = aText.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = aText[i];
    if (isLineEnd(c)) {
      const size_t next = i + (c == u'\r' && i + 1 < n && aText[i + 1] == u'\n' ? 2 : 1);
      TrimTrailingBlanks(line);
      if (!line.empty()) aLines.push_back(line + u'\r');
      line.clear();
      // Another line end right after this one: an empty source line.
      if (next < n && isLineEnd(aText[next])) aLines.push_back(u"\r");
      i = next;
      continue;
    }
    if (IsBlank(c)) {
      if (!line.empty() && !IsBlank(line.back())) line += c;
    } else {
      line += c;
    }
    ++i;
  }
  TrimTrailingBlanks(line);
  if (!line.empty()) aLines.push_back(line);
}

}  // namespace htmledit
