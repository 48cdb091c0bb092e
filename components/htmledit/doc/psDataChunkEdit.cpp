// The structural edits of TpsDataChunk besides formatting: deleting the
// selection and marked stretches, moving and splitting blocks, keeping the
// cursor in a text block, and the clean-up passes that normalise a list.
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"

namespace htmldoc {

namespace {

WideChar NbspChar() { return static_cast<WideChar>(HtmlCodeTable().GetNbspChar()); }

}  // namespace

// ---------------------------------------------------------------------------
// Deletion

void TpsDataChunk::DeleteSelection(const TpsHtmlTagEventsRef& aEvents) {
  TpsChunkElement* first = FindSelected(true, false);
  if (!first) return;
  TpsChunkElement* stop = FindSelected(false, false)->Next;
  for (TpsChunkElement* e = first; e != stop;) {
    e->Selected = false;
    if (e->Kind == ceChar) {
      e = RemoveAndNext(e, true);
      continue;
    }
    if (e->Kind != ceTag) {
      e = e->Next;
      continue;
    }
    switch (e->Tag->GetTagType()) {
      case ttEmpty:
        e = RemoveAndNext(e, true);
        break;
      case ttClosing:
        e = e->Next;
        break;
      case ttOpening: {
        TpsChunkElement* partner = FindPartnerTag(e, nullptr);
        if (!partner || !partner->Selected) {
          e = e->Next;
          break;
        }
        // The pair and every tag and character inside go; the cursor,
        // markers, embedded nodes and verbatim items stay where they are.
        for (TpsChunkElement* inner = e; inner != partner;) {
          inner->Selected = false;
          inner = inner->Kind == ceTag || inner->Kind == ceChar ? RemoveAndNext(inner, true) : inner->Next;
        }
        e = RemoveAndNext(partner, true);
        break;
      }
      default:
        throw EpsHtmlEditException("TpsDataChunk.DeleteSelection: unhandled case!");
    }
  }
  EnsureCursorInBlock(aEvents);
}

void TpsDataChunk::DeleteBetweenMarkers(Integer aStartMarker, Integer aEndMarker, bool aRemoveMarkers) {
  TpsChunkElement* start = FindMarker(aStartMarker);
  TpsChunkElement* end = FindMarker(aEndMarker);
  if (start->Next != end) DeleteRange(start->Next, end->Prev);
  if (!aRemoveMarkers) return;
  RemoveElement(start, true);
  RemoveElement(end, true);
}

void TpsDataChunk::DeleteMarkedBlock(Integer aMarker) {
  TpsChunkElement* marker = FindMarker(aMarker);
  TpsChunkElement* start = marker ? GetBlockStart(marker) : nullptr;
  TpsChunkElement* end = start ? FindPartnerTag(start, nullptr) : nullptr;
  if (end) DeleteRange(start, end);
}

void TpsDataChunk::DeleteCharacterBeforeCursor() {
  if (TpsChunkElement* c = GetCharacterNextToCursor(true, false)) RemoveElement(c, true);
}

void TpsDataChunk::DeleteCharacterAfterCursor() {
  if (TpsChunkElement* c = GetCharacterNextToCursor(false, false)) RemoveElement(c, true);
}

void TpsDataChunk::DeleteLineBreakNearCursor(bool aForward) {
  TpsChunkElement* cursor = GetCursor();
  TpsChunkElement* from = cursor ? (aForward ? cursor->Next : cursor->Prev) : nullptr;
  TpsChunkElement* lineBreak = from ? FindTag(TAG_BR, ttEmpty, from, aForward) : nullptr;
  if (lineBreak) RemoveElement(lineBreak, true);
}

void TpsDataChunk::EnsureCursorInBlock(const TpsHtmlTagEventsRef& aEvents) {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor || IsInTextBlock(cursor)) return;
  // Into the block of the nearest text-block tag, after it or else before
  // it: after an opening tag, before a closing tag, so that the cursor
  // stands inside that block.
  TpsChunkElement* tag = FindTextBlockTag(cursor, true);
  if (!tag) tag = FindTextBlockTag(cursor, false);
  if (tag) {
    MoveCursor(tag, tag->Tag->GetTagType() == ttOpening);
    return;
  }
  InsertTag(std::make_unique<TpsHtmlTag>(aEvents, TAG_P, ttOpening), cursor, false);
  InsertTag(std::make_unique<TpsHtmlTag>(aEvents, TAG_P, ttClosing), cursor, true);
}

