// Bitmap blending: the per-channel percent blend with its truncated
// products, tinted copies, and constant-opacity drawing through the
// alpha-blend module, beside QPainter's composition.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "htmledit/view/psBlending.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace {

using namespace htmlview;

std::unique_ptr<vcl::TBitmap> Plain24(Integer w, Integer h, vcl::TColor color) {
  auto b = Create24BitBitmap(nullptr, w, h);
  b->Canvas()->Brush()->SetColor(color);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

// The blue, green, red bytes of a 24-bit pixel.
std::array<int, 3> Bytes(vcl::TBitmap& b, Integer x, Integer y) {
  const auto* row = static_cast<const uint8_t*>(b.ScanLine(y));
  return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
}

TEST(Blending, WorkingBitmapsAre24Bit) {
  vcl::TBitmap source(7, 5);
  auto same = Create24BitBitmap(&source, -1, -1);
  ASSERT_TRUE(same);
  EXPECT_EQ(same->PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(same->Width(), 7);
  EXPECT_EQ(same->Height(), 5);
  auto sized = Create24BitBitmap(&source, 3, -1);
  EXPECT_EQ(sized->Width(), 3);
  EXPECT_EQ(sized->Height(), 5);
  auto drawn = GraphicToBitmap(Plain24(4, 4, vcl::clRed).get(), 8, 2);
  EXPECT_EQ(drawn->Width(), 8);
  EXPECT_EQ(drawn->Canvas()->Pixels(7, 1), vcl::clRed);
}

TEST(Blending, PercentBlendTable) {
  struct Case {
    int base, overlay, percent, expect;
  };
  // Each product is divided by 100 on its own, the fraction dropped.
  const Case cases[] = {
      {255, 0, 60, 102},   // 40 * 255 / 100 = 102, 60 * 0 / 100 = 0
      {1, 1, 50, 0},       // both products drop to 0
      {200, 100, 0, 200},  // a copy of the base
      {200, 100, 100, 100},  // a copy of the overlay
      {255, 255, 33, 254},  // 170 + 84
      {10, 250, 25, 69},    // 7 + 62
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.base << " " << k.overlay << " " << k.percent);
    auto base = Plain24(3, 2, vcl::RGB(k.base, k.base, k.base));
    auto overlay = Plain24(4, 3, vcl::RGB(k.overlay, k.overlay, k.overlay));
    auto result = BlendBitmaps(base.get(), overlay.get(), k.percent);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Width(), 3);
    EXPECT_EQ(result->Height(), 2);
    EXPECT_EQ(result->PixelFormat(), vcl::pf24bit);
    for (int v : Bytes(*result, 2, 1)) EXPECT_EQ(v, k.expect);
  }
}

TEST(Blending, ChannelsBlendApart) {
  auto base = Plain24(1, 1, vcl::RGB(255, 0, 100));
  auto overlay = Plain24(1, 1, vcl::RGB(0, 255, 200));
  auto result = BlendBitmaps(base.get(), overlay.get(), 60);
  // blue, green, red
  EXPECT_EQ(Bytes(*result, 0, 0), (std::array<int, 3>{40 + 120, 153, 102}));
}

TEST(Blending, TintedCopyOfWhiteWithBlackAt60PercentIsGrey102) {
  vcl::TBitmap white(5, 4);
  auto tinted = TintedCopy(&white, vcl::clBlack, 60);
  ASSERT_TRUE(tinted);
  EXPECT_EQ(tinted->Width(), 5);
  EXPECT_EQ(tinted->Canvas()->Pixels(4, 3), vcl::RGB(102, 102, 102));
}

// QPainter's constant-opacity composition of the same pictures.
QImage PainterBlend(const QImage& target, const QImage& source, QRect where, int alpha) {
  QImage out = target.convertToFormat(QImage::Format_RGB32);
  QPainter p(&out);
  p.setOpacity(alpha / 255.0);
  p.drawImage(where, source);
  return out;
}

TEST(Blending, AlphaBlendGraphicFollowsPainterOpacity) {
  // A picture of stripes and a target of another pattern.
  vcl::TBitmap picture(16, 12);
  for (Integer y = 0; y < 12; ++y)
    for (Integer x = 0; x < 16; ++x) picture.Canvas()->SetPixels(x, y, vcl::RGB(x * 16, 255 - y * 20, (x * y) % 256));
  for (int alpha : {0, 128, 255}) {
    SCOPED_TRACE(alpha);
    vcl::TBitmap target(40, 30);
    for (Integer y = 0; y < 30; ++y)
      for (Integer x = 0; x < 40; ++x) target.Canvas()->SetPixels(x, y, vcl::RGB(200, x * 6, y * 8));
    const QImage before = target.Pixels().copy();
    AlphaBlendGraphic(&picture, target.Canvas(), 5, 4, 16, 12, static_cast<Byte>(alpha));
    const QImage expect = PainterBlend(before, picture.Pixels(), QRect(5, 4, 16, 12), alpha);
    int worst = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const QRgb a = target.Pixels().pixel(x, y), b = expect.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
      }
    EXPECT_LE(worst, 1);
    if (alpha == 0) {
      EXPECT_EQ(target.Pixels(), before);
    }
  }
}

TEST(Blending, ScalesToTheTargetRectangle) {
  auto red = Plain24(2, 2, vcl::clRed);
  vcl::TBitmap target(10, 10);
  AlphaBlendGraphic(red.get(), target.Canvas(), 2, 2, 6, 4, 255);
  EXPECT_EQ(target.Canvas()->Pixels(7, 5), vcl::clRed);
  EXPECT_EQ(target.Canvas()->Pixels(8, 5), vcl::clWhite);
  EXPECT_EQ(target.Canvas()->Pixels(7, 6), vcl::clWhite);
}

TEST(Blending, WithoutTheBlendFunctionNothingIsDrawn) {
  FinalizeBlending();
  vcl::SetExportHidden("msimg32", "AlphaBlend", true);
  auto red = Plain24(4, 4, vcl::clRed);
  vcl::TBitmap target(10, 10);
  AlphaBlendGraphic(red.get(), target.Canvas(), 0, 0, 4, 4, 255);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), vcl::clWhite);
  vcl::SetExportHidden("msimg32", "AlphaBlend", false);
  FinalizeBlending();
  AlphaBlendGraphic(red.get(), target.Canvas(), 0, 0, 4, 4, 255);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), vcl::clRed);
  // Loaded once and held for the process until the unit is finalized.
  EXPECT_EQ(vcl::ModuleLoadCount("msimg32"), 1);
  FinalizeBlending();
  EXPECT_EQ(vcl::ModuleLoadCount("msimg32"), 0);
}

}  // namespace
