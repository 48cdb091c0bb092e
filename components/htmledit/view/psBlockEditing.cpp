// The block-level edits a block carries out on its gathered list: line
// breaks, markers lifted out of blocks or put into paragraphs, inline tags
// removed around the cursor or a marker, and selections wrapped in or
// freed from an inline tag.
#include <algorithm>
#include <limits>
#include <vector>
#include <string>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBlockNode.h"

namespace htmlview {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

namespace {

// A range where every element is a blank, a marker, the cursor or kept
// verbatim: nothing a reader would see. A range that ends before it
// starts is empty and so blank.
bool BlockRangeIsBlank(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  if (!aFirst || !aLast) return true;
  if (aLast->Next == aFirst) return true;
  for (TpsChunkElement* e = aFirst; e; e = e->Next) {
    if (!(TpsDataChunk::IsBlank(e) || TpsDataChunk::IsMarkerElement(e) || TpsDataChunk::IsCursorElement(e) ||
          TpsDataChunk::IsIgnoreElement(e)))
      return false;
    if (e == aLast) break;
  }
  return true;
}

// The marker a handler must find; a missing one is a broken node list.
TpsChunkElement* BlockRequireMarker(TpsDataChunk& aChunk, Integer aMarker) {
  TpsChunkElement* marker = aChunk.FindMarker(aMarker);
  if (!marker) throw htmldoc::EpsHtmlEditException("TpsBlockNode: marker " + std::to_string(aMarker) + " not found");
  return marker;
}

// The nearest element in a direction that is not a space, tab or
// non-breaking space character.
TpsChunkElement* BlockSkipBlanks(TpsChunkElement* aStart, bool aForward) {
  TpsChunkElement* e = aStart;
  while (e && TpsDataChunk::IsBlank(e)) e = aForward ? e->Next : e->Prev;
  return e;
}

}  // namespace

bool TpsBlockNode::HandleBlockEdit(TpsMessage& m) {
  switch (m.Id) {
    case psmInsertLineBreak:
    case psmEnsureMarkerInParagraph:
    case psmLiftMarkerOutOfBlocks:
    case psmRemoveSpanByIndex:
    case psmRemoveInlineTagsAtMarker:
    case psmWrapSelectionInCustomTag:
    case psmApplyTagToSelection:
    case psmRemoveTagFromSelection:
    case psmRemoveInlineTags:
    case psmMarkElementWithWrappers:
      break;
    default:
      return false;
  }
  RequireContentOut();
  switch (m.Id) {
    case psmInsertLineBreak:
      InsertLineBreak();
      break;
    case psmEnsureMarkerInParagraph:
      EnsureMarkerInParagraph(m.GetParam(1));
      break;
    case psmLiftMarkerOutOfBlocks:
      LiftMarkerOutOfBlocks(m.GetParam(1));
      break;
    case psmRemoveSpanByIndex:
      RemoveSpanByIndex(m.Value, m.Result, m.Option);
      break;
    case psmRemoveInlineTagsAtMarker:
      RemoveInlineTagAtMarker(m.GetParam(1), m.Result, m.TagCode);
      break;
    case psmWrapSelectionInCustomTag:
      WrapSelection(m.Text, m.Text2, false);
      break;
    case psmApplyTagToSelection:
      WrapSelection(m.Text, AnsiString(), true);
      break;
    case psmRemoveTagFromSelection:
      RemoveTagFromSelection(m.Text);
      break;
    case psmRemoveInlineTags:
      EditChunk->RemoveInlineTags(false);
      break;
    case psmMarkElementWithWrappers: {
      TpsChunkElement* e = EditChunk->FindElementById(m.ElementId);
      if (!e) throw htmldoc::EpsHtmlEditException("TpsBlockNode: element to mark not found");
      EditChunk->MarkElementWithWrappers(e, m.GetParam(1), m.GetParam(2));
      break;
    }
    default:
      break;
  }
  m.MarkHandled(this);
  return true;
}

void TpsBlockNode::MergeIntoPreviousBlock() {
  TpsBlockNode* previous = FindAdjacentBlock(true);
  if (!previous) return;
  const auto classOf = [](TpsBlockNode* aBlock) {
    return aBlock->OpeningTag && aBlock->OpeningTag->Kind == htmldoc::ceTag
               ? aBlock->OpeningTag->Tag->GetAttribute("class")
               : AnsiString();
  };
  const AnsiString firstClass = classOf(previous);
  const AnsiString secondClass = classOf(this);
  AnsiString merged = firstClass;
  if (Editor) Editor->MergeBlocks(firstClass, previous->IsEmpty(), secondClass, IsEmpty(), merged);

  ExtractChunk();
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* open = chunk.FindBlockOpenTag(chunk.First(), true);
  PS_ASSERT(open);
  TpsChunkElement* close = chunk.FindPartnerTag(open, nullptr);
  PS_ASSERT(close);
  chunk.MarkElement(open, 3, 4);
  chunk.MarkElement(close, 5, 6);
  chunk.PrependMarker(1);
  chunk.AppendMarker(2);

  const auto post = [](TpsWindow* aTarget, Integer aId, Integer a = 0, Integer b = 0, Integer c = 0) {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, aTarget);
    m->SetParam(1, a);
    m->SetParam(2, b);
    m->SetParam(3, c);
    return m;
  };
  PostMessage(post(previous, psmExtractChunk), false);
  PostMessage(post(previous, psmInsertMarkerInBlock, 7), false);
  TpsWindow* root = GetRoot();
  PostMessage(post(root, psmBeginEdit), false);
  PostMessage(post(root, psmExtractChunk), false);
  TpsMessagePtr setClass = post(root, psmSetMarkedBlockClass, 7);
  setClass->Text = merged;
  PostMessage(std::move(setClass), false);
  // Before marker 7, which goes with the move.
  TpsMessagePtr move = post(root, psmMoveMarkedRange, 1, 2, 7);
  move->Result = true;
  PostMessage(std::move(move), false);
  PostMessage(post(root, psmDeleteBetweenMarkers, 3, 4), false);
  PostMessage(post(root, psmDeleteBetweenMarkers, 5, 6), false);
  // The range markers stay where the block was; left there, a later edit
  // asking for marker 1 or 2 would find them first.
  PostMessage(post(root, psmRemoveMarker, 1), false);
  PostMessage(post(root, psmRemoveMarker, 2), false);
  PostMessage(post(root, psmRelayout), false);
  PostMessage(post(root, psmEndEdit), true);
}

