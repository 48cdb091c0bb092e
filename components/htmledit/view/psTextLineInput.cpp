// The text line that holds the cursor turns keys, mouse input and the
// queries of the editor into cursor moves inside its own list, cursor
// hand-overs to the neighbouring lines and editing transactions (the
// builders of psTextEditing decide which; the line gathers the facts of the
// cursor's place from a copy of its block's list and runs the queue).
#include <algorithm>
#include <set>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psSmartTagView.h"
#include "htmledit/view/psTableNodes.h"
#include "htmledit/view/psTextEditing.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextQueries.h"
#include "htmledit/view/psTextWalk.h"
#include "rtl/Clock.h"
#include "vcl/WinApi.h"

namespace htmlview {

namespace {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

bool ShiftHeld(const TpsMessage& m) { return (m.Shift & ssShiftBit) != 0; }
bool CtrlHeld(const TpsMessage& m) { return (m.Shift & ssCtrlBit) != 0; }

// The first ancestor of aWindow (itself included) that is a table cell.
TpsTableCellNode* EnclosingCell(TpsWindow* aWindow) {
  for (TpsWindow* w = aWindow; w; w = w->GetParent())
    if (auto* cell = dynamic_cast<TpsTableCellNode*>(w)) return cell;
  return nullptr;
}

TpsTableNode* EnclosingTable(TpsWindow* aWindow) {
  for (TpsWindow* w = aWindow; w; w = w->GetParent())
    if (auto* table = dynamic_cast<TpsTableNode*>(w)) return table;
  return nullptr;
}

bool IsListAncestor(TpsWindow* aFrom) {
  bool ordered = false;
  for (TpsWindow* w = aFrom; w; w = w->GetParent())
    if (TpsDocumentNode::IsListNode(w, ordered)) return true;
  return false;
}

// The block copy's cursor; its elements keep the ids of the lines'.
struct BlockCopy {
  std::unique_ptr<TpsDataChunk> Chunk;
  TpsChunkElement* Cursor = nullptr;
};

BlockCopy CopyOfBlock(TpsWindow* aBlock) {
  BlockCopy copy;
  if (auto* block = dynamic_cast<TpsDocumentNode*>(aBlock)) copy.Chunk = block->GetChunk(true);
  if (copy.Chunk) copy.Cursor = copy.Chunk->GetCursor();
  return copy;
}

bool IsBreak(const TpsChunkElement* e) {
  return e && e->Kind == htmldoc::ceTag && TpsDataChunk::TagCodeOf(e) == htmldoc::TAG_BR &&
         e->Tag->GetTagType() != htmldoc::ttClosing;
}

// A non-blank character between the cursor and the nearest block tag
// before (or after) it.
bool NonBlankToBlockTag(const TpsChunkElement* aCursor, bool aForward) {
  for (const TpsChunkElement* e = aForward ? aCursor->Next : aCursor->Prev; e; e = aForward ? e->Next : e->Prev) {
    if (TpsDataChunk::IsBlockTag(e)) return false;
    if (TpsDataChunk::IsNonBlankCharacter(e)) return true;
  }
  return false;
}

bool AnyCharacter(const TpsChunkElement* aFrom, bool aForward) {
  for (const TpsChunkElement* e = aFrom; e; e = aForward ? e->Next : e->Prev)
    if (e->Kind == htmldoc::ceChar) return true;
  return false;
}

bool HasNonBlank(const TpsDataChunk& aChunk) {
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next)
    if (TpsDataChunk::IsNonBlankCharacter(e)) return true;
  return false;
}

AnsiString BlockClass(TpsWindow* aBlock) {
  auto* node = dynamic_cast<TpsDocumentNode*>(aBlock);
  if (!node) return "";
  // The block's tag is the first element of its list.
  std::unique_ptr<TpsDataChunk> copy = node->GetChunk(true);
  const TpsChunkElement* first = copy ? copy->First() : nullptr;
  if (first && first->Kind == htmldoc::ceTag) return first->Tag->GetAttribute("class");
  return "";
}

bool IsEmptyBlock(TpsWindow* aBlock) {
  auto* node = dynamic_cast<TpsDocumentNode*>(aBlock);
  if (!node) return true;
  std::unique_ptr<TpsDataChunk> copy = node->GetChunk(true);
  return !HasNonBlank(*copy);
}

}  // namespace

// --- Caret geometry ---

TpsSelectionRange TpsTextNode::CaretPosition() {
  TpsSelectionRange p;
  TpsChunkElement* cursor = FLineChunk ? FLineChunk->GetCursor() : nullptr;
  if (!cursor) return p;
  if (cursor->Prev) {
    p.StartNode = this;
    p.StartElementID = cursor->Prev->Id;
  }
  if (cursor->Next) {
    p.EndNode = this;
    p.EndElementID = cursor->Next->Id;
  }
  return p;
}

// The element each item stands for: a text item's character, an object
// item's embedded node element in the line list.
htmldoc::TpsChunkElement* TpsTextNode::ItemElement(Integer aIndex) {
  const TpsLineItem& item = FItems.GetItem(aIndex);
  if (item.Kind == loText) return item.Element;
  if (!FLineChunk) return nullptr;
  for (TpsChunkElement* e = FLineChunk->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceNode &&
        e->Node == static_cast<htmldoc::TpsEmbeddedNode*>(static_cast<TpsWindow*>(item.Node)))
      return e;
  return nullptr;
}

TpsRect TpsTextNode::CaretRect() {
  const TpsPoint origin = GetOffsetFromRoot();
  TpsChunkElement* cursor = FLineChunk ? FLineChunk->GetCursor() : nullptr;
  if (!cursor || FItems.Count() == 0) {
    if (FEmptyLineCaret.Left >= 0)
      return {FEmptyLineCaret.Left + origin.X, FEmptyLineCaret.Top + origin.Y, FEmptyLineCaret.Right + origin.X,
              FEmptyLineCaret.Bottom + origin.Y};
    return {origin.X, origin.Y, origin.X + 1, origin.Y + std::max<Integer>(Height, 1) - 1};
  }
  // n: the items (characters, non-breaking spaces and inline images) before
  // the cursor; b: the spaces and tabs, which have no item, directly before
  // it.
  std::set<const TpsChunkElement*> before;
  for (TpsChunkElement* e = FLineChunk->First(); e && e != cursor; e = e->Next) before.insert(e);
  Integer n = 0;
  for (Integer i = 0; i < FItems.Count(); ++i)
    if (before.count(ItemElement(i))) ++n;
  Integer b = 0;
  for (TpsChunkElement* e = cursor->Prev; e && TpsDataChunk::IsSpaceOrTab(e); e = e->Prev) ++b;
  Integer index;
  Integer x;
  if (b > 0 && n < FItems.Count()) {
    index = n;
    x = FItems.GetItem(n).X;
  } else if (b > 0) {
    // After the line's last item: one space further, whatever the count.
    index = FItems.Count() - 1;
    const TpsLineItem& last = FItems.GetItem(index);
    x = last.X + last.Width + std::max<Integer>(FSpaceWidth, 1);
  } else if (n > 0) {
    index = n - 1;
    const TpsLineItem& item = FItems.GetItem(index);
    x = item.X + item.Width;
  } else {
    index = 0;
    x = FItems.GetItem(0).X;
  }
  const TpsLineItem& item = FItems.GetItem(index);
  // Kept inside the line, which blanks past its end would leave.
  x = std::min(x, std::max<Integer>(Width - 1, 0));
  const Integer bottom = item.Y + std::max<Integer>(item.Height, 1) - 1;
  return {origin.X + x, origin.Y + item.Y, origin.X + x + 1, origin.Y + bottom};
}

