// Inline formatting of TpsDataChunk: the inline tags open at a position,
// splitting pairs at a position or at the edges of a marked range, and
// adding, extending and removing pairs on a marked range.
//
// Formatting is held as pairs of inline tags around characters that cross
// neither a block boundary nor each other; every operation here keeps that
// so.
#include <algorithm>
#include <set>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/StringList.h"

namespace htmldoc {

namespace {

// Inline tag codes are those below this.
constexpr size_t kInlineCodeCount = TAG_STRIKE + 1;

// The inline opening tags open at aStart, innermost first: a block tag ends
// the walk, a closing tag closes one pair, an opening tag cancels one
// closed pair or is open.
std::vector<TpsChunkElement*> OpenInlineTags(TpsChunkElement* aStart) {
  std::vector<TpsChunkElement*> open;
  Integer closed = 0;
  for (TpsChunkElement* e = aStart; e; e = e->Prev) {
    if (TpsDataChunk::IsBlockTag(e)) break;
    if (TpsDataChunk::IsInlineCloseTag(e)) {
      ++closed;
    } else if (TpsDataChunk::IsInlineOpenTag(e)) {
      if (closed > 0)
        --closed;
      else
        open.push_back(e);
    }
  }
  return open;
}

// A copy of aTag with a fresh id turned into the other half of its pair:
// a tag of its name, without attributes, as CreateTagPair makes a closing
// tag. For a tag whose partner is missing.
TpsChunkElement* OtherHalfFromName(const TpsChunkElement* aTag, Byte aType) {
  std::unique_ptr<TpsHtmlTag> tag = TpsDataChunk::CopyTag(aTag);
  tag->SetTagType(aType);
  tag->ClearAttributes();
  return NewTagElement(std::move(tag));
}

// The "style" declarations of a tag as the sheet keeps them, else as the
// attribute holds them.
AnsiString DeclarationsOf(TpsHtmlTag& aTag, const TpsStyleSheet* aStyleSheet) {
  const Integer id = aTag.GetStyleAttributeId();
  if (aStyleSheet && id >= 0)
    if (const TpsStyle* style = aStyleSheet->GetStyle(id)) return style->GetAttributesAsString();
  return aTag.GetAttribute("style");
}

bool SameDeclarations(const AnsiString& aA, const AnsiString& aB) {
  const TpsStyle a(-1, aA), b(-1, aB);
  return a.HasSameAttributes(b) && a.UnknownDeclarations() == b.UnknownDeclarations();
}

// Every attribute of aTag is present in aModel with the same value; "style"
// compares its declarations, not its text.
bool AttributesWithin(TpsHtmlTag& aTag, const TpsMarkupTag& aModel, const TpsStyleSheet* aStyleSheet) {
  for (Integer i = 0; i < aTag.GetAttributeCount(); ++i) {
    const AnsiString name = aTag.GetAttributeName(i);
    if (!aModel.HasAttribute(name)) return false;
    if (name == "style") {
      if (!SameDeclarations(DeclarationsOf(aTag, aStyleSheet), aModel.GetAttribute(name))) return false;
    } else if (aTag.GetAttributeValue(i) != aModel.GetAttribute(name)) {
      return false;
    }
  }
  return true;
}

// Same name, type and attributes with the same values as aModel.
bool EqualsModel(TpsHtmlTag& aTag, const TpsMarkupTag& aModel, const TpsStyleSheet* aStyleSheet) {
  return aTag.GetName() == aModel.GetName() && aTag.GetTagType() == aModel.GetTagType() &&
         aTag.GetAttributeCount() == aModel.GetAttributeCount() && AttributesWithin(aTag, aModel, aStyleSheet);
}

bool PassedByNeighbourSearch(const TpsChunkElement* e) {
  return e->Kind == ceCursor || e->Kind == ceMarker || e->Kind == ceIgnore;
}

bool IsBlankOrCursor(const TpsChunkElement* e) { return TpsDataChunk::IsBlank(e) || e->Kind == ceCursor; }

}  // namespace

// ---------------------------------------------------------------------------
// Tags open at a position

Integer TpsDataChunk::ForEachInlineTagAround(TpsChunkElement* aStart, const TpsInlineTagCallback& aCallback) const {
  const std::vector<TpsChunkElement*> open = OpenInlineTags(aStart);
  for (size_t i = 0; i < open.size(); ++i)
    if (aCallback) aCallback(static_cast<Integer>(i), open[i]);
  return static_cast<Integer>(open.size());
}

Integer TpsDataChunk::ForEachInlineTagAroundCursor(const TpsInlineTagCallback& aCallback) const {
  return ForEachInlineTagAround(GetCursor(), aCallback);
}

Integer TpsDataChunk::ForEachInlineTagAroundMarker(Integer aMarker, const TpsInlineTagCallback& aCallback) const {
  return ForEachInlineTagAround(FindMarker(aMarker), aCallback);
}

TpsChunkElement* TpsDataChunk::GetInlineTagAroundCursor(Integer aIndex) const {
  const std::vector<TpsChunkElement*> open = OpenInlineTags(GetCursor());
  return aIndex >= 0 && aIndex < static_cast<Integer>(open.size()) ? open[aIndex] : nullptr;
}

Integer TpsDataChunk::IndexOfInlineTagAroundCursor(Byte aTagCode) const {
  const std::vector<TpsChunkElement*> open = OpenInlineTags(GetCursor());
  for (Integer i = static_cast<Integer>(open.size()) - 1; i >= 0; --i)
    if (TagCodeOf(open[i]) == aTagCode) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// Splitting pairs

namespace {

// Closes the pair right before aAt and opens it again right after, with
// copies of its two tags; a half that is missing (a tag without partner)
// is made from the other's name.
void SplitPairAt(TpsDataChunk& aChunk, const TpsChunkElement* aOpen, const TpsChunkElement* aClose,
                 TpsChunkElement* aAt) {
  aChunk.InsertBefore(aClose ? CloneElement(aClose, true) : OtherHalfFromName(aOpen, ttClosing), aAt);
  aChunk.InsertAfter(aOpen ? CloneElement(aOpen, true) : OtherHalfFromName(aClose, ttOpening), aAt);
}

}  // namespace

Integer TpsDataChunk::SplitInlineTagsAt(TpsChunkElement* aElement) {
  const std::vector<TpsChunkElement*> open = OpenInlineTags(aElement);
  for (TpsChunkElement* tag : open) SplitPairAt(*this, tag, FindPartnerTag(tag, nullptr), aElement);
  return static_cast<Integer>(open.size());
}

namespace {

// The two markers of a range, found in one walk (a list may be long).
void FindMarkerPair(const TpsDataChunk& aChunk, Integer aStartMarker, Integer aEndMarker, TpsChunkElement*& aStart,
                    TpsChunkElement*& aEnd) {
  aStart = aEnd = nullptr;
  for (TpsChunkElement* e = aChunk.First(); e && !(aStart && aEnd); e = e->Next) {
    if (e->Kind != ceMarker) continue;
    if (!aStart && e->MarkerNo == aStartMarker) aStart = e;
    else if (!aEnd && e->MarkerNo == aEndMarker) aEnd = e;
  }
}

// Splits the pairs that cross an edge of the range between aStart and
// aEnd, innermost first at each edge, so that the split pairs stay nested.
// One walk pairs the tags of each code as FindPartnerTag pairs them: a
// closing tag left without opening tag in the range crosses the start, an
// opening tag left open crosses the end. Splitting one pair creates no
// other crossing, so all are split after the one walk.
void SplitCrossingTagsBetween(TpsDataChunk& aChunk, TpsChunkElement* aStart, TpsChunkElement* aEnd) {
  std::vector<std::vector<std::pair<size_t, TpsChunkElement*>>> open(kInlineCodeCount);
  std::vector<TpsChunkElement*> crossesStart;
  size_t position = 0;
  for (TpsChunkElement* e = aStart->Next; e && e != aEnd; e = e->Next, ++position) {
    if (TpsDataChunk::IsInlineOpenTag(e)) {
      open[TpsDataChunk::TagCodeOf(e)].emplace_back(position, e);
    } else if (TpsDataChunk::IsInlineCloseTag(e)) {
      auto& sameCode = open[TpsDataChunk::TagCodeOf(e)];
      if (sameCode.empty())
        crossesStart.push_back(e);
      else
        sameCode.pop_back();
    }
  }
  // The first closing tag is the innermost pair open at the start.
  for (TpsChunkElement* close : crossesStart) SplitPairAt(aChunk, aChunk.FindPartnerTag(close, nullptr), close, aStart);
  // The last opening tag is the innermost pair open at the end.
  std::vector<std::pair<size_t, TpsChunkElement*>> crossesEnd;
  for (const auto& sameCode : open) crossesEnd.insert(crossesEnd.end(), sameCode.begin(), sameCode.end());
  std::sort(crossesEnd.begin(), crossesEnd.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& entry : crossesEnd)
    SplitPairAt(aChunk, entry.second, aChunk.FindPartnerTag(entry.second, nullptr), aEnd);
}

}  // namespace

void TpsDataChunk::SplitCrossingTags(Integer aStartMarker, Integer aEndMarker) {
  TpsChunkElement *start, *end;
  FindMarkerPair(*this, aStartMarker, aEndMarker, start, end);
  SplitCrossingTagsBetween(*this, start, end);
}

// ---------------------------------------------------------------------------
// Formatting a marked range

namespace {

// The markers of a range whose crossing pairs are split.
void PrepareRange(TpsDataChunk& aChunk, Integer aStartMarker, Integer aEndMarker, TpsChunkElement*& aStart,
                  TpsChunkElement*& aEnd) {
  FindMarkerPair(aChunk, aStartMarker, aEndMarker, aStart, aEnd);
  SplitCrossingTagsBetween(aChunk, aStart, aEnd);
}

void InsertPairAround(TpsDataChunk& aChunk, std::unique_ptr<TpsHtmlTag> aOpen, std::unique_ptr<TpsHtmlTag> aClose,
                      TpsChunkElement* aStart, TpsChunkElement* aEnd) {
  aChunk.InsertTag(std::move(aOpen), aStart, false);
  aChunk.InsertTag(std::move(aClose), aEnd, true);
}

}  // namespace

void TpsDataChunk::WrapMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker, Integer aEndMarker,
                                   const AnsiString& aTagText, const TpsStyleSheet*, const TpsStyleIdEvent&) {
  TpsChunkElement *start, *end;
  PrepareRange(*this, aStartMarker, aEndMarker, start, end);
  std::unique_ptr<TpsHtmlTag> open, close;
  CreateTagPair(aEvents, aTagText, open, close);
  InsertPairAround(*this, std::move(open), std::move(close), start, end);
}

void TpsDataChunk::WrapMarkedRangeInCustomTag(Integer aStartMarker, Integer aEndMarker,
                                              const AnsiString& aSourceText, const TpsHtmlTagEventsRef& aEvents) {
  TpsChunkElement *start, *end;
  PrepareRange(*this, aStartMarker, aEndMarker, start, end);
  std::unique_ptr<TpsHtmlTag> open, close;
  CreateCustomTagPair(aSourceText, aEvents, open, close);
  InsertPairAround(*this, std::move(open), std::move(close), start, end);
}

void TpsDataChunk::ApplyTagToMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker,
                                         Integer aEndMarker, const AnsiString& aTagText,
                                         const TpsStyleSheet* aStyleSheet, const TpsStyleIdEvent& aOnStyleId) {
  TpsChunkElement *start, *end;
  PrepareRange(*this, aStartMarker, aEndMarker, start, end);
  const TpsMarkupTag model(aTagText, false, true, true);
  const Byte modelCode = TagNameToCode(model.GetName());
  const AnsiString modelStyle = model.GetAttribute("style");

  // A pair that holds exactly the range, give or take blanks and the
  // cursor, is part of the range.
  TpsChunkElement* first = start;
  TpsChunkElement* last = end;
  TpsChunkElement* before = start->Prev;
  while (before && IsBlankOrCursor(before)) before = before->Prev;
  if (IsInlineOpenTag(before)) {
    TpsChunkElement* after = end->Next;
    while (after && IsBlankOrCursor(after)) after = after->Next;
    if (after && FindPartnerTag(before, nullptr) == after) {
      first = before;
      last = after;
    }
  }

  // Inside the range: declarations the new tag makes go from inner inline
  // styles, and an inner pair equal to the new tag goes.
  Focus(first, last);
  for (TpsChunkElement* e = FFirst; e;) {
    TpsChunkElement* next = e->Next;
    if (IsInlineOpenTag(e)) {
      TpsHtmlTag& tag = *e->Tag;
      if (!modelStyle.empty() && !tag.GetAttribute("style").empty()) {
        const AnsiString own = DeclarationsOf(tag, aStyleSheet);
        const AnsiString rest = DeclarationsDifference(modelStyle, own);
        if (!SameDeclarations(rest, own)) {
          Integer id = -1;
          if (!rest.empty() && aOnStyleId) aOnStyleId(&tag, rest, id);
          if (id != -1)
            tag.SetStyleAttributeId(id);
          else if (!rest.empty())
            tag.SetAttribute("style", rest);
          else
            tag.SetStyleAttributeId(-1);
        }
      }
      if (tag.GetTagCode() == modelCode && AttributesWithin(tag, model, aStyleSheet)) {
        if (TpsChunkElement* partner = FindPartnerTag(e, nullptr)) {
          if (next == partner) next = partner->Next;
          RemoveElement(partner, true);
          RemoveElement(e, true);
        }
      }
    }
    e = next;
  }
  Unfocus();

  // A neighbouring pair equal to the new tag is extended over the range.
  TpsChunkElement* behind = start->Prev;
  while (behind && PassedByNeighbourSearch(behind)) behind = behind->Prev;
  TpsChunkElement* behindPartner = IsInlineCloseTag(behind) ? FindPartnerTag(behind, nullptr) : nullptr;
  if (behindPartner) {
    if (EqualsModel(*behindPartner->Tag, model, aStyleSheet)) {
      MoveElementAfter(behind, end);
      return;
    }
  } else {
    TpsChunkElement* ahead = end->Next;
    while (ahead && PassedByNeighbourSearch(ahead)) ahead = ahead->Next;
    if (IsInlineOpenTag(ahead) && FindPartnerTag(ahead, nullptr) && EqualsModel(*ahead->Tag, model, aStyleSheet)) {
      MoveElementBefore(ahead, start);
      return;
    }
  }

  std::unique_ptr<TpsHtmlTag> open, close;
  CreateTagPair(aEvents, model.GetText(), open, close);
  InsertPairAround(*this, std::move(open), std::move(close), start, end);
}

