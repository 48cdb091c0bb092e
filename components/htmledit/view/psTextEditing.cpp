#include "htmledit/view/psTextEditing.h"

#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTableAccess.h"

namespace htmlview {

namespace {

constexpr WideChar kEditNoBreakSpace = 0x00A0;

bool IsEditWordChar(WideChar aChar) { return htmldoc::GetCharClass(aChar) == 2; }

// 530 and 550 open every transaction, 560, 960 and 540 close most.
void OpenTransaction(TpsMessageQueueList& aQueue, bool aToRoot) {
  AddEditMessage(aQueue, psmBeginEdit, aToRoot);
  AddEditMessage(aQueue, psmExtractChunk, aToRoot);
}
void CloseTransaction(TpsMessageQueueList& aQueue, bool aToRoot) {
  AddEditMessage(aQueue, psmRelayout, aToRoot);
  AddEditMessage(aQueue, psmDocumentChanged, aToRoot);
  AddEditMessage(aQueue, psmEndEdit, aToRoot);
}
TpsMessage& WithEditParams(TpsMessage& m, Integer a, Integer b = 0, Integer c = 0) {
  m.SetParam(1, a);
  m.SetParam(2, b);
  m.SetParam(3, c);
  return m;
}

}  // namespace

TpsMessage& AddEditMessage(TpsMessageQueueList& aQueue, Integer aId, bool aToRoot) {
  aQueue.push_back(TpsMessage::CreateToRoot(mrCommand, aId, aToRoot));
  return *aQueue.back();
}

// --- Typing ---

bool TypingGoesToRoot(bool aHasSelection, bool aSelectionWithinBlock) {
  return aHasSelection && !aSelectionWithinBlock;
}

TpsMessageQueueList BuildTypingTransaction(const WideString& aText, bool aHasSelection, bool aToRoot) {
  TpsMessageQueueList q;
  OpenTransaction(q, aToRoot);
  if (aHasSelection) AddEditMessage(q, psmDeleteSelection, aToRoot);
  if (!aText.empty()) {
    TpsMessage& m = AddEditMessage(q, psmInsertText, aToRoot);
    m.WideText = aText;
    m.Flags->SetFlag(mfChangesDocument, true);
  }
  CloseTransaction(q, aToRoot);
  return q;
}

// --- Line breaks and Enter ---

TpsMessageQueueList BuildLineBreakTransaction(bool aReadOnly) {
  TpsMessageQueueList q;
  // A read-only page takes no line break, whichever key is bound to it.
  if (aReadOnly) return q;
  OpenTransaction(q, false);
  AddEditMessage(q, psmInsertLineBreak, false);
  AddEditMessage(q, psmRelayout, false);
  AddEditMessage(q, psmDocumentChanged, false);
  AddEditMessage(q, psmEndEdit, false);
  return q;
}

TpsEnterAction DecideEnter(const TpsEnterFacts& f) {
  if (f.ReadOnly) return TpsEnterAction::Nothing;
  if (f.InTableCell) return f.InCustomTag ? TpsEnterAction::Nothing : TpsEnterAction::LineBreak;
  if (f.InEmptyListItem) return f.InCustomTag ? TpsEnterAction::Nothing : TpsEnterAction::ListItemEnter;
  if (!(f.AllowMultipleEmptyBlocks || f.BlockHasText) || f.CursorInLink) return TpsEnterAction::Nothing;
  if (f.InCustomTag && !f.HasSelection && f.CustomSplitElementId == 0) return TpsEnterAction::Nothing;
  if (!f.SplitAllowed) return TpsEnterAction::Nothing;
  return TpsEnterAction::Split;
}

AnsiString ClassSelector(const AnsiString& aClass) {
  if (aClass.empty() || aClass.front() == '.') return aClass;
  return "." + aClass;
}

TpsMessageQueueList BuildSplitTransaction(const TpsEnterFacts& f) {
  TpsMessageQueueList q;
  OpenTransaction(q, true);
  if (f.HasSelection) AddEditMessage(q, psmDeleteSelection, true);
  if (f.InCustomTag && !f.HasSelection) {
    TpsMessage& marker = WithEditParams(AddEditMessage(q, psmInsertMarkerAtElement, true), 1);
    marker.ElementId = f.CustomSplitElementId;
    marker.Result = f.CustomSplitAfter;
    WithEditParams(AddEditMessage(q, psmCursorToMarker, true), 1);
  } else {
    WithEditParams(AddEditMessage(q, psmInsertMarkerBeforeCursor, true), 1);
  }
  TpsMessage& split = WithEditParams(AddEditMessage(q, psmSplitBlockAtMarker, true), 1);
  split.Result = true;
  split.FirstBlockClass = ClassSelector(f.FirstBlockClass);
  split.SecondBlockClass = ClassSelector(f.SecondBlockClass);
  AddEditMessage(q, psmRelayout, true);
  q.push_back(std::make_unique<TpsNotifyDocumentChangeMsg>(htmldoc::dcSplitCurrentBlock, nullptr));
  q.back()->ToRoot = true;
  AddEditMessage(q, psmEndEdit, true);
  return q;
}

// --- Backspace and Delete ---

TpsDeleteAction DecideBackspace(const TpsDeleteFacts& f) {
  using enum TpsDeleteAction;
  if (f.ReadOnly) return Nothing;
  if (f.HasSelection) return DeleteSelection;
  if (f.CharacterToDelete) return DeleteCharacter;
  if (f.InListItem) return f.ListInAnotherList ? DecreaseListIndent : ListItemToParagraph;
  if (f.AncestorIsList) return LeaveList;
  if (!f.CharacterBeforeInBlock) return f.InTableCell ? Nothing : MergeWithPrevious;
  return f.HasPreviousLine ? JoinNestedBlock : Nothing;
}

TpsDeleteAction DecideDelete(const TpsDeleteFacts& f) {
  using enum TpsDeleteAction;
  if (f.ReadOnly) return Nothing;
  if (f.HasSelection) return DeleteSelection;
  if (f.InEmptyParagraph && f.NextLineInList) return DeleteEmptyParagraph;
  if (f.CharacterToDelete) return DeleteCharacter;
  if (!f.InTableCell && f.HasNextLine && !f.NextLineInTable) return JoinNextBlock;
  return Nothing;
}

TpsMessageQueueList BuildDeleteTransaction(TpsDeleteAction aAction, const TpsDeleteFacts& f, bool aBackward) {
  using enum TpsDeleteAction;
  TpsMessageQueueList q;
  switch (aAction) {
    case Nothing:
    case DecreaseListIndent:
      break;
    case DeleteSelection:
      q = BuildTypingTransaction(WideString(), true, true);
      break;
    case DeleteCharacter:
      OpenTransaction(q, true);
      if (f.Ctrl)
        AddEditMessage(q, psmDeleteWord, true).Result = aBackward;
      else
        AddEditMessage(q, aBackward ? psmDeleteCharBefore : psmDeleteCharAfter, true);
      CloseTransaction(q, true);
      break;
    case ListItemToParagraph:
      OpenTransaction(q, true);
      WithEditParams(AddEditMessage(q, psmMarkerAtCursor, true), 1);
      for (Integer i = 0; i < f.NestedListItemCount; ++i) {
        WithEditParams(AddEditMessage(q, psmOutdentListItem, true), i + 2);
        WithEditParams(AddEditMessage(q, psmRemoveMarker, true), i + 2);
      }
      WithEditParams(AddEditMessage(q, psmListItemToParagraph, true), 1);
      WithEditParams(AddEditMessage(q, psmCursorAtMarker, true), 1);
      CloseTransaction(q, true);
      break;
    case LeaveList:
      OpenTransaction(q, true);
      WithEditParams(AddEditMessage(q, psmMarkerAtCursor, true), 3);
      WithEditParams(AddEditMessage(q, psmMarkBlockRange, true), 1, 2, 3);
      WithEditParams(AddEditMessage(q, psmSplitBlockAtMarkers, true), 1, 2).Result = false;
      WithEditParams(AddEditMessage(q, psmCursorAtMarker, true), 3);
      CloseTransaction(q, true);
      break;
    case MergeWithPrevious:
      AddEditMessage(q, psmDocumentChanged, false);
      AddEditMessage(q, psmMergeBlocks, false);
      break;
    case JoinNestedBlock:
      OpenTransaction(q, true);
      WithEditParams(AddEditMessage(q, psmMoveBlockContentToMarker, true), 2, 1);
      CloseTransaction(q, true);
      break;
    case DeleteEmptyParagraph:
      OpenTransaction(q, true);
      WithEditParams(AddEditMessage(q, psmDeleteMarkedBlock, true), 1, 2);
      CloseTransaction(q, true);
      break;
    case JoinNextBlock:
      OpenTransaction(q, true);
      if (f.NextLineInOtherBlock && f.MergedClass != f.FirstBlockClass)
        WithEditParams(AddEditMessage(q, psmSetMarkedBlockClass, true), 2).Text = f.MergedClass;
      WithEditParams(AddEditMessage(q, psmMoveBlockContentToMarker, true), 1, 2);
      CloseTransaction(q, true);
      break;
  }
  return q;
}

// --- Tab in tables ---

TpsTablePlace ReadTablePlace(htmldoc::TpsTableDataAccess& aTable) {
  TpsTablePlace p;
  p.Row = aTable.GetCurrentRow();
  p.Column = aTable.GetCurrentColumn();
  p.RowCount = aTable.GetRowCount();
  if (p.Row >= 0) p.CellCount = aTable.GetRow(p.Row).GetCellCount();
  if (p.Row > 0) p.PreviousRowCellCount = aTable.GetRow(p.Row - 1).GetCellCount();
  return p;
}

TpsMessageQueueList BuildTableTabTransaction(const TpsTablePlace& p, bool aBackward) {
  TpsMessageQueueList q;
  OpenTransaction(q, true);
  auto moveTo = [&q](Integer aColumn, Integer aRow) {
    TpsMessage& m = AddEditMessage(q, psmTableMoveToCell, true);
    m.X = aColumn;
    m.Y = aRow;
  };
  if (p.Row >= 0 && p.Column >= 0) {
    if (!aBackward) {
      if (p.Row == p.RowCount - 1 && p.Column >= p.CellCount - 1) {
        AddEditMessage(q, psmTableInsertRowBelow, true);
        moveTo(0, p.Row + 1);
      } else if (p.Column < p.CellCount - 1) {
        moveTo(p.Column + 1, p.Row);
      } else {
        moveTo(0, p.Row + 1);
      }
    } else if (p.Column > 0) {
      moveTo(p.Column - 1, p.Row);
    } else if (p.Row > 0 && p.PreviousRowCellCount > 0) {
      moveTo(p.PreviousRowCellCount - 1, p.Row - 1);
    }
  }
  CloseTransaction(q, true);
  return q;
}

// --- Up and Down at a table's edge ---

TpsMessageQueueList BuildTableEdgeTransaction(uint32_t aTableTagId, bool aDown) {
  TpsMessageQueueList q;
  OpenTransaction(q, true);
  AddEditMessage(q, psmRemoveCursorElement, true);
  auto insert = [&](htmldoc::TpsChunkElement* aElement) {
    TpsMessage& m = AddEditMessage(q, psmInsertElementAfter, true);
    m.Data = aElement;
    m.ElementId = aTableTagId;
    m.Result = !aDown;  // before the opening tag when going up
  };
  htmldoc::TpsChunkElement* placeholder = htmldoc::NewCharacterElement(kEditNoBreakSpace);
  placeholder->Placeholder = true;
  // Each goes right next to the tag, so the one inserted first ends
  // farther from it after the table and nearer to it before the table.
  if (aDown) {
    insert(placeholder);
    insert(htmldoc::NewCursorElement());
  } else {
    insert(htmldoc::NewCursorElement());
    insert(placeholder);
  }
  AddEditMessage(q, psmRelayout, true);
  AddEditMessage(q, psmCursorMoved, true);
  AddEditMessage(q, psmEndEdit, true);
  return q;
}

// --- Word selection across line breaks ---

bool SelectWordAcrossLines(const std::vector<TpsWordLine>& aLines, Integer aCursorLine, Integer aCursorIndex,
                           TpsWordPosition& aStart, TpsWordPosition& aEnd) {
  aStart = {};
  aEnd = {};
  if (aCursorLine < 0 || aCursorLine >= static_cast<Integer>(aLines.size())) return false;
  const WideString& line = aLines[static_cast<size_t>(aCursorLine)].Text;
  const auto len = static_cast<Integer>(line.size());
  auto wordAt = [&line](Integer i) { return i >= 0 && i < static_cast<Integer>(line.size()) && IsEditWordChar(line[static_cast<size_t>(i)]); };
  // The word under the cursor, else the one that ends right before it.
  Integer i = aCursorIndex;
  if (!wordAt(i)) i = aCursorIndex - 1;
  if (!wordAt(i)) return false;
  Integer first = i;
  while (wordAt(first - 1)) --first;
  Integer last = i;
  while (wordAt(last + 1)) ++last;
  aStart = {aCursorLine, first};
  aEnd = {aCursorLine, last};
  // Backwards over lines whose last character continues the word.
  if (first == 0) {
    for (Integer l = aCursorLine - 1; l >= 0; --l) {
      const WideString& t = aLines[static_cast<size_t>(l)].Text;
      if (t.empty() || !IsEditWordChar(t.back())) break;
      Integer s = static_cast<Integer>(t.size()) - 1;
      while (s > 0 && IsEditWordChar(t[static_cast<size_t>(s - 1)])) --s;
      aStart = {l, s};
      if (s > 0) break;  // the line holds a separator: the word starts here
    }
  }
  // Forwards over lines whose first word continues it.
  if (last == len - 1) {
    for (Integer l = aCursorLine + 1; l < static_cast<Integer>(aLines.size()); ++l) {
      const WideString& t = aLines[static_cast<size_t>(l)].Text;
      if (t.empty() || !IsEditWordChar(t.front())) break;
      Integer e = 0;
      while (e + 1 < static_cast<Integer>(t.size()) && IsEditWordChar(t[static_cast<size_t>(e + 1)])) ++e;
      aEnd = {l, e};
      if (e != static_cast<Integer>(t.size()) - 1) break;
    }
  }
  return true;
}

// --- Double and triple clicks ---

void TpsClickTracker::DoubleClicked(uint32_t aTime, Integer aX, Integer aY) {
  LastTime = aTime;
  LastX = aX;
  LastY = aY;
  HasDoubleClick = true;
}

bool TpsClickTracker::IsTripleClick(uint32_t aTime, Integer aX, Integer aY, uint32_t aDoubleClickTime) const {
  // Unsigned difference: a tick count that wrapped still measures right.
  return HasDoubleClick && aTime - LastTime <= aDoubleClickTime && aX == LastX && aY == LastY;
}

}  // namespace htmlview
