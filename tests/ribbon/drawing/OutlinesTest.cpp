// The two-band vista background and the GDI+ outlines, on real pixels.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ribbon/RorIvezEviDraw.h"
#include "vcl/Pictures.h"

namespace {

using vcl::RGB;
using vcl::TColor;

constexpr TColor kOutlineBack = RGB(255, 0, 255);

std::unique_ptr<vcl::TBitmap> OutlineRigBitmap(int w, int h) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(kOutlineBack);
  b->Canvas()->FillRect(vcl::TRect{0, 0, w, h});
  return b;
}

TEST(RibbonOutlines, VistaGradientBandsSplitAt22) {
  auto b = OutlineRigBitmap(60, 60);
  const TColor top = RGB(250, 250, 250), mirror = RGB(200, 180, 160);
  ribbon::DrawVistaGradient(b->Canvas(), vcl::TRect{0, 0, 50, 50}, 22, top, RGB(210, 210, 210), mirror,
                            RGB(100, 100, 100), vcl::clNone, 3);
  vcl::TCanvas* c = b->Canvas();
  EXPECT_EQ(c->Pixels(10, 0), top);     // first band of the upper part
  EXPECT_EQ(c->Pixels(10, 22), mirror); // the lower part starts at the split
  EXPECT_NE(c->Pixels(10, 21), mirror);
  EXPECT_EQ(c->Pixels(0, 0), top);      // no border: the corner is painted
  EXPECT_EQ(c->Pixels(50, 10), kOutlineBack);
  EXPECT_EQ(c->Pixels(10, 50), kOutlineBack);
}

TEST(RibbonOutlines, VistaGradientSquareAndRoundedBorders) {
  const TColor border = RGB(0, 0, 128);
  {
    auto b = OutlineRigBitmap(60, 60);
    ribbon::DrawVistaGradient(b->Canvas(), vcl::TRect{0, 0, 50, 40}, 22, vcl::clWhite, vcl::clWhite, vcl::clWhite,
                              vcl::clWhite, border, 0);
    vcl::TCanvas* c = b->Canvas();
    // Square frame one pixel inside Right and Bottom: the edges in the
    // border colour, the corners touched by the smoothed joins.
    for (auto [x, y] : {std::pair{25, 0}, {25, 39}, {0, 20}, {49, 20}, {1, 0}, {48, 39}})
      EXPECT_EQ(c->Pixels(x, y), border) << x << "," << y;
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 39}, {49, 39}})
      EXPECT_NE(c->Pixels(x, y), vcl::clWhite) << x << "," << y;
    EXPECT_EQ(c->Pixels(25, 20), vcl::clWhite);
    EXPECT_EQ(c->Pixels(50, 20), kOutlineBack);
  }
  {
    auto b = OutlineRigBitmap(60, 60);
    ribbon::DrawVistaGradient(b->Canvas(), vcl::TRect{0, 0, 50, 40}, 22, vcl::clWhite, vcl::clWhite, vcl::clWhite,
                              vcl::clWhite, border, 3);
    vcl::TCanvas* c = b->Canvas();
    // Straight edges in the border colour; the rounded corner pixel is not.
    EXPECT_EQ(c->Pixels(25, 0), border);
    EXPECT_EQ(c->Pixels(0, 20), border);
    EXPECT_EQ(c->Pixels(49, 20), border);
    EXPECT_EQ(c->Pixels(25, 39), border);
    EXPECT_NE(c->Pixels(0, 0), border);
    EXPECT_NE(c->Pixels(49, 39), border);
  }
}

