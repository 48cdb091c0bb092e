// The editing commands: each runs the command frame (lock, guard, undo
// snapshot, the queue 530, 550, its own messages, 560, 960, 540 to the root
// or to the caret's block node) and then the pending updates; and the
// formatting operations that build span tags and call them.
#include <string>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTableAccess.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Exceptions.h"

namespace htmledit {

using htmldoc::TpsChunkElement;
using htmldoc::TpsHtmlTag;
using htmlview::TpsMessage;
using htmlview::TpsWindow;

namespace {

// A question to the caret's text line: answered when the line took the
// message and set its result.
bool AskFocusedLine(htmlview::TpsWindowManager& aManager, Integer aId, TpsMessage* aAnswer = nullptr) {
  TpsMessage m(htmlview::mrCommand, aId, nullptr);
  m.AutoFree = false;
  aManager.SendToFocusedNode(m);
  const bool answered = m.IsHandled() && m.Result;
  if (aAnswer) {
    aAnswer->Result = m.Result;
    aAnswer->TagCode = m.TagCode;
    aAnswer->Answer = m.Answer;
    aAnswer->Alignment = m.Alignment;
  }
  return answered;
}

// The opening and closing tag of a pair made from a tag's text, kept alive
// while the queue that carries them runs.
struct TpsTagPair {
  std::unique_ptr<TpsHtmlTag> Open;
  std::unique_ptr<TpsHtmlTag> Close;
};

TpsTagPair MakeTagPair(const htmldoc::TpsHtmlTagEventsRef& aEvents, const AnsiString& aTagText) {
  TpsTagPair pair;
  htmldoc::CreateTagPair(aEvents, aTagText, pair.Open, pair.Close);
  return pair;
}

}  // namespace

// --- Questions to the caret's line ---

bool TpsHTMLEditBase::IsCursorInLink() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  return RootWindow() && AskFocusedLine(*FWindowManager, htmlview::psmQueryCursorInLink);
}

bool TpsHTMLEditBase::GetListKind(bool& aOrdered) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aOrdered = false;
  if (!RootWindow()) return false;
  TpsMessage answer(htmlview::mrCommand, 0, nullptr);
  answer.AutoFree = false;
  if (!AskFocusedLine(*FWindowManager, htmlview::psmQueryListKind, &answer)) return false;
  aOrdered = answer.TagCode == htmldoc::TAG_OL;
  return true;
}

bool TpsHTMLEditBase::IsInList() {
  bool ordered = false;
  return GetListKind(ordered);
}

TpsWindow* TpsHTMLEditBase::GetCursorBlockNode(bool aMustExist) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  TpsWindow* node = nullptr;
  if (RootWindow() && FWindowManager->FocusedNode()) {
    TpsMessage m(htmlview::mrCommand, htmlview::psmQueryParentNode, nullptr);
    m.AutoFree = false;
    FWindowManager->SendToFocusedNode(m);
    if (m.IsHandled()) node = m.Answer;
  }
  RTL_ASSERT_MSG(!aMustExist || node, "Assertion failure");
  return node;
}

TpsWindow* TpsHTMLEditBase::GetCursorTableNode(bool aMustExist) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  TpsWindow* node = nullptr;
  if (RootWindow() && FWindowManager->FocusedNode()) {
    TpsMessage m(htmlview::mrCommand, htmlview::psmQueryTable, nullptr);
    m.AutoFree = false;
    FWindowManager->SendToFocusedNode(m);
    if (m.IsHandled()) node = m.Answer;
  }
  RTL_ASSERT_MSG(!aMustExist || node, "Assertion failure");
  return node;
}

// --- The frame's shared steps ---

namespace {

// The snapshot a command takes, remembered so that a failing queue puts
// the document back from it; forgotten when the command is over.
class TpsCommandSnapshot {
 public:
  TpsCommandSnapshot(TpsHTMLEditBase& aEditor, Integer& aCount) : FCount(aCount) {
    aEditor.SaveUndoState();
    FCount = aEditor.UndoList().Count();
  }
  ~TpsCommandSnapshot() { FCount = -1; }
  TpsCommandSnapshot(const TpsCommandSnapshot&) = delete;
  TpsCommandSnapshot& operator=(const TpsCommandSnapshot&) = delete;

 private:
  Integer& FCount;
};

}  // namespace

// The selection after a command: the ends read back from the marks the
// view kept through the edit.
void TpsHTMLEditBase::UpdateSelectionFromMarks() {
  if (FSelection) FSelection->UpdateFromMarks(false);
}

