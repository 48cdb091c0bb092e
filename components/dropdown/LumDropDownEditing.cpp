// The drop-down edit's entry rules: what a typed, pasted or set text
// becomes for each edit kind, the number conversions, and the focus and
// change handling the reformatting needs. The window-free rules are in
// LumDropDownEntry.cpp; here they meet the edit field.
#include <algorithm>

#include "dropdown/LumDropDown.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Locale.h"
#include "vcl/Caret.h"
#include "vcl/Clipbrd.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

bool IsFloatKind(TEditKind k) { return k == TEditKind::ekFloat || k == TEditKind::ekFloatThousands; }
bool IsEntryDigit(char16_t c) { return c >= '0' && c <= '9'; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Where a float text's decimal separator is (characters before it), or npos.
size_t DecimalAt(const AnsiString& text) { return text.find(rtl::FormatSettings().DecimalSeparator); }

}  // namespace

void TLumCustomDropDown::SetModified(bool v) {
  if (Loading() || !editorEnabled_ || ReadOnly()) return;
  TCustomMaskEdit::SetModified(v);
  savedModified_ = v;
}

void TLumCustomDropDown::Change() {
  if (deferChange_) {
    changePending_ = true;
    return;
  }
  if (suppressNextChange_) {
    suppressNextChange_ = false;
    return;
  }
  TCustomMaskEdit::Change();
}

void TLumCustomDropDown::Loaded() {
  TCustomMaskEdit::Loaded();
  if (HandleAllocated()) SetEditRect();
  UpdateButtonBounds();
  if (button_) button_->SetEnabled(Enabled());
}

void TLumCustomDropDown::DoEnter() {
  TCustomMaskEdit::DoEnter();
  if (HandleAllocated()) SetEditRect();
}

void TLumCustomDropDown::SetEditKind(TEditKind kind) {
  if (kind == editKind_) return;
  editKind_ = kind;
  SetPasswordChar(0);
  const TNumberClass cls = ClassifyNumber(Text());
  if (kind == TEditKind::ekInteger && cls != TNumberClass::ncInteger) SetIntValue(0);
  if (IsFloatKind(kind) && (cls == TNumberClass::ncInvalid || cls == TNumberClass::ncHexadecimal)) SetFloatValue(0);
}

void TLumCustomDropDown::SetPrecision(int16_t p) {
  if (p == precision_ || editKind_ == TEditKind::ekInteger) return;
  precision_ = p;
  const TNumberClass cls = ClassifyNumber(Text());
  SetFloatValue(cls == TNumberClass::ncInvalid || cls == TNumberClass::ncHexadecimal ? 0.0 : GetFloatValue());
}

double TLumCustomDropDown::GetFloatValue() const { return FloatValueOf(editKind_, Text()); }

void TLumCustomDropDown::SetFloatValue(double v) {
  if (editKind_ != TEditKind::ekInteger) {
    const AnsiString s = precision_ < 0 ? rtl::Format("%g", {v})
                                        : rtl::Format("%." + rtl::IntToStr(precision_) + "f", {v});
    SetText(s);
    if (editKind_ == TEditKind::ekFloatThousands) ReformatThousandsText();
  }
  SetModified(true);
}

void TLumCustomDropDown::SetIntValue(Integer n) {
  if (editKind_ != TEditKind::ekText) {
    SetText(rtl::IntToStr(n));
    if (editKind_ == TEditKind::ekFloatThousands) ReformatThousandsText();
  }
  SetModified(true);
}

void TLumCustomDropDown::SelectAllText() {
  if (!HandleAllocated()) return;
  SetSelStart(0);
  SetSelLength(static_cast<Integer>(rtl::ToWide(Text()).size()));
}

void TLumCustomDropDown::CaretToDecimal() {
  if (!HandleAllocated()) return;
  const size_t at = DecimalAt(Text());
  SetSelStart(at == AnsiString::npos ? 0 : static_cast<Integer>(at));
}

void TLumCustomDropDown::CaretAfterDecimal() {
  if (!HandleAllocated()) return;
  const size_t at = DecimalAt(Text());
  SetSelStart(at == AnsiString::npos ? 0 : static_cast<Integer>(at) + 1);
}

