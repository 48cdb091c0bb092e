#include "grid/GridSpin.h"

#include "grid/GridComponent.h"
#include "rtl/Convert.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace grid {

namespace {

// A number read from the start of a text: leading blanks and a sign, then
// as far as the characters belong to it; 0 when none do.
double LeadingNumber(const AnsiString& text, bool integral) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  size_t end = i;
  if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
  bool dot = false, digits = false;
  while (end < text.size()) {
    const char c = text[end];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (!integral && !dot && (c == '.' || c == ',')) {
      dot = true;
    } else {
      break;
    }
    ++end;
  }
  if (!digits) return 0;
  AnsiString number = text.substr(i, end - i);
  for (char& c : number)
    if (c == ',') c = '.';
  double value = 0;
  Integer code = 0;
  rtl::Val(number, value, code);
  return code == 0 ? value : 0;
}

}  // namespace

TGridSpin::TGridSpin(vcl::TComponent* owner) : dropdown::TVoeSpinEdit(owner) {
  grid_ = dynamic_cast<TVadOdizadEzev*>(owner);
  if (grid_ == nullptr) throw EInvalidCast("Invalid class typecast");
  SetMaxValue(100);
  SetMinValue(0);
  SetIncrement(1);
}

void TGridSpin::UpButtonClick(vcl::TObject* sender) {
  dropdown::TVoeSpinEdit::UpButtonClick(sender);
  FireSpinClick(true);
}

void TGridSpin::DownButtonClick(vcl::TObject* sender) {
  dropdown::TVoeSpinEdit::DownButtonClick(sender);
  FireSpinClick(false);
}

void TGridSpin::FireSpinClick(bool up) {
  const Integer col = grid_->Col(), row = grid_->Row();
  switch (SpinType()) {
    case dropdown::sptNormal:
      if (grid_->OnSpinClick) grid_->OnSpinClick(grid_, col, row, Value(), up);
      break;
    case dropdown::sptFloat:
      if (grid_->OnFloatSpinClick) grid_->OnFloatSpinClick(grid_, col, row, FloatValue(), up);
      break;
    case dropdown::sptDate:
      if (grid_->OnDateSpinClick) grid_->OnDateSpinClick(grid_, col, row, DateValue(), up);
      break;
    case dropdown::sptTime:
      if (grid_->OnTimeSpinClick) grid_->OnTimeSpinClick(grid_, col, row, TimeValue(), up);
      break;
  }
}