// --- What the commands read of the caret's block and table ---

void TpsHTMLEditBase::CaretBlockClassAndStyle(AnsiString& aClass, AnsiString& aStyle) {
  aClass.clear();
  aStyle.clear();
  TpsMessage m(htmlview::mrCommand, htmlview::psmGetBlockTag, nullptr);
  m.AutoFree = false;
  FWindowManager->SendToFocusedNode(m);
  if (m.Text.empty()) return;
  std::unique_ptr<TpsHtmlTag> tag = TpsHtmlTag::CreateFromText(FDocumentEvents, m.Text);
  aClass = tag->GetAttribute("class");
  aStyle = tag->GetAttribute("style");
}

void TpsHTMLEditBase::CaretTableSize(Integer& aRows, Integer& aColumns) {
  aRows = 0;
  aColumns = 0;
  auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(GetCursorTableNode(false));
  if (!node) return;
  std::unique_ptr<TpsDataChunk> copy = node->GetChunk(true);
  TpsChunkElement* start = copy->First();
  while (start && TpsDataChunk::TagCodeOf(start) != htmldoc::TAG_TABLE) start = start->Next;
  if (!start) return;
  TpsChunkElement* end = copy->FindPartnerTag(start, nullptr);
  if (!end) return;
  htmldoc::TpsTableDataAccess table(copy.get(), start, end, FStyleSheet.get(), false);
  aRows = table.GetRowCount();
  aColumns = aRows > 0 ? table.GetRow(0).GetCellCount() : 0;
}

// Only a change is a command: the same alignment again takes no undo step.
void TpsHTMLEditBase::SetCaretBlockAlignment(Byte aAlignment) {
  TpsMessage answer(htmlview::mrCommand, 0, nullptr);
  answer.AutoFree = false;
  AskFocusedLine(*FWindowManager, htmlview::psmQueryAlignment, &answer);
  if (answer.Alignment == aAlignment) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] { PostCommand(htmlview::psmSetBlockAlignment).Alignment = aAlignment; });
  ProcessPendingUpdates();
}

// --- Selection commands ---

void TpsHTMLEditBase::InsertTagAroundSelection(const AnsiString& aOpenTag, std::unique_ptr<TpsMarkupTag> aOuterTag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly) return;
  WrapSelection(aOpenTag, false, std::move(aOuterTag));
}

void TpsHTMLEditBase::AddSpanToSelection(const AnsiString& aOpenTag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly) return;
  WrapSelection(aOpenTag, true, nullptr);
}

void TpsHTMLEditBase::WrapSelection(const AnsiString& aTagText, bool aMerge, std::unique_ptr<TpsMarkupTag> aOuterTag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || !HasTextSelection()) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] {
    TpsMessage& m = PostCommand(aMerge ? htmlview::psmApplyTagToSelection : htmlview::psmWrapSelectionInCustomTag);
    m.Text = aTagText;
    if (aOuterTag) m.Text2 = aOuterTag->GetText();
  });
  UpdateSelectionFromMarks();
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::RemoveSpanFromSelection(const AnsiString& aOpenTag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !HasTextSelection()) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] { PostCommand(htmlview::psmRemoveTagFromSelection).Text = aOpenTag; });
  UpdateSelectionFromMarks();
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::DeleteSelection() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !HasTextSelection()) {
    // A selection being made loses its anchor.
    if (FSelection && FSelection->Selecting() && !FSelection->Active()) FSelection->ClearAnchor();
    return;
  }
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] { PostCommand(htmlview::psmDeleteSelection); });
  if (FSelection) FSelection->Reset();
  RequestRepaint();
  ProcessPendingUpdates();
}

// --- Caret commands ---