void TLumCustomDropDown::ReformatThousandsText() {
  const AnsiString text = Text();
  if (text.empty()) return;
  const TReformatted r = ReformatThousands(text, SelStart());
  suppressNextChange_ = r.Changed;
  TCustomMaskEdit::SetText(r.Text);
  // Unchanged text sends no change notice to take the flag back.
  if (!r.Changed) suppressNextChange_ = false;
  if (HandleAllocated()) SetSelStart(r.Caret);
}

bool TLumCustomDropDown::TypeCharacter(TMessage& m) {
  TCustomMaskEdit::Dispatch(m);  // KeyPress and OnKeyPress may drop or change it
  const auto ch = static_cast<char16_t>(m.WParam);
  if (m.Result != 0 || ch == 0) return false;
  // Tab, Enter, Delete and the control chords are the field's own keys.
  if (ch != 8 && (ch < 32 || ch == 127)) return false;
  m.Result = 1;
  if (ReadOnly()) return false;
  if (IsHighSurrogate(ch)) {
    pendingHighSurrogate_ = ch;  // the character's second half follows
    return false;
  }
  WideString w = rtl::ToWide(Text());
  const Integer size = static_cast<Integer>(w.size());
  Integer start = std::clamp<Integer>(SelStart(), 0, size);
  Integer length = std::clamp<Integer>(SelLength(), 0, size - start);
  WideString typed;
  if (IsLowSurrogate(ch) && pendingHighSurrogate_) typed.push_back(pendingHighSurrogate_);
  pendingHighSurrogate_ = 0;
  if (ch == 8) {
    if (length == 0) {
      if (start == 0) return false;
      length = start >= 2 && IsLowSurrogate(w[start - 1]) && IsHighSurrogate(w[start - 2]) ? 2 : 1;
      start -= length;
    }
  } else {
    typed.push_back(ch);
    if (MaxLength() > 0 && size - length + static_cast<Integer>(typed.size()) > MaxLength()) return false;
  }
  w.replace(static_cast<size_t>(start), static_cast<size_t>(length), typed);
  // The change is told with the caret already after the character, as the
  // field itself would tell it.
  deferChange_ = true;
  changePending_ = false;
  TCustomMaskEdit::SetText(rtl::ToAnsi(w));
  deferChange_ = false;
  if (HandleAllocated()) SetSelStart(start + static_cast<Integer>(typed.size()));
  TCustomMaskEdit::SetModified(true);
  if (changePending_) {
    changePending_ = false;
    Change();
  }
  return true;
}

