// controls_drawing_gallery.png in the build folder, for a person to look
// at: GDI+ shapes, gradients and text, the menu kit's pieces and pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumMenuUtil.h"
#include "vcl/Pictures.h"

using namespace controls;

namespace {

// A rounded rectangle the way the glow button builds its border.
void RoundRectPath(TGPGraphicsPath& p, REAL x, REAL y, REAL w, REAL h, REAL r) {
  REAL d = 2 * r;
  p.AddLine(x + r, y, x + w - d, y);
  p.AddArc(x + w - d, y, d, d, 270, 90);
  p.AddLine(x + w, y + r, x + w, y + h - d);
  p.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  p.AddLine(x + w - d, y + h, x + r, y + h);
  p.AddArc(x, y + h - d, d, d, 90, 90);
  p.AddLine(x, y + h - d, x, y + r);
  p.AddArc(x, y, d, d, 180, 90);
  p.CloseFigure();
}

void GlowButton(TGPGraphics& g, REAL x, REAL y, REAL w, REAL h, bool radial, const rtl::WideString& caption) {
  TGPLinearGradientBrush upper(MakeGPRectF(x, y, w, h / 2), ColorToOpaqueARGB(vcl::clWhite),
                               ColorToOpaqueARGB(vcl::RGB(0xDD, 0xE8, 0xF5)), vcl::LinearGradientModeVertical);
  g.FillRectangle(&upper, x, y, w, h / 2);
  if (radial) {
    TGPRegion inside(MakeGPRectF(x, y, w, h));
    g.SetClip(&inside, vcl::CombineModeReplace);
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(x, y + h / 2, w, h);
    TGPPathGradientBrush glow(&ellipse);
    glow.SetCenterPointI(MakeGPPoint(static_cast<int32_t>(x + w / 2), static_cast<int32_t>(y + h)));
    glow.SetCenterColor(ColorToOpaqueARGB(vcl::RGB(0xFF, 0xE0, 0x80)));
    ARGB around[] = {ColorToOpaqueARGB(vcl::RGB(0xB9, 0xD1, 0xEA))};
    int32_t n = 1;
    glow.SetSurroundColors(around, n);
    TGPSolidBrush base(around[0]);
    g.FillRectangle(&base, x, y + h / 2, w, h / 2);
    g.FillPath(&glow, &ellipse);
    TGPRegion everywhere(MakeGPRectF(-1000, -1000, 4000, 4000));
    g.SetClip(&everywhere, vcl::CombineModeReplace);
  } else {
    TGPLinearGradientBrush lower(MakeGPRectF(x, y + h / 2, w, h / 2), ColorToOpaqueARGB(vcl::RGB(0xC5, 0xD8, 0xEE)),
                                 ColorToOpaqueARGB(vcl::RGB(0xE3, 0xEC, 0xF7)), vcl::LinearGradientModeVertical);
    g.FillRectangle(&lower, x, y + h / 2, w, h / 2);
  }
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  TGPGraphicsPath border;
  RoundRectPath(border, x, y, w - 1, h - 1, 3);
  TGPPen pen(ColorToOpaqueARGB(vcl::RGB(0x7F, 0x9D, 0xB9)));
  g.DrawPath(&pen, &border);
  TGPFontFamily family(u"Segoe UI");
  TGPFont font(&family, 9, 0, vcl::UnitPoint);
  TGPStringFormat format(vcl::StringFormatFlagsNoWrap);
  format.SetAlignment(vcl::StringAlignmentCenter);
  format.SetLineAlignment(vcl::StringAlignmentCenter);
  format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  TGPSolidBrush text(ColorToOpaqueARGB(vcl::clBlack));
  g.SetTextRenderingHint(vcl::TextRenderingHintAntiAlias);
  g.DrawString(caption, -1, &font, MakeGPRectF(x, y, w, h), &format, &text);
  g.SetSmoothingMode(vcl::SmoothingModeNone);
}

}  // namespace

