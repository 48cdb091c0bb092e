#include "dropdown/VoeSpin.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "dropdown/VoeEdit.h"
#include "dropdown/VoeTheme.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "rtl/Strings.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/Resources.h"
#include "vcl/WinApi.h"

namespace dropdown {

void RegisterDropdownResources();  // generated from resources/dropdown

void EnsureDropdownResources() {
  static std::once_flag once;
  std::call_once(once, RegisterDropdownResources);
}

// ------------------------------------------------------ auto-repeat arrow

TLumTimerSpeedButton::TLumTimerSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TLumTimerSpeedButton::SetArrowDirection(TArrowDirection v) {
  arrowDirection_ = v;
  Invalidate();
}

void TLumTimerSpeedButton::SetXPLook(bool v) {
  xpLook_ = v;
  Invalidate();
}

void TLumTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  if (autoRepeat_) {
    if (!repeatTimer_) repeatTimer_ = new TTimer(this);
    repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    repeatTimer_->SetInterval(400);
    repeatTimer_->SetEnabled(true);
  }
  if (Parent()) Parent()->Invalidate();
}

void TLumTimerSpeedButton::RepeatTick() {
  repeatTimer_->SetInterval(100);
  if (state_ == bsDown && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      repeatTimer_->SetEnabled(false);
      throw;
    }
  }
}

void TLumTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TSpeedButton::MouseUp(button, shift, x, y);
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
  if (Parent()) Parent()->Invalidate();
}

void TLumTimerSpeedButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    hot_ = m.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TSpeedButton::Dispatch(m);
}

void TLumTimerSpeedButton::Paint() {
  TRect r = ClientRect();
  bool down = state_ == bsDown || state_ == bsExclusive;
  if (xpLook_) {
    static constexpr Integer kParts[] = {4, 3, 1, 2};  // by adLeft, adRight, adUp, adDown
    auto* window = dynamic_cast<TWinControl*>(Owner());
    if (DrawThemePart(window, Canvas(), ThemeClass::Spin, kParts[static_cast<int>(arrowDirection_)],
                      down ? 3 : hot_ ? 2 : 1, r))
      return;
  }
  if (arrowDirection_ == adLeft || arrowDirection_ == adRight) {
    Cardinal state = arrowDirection_ == adLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    if (down) state |= DFCS_PUSHED;
    if (Flat()) state |= DFCS_FLAT;
    Canvas()->DrawFrameControl(r, DFC_SCROLL, state);
    return;
  }
  TSpeedButton::Paint();
}

// ------------------------------------------------------------ arrow pair

TVoeSpinButton::TVoeSpinButton(TComponent* owner) : TWinControl(owner) {
  EnsureDropdownResources();
  controlStyle_.Exclude(csAcceptsControls).Exclude(csSetCaption).Include(csOpaque);
  upButton_ = MakeArrowButton();
  upButton_->Glyph()->LoadFromResourceName(HInstance, "VoeSpinUp");
  upButton_->SetArrowDirection(adUp);
  downButton_ = MakeArrowButton();
  downButton_->Glyph()->LoadFromResourceName(HInstance, "VoeSpinDown");
  downButton_->SetArrowDirection(adDown);
  SetBounds(0, 0, 15, 25);
  focusedArrow_ = upButton_;
}

TVoeSpinButton::~TVoeSpinButton() = default;

TLumTimerSpeedButton* TVoeSpinButton::MakeArrowButton() {
  auto* b = new TLumTimerSpeedButton(this);
  b->SetVisible(true);
  b->SetEnabled(true);
  b->SetAutoRepeat(true);
  b->SetParent(this);
  b->OnClick = [this](TObject* sender) { ArrowClick(sender); };
  b->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState, Integer, Integer) {
    ArrowMouseDown(sender, button);
  };
  return b;
}

void TVoeSpinButton::ArrangeButtons(Integer& width, Integer height) {
  if (!upButton_ || !downButton_ || Loading()) return;
  if (direction_ == spVertical) {
    if (width < 15) width = 15;
    upButton_->SetBounds(0, 0, width, height / 2);
    // The down arrow overlaps the up arrow by one pixel.
    downButton_->SetBounds(0, upButton_->Height() - 1, width, height - upButton_->Height() + 1);
  } else {
    if (width < 20) width = 20;
    downButton_->SetBounds(0, 0, width / 2, height);
    upButton_->SetBounds(width / 2 + 1, 0, width / 2, height);
  }
}