void TLumCustomDropDown::EntryChar(TMessage& m) {
  if (!editorEnabled_) {
    m.Result = 1;
    return;
  }
  const auto ch = static_cast<char16_t>(m.WParam);
  const rtl::TFormatSettings& fs = rtl::FormatSettings();
  const char16_t decimal = static_cast<unsigned char>(fs.DecimalSeparator);
  const char16_t thousands = static_cast<unsigned char>(fs.ThousandSeparator);
  const AnsiString text = Text();
  const Integer selStart = SelStart(), selLength = SelLength();
  const bool wholeSelected =
      !text.empty() && selStart == 0 && selLength == static_cast<Integer>(rtl::ToWide(text).size());
  // Typing over the whole text tells no change; a character that is then
  // dropped takes the flag back, so the next real change is told.
  bool suppressedHere = false;
  if (wholeSelected && !suppressNextChange_) suppressNextChange_ = suppressedHere = true;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  auto drop = [&] {
    m.Result = 1;
    if (suppressedHere) suppressNextChange_ = false;
  };
  auto type = [&] {
    if (!TypeCharacter(m) && suppressedHere) suppressNextChange_ = false;
    if (Modified()) SetModified(true);
  };

  if (ch == 10 && ctrl) return drop();
  if (ch == 13) {
    if (OnKeyPress) {
      WideChar key = 13;
      OnKeyPress(this, key);
    }
    return drop();
  }
  if (ctrl && (ch == 3 || ch == 22 || ch == 24)) {
    if (suppressedHere) suppressNextChange_ = false;
    TCustomMaskEdit::Dispatch(m);
    return;
  }
  if (ch == 8) {
    // Deleting a whole selection tells no change above; an edit emptied
    // by it still tells one.
    WideString predicted = rtl::ToWide(text);
    if (selStart > 0 && selStart <= static_cast<Integer>(predicted.size()))
      predicted.erase(static_cast<size_t>(selStart - 1), static_cast<size_t>(selLength > 0 ? selLength : 1));
    type();
    if (Text().empty() && !predicted.empty()) Change();
    const AnsiString now = Text();
    if (editKind_ == TEditKind::ekFloatThousands && !now.empty() && now != "-") {
      SetModified(true);
      ReformatThousandsText();
    }
    return;
  }
  if (ch == 10) return drop();
  if (editKind_ != TEditKind::ekText && ch == '-') return drop();

  switch (editKind_) {
    case TEditKind::ekText:
      SetModified(true);
      return type();
    case TEditKind::ekInteger:
      if (ch == 8 || ch == 9 || ch == 13 || IsEntryDigit(ch) || ctrl) return type();
      return drop();
    case TEditKind::ekFloat:
    case TEditKind::ekFloatThousands: break;
  }

  const bool thousandsKind = editKind_ == TEditKind::ekFloatThousands;
  const bool hasDecimal = DecimalAt(text) != AnsiString::npos;
  if (thousandsKind) {
    if (ch == decimal && (hasDecimal || precision_ == 0)) {
      if (precision_ > 0) {
        if (wholeSelected) SetText("0");
        CaretAfterDecimal();
      }
      return drop();
    }
    if (!(ch == 8 || ch == 9 || ch == 13 || ch == '-' || IsEntryDigit(ch) || ch == decimal)) return drop();
  } else {
    if ((ch == ',' || ch == '.') && ch != decimal && ch != thousands) return drop();
    if (!(ch == 8 || ch == 9 || ch == 13 || ch == ',' || ch == '.' || ch == '-' || IsEntryDigit(ch))) return drop();
    const AnsiString selected = SelText();
    const bool selectionHasDecimal = selected.find(fs.DecimalSeparator) != AnsiString::npos;
    if (ch == decimal && !selectionHasDecimal && (hasDecimal || precision_ == 0)) {  // (f1)
      drop();
      if (precision_ > 0) CaretAfterDecimal();
      return;
    }
    if (ch == ',' && text.find(',') != AnsiString::npos && selected.find(',') == AnsiString::npos &&
        thousands != ',')  // (f2)
      return drop();
  }
  if ((ch == thousands || ch == decimal) && SeparatorMisplaced(text, selStart)) return drop();  // (f3)
  if (DecimalsFull(text, selStart, precision_) && (IsEntryDigit(ch) || ch == decimal)) {        // (f4)
    const size_t at = DecimalAt(text);
    const bool overwrite = selLength == 0 && IsEntryDigit(ch) && at != AnsiString::npos &&
                           selStart > static_cast<Integer>(at) && selStart < static_cast<Integer>(text.size());
    if (!overwrite) return drop();
    SetSelLength(1);
  }
  if (ch == decimal && selStart == 0 && text.empty()) {  // (f5)
    m.Result = 1;
    TCustomMaskEdit::SetText(AnsiString("0") + fs.DecimalSeparator);
    if (HandleAllocated()) SetSelStart(2);
    SetModified(true);
    return;
  }
  type();
  if (thousandsKind) {
    const AnsiString now = Text();
    if (!now.empty() && now != "-" && ch != decimal) {
      SetModified(true);
      ReformatThousandsText();
    }
  }
}

