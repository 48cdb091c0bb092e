#include "support/FrameDrawing.h"

#include <algorithm>
#include <cmath>

#include "rtl/Convert.h"
#include "vcl/Gdi.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace support {

using vcl::clNone;
using vcl::clWindow;

void PaintFrameSides(TCanvas* canvas, const TRect& rect, TColor ulColor, TRect& inner, TSides sides,
                     TColor lrColor) {
  const Integer l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  if (ulColor != clNone) {
    canvas->Pen()->SetColor(ulColor);
    if (sides.Contains(sdLeft)) {
      canvas->MoveTo(l, t);
      canvas->LineTo(l, b);
    }
    if (sides.Contains(sdTop)) {
      canvas->MoveTo(l, t);
      canvas->LineTo(r, t);
    }
  }
  if (lrColor != clNone) {
    canvas->Pen()->SetColor(lrColor);
    if (sides.Contains(sdRight)) {
      canvas->MoveTo(r - 1, t);
      canvas->LineTo(r - 1, b);
    }
    if (sides.Contains(sdBottom)) {
      canvas->MoveTo(l, b - 1);
      canvas->LineTo(r, b - 1);
    }
  }
  inner = rect;
  if (sides.Contains(sdLeft)) ++inner.Left;
  if (sides.Contains(sdTop)) ++inner.Top;
  if (sides.Contains(sdRight)) --inner.Right;
  if (sides.Contains(sdBottom)) --inner.Bottom;
}

void PaintBorder(TCanvas* canvas, const TRect& rect, TColor ulColor, TRect& inner, TSides sides, Integer width,
                 TColor lrColor) {
  canvas->Pen()->SetWidth(1);
  TRect r = rect;
  for (Integer i = 0; i < width; ++i) PaintFrameSides(canvas, r, ulColor, r, sides, lrColor);
  inner = r;
}

void PaintBoxOutline(TCanvas* canvas, const TRect& rect, TColor color, TRect& inner) {
  PaintFrameSides(canvas, rect, color, inner, kAllSides, color);
}

// ------------------------------------------------------------- shading

THslParts ColorToHslParts(TColor color) {
  const TColor rgb = vcl::ColorToRGB(color);
  const double r = vcl::GetRValue(rgb) / 255.0;
  const double g = vcl::GetGValue(rgb) / 255.0;
  const double b = vcl::GetBValue(rgb) / 255.0;
  const double mx = std::max({r, g, b});
  const double mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      h = (g - b) / d;
    else if (b == mx)
      h = 4 + (r - g) / d;
    else
      h = 2 + (b - r) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  auto scaled = [](double v) { return static_cast<Byte>(rtl::Round(v * 240)); };
  return {scaled(h), scaled(s), scaled(l)};
}

void ColorToHslParts(TColor color, Byte& h, Byte& s, Byte& l) {
  THslParts p = ColorToHslParts(color);
  h = p.H;
  s = p.S;
  l = p.L;
}

TColor HslToColorValue(Integer h, Integer s, Integer l) {
  const double ll = l / 240.0, ss = s / 240.0, hh = h / 239.0;
  const double v = ll < 0.5 ? ll * (1 + ss) : ll + ss - ll * ss;
  if (v <= 0) return vcl::clBlack;
  const double m = 2 * ll - v;
  const double scaledHue = 6 * hh;
  const int sextant = static_cast<int>(std::floor(scaledHue));
  const double fraction = scaledHue - sextant;
  const double a = v * ((v - m) / v) * fraction;
  const double rise = m + a, fall = v - a;
  double r, g, b;
  switch (sextant) {
    case 1: r = fall, g = v, b = m; break;
    case 2: r = m, g = v, b = rise; break;
    case 3: r = m, g = fall, b = v; break;
    case 4: r = rise, g = m, b = v; break;
    case 5: r = v, g = m, b = fall; break;
    default: r = v, g = rise, b = m; break;  // sextant 0, and a hue past the scale's end
  }
  auto channel = [](double x) { return static_cast<Byte>(rtl::Round(std::clamp(x, 0.0, 1.0) * 255)); };
  return vcl::RGB(channel(r), channel(g), channel(b));
}

