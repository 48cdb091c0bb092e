// The toolbar unit's GDI+ fills, glass caption text and pictures (see
// RorIvezEviDraw.h).
#include <memory>
#include <new>

#include "ribbon/LumTBXPVS.h"
#include "ribbon/RorIvezEviDraw.h"
#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

using controls::TGPGraphics;

// The graphics a routine draws on: the one given, else a smoothed one made
// on the canvas for this call.
class TGlassSurface {
 public:
  TGlassSurface(TGPGraphics* given, vcl::TCanvas* canvas) : g_(given) {
    if (!g_ && canvas) {
      own_ = std::make_unique<TGPGraphics>(canvas);
      own_->SetSmoothingMode(vcl::SmoothingModeAntiAlias);
      g_ = own_.get();
    }
  }
  TGPGraphics* get() const { return g_; }

 private:
  TGPGraphics* g_;
  std::unique_ptr<TGPGraphics> own_;
};

void GlassVerticalFill(vcl::TCanvas* dc, float x, float y, float w, float h, vcl::ARGB from, vcl::ARGB to) {
  TGPGraphics g(dc);
  controls::TGPLinearGradientBrush brush(controls::MakeGPRectF(x, y, w, h), from, to, vcl::LinearGradientModeVertical);
  g.FillRectangle(&brush, x, y, w, h);
}

// A copy of the picture's bytes in a block of their own, as the picture
// loader reads them; the block is the only allocation that can fail here.
std::unique_ptr<rtl::TMemoryStream> GlassPictureBlock(rtl::TMemoryStream& bytes) {
  auto block = std::make_unique<rtl::TMemoryStream>();
  try {
    block->SetSize(bytes.Size());
  } catch (const std::bad_alloc&) {
    throw rtl::Exception("Could not allocate memory for image");
  }
  bytes.SetPosition(0);
  block->SetPosition(0);
  block->Write(bytes.Memory(), static_cast<rtl::Integer>(bytes.Size()));
  block->SetPosition(0);
  return block;
}

void GlassDrawKeyed(TGPGraphics* g, controls::TGPImage* image, vcl::TPoint p, vcl::ARGB key) {
  const auto w = static_cast<float>(image->GetWidth()), h = static_cast<float>(image->GetHeight());
  controls::TGPImageAttributes attributes;
  attributes.SetColorKey(key, key);
  g->DrawImageRectRect(image, controls::MakeGPRectF(p.X, p.Y, w, h), 0, 0, w, h, vcl::UnitPixel, &attributes);
}

vcl::ARGB GlassOpaqueKey(vcl::ARGB pixel) {
  return controls::MakeOpaqueARGB(static_cast<uint8_t>(controls::ARGBRed(pixel)),
                                  static_cast<uint8_t>(controls::ARGBGreen(pixel)),
                                  static_cast<uint8_t>(controls::ARGBBlue(pixel)));
}

}  // namespace

bool IsGDIPlusFont(vcl::TCanvas* Canvas) {
  if (!Canvas) return false;
  // Every face this program draws with is an outline face rendered by the
  // program itself (vector bit set, device bit clear); what remains is
  // whether the face is one the screen lists or stands an installed face in
  // for.
  (void)Canvas->GetTextMetrics();
  const rtl::AnsiString name = Canvas->Font()->Name();
  if (vcl::SubstituteFontName(name) != name) return true;
  return vcl::Screen && vcl::Screen->Fonts()->IndexOf(name) >= 0;
}

bool PagerContainsFocus(vcl::TWinControl* Pager) {
  if (!Pager || !Pager->Enabled() || !Pager->HandleAllocated()) return false;
  vcl::TWinControl* focused = vcl::Screen ? vcl::Screen->ActiveControl() : nullptr;
  if (!focused) return false;
  const vcl::HWND pager = Pager->Handle();
  vcl::TWinControl* w = focused->Parent();
  for (int steps = 0; w && steps < 50; ++steps, w = w->Parent())
    if (w->HandleAllocated() && w->Handle() == pager) return true;
  return false;
}

void FillAlphaGradient(vcl::TCanvas* DC, const vcl::TRect& Rect, vcl::TColor Color) {
  GlassVerticalFill(DC, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top,
                    controls::AlphaColorToARGB(5, Color), controls::AlphaColorToARGB(130, Color));
}

