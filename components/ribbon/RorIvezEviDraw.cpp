// The toolbar unit's drawing routines (see RorIvezEviDraw.h).
#include "ribbon/RorIvezEviDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "ribbon/LumDWM.h"
#include "rtl/SystemInfo.h"
#include "vcl/Menus.h"

namespace ribbon {

namespace {

void RibbonLine(vcl::TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void RibbonPolyline(vcl::TCanvas* c, std::initializer_list<vcl::TPoint> points) {
  auto it = points.begin();
  c->MoveTo(it->X, it->Y);
  for (++it; it != points.end(); ++it) c->LineTo(it->X, it->Y);
}

// Rounding to the nearest, halves to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

int RibbonPageMargin() { return controls::GetGlobalWin7ScenicRibbon() ? 0 : 4; }

int RibbonCornerRadius() { return controls::GetGlobalWin7ScenicRibbon() ? 0 : 3; }

bool IsComCtl6() {
  rtl::Cardinal handle = 0;
  const rtl::Cardinal size = rtl::GetFileVersionInfoSize("COMCTL32.DLL", &handle);
  if (size == 0) return false;
  std::vector<uint8_t> block(size);
  if (!rtl::GetFileVersionInfo("COMCTL32.DLL", handle, size, block.data())) return false;
  void* value = nullptr;
  rtl::Cardinal length = 0;
  if (!rtl::VerQueryValue(block.data(), "\\", &value, &length) || !value) return false;
  const auto* info = static_cast<const rtl::VS_FIXEDFILEINFO*>(value);
  return ((info->dwFileVersionMS >> 16) & 0xFF) > 5;
}

bool IsCompositionEnabled() {
  bool on = false;
  return DwmIsCompositionEnabled(&on) == vcl::S_OK && on;
}

vcl::TColor MixColors(vcl::TColor Color1, vcl::TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  const vcl::TColor c1 = vcl::ColorToRGB(Color1), c2 = vcl::ColorToRGB(Color2);
  const double p = Percent / 100.0;
  auto mix = [p](int a, int b) { return std::min(255, RoundEven(p * a + (1 - p) * b)); };
  return vcl::RGB(static_cast<uint8_t>(mix(vcl::GetRValue(c1), vcl::GetRValue(c2))),
                  static_cast<uint8_t>(mix(vcl::GetGValue(c1), vcl::GetGValue(c2))),
                  static_cast<uint8_t>(mix(vcl::GetBValue(c1), vcl::GetBValue(c2))));
}

vcl::TColor ShadeColor(vcl::TColor Color, int Percent) {
  const vcl::TColor c = vcl::ColorToRGB(Color);
  // Lightening a bright channel stops at full brightness: wrapping round
  // would turn a light shadow line into a dark or coloured one.
  auto shade = [Percent](int v) {
    return static_cast<uint8_t>(std::clamp(RoundEven(v * (100 - Percent) / 100.0), 0, 255));
  };
  return vcl::RGB(shade(vcl::GetRValue(c)), shade(vcl::GetGValue(c)), shade(vcl::GetBValue(c)));
}

vcl::TColor DimColor(vcl::TColor Color, int Percent) {
  const vcl::TColor c = vcl::ColorToRGB(Color);
  const int f = std::min(100, Percent + 100);
  auto dim = [Percent, f](int v) -> uint8_t {
    if (v == 0) return static_cast<uint8_t>(Percent >= 0 ? Percent : 0);
    return static_cast<uint8_t>(RoundEven(v * f / 100.0));
  };
  return vcl::RGB(dim(vcl::GetRValue(c)), dim(vcl::GetGValue(c)), dim(vcl::GetBValue(c)));
}

vcl::ARGB OpaqueARGB(vcl::TColor Color) {
  const vcl::TColor c = vcl::ColorToRGB(Color);
  return controls::MakeOpaqueARGB(vcl::GetRValue(c), vcl::GetGValue(c), vcl::GetBValue(c));
}

void CenterRect(vcl::TRect& Rect, int W, int H) {
  Rect.Right = (Rect.Left + Rect.Right + W) / 2;
  Rect.Bottom = (Rect.Top + Rect.Bottom + H) / 2;
  Rect.Left = Rect.Right - W;
  Rect.Top = Rect.Bottom - H;
}

void DrawStepGradient(vcl::TCanvas* Canvas, vcl::TColor FromColor, vcl::TColor ToColor, int Steps, vcl::TRect Rect,
                      bool Horizontal) {
  if (Steps == 0) Steps = 1;
  if (Horizontal)
    --Rect.Right;
  else
    --Rect.Bottom;
  const vcl::TColor from = vcl::ColorToRGB(FromColor), to = vcl::ColorToRGB(ToColor);
  const int r0 = vcl::GetRValue(from), g0 = vcl::GetGValue(from), b0 = vcl::GetBValue(from);
  const double dr = (vcl::GetRValue(to) - r0) / static_cast<double>(Steps);
  const double dg = (vcl::GetGValue(to) - g0) / static_cast<double>(Steps);
  const double db = (vcl::GetBValue(to) - b0) / static_cast<double>(Steps);
  const double size =
      (Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top) / static_cast<double>(Steps);
  // The band counter is 16 bits wide, as are the band positions.
  const uint16_t count = static_cast<uint16_t>(Steps);
  for (uint16_t i = 0; i < count; ++i) {
    const vcl::TColor band = vcl::RGB(static_cast<uint8_t>(r0 + RoundEven(i * dr)),
                                      static_cast<uint8_t>(g0 + RoundEven(i * dg)),
                                      static_cast<uint8_t>(b0 + RoundEven(i * db)));
    Canvas->Pen()->SetColor(band);
    Canvas->Brush()->SetColor(band);
    if (Horizontal) {
      const int x = static_cast<int16_t>(Rect.Left + RoundEven(i * size));
      Canvas->Rectangle(x, Rect.Top, x + RoundEven(size) + 1, Rect.Bottom);
    } else {
      const int y = static_cast<int16_t>(Rect.Top + RoundEven(i * size));
      Canvas->Rectangle(Rect.Left, y, Rect.Right, y + RoundEven(size) + 1);
    }
  }
}

void DrawRoundRect(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float W, float H,
                   float R) {
  controls::TGPGraphicsPath path;
  path.AddLine(X + R, Y, X + W - 2 * R, Y);
  path.AddArc(X + W - 2 * R, Y, 2 * R, 2 * R, 270, 90);
  path.AddLine(X + W, Y + R, X + W, Y + H - 2 * R);
  path.AddArc(X + W - 2 * R, Y + H - 2 * R, 2 * R, 2 * R, 0, 90);
  path.AddLine(X + W - 2 * R, Y + H, X + R, Y + H);
  path.AddArc(X, Y + H - 2 * R, 2 * R, 2 * R, 90, 90);
  path.AddLine(X, Y + H - 2 * R, X, Y + R);
  path.AddArc(X, Y, 2 * R, 2 * R, 180, 90);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawSolidRoundRect(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float W, float H,
                        float R) {
  controls::TGPPen pen(OpaqueARGB(Color));
  DrawRoundRect(Graphics, &pen, X, Y, W, H, R);
}

void DrawDottedRoundRect(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float W, float H,
                         float R) {
  controls::TGPPen pen(OpaqueARGB(Color));
  pen.SetDashStyle(vcl::DashStyleDot);
  DrawRoundRect(Graphics, &pen, X, Y, W, H, R);
}

void DrawRectPath(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float W, float H) {
  controls::TGPGraphicsPath path;
  path.AddLine(X, Y, X + W, Y);
  path.AddLine(X + W, Y, X + W, Y + H);
  path.AddLine(X + W, Y + H, X, Y + H);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawRectOutline(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color,
                     const vcl::TRect& Rect) {
  if (!Graphics && !Canvas) return;
  std::unique_ptr<controls::TGPGraphics> own;
  if (!Graphics) {
    own = std::make_unique<controls::TGPGraphics>(Canvas);
    own->SetSmoothingMode(vcl::SmoothingModeAntiAlias);
    Graphics = own.get();
  }
  controls::TGPPen pen(OpaqueARGB(Color));
  controls::TGPGraphicsPath path;
  path.AddLine(Rect.Left, Rect.Top, Rect.Right, Rect.Top);
  path.AddLine(Rect.Right, Rect.Top, Rect.Right, Rect.Bottom);
  path.AddLine(Rect.Right, Rect.Bottom, Rect.Left, Rect.Bottom);
  path.CloseFigure();
  Graphics->DrawPath(&pen, &path);
}

void DrawVistaGradient(vcl::TCanvas* Canvas, const vcl::TRect& Rect, int SplitHeight, vcl::TColor Color,
                       vcl::TColor ColorTo, vcl::TColor ColorMirror, vcl::TColor ColorMirrorTo, vcl::TColor BorderColor,
                       int Radius) {
  DrawStepGradient(Canvas, Color, ColorTo, 40, vcl::TRect{Rect.Left, Rect.Top, Rect.Right, Rect.Top + SplitHeight + 1},
                   false);
  DrawStepGradient(Canvas, ColorMirror, ColorMirrorTo, 40,
                   vcl::TRect{Rect.Left, Rect.Top + SplitHeight, Rect.Right, Rect.Bottom}, false);
  if (BorderColor == vcl::clNone) return;
  controls::TGPGraphics graphics(Canvas);
  graphics.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  controls::TGPPen pen(OpaqueARGB(BorderColor));
  const float w = Rect.Right - Rect.Left - 1, h = Rect.Bottom - Rect.Top - 1;
  if (Radius > 0)
    DrawRoundRect(&graphics, &pen, Rect.Left, Rect.Top, w, h, Radius);
  else
    DrawRectPath(&graphics, &pen, Rect.Left, Rect.Top, w, h);
}

void DrawSmallDropArrow(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color, vcl::TPoint P) {
  if (!Graphics && !Canvas) return;
  std::unique_ptr<controls::TGPGraphics> own;
  if (!Graphics) {
    own = std::make_unique<controls::TGPGraphics>(Canvas);
    own->SetSmoothingMode(vcl::SmoothingModeAntiAlias);
    Graphics = own.get();
  }
  controls::TGPPen pen(OpaqueARGB(Color));
  controls::TGPGraphicsPath path;
  const float x = P.X, y = P.Y;
  path.AddLine(x, y, x + 5, y);
  path.AddLine(x + 1, y + 1, x + 4, y + 1);
  path.AddLine(x + 2, y + 2, x + 2, y + 2);
  path.CloseFigure();
  Graphics->DrawPath(&pen, &path);
}

void DrawArcPath(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float W, float H,
                 float StartAngle, float SweepAngle, bool Close) {
  controls::TGPGraphicsPath path;
  path.AddArc(X, Y, W, H, StartAngle, SweepAngle);
  if (Close) path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawPathLine(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float DX, float DY) {
  controls::TGPGraphicsPath path;
  path.AddLine(X, Y, X + DX, Y + DY);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

namespace {

void RibbonStrokeLine(controls::TGPGraphics* g, vcl::TColor color, float x1, float y1, float x2, float y2) {
  controls::TGPPen pen(OpaqueARGB(color));
  controls::TGPGraphicsPath path;
  path.AddLine(x1, y1, x2, y2);
  g->DrawPath(&pen, &path);
}

// The left edge of a middle or right segment: shaded full height, or the
// light inset line.
void RibbonSegmentLeftEdge(controls::TGPGraphics* g, vcl::TColor color, float X, float Y, float H, bool Shaded) {
  if (Shaded)
    RibbonStrokeLine(g, DimColor(color, -5), X, Y, X, Y + H);
  else
    RibbonStrokeLine(g, DimColor(vcl::clWhite, -10), X, Y + 2, X, Y + H - 2);
}

}  // namespace

void DrawLeftButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float W, float H,
                         float R) {
  controls::TGPPen pen(OpaqueARGB(Color));
  controls::TGPGraphicsPath path;
  path.AddLine(X + W, Y + H, X + R, Y + H);
  path.AddArc(X, Y + H - 2 * R, 2 * R, 2 * R, 90, 90);
  path.AddLine(X, Y + H - 2 * R, X, Y + R);
  path.AddArc(X, Y, 2 * R, 2 * R, 180, 90);
  path.AddLine(X + R, Y, X + W, Y);
  Graphics->DrawPath(&pen, &path);
  RibbonStrokeLine(Graphics, DimColor(Color, -5), X + W, Y, X + W, Y + H);
}

void DrawMiddleButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float W, float H,
                           float, bool Shaded) {
  RibbonStrokeLine(Graphics, Color, X - 1, Y + H, X + W, Y + H);
  RibbonStrokeLine(Graphics, Color, X - 1, Y, X + W, Y);
  RibbonStrokeLine(Graphics, DimColor(Color, -5), X + W, Y, X + W, Y + H);
  RibbonSegmentLeftEdge(Graphics, Color, X, Y, H, Shaded);
}

void DrawRightButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float W, float H,
                          float R, bool Shaded) {
  controls::TGPPen pen(OpaqueARGB(Color));
  controls::TGPGraphicsPath path;
  path.AddLine(X, Y, X + W - 2 * R, Y);
  path.AddArc(X + W - 2 * R, Y, 2 * R, 2 * R, 270, 90);
  path.AddLine(X + W, Y + R, X + W, Y + H - 2 * R);
  path.AddArc(X + W - 2 * R, Y + H - 2 * R, 2 * R, 2 * R, 0, 90);
  path.AddLine(X + W, Y + H, X, Y + H);
  Graphics->DrawPath(&pen, &path);
  RibbonSegmentLeftEdge(Graphics, Color, X, Y, H, Shaded);
}

void DrawCloseGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, int Size) {
  const int dx = (Rect.Right - Rect.Left - Size) / 3, dy = (Rect.Bottom - Rect.Top - Size) / 3;
  const int x0 = Rect.Left + dx, y0 = Rect.Top + dy;
  Canvas->Pen()->SetColor(Color);
  RibbonLine(Canvas, x0, y0 + Size, x0 + Size + 1, y0);
  RibbonLine(Canvas, x0 + 1, y0 + Size, x0 + Size, y0);
  RibbonLine(Canvas, x0, y0 + 1, x0 + Size + 1, y0 + Size + 1);
  RibbonLine(Canvas, x0 + 1, y0 + 1, x0 + Size, y0 + Size + 1);
}

void DrawRestoreGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal) {
  Canvas->Pen()->SetColor(Color);
  if (Horizontal) {
    const int l = Rect.Left + (Rect.Right - Rect.Left - 8) / 3, t = Rect.Top + (Rect.Bottom - Rect.Top - 8) / 3;
    RibbonLine(Canvas, l + 2, t, l + 8, t);
    RibbonLine(Canvas, l + 2, t + 1, l + 8, t + 1);
    RibbonLine(Canvas, l + 8, t, l + 8, t + 6);
    RibbonLine(Canvas, l, t + 3, l + 7, t + 3);
    RibbonLine(Canvas, l, t + 4, l + 7, t + 4);
    RibbonPolyline(Canvas, {{l, t + 4}, {l, t + 8}, {l + 6, t + 8}, {l + 6, t + 4}});
    return;
  }
  const int r = Rect.Right, t = Rect.Top;
  RibbonLine(Canvas, r - 5, t + 2, r - 5, t + 8);
  RibbonLine(Canvas, r - 6, t + 2, r - 6, t + 8);
  RibbonLine(Canvas, r - 5, t + 8, r - 11, t + 8);
  RibbonLine(Canvas, r - 8, t, r - 8, t + 7);
  RibbonLine(Canvas, r - 9, t, r - 9, t + 7);
  RibbonPolyline(Canvas, {{r - 9, t}, {r - 13, t}, {r - 13, t + 6}, {r - 9, t + 6}});
}

void DrawMaximizeGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal) {
  Canvas->Pen()->SetColor(Color);
  if (Horizontal) {
    const int l = Rect.Left + (Rect.Right - Rect.Left - 8) / 3, d = (Rect.Bottom - Rect.Top - 8) / 3;
    const int top = Rect.Top + d;
    RibbonLine(Canvas, l, top + 1, l + 9, top + 1);
    RibbonLine(Canvas, l, top + 2, l + 9, top + 2);
    RibbonPolyline(Canvas, {{l, top + 2}, {l, top + 8}, {l + 8, top + 8}, {l + 8, top + 2}});
    return;
  }
  const int r = Rect.Right, t = Rect.Top;
  RibbonLine(Canvas, r - 8, t, r - 8, t + 7);
  RibbonLine(Canvas, r - 9, t, r - 9, t + 7);
  RibbonPolyline(Canvas, {{r - 9, t}, {r - 13, t}, {r - 13, t + 6}, {r - 9, t + 6}});
}

void DrawMinimizeGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal) {
  Canvas->Pen()->SetColor(Color);
  if (Horizontal) {
    const int l = Rect.Left + (Rect.Right - Rect.Left - 6) / 3, t = Rect.Top + (Rect.Bottom - Rect.Top) / 2;
    RibbonLine(Canvas, l, t, l + 6, t);
    RibbonLine(Canvas, l, t + 1, l + 6, t + 1);
    return;
  }
  RibbonLine(Canvas, Rect.Left, Rect.Top, Rect.Left, Rect.Top + 6);
  RibbonLine(Canvas, Rect.Left + 1, Rect.Top, Rect.Left + 1, Rect.Top + 6);
}

