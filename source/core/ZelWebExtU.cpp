#include "core/ZelWebExtU.h"

#include <algorithm>
#include <vector>

#include "core/VormekCmdU.h"
#include "core/VormekWebParserU.h"
#include "rtl/Strings.h"

namespace core {

namespace {

std::unique_ptr<TzelwebParser> MakeVormekParser() { return std::make_unique<TVormekWebParser>(); }
std::unique_ptr<TwebServerTagList> MakeVormekTagList() { return std::make_unique<TvormekTagList>(); }
std::unique_ptr<TdeviceSimulator> MakeVormekSimulator(TzelwebParser* parser) {
  return std::make_unique<TvormekWebSimulator>(parser);
}

constexpr char kStartMarkerId[] = "0331BA3E-5EDC-4571-8323-9C5B5A3FA76E";
constexpr char kEndMarkerId[] = "11DBC841-5B8F-42CE-A2A0-57264ABDA3EE";

// A "<div" or "</div" tag in a text: [start, end).
struct DivTag {
  size_t start = 0;
  size_t end = 0;
  bool closing = false;
};

// The next div start or end tag at or after from; False when none.
bool NextDivTag(const AnsiString& lower, size_t from, DivTag& tag) {
  for (size_t at = lower.find("<", from); at != AnsiString::npos; at = lower.find("<", at + 1)) {
    size_t p = at + 1;
    const bool closing = p < lower.size() && lower[p] == '/';
    if (closing) ++p;
    if (lower.compare(p, 3, "div") != 0) continue;
    p += 3;
    if (p < lower.size() && !(static_cast<unsigned char>(lower[p]) <= ' ' || lower[p] == '>' || lower[p] == '/'))
      continue;
    const size_t close = lower.find('>', p);
    if (close == AnsiString::npos) return false;
    tag = {at, close + 1, closing};
    return true;
  }
  return false;
}

bool Holds(const AnsiString& lower, const DivTag& tag, const AnsiString& lowerId) {
  const size_t hit = lower.find(lowerId, tag.start);
  return hit != AnsiString::npos && hit < tag.end;
}

// The end tag that closes the div element opened by the tag ending at from;
// False when the text has none.
bool MatchingClose(const AnsiString& lower, size_t from, DivTag& close) {
  Integer depth = 0;
  DivTag tag;
  while (NextDivTag(lower, from, tag)) {
    const bool selfClosed = !tag.closing && tag.end >= 2 && lower[tag.end - 2] == '/';
    if (tag.closing) {
      if (depth == 0) {
        close = tag;
        return true;
      }
      --depth;
    } else if (!selfClosed) {
      ++depth;
    }
    from = tag.end;
  }
  return false;
}

// Removes the ranges (sorted, not overlapping) from text.
AnsiString Without(const AnsiString& text, std::vector<std::pair<size_t, size_t>> ranges) {
  std::sort(ranges.begin(), ranges.end());
  AnsiString out;
  out.reserve(text.size());
  size_t at = 0;
  for (const auto& [start, end] : ranges) {
    if (start < at) continue;
    out.append(text, at, start - at);
    at = end;
  }
  out.append(text, at, AnsiString::npos);
  return out;
}

}  // namespace

const TzelWebClassRefs kWebClassRefs = {&MakeVormekParser, &MakeVormekTagList, &MakeVormekSimulator};

AnsiString WrapBody(const AnsiString& text) {
  const AnsiString lower = rtl::LowerCase(text);
  AnsiString result;
  const size_t body = lower.find("<body");
  if (body == AnsiString::npos) {
    if (lower.find("<p>") == AnsiString::npos) return text;
    result = kBodyStartMarker + text + kBodyEndMarker;
  } else {
    const size_t close = text.find('>', body);
    if (close == AnsiString::npos) return text;
    result = text;
    result.insert(close + 1, kBodyStartMarker);
  }
  const size_t end = rtl::LowerCase(result).find("</body>");
  if (end != AnsiString::npos) result.insert(end, kBodyEndMarker);
  return result;
}

AnsiString RemoveMarkers(const AnsiString& text) {
  // Every div start tag carrying the start marker's id and every div end tag
  // carrying the end marker's id goes, in whatever spelling a writer gave
  // it; the exact markers are among them.
  const AnsiString lower = rtl::LowerCase(text);
  const AnsiString startId = rtl::LowerCase(kStartMarkerId);
  const AnsiString endId = rtl::LowerCase(kEndMarkerId);
  std::vector<std::pair<size_t, size_t>> ranges;
  std::vector<DivTag> starts;
  size_t endsWithId = 0;
  DivTag tag;
  for (size_t from = 0; NextDivTag(lower, from, tag); from = tag.end) {
    if (tag.closing && Holds(lower, tag, endId)) {
      ranges.emplace_back(tag.start, tag.end);
      ++endsWithId;
    } else if (!tag.closing && Holds(lower, tag, startId)) {
      ranges.emplace_back(tag.start, tag.end);
      starts.push_back(tag);
    }
  }
  // A writer that drops the attributes of end tags leaves the end marker as
  // a bare "</div>": for each start marker without an end marker, the end
  // tag that closes its element goes too.
  size_t unpaired = starts.size() > endsWithId ? starts.size() - endsWithId : 0;
  for (const DivTag& start : starts) {
    if (unpaired == 0) break;
    DivTag close;
    if (MatchingClose(lower, start.end, close) && !Holds(lower, close, endId)) {
      ranges.emplace_back(close.start, close.end);
      --unpaired;
    }
  }
  return ranges.empty() ? text : Without(text, ranges);
}

// ---------------------------------------------------------------------------

TZelWebExt::TZelWebExt()
    : knExpression1_(std::make_unique<TKnExpression>()), vormekProd_(std::make_unique<rtl::TPageProducer>()) {
  knExpression1_->SetAllowEqual(true);
  vormekProd_->SetStripParamQuotes(false);
  vormekProd_->OnHTMLTag = [this](rtl::TPageProducer* sender, const AnsiString& tagString, rtl::TStrings& params,
                                  AnsiString& replaceText) { VormekTag(sender, tagString, params, replaceText); };
  DataModuleCreate();
}

TZelWebExt::~TZelWebExt() { DataModuleDestroy(); }

void TZelWebExt::DataModuleCreate() {
  parser_ = kWebClassRefs.ParserClass();
  tagList_ = parser_->TagList();
  errors_ = std::make_unique<rtl::TStringList>();
  simulator_ = kWebClassRefs.SimulatorClass(parser_.get());
}

void TZelWebExt::DataModuleDestroy() {
  // The simulator reads tags with the parser: it goes first.
  simulator_.reset();
  tagList_ = nullptr;
  parser_.reset();
  errors_.reset();
}

AnsiString TZelWebExt::LoadPage(const AnsiString& page) { return WrapBody(parser_->PageToEditor(page)); }

AnsiString TZelWebExt::SavePage(const AnsiString& html) {
  return RemoveMarkers(vormekProd_->ContentFromString(html));
}

AnsiString TZelWebExt::Simulate(const AnsiString& html) {
  errors_->Clear();
  AnsiString text = RemoveMarkers(html);
  simulator_->OnError = [this](const AnsiString& message, Integer line) { AddError(message, line); };
  simulator_->Expand(text);
  return text;
}

void TZelWebExt::AddError(const AnsiString& message, Integer line) {
  errors_->AddObject(message, rtl::IntToObject(line));
}

bool TZelWebExt::EditTag(rtl::TStrings& lines, AnsiString& tagText) {
  return tagList_->EditTag(lines, *parser_, tagText);
}

bool TZelWebExt::IsDeviceTag(const AnsiString& text) const { return IsInternalTag(text); }

void TZelWebExt::VormekTag(rtl::TPageProducer* Sender, const AnsiString& TagString, rtl::TStrings& TagParams,
                           AnsiString& ReplaceText) {
  AnsiString tag = "<#" + TagString + " ";
  for (Integer i = 0; i < TagParams.Count(); ++i) {
    if (i > 0) tag += "\r\n";
    tag += TagParams.Get(i);
  }
  tag += ">";
  ReplaceText = parser_->EditorToPage(tag);
}

}  // namespace core