void FillAlphaGradientFrame(vcl::TCanvas* DC, const vcl::TRect& Rect, vcl::TColor Color, vcl::TColor BorderColor) {
  const float w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top + 1;
  GlassVerticalFill(DC, Rect.Left, Rect.Top, w, h, controls::AlphaColorToARGB(150, Color),
                    controls::AlphaColorToARGB(200, Color));
  TGPGraphics g(DC);
  controls::TGPPen pen(controls::AlphaColorToARGB(255, BorderColor));
  g.DrawRectangle(&pen, Rect.Left, Rect.Top - 1, w, h);
}

void FillCaptionGlow(vcl::TCanvas* DC, const vcl::TRect& Rect) {
  GlassVerticalFill(DC, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top,
                    controls::MakeARGB(8, 255, 255, 100), controls::MakeARGB(128, 255, 255, 100));
}

void FillGlowHalf(vcl::TCanvas* Canvas, TGPGraphics* Graphics, const vcl::TRect& Rect, vcl::TColor ColorA,
                  vcl::TColor ColorB, int GradientType, bool Upper) {
  TGlassSurface surface(Graphics, Canvas);
  TGPGraphics* g = surface.get();
  if (!g) return;
  const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  const float left = Rect.Left, top = Rect.Top, right = Rect.Right, bottom = Rect.Bottom;
  const vcl::ARGB a = OpaqueARGB(ColorA), b = OpaqueARGB(ColorB);
  controls::TGPSolidBrush solid(Upper ? a : b);
  g->FillRectangle(&solid, left, top, right, bottom);
  controls::TGPGraphicsPath ellipse;
  ellipse.AddEllipse(left, Upper ? static_cast<float>(Rect.Top - h / 2 + 2) : top, right, bottom);
  std::unique_ptr<controls::TGPBrush> brush;
  if (GradientType == 0) {
    auto radial = std::make_unique<controls::TGPPathGradientBrush>(&ellipse);
    radial->SetCenterPointI(controls::MakeGPPoint(Rect.Left + w / 2, Upper ? Rect.Top : Rect.Bottom));
    radial->SetCenterColor(Upper ? b : a);
    vcl::ARGB surround = Upper ? a : b;
    int32_t count = 1;
    radial->SetSurroundColors(&surround, count);
    brush = std::move(radial);
  } else if (GradientType >= 1 && GradientType <= 3) {
    const vcl::LinearGradientMode mode = GradientType == 1   ? vcl::LinearGradientModeVertical
                                         : GradientType == 2 ? vcl::LinearGradientModeForwardDiagonal
                                                             : vcl::LinearGradientModeBackwardDiagonal;
    brush = std::make_unique<controls::TGPLinearGradientBrush>(controls::MakeGPRectF(left, top, w, h), a, b, mode);
  } else {
    return;
  }
  g->FillRectangle(brush.get(), left, top, right, bottom);
}

void FillGlowRect(TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color, vcl::TColor ColorTo,
                  const vcl::TRect& Rect, int) {
  FillGlowHalf(Canvas, Graphics, Rect, Color, ColorTo, 1, true);
}

void DrawQATFrame(vcl::TCanvas* DC, const vcl::TRect& Rect) {
  TGPGraphics g(DC);
  const float l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
  if (controls::GetGlobalWin7ScenicRibbon()) {
    controls::TGPPen wide(controls::AlphaColorToARGB(100, vcl::clWhite), 3);
    g.DrawLine(&wide, l + 22, t + 7, l + 22, t + 20);
    g.DrawLine(&wide, r - 3, t + 7, r - 3, t + 20);
    controls::TGPPen thin(controls::AlphaColorToARGB(150, 0x706A63), 1);
    g.DrawLine(&thin, l + 22, t + 7, l + 22, t + 18);
    g.DrawLine(&thin, r - 3, t + 7, r - 3, t + 18);
    return;
  }
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  controls::TGPPen pen(controls::MakeARGB(200, 128, 128, 128), 1.5f);
  const int midY = Rect.Top + (Rect.Bottom - Rect.Top) / 2;
  controls::TGPGraphicsPath path;
  path.AddLine(l, t, r - 10, t);
  const controls::TGPIntPoint right[] = {{Rect.Right - 15, Rect.Top - 4}, {Rect.Right, midY},
                                          {Rect.Right - 15, Rect.Bottom + 4}};
  path.AddCurve(right, 3, 1);
  path.AddLine(l + 12, b, r - 10, b);
  const controls::TGPIntPoint left[] = {{Rect.Left + 12, Rect.Bottom}, {Rect.Left + 10, midY - 2},
                                         {Rect.Left + 2, Rect.Top}};
  path.AddCurve(left, 3, 1);
  path.CloseFigure();
  g.DrawPath(&pen, &path);
}

