// The glow button's drawing routines: colour arithmetic, banded gradients,
// halves, borders, the drop arrow and the three glyph routines, in pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumGlowButton.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

using namespace controls;
using namespace controls::glow;
using vcl::TBitmap;
using vcl::TColor;

namespace {

const std::string kData = std::string(TOLVANE_TEST_DATA) + "/controls/";
constexpr TColor kSheet = 0x3A5F21;  // a colour no routine here draws

std::unique_ptr<TBitmap> Sheet(int w, int h, TColor fill = kSheet) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

// The sheet as rows of characters, one per pixel, from a colour legend.
std::vector<std::string> Rows(TBitmap& b, const std::vector<std::pair<TColor, char>>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      char c = '?';
      for (auto [color, ch] : legend)
        if (At(b, x, y) == color) c = ch;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

bool Near(TColor a, TColor b, int tolerance) {
  return std::abs(vcl::GetRValue(a) - vcl::GetRValue(b)) <= tolerance &&
         std::abs(vcl::GetGValue(a) - vcl::GetGValue(b)) <= tolerance &&
         std::abs(vcl::GetBValue(a) - vcl::GetBValue(b)) <= tolerance;
}

}  // namespace

TEST(GlowColours, ShadingAndBlendingFollowTheirChannelRules) {
  const TColor face = vcl::GetSysColor(15);
  struct Case {
    const char* what;
    TColor got, want;
  } cases[] = {
      {"white 10 % darker", ShadeColor(vcl::clWhite, -10), vcl::RGB(230, 230, 230)},
      {"white 5 % darker (242.25)", ShadeColor(vcl::clWhite, -5), vcl::RGB(242, 242, 242)},
      {"red and green to 90 %, 202.5 to even", ShadeColorChannels(16117985, -10, -10, 0), 16111818},
      {"black lifted to the percent", ShadeColor(vcl::clBlack, 10), vcl::RGB(10, 10, 10)},
      {"grey not lifted", ShadeColor(0x808080, 10), 0x808080},
      {"black not darkened below 0", ShadeColor(vcl::clBlack, -10), vcl::clBlack},
      {"only zero channels lifted", ShadeColorChannels(vcl::RGB(0, 100, 0), 7, 7, 7), vcl::RGB(7, 100, 7)},
      {"the system face resolved", ShadeColor(vcl::clBtnFace, -10), ShadeColor(face, -10)},
      {"past -100 the low byte stays", ShadeColor(vcl::RGB(1, 0, 0), -200), vcl::RGB(255, 0, 0)},
      {"blend 100 keeps a system colour", BlendColor(vcl::clBtnFace, vcl::clBlack, 100), vcl::clBtnFace},
      {"blend above 100", BlendColor(vcl::clRed, vcl::clBlue, 150), vcl::clRed},
      {"blend 0 keeps the second unresolved", BlendColor(vcl::clRed, vcl::clBtnFace, 0), vcl::clBtnFace},
      {"blend below 0", BlendColor(vcl::clRed, vcl::clBlue, -3), vcl::clBlue},
      {"127.5 rounds to even 128", BlendColor(vcl::clWhite, vcl::clBlack, 50), 0x808080},
      {"blend 20 of 255 and 0 is 51", BlendColor(vcl::clWhite, vcl::clBlack, 20), vcl::RGB(51, 51, 51)},
      {"blend resolves system colours", BlendColor(vcl::clBtnFace, vcl::clBtnFace, 40), face},
      {"blend per channel", BlendColor(vcl::RGB(200, 0, 100), vcl::RGB(0, 200, 100), 25), vcl::RGB(50, 150, 100)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(GlowColours, ResultsAreAlwaysPlainRGB) {
  for (TColor c : {vcl::clBtnFace, vcl::clHighlight, vcl::clWindow}) {
    EXPECT_EQ(ShadeColor(c, 0) & 0xFF000000u, 0u);
    EXPECT_EQ(BlendColor(c, vcl::clWhite, 50) & 0xFF000000u, 0u);
  }
}

TEST(GlowGradient, BandsOverlapByOnePixelAndTheLastWins) {
  // Four bands over ten rows: 2.5 rows each, offsets 0, 2, 5, 8 (half to
  // even), each band one row longer than its rounded size.
  const TColor from = vcl::clBlack, to = vcl::RGB(100, 200, 50);
  const TColor band[4] = {vcl::RGB(0, 0, 0), vcl::RGB(25, 50, 12), vcl::RGB(50, 100, 25), vcl::RGB(75, 150, 38)};
  auto v = Sheet(8, 12);
  DrawGradient(v->Canvas(), from, to, 4, vcl::Rect(0, 0, 8, 10), false);
  const int rowBand[12] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, -1};
  for (int y = 0; y < 12; ++y)
    for (int x : {0, 4, 7}) EXPECT_EQ(At(*v, x, y), rowBand[y] < 0 ? kSheet : band[rowBand[y]]) << x << "," << y;

  auto h = Sheet(12, 3);
  DrawGradient(h->Canvas(), from, to, 4, vcl::Rect(0, 0, 10, 3), true);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(At(*h, x, 1), rowBand[x] < 0 ? kSheet : band[rowBand[x]]) << x;
}

TEST(GlowGradient, NoStepsPaintsOneBandOfTheFirstColour) {
  auto b = Sheet(6, 8);
  DrawGradient(b->Canvas(), vcl::clBtnFace, vcl::clBlack, 0, vcl::Rect(1, 1, 5, 6), false);
  const TColor face = vcl::GetSysColor(15);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 1 && y <= 6;  // one row past the bottom
      EXPECT_EQ(At(*b, x, y), inside ? face : kSheet) << x << "," << y;
    }
}

TEST(GlowArrow, DownAndRightArrowsWithTheirShadows) {
  struct Case {
    bool down;
    std::vector<std::string> picture;
  } cases[] = {
      {true, {".......", ".#####.", ".s###s.", "..s#s..", "...s...", "......."}},
      {false, {".......", ".#.....", ".##s...", ".###s..", ".##....", ".#s...."}},
  };
  for (const Case& c : cases) {
    auto b = Sheet(7, 6);
    DrawDropArrow(b->Canvas(), vcl::Point(1, 1), vcl::clBlack, c.down, vcl::clRed);
    EXPECT_EQ(Rows(*b, {{kSheet, '.'}, {vcl::clBlack, '#'}, {vcl::clRed, 's'}}), c.picture) << c.down;
  }
}

TEST(GlowBorders, RadiusZeroIsAPlainOutlineAndARadiusCutsTheCorners) {
  auto plain = Sheet(10, 8);
  {
    TGPGraphics g(plain->Canvas());
    DrawRoundRectBorder(&g, vcl::clBlue, 1, 1, 6, 4, 0);
  }
  EXPECT_EQ(Rows(*plain, {{kSheet, '.'}, {vcl::clBlue, '#'}}),
            (std::vector<std::string>{"..........", ".#######..", ".#.....#..", ".#.....#..", ".#.....#..",
                                      ".#######..", "..........", ".........."}));

  auto round = Sheet(20, 14);
  {
    TGPGraphics g(round->Canvas());
    DrawRoundRectBorder(&g, vcl::clBlue, 1, 1, 17, 11, 3);
  }
  EXPECT_EQ(At(*round, 1, 1), kSheet);   // the corner is cut
  EXPECT_EQ(At(*round, 10, 1), vcl::clBlue);  // the straight edges are whole
  EXPECT_EQ(At(*round, 1, 6), vcl::clBlue);
  EXPECT_EQ(At(*round, 18, 6), vcl::clBlue);
  EXPECT_EQ(At(*round, 10, 12), vcl::clBlue);
  EXPECT_EQ(At(*round, 10, 6), kSheet);  // nothing inside
}

TEST(GlowBorders, GroupedButtonsDrawTheirSeparatorsAndEdges) {
  struct Case {
    const char* what;
    int kind;  // 0 left, 1 middle, 2 right
    bool highlighted;
    TColor leftEdge, rightEdge;
  } cases[] = {
      {"left: rounded left, separator right", 0, false, vcl::clBlue, ShadeColor(vcl::clBlue, -5)},
      {"middle plain: light short left edge", 1, false, vcl::RGB(230, 230, 230), ShadeColor(vcl::clBlue, -5)},
      {"middle highlighted", 1, true, ShadeColor(vcl::clBlue, -5), ShadeColor(vcl::clBlue, -5)},
      {"right highlighted", 2, true, ShadeColor(vcl::clBlue, -5), vcl::clBlue},
      {"right plain", 2, false, vcl::RGB(230, 230, 230), vcl::clBlue},
  };
  for (const Case& c : cases) {
    auto b = Sheet(24, 16);
    {
      TGPGraphics g(b->Canvas());
      if (c.kind == 0) DrawLeftButtonBorder(&g, vcl::clBlue, 2, 2, 18, 11, 3);
      if (c.kind == 1) DrawMiddleButtonBorder(&g, vcl::clBlue, 2, 2, 18, 11, 3, c.highlighted);
      if (c.kind == 2) DrawRightButtonBorder(&g, vcl::clBlue, 2, 2, 18, 11, 3, c.highlighted);
    }
    EXPECT_EQ(At(*b, 2, 7), c.leftEdge) << c.what;
    EXPECT_EQ(At(*b, 20, 7), c.rightEdge) << c.what;
    EXPECT_EQ(At(*b, 11, 2), vcl::clBlue) << c.what;  // top and bottom edges
    EXPECT_EQ(At(*b, 11, 13), vcl::clBlue) << c.what;
    EXPECT_EQ(At(*b, 11, 7), kSheet) << c.what;
  }
  // The plain left edge of a middle button stops two pixels short.
  auto b = Sheet(24, 16);
  {
    TGPGraphics g(b->Canvas());
    DrawMiddleButtonBorder(&g, vcl::clBlue, 2, 2, 18, 11, 0, false);
  }
  EXPECT_EQ(At(*b, 2, 3), kSheet);
  EXPECT_EQ(At(*b, 2, 4), vcl::RGB(230, 230, 230));
}

TEST(GlowHalves, AUniformPairFillsEveryPixelAndAVerticalPairRunsTopToBottom) {
  for (TGDIPGradient g : {ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward})
    for (bool upper : {true, false}) {
      auto b = Sheet(30, 20);
      {
        TGPGraphics graphics(b->Canvas());
        DrawGlowHalf(&graphics, vcl::Rect(0, 0, 30, 20), 0x4080C0, 0x4080C0, g, upper);
      }
      for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 30; x += 4)
          EXPECT_EQ(At(*b, x, y), TColor(0x4080C0)) << int(g) << upper << " " << x << "," << y;
    }
  auto b = Sheet(10, 21);
  {
    TGPGraphics graphics(b->Canvas());
    DrawGlowHalf(&graphics, vcl::Rect(0, 0, 10, 21), vcl::clWhite, vcl::clBlack, ggVertical, true);
  }
  EXPECT_TRUE(Near(At(*b, 5, 0), vcl::clWhite, 8));
  EXPECT_TRUE(Near(At(*b, 5, 20), vcl::clBlack, 16));
  for (int y = 1; y < 21; ++y) EXPECT_LE(vcl::GetRValue(At(*b, 5, y)), vcl::GetRValue(At(*b, 5, y - 1))) << y;
}

TEST(GlowHalves, TheFillsReachTheRectanglesRightAndBottomAsSizes) {
  // A half at (4, 4, 8, 8) fills 8 wide and 8 high from its corner.
  auto b = Sheet(16, 16);
  {
    TGPGraphics graphics(b->Canvas());
    DrawGlowHalf(&graphics, vcl::Rect(4, 4, 8, 8), vcl::clRed, vcl::clRed, ggVertical, true);
  }
  EXPECT_EQ(At(*b, 3, 3), kSheet);
  EXPECT_EQ(At(*b, 4, 4), vcl::clRed);
  EXPECT_EQ(At(*b, 11, 11), vcl::clRed);
  EXPECT_EQ(At(*b, 12, 12), kSheet);
}

TEST(GlowPictures, ABitmapLosesExactlyItsBottomLeftColourAndAPngKeepsItsAlpha) {
  TGDIPPicture glyph;
  glyph.LoadFromFile(kData + "glyph.bmp");  // 6 x 4, magenta at (0, 3), (5, 0), (2, 1)
  auto b = Sheet(10, 8);
  {
    TGPGraphics g(b->Canvas());
    DrawPictureAt(&g, vcl::Point(2, 3), &glyph);
  }
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool magenta = (x == 0 && y == 3) || (x == 5 && y == 0) || (x == 2 && y == 1);
      EXPECT_EQ(At(*b, 2 + x, 3 + y), magenta ? kSheet : vcl::RGB(40 * x, 60 * y, 200)) << x << "," << y;
    }
  EXPECT_EQ(At(*b, 1, 3), kSheet);
  EXPECT_EQ(At(*b, 8, 6), kSheet);