void TGridSpin::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  // PageUp and PageDown step by the increment, Home goes to the maximum
  // and End to the minimum; a step past a limit leaves the value.
  const bool stepping = key == vcl::VK_PRIOR || key == vcl::VK_NEXT || key == vcl::VK_HOME || key == vcl::VK_END;
  if (stepping && (SpinType() == dropdown::sptNormal || SpinType() == dropdown::sptFloat)) {
    if (SpinType() == dropdown::sptNormal) {
      switch (key) {
        case vcl::VK_PRIOR:
          if (Value() + Increment() <= MaxValue()) SetValue(Value() + Increment());
          break;
        case vcl::VK_NEXT:
          if (Value() - Increment() >= MinValue()) SetValue(Value() - Increment());
          break;
        case vcl::VK_HOME: SetValue(MaxValue()); break;
        default: SetValue(MinValue()); break;
      }
    } else {
      switch (key) {
        case vcl::VK_PRIOR:
          if (FloatValue() + IncrementFloat() <= MaxFloatValue()) SetFloatValue(FloatValue() + IncrementFloat());
          break;
        case vcl::VK_NEXT:
          if (FloatValue() - IncrementFloat() >= MinFloatValue()) SetFloatValue(FloatValue() - IncrementFloat());
          break;
        case vcl::VK_HOME: SetFloatValue(MaxFloatValue()); break;
        default: SetFloatValue(MinFloatValue()); break;
      }
    }
    // The keyboard reports through OnSpinClick with the integer value,
    // whatever the spin type.
    if (grid_->OnSpinClick)
      grid_->OnSpinClick(grid_, grid_->Col(), grid_->Row(), Value(), key == vcl::VK_PRIOR || key == vcl::VK_HOME);
    key = 0;
    return;
  }

  const bool leaves = key == vcl::VK_TAB || key == vcl::VK_RETURN || key == vcl::VK_ESCAPE || key == vcl::VK_UP ||
                      key == vcl::VK_DOWN;
  if (!leaves) {
    dropdown::TVoeSpinEdit::KeyDown(key, shift);
    return;
  }
  if (key == vcl::VK_ESCAPE) {
    // Abandoned: the text the cell showed when the edit began.
    const AnsiString start = grid_->EditStartText();
    SetText(start);
    if (SpinType() == dropdown::sptNormal)
      SetValue(static_cast<Integer>(LeadingNumber(start, true)));
    else if (SpinType() == dropdown::sptFloat)
      SetFloatValue(LeadingNumber(start, false));
  } else {
    grid_->SetCurrentCellText(Text());
    if (!grid_->CellValidate(Text())) {
      // Refused: the editor stays on the cell with its text, caret at the
      // end.
      SetText(grid_->GetCurrentCellRawText());
      SetSelStart(static_cast<Integer>(Text().size()));
      SetSelLength(0);
      Invalidate();
      key = 0;
      return;
    }
    SetText(grid_->GetCurrentCellRawText());
    if (key == vcl::VK_TAB && grid_->Options().Contains(vcl::goTabs)) {
      const bool backward = vcl::GetKeyState(vcl::VK_SHIFT) < 0;
      grid_->HideCellEditor();
      if (grid_->CanFocus()) grid_->SetFocus();
      grid_->TabAdvance(backward);
      key = 0;
      return;
    }
    if (key == vcl::VK_RETURN && grid_->Navigation()->AdvanceOnEnter) {
      grid_->HideCellEditor();
      if (grid_->CanFocus()) grid_->SetFocus();
      key = 0;
      grid_->AdvanceAfterEnter(grid_->Col(), grid_->Row(), false, true, true, false);
      return;
    }
  }
  grid_->EditorLeaveKey(key, shift);
  key = 0;
  dropdown::TVoeSpinEdit::KeyDown(key, shift);
}

void TGridSpin::KeyPress(vcl::WideChar& key) {
  if (key == 27) key = 0;
  if (key == '\r') {
    key = 0;
    return;
  }
  dropdown::TVoeSpinEdit::KeyPress(key);
}

void TGridSpin::Dispatch(vcl::TMessage& m) {
  // The spin edit steps on these keys as messages, before its key-down
  // handling; the grid's editor decides about them first.
  if (m.Msg == vcl::WM_KEYDOWN && (m.WParam == vcl::VK_PRIOR || m.WParam == vcl::VK_NEXT ||
                                   m.WParam == vcl::VK_UP || m.WParam == vcl::VK_DOWN)) {
    vcl::Word key = static_cast<vcl::Word>(m.WParam);
    KeyDown(key, vcl::KeyboardStateToShiftState());
    if (key == 0) {
      m.Result = 1;
      return;
    }
  }
  // Tab and Enter never reach the field as characters.
  if (m.Msg == vcl::WM_CHAR && (m.WParam == '\t' || m.WParam == '\r')) {
    m.Result = 0;
    return;
  }
  if (m.Msg == vcl::CM_WANTSPECIALKEY) {
    dropdown::TVoeSpinEdit::Dispatch(m);
    if (m.WParam == vcl::VK_RETURN || m.WParam == vcl::VK_ESCAPE ||
        (m.WParam == vcl::VK_TAB && grid_->Options().Contains(vcl::goTabs)))
      m.Result = 1;
    return;
  }
  dropdown::TVoeSpinEdit::Dispatch(m);
}

void TGridSpin::DoExit() {
  grid_->HideCellEditor();
  dropdown::TVoeSpinEdit::DoExit();
}

void TGridSpin::Change() {
  dropdown::TVoeSpinEdit::Change();
  if (grid_ != nullptr && grid_->OnEditChange) grid_->OnEditChange(grid_, grid_->Col(), grid_->Row(), Text());
}

}  // namespace grid