void TpsDataChunk::RemoveTagFromMarkedRange(Integer aStartMarker, Integer aEndMarker, const AnsiString& aTagText,
                                            const TpsStyleSheet*) {
  // Texts compared as the tag writer writes them.
  const AnsiString wanted = TpsMarkupTag(aTagText).GetText();
  const auto isWanted = [&wanted](const TpsChunkElement* e) { return GetElementText(e, {}, false) == wanted; };
  TpsChunkElement *start, *end;
  FindMarkerPair(*this, aStartMarker, aEndMarker, start, end);
  for (TpsChunkElement* marker : {start, end}) {
    for (TpsChunkElement* tag : OpenInlineTags(marker)) {
      SplitPairAt(*this, tag, FindPartnerTag(tag, nullptr), marker);
      if (isWanted(tag)) break;
    }
  }
  // The wanted pairs that close before the end marker, paired in one walk
  // as FindPartnerTag pairs them; removing one pair changes the pairing of
  // no other.
  std::vector<std::vector<std::pair<TpsChunkElement*, bool>>> open(kInlineCodeCount);
  std::vector<std::pair<TpsChunkElement*, TpsChunkElement*>> pairs;
  for (TpsChunkElement* e = start->Next; e && e != end; e = e->Next) {
    if (IsInlineOpenTag(e)) {
      open[TagCodeOf(e)].emplace_back(e, isWanted(e));
    } else if (IsInlineCloseTag(e)) {
      auto& sameCode = open[TagCodeOf(e)];
      if (sameCode.empty()) continue;
      if (sameCode.back().second) pairs.emplace_back(sameCode.back().first, e);
      sameCode.pop_back();
    }
  }
  for (const auto& pair : pairs) {
    RemoveElement(pair.first, true);
    RemoveElement(pair.second, true);
  }
}