  TGDIPPicture png;
  png.LoadFromFile(kData + "alpha.png");
  auto p = Sheet(6, 4, vcl::clWhite);
  {
    TGPGraphics g(p->Canvas());
    DrawPictureAt(&g, vcl::Point(1, 1), &png);
  }
  EXPECT_EQ(At(*p, 1, 1), vcl::clRed);
  EXPECT_TRUE(Near(At(*p, 2, 1), vcl::RGB(255, 127, 127), 1));  // half-transparent red over white
  EXPECT_EQ(At(*p, 3, 1), vcl::clWhite);
  EXPECT_EQ(At(*p, 4, 1), vcl::clBlue);
  EXPECT_EQ(At(*p, 1, 2), vcl::clLime);
  EXPECT_EQ(At(*p, 0, 0), vcl::clWhite);
}

TEST(GlowPictures, StretchedPicturesFillTheirRectangle) {
  TGDIPPicture glyph;
  glyph.LoadFromFile(kData + "glyph.bmp");
  auto b = Sheet(14, 10);
  {
    TGPGraphics g(b->Canvas());
    DrawPictureStretched(&g, b->Canvas(), vcl::Rect(1, 1, 13, 9), &glyph);  // twice the size
  }
  // Each source pixel becomes a 2 x 2 block; magenta ones show the sheet.
  EXPECT_EQ(At(*b, 1 + 2 * 1, 1 + 2 * 2), vcl::RGB(40, 120, 200));
  EXPECT_EQ(At(*b, 2 + 2 * 4, 2 + 2 * 3), vcl::RGB(160, 180, 200));
  EXPECT_EQ(At(*b, 1, 7), kSheet);   // (0, 3)
  EXPECT_EQ(At(*b, 12, 2), kSheet);  // (5, 0)
  EXPECT_EQ(At(*b, 0, 0), kSheet);

  TGDIPPicture png;
  png.LoadFromFile(kData + "alpha.png");
  auto p = Sheet(10, 6, vcl::clWhite);
  {
    TGPGraphics g(p->Canvas());
    DrawPictureStretched(&g, p->Canvas(), vcl::Rect(1, 1, 9, 5), &png);  // 8 x 4 from 4 x 2
  }
  EXPECT_EQ(At(*p, 1, 1), vcl::clRed);
  EXPECT_EQ(At(*p, 8, 1), vcl::clBlue);
  // Stretching smooths, so the transparent pixel shows as the white sheet
  // coming through between its neighbours.
  EXPECT_GE(vcl::GetGValue(At(*p, 5, 1)), 0xC0);
  EXPECT_GE(vcl::GetGValue(At(*p, 6, 1)), 0xC0);
  EXPECT_EQ(At(*p, 4, 4), vcl::clLime);

  // Nothing to draw: no picture, an empty one, bytes that do not decode.
  TGDIPPicture empty, junk;
  rtl::TMemoryStream bytes;
  bytes.Write("not a picture", 13);
  bytes.SetPosition(0);
  junk.LoadFromStream(bytes);
  auto n = Sheet(4, 4);
  {
    TGPGraphics g(n->Canvas());
    for (TGDIPPicture* picture : {static_cast<TGDIPPicture*>(nullptr), &empty, &junk}) {
      DrawPictureStretched(&g, n->Canvas(), vcl::Rect(0, 0, 4, 4), picture);
      DrawPictureAt(&g, vcl::Point(0, 0), picture);
    }
  }
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(*n, x, y), kSheet);
}

