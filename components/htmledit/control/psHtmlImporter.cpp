#include "htmledit/control/psHtmlImporter.h"

#include <algorithm>
#include <string_view>

#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagText.h"

namespace htmledit {

namespace {

bool In(std::string_view aName, std::initializer_list<std::string_view> aNames) {
  return std::find(aNames.begin(), aNames.end(), aName) != aNames.end();
}

bool IsStructure(std::string_view n) { return In(n, {"html", "head", "body"}); }
bool IsBlock(std::string_view n) {
  return In(n, {"p", "div", "blockquote", "ol", "ul", "li", "title", "h1", "h2", "h3", "h4", "h5", "h6",
                "table", "tr", "td", "th", "script", "style"});
}
bool IsBodyLevelBlock(std::string_view n) {
  return In(n, {"p", "div", "blockquote", "ol", "ul", "li", "table", "tr", "td", "th", "h1", "h2", "h3", "h4",
                "h5", "h6"});
}
bool IsInline(std::string_view n) {
  return In(n, {"b", "i", "u", "a", "span", "s", "strike", "strong", "cite", "sub", "sup", "em"});
}
bool IsEmptyName(std::string_view n) { return In(n, {"img", "br"}); }

// Letters, digits and "-", "_", ":", ".": what an attribute name is made of.
bool IsAttributeName(const AnsiString& aName) {
  if (aName.empty()) return false;
  for (unsigned char c : aName)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
          c == ':' || c == '.'))
      return false;
  return true;
}

bool Contains(const std::vector<AnsiString>& aList, std::string_view aName) {
  return std::find(aList.begin(), aList.end(), aName) != aList.end();
}

AnsiString ClosingTag(const AnsiString& aName) { return "</" + aName + ">"; }

bool OnlyWhitespace(const AnsiString& aText) {
  return aText.find_first_not_of(" \t\r\n") == AnsiString::npos;
}

// A decimal integer, an optional sign and digits only.
bool ReadDecimal(const AnsiString& aText, long& aValue) {
  size_t i = 0;
  bool negative = false;
  if (i < aText.size() && (aText[i] == '+' || aText[i] == '-')) negative = aText[i++] == '-';
  if (i == aText.size()) return false;
  long value = 0;
  for (; i < aText.size(); ++i) {
    if (aText[i] < '0' || aText[i] > '9') return false;
    value = std::min(value * 10 + (aText[i] - '0'), 1000000L);
  }
  aValue = negative ? -value : value;
  return true;
}

AnsiString FontSize(const AnsiString& aSize) {
  static const char* const kSizes[] = {"10px", "10pt", "16px", "0.19in", "18pt", "24pt", "36pt"};
  long value;
  if (!ReadDecimal(aSize, value)) return aSize;
  return kSizes[std::clamp(value, 1L, 7L) - 1];
}

}  // namespace

TpsHtmlImporter::TpsHtmlImporter() : FPassThrough{"meta", "link"} {}

bool TpsHtmlImporter::StructureOpen(const char* aName) const { return Contains(FStructureStack, aName); }
bool TpsHtmlImporter::BlockOpen(const char* aName) const { return Contains(FBlockStack, aName); }
bool TpsHtmlImporter::InnermostBlockIs(const char* aName) const {
  return !FBlockStack.empty() && FBlockStack.back() == aName;
}

void TpsHtmlImporter::Import(const AnsiString& aHtml, bool aWrapInParagraphs, AnsiString& aResult) {
  FOutput.clear();
  FOutput.reserve(aHtml.size() + 2048);
  FInlineStack.clear();
  FBlockStack.clear();
  FStructureStack.clear();
  FInBodyStyle = false;
  FContentSeen = false;
  FWrap = aWrapInParagraphs;

  const size_t n = aHtml.size();
  const auto at = [&](size_t k) { return k < n ? static_cast<unsigned char>(aHtml[k]) : -1; };
  // Past this position no "-->" stands; remembered so that many unended
  // comments cost one search.
  size_t noCommentEndFrom = AnsiString::npos;
  size_t pos = 0;
  AnsiString text;
  while (pos < n) {
    if (aHtml[pos] == '<' && htmldoc::StartsTag(at(pos + 1))) {
      size_t end = AnsiString::npos;  // offset of the token's last character
      if (aHtml.compare(pos, 4, "<!--") == 0) {
        if (noCommentEndFrom == AnsiString::npos || pos + 2 < noCommentEndFrom) {
          const size_t found = aHtml.find("-->", pos + 2);
          if (found == AnsiString::npos)
            noCommentEndFrom = pos + 2;
          else
            end = found + 2;
        }
      } else if (aHtml.compare(pos, 2, "<!") == 0 || aHtml.compare(pos, 2, "<?") == 0) {
        // Declarations and processing instructions end at the first ">",
        // as the page parser reads them.
        end = aHtml.find('>', pos + 2);
      } else {
        bool stoppedAtLt = false;
        const size_t k = htmldoc::FindTagEnd([&](size_t i) { return at(pos + i); }, false, stoppedAtLt);
        if (k != htmldoc::kNoTagEnd) end = pos + k;
      }
      if (end != AnsiString::npos) {
        if (!text.empty()) {
          ProcessText(text);
          text.clear();
        }
        ProcessTag(aHtml.substr(pos, end - pos + 1));
        pos = end + 1;
        continue;
      }
    }
    // Text: a "<" that starts no tag, or whose tag never ends, is text too.
    if (aHtml[pos] == '<')
      text += "&lt;";
    else
      text += aHtml[pos];
    ++pos;
  }
  if (!text.empty()) ProcessText(text);

  if (!FContentSeen) {
    if (StructureOpen("head")) ProcessTagText("</head>");
    if (FWrap) {
      ProcessTagText("<p>");
      ProcessTagText("</p>");
    }
  }
  CloseAllInlines();
  CloseAllBlocks();
  while (!FStructureStack.empty()) {
    Append(ClosingTag(FStructureStack.back()));
    FStructureStack.pop_back();
  }
  aResult = std::move(FOutput);
  FOutput.clear();
}