// A command on the caret's block, one undo step: nothing while read-only or
// with no block at the caret. A command on the caret clears the selection
// first; one on the selection reads it back from the marks afterwards.
void TpsHTMLEditBase::RunCaretBlockCommand(bool aOnSelection, const std::function<void(TpsWindow* aBlock)>& aPost) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow()) return;
  TpsWindow* block = GetCursorBlockNode(false);
  if (!block) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  if (!aOnSelection) ClearSelection();
  RunCommand(block, [&] { aPost(block); });
  if (aOnSelection) UpdateSelectionFromMarks();
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::InsertSpanAtCursor(const AnsiString& aOpenTag) {
  TpsTagPair pair;
  RunCaretBlockCommand(false, [&](TpsWindow* block) {
    pair = MakeTagPair(FDocumentEvents, aOpenTag);
    PostCommand(htmlview::psmInsertMarkerBeforeCursor, block).SetParam(1, 1);
    TpsMessage& open = PostCommand(htmlview::psmInsertTagAtMarker, block);
    open.Tag = pair.Open.get();
    open.SetParam(1, 1);
    open.InsertAfter = true;
    PostCommand(htmlview::psmInsertMarkerAfterCursor, block).SetParam(1, 2);
    TpsMessage& close = PostCommand(htmlview::psmInsertTagAtMarker, block);
    close.Tag = pair.Close.get();
    close.SetParam(1, 2);
    close.InsertAfter = true;
  });
}

void TpsHTMLEditBase::InsertTagPairAtCursor(const AnsiString& aOpenTag) {
  TpsTagPair pair;
  RunCaretBlockCommand(false, [&](TpsWindow* block) {
    pair = MakeTagPair(FDocumentEvents, aOpenTag);
    PostCommand(htmlview::psmInsertTagAtCursor, block).Tag = pair.Open.get();
    PostCommand(htmlview::psmInsertTagAtCursor, block).Tag = pair.Close.get();
  });
}

void TpsHTMLEditBase::RemoveSpanAtCursor(Integer aIndex, bool aEndAtCursor, bool aWithPair) {
  RunCaretBlockCommand(false, [&](TpsWindow* block) {
    TpsMessage& m = PostCommand(htmlview::psmRemoveSpanByIndex, block);
    m.Value = aIndex;
    m.Result = aEndAtCursor;
    m.Option = aWithPair;
  });
}

void TpsHTMLEditBase::RemoveInlineTags() {
  RunCaretBlockCommand(true, [&](TpsWindow* block) { PostCommand(htmlview::psmRemoveInlineTags, block); });
}

// --- Lists ---

void TpsHTMLEditBase::CreateList(bool aOrdered) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || IsInList()) return;
  // The new item takes the class and the inline style of the block it
  // replaces.
  AnsiString blockClass, blockStyle;
  CaretBlockClassAndStyle(blockClass, blockStyle);
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  ClearSelection();
  std::unique_ptr<TpsHtmlTag> open = CreateHtmlTag(htmldoc::TAG_LI, false, blockClass, blockStyle);
  std::unique_ptr<TpsHtmlTag> close = CreateHtmlTag(htmldoc::TAG_LI, true, AnsiString(), AnsiString());
  RunCommand(nullptr, [&] {
    PostCommand(htmlview::psmMarkerAtCursor).SetParam(1, 3);
    TpsMessage& range = PostCommand(htmlview::psmMarkBlockRange);
    range.SetParam(1, 1);
    range.SetParam(2, 2);
    range.SetParam(3, 3);
    // Both markers stay until the list is made: the list tag is set on the
    // block around marker 1, which must still be the block, not the item.
    TpsMessage& first = PostCommand(htmlview::psmInsertTagAtMarker);
    first.SetParam(1, 1);
    first.Tag = open.get();
    first.InsertAfter = true;
    first.Result = true;
    TpsMessage& second = PostCommand(htmlview::psmInsertTagAtMarker);
    second.SetParam(1, 2);
    second.Tag = close.get();
    second.Result = true;
    TpsMessage& list = PostCommand(htmlview::psmSetListTag);
    list.SetParam(1, 1);
    list.TagCode = aOrdered ? htmldoc::TAG_OL : htmldoc::TAG_UL;
    list.Result = true;
    PostCommand(htmlview::psmRemoveMarker).SetParam(1, 1);
    PostCommand(htmlview::psmRemoveMarker).SetParam(1, 2);
    PostCommand(htmlview::psmCursorAtMarker).SetParam(1, 3);
  });
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::ChangeListKind(bool aOrdered) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow()) return;
  bool ordered = false;
  if (!GetListKind(ordered) || ordered == aOrdered) return;
  const Byte code = aOrdered ? htmldoc::TAG_OL : htmldoc::TAG_UL;
  const bool selection = HasTextSelection();
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] {
    if (selection) {
      PostCommand(htmlview::psmSetSelectedListTag).TagCode = code;
      return;
    }
    PostCommand(htmlview::psmMarkListAtCursor).SetParam(1, 1);
    TpsMessage& set = PostCommand(htmlview::psmSetListBlockTag);
    set.SetParam(1, 1);
    set.TagCode = code;
    PostCommand(htmlview::psmRemoveMarker).SetParam(1, 1);
  });
  if (selection) UpdateSelectionFromMarks();
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::RemoveList() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || HasTextSelection()) return;
  if (!IsInList() || !AskFocusedLine(*FWindowManager, htmlview::psmQueryInTopLevelList) ||
      AskFocusedLine(*FWindowManager, htmlview::psmQueryInList))
    return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] {
    PostCommand(htmlview::psmMarkerAtCursor).SetParam(1, 1);
    PostCommand(htmlview::psmListItemToParagraph).SetParam(1, 1);
    PostCommand(htmlview::psmCursorAtMarker).SetParam(1, 1);
  });
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::IncreaseListIndent(Integer aKind) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow()) return;
  bool ordered = false;
  if (!GetListKind(ordered)) return;
  const bool newOrdered = aKind == 0 || (aKind == 2 && ordered);
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] {
    PostCommand(htmlview::psmMarkerAtCursor).SetParam(1, 3);
    TpsMessage& indent = PostCommand(htmlview::psmIndentListItem);
    indent.SetParam(1, 3);
    indent.TagCode = newOrdered ? htmldoc::TAG_OL : htmldoc::TAG_UL;
    PostCommand(htmlview::psmCursorAtMarker).SetParam(1, 3);
  });
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::DecreaseListIndent() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !IsInList()) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  RunCommand(nullptr, [&] {
    PostCommand(htmlview::psmMarkerAtCursor).SetParam(1, 3);
    PostCommand(htmlview::psmOutdentListItem).SetParam(1, 3);
    PostCommand(htmlview::psmCursorAtMarker).SetParam(1, 3);
  });
  ProcessPendingUpdates();
}