void TpsBlockNode::DropImage(uint32_t aImageId) {
  const Byte bar = DropBar;
  SetDropBar(0);
  if (bar == 0) return;
  // Read while the block still holds its opening tag.
  const bool centred = GetTextAlign() == 2;
  ExtractChunk();
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* open = chunk.FindBlockOpenTag(chunk.First(), true);
  PS_ASSERT(open);
  TpsChunkElement* close = chunk.FindPartnerTag(open, nullptr);
  PS_ASSERT(close);
  const Byte code = TpsDataChunk::TagCodeOf(open);
  const bool cell = code == htmldoc::TAG_TD || code == htmldoc::TAG_TH;

  // The drop position: the element the markers go after (bar 1) or before
  // (bar 2); in a cell whose content starts or ends with a div, inside it.
  TpsChunkElement* at = bar == 1 ? open : close;
  bool divAtEnd = false;
  if (cell) {
    TpsChunkElement* edge = bar == 1 ? open->Next : close->Prev;
    while (edge && edge != open && edge != close && BlockRangeIsBlank(edge, edge))
      edge = bar == 1 ? edge->Next : edge->Prev;
    if (TpsDataChunk::IsTag(edge, htmldoc::TAG_DIV, bar == 1 ? htmldoc::ttOpening : htmldoc::ttClosing)) {
      at = edge;
      divAtEnd = true;
    }
  }

  // A centred block holding nothing but images and custom tags takes the
  // image as it is; any other block is split so the image gets its own.
  bool imageBlock = centred;
  for (TpsChunkElement* e = open->Next; imageBlock && e && e != close; e = e->Next) {
    if (e->Kind == htmldoc::ceChar) imageBlock = false;
    if (e->Kind == htmldoc::ceTag && !TpsDataChunk::IsImageTag(e) && !TpsDataChunk::IsCustomTag(e))
      imageBlock = false;
  }
  // Each marker goes to the same place, so at the top they stand 5, 4, 3
  // and at the bottom 3, 4, 5: the split at 3 leaves 4 and 5 in the half
  // that is empty but for the image to come.
  for (Integer marker : {3, 4, 5}) {
    if (marker == 3 && imageBlock) continue;
    chunk.InsertMarker(marker, at, bar == 1);
  }
  if (cell && !divAtEnd) {
    // The cell's content goes into a div of its own, so the image's block
    // stays inside the cell.
    const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
    auto div = std::make_unique<htmldoc::TpsHtmlTag>(events, htmldoc::TAG_DIV, htmldoc::ttOpening);
    div->SetAttribute("style", "margin:0px;padding:0px;border:0px");
    chunk.InsertTag(std::move(div), open, true);
    chunk.InsertTag(std::make_unique<htmldoc::TpsHtmlTag>(events, htmldoc::TAG_DIV, htmldoc::ttClosing), close,
                    false);
  }

  TpsWindow* root = GetRoot();
  const auto post = [root](Integer aId, Integer a = 0, Integer b = 0, Integer c = 0) {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, root);
    m->SetParam(1, a);
    m->SetParam(2, b);
    m->SetParam(3, c);
    return m;
  };
  PostMessage(post(psmBeginEdit), false);
  PostMessage(post(psmExtractChunk), false);
  TpsMessagePtr mark = post(psmMarkElementWithWrappers, 1, 2);
  mark->ElementId = aImageId;
  PostMessage(std::move(mark), false);
  if (!imageBlock) {
    PostMessage(post(psmSplitBlockAtMarker, 3), false);
    TpsMessagePtr centre = post(psmSetMarkedBlockAlignment, 4);
    centre->Alignment = 2;
    PostMessage(std::move(centre), false);
  }
  PostMessage(post(psmMoveMarkedRange, 1, 2, 4), false);
  PostMessage(post(psmDeleteMarkedBlock, 5), false);
  PostMessage(post(psmRemoveMarker, 1), false);
  PostMessage(post(psmRemoveMarker, 2), false);
  // Marker 5 stays when its block keeps content; no later edit may meet it.
  PostMessage(post(psmRemoveMarker, 5), false);
  PostMessage(post(psmRelayout), false);
  PostMessage(post(psmDocumentChanged), false);
  TpsMessagePtr refresh = post(psmRefreshImage);
  refresh->ElementId = aImageId;
  PostMessage(std::move(refresh), false);
  PostMessage(post(psmEndEdit), true);
}