TEST(RibbonOutlines, SmallDropArrowAndRectOutline) {
  auto b = OutlineRigBitmap(20, 20);
  ribbon::DrawSmallDropArrow(nullptr, b->Canvas(), RGB(0, 0, 0), vcl::TPoint{5, 5});
  vcl::TCanvas* c = b->Canvas();
  // Inner pixels of the strokes in the colour; the smoothed ends blend.
  for (int x = 6; x <= 9; ++x) EXPECT_EQ(c->Pixels(x, 5), RGB(0, 0, 0)) << x;
  EXPECT_EQ(c->Pixels(7, 6), RGB(0, 0, 0));
  EXPECT_NE(c->Pixels(5, 5), kOutlineBack);
  EXPECT_EQ(c->Pixels(5, 8), kOutlineBack);
  EXPECT_EQ(c->Pixels(7, 9), kOutlineBack);
  // Neither graphics nor canvas: nothing, no fault.
  ribbon::DrawSmallDropArrow(nullptr, nullptr, RGB(0, 0, 0), vcl::TPoint{5, 5});
  ribbon::DrawRectOutline(nullptr, nullptr, RGB(0, 0, 0), vcl::TRect{0, 0, 5, 5});

  auto o = OutlineRigBitmap(20, 20);
  ribbon::DrawRectOutline(nullptr, o->Canvas(), RGB(0, 128, 0), vcl::TRect{2, 2, 12, 10});
  vcl::TCanvas* oc = o->Canvas();
  for (auto [x, y] : {std::pair{7, 2}, {7, 10}, {2, 6}, {12, 6}})
    EXPECT_EQ(oc->Pixels(x, y), RGB(0, 128, 0)) << x << "," << y;
  for (auto [x, y] : {std::pair{2, 2}, {12, 2}, {2, 10}, {12, 10}}) EXPECT_NE(oc->Pixels(x, y), kOutlineBack);
  EXPECT_EQ(oc->Pixels(7, 6), kOutlineBack);
}

}  // namespace

namespace {

TEST(RibbonOutlines, SegmentFramesOfGroupedButtons) {
  const TColor frame = RGB(100, 120, 140);
  const TColor shaded = ribbon::DimColor(frame, -5), light = ribbon::DimColor(vcl::clWhite, -10);
  struct Case {
    const char* what;
    std::function<void(controls::TGPGraphics*)> draw;
    TColor leftEdge, rightEdge;
  };
  const Case cases[] = {
      {"left", [&](controls::TGPGraphics* g) { ribbon::DrawLeftButtonFrame(g, frame, 4, 4, 20, 16, 3); }, frame,
       shaded},
      {"middle shaded",
       [&](controls::TGPGraphics* g) { ribbon::DrawMiddleButtonFrame(g, frame, 4, 4, 20, 16, 3, true); }, shaded,
       shaded},
      {"middle light",
       [&](controls::TGPGraphics* g) { ribbon::DrawMiddleButtonFrame(g, frame, 4, 4, 20, 16, 3, false); }, light,
       shaded},
      {"right light",
       [&](controls::TGPGraphics* g) { ribbon::DrawRightButtonFrame(g, frame, 4, 4, 20, 16, 3, false); }, light,
       frame},
  };
  for (const Case& c : cases) {
    auto b = OutlineRigBitmap(40, 30);
    {
      controls::TGPGraphics g(b->Canvas());
      g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
      c.draw(&g);
    }
    vcl::TCanvas* cv = b->Canvas();
    EXPECT_EQ(cv->Pixels(14, 4), frame) << c.what << " top";
    EXPECT_EQ(cv->Pixels(14, 20), frame) << c.what << " bottom";
    EXPECT_EQ(cv->Pixels(4, 12), c.leftEdge) << c.what << " left";
    EXPECT_EQ(cv->Pixels(24, 12), c.rightEdge) << c.what << " right";
    EXPECT_EQ(cv->Pixels(14, 12), kOutlineBack) << c.what << " inside";
  }
}

}  // namespace

namespace {

TEST(RibbonOutlines, ArcAndLinePaths) {
  auto b = OutlineRigBitmap(40, 40);
  {
    controls::TGPGraphics g(b->Canvas());
    controls::TGPPen pen(ribbon::OpaqueARGB(RGB(0, 0, 0)));
    ribbon::DrawPathLine(&g, &pen, 2, 5, 10, 0);
    // The lower half of a circle of radius 10 centred at (20, 20), closed
    // by its chord.
    ribbon::DrawArcPath(&g, &pen, 10, 10, 20, 20, 0, 180, true);
  }
  vcl::TCanvas* c = b->Canvas();
  for (int x = 3; x <= 11; ++x) EXPECT_EQ(c->Pixels(x, 5), RGB(0, 0, 0)) << x;
  EXPECT_EQ(c->Pixels(20, 30), RGB(0, 0, 0));  // bottom of the arc
  EXPECT_EQ(c->Pixels(20, 20), RGB(0, 0, 0));  // on the chord
  EXPECT_EQ(c->Pixels(20, 10), kOutlineBack);  // the upper half is not drawn
  EXPECT_EQ(c->Pixels(20, 25), kOutlineBack);
}

}  // namespace
