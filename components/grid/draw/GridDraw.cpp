#include "grid/draw/GridDraw.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"
#include "vcl/UxTheme.h"

namespace grid {

using vcl::TPoint;

namespace {

struct Rgb {
  Integer r, g, b;
};

Rgb Split(TColor c) {
  const TColor rgb = vcl::ColorToRGB(c);
  return {static_cast<Integer>(rgb & 0xFF), static_cast<Integer>((rgb >> 8) & 0xFF),
          static_cast<Integer>((rgb >> 16) & 0xFF)};
}

TColor Join(Integer r, Integer g, Integer b) {
  auto clamp = [](Integer v) { return static_cast<TColor>(std::clamp(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

Integer RoundInt(double v) { return static_cast<Integer>(rtl::Round(v)); }

void Line(TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void SolidColors(TCanvas* c, TColor color) {
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(color);
}

}  // namespace

TColor DimColor(TColor color) {
  const TColor rgb = vcl::ColorToRGB(color);
  return ((rgb & 0xFF) >> 1) | ((((rgb >> 8) & 0xFF) >> 1) << 8) | ((((rgb >> 16) & 0xFF) >> 1) << 16);
}

void FillGradientRect(TCanvas* canvas, TColor fromColor, TColor toColor, Integer steps, const TRect& r,
                      bool horizontal) {
  if (toColor == clNone) {
    SolidColors(canvas, vcl::ColorToRGB(fromColor));
    canvas->Rectangle(r);
    return;
  }
  if (steps <= 0) steps = 1;
  const Rgb from = Split(fromColor);
  const Rgb to = Split(toColor);
  const double stepR = static_cast<double>(to.r - from.r) / steps;
  const double stepG = static_cast<double>(to.g - from.g) / steps;
  const double stepB = static_cast<double>(to.b - from.b) / steps;
  const double band = static_cast<double>(horizontal ? r.Right - r.Left : r.Bottom - r.Top) / steps;
  const Integer bandSize = RoundInt(band);
  for (Integer i = 0; i < steps; ++i) {
    SolidColors(canvas, Join(from.r + RoundInt(i * stepR), from.g + RoundInt(i * stepG), from.b + RoundInt(i * stepB)));
    const Integer p = static_cast<Word>(RoundInt(i * band));
    if (horizontal)
      canvas->Rectangle(r.Left + p, r.Top, r.Left + p + bandSize + 1, r.Bottom);
    else
      canvas->Rectangle(r.Left, r.Top + p, r.Right, r.Top + p + bandSize + 1);
  }
}

void DrawCellBackground(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool direction, TColor borderColor, bool sideLinesOnly, bool fill) {
  if (fill && color != clNone) {
    if (mirrorColor == clNone && colorTo == clNone) {
      SolidColors(canvas, color);
      canvas->Brush()->SetStyle(vcl::bsSolid);
      canvas->Pen()->SetWidth(1);
      canvas->Pen()->SetStyle(vcl::psSolid);
      canvas->FillRect({r.Left, r.Top, r.Right, r.Bottom + 1});
    } else if (mirrorColor == clNone) {
      FillGradientRect(canvas, color, colorTo, 128, r, !direction);
    } else {
      TRect first = r, second = r;
      if (direction) {
        first.Bottom = r.Top + (r.Bottom - r.Top) / 2;
        second.Top = first.Bottom;
      } else {
        first.Right = r.Left + (r.Right - r.Left) / 2;
        second.Left = first.Right;
      }
      FillGradientRect(canvas, color, colorTo, 128, first, !direction);
      FillGradientRect(canvas, mirrorColor, mirrorColorTo, 128, second, !direction);
    }
  }
  if (borderColor != clNone) {
    if (sideLinesOnly) {
      canvas->Pen()->SetColor(borderColor);
      Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
      Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    } else {
      canvas->Brush()->SetColor(borderColor);
      canvas->FrameRect(r);
    }
  }
}

void DrawSelectionBox(TCanvas* canvas, TColor color, TColor colorTo, TColor mirrorColor, TColor mirrorColorTo,
                      TColor innerTopColor, TColor innerBottomColor, TColor borderColor, TColor cornerColor,
                      TColor outerCornerColor, const TRect& rect, Byte part) {
  const TRect r{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 2};
  const bool leftEnd = part == 0 || part == 1;
  const bool rightEnd = part == 0 || part == 2;
  const Integer m = r.Top + (r.Bottom - r.Top) / 2;

  canvas->Pen()->SetColor(innerTopColor);
  Line(canvas, r.Left, r.Top + 1, r.Right, r.Top + 1);
  if (leftEnd) Line(canvas, r.Left + 1, r.Top + 1, r.Left + 1, m);
  if (rightEnd) Line(canvas, r.Right - 2, r.Top + 1, r.Right - 2, m);

  canvas->Pen()->SetColor(innerBottomColor);
  Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  if (leftEnd) Line(canvas, r.Left + 1, m, r.Left + 1, r.Bottom - 1);
  if (rightEnd) Line(canvas, r.Right - 2, m, r.Right - 2, r.Bottom - 1);

  const Integer dl = leftEnd ? 2 : 0;
  const Integer dr = rightEnd ? 2 : 0;
  canvas->Pen()->SetColor(borderColor);
  Line(canvas, r.Left + dl, r.Top, r.Right - dr, r.Top);
  Line(canvas, r.Left + dl, r.Bottom, r.Right - dr, r.Bottom);
  if (rightEnd) Line(canvas, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom - 1);
  if (leftEnd) Line(canvas, r.Left, r.Top + 2, r.Left, r.Bottom - 1);

  if (leftEnd) {
    for (TPoint p : {TPoint{r.Left + 1, r.Top}, TPoint{r.Left + 1, r.Top + 1}, TPoint{r.Left, r.Top + 1},
                     TPoint{r.Left + 1, r.Bottom}, TPoint{r.Left + 1, r.Bottom - 1}, TPoint{r.Left, r.Bottom - 1}})
      canvas->SetPixels(p.X, p.Y, cornerColor);
    canvas->SetPixels(r.Left, r.Top, outerCornerColor);
    canvas->SetPixels(r.Left, r.Bottom, outerCornerColor);
  }
  if (rightEnd) {
    for (TPoint p : {TPoint{r.Right - 2, r.Top}, TPoint{r.Right - 2, r.Top + 1}, TPoint{r.Right - 1, r.Top + 1},
                     TPoint{r.Right - 2, r.Bottom}, TPoint{r.Right - 2, r.Bottom - 1},
                     TPoint{r.Right - 1, r.Bottom - 1}})
      canvas->SetPixels(p.X, p.Y, cornerColor);
    canvas->SetPixels(r.Right - 1, r.Top, outerCornerColor);
    canvas->SetPixels(r.Right - 1, r.Bottom, outerCornerColor);
  }

  const TRect f{r.Left + dl, r.Top + 2, r.Right - dr, r.Bottom - 2};
  if (colorTo == clNone) {
    SolidColors(canvas, color);
    canvas->FillRect(f);
  } else if (mirrorColor == clNone) {
    FillGradientRect(canvas, color, colorTo, 16, f, false);
  } else {
    const Integer middle = f.Top + (f.Bottom - f.Top) / 2;
    FillGradientRect(canvas, color, colorTo, 16, {f.Left, f.Top, f.Right, middle}, false);
    FillGradientRect(canvas, mirrorColor, mirrorColorTo, 16, {f.Left, middle, f.Right, f.Bottom}, false);
  }
}

TColor BlendColorStep(TColor fromColor, TColor toColor, Integer rangeStart, Integer rangeEnd, Integer position) {
  if (toColor == clNone) return fromColor;
  const Rgb from = Split(fromColor);
  const Rgb to = Split(toColor);
  const Integer span = rangeEnd - rangeStart;
  if (span == 0) return vcl::ColorToRGB(fromColor);
  auto channel = [&](Integer a, Integer b) { return a + RoundInt(static_cast<double>(b - a) / span * position); };
  return Join(channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b));
}

void FillRectColor(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

void DrawProgressBar(TCanvas* canvas, TRect r, TColor color, TColor textColor, TColor colorTo, TColor textColorTo,
                     double value, Integer horizontalMargin, Integer verticalMargin, double minimum, double maximum,
                     const AnsiString& formatText, TColor borderColor, bool upwardText) {
  const TColor oldBrush = canvas->Brush()->Color();
  SolidColors(canvas, color);
  canvas->Font()->SetColor(textColor);
  Integer v = RoundInt(value);
  AnsiString text;
  Integer percent = 0;
  if (formatText.empty()) {
    text = rtl::IntToStr(v) + "%";
    percent = v;
  } else {
    // Without a range there is no share to show: an empty bar, and 0.
    const bool noRange = maximum == minimum;
    if (noRange) {
      v = 0;
      value = 0;
    }
    const bool integral = rtl::Pos('d', formatText) > 0 || rtl::Pos('u', formatText) > 0;
    try {
      text = integral ? rtl::Format(formatText, v) : rtl::Format(formatText, value);
    } catch (const rtl::Exception&) {
      text = formatText;  // a format the value does not fit draws as written
    }
    percent = noRange ? 0 : RoundInt((value - minimum) * 100 / (maximum - minimum));
  }
  percent = std::clamp(percent, 0, 100);

  r = {r.Left + horizontalMargin, r.Top + verticalMargin, r.Right - horizontalMargin, r.Bottom - verticalMargin};
  const TRect done{r.Left, r.Top, r.Left + RoundInt((r.Right - r.Left) * percent / 100.0), r.Bottom};
  const vcl::TSize extent = canvas->TextExtent(text);
  const Integer h = upwardText ? -extent.cy : extent.cy;
  const Integer x = r.Left + ((r.Right - r.Left) - extent.cx) / 2;
  const Integer y = r.Top + ((r.Bottom - r.Top) - h) / 2;
  canvas->TextRect(done, x, y, text);
  SolidColors(canvas, colorTo);
  canvas->Font()->SetColor(textColorTo);
  canvas->TextRect({done.Right, r.Top, r.Right, r.Bottom}, x, y, text);

  const TColor oldPen = canvas->Pen()->Color();
  canvas->Brush()->SetColor(borderColor);
  canvas->Pen()->SetColor(oldPen);
  vcl::InflateRect(r, 1, 1);
  if (borderColor != clNone) canvas->FrameRect(r);
  canvas->Brush()->SetColor(oldBrush);
  vcl::InflateRect(r, 1, 1);
  canvas->FrameRect(r);
}

namespace {

// One segment of a themed bar, across the bar from its edges to its middle
// when gradients are on.
void XPSegment(TCanvas* canvas, const TRect& s, TColor color, TColor colorTo, const TProgressAppearance& a) {
  if (s.Right <= s.Left || s.Bottom <= s.Top) return;
  if (!a.ShowGradient) {
    FillRectColor(canvas, s, color);
    return;
  }
  if (a.Vertical) {
    const Integer middle = s.Left + (s.Right - s.Left) / 2;
    FillGradientRect(canvas, colorTo, color, a.Steps, {s.Left, s.Top, middle, s.Bottom}, true);
    FillGradientRect(canvas, color, colorTo, a.Steps, {middle, s.Top, s.Right, s.Bottom}, true);
  } else {
    const Integer middle = s.Top + (s.Bottom - s.Top) / 2;
    FillGradientRect(canvas, colorTo, color, a.Steps, {s.Left, s.Top, s.Right, middle}, false);
    FillGradientRect(canvas, color, colorTo, a.Steps, {s.Left, middle, s.Right, s.Bottom}, false);
  }
}

}  // namespace

void DrawXPProgress(TCanvas* canvas, const TRect& r, Integer percent, const TProgressAppearance& a) {
  const Integer length = a.Vertical ? r.Bottom - r.Top - 2 : r.Right - r.Left - 2;
  const TColor frame = a.ShowBorder ? a.BorderColor : a.BackgroundColor;
  canvas->Brush()->SetColor(a.BackgroundColor);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Pen()->SetColor(frame);
  canvas->Rectangle(r);

  // A segment [from, to) along the bar, inset by inset pixels across it.
  auto along = [&](Integer from, Integer to, Integer inset) -> TRect {
    if (a.Vertical) return {r.Left + inset, r.Bottom - 1 - to, r.Right - inset, r.Bottom - 1 - from};
    return {r.Left + 1 + from, r.Top + inset, r.Left + 1 + to, r.Bottom - inset};
  };
  if (percent > 0) {
    if (a.Stacked) {
      const Integer first = std::min(percent, a.Level1Perc);
      Integer end = RoundInt(first / 100.0 * length);
      XPSegment(canvas, along(0, end, 1), a.Level0Color, a.Level0ColorTo, a);
      if (percent > a.Level1Perc) {
        const Integer second = std::min(percent, a.Level2Perc) - a.Level1Perc;
        const Integer start = end;
        end = start + RoundInt(second / 100.0 * length);
        XPSegment(canvas, along(start, end, 1), a.Level1Color, a.Level1ColorTo, a);
      }
      if (percent > a.Level2Perc) {
        const Integer start = end;
        end = percent >= 100 ? length : start + RoundInt((percent - a.Level2Perc) / 100.0 * length);
        // The third segment of a vertical bar stands one pixel further up.
        const Integer shift = a.Vertical ? 1 : 0;
        XPSegment(canvas, along(start + shift, end + shift, 1), a.Level3Color, a.Level3ColorTo, a);
      }
    } else {
      TColor color = a.Level2Color, colorTo = a.Level2ColorTo;
      if (percent < a.Level1Perc) {
        color = a.Level0Color;
        colorTo = a.Level0ColorTo;
      } else if (percent < a.Level2Perc) {
        color = a.Level1Color;
        colorTo = a.Level1ColorTo;
      } else if (percent >= 100) {
        color = a.Level3Color;
        colorTo = a.Level3ColorTo;
      }
      if (a.CompletionSmooth) {
        XPSegment(canvas, along(0, RoundInt(percent / 100.0 * length), 1), color, colorTo, a);
      } else {
        canvas->Brush()->SetColor(a.BackgroundColor);
        const Integer n = RoundInt(percent * length / 100.0);
        // Blocks of 7 pixels with gaps of 2, from 1 pixel in.
        auto block = [&](Integer from, Integer size) { XPSegment(canvas, along(1 + from, 1 + from + size, 2), color, colorTo, a); };
        if (n > 9) {
          Integer at = 0;
          block(at, 7);
          for (Integer i = 0; i < n / 9 - 1; ++i) {
            at += 9;
            block(at, 7);
          }
          const Integer rest = n % 9;
          if (rest > 2) block(at + 9, rest - 1);
          canvas->Brush()->SetStyle(vcl::bsClear);
        } else if (n > 1) {
          block(0, n - 1);
        }
      }
    }
  }
  if (a.ShowPercentage) {
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->Font()->SetName(a.FontName);
    canvas->Font()->SetSize(a.FontSize);
    canvas->Font()->SetStyle(a.FontStyle);
    canvas->Font()->SetColor(a.TextColor);
    const AnsiString text = rtl::IntToStr(percent) + "%";
    const vcl::TSize extent = canvas->TextExtent(text);
    if (a.Vertical) {
      canvas->Font()->SetOrientation(900);
      canvas->TextOut(r.Left + (r.Right - r.Left) / 2 - extent.cy / 2, r.Top + (r.Bottom - r.Top) / 2 + extent.cx / 2,
                      text);
      canvas->Font()->SetOrientation(0);
    } else {
      canvas->TextOut(r.Left + (r.Right - r.Left) / 2 - extent.cx / 2, r.Top + (r.Bottom - r.Top) / 2 - extent.cy / 2,
                      text);
    }
  }
  canvas->Pen()->SetColor(frame);
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->Rectangle(r);
  canvas->Brush()->SetStyle(vcl::bsSolid);
}

void DrawProgressPie(TCanvas* canvas, const TRect& r, TColor color, double percent, bool textAbove) {
  constexpr TColor outline = 0x808080;
  canvas->Pen()->SetColor(outline);
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->Ellipse(r);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  const Integer w = r.Right - r.Left, hw = w / 2, h = r.Bottom - r.Top, hh = h / 2;
  const double angle = percent / 100.0 * 2 * std::numbers::pi;
  Line(canvas, r.Left + hw, r.Top, r.Left + hw, r.Top + hh);
  canvas->LineTo(r.Left + hw + RoundInt((w + 1) * 0.5 * std::sin(angle)),
                 r.Top + hh - RoundInt((h + 1) * 0.5 * std::cos(angle)));
  canvas->Brush()->SetColor(color);
  canvas->FloodFill(r.Left + hw + 2, textAbove ? r.Top - 2 : r.Top + 2, outline, vcl::fsBorder);
}

void DrawRangeIndicator(TCanvas* canvas, const TRect& rect, Integer value, Integer range, bool showValue,
                        TColor negativeColor, TColor positiveColor) {
  const TRect r{rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
  const Integer half = (r.Right - r.Left) / 2;
  range = std::abs(range);
  value = std::clamp(value, -range, range);
  // Without a range there is no share to draw: value 0, nothing filled.
  const Integer w = range == 0 ? 0 : RoundInt(static_cast<double>(half) * value / range);
  if (value < 0) {
    SolidColors(canvas, negativeColor);
    canvas->Rectangle(r.Left + half + w, r.Top, r.Left + half, r.Bottom);
  } else if (w > 0) {
    SolidColors(canvas, positiveColor);
    canvas->Rectangle(r.Left + half, r.Top, r.Left + half + w, r.Bottom);
  }
  if (showValue) {
    const AnsiString text = rtl::IntToStr(value);
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->TextOut(r.Left + ((r.Right - r.Left) - canvas->TextWidth(text)) / 2, r.Top, text);
    canvas->Brush()->SetStyle(vcl::bsSolid);
  }
}

void DrawCellShape(TCanvas* canvas, Integer x, Integer y, Integer w, Integer h, Byte shape, TColor brushColor,
                   TColor penColor) {
  if (shape > 18) return;
  canvas->Brush()->SetColor(brushColor);
  canvas->Pen()->SetColor(penColor);
  if ((shape == 1 || shape == 11 || shape == 12) && w != h) w = h = std::min(w, h);
  const Integer x2 = x + w, y2 = y + h, cx = x + w / 2, cy = y + h / 2;
  auto star = [&](std::initializer_list<int> steps) {
    std::vector<TPoint> points;
    for (int k : steps) {
      const double a = k * 36 * std::numbers::pi / 180;
      const bool outer = k % 2 == 0;
      const double rx = outer ? w / 2 : (w / 2) / 3.0;
      const double ry = outer ? h / 2 : (h / 2) / 3.0;
      points.push_back({cx + RoundInt(std::sin(a) * rx), cy - RoundInt(std::cos(a) * ry)});
    }
    canvas->Polygon(points);
  };
  switch (shape) {
    case 0:
    case 11:
      canvas->Rectangle(x + 1, y + 1, x2 - 1, y2 - 1);
      break;
    case 1:
    case 10:
      canvas->Ellipse(x, y, x2, y2);
      break;
    case 2:
      canvas->Polygon({{x2, y}, {x2, y2}, {x, cy}});
      break;
    case 3:
      canvas->Polygon({{x, y}, {x, y2}, {x2, cy}});
      break;
    case 4:
      canvas->Polygon({{x, y2}, {x2, y2}, {cx, y}});
      break;
    case 5:
      canvas->Polygon({{x, y}, {x2, y}, {cx, y2}});
      break;
    case 6:
      canvas->Polygon({{x, y + h / 2}, {x + w / 2, y}, {x + 2 * (w / 2), y + h / 2}, {x + w / 2, y + 2 * (h / 2)}});
      break;
    case 7:
      canvas->Rectangle(cx, y, cx + 1, y2);
      break;
    case 8:
      canvas->Rectangle(x, cy, x2, cy + 1);
      break;
    case 9:
    case 12:
      canvas->RoundRect(x, y, x2, y2, 10, 10);
      break;
    case 13:
      star({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
      break;
    case 14:
    case 15: {
      const Integer we = w - w % 2, q = we / 4;
      if (shape == 14)
        canvas->Polygon({{x, cy}, {x + we / 2, y}, {x + we, cy}, {x + 3 * q, cy}, {x + 3 * q, y2}, {x + q, y2}, {x + q, cy}});
      else
        canvas->Polygon({{x, cy}, {x + we / 2, y2}, {x + we, cy}, {x + 3 * q, cy}, {x + 3 * q, y}, {x + q, y}, {x + q, cy}});
      break;
    }
    case 16:
    case 17: {
      const Integer he = h - h % 2, g = he / 4;
      if (shape == 16)
        canvas->Polygon({{x, y + he / 2}, {cx, y}, {cx, y + g}, {x2, y + g}, {x2, y + 3 * g}, {cx, y + 3 * g}, {cx, y + he}});
      else
        canvas->Polygon({{x2, y + he / 2}, {cx, y}, {cx, y + g}, {x, y + g}, {x, y + 3 * g}, {cx, y + 3 * g}, {cx, y + he}});
      break;
    }
    case 18:
      star({0, 5, 6, 7, 8, 9});
      break;
    default:
      break;
  }
}

void DrawTransparentBitmap(TCanvas* canvas, vcl::TBitmap* bitmap, TColor backgroundColor, const TRect& r) {
  if (bitmap == nullptr || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
  vcl::TBitmap temp;
  temp.SetSize(bitmap->Width(), bitmap->Height());
  const TRect all{0, 0, bitmap->Width(), bitmap->Height()};
  temp.Canvas()->Brush()->SetColor(backgroundColor);
  temp.Canvas()->BrushCopy(all, bitmap, all, bitmap->Canvas()->Pixels(0, 0));
  canvas->CopyRect({r.Left, r.Top, r.Left + all.Right, r.Top + all.Bottom}, temp.Canvas(), all);
}

void RegisterGridResources();  // generated from resources/grid

void DrawResourceBitmap(TCanvas* canvas, TColor backgroundColor, const TRect& r, const AnsiString& name) {
  static std::once_flag once;
  std::call_once(once, RegisterGridResources);
  vcl::TBitmap bitmap;
  bitmap.LoadFromResourceName(vcl::HInstance, name);
  DrawTransparentBitmap(canvas, &bitmap, backgroundColor, r);
}

void DrawErrorUnderline(vcl::TControl*, TCanvas* canvas, const AnsiString& text, const TRect& r,
                        Integer verticalOffset, Integer first, Integer count) {
  const Integer length = rtl::Length(text);
  // Where a character starts on the line, and past the end of the text.
  auto position = [&](Integer index) -> Integer {
    if (index >= length) return canvas->TextWidth(text) + 4;
    return canvas->TextWidth(rtl::Copy(text, 1, index));
  };
  const Integer p1 = position(std::max(first, 0));
  const Integer last = first + count - 1;
  const Integer p2 = last >= length ? canvas->TextWidth(text) + 4 : position(last);
  canvas->Pen()->SetColor(0x0000FF);
  canvas->Pen()->SetWidth(2);
  canvas->MoveTo(r.Left + p1, r.Top + verticalOffset + 3);
  Integer d = 0;
  Integer x = p1;
  for (; x <= p2; x += 3) {
    canvas->LineTo(r.Left + x + 3, r.Top + verticalOffset + d);
    d = d == 0 ? 3 : 0;
  }
  canvas->LineTo(r.Left + x + 3, r.Top + verticalOffset + (d == 0 ? 3 : 0));
  canvas->Pen()->SetWidth(1);
}

void DrawComboButton(TCanvas* canvas, vcl::HWND, const TRect& rect, bool themed, Integer) {
  TRect r{rect.Right - 17 - 2, rect.Top + 1, rect.Right - 2, rect.Bottom - 1};
  if (themed)
    canvas->DrawThemePart("combobox", vcl::CP_DROPDOWNBUTTON, 1, r, nullptr);
  else
    canvas->DrawFrameControl(r, vcl::DFC_SCROLL, vcl::DFCS_FLAT | vcl::DFCS_SCROLLCOMBOBOX);
}

void DrawSpinButtons(TCanvas* canvas, vcl::HWND, const TRect& rect, bool themed, Integer) {
  const TRect r{rect.Right - 15 - 1, rect.Top - 1, rect.Right - 1, rect.Bottom - 1};
  const Integer middle = r.Top + (r.Bottom - r.Top) / 2;
  TRect up{r.Left, r.Top, r.Right, middle};
  if (themed) {
    TRect down{r.Left, middle, r.Right, r.Bottom};
    canvas->DrawThemePart("spin", vcl::SPNP_UP, 1, up, nullptr);
    canvas->DrawThemePart("spin", vcl::SPNP_DOWN, 1, down, nullptr);
  } else {
    TRect down{r.Left, middle + 1, r.Right, r.Bottom};
    canvas->DrawFrameControl(up, vcl::DFC_SCROLL, vcl::DFCS_FLAT | vcl::DFCS_SCROLLUP);
    canvas->DrawFrameControl(down, vcl::DFC_SCROLL, vcl::DFCS_FLAT | vcl::DFCS_SCROLLDOWN);
  }
}

void DrawDropTriangle(TCanvas* canvas, Integer x, Integer y, TColor color) {
  SolidColors(canvas, color);
  canvas->Polygon({{x - 3, y}, {x + 3, y}, {x, y + 3}});
}

// --- layered windows ---

namespace {

// The export of user32 by name, or null; the module stays loaded while the
// call runs.
template <typename F>
struct User32Export {
  explicit User32Export(const char* name) : module(vcl::LoadLibrary("USER32.DLL")) {
    if (module != 0) function = reinterpret_cast<F>(vcl::GetProcAddress(module, name));
  }
  ~User32Export() {
    if (module != 0) vcl::FreeLibrary(module);
  }
  vcl::HMODULE module;
  F function = nullptr;
};

}  // namespace

bool CallUpdateLayeredWindow(vcl::HWND wnd, TCanvas* dcDst, const vcl::TPoint* pptDst, const vcl::TSize* psize,
                             TCanvas* dcSrc, const vcl::TPoint* pptSrc, TColor key,
                             const vcl::BLENDFUNCTION* blend, Cardinal flags) {
  User32Export<decltype(&vcl::UpdateLayeredWindow)> update("UpdateLayeredWindow");
  if (update.function == nullptr) return true;
  return update.function(wnd, dcDst, pptDst, psize, dcSrc, pptSrc, key, blend, flags);
}

bool CallSetLayeredWindowAttributes(vcl::HWND wnd, TColor key, Byte alpha, Cardinal flags) {
  User32Export<decltype(&vcl::SetLayeredWindowAttributes)> set("SetLayeredWindowAttributes");
  if (set.function == nullptr) return true;
  return set.function(wnd, key, alpha, flags);
}

}  // namespace grid
