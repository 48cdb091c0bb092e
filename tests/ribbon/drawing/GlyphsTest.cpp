// The canvas glyphs and environment tests of the toolbar drawing routines,
// checked pixel by pixel on a bitmap of a distinct colour.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

#include "ribbon/RorIvezEviDraw.h"
#include "rtl/SystemInfo.h"
#include "vcl/DesktopComposition.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"
#include "vcl/WinApi.h"

namespace {

using vcl::RGB;
using vcl::TColor;

constexpr TColor kGlyphBack = RGB(255, 0, 255);

std::unique_ptr<vcl::TBitmap> GlyphRigBitmap(int w, int h) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(kGlyphBack);
  b->Canvas()->FillRect(vcl::TRect{0, 0, w, h});
  return b;
}

// Every pixel of the colour, as (x, y).
std::set<std::pair<int, int>> GlyphPixelsOf(vcl::TBitmap* b, TColor c) {
  std::set<std::pair<int, int>> s;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      if (b->Canvas()->Pixels(x, y) == c) s.insert({x, y});
  return s;
}

TEST(RibbonGlyphs, CloseGlyphIn14By14StartsAt2And2) {
  auto b = GlyphRigBitmap(14, 14);
  ribbon::DrawCloseGlyph(b->Canvas(), vcl::TRect{0, 0, 14, 14}, RGB(0, 0, 0), 7);
  auto px = GlyphPixelsOf(b.get(), RGB(0, 0, 0));
  ASSERT_FALSE(px.empty());
  int minX = 99, minY = 99, maxX = -1, maxY = -1;
  for (auto [x, y] : px) {
    minX = std::min(minX, x), minY = std::min(minY, y), maxX = std::max(maxX, x), maxY = std::max(maxY, y);
  }
  // The four strokes start at (2, 9), (3, 9), (2, 3) and (3, 3); their end
  // points (10, 2), (9, 2), (10, 10), (9, 10) are left out.
  for (auto p : {std::pair{2, 9}, {3, 9}, {2, 3}, {3, 3}}) EXPECT_TRUE(px.count(p)) << p.first << "," << p.second;
  for (auto p : {std::pair{10, 2}, {10, 10}}) EXPECT_FALSE(px.count(p)) << p.first << "," << p.second;
  EXPECT_EQ(minX, 2);
  EXPECT_GE(minY, 2);
  EXPECT_LE(maxX, 9);
  EXPECT_LE(maxY, 10);
  // Symmetric about the vertical middle of the cross.
  for (auto [x, y] : px) EXPECT_TRUE(px.count({x, 12 - y}) || px.count({x, 13 - y}) || px.count({x, 11 - y}));
}