void TLumCustomDropDown::EntryPaste() {
  // A drop-down the user cannot type in takes no text either.
  if (ReadOnly() || !editorEnabled_ || !Clipboard()->HasFormat(CF_TEXT)) return;
  const WideString pasted = rtl::ToWide(Clipboard()->AsText());
  WideString w = rtl::ToWide(Text());
  const Integer size = static_cast<Integer>(w.size());
  const Integer start = std::clamp<Integer>(SelStart(), 0, size);
  const Integer length = std::clamp<Integer>(SelLength(), 0, size - start);
  if (MaxLength() > 0 && static_cast<Integer>(pasted.size()) + size - length > MaxLength()) return;
  w.replace(static_cast<size_t>(start), static_cast<size_t>(length), pasted);
  const AnsiString candidate = rtl::ToAnsi(w);
  const AnsiString pastedText = rtl::ToAnsi(pasted);
  const TNumberClass cls = ClassifyNumber(candidate);
  switch (editKind_) {
    case TEditKind::ekText: SetText(candidate); break;
    case TEditKind::ekInteger:
      if (cls != TNumberClass::ncInteger || candidate.find('-') != AnsiString::npos) return;
      SetText(candidate);
      SetModified(true);
      break;
    case TEditKind::ekFloat:
    case TEditKind::ekFloatThousands:
      if (cls == TNumberClass::ncInvalid || cls == TNumberClass::ncHexadecimal) return;
      if (precision_ == 0 && pastedText.find(rtl::FormatSettings().DecimalSeparator) != AnsiString::npos) return;
      if (candidate.find('-') != AnsiString::npos) return;
      SetText(candidate);
      SetFloatValue(GetFloatValue());
      SetModified(true);
      break;
  }
  if (!HandleAllocated()) return;
  if (editKind_ == TEditKind::ekFloatThousands && Text().size() > 3) {
    SelectAllText();
  } else if (length > 0) {
    SetSelStart(start);
    SetSelLength(static_cast<Integer>(pasted.size()));
  } else {
    SetSelStart(start + static_cast<Integer>(pasted.size()));
  }
  if (editKind_ == TEditKind::ekText) SetModified(true);
}

void TLumCustomDropDown::EntryFocus(TMessage& m) {
  if (Loading()) {
    TCustomMaskEdit::Dispatch(m);
    return;
  }
  if (m.Msg == WM_SETFOCUS) {
    TCustomMaskEdit::Dispatch(m);
    if (editorEnabled_) {
      if (AutoSelect())
        SelectAllText();
      else if (IsFloatKind(editKind_))
        CaretToDecimal();
    } else if (HandleAllocated()) {
      HideCaret(Handle());
    }
    Invalidate();
    return;
  }
  if (precision_ > 0 && IsFloatKind(editKind_)) {
    const bool saved = savedModified_;
    SetFloatValue(GetFloatValue());
    SetModified(saved);
  }
  if (editKind_ == TEditKind::ekInteger && Text().empty()) SetText("0");
  if (IsFloatKind(editKind_) && Text().empty()) SetFloatValue(0);
  TCustomMaskEdit::Dispatch(m);
  Invalidate();
}

bool TLumCustomDropDown::EntryMessage(TMessage& m) {
  if (Designing()) return false;
  switch (m.Msg) {
    case WM_CHAR: EntryChar(m); return true;
    case WM_PASTE: EntryPaste(); return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: EntryFocus(m); return true;
    case CM_ENTER:
      if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAllText();
      TCustomMaskEdit::Dispatch(m);
      return true;
    default: return false;
  }
}

// Delete in an editable drop-down: Modified first; the thousands kind
// deletes here so that it can group the rest again.
bool TLumCustomDropDown::EntryDelete(TMessage& m) {
  SetModified(true);
  if (editKind_ != TEditKind::ekFloatThousands || ReadOnly()) return false;
  TCustomMaskEdit::Dispatch(m);  // OnKeyDown may take the key
  if (m.Result != 0 || m.WParam == 0) return true;
  WideString w = rtl::ToWide(Text());
  const Integer size = static_cast<Integer>(w.size());
  const Integer start = std::clamp<Integer>(SelStart(), 0, size);
  Integer length = std::clamp<Integer>(SelLength(), 0, size - start);
  if (length == 0) length = start < size ? 1 : 0;
  if (length > 0) {
    w.erase(static_cast<size_t>(start), static_cast<size_t>(length));
    TCustomMaskEdit::SetText(rtl::ToAnsi(w));
    if (HandleAllocated()) SetSelStart(start);
    TCustomMaskEdit::SetModified(true);
  }
  ReformatThousandsText();
  m.Result = 1;
  return true;
}

}  // namespace dropdown
