// The focus stack of TpsDataChunk and the navigation of its tag structure:
// partners, blocks around and beside an element, enclosing lists, tables
// and links.
#include <algorithm>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"

namespace htmldoc {

// ---------------------------------------------------------------------------
// Focus

bool TpsDataChunk::Focus(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  if (!aFirst || !aLast) return false;
  FFocusStack.push_back(TpsDataChunkFocus{FFirst, FLast, aFirst->Prev, aLast->Next});
  FFirst = aFirst;
  FLast = aLast;
  aFirst->Prev = nullptr;
  aLast->Next = nullptr;
  return true;
}

void TpsDataChunk::Unfocus() {
  if (FFocusStack.empty()) return;
  const TpsDataChunkFocus focus = FFocusStack.back();
  FFocusStack.pop_back();
  if (FFirst) {
    if (focus.Before) {
      focus.Before->Next = FFirst;
      FFirst->Prev = focus.Before;
      FFirst = focus.SavedFirst;
    }
    if (focus.After) {
      focus.After->Prev = FLast;
      FLast->Next = focus.After;
      FLast = focus.SavedLast;
    }
    return;
  }
  // The range was emptied. The neighbours that exist close the gap; a side
  // without one (the range began or ended the list) takes the neighbour of
  // the other side as its end, so no freed element is ever named.
  if (focus.Before) focus.Before->Next = focus.After;
  if (focus.After) focus.After->Prev = focus.Before;
  FFirst = focus.Before ? focus.SavedFirst : focus.After;
  FLast = focus.After ? focus.SavedLast : focus.Before;
}

TpsChunkElement* TpsDataChunk::FindMarker(Integer aMarker) const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceMarker && e->MarkerNo == aMarker) return e;
  return nullptr;
}

bool TpsDataChunk::FocusBlock(TpsChunkElement* aElement) {
  TpsChunkElement* start = GetBlockStart(aElement);
  if (!start) return Focus(FFirst, FLast);
  TpsChunkElement* end = FindPartnerTag(start, nullptr);
  if (!end) throw EpsHtmlEditException("TpsDataChunk.FocusBlock: could not find block end tag!");
  return Focus(start, end);
}

bool TpsDataChunk::TryFocusBlock(TpsChunkElement* aElement) {
  if (!GetBlockStart(aElement)) return false;
  return FocusBlock(aElement);
}

bool TpsDataChunk::FocusMarkedBlock(Integer aMarker) {
  TpsChunkElement* marker = FindMarker(aMarker);
  if (!marker) throw EpsHtmlEditException("TpsDataChunk.FocusMarkedBlock: could not find marker!");
  return FocusBlock(marker);
}

bool TpsDataChunk::TryFocusMarkedBlock(Integer aMarker) {
  TpsChunkElement* marker = FindMarker(aMarker);
  if (!marker) throw EpsHtmlEditException("TpsDataChunk.FocusMarkedBlock: could not find marker!");
  return TryFocusBlock(marker);
}

bool TpsDataChunk::FocusCursorBlock() {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return false;
  FocusBlock(cursor);
  return true;
}

bool TpsDataChunk::FocusCursorTable() {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return false;
  return Focus(FindTag(TAG_TABLE, ttOpening, cursor, false), FindTag(TAG_TABLE, ttClosing, cursor, true));
}

bool TpsDataChunk::FocusSmallestBlockContainingAllSelectedElements() {
  TpsChunkElement* first = nullptr;
  TpsChunkElement* last = nullptr;
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (!e->Selected) continue;
    if (!first) first = e;
    last = e;
  }
  if (!first)
    throw EpsHtmlEditException(
        "TpsDataChunk.FocusSmallestBlockContainingAllSelectedElements: no selected elements found!");
  return Focus(first, last);
}

// ---------------------------------------------------------------------------
// Partners and blocks

