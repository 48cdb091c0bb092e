// The analog clock: geometry, the cached face, the hands, the mouse and
// keys that set the time, the animation toward a target and the roll of
// the AM/PM box.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "controls/LumGDIP.h"
#include "dropdown/LumTimePickerDropDown.h"
#include "rtl/Exceptions.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/Messages.h"

namespace dropdown {

using namespace vcl;
using controls::AlphaColorToARGB;
using controls::ColorToOpaqueARGB;
using controls::TGPFloatPoint;
using controls::TGPGraphics;
using controls::TGPGraphicsPath;
using controls::TGPLinearGradientBrush;
using controls::TGPPathGradientBrush;
using controls::TGPPen;
using controls::TGPSolidBrush;

namespace {

// Halves go to the even neighbour.
Integer RoundHalfEven(double v) { return static_cast<Integer>(std::nearbyint(v)); }

constexpr double kDegree = std::numbers::pi / 180.0;

struct TWatchPoint {
  double x, y;
};

// The point at distance d and clock angle a (degrees clockwise from 12).
TWatchPoint AtAngle(TPoint c, double d, double a) {
  return {c.X + d * std::sin(a * kDegree), c.Y - d * std::cos(a * kDegree)};
}

void WatchLine(TGPGraphics& g, TGPPen& pen, TWatchPoint a, TWatchPoint b) {
  g.DrawLine(&pen, static_cast<REAL>(a.x), static_cast<REAL>(a.y), static_cast<REAL>(b.x), static_cast<REAL>(b.y));
}

void AddRoundRect(TGPGraphicsPath& path, REAL x, REAL y, REAL w, REAL h, REAL radius) {
  const REAL d = radius * 2;
  path.AddArc(x, y, d, d, 180, 90);
  path.AddArc(x + w - d, y, d, d, 270, 90);
  path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  path.AddArc(x, y + h - d, d, d, 90, 90);
  path.CloseFigure();
}

int32_t GdipFontStyle(const TFont* font) {
  int32_t style = 0;
  if (font->Style().Contains(fsBold)) style |= 1;
  if (font->Style().Contains(fsItalic)) style |= 2;
  if (font->Style().Contains(fsUnderline)) style |= 4;
  if (font->Style().Contains(fsStrikeOut)) style |= 8;
  return style;
}

Word WatchHourOf(rtl::TDateTime t) {
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(t, h, m, s, ms);
  return h;
}

}  // namespace

// ---------------------------------------------------------------------------
// TWatchAppearance

TWatchAppearance::TWatchAppearance()
    : picture_(std::make_unique<TPicture>()), hourFont_(std::make_unique<TFont>()), ampmFont_(std::make_unique<TFont>()) {
  hourFont_->SetName("Tahoma");
  hourFont_->SetSize(8);
  ampmFont_->SetName("Tahoma");
  ampmFont_->SetSize(10);
  picture_->OnChange = [this](TObject*) { Changed(); };
}

TWatchAppearance::~TWatchAppearance() = default;

void TWatchAppearance::Assign(const TPersistent* source) {
  const auto* s = dynamic_cast<const TWatchAppearance*>(source);
  if (s == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  size_ = s->size_;
  shape_ = s->shape_;
  backgroundColor_ = s->backgroundColor_;
  backgroundColorTo_ = s->backgroundColorTo_;
  backgroundGradient_ = s->backgroundGradient_;
  borderColor_ = s->borderColor_;
  borderWidth_ = s->borderWidth_;
  hourColor_ = s->hourColor_;
  hourMarkLength_ = s->hourMarkLength_;
  hourMarkWidth_ = s->hourMarkWidth_;
  hourMarkStyle_ = s->hourMarkStyle_;
  minuteColor_ = s->minuteColor_;
  minuteMarkLength_ = s->minuteMarkLength_;
  minuteMarkWidth_ = s->minuteMarkWidth_;
  tickMarks_ = s->tickMarks_;
  pointerStyle_ = s->pointerStyle_;
  hourPointer_ = s->hourPointer_;
  minutePointer_ = s->minutePointer_;
  secondPointer_ = s->secondPointer_;
  hourPointerSize_ = s->hourPointerSize_;
  minutePointerSize_ = s->minutePointerSize_;
  secondPointerSize_ = s->secondPointerSize_;
  hourPointerShadow_ = s->hourPointerShadow_;
  minutePointerShadow_ = s->minutePointerShadow_;
  centerPointSize_ = s->centerPointSize_;
  centerPointColor_ = s->centerPointColor_;
  centerPointBorderColor_ = s->centerPointBorderColor_;
  centerPointOuterBorderColor_ = s->centerPointOuterBorderColor_;
  ampmColor_ = s->ampmColor_;
  ampmBorderColor_ = s->ampmBorderColor_;
  ampmFrame_ = s->ampmFrame_;
  hourFont_->Assign(s->hourFont_.get());
  ampmFont_->Assign(s->ampmFont_.get());
  picture_->Assign(s->picture_.get());
  Changed();
}

void TWatchAppearance::SetPicture(const TPicture* value) {
  picture_->Assign(value);
  Changed();
}

void TWatchAppearance::SetHourFont(const TFont* value) {
  hourFont_->Assign(value);
  Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont* value) {
  ampmFont_->Assign(value);
  Changed();
}

void TWatchAppearance::ApplyStyle(controls::REZORuvar style) {
  struct Row {
    TColor ampmBorder, ampm, back, backTo, border, centerBorder, center, marks, second;
  };
  Row r{};
  switch (style) {
    case controls::tsOffice2003Blue:
      r = {0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF};
      break;
    case controls::tsOffice2003Silver:
      r = {0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF};
      break;
    case controls::tsOffice2003Olive:
      r = {0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF};
      break;
    case controls::tsOffice2003Classic:
      r = {0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080};
      break;
    case controls::tsOffice2007Luna:
      r = {0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0x723708};
      break;
    case controls::tsOffice2007Obsidian:
      r = {0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xF2F1F0};
      break;
    case controls::tsWindowsXP:
      r = {0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000};
      break;
    case controls::tsWhidbey:
      r = {0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898};
      break;
    case controls::tsOffice2007Silver:
      r = {0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0x74706F};
      break;
    case controls::tsWindowsVista:
      r = {0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A};
      break;
    case controls::tsWindows7:
      r = {0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8};
      break;
    case controls::tsTerminal:
      r = {0x808080, clBtnFace, clBtnFace, clBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080};
      break;
    case controls::tsCustom: break;
  }
  // The three settings every style shares, tsCustom included.
  SetCenterPointOuterBorderColor(0x000000);
  hourFont_->SetColor(clBlack);
  ampmFont_->SetColor(clBlack);
  if (style == controls::tsCustom) {
    Changed();
    return;
  }
  ampmBorderColor_ = r.ampmBorder;
  ampmColor_ = r.ampm;
  SetBackgroundColor(r.back);
  SetBackgroundColorTo(r.backTo);
  SetBorderColor(r.border);
  SetCenterPointBorderColor(r.centerBorder);
  SetCenterPointColor(r.center);
  SetHourColor(r.marks);
  SetMinuteColor(r.marks);
  SetHourPointer(r.marks);
  SetMinutePointer(r.marks);
  SetSecondPointer(r.second);
  SetHourPointerShadow(0xFFFFFF);
  SetMinutePointerShadow(0xFFFFFF);
  if (style == controls::tsOffice2007Obsidian) {
    hourFont_->SetColor(0xF2F1F0);
    ampmFont_->SetColor(0xF2F1F0);
  }
  Changed();
}

// ---------------------------------------------------------------------------
// TWatchSettings

void TWatchSettings::Assign(const TPersistent* source) {
  const auto* s = dynamic_cast<const TWatchSettings*>(source);
  if (s == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  second_ = s->second_;
  timeOffset_ = s->timeOffset_;
  SetAuto(s->auto_);
}

void TWatchSettings::SetAuto(bool value) {
  if (value == auto_) return;
  auto_ = value;
  Changed();
}

void TWatchSettings::SetTimeOffset(Integer value) {
  if (value == timeOffset_) return;
  timeOffset_ = value;
  Changed();
}

void TWatchSettings::SetSecond(bool value) {
  if (value == second_) return;
  second_ = value;
  Changed();
}

// ---------------------------------------------------------------------------
// TLumWatch

TLumWatch::TLumWatch(TComponent* owner)
    : TCustomControl(owner),
      appearance_(std::make_unique<TWatchAppearance>()),
      settings_(std::make_unique<TWatchSettings>()),
      faceCache_(std::make_unique<TBitmap>()),
      scratch_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 180, 180);
  // Around a round face the parent shows.
  SetParentColor(true);
  appearance_->OnChange = [this](TObject*) { Invalidate(); };
  settings_->OnChange = [this](TObject*) { SettingsChanged(); };
  autoTimer_ = new TTimer(this);
  autoTimer_->SetEnabled(false);
  autoTimer_->SetInterval(100);
  autoTimer_->OnTimer = [this](TObject*) { RedrawHands(); };
  animationTimer_ = new TTimer(this);
  animationTimer_->SetEnabled(false);
  animationTimer_->SetInterval(1);
  animationTimer_->OnTimer = [this](TObject*) { AnimationTick(); };
  // The AM/PM roll steps on its own timer instead of sleeping, so input
  // stays live while it runs.
  rollTimer_ = new TTimer(this);
  rollTimer_->SetEnabled(false);
  rollTimer_->SetInterval(10);
  rollTimer_->OnTimer = [this](TObject*) { RollTick(); };
}

TLumWatch::~TLumWatch() {
  autoTimer_->SetEnabled(false);
  animationTimer_->SetEnabled(false);
  rollTimer_->SetEnabled(false);
}

bool TLumWatch::Immediate() const {
  return !animation_ || immediateSet_ || ComponentState().Contains(csLoading) ||
         ComponentState().Contains(csDesigning);
}

void TLumWatch::SetTime(rtl::TDateTime value) {
  if (value == time_) return;
  SetTimeInternal(value);
  RedrawHands();
}

void TLumWatch::SetTimeInternal(rtl::TDateTime value) {
  if (value == time_) return;
  time_ = value;
  noAMPMRoll_ = true;
  SetAM(WatchHourOf(value) < 12);
  noAMPMRoll_ = false;
}

void TLumWatch::SetShowAMPM(bool value) {
  if (value == showAMPM_) return;
  showAMPM_ = value;
  Invalidate();
}

void TLumWatch::SetShowNumbers(bool value) {
  if (value == showNumbers_) return;
  showNumbers_ = value;
  Invalidate();
}

rtl::TDateTime TLumWatch::CurrentTime() const {
  if (settings_->Auto()) return rtl::Now() + settings_->TimeOffset() / 1440.0;
  return time_;
}

void TLumWatch::SetComponentStyle(controls::REZORuvar style) { appearance_->ApplyStyle(style); }

// --- geometry ---

TRect TLumWatch::DialRect() const {
  const Integer w = ClientWidth();
  const Integer h = ClientHeight();
  Integer s = appearance_->Size();
  if (s > 0)
    s = std::min({s, w, h});
  else
    s = std::min(w, h) - 20;
  const Integer left = (w - s) / 2;
  const Integer top = (h - s) / 2;
  return {left, top, left + s, top + s};
}

TPoint TLumWatch::DialCenter() const {
  const TRect r = DialRect();
  return {r.Left + r.Width() / 2, r.Top + r.Width() / 2};
}

Integer TLumWatch::DialRadius() const { return DialRect().Width() / 2; }

Integer TLumWatch::InnerRadius() const { return DialRadius() - appearance_->BorderWidth() / 2; }

double TLumWatch::HourMarkInnerRadius() const {
  const double rin = InnerRadius();
  return appearance_->HourMarkLength() != 0 ? rin - appearance_->HourMarkLength() : rin * 0.9;
}

double TLumWatch::MinuteMarkInnerRadius() const {
  const double rin = InnerRadius();
  return appearance_->MinuteMarkLength() != 0 ? rin - appearance_->MinuteMarkLength() : rin * 0.95;
}

double TLumWatch::NumberRingRadius() const {
  const double rin = InnerRadius();
  const Integer l =
      appearance_->HourMarkLength() != 0 ? appearance_->HourMarkLength() : RoundHalfEven(rin - rin * 0.9) + 2;
  return rin - 2 * l - 2;
}

TRect TLumWatch::AMPMRect() const {
  if (!showAMPM_) return {-1, -1, -1, -1};
  TBitmap measure(1, 1);
  measure.Canvas()->Font()->Assign(appearance_->AMPMFont());
  TRect t{0, 0, 200, 200};
  measure.Canvas()->DrawText("AM", t, DT_CALCRECT);
  const Integer w = t.Width();
  const Integer h = t.Height();
  const TPoint c = DialCenter();
  const Integer left = c.X - (w + 8) / 2;
  const Integer top = c.Y + RoundHalfEven(static_cast<double>(DialRadius() - h) / 3.0);
  return {left, top, left + w + 8, top + h};
}

Integer TLumWatch::MinuteAt(Integer x, Integer y) const {
  const TPoint c = DialCenter();
  double dx = std::abs(c.X - x);
  double dy = std::abs(c.Y - y);
  if (dx == 0) dx = 1;
  if (dy == 0) dy = 1;
  const Integer f = RoundHalfEven(std::atan(dy / dx) / kDegree / 6.0);
  Integer m = 0;
  if (x >= c.X && y >= c.Y)
    m = 15 + f;
  else if (x >= c.X)
    m = 15 - f;
  else if (y >= c.Y)
    m = 45 - f;
  else
    m = 45 + f;
  return m < 0 || m > 59 ? 0 : m;
}

Integer TLumWatch::HourAt(Integer x, Integer y) const {
  // Just left of twelve rounds to 12: that is twelve o'clock too, the
  // same as just right of it.
  const Integer n = RoundHalfEven(MinuteAt(x, y) / 5.0) % 12;
  if (n <= 0) return isAM_ ? 0 : 12;
  const Integer h = n + (isAM_ ? 0 : 12);
  return h == 24 ? 0 : h;
}

// --- painting ---

void TLumWatch::Paint() { PaintAll(); }

void TLumWatch::PaintAll() {
  const Integer w = ClientWidth();
  const Integer h = ClientHeight();
  if (w <= 0 || h <= 0) return;
  faceCache_->SetSize(w, h);
  // What the control shows around the shape stays, so the face keeps the
  // parent's background at its corners.
  faceCache_->Canvas()->CopyRect({0, 0, w, h}, Canvas(), {0, 0, w, h});
  PaintFace(faceCache_->Canvas());
  ++facePaints_;
  Canvas()->Draw(0, 0, faceCache_.get());
  PaintHands(Canvas());
}

void TLumWatch::PaintFace(TCanvas* canvas) {
  PaintBackground(canvas);
  PaintTickMarks(canvas);
  PaintNumbers(canvas);
  PaintAMPM(canvas);
}

void TLumWatch::RedrawHands() {
  const Integer w = ClientWidth();
  const Integer h = ClientHeight();
  if (w <= 0 || h <= 0) return;
  if (faceCache_->Width() != w || faceCache_->Height() != h) {
    // No face of this size yet: the next paint makes it.
    Invalidate();
    return;
  }
  scratch_->SetSize(w, h);
  scratch_->Canvas()->Draw(0, 0, faceCache_.get());
  PaintHands(scratch_->Canvas());
  Canvas()->Draw(0, 0, scratch_.get());
  ++handRedraws_;
}

void TLumWatch::PaintBackground(TCanvas* canvas) {
  const TWatchAppearance& a = *appearance_;
  const Integer w = ClientWidth();
  const Integer h = ClientHeight();
  const TPoint c = DialCenter();
  const REAL r = static_cast<REAL>(DialRadius());
  if (TGraphic* graphic = a.Picture()->Graphic(); graphic != nullptr && !graphic->Empty()) {
    // A picture other than a PNG has its top-left colour see-through.
    if (dynamic_cast<TPngImage*>(graphic) == nullptr) {
      TBitmap copy;
      copy.Assign(graphic);
      copy.SetTransparentColor(copy.Canvas()->Pixels(0, 0));
      copy.SetTransparent(true);
      canvas->StretchDraw({0, 0, w, h}, &copy);
    } else {
      canvas->StretchDraw({0, 0, w, h}, graphic);
    }
    return;
  }
  TGPGraphics g(canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  TGPGraphicsPath shape;
  switch (a.Shape()) {
    case wsCircle: shape.AddEllipse(c.X - r, c.Y - r, 2 * r, 2 * r); break;
    case wsRect: shape.AddPolygon(std::array<TGPFloatPoint, 4>{{{0, 0}, {REAL(w), 0}, {REAL(w), REAL(h)}, {0, REAL(h)}}}.data(), 4); break;
    case wsRoundRect: AddRoundRect(shape, 0, 0, REAL(w), REAL(h), 8); break;
  }
  const TColor to = a.BackgroundColorTo() == clNone ? a.BackgroundColor() : a.BackgroundColorTo();
  if (a.BackgroundGradient() == wgRadial) {
    TGPPathGradientBrush brush(&shape);
    brush.SetCenterPointI({c.X, c.Y});
    brush.SetCenterColor(ColorToOpaqueARGB(a.BackgroundColor()));
    ARGB surround = ColorToOpaqueARGB(to);
    int32_t count = 1;
    brush.SetSurroundColors(&surround, count);
    g.FillPath(&brush, &shape);
  } else {
    const auto mode = a.BackgroundGradient() == wgVertical            ? vcl::LinearGradientModeVertical
                      : a.BackgroundGradient() == wgDiagonalForward ? vcl::LinearGradientModeForwardDiagonal
                                                                    : vcl::LinearGradientModeBackwardDiagonal;
    TGPLinearGradientBrush brush({0, 0, REAL(w), REAL(h)}, ColorToOpaqueARGB(a.BackgroundColor()), ColorToOpaqueARGB(to),
                                 mode);
    g.FillPath(&brush, &shape);
  }
  if (a.BorderWidth() >= 1) {
    TGPPen pen(ColorToOpaqueARGB(a.BorderColor()), static_cast<REAL>(a.BorderWidth()));
    switch (a.Shape()) {
      case wsCircle: g.DrawEllipse(&pen, c.X - r, c.Y - r, 2 * r, 2 * r); break;
      case wsRect: g.DrawRectangle(&pen, 0, 0, REAL(w - 1), REAL(h - 1)); break;
      case wsRoundRect: {
        TGPGraphicsPath outline;
        AddRoundRect(outline, 0, 0, REAL(w - 1), REAL(h - 1), 8);
        g.DrawPath(&pen, &outline);
        break;
      }
    }
  }
}

void TLumWatch::PaintTickMarks(TCanvas* canvas) {
  const TWatchAppearance& a = *appearance_;
  if (a.TickMarks() == tmNone) return;
  TGPGraphics g(canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  const TPoint c = DialCenter();
  const double rin = InnerRadius();
  const double hourIn = HourMarkInnerRadius();
  TGPPen hourPen(ColorToOpaqueARGB(a.HourColor()), a.HourMarkWidth());
  for (int hour = 0; hour < 12; ++hour) {
    const double angle = hour * 30.0;
    const bool quarter = hour % 3 == 0;
    if (!quarter && a.TickMarks() != tmAll && a.TickMarks() != tmHours) continue;
    TWatchPoint p1 = AtAngle(c, hourIn, angle);
    TWatchPoint p2 = AtAngle(c, rin, angle);
    if (quarter && a.HourMarkStyle() == hmsQuartDblLine) {
      // Two lines 2 pixels either side of the mark's axis.
      const bool vertical = hour == 0 || hour == 6;
      const double dx = vertical ? 2 : 0;
      const double dy = vertical ? 0 : 2;
      WatchLine(g, hourPen, {p1.x - dx, p1.y - dy}, {p2.x - dx, p2.y - dy});
      WatchLine(g, hourPen, {p1.x + dx, p1.y + dy}, {p2.x + dx, p2.y + dy});
    } else {
      WatchLine(g, hourPen, p1, p2);
    }
  }
  if (a.TickMarks() != tmAll) return;
  TGPPen minutePen(ColorToOpaqueARGB(a.MinuteColor()), a.MinuteMarkWidth());
  const double minuteIn = MinuteMarkInnerRadius();
  for (int minute = 0; minute < 60; ++minute) {
    if (minute % 5 == 0) continue;
    WatchLine(g, minutePen, AtAngle(c, minuteIn, minute * 6.0), AtAngle(c, rin, minute * 6.0));
  }
}

void TLumWatch::PaintNumbers(TCanvas* canvas) {
  const TWatchAppearance& a = *appearance_;
  if (!showNumbers_ || (a.TickMarks() != tmAll && a.TickMarks() != tmQuartHours)) return;
  const TPoint c = DialCenter();
  const double rin = InnerRadius();
  const Integer l =
      a.HourMarkLength() != 0 ? a.HourMarkLength() : RoundHalfEven(rin - rin * 0.9) + 2;
  const double rn = NumberRingRadius();
  const Integer e = l / 2;
  canvas->Font()->Assign(a.HourFont());
  canvas->Brush()->SetStyle(bsClear);
  for (int n = 1; n <= 12; ++n) {
    if (a.TickMarks() == tmQuartHours && n % 3 != 0) continue;
    const AnsiString text = rtl::IntToStr(n);
    const TSize size = canvas->TextExtent(text);
    const Integer adj = n == 10 ? RoundHalfEven(size.cy * 0.2) : n == 11 ? RoundHalfEven(size.cy * 0.15) : 0;
    const double angle = n * 30.0 * kDegree;
    const Integer x = c.X + 1 + RoundHalfEven(std::sin(angle) * (rn - adj + e));
    const Integer y = c.Y + 1 - RoundHalfEven(std::cos(angle) * (rn - adj + e));
    canvas->TextOut(x - size.cx / 2 - 1, y - size.cy / 2 - 1, text);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TLumWatch::PaintAMPMText(TCanvas* canvas, const TRect& box, bool am) {
  const TFont* font = appearance_->AMPMFont();
  TGPGraphics g(canvas);
  g.SetTextRenderingHint(vcl::TextRenderingHintAntiAliasGridFit);
  controls::TGPFontFamily family(rtl::ToWide(font->Name()));
  controls::TGPFont gpFont(&family, static_cast<REAL>(font->Size()), GdipFontStyle(font), vcl::UnitPoint);
  controls::TGPStringFormat format;
  format.SetAlignment(vcl::StringAlignmentCenter);
  format.SetLineAlignment(vcl::StringAlignmentNear);
  TGPSolidBrush brush(ColorToOpaqueARGB(font->Color()));
  g.DrawString(rtl::ToWide(am ? "AM" : "PM"), -1, &gpFont,
               {REAL(box.Left), REAL(box.Top), REAL(box.Width()), REAL(box.Height())}, &format, &brush);
}

void TLumWatch::PaintAMPM(TCanvas* canvas) {
  if (!showAMPM_) return;
  const TWatchAppearance& a = *appearance_;
  const TRect box = AMPMRect();
  if (a.AMPMColor() != clNone || a.AMPMBorderColor() != clNone) {
    canvas->Brush()->SetStyle(a.AMPMColor() == clNone ? bsClear : bsSolid);
    if (a.AMPMColor() != clNone) canvas->Brush()->SetColor(a.AMPMColor());
    canvas->Pen()->SetStyle(a.AMPMBorderColor() == clNone ? psClear : psSolid);
    canvas->Pen()->SetColor(a.AMPMBorderColor() == clNone ? clBlack : a.AMPMBorderColor());
    canvas->Pen()->SetWidth(1);
    if (a.AMPMFrame() == apRect)
      canvas->Rectangle(box);
    else
      canvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
  }
  PaintAMPMText(canvas, box, isAM_);
}

void TLumWatch::PaintHands(TCanvas* canvas) {
  const TWatchAppearance& a = *appearance_;
  const rtl::TDateTime t = CurrentTime();
  Word hour = 0, minute = 0, second = 0, ms = 0;
  rtl::DecodeTime(t, hour, minute, second, ms);
  if (settings_->Auto()) {
    noAMPMRoll_ = true;
    SetAM(hour < 12);
    noAMPMRoll_ = false;
  }
  const double hourAngle = (hour % 12) * 30 + minute / 12.0 * 6;
  const double minuteAngle = minute * 6.0;
  const double secondAngle = second * 6.0;
  const TPoint c = DialCenter();
  const double r = DialRadius();
  TGPGraphics g(canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);

  auto lineHand = [&](double angle, double tail, double tip, TColor color, Byte width, TColor shadow,
                      double shadowTip, double sdx, double sdy, bool arrow) {
    if (shadow != clNone) {
      TGPPen shadowPen(AlphaColorToARGB(80, shadow), width);
      const TWatchPoint a1 = AtAngle(c, tail, angle);
      const TWatchPoint a2 = AtAngle(c, shadowTip, angle);
      WatchLine(g, shadowPen, {a1.x + sdx, a1.y + sdy}, {a2.x + sdx, a2.y + sdy});
    }
    TGPPen pen(ColorToOpaqueARGB(color), width);
    WatchLine(g, pen, AtAngle(c, tail, angle), AtAngle(c, tip, angle));
    if (arrow) {
      // A head as long as three pen widths plus four pixels, ending at the tip.
      const double head = 3.0 * width + 4;
      const double half = head / 2;
      const TWatchPoint tipPt = AtAngle(c, tip + head / 2, angle);
      const TWatchPoint base = AtAngle(c, tip - head / 2, angle);
      const double px = std::cos(angle * kDegree) * half;
      const double py = std::sin(angle * kDegree) * half;
      const TGPFloatPoint pts[3] = {{REAL(tipPt.x), REAL(tipPt.y)},
                                    {REAL(base.x + px), REAL(base.y + py)},
                                    {REAL(base.x - px), REAL(base.y - py)}};
      TGPGraphicsPath path;
      path.AddPolygon(pts, 3);
      TGPSolidBrush brush(ColorToOpaqueARGB(color));
      g.FillPath(&brush, &path);
    }
  };
  auto pointerHand = [&](double angle, double tip, TColor color, TColor shadow) {
    const TWatchPoint tail = AtAngle(c, -0.1 * r, angle);
    const TWatchPoint side1 = AtAngle(c, 0.05 * r, angle + 90);
    const TWatchPoint side2 = AtAngle(c, 0.05 * r, angle - 90);
    const TWatchPoint end = AtAngle(c, tip, angle);
    auto fill = [&](ARGB colour, double dx, double dy) {
      const TGPFloatPoint pts[4] = {{REAL(tail.x + dx), REAL(tail.y + dy)},
                                    {REAL(side1.x + dx), REAL(side1.y + dy)},
                                    {REAL(end.x + dx), REAL(end.y + dy)},
                                    {REAL(side2.x + dx), REAL(side2.y + dy)}};
      TGPGraphicsPath path;
      path.AddPolygon(pts, 4);
      TGPSolidBrush brush(colour);
      g.FillPath(&brush, &path);
    };
    if (shadow != clNone) fill(AlphaColorToARGB(80, shadow), 1, 3);
    fill(ColorToOpaqueARGB(color), 0, 0);
  };

  switch (a.PointerStyle()) {
    case psLine:
    case psLineArrow: {
      const bool arrow = a.PointerStyle() == psLineArrow;
      lineHand(hourAngle, -0.1 * r, 0.5 * r, a.HourPointer(), a.HourPointerSize(), a.HourPointerShadow(), 0.46 * r,
               -1, 3, arrow);
      lineHand(minuteAngle, -0.1 * r, 0.7 * r, a.MinutePointer(), a.MinutePointerSize(), a.MinutePointerShadow(),
               0.65 * r, 0, 3, arrow);
      break;
    }
    case psShortLine:
      // Short hands that stop well inside the marks and have no tail.
      lineHand(hourAngle, 0, 0.35 * r, a.HourPointer(), a.HourPointerSize(), a.HourPointerShadow(), 0.32 * r, -1, 3,
               false);
      lineHand(minuteAngle, 0, 0.5 * r, a.MinutePointer(), a.MinutePointerSize(), a.MinutePointerShadow(), 0.46 * r,
               0, 3, false);
      break;
    case psPointer:
      pointerHand(hourAngle, 0.5 * r, a.HourPointer(), a.HourPointerShadow());
      pointerHand(minuteAngle, 0.7 * r, a.MinutePointer(), a.MinutePointerShadow());
      break;
  }
  if (settings_->Auto() && settings_->Second()) {
    TGPPen pen(ColorToOpaqueARGB(a.SecondPointer()), a.SecondPointerSize());
    WatchLine(g, pen, AtAngle(c, -0.2 * r, secondAngle), AtAngle(c, 0.9 * r, secondAngle));
  }
  if (a.CenterPointSize() > 0) {
    const REAL d = a.CenterPointSize();
    if (a.CenterPointColor() != clNone) {
      TGPSolidBrush brush(ColorToOpaqueARGB(a.CenterPointColor()));
      g.FillEllipse(&brush, c.X - d / 2, c.Y - d / 2, d, d);
    }
    Integer ring = 0;
    if (a.CenterPointOuterBorderColor() != clNone) {
      ring = RoundHalfEven(d * 0.2);
      TGPPen pen(ColorToOpaqueARGB(a.CenterPointOuterBorderColor()), REAL(ring));
      g.DrawEllipse(&pen, c.X - d / 2, c.Y - d / 2, d, d);
    }
    if (a.CenterPointBorderColor() != clNone) {
      const REAL inner = d - ring;
      TGPPen pen(ColorToOpaqueARGB(a.CenterPointBorderColor()), REAL(RoundHalfEven(d * 0.1)));
      g.DrawEllipse(&pen, c.X - inner / 2, c.Y - inner / 2, inner, inner);
    }
  }
}

// --- AM and PM ---

void TLumWatch::SetAM(bool value) {
  if (value == isAM_) return;
  isAM_ = value;
  const TWatchAppearance& a = *appearance_;
  if (!(animation_ && showAMPM_ && a.AMPMColor() != clNone && !noAMPMRoll_) ||
      faceCache_->Width() != ClientWidth() || faceCache_->Height() != ClientHeight()) {
    // No roll: the box shows the new word at the next paint of the face.
    if (showAMPM_) Invalidate();
    return;
  }
  const TRect box = AMPMRect();
  const TRect interior{box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1};
  const Integer hi = interior.Height();
  if (hi <= 0 || interior.Width() <= 0) {
    Invalidate();
    return;
  }
  rollStrip_ = std::make_unique<TBitmap>(interior.Width(), 2 * hi);
  TCanvas* s = rollStrip_->Canvas();
  s->Brush()->SetColor(a.AMPMColor());
  s->FillRect({0, 0, interior.Width(), 2 * hi});
  // The words sit where PaintAMPM puts them: one pixel higher and further
  // left than the box's own corner, as the strip starts inside the frame.
  PaintAMPMText(s, {-1, -1, interior.Width() + 1, hi - 1}, true);
  PaintAMPMText(s, {-1, hi - 1, interior.Width() + 1, 2 * hi - 1}, false);
  rollToPM_ = !value;
  rollSteps_ = hi;
  rollStep_ = 0;
  rollTimer_->SetEnabled(true);
}

void TLumWatch::RollTick() {
  if (!rollStrip_ || rollStep_ >= rollSteps_) {
    rollTimer_->SetEnabled(false);
    rollStrip_.reset();
    PaintAll();
    return;
  }
  ++rollStep_;
  PaintRollFrame();
}

void TLumWatch::PaintRollFrame() {
  const Integer w = ClientWidth();
  const Integer h = ClientHeight();
  const TRect box = AMPMRect();
  const TRect interior{box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1};
  const Integer hi = rollSteps_;
  // From the old word's half one pixel a frame toward the new one's.
  const Integer top = rollToPM_ ? rollStep_ : hi - rollStep_;
  scratch_->SetSize(w, h);
  TCanvas* c = scratch_->Canvas();
  c->Draw(0, 0, faceCache_.get());
  c->CopyRect(interior, rollStrip_->Canvas(), {0, top, interior.Width(), top + hi});
  const TWatchAppearance& a = *appearance_;
  if (a.AMPMBorderColor() != clNone) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(a.AMPMBorderColor());
    c->Pen()->SetWidth(1);
    if (a.AMPMFrame() == apRect)
      c->Rectangle(box);
    else
      c->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
    c->Brush()->SetStyle(bsSolid);
  }
  PaintHands(c);
  Canvas()->Draw(0, 0, scratch_.get());
  ++rollFrames_;
}

// --- setting the time ---

void TLumWatch::SetHour(Word hour) { SetHourAt(hour, false); }

void TLumWatch::SetHourAt(Word hour, bool immediate) {
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(time_, h, m, s, ms);
  if (hour == h) return;
  const bool saved = immediateSet_;
  if (immediate) immediateSet_ = true;
  if (Immediate()) {
    // Without animation every change by the user is complete at once.
    if (!animation_) targetHour_ = static_cast<Byte>(hour);
    SetTimeInternal(std::trunc(time_) + rtl::EncodeTime(hour, m, s, ms));
    RedrawHands();
    immediateSet_ = saved;
    if (hour == targetHour_ && OnChange) OnChange(this);
    return;
  }
  immediateSet_ = saved;
  targetHour_ = static_cast<Byte>(hour);
  animatingHour_ = true;
  animationTimer_->SetEnabled(true);
}

void TLumWatch::SetMinute(Word minute) {
  if (minute >= 60) throw rtl::Exception("Invalid time");
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(time_, h, m, s, ms);
  if (minute == m) return;
  if (!Immediate()) {
    targetMinute_ = static_cast<Byte>(minute);
    animatingHour_ = false;
    startMinute_ = static_cast<Byte>(m);
    animationTimer_->SetEnabled(true);
    return;
  }
  if (!animation_) {
    startMinute_ = static_cast<Byte>(m);
    targetMinute_ = static_cast<Byte>(minute);
  }
  if (minute == 0 && startMinute_ > 30) {
    // Past the half hour, minute 0 is the next hour's.
    h = h == 23 ? 0 : h + 1;
    startMinute_ = 0;
  }
  SetTimeInternal(std::trunc(time_) + rtl::EncodeTime(h, minute, s, ms));
  RedrawHands();
  if (minute == targetMinute_ && OnChange) OnChange(this);
}

void TLumWatch::AnimationTick() {
  if (!animation_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) {
    animationTimer_->SetEnabled(false);
    return;
  }
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(time_, h, m, s, ms);
  const bool saved = immediateSet_;
  immediateSet_ = true;
  if (animatingHour_) {
    const Integer x = h;
    const Integer t = targetHour_;
    const Integer distance = std::abs(t - x);
    if (distance <= 1) {
      animationTimer_->SetEnabled(false);
      SetHourAt(static_cast<Word>(t), true);
    } else {
      const Integer step = std::max(1, RoundHalfEven(static_cast<double>(distance) / animationFactor_));
      SetHourAt(static_cast<Word>(x + (t > x ? step : -step)), true);
    }
  } else {
    const Integer x = m;
    const Integer t = targetMinute_;
    const bool throughHour = t == 0 && x > 30;
    const Integer distance = throughHour ? 60 - x : std::abs(t - x);
    if (distance <= 1) {
      animationTimer_->SetEnabled(false);
      SetMinute(static_cast<Word>(t));
    } else {
      const Integer step = std::max(1, RoundHalfEven(static_cast<double>(distance) / animationFactor_));
      Integer next = (x >= t && !throughHour) ? x - step : x + step;
      if (next >= 60) next = 0;
      SetMinute(static_cast<Word>(next));
    }
  }
  immediateSet_ = saved;
}

void TLumWatch::HandleKey(Word key) {
  if (settings_->Auto()) return;
  Word h = 0, m = 0, s = 0, ms = 0;
  rtl::DecodeTime(time_, h, m, s, ms);
  switch (key) {
    case 0x41:
      if (h > 11) SetHour(h - 12);
      break;
    case 0x50:
      if (h < 12) SetHour(h + 12);
      break;
    case VK_PRIOR:
      if (h == 23)
        SetHourAt(0, true);
      else
        SetHour(h + 1);
      break;
    case VK_NEXT:
      if (h == 0)
        SetHourAt(23, true);
      else
        SetHour(h - 1);
      break;
    case VK_HOME: SetHourAt(12, true); break;
    case VK_LEFT:
      if (m == 0) {
        SetTimeInternal(std::trunc(time_) + rtl::EncodeTime(h == 0 ? 23 : h - 1, 59, s, ms));
        RedrawHands();
        if (OnChange) OnChange(this);
      } else {
        SetMinute(m - 1);
      }
      break;
    case VK_RIGHT: SetMinute(m == 59 ? 0 : m + 1); break;
    case VK_END: SetMinute(0); break;
    default: break;
  }
}

void TLumWatch::SettingsChanged() {
  autoTimer_->SetEnabled(settings_->Auto());
  if (settings_->Auto()) {
    const rtl::TDateTime now = rtl::Now();
    SetTimeInternal(now);
    noAMPMRoll_ = true;
    SetAM(WatchHourOf(now) < 12);
    noAMPMRoll_ = false;
  }
  Invalidate();
}

// --- input ---

void TLumWatch::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (settings_->Auto()) return;
  const TRect dial = DialRect();
  const double rx = dial.Width() / 2.0;
  const double dx = (x - (dial.Left + rx)) / rx;
  const double dy = (y - (dial.Top + rx)) / rx;
  if (rx <= 0 || dx * dx + dy * dy > 1.0) {
    SetMinute(static_cast<Word>(MinuteAt(x, y)));
    return;
  }
  const TRect box = AMPMRect();
  if (showAMPM_ && x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom) {
    if (animation_) SetAM(!isAM_);
    const Word h = WatchHourOf(time_);
    targetHour_ = static_cast<Byte>(h > 11 ? h - 12 : h + 12);
    SetHourAt(targetHour_, true);
    return;
  }
  SetHour(static_cast<Word>(HourAt(x, y)));
}

void TLumWatch::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = TabStop() ? (DLGC_WANTARROWS | DLGC_WANTALLKEYS) : 0; return;
    case WM_SETCURSOR: {
      if (ComponentState().Contains(csDesigning)) break;
      const TPoint p = ScreenToClient(GetCursorPos());
      const TRect box = AMPMRect();
      const bool over = showAMPM_ && p.X >= box.Left && p.X < box.Right && p.Y >= box.Top && p.Y < box.Bottom;
      SetCursor(over ? crHandPoint : crDefault);
      break;
    }
    default: break;
  }
  TCustomControl::Dispatch(m);
}

}  // namespace dropdown
