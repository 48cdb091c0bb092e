// The cursor of TpsDataChunk and the positions around it: cursor moves,
// queries at the cursor, words, numbered markers, the selection flags and
// the smart-tag marks that the background analysis puts on characters.
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"

namespace htmldoc {

namespace {

TpsChunkElement* Step(const TpsChunkElement* e, bool aForward) { return aForward ? e->Next : e->Prev; }

}  // namespace

// ---------------------------------------------------------------------------
// Cursor moves

void TpsDataChunk::InsertCursor(TpsChunkElement* aElement, bool aAfter) {
  InsertElement(NewCursorElement(), aElement, aAfter);
}

void TpsDataChunk::MoveCursor(TpsChunkElement* aTarget, bool aAfter) {
  TpsChunkElement* cursor = GetCursor();
  if (cursor == aTarget && cursor) return;
  if (cursor)
    UnlinkElement(cursor);
  else
    cursor = NewCursorElement();
  InsertElement(cursor, aTarget, aAfter);
}

void TpsDataChunk::MoveCursorToMarker(Integer aMarker, bool aRemoveMarker, bool aAfter) {
  TpsChunkElement* marker = FindMarker(aMarker);
  MoveCursor(marker, aAfter);
  if (aRemoveMarker) RemoveElement(marker, true);
}

void TpsDataChunk::MoveCursorToStart() {
  TpsChunkElement* cursor = GetCursor();
  if (cursor)
    UnlinkElement(cursor);
  else
    cursor = NewCursorElement();
  if (!FFirst) {
    AddElement(cursor);
    return;
  }
  TpsChunkElement* target = nullptr;
  for (TpsChunkElement* e = FFirst; e && !target; e = e->Next)
    if (IsNonBlankCharacter(e)) target = e;
  for (TpsChunkElement* e = FFirst; e && !target; e = e->Next)
    if (IsBlank(e)) target = e;
  if (!target) target = FFirst;
  InsertBefore(cursor, target);
  // Before an embedded node, a link or a custom tag that precedes it.
  for (TpsChunkElement* e = FFirst; e != cursor; e = e->Next) {
    if (e->Kind == ceNode) {
      MoveElementBefore(cursor, e);
      break;
    }
  }
  for (Byte code : {TAG_A, TAG_CUST}) {
    TpsChunkElement* open = FindTag(code, ttOpening, cursor, false);
    if (open) MoveElementBefore(cursor, open);
  }
}

void TpsDataChunk::MoveCursorToEnd() {
  if (!FFirst) {
    AppendCursor();
    return;
  }
  if (TpsChunkElement* lineBreak = FindTagOfCode(TAG_BR, nullptr, false)) {
    MoveCursor(lineBreak, false);
    return;
  }
  if (FLast->Kind != ceCursor) MoveCursor(FLast, true);
}

bool TpsDataChunk::TryMoveCursorToEnd() {
  if (!FindElementOfKind(ceChar, true, nullptr)) return false;
  MoveCursorToEnd();
  return true;
}

void TpsDataChunk::MoveCursorBeforeEmbeddedNode() {
  MoveCursor(FindElementOfKind(ceNode, true, nullptr), false);
}

bool TpsDataChunk::MoveCursorRight() {
  TpsChunkElement* next = GetCharacterNextToCursor(false, false);
  if (!next) return false;
  MoveCursor(next, true);
  return true;
}

bool TpsDataChunk::MoveCursorLeft() {
  TpsChunkElement* previous = GetCharacterNextToCursor(true, false);
  if (!previous) return false;
  TpsChunkElement* target = previous;
  while (target->Prev && (IsCustomTag(target->Prev) || target->Prev->Kind == ceNode)) target = target->Prev;
  MoveCursor(target, false);
  return true;
}

bool TpsDataChunk::MoveCursorWordLeft() {
  const auto classBefore = [this]() -> Integer {
    TpsChunkElement* c = GetCharacterNextToCursor(true, false);
    return c ? GetCharClass(c->Char) : -1;
  };
  if (classBefore() < 0) return false;
  while (classBefore() == 0)
    if (!MoveCursorLeft()) return false;
  if (classBefore() < 0) return false;
  const Integer wordClass = classBefore();
  while (classBefore() == wordClass) MoveCursorLeft();
  return true;
}

bool TpsDataChunk::MoveCursorWordRight(bool& aMoved) {
  aMoved = false;
  const auto classAfter = [this]() -> Integer {
    TpsChunkElement* c = GetCharacterNextToCursor(false, false);
    return c ? GetCharClass(c->Char) : -1;
  };
  const Integer first = classAfter();
  if (first < 0) return false;
  while (classAfter() == first && MoveCursorRight()) aMoved = true;
  while (classAfter() == 0) MoveCursorRight();
  return classAfter() >= 0;
}

namespace {

bool IsWrapperStep(const TpsChunkElement* e) { return e && (TpsDataChunk::IsCustomTag(e) || e->Kind == ceNode); }

}  // namespace

void TpsDataChunk::MoveCursorBackOverCustomTags() {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return;
  TpsChunkElement* e = cursor;
  while (e->Prev && (IsWrapperStep(e->Prev) || GetEnclosingLink(e))) e = e->Prev;
  if (e != cursor) MoveCursor(e, false);
}

void TpsDataChunk::MoveCursorForwardOverCustomTags() {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return;
  TpsChunkElement* e = cursor;
  while (e->Next && (IsWrapperStep(e->Next) || GetEnclosingLink(e))) e = e->Next;
  if (e != cursor) MoveCursor(e, true);
}

void TpsDataChunk::InsertElementAtCursor(TpsChunkElement* aElement, bool aBefore) {
  TpsChunkElement* cursor = GetCursor();
  if (cursor) InsertElement(aElement, cursor, !aBefore);
}

void TpsDataChunk::DeleteElementNextToCursor(bool aForward) {
  TpsChunkElement* cursor = GetCursor();
  TpsChunkElement* neighbour = cursor ? Step(cursor, aForward) : nullptr;
  if (neighbour) RemoveElement(neighbour, true);
}

// ---------------------------------------------------------------------------
// Queries at the cursor

TpsChunkElement* TpsDataChunk::GetAdjacentCharacter(TpsChunkElement* aElement, bool aBackward,
                                                    bool aSkipBlanks) const {
  if (!aElement) return nullptr;
  for (TpsChunkElement* e = Step(aElement, !aBackward); e; e = Step(e, !aBackward))
    if (e->Kind == ceChar && !(aSkipBlanks && IsSpaceOrTab(e))) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::GetCharacterNextToCursor(bool aBackward, bool aSkipBlanks) const {
  return GetAdjacentCharacter(GetCursor(), aBackward, aSkipBlanks);
}

TpsChunkElement* TpsDataChunk::FindContentNextToCursor(bool aForward) const {
  TpsChunkElement* cursor = GetCursor();
  TpsChunkElement* from = cursor ? Step(cursor, aForward) : nullptr;
  return from ? FindContentElement(from, aForward) : nullptr;
}

TpsChunkElement* TpsDataChunk::GetImageNextToCursor(bool aForward) const {
  TpsChunkElement* cursor = GetCursor();
  TpsChunkElement* e = cursor ? Step(cursor, aForward) : nullptr;
  if (IsCustomTag(e)) e = Step(e, aForward);
  return IsImageTag(e) ? e : nullptr;
}

bool TpsDataChunk::HasEmbeddedNodeBeforeCursor() const {
  TpsChunkElement* cursor = GetCursor();
  for (TpsChunkElement* e = cursor ? cursor->Prev : nullptr; e; e = e->Prev)
    if (e->Kind == ceNode) return true;
  return false;
}

bool TpsDataChunk::IsCursorAtLineBreak(bool aForward, bool aIgnoreBlanks) const {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return false;
  for (TpsChunkElement* e = Step(cursor, aForward); e; e = Step(e, aForward)) {
    if (IsTag(e, TAG_BR, ttEmpty)) return true;
    if (e->Kind == ceChar && !(aIgnoreBlanks && IsSpaceOrTab(e))) return false;
  }
  return false;
}

bool TpsDataChunk::IsBlankBeforeCursor() const { return IsSpaceOrTab(GetCharacterNextToCursor(true, false)); }

bool TpsDataChunk::IsBlankAfterCursor() const { return IsSpaceOrTab(GetCharacterNextToCursor(false, false)); }

bool TpsDataChunk::GetBlanksAroundCursor(TpsChunkElement*& aBefore, TpsChunkElement*& aAfter) const {
  aBefore = GetCharacterNextToCursor(true, false);
  aAfter = GetCharacterNextToCursor(false, false);
  return IsSpaceOrTab(aBefore) && IsSpaceOrTab(aAfter);
}

bool TpsDataChunk::FindEmptyTagPairAtCursor(Byte aTagCode, TpsChunkElement*& aOpen,
                                            TpsChunkElement*& aClose) const {
  TpsChunkElement* cursor = GetCursor();
  aOpen = cursor ? cursor->Prev : nullptr;
  aClose = cursor ? cursor->Next : nullptr;
  return IsTag(aOpen, aTagCode, ttOpening) && IsTag(aClose, aTagCode, ttClosing);
}

TpsChunkElement* TpsDataChunk::FindCustomTagBeforeCursor() const {
  TpsChunkElement* cursor = GetCursor();
  return cursor ? FindTag(TAG_CUST, ttOpening, cursor, false) : nullptr;
}

bool TpsDataChunk::IsCursorInEmptyInlineTag() const {
  TpsChunkElement* cursor = GetCursor();
  return cursor && IsInlineOpenTag(cursor->Prev) && IsInlineCloseTag(cursor->Next);
}

// ---------------------------------------------------------------------------
// Words and characters

bool TpsDataChunk::GetWordAtCursor(TpsChunkElement*& aFirst, TpsChunkElement*& aLast) const {
  aFirst = aLast = nullptr;
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return false;
  const auto furthest = [this, cursor](bool aBackward) {
    TpsChunkElement* reached = nullptr;
    for (TpsChunkElement* c = GetAdjacentCharacter(cursor, aBackward, false); IsWordCharacterElement(c);
         c = GetAdjacentCharacter(c, aBackward, false))
      reached = c;
    return reached;
  };
  aFirst = furthest(true);
  aLast = furthest(false);
  // A word on one side only: it ends (or starts) next to the cursor.
  if (!aLast && aFirst) aLast = GetAdjacentCharacter(cursor, true, false);
  if (!aFirst && aLast) aFirst = GetAdjacentCharacter(cursor, false, false);
  return aFirst && aLast;
}

TpsChunkElement* TpsDataChunk::FindFirstWordCharacter() const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (IsWordCharacterElement(e)) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindLastWordStart() const {
  TpsChunkElement* start = nullptr;
  for (TpsChunkElement* e = FLast; e && !start; e = e->Prev)
    if (IsWordCharacterElement(e)) start = e;
  for (TpsChunkElement* c = GetAdjacentCharacter(start, true, false); IsWordCharacterElement(c);
       c = GetAdjacentCharacter(c, true, false))
    start = c;
  return start;
}

TpsChunkElement* TpsDataChunk::FindWordEnd(TpsChunkElement* aElement) const {
  TpsChunkElement* end = aElement;
  for (TpsChunkElement* c = GetAdjacentCharacter(aElement, false, false); IsWordCharacterElement(c);
       c = GetAdjacentCharacter(c, false, false))
    end = c;
  return end;
}

bool TpsDataChunk::EndsWithWordCharacter() const {
  return IsWordCharacterElement(FindElementOfKind(ceChar, false, nullptr));
}

bool TpsDataChunk::ContainsWordSeparator() const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar && !IsWordCharacterElement(e)) return true;
  return false;
}