TpsChunkElement* TpsDataChunk::FindPartnerTagEx(TpsChunkElement* aTag, TpsChunkElement* aStop,
                                                bool& aPassedCursor) const {
  aPassedCursor = false;
  if (!IsTagElement(aTag) || aTag->Tag->GetTagType() == ttEmpty) return nullptr;
  const Byte code = aTag->Tag->GetTagCode();
  const bool forward = aTag->Tag->GetTagType() == ttOpening;
  const Byte same = forward ? ttOpening : ttClosing;
  Integer level = 0;
  for (TpsChunkElement* e = forward ? aTag->Next : aTag->Prev; e; e = forward ? e->Next : e->Prev) {
    if (e->Kind == ceCursor) aPassedCursor = true;
    if (IsTagElement(e) && e->Tag->GetTagCode() == code) {
      if (e->Tag->GetTagType() == same) {
        ++level;
      } else if (e->Tag->GetTagType() != ttEmpty) {
        if (level == 0) return e;
        --level;
      }
    }
    if (e == aStop) return nullptr;
  }
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindPartnerTag(TpsChunkElement* aTag, TpsChunkElement* aStop) const {
  bool passed;
  return FindPartnerTagEx(aTag, aStop, passed);
}

TpsChunkElement* TpsDataChunk::FindEnclosingTag(Byte aTagCode, Byte aTagType, TpsChunkElement* aStart,
                                                bool aForward) const {
  if (!aStart) return nullptr;
  Integer level = 0;
  for (TpsChunkElement* e = aForward ? aStart->Next : aStart->Prev; e; e = aForward ? e->Next : e->Prev) {
    if (!IsTagElement(e) || e->Tag->GetTagCode() != aTagCode) continue;
    const Byte type = e->Tag->GetTagType();
    if (type == aTagType && level == 0) return e;
    if (type == ttOpening)
      ++level;
    else if (type == ttClosing)
      --level;
  }
  return nullptr;
}

namespace {

// The walk of GetBlockStart from aFrom backwards, counting only block tags
// that aCounts accepts.
template <typename Counts>
TpsChunkElement* WalkToBlockStart(TpsChunkElement* aFrom, Counts aCounts) {
  Integer closed = 0;
  for (TpsChunkElement* e = aFrom; e; e = e->Prev) {
    if (!aCounts(e)) continue;
    if (TpsDataChunk::IsBlockCloseTag(e)) {
      ++closed;
    } else if (TpsDataChunk::IsBlockOpenTag(e)) {
      if (closed == 0) return e;
      --closed;
    }
  }
  return nullptr;
}

}  // namespace

TpsChunkElement* TpsDataChunk::GetBlockStart(TpsChunkElement* aElement) const {
  // A block opening tag is its own start; a closing tag counts its own
  // block as closed, so it answers the block around.
  return WalkToBlockStart(aElement, [](TpsChunkElement*) { return true; });
}

TpsChunkElement* TpsDataChunk::GetBlockEnd(TpsChunkElement* aElement) const {
  TpsChunkElement* start = GetBlockStart(aElement);
  return start ? FindPartnerTag(start, nullptr) : nullptr;
}

TpsChunkElement* TpsDataChunk::GetParentBlockStart(TpsChunkElement* aBlockStart) const {
  return aBlockStart ? WalkToBlockStart(aBlockStart->Prev, [](TpsChunkElement*) { return true; }) : nullptr;
}

TpsChunkElement* TpsDataChunk::FindEnclosingBlock(TpsChunkElement* aElement, Byte aTagCode) const {
  return WalkToBlockStart(aElement, [aTagCode](TpsChunkElement* e) { return TagCodeOf(e) == aTagCode; });
}

TpsChunkElement* TpsDataChunk::FindEnclosingBlockWithin(TpsChunkElement* aElement, Byte aTagCode,
                                                        Integer aMaxLevels) const {
  if (!aElement) return nullptr;
  Integer level = 1;
  for (TpsChunkElement* e = aElement->Prev; e; e = e->Prev) {
    if (IsBlockCloseTag(e)) {
      --level;
    } else if (IsBlockOpenTag(e)) {
      if (e->Tag->GetTagCode() == aTagCode && level > 0) return e;
      if (level == aMaxLevels) return nullptr;
      ++level;
    }
  }
  return nullptr;
}

bool TpsDataChunk::IsInTextBlock(TpsChunkElement* aElement) const {
  TpsChunkElement* start = GetBlockStart(aElement);
  return start && IsTextBlockCode(start->Tag->GetTagCode());
}

TpsChunkElement* TpsDataChunk::FindBlockTag(TpsChunkElement* aStart, bool aForward) const {
  TpsChunkElement* e = aStart ? aStart : (aForward ? FFirst : FLast);
  for (; e; e = aForward ? e->Next : e->Prev)
    if (IsBlockTag(e)) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindBlockOpenTag(TpsChunkElement* aStart, bool aForward) const {
  for (TpsChunkElement* e = aStart; e; e = aForward ? e->Next : e->Prev)
    if (IsBlockOpenTag(e)) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindTextBlockTag(TpsChunkElement* aStart, bool aForward) const {
  TpsChunkElement* e = aStart ? aStart : (aForward ? FFirst : FLast);
  for (; e; e = aForward ? e->Next : e->Prev)
    if (IsBlockTag(e) && IsTextBlockCode(e->Tag->GetTagCode())) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindPreviousBlock(TpsChunkElement* aElement) const {
  TpsChunkElement* start = GetBlockStart(aElement);
  if (!start) return nullptr;
  for (TpsChunkElement* e = start->Prev; e; e = e->Prev)
    if (IsBlockCloseTag(e)) return FindPartnerTag(e, nullptr);
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindNextBlock(TpsChunkElement* aElement, bool& aSameLevel) const {
  aSameLevel = true;
  TpsChunkElement* end = GetBlockEnd(aElement);
  if (!end) return nullptr;
  for (TpsChunkElement* e = end->Next; e; e = e->Next) {
    if (IsBlockCloseTag(e)) aSameLevel = false;
    if (IsBlockOpenTag(e)) return e;
  }
  return nullptr;
}

namespace {

// What ends the search for an adjacent block: text, an inline or other
// non-block tag, and any table tag.
bool EndsAdjacentSearch(const TpsChunkElement* e) {
  if (e->Kind == ceChar) return !TpsDataChunk::IsBlank(e);
  if (e->Kind != ceTag) return false;
  return !TpsDataChunk::IsBlockTag(e) || TpsDataChunk::IsTableTag(e);
}

}  // namespace

TpsChunkElement* TpsDataChunk::FindAdjacentBlockBefore(TpsChunkElement* aElement, Byte aTagCode) const {
  Integer closed = 0, left = 0;
  for (TpsChunkElement* e = aElement; e; e = e->Prev) {
    if (EndsAdjacentSearch(e)) return nullptr;
    if (!IsBlockTag(e)) continue;
    if (IsBlockCloseTag(e)) {
      if (e->Tag->GetTagCode() == aTagCode && closed == left) return e;
      if (e->Tag->GetTagCode() != aTagCode) ++closed;
    } else {
      if (closed > 0) return nullptr;
      ++left;
    }
  }
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindAdjacentBlockAfter(TpsChunkElement* aElement, Byte aTagCode) const {
  Integer opened = 0, left = 0;
  for (TpsChunkElement* e = aElement; e; e = e->Next) {
    if (EndsAdjacentSearch(e)) return nullptr;
    if (!IsBlockTag(e)) continue;
    if (IsBlockOpenTag(e)) {
      if (e->Tag->GetTagCode() == aTagCode && opened == left) return e;
      if (e->Tag->GetTagCode() != aTagCode) ++opened;
    } else {
      if (opened > 0) return nullptr;
      ++left;
    }
  }
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindListAroundCursor() const {
  Integer closed = 0;
  for (TpsChunkElement* e = GetCursor(); e; e = e->Prev) {
    if (IsListCloseTag(e)) {
      ++closed;
    } else if (IsListOpenTag(e)) {
      if (closed == 0) return e;
      --closed;
    }
  }
  return nullptr;
}

bool TpsDataChunk::IsInsideTag(TpsChunkElement* aElement, Byte aTagCode) const {
  Integer closed = 0;
  for (TpsChunkElement* e = aElement; e; e = e->Prev) {
    if (IsTag(e, aTagCode, ttClosing)) {
      ++closed;
    } else if (IsTag(e, aTagCode, ttOpening)) {
      if (closed == 0) return true;
      --closed;
    }
  }
  return false;
}

bool TpsDataChunk::IsCursorInsideTag(Byte aTagCode) const {
  TpsChunkElement* cursor = GetCursor();
  return cursor && IsInsideTag(cursor, aTagCode);
}

bool TpsDataChunk::ContainsBlockTag(TpsChunkElement* aFirst, TpsChunkElement* aLast, Byte aTagCode) const {
  for (TpsChunkElement* e = aFirst; e; e = e->Next) {
    if (IsBlockTag(e) && e->Tag->GetTagCode() == aTagCode) return true;
    if (e == aLast) break;
  }
  return false;
}

bool TpsDataChunk::BlockHasContent(TpsChunkElement* aElement) {
  if (!FocusBlock(aElement)) return false;
  bool found = false;
  for (TpsChunkElement* e = FFirst; e && !found; e = e->Next)
    found = IsNonBlankCharacter(e) || (IsImageTag(e) && e->Tag->GetTagType() == ttEmpty);
  Unfocus();
  return found;
}

Integer TpsDataChunk::CountBlockTags(const std::vector<Byte>& aTagCodes, Integer aLevel) const {
  Integer count = 0, depth = 0;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (IsBlockOpenTag(e)) {
      const Byte code = e->Tag->GetTagCode();
      if ((aLevel == -1 || depth == aLevel) &&
          std::find(aTagCodes.begin(), aTagCodes.end(), code) != aTagCodes.end())
        ++count;
      ++depth;
    } else if (IsBlockCloseTag(e)) {
      --depth;
    }
  }
  return count;
}

Byte TpsDataChunk::GetLeadingBlockTagCode() const {
  const TpsChunkElement* e = FFirst;
  while (e && ((IsBlank(e) && !e->Placeholder) || e->Kind == ceIgnore)) e = e->Next;
  return IsBlockOpenTag(e) ? e->Tag->GetTagCode() : TAG_UNKNOWN;
}

bool TpsDataChunk::IsEmptyParagraphTag(TpsChunkElement* aElement) const {
  if (IsTag(aElement, TAG_P, ttOpening)) return FindPartnerTag(aElement, nullptr) == aElement->Next && aElement->Next;
  if (IsTag(aElement, TAG_P, ttClosing)) {
    TpsChunkElement* partner = FindPartnerTag(aElement, nullptr);
    return partner && partner->Next == aElement;
  }
  return false;
}

bool TpsDataChunk::FindEmptyParagraphAfter(TpsChunkElement* aElement, TpsChunkElement*& aOpenTag) const {
  aOpenTag = nullptr;
  TpsChunkElement* next = aElement ? aElement->Next : nullptr;
  if (!IsTag(next, TAG_P, ttOpening) || !IsEmptyParagraphTag(next)) return false;
  aOpenTag = next;
  return true;
}

bool TpsDataChunk::FindEmptyParagraphBefore(TpsChunkElement* aElement, TpsChunkElement*& aCloseTag) const {
  aCloseTag = nullptr;
  TpsChunkElement* previous = aElement ? aElement->Prev : nullptr;
  if (!IsTag(previous, TAG_P, ttClosing) || !IsEmptyParagraphTag(previous)) return false;
  aCloseTag = previous;
  return true;
}

TpsChunkElement* TpsDataChunk::GetEnclosingLink(TpsChunkElement* aElement) const {
  if (!aElement || TagCodeOf(aElement) == TAG_A) return nullptr;
  TpsChunkElement* link = FindTagOfCode(TAG_A, aElement, false);
  return IsTag(link, TAG_A, ttOpening) ? link : nullptr;
}

bool TpsDataChunk::IsInsideLink(uint32_t aElementId) const {
  TpsChunkElement* element = FindElementById(aElementId);
  if (!element) return false;
  TpsChunkElement* link = FindTagOfCode(TAG_A, element, false);
  return IsTag(link, TAG_A, ttOpening);
}

TpsChunkElement* TpsDataChunk::FindFirstNonBlankCharacterOutsideTables() {
  const auto firstIn = [](TpsChunkElement* aFrom, TpsChunkElement* aTo) -> TpsChunkElement* {
    for (TpsChunkElement* e = aFrom; e && e != aTo; e = e->Next)
      if (IsNonBlankCharacter(e)) return e;
    return nullptr;
  };
  TpsChunkElement* from = FFirst;
  while (from) {
    TpsChunkElement* table = FindTag(TAG_TABLE, ttOpening, from, true);
    TpsChunkElement* end = table ? FindPartnerTag(table, nullptr) : nullptr;
    if (!table || !end) return firstIn(from, nullptr);
    if (TpsChunkElement* found = firstIn(from, table)) return found;
    from = end->Next;
  }
  return nullptr;
}

TpsChunkElement* TpsDataChunk::GetNonBlankCharacter(Integer aIndex) const {
  Integer index = 0;
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (!IsNonBlankCharacter(e)) continue;
    if (index == aIndex) return e;
    ++index;
  }
  return nullptr;
}

}  // namespace htmldoc
