#include "dropdown/LumDateTimePicker.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/LumStyleIF.h"
#include "rtl/SystemInfo.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"
#include "vcl/Messages.h"
#include "vcl/RegisteredMessages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

constexpr TColor kCommonControls6Edge = 0xB99D7F;

double WholeDayOf(rtl::TDateTime v) { return std::trunc(v); }
double TimeOfDayOf(rtl::TDateTime v) { return std::fabs(v - std::trunc(v)); }

// The value without its milliseconds.
rtl::TDateTime WithoutMilliseconds(rtl::TDateTime v) {
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(v, h, m, s, ms);
  const double day = WholeDayOf(v);
  const double time = rtl::EncodeTime(h, m, s, 0);
  return day < 0 ? day - time : day + time;
}

}  // namespace

Integer FileVersionMS(const AnsiString& fileName) {
  Cardinal handle = 0;
  const Cardinal size = rtl::GetFileVersionInfoSize(fileName, &handle);
  if (size == 0) return -1;
  std::vector<unsigned char> block(size);
  if (!rtl::GetFileVersionInfo(fileName, handle, size, block.data())) return -1;
  void* value = nullptr;
  Cardinal length = 0;
  if (!rtl::VerQueryValue(block.data(), "\\", &value, &length) || value == nullptr ||
      length < sizeof(rtl::VS_FIXEDFILEINFO))
    return -1;
  const auto* info = static_cast<const rtl::VS_FIXEDFILEINFO*>(value);
  if (info->dwSignature != rtl::VS_FFI_SIGNATURE) return -1;
  return static_cast<Integer>(info->dwFileVersionMS);
}

bool HasCommonControls6() {
  // An unreadable version gives -1, whose byte is 255.
  return ((static_cast<Cardinal>(FileVersionMS("COMCTL32.DLL")) >> 16) & 0xFF) > 5;
}

Cardinal ShiftFocusMessage() {
  static const Cardinal message = RegisterWindowMessage("DTPShiftFocus");
  return message;
}

// ---------------------------------------------------------------------------
// TCustomDateTimePicker

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* owner) : TDateTimePicker(owner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  commonControls6_ = HasCommonControls6();
  // The flat border goes over the native field after it painted.
  SetPaintOverNative(true);
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  Invalidate();
}

TColor TCustomDateTimePicker::FlatEdgeColor() const {
  if (borderStyle_ == bsNone && Parent() != nullptr) return Parent()->Color();
  return commonControls6_ ? kCommonControls6Edge : clBlack;
}

void TCustomDateTimePicker::PaintFlatEdge(TCanvas* canvas, bool innerLines) {
  const Integer w = Width();
  const Integer h = Height();
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(FlatEdgeColor());
  canvas->MoveTo(0, h);
  canvas->LineTo(0, 0);
  canvas->LineTo(w - 1, 0);
  canvas->LineTo(w - 1, h - 1);
  canvas->LineTo(0, h - 1);
  if (!innerLines || Parent() == nullptr) return;
  // The inner left and top line in the parent's colour takes away the
  // native field's own sunken edge there.
  if (borderStyle_ == bsSingle) canvas->Pen()->SetColor(Parent()->Color());
  canvas->MoveTo(1, h - 2);
  canvas->LineTo(1, 1);
  canvas->LineTo(w - 1, 1);
}

void TCustomDateTimePicker::Dispatch(TMessage& m) {
  TDateTimePicker::Dispatch(m);
  if (m.Msg == WM_PAINT && !Ctl3D()) {
    TCanvas* c = OverlayCanvas();
    const Integer saved = c->SaveDC();
    PaintFlatEdge(c, true);
    c->RestoreDC(saved);
  }
}

void TCustomDateTimePicker::KeyPress(WideChar& key) {
  if (!IsDigit(key) || !autoTab_) {
    TDateTimePicker::KeyPress(key);
    return;
  }
  if (TDateTimePicker::Kind() == dtkTime) {
    Word ms = 0;
    rtl::DecodeTime(TDateTimePicker::DateTime(), rememberedHour_, rememberedMinute_, rememberedSecond_, ms);
  }
  TDateTimePicker::KeyPress(key);
  if (HandleAllocated()) PostMessage(Handle(), ShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == ShiftFocusMessage()) DoAutoTab();
  TDateTimePicker::WndProc(m);
}

