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

void TpsDataChunk::SplitCrossingTags(Integer aStartMarker, Integer aEndMarker) {
  TpsChunkElement* start = FindMarker(aStartMarker);
  TpsChunkElement* end = FindMarker(aEndMarker);
  for (;;) {
    // A closing tag whose opening tag lies before the range crosses the
    // start; the first one is the innermost pair open there. An opening
    // tag whose closing tag lies after the range crosses the end; the last
    // one is the innermost pair open there. Innermost first keeps the split
    // pairs nested.
    TpsChunkElement* crossesStart = nullptr;
    TpsChunkElement* crossesEnd = nullptr;
    for (TpsChunkElement* e = start->Next; e && e != end && !crossesStart; e = e->Next) {
      if (IsInlineCloseTag(e) && !FindPartnerTag(e, start))
        crossesStart = e;
      else if (IsInlineOpenTag(e) && !FindPartnerTag(e, end))
        crossesEnd = e;
    }
    if (crossesStart) {
      SplitPairAt(*this, FindPartnerTag(crossesStart, nullptr), crossesStart, start);
    } else if (crossesEnd) {
      SplitPairAt(*this, crossesEnd, FindPartnerTag(crossesEnd, nullptr), end);
    } else {
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Formatting a marked range

namespace {

void InsertPairAroundMarkers(TpsDataChunk& aChunk, std::unique_ptr<TpsHtmlTag> aOpen,
                             std::unique_ptr<TpsHtmlTag> aClose, Integer aStartMarker, Integer aEndMarker) {
  aChunk.InsertTag(std::move(aOpen), aChunk.FindMarker(aStartMarker), false);
  aChunk.InsertTag(std::move(aClose), aChunk.FindMarker(aEndMarker), true);
}

}  // namespace

void TpsDataChunk::WrapMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker, Integer aEndMarker,
                                   const AnsiString& aTagText, const TpsStyleSheet*, const TpsStyleIdEvent&) {
  SplitCrossingTags(aStartMarker, aEndMarker);
  std::unique_ptr<TpsHtmlTag> open, close;
  CreateTagPair(aEvents, aTagText, open, close);
  InsertPairAroundMarkers(*this, std::move(open), std::move(close), aStartMarker, aEndMarker);
}

void TpsDataChunk::WrapMarkedRangeInCustomTag(Integer aStartMarker, Integer aEndMarker,
                                              const AnsiString& aSourceText, const TpsHtmlTagEventsRef& aEvents) {
  SplitCrossingTags(aStartMarker, aEndMarker);
  std::unique_ptr<TpsHtmlTag> open, close;
  CreateCustomTagPair(aSourceText, aEvents, open, close);
  InsertPairAroundMarkers(*this, std::move(open), std::move(close), aStartMarker, aEndMarker);
}

void TpsDataChunk::ApplyTagToMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker,
                                         Integer aEndMarker, const AnsiString& aTagText,
                                         const TpsStyleSheet* aStyleSheet, const TpsStyleIdEvent& aOnStyleId) {
  SplitCrossingTags(aStartMarker, aEndMarker);
  const TpsMarkupTag model(aTagText, false, true, true);
  const Byte modelCode = TagNameToCode(model.GetName());
  const AnsiString modelStyle = model.GetAttribute("style");
  TpsChunkElement* start = FindMarker(aStartMarker);
  TpsChunkElement* end = FindMarker(aEndMarker);

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
  InsertPairAroundMarkers(*this, std::move(open), std::move(close), aStartMarker, aEndMarker);
}

void TpsDataChunk::RemoveTagFromMarkedRange(Integer aStartMarker, Integer aEndMarker, const AnsiString& aTagText,
                                            const TpsStyleSheet*) {
  // Texts compared as the tag writer writes them.
  const AnsiString wanted = TpsMarkupTag(aTagText).GetText();
  const auto isWanted = [&wanted](const TpsChunkElement* e) { return GetElementText(e, {}, false) == wanted; };
  for (Integer number : {aStartMarker, aEndMarker}) {
    TpsChunkElement* marker = FindMarker(number);
    for (TpsChunkElement* tag : OpenInlineTags(marker)) {
      SplitPairAt(*this, tag, FindPartnerTag(tag, nullptr), marker);
      if (isWanted(tag)) break;
    }
  }
  TpsChunkElement* end = FindMarker(aEndMarker);
  for (TpsChunkElement* e = FindMarker(aStartMarker)->Next; e && e != end;) {
    TpsChunkElement* next = e->Next;
    TpsChunkElement* partner = IsInlineOpenTag(e) && isWanted(e) ? FindPartnerTag(e, end) : nullptr;
    if (partner) {
      if (next == partner) next = partner->Next;
      RemoveElement(partner, true);
      RemoveElement(e, true);
    }
    e = next;
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
  // The tags open at the first character of each text run. They are read
  // in the whole list: a tag opened before the selection covers it too.
  std::vector<bool> covers(candidates.size(), true);
  for (TpsChunkElement* e = first; e;) {
    TpsChunkElement* runStart = e;
    bool hasText = false;
    while (e && e->Kind == ceChar) {
      hasText = hasText || IsNonBlankCharacter(e);
      if (e == last) break;
      e = e->Next;
    }
    if (hasText) {
      std::set<AnsiString> open;
      for (TpsChunkElement* tag : OpenInlineTags(runStart)) open.insert(GetElementText(tag, {}, false));
      for (size_t i = 0; i < candidates.size(); ++i)
        if (!open.count(candidates[i])) covers[i] = false;
    }
    if (!e || e == last) break;
    e = e->Next;
  }
  for (size_t i = 0; i < candidates.size(); ++i)
    if (covers[i]) result->Add(candidates[i]);
  return result;
}

}  // namespace htmldoc