// ---------------------------------------------------------------------------
// Moves and splits

void TpsDataChunk::MoveMarkedRange(Integer aStartMarker, Integer aEndMarker, Integer aTargetMarker, bool aAfter,
                                   bool aRemoveTargetMarker, bool aRemoveMarkers) {
  TpsChunkElement* start = FindMarker(aStartMarker);
  TpsChunkElement* end = FindMarker(aEndMarker);
  TpsChunkElement* target = FindMarker(aTargetMarker);
  if (start->Next != end) MoveRange(start->Next, end->Prev, target, aAfter);
  if (aRemoveMarkers) {
    RemoveElement(start, true);
    RemoveElement(end, true);
  }
  if (aRemoveTargetMarker) RemoveElement(target, true);
}

void TpsDataChunk::MoveBlockContentToMarker(Integer aSourceMarker, Integer aTargetMarker) {
  TpsChunkElement* source = FindMarker(aSourceMarker);
  TpsChunkElement* target = FindMarker(aTargetMarker);
  TpsChunkElement* open = FindBlockTag(source, false);
  TpsChunkElement* close = FindBlockTag(source, true);
  RemoveElement(source, true);
  TpsChunkElement* from = open ? open->Next : FFirst;
  TpsChunkElement* to = close ? close->Prev : FLast;
  if (from && to && from != close && to != open) MoveRange(from, to, target, true);
  RemoveElement(target, true);
  if (open && close && open->Next == close && FindPartnerTag(open, close) == close)
    RemoveEmptyBlockPairsAround(open, close);
}

void TpsDataChunk::RemoveEmptyBlockPairsAround(TpsChunkElement* aOpenTag, TpsChunkElement* aCloseTag) {
  while (IsBlockOpenTag(aOpenTag) && IsBlockCloseTag(aCloseTag) && aOpenTag->Next == aCloseTag) {
    TpsChunkElement* before = aOpenTag->Prev;
    TpsChunkElement* after = aCloseTag->Next;
    RemoveElement(aOpenTag, true);
    RemoveElement(aCloseTag, true);
    aOpenTag = before;
    aCloseTag = after;
  }
}

void TpsDataChunk::SplitBlockAroundMarkers(Integer aStartMarker, Integer aEndMarker, bool aRemoveInner) {
  TpsChunkElement* start = FindMarker(aStartMarker);
  TpsChunkElement* end = FindMarker(aEndMarker);
  if (aRemoveInner) {
    if (start->Next != end) RemoveElement(start->Next, true);
    if (start->Next != end) RemoveElement(end->Prev, true);
  }
  TpsChunkElement* open = GetBlockStart(start);
  TpsChunkElement* close = open ? FindPartnerTag(open, nullptr) : nullptr;
  if (!close) {
    // In no block: nothing to close or reopen.
    RemoveElement(start, true);
    RemoveElement(end, true);
    return;
  }
  // The copies first: the block's own tags may go on the way.
  TpsChunkElement* closeCopy = CloneElement(close, true);
  TpsChunkElement* openCopy = CloneElement(open, true);
  // Only blanks, markers, the cursor and verbatim items count as nothing.
  if (IsBlankRange(open, start, true, true, true, true)) {
    DeleteRange(open, start);
    FreeElement(closeCopy);
  } else {
    InsertElement(closeCopy, start, false);
    RemoveElement(start, true);
  }
  if (IsBlankRange(end, close, true, true, true, true)) {
    DeleteRange(end, close);
    FreeElement(openCopy);
  } else {
    InsertElement(openCopy, end, true);
    RemoveElement(end, true);
  }
}

// ---------------------------------------------------------------------------
// Clean-up passes

namespace {

// Removes every element of aChunk that aGoes names.
template <typename Goes>
bool RemoveWhere(TpsDataChunk& aChunk, Goes aGoes) {
  bool removed = false;
  for (TpsChunkElement* e = aChunk.First(); e;) {
    if (aGoes(e)) {
      e = aChunk.RemoveAndNext(e, true);
      removed = true;
    } else {
      e = e->Next;
    }
  }
  return removed;
}

}  // namespace