void TCustomDateTimePicker::DoAutoTab() {
  if (TDateTimePicker::Kind() != dtkTime) return;
  Word h = 0, mi = 0, s = 0, ms = 0;
  rtl::DecodeTime(TDateTimePicker::DateTime(), h, mi, s, ms);
  if ((h != rememberedHour_ || mi != rememberedMinute_ || s != rememberedSecond_) && HandleAllocated())
    PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

// ---------------------------------------------------------------------------
// TLumDateTimePicker

TLumDateTimePicker::TLumDateTimePicker(TComponent* owner) : TCustomDateTimePicker(owner) {
  // The class library picker's kind stays the date until the kind is set.
  kind_ = dkDateTime;
  TCustomDateTimePicker::SetBorderStyle(bsSingle);
  SetCtl3D(true);
}

TLumDateTimePicker::~TLumDateTimePicker() {
  // The companion is an owned component; it must not call back into a
  // picker that is going.
  if (companion_ != nullptr) {
    companion_->OnChange = nullptr;
    companion_->OnClick = nullptr;
    companion_->OnKeyPress = nullptr;
    companion_->OnKeyDown = nullptr;
  }
}

void TLumDateTimePicker::SetOwnKind(TLumDateTimeKind value) {
  kind_ = value;
  TDateTimePicker::SetKind(value == dkTime ? dtkTime : dtkDate);
}

void TLumDateTimePicker::SetKind(TLumDateTimeKind value) {
  if (value == kind_) return;
  SetOwnKind(value);
  if (value == dkDateTime) EnsureTimeCompanion();
  LayoutTimeCompanion();
}

rtl::TDateTime TLumDateTimePicker::Time() const {
  if (kind_ == dkDateTime && companion_ != nullptr) return companion_->TDateTimePicker::Time();
  return TDateTimePicker::Time();
}

void TLumDateTimePicker::SetTime(rtl::TDateTime value) {
  TDateTimePicker::SetTime(value);
  LayoutTimeCompanion();
}

rtl::TDateTime TLumDateTimePicker::DateTime() const {
  const rtl::TDateTime own = TDateTimePicker::DateTime();
  if (companion_ == nullptr) return own;
  const double day = WholeDayOf(own);
  const double time = TimeOfDayOf(companion_->TDateTimePicker::DateTime());
  return day < 0 ? day - time : day + time;
}

void TLumDateTimePicker::SetDateTime(rtl::TDateTime value) {
  const rtl::TDateTime v = WithoutMilliseconds(value);
  TDateTimePicker::SetDateTime(v);
  EnsureTimeCompanion();
  if (companion_ != nullptr) companion_->TDateTimePicker::SetDateTime(v);
}

void TLumDateTimePicker::SetFormat(const AnsiString& value) {
  format_ = value;
  TDateTimePicker::SetFormat(value);
}

void TLumDateTimePicker::SetTimeFormat(const AnsiString& value) {
  if (companion_ != nullptr) companion_->SetFormat(value);
  timeFormat_ = value;
  LayoutTimeCompanion();
}

void TLumDateTimePicker::SetAutoTab(bool value) {
  TCustomDateTimePicker::SetAutoTab(value);
  if (companion_ != nullptr) companion_->SetAutoTab(value);
}

void TLumDateTimePicker::SetBorderStyle(TBorderStyle value) {
  TCustomDateTimePicker::SetBorderStyle(value);
  LayoutTimeCompanion();
}

void TLumDateTimePicker::DoCompanionChange() {
  if (OnChange) OnChange(this);
}

void TLumDateTimePicker::DoCompanionClick() {
  if (OnClick) OnClick(this);
}

void TLumDateTimePicker::EnsureTimeCompanion() {
  if (companion_ != nullptr || kind_ != dkDateTime) return;
  auto* c = new TCustomDateTimePicker(this);
  companion_ = c;
  if (!(ComponentState().Contains(csLoading) && ComponentState().Contains(csDesigning))) c->SetParent(this);
  c->SetBounds(0, 0, 90, 17);
  c->SetVisible(false);
  c->SetEnabled(Enabled());
  c->TDateTimePicker::SetKind(dtkTime);
  c->OnChange = [this](TObject*) { DoCompanionChange(); };
  c->OnClick = [this](TObject*) { DoCompanionClick(); };
  c->OnKeyPress = [this](TObject*, WideChar& key) { CompanionKeyPress(key); };
  c->OnKeyDown = [this](TObject*, Word& key, TShiftState shift) { KeyDown(key, shift); };
  // A picker made in code has no loading step that would show the new
  // companion, so it is placed at once.
  if (!ComponentState().Contains(csLoading)) LayoutTimeCompanion();
}

TSize TLumDateTimePicker::MeasureText(const AnsiString& text, TFont* font) {
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TCanvas* canvas = scratch.Canvas();
  canvas->Font()->Assign(font);
  TRect r{0, 0, 1000, 200};
  canvas->DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
  return {r.Right - r.Left, r.Bottom - r.Top};
}

void TLumDateTimePicker::LayoutTimeCompanion() {
  if (companion_ == nullptr) return;
  TCustomDateTimePicker* c = companion_;
  if (c->Parent() != this) c->SetParent(this);
  c->SetColor(Color());
  c->SetEnabled(Enabled());
  c->SetVisible(kind_ == dkDateTime);
  c->TDateTimePicker::SetTime(Time());
  c->TDateTimePicker::SetDateTime(DateTime());
  c->SetFormat(timeFormat_);
  c->SetFont(Font());
  const bool loading = ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning);
  if (!c->Visible() && !loading) {
    companion_ = nullptr;
    c->OnChange = nullptr;
    c->OnClick = nullptr;
    c->OnKeyPress = nullptr;
    c->OnKeyDown = nullptr;
    Free(c);
    return;
  }
  AnsiString text = c->Text();
  if (text.size() > 255) text.resize(255);
  const Integer a = MeasureText(text, Font()).cx + 31;
  if (controls::IsWindowsVistaOrLater()) {
    // No bevels on this layer's controls, so nothing to leave room for.
    const Integer b = 0;
    if (HasCommonControls6())
      c->SetBounds(Width() - a - b - 34, 1, a, Height() - b - 2);
    else
      c->SetBounds(Width() - a - b - 23, -2, a, Height() - b);
  } else {
    c->SetBounds(Width() - a - 21, -2, a, Height());
  }
}

