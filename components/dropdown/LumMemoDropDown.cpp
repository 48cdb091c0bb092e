// The memo drop-down: the first line in the edit, the whole text in the
// pop-up's memo.
#include "dropdown/LumMemoDropDown.h"

#include <algorithm>

#include "dropdown/LumDropDownDraw.h"
#include "rtl/CodePages.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

TLumMemoDropDown::TLumMemoDropDown(TComponent* owner)
    : TLumCustomDropDown(owner), memoText_(std::make_unique<rtl::TStringList>()) {
  SetEditorEnabled(true);
  memoText_->OnChange = [this](rtl::TStrings*) { MemoTextChanged(); };
  // The base made its pop-up while this part was not yet there.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TLumMemoDropDown::~TLumMemoDropDown() {
  memoText_->OnChange = nullptr;
  if (memo_ != nullptr) memo_->OnChange = nullptr;
}

void TLumMemoDropDown::SetMemoReadOnly(bool v) {
  memoReadOnly_ = v;
  if (memo_ != nullptr && DroppedDown()) memo_->SetReadOnly(v);
}

void TLumMemoDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  if (memo_ != nullptr || DropDownForm() == nullptr) return;
  memo_ = new TMemo(this);
  memo_->SetParent(DropDownForm());
  memo_->SetBorderStyle(bsNone);
  memo_->SetBounds(0, 0, Width(), 100);
  memo_->OnChange = [this](TObject*) {
    if (OnMemoChange) OnMemoChange(this);
  };
  SetDropDownControl(memo_);
}

void TLumMemoDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeactivate(false);
  // The edit shows the display form again while the memo edits the text.
  editingLine_ = false;
  MemoTextChanged();
  if (memo_ == nullptr) return;
  memo_->Lines()->Assign(*memoText_);
  memo_->SetPopupMenu(memoPopup_);
  memo_->SetScrollBars(memoScrollBars_);
  memo_->SetReadOnly(memoReadOnly_);
}

void TLumMemoDropDown::HideDropDown(bool cancelled) {
  if (!cancelled) {
    TLumCustomDropDown::HideDropDown(false);
    return;
  }
  if (memo_ != nullptr) memo_->Lines()->Assign(*memoText_);
  // The base brings the committed edit text back through SetText, which
  // here is the whole memo text: the memo text is kept round it.
  rtl::TStringList kept;
  kept.Assign(*memoText_);
  TLumCustomDropDown::HideDropDown(true);
  editingLine_ = false;
  memoText_->Assign(kept);
  MemoTextChanged();
}

void TLumMemoDropDown::DropDownFormHide() {
  TLumCustomDropDown::DropDownFormHide();
  if (memo_ != nullptr) memoText_->Assign(*memo_->Lines());
}

void TLumMemoDropDown::ControlKeyDown(Word& key, TShiftState shift) {
  if (key == 'A' && shift.Contains(ssCtrl) && memo_ != nullptr) {
    memo_->SelectAll();
    key = 0;
    return;
  }
  // Enter makes a new line and the arrows move the caret in the memo; only
  // the closing keys reach the edit.
  if (shift.Contains(ssAlt) || key == VK_ESCAPE || key == VK_F4) {
    TLumCustomDropDown::ControlKeyDown(key, shift);
    // Taken: left to the memo, an F4 would travel on to the pop-up, which
    // is closed by now and would open again.
    key = 0;
  }
}

void TLumMemoDropDown::ControlKeyUp(Word& key, TShiftState shift) {
  if (shift.Contains(ssAlt) || key == VK_ESCAPE || key == VK_F4) TLumCustomDropDown::ControlKeyUp(key, shift);
}

void TLumMemoDropDown::ControlKeyPress(WideChar& key) {
  if (GetKeyState(VK_MENU) < 0 || key == 27) TLumCustomDropDown::ControlKeyPress(key);
}

void TLumMemoDropDown::MemoTextChanged() {
  if (editingLine_) return;  // the edit holds the line being typed
  AnsiString s = memoText_->Count() > 0 ? memoText_->Strings(0) : AnsiString();
  const AnsiString line = s;
  if (!s.empty()) {
    TBitmap measure(1, 1);
    TCanvas* c = measure.Canvas();
    c->Font()->Assign(Font());
    const Integer room = GetEditRect().Width();
    if (GetTextSize(c, s).cx < room) {
      if (memoText_->Count() > 1) s += "...";
    } else {
      s = TruncateText(c, s, room, true);
    }
  }
  displayForm_ = s != line;
  const bool saved = updating_;
  updating_ = true;
  SetTextDirect(s);
  updating_ = saved;
}

void TLumMemoDropDown::SetText(const AnsiString& value) {
  editingLine_ = false;
  const bool saved = updating_;
  updating_ = true;
  memoText_->SetText(value);
  updating_ = saved;
  // Committed as shown, so a cancel brings the display back.
  const AnsiString shown = EditText();
  updating_ = true;
  TLumCustomDropDown::SetText(shown);
  updating_ = saved;
}

void TLumMemoDropDown::OpenFirstLineForEditing() {
  if (!displayForm_ || !EditorEnabled() || ReadOnly()) return;
  const AnsiString line = memoText_->Count() > 0 ? memoText_->Strings(0) : AnsiString();
  const Integer shownLength = static_cast<Integer>(rtl::ToWide(EditText()).size());
  const Integer start = SelStart();
  const Integer length = SelLength();
  const bool whole = start == 0 && length == shownLength;
  const Integer lineLength = static_cast<Integer>(rtl::ToWide(line).size());
  displayForm_ = false;
  editingLine_ = true;
  updating_ = true;
  SetTextDirect(line);
  updating_ = false;
  if (whole) {
    SetSelStart(0);
    SetSelLength(lineLength);
  } else {
    SetSelStart(std::min(start, lineLength));
    SetSelLength(std::max<Integer>(0, std::min(length, lineLength - std::min(start, lineLength))));
  }
}

void TLumMemoDropDown::Dispatch(TMessage& m) {
  const bool editing = (m.Msg == WM_CHAR && m.WParam >= 8 && m.WParam != 13 && m.WParam != 27) ||
                       (m.Msg == WM_KEYDOWN && m.WParam == VK_DELETE) || m.Msg == WM_PASTE || m.Msg == WM_CUT;
  if (editing && !ComponentState().Contains(csDesigning)) OpenFirstLineForEditing();
  TLumCustomDropDown::Dispatch(m);
}

void TLumMemoDropDown::Change() {
  if (!updating_) {
    // The edited line replaces the first line only; a memo of at most one
    // line takes it as its whole text.
    editingLine_ = true;
    if (memoText_->Count() <= 1)
      memoText_->SetText(EditText());
    else
      memoText_->Put(0, EditText());
  }
  TLumCustomDropDown::Change();
}

void TLumMemoDropDown::DoExit() {
  TLumCustomDropDown::DoExit();
  if (editingLine_) {
    editingLine_ = false;
    MemoTextChanged();
  }
}

}  // namespace dropdown