TEST(GlowPictures, AnImageListGlyphIsKeyedByItsBottomLeftPixel) {
  vcl::TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(3);
  TBitmap source(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) source.Canvas()->SetPixels(x, y, vcl::RGB(50 * x + 10, 70 * y + 10, 90));
  source.Canvas()->SetPixels(0, 2, vcl::clFuchsia);
  source.Canvas()->SetPixels(3, 0, vcl::clFuchsia);
  ASSERT_EQ(list.AddMasked(&source, vcl::clFuchsia), 0);

  auto b = Sheet(8, 6);
  {
    TGPGraphics g(b->Canvas());
    DrawImageListGlyph(&g, vcl::Point(2, 1), &list, 0, true);
    DrawImageListGlyph(&g, vcl::Point(0, 0), &list, -1, true);  // no index: nothing
    DrawImageListGlyph(&g, vcl::Point(0, 0), nullptr, 0, true);
    DrawImageListGlyph(nullptr, vcl::Point(0, 0), &list, 0, true);
  }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool clear = (x == 0 && y == 2) || (x == 3 && y == 0);
      EXPECT_EQ(At(*b, 2 + x, 1 + y), clear ? kSheet : vcl::RGB(50 * x + 10, 70 * y + 10, 90)) << x << "," << y;
    }
  EXPECT_EQ(At(*b, 0, 0), kSheet);
  EXPECT_EQ(At(*b, 1, 1), kSheet);
}