void TLumDateTimePicker::Loaded() {
  TCustomDateTimePicker::Loaded();
  if (ComponentState().Contains(csDesigning)) return;
  EnsureTimeCompanion();
  LayoutTimeCompanion();
  // Written again so that the window shows the cleared check box.
  if (!Checked()) {
    SetChecked(true);
    SetChecked(false);
  }
}

void TLumDateTimePicker::KeyPress(WideChar& key) {
  if (IsDigit(key) && AutoTab()) rtl::DecodeDate(DateTime(), rememberedYear_, rememberedMonth_, rememberedDay_);
  TCustomDateTimePicker::KeyPress(key);
}

void TLumDateTimePicker::DoAutoTab() {
  if (kind_ == dkTime) {
    TCustomDateTimePicker::DoAutoTab();
    return;
  }
  Word y = 0, mo = 0, d = 0;
  rtl::DecodeDate(DateTime(), y, mo, d);
  const bool dayChanged = d != rememberedDay_;
  const bool monthChanged = mo != rememberedMonth_;
  const bool yearChanged = y != rememberedYear_;
  auto nextField = [this] {
    if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  };
  auto toCompanion = [this] {
    if (companion_ != nullptr && companion_->CanFocus()) companion_->SetFocus();
  };
  if (!format_.empty()) {
    const char last = format_.back();
    const bool lastChanged = (dayChanged && (last == 'D' || last == 'd')) ||
                             (monthChanged && (last == 'M' || last == 'm')) ||
                             (yearChanged && (last == 'Y' || last == 'y'));
    if (!lastChanged) {
      if (dayChanged || monthChanged || yearChanged) nextField();
    } else {
      toCompanion();
    }
    return;
  }
  if (dayChanged || monthChanged)
    nextField();
  else if (yearChanged)
    toCompanion();
}

void TLumDateTimePicker::Dispatch(TMessage& m) {
  TCustomDateTimePicker::Dispatch(m);
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      if (companion_ != nullptr) companion_->SetEnabled(Enabled());
      break;
    case CM_COLORCHANGED:
    case WM_SIZE: LayoutTimeCompanion(); break;
    default: break;
  }
}

}  // namespace dropdown
