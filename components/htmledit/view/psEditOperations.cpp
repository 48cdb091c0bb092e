// The root's edit operations: each message changes the node list taken
// out of the view (EditChunk) between 550 and 560. Every operation but
// the edit protocol itself needs the content out, checked first.
#include <set>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTableAccess.h"
#include "htmledit/doc/psTagParser.h"
#include "htmledit/view/psDocumentNode.h"

namespace htmlview {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;
using htmldoc::TpsHtmlTag;

namespace {

constexpr WideChar kNbsp = 0x00A0;

// Unfocuses the list when the scope ends, whatever happens inside.
class FocusScope {
 public:
  explicit FocusScope(TpsDataChunk& aChunk, bool aFocused) : FChunk(aChunk), FFocused(aFocused) {}
  ~FocusScope() {
    if (FFocused) FChunk.Unfocus();
  }
  FocusScope(const FocusScope&) = delete;
  FocusScope& operator=(const FocusScope&) = delete;

 private:
  TpsDataChunk& FChunk;
  bool FFocused;
};

bool IsTextBlank(WideChar c) { return c == u' ' || c == u'\t'; }

// The opening tag of the block around a marker, and its closing partner;
// a consistency check fails when the marker or the block is missing.
TpsChunkElement* BlockAroundMarker(TpsDataChunk& aChunk, Integer aMarker, TpsChunkElement*& aClose) {
  TpsChunkElement* marker = aChunk.FindMarker(aMarker);
  PS_ASSERT(marker);
  TpsChunkElement* open = aChunk.GetBlockStart(marker);
  PS_ASSERT(open);
  aClose = aChunk.FindPartnerTag(open, nullptr);
  PS_ASSERT(aClose);
  return open;
}

std::unique_ptr<TpsHtmlTag> NewTag(const htmldoc::TpsHtmlTagEventsRef& aEvents, Byte aCode, Byte aType) {
  return std::make_unique<TpsHtmlTag>(aEvents, aCode, aType);
}

}  // namespace

// --- Tables ---

void TpsDocumentNode::GetEnclosingTable(TpsChunkElement*& aStart, TpsChunkElement*& aEnd) {
  PS_ASSERT(EditChunk);
  aStart = EditChunk->FindEnclosingTag(htmldoc::TAG_TABLE, htmldoc::ttOpening, EditChunk->GetCursor(), false);
  PS_ASSERT(aStart);
  aEnd = EditChunk->FindPartnerTag(aStart, nullptr);
  PS_ASSERT(aEnd);
}

std::unique_ptr<htmldoc::TpsTableDataAccess> TpsDocumentNode::GetTableAccess() {
  TpsChunkElement* start = nullptr;
  TpsChunkElement* end = nullptr;
  GetEnclosingTable(start, end);
  return std::make_unique<htmldoc::TpsTableDataAccess>(EditChunk.get(), start, end,
                                                        Editor ? Editor->StyleSheet() : nullptr, false);
}

// --- Clean-up and alignment ---

void TpsDocumentNode::CleanUpChunk() {
  PS_ASSERT(EditChunk);
  TpsDataChunk& chunk = *EditChunk;
  if (!chunk.HasCursor()) return;
  FocusScope focus(chunk, chunk.FocusCursorBlock());
  // An anchor (a link with a name) stays even when it encloses nothing.
  const TpsDataChunk::TpsCanRemoveEvent keepAnchors = [](TpsDataChunk*, TpsChunkElement* aOpen, bool& aRemove,
                                                         TpsChunkElement*) {
    if (TpsDataChunk::TagCodeOf(aOpen) == htmldoc::TAG_A && aOpen->Tag->HasAttribute("name")) aRemove = false;
  };
  for (;;) {
    bool changed = chunk.RemoveLeadingBlanks();
    changed |= chunk.CollapseBlanks();
    changed |= chunk.RemoveEmptyInlineTagPairs(keepAnchors);
    changed |= chunk.RemoveBlankInlineTagPairs(keepAnchors);
    changed |= chunk.RemoveInlineTagPairsWithoutText();
    if (!changed) break;
  }
}

void TpsDocumentNode::SetBlockAlignment(Byte aAlignment) {
  PS_ASSERT(EditChunk && Editor);
  TpsChunkElement* open = EditChunk->First();
  PS_ASSERT(TpsDataChunk::IsBlockOpenTag(open));
  htmldoc::TpsStyleSheet* sheet = Editor->StyleSheet();
  TpsHtmlTag* tag = open->Tag;
  const Integer styleId = tag->GetStyleAttributeId();
  const htmldoc::TpsStyle* inlineStyle = styleId >= 0 && sheet ? sheet->GetStyle(styleId) : nullptr;
  Integer inherited = 0;
  if (inlineStyle && inlineStyle->GetTextAlign() != 0) {
    inherited = inlineStyle->GetTextAlign();
  } else if (const htmldoc::TpsStyle* body = sheet ? sheet->FindStyle("body") : nullptr) {
    inherited = body->GetTextAlign();
  }
  const Integer request = aAlignment;
  if (!inlineStyle) {
    if (request == inherited || request == 0) return;
    htmldoc::TpsStyle style(-1, "");
    style.SetTextAlign(request);
    tag->SetStyleAttributeId(Editor->GetInternalStyleID(style.GetAttributesAsString()));
    return;
  }
  std::unique_ptr<htmldoc::TpsStyle> copy = inlineStyle->Clone();
  if (copy->GetTextAlign() == 0) {
    if (request == inherited || request == 0) return;
    copy->SetTextAlign(request);
  } else if (request == inherited) {
    copy->Attributes().DeleteAttribute(htmldoc::CSS_TEXT_ALIGN);
  } else {
    copy->SetTextAlign(request);
  }
  const AnsiString text = copy->GetAttributesAsString();
  tag->SetStyleAttributeId(text.empty() ? -1 : Editor->GetInternalStyleID(text));
}

// --- The operations ---

bool TpsDocumentNode::HandleEditOperation(TpsMessage& m) {
  switch (m.Id) {
    case psmCursorToMarker: case psmSplitBlockAtMarkers: case psmIndentListItem: case psmOutdentListItem:
    case psmListItemToParagraph: case psmInsertMarkerAtElement: case psmMarkListAtCursor: case psmMarkBlockRange:
    case psmInvalidateStyles: case psmInsertText: case psmInsertTagAtCursor: case psmInsertTagAtMarker:
    case psmInsertChunkAtMarker: case psmInsertElementAfter: case psmInsertChunkAtCursor: case psmDeleteSelection:
    case psmMoveMarkedRange: case psmMoveBlockContentToMarker: case psmDeleteBetweenMarkers:
    case psmDeleteMarkedBlock: case psmDeleteWord: case psmDeleteCharBefore: case psmDeleteCharAfter:
    case psmInsertMarkerBeforeCursor: case psmInsertMarkerAfterCursor: case psmSetListTag: case psmRemoveMarker:
    case psmRemoveCursorElement: case psmSetMarkedBlockClass: case psmSetAlignment: case psmSetListBlockTag:
    case psmSetSelectedListTag: case psmReplaceElementTag: case psmTableDelete: case psmTableResizeColumn:
    case psmTableResize:
      RequireContentOut();
      break;
    case psmTableInsertRowBelow: case psmTableInsertRowAbove: case psmTableInsertColumnRight:
    case psmTableInsertColumnLeft: case psmTableDeleteRow: case psmTableDeleteColumn: case psmTableMoveToCell:
      break;
    default:
      return false;
  }
  TpsDataChunk* chunk = EditChunk.get();
  const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
  const Integer p1 = m.GetParam(1), p2 = m.GetParam(2), p3 = m.GetParam(3);
  switch (m.Id) {
    case psmCursorToMarker:
      chunk->MoveCursorToMarker(p1, false, m.Result);
      break;
    case psmSplitBlockAtMarkers:
      chunk->SplitBlockAroundMarkers(p1, p2, m.Result);
      break;
    case psmIndentListItem:
      IndentListItem(m);
      break;
    case psmOutdentListItem:
      OutdentListItem(p1);
      break;
    case psmListItemToParagraph: {
      TpsChunkElement* close = nullptr;
      TpsChunkElement* open = BlockAroundMarker(*chunk, p1, close);
      if (TpsDataChunk::TagCodeOf(open) != htmldoc::TAG_LI) break;
      open->Tag->SetTagCode(htmldoc::TAG_P);
      close->Tag->SetTagCode(htmldoc::TAG_P);
      chunk->InsertMarker(100, open, false);
      chunk->InsertMarker(101, close, true);
      chunk->SplitBlockAroundMarkers(100, 101, false);
      break;
    }
    case psmInsertMarkerAtElement: {
      TpsChunkElement* e = chunk->FindElementById(m.ElementId);
      PS_ASSERT(e);
      chunk->InsertMarker(p1, e, m.Result);
      break;
    }
    case psmMarkListAtCursor: {
      TpsChunkElement* list = chunk->FindListAroundCursor();
      PS_ASSERT(list);
      // Inside the list, so that the block around the marker is the list.
      chunk->InsertMarker(p1, list, true);
      break;
    }
    case psmMarkBlockRange: {
      TpsChunkElement* close = nullptr;
      TpsChunkElement* open = BlockAroundMarker(*chunk, p3, close);
      if (open->Next != close) chunk->MarkRange(open->Next, close->Prev, p1, p2);
      break;
    }
    case psmInvalidateStyles:
      chunk->InvalidateTagStyles();
      break;
    case psmInsertText:
      InsertText(m);
      break;
    case psmInsertTagAtCursor:
      PS_ASSERT(m.Tag);
      chunk->InsertElementAtCursor(htmldoc::NewTagElement(TpsHtmlTag::CreateCopy(*m.Tag)), true);
      break;
    case psmInsertTagAtMarker:
      PS_ASSERT(m.Tag);
      chunk->InsertTagAtMarker(TpsHtmlTag::CreateCopy(*m.Tag), p1, m.InsertAfter, !m.Result);
      break;
    case psmInsertChunkAtMarker: {
      PS_ASSERT(m.Chunk);
      TpsChunkElement* marker = chunk->FindMarker(p1);
      PS_ASSERT(marker);
      chunk->InsertChunk(*m.Chunk, marker, true);
      if (!m.Result) chunk->RemoveElement(marker, true);
      m.Chunk.reset();
      break;
    }
    case psmInsertElementAfter: {
      auto* element = static_cast<TpsChunkElement*>(m.Data);
      TpsChunkElement* target = chunk->FindElementById(m.ElementId);
      PS_ASSERT(element && target);
      chunk->InsertElement(element, target, !m.Result);
      m.Data = nullptr;
      break;
    }
    case psmInsertChunkAtCursor: {
      PS_ASSERT(m.Chunk);
      TpsChunkElement* cursor = chunk->GetCursor();
      PS_ASSERT(cursor);
      chunk->InsertChunk(*m.Chunk, cursor, false);
      m.Chunk.reset();
      break;
    }
    case psmDeleteSelection:
      if (Editor) Editor->TextSelection()->Clear();
      chunk->DeleteSelection(events);
      break;
    case psmMoveMarkedRange:
      chunk->MoveMarkedRange(p1, p2, p3, !m.Result, true, false);
      break;
    case psmMoveBlockContentToMarker:
      chunk->MoveBlockContentToMarker(p1, p2);
      break;
    case psmDeleteBetweenMarkers:
      chunk->DeleteBetweenMarkers(p1, p2, true);
      break;
    case psmDeleteMarkedBlock:
      DeleteMarkedBlock(p1, p2);
      break;
    case psmDeleteWord:
      DeleteWord(m.Result);
      break;
    case psmDeleteCharBefore:
    case psmDeleteCharAfter:
      DeleteCharacter(m.Id == psmDeleteCharAfter);
      break;
    case psmInsertMarkerBeforeCursor:
    case psmInsertMarkerAfterCursor:
      chunk->InsertMarkerAtCursor(p1, m.Id == psmInsertMarkerAfterCursor);
      break;
    case psmSetListTag:
      SetListTag(p1, m.TagCode);
      break;
    case psmRemoveMarker:
      chunk->RemoveMarker(p1);
      break;
    case psmRemoveCursorElement:
      if (TpsChunkElement* cursor = chunk->GetCursor()) chunk->RemoveElement(cursor, true);
      break;
    case psmSetMarkedBlockClass: {
      TpsChunkElement* close = nullptr;
      TpsChunkElement* open = BlockAroundMarker(*chunk, p1, close);
      if (m.Text.empty()) {
        open->Tag->RemoveClass();
      } else {
        htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
        open->Tag->SetClassStyleId(sheet ? sheet->IndexOfStyle("." + m.Text) : -1);
      }
      break;
    }
    case psmSetAlignment:
      SetAlignmentOfSelectedBlocks(m.Alignment);
      break;
    case psmSetListBlockTag: {
      TpsChunkElement* marker = chunk->FindMarker(p1);
      PS_ASSERT(marker);
      FocusScope focus(*chunk, chunk->FocusBlock(marker));
      TpsChunkElement* open = chunk->First();
      TpsChunkElement* close = chunk->Last();
      PS_ASSERT(TpsDataChunk::IsBlockOpenTag(open) && TpsDataChunk::IsBlockCloseTag(close));
      open->Tag->SetTagCode(m.TagCode);
      close->Tag->SetTagCode(m.TagCode);
      break;
    }
    case psmSetSelectedListTag:
      SetSelectedListTag(m.TagCode);
      break;
    case psmReplaceElementTag: {
      TpsChunkElement* e = chunk->FindElementById(m.ElementId);
      PS_ASSERT(TpsDataChunk::IsTagElement(e));
      std::unique_ptr<TpsHtmlTag> tag = TpsHtmlTag::CreateFromText(events, m.Text);
      delete e->Tag;
      e->Tag = tag.release();
      break;
    }
    case psmTableInsertRowBelow:
      GetTableAccess()->InsertRowBelow();
      break;
    case psmTableInsertRowAbove:
      GetTableAccess()->InsertRowAbove();
      break;
    case psmTableInsertColumnRight:
      GetTableAccess()->InsertColumnToTheRight();
      break;
    case psmTableInsertColumnLeft:
      GetTableAccess()->InsertColumnToTheLeft();
      break;
    case psmTableDeleteRow:
      GetTableAccess()->DeleteCurrentRow();
      break;
    case psmTableDeleteColumn:
      GetTableAccess()->DeleteCurrentColumn();
      break;
    case psmTableMoveToCell:
      GetTableAccess()->MoveCursorToCell(m.X, m.Y);
      break;
    case psmTableDelete: {
      TpsChunkElement* start = nullptr;
      TpsChunkElement* end = nullptr;
      GetEnclosingTable(start, end);
      chunk->MoveCursor(end, true);
      chunk->DeleteRange(start, end);
      chunk->EnsureCursorInBlock(events);
      break;
    }
    case psmTableResizeColumn:
    case psmTableResize: {
      TpsChunkElement* marker = chunk->FindMarker(p1);
      PS_ASSERT(marker);
      TpsChunkElement* start = chunk->FindEnclosingTag(htmldoc::TAG_TABLE, htmldoc::ttOpening, marker, false);
      PS_ASSERT(start);
      TpsChunkElement* end = chunk->FindPartnerTag(start, nullptr);
      PS_ASSERT(end);
      htmldoc::TpsTableDataAccess table(chunk, start, end, Editor ? Editor->StyleSheet() : nullptr, false);
      if (m.Id == psmTableResizeColumn)
        table.ResizeColumn(m.Value, m.Value2, m.Value3);
      else
        table.ResizeTable(m.Value, m.Value2, m.Value4, m.Value3);
      break;
    }
    default:
      return false;
  }
  return true;
}

void TpsDocumentNode::InsertText(TpsMessage& m) {
  TpsDataChunk& chunk = *EditChunk;
  FocusScope focus(chunk, chunk.FocusCursorBlock());
  const bool multipleSpaces = Editor && Editor->AllowMultipleSpaces();
  WideString text = htmldoc::CollapseBlanksW(m.WideText);
  if (!text.empty() && IsTextBlank(text.front()) && chunk.IsBlankBeforeCursor()) {
    if (multipleSpaces)
      text.front() = kNbsp;
    else
      text.erase(0, 1);
  }
  if (TpsChunkElement* after = chunk.GetCharacterNextToCursor(false, false);
      !text.empty() && TpsDataChunk::IsSpaceOrTab(after)) {
    if (text.size() == 1 && IsTextBlank(text.front())) {
      if (multipleSpaces) {
        text.front() = kNbsp;
      } else {
        chunk.MoveCursor(after, true);
        text.clear();
      }
    } else if (IsTextBlank(text.back())) {
      text.pop_back();
    }
  }
  if (multipleSpaces && !text.empty() && IsTextBlank(text.front()) && !chunk.GetCharacterNextToCursor(true, false))
    text.front() = kNbsp;
  const Integer tabWidth = std::max<Integer>(Editor ? Editor->TabStops() : 1, 1);
  WideString expanded;
  for (WideChar c : text) {
    if (c == u'\t')
      expanded.append(static_cast<size_t>(tabWidth), kNbsp);
    else
      expanded.push_back(c);
  }
  if (!expanded.empty()) chunk.InsertTextAtCursor(expanded, m.Result);
}

void TpsDocumentNode::DeleteWord(bool aBackward) {
  TpsDataChunk& chunk = *EditChunk;
  FocusScope focus(chunk, chunk.FocusCursorBlock());
  const auto next = [&]() { return chunk.GetCharacterNextToCursor(aBackward, false); };
  while (TpsChunkElement* c = next()) {
    if (TpsDataChunk::IsWordCharacterElement(c)) break;
    chunk.RemoveElement(c, true);
  }
  while (TpsChunkElement* c = next()) {
    if (!TpsDataChunk::IsWordCharacterElement(c)) break;
    chunk.RemoveElement(c, true);
  }
}

void TpsDocumentNode::DeleteCharacter(bool aForward) {
  TpsDataChunk& chunk = *EditChunk;
  if (chunk.IsCursorAtLineBreak(aForward, false)) {
    chunk.DeleteLineBreakNearCursor(aForward);
    return;
  }
  if (TpsChunkElement* image = chunk.GetImageNextToCursor(aForward)) {
    // Anchored on the image's far side, the cursor keeps its place when the
    // image goes.
    chunk.MoveCursor(image, aForward);
    chunk.RemoveElement(image, true);
  } else if (aForward) {
    chunk.DeleteCharacterAfterCursor();
  } else {
    chunk.DeleteCharacterBeforeCursor();
  }
  TpsChunkElement* before = nullptr;
  TpsChunkElement* after = nullptr;
  if (chunk.GetBlanksAroundCursor(before, after)) chunk.RemoveElement(after, true);
  TpsChunkElement* open = nullptr;
  TpsChunkElement* close = nullptr;
  if (chunk.FindEmptyTagPairAtCursor(htmldoc::TAG_CUST, open, close)) {
    chunk.RemoveElement(open, true);
    chunk.RemoveElement(close, true);
  }
}

void TpsDocumentNode::DeleteMarkedBlock(Integer aBlockMarker, Integer aCursorMarker) {
  TpsDataChunk& chunk = *EditChunk;
  bool empty = false;
  bool holdsCursor = false;
  {
    FocusScope focus(chunk, chunk.FocusMarkedBlock(aBlockMarker));
    empty = !chunk.HasNonBlankCharacter();
    for (TpsChunkElement* e = chunk.First(); empty && e; e = e == chunk.Last() ? nullptr : e->Next)
      if (TpsDataChunk::IsImageTag(e)) empty = false;
    holdsCursor = chunk.HasCursor();
  }
  if (empty) {
    // The block is going: the cursor waits right after the other marker.
    if (holdsCursor && chunk.FindMarker(aCursorMarker)) chunk.MoveCursorToMarker(aCursorMarker, false, true);
    chunk.DeleteMarkedBlock(aBlockMarker);
  }
  chunk.RemoveMarker(aCursorMarker);
}

void TpsDocumentNode::IndentListItem(TpsMessage& m) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* close = nullptr;
  TpsChunkElement* open = BlockAroundMarker(chunk, m.GetParam(1), close);
  if (TpsDataChunk::TagCodeOf(open) != htmldoc::TAG_LI) return;
  TpsChunkElement* previous = open->Prev ? chunk.FindBlockTag(open->Prev, false) : nullptr;
  if (!previous || !TpsDataChunk::IsTag(previous, htmldoc::TAG_LI, htmldoc::ttClosing)) return;
  const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
  // The item becomes part of the one before it.
  chunk.MoveElementAfter(previous, close);
  if (TpsChunkElement* listEnd = chunk.FindAdjacentBlockBefore(open->Prev, m.TagCode))
    chunk.DeleteRange(listEnd, open->Prev);
  else
    chunk.InsertTag(NewTag(events, m.TagCode, htmldoc::ttOpening), open, false);
  chunk.InsertTag(NewTag(events, m.TagCode, htmldoc::ttClosing), close, true);
}