void TpsDataChunk::RemoveUnselectedCharacters() {
  RemoveWhere(*this, [](const TpsChunkElement* e) { return e->Kind == ceChar && !e->Selected; });
}

void TpsDataChunk::RemoveUnselectedEmptyTags() {
  RemoveWhere(*this, [](const TpsChunkElement* e) { return IsEmptyTag(e) && !e->Selected; });
}

void TpsDataChunk::RemoveUnselectedBlockTags() {
  RemoveWhere(*this, [](const TpsChunkElement* e) { return IsBlockTag(e) && !e->Selected; });
}

void TpsDataChunk::RemoveUnselectedCustomTags() {
  RemoveWhere(*this, [](const TpsChunkElement* e) { return IsCustomTag(e) && !e->Selected; });
}

void TpsDataChunk::RemoveTagPairsWithoutSelection() {
  // One pass removes what repeated passes would: removing a pair changes
  // neither the selection nor the partners of the others.
  for (TpsChunkElement* e = FFirst; e;) {
    TpsChunkElement* next = e->Next;
    TpsChunkElement* partner = IsInlineOpenTag(e) ? FindPartnerTag(e, nullptr) : nullptr;
    if (partner && !(e->Selected && partner->Selected)) {
      bool selectedBetween = false;
      for (TpsChunkElement* inner = e->Next; inner != partner && !selectedBetween; inner = inner->Next)
        selectedBetween = inner->Selected;
      if (!selectedBetween) {
        if (next == partner) next = partner->Next;
        RemoveElement(partner, true);
        RemoveElement(e, true);
      }
    }
    e = next;
  }
}

void TpsDataChunk::RemoveTopLevelCharacters() {
  for (TpsChunkElement* e = FFirst; e;) {
    if (e->Kind == ceChar) {
      e = RemoveAndNext(e, true);
      continue;
    }
    // An opening tag's pair is passed whole, so a closing tag is met only
    // when its opening tag is missing; the walk goes on after it.
    TpsChunkElement* partner = e->Kind == ceTag && e->Tag->GetTagType() == ttOpening ? FindPartnerTag(e, nullptr)
                                                                                     : nullptr;
    e = partner ? partner->Next : e->Next;
  }
}

void TpsDataChunk::TrimBlanks(bool aIncludeNbsp) {
  const auto blank = [aIncludeNbsp](const TpsChunkElement* e) {
    return aIncludeNbsp ? IsBlank(e) : IsSpaceOrTab(e);
  };
  while (FFirst && blank(FFirst)) RemoveElement(FFirst, true);
  while (FLast && blank(FLast)) RemoveElement(FLast, true);
}

bool TpsDataChunk::RemoveLeadingBlanks() {
  bool removed = false;
  for (TpsChunkElement* e = FFirst; e;) {
    if (IsSpaceOrTab(e)) {
      e = RemoveAndNext(e, true);
      removed = true;
    } else if (e->Kind == ceChar) {
      break;
    } else {
      e = e->Next;
    }
  }
  return removed;
}

bool TpsDataChunk::CollapseBlanks() {
  bool removed = false;
  TpsChunkElement* pending = nullptr;  // the last blank of the current run
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (IsSpaceOrTab(e)) {
      if (pending) {
        RemoveElement(pending, true);
        removed = true;
      }
      pending = e;
    } else if (e->Kind == ceChar) {
      pending = nullptr;
    }
  }
  return removed;
}

void TpsDataChunk::RemoveInlineTags(bool aIncludeLinks) {
  RemoveWhere(*this, [aIncludeLinks](const TpsChunkElement* e) {
    return IsInlineTag(e) && (aIncludeLinks || TagCodeOf(e) != TAG_A);
  });
}

bool TpsDataChunk::RemovePlaceholders() {
  return RemoveWhere(*this, [](const TpsChunkElement* e) { return e->Kind == ceChar && e->Placeholder; });
}

void TpsDataChunk::RemoveCustomTags() { RemoveWhere(*this, [](const TpsChunkElement* e) { return IsCustomTag(e); }); }

void TpsDataChunk::RemoveTags(Byte aTagCode, Byte aTagType) {
  RemoveWhere(*this, [aTagCode, aTagType](const TpsChunkElement* e) { return IsTag(e, aTagCode, aTagType); });
}