void TpsBlockNode::InsertLineBreak() {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* cursor = chunk.GetCursor();
  if (!cursor) throw htmldoc::EpsHtmlEditException("TpsBlockNode: no cursor for the line break");
  if (Editor && !Editor->AllowMultipleLineBreaks()) {
    TpsChunkElement* before = BlockSkipBlanks(cursor->Prev, false);
    if (TpsDataChunk::IsTag(before, htmldoc::TAG_BR, htmldoc::ttEmpty) ||
        TpsDataChunk::IsTag(before, htmldoc::TAG_BR, htmldoc::ttOpening))
      return;
    TpsChunkElement* after = BlockSkipBlanks(cursor->Next, true);
    if (TpsDataChunk::TagCodeOf(after) == htmldoc::TAG_BR) {
      // Typing goes on behind the break that is already there.
      TpsChunkElement* next = chunk.FindNonBlankCharacter(after->Next, nullptr);
      if (next)
        chunk.MoveCursor(next, false);
      else
        chunk.MoveCursor(after, true);
      return;
    }
  }
  auto br = std::make_unique<htmldoc::TpsHtmlTag>(Editor ? Editor->DocumentEvents() : nullptr, htmldoc::TAG_BR,
                                                  htmldoc::ttEmpty);
  chunk.InsertElementAtCursor(htmldoc::NewTagElement(std::move(br)), true);
}