void TpsDocumentNode::OutdentListItem(Integer aMarker) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* close = nullptr;
  TpsChunkElement* open = BlockAroundMarker(chunk, aMarker, close);
  if (TpsDataChunk::TagCodeOf(open) != htmldoc::TAG_LI) return;
  TpsChunkElement* list = chunk.GetParentBlockStart(open);
  if (!list || !htmldoc::IsListCode(TpsDataChunk::TagCodeOf(list))) return;
  TpsChunkElement* outer = chunk.GetParentBlockStart(list);
  if (TpsDataChunk::TagCodeOf(outer) != htmldoc::TAG_LI) return;
  TpsChunkElement* listClose = chunk.FindPartnerTag(list, nullptr);
  TpsChunkElement* outerClose = chunk.FindPartnerTag(outer, nullptr);
  PS_ASSERT(listClose && outerClose);
  const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
  const Byte listCode = TpsDataChunk::TagCodeOf(list);
  if (close->Next != listClose) {
    // The following siblings go along in a list of their own.
    TpsChunkElement* first = close->Next;
    TpsChunkElement* last = listClose->Prev;
    TpsChunkElement* subOpen = chunk.InsertTag(NewTag(events, listCode, htmldoc::ttOpening), first, false);
    TpsChunkElement* subClose = chunk.InsertTag(NewTag(events, listCode, htmldoc::ttClosing), last, true);
    chunk.MoveRange(subOpen, subClose, close, false);
  }
  if (list->Next == open && close->Next == listClose) {
    chunk.RemoveElement(list, true);
    chunk.RemoveElement(listClose, true);
  }
  chunk.MoveRange(open, close, outerClose, true);
}

