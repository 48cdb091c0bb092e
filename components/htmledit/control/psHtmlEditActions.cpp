// The editor actions: the base's routing of execute and update to the
// editor, the list that hands its editor on, and each action's command and
// state.
#include "htmledit/control/psHtmlEditActions.h"

#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psSpanLists.h"

namespace htmledit {

// --- TpsHtmlEditAction ---

TpsHtmlEditAction::~TpsHtmlEditAction() { SetEditor(nullptr); }

void TpsHtmlEditAction::SetEditor(TpsHTMLEdit* aEditor) {
  if (aEditor == FEditor) return;
  if (FEditor) FEditor->RemoveFreeNotification(this);
  FEditor = aEditor;
  if (FEditor) FEditor->FreeNotification(this);
}

bool TpsHtmlEditAction::HandlesTarget(vcl::TObject* aTarget) const {
  return FEditor != nullptr || dynamic_cast<TpsHTMLEdit*>(aTarget) != nullptr;
}

bool TpsHtmlEditAction::Execute() {
  Update();
  if (!Enabled()) return false;
  if (vcl::TContainedAction::Execute()) return true;
  if (!FEditor || !HandlesTarget(FEditor)) return false;
  ExecuteTarget(FEditor);
  return true;
}

bool TpsHtmlEditAction::Update() {
  if (vcl::TContainedAction::Update()) return true;
  if (FEditor && HandlesTarget(FEditor)) {
    UpdateTarget(FEditor);
  } else {
    SetEnabled(false);
  }
  return true;
}

void TpsHtmlEditAction::Loaded() {
  vcl::TAction::Loaded();
  if (!FEditor)
    if (auto* list = dynamic_cast<TpsHtmlEditActionList*>(ActionList())) SetEditor(list->GetEditor());
}

void TpsHtmlEditAction::Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) {
  vcl::TAction::Notification(aComponent, aOperation);
  if (aOperation == vcl::opRemove && aComponent && aComponent == FEditor) FEditor = nullptr;
}

// --- TpsHtmlEditActionList ---

TpsHtmlEditActionList::~TpsHtmlEditActionList() {
  if (FEditor) FEditor->RemoveFreeNotification(this);
}

void TpsHtmlEditActionList::SetEditor(TpsHTMLEdit* aEditor) {
  if (aEditor != FEditor) {
    if (FEditor) FEditor->RemoveFreeNotification(this);
    FEditor = aEditor;
    if (FEditor) FEditor->FreeNotification(this);
  }
  for (Integer i = 0; i < ActionCount(); ++i)
    if (auto* action = dynamic_cast<TpsHtmlEditAction*>(Actions(i))) action->SetEditor(aEditor);
}

void TpsHtmlEditActionList::Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) {
  vcl::TActionList::Notification(aComponent, aOperation);
  if (aOperation == vcl::opRemove && aComponent && aComponent == FEditor) FEditor = nullptr;
}

namespace {

void SetCaptionAndHint(vcl::TCustomAction& aAction, const char* aCaption, const char* aHint) {
  aAction.SetCaption(aCaption);
  aAction.SetHint(aHint);
}

}  // namespace

// --- Undo, redo, clipboard ---

TpsUndoAction::TpsUndoAction(vcl::TComponent* aOwner) : TpsHtmlEditAction(aOwner) {
  SetCaptionAndHint(*this, "Undo", "Undo");
}
void TpsUndoAction::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->Undo(); }
void TpsUndoAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->CanUndo()); }

TpsRedoAction::TpsRedoAction(vcl::TComponent* aOwner) : TpsHtmlEditAction(aOwner) {
  SetCaptionAndHint(*this, "Redo", "Redo");
}
void TpsRedoAction::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->Redo(); }
void TpsRedoAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->CanRedo()); }

TpsClipboardCutAction::TpsClipboardCutAction(vcl::TComponent* aOwner) : TpsHtmlEditAction(aOwner) {
  SetCaptionAndHint(*this, "Cut", "Cut to Clipboard");
}
void TpsClipboardCutAction::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->CutToClipboard(); }
void TpsClipboardCutAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->HasTextSelection()); }