void TpsDataChunk::ReadWord(TpsChunkElement*& aElement, WideString& aWord) const {
  aWord.clear();
  if (!aElement) return;
  const bool selected = aElement->Selected;
  TpsChunkElement* last = nullptr;
  for (TpsChunkElement* e = aElement; e; e = e->Next) {
    if (e->Kind == ceCursor) continue;
    if (!IsNonBlankCharacter(e) || e->Selected != selected) break;
    aWord += e->Char;
    last = e;
  }
  aElement = last;
}

bool TpsDataChunk::HasNonBlankCharacter() const { return HasNonBlankCharacterBetween(FFirst, FLast); }

bool TpsDataChunk::HasNonBlankCharacterBetween(TpsChunkElement* aFirst, TpsChunkElement* aLast) const {
  return FindNonBlankCharacter(aFirst, aLast) != nullptr;
}

TpsChunkElement* TpsDataChunk::FindNonBlankCharacter(TpsChunkElement* aStart, TpsChunkElement* aStop) const {
  for (TpsChunkElement* e = aStart ? aStart : FFirst; e; e = e->Next) {
    if (IsNonBlankCharacter(e)) return e;
    if (e == aStop) break;
  }
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindBlankCharacter(TpsChunkElement* aStart, TpsChunkElement* aStop) const {
  for (TpsChunkElement* e = aStart ? aStart : FFirst; e; e = e->Next) {
    if (IsBlank(e)) return e;
    if (e == aStop) break;
  }
  return nullptr;
}

bool TpsDataChunk::IsBlankRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aAllowCursor,
                                bool aAllowMarkers, bool aAllowBlanks, bool aExclusive) const {
  if (!aFirst || !aLast) return false;
  if (aExclusive && (aFirst == aLast || aFirst->Next == aLast)) return true;
  TpsChunkElement* first = aExclusive ? aFirst->Next : aFirst;
  for (TpsChunkElement* e = first; e; e = e->Next) {
    if (aExclusive && e == aLast) break;
    const bool allowed = e->Kind == ceIgnore || (aAllowCursor && e->Kind == ceCursor) ||
                         (aAllowMarkers && e->Kind == ceMarker) || (aAllowBlanks && IsBlank(e));
    if (!allowed) return false;
    if (e == aLast) break;
  }
  return true;
}