void TpsHtmlImporter::ProcessText(const AnsiString& aText) {
  if (FInBodyStyle || BlockOpen("script")) return;
  // Text standing directly in a table or a row has no place in the model.
  if (InnermostBlockIs("table") || InnermostBlockIs("tr")) return;
  if (StructureOpen("body") && !OnlyWhitespace(aText)) EnsureParagraph();
  if (InnermostBlockIs("table") || InnermostBlockIs("tr")) return;
  Append(aText);
}

void TpsHtmlImporter::ProcessTag(const AnsiString& aToken) {
  if (aToken.size() > 1 && aToken[1] == '!') {
    Append(aToken);
    return;
  }
  TpsMarkupTag tag(aToken, false, true, false);
  // A name read from stray punctuation or from non-ASCII text (the reader
  // keeps each character's low byte, so U+063E reads as ">") would be
  // written back as text that ends the tag early or starts another one.
  for (Integer i = tag.GetAttributeCount() - 1; i >= 0; --i) {
    const AnsiString attribute = tag.GetAttributeName(i);
    if (!IsAttributeName(attribute)) tag.RemoveAttribute(attribute);
  }
  const AnsiString name = tag.GetName();
  const bool closing = tag.GetTagType() == htmldoc::ttClosing;
  if (IsEmptyName(name)) {
    tag.SetTagType(htmldoc::ttEmpty);
    EnsureParagraph();
  } else if (tag.GetTagType() == htmldoc::ttEmpty && (IsStructure(name) || IsBlock(name) || IsInline(name) ||
                                                      name == "font")) {
    // "<p/>" opens a paragraph as "<p>" does; written self-closed it would
    // stand beside the closing tag the importer adds.
    tag.SetTagType(htmldoc::ttOpening);
  }
  if ((name == "meta" && StructureOpen("body")) || (BlockOpen("script") && name != "script")) return;
  if (name == "style" && !StructureOpen("head")) {
    FInBodyStyle = !closing;
    return;
  }
  if (IsStructure(name)) {
    if (closing)
      CloseStructure(tag);
    else
      OpenStructure(tag);
    return;
  }
  if (IsBlock(name)) {
    if (!closing) {
      if (IsBodyLevelBlock(name) && StructureOpen("html") && !StructureOpen("body")) {
        // The body the page left out, kept open like one it wrote.
        if (StructureOpen("head")) ProcessTagText("</head>");
        CloseAllInlines();
        Append("<body>");
        FStructureStack.push_back("body");
      } else if (name == "script" && FBlockStack.empty() && FInlineStack.empty() && !StructureOpen("head") && !StructureOpen("body")) {
        FStructureStack.push_back("head");
        Append("<head>");
      }
      OpenBlock(tag);
    } else {
      CloseBlock(tag);
    }
    return;
  }
  if (IsInline(name)) {
    if (closing)
      CloseInline(tag);
    else
      OpenInline(tag);
    return;
  }
  if (IsEmptyName(name) || Contains(FPassThrough, name)) {
    Append(tag.GetText());
    return;
  }
  if (name == "font") {
    ConvertFont(tag);
    return;
  }
  bool keep = false;
  if (OnUnknownTag) OnUnknownTag(this, tag, keep);
  if (keep) Append(tag.GetText());
}

void TpsHtmlImporter::OpenStructure(TpsMarkupTag& aTag) {
  const AnsiString name = aTag.GetName();
  // A second opening of what is open would nest a body in a body.
  if (StructureOpen(name.c_str())) return;
  // A structure element never stands inside a block.
  CloseAllBlocks();
  if (name == "body" && StructureOpen("head")) ProcessTagText("</head>");
  FStructureStack.push_back(name);
  Append(aTag.GetText());
}

