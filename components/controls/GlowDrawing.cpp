// The glow button's drawing routines.
#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumGlowButton.h"
#include "rtl/Convert.h"
#include "rtl/Streams.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace controls {

int GlowFadeInterval = 30;

namespace glow {

using vcl::TColor;

namespace {

// Half to even in extended precision, as the colour arithmetic is defined;
// nearbyint follows the default rounding mode, which is to nearest even.
int64_t RoundEven(long double Value) { return static_cast<int64_t>(std::nearbyintl(Value)); }

uint8_t ShadeChannel(uint8_t Channel, int Percent) {
  if (Channel == 0) return static_cast<uint8_t>(Percent >= 0 ? Percent : 0);
  const long double scale = std::min(100 + Percent, 100);
  return static_cast<uint8_t>(RoundEven(Channel * scale / 100.0L));
}

ARGB Opaque(TColor Color) { return ColorToOpaqueARGB(Color); }

// The bottom-left pixel's colour as an opaque key, the transparent colour
// of a bitmap glyph.
void DrawKeyed(TGPGraphics* Graphics, TGPImage* Image, vcl::TPoint P, ARGB Key) {
  const auto w = static_cast<REAL>(Image->GetWidth());
  const auto h = static_cast<REAL>(Image->GetHeight());
  TGPImageAttributes attributes;
  attributes.SetColorKey(Key, Key);
  Graphics->DrawImageRectRect(Image, MakeGPRectF(static_cast<REAL>(P.X), static_cast<REAL>(P.Y), w, h), 0, 0, w, h,
                              vcl::UnitPixel, &attributes);
}

}  // namespace

TColor ShadeColorChannels(TColor Color, int PercentRed, int PercentGreen, int PercentBlue) {
  const TColor rgb = vcl::ColorToRGB(Color);
  return vcl::RGB(ShadeChannel(vcl::GetRValue(rgb), PercentRed), ShadeChannel(vcl::GetGValue(rgb), PercentGreen),
                  ShadeChannel(vcl::GetBValue(rgb), PercentBlue));
}

TColor ShadeColor(TColor Color, int Percent) { return ShadeColorChannels(Color, Percent, Percent, Percent); }

TColor BlendColor(TColor ColorA, TColor ColorB, int Percent) {
  if (Percent >= 100) return ColorA;
  if (Percent <= 0) return ColorB;
  const TColor a = vcl::ColorToRGB(ColorA);
  const TColor b = vcl::ColorToRGB(ColorB);
  const long double share = Percent / 100.0L;
  auto mix = [&](uint8_t ca, uint8_t cb) {
    return static_cast<uint8_t>(std::min<int64_t>(RoundEven(share * ca + (1 - share) * cb), 255));
  };
  return vcl::RGB(mix(vcl::GetRValue(a), vcl::GetRValue(b)), mix(vcl::GetGValue(a), vcl::GetGValue(b)),
                  mix(vcl::GetBValue(a), vcl::GetBValue(b)));
}

void DrawGradient(vcl::TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const vcl::TRect& Rect,
                  bool Horizontal) {
  if (Steps == 0) Steps = 1;
  const TColor from = vcl::ColorToRGB(FromColor);
  const TColor to = vcl::ColorToRGB(ToColor);
  const int fr = vcl::GetRValue(from), fg = vcl::GetGValue(from), fb = vcl::GetBValue(from);
  const double incR = static_cast<double>(vcl::GetRValue(to) - fr) / Steps;
  const double incG = static_cast<double>(vcl::GetGValue(to) - fg) / Steps;
  const double incB = static_cast<double>(vcl::GetBValue(to) - fb) / Steps;
  const double band = static_cast<double>(Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top) / Steps;
  for (int i = 0; i < Steps; ++i) {
    const TColor color = vcl::RGB(static_cast<uint8_t>(fr + rtl::Round(i * incR)),
                                  static_cast<uint8_t>(fg + rtl::Round(i * incG)),
                                  static_cast<uint8_t>(fb + rtl::Round(i * incB)));
    Canvas->Pen()->SetColor(color);
    Canvas->Brush()->SetColor(color);
    const auto offset = static_cast<int>(rtl::Round(i * band));
    const auto extent = static_cast<int>(rtl::Round(band)) + 1;
    if (Horizontal)
      Canvas->Rectangle(Rect.Left + offset, Rect.Top, Rect.Left + offset + extent, Rect.Bottom);
    else
      Canvas->Rectangle(Rect.Left, Rect.Top + offset, Rect.Right, Rect.Top + offset + extent);
  }
}

void DrawGlowHalf(TGPGraphics* Graphics, const vcl::TRect& Rect, TColor ColorA, TColor ColorB, TGDIPGradient Gradient,
                  bool Upper) {
  const int w = Rect.Right - Rect.Left;
  const int h = Rect.Bottom - Rect.Top;
  const int w2 = w / 2;
  const int h2 = h / 2;
  const auto left = static_cast<REAL>(Rect.Left);
  const auto top = static_cast<REAL>(Rect.Top);
  const auto right = static_cast<REAL>(Rect.Right);
  const auto bottom = static_cast<REAL>(Rect.Bottom);

  TGPSolidBrush solid(Opaque(Upper ? ColorA : ColorB));
  Graphics->FillRectangle(&solid, left, top, right, bottom);

  TGPGraphicsPath ellipse;
  if (Upper)
    ellipse.AddEllipse(left, static_cast<REAL>(Rect.Top - h2 + 2), right, bottom);
  else
    ellipse.AddEllipse(left, top, right, bottom);

  std::unique_ptr<TGPBrush> brush;
  if (Gradient == ggRadial) {
    auto radial = std::make_unique<TGPPathGradientBrush>(&ellipse);
    radial->SetCenterPointI(MakeGPPoint(Rect.Left + w2, Upper ? Rect.Top : Rect.Bottom));
    radial->SetCenterColor(Opaque(Upper ? ColorB : ColorA));
    ARGB surround = Opaque(Upper ? ColorA : ColorB);
    int32_t count = 1;
    radial->SetSurroundColors(&surround, count);
    brush = std::move(radial);
  } else {
    const vcl::LinearGradientMode mode = Gradient == ggVertical            ? vcl::LinearGradientModeVertical
                                         : Gradient == ggDiagonalForward ? vcl::LinearGradientModeForwardDiagonal
                                                                          : vcl::LinearGradientModeBackwardDiagonal;
    brush = std::make_unique<TGPLinearGradientBrush>(
        MakeGPRectF(left, top, static_cast<REAL>(w), static_cast<REAL>(h)), Opaque(ColorA), Opaque(ColorB), mode);
  }
  Graphics->FillRectangle(brush.get(), left, top, right, bottom);
}

namespace {

// The closed rounded outline both the plain and the dotted border draw.
void AddRoundRect(TGPGraphicsPath& Path, REAL X, REAL Y, REAL W, REAL H, REAL r) {
  const REAL d = 2 * r;
  Path.AddLine(X + r, Y, X + W - d, Y);
  Path.AddArc(X + W - d, Y, d, d, 270, 90);
  Path.AddLine(X + W, Y + r, X + W, Y + H - d);
  Path.AddArc(X + W - d, Y + H - d, d, d, 0, 90);
  Path.AddLine(X + W - d, Y + H, X + r, Y + H);
  Path.AddArc(X, Y + H - d, d, d, 90, 90);
  Path.AddLine(X, Y + H - d, X, Y + r);
  Path.AddArc(X, Y, d, d, 180, 90);
  Path.CloseFigure();
}

// The separator a grouped button draws on its right.
void RightSeparator(TGPGraphics* Graphics, TColor Color, REAL X, REAL Y, REAL W, REAL H) {
  TGPPen pen(Opaque(ShadeColor(Color, -5)));
  if (GetGlobalWin7ScenicRibbon())
    Graphics->DrawLine(&pen, X + W, Y + 2, X + W, Y + H - 2);
  else
    Graphics->DrawLine(&pen, X + W, Y, X + W, Y + H);
}

// The left edge of a middle or right button: darker while highlighted, a
// short light line otherwise.
void LeftEdge(TGPGraphics* Graphics, TColor Color, REAL X, REAL Y, REAL H, bool Highlighted) {
  if (Highlighted) {
    TGPPen pen(Opaque(ShadeColor(Color, -5)));
    Graphics->DrawLine(&pen, X, Y, X, Y + H);
  } else {
    TGPPen pen(Opaque(ShadeColor(vcl::clWhite, -10)));
    Graphics->DrawLine(&pen, X, Y + 2, X, Y + H - 2);
  }
}

}  // namespace

void DrawRoundRectBorder(TGPGraphics* Graphics, TColor Color, int X, int Y, int Width, int Height, int Radius) {
  TGPPen pen(Opaque(Color));
  if (Radius == 0) {
    Graphics->DrawRectangle(&pen, static_cast<REAL>(X), static_cast<REAL>(Y), static_cast<REAL>(Width),
                            static_cast<REAL>(Height));
    return;
  }
  TGPGraphicsPath path;
  AddRoundRect(path, static_cast<REAL>(X), static_cast<REAL>(Y), static_cast<REAL>(Width), static_cast<REAL>(Height),
               static_cast<REAL>(Radius));
  Graphics->DrawPath(&pen, &path);
}

void DrawDottedRoundRect(TGPGraphics* Graphics, TColor Color, int X, int Y, int Width, int Height, int Radius) {
  TGPPen pen(Opaque(Color));
  pen.SetDashStyle(vcl::DashStyleDot);
  TGPGraphicsPath path;
  AddRoundRect(path, static_cast<REAL>(X), static_cast<REAL>(Y), static_cast<REAL>(Width), static_cast<REAL>(Height),
               static_cast<REAL>(Radius));
  Graphics->DrawPath(&pen, &path);
}

void DrawLeftButtonBorder(TGPGraphics* Graphics, TColor Color, int X, int Y, int Width, int Height, int Radius) {
  const auto x = static_cast<REAL>(X), y = static_cast<REAL>(Y);
  const auto w = static_cast<REAL>(Width), h = static_cast<REAL>(Height);
  const auto r = static_cast<REAL>(Radius), d = 2 * r;
  TGPPen pen(Opaque(Color));
  TGPGraphicsPath path;
  path.AddLine(x + w, y + h, x + r, y + h);
  path.AddArc(x, y + h - d, d, d, 90, 90);
  path.AddLine(x, y + h - d, x, y + r);
  path.AddArc(x, y, d, d, 180, 90);
  path.AddLine(x + r, y, x + w, y);
  Graphics->DrawPath(&pen, &path);
  RightSeparator(Graphics, Color, x, y, w, h);
}

void DrawMiddleButtonBorder(TGPGraphics* Graphics, TColor Color, int X, int Y, int Width, int Height, int,
                            bool Highlighted) {
  const auto x = static_cast<REAL>(X), y = static_cast<REAL>(Y);
  const auto w = static_cast<REAL>(Width), h = static_cast<REAL>(Height);
  TGPPen pen(Opaque(Color));
  Graphics->DrawLine(&pen, x - 1, y + h, x + w, y + h);
  Graphics->DrawLine(&pen, x - 1, y, x + w, y);
  RightSeparator(Graphics, Color, x, y, w, h);
  LeftEdge(Graphics, Color, x, y, h, Highlighted);
}

void DrawRightButtonBorder(TGPGraphics* Graphics, TColor Color, int X, int Y, int Width, int Height, int Radius,
                           bool Highlighted) {
  const auto x = static_cast<REAL>(X), y = static_cast<REAL>(Y);
  const auto w = static_cast<REAL>(Width), h = static_cast<REAL>(Height);
  const auto r = static_cast<REAL>(Radius), d = 2 * r;
  TGPPen pen(Opaque(Color));
  TGPGraphicsPath path;
  path.AddLine(x, y, x + w - d, y);
  path.AddArc(x + w - d, y, d, d, 270, 90);
  path.AddLine(x + w, y + r, x + w, y + h - d);
  path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  path.AddLine(x + w, y + h, x, y + h);
  Graphics->DrawPath(&pen, &path);
  LeftEdge(Graphics, Color, x, y, h, Highlighted);
}

void DrawDropArrow(vcl::TCanvas* Canvas, vcl::TPoint P, TColor Color, bool Down, TColor ShadowColor) {
  const int x = P.X, y = P.Y;
  Canvas->Pen()->SetColor(Color);
  // LineTo leaves out its end point, so each line runs one past its last
  // pixel.
  if (Down) {
    Canvas->MoveTo(x, y);
    Canvas->LineTo(x + 5, y);
    Canvas->MoveTo(x + 1, y + 1);
    Canvas->LineTo(x + 4, y + 1);
    Canvas->SetPixels(x + 2, y + 2, Color);
    for (auto [sx, sy] : {std::pair{x, y + 1}, {x + 4, y + 1}, {x + 1, y + 2}, {x + 3, y + 2}, {x + 2, y + 3}})
      Canvas->SetPixels(sx, sy, ShadowColor);
  } else {
    Canvas->MoveTo(x, y);
    Canvas->LineTo(x, y + 5);
    Canvas->MoveTo(x + 1, y + 1);
    Canvas->LineTo(x + 1, y + 4);
    Canvas->SetPixels(x + 2, y + 2, Color);
    for (auto [sx, sy] : {std::pair{x + 2, y + 1}, {x + 1, y + 4}, {x + 3, y + 2}})
      Canvas->SetPixels(sx, sy, ShadowColor);
  }
}

void DrawPictureStretched(TGPGraphics* Graphics, vcl::TCanvas* Canvas, const vcl::TRect& Rect, TGDIPPicture* Picture) {
  if (!Picture || Picture->Empty()) return;
  TGPImage* image = Picture->GdipImage();
  if (!image) return;
  if (image->GetRawFormat() == kRawFormatBMP) {
    if (vcl::TBitmap* bitmap = Picture->FileBitmap()) Canvas->StretchDraw(Rect, bitmap);
    return;
  }
  if (Graphics) Graphics->DrawImageRect(image, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

void DrawPictureAt(TGPGraphics* Graphics, vcl::TPoint P, TGDIPPicture* Picture) {
  if (!Graphics || !Picture || Picture->Empty()) return;
  TGPImage* image = Picture->GdipImage();
  if (!image) return;
  if (image->GetRawFormat() == kRawFormatBMP) {
    vcl::TBitmap* bitmap = Picture->FileBitmap();
    if (!bitmap || bitmap->Height() <= 0) return;
    const TColor key = bitmap->Canvas()->Pixels(0, bitmap->Height() - 1);
    DrawKeyed(Graphics, image, P, ColorToOpaqueARGB(key));
    return;
  }
  Graphics->DrawImageRect(image, P.X, P.Y, static_cast<int32_t>(image->GetWidth()),
                          static_cast<int32_t>(image->GetHeight()));
}

void DrawImageListGlyph(TGPGraphics* Graphics, vcl::TPoint P, vcl::TImageList* Images, int Index, bool Enabled) {
  if (!Images || Index < 0 || !Graphics) return;
  vcl::TBitmap glyph(Images->Width(), Images->Height());
  Images->Draw(glyph.Canvas(), 0, 0, Index, Enabled);
  rtl::TMemoryStream bytes;
  glyph.SaveToStream(bytes);
  bytes.SetPosition(0);
  TGPBitmap image(&bytes);
  if (image.GetHeight() == 0) return;
  ARGB key = 0;
  image.GetPixel(0, static_cast<int32_t>(image.GetHeight()) - 1, key);
  DrawKeyed(Graphics, &image, P, key | 0xFF000000u);
}

}  // namespace glow
}  // namespace controls