bool TpsDataChunk::ContainsOnlyImagesAndCustomTags(TpsChunkElement* aFirst, TpsChunkElement* aLast) const {
  for (TpsChunkElement* e = aFirst; e; e = e->Next) {
    if (e->Kind == ceChar) return false;
    if (e->Kind == ceTag && !IsImageTag(e) && !IsCustomTag(e)) return false;
    if (e == aLast) break;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Markers

TpsChunkElement* TpsDataChunk::InsertMarker(Integer aMarker, TpsChunkElement* aElement, bool aAfter) {
  TpsChunkElement* marker = NewMarkerElement(aMarker);
  InsertElement(marker, aElement, aAfter);
  return marker;
}

void TpsDataChunk::MarkRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, Integer aStartMarker,
                             Integer aEndMarker) {
  if (aStartMarker >= 0) InsertMarker(aStartMarker, aFirst, false);
  if (aEndMarker >= 0) InsertMarker(aEndMarker, aLast, true);
}

void TpsDataChunk::MarkElementWithWrappers(TpsChunkElement* aElement, Integer aStartMarker, Integer aEndMarker) {
  TpsChunkElement* first = aElement;
  TpsChunkElement* last = aElement;
  if (IsCustomOpenTag(first->Prev) && IsCustomCloseTag(last->Next)) {
    first = first->Prev;
    last = last->Next;
  }
  TpsChunkElement* link = FindTagOfCode(TAG_A, first, false);
  if (IsTag(link, TAG_A, ttOpening)) {
    first = link;
    if (TpsChunkElement* end = FindTag(TAG_A, ttClosing, last, true)) last = end;
  }
  MarkRange(first, last, aStartMarker, aEndMarker);
}

bool TpsDataChunk::MarkSelection(Integer aStartMarker, Integer aEndMarker) {
  TpsChunkElement* first = GetFirstSelected(true);
  if (!first) return false;
  MarkRange(first, GetLastSelected(true), aStartMarker, aEndMarker);
  return true;
}

void TpsDataChunk::InsertMarkerAtCursor(Integer aMarker, bool aAfter) {
  if (TpsChunkElement* cursor = GetCursor()) InsertMarker(aMarker, cursor, aAfter);
}

void TpsDataChunk::RemoveMarker(Integer aMarker) {
  if (TpsChunkElement* marker = FindMarker(aMarker)) RemoveElement(marker, true);
}

void TpsDataChunk::RemoveMarkers(Integer aLow, Integer aHigh) {
  for (TpsChunkElement* e = FFirst; e;) {
    if (e->Kind == ceMarker && e->MarkerNo >= aLow && e->MarkerNo <= aHigh)
      e = RemoveAndNext(e, true);
    else
      e = e->Next;
  }
}

void TpsDataChunk::InsertElementAtMarker(Integer aMarker, TpsChunkElement* aElement, bool aAfter,
                                         bool aRemoveMarker) {
  TpsChunkElement* marker = FindMarker(aMarker);
  InsertElement(aElement, marker, aAfter);
  if (aRemoveMarker) RemoveElement(marker, true);
}

void TpsDataChunk::InsertCopyAtMarker(Integer aMarker, const TpsChunkElement* aElement, bool aAfter,
                                      bool aRemoveMarker) {
  InsertElementAtMarker(aMarker, CloneElement(aElement, true), aAfter, aRemoveMarker);
}

void TpsDataChunk::InsertTagAtMarker(std::unique_ptr<TpsHtmlTag> aTag, Integer aMarker, bool aAfter,
                                     bool aRemoveMarker) {
  InsertElementAtMarker(aMarker, NewTagElement(std::move(aTag)), aAfter, aRemoveMarker);
}

// ---------------------------------------------------------------------------
// Selection

TpsChunkElement* TpsDataChunk::FindSelected(bool aFromStart, bool aSkipBlockTags) const {
  for (TpsChunkElement* e = aFromStart ? FFirst : FLast; e; e = Step(e, aFromStart))
    if (e->Selected && !(aSkipBlockTags && IsBlockTag(e))) return e;
  return nullptr;
}

bool TpsDataChunk::HasSelection() const { return FindSelected(true, false) != nullptr; }

TpsChunkElement* TpsDataChunk::FindSelectedFrom(TpsChunkElement* aElement) const {
  for (TpsChunkElement* e = aElement; e; e = e->Next)
    if (e->Selected) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindFirstSelectedCharacter() const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar && e->Selected) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindLastSelectedCharacter() const {
  for (TpsChunkElement* e = FLast; e; e = e->Prev)
    if (e->Kind == ceChar && e->Selected) return e;
  return nullptr;
}

bool TpsDataChunk::SetSelection(bool aSelected, uint32_t aFirstId, uint32_t aLastId, bool aClearOthers,
                                const TpsSelectionChangeEvent& aOnChange) {
  if (!FFirst) return false;
  const uint32_t firstId = aFirstId ? aFirstId : FFirst->Id;
  const uint32_t lastId = aLastId ? aLastId : FLast->Id;
  bool changed = false;
  bool inside = false;
  const auto set = [&](TpsChunkElement* e, bool aValue) {
    if (e->Kind == ceCursor || e->Selected == aValue) return;
    e->Selected = aValue;
    changed = true;
    if (e->Kind == ceNode && aOnChange) aOnChange(this, e);
  };
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (e->Id == firstId) inside = true;
    if (inside)
      set(e, aSelected);
    else if (aClearOthers)
      set(e, false);
    if (inside && e->Id == lastId) {
      inside = false;
      if (!aClearOthers) break;
    }
  }
  return changed;
}