bool TpsTextNode::HitTestCharacter(Integer aX, TpsChunkElement*& aElement, bool& aBefore) {
  aElement = nullptr;
  aBefore = false;
  Integer best = -1;
  Integer bestDistance = 0;
  for (Integer i = 0; i < FItems.Count(); ++i) {
    const TpsLineItem& item = FItems.GetItem(i);
    if (item.Kind != loText || !item.Element) continue;
    const Integer distance = std::abs(aX - (item.X + item.Width / 2));
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  if (best < 0) return false;
  const TpsLineItem& item = FItems.GetItem(best);
  aElement = item.Element;
  aBefore = aX < item.X + item.Width / 2;
  return true;
}

TpsChunkElement* TpsTextNode::FindCharacterAtX(Integer aX, bool aStrict) {
  TpsChunkElement* element = nullptr;
  bool before = false;
  if (!HitTestCharacter(aX, element, before)) return nullptr;
  if (aStrict)
    for (Integer i = 0; i < FItems.Count(); ++i) {
      const TpsLineItem& item = FItems.GetItem(i);
      if (item.Kind != loText || item.Element != element) continue;
      if (aX < item.X - item.Width || aX >= item.X + 2 * item.Width) return nullptr;
      break;
    }
  return element;
}

bool TpsTextNode::IsLinkAtX(Integer aX) {
  TpsChunkElement* element = FindCharacterAtX(aX, true);
  if (!element) return false;
  // Links may open in an earlier line of the block: the block's list tells.
  auto* block = dynamic_cast<TpsDocumentNode*>(GetParent());
  std::unique_ptr<TpsDataChunk> copy = block ? block->GetChunk(true) : nullptr;
  TpsChunkElement* same = copy ? copy->FindElementById(element->Id) : nullptr;
  return same && copy->FindEnclosingTag(htmldoc::TAG_A, htmldoc::ttOpening, same, false);
}

bool TpsTextNode::PlaceCursorAtX(Integer aX) {
  if (!FLineChunk) return false;
  TpsDataChunk& chunk = *FLineChunk;
  TpsChunkElement* element = nullptr;
  bool before = false;
  if (!HitTestCharacter(aX, element, before)) {
    // A line without text (empty, or pictures only) takes the cursor at its
    // end, so that a click there still places the caret.
    if (!chunk.TryMoveCursorToEnd()) chunk.MoveCursorToEnd();
    return true;
  }
  chunk.MoveCursor(element, !before);
  TpsChunkElement* cursor = chunk.GetCursor();
  if (!cursor) return true;
  if (!AnyCharacter(cursor->Prev, false)) chunk.MoveCursorBackOverCustomTags();
  cursor = chunk.GetCursor();
  bool textAfter = false;
  for (const TpsChunkElement* e = cursor ? cursor->Next : nullptr; e && !textAfter; e = e->Next)
    textAfter = e->Kind == htmldoc::ceChar && !TpsDataChunk::IsSpaceOrTab(e);
  if (!textAfter) chunk.MoveCursorForwardOverCustomTags();
  return true;
}

// --- Messages ---

void TpsTextNode::TakeFocusAndCaret(bool aScroll) {
  if (TpsWindowManager* manager = GetWindowManager()) manager->SetFocusedNode(this);
  if (Editor) Editor->PlaceCaret(CaretRect(), aScroll);
}

void TpsTextNode::TookCursorFrom(TpsMessage& m) {
  TpsWindow* previous = m.Origin;
  if (previous && previous != this) {
    TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmRemoveCursor, previous);
    PostMessage(std::move(drop), true);
  }
  IpsTextSelection* selection = Editor ? Editor->TextSelection() : nullptr;
  if (selection && ShiftHeld(m) && selection->Selecting()) selection->ExtendTo(CaretPosition());
}

void TpsTextNode::BeforeMove(const TpsMessage& m) {
  if (!Editor) return;
  IpsTextSelection* selection = Editor->TextSelection();
  if (!ShiftHeld(m)) {
    if (selection->Active() || selection->Selecting()) Editor->ClearSelection();
  } else if (!selection->Selecting()) {
    selection->SetAnchor(CaretPosition());
  }
}

void TpsTextNode::AfterMove(const TpsMessage& m, bool aResetColumn) {
  if (aResetColumn) FPreferredColumn = -1;
  TakeFocusAndCaret(true);
  if (!Editor) return;
  IpsTextSelection* selection = Editor->TextSelection();
  if (ShiftHeld(m) && selection->Selecting()) selection->ExtendTo(CaretPosition());
}

void TpsTextNode::RunTransaction(std::vector<TpsMessagePtr> aQueue) {
  if (aQueue.empty()) return;
  TpsWindowManager* manager = GetWindowManager();
  if (!manager) return;
  TpsWindow* block = GetParent();
  for (TpsMessagePtr& m : aQueue) {
    if (!m->ToRoot) m->Target = block;
    manager->PostMessage(std::move(m));
  }
  manager->ProcessMessages();
}

bool TpsTextNode::IsCursorInLink() {
  BlockCopy copy = CopyOfBlock(GetParent());
  return copy.Cursor && copy.Chunk->FindEnclosingTag(htmldoc::TAG_A, htmldoc::ttOpening, copy.Cursor, false);
}

void TpsTextNode::TypeText(const WideString& aText) {
  if (!Editor || Editor->ReadOnly()) return;
  IpsTextSelection* selection = Editor->TextSelection();
  const bool hasSelection = selection->Active();
  const bool toRoot = TypingGoesToRoot(hasSelection, hasSelection && selection->LiesWithin(GetParent()));
  if (!hasSelection && selection->Selecting()) selection->ClearAnchor();
  if (!aText.empty() && htmldoc::GetCharClass(aText[0]) != 2) Editor->RequestSmartTagAnalysis();
  RunTransaction(BuildTypingTransaction(aText, hasSelection, toRoot));
}

