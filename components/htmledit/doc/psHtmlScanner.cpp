#include "htmledit/doc/psHtmlScanner.h"

#include "htmledit/doc/psTagParser.h"
#include "htmledit/doc/psTagText.h"

namespace htmldoc {

namespace {

int AsciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

void TpsHtmlScanner::Reset(AnsiString aText) {
  FSource = std::move(aText);
  FPos = 0;
  FPush.clear();
  FPushPos = 0;
}

bool TpsHtmlScanner::AtTagStart() const { return At(0) == '<' && StartsTag(At(1)); }

char TpsHtmlScanner::Read() {
  if (FPushPos < FPush.size()) {
    const char c = FPush[FPushPos++];
    ++FReadCount;
    if (FPushPos == FPush.size()) {
      FPush.clear();
      FPushPos = 0;
    }
    return c;
  }
  const char c = FSource[FPos++];
  ++FReadCount;
  FRing.Add(c);
  return c;
}

void TpsHtmlScanner::Consume(size_t aCount) {
  for (size_t i = 0; i < aCount && !AtEnd(); ++i) Read();
}

AnsiString TpsHtmlScanner::Take(size_t aCount) {
  AnsiString text;
  text.reserve(aCount);
  for (size_t i = 0; i < aCount && !AtEnd(); ++i) text += Read();
  return text;
}

void TpsHtmlScanner::PushBack(std::string_view aText) {
  if (aText.empty()) return;
  AnsiString rest(aText);
  rest.append(FPush, FPushPos, AnsiString::npos);
  FPush = std::move(rest);
  FPushPos = 0;
}

AnsiString TpsHtmlScanner::Context() const {
  AnsiString text = FRing.GetText();
  // The buffer may begin inside a character of several bytes.
  size_t start = 0;
  while (start < text.size() && start < 3 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
  return text.substr(start);
}

size_t TpsHtmlScanner::Find(std::string_view aPattern, size_t aFrom) const {
  for (size_t k = aFrom; At(k) >= 0; ++k) {
    size_t i = 0;
    while (i < aPattern.size() && At(k + i) == static_cast<unsigned char>(aPattern[i])) ++i;
    if (i == aPattern.size()) return k;
  }
  return kNoTagEnd;
}

bool TpsHtmlScanner::ReadTagText(AnsiString& aText) {
  const auto startsWith = [this](std::string_view aPrefix) {
    for (size_t i = 0; i < aPrefix.size(); ++i)
      if (At(i) != static_cast<unsigned char>(aPrefix[i])) return false;
    return true;
  };
  size_t length;
  if (startsWith("<!--")) {
    const size_t at = Find("-->", 2);
    length = at == kNoTagEnd ? kNoTagEnd : at + 3;
  } else if (startsWith("<![CDATA[")) {
    const size_t at = Find("]]>", 9);
    length = at == kNoTagEnd ? kNoTagEnd : at + 3;
  } else if (startsWith("<!") || startsWith("<?")) {
    const size_t at = Find(">", 2);
    length = at == kNoTagEnd ? kNoTagEnd : at + 1;
  } else {
    bool stoppedAtLt = false;
    const size_t at = FindTagEnd([this](size_t k) { return At(k); }, false, stoppedAtLt);
    length = at == kNoTagEnd ? kNoTagEnd : at + 1;
  }
  if (length == kNoTagEnd) {
    aText.clear();
    while (!AtEnd()) aText += Read();
    return false;
  }
  aText = Take(length);
  return true;
}

AnsiString TpsHtmlScanner::ReadTextRun(bool aStopAtPercent, bool aStopAtTag) {
  AnsiString run;
  for (int c; (c = At(0)) >= 0;) {
    if (aStopAtTag && c == '<' && StartsTag(At(1))) break;
    if (aStopAtPercent && c == '%' && !run.empty()) break;
    run += Read();
  }
  return run;
}

AnsiString TpsHtmlScanner::ReadRawContent(const AnsiString& aName) {
  AnsiString content;
  for (int c; (c = At(0)) >= 0;) {
    if (c == '<' && At(1) == '/') {
      size_t i = 0;
      while (i < aName.size() && AsciiLower(At(2 + i)) == static_cast<unsigned char>(aName[i])) ++i;
      if (i == aName.size()) {
        const int after = At(2 + i);
        if (after < 0 || after == '>' || after == '/' || IsTagTextBlank(after)) break;
      }
    }
    content += Read();
  }
  return content;
}

bool TpsHtmlScanner::ReadRuntimeVariable(
    const std::function<void(TObjectPtr, const AnsiString&, AnsiString&)>& aEvent, TObjectPtr aSender) {
  AnsiString raw(1, Read());
  AnsiString name;
  int c;
  while ((c = At(0)) >= 0 && c != '%' && c != '<') name += Read();
  raw += name;
  if (c != '%') {
    PushBack(raw);
    return false;
  }
  raw += Read();
  AnsiString replacement;
  if (aEvent) aEvent(aSender, name, replacement);
  if (replacement.empty()) {
    PushBack(raw);
    return false;
  }
  PushBack("<@drv name=" + QuoteAttributeValue(name) + ">" + replacement + "</@drv>");
  return true;
}

}  // namespace htmldoc