TColor ReduceLuminance(TColor color, Integer amount) {
  THslParts p = ColorToHslParts(color);
  return HslToColorValue(p.H, p.S, std::max<Integer>(p.L - amount, 0));
}

TColor RaiseLuminance(TColor color, Integer amount) {
  THslParts p = ColorToHslParts(color);
  return HslToColorValue(p.H, p.S, std::min<Integer>(p.L + amount, 255));
}

// ------------------------------------------------------------- frames

namespace {

// Upper-left and lower-right colours of one pass.
struct TPassColors {
  TColor ul;
  TColor lr;
};

// The etched frame: groove and bump. The corner pixels come first, where a
// side meets a side that is not drawn, then the inner colour one pixel in
// at left and top and the outer colour over it one pixel out.
void PaintEtchedFrame(TCanvas* canvas, const TRect& rect, TColor outer, TColor inner, TSides sides) {
  const Integer l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  const bool hasL = sides.Contains(sdLeft), hasT = sides.Contains(sdTop), hasR = sides.Contains(sdRight),
             hasB = sides.Contains(sdBottom);
  auto pixel = [canvas](Integer x, Integer y, TColor c) {
    if (c != clNone) canvas->SetPixels(x, y, c);
  };
  if (hasR) pixel(r - 1, t, inner);
  if (hasT && !hasR) pixel(r - 1, t, outer);
  if (hasB) pixel(l, b - 1, inner);
  if (hasL && !hasB) pixel(l, b - 1, outer);
  if (hasT && !hasL) pixel(l, t + 1, inner);
  if (hasL && !hasT) pixel(l + 1, t, inner);
  // The outer line along the bottom runs on to the right edge, as the one
  // down the right side runs on to the bottom edge below.
  if (hasB && !hasR) pixel(r - 1, b - 2, outer);
  if (hasR && !hasB) pixel(r - 2, b - 1, outer);
  TRect moved{l + 1, t + 1, r, b};
  TRect unused;
  PaintFrameSides(canvas, moved, inner, unused, sides, inner);
  moved = {l, t, r - 1, b - 1};
  PaintFrameSides(canvas, moved, outer, unused, sides, outer);
}

// The colours of one 3D style: one pass or two (outer first), or an etched
// frame of an outer and an inner colour.
struct TStyleColors {
  TPassColors outer{};
  TPassColors inner{};
  Integer passes = 0;  // 0 for a style this table does not draw
  bool etched = false;
};

TStyleColors OnePass(TColor ul, TColor lr) { return {{ul, lr}, {}, 1, false}; }
TStyleColors TwoPasses(TPassColors outer, TPassColors inner) { return {outer, inner, 2, false}; }
TStyleColors Etched(TColor outer, TColor inner) { return {{outer, outer}, {inner, inner}, 2, true}; }

// On the window colour: the system's 3D colours.
TStyleColors SystemStyleColors(TFrameStyle style) {
  using namespace vcl;
  switch (style) {
    case fsStatus: return OnePass(clBtnShadow, clBtnHighlight);
    case fsPopup: return OnePass(clBtnHighlight, clBtnShadow);
    case fsRaised: return TwoPasses({cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow});
    case fsLowered: return TwoPasses({clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight});
    case fsButtonUp: return TwoPasses({clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow});
    case fsButtonDown: return TwoPasses({clBtnText, clBtnText}, {clBtnShadow, clBtnShadow});
    case fsGroove: return Etched(clBtnShadow, clBtnHighlight);
    case fsBump: return Etched(clBtnHighlight, clBtnShadow);
    default: return {};
  }
}

// On any other colour: darker and lighter shades of it.
TStyleColors ShadedStyleColors(TFrameStyle style, TColor color) {
  auto D = [color](Integer n) { return ReduceLuminance(color, n); };
  auto L = [color](Integer n) { return RaiseLuminance(color, n); };
  switch (style) {
    case fsStatus: return OnePass(D(50), L(100));
    case fsPopup: return OnePass(L(100), D(50));
    case fsLowered: return TwoPasses({D(50), L(100)}, {D(100), L(50)});
    case fsRaised: return TwoPasses({L(50), D(100)}, {L(100), D(50)});
    case fsButtonUp: return TwoPasses({L(100), D(100)}, {L(40), D(50)});
    case fsButtonDown: return TwoPasses({D(100), D(100)}, {D(50), D(50)});
    case fsGroove: return Etched(D(50), L(100));
    case fsBump: return Etched(L(100), D(50));
    default: return {};
  }
}

void PaintStyleColors(TCanvas* canvas, const TRect& rect, const TStyleColors& colors, TSides sides) {
  if (colors.etched) {
    PaintEtchedFrame(canvas, rect, colors.outer.ul, colors.inner.ul, sides);
    return;
  }
  TRect r = rect;
  if (colors.passes >= 1) PaintFrameSides(canvas, r, colors.outer.ul, r, sides, colors.outer.lr);
  if (colors.passes >= 2) PaintFrameSides(canvas, r, colors.inner.ul, r, sides, colors.inner.lr);
}

}  // namespace