// --- Tables ---

void TpsHTMLEditBase::InsertTable(Integer iColCount, Integer iRowCount, Integer aWidth, Integer iCellSpacing,
                                  Integer iCellPadding, const AnsiString& aTableClass, const AnsiString& aTableStyle,
                                  const AnsiString& aCellClass, const AnsiString& aCellStyle) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !GetCursorBlockNode(false)) return;
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  ClearSelection();
  // Tested only now, so a refused call leaves its undo step behind.
  const auto refuse = [](const char* aName) {
    throw htmldoc::EpsHtmlEditException(AnsiString("TpsCustomHtmlEdit.InsertTable: Invalid parameter \"") + aName +
                                        "\"");
  };
  if (iColCount <= 0) refuse("iColCount");
  if (iRowCount <= 0) refuse("iRowCount");
  if (iCellSpacing < 0) refuse("iCellSpacing");
  if (iCellPadding < 0) refuse("iCellPadding");

  auto list = std::make_unique<TpsDataChunk>();
  std::unique_ptr<TpsHtmlTag> table = CreateHtmlTag(htmldoc::TAG_TABLE, false, aTableClass, aTableStyle);
  table->SetWidth(aWidth);
  table->SetCellSpacing(iCellSpacing);
  table->SetCellPadding(iCellPadding);
  list->AddTag(std::move(table));
  for (Integer row = 0; row < iRowCount; ++row) {
    list->AddTag(CreateHtmlTag(htmldoc::TAG_TR, false, AnsiString(), AnsiString()));
    for (Integer col = 0; col < iColCount; ++col) {
      list->AddTag(CreateHtmlTag(htmldoc::TAG_TD, false, aCellClass, aCellStyle));
      if (row == 0 && col == 0) list->AddElement(htmldoc::NewCursorElement());
      list->AddTag(CreateHtmlTag(htmldoc::TAG_TD, true, AnsiString(), AnsiString()));
    }
    list->AddTag(CreateHtmlTag(htmldoc::TAG_TR, true, AnsiString(), AnsiString()));
  }
  list->AddTag(CreateHtmlTag(htmldoc::TAG_TABLE, true, AnsiString(), AnsiString()));
  list->AddCharacter(static_cast<htmldoc::WideChar>(htmldoc::HtmlCodeTable().GetNbspChar()), false, false, true);
  RunCommand(nullptr, [&] {
    PostCommand(htmlview::psmMarkerAtCursor).SetParam(1, 1);
    TpsMessage& insert = PostCommand(htmlview::psmInsertChunkAtMarker);
    insert.SetParam(1, 1);
    insert.Chunk = std::move(list);
  });
  ProcessPendingUpdates();
}

