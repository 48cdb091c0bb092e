#include "grid/GridEditBtn.h"

#include <vector>

#include "grid/GridComponent.h"
#include "grid/model/GridEnvironment.h"
#include "grid/model/InplaceRules.h"
#include "rtl/CodePages.h"
#include "vcl/Clipbrd.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace grid {

namespace {

// Characters to bytes of the UTF-8 text and back.
Integer ByteOffset(const AnsiString& text, Integer chars) {
  const WideString wide = rtl::Utf8ToWide(text);
  return static_cast<Integer>(rtl::WideToUtf8(wide.substr(0, std::min<size_t>(wide.size(), chars))).size());
}
Integer CharOffset(const AnsiString& text, Integer bytes) {
  return static_cast<Integer>(rtl::Utf8ToWide(text.substr(0, static_cast<size_t>(bytes))).size());
}

}  // namespace

TGridEditBtn::TGridEditBtn(vcl::TComponent* owner) : dropdown::TVoeEditBtn(owner) {
  grid_ = dynamic_cast<TVadOdizadEzev*>(owner);
  if (grid_ == nullptr) throw EInvalidCast("Invalid class typecast");
}

void TGridEditBtn::ClickBtn(vcl::TObject* sender) {
  dropdown::TVoeEditBtn::ClickBtn(sender);
  ButtonClick();
}

void TGridEditBtn::ButtonClick() {
  SetText(grid_->EllipsClick(Text()));
  SelectAll();
  Invalidate();
  if (StopEditAfterClick) {
    grid_->HideCellEditor();
    if (grid_->CanFocus()) grid_->SetFocus();
  }
}

void TGridEditBtn::Dispatch(vcl::TMessage& m) {
  switch (m.Msg) {
    case vcl::WM_CHAR:
      TypedChar(m);
      if (m.Result != 0) return;
      break;
    case vcl::WM_PASTE:
      Paste();
      return;
    case vcl::CM_WANTSPECIALKEY:
      dropdown::TVoeEditBtn::Dispatch(m);
      if (m.WParam == vcl::VK_RETURN || m.WParam == vcl::VK_ESCAPE ||
          (m.WParam == vcl::VK_TAB && grid_->TabNeedsValidation()))
        m.Result = 1;
      return;
    default:
      break;
  }
  dropdown::TVoeEditBtn::Dispatch(m);
}

void TGridEditBtn::TypedChar(vcl::TMessage& m) {
  const WideChar typed = static_cast<WideChar>(m.WParam);
  if (typed == '\r' || typed == '\t') {
    m.Result = 1;
    return;
  }
  const TEditorType editor = grid_->CurrentEditorType();
  if (editor != edNumericEditBtn && editor != edFloatEditBtn) return;
  const AnsiString text = Text();
  TCharRuleInput in;
  in.Editor = editor == edNumericEditBtn ? edNumeric : edFloat;
  in.Char = typed < 256 ? static_cast<unsigned char>(typed) : 0x01;
  in.Text = text;
  in.SelStart = ByteOffset(text, SelStart());
  in.SelLength = ByteOffset(text, SelStart() + SelLength()) - in.SelStart;
  in.Ctrl = vcl::GetKeyState(vcl::VK_CONTROL) < 0;
  in.DecimalSeparator = CurrentLocale().DecimalSeparator();
  in.ThousandSeparator = CurrentLocale().ThousandSeparator();
  switch (ApplyCharRule(in).Verdict) {
    case TCharVerdict::cvRefuse:
      vcl::MessageBeep(0);
      m.Result = 1;
      return;
    case TCharVerdict::cvIgnore:
      m.Result = 1;
      return;
    case TCharVerdict::cvPass:
      return;
  }
}

void TGridEditBtn::Paste() {
  vcl::TClipboard* clipboard = vcl::Clipboard();
  if (!clipboard->HasFormat(vcl::CF_TEXT)) return;
  AnsiString pasted = clipboard->AsText();
  bool allow = true;
  if (grid_->OnClipboardPaste) grid_->OnClipboardPaste(this, allow);
  if (!allow) return;
  if (grid_->OnClipboardBeforePasteCell) grid_->OnClipboardBeforePasteCell(this, grid_->Col(), grid_->Row(), pasted, allow);
  if (!allow) return;
  const AnsiString text = Text();
  TPasteInput in;
  in.Text = text;
  in.SelStart = ByteOffset(text, SelStart());
  in.SelLength = ByteOffset(text, SelStart() + SelLength()) - in.SelStart;
  in.Pasted = pasted;
  const TPasteResult r = ApplyPaste(in);
  SetText(r.Text);
  SetSelStart(CharOffset(r.Text, r.SelStart));
  SetSelLength(CharOffset(r.Text, r.SelStart + r.SelLength) - CharOffset(r.Text, r.SelStart));
  grid_->SetCurrentEditText(r.Text);
}