void TVoeSpinButton::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  ArrangeButtons(width, height);
  TWinControl::SetBounds(left, top, width, height);
}

void TVoeSpinButton::Loaded() {
  TWinControl::Loaded();
  Integer w = Width(), h = Height();
  ArrangeButtons(w, h);
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

void TVoeSpinButton::SetDirection(TSpinDirection v) {
  if (v == direction_) return;
  direction_ = v;
  if (v == spHorizontal) {
    upButton_->SetArrowDirection(adRight);
    downButton_->SetArrowDirection(adLeft);
    SetBounds(Left(), Top(), 20, Height());
  } else {
    upButton_->SetArrowDirection(adUp);
    downButton_->SetArrowDirection(adDown);
    SetBounds(Left(), Top(), 15, Height());
  }
  Integer w = Width(), h = Height();
  ArrangeButtons(w, h);
}

void TVoeSpinButton::SetXPLook(bool v) {
  xpLook_ = v;
  upButton_->SetXPLook(v);
  downButton_->SetXPLook(v);
}

void TVoeSpinButton::SetFocusControl(TWinControl* control) {
  if (focusControl_ == control) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TVoeSpinButton::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TVoeSpinButton::SetUpGlyph(const TBitmap* glyph) {
  if (glyph) {
    upButton_->SetGlyph(glyph);
  } else {
    upButton_->Glyph()->LoadFromResourceName(HInstance, "VoeSpinUp");
    upButton_->SetNumGlyphs(1);
    upButton_->Invalidate();
  }
}

void TVoeSpinButton::SetDownGlyph(const TBitmap* glyph) {
  if (glyph) {
    downButton_->SetGlyph(glyph);
  } else {
    downButton_->Glyph()->LoadFromResourceName(HInstance, "VoeSpinDown");
    downButton_->SetNumGlyphs(1);
    downButton_->Invalidate();
  }
}

void TVoeSpinButton::ArrowClick(TObject* sender) {
  if (sender == upButton_ && OnUpClick) OnUpClick(this);
  if (sender == downButton_ && OnDownClick) OnDownClick(this);
}

void TVoeSpinButton::ArrowMouseDown(TObject* sender, TMouseButton button) {
  if (button != mbLeft) return;
  SetFocusedArrow(static_cast<TLumTimerSpeedButton*>(sender));
  if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
    focusControl_->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TVoeSpinButton::SetFocusedArrow(TLumTimerSpeedButton* button) {
  if (!TabStop() || !CanFocus() || button == focusedArrow_) return;
  focusedArrow_ = button;
  if (Focused()) Invalidate();
}

void TVoeSpinButton::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  switch (key) {
    case VK_SPACE: focusedArrow_->Click(); break;
    case VK_UP:
      SetFocusedArrow(upButton_);
      upButton_->Click();
      break;
    case VK_DOWN:
      SetFocusedArrow(downButton_);
      downButton_->Click();
      break;
    default: break;
  }
}

void TVoeSpinButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_SIZE: {
      TWinControl::Dispatch(m);
      Integer w = Width(), h = Height();
      ArrangeButtons(w, h);
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::Dispatch(m);
      if (focusedArrow_) focusedArrow_->Invalidate();
      return;
    case WM_THEMECHANGED:
      // Themed arrows change their look with the theme.
      TWinControl::Dispatch(m);
      Invalidate();
      return;
    default: TWinControl::Dispatch(m);
  }
}

// ------------------------------------------------------------- spin edit

TVoeSpinEdit::TVoeSpinEdit(TComponent* owner) : TCustomMaskEdit(owner) {
  button_ = new TVoeSpinButton(this);
  button_->SetBounds(0, 0, 15, 17);
  button_->SetVisible(true);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnUpClick = [this](TObject* s) { UpButtonClick(s); };
  button_->OnDownClick = [this](TObject* s) { DownButtonClick(s); };
  SetText("0");
  controlStyle_.Exclude(csSetCaption);
}

TVoeSpinEdit::~TVoeSpinEdit() {
  // The owner frees the spin button after this part of the edit is gone.
  if (button_) {
    button_->OnUpClick = nullptr;
    button_->OnDownClick = nullptr;
  }
  button_ = nullptr;
}

namespace {

WideString WideText(const AnsiString& s) { return rtl::ToWide(s); }

// 1-based position of c in s at or after the 1-based start; 0 when none.
Integer PosAfter(const WideString& s, char16_t c, Integer start) {
  for (size_t i = static_cast<size_t>(std::max(start, 1)) - 1; i < s.size(); ++i)
    if (s[i] == c) return static_cast<Integer>(i) + 1;
  return 0;
}

// Whether s holds c outside [selStart, selStart + selLength).
bool HoldsOutside(const WideString& s, char16_t c, Integer selStart, Integer selLength) {
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == c && !(static_cast<Integer>(i) >= selStart && static_cast<Integer>(i) < selStart + selLength))
      return true;
  return false;
}

bool IsDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

Integer TVoeSpinEdit::ClampValue(Integer v) const {
  if (minValue_ == maxValue_) return v;
  if (v < minValue_) return minValue_;
  if (v > maxValue_) return maxValue_;
  return v;
}

double TVoeSpinEdit::ClampFloat(double v) const {
  if (minFloatValue_ == maxFloatValue_) return v;
  if (v < minFloatValue_) return minFloatValue_;
  if (v > maxFloatValue_) return maxFloatValue_;
  return v;
}

TDateTime TVoeSpinEdit::ClampDate(TDateTime v) const {
  if (minDateValue_ == maxDateValue_) return v;
  if (v < minDateValue_) return minDateValue_;
  if (v > maxDateValue_) return maxDateValue_;
  return v;
}

Integer TVoeSpinEdit::Value() const {
  Integer v;
  return rtl::TryStrToInt(Text(), v) ? v : minValue_;
}

void TVoeSpinEdit::SetValue(Integer v) {
  SetText(rtl::IntToStr(ClampValue(v)));
  if (!editorEnabled_ && HandleAllocated()) SelectAll();
}

double TVoeSpinEdit::FloatValue() const {
  double v;
  return rtl::TryStrToFloat(Text(), v, rtl::FormatSettings()) ? v : minFloatValue_;
}

void TVoeSpinEdit::SetFloatValue(double v) {
  v = ClampFloat(v);
  if (precision_ != 0)
    SetText(rtl::FloatToStrF(v, rtl::TFloatFormat::ffFixed, 15, precision_));
  else
    SetText(rtl::FloatToStrF(v, rtl::TFloatFormat::ffGeneral, 15, 0));
}

TDateTime TVoeSpinEdit::DateValue() const {
  if (Text().empty() || Text() == "0") return rtl::Now();
  TDateTime v;
  return rtl::TryStrToDate(Text(), v) ? v : minDateValue_;
}

void TVoeSpinEdit::SetDateValue(TDateTime v) {
  storedDate_ = v;
  if (Loading()) return;
  storedDate_ = ClampDate(v);
  Integer caret = SelStart();
  SetText(rtl::FormatDateTime(rtl::FormatSettings().ShortDateFormat, storedDate_));
  if (HandleAllocated()) SetSelStart(caret);
}

TDateTime TVoeSpinEdit::TimeValue() const {
  TDateTime v;
  return rtl::TryStrToTime(Text(), v) ? v : 0.0;
}

AnsiString TVoeSpinEdit::TimeText(TDateTime v) const {
  return rtl::FormatDateTime(showSeconds_ ? rtl::FormatSettings().LongTimeFormat : AnsiString("h:nn"), v);
}

void TVoeSpinEdit::SetTimeValue(TDateTime v) {
  storedTime_ = v;
  if (Loading()) return;
  storedTime_ = ClampDate(v);
  Integer caret = SelStart();
  SetText(TimeText(storedTime_));
  if (HandleAllocated()) SetSelStart(caret);
}

void TVoeSpinEdit::SetSpinType(TVoeSpinType v) {
  spinType_ = v;
  switch (v) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
  }
}

