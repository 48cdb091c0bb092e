// The menu drawing kit in pixels: gradients row by row, clipped pieces,
// split lines, boxes, background pictures, and its helpers.
#include <gtest/gtest.h>

#include <memory>

#include "controls/LumMenuUtil.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

using namespace controls;
using vcl::TBitmap;
using vcl::TColor;

namespace {

std::unique_ptr<TBitmap> Sheet(int w, int h, TColor fill = vcl::clWhite) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

TColor KitAt(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

// A background as the menu styler's is: a picture, its place, a fill.
class TestBackground : public IMenuBackground {
 public:
  vcl::TPicture picture;
  TBackgroundPosition position = TBackgroundPosition::bpCenter;
  Integer offsetX = 0, offsetY = 0, marginX = 0, marginY = 0;
  TColor color = vcl::clWhite, colorTo = vcl::clNone;
  TGradientDirection direction = gdVertical;
  std::unique_ptr<TBitmap> work;

  vcl::TPicture* Image() override { return &picture; }
  TBackgroundPosition Position() const override { return position; }
  Integer OffsetX() const override { return offsetX; }
  Integer OffsetY() const override { return offsetY; }
  Integer MarginX() const override { return marginX; }
  Integer MarginY() const override { return marginY; }
  TColor Color() const override { return color; }
  TColor ColorTo() const override { return colorTo; }
  TGradientDirection GradientDirection() const override { return direction; }
  TBitmap* WorkBitmap() override {
    if (!work) work = std::make_unique<TBitmap>();
    return work.get();
  }
};

// A 4 x 3 bitmap picture with a colour per pixel.
std::unique_ptr<TBitmap> Pattern() {
  auto p = std::make_unique<TBitmap>(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) p->Canvas()->SetPixels(x, y, vcl::RGB(x * 60, y * 100, 7));
  return p;
}

}  // namespace

TEST(MenuKit, AFourRowGradientStepsAQuarterPerRow) {
  auto b = Sheet(10, 4);
  FillMenuGradient(b->Canvas(), vcl::Rect(0, 0, 10, 4), gdVertical, vcl::RGB(0, 0, 0), vcl::RGB(200, 100, 40));
  for (int row = 0; row < 4; ++row)
    for (int x : {0, 9}) EXPECT_EQ(KitAt(*b, x, row), vcl::RGB(50 * row, 25 * row, 10 * row)) << row;
  // Falling channels truncate towards zero: 200 - 200 * 1 / 3 = 134.
  auto h = Sheet(3, 2);
  FillMenuGradient(h->Canvas(), vcl::Rect(0, 0, 3, 2), gdHorizontal, vcl::RGB(200, 0, 0), vcl::RGB(0, 0, 0));
  EXPECT_EQ(KitAt(*h, 0, 1), vcl::RGB(200, 0, 0));
  EXPECT_EQ(KitAt(*h, 1, 1), vcl::RGB(134, 0, 0));
  EXPECT_EQ(KitAt(*h, 2, 0), vcl::RGB(67, 0, 0));
  // System colours are resolved first.
  auto s = Sheet(1, 2);
  FillMenuGradient(s->Canvas(), vcl::Rect(0, 0, 1, 2), gdVertical, vcl::clBtnFace, vcl::clBlack);
  EXPECT_EQ(KitAt(*s, 0, 0), vcl::GetSysColor(15));
}

TEST(MenuKit, AGradientToNoneFillsSolidAndAnEmptyOneDrawsNothing) {
  auto b = Sheet(6, 6);
  FillMenuGradient(b->Canvas(), vcl::Rect(1, 1, 5, 5), gdHorizontal, vcl::clRed, vcl::clNone);
  EXPECT_EQ(KitAt(*b, 1, 1), vcl::clRed);
  EXPECT_EQ(KitAt(*b, 4, 4), vcl::clRed);
  EXPECT_EQ(KitAt(*b, 5, 5), vcl::clWhite);
  FillMenuGradient(b->Canvas(), vcl::Rect(0, 3, 6, 3), gdVertical, vcl::clBlue, vcl::clLime);
  EXPECT_EQ(KitAt(*b, 0, 3), vcl::clWhite);
}

TEST(MenuKit, ClippedHalvesMatchOneGradient) {
  const vcl::TRect r = vcl::Rect(0, 0, 8, 100);
  TColor from = vcl::RGB(250, 10, 0), to = vcl::RGB(3, 200, 90);
  auto whole = Sheet(8, 100);
  FillMenuGradient(whole->Canvas(), r, gdVertical, from, to);
  auto pieces = Sheet(8, 100);
  FillMenuGradientClipped(pieces->Canvas(), r, gdVertical, from, to, vcl::Rect(-5, 0, 20, 37));
  FillMenuGradientClipped(pieces->Canvas(), r, gdVertical, from, to, vcl::Rect(0, 37, 8, 200));
  for (int y = 0; y < 100; ++y) {
    TColor a = KitAt(*whole, 3, y), b = KitAt(*pieces, 3, y);
    for (int ch = 0; ch < 3; ++ch)
      EXPECT_LE(std::abs(static_cast<int>((a >> (8 * ch)) & 0xFF) - static_cast<int>((b >> (8 * ch)) & 0xFF)), 2)
          << "row " << y;
  }
  EXPECT_EQ(KitAt(*pieces, 3, 0), from);
  EXPECT_EQ(KitAt(*pieces, 3, 37), KitAt(*whole, 3, 37)) << "the second piece starts where the whole is";
  // A clip that misses the rectangle draws nothing.
  auto none = Sheet(8, 10);
  FillMenuGradientClipped(none->Canvas(), vcl::Rect(0, 0, 8, 10), gdVertical, from, to, vcl::Rect(0, 10, 8, 20));
  EXPECT_EQ(KitAt(*none, 3, 9), vcl::clWhite);
}

TEST(MenuKit, SplitLinesFadeByTheirType) {
  const TColor c = vcl::clBlack, t = vcl::clWhite;
  // Horizontal gtBoth: the fades are g div 2 long.
  auto h = Sheet(100, 1, vcl::clRed);
  DrawMenuSplitLine(h->Canvas(), vcl::Rect(0, 0, 100, 1), 0, 20, gtBoth, true, c, t);
  EXPECT_EQ(KitAt(*h, 0, 0), t);
  EXPECT_NE(KitAt(*h, 9, 0), c);
  EXPECT_EQ(KitAt(*h, 10, 0), c);
  EXPECT_EQ(KitAt(*h, 89, 0), c);
  EXPECT_EQ(KitAt(*h, 90, 0), c) << "the last fade starts with the colour";
  EXPECT_NE(KitAt(*h, 91, 0), c);
  // Vertical gtBoth: g doubles, so the fades are g long.
  auto v = Sheet(1, 100, vcl::clRed);
  DrawMenuSplitLine(v->Canvas(), vcl::Rect(0, 0, 1, 100), 0, 20, gtBoth, false, c, t);
  EXPECT_EQ(KitAt(*v, 0, 0), t);
  EXPECT_NE(KitAt(*v, 0, 19), c);
  EXPECT_EQ(KitAt(*v, 0, 20), c);
  EXPECT_EQ(KitAt(*v, 0, 79), c);
  EXPECT_NE(KitAt(*v, 0, 81), c);
  // Width 0: solid colour, whatever the type asks.
  auto solid = Sheet(40, 1, vcl::clRed);
  DrawMenuSplitLine(solid->Canvas(), vcl::Rect(0, 0, 40, 1), 5, 0, gtBoth, true, c, t);
  EXPECT_EQ(KitAt(*solid, 4, 0), vcl::clRed) << "the margin";
  for (int x = 5; x < 35; ++x) EXPECT_EQ(KitAt(*solid, x, 0), c) << x;
  EXPECT_EQ(KitAt(*solid, 35, 0), vcl::clRed);
  // gtLeft: the left end fades in from the colour; gtRight: the right end.
  auto left = Sheet(30, 1, vcl::clRed);
  DrawMenuSplitLine(left->Canvas(), vcl::Rect(0, 0, 30, 1), 0, 10, gtLeft, true, c, t);
  EXPECT_EQ(KitAt(*left, 0, 0), c);
  EXPECT_EQ(KitAt(*left, 10, 0), t);
  auto right = Sheet(30, 1, vcl::clRed);
  DrawMenuSplitLine(right->Canvas(), vcl::Rect(0, 0, 30, 1), 0, 10, gtRight, true, c, t);
  EXPECT_EQ(KitAt(*right, 19, 0), t);
  EXPECT_EQ(KitAt(*right, 20, 0), t);
  EXPECT_NE(KitAt(*right, 29, 0), t);
  // A fade as long as the line: only the fades.
  auto all = Sheet(10, 1, vcl::clRed);
  DrawMenuSplitLine(all->Canvas(), vcl::Rect(0, 0, 10, 1), 0, 50, gtLeft, true, c, t);
  EXPECT_EQ(KitAt(*all, 0, 0), c);
  EXPECT_NE(KitAt(*all, 9, 0), vcl::clRed);
}

TEST(MenuKit, BoxesAndMirrorBoxes) {
  auto b = Sheet(20, 20);
  DrawMenuBox(b->Canvas(), vcl::Rect(0, 0, 20, 20), true, vcl::clBlue, gdVertical, vcl::clRed, vcl::clNone);
  EXPECT_EQ(KitAt(*b, 0, 0), vcl::clBlue);
  EXPECT_EQ(KitAt(*b, 19, 19), vcl::clBlue);
  EXPECT_EQ(KitAt(*b, 10, 10), vcl::clRed);
  auto frameOnly = Sheet(20, 20);
  DrawMenuBox(frameOnly->Canvas(), vcl::Rect(0, 0, 20, 20), true, vcl::clBlue, gdVertical, vcl::clNone, vcl::clRed);
  EXPECT_EQ(KitAt(*frameOnly, 10, 10), vcl::clWhite) << "no fill colour, no fill";
  EXPECT_EQ(KitAt(*frameOnly, 0, 10), vcl::clBlue);

  auto m = Sheet(10, 21);
  DrawMenuMirrorBox(m->Canvas(), vcl::Rect(0, 0, 10, 21), true, vcl::clNone, gdVertical, vcl::clRed, vcl::clNone,
                    vcl::clLime, vcl::clNone);
  EXPECT_EQ(KitAt(*m, 5, 9), vcl::clRed);
  EXPECT_EQ(KitAt(*m, 5, 10), vcl::clLime) << "the lower half starts at Top + height div 2";
  EXPECT_EQ(KitAt(*m, 5, 20), vcl::clLime);
  auto plain = Sheet(10, 21);
  DrawMenuMirrorBox(plain->Canvas(), vcl::Rect(0, 0, 10, 21), true, vcl::clBlack, gdVertical, vcl::clRed,
                    vcl::clNone, vcl::clNone, vcl::clLime);
  EXPECT_EQ(KitAt(*plain, 5, 15), vcl::clRed) << "without a mirror colour one gradient";
  EXPECT_EQ(KitAt(*plain, 0, 15), vcl::clBlack);
}

TEST(MenuKit, PicturePositionsInTheRectangle) {
  TestBackground bg;
  bg.picture.SetGraphic(std::make_unique<TBitmap>(16, 10).get());
  bg.offsetX = -2;
  bg.offsetY = 3;
  const vcl::TRect r = vcl::Rect(0, 0, 100, 50);
  using P = TBackgroundPosition;
  struct Case {
    P position;
    vcl::TPoint expected;
  } cases[] = {
      {P::bpTopLeft, {-2, 3}},     {P::bpTopRight, {82, 3}},      {P::bpBottomLeft, {-2, 43}},
      {P::bpBottomRight, {82, 43}}, {P::bpTopCenter, {40, 3}},     {P::bpBottomCenter, {40, 43}},
      {P::bpCenter, {40, 23}},      {P::bpTiled, {0, 0}},          {P::bpStretched, {0, 0}},
      {P::bpXY, {0, 0}},
  };
  for (const Case& c : cases) {
    bg.position = c.position;
    EXPECT_EQ(GetBackgroundImagePosition(&bg, r), c.expected) << static_cast<int>(c.position);
  }
  bg.position = P::bpTopRight;
  EXPECT_EQ(GetBackgroundImagePosition(&bg, vcl::Rect(5, 6, 105, 56)), (vcl::TPoint{87, 9}));
  bg.picture.Assign(nullptr);
  EXPECT_EQ(GetBackgroundImagePosition(&bg, vcl::Rect(5, 6, 105, 56)), (vcl::TPoint{5, 6})) << "no picture";
}

TEST(MenuKit, TiledAndStretchedBackgrounds) {
  auto pattern = Pattern();
  TestBackground bg;
  bg.picture.SetGraphic(pattern.get());
  bg.marginX = 2;
  bg.marginY = 1;
  bg.color = vcl::clRed;
  bg.position = TBackgroundPosition::bpTiled;
  auto b = Sheet(24, 12, vcl::clBlue);
  DrawMenuBackground(b->Canvas(), vcl::Rect(0, 0, 24, 12), &bg, true);
  EXPECT_EQ(bg.work->Width(), 20);
  EXPECT_EQ(bg.work->Height(), 10);
  EXPECT_EQ(KitAt(*b, 1, 5), vcl::clBlue) << "the margin";
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(KitAt(*b, x + 2, y + 1), pattern->Canvas()->Pixels(x % 4, y % 3)) << x << "," << y;

  bg.position = TBackgroundPosition::bpStretched;
  auto s = Sheet(24, 12, vcl::clBlue);
  DrawMenuBackground(s->Canvas(), vcl::Rect(0, 0, 24, 12), &bg, true);
  // 4 x 3 stretched to 20 x 10: each picture pixel covers 5 columns.
  EXPECT_EQ(KitAt(*s, 2, 1), pattern->Canvas()->Pixels(0, 0));
  EXPECT_EQ(KitAt(*s, 21, 10), pattern->Canvas()->Pixels(3, 2));
  EXPECT_EQ(KitAt(*s, 12, 1), pattern->Canvas()->Pixels(2, 0));

  // A centred picture on the gradient fill.
  bg.position = TBackgroundPosition::bpCenter;
  auto c = Sheet(24, 12, vcl::clBlue);
  DrawMenuBackground(c->Canvas(), vcl::Rect(0, 0, 24, 12), &bg, true);
  EXPECT_EQ(KitAt(*c, 2, 1), vcl::clRed) << "the fill around the picture";
  EXPECT_EQ(KitAt(*c, 2 + 8, 1 + 3), pattern->Canvas()->Pixels(0, 0));
}

TEST(MenuKit, MarginsThatLeaveNoRoomDrawNothing) {
  TestBackground bg;
  bg.color = vcl::clRed;
  bg.marginX = 6;
  auto b = Sheet(12, 8, vcl::clBlue);
  DrawMenuBackground(b->Canvas(), vcl::Rect(0, 0, 12, 8), &bg, true);
  EXPECT_EQ(KitAt(*b, 6, 4), vcl::clBlue);
  EXPECT_TRUE(!bg.work || bg.work->Width() >= 0);
  bg.marginX = 0;
  bg.marginY = 9;
  DrawMenuBackground(b->Canvas(), vcl::Rect(0, 0, 12, 8), &bg, true);
  EXPECT_EQ(KitAt(*b, 6, 4), vcl::clBlue);
  if (bg.work) {
    EXPECT_GE(bg.work->Width(), 0);
    EXPECT_GE(bg.work->Height(), 0);
  }
}

TEST(MenuKit, HelpersAndTheRotatedFont) {
  vcl::TRect r = vcl::Rect(0, 0, 10, 10);
  ResizeRect(r, 4, 4);
  EXPECT_EQ(r, vcl::Rect(3, 3, 7, 7));
  vcl::TRect n = vcl::Rect(-7, -3, 0, 0);
  ResizeRect(n, 2, 2);  // (-7 + 0 + 2) div 2 = -2, truncated towards zero
  EXPECT_EQ(n, vcl::Rect(-4, -2, -2, 0));
  EXPECT_EQ(RectWidth(vcl::Rect(3, 4, 10, 20)), 7);
  EXPECT_EQ(RectHeight(vcl::Rect(3, 4, 10, 20)), 16);
  TBitmap bmp(5, 6);
  EXPECT_EQ(BitmapRect(&bmp), vcl::Rect(0, 0, 5, 6));
  EXPECT_EQ(BitmapRect(nullptr), vcl::TRect{});
  TColorParts p = ColorParts(vcl::clHighlight);
  EXPECT_EQ(vcl::RGB(p.R, p.G, p.B), vcl::GetSysColor(13));
  EXPECT_EQ(MakeColor(1, 2, 3, 4), 0x04030201u);
  EXPECT_EQ(EInvalidPropertyIndex(7).Message(), "Invalid property index 7.");

  vcl::TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-14);
  font.SetStyle({vcl::fsBold, vcl::fsItalic});
  font.SetPitch(vcl::fpFixed);
  vcl::HFONT h = CreateRotatedFont(&font, 90);
  vcl::LOGFONT lf;
  ASSERT_TRUE(vcl::GetObject(h, &lf));
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfOrientation, 0);
  EXPECT_EQ(lf.lfHeight, -14);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfCharSet, 1);
  EXPECT_EQ(lf.lfPitchAndFamily, 1);
  EXPECT_EQ(lf.lfFaceName, "Tahoma");
  vcl::TFont turned;
  vcl::AssignFontHandle(&turned, h);
  EXPECT_EQ(turned.Orientation(), 900);
  EXPECT_TRUE(turned.Style().Contains(vcl::fsBold));
  EXPECT_TRUE(vcl::DeleteObject(h));
  font.SetPitch(vcl::fpVariable);
  font.SetStyle({});
  h = CreateRotatedFont(&font, -45);
  vcl::GetObject(h, &lf);
  EXPECT_EQ(lf.lfEscapement, -450);
  EXPECT_EQ(lf.lfWeight, 400);
  EXPECT_EQ(lf.lfPitchAndFamily, 2);
  vcl::DeleteObject(h);
}

TEST(MenuKit, TheLayeredWindowProbeFollowsUser32) {
  EXPECT_TRUE(LayeredWindowsAvailable()) << "probed at start-up";
  vcl::SetExportHidden("user32", "SetLayeredWindowAttributes", true);
  StartUpMenuUtil();
  EXPECT_FALSE(LayeredWindowsAvailable());
  vcl::SetExportHidden("user32", "SetLayeredWindowAttributes", false);
  StartUpMenuUtil();
  EXPECT_TRUE(LayeredWindowsAvailable());
  EXPECT_EQ(vcl::ModuleLoadCount("user32"), 0) << "the library is released again";
}