TpsChunkElement* TpsDataChunk::MarkNextSelectedRun(TpsChunkElement* aStart, Integer& aMarker) {
  TpsChunkElement* selected = FindSelectedFrom(aStart);
  if (!selected) return nullptr;
  TpsChunkElement* from = selected;
  if (!IsBlockTag(selected)) from = selected->Prev ? FindBlockTag(selected->Prev, false) : nullptr;
  TpsChunkElement* to = selected->Next ? FindBlockTag(selected->Next, true) : nullptr;
  if (Focus(from, to)) {
    if (MarkSelection(aMarker, aMarker + 1)) aMarker += 2;
    Unfocus();
  }
  return to;
}

// ---------------------------------------------------------------------------
// Smart-tag marks

void TpsDataChunk::SetSmartTag(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aMarked, Integer aId,
                               IpsSmartTagHandler* aHandler) {
  TpsChunkElement* last = aLast ? aLast : FLast;
  for (TpsChunkElement* e = aFirst ? aFirst : FFirst; e; e = e->Next) {
    if (e->Kind == ceChar) {
      e->SmartTag.Marked = aMarked;
      e->SmartTag.MarkId = aId;
      e->SmartTag.Handler = aHandler;
    }
    if (e == last) break;
  }
}

void TpsDataChunk::ClearSmartTagsExcept(Integer aId) {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar && e->SmartTag.Marked && e->SmartTag.MarkId != aId) InitSmartTagMark(e->SmartTag);
}