void TpsTextNode::SelectWordAtCursor() {
  if (!Editor || !FLineChunk || !FLineChunk->HasCursor()) return;
  // The block's lines, in order, with the cursor's line and index.
  TpsWindow* block = GetParent();
  std::vector<TpsTextNode*> lines;
  if (block)
    for (TpsWindow* w : block->ChildList())
      if (auto* line = dynamic_cast<TpsTextNode*>(w)) lines.push_back(line);
  std::vector<TpsWordLine> texts;
  std::vector<std::vector<TpsChunkElement*>> elements;
  Integer cursorLine = -1;
  Integer cursorIndex = -1;
  for (TpsTextNode* line : lines) {
    TpsWordLine text;
    std::vector<TpsChunkElement*> chars;
    for (TpsChunkElement* e = line->FLineChunk ? line->FLineChunk->First() : nullptr; e; e = e->Next) {
      if (e->Kind == htmldoc::ceCursor && line == this) {
        cursorLine = static_cast<Integer>(texts.size());
        cursorIndex = static_cast<Integer>(chars.size());
      }
      if (e->Kind != htmldoc::ceChar) continue;
      text.Text += e->Char;
      chars.push_back(e);
    }
    texts.push_back(std::move(text));
    elements.push_back(std::move(chars));
  }
  TpsWordPosition start, end;
  if (!SelectWordAcrossLines(texts, cursorLine, cursorIndex, start, end)) return;
  TpsSelectionRange range;
  range.StartNode = lines[static_cast<size_t>(start.Line)];
  range.StartElementID = elements[static_cast<size_t>(start.Line)][static_cast<size_t>(start.Index)]->Id;
  range.EndNode = lines[static_cast<size_t>(end.Line)];
  range.EndElementID = elements[static_cast<size_t>(end.Line)][static_cast<size_t>(end.Index)]->Id;
  Editor->TextSelection()->SetRange(range);
}