void TVoeSpinEdit::SetPrecision(Integer v) {
  precision_ = v;
  if (spinType_ == sptFloat) SetFloatValue(FloatValue());
}

void TVoeSpinEdit::NudgeWidth() {
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TVoeSpinEdit::SetDirection(TSpinDirection v) {
  direction_ = v;
  button_->SetDirection(v);
  NudgeWidth();
}

void TVoeSpinEdit::SetSpinTransparent(bool v) {
  button_->UpButton()->SetTransparent(v);
  button_->DownButton()->SetTransparent(v);
  spinTransparent_ = v;
  NudgeWidth();
}

void TVoeSpinEdit::SetSpinFlat(bool v) {
  button_->UpButton()->SetFlat(v);
  button_->DownButton()->SetFlat(v);
  spinFlat_ = v;
}

void TVoeSpinEdit::SetEditAlign(TEditAlign v) {
  editAlign_ = v;
  RecreateWnd();
}

void TVoeSpinEdit::SetXPLook(bool v) {
  xpLook_ = v;
  button_->SetXPLook(v);
}

// ----------------------------------------------------------------- steps

void TVoeSpinEdit::StepUp(bool Large) { Step(1, Large); }
void TVoeSpinEdit::StepDown(bool Large) { Step(-1, Large); }
void TVoeSpinEdit::UpButtonClick(TObject*) { StepUp(false); }
void TVoeSpinEdit::DownButtonClick(TObject*) { StepDown(false); }

void TVoeSpinEdit::Step(Integer sign, bool large) {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  switch (spinType_) {
    case sptNormal: SetValue(Value() + sign * increment_); break;
    case sptFloat: SetFloatValue(FloatValue() + sign * (large ? 1.0 : incrementFloat_)); break;
    case sptDate: StepDate(sign); break;
    case sptTime: StepTime(sign); break;
  }
}

namespace {

// The same month and day N years on; 29 February into a year without it
// becomes 28 February.
TDateTime ShiftYears(Integer n, TDateTime date) {
  Word y, m, d;
  rtl::DecodeDate(date, y, m, d);
  Integer year = y + n;
  if (year < 1 || year > 9999) throw rtl::EConvertError("Invalid argument to date encode");
  Word ny = static_cast<Word>(year);
  if (m == 2 && d == 29 && !rtl::IsLeapYear(ny)) d = 28;
  return rtl::EncodeDate(ny, m, d);
}

}  // namespace

void TVoeSpinEdit::StepDate(Integer sign) {
  const auto& fs = rtl::FormatSettings();
  AnsiString upper = rtl::UpperCase(fs.ShortDateFormat);
  Integer posY = rtl::Pos("Y", upper), posM = rtl::Pos("M", upper), posD = rtl::Pos("D", upper);
  WideString text = WideText(Text());
  Integer p = SelStart();
  Integer s1 = PosAfter(text, static_cast<char16_t>(fs.DateSeparator), 1);
  Integer s2 = s1 > 0 ? PosAfter(text, static_cast<char16_t>(fs.DateSeparator), s1 + 1) : 0;
  Integer field = p < s1 ? 0 : p < s2 ? 1 : 2;
  TDateTime v = DateValue();
  enum Kind { Month, Day, Year };
  // The fields in the format's order, so the one under the caret steps;
  // a format that does not name all three reads month, day, year or day,
  // month, year.
  Kind order[3] = {Month, Day, Year};
  if (posY > 0 && posM > 0 && posD > 0) {
    std::pair<Integer, Kind> byPos[] = {{posM, Month}, {posD, Day}, {posY, Year}};
    std::sort(std::begin(byPos), std::end(byPos), [](auto a, auto b) { return a.first < b.first; });
    for (int i = 0; i < 3; ++i) order[i] = byPos[i].second;
  } else if (posD > 0 && (posM == 0 || posD < posM)) {
    order[0] = Day, order[1] = Month;
  }
  Kind what = order[field];
  switch (what) {
    case Month: v = rtl::IncMonth(v, sign); break;
    case Day: v += sign; break;
    case Year: v = ShiftYears(sign, v); break;
  }
  SetDateValue(v);
}

void TVoeSpinEdit::StepTime(Integer sign) {
  const auto& fs = rtl::FormatSettings();
  WideString text = WideText(Text());
  Integer p = SelStart();
  Integer t1 = PosAfter(text, static_cast<char16_t>(fs.TimeSeparator), 1);
  Integer t2 = t1 > 0 ? PosAfter(text, static_cast<char16_t>(fs.TimeSeparator), t1 + 1) : 0;
  // The step as a duration: increments above a day's hours or an hour's
  // minutes step by that much instead of failing.
  double step;
  if (p < t1)
    step = incrementHours_ / 24.0;
  else if (showSeconds_ && p >= t2)
    step = incrementSeconds_ / rtl::SecsPerDay;
  else
    step = incrementMinutes_ / 1440.0;
  double v = TimeValue() + sign * step;
  // The time of day, to the millisecond.
  v = std::round(v * rtl::MSecsPerDay) / rtl::MSecsPerDay;
  v -= std::floor(v);
  if (v >= 1.0) v = 0.0;
  SetTimeValue(v);
}

// ------------------------------------------------------------- characters

bool TVoeSpinEdit::AcceptsChar(WideChar& Key) {
  if (Key == 8) return editorEnabled_;
  const auto& fs = rtl::FormatSettings();
  const WideChar dec = static_cast<WideChar>(fs.DecimalSeparator), thou = static_cast<WideChar>(fs.ThousandSeparator);
  const WideChar timeSep = static_cast<WideChar>(fs.TimeSeparator), dateSep = static_cast<WideChar>(fs.DateSeparator);
  bool numeric = spinType_ == sptNormal || spinType_ == sptFloat;
  auto sharesNumberSign = [&](WideChar sep) { return sep == dec || sep == thou || sep == u'-' || sep == u'+'; };

  bool ok = Key == dec || Key == thou || Key == timeSep || Key == dateSep || Key == u'-' || IsDigit(Key) ||
            (Key < 32 && Key != 13);
  if (Key == timeSep && spinType_ != sptTime && !(sharesNumberSign(timeSep) && numeric)) ok = false;
  if (Key == dateSep && spinType_ != sptDate && !(sharesNumberSign(dateSep) && numeric)) ok = false;

  WideString text = WideText(Text());
  Integer selStart = SelStart(), selLength = SelLength();
  if (Key == u'-') {
    if (HoldsOutside(text, u'-', selStart, selLength))
      ok = false;
    else if (selStart > 0)
      ok = false;
  }
  if (spinType_ == sptNormal && !(Key == u'-' || IsDigit(Key))) ok = false;
  if (spinType_ == sptFloat && Key != 27 && Key != 13 && Key != 8) {
    if (Key == thou) ok = false;
    if (Key == dec && HoldsOutside(text, dec, selStart, selLength)) ok = false;
    Integer d = PosAfter(text, dec, 1);
    if (precision_ > 0 && d > 0 && d <= selStart && selLength == 0 && ok &&
        static_cast<Integer>(text.size()) >= d + precision_)
      ok = false;
  }
  if (spinType_ == sptTime && Key == timeSep) {
    Integer count = 0;
    for (char16_t c : text) count += c == timeSep;
    if (count >= 2) ok = false;
  }
  if (!editorEnabled_ && Key >= 32) ok = false;
  return ok;
}

void TVoeSpinEdit::KeyPress(WideChar& key) {
  if (!AcceptsChar(key)) {
    key = 0;
    MessageBeep(0);
  }
  if (key != 0) TCustomMaskEdit::KeyPress(key);
}

void TVoeSpinEdit::KeyDown(Word& key, TShiftState shift) {
  if (key == VK_RETURN && returnIsTab_) {
    key = VK_TAB;
    returnTabPending_ = true;
    PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (key == VK_DELETE && !editorEnabled_) key = 0;
  TCustomMaskEdit::KeyDown(key, shift);
}

// ------------------------------------------------------------- the window

void TVoeSpinEdit::CreateParams(TCreateParams& params) {
  TCustomMaskEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  if (editAlign_ == eaRight) params.Style = (params.Style & ~ES_CENTER) | ES_RIGHT;
  if (editAlign_ == eaCenter) params.Style = (params.Style & ~ES_RIGHT) | ES_CENTER;
}

void TVoeSpinEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  UpdateEditRect();
}

void TVoeSpinEdit::UpdateEditRect() {
  if (!button_) return;
  Integer k = BorderStyle() == bsNone ? 3 : 0;
  TRect r = Rect(k, k, ClientWidth() - button_->Width() - 2 - k, ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

Integer TVoeSpinEdit::MinimumHeight() {
  Integer h = EditMinimumHeight(Font()) + 2;
  if (BorderStyle() == bsSingle) h += 4 * GetSystemMetrics(SM_CYBORDER);
  return h;
}

void TVoeSpinEdit::PlaceButton() {
  if (!button_) return;
  Integer w = Width(), h = Height(), bw = button_->Width();
  if (Ctl3D()) {
    Integer k = BorderStyle() == bsNone ? 1 : 5;
    button_->SetBounds(w - bw - k, 0, bw, h - k);
  } else {
    button_->SetBounds(w - bw, 1, bw, h - 3);
  }
  UpdateEditRect();
}

void TVoeSpinEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  if (spinType_ == sptDate) SetText(rtl::FormatDateTime(rtl::FormatSettings().ShortDateFormat, storedDate_));
  if (spinType_ == sptTime) SetText(TimeText(storedTime_));
  SetSpinType(spinType_);
}

void TVoeSpinEdit::CorrectOnExit() {
  switch (spinType_) {
    case sptNormal: {
      Integer v = Value();
      if (ClampValue(v) != v) SetValue(v);
      break;
    }
    case sptFloat: {
      double v = FloatValue();
      if (ClampFloat(v) != v) SetFloatValue(v);
      break;
    }
    case sptDate: {
      TDateTime v = DateValue();
      if (ClampDate(v) != v) SetDateValue(v);
      break;
    }
    case sptTime: {
      TDateTime v = TimeValue();
      if (ClampDate(v) != v) SetTimeValue(v);
      break;
    }
  }
}

void TVoeSpinEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN: {
      if (returnTabPending_ && m.WParam == VK_TAB) {
        // The Tab that Enter became: the focus moves on as with Tab.
        returnTabPending_ = false;
        if (auto* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, VK_TAB, 0);
        m.Result = 1;
        return;
      }
      switch (m.WParam) {
        case VK_PRIOR: StepUp(true); break;
        case VK_NEXT: StepDown(true); break;
        case VK_UP: StepUp(false); break;
        case VK_DOWN: StepDown(false); break;
        default: {
          bool wasReturn = m.WParam == VK_RETURN && returnIsTab_;
          TCustomMaskEdit::Dispatch(m);
          // Enter has become the posted Tab; the form does not see it too.
          if (wasReturn) m.Result = 1;
          return;
        }
      }
      m.Result = 1;
      return;
    }
    case WM_CHAR:
      // The keypad's decimal key (scan code bit 6, key data bit 22) types
      // the locale's decimal separator.
      if (excelStyleDecimalSeparator_ && m.WParam == '.' && (static_cast<uintptr_t>(m.LParam) & (1u << 22)))
        m.WParam = static_cast<WPARAM>(static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator));
      TCustomMaskEdit::Dispatch(m);
      return;
    case WM_SIZE:
      TCustomMaskEdit::Dispatch(m);
      if (Height() < MinimumHeight())
        SetHeight(MinimumHeight());
      else
        PlaceButton();
      return;
    case WM_PASTE:
    case WM_CUT:
      if (!editorEnabled_ || ReadOnly()) return;
      TCustomMaskEdit::Dispatch(m);
      return;
    case CM_ENTER:
      if (AutoSelect() && (GetKeyState(VK_LBUTTON) >= 0 || !editorEnabled_)) SelectAll();
      TCustomMaskEdit::Dispatch(m);
      return;
    case CM_EXIT:
      TCustomMaskEdit::Dispatch(m);
      CorrectOnExit();
      return;
    default: TCustomMaskEdit::Dispatch(m);
  }
}

}  // namespace dropdown