void DrawGlowText(vcl::TCanvas* DC, const rtl::WideString& Text, int Length, const vcl::TRect& Rect,
                  vcl::HTHEME Theme, rtl::Cardinal Flags) {
  vcl::DTTOPTS options;
  options.dwSize = 64;
  options.dwFlags = vcl::DTT_TEXTCOLOR | vcl::DTT_GLOWSIZE | vcl::DTT_COMPOSITED;
  options.crText = 0;
  options.iGlowSize = 12;
  vcl::TRect r = Rect;
  // The normal edit-text element: part 1, state 1.
  ribbon::DrawThemeTextEx(Theme, DC, 1, 1, Text.c_str(), Length, Flags, &r, &options);
}

void DrawCompositedCaption(vcl::TWinControl* Control, vcl::TCanvas*, const rtl::AnsiString& Caption,
                           const vcl::TRect& Rect, const vcl::TRect&, int, bool ShowQATFrame,
                           const vcl::TRect& QATRect, vcl::TColor GlowColor) {
  const controls::TThemeLibraryEntries& ux = UxThemeEntries();
  if (!Control || !ux.OpenThemeData) return;
  const vcl::HTHEME theme = ux.OpenThemeData(Control->Handle(), u"CompositedWindow::Window");
  if (!theme) return;
  const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  std::unique_ptr<vcl::TCanvas> window = vcl::GetDC(Control->Handle());
  if (window && w > 0 && h > 0) {
    vcl::TBitmap memory;
    memory.SetPixelFormat(vcl::TPixelFormat::pf32bit);
    memory.SetSize(w, h);
    vcl::TCanvas* mdc = memory.Canvas();
    vcl::LOGFONT logFont;
    vcl::HFONT font = nullptr;
    if (ux.GetThemeSysFont && ux.GetThemeSysFont(theme, 801, &logFont) == vcl::S_OK) {
      font = vcl::CreateFontIndirect(logFont);
      vcl::AssignFontHandle(mdc->Font(), font);
    }
    if (GlowColor != vcl::clNone) FillCaptionGlow(mdc, Rect);
    if (ShowQATFrame) DrawQATFrame(mdc, QATRect);
    const rtl::WideString text = rtl::Utf8ToWide(Caption);
    DrawGlowText(mdc, text, static_cast<int>(text.size()), vcl::TRect{4, Rect.Top + 6, w, h}, theme, 0x8044);
    vcl::BitBlt(window.get(), Rect.Left, Rect.Top, w, h, mdc, 0, 0, vcl::SRCCOPY);
    if (font) vcl::DeleteObject(font);
  }
  if (ux.CloseThemeData) ux.CloseThemeData(theme);
}

void DrawImageListImage(TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TImageList* Images,
                        int ImageIndex, bool Enabled) {
  if (!Images || ImageIndex < 0) return;
  TGlassSurface surface(Graphics, Canvas);
  TGPGraphics* g = surface.get();
  if (!g) return;
  vcl::TBitmap picture(Images->Width(), Images->Height());
  Images->Draw(picture.Canvas(), 0, 0, ImageIndex, Enabled);
  rtl::TMemoryStream bytes;
  picture.SaveToStream(bytes);
  std::unique_ptr<rtl::TMemoryStream> block = GlassPictureBlock(bytes);
  controls::TGPBitmap image(block.get());
  if (image.GetHeight() == 0) return;
  vcl::ARGB key = 0;
  image.GetPixel(0, static_cast<int32_t>(image.GetHeight()) - 1, key);
  GlassDrawKeyed(g, &image, P, GlassOpaqueKey(key));
}

void DrawGraphicImage(TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TGraphic* Graphic,
                      bool Transparent) {
  if (!Graphic) return;
  TGlassSurface surface(Graphics, Canvas);
  TGPGraphics* g = surface.get();
  if (!g) return;
  rtl::TMemoryStream bytes;
  Graphic->SaveToStream(bytes);
  std::unique_ptr<rtl::TMemoryStream> block = GlassPictureBlock(bytes);
  controls::TGPBitmap image(block.get());
  if (image.GetWidth() == 0) return;
  if (Transparent && image.GetRawFormat() != controls::kRawFormatPNG) {
    vcl::ARGB key = 0;
    image.GetPixel(0, 0, key);
    GlassDrawKeyed(g, &image, P, GlassOpaqueKey(key));
    return;
  }
  g->DrawImage(&image, P.X, P.Y);
}

}  // namespace ribbon