TEST(RibbonGlyphs, DropArrowsExactPixels) {
  const TColor ink = RGB(0, 0, 0), shade = RGB(200, 200, 200);
  struct Case {
    const char* what;
    bool down;
    std::set<std::pair<int, int>> ink, shade;
  };
  const Case cases[] = {
      {"down",
       true,
       {{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {11, 11}, {12, 11}, {13, 11}, {12, 12}},
       {{10, 11}, {14, 11}, {11, 12}, {13, 12}, {12, 13}}},
      {"right",
       false,
       {{10, 10}, {10, 11}, {10, 12}, {10, 13}, {10, 14}, {11, 11}, {11, 12}, {11, 13}, {12, 12}},
       {{12, 11}, {11, 14}, {13, 12}}},
  };
  for (const Case& c : cases) {
    auto b = GlyphRigBitmap(24, 24);
    ribbon::DrawDropArrow(b->Canvas(), vcl::TPoint{10, 10}, ink, shade, c.down);
    EXPECT_EQ(GlyphPixelsOf(b.get(), ink), c.ink) << c.what;
    EXPECT_EQ(GlyphPixelsOf(b.get(), shade), c.shade) << c.what;
  }
}

TEST(RibbonGlyphs, MinimizeMaximizeRestoreInTheCaptionButtonBox) {
  const TColor ink = RGB(0, 0, 128);
  {
    auto b = GlyphRigBitmap(14, 14);
    ribbon::DrawMinimizeGlyph(b->Canvas(), vcl::TRect{0, 0, 14, 14}, ink, true);
    std::set<std::pair<int, int>> want;
    for (int x = 2; x < 8; ++x) want.insert({x, 7}), want.insert({x, 8});
    EXPECT_EQ(GlyphPixelsOf(b.get(), ink), want);
  }
  {
    auto b = GlyphRigBitmap(14, 14);
    ribbon::DrawMaximizeGlyph(b->Canvas(), vcl::TRect{0, 0, 14, 14}, ink, true);
    auto px = GlyphPixelsOf(b.get(), ink);
    // l = 2, top = 2: a thick top edge on rows 3 and 4 from x 2 to 10, the
    // box's sides down to row 10 and its bottom on row 10.
    for (int x = 2; x < 11; ++x) EXPECT_TRUE(px.count({x, 3})) << x;
    for (int y = 4; y <= 10; ++y) EXPECT_TRUE(px.count({2, y}) && px.count({10, y})) << y;
    for (int x = 2; x <= 10; ++x) EXPECT_TRUE(px.count({x, 10})) << x;
    EXPECT_FALSE(px.count({5, 7}));  // hollow
  }
  {
    auto b = GlyphRigBitmap(14, 14);
    ribbon::DrawRestoreGlyph(b->Canvas(), vcl::TRect{0, 0, 14, 14}, ink, true);
    auto px = GlyphPixelsOf(b.get(), ink);
    // Back window's top at rows 2 and 3 from x 4, front window's at rows 5
    // and 6 from x 2, its bottom on row 10.
    EXPECT_TRUE(px.count({4, 2}) && px.count({9, 3}));
    EXPECT_FALSE(px.count({3, 2}));
    EXPECT_TRUE(px.count({2, 5}) && px.count({8, 6}));
    for (int x = 2; x <= 8; ++x) EXPECT_TRUE(px.count({x, 10})) << x;
    EXPECT_FALSE(px.count({5, 8}));
  }
}

TEST(RibbonGlyphs, EtchedLineRaisedAndSunken) {
  const TColor shadow = vcl::ColorToRGB(vcl::clBtnShadow);
  for (bool raised : {true, false}) {
    auto b = GlyphRigBitmap(20, 40);
    ribbon::DrawEtchedLine(b->Canvas(), vcl::TPoint{5, 10}, vcl::TPoint{5, 30}, raised, true);
    const TColor first = raised ? RGB(255, 255, 255) : shadow, second = raised ? shadow : RGB(255, 255, 255);
    EXPECT_EQ(b->Canvas()->Pixels(4, 9), first) << raised;
    EXPECT_EQ(b->Canvas()->Pixels(4, 20), first) << raised;
    EXPECT_EQ(b->Canvas()->Pixels(6, 20), second) << raised;
    EXPECT_EQ(b->Canvas()->Pixels(5, 20), kGlyphBack) << raised;
  }
}

TEST(RibbonGlyphs, EnvironmentTests) {
  // The shared table says 6.10.
  EXPECT_TRUE(ribbon::IsComCtl6());
  rtl::SetFileVersionForTesting("comctl32.dll", rtl::TFileVersionWords{0x00050052, 0});
  EXPECT_FALSE(ribbon::IsComCtl6());
  rtl::SetFileVersionForTesting("comctl32.dll", std::nullopt);
  EXPECT_FALSE(ribbon::IsComCtl6());
  rtl::ResetFileVersionsForTesting();
  EXPECT_TRUE(ribbon::IsComCtl6());

  EXPECT_FALSE(ribbon::IsCompositionEnabled());
  vcl::SetDesktopCompositionEnabled(true);
  EXPECT_TRUE(ribbon::IsCompositionEnabled());
  vcl::SetDesktopCompositionEnabled(false);
}

}  // namespace

namespace {

// On the fake-metrics canvas (8 wide, 13 high per character) the text
// stays horizontal; the underline stands left of it, as for a font the
// caller turned by 90 degrees.
struct HotkeyCase {
  const char* text;
  int shownChars;
  int hotFrom, hotTo;  // underline rows relative to P.Y; equal: none
};

TEST(RibbonGlyphs, VerticalHotkeyTextTable) {
  const HotkeyCase cases[] = {
      {"Fi&le", 4, 16, 24},   // 'l', third character
      {"&Tools", 5, 0, 8},    // first character
      {"Typ&e", 4, 24, 32},   // before the fourth: text one shorter
      {"A&&B", 3, 0, 0},      // a literal ampersand, no underline
      {"Edit&", 4, 0, 0},     // a trailing marker marks nothing
      {"&a&b", 2, 8, 16},     // the last marker wins
  };
  for (const HotkeyCase& c : cases) {
    vcl::TFakeMetricsCanvas canvas(80, 60);
    canvas.Brush()->SetColor(kGlyphBack);
    canvas.FillRect(vcl::TRect{0, 0, 80, 60});
    canvas.Font()->SetColor(RGB(0, 0, 255));
    const vcl::TPoint p{30, 20};
    ribbon::DrawVerticalHotkeyText(&canvas, c.text, p);
    const int x = p.X - canvas.TextHeight("X") + 1;
    for (int y = 0; y < 60; ++y) {
      const bool want = y >= p.Y + c.hotFrom && y < p.Y + c.hotTo;
      EXPECT_EQ(canvas.Pixels(x, y) == RGB(0, 0, 255), want) << c.text << " row " << y;
    }
    // The shown text: one box per character, none after the last.
    EXPECT_EQ(canvas.Pixels(p.X + (c.shownChars - 1) * 8 + 2, p.Y + 2), RGB(0, 0, 255)) << c.text;
    EXPECT_NE(canvas.Pixels(p.X + c.shownChars * 8 + 2, p.Y + 2), RGB(0, 0, 255)) << c.text;
  }
}

}  // namespace
