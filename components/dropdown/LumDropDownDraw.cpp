#include "dropdown/LumDropDownDraw.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "dropdown/HtmlText.h"
#include "grid/model/GridUtils.h"  // Max, Min
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace dropdown {

namespace {

using vcl::Integer;
using vcl::TColor;
using vcl::TRect;

// Halves go to the even neighbour, as the floating-point unit rounds.
Integer Nearest(double v) { return static_cast<Integer>(std::nearbyint(v)); }

Integer Red(TColor c) { return static_cast<Integer>(c & 0xFF); }
Integer Green(TColor c) { return static_cast<Integer>((c >> 8) & 0xFF); }
Integer Blue(TColor c) { return static_cast<Integer>((c >> 16) & 0xFF); }
TColor Rgb(Integer r, Integer g, Integer b) {
  auto clamp = [](Integer v) { return static_cast<TColor>(std::clamp<Integer>(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

// Byte length of the first count characters of UTF-8 text.
size_t CharacterPrefix(const rtl::AnsiString& text, Integer count) {
  size_t i = 0;
  for (Integer n = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (n++ == count) return i;
  }
  return text.size();
}

Integer CharacterCount(const rtl::AnsiString& text) {
  Integer n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

void DrawGradient(vcl::TCanvas* canvas, TColor fromColor, TColor toColor, Integer steps, const TRect& r,
                  bool horizontal) {
  if (!canvas) return;
  if (steps <= 0) steps = 1;
  const TColor from = vcl::ColorToRGB(fromColor), to = vcl::ColorToRGB(toColor);
  const Integer extent = horizontal ? (r.Right - 1) - r.Left : (r.Bottom - 1) - r.Top;
  const double band = static_cast<double>(extent) / steps;
  const Integer dr = Red(to) - Red(from), dg = Green(to) - Green(from), db = Blue(to) - Blue(from);
  for (Integer n = 0; n < steps; ++n) {
    const TColor c = Rgb(Red(from) + Nearest(double(n) * dr / steps), Green(from) + Nearest(double(n) * dg / steps),
                         Blue(from) + Nearest(double(n) * db / steps));
    canvas->Pen()->SetColor(c);
    canvas->Brush()->SetColor(c);
    canvas->Brush()->SetStyle(vcl::bsSolid);
    // Rounded bands can stop a pixel short of the far edge or run a pixel
    // past it: none leaves the rectangle, and the last one reaches its edge.
    const bool last = n == steps - 1;
    if (horizontal) {
      const Integer x = r.Left + Nearest(n * band);
      const Integer end = last ? r.Right : std::min(r.Right, x + Nearest(band) + 1);
      canvas->FillRect(TRect{x, r.Top, end, r.Bottom});
    } else {
      const Integer y = r.Top + Nearest(n * band);
      const Integer end = last ? r.Bottom : std::min(r.Bottom, y + Nearest(band) + 1);
      canvas->FillRect(TRect{r.Left, y, r.Right, end});
    }
  }
}

TColor BlendColor(TColor color1, TColor color2, Integer percent) {
  if (percent >= 100) return color1;
  if (percent <= 0) return color2;
  const double p = percent / 100.0;
  const TColor a = vcl::ColorToRGB(color1), b = vcl::ColorToRGB(color2);
  return Rgb(Nearest(p * Red(a) + (1 - p) * Red(b)), Nearest(p * Green(a) + (1 - p) * Green(b)),
             Nearest(p * Blue(a) + (1 - p) * Blue(b)));
}

TColor ScaleColor(TColor color, Integer redPct, Integer greenPct, Integer bluePct) {
  const TColor c = vcl::ColorToRGB(color);
  auto scale = [](Integer component, Integer pct) {
    if (component == 0) return grid::Max(0, pct);
    return Nearest(grid::Min(100, pct + 100) / 100.0 * component);
  };
  return Rgb(scale(Red(c), redPct), scale(Green(c), greenPct), scale(Blue(c), bluePct));
}

void DrawBackground(vcl::TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor borderColor,
                    Integer borderWidth, TGradientDirection direction) {
  if (!canvas) return;
  if (colorTo != vcl::clNone) {
    DrawGradient(canvas, color, colorTo, 80, r, direction == TGradientDirection::gdHorizontal);
  } else if (color != vcl::clNone) {
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(r);
  }
  if (borderColor != vcl::clNone && borderWidth > 0) {
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->Pen()->SetWidth(borderWidth);
    canvas->Pen()->SetColor(borderColor);
    canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  }
}

void DrawImageText(vcl::TCanvas* canvas, const TRect& r, const rtl::AnsiString& text, vcl::TImageList* images,
                   Integer imageIndex) {
  if (!canvas) return;
  TRect textRect = r;
  bool image = false;
  if (imageIndex >= 0 && images) {
    images->Draw(canvas, r.Left + 4, r.Top + (r.Height() - images->Height()) / 2, imageIndex, true);
    textRect.Left = r.Left + images->Width() + 8;
    image = true;
  }
  if (!text.empty()) {
    vcl::Cardinal flags = vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_END_ELLIPSIS;
    if (!image) flags |= vcl::DT_CENTER;
    canvas->DrawText(text, textRect, flags);
  }
}

void DrawTransparentBitmap(vcl::TCanvas* canvas, vcl::TBitmap* bitmap, TColor bkColor, const TRect& r) {
  if (!canvas || !bitmap) return;
  vcl::TBitmap work(bitmap->Width(), bitmap->Height());
  work.Canvas()->Brush()->SetColor(bkColor);
  work.Canvas()->Brush()->SetStyle(vcl::bsSolid);
  const TRect area{0, 0, r.Width(), r.Height()};
  work.Canvas()->BrushCopy(area, bitmap, area, bitmap->Canvas()->Pixels(0, 0));
  canvas->CopyRect(r, work.Canvas(), area);
}

vcl::TSize GetTextSize(vcl::TCanvas* canvas, const rtl::AnsiString& text) {
  if (!canvas || text.empty()) return {0, 0};
  TRect r{0, 0, 1000, 500};
  canvas->DrawText(text, r, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
  return {r.Width(), r.Height()};
}

rtl::AnsiString TruncateText(vcl::TCanvas* canvas, const rtl::AnsiString& text, Integer maxWidth, bool ellipsis) {
  if (!canvas || maxWidth >= GetTextSize(canvas, text).cx) return text;
  // Whole characters only: a cut inside a UTF-8 sequence would draw as a
  // broken character.
  const Integer length = CharacterCount(text);
  rtl::AnsiString candidate;
  for (Integer i = 0; i < length; ++i) {
    candidate.assign(text, 0, CharacterPrefix(text, length - i - 1));
    if (ellipsis) candidate += "...";
    if (GetTextSize(canvas, candidate).cx < maxWidth) return candidate;
  }
  return {};
}

vcl::TSize DrawHTMLCaption(vcl::TCanvas* canvas, const rtl::AnsiString& text, const TRect& r,
                           vcl::TImageList* images, bool draw, vcl::HWND window) {
  if (!canvas || text.empty()) return {0, 0};
  THtmlTextOptions o;
  o.Images = images;
  o.PointX = 0;
  o.PointY = 0;
  o.FocusLinkIndex = -1;
  o.HotLinkIndex = 0;
  o.ShadowDepth = 1;
  o.MeasureOnly = !draw;
  o.SelectedText = true;
  o.BlinkPhase = true;
  o.WrapWords = false;
  o.LinkColor = 0xFF0000;
  o.HotBackColor = vcl::clNone;
  o.HotTextColor = vcl::clNone;
  o.ShadowTint = 0x808080;
  o.ThemeWindow = window;
  THtmlTextResult result;
  DrawHTMLText(canvas, text, r, o, result);
  return {result.ContentWidth, result.ContentHeight};
}

}  // namespace dropdown