void TGridEditBtn::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  const bool leaves = key == vcl::VK_TAB || key == vcl::VK_RETURN || key == vcl::VK_ESCAPE || key == vcl::VK_PRIOR ||
                      key == vcl::VK_NEXT || key == vcl::VK_UP || key == vcl::VK_DOWN;
  if (!leaves && grid_->OnKeyDown) grid_->OnKeyDown(grid_, key, shift);
  autoComplete_ = key != vcl::VK_BACK && key != vcl::VK_DELETE;
  if (shift.Contains(vcl::ssCtrl) || !leaves) {
    dropdown::TVoeEditBtn::KeyDown(key, shift);
    return;
  }
  if (OnKeyDown) OnKeyDown(this, key, shift);
  if (key == vcl::VK_TAB || key == vcl::VK_RETURN || key == vcl::VK_UP || key == vcl::VK_DOWN) {
    grid_->SetCurrentCellText(Text());
    const bool valid = grid_->CellValidate(Text());
    SetText(grid_->Validation().EndText());
    if (!valid) {
      SelectAll();
      Invalidate();
      key = 0;
      return;
    }
  }
  if (key == vcl::VK_RETURN && grid_->Navigation()->AdvanceOnEnter) {
    grid_->HideCellEditor();
    if (grid_->CanFocus()) grid_->SetFocus();
    key = 0;
    grid_->AdvanceAfterEnter(grid_->Col(), grid_->Row(), false, true, true, false);
    return;
  }
  if (key == vcl::VK_TAB && grid_->TabNeedsValidation()) {
    if (grid_->Options().Contains(vcl::goTabs)) {
      const bool backward = vcl::GetKeyState(vcl::VK_SHIFT) < 0;
      grid_->HideCellEditor();
      if (grid_->CanFocus()) grid_->SetFocus();
      grid_->TabAdvance(backward);
      key = 0;
      return;
    }
    if (grid_->HandleAllocated()) vcl::PostMessage(grid_->Handle(), vcl::WM_KEYDOWN, vcl::VK_TAB, 0);
  }
  if (key == vcl::VK_ESCAPE) SetText(grid_->EditStartText());
  grid_->EditorLeaveKey(key, shift);
}

void TGridEditBtn::KeyUp(vcl::Word& key, vcl::TShiftState shift) {
  if (grid_->OnKeyUp) grid_->OnKeyUp(grid_, key, shift);
  if (key != vcl::VK_RETURN) dropdown::TVoeEditBtn::KeyUp(key, shift);
  DoLookup();
}

void TGridEditBtn::DoLookup() {
  if (!autoComplete_ || SelLength() != 0 || !grid_->Lookup || grid_->LookupItems()->Count() == 0) return;
  const AnsiString text = Text();
  std::vector<AnsiString> items;
  for (Integer i = 0; i < grid_->LookupItems()->Count(); ++i) items.push_back(grid_->LookupItems()->Strings(i));
  const TLookupCompletion c = CompleteFromLookup(text, ByteOffset(text, SelStart()), items, grid_->LookupCaseSensitive);
  if (!c.Completed || c.Text == text) return;
  SetText(c.Text);
  const Integer start = CharOffset(c.Text, c.SelStart);
  SetSelStart(start);
  SetSelLength(CharOffset(c.Text, static_cast<Integer>(c.Text.size())) - start);
}

void TGridEditBtn::KeyPress(vcl::WideChar& key) {
  vcl::WideChar typed = key;
  if (grid_->OnKeyPress) grid_->OnKeyPress(grid_, typed);
  if (key == '\t') {
    key = 0;
    return;
  }
  dropdown::TVoeEditBtn::KeyPress(key);
}

void TGridEditBtn::DoExit() {
  grid_->HideCellEditor();
  dropdown::TVoeEditBtn::DoExit();
}

void TGridEditBtn::Change() {
  dropdown::TVoeEditBtn::Change();
  if (grid_ != nullptr && grid_->OnEditChange) grid_->OnEditChange(grid_, grid_->Col(), grid_->Row(), Text());
}

}  // namespace grid