TEST(Gallery, ControlsDrawing) {
  vcl::TBitmap sheet(460, 330);
  vcl::TCanvas* c = sheet.Canvas();
  c->Brush()->SetColor(vcl::RGB(0xF4, 0xF4, 0xF4));
  c->FillRect(vcl::Rect(0, 0, 460, 330));
  {
    TGPGraphics g(c);
    GlowButton(g, 10, 10, 100, 41, false, u"&Vertical");
    GlowButton(g, 120, 10, 100, 41, true, u"&Radial glow");
    // Diagonal gradients and a dotted rounded frame.
    TGPLinearGradientBrush fwd(MakeGPRectF(230, 10, 100, 20), MakeOpaqueARGB(255, 0, 0), MakeOpaqueARGB(0, 0, 255),
                               vcl::LinearGradientModeForwardDiagonal);
    g.FillRectangle(&fwd, 230, 10, 100, 20);
    TGPLinearGradientBrush back(MakeGPRectF(230, 32, 100, 20), MakeOpaqueARGB(255, 255, 0),
                                MakeOpaqueARGB(0, 128, 0), vcl::LinearGradientModeBackwardDiagonal);
    g.FillRectangle(&back, 230, 32, 100, 20);
    g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
    TGPGraphicsPath dotted;
    RoundRectPath(dotted, 340, 10, 100, 40, 3);
    TGPPen dots(MakeOpaqueARGB(128, 128, 128));
    dots.SetDashStyle(vcl::DashStyleDot);
    g.DrawPath(&dots, &dotted);
    // A pie and ellipses.
    TGPGraphicsPath pie;
    pie.AddLine(40, 100, 70, 100);
    pie.AddArc(10, 70, 60, 60, 0, 270);
    pie.CloseFigure();
    TGPSolidBrush teal(MakeARGB(200, 0, 128, 128));
    g.FillPath(&teal, &pie);
    TGPPen thick(MakeOpaqueARGB(200, 60, 0), 3);
    g.DrawEllipse(&thick, 90, 70, 80, 50);
    TGPIntPoint wave[] = {{190, 120}, {220, 70}, {250, 120}, {280, 70}, {310, 120}};
    TGPGraphicsPath curve;
    curve.AddCurve(wave, 5, 0.5f);
    TGPPen blue(MakeOpaqueARGB(0, 0, 200), 2);
    g.DrawPath(&blue, &curve);
  }
  // Menu kit.
  FillMenuGradient(c, vcl::Rect(10, 140, 110, 170), gdVertical, vcl::RGB(0xFF, 0xF9, 0xF9), vcl::RGB(0xBB, 0xA0, 0xA1));
  FillMenuGradient(c, vcl::Rect(120, 140, 220, 170), gdHorizontal, vcl::clBtnFace, vcl::RGB(0x31, 0x6A, 0xC5));
  DrawMenuMirrorBox(c, vcl::Rect(230, 140, 330, 170), true, vcl::RGB(0x6F, 0x4B, 0x4B), gdVertical,
                    vcl::RGB(0xFF, 0xF4, 0xD0), vcl::RGB(0xFF, 0xD0, 0x80), vcl::RGB(0xFF, 0xB0, 0x40),
                    vcl::RGB(0xFF, 0xE0, 0x90));
  for (int i = 0; i < 3; ++i)
    DrawMenuSplitLine(c, vcl::Rect(340, 145 + 8 * i, 450, 146 + 8 * i), 0, 40, static_cast<TGradientType>(i), true,
                      vcl::clGray, vcl::RGB(0xF4, 0xF4, 0xF4));
  // Pictures: a PNG with alpha stretched, a bitmap glyph at its own size.
  TGDIPPicture png, bmp;
  png.LoadFromFile(std::string(TOLVANE_TEST_DATA) + "/controls/alpha.png");
  bmp.LoadFromFile(std::string(TOLVANE_TEST_DATA) + "/controls/glyph.bmp");
  c->StretchDraw(vcl::Rect(10, 190, 90, 230), &png);
  c->StretchDraw(vcl::Rect(100, 190, 160, 230), &bmp);
  {
    TGPGraphics g(c);
    TGPFontFamily family(u"Tahoma");
    TGPSolidBrush black(MakeOpaqueARGB(0, 0, 0));
    const vcl::TextRenderingHint hints[] = {vcl::TextRenderingHintSingleBitPerPixelGridFit,
                                            vcl::TextRenderingHintAntiAlias};
    for (int i = 0; i < 2; ++i) {
      TGPFont font(&family, 10, i ? vcl::FontStyleBold : 0, vcl::UnitPoint);
      g.SetTextRenderingHint(hints[i]);
      g.DrawString(u"GDI+ text, wrapped in its box when it is long", -1, &font, MakeGPRectF(180, 190 + 60 * i, 130, 50),
                   nullptr, &black);
    }
  }
  std::string file = std::string(TOLVANE_BUILD_DIR) + "/controls_drawing_gallery.png";
  EXPECT_TRUE(sheet.Pixels().save(QString::fromStdString(file)));
}