namespace {

bool IsSmartTagTraffic(Integer aId) {
  switch (aId) {
    case psmIsBlockNode:
    case psmCollectSmartTagText:
    case psmSetSmartTag:
    case psmClearSmartTags:
    case psmGetSmartTagText:
    case psmFindSmartTag:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TpsTextNode::HandleMessage(TpsMessage& m) {
  if (m.Kind == mrCommand && (!m.Target || m.Target == this) && m.Id == psmIsTextNode) {
    AnswerTextNodeQuery(this, m);
    return;
  }
  TpsDocumentNode::HandleMessage(m);
  if (m.IsHandled() || (m.Target && m.Target != this)) return;
  TpsWindowManager* manager = GetWindowManager();
  const Integer id = WindowId;
  const bool heldCursor = FLineChunk && FLineChunk->HasCursor();
  IpsEditorHost* editor = Editor;
  switch (m.Kind) {
    case mrFocused:
      // A key the line acted on is not offered further.
      if (HandleKey(m) && !m.IsHandled()) m.MarkHandled(nullptr);
      break;
    case mrPositional:
      HandleMouse(m);
      break;
    default:
      if (!HandleQuery(m)) AnswerTextLineQuery(*this, m);
      break;
  }
  // The line may have gone with a relayout its message caused.
  if (!manager || !manager->IsLiveWindowId(id) || Destroyed) return;
  // The smart-tag threads read and mark lines through these while the user
  // works; the tidy below edits the page and reports a change, which must
  // come from the user's own edits, on the user's thread, in an undo step.
  if (m.Kind == mrCommand && IsSmartTagTraffic(m.Id)) return;
  if (FLineChunk) {
    // Inline pairs emptied by the edit go, a named anchor stays.
    const bool removed = FLineChunk->RemoveEmptyInlineTagPairs(
        [](TpsDataChunk*, TpsChunkElement* aOpen, bool& aRemove, TpsChunkElement*) {
          if (TpsDataChunk::TagCodeOf(aOpen) == htmldoc::TAG_A && aOpen->Tag->HasAttribute("name")) aRemove = false;
        });
    if (removed) PostMessage(TpsMessage::CreateToRoot(mrCommand, psmDocumentChanged, true), false);
  }
  if (heldCursor && !(FLineChunk && FLineChunk->HasCursor()) && editor) editor->RequestSmartTagAnalysis();
}

// --- Kind 0: keys and commands ---

bool TpsTextNode::HandleKey(TpsMessage& m) {
  // Hands the cursor to the line before or after this one; whether a line
  // took it.
  const auto handOver = [&](Integer aId, bool aForward) {
    TpsMessage take(mrCommand, aId, nullptr);
    take.AutoFree = false;
    take.Origin = this;
    take.Shift = m.Shift;
    if (aForward)
      SendToFollowingWindows(take);
    else
      SendToPrecedingWindows(take);
    return take.IsHandled();
  };
  IpsEditorHost* editor = Editor;
  if (!editor || !FLineChunk) return false;
  TpsDataChunk& chunk = *FLineChunk;
  switch (m.Id) {
    case psmRepaintBlock:
      if (TpsWindowManager* manager = GetWindowManager()) {
        manager->InvalidateWindow(GetParent(), false);
        manager->PaintInvalidatedWindows();
      }
      break;
    case psmSelectAll:
      editor->SelectAll();
      break;
    case psmSelectBlock:
      if (editor->TextSelection()->Active()) {
        editor->ClearSelection();
      } else {
        TpsSelectionRange range;
        TpsMessage query(mrCommand, psmGetBlockRange, GetParent());
        query.AutoFree = false;
        query.Data = &range;
        if (GetParent()) GetParent()->HandleMessage(query);
        if (IsSelectionRangeValid(range)) editor->TextSelection()->SetRange(range);
      }
      break;
    case psmSelectTextRun:
      if (editor->TextSelection()->Active()) {
        editor->ClearSelection();
      } else if (!chunk.IsEmpty()) {
        TpsChunkElement* first = chunk.First();
        TpsChunkElement* last = chunk.Last();
        if (first->Kind == htmldoc::ceCursor) first = first->Next;
        if (last && last->Kind == htmldoc::ceCursor) last = last->Prev;
        if (first && last) editor->TextSelection()->SetRange({this, first->Id, this, last->Id});
      }
      break;
    case psmJumpToNextTextNode:
    case psmJumpToPreviousTextNode: {
      IpsTextSelection* selection = editor->TextSelection();
      if (!selection->Selecting()) selection->SetAnchor(CaretPosition());
      if (TpsChunkElement* cursor = chunk.GetCursor()) chunk.RemoveElement(cursor, true);
      TpsMessage jump(mrCommand, m.Id == psmJumpToNextTextNode ? psmJumpCursorToStart : psmJumpCursorToEnd, nullptr);
      jump.AutoFree = false;
      jump.Shift = ssShiftBit;
      TpsWindow* block = GetParent() ? GetParent() : this;
      if (m.Id == psmJumpToNextTextNode)
        block->SendToFollowingWindows(jump, -1, true);
      else
        block->SendToPrecedingWindows(jump, -1, true);
      break;
    }
    case psmKeyEnter:
      editor->RequestSmartTagAnalysis();
      KeyEnter(m);
      break;
    case psmShiftEnter:
      if (editor->ReadOnly()) break;
      editor->SaveUndoSnapshot();
      RunTransaction(BuildLineBreakTransaction(false));
      break;
    case psmKeyTab:
    case psmKeyShiftTab:
      KeyTab(m, m.Id == psmKeyShiftTab);
      break;
    case psmKeyLeft:
      BeforeMove(m);
      if (chunk.MoveCursorLeft()) {
        AfterMove(m, true);
      } else if (chunk.HasEmbeddedNodeBeforeCursor()) {
        chunk.MoveCursorBeforeEmbeddedNode();
        AfterMove(m, true);
      } else {
        handOver(psmTakeCursorAtEnd, false);
      }
      break;
    case psmKeyRight:
      BeforeMove(m);
      if (chunk.MoveCursorRight()) {
        AfterMove(m, true);
      } else {
        if (!handOver(psmTakeCursorAtStart, true)) AfterMove(m, true);
      }
      break;
    case psmKeyUp:
    case psmKeyDown:
      KeyUpDown(m, m.Id == psmKeyDown);
      break;
    case psmKeyHome:
      BeforeMove(m);
      chunk.MoveCursorToStart();
      AfterMove(m, true);
      break;
    case psmKeyEnd:
      BeforeMove(m);
      if (!chunk.TryMoveCursorToEnd()) chunk.MoveCursorToEnd();
      AfterMove(m, true);
      break;
    case psmKeyBackspace:
      KeyBackspace(m);
      break;
    case psmKeyDelete:
      KeyDelete(m);
      break;
    case psmInsertTypedText:
      TypeText(m.WideText);
      break;
    case psmKeyWordLeft:
      BeforeMove(m);
      if (chunk.MoveCursorWordLeft()) {
        AfterMove(m, true);
      } else {
        if (!handOver(psmTakeCursorWordLeft, false)) AfterMove(m, true);
      }
      break;
    case psmKeyWordRight: {
      BeforeMove(m);
      bool moved = false;
      if (chunk.MoveCursorWordRight(moved)) {
        AfterMove(m, true);
        break;
      }
      if (moved) {
        TpsWindow* next = FollowingTextNode(this);
        if (!next || next->GetParent() != GetParent()) {
          AfterMove(m, true);
          break;
        }
      }
      if (!handOver(psmTakeCursorAtStart, true) && moved) AfterMove(m, true);
      break;
    }
    case psmKeyDocumentStart:
    case psmKeyDocumentEnd:
      KeyDocumentEdge(m, m.Id == psmKeyDocumentEnd);
      break;
    case psmKeyPageUp:
    case psmKeyPageDown:
      KeyPage(m, m.Id == psmKeyPageDown);
      break;
    default:
      return false;
  }
  return true;
}

void TpsTextNode::KeyUpDown(TpsMessage& m, bool aDown) {
  IpsEditorHost* editor = Editor;
  if (FPreferredColumn == -1) FPreferredColumn = CaretRect().Left;
  const Integer column = FPreferredColumn;
  const Integer left = GetAbsoluteLeft();
  const Integer right = GetAbsoluteRight();
  auto offer = [&](TpsMessage& aOffer) {
    if (aDown)
      SendToFollowingWindows(aOffer, column, false, left, right);
    else
      SendToPrecedingWindows(aOffer, column, false, left, right);
  };
  TpsTableCellNode* cell = dynamic_cast<TpsTableCellNode*>(GetParent());
  TpsTableNode* table = cell ? EnclosingTable(cell) : nullptr;
  if (table && table->GetParent() && !table->GetParent()->IsRoot()) {
    TpsMessage probe(mrCommand, psmQueryLineAtColumn, nullptr);
    probe.AutoFree = false;
    probe.X = column;
    probe.Origin = this;
    probe.Shift = m.Shift;
    offer(probe);
    TpsWindow* answer = probe.IsHandled() ? probe.ConsumedBy : nullptr;
    if (!answer || !table->GetParent()->IsAncestorOf(answer)) {
      // No line beyond the table within its block: a place for the caret
      // is made right next to the table.
      BlockCopy copy = CopyOfBlock(GetRoot());
      if (copy.Cursor) {
        TpsChunkElement* open =
            copy.Chunk->FindEnclosingTag(htmldoc::TAG_TABLE, htmldoc::ttOpening, copy.Cursor, false);
        TpsChunkElement* close = open ? copy.Chunk->FindPartnerTag(open, nullptr) : nullptr;
        if (open && close) {
          FLineChunk->RemovePlaceholders();
          editor->ClearSelection();
          m.MarkHandled(this);
          RunTransaction(BuildTableEdgeTransaction(aDown ? close->Id : open->Id, aDown));
          return;
        }
      }
    }
  }
  BeforeMove(m);
  TpsMessage take(mrCommand, psmTakeCursorAtColumn, nullptr);
  take.AutoFree = false;
  take.X = column;
  take.Origin = this;
  take.Shift = m.Shift;
  offer(take);
  if (!take.IsHandled()) {
    if (aDown)
      editor->ScrollToBottom();
    else
      editor->ScrollToTop();
    return;
  }
  if (FLineChunk && FLineChunk->RemovePlaceholders()) editor->RequestRelayout();
}

void TpsTextNode::KeyPage(TpsMessage& m, bool aDown) {
  IpsEditorHost* editor = Editor;
  const TpsRect caret = CaretRect();
  const TpsPoint originBefore = editor->ScrollOrigin();
  const bool scrolled = aDown ? editor->ScrollPageDown() : editor->ScrollPageUp();
  if (!scrolled) {
    KeyDocumentEdge(m, aDown);
    return;
  }
  // The caret keeps its place in the client: its document y moved with
  // the view.
  const TpsPoint originAfter = editor->ScrollOrigin();
  const Integer y = caret.Top - originBefore.Y + originAfter.Y;
  auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot());
  TpsWindow* target = root ? root->NearestTextNodeByY(y) : nullptr;
  if (target == this) target = aDown ? FollowingTextNode(this) : PrecedingTextNode(this);
  if (!target) return;
  BeforeMove(m);
  if (TpsChunkElement* cursor = FLineChunk->GetCursor()) FLineChunk->RemoveElement(cursor, true);
  TpsMessage take(mrCommand, psmTakeCursorAtColumn, target);
  take.AutoFree = false;
  take.X = caret.Left;
  take.Shift = m.Shift;
  target->HandleMessage(take);
}

void TpsTextNode::KeyDocumentEdge(TpsMessage& m, bool aEnd) {
  IpsEditorHost* editor = Editor;
  if (!aEnd) editor->ScrollToTop();
  BeforeMove(m);
  TpsWindow* neighbour = aEnd ? FollowingTextNode(this) : PrecedingTextNode(this);
  if (!neighbour) {
    if (aEnd) {
      if (!FLineChunk->TryMoveCursorToEnd()) FLineChunk->MoveCursorToEnd();
    } else {
      FLineChunk->MoveCursorToStart();
    }
    AfterMove(m, true);
  } else {
    if (TpsChunkElement* cursor = FLineChunk->GetCursor()) FLineChunk->RemoveElement(cursor, true);
    TpsMessage jump(mrCommand, aEnd ? psmJumpCursorToEnd : psmJumpCursorToStart, nullptr);
    jump.AutoFree = false;
    jump.Shift = m.Shift;
    if (TpsWindow* root = GetRoot()) {
      if (aEnd)
        root->SendToPrecedingWindows(jump);
      else
        root->SendToFollowingWindows(jump);
    }
  }
  if (aEnd) editor->ScrollToBottom();
}

void TpsTextNode::KeyEnter(TpsMessage& m) {
  IpsEditorHost* editor = Editor;
  if (editor->ReadOnly()) return;
  TpsWindow* block = GetParent();
  BlockCopy copy = CopyOfBlock(block);
  if (!copy.Cursor) return;
  TpsDataChunk& blockChunk = *copy.Chunk;
  IpsTextSelection* selection = editor->TextSelection();
  TpsEnterFacts f;
  f.InTableCell = dynamic_cast<TpsTableCellNode*>(block) != nullptr;
  f.InCustomTag = blockChunk.FindEnclosingTag(htmldoc::TAG_CUST, htmldoc::ttOpening, copy.Cursor, false) != nullptr;
  f.InEmptyListItem = TpsDocumentNode::IsListItemNode(block) && !HasNonBlank(blockChunk);
  f.AllowMultipleEmptyBlocks = editor->AllowMultipleEmptyBlocks();
  f.BlockHasText = HasNonBlank(blockChunk);
  f.CursorInLink = blockChunk.FindEnclosingTag(htmldoc::TAG_A, htmldoc::ttOpening, copy.Cursor, false) != nullptr;
  f.HasSelection = selection->Active();
  if (f.InCustomTag && !f.HasSelection) {
    // The split point: the element after a run of closing custom tags
    // right after the cursor, or the one before a run of opening ones
    // right before it; it must lie in no other custom tag.
    TpsChunkElement* e = copy.Cursor->Next;
    bool sawClosing = false;
    while (e && TpsDataChunk::IsCustomTag(e) && e->Tag->GetTagType() == htmldoc::ttClosing) {
      sawClosing = true;
      e = e->Next;
    }
    TpsChunkElement* split = nullptr;
    if (sawClosing && e) {
      split = e;
      f.CustomSplitAfter = false;
    } else {
      TpsChunkElement* b = copy.Cursor->Prev;
      bool sawOpening = false;
      while (b && TpsDataChunk::IsCustomTag(b) && b->Tag->GetTagType() == htmldoc::ttOpening) {
        sawOpening = true;
        b = b->Prev;
      }
      if (sawOpening && b) {
        split = b;
        f.CustomSplitAfter = true;
      }
    }
    if (split && !blockChunk.FindEnclosingTag(htmldoc::TAG_CUST, htmldoc::ttOpening, split, false))
      f.CustomSplitElementId = split->Id;
  }
  // The event is asked only for a split.
  TpsEnterFacts probe = f;
  if (DecideEnter(probe) == TpsEnterAction::Split) {
    const bool before = AnyCharacter(copy.Cursor->Prev, false);
    const bool after = AnyCharacter(copy.Cursor->Next, true);
    const TpsCursorPosition position = !before ? cpBlockBegin : !after ? cpBlockEnd : cpBlockMiddle;
    const AnsiString current = BlockClass(block);
    f.FirstBlockClass = current;
    f.SecondBlockClass = current;
    bool allow = true;
    editor->SplitBlock(current, position, f.FirstBlockClass, f.SecondBlockClass, allow);
    f.SplitAllowed = allow;
  }
  switch (DecideEnter(f)) {
    case TpsEnterAction::Nothing:
      return;
    case TpsEnterAction::LineBreak:
      editor->SaveUndoSnapshot();
      RunTransaction(BuildLineBreakTransaction(false));
      return;
    case TpsEnterAction::ListItemEnter: {
      editor->SaveUndoSnapshot();
      TpsMessagePtr enter = TpsMessage::Create(mrCommand, psmKeyEnter, block);
      PostMessage(std::move(enter), true);
      return;
    }
    case TpsEnterAction::Split:
      editor->SaveUndoSnapshot();
      if (!f.HasSelection && selection->Selecting()) selection->ClearAnchor();
      RunTransaction(BuildSplitTransaction(f));
      return;
  }
}

void TpsTextNode::KeyBackspace(TpsMessage& m) {
  IpsEditorHost* editor = Editor;
  if (editor->ReadOnly()) return;
  editor->SaveUndoSnapshot();
  TpsWindow* block = GetParent();
  BlockCopy copy = CopyOfBlock(block);
  if (!copy.Cursor) return;
  TpsDeleteFacts f;
  f.HasSelection = editor->TextSelection()->Active();
  f.Ctrl = CtrlHeld(m);
  f.CharacterToDelete = NonBlankToBlockTag(copy.Cursor, false) || IsBreak(copy.Cursor->Prev);
  f.InTableCell = dynamic_cast<TpsTableCellNode*>(block) != nullptr;
  f.InListItem = TpsDocumentNode::IsListItemNode(block);
  bool ordered = false;
  if (f.InListItem) {
    TpsWindow* list = block->GetParent();
    f.ListInAnotherList = list && IsListAncestor(list->GetParent());
    for (TpsWindow* c : block->ChildList())
      if (TpsDocumentNode::IsListNode(c, ordered)) {
        for (TpsWindow* item : c->ChildList())
          if (TpsDocumentNode::IsListItemNode(item)) ++f.NestedListItemCount;
        break;
      }
  }
  f.AncestorIsList = IsListAncestor(block);
  f.CharacterBeforeInBlock = AnyCharacter(copy.Cursor->Prev, false);
  TpsWindow* previousLine = PrecedingTextNode(this);
  f.HasPreviousLine = previousLine != nullptr;
  const TpsDeleteAction action = DecideBackspace(f);
  using enum TpsDeleteAction;
  switch (action) {
    case Nothing:
      return;
    case DecreaseListIndent:
      editor->DecreaseListIndent();
      return;
    case DeleteCharacter: {
      TpsChunkElement* before = copy.Cursor->Prev;
      if (before && (TpsDataChunk::IsBlank(before) || htmldoc::HasSmartTagMark(before->SmartTag)))
        editor->RequestSmartTagAnalysis();
      break;
    }
    case ListItemToParagraph: {
      // Each sub-item of the first nested list gets its marker.
      Integer i = 0;
      for (TpsWindow* c : block->ChildList())
        if (TpsDocumentNode::IsListNode(c, ordered)) {
          for (TpsWindow* item : c->ChildList()) {
            if (!TpsDocumentNode::IsListItemNode(item)) continue;
            TpsWindow* line = FollowingTextNode(item);
            for (TpsWindow* w : item->ChildList())
              if (auto* own = dynamic_cast<TpsTextNode*>(w)) {
                line = own;
                break;
              }
            if (auto* first = dynamic_cast<TpsTextNode*>(line); first && first->FLineChunk)
              first->FLineChunk->PrependMarker(i + 2);
            ++i;
          }
          break;
        }
      break;
    }
    case JoinNestedBlock: {
      auto* previous = static_cast<TpsTextNode*>(previousLine);
      if (previous->FLineChunk) previous->FLineChunk->AppendMarker(1);
      FLineChunk->InsertMarkerAtCursor(2, true);
      break;
    }
    default:
      break;
  }
  RunTransaction(BuildDeleteTransaction(action, f, true));
}

void TpsTextNode::KeyDelete(TpsMessage& m) {
  IpsEditorHost* editor = Editor;
  if (editor->ReadOnly()) return;
  editor->SaveUndoSnapshot();
  TpsWindow* block = GetParent();
  TpsDeleteFacts f;
  f.HasSelection = editor->TextSelection()->Active();
  if (!f.HasSelection && FLineChunk->IsCursorInEmptyInlineTag()) {
    // The empty pair around the cursor goes first.
    TpsChunkElement* cursor = FLineChunk->GetCursor();
    TpsChunkElement* open = cursor->Prev;
    TpsChunkElement* close = cursor->Next;
    if (open && close) {
      FLineChunk->RemoveElement(open, true);
      FLineChunk->RemoveElement(close, true);
    }
  }
  BlockCopy copy = CopyOfBlock(block);
  if (!copy.Cursor) return;
  f.Ctrl = CtrlHeld(m);
  f.CharacterToDelete = NonBlankToBlockTag(copy.Cursor, true) || IsBreak(FLineChunk->Last());
  f.InTableCell = dynamic_cast<TpsTableCellNode*>(block) != nullptr;
  auto* next = static_cast<TpsTextNode*>(FollowingTextNode(this));
  f.HasNextLine = next != nullptr;
  f.InEmptyParagraph = dynamic_cast<TpsParagraphNode*>(block) && !HasNonBlank(*copy.Chunk);
  if (next) {
    f.NextLineInList = IsListAncestor(next->GetParent());
    // A join never crosses a cell's edge; inside one cell it is a join
    // like any other.
    f.NextLineInTable = EnclosingCell(next) != nullptr && EnclosingCell(next) != EnclosingCell(this);
    f.NextLineInOtherBlock = next->GetParent() != block;
  }
  f.FirstBlockClass = BlockClass(block);
  f.MergedClass = f.FirstBlockClass;
  TpsDeleteAction action = DecideDelete(f);
  using enum TpsDeleteAction;
  switch (action) {
    case Nothing:
      return;
    case DeleteCharacter:
      if (FLineChunk->IsBlankAfterCursor()) editor->RequestSmartTagAnalysis();
      break;
    case DeleteEmptyParagraph:
      if (next->FLineChunk && next->FLineChunk->First())
        next->FLineChunk->InsertMarker(2, next->FLineChunk->First(), false);
      FLineChunk->InsertMarkerAtCursor(1, true);
      break;
    case JoinNextBlock:
      if (f.NextLineInOtherBlock)
        editor->MergeBlocks(f.FirstBlockClass, IsEmptyBlock(block), BlockClass(next->GetParent()),
                            IsEmptyBlock(next->GetParent()), f.MergedClass);
      if (next->FLineChunk && next->FLineChunk->First())
        next->FLineChunk->InsertMarker(1, next->FLineChunk->First(), false);
      else if (next->FLineChunk)
        next->FLineChunk->AppendMarker(1);
      FLineChunk->InsertMarkerAtCursor(2, true);
      break;
    default:
      break;
  }
  RunTransaction(BuildDeleteTransaction(action, f, false));
}

void TpsTextNode::KeyTab(TpsMessage& m, bool aBackward) {
  IpsEditorHost* editor = Editor;
  if (editor->ReadOnly()) return;
  if (TpsTableCellNode* cell = EnclosingCell(this)) {
    auto* row = dynamic_cast<TpsTableRowNode*>(cell->GetParent());
    TpsTableNode* table = row ? EnclosingTable(row) : nullptr;
    if (!table) return;
    editor->ClearSelection();
    TpsTablePlace place;
    place.RowCount = table->GetRowCount();
    for (Integer r = 0; r < place.RowCount; ++r)
      if (table->GetRow(r) == row) place.Row = r;
    place.Column = row->IndexOfChild(cell);
    place.CellCount = row->ChildCount();
    if (place.Row > 0) place.PreviousRowCellCount = table->GetRow(place.Row - 1)->ChildCount();
    RunTransaction(BuildTableTabTransaction(place, aBackward));
    editor->ProcessPendingUpdates();
    return;
  }
  BlockCopy copy = CopyOfBlock(GetParent());
  const bool atBlockStart = copy.Cursor && !AnyCharacter(copy.Cursor->Prev, false);
  const bool inList = IsListAncestor(GetParent());
  if (inList && atBlockStart) {
    if (aBackward)
      editor->DecreaseListIndent();
    else
      editor->IncreaseListIndent(2);
    return;
  }
  if (!aBackward && editor->TabStops() > 0) editor->InsertText(u"\t");
}

// --- Kind 1: the mouse ---

void TpsTextNode::HandleMouse(TpsMessage& m) {
  IpsEditorHost* editor = Editor;
  if (!editor || !FLineChunk) return;
  IpsTextSelection* selection = editor->TextSelection();
  const bool left = m.Buttons ? m.Buttons->Left : (m.Shift & ssLeftBit) != 0;
  const bool right = m.Buttons ? m.Buttons->Right : (m.Shift & ssRightBit) != 0;
  switch (m.Id) {
    case psmMouseDown:
      if (left) {
        const uint32_t now = rtl::GetTickCount();
        TpsWindowManager* manager = GetWindowManager();
        const Integer id = WindowId;
        // A click on another line takes the cursor from its holder.
        TpsWindow* holder = manager ? manager->FocusedNode() : nullptr;
        // Shift+click extends: from the selection's anchor, or else from
        // where the caret stood before the click.
        const bool extend = (m.Shift & ssShiftBit) && !(m.Shift & ssDoubleBit);
        TpsSelectionRange shiftAnchor;
        if (extend && !selection->Selecting())
          if (auto* line = dynamic_cast<TpsTextNode*>(holder)) shiftAnchor = line->CaretPosition();
        if (PlaceCursorAtX(m.X)) {
          if (holder && holder != this) {
            TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmRemoveCursor, holder);
            PostMessage(std::move(drop), true);
          }
          if (!manager || !manager->IsLiveWindowId(id)) return;
          editor->LeaveImageMode();
          FPreferredColumn = -1;
          TakeFocusAndCaret(true);
          if (extend && !selection->Selecting() && (shiftAnchor.StartNode || shiftAnchor.EndNode))
            selection->SetAnchor(shiftAnchor);
          if (extend && selection->Selecting()) {
            selection->ExtendTo(CaretPosition());
          } else {
            selection->SetAnchor(CaretPosition());
          }
        }
        const TpsPoint point = LocalToAbsolute({m.X, m.Y});
        if (m.Shift & ssDoubleBit) {
          if (!editor->TextDoubleClicked()) SelectWordAtCursor();
          Clicks.DoubleClicked(now, point.X, point.Y);
        } else if (Clicks.IsTripleClick(now, point.X, point.Y, vcl::GetDoubleClickTime())) {
          Clicks.HasDoubleClick = false;
          editor->SelectCurrentBlock();
        }
        m.MarkHandled(this);
      } else if (right) {
        editor->LeaveImageMode();
        PlaceCursorAtX(m.X);
        TakeFocusAndCaret(false);
        if (editor->SmartTagsActive()) {
          TpsSmartTagFragments fragments(FItems);
          for (Integer i = 0; i < fragments.Count(); ++i) {
            const TpsSmartTagFragment* f = fragments.GetFragment(i);
            if (m.X < f->Left || m.X > f->Right) continue;
            const AnsiString text = GetParent() ? GetSmartTagText(GetParent(), f->Mark.MarkId) : AnsiString();
            const TpsPoint origin = GetOffsetFromRoot();
            const TpsPoint scroll = editor->ScrollOrigin();
            const TpsRect rect{f->Left + origin.X - scroll.X, f->Top + origin.Y - scroll.Y,
                               f->Right + origin.X - scroll.X, f->Bottom + origin.Y - scroll.Y};
            const TpsPoint p = LocalToAbsolute({m.X, m.Y});
            editor->SmartTagClicked(text, rect, {p.X - scroll.X, p.Y - scroll.Y});
            m.MarkHandled(this);
            return;
          }
        }
        if (IsCursorInLink()) m.MarkHandled(this);
      }
      break;
    case psmMouseUp:
      selection->SuspendExtending();
      if (!selection->Active()) {
        if (right && IsCursorInLink()) {
          const TpsPoint p = LocalToAbsolute({m.X, m.Y});
          const TpsPoint scroll = editor->ScrollOrigin();
          editor->PopupLinkMenu({p.X - scroll.X, p.Y - scroll.Y});
        } else {
          editor->TextClicked();
        }
      }
      m.MarkHandled(this);
      break;
    case psmMouseMove:
      if (left && selection->Selecting() && !selection->ExtendSuspended() && !editor->MouseAutoScrolling()) {
        TpsWindowManager* manager = GetWindowManager();
        TpsWindow* holder = manager ? manager->FocusedNode() : nullptr;
        const Integer id = WindowId;
        if (PlaceCursorAtX(m.X)) {
          if (holder && holder != this) {
            TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmRemoveCursor, holder);
            PostMessage(std::move(drop), true);
          }
          if (manager && !manager->IsLiveWindowId(id)) return;
          TakeFocusAndCaret(true);
          selection->ExtendTo(CaretPosition());
        }
      }
      MouseCursor = !selection->Active() && IsLinkAtX(m.X) ? editor->LinkHoverCursor() : vcl::crIBeam;
      m.MarkHandled(this);
      break;
    default:
      break;
  }
}