TpsClipboardCopyAction::TpsClipboardCopyAction(vcl::TComponent* aOwner) : TpsHtmlEditAction(aOwner) {
  SetCaptionAndHint(*this, "Copy", "Copy to Clipboard");
}
void TpsClipboardCopyAction::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->CopyToClipboard(); }
void TpsClipboardCopyAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->HasTextSelection()); }

TpsClipboardPasteAction::TpsClipboardPasteAction(vcl::TComponent* aOwner) : TpsHtmlEditAction(aOwner) {
  SetCaptionAndHint(*this, "Paste", "Paste from Clipboard");
}
void TpsClipboardPasteAction::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->PasteFromClipboard(); }
void TpsClipboardPasteAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->CanPasteFromClipboard()); }

// --- Spans ---

TpsSpanAction::TpsSpanAction(vcl::TComponent* aOwner, const rtl::AnsiString& aTagName)
    : TpsHtmlEditAction(aOwner), FTagName(aTagName) {}

const rtl::AnsiString& TpsSpanAction::OpenTag() {
  if (FOpenTag.empty()) FOpenTag = "<" + FTagName + ">";
  return FOpenTag;
}

void TpsSpanAction::ExecuteTarget(TpsHTMLEdit* aTarget) {
  if (aTarget->HasTextSelection()) {
    if (Checked()) {
      aTarget->RemoveSpanFromSelection(OpenTag());
    } else {
      aTarget->AddSpanToSelection(OpenTag());
    }
    return;
  }
  if (Checked()) {
    // Typing goes on without the format; an empty pair the caret stands
    // in goes with it.
    aTarget->GetSpansAroundCursor()->RemoveSpanByText(OpenTag(), true, false);
  } else {
    // Typing goes on with the format.
    aTarget->InsertSpanAtCursor(OpenTag());
  }
}

void TpsSpanAction::UpdateTarget(TpsHTMLEdit* aTarget) {
  if (aTarget->HasTextSelection()) {
    SetChecked(aTarget->GetSpansAroundSelection()->ContainsSpan(FTagName));
    SetEnabled(true);
  } else if (aTarget->IsCursorInBlock()) {
    SetChecked(aTarget->GetSpansAroundCursor()->ContainsSpan(FTagName));
    SetEnabled(true);
  } else {
    SetEnabled(false);
  }
}

TpsBoldAction::TpsBoldAction(vcl::TComponent* aOwner) : TpsSpanAction(aOwner, "b") {
  SetCaptionAndHint(*this, "Bold", "Boldface");
}
TpsItalicAction::TpsItalicAction(vcl::TComponent* aOwner) : TpsSpanAction(aOwner, "i") {
  SetCaptionAndHint(*this, "Italic", "Italic");
}
TpsUnderlineAction::TpsUnderlineAction(vcl::TComponent* aOwner) : TpsSpanAction(aOwner, "u") {
  SetCaptionAndHint(*this, "Underline", "Underline");
}
TpsStrikeOutAction::TpsStrikeOutAction(vcl::TComponent* aOwner) : TpsSpanAction(aOwner, "s") {
  SetCaptionAndHint(*this, "Strike Out", "Strike Out");
}

// --- Tables ---

void TpsTableAction::UpdateTarget(TpsHTMLEdit* aTarget) { SetEnabled(aTarget->IsCursorInTable()); }

TpsTableInsertRowAbove::TpsTableInsertRowAbove(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Insert Row Above", "Insert Row Above");
}
void TpsTableInsertRowAbove::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->InsertRowAbove(); }

TpsTableInsertRowBelow::TpsTableInsertRowBelow(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Insert Row Below", "Insert Row Below");
}
void TpsTableInsertRowBelow::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->InsertRowBelow(); }

TpsTableInsertColumnToTheLeft::TpsTableInsertColumnToTheLeft(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Insert Column to the Left", "Insert Column to the Left");
}
void TpsTableInsertColumnToTheLeft::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->InsertColumnToTheLeft(); }

TpsTableInsertColumnToTheRight::TpsTableInsertColumnToTheRight(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Insert Column to the Right", "Insert Column to the Right");
}
void TpsTableInsertColumnToTheRight::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->InsertColumnToTheRight(); }

TpsTableDeleteCurrentRow::TpsTableDeleteCurrentRow(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Delete Current Row", "Delete Current Row");
}
void TpsTableDeleteCurrentRow::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->DeleteCurrentRow(); }