void DrawDropArrow(vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TColor Color, vcl::TColor ShadeColor, bool Down) {
  const int x = P.X, y = P.Y;
  Canvas->Pen()->SetColor(Color);
  if (Down) {
    RibbonLine(Canvas, x, y, x + 5, y);
    RibbonLine(Canvas, x + 1, y + 1, x + 4, y + 1);
    Canvas->SetPixels(x + 2, y + 2, Color);
    for (vcl::TPoint s : {vcl::TPoint{x, y + 1}, vcl::TPoint{x + 4, y + 1}, vcl::TPoint{x + 1, y + 2},
                          vcl::TPoint{x + 3, y + 2}, vcl::TPoint{x + 2, y + 3}})
      Canvas->SetPixels(s.X, s.Y, ShadeColor);
    return;
  }
  RibbonLine(Canvas, x, y, x, y + 5);
  RibbonLine(Canvas, x + 1, y + 1, x + 1, y + 4);
  Canvas->SetPixels(x + 2, y + 2, Color);
  for (vcl::TPoint s : {vcl::TPoint{x + 2, y + 1}, vcl::TPoint{x + 1, y + 4}, vcl::TPoint{x + 3, y + 2}})
    Canvas->SetPixels(s.X, s.Y, ShadeColor);
}

void DrawEtchedLine(vcl::TCanvas* Canvas, vcl::TPoint P1, vcl::TPoint P2, bool Raised, bool Horizontal) {
  const vcl::TColor first = Raised ? vcl::clWhite : vcl::clBtnShadow;
  const vcl::TColor second = Raised ? vcl::clBtnShadow : vcl::clWhite;
  Canvas->Pen()->SetColor(first);
  if (Horizontal) {
    RibbonPolyline(Canvas, {{P1.X - 1, P1.Y - 1}, {P2.X - 1, P2.Y}, {P2.X + 1, P2.Y}});
    Canvas->Pen()->SetColor(second);
    RibbonPolyline(Canvas, {{P2.X + 1, P2.Y}, {P2.X + 1, P1.Y}, {P2.X - 1, P1.Y}});
    return;
  }
  RibbonPolyline(Canvas, {{P1.X - 1, P1.Y + 1}, {P1.X - 1, P1.Y - 1}, {P2.X + 1, P2.Y - 1}});
  Canvas->Pen()->SetColor(second);
  RibbonPolyline(Canvas, {{P2.X + 1, P2.Y - 1}, {P2.X + 1, P2.Y + 1}, {P1.X, P1.Y + 1}});
}

void DrawVerticalHotkeyText(vcl::TCanvas* Canvas, const rtl::AnsiString& Text, vcl::TPoint P) {
  // Position (1-based) of the marked character in the text without markers.
  int hotPos = 0;
  int j = 0;
  const size_t n = Text.size();
  for (size_t i = 0; i < n; ++i) {
    if (Text[i] == '&') {
      if (i + 1 < n && Text[i + 1] == '&') {
        ++j;
        ++i;
      } else if (i + 1 < n) {
        hotPos = j + 1;
      }
      continue;
    }
    ++j;
  }
  const rtl::AnsiString shown = vcl::StripHotkey(Text);
  Canvas->TextOut(P.X, P.Y, shown);
  if (hotPos <= 0 || static_cast<size_t>(hotPos) > shown.size()) return;
  const int x = P.X - Canvas->TextHeight(shown) + 1;
  const int y1 = P.Y + Canvas->TextWidth(shown.substr(0, hotPos - 1));
  const int y2 = y1 + Canvas->TextWidth(shown.substr(hotPos - 1, 1));
  Canvas->Pen()->SetColor(Canvas->Font()->Color());
  RibbonLine(Canvas, x, y1, x, y2);
}

}  // namespace ribbon
