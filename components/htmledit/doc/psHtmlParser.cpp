#include "htmledit/doc/psHtmlParser.h"

#include <algorithm>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlEditHtmlSyntaxChecker.h"
#include "htmledit/doc/psHtmlScanner.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagText.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"

namespace htmldoc {

namespace {

constexpr char kIncompleteTag[] =
    "Tag could not be parsed completely because the parser reached the end of the input stream";
constexpr char kInvalidTag[] = "Tag is not valid in current context";
constexpr char kUnopenedPart[] = "Closing tag without its opening tag";

AnsiString ReadWholeStream(rtl::TStream& aSource) {
  aSource.SetPosition(0);
  AnsiString bytes;
  char buffer[65536];
  for (Integer read; (read = aSource.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, read);
  return bytes;
}

bool StartsWithNoCase(const AnsiString& aText, std::string_view aPrefix) {
  if (aText.size() < aPrefix.size()) return false;
  for (size_t i = 0; i < aPrefix.size(); ++i) {
    char c = aText[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != aPrefix[i]) return false;
  }
  return true;
}

bool EqualsNoCase(const AnsiString& a, const AnsiString& b) {
  return a.size() == b.size() && StartsWithNoCase(a, TpsStrings::LowerCase(b));
}

// The charsets the run-time layer converts though the code-page table
// lacks them.
Integer ExtraCharsetCodePage(const AnsiString& aName) {
  const AnsiString name = TpsStrings::LowerCase(aName);
  if (name == "euc-kr") return 949;
  if (name == "shift_jis") return 932;
  if (name == "gb2312" || name == "gbk") return 936;
  if (name == "big5") return 950;
  return 0;
}

// The charset a page names in a meta tag before its body, empty when none.
AnsiString ScanCharset(const AnsiString& aBytes) {
  for (size_t at = aBytes.find('<'); at != AnsiString::npos; at = aBytes.find('<', at + 1)) {
    bool stoppedAtLt = false;
    const size_t length = FindTagEnd(
        [&aBytes, at](size_t k) { return at + k < aBytes.size() ? static_cast<unsigned char>(aBytes[at + k]) : -1; },
        true, stoppedAtLt);
    if (length == kNoTagEnd) return {};
    if (stoppedAtLt) continue;
    const TpsMarkupTag tag(aBytes.substr(at, length + 1), false, true, false);
    if (tag.GetTagType() != ttClosing && tag.GetName() == "meta") {
      if (EqualsNoCase(tag.GetAttribute("http-equiv"), "content-type"))
        return TpsCharacterEncoding::ExtractCharset(tag.GetAttribute("content"));
      if (tag.HasAttribute("charset")) return TpsStrings::Trim(tag.GetAttribute("charset"));
    }
    if (tag.GetName() == "body") return {};
    at += length;
  }
  return {};
}

// The page's bytes as the program's 8-bit text, in the charset the page
// names, a byte-order mark says, or aEncoding gives; with none of them,
// UTF-8 when the bytes are UTF-8 and windows-1252 otherwise. aEncoding
// ends as the charset used.
AnsiString DecodePage(AnsiString aBytes, TpsCharacterEncoding& aEncoding) {
  if (aBytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    aBytes.erase(0, 3);
    aEncoding.SetCodePage(rtl::CP_UTF8);
  } else {
    const AnsiString charset = ScanCharset(aBytes);
    const Integer extra = charset.empty() ? 0 : ExtraCharsetCodePage(charset);
    if (!charset.empty() && TpsCharacterEncoding::IsKnownCharset(charset))
      aEncoding.SetCharsetName(charset);
    else if (extra && rtl::IsCodePageSupported(extra))
      aEncoding.SetCodePage(extra);
    else if (!aEncoding.IsKnown())
      aEncoding.SetCodePage(rtl::IsValidUtf8(aBytes) ? rtl::CP_UTF8 : 1252);
  }
  const Integer codePage = aEncoding.GetCodePage();
  if (codePage == rtl::CP_UTF8 && rtl::IsValidUtf8(aBytes)) return aBytes;
  if (!rtl::IsCodePageSupported(codePage)) return rtl::ReadStoredText(aBytes);
  return rtl::WideToUtf8(aEncoding.Decode(aBytes));
}

AnsiString Message(const char* aReason, const AnsiString& aContext) {
  return AnsiString("Parsing error: \"") + aReason + "\" near \"" + aContext + "\".";
}

// Tabs as the given number of non-breaking spaces.
AnsiString ExpandTabs(const AnsiString& aRun, Integer aTabStops) {
  if (aRun.find('\t') == AnsiString::npos) return aRun;
  AnsiString tab;
  for (Integer i = 0; i < std::max<Integer>(aTabStops, 1); ++i) tab += "&nbsp;";
  AnsiString result;
  for (char c : aRun) {
    if (c == '\t')
      result += tab;
    else
      result += c;
  }
  return result;
}

// The name a closing tag's text gives, as the tag parser reads it, or
// empty when it cannot be told from the bytes alone.
AnsiString ClosingTagNameAt(const AnsiString& aText, size_t aAt) {
  size_t end = aAt + 2;
  const auto endsName = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>'; };
  while (end < aText.size() && !endsName(aText[end])) ++end;
  AnsiString name = aText.substr(aAt + 2, end - aAt - 2);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

}  // namespace

// ---------------------------------------------------------------------------
// TpsParsingStateStack

TpsParsingState TpsParsingStateStack::Pop() {
  if (FStates.empty()) return psNone;
  const TpsParsingState top = FStates.back();
  FStates.pop_back();
  return top;
}

// ---------------------------------------------------------------------------
// TpsHtmlParser

TpsHtmlParser::TpsHtmlParser(const AnsiString& aEditingPositionComment)
    : FScanner(std::make_unique<TpsHtmlScanner>()), FEditingPositionComment(aEditingPositionComment) {}

TpsHtmlParser::~TpsHtmlParser() = default;

void TpsHtmlParser::Fail(const char* aReason, bool aSyntax) const {
  if (aSyntax) throw EpsHtmlEditParserSyntaxError(Message(aReason, FScanner->Context()));
  throw EpsHtmlEditParserError(Message(aReason, FScanner->Context()));
}

std::unique_ptr<TpsDataChunk> TpsHtmlParser::Parse(rtl::TStream& aSource, TpsCharacterEncoding& aEncoding,
                                                   bool aCheckSyntax) {
  FCursorPlaced = false;
  FPercentFailed = false;
  FStates.Clear();
  FPendingCustom = {};
  FOpenCustom.clear();
  FScanner->Reset(DecodePage(ReadWholeStream(aSource), aEncoding));
  IndexClosingTags();
  struct Cleanup {
    TpsHtmlParser& Parser;
    ~Cleanup() {
      Parser.FChecker.reset();
      Parser.FChunk.reset();
      Parser.FScanner->Reset({});
    }
  } cleanup{*this};
  if (aCheckSyntax) FChecker = std::make_unique<TpsHtmlSyntaxChecker>();
  FChunk = std::make_unique<TpsDataChunk>();
  for (unsigned passes = 1; !FScanner->AtEnd(); ++passes) {
    if (FScanner->At(0) == '%') {
      if (FPercentFailed) {
        FPercentFailed = false;
        ParseText();
      } else {
        FPercentFailed = !FScanner->ReadRuntimeVariable(OnParseDocumentRuntimeVariable, this);
      }
    } else if (FScanner->AtTagStart()) {
      ParseTag();
    } else {
      ParseText();
    }
    if (passes % 101 == 0 && OnAbortPoll && OnAbortPoll(this)) return nullptr;
  }
  return std::move(FChunk);
}

void TpsHtmlParser::IndexClosingTags() {
  FLastClosingTag.clear();
  const AnsiString& text = FScanner->Source();
  std::vector<std::pair<AnsiString, size_t>> found;
  for (size_t at = text.find("</"); at != AnsiString::npos; at = text.find("</", at + 1))
    found.emplace_back(ClosingTagNameAt(text, at), at);
  // The last one of each name: a stable sort keeps the order of starts.
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < found.size(); ++i)
    if (i + 1 == found.size() || found[i + 1].first != found[i].first) FLastClosingTag.push_back(found[i]);
}

void TpsHtmlParser::ParseText() {
  const TpsParsingState state = FStates.Top();
  const bool inBody = state == psNone || state == psBody;
  AnsiString run = FScanner->ReadTextRun(inBody, true);
  if (state == psTitle) {
    if (OnTitle) OnTitle(this, rtl::WideToUtf8(DecodeEntitiesW(rtl::Utf8ToWide(run))));
    return;
  }
  // Tabs stand for spaces only in body text; elsewhere they are white space.
  if (inBody) run = ExpandTabs(run, TabStops);
  // White space collapses across what left nothing in the list between two
  // runs (a title, a doctype), so that a page written back reads the same.
  const TpsChunkElement* last = FChunk->Last();
  if (last && last->Kind == ceChar && last->Char == u' ' && !last->FromEntity) {
    const size_t text = run.find_first_not_of(" \t\r\n");
    run.erase(0, text == AnsiString::npos ? run.size() : text);
    if (run.empty()) return;
  }
  FChunk->AddTextWithEntities(rtl::Utf8ToWide(run));
}

void TpsHtmlParser::AddComment(const AnsiString& aText, bool aInBody) {
  if (aInBody && !FCursorPlaced && EqualsNoCase(aText, FEditingPositionComment)) {
    FChunk->AppendCursor();
    FCursorPlaced = true;
    return;
  }
  FChunk->AddIgnoreElement(std::make_unique<TpsCommentIgnoreElement>(aText));
}

void TpsHtmlParser::AddRawContent(const AnsiString& aName) {
  const AnsiString content = FScanner->ReadRawContent(aName);
  if (!content.empty()) FChunk->AddIgnoreElement(std::make_unique<TpsStringIgnoreElement>(content));
}

void TpsHtmlParser::AddTag(std::unique_ptr<TpsHtmlTag> aTag) {
  const bool raw = aTag->GetTagType() == ttOpening &&
                   (aTag->GetName() == "style" || aTag->GetName() == "script");
  const AnsiString name = aTag->GetName();
  FChunk->AddTag(std::move(aTag));
  if (raw) AddRawContent(name);
}

void TpsHtmlParser::ParseTag() {
  AnsiString text;
  if (!FScanner->ReadTagText(text)) Fail(kIncompleteTag, false);
  const TpsParsingState current = FStates.Top();
  const bool inBody = current == psNone || current == psBody;

  // Comments and the verbatim items keep their text as written.
  if (text.compare(0, 4, "<!--") == 0) {
    if (current != psTitle) AddComment(text, inBody);
    return;
  }
  if (text.compare(0, 2, "<!") == 0 || text.compare(0, 2, "<?") == 0) {
    if (StartsWithNoCase(text, "<!doctype")) return;
    if (current != psTitle) FChunk->AddIgnoreElement(std::make_unique<TpsTagIgnoreElement>(text));
    return;
  }

  const TpsMarkupTag tag(text, false, true, false);
  const AnsiString& name = tag.GetName();
  TpsParsingState state = current;
  static const std::pair<const char*, TpsParsingState> kParts[] = {
      {"html", psHtml}, {"head", psHead}, {"title", psTitle}, {"body", psBody}};
  for (const auto& [partName, partState] : kParts) {
    if (name != partName) continue;
    if (tag.GetTagType() == ttOpening) {
      FStates.Push(partState);
      state = partState;
    } else if (tag.GetTagType() == ttClosing) {
      if (FStates.IsEmpty()) Fail(kUnopenedPart, false);
      FStates.Pop();
    }
    break;
  }

  switch (state) {
    case psNone:
    case psBody:
      BodyTag(text);
      break;
    case psHtml:
      AddTag(TpsHtmlTag::CreateFromText(nullptr, text));
      break;
    case psHead:
      HeadTag(text, tag);
      break;
    case psTitle:
    case psStyle:
      break;
  }
}

void TpsHtmlParser::HeadTag(const AnsiString& aText, const TpsMarkupTag& aTag) {
  if (aTag.GetName() == "meta" || aTag.GetName() == "link") {
    TpsMarkupTag copy(aTag);
    const auto& event = aTag.GetName() == "meta" ? OnMetaTag : OnLinkTag;
    if (event) event(this, copy);
  }
  AddTag(TpsHtmlTag::CreateFromText(TagEvents, aText));
}

void TpsHtmlParser::BodyTag(AnsiString aText) {
  if (OnParseTag) {
    TpsMarkupTag tag(aText, false, true, false);
    OnParseTag(this, tag);
    aText = tag.GetText();
  }
  if (OnParseImageTag && TpsStrings::LowerCase(aText).find("img") != AnsiString::npos) {
    TpsMarkupTag tag(aText, false, true, false);
    if (tag.GetName() == "img") {
      OnParseImageTag(this, tag);
      aText = tag.GetText();
    }
  }
  auto tag = TpsHtmlTag::CreateFromText(TagEvents, aText);
  const Byte code = tag->GetTagCode();
  if (code == TAG_UNKNOWN) {
    tag.reset();
    CustomTag(aText);
    return;
  }
  if (code == TAG_IMG && tag->GetTagType() != ttEmpty) tag->SetTagType(ttEmpty);
  if (code == TAG_CUST) {
    CustomData data;
    if (tag->GetTagType() == ttClosing) {
      if (!FOpenCustom.empty()) {
        data = FOpenCustom.back();
        FOpenCustom.pop_back();
      }
    } else {
      data = std::exchange(FPendingCustom, CustomData{});
      if (tag->GetTagType() == ttOpening) FOpenCustom.push_back(data);
    }
    tag->CustomSource = data.Source;
    tag->CustomContent = data.Content;
    tag->CustomAsWritten = data.AsWritten;
  }
  if (FChecker && !FChecker->CheckTag(tag->GetTagType(), code)) Fail(kInvalidTag, true);
  TpsHtmlTag* added = tag.get();
  AddTag(std::move(tag));
  if (code == TAG_IMG && OnImageTagAdded) OnImageTagAdded(this, *added);
}

void TpsHtmlParser::CustomTag(const AnsiString& aText) {
  TpsMarkupTag custom(aText, false, false, false);
  const AnsiString name = custom.GetName();
  if (name == "hr") {
    FChunk->AddIgnoreElement(std::make_unique<TpsTagIgnoreElement>(aText));
    return;
  }
  if (name == "script") {
    // The whole element, kept as it stands: its content is no HTML.
    AnsiString element = aText;
    if (custom.GetTagType() == ttOpening) {
      element += FScanner->ReadRawContent(name);
      AnsiString closing;
      if (!FScanner->AtEnd()) {
        if (!FScanner->ReadTagText(closing)) Fail(kIncompleteTag, false);
        element += closing;
      }
    }
    FChunk->AddIgnoreElement(std::make_unique<TpsTagIgnoreElement>(element));
    return;
  }

  CustomData data{aText, {}, true};
  AnsiString replacement;
  if (custom.GetTagType() == ttOpening && ReadCustomContent(name, data.Content)) {
    custom.SetContent(data.Content);
    replacement = data.Content;
    try {
      if (OnParseCustomTag) OnParseCustomTag(this, custom, replacement);
    } catch (const std::exception&) {
      Fail(kIncompleteTag, false);
    }
  } else {
    if (custom.GetTagType() == ttOpening) {
      // No closing tag: it stands as an empty tag.
      custom.SetTagType(ttEmpty);
      data.Source = custom.GetText();
      data.AsWritten = false;
    }
    if (OnParseCustomTag) OnParseCustomTag(this, custom, replacement);
  }
  FPendingCustom = data;
  FScanner->PushBack("<@cust>" + replacement + "</@cust>");
}

bool TpsHtmlParser::ReadCustomContent(const AnsiString& aName, AnsiString& aContent) {
  // Without a closing tag of its name further on the search would read the
  // rest of the page for nothing (pages hold many unknown void elements).
  // The index knows names of plain characters only, read as the tag
  // parser reads them.
  const bool plainName = !aName.empty() && std::all_of(aName.begin(), aName.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.' ||
           c == '@';
  });
  if (plainName && !FScanner->PushedBackHolds("</")) {
    const auto last = std::lower_bound(FLastClosingTag.begin(), FLastClosingTag.end(), aName,
                                       [](const auto& entry, const AnsiString& name) { return entry.first < name; });
    const bool hasLater = last != FLastClosingTag.end() && last->first == aName &&
                          last->second >= FScanner->SourcePosition();
    if (!hasLater) return false;
  }
  AnsiString read;
  Integer depth = 0;
  while (!FScanner->AtEnd()) {
    if (!FScanner->AtTagStart()) {
      read += FScanner->Read();
      continue;
    }
    AnsiString text;
    if (!FScanner->ReadTagText(text)) {
      // Read again by the page's loop, which reports the cut-off tag.
      FScanner->PushBack(read + text);
      return false;
    }
    const TpsMarkupTag tag(text, false, false, true);
    if (tag.GetName() == aName) {
      if (tag.GetTagType() == ttOpening) {
        ++depth;
      } else if (tag.GetTagType() == ttClosing) {
        if (depth == 0) {
          aContent = read;
          return true;
        }
        --depth;
      }
    }
    read += text;
  }
  FScanner->PushBack(read);
  return false;
}

// ---------------------------------------------------------------------------
// TpsMarkupParser

TpsMarkupParser::TpsMarkupParser() : FScanner(std::make_unique<TpsHtmlScanner>()) {}

TpsMarkupParser::~TpsMarkupParser() = default;

void TpsMarkupParser::ParseText(const AnsiString& aText) { Scan(aText); }

void TpsMarkupParser::ParseStream(rtl::TStream& aSource) { Scan(ReadWholeStream(aSource)); }

void TpsMarkupParser::ReadText(bool aStopAtPercent, bool aStopAtTag, bool aDecodeEntities, AnsiString& aText) {
  aText = FScanner->ReadTextRun(aStopAtPercent, aStopAtTag);
  if (aDecodeEntities) aText = DecodeEntities(aText);
}

void TpsMarkupParser::Scan(AnsiString aText) {
  FScanner->Reset(std::move(aText));
  bool percentFailed = false;
  for (unsigned passes = 1; !FScanner->AtEnd(); ++passes) {
    if (FScanner->At(0) == '%' && !percentFailed) {
      percentFailed = !FScanner->ReadRuntimeVariable(OnParseDocumentRuntimeVariable, this);
    } else if (FScanner->At(0) != '%' && FScanner->AtTagStart()) {
      AnsiString text;
      if (!FScanner->ReadTagText(text)) throw EpsHtmlEditParserError(Message(kIncompleteTag, FScanner->Context()));
      ProcessTag(text);
    } else {
      percentFailed = false;
      const size_t before = FScanner->ReadCount();
      ProcessText();
      // A descendant that reads nothing still moves the scan on.
      if (FScanner->ReadCount() == before) {
        AnsiString skipped;
        ReadText(true, true, false, skipped);
      }
    }
    if (passes % 101 == 0 && OnAbortPoll && OnAbortPoll(this)) {
      EndOfInput();
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// TpsDocumentImageTagProcessor

void TpsDocumentImageTagProcessor::Process(const AnsiString& aHtml, AnsiString& aResult) {
  FResult.clear();
  ParseText(aHtml);
  aResult = std::move(FResult);
  FResult.clear();
}

void TpsDocumentImageTagProcessor::ProcessText() {
  AnsiString text;
  ReadText(true, true, false, text);
  FResult += text;
}

void TpsDocumentImageTagProcessor::ProcessTag(const AnsiString& aTagText) {
  if (TpsStrings::LowerCase(aTagText).find("img") != AnsiString::npos) {
    TpsMarkupTag tag(aTagText, false, false, false);
    if (tag.GetName() == "img") {
      const AnsiString before = tag.GetText();
      AnsiString text = before;
      if (OnImageTag) OnImageTag(this, tag, text);
      FResult += text != before ? text : tag.GetText();
      return;
    }
  }
  FResult += aTagText;
}

}  // namespace htmldoc
