#include "htmledit/control/psHtmlBeautifier.h"

#include <algorithm>
#include <string_view>

#include "htmledit/doc/psTagParser.h"

namespace htmledit {

namespace {

bool IsBlockName(std::string_view aName) {
  static constexpr std::string_view kBlocks[] = {"p",  "div", "blockquote", "ul", "ol", "li",
                                                 "h1", "h2",  "h3",         "h4", "h5", "h6",
                                                 "table", "td", "th", "tr"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), aName) != std::end(kBlocks);
}

// Elements whose content means what it says to the letter: re-flowing it
// would change preformatted text or a script's meaning.
bool IsVerbatimName(std::string_view aName) {
  return aName == "script" || aName == "style" || aName == "pre" || aName == "textarea";
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Where "</" and aName (ASCII case ignored) stand from aFrom on, or npos.
size_t FindClosing(const AnsiString& aText, size_t aFrom, const AnsiString& aName) {
  for (size_t at = aText.find("</", aFrom); at != AnsiString::npos; at = aText.find("</", at + 1)) {
    size_t i = 0;
    while (i < aName.size() && at + 2 + i < aText.size() && AsciiLower(aText[at + 2 + i]) == aName[i]) ++i;
    if (i == aName.size()) return at;
  }
  return AnsiString::npos;
}

}  // namespace

void TpsHtmlBeautifier::Append(const char* aText, size_t aCount) {
  for (size_t i = 0; i < aCount; ++i) {
    const char c = aText[i];
    if (c == '\n' && !FOutput.empty() && FOutput.back() == '\r') {
      FOutput += c;
      FLineLengthNow = 0;
      FLineBlank = true;
      continue;
    }
    FOutput += c;
    // Characters, not bytes: continuation bytes of UTF-8 add nothing.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++FLineLengthNow;
    if (c != ' ') FLineBlank = false;
  }
}

void TpsHtmlBeautifier::IndentationStep() {
  const size_t want = static_cast<size_t>(std::max(FLevel, 0)) * static_cast<size_t>(std::max(FIndentationSize, 0));
  if (FLineBlank) {
    if (FLineLengthNow < want) Append(AnsiString(want - FLineLengthNow, ' '));
  } else {
    Append("\r\n", 2);
    Append(AnsiString(want, ' '));
  }
}

void TpsHtmlBeautifier::Beautify(const AnsiString& aHtml, AnsiString& aResult) {
  FOutput.clear();
  FOutput.reserve(aHtml.size() + aHtml.size() / 4);
  FLevel = 0;
  FLineLengthNow = 0;
  FLineBlank = true;
  size_t pos = 0;
  const size_t n = aHtml.size();
  while (pos < n) {
    const char c = aHtml[pos];
    if (c == '<') {
      const size_t close = aHtml.find('>', pos);
      if (close == AnsiString::npos) {
        Append(aHtml.data() + pos, n - pos);
        break;
      }
      const AnsiString text = aHtml.substr(pos, close - pos + 1);
      htmldoc::TpsMarkupTag tag(text);
      const AnsiString& name = tag.GetName();
      const rtl::Byte kind = tag.GetTagType();
      if (kind == htmldoc::ttOpening && IsBlockName(name)) {
        IndentationStep();
        Append(text);
        Append("\r\n", 2);
        ++FLevel;
      } else if (kind == htmldoc::ttClosing && IsBlockName(name)) {
        --FLevel;
        IndentationStep();
        Append(text);
        if (FLevel == 0) Append("\r\n\r\n", 4);
      } else {
        if (FLineBlank) IndentationStep();
        Append(text);
      }
      pos = close + 1;
      if (kind == htmldoc::ttOpening && IsVerbatimName(name)) {
        const size_t end = FindClosing(aHtml, pos, name);
        if (end == AnsiString::npos) {
          Append(aHtml.data() + pos, n - pos);
          break;
        }
        Append(aHtml.data() + pos, end - pos);
        pos = end;
      }
      continue;
    }
    if (c == ' ' && FLineBlank) {
      // dropped
    } else if (FLineBlank) {
      IndentationStep();
      Append(&c, 1);
    } else if (c == ' ' && FLineLengthNow > static_cast<size_t>(std::max(FLineLength, 0))) {
      Append("\r\n", 2);
    } else {
      Append(&c, 1);
    }
    ++pos;
  }
  aResult = std::move(FOutput);
  FOutput.clear();
}

void BeautifyHtml(const AnsiString& aHtml, Integer aIndentationSize, Integer aLineLength,
                  AnsiString& aResult) {
  TpsHtmlBeautifier beautifier(aIndentationSize, aLineLength);
  beautifier.Beautify(aHtml, aResult);
}

}  // namespace htmledit