bool TpsDataChunk::HasSmartTagBetween(TpsChunkElement* aFirst, TpsChunkElement* aLast) const {
  TpsChunkElement* last = aLast ? aLast : FLast;
  for (TpsChunkElement* e = aFirst ? aFirst : FFirst; e; e = e->Next) {
    if (e->Kind == ceChar && e->SmartTag.Marked) return true;
    if (e == last) break;
  }
  return false;
}

bool TpsDataChunk::HasSmartTagBeforeCursor() const {
  TpsChunkElement* before = GetCharacterNextToCursor(true, false);
  return before && HasSmartTagMark(before->SmartTag);
}

bool TpsDataChunk::GetSmartTagIdsAtCursor(Integer& aBeforeId, Integer& aAfterId) const {
  const auto idOf = [](const TpsChunkElement* c) { return c && c->SmartTag.Marked ? c->SmartTag.MarkId : 0; };
  aBeforeId = idOf(GetCharacterNextToCursor(true, false));
  aAfterId = idOf(GetCharacterNextToCursor(false, false));
  return aBeforeId != 0 || aAfterId != 0;
}

AnsiString TpsDataChunk::GetSmartTagText(Integer aId) const {
  WideString text;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar && HasSmartTagMark(e->SmartTag) && e->SmartTag.MarkId == aId) text += e->Char;
  return ToSystemCharacters(std::move(text));
}

bool TpsDataChunk::FindSmartTagRange(Integer aId, TpsChunkElement*& aFirst, TpsChunkElement*& aLast) const {
  aFirst = aLast = nullptr;
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (e->Kind != ceChar || !e->SmartTag.Marked) continue;
    if (e->SmartTag.MarkId == aId) {
      if (!aFirst) aFirst = e;
      aLast = e;
    } else if (aFirst) {
      break;
    }
  }
  return aFirst != nullptr;
}

}  // namespace htmldoc
