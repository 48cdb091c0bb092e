#include "memo/LumMemoUndo.h"

#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/text/MemoChars.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"

namespace memo {

namespace {

// The characters of a record's text, one string each (CR for a break).
std::vector<AnsiString> CharsOf(const AnsiString& text) {
  std::vector<AnsiString> out;
  for (size_t i = 0; i < text.size(); i += CharSizeAt(text, i)) out.emplace_back(text.substr(i, CharSizeAt(text, i)));
  return out;
}

void Select(TLumCustomMemo* memo, Integer sx, Integer sy, Integer ex, Integer ey) {
  memo->SetSelection({sx, sy}, {ex, ey});
}

}  // namespace

// ------------------------------------------------------------------ TUndo

TUndo::TUndo(Integer beforeX, Integer beforeY, Integer afterX, Integer afterY, AnsiString text)
    : BeforeX(beforeX), BeforeY(beforeY), AfterX(afterX), AfterY(afterY), Text(std::move(text)) {}

void TUndo::AfterUndoChanges(TLumCustomMemo*) {}
void TUndo::AfterRedoChanges(TLumCustomMemo*) {}

void TUndo::TakeChanges(TLineChanges changes) {
  changes_ = std::move(changes);
  journalled_ = true;
}

void TUndo::AddChanges(TLineChanges changes) {
  changes_.insert(changes_.end(), std::make_move_iterator(changes.begin()), std::make_move_iterator(changes.end()));
}

void TUndo::DropChanges() {
  changes_.clear();
  journalled_ = false;
}

bool TUndo::TryMerge(TUndo* newer) {
  if (!Merge(newer)) return false;
  if (journalled_ && newer->journalled_)
    AddChanges(std::move(newer->changes_));
  else
    DropChanges();
  return true;
}

// -------------------------------------------------------- TInsertCharUndo

bool TInsertCharUndo::Merge(TUndo* newer) {
  auto* n = dynamic_cast<TInsertCharUndo*>(newer);
  if (!n || n->BeforeX != AfterX || n->BeforeY != AfterY) return false;
  Text += n->Text;
  AfterX = n->AfterX;
  AfterY = n->AfterY;
  return true;
}

void TInsertCharUndo::Undo(TLumCustomMemo* memo) {
  std::vector<AnsiString> chars = CharsOf(Text);
  for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
    Integer x = memo->CaretX(), y = memo->CaretY();
    TLumMemoStrings* store = memo->TextStore();
    bool inLine = y < store->Count() && x > 0 && x <= store->LineLength(y);
    if ((*it == "\r" && x == 0) || (inLine && CharAt(store->Line(y), x - 1) == *it)) memo->Backspace();
  }
}

void TInsertCharUndo::Redo(TLumCustomMemo* memo) {
  for (const AnsiString& c : CharsOf(Text)) {
    if (c == "\r")
      memo->NewLine();
    else
      memo->InsertChar(c);
  }
}

// ------------------------------------------------------ TOverwriteCharUndo

void TOverwriteCharUndo::Exchange(TLumCustomMemo* memo) {
  TLumMemoStrings* store = memo->TextStore();
  Integer x = memo->CaretX(), y = memo->CaretY();
  if (y >= store->Count() || x >= store->LineLength(y) || Text.empty()) return;
  AnsiString line = store->Line(y);
  AnsiString old(CharAt(line, x));
  AnsiString first = CharCopy(Text, 0, 1);
  CharDelete(line, x, 1);
  CharInsert(line, x, first);
  store->Put(y, line);
  Text = old + CharTail(Text, 1);
  memo->LinesChanged();
}

// --------------------------------------------------------- TDeleteCharUndo

bool TDeleteCharUndo::Merge(TUndo* newer) {
  auto* n = dynamic_cast<TDeleteCharUndo*>(newer);
  if (!n || n->BeforeX != AfterX || n->BeforeY != AfterY || n->IsBackspace != IsBackspace) return false;
  Text = n->Text + Text;
  AfterX = n->AfterX;
  AfterY = n->AfterY;
  return true;
}

void TDeleteCharUndo::Undo(TLumCustomMemo* memo) {
  for (const AnsiString& c : CharsOf(Text)) {
    if (!IsBackspace) memo->PlaceCaret(BeforeX, BeforeY);
    if (c == "\r") {
      memo->NewLine();
    } else {
      memo->InsertChar(c);
      memo->Invalidate();
    }
  }
}

void TDeleteCharUndo::Redo(TLumCustomMemo* memo) {
  for (size_t i = 0, n = CharsOf(Text).size(); i < n; ++i) {
    if (IsBackspace)
      memo->Backspace();
    else
      memo->DeleteChar(-1, -1);
  }
}

// --------------------------------------------------------- TDeleteLineUndo

void TDeleteLineUndo::Undo(TLumCustomMemo* memo) {
  memo->ClearSelection();
  memo->InsertText(Text + "\r\n");
}

void TDeleteLineUndo::Redo(TLumCustomMemo* memo) { memo->DeleteLine(); }

// ---------------------------------------------------------- TDeleteBufUndo

void TDeleteBufUndo::Undo(TLumCustomMemo* memo) {
  memo->ClearSelection();
  memo->InsertText(Text);
  AfterUndoChanges(memo);
}

void TDeleteBufUndo::AfterUndoChanges(TLumCustomMemo* memo) {
  if (memo->CanFocus() && !memo->Focused()) memo->SetFocus();
  Select(memo, SelStartX, SelStartY, SelEndX, SelEndY);
}

