// The toolbar unit's drawing routines (see RorIvezEviDraw.h).
#include "ribbon/RorIvezEviDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ribbon {

namespace {

// Rounding to the nearest, halves to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

int RibbonPageMargin() { return controls::GetGlobalWin7ScenicRibbon() ? 0 : 4; }

int RibbonCornerRadius() { return controls::GetGlobalWin7ScenicRibbon() ? 0 : 3; }

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
  auto shade = [Percent](int v) { return static_cast<uint8_t>(RoundEven(v * (100 - Percent) / 100.0)); };
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

}  // namespace ribbon