void TpsDataChunk::RemoveElementOfKind(TpsChunkElementKind aKind) {
  if (TpsChunkElement* e = FindElementOfKind(aKind, true, nullptr)) RemoveElement(e, true);
}

namespace {

bool IsNothing(const TpsChunkElement*) { return false; }
bool IsBlankElement(const TpsChunkElement* e) { return TpsDataChunk::IsBlank(e); }
bool IsBlankOrImage(const TpsChunkElement* e) { return TpsDataChunk::IsBlank(e) || TpsDataChunk::IsImageTag(e); }

// Removes every inline pair whose partner follows its opening tag with
// only elements aBetween accepts between them (and what aGoesWith names
// among those with it), when aOnCanRemove lets it. A pair that is kept is
// passed over. After a removal the walk goes back to the nearest element
// before the pair that aBetween does not accept: only there can a pair
// have become removable, so the result is that of passes that each start
// again at the beginning.
bool RemoveInlinePairs(TpsDataChunk& aChunk, bool (*aBetween)(const TpsChunkElement*),
                       bool (*aGoesWith)(const TpsChunkElement*), bool aKeepLinks,
                       const TpsDataChunk::TpsCanRemoveEvent& aOnCanRemove) {
  bool removed = false;
  for (TpsChunkElement* e = aChunk.First(); e;) {
    TpsChunkElement* partner = nullptr;
    if (TpsDataChunk::IsInlineOpenTag(e) && !(aKeepLinks && TpsDataChunk::TagCodeOf(e) == TAG_A)) {
      TpsChunkElement* after = e->Next;
      while (after && aBetween(after)) after = after->Next;
      if (TpsDataChunk::IsTag(after, TpsDataChunk::TagCodeOf(e), ttClosing)) partner = after;
    }
    bool remove = partner != nullptr;
    if (remove && aOnCanRemove) aOnCanRemove(&aChunk, e, remove, partner);
    if (!remove) {
      e = e->Next;
      continue;
    }
    TpsChunkElement* resume = e->Prev;
    while (resume && aBetween(resume)) resume = resume->Prev;
    for (TpsChunkElement* inner = e->Next; inner != partner;)
      inner = aGoesWith(inner) ? aChunk.RemoveAndNext(inner, true) : inner->Next;
    aChunk.RemoveElement(partner, true);
    aChunk.RemoveElement(e, true);
    removed = true;
    e = resume ? resume : aChunk.First();
  }
  return removed;
}

}  // namespace

bool TpsDataChunk::RemoveEmptyInlineTagPairs(const TpsCanRemoveEvent& aOnCanRemove) {
  return RemoveInlinePairs(*this, IsNothing, IsNothing, false, aOnCanRemove);
}

bool TpsDataChunk::RemoveBlankInlineTagPairs(const TpsCanRemoveEvent& aOnCanRemove) {
  return RemoveInlinePairs(*this, IsBlankElement, IsNothing, false, aOnCanRemove);
}

bool TpsDataChunk::RemoveInlineTagPairsWithoutText() {
  return RemoveInlinePairs(*this, IsBlankOrImage, IsImageTag, true, nullptr);
}

void TpsDataChunk::PutNbspIntoEmptyBlocks() {
  for (TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (!IsBlockOpenTag(e)) continue;
    TpsChunkElement* after = e->Next;
    while (after && (IsBlank(after) || after->Kind == ceCursor)) after = after->Next;
    if (IsBlockCloseTag(after)) InsertCharacter(NbspChar(), after, false);
  }
}

void TpsDataChunk::RemoveNbspFromEmptyBlocks() {
  const auto passed = [](const TpsChunkElement* e) { return IsBlank(e) || e->Kind == ceCursor; };
  for (TpsChunkElement* e = FFirst; e;) {
    if (!IsCharacterElement(e) || e->Char != NbspChar()) {
      e = e->Next;
      continue;
    }
    TpsChunkElement* before = e->Prev;
    while (before && passed(before)) before = before->Prev;
    TpsChunkElement* after = e->Next;
    while (after && passed(after)) after = after->Next;
    if (IsBlockOpenTag(before) && IsBlockCloseTag(after)) {
      RemoveElement(e, true);
      e = after->Next;
    } else {
      e = e->Next;
    }
  }
}

}  // namespace htmldoc