void TDeleteBufUndo::Redo(TLumCustomMemo* memo) {
  Select(memo, SelStartX, SelStartY, SelEndX, SelEndY);
  memo->DeleteSelection(true);
}

// -------------------------------------------------------------- TPasteUndo

void TPasteUndo::Undo(TLumCustomMemo* memo) {
  Select(memo, BeforeX, BeforeY, AfterX, AfterY);
  memo->DeleteSelection(true);
}

void TPasteUndo::Redo(TLumCustomMemo* memo) {
  memo->ClearSelection();
  memo->InsertText(Text);
}

// -------------------------------------------------- mode and corrections

void TInsertOverwriteUndo::Undo(TLumCustomMemo* memo) {
  if (memo->Overwrite() != WasOverwrite) memo->SetOverwrite(WasOverwrite);
}

void TInsertOverwriteUndo::Redo(TLumCustomMemo* memo) {
  if (memo->Overwrite() == WasOverwrite) memo->SetOverwrite(!WasOverwrite);
}

void TCorrectUndo::Exchange(TLumCustomMemo* memo) {
  TLumMemoStrings* store = memo->TextStore();
  if (AfterY < 0 || AfterY >= store->Count()) return;
  memo->SetCaretLine(AfterY);
  AnsiString old = store->Line(AfterY);
  store->Put(AfterY, Text);
  Text = old;
}

// ------------------------------------------------------------ TLumUndoList

TLumUndoList::~TLumUndoList() { items_.clear(); }

TUndo* TLumUndoList::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  return items_[static_cast<size_t>(index)].get();
}

bool TLumUndoList::Contains(const TUndo* record) const {
  return std::any_of(items_.begin(), items_.end(), [record](const auto& r) { return r.get() == record; });
}

void TLumUndoList::Changed() {
  if (memo_) memo_->DoUndoChange();
}

void TLumUndoList::SetLimit(Integer value) {
  if (value == limit_) return;
  if (value <= 0) value = 10;
  if (value > 100) value = 100;
  limit_ = value;
  Clear();
}

Integer TLumUndoList::Add(TUndo* record) {
  std::unique_ptr<TUndo> owned(record);
  if (performing_) return -1;
  items_.erase(items_.begin(), items_.begin() + position_);
  position_ = 0;
  if (memo_) memo_->GiveChanges(*record);
  if (!items_.empty() && items_.front()->TryMerge(record)) {
    if (memo_) memo_->RecordTaken(items_.front().get());
    Changed();
    return -1;
  }
  record->Memo = memo_;
  items_.insert(items_.begin(), std::move(owned));
  while (Count() > limit_) items_.pop_back();
  if (memo_) memo_->RecordTaken(record);
  Changed();
  return 0;
}

void TLumUndoList::Perform(TUndo* record, bool backwards) {
  TLumCustomMemo* m = memo_;
  if (!m) return;
  if (record->HasChanges()) {
    m->ReplayChanges(*record, backwards);
    if (backwards) {
      m->PlaceCaret(record->BeforeX, record->BeforeY);
      m->ClearSelection();
      record->AfterUndoChanges(m);
    } else {
      m->PlaceCaret(record->AfterX, record->AfterY);
      m->ClearSelection();
      record->AfterRedoChanges(m);
    }
    return;
  }
  if (backwards) {
    m->SetCaretLine(record->AfterY);
    m->SetCaretX(record->AfterX);
    record->Undo(m);
    m->SetCaretLine(record->BeforeY);
    m->SetCaretX(record->BeforeX);
  } else {
    m->SetCaretLine(record->BeforeY);
    m->SetCaretX(record->BeforeX);
    record->Redo(m);
    m->SetCaretLine(record->AfterY);
    m->SetCaretX(record->AfterX);
  }
}

namespace {

// Replaying switches auto-indent off and marks the list as performing, and
// puts both back even when a replay raises.
class TReplayScope {
 public:
  TReplayScope(TLumUndoList& list, TLumCustomMemo* memo) : list_(list), memo_(memo) {
    list_.SetPerforming(true);
    if (memo_) {
      autoIndent_ = memo_->AutoIndent();
      memo_->SetAutoIndent(false);
    }
  }
  ~TReplayScope() {
    list_.SetPerforming(false);
    if (memo_) memo_->SetAutoIndent(autoIndent_);
  }

 private:
  TLumUndoList& list_;
  TLumCustomMemo* memo_;
  bool autoIndent_ = false;
};

}  // namespace

void TLumUndoList::Undo() {
  if (position_ >= Count()) return;
  {
    TReplayScope scope(*this, memo_);
    TUndo* record = items_[static_cast<size_t>(position_)].get();
    Perform(record, true);
    if (record->Linked && position_ + 1 < Count()) {
      ++position_;
      Perform(items_[static_cast<size_t>(position_)].get(), true);
    }
    ++position_;
  }
  Changed();
}

void TLumUndoList::Redo() {
  if (position_ <= 0) return;
  {
    TReplayScope scope(*this, memo_);
    --position_;
    Perform(items_[static_cast<size_t>(position_)].get(), false);
    if (position_ > 0 && items_[static_cast<size_t>(position_ - 1)]->Linked) {
      --position_;
      Perform(items_[static_cast<size_t>(position_)].get(), false);
    }
  }
  Changed();
  if (memo_) memo_->Perform(vcl::CM_CHANGED);
}

void TLumUndoList::Clear() {
  items_.clear();
  position_ = 0;
  if (memo_ && !memo_->Destroying()) Changed();
}

}  // namespace memo
