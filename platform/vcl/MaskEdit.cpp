// The masked side of TCustomMaskEdit (Mask.h): keys, paste and leaving the
// field go through the mask engine while a mask is set.
#include "rtl/Strings.h"
#include "vcl/Clipbrd.h"
#include "vcl/Mask.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace vcl {

void TCustomMaskEdit::SetEditMask(const AnsiString& value) {
  if (value == mask_.EditMask()) return;
  const AnsiString text = Text();
  mask_ = TMaskEngine(value);
  if (IsMasked()) TCustomEdit::SetText(mask_.EditTextOf(text));
}

void TCustomMaskEdit::SetText(const AnsiString& value) {
  TCustomEdit::SetText(IsMasked() ? mask_.EditTextOf(value) : value);
}

const AnsiString& TCustomMaskEdit::GetTextRef() const {
  if (!IsMasked()) return TCustomEdit::GetTextRef();
  unmasked_ = mask_.TextOf(TCustomEdit::GetTextRef());
  return unmasked_;
}

void TCustomMaskEdit::ApplyMasked(const AnsiString& editText, Integer caret) {
  if (editText != EditText()) {
    TCustomEdit::SetText(editText);
    SetModified(true);
  }
  SetSelStart(caret);
}

void TCustomMaskEdit::KeyPress(WideChar& key) {
  TCustomEdit::KeyPress(key);
  if (key == 0 || !IsMasked() || ReadOnly()) return;
  AnsiString edit = EditText();
  Integer caret = SelStart();
  if (key == 8) {
    if (SelLength() > 0) {
      mask_.Delete(edit, caret, SelLength());
      ApplyMasked(edit, caret);
    } else if (mask_.Backspace(edit, caret)) {
      ApplyMasked(edit, caret);
    }
    key = 0;
    return;
  }
  if (key < 0x20) return;  // Enter, Escape and the like are not text
  if (SelLength() > 0) mask_.Delete(edit, caret, SelLength());
  if (mask_.TypeChar(edit, caret, key))
    ApplyMasked(edit, caret);
  else
    MessageBeep(0);
  key = 0;
}

void TCustomMaskEdit::KeyDown(Word& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (key != VK_DELETE || !IsMasked() || ReadOnly()) return;
  AnsiString edit = EditText();
  const Integer caret = SelStart();
  if (mask_.Delete(edit, caret, SelLength())) ApplyMasked(edit, caret);
  key = 0;
}

void TCustomMaskEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_PASTE && IsMasked()) {
    if (ReadOnly()) return;
    AnsiString edit = EditText();
    Integer caret = SelStart();
    if (SelLength() > 0) mask_.Delete(edit, caret, SelLength());
    mask_.Paste(edit, caret, Clipboard()->AsText());
    ApplyMasked(edit, caret);
    return;
  }
  TCustomEdit::Dispatch(m);
}

void TCustomMaskEdit::ValidateEdit() {
  Integer at = 0;
  if (!IsMasked() || mask_.Valid(EditText(), &at)) return;
  SetSelStart(at);
  throw EDBEditError(kMaskEditError);
}

void TCustomMaskEdit::DoExit() {
  if (IsMasked() && !ComponentState().Contains(csDesigning)) ValidateEdit();
  TCustomEdit::DoExit();
}

}  // namespace vcl