TEST(GlowBorders, TheFocusFrameIsDottedAndARadiusOfZeroKeepsItsStraightEdges) {
  for (int radius : {0, 3}) {
    auto b = Sheet(24, 14);
    {
      TGPGraphics g(b->Canvas());
      DrawDottedRoundRect(&g, vcl::clGray, 2, 2, 19, 9, radius);
    }
    // Along the top edge's middle, drawn and clear pixels alternate.
    int drawn = 0, clear = 0;
    for (int x = 7; x < 17; ++x) (At(*b, x, 2) == vcl::clGray ? drawn : clear)++;
    EXPECT_GE(drawn, 3) << radius;
    EXPECT_GE(clear, 3) << radius;
    for (int x = 7; x < 16; ++x)
      EXPECT_FALSE(At(*b, x, 2) == vcl::clGray && At(*b, x + 1, 2) == vcl::clGray) << radius << " " << x;
    EXPECT_EQ(At(*b, 11, 7), kSheet) << radius;
  }
}

TEST(GlowHalves, ARadialHalfGlowsItsSecondColourFromTheEdgesMiddle) {
  // Upper: ColorB at the top edge's middle, ColorA towards the sides.
  auto up = Sheet(40, 20);
  {
    TGPGraphics g(up->Canvas());
    DrawGlowHalf(&g, vcl::Rect(0, 0, 40, 20), vcl::clBlack, vcl::clWhite, ggRadial, true);
  }
  EXPECT_GT(vcl::GetRValue(At(*up, 20, 0)), 200);
  EXPECT_LT(vcl::GetRValue(At(*up, 0, 19)), 60);
  EXPECT_GT(vcl::GetRValue(At(*up, 20, 2)), vcl::GetRValue(At(*up, 20, 15)));
  // Lower: ColorA at the bottom edge's middle, ColorB towards the sides.
  auto down = Sheet(40, 20);
  {
    TGPGraphics g(down->Canvas());
    DrawGlowHalf(&g, vcl::Rect(0, 0, 40, 20), vcl::clWhite, vcl::clBlack, ggRadial, false);
  }
  EXPECT_GT(vcl::GetRValue(At(*down, 20, 19)), 200);
  EXPECT_LT(vcl::GetRValue(At(*down, 0, 0)), 60);
}