void PaintControlFrame(TCanvas* canvas, Integer width, Integer height, TFrameStyle style, TColor color,
                       TColor frameColor, TSides sides, bool noErase) {
  const TRect whole{0, 0, width, height};
  TRect inner;
  if (!noErase) PaintBorder(canvas, whole, color, inner, kAllSides, 2, color);
  switch (style) {
    case fsNone: return;
    case fsFlat: PaintFrameSides(canvas, whole, frameColor, inner, sides, frameColor); return;
    case fsFlatBold: PaintBorder(canvas, whole, frameColor, inner, sides, 2, frameColor); return;
    default:
      PaintStyleColors(canvas, whole, color == clWindow ? SystemStyleColors(style) : ShadedStyleColors(style, color),
                       sides);
  }
}

void PaintCheckBoxGlyph(TCanvas* canvas, const TRect& rect, vcl::TCheckBoxState state, TColor outlineColor,
                        TColor fillColor, TColor markColor) {
  TRect inner;
  PaintBoxOutline(canvas, rect, outlineColor, inner);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Brush()->SetColor(fillColor);
  if (fillColor != clNone) canvas->FillRect(inner);
  const Integer l = inner.Left, t = inner.Top;
  switch (state) {
    case vcl::cbChecked:
      if (markColor == clNone) return;
      // Seven columns of three pixels: down two steps, then up four.
      canvas->Pen()->SetColor(markColor);
      for (Integer column = 0; column < 7; ++column) {
        const Integer x = l + 2 + column;
        const Integer top = t + (column <= 2 ? 4 + column : 8 - column);
        canvas->MoveTo(x, top);
        canvas->LineTo(x, top + 3);
      }
      return;
    case vcl::cbGrayed:
      if (markColor == clNone) return;
      canvas->Brush()->SetColor(markColor);
      canvas->FillRect({inner.Left + 2, inner.Top + 2, inner.Right - 2, inner.Bottom - 2});
      return;
    case vcl::cbUnchecked: return;
  }
}

void InvalidateNonClientFrame(vcl::HWND window, const TRect& rect) {
  std::unique_ptr<TCanvas> dc = vcl::GetDC(window);
  if (!dc) return;
  TRect box;
  const Integer kind = vcl::GetClipBox(dc.get(), box);
  if (kind == vcl::RGN_ERROR || kind == vcl::NULLREGION) return;
  vcl::RedrawWindow(window, &rect, vcl::RDW_FRAME | vcl::RDW_INVALIDATE);
}

}  // namespace support