// A table command at the caret: nothing while read-only or outside a
// table; deleting a table's last row or column deletes the table.
void TpsHTMLEditBase::RunTableCommand(Integer aId) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !GetCursorTableNode(false)) return;
  if (aId == htmlview::psmTableDeleteRow || aId == htmlview::psmTableDeleteColumn) {
    Integer rows = 0, columns = 0;
    CaretTableSize(rows, columns);
    if ((aId == htmlview::psmTableDeleteRow ? rows : columns) <= 1) aId = htmlview::psmTableDelete;
  }
  TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
  ClearSelection();
  RunCommand(nullptr, [&] { PostCommand(aId); });
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::DeleteTable() { RunTableCommand(htmlview::psmTableDelete); }
void TpsHTMLEditBase::InsertRowBelow() { RunTableCommand(htmlview::psmTableInsertRowBelow); }
void TpsHTMLEditBase::InsertRowAbove() { RunTableCommand(htmlview::psmTableInsertRowAbove); }
void TpsHTMLEditBase::InsertColumnToTheRight() { RunTableCommand(htmlview::psmTableInsertColumnRight); }
void TpsHTMLEditBase::InsertColumnToTheLeft() { RunTableCommand(htmlview::psmTableInsertColumnLeft); }
void TpsHTMLEditBase::DeleteCurrentRow() { RunTableCommand(htmlview::psmTableDeleteRow); }
void TpsHTMLEditBase::DeleteCurrentColumn() { RunTableCommand(htmlview::psmTableDeleteColumn); }

// --- Alignment ---

void TpsHTMLEditBase::SetAlignment(Byte aAlignment) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow()) return;
  if (HasTextSelection()) {
    TpsCommandSnapshot snapshot(*this, FCommandSnapshotCount);
    RunCommand(nullptr, [&] { PostCommand(htmlview::psmSetAlignment).Alignment = aAlignment; });
    UpdateSelectionFromMarks();
    ProcessPendingUpdates();
    return;
  }
  if (GetCursorBlockNode(false)) SetCaretBlockAlignment(aAlignment);
}

// --- Formatting operations ---

AnsiString TpsHTMLEditBase::FontDeclarations(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor,
                                             vcl::TFontStyles aStyle, const AnsiString& aExtraStyle) {
  AnsiString text = "font-family:" + aFontName + ";" + "font-size:" + std::to_string(aSize) + "pt;" + "color:" +
                    htmldoc::ColorToCssString(aColor);
  if (aStyle.Contains(vcl::fsBold)) text += ";font-weight:bold";
  if (aStyle.Contains(vcl::fsItalic)) text += ";font-style:italic";
  if (aStyle.Contains(vcl::fsUnderline)) text += ";text-decoration:underline";
  if (!aExtraStyle.empty()) text += ";" + aExtraStyle;
  return text;
}

AnsiString TpsHTMLEditBase::ColorDeclarations(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor) {
  AnsiString text;
  if (aColor != htmldoc::clNone) text = "color:" + htmldoc::ColorToCssString(aColor);
  if (aBackgroundColor != htmldoc::clNone) {
    if (!text.empty()) text += ";";
    text += "background-color:" + htmldoc::ColorToCssString(aBackgroundColor);
  }
  return text;
}

namespace {

AnsiString SpanTagText(const AnsiString& aDeclarations) { return "<span style=\"" + aDeclarations + "\">"; }

}  // namespace

void TpsHTMLEditBase::SetSelectionFont(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor,
                                       vcl::TFontStyles aStyle, const AnsiString& aExtraStyle) {
  AddSpanToSelection(SpanTagText(FontDeclarations(aFontName, aSize, aColor, aStyle, aExtraStyle)));
}

void TpsHTMLEditBase::SetCursorFont(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor,
                                    vcl::TFontStyles aStyle, const AnsiString& aExtraStyle) {
  InsertSpanAtCursor(SpanTagText(FontDeclarations(aFontName, aSize, aColor, aStyle, aExtraStyle)));
}

void TpsHTMLEditBase::SetSelectionColors(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !HasTextSelection()) return;
  const AnsiString text = ColorDeclarations(aColor, aBackgroundColor);
  if (!text.empty()) AddSpanToSelection(SpanTagText(text));
}

void TpsHTMLEditBase::SetCursorColors(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  const AnsiString text = ColorDeclarations(aColor, aBackgroundColor);
  if (!text.empty()) InsertSpanAtCursor(SpanTagText(text));
}

}  // namespace htmledit