TpsTableDeleteCurrentColumn::TpsTableDeleteCurrentColumn(vcl::TComponent* aOwner) : TpsTableAction(aOwner) {
  SetCaptionAndHint(*this, "Delete Current Column", "Delete Current Column");
}
void TpsTableDeleteCurrentColumn::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->DeleteCurrentColumn(); }

// --- Alignment ---

TpsTextAlignmentAction::TpsTextAlignmentAction(vcl::TComponent* aOwner, rtl::Byte aAlignment)
    : TpsHtmlEditAction(aOwner), FAlignment(aAlignment) {}

void TpsTextAlignmentAction::ExecuteTarget(TpsHTMLEdit* aTarget) {
  if (!Checked()) aTarget->SetAlignment(FAlignment);
}

void TpsTextAlignmentAction::UpdateTarget(TpsHTMLEdit* aTarget) {
  if (TpsBlock* block = aTarget->GetCurrentBlock()) {
    SetChecked(block->GetAlignment() == FAlignment);
    SetEnabled(true);
  } else {
    SetEnabled(false);
  }
}

TpsAlignLeft::TpsAlignLeft(vcl::TComponent* aOwner) : TpsTextAlignmentAction(aOwner, 1) {
  SetCaptionAndHint(*this, "Align Left", "Align Left");
}
TpsAlignCenter::TpsAlignCenter(vcl::TComponent* aOwner) : TpsTextAlignmentAction(aOwner, 2) {
  SetCaptionAndHint(*this, "Center", "Center");
}
TpsAlignRight::TpsAlignRight(vcl::TComponent* aOwner) : TpsTextAlignmentAction(aOwner, 3) {
  SetCaptionAndHint(*this, "Align Right", "Align Right");
}
TpsAlignJustify::TpsAlignJustify(vcl::TComponent* aOwner) : TpsTextAlignmentAction(aOwner, 4) {
  SetCaptionAndHint(*this, "Justify", "Justify");
}

// --- Lists ---

TpsListAction::TpsListAction(vcl::TComponent* aOwner, bool aOrdered) : TpsHtmlEditAction(aOwner), FOrdered(aOrdered) {}

void TpsListAction::ExecuteTarget(TpsHTMLEdit* aTarget) {
  bool ordered = false;
  const bool inList = aTarget->GetListKind(ordered);
  if (!Checked()) {
    if (!inList) {
      aTarget->CreateList(FOrdered);
    } else if (ordered != FOrdered) {
      aTarget->ChangeListKind(FOrdered);
    }
  } else if (inList && ordered == FOrdered) {
    aTarget->RemoveList();
  }
}

void TpsListAction::UpdateTarget(TpsHTMLEdit* aTarget) {
  if (!aTarget->IsCursorInBlock()) {
    SetEnabled(false);
    return;
  }
  bool ordered = false;
  const bool inList = aTarget->GetListKind(ordered);
  SetChecked(inList && ordered == FOrdered && !aTarget->HasTextSelection());
  SetEnabled(true);
}

TpsOrderedList::TpsOrderedList(vcl::TComponent* aOwner) : TpsListAction(aOwner, true) {
  SetCaptionAndHint(*this, "Ordered List", "Ordered List");
}
TpsUnorderedList::TpsUnorderedList(vcl::TComponent* aOwner) : TpsListAction(aOwner, false) {
  SetCaptionAndHint(*this, "Unordered List", "Unordered List");
}

void TpsListIndentAction::UpdateTarget(TpsHTMLEdit* aTarget) {
  SetEnabled(aTarget->IsInList() && !aTarget->HasTextSelection());
}

TpsDecreaseListIndent::TpsDecreaseListIndent(vcl::TComponent* aOwner) : TpsListIndentAction(aOwner) {
  SetCaptionAndHint(*this, "Decrease List Indent", "Decrease List Indent");
}
void TpsDecreaseListIndent::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->DecreaseListIndent(); }

TpsIncreaseListIndent::TpsIncreaseListIndent(vcl::TComponent* aOwner) : TpsListIndentAction(aOwner) {
  SetCaptionAndHint(*this, "Increase List Indent", "Increase List Indent");
}
void TpsIncreaseListIndent::ExecuteTarget(TpsHTMLEdit* aTarget) { aTarget->IncreaseListIndent(2); }

}  // namespace htmledit
