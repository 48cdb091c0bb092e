// The toolbar unit's colour arithmetic and banded gradients, checked on
// the resolved values and on the pixels a bitmap canvas receives.
#include <gtest/gtest.h>

#include <memory>

#include "ribbon/RorIvezEviDraw.h"
#include "vcl/Pictures.h"

namespace {

using vcl::RGB;
using vcl::TColor;

std::unique_ptr<vcl::TBitmap> DrawingRigBitmap(int w, int h, TColor fill) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::TRect{0, 0, w, h});
  return b;
}

TEST(RibbonDrawing, RibbonMetricsFollowTheScenicLook) {
  controls::SetGlobalWin7ScenicRibbon(false);
  EXPECT_EQ(ribbon::RibbonPageMargin(), 4);
  EXPECT_EQ(ribbon::RibbonCornerRadius(), 3);
  controls::SetGlobalWin7ScenicRibbon(true);
  EXPECT_EQ(ribbon::RibbonPageMargin(), 0);
  EXPECT_EQ(ribbon::RibbonCornerRadius(), 0);
  controls::SetGlobalWin7ScenicRibbon(false);
}

TEST(RibbonDrawing, ColourArithmeticTable) {
  const TColor face = vcl::ColorToRGB(vcl::clBtnFace);
  struct Case {
    const char* what;
    TColor got, want;
  };
  const Case cases[] = {
      {"Mix 100 keeps a system colour", ribbon::MixColors(vcl::clBtnFace, vcl::clWhite, 100), vcl::clBtnFace},
      {"Mix 150 likewise", ribbon::MixColors(vcl::clBtnFace, vcl::clWhite, 150), vcl::clBtnFace},
      {"Mix 0 answers Color2", ribbon::MixColors(vcl::clWhite, vcl::clBtnShadow, 0), vcl::clBtnShadow},
      {"Mix 50 rounds halves to even", ribbon::MixColors(RGB(255, 255, 255), RGB(0, 0, 0), 50), RGB(128, 128, 128)},
      {"Mix 50 small channels", ribbon::MixColors(RGB(1, 3, 5), RGB(0, 0, 0), 50), RGB(0, 2, 2)},
      {"Mix 50 resolves system colours", ribbon::MixColors(vcl::clBtnFace, vcl::clBtnFace, 50), face},
      {"Mix 25", ribbon::MixColors(RGB(200, 0, 100), RGB(0, 200, 100), 25), RGB(50, 150, 100)},
      {"Shade 10", ribbon::ShadeColor(RGB(200, 100, 50), 10), RGB(180, 90, 45)},
      {"Shade -10 lightens", ribbon::ShadeColor(RGB(100, 50, 0), -10), RGB(110, 55, 0)},
      {"Shade -20 stops at white", ribbon::ShadeColor(RGB(238, 214, 195), -20), RGB(255, 255, 234)},
      {"Dim white -10", ribbon::DimColor(vcl::clWhite, -10), RGB(230, 230, 230)},
      {"Dim black -5 stays black", ribbon::DimColor(vcl::clBlack, -5), RGB(0, 0, 0)},
      {"Dim +20 lifts zero channels", ribbon::DimColor(RGB(100, 0, 50), 20), RGB(100, 20, 50)},
      {"Dim -5", ribbon::DimColor(RGB(200, 100, 10), -5), RGB(190, 95, 10)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(ribbon::OpaqueARGB(RGB(1, 2, 3)), 0xFF010203u);
  EXPECT_EQ(ribbon::OpaqueARGB(vcl::clBtnFace),
            0xFF000000u | (vcl::GetRValue(face) << 16) | (vcl::GetGValue(face) << 8) | vcl::GetBValue(face));
}

TEST(RibbonDrawing, CenterRect) {
  vcl::TRect r{10, 20, 30, 40};
  ribbon::CenterRect(r, 6, 4);
  EXPECT_EQ(r.Left, 17);
  EXPECT_EQ(r.Top, 28);
  EXPECT_EQ(r.Right, 23);
  EXPECT_EQ(r.Bottom, 32);
  vcl::TRect odd{0, 0, 15, 15};
  ribbon::CenterRect(odd, 8, 8);
  EXPECT_EQ(odd.Left, 3);
  EXPECT_EQ(odd.Right, 11);
}

TEST(RibbonDrawing, StepGradientBandsInPixels) {
  const TColor magenta = RGB(255, 0, 255);
  struct Case {
    const char* what;
    TColor from, to;
    int steps;
    bool horizontal;
    // (position along the gradient, expected colour)
    std::vector<std::pair<int, TColor>> probes;
  };
  const std::vector<Case> cases = {
      // 40 wide, shortened to 39: bands of 9.75 at 0, 10, 20 (19.5 to even) and 29, each 11 wide.
      {"horizontal 4 steps",
       RGB(0, 0, 0),
       RGB(100, 0, 200),
       4,
       true,
       {{0, RGB(0, 0, 0)}, {9, RGB(0, 0, 0)}, {10, RGB(25, 0, 50)}, {19, RGB(25, 0, 50)}, {20, RGB(50, 0, 100)},
        {28, RGB(50, 0, 100)}, {29, RGB(75, 0, 150)}, {39, RGB(75, 0, 150)}}},
      {"vertical 4 steps",
       RGB(100, 0, 200),
       RGB(0, 0, 0),
       4,
       false,
       {{0, RGB(100, 0, 200)}, {10, RGB(75, 0, 150)}, {20, RGB(50, 0, 100)}, {29, RGB(25, 0, 50)},
        {39, RGB(25, 0, 50)}}},
      {"steps 0 is one band of FromColor",
       RGB(10, 20, 30),
       RGB(200, 200, 200),
       0,
       true,
       {{0, RGB(10, 20, 30)}, {20, RGB(10, 20, 30)}, {39, RGB(10, 20, 30)}}},
      {"equal colours", RGB(7, 8, 9), RGB(7, 8, 9), 16, false, {{0, RGB(7, 8, 9)}, {17, RGB(7, 8, 9)}, {39, RGB(7, 8, 9)}}},
  };
  for (const Case& c : cases) {
    auto bmp = DrawingRigBitmap(50, 50, magenta);
    ribbon::DrawStepGradient(bmp->Canvas(), c.from, c.to, c.steps, vcl::TRect{0, 0, 40, 40}, c.horizontal);
    for (auto [pos, want] : c.probes) {
      const int x = c.horizontal ? pos : 5, y = c.horizontal ? 5 : pos;
      EXPECT_EQ(bmp->Canvas()->Pixels(x, y), want) << c.what << " at " << pos;
    }
    // Nothing past the rectangle.
    EXPECT_EQ(bmp->Canvas()->Pixels(40, 5), magenta) << c.what;
    EXPECT_EQ(bmp->Canvas()->Pixels(5, 40), magenta) << c.what;
  }
}

}  // namespace