// --- Kind 2: queries and commands ---

bool TpsTextNode::HandleQuery(TpsMessage& m) {
  IpsEditorHost* editor = Editor;
  TpsDataChunk* chunk = FLineChunk.get();
  switch (m.Id) {
    case psmFocusEnter:
      m.MarkHandled(this);
      return true;
    case psmFocusLeave:
      if (!Destroyed && chunk)
        if (TpsChunkElement* cursor = chunk->GetCursor()) chunk->RemoveElement(cursor, true);
      return true;
    case psmPlaceInitialCursor:
      if (!chunk) return true;
      if (HasText())
        chunk->MoveCursorToStart();
      else
        chunk->MoveCursorToEnd();
      TakeFocusAndCaret(false);
      m.MarkHandled(this);
      return true;
    case psmUpdateCaret:
      if (chunk && chunk->HasCursor()) {
        if (TpsWindowManager* manager = GetWindowManager()) manager->SetFocusedNode(this);
        if (editor && editor->CaretVisible()) editor->PlaceCaret(CaretRect(), false);
        m.MarkHandled(this);
      }
      return true;
    case psmTakeCursorAtStart:
    case psmTakeCursorAtEnd:
    case psmTakeCursorWordLeft:
      if (!chunk) return true;
      if (m.Id == psmTakeCursorAtStart && HasText())
        chunk->MoveCursorToStart();
      else
        chunk->MoveCursorToEnd();
      if (m.Id == psmTakeCursorWordLeft && HasText()) chunk->MoveCursorWordLeft();
      FPreferredColumn = -1;
      m.MarkHandled(this);
      TakeFocusAndCaret(true);
      TookCursorFrom(m);
      return true;
    case psmTakeCursorAtColumn:
      if (!chunk) return true;
      if (HasText())
        PlaceCursorAtX(m.X - GetAbsoluteLeft());
      else
        chunk->MoveCursorToEnd();
      FPreferredColumn = m.X;
      m.MarkHandled(this);
      TakeFocusAndCaret(true);
      TookCursorFrom(m);
      return true;
    case psmQueryLineAtColumn: {
      bool answer = !HasText();
      const Integer x = m.X - GetAbsoluteLeft();
      for (Integer i = 0; i < FItems.Count() && !answer; ++i) {
        const TpsLineItem& item = FItems.GetItem(i);
        answer = x >= item.X && x < item.X + item.Width;
      }
      if (answer) {
        m.Result = true;
        m.Answer = this;
        m.MarkHandled(this);
      }
      return true;
    }
    case psmJumpCursorToStart:
    case psmJumpCursorToEnd:
      if (!chunk) return true;
      if (m.Id == psmJumpCursorToStart)
        chunk->MoveCursorToStart();
      else if (!chunk->TryMoveCursorToEnd())
        chunk->MoveCursorToEnd();
      FPreferredColumn = -1;
      m.MarkHandled(this);
      TakeFocusAndCaret(true);
      TookCursorFrom(m);
      return true;
    case psmCursorToSelectionStart:
    case psmCursorToSelectionEnd: {
      if (!chunk) return true;
      if (editor) editor->LeaveImageMode();
      TpsChunkElement* e = m.Id == psmCursorToSelectionStart ? chunk->FindFirstSelectedCharacter()
                                                              : chunk->FindLastSelectedCharacter();
      if (e) chunk->MoveCursor(e, m.Id == psmCursorToSelectionEnd);
      m.MarkHandled(this);
      TakeFocusAndCaret(false);
      return true;
    }
    case psmQueryContentForward:
    case psmQueryContentBackward:
      if (chunk && HasText()) {
        TpsChunkElement* e = m.Id == psmQueryContentForward ? chunk->FindContentElement(chunk->First(), true)
                                                            : chunk->FindContentElement(chunk->Last(), false);
        if (e) {
          m.Answer = this;
          m.ElementId = e->Id;
          m.Result = true;
          m.MarkHandled(this);
        }
      }
      return true;
    case psmQueryFirstSelected:
    case psmQueryLastSelected:
      if (chunk) {
        TpsChunkElement* e =
            m.Id == psmQueryFirstSelected ? chunk->GetFirstSelected(false) : chunk->GetLastSelected(false);
        if (e) {
          m.Answer = this;
          m.ElementId = e->Id;
          m.Result = true;
          m.MarkHandled(this);
        }
      }
      return true;
    case psmQueryFirstElement:
    case psmQueryLastElement:
      if (chunk && !chunk->IsEmpty() && m.Data) {
        auto& range = *static_cast<TpsSelectionRange*>(m.Data);
        TpsChunkElement* e = m.Id == psmQueryFirstElement ? chunk->First() : chunk->Last();
        if (m.Id == psmQueryFirstElement) {
          range.StartNode = this;
          range.StartElementID = e->Id;
        } else {
          range.EndNode = this;
          range.EndElementID = e->Id;
        }
        m.MarkHandled(this);
      }
      return true;
    case psmQueryElementOwner:
      if (chunk && chunk->FindElementById(m.ElementId)) {
        if (m.Data) {
          auto& range = *static_cast<TpsSelectionRange*>(m.Data);
          range.StartNode = this;
          range.StartElementID = m.ElementId;
        }
        m.Answer = this;
        m.Result = true;
        m.MarkHandled(this);
      }
      return true;
    case psmSelectWord:
      SelectWordAtCursor();
      m.MarkHandled(this);
      return true;
    case psmGetBlockTag:
      if (auto* block = dynamic_cast<TpsDocumentNode*>(GetParent())) {
        std::unique_ptr<TpsDataChunk> copy = block->GetChunk(true);
        if (copy->First() && copy->First()->Kind == htmldoc::ceTag) m.Text = copy->First()->Tag->GetText();
      }
      m.MarkHandled(this);
      return true;
    case psmCollectSmartTagText: {
      if (!chunk) return true;
      WideString text;
      for (TpsChunkElement* e = chunk->First(); e; e = e->Next) {
        if (e->Kind != htmldoc::ceChar) continue;
        // Blanks at the line's start are not part of the analysed text.
        if (text.empty() && (e->Char == u' ' || e->Char == u'\t' || e->Char == 0xA0)) continue;
        text += e->Char == 0xA0 ? u' ' : e->Char;
      }
      if (IsBreak(chunk->Last())) text += u' ';
      m.WideText = text;
      m.ElementId = chunk->GetCharacterIdsCrc();
      m.Result = true;
      return true;
    }
    case psmSetSmartTag: {
      if (!chunk) return true;
      std::vector<TpsChunkElement*> shown;
      for (TpsChunkElement* e = chunk->First(); e; e = e->Next)
        if (e->Kind == htmldoc::ceChar && !(shown.empty() && (e->Char == u' ' || e->Char == u'\t' || e->Char == 0xA0)))
          shown.push_back(e);
      const Integer first = m.GetParam(1), last = m.GetParam(2);
      if (first < 1 || last > static_cast<Integer>(shown.size()) || first > last) return true;
      TpsChunkElement* a = shown[static_cast<size_t>(first - 1)];
      TpsChunkElement* b = shown[static_cast<size_t>(last - 1)];
      if (chunk->HasSmartTagBetween(a, b)) return true;
      chunk->SetSmartTag(a, b, m.SmartTagOption != 0, m.Value, m.SmartTagHandler);
      if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
      return true;
    }
    case psmClearSmartTags:
      if (chunk) chunk->ClearSmartTagsExcept(m.Value);
      if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
      return true;
    case psmGetSmartTagText:
      if (chunk) m.Text += chunk->GetSmartTagText(m.Value);
      return true;
    case psmFindSmartTag: {
      if (!chunk || !m.Data) return true;
      auto& range = *static_cast<TpsSelectionRange*>(m.Data);
      TpsChunkElement* first = nullptr;
      TpsChunkElement* last = nullptr;
      if (!chunk->FindSmartTagRange(m.Value, first, last)) {
        // A started range ends at the first line without the mark.
        if (range.StartElementID) m.Option = true;
        return true;
      }
      if (!range.StartElementID) {
        range.StartNode = this;
        range.StartElementID = first->Id;
      }
      range.EndNode = this;
      range.EndElementID = last->Id;
      m.Result = true;
      return true;
    }
    case psmSetCustomTagSource: {
      TpsChunkElement* e = chunk ? chunk->FindElementById(m.ElementId) : nullptr;
      for (; e; e = e->Prev)
        if (TpsDataChunk::IsCustomTag(e) && e->Tag->GetTagType() == htmldoc::ttOpening) {
          e->Tag->CustomSource = m.Text2;
          e->Tag->CustomContent = m.Text;
          if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
          break;
        }
      return true;
    }
    case psmReplaceTagFromText: {
      TpsChunkElement* e = chunk ? chunk->FindElementById(m.ElementId) : nullptr;
      if (e && e->Kind == htmldoc::ceTag && editor) {
        std::unique_ptr<htmldoc::TpsHtmlTag> tag = htmldoc::TpsHtmlTag::CreateFromText(editor->DocumentEvents(), m.Text);
        delete e->Tag;
        e->Tag = tag.release();
        if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
      }
      return true;
    }
    case psmQueryCursorInLink:
      m.Result = chunk && chunk->HasCursor() && IsCursorInLink();
      m.MarkHandled(this);
      return true;
    default:
      return false;
  }
}

}  // namespace htmlview