void TpsBlockNode::EnsureMarkerInParagraph(Integer aMarker) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* marker = BlockRequireMarker(chunk, aMarker);
  TpsChunkElement* tag = nullptr;
  if (chunk.FindEmptyParagraphBefore(marker, tag)) {
    chunk.MoveElementBefore(marker, tag);
    return;
  }
  if (chunk.FindEmptyParagraphAfter(marker, tag)) {
    chunk.MoveElementAfter(marker, tag);
    return;
  }
  const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
  chunk.InsertTag(std::make_unique<htmldoc::TpsHtmlTag>(events, htmldoc::TAG_P, htmldoc::ttOpening), marker, false);
  chunk.InsertTag(std::make_unique<htmldoc::TpsHtmlTag>(events, htmldoc::TAG_P, htmldoc::ttClosing), marker, true);
}

void TpsBlockNode::LiftMarkerOutOfBlocks(Integer aMarker) {
  TpsDataChunk& chunk = *EditChunk;
  BlockRequireMarker(chunk, aMarker);
  for (;;) {
    if (!chunk.TryFocusMarkedBlock(aMarker)) return;
    // The decision is read while focused; the edits reach outside the
    // block, so they are made on the whole list.
    TpsChunkElement* open = chunk.First();
    TpsChunkElement* close = chunk.Last();
    chunk.Unfocus();
    const Byte code = TpsDataChunk::TagCodeOf(open);
    if (code == htmldoc::TAG_TD || code == htmldoc::TAG_TH || code == htmldoc::TAG_BODY) return;
    TpsChunkElement* marker = chunk.FindMarker(aMarker);
    const bool blankBefore = BlockRangeIsBlank(open->Next, marker);
    const bool blankAfter = BlockRangeIsBlank(marker, close->Prev);
    if (blankBefore) {
      chunk.MoveElementBefore(marker, open);
      if (blankAfter) chunk.DeleteRange(open, close);
    } else if (blankAfter) {
      chunk.MoveElementAfter(marker, close);
    } else {
      chunk.SplitInlineTagsAt(marker);
      chunk.InsertElement(htmldoc::NewTagElement(TpsDataChunk::CopyTag(close)), marker, false);
      chunk.InsertElement(htmldoc::NewTagElement(TpsDataChunk::CopyTag(open)), marker, true);
    }
  }
}

void TpsBlockNode::RemoveSpanByIndex(Integer aIndex, bool aKeepTyping, bool aWithCustomWrapper) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* open = chunk.GetInlineTagAroundCursor(aIndex);
  if (!open) return;
  TpsChunkElement* close = chunk.FindPartnerTag(open, nullptr);
  TpsChunkElement* cursor = chunk.GetCursor();
  if (aKeepTyping && close && cursor && !chunk.HasNonBlankCharacterBetween(cursor, close)) {
    // Only blanks between the caret and the end of the span: the span
    // stays, and the caret with those blanks steps out of it.
    TpsChunkElement* e = cursor->Next;
    TpsChunkElement* target = close;
    while (e && e != close) {
      TpsChunkElement* next = e->Next;
      if (TpsDataChunk::IsBlank(e)) {
        chunk.MoveElementAfter(e, target);
        target = e;
      }
      e = next;
    }
    chunk.MoveElementAfter(cursor, target);
    return;
  }
  TpsChunkElement* outerOpen = nullptr;
  TpsChunkElement* outerClose = nullptr;
  if (aWithCustomWrapper && close && TpsDataChunk::IsCustomOpenTag(open->Prev) &&
      TpsDataChunk::IsCustomCloseTag(close->Next) && chunk.FindPartnerTag(open->Prev, nullptr) == close->Next) {
    outerOpen = open->Prev;
    outerClose = close->Next;
  }
  if (close) chunk.RemoveElement(close, true);
  chunk.RemoveElement(open, true);
  if (outerOpen) {
    chunk.RemoveElement(outerClose, true);
    chunk.RemoveElement(outerOpen, true);
  }
}