std::unique_ptr<rtl::TStringList> TpsDataChunk::GetTagsCoveringSelection(const TpsStyleSheet*) const {
  auto result = std::make_unique<rtl::TStringList>();
  TpsChunkElement* first = FindSelected(true, false);
  if (!first) return result;
  TpsChunkElement* last = FindSelected(false, false);
  std::vector<AnsiString> candidates;
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (!IsInlineOpenTag(e)) continue;
    const AnsiString text = GetElementText(e, {}, false);
    if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) candidates.push_back(text);
  }
  // The tags open at the first character of each text run, read in the
  // whole list (a tag opened before the selection covers it too) and kept
  // up to date on the way: an opening tag is pushed, a closing tag closes
  // the last one still open, a block tag ends them all, as the walk back
  // from a position counts them.
  std::vector<TpsChunkElement*> open = OpenInlineTags(first);
  std::reverse(open.begin(), open.end());
  std::vector<bool> covers(candidates.size(), true);
  std::set<AnsiString> atRunStart;
  bool inRun = false, runHasText = false;
  const auto endRun = [&]() {
    if (inRun && runHasText)
      for (size_t i = 0; i < candidates.size(); ++i)
        if (!atRunStart.count(candidates[i])) covers[i] = false;
    inRun = runHasText = false;
  };
  for (TpsChunkElement* e = first;; e = e->Next) {
    if (e->Kind == ceChar) {
      if (!inRun) {
        inRun = true;
        atRunStart.clear();
        for (TpsChunkElement* tag : open) atRunStart.insert(GetElementText(tag, {}, false));
      }
      runHasText = runHasText || IsNonBlankCharacter(e);
    } else {
      endRun();
      if (IsBlockTag(e))
        open.clear();
      else if (IsInlineOpenTag(e))
        open.push_back(e);
      else if (IsInlineCloseTag(e) && !open.empty())
        open.pop_back();
    }
    if (e == last) break;
  }
  endRun();
  for (size_t i = 0; i < candidates.size(); ++i)
    if (covers[i]) result->Add(candidates[i]);
  return result;
}

}  // namespace htmldoc
