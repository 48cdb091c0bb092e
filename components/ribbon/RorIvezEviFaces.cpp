// Button faces and text drawing of the toolbar unit (see RorIvezEviFaces.h).
#include "ribbon/RorIvezEviFaces.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "ribbon/RorIvezEviDraw.h"
#include "rtl/CodePages.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace ribbon {

namespace {

using controls::TAntiAlias;
using controls::TGPFloatRect;
using controls::TGPGraphics;
using vcl::TColor;
using vcl::TRect;

constexpr TColor kFaceFocusBlue = 0xE4AD89;
constexpr TColor kFaceGrey = 0x808080;

int FaceRound(double v) { return static_cast<int>(std::nearbyint(v)); }

// The family of the font's name, or Arial when GDI+ cannot have it.
std::unique_ptr<controls::TGPFontFamily> FaceFamily(const rtl::AnsiString& name) {
  auto family = std::make_unique<controls::TGPFontFamily>(rtl::Utf8ToWide(name));
  const vcl::GpStatus s = family->GetLastStatus();
  if (s == vcl::FontFamilyNotFound || s == vcl::FontStyleNotFound)
    family = std::make_unique<controls::TGPFontFamily>(u"Arial");
  return family;
}

int32_t FaceStyleBits(vcl::TFont* font, bool withStrikeOut) {
  int32_t bits = 0;
  if (font->Style().Contains(vcl::fsBold)) bits |= 1;
  if (font->Style().Contains(vcl::fsItalic)) bits |= 2;
  if (font->Style().Contains(vcl::fsUnderline)) bits |= 4;
  if (withStrikeOut && font->Style().Contains(vcl::fsStrikeOut)) bits |= 8;
  return bits;
}

void FaceTextHint(TGPGraphics& g, TAntiAlias aa) {
  if (aa == controls::aaClearType)
    g.SetTextRenderingHint(vcl::TextRenderingHintClearTypeGridFit);
  else if (aa == controls::aaAntiAlias)
    g.SetTextRenderingHint(vcl::TextRenderingHintAntiAlias);
}

TGPFloatRect FaceLayout(const TRect& r) {
  return controls::MakeGPRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect FaceRounded(const TGPFloatRect& b) {
  return TRect{FaceRound(b.X), FaceRound(b.Y), FaceRound(b.X + b.Width), FaceRound(b.Y + b.Height)};
}

controls::TGPGraphicsPath* FaceEllipse(controls::TGPGraphicsPath& path, float x, float y, float w, float h) {
  path.AddEllipse(x, y, w, h);
  return &path;
}

// One half of a Vista face: the solid colour over the half, then the
// gradient on its fill rectangle.
void FaceVistaHalf(TGPGraphics& g, controls::TGDIPGradient gradient, float ellipseY, float w, float h, float left,
                   vcl::TPoint centre, TColor centreColor, TColor surround, const TGPFloatRect& linear,
                   TColor from, TColor to, const TGPFloatRect& fill) {
  controls::TGPGraphicsPath ellipse;
  FaceEllipse(ellipse, left, ellipseY, w, h);
  std::unique_ptr<controls::TGPBrush> brush;
  if (gradient == controls::ggRadial) {
    auto radial = std::make_unique<controls::TGPPathGradientBrush>(&ellipse);
    radial->SetCenterPointI(controls::MakeGPPoint(centre.X, centre.Y));
    radial->SetCenterColor(OpaqueARGB(centreColor));
    vcl::ARGB s = OpaqueARGB(surround);
    int32_t count = 1;
    radial->SetSurroundColors(&s, count);
    brush = std::move(radial);
  } else {
    const vcl::LinearGradientMode mode = gradient == controls::ggVertical ? vcl::LinearGradientModeVertical
                                         : gradient == controls::ggDiagonalForward
                                             ? vcl::LinearGradientModeForwardDiagonal
                                             : vcl::LinearGradientModeBackwardDiagonal;
    brush = std::make_unique<controls::TGPLinearGradientBrush>(linear, OpaqueARGB(from), OpaqueARGB(to), mode);
  }
  g.FillRect(brush.get(), fill);
}

void FaceArrow(vcl::TCanvas* c, const TRect& dd, bool enabled) {
  const int x = dd.Left + (dd.Right - dd.Left - 5) / 2, y = dd.Top + (dd.Bottom - dd.Top - 3) / 2 + 1;
  const TColor color = enabled ? vcl::clBlack : kFaceGrey;
  c->Pen()->SetColor(color);
  c->MoveTo(x, y);
  c->LineTo(x + 5, y);
  c->MoveTo(x + 1, y + 1);
  c->LineTo(x + 4, y + 1);
  c->SetPixels(x + 2, y + 2, color);
}

// The line between the main and the drop-down part.
void FaceSplitLine(vcl::TCanvas* c, const TRect& dd, bool bottom, TColor border) {
  c->Pen()->SetColor(border);
  if (bottom) {
    c->MoveTo(dd.Left, dd.Top);
    c->LineTo(dd.Right, dd.Top);
  } else {
    c->MoveTo(dd.Left, dd.Top);
    c->LineTo(dd.Left, dd.Bottom);
  }
}

bool FaceGlyphValid(vcl::TGraphic* g) { return g && !g->Empty() && g->Width() >= 2 && g->Height() >= 2; }

}  // namespace

void DrawGPText(vcl::TCanvas* Canvas, vcl::TAlignment Alignment, rtl::Cardinal DTFormat, const TRect& Rect,
                const rtl::AnsiString& Caption, const rtl::WideString&, vcl::TFont* Font, bool Enabled, bool RealDraw,
                TAntiAlias AntiAlias, bool Ellipsis, bool WordWrap, TRect& TextRect) {
  TextRect = TRect{0, 0, 0, 0};
  if (Caption.empty()) return;
  Canvas->Font()->SetName(Font->Name());
  if (AntiAlias == controls::aaNone || !IsGDIPlusFont(Canvas)) {
    TextRect = TRect{0, 0, 1000, 100};
    Canvas->DrawText(Caption, TextRect, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
    if (RealDraw) {
      TRect r = Rect;
      Canvas->DrawText(Caption, r, DTFormat);
    }
    return;
  }
  TGPGraphics g(Canvas);
  auto family = FaceFamily(Font->Name());
  controls::TGPFont font(family.get(), static_cast<float>(Font->Size()), FaceStyleBits(Font, true), vcl::UnitPoint);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  controls::TGPStringFormat format(0, 0);
  controls::TGPSolidBrush brush(Enabled ? OpaqueARGB(Font->Color()) : OpaqueARGB(kFaceGrey));
  format.SetAlignment(Alignment == vcl::taLeftJustify    ? vcl::StringAlignmentNear
                      : Alignment == vcl::taRightJustify ? vcl::StringAlignmentFar
                                                         : vcl::StringAlignmentCenter);
  format.SetLineAlignment(vcl::StringAlignmentCenter);
  format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  FaceTextHint(g, AntiAlias);
  const TGPFloatRect inRect = FaceLayout(Rect);
  const TGPFloatRect wide1000 = controls::MakeGPRectF(Rect.Left, Rect.Top, 1000, Rect.Bottom - Rect.Top);
  rtl::WideString text = rtl::Utf8ToWide(Caption);
  TGPFloatRect box;
  g.MeasureString(text, static_cast<int32_t>(text.size()), &font, (!RealDraw || (!Ellipsis && WordWrap)) ? inRect
                                                                                                     : wide1000,
                  &format, box);
  TextRect = FaceRounded(box);
  if (!RealDraw) return;
  const float width = Rect.Right - Rect.Left;
  if (box.Width > width && (Ellipsis || !WordWrap)) {
    const rtl::WideString suffix = Ellipsis ? rtl::WideString(u"...") : rtl::WideString();
    const size_t rounds = text.size() + 1;
    for (size_t i = 0; i < rounds; ++i) {
      const rtl::WideString tried = text + suffix;
      TGPFloatRect b;
      g.MeasureString(tried, static_cast<int32_t>(tried.size()), &font, wide1000, &format, b);
      if (b.Width <= width || text.empty()) break;
      text.pop_back();
    }
    text += suffix;
  }
  g.DrawString(text, static_cast<int32_t>(text.size()), &font, inRect, &format, &brush);
}

void DrawGPWrapText(vcl::TCanvas* Canvas, int Alignment, const TRect& Rect, const rtl::AnsiString& Caption,
                    const rtl::WideString& WideCaption, vcl::TFont* Font, bool Enabled, bool RealDraw,
                    TAntiAlias AntiAlias, TRect& TextRect) {
  TextRect = TRect{0, 0, 0, 0};
  if (Caption.empty() && WideCaption.empty()) return;
  const rtl::WideString text = Caption.empty() ? WideCaption : rtl::Utf8ToWide(Caption);
  const rtl::AnsiString narrow = Caption.empty() ? rtl::WideToUtf8(WideCaption) : Caption;
  TGPGraphics g(Canvas);
  auto family = FaceFamily(Font->Name());
  controls::TGPFont font(family.get(), static_cast<float>(Font->Size()), FaceStyleBits(Font, false),
                         vcl::UnitPoint);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  const TGPFloatRect layout = FaceLayout(Rect);
  controls::TGPStringFormat format(0, 0);
  controls::TGPSolidBrush brush(Enabled ? OpaqueARGB(Font->Color()) : OpaqueARGB(kFaceGrey));
  if (Alignment == 0) format.SetAlignment(vcl::StringAlignmentNear);
  if (Alignment == 1) format.SetAlignment(vcl::StringAlignmentFar);
  if (Alignment == 2) format.SetAlignment(vcl::StringAlignmentCenter);
  format.SetLineAlignment(vcl::StringAlignmentCenter);
  format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  format.SetTrimming(vcl::StringTrimmingNone);
  FaceTextHint(g, AntiAlias);
  if (AntiAlias != controls::aaNone) {
    TGPFloatRect box;
    g.MeasureString(text, static_cast<int32_t>(text.size()), &font, layout, &format, box);
    TextRect = FaceRounded(box);
  } else {
    TRect r{Rect.Left, Rect.Top, Rect.Left + 2, Rect.Top};
    r.Bottom = Canvas->DrawText(narrow, r, vcl::DT_CALCRECT | vcl::DT_WORDBREAK);
    TextRect = r;
  }
  if (!RealDraw) return;
  if (AntiAlias != controls::aaNone) {
    g.DrawString(text, static_cast<int32_t>(text.size()), &font, layout, &format, &brush);
    return;
  }
  Canvas->Brush()->SetStyle(vcl::bsClear);
  rtl::Cardinal flags = vcl::DT_VCENTER | vcl::DT_SINGLELINE;
  if (Alignment == 1) flags |= vcl::DT_RIGHT;
  if (Alignment == 2) flags |= vcl::DT_CENTER;
  TRect r = Rect;
  Canvas->DrawText(narrow, r, flags);
}

void DrawVistaButton(vcl::TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor ColorMirror,
                     TColor ColorMirrorTo, TColor BorderColor, controls::TGDIPGradient Gradient,
                     controls::TGDIPGradient GradientMirror, const rtl::AnsiString& Caption, vcl::TFont* Font,
                     vcl::TImageList* Images, int ImageIndex, bool ImageEnabled, controls::TButtonLayout Layout,
                     bool DropDown, bool DropDownSplit, bool Enabled, bool Focus, bool DropDownBottom,
                     controls::TGDIPPicture* Picture, TAntiAlias AntiAlias, bool Rounded) {
  const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  const int W = R - L, H = B - T;
  int half = H / 2;
  const TRect dd = DropDownBottom ? TRect{L, B - 14, R, B} : TRect{R - 14, T, R, B};
  TRect text = Rect;
  if (DropDown) {
    if (DropDownBottom)
      text.Bottom = dd.Top;
    else
      text.Right = dd.Left;
  }
  TGPGraphics g(Canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);

  // Lower half.
  Canvas->Brush()->SetStyle(vcl::bsSolid);
  Canvas->Brush()->SetColor(ColorMirror);
  Canvas->FillRect(TRect{L, T + half, R, B});
  if (GradientMirror == controls::ggRadial)
    FaceVistaHalf(g, GradientMirror, T + half, W, H, L, {L + W / 2, B}, ColorMirrorTo, ColorMirror, {}, 0, 0,
                  controls::MakeGPRectF(L + 1, T + half, W - 1, half + 1));
  else
    FaceVistaHalf(g, GradientMirror, T + half, W, H, L, {}, 0, 0, controls::MakeGPRectF(L, T + half, W, half),
                  ColorMirror, ColorMirrorTo, controls::MakeGPRectF(L + 1, T + half + 1, W - 1, half + 1));
  // Upper half.
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(TRect{L, T, R, T + half});
  const int upperEllipseY = T - half;
  if (H % 2 == 1) ++half;
  const TGPFloatRect upperFill = controls::MakeGPRectF(L + 1, T + 1, W - 1, H - half - 1);
  if (Gradient == controls::ggRadial)
    FaceVistaHalf(g, Gradient, upperEllipseY, W, H, L, {L + W / 2, T}, ColorTo, Color, {}, 0, 0, upperFill);
  else
    FaceVistaHalf(g, Gradient, upperEllipseY, W, H, L, {}, 0, 0,
                  Gradient == controls::ggVertical ? controls::MakeGPRectF(L, T, W, half)
                                                   : controls::MakeGPRectF(L, T, W, H),
                  Color, ColorTo, upperFill);
  // Frame.
  if (BorderColor != vcl::clNone) {
    controls::TGPPen pen(OpaqueARGB(BorderColor));
    if (Rounded)
      DrawRoundRect(&g, &pen, L, T, W - 1, H - 1, 3);
    else
      DrawRectPath(&g, &pen, L, T, W - 1, H - 1);
  }
  if (Focus) {
    DrawSolidRoundRect(&g, kFaceFocusBlue, L + 1, T + 1, R - 3, B - 3, 3);
    DrawDottedRoundRect(&g, kFaceGrey, L + 2, T + 2, R - 5, B - 5, 3);
  }
  // Picture size.
  int imgW = 0, imgH = 0;
  if (Picture && !Picture->Empty()) {
    imgW = Picture->Width();
    imgH = Picture->Height();
  } else if (Images && ImageIndex >= 0) {
    imgW = Images->Width();
    imgH = Images->Height();
  }
  int TW = text.Right - text.Left, TH = text.Bottom - text.Top;
  int px = 0, py = 0;
  if (!Caption.empty()) {
    TGPFloatRect layout = controls::MakeGPRectF(L, T, TW, TH);
    auto family = FaceFamily(Font->Name());
    controls::TGPFont font(family.get(), static_cast<float>(Font->Size()), FaceStyleBits(Font, false),
                           vcl::UnitPoint);
    controls::TGPStringFormat format(0, 0);
    controls::TGPSolidBrush brush(Enabled ? OpaqueARGB(Font->Color()) : OpaqueARGB(kFaceGrey));
    format.SetAlignment(vcl::StringAlignmentCenter);
    format.SetLineAlignment(vcl::StringAlignmentCenter);
    format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
    FaceTextHint(g, AntiAlias);
    const rtl::WideString wide = rtl::Utf8ToWide(Caption);
    TGPFloatRect m;
    if (AntiAlias != controls::aaNone) {
      g.MeasureString(wide, static_cast<int32_t>(wide.size()), &font, layout, &format, m);
    } else {
      TRect r{L, T, L + 2, T};
      const int got = Canvas->DrawText(Caption, r, vcl::DT_CALCRECT | vcl::DT_WORDBREAK);
      m = controls::MakeGPRectF(r.Left, r.Top, r.Right - r.Left, got - r.Top);
    }
    if (imgW > 0) {
      switch (Layout) {
        case controls::blGlyphLeft:
          layout.X = L + imgW + 2;
          layout.Width = TW - imgW - 2;
          px = std::max(2, FaceRound(m.X - imgW / 2));
          py = T + std::max(0, (TH - imgH) / 2);
          break;
        case controls::blGlyphTop:
          layout.Y = T + imgH;
          layout.Height = TH - imgH - 2;
          px = L + std::max(0, (TW - imgW) / 2);
          py = std::max(2, FaceRound(layout.Y) - imgH + std::max(0, FaceRound(layout.Height - m.Height) / 2));
          break;
        case controls::blGlyphRight:
          layout.X = 2;
          layout.Width = TW - imgW - 4;
          px = FaceRound(m.Width) + 4 + std::max(0, FaceRound(layout.Width - m.Width) / 2);
          if (px > TW - imgW) px = TW - imgW - 2;
          py = T + std::max(0, (TH - imgH) / 2);
          break;
        default:  // picture at the bottom
          layout.Y = 2;
          layout.Height = TH - imgH - 2;
          px = L + std::max(0, (TW - imgW) / 2);
          py = FaceRound(m.Height + 2) + std::max(0, FaceRound(layout.Height - m.Height) / 2);
          if (py > TH - imgH) py = TH - imgH - 2;
          break;
      }
    }
    if (AntiAlias != controls::aaNone) {
      g.DrawString(wide, static_cast<int32_t>(wide.size()), &font, layout, &format, &brush);
    } else {
      Canvas->Brush()->SetStyle(vcl::bsClear);
      TRect r = FaceRounded(layout);
      Canvas->DrawText(Caption, r, vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_CENTER);
    }
  }
  // The picture area.
  if (DropDown) {
    if (!Caption.empty()) {
      if (DropDownBottom)
        TH -= 8;
      else
        TW -= 8;
    }
  }
  int areaW = Caption.empty() ? (DropDown && !DropDownBottom ? W - 8 : W) : TW;
  int areaH = Caption.empty() ? (DropDown && DropDownBottom ? H - 8 : H) : TH;
  const vcl::TPoint centred{L + std::max(0, (areaW - imgW) / 2), T + std::max(0, (areaH - imgH) / 2)};
  const vcl::TPoint at = Caption.empty() ? centred : vcl::TPoint{px, py};
  if (Picture && !Picture->Empty())
    controls::glow::DrawPictureAt(&g, at, Picture);
  else if (ImageIndex != -1)
    DrawImageListImage(&g, Canvas, at, Images, ImageIndex, ImageEnabled);
  Canvas->Brush()->SetStyle(vcl::bsClear);
  if (DropDown) {
    if (DropDownSplit) FaceSplitLine(Canvas, dd, DropDownBottom, BorderColor);
    FaceArrow(Canvas, dd, Enabled);
  }
}

void DrawVistaButtonText(vcl::TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, controls::TGDIPGradient Gradient,
                         controls::TGDIPGradient GradientMirror, const rtl::AnsiString& Caption, vcl::TFont* Font,
                         bool Enabled, bool Focus, TAntiAlias AntiAlias, bool Rounded) {
  DrawVistaButton(Canvas, Rect, Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor, Gradient, GradientMirror,
                  Caption, Font, nullptr, -1, true, controls::blGlyphLeft, false, false, Enabled, Focus, false,
                  nullptr, AntiAlias, Rounded);
}

void DrawGlowFace(vcl::TCanvas* Canvas, const TRect& Rect, TColor Color, const TGlowFace& F, vcl::TPoint& Size) {
  const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  const int H = B - T, half = H / 2;
  const float radius = F.Rounded ? 3 : 0;
  const TRect dd = F.DropDownBottom ? TRect{L, B - 14, R, B} : TRect{R - 14, T, R, B};
  TRect area = Rect;
  if (F.DropDownButton) {
    if (F.DropDownBottom)
      area.Bottom = dd.Top;
    else
      area.Right = dd.Left;
  }
  int TW = area.Right - area.Left, TH = area.Bottom - area.Top;
  TGPGraphics g(Canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  const int grad = static_cast<int>(F.Gradient), gradMirror = static_cast<int>(F.GradientMirror);

  // Background.
  if (!F.Transparent) {
    if (F.DropDownButton && F.DropDownActive && F.DropDownSplit) {
      const bool mainLit = F.SplitState == 2;
      auto dim = [](TColor c, bool d) { return d ? DimColor(c, -10) : c; };
      // The main part.
      const TRect mainLower = F.DropDownBottom ? TRect{L, T + (H - 12) / 2 - 1, R, B - 12}
                                               : TRect{L, T + half - 1, R - 12, B};
      const TRect mainUpper = F.DropDownBottom ? TRect{L, T, R, B - 12 - (H - 12) / 2} : TRect{L, T, R - 12, B - half};
      FillGlowHalf(Canvas, &g, mainLower, dim(F.ColorMirrorTo, !mainLit), dim(F.ColorMirror, !mainLit), gradMirror,
                   false);
      FillGlowHalf(Canvas, &g, mainUpper, dim(Color, !mainLit), dim(F.ColorTo, !mainLit), grad, true);
      // The drop-down part, lit when the main part is not.
      const int ddUpperGrad = mainLit ? grad : 0;
      if (F.DropDownBottom) {
        FillGlowHalf(Canvas, &g, TRect{L, B - 12, R, B}, dim(Color, mainLit), dim(F.ColorTo, mainLit), ddUpperGrad,
                     true);
      } else {
        FillGlowHalf(Canvas, &g, TRect{R - 12, T + half - 1, R, B}, dim(F.ColorMirrorTo, mainLit),
                     dim(F.ColorMirror, mainLit), gradMirror, false);
        FillGlowHalf(Canvas, &g, TRect{R - 12, T, R, B - half}, dim(Color, mainLit), dim(F.ColorTo, mainLit),
                     ddUpperGrad, true);
      }
    } else {
      FillGlowHalf(Canvas, &g, TRect{L, T + half - 1, R, B}, F.ColorMirrorTo, F.ColorMirror, gradMirror, false);
      FillGlowHalf(Canvas, &g, TRect{L, T, R, B - half}, Color, F.ColorTo, grad, true);
    }
  }
  // Frame.
  if (!F.Transparent && F.DrawBorder) {
    const float w = R - 1, h = B - 1;
    switch (F.ButtonPosition) {
      case controls::bpLeft: DrawLeftButtonFrame(&g, F.BorderColor, L, T, w, h, radius); break;
      case controls::bpMiddle: DrawMiddleButtonFrame(&g, F.BorderColor, L, T, w, h, radius, F.Shaded); break;
      case controls::bpRight: DrawRightButtonFrame(&g, F.BorderColor, L, T, w, h, radius, F.Shaded); break;
      default: DrawSolidRoundRect(&g, F.BorderColor, L, T, w, h, radius); break;
    }
  }
  if (F.Focus) {
    DrawSolidRoundRect(&g, kFaceFocusBlue, L + 1, T + 1, R - 3, B - 3, radius);
    DrawDottedRoundRect(&g, kFaceGrey, L + 2, T + 2, R - 5, B - 5, radius);
  }
  // Picture size.
  int imgW = 0, imgH = 0;
  const bool glyphValid = FaceGlyphValid(F.Glyph);
  const bool pictureValid = F.Picture && !F.Picture->Empty();
  if (glyphValid) {
    imgW = F.Glyph->Width();
    imgH = F.Glyph->Height();
  } else if (pictureValid) {
    imgW = F.Picture->Width();
    imgH = F.Picture->Height();
  } else if (F.Images && F.ImageIndex >= 0) {
    imgW = F.Images->Width();
    imgH = F.Images->Height();
  }
  if (imgW > 0) imgW += F.Spacing;
  Size = vcl::TPoint{imgW, imgH};
  const bool hasCaption = !F.Caption.empty() || !F.WideCaption.empty();
  int px = 0, py = 0;
  if (hasCaption) {
    Canvas->Font()->SetName(F.Font->Name());
    const bool gdip = F.AntiAlias != controls::aaNone && IsGDIPlusFont(Canvas);
    TGPFloatRect layout = F.MeasureOnly ? controls::MakeGPRectF(L, T, 4096, 4096) : controls::MakeGPRectF(L, T, TW, TH);
    auto family = FaceFamily(F.Font->Name());
    controls::TGPFont font(family.get(), static_cast<float>(F.Font->Size()), FaceStyleBits(F.Font, false),
                           vcl::UnitPoint);
    controls::TGPStringFormat format(F.WordWrap ? 0 : vcl::StringFormatFlagsNoWrap, 0);
    controls::TGPSolidBrush brush(F.Enabled ? OpaqueARGB(F.Font->Color()) : OpaqueARGB(kFaceGrey));
    format.SetAlignment(F.Layout == controls::blGlyphLeftAdjusted    ? vcl::StringAlignmentNear
                        : F.Layout == controls::blGlyphRightAdjusted ? vcl::StringAlignmentFar
                                                                     : vcl::StringAlignmentCenter);
    format.SetLineAlignment(F.Layout == controls::blGlyphTopAdjusted      ? vcl::StringAlignmentNear
                            : F.Layout == controls::blGlyphBottomAdjusted ? vcl::StringAlignmentFar
                                                                          : vcl::StringAlignmentCenter);
    format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
    format.SetTrimming(F.Trimming);
    FaceTextHint(g, F.AntiAlias);
    const rtl::WideString wide = F.Caption.empty() ? F.WideCaption : rtl::Utf8ToWide(F.Caption);
    TGPFloatRect m;
    if (gdip) {
      g.MeasureString(wide, static_cast<int32_t>(wide.size()), &font, layout, &format, m);
    } else {
      Canvas->Font()->Assign(F.Font);
      TRect r{FaceRound(layout.X), FaceRound(layout.Y), FaceRound(layout.X) + 2, FaceRound(layout.Y)};
      const int got = Canvas->DrawText(F.Caption, r, vcl::DT_CALCRECT | vcl::DT_SINGLELINE | vcl::DT_VCENTER);
      m = controls::MakeGPRectF(r.Left, r.Top, r.Right - r.Left, got - r.Top);
      if (F.Layout == controls::blGlyphLeft) m.X = (TW + r.Left - r.Right - imgW) / 2;
      if (F.Layout == controls::blGlyphTop) m.Y = (TH + r.Top - got - imgH - 2) / 2;
    }
    Size = vcl::TPoint{FaceRound(m.Width) + imgW + F.Spacing,
                       std::max(FaceRound(m.Height) + F.Spacing, imgH + F.Spacing)};
    if (!F.MeasureOnly) {
      if (!F.WordWrap) layout = controls::MakeGPRectF(L, T, TW, TH);
      switch (F.Layout) {
        case controls::blGlyphLeft:
          layout.X = gdip ? L + imgW + 2 : m.X + imgW;
          layout.Width = TW - imgW - 2;
          px = std::max(2, gdip ? FaceRound(m.X - imgW / 2) : FaceRound(m.X));
          py = T + std::max(0, (TH - imgH) / 2);
          break;
        case controls::blGlyphTop:
          layout.Y = T + imgH;
          layout.Height = TH - imgH - 2;
          px = L + std::max(0, (TW - imgW) / 2);
          py = FaceRound(layout.Y) - imgH + std::max(0, FaceRound(layout.Height - m.Height) / 2) - (gdip ? 0 : 4);
          py = std::max(2, py);
          break;
        case controls::blGlyphRight:
        case controls::blGlyphRightAdjusted:
          layout.X = 2;
          layout.Width = TW - imgW - 4;
          if (F.Layout == controls::blGlyphRightAdjusted) {
            px = TW - imgW - 2;
          } else {
            px = FaceRound(m.Width) + 4 + std::max(0, FaceRound(layout.Width - m.Width) / 2);
            if (px > TW - imgW) px = TW - imgW - 2;
          }
          py = T + std::max(0, (TH - imgH) / 2);
          break;
        case controls::blGlyphBottom:
          layout.Y = 2;
          layout.Height = TH - imgH - 2;
          px = L + std::max(0, (TW - imgW) / 2);
          py = std::max(0, FaceRound(layout.Height - m.Height) / 2) + FaceRound(m.Height + 2) + (gdip ? 0 : 5);
          if (py > TH - imgH) py = TH - imgH - 2;
          break;
        case controls::blGlyphLeftAdjusted:
          layout.X = L + imgW + 2;
          layout.Width = TW - imgW - 2;
          px = std::max(2, FaceRound(m.X - imgW / 2));
          py = T + std::max(0, (TH - imgH) / 2);
          break;
        case controls::blGlyphTopAdjusted:
          layout.Y = T + imgH;
          layout.Height = TH - imgH - 2;
          px = L + std::max(0, (TW - imgW) / 2);
          py = std::max(2, T);
          break;
        case controls::blGlyphBottomAdjusted:
          layout.Y = 2;
          layout.Height = gdip ? TH - imgH - 2 : TH - imgH - 4;
          px = L + std::max(0, (TW - imgW) / 2);
          if (gdip) {
            py = TH / 2 + FaceRound(m.Height + 2);
            if (py > TH - imgH) py = TH - imgH - 2;
          } else {
            py = TH - imgH - 2;
          }
          break;
      }
      if (F.GlyphUnderText) {
        layout = controls::MakeGPRectF(L, T, R, B);
        if (F.ShowGlyph && glyphValid) DrawGraphicImage(&g, Canvas, vcl::TPoint{px, py}, F.Glyph, true);
      }
      if (F.ShowCaption) {
        if (gdip) {
          g.DrawString(wide, static_cast<int32_t>(wide.size()), &font, layout, &format, &brush);
        } else {
          Canvas->Brush()->SetStyle(vcl::bsClear);
          TRect r = FaceRounded(layout);
          rtl::Cardinal flags = vcl::DT_SINGLELINE | vcl::DT_VCENTER;
          switch (F.Layout) {
            case controls::blGlyphLeft: break;
            case controls::blGlyphLeftAdjusted: r.Left += 2; break;
            case controls::blGlyphRightAdjusted: flags |= vcl::DT_RIGHT; break;
            case controls::blGlyphTopAdjusted: flags = vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_TOP; break;
            case controls::blGlyphBottomAdjusted:
              flags = vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_BOTTOM;
              break;
            default: flags |= vcl::DT_CENTER; break;
          }
          Canvas->DrawText(F.Caption, r, flags);
        }
      }
    }
  }
  if (F.MeasureOnly) return;
  if (F.DropDownButton) {
    if (F.DropDownBottom)
      TH -= 8;
    else
      TW -= 8;
  }
  if (F.ShowGlyph && !F.GlyphUnderText) {
    auto centred = [&](int w, int h) {
      return vcl::TPoint{L + std::max(0, (TW - w) / 2), T + std::max(0, (TH - h) / 2)};
    };
    if (glyphValid)
      DrawGraphicImage(&g, Canvas, hasCaption ? vcl::TPoint{px, py} : centred(imgW, imgH), F.Glyph, true);
    else if (pictureValid)
      controls::glow::DrawPictureAt(&g, hasCaption ? vcl::TPoint{px, py} : centred(imgW, imgH), F.Picture);
    else if (F.ImageIndex != -1 && F.Images)
      DrawImageListImage(&g, Canvas,
                         hasCaption ? vcl::TPoint{px, py} : centred(F.Images->Width(), F.Images->Height()),
                         F.Images, F.ImageIndex, F.ImageEnabled);
  }
  Canvas->Brush()->SetStyle(vcl::bsClear);
  if (F.DropDownButton) {
    if (F.DropDownActive && F.DropDownSplit) FaceSplitLine(Canvas, dd, F.DropDownBottom, F.BorderColor);
    const vcl::TPoint p{dd.Left + (dd.Right - dd.Left - 5) / 2, dd.Top + (dd.Bottom - dd.Top - 3) / 2 + 1};
    DrawDropArrow(Canvas, p, F.Enabled ? vcl::clBlack : kFaceGrey, vcl::clWhite, F.ArrowDown);
  }
}

}  // namespace ribbon