void TpsBlockNode::RemoveInlineTagAtMarker(Integer aMarker, bool aByCode, Byte aTagCode) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* marker = BlockRequireMarker(chunk, aMarker);
  TpsChunkElement* found = nullptr;
  // Innermost first: the first one met walking back from the marker.
  chunk.ForEachInlineTagAround(marker, [&](Integer, TpsChunkElement* aTag) {
    if (found) return;
    if (!aByCode || TpsDataChunk::TagCodeOf(aTag) == aTagCode) found = aTag;
  });
  if (found) {
    if (TpsChunkElement* partner = chunk.FindPartnerTag(found, nullptr)) chunk.RemoveElement(partner, true);
    chunk.RemoveElement(found, true);
  }
  chunk.RemoveElement(marker, true);
}

void TpsBlockNode::WrapSelection(const AnsiString& aTagText, const AnsiString& aCustomSource, bool aApply) {
  TpsDataChunk& chunk = *EditChunk;
  const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
  htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
  const htmldoc::TpsStyleIdEvent onStyleId = [this](htmldoc::TpsHtmlTag*, const AnsiString& aText, Integer& aId) {
    if (Editor) aId = Editor->GetInternalStyleID(aText);
  };
  Integer next = 100;
  for (TpsChunkElement* from = chunk.First(); from;) from = chunk.MarkNextSelectedRun(from, next);
  for (Integer start = 100; start < next; start += 2) {
    TpsChunkElement* cursor = chunk.GetCursor();
    TpsChunkElement* startMarker = chunk.FindMarker(start);
    TpsChunkElement* endMarker = chunk.FindMarker(start + 1);
    if (!startMarker || !endMarker) continue;
    // The caret stays inside the new tag rather than before or after it.
    if (cursor && cursor->Next == startMarker) chunk.MoveElementAfter(cursor, startMarker);
    else if (cursor && cursor->Prev == endMarker) chunk.MoveElementBefore(cursor, endMarker);
    if (!aApply && !aCustomSource.empty()) chunk.WrapMarkedRangeInCustomTag(start, start + 1, aCustomSource, events);
    if (aApply)
      chunk.ApplyTagToMarkedRange(events, start, start + 1, aTagText, sheet, onStyleId);
    else
      chunk.WrapMarkedRange(events, start, start + 1, aTagText, sheet, onStyleId);
  }
  chunk.RemoveMarkers(100, std::numeric_limits<Integer>::max());
}

void TpsBlockNode::RemoveTagFromSelection(const AnsiString& aTagText) {
  TpsDataChunk& chunk = *EditChunk;
  htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
  // Block by block in document order, as the runs are found for wrapping.
  for (TpsChunkElement* from = chunk.First(); from;) {
    TpsChunkElement* selected = chunk.FindSelectedFrom(from);
    if (!selected) break;
    TpsChunkElement* first =
        TpsDataChunk::IsBlockTag(selected) ? selected : selected->Prev ? chunk.FindBlockTag(selected->Prev, false) : nullptr;
    TpsChunkElement* last = selected->Next ? chunk.FindBlockTag(selected->Next, true) : nullptr;
    if (chunk.Focus(first, last)) {
      try {
        if (chunk.MarkSelection(1, 2)) {
          // No tag given: every inline tag open at the run's start or
          // opened inside it, one text after the other.
          std::vector<AnsiString> texts;
          if (!aTagText.empty()) {
            texts.push_back(aTagText);
          } else {
            const auto add = [&texts](TpsChunkElement* aTag) {
              const AnsiString text = aTag->Tag->GetText();
              if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
            };
            chunk.ForEachInlineTagAroundMarker(1, [&](Integer, TpsChunkElement* aTag) { add(aTag); });
            TpsChunkElement* end = chunk.FindMarker(2);
            for (TpsChunkElement* e = chunk.FindMarker(1); e && e != end; e = e->Next)
              if (TpsDataChunk::IsInlineOpenTag(e)) add(e);
          }
          for (const AnsiString& text : texts) chunk.RemoveTagFromMarkedRange(1, 2, text, sheet);
          chunk.RemoveMarker(1);
          chunk.RemoveMarker(2);
        }
      } catch (...) {
        chunk.Unfocus();
        throw;
      }
      chunk.Unfocus();
    }
    from = last;
  }
}

}  // namespace htmlview