void TpsHtmlImporter::CloseStructure(TpsMarkupTag& aTag) {
  const AnsiString name = aTag.GetName();
  CloseAllInlines();
  CloseAllBlocks();
  if (name == "body" && !FContentSeen && StructureOpen("body")) {
    ProcessTagText("<p>");
    ProcessTagText("</p>");
  }
  if (!StructureOpen(name.c_str())) return;
  while (FStructureStack.back() != name) {
    Append(ClosingTag(FStructureStack.back()));
    FStructureStack.pop_back();
  }
  Append(ClosingTag(name));
  FStructureStack.pop_back();
}

void TpsHtmlImporter::OpenBlock(TpsMarkupTag& aTag) {
  const AnsiString name = aTag.GetName();
  if (!StructureOpen("head") || StructureOpen("body")) FContentSeen = true;
  if (name == "p" && InnermostBlockIs("p"))
    ProcessTagText("</p>");
  else if (name != "tr" && InnermostBlockIs("table"))
    ProcessTagText("<tr>");
  CloseAllInlines();
  if ((name == "li" || name == "th" || name == "td") && InnermostBlockIs(name.c_str())) PopBlock();
  FBlockStack.push_back(name);
  if (name != "script") Append(aTag.GetText());
}

void TpsHtmlImporter::PopBlock() {
  if (FBlockStack.back() != "script") Append(ClosingTag(FBlockStack.back()));
  FBlockStack.pop_back();
}

void TpsHtmlImporter::CloseBlock(TpsMarkupTag& aTag) {
  const AnsiString name = aTag.GetName();
  CloseAllInlines();
  if (!BlockOpen(name.c_str())) return;
  while (FBlockStack.back() != name) PopBlock();
  PopBlock();
}

void TpsHtmlImporter::CloseAllInlines() {
  while (!FInlineStack.empty()) {
    Append(ClosingTag(FInlineStack.back()));
    FInlineStack.pop_back();
  }
}

void TpsHtmlImporter::CloseAllBlocks() {
  CloseAllInlines();
  while (!FBlockStack.empty()) PopBlock();
}

void TpsHtmlImporter::OpenInline(TpsMarkupTag& aTag) {
  if (FWrap && FBlockStack.empty()) ProcessTagText("<p>");
  FInlineStack.push_back(aTag.GetName());
  Append(aTag.GetText());
}

void TpsHtmlImporter::CloseInline(TpsMarkupTag& aTag) {
  const AnsiString name = aTag.GetName();
  if ((FBlockStack.empty() && FWrap) || !Contains(FInlineStack, name)) return;
  while (FInlineStack.back() != name) {
    Append(ClosingTag(FInlineStack.back()));
    FInlineStack.pop_back();
  }
  Append(ClosingTag(name));
  FInlineStack.pop_back();
}

void TpsHtmlImporter::ConvertFont(TpsMarkupTag& aTag) {
  TpsMarkupTag span(AnsiString(), false, true, false);
  span.SetName("span");
  if (aTag.GetTagType() == htmldoc::ttClosing) {
    span.SetTagType(htmldoc::ttClosing);
    CloseInline(span);
    return;
  }
  AnsiString style = aTag.GetAttribute("style");
  while (!style.empty() && (style.back() == ';' || style.back() == ' ')) style.pop_back();
  const auto add = [&style](const AnsiString& aPart) {
    if (!style.empty()) style += ';';
    style += aPart;
  };
  if (aTag.HasAttribute("face")) add("font-family:" + aTag.GetAttribute("face"));
  if (aTag.HasAttribute("size")) add("font-size:" + FontSize(aTag.GetAttribute("size")));
  const AnsiString color = aTag.GetAttribute("color");
  if (!color.empty() && htmldoc::IsCssColor(color)) add("color:" + color);
  if (!style.empty()) span.SetAttribute("style", style);
  OpenInline(span);
}

void TpsHtmlImporter::EnsureParagraph() {
  for (const char* name : {"p", "h1", "h2", "h3", "h4", "h5", "h6", "div"})
    if (BlockOpen(name)) return;
  for (const char* name : {"td", "th", "blockquote", "ul", "ol", "li"})
    if (BlockOpen(name)) return;
  ProcessTagText("<p>");
}

void TpsPlaintextImporter::Import(const AnsiString& aText, bool aOneParagraphPerLine, AnsiString& aResult) {
  std::vector<AnsiString> lines;
  AnsiString line;
  bool open = false;  // a line has begun and not ended
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < aText.size() && aText[i + 1] == '\n') ++i;
      continue;
    }
    open = true;
    if (c == '<')
      line += "&lt;";
    else if (c == '&')
      line += "&amp;";
    else
      line += c;
  }
  if (open) lines.push_back(std::move(line));

  if (aOneParagraphPerLine) {
    for (auto& l : lines)
      if (!l.empty()) l = "<p>" + l + "</p>";
  } else {
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      if (i == 0 || lines[i - 1].empty()) lines[i].insert(0, "<p>");
    }
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      if (i + 1 == lines.size() || lines[i + 1].empty()) lines[i] += "</p>";
    }
  }
  aResult.clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) aResult += "\r\n";
    aResult += lines[i];
  }
}

}  // namespace htmledit
