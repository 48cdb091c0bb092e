// The key-tip bubble: where it goes round a button, how its text sizes it,
// its window bits, and its painted gradient, text and outline.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <memory>

#include "controls/LumGlowButton.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace controls;
using vcl::TColor;
using vcl::TPoint;

TEST(KeyTipPlacement, EveryPositionRoundAButton) {
  // A 100 x 41 button at screen (200, 300), a 20 x 16 bubble.
  const TPoint P{200, 300};
  struct Case {
    TShortCutHintPos pos;
    TPoint want;
  } cases[] = {
      {shpLeft, {206, 312}},          {shpTop, {240, 292}},           {shpRight, {290, 312}},
      {shpBottom, {240, 333}},        {shpCenter, {240, 312}},        {shpAuto, {240, 292}},
      {shpTopLeft, {206, 292}},       {shpTopRight, {281, 292}},      {shpAboveTop, {240, 284}},
      {shpAboveTopLeft, {206, 284}},  {shpAboveTopRight, {281, 284}}, {shpBottomLeft, {206, 333}},
      {shpBottomRight, {281, 333}},   {shpBelowBottom, {240, 341}},   {shpBelowBottomLeft, {206, 341}},
      {shpBelowBottomRight, {281, 341}}, {shpBelowBottomCenter, {240, 341}},
  };
  static_assert(std::size(cases) == 17);
  for (const Case& c : cases) {
    const TPoint got = KeyTipPlacement(c.pos, P, 100, 41, 20, 16);
    EXPECT_EQ(got.X, c.want.X) << static_cast<int>(c.pos);
    EXPECT_EQ(got.Y, c.want.Y) << static_cast<int>(c.pos);
  }
}

TEST(KeyTipPlacement, HalvesRoundTowardZero) {
  // Odd sizes, and a bubble wider than its button.
  struct Case {
    TShortCutHintPos pos;
    int W, H, kw, kh;
    TPoint want;
  } cases[] = {
      {shpCenter, 100, 41, 21, 15, {39, 13}},
      {shpTop, 100, 41, 21, 15, {39, -7}},
      {shpRight, 100, 41, 21, 15, {90, 13}},
      {shpTop, 10, 9, 21, 15, {-5, -7}},  // (10 - 21) / 2 is -5, not -6
      {shpLeft, 10, 9, 21, 15, {6, -3}},
  };
  for (const Case& c : cases) {
    const TPoint got = KeyTipPlacement(c.pos, TPoint{0, 0}, c.W, c.H, c.kw, c.kh);
    EXPECT_EQ(got.X, c.want.X) << static_cast<int>(c.pos) << " " << c.W;
    EXPECT_EQ(got.Y, c.want.Y) << static_cast<int>(c.pos) << " " << c.W;
  }
}

namespace {

struct KeyTip {
  std::unique_ptr<TShortCutHintWindow> window = std::make_unique<TShortCutHintWindow>(nullptr);
  int TextWidth(const char* text) {
    window->Canvas()->SetFont(window->Font());
    return window->Canvas()->TextWidth(text);
  }
  int TextHeight(const char* text) {
    window->Canvas()->SetFont(window->Font());
    return window->Canvas()->TextHeight(text);
  }
};

}  // namespace

TEST(KeyTipWindow, ItsTextSizesItNeverNarrowerThanACapitalO) {
  KeyTip tip;
  tip.window->SetCaption("FW");
  EXPECT_EQ(tip.window->Width(), tip.TextWidth("FW") + 6);
  EXPECT_EQ(tip.window->Height(), tip.TextHeight("FW") + 4);
  const int leastWidth = tip.TextWidth("O") + 8;
  ASSERT_LT(tip.TextWidth("I") + 6, leastWidth);
  tip.window->SetCaption("I");
  EXPECT_EQ(tip.window->Width(), leastWidth);
  tip.window->SetCaption("WWWW");
  EXPECT_EQ(tip.window->Width(), tip.TextWidth("WWWW") + 6);
}

TEST(KeyTipWindow, APopUpToolWindowWithoutBorderOrShadowThatClicksPassThrough) {
  KeyTip tip;
  tip.window->SetCaption("A");
  QWidget* widget = tip.window->Widget();
  ASSERT_NE(widget, nullptr);
  const vcl::Cardinal style = tip.window->WindowStyle();
  EXPECT_EQ(style & vcl::WS_BORDER, 0u);
  EXPECT_NE(style & vcl::WS_POPUP, 0u);
  EXPECT_NE(tip.window->WindowExStyle() & vcl::WS_EX_TOOLWINDOW, 0u);
  EXPECT_NE(tip.window->ClassStyle() & 0x0800u, 0u);      // keeps the screen under it
  EXPECT_EQ(tip.window->ClassStyle() & 0x00020000u, 0u);  // no drop shadow
  EXPECT_TRUE(widget->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_TRUE(widget->isWindow());
  EXPECT_EQ(tip.window->Perform(vcl::WM_ERASEBKGND, 0, 0), 1);
}

TEST(KeyTipWindow, PaintsAGradientItsTextAndAGreyOutline) {
  KeyTip tip;
  const TColor bottom = vcl::RGB(40, 120, 200);
  tip.window->SetTopColor(vcl::clWhite);
  tip.window->SetBottomColor(bottom);
  EXPECT_EQ(tip.window->TopColor(), vcl::clWhite);
  EXPECT_EQ(tip.window->BottomColor(), bottom);
  tip.window->SetCaption("K");
  tip.window->SetBounds(50, 60, 40, 32);  // taller than its text, so the bands show
  tip.window->SetVisible(true);
  tip.window->Widget()->show();
  for (int i = 0; i < 3; ++i) vcl::Application->ProcessMessages();
  QImage shot = tip.window->Widget()->grab().toImage();
  ASSERT_EQ(shot.width(), 40);
  ASSERT_EQ(shot.height(), 32);
  shot.save(TOLVANE_BUILD_DIR "/glow_key_tip.png");
  auto at = [&](int x, int y) {
    QRgb p = shot.pixel(x, y);
    return vcl::RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
  };
  // 16 bands of two rows: the top one white, the last fifteen
  // sixteenths of the way down.
  auto band = [&](int i) {
    auto channel = [&](int to) { return static_cast<uint8_t>(255 + std::lround(i * (to - 255) / 16.0)); };
    return vcl::RGB(channel(40), channel(120), channel(200));
  };
  EXPECT_EQ(at(3, 1), vcl::clWhite);
  EXPECT_EQ(at(3, 30), band(15));
  EXPECT_EQ(at(3, 16), band(8));
  // The grey outline on every side.
  for (auto [x, y] : {std::pair{20, 0}, {20, 31}, {0, 16}, {39, 16}}) EXPECT_EQ(at(x, y), vcl::clGray) << x << "," << y;
  // The letter lies in the middle: some pixel there is far from its band.
  int inked = 0;
  for (int y = 8; y < 24; ++y)
    for (int x = 12; x < 28; ++x)
      if (vcl::GetRValue(at(x, y)) < 100) ++inked;
  EXPECT_GT(inked, 3);
  for (int y = 2; y < 30; ++y) EXPECT_GE(vcl::GetRValue(at(3, y)), vcl::GetRValue(band(15))) << y;
}
