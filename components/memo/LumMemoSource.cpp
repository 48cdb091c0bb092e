// The shared text source and the line-checker base.
#include "memo/LumMemoSource.h"

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoStyler.h"
#include "memo/LumMemoUndo.h"

namespace memo {

TLumMemoSource::TLumMemoSource(vcl::TComponent* owner) : TComponent(owner) {
  lines_ = std::make_unique<TLumMemoStrings>();
  undoList_ = std::make_unique<TLumUndoList>(nullptr);
  savedBookmarks_ = std::make_unique<TIntList>();
}

TLumMemoSource::~TLumMemoSource() {
  // The editor must not keep working on lines that are about to go.
  if (memo_) {
    TLumCustomMemo* editor = memo_;
    Detach();
    memo_ = nullptr;
    editor->SourceGone(this);
  }
  if (syntaxStyler_) syntaxStyler_->RemoveFreeNotification(this);
}

void TLumMemoSource::SetSyntaxStyler(TLumCustomMemoStyler* styler) {
  if (styler == syntaxStyler_) return;
  if (syntaxStyler_) syntaxStyler_->RemoveFreeNotification(this);
  syntaxStyler_ = styler;
  if (styler) {
    styler->FreeNotification(this);
    if (memo_) styler->AllStyles()->SetEditor(memo_);
  }
  if (memo_) {
    memo_->StyleChanged();
    memo_->Invalidate();
  }
}

void TLumMemoSource::SetLines(const rtl::TStrings* list) {
  if (!list) return;
  lines_->Clear();
  lines_->AddStrings(*list);
}

bool TLumMemoSource::ReadOnly() const { return memo_ ? memo_->ReadOnly() : readOnly_; }

void TLumMemoSource::SetReadOnly(bool v) {
  if (memo_)
    memo_->SetReadOnly(v);
  else
    readOnly_ = v;
}

void TLumMemoSource::Detach() {
  TLumCustomMemo* editor = memo_;
  if (syntaxStyler_ && syntaxStyler_->AllStyles()->Editor() == editor) syntaxStyler_->AllStyles()->SetEditor(nullptr);
  lines_->SetMemo(nullptr);
  lines_->OnChange = nullptr;
  modified_ = undoList_->Count() > 0;
  readOnly_ = editor->ReadOnly();
  savedView_ = editor->SavedViewState();
  if (editor->Bookmarks()->Count() == 10) {
    savedBookmarks_->Clear();
    for (Integer i = 0; i < 10; ++i) savedBookmarks_->Add(editor->Bookmarks()->Items(i));
  }
  undoList_->SetMemo(nullptr);
  // An editor that still names this source must hear of its end.
  if (editor->MemoSource() != this) editor->RemoveFreeNotification(this);
  editor->Invalidate();
}

void TLumMemoSource::Attach(TLumCustomMemo* editor) {
  if (editor == memo_) return;
  if (memo_) Detach();
  memo_ = editor;
  if (!editor) {
    if (syntaxStyler_) syntaxStyler_->AllStyles()->SetEditor(nullptr);
    lines_->SetMemo(nullptr);
    lines_->OnChange = nullptr;
    undoList_->SetMemo(nullptr);
    return;
  }
  editor->FreeNotification(this);
  // The editor lets go of the source it showed and takes this one.
  editor->SourceAttaching(this);
  if (syntaxStyler_) syntaxStyler_->AllStyles()->SetEditor(editor);
  lines_->SetMemo(editor->StoreLink());
  lines_->OnChange = [editor](rtl::TStrings*) { editor->LinesChanged(); };
  editor->RestoreViewState(savedView_);
  if (savedBookmarks_->Count() == 10)
    for (Integer i = 0; i < 10; ++i) editor->Bookmarks()->SetItems(i, savedBookmarks_->Items(i));
  undoList_->SetMemo(editor);
  editor->SetReadOnly(readOnly_);
  editor->Invalidate();
}

void TLumMemoSource::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != vcl::opRemove || !component) return;
  if (component == syntaxStyler_) {
    syntaxStyler_ = nullptr;
    if (memo_) {
      memo_->StyleChanged();
      memo_->Invalidate();
    }
  } else if (component == memo_) {
    // The editor is going: nothing of it may be reached from here again.
    lines_->SetMemo(nullptr);
    lines_->OnChange = nullptr;
    undoList_->SetMemo(nullptr);
    if (syntaxStyler_ && syntaxStyler_->AllStyles()->Editor() == memo_) syntaxStyler_->AllStyles()->SetEditor(nullptr);
    memo_ = nullptr;
  }
}

// ------------------------------------------------------------ the checker

// The editor that names this checker hears of its end through the
// component's free notification.
TLumMemoChecker::~TLumMemoChecker() = default;

void TLumMemoChecker::SetMemo(TLumCustomMemo* memo) {
  if (memo == memo_) return;
  if (memo_ && memo_->MemoChecker() != this) memo_->RemoveFreeNotification(this);
  memo_ = memo;
  if (memo_) memo_->FreeNotification(this);
}

void TLumMemoChecker::CheckLine(Integer line) {
  if (!memo_) return;
  TLumMemoStrings* store = memo_->TextStore();
  if (line < 0 || line >= store->Count()) return;
  memo_->ClearUnderlines(line);
}

void TLumMemoChecker::CheckAllLines() {
  if (!memo_) return;
  for (Integer i = 0; i < memo_->TextStore()->Count(); ++i) CheckLine(i);
}

void TLumMemoChecker::CorrectAllLines() {
  if (!memo_) return;
  for (Integer i = 0; i < memo_->TextStore()->Count(); ++i) CorrectLine(i);
}

void TLumMemoChecker::AddCorrectionUndo(Integer line, const AnsiString& before) {
  if (memo_) memo_->UndoList()->Add(new TCorrectUndo(line, before));
}

void TLumMemoChecker::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == vcl::opRemove && component && component == memo_) memo_ = nullptr;
}

}  // namespace memo