void TpsDocumentNode::SetListTag(Integer aMarker, Byte aTagCode) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* close = nullptr;
  TpsChunkElement* open = BlockAroundMarker(chunk, aMarker, close);
  const Byte code = TpsDataChunk::TagCodeOf(open);
  if (code == htmldoc::TAG_TD || code == htmldoc::TAG_TH) {
    const htmldoc::TpsHtmlTagEventsRef events = Editor ? Editor->DocumentEvents() : nullptr;
    open = chunk.InsertTag(NewTag(events, aTagCode, htmldoc::ttOpening), open, true);
    close = chunk.InsertTag(NewTag(events, aTagCode, htmldoc::ttClosing), close, false);
  } else if (code != aTagCode) {
    open->Tag->SetTagCode(aTagCode);
    close->Tag->SetTagCode(aTagCode);
    open->Tag->RemoveClass();
    open->Tag->SetStyleAttributeId(-1);
  }
  // Joined with a block of the same code on either side.
  if (TpsChunkElement* before = chunk.FindAdjacentBlockBefore(open->Prev, aTagCode)) chunk.DeleteRange(before, open);
  if (TpsChunkElement* after = chunk.FindAdjacentBlockAfter(close->Next, aTagCode)) chunk.DeleteRange(close, after);
}

void TpsDocumentNode::SetAlignmentOfSelectedBlocks(Byte aAlignment) {
  TpsDataChunk& chunk = *EditChunk;
  std::vector<TpsChunkElement*> blocks;
  std::set<TpsChunkElement*> seen;
  for (TpsChunkElement* e = chunk.First(); e; e = e->Next) {
    if (!e->Selected) continue;
    TpsChunkElement* start = chunk.GetBlockStart(e);
    if (start && seen.insert(start).second) blocks.push_back(start);
  }
  for (TpsChunkElement* start : blocks) {
    FocusScope focus(chunk, chunk.FocusBlock(start));
    SetBlockAlignment(aAlignment);
  }
}

void TpsDocumentNode::SetSelectedListTag(Byte aTagCode) {
  TpsDataChunk& chunk = *EditChunk;
  for (TpsChunkElement* e = chunk.First(); e; e = e->Next) {
    if (!e->Selected || !TpsDataChunk::IsTag(e, htmldoc::TAG_LI, htmldoc::ttOpening)) continue;
    TpsChunkElement* list = chunk.GetParentBlockStart(e);
    const Byte code = TpsDataChunk::TagCodeOf(list);
    if ((code != htmldoc::TAG_UL && code != htmldoc::TAG_OL) || code == aTagCode) continue;
    TpsChunkElement* listClose = chunk.FindPartnerTag(list, nullptr);
    PS_ASSERT(listClose);
    list->Tag->SetTagCode(aTagCode);
    listClose->Tag->SetTagCode(aTagCode);
  }
}

}  // namespace htmlview
