// The cell drawing routines as pixel tables on a fake-metrics canvas (a
// real bitmap canvas whose characters are boxes of known size).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "grid/draw/GridDraw.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"
#include "vcl/TestCanvases.h"

using namespace grid;
using vcl::TFakeMetricsCanvas;
using vcl::TRecordingCanvas;

namespace {

constexpr TColor White = 0xFFFFFF;

struct Px {
  Integer x, y;
  TColor color;
};

struct PixelCase {
  const char* name;
  std::function<void(TCanvas*)> draw;
  std::vector<Px> expect;
};

void CheckPixelCases(const std::vector<PixelCase>& cases, Integer w = 120, Integer h = 40) {
  for (const PixelCase& k : cases) {
    SCOPED_TRACE(k.name);
    TFakeMetricsCanvas canvas(w, h);
    canvas.Pen()->SetColor(0);
    canvas.Brush()->SetColor(White);
    k.draw(&canvas);
    for (const Px& p : k.expect)
      EXPECT_EQ(canvas.Pixels(p.x, p.y), p.color) << "at " << p.x << "," << p.y << " of " << k.name;
  }
}

// Distinct colours for the selection box's parts.
constexpr TColor Fill = 0x00A000, FillTo = 0x00B000, Mirror = 0x00C000, MirrorTo = 0x00D000;
constexpr TColor InnerTop = 0x1111EE, InnerBottom = 0x2222DD, Border = 0x3333CC, Corner = 0x4444BB,
                 Outer = 0x5555AA;

void Box(TCanvas* c, Byte part, TColor to = clNone, TColor mirror = clNone) {
  DrawSelectionBox(c, Fill, to, mirror, MirrorTo, InnerTop, InnerBottom, Border, Corner, Outer, {0, 0, 20, 12}, part);
}

TColor Gray(Integer v) { return static_cast<TColor>(v | (v << 8) | (v << 16)); }

}  // namespace

TEST(GridDraw, SelectionBox) {
  CheckPixelCases({
      {"both ends",
       [](TCanvas* c) { Box(c, 0); },
       {{5, 1, InnerTop}, {1, 3, InnerTop}, {17, 3, InnerTop}, {5, 9, InnerBottom}, {1, 6, InnerBottom},
        {17, 7, InnerBottom}, {5, 0, Border}, {5, 10, Border}, {0, 5, Border}, {18, 5, Border},
        {1, 0, Corner}, {1, 1, Corner}, {0, 1, Corner}, {1, 10, Corner}, {0, 9, Corner}, {17, 0, Corner},
        {18, 1, Corner}, {17, 10, Corner}, {0, 0, Outer}, {0, 10, Outer}, {18, 0, Outer}, {18, 10, Outer},
        {5, 4, Fill}, {2, 2, Fill}, {16, 7, Fill}, {19, 5, White}, {5, 11, White}}},
      {"left end only",
       [](TCanvas* c) { Box(c, 1); },
       {{0, 5, Border}, {0, 0, Outer}, {18, 5, Fill}, {18, 0, Border}, {18, 1, InnerTop}}},
      {"right end only",
       [](TCanvas* c) { Box(c, 2); },
       {{18, 5, Border}, {18, 0, Outer}, {0, 5, Fill}, {0, 0, Border}, {1, 3, Fill}}},
      {"middle piece: top and bottom lines and the fill across the width",
       [](TCanvas* c) { Box(c, 3); },
       {{0, 0, Border}, {18, 0, Border}, {0, 10, Border}, {0, 1, InnerTop}, {0, 9, InnerBottom},
        {0, 5, Fill}, {18, 5, Fill}, {19, 5, White}}},
      {"no colour-to: flat whatever the mirror colours",
       [](TCanvas* c) { Box(c, 0, clNone, Mirror); },
       {{5, 2, Fill}, {5, 7, Fill}}},
      // 16 bands over 3 rows: each row shows the last band drawn over it,
      // the third (two steps on from the start colour).
      {"mirrored: upper half from the colour, lower half from the mirror colour",
       [](TCanvas* c) { Box(c, 0, FillTo, Mirror); },
       {{5, 2, 0x00A200}, {5, 5, 0x00C200}}},
  });
}

TEST(GridDraw, Gradients) {
  CheckPixelCases({
      {"one step fills with the from colour",
       [](TCanvas* c) { FillGradientRect(c, 0x102030, 0xFFFFFF, 1, {0, 0, 40, 10}, true); },
       // Each band's rectangle reaches one pixel past its share.
       {{0, 0, 0x102030}, {39, 9, 0x102030}, {40, 0, 0x102030}, {41, 0, White}}},
      {"four horizontal steps, the last one step short",
       [](TCanvas* c) { FillGradientRect(c, 0x000000, 0x0000C8, 4, {0, 0, 40, 10}, true); },
       {{5, 5, 0x000000}, {15, 5, 0x000032}, {25, 5, 0x000064}, {35, 5, 0x000096}, {40, 9, 0x000096},
        {41, 5, White}}},
      {"vertical steps",
       [](TCanvas* c) { FillGradientRect(c, Gray(0), Gray(200), 2, {0, 0, 10, 20}, false); },
       {{5, 5, Gray(0)}, {5, 15, Gray(100)}}},
      {"no to colour: one solid rectangle",
       [](TCanvas* c) { FillGradientRect(c, 0x00FF00, clNone, 64, {2, 2, 8, 8}, true); },
       {{2, 2, 0x00FF00}, {7, 7, 0x00FF00}, {8, 8, White}}},
      {"background without fill only draws the border",
       [](TCanvas* c) { DrawCellBackground(c, {0, 0, 10, 10}, 0x00FF00, clNone, clNone, clNone, true, 0x0000FF, false, false); },
       {{0, 0, 0x0000FF}, {9, 9, 0x0000FF}, {5, 5, White}}},
      {"background with side lines only",
       [](TCanvas* c) { DrawCellBackground(c, {0, 0, 10, 10}, 0x00FF00, clNone, clNone, clNone, true, 0x0000FF, true, true); },
       {{0, 5, 0x0000FF}, {9, 5, 0x0000FF}, {5, 0, 0x00FF00}, {5, 5, 0x00FF00}, {5, 10, 0x00FF00}}},
      // 128 bands over 10 pixels: the first pixel shows band 6.
      {"mirrored background across the height",
       [](TCanvas* c) { DrawCellBackground(c, {0, 0, 10, 20}, Gray(0), Gray(100), Gray(200), Gray(250), true, clNone, false, true); },
       {{5, 0, Gray(5)}, {5, 10, Gray(202)}, {5, 9, Gray(95)}}},
      {"mirrored background across the width",
       [](TCanvas* c) { DrawCellBackground(c, {0, 0, 20, 10}, Gray(0), Gray(100), Gray(200), Gray(250), false, clNone, false, true); },
       {{0, 5, Gray(5)}, {10, 5, Gray(202)}}},
  });
  EXPECT_EQ(BlendColorStep(0x000000, 0x0000FF, 0, 10, 5), 0x000080u);
  EXPECT_EQ(BlendColorStep(0x123456, clNone, 0, 10, 5), 0x123456u);
  EXPECT_EQ(DimColor(0x80FF41), 0x407F20u);
}

TEST(GridDraw, ProgressBars) {
  constexpr TColor Bar = 0x00C000, Rest = 0xC0C0C0, Text = 0x000001, TextTo = 0x000002, Frame = 0x800000;
  CheckPixelCases({
      {"40 percent",
       [](TCanvas* c) { DrawProgressBar(c, {5, 5, 105, 25}, Bar, Text, Rest, TextTo, 40, 0, 0, 0, 100, "", Frame, false); },
       {{6, 7, Bar}, {44, 7, Bar}, {45, 7, Rest}, {100, 7, Rest}, {4, 10, Frame}, {105, 10, Frame}, {3, 10, White}}},
      {"150 shows 150% but fills the whole bar",
       [](TCanvas* c) { DrawProgressBar(c, {5, 5, 105, 25}, Bar, Text, Rest, TextTo, 150, 0, 0, 0, 100, "", Frame, false); },
       {{100, 7, Bar}}},
      {"a format over a range",
       [](TCanvas* c) { DrawProgressBar(c, {5, 5, 105, 25}, Bar, Text, Rest, TextTo, 15, 2, 2, 10, 20, "%d", clNone, false); },
       {{8, 21, Bar}, {54, 21, Bar}, {55, 21, Rest}, {6, 10, White}}},
      {"a format without a range draws the bar empty",
       [](TCanvas* c) { DrawProgressBar(c, {5, 5, 105, 25}, Bar, Text, Rest, TextTo, 15, 0, 0, 10, 10, "%d", clNone, false); },
       {{6, 7, Rest}, {100, 7, Rest}}},
  });
  TRecordingCanvas recording;
  DrawProgressBar(&recording, {5, 5, 105, 25}, Bar, Text, Rest, TextTo, 15, 0, 0, 10, 10, "%d items", clNone, false);
  bool shown = false;
  for (const auto& r : recording.Records()) shown |= r.Op == "TextRect" && r.Text == "0 items";
  EXPECT_TRUE(shown);
}

TEST(GridDraw, XPProgressBlocks) {
  TProgressAppearance a;
  a.CompletionSmooth = false;
  a.ShowGradient = false;
  a.ShowPercentage = false;
  a.BackgroundColor = White;
  // A bar 200 pixels long: 198 inside. Count the blocks along the middle.
  struct Case {
    Integer percent, blocks, lastLength;
  } cases[] = {{4, 1, 7}, {5, 1, 7}, {50, 11, 7}, {1, 1, 1}, {7, 2, 4}, {0, 0, 0}};
  for (const Case& k : cases) {
    TFakeMetricsCanvas canvas(220, 20);
    DrawXPProgress(&canvas, {0, 0, 200, 14}, k.percent, a);
    std::vector<Integer> runs;
    Integer run = 0;
    for (Integer x = 1; x < 199; ++x) {
      if (canvas.Pixels(x, 7) == a.Level0Color) {
        ++run;
      } else if (run > 0) {
        runs.push_back(run);
        run = 0;
      }
    }
    if (run > 0) runs.push_back(run);
    EXPECT_EQ(static_cast<Integer>(runs.size()), k.blocks) << k.percent;
    if (!runs.empty()) {
      EXPECT_EQ(runs.back(), k.lastLength) << k.percent;
      EXPECT_EQ(canvas.Pixels(2, 7), a.Level0Color);
      EXPECT_EQ(canvas.Pixels(2, 1), White);  // two pixels in across the bar
      EXPECT_EQ(canvas.Pixels(2, 2), a.Level0Color);
    }
    EXPECT_EQ(canvas.Pixels(0, 7), a.BorderColor);
  }
}

TEST(GridDraw, XPProgressLevelsAndStacking) {
  TProgressAppearance a;
  a.ShowGradient = false;
  a.ShowPercentage = false;
  CheckPixelCases(
      {
          {"smooth, level by percentage",
           [&](TCanvas* c) { DrawXPProgress(c, {0, 0, 102, 10}, 80, a); },
           {{1, 5, a.Level1Color}, {80, 5, a.Level1Color}, {81, 5, a.BackgroundColor}, {1, 0, a.BorderColor}}},
          {"smooth at 100 percent uses level 3",
           [&](TCanvas* c) { DrawXPProgress(c, {0, 0, 102, 10}, 100, a); },
           {{50, 5, a.Level3Color}}},
          {"stacked segments",
           [&](TCanvas* c) {
             TProgressAppearance s = a;
             s.Stacked = true;
             DrawXPProgress(c, {0, 0, 102, 10}, 95, s);
           },
           {{1, 5, a.Level0Color}, {70, 5, a.Level0Color}, {71, 5, a.Level1Color}, {90, 5, a.Level1Color},
            {91, 5, a.Level3Color}, {95, 5, a.Level3Color}, {96, 5, a.BackgroundColor}}},
      },
      120, 20);
}

TEST(GridDraw, PieRangeShapesAndTriangle) {
  CheckPixelCases({
      {"quarter pie",
       [](TCanvas* c) { DrawProgressPie(c, {0, 0, 21, 21}, 0x0000FF, 25, false); },
       {{14, 6, 0x0000FF}, {6, 6, White}, {6, 14, White}, {10, 0, 0x808080}}},
      {"range indicator negative",
       [](TCanvas* c) { DrawRangeIndicator(c, {0, 0, 44, 10}, -5, 10, false, 0x0000FF, 0x00FF00); },
       {{21, 5, 0x0000FF}, {12, 5, 0x0000FF}, {11, 5, White}, {22, 5, White}}},
      {"range indicator positive, limited to the range",
       [](TCanvas* c) { DrawRangeIndicator(c, {0, 0, 44, 10}, 50, 10, false, 0x0000FF, 0x00FF00); },
       {{22, 5, 0x00FF00}, {41, 5, 0x00FF00}, {42, 5, White}}},
      {"range 0 draws nothing",
       [](TCanvas* c) { DrawRangeIndicator(c, {0, 0, 44, 10}, 5, 0, false, 0x0000FF, 0x00FF00); },
       {{22, 5, White}, {21, 5, White}}},
      {"circle of 20 x 10 becomes 10 x 10",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 20, 10, 1, 0x00FF00, 0x000000); },
       {{5, 5, 0x00FF00}, {15, 5, White}}},
      {"square",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 10, 10, 11, 0x00FF00, 0x000000); },
       {{1, 1, 0x000000}, {5, 5, 0x00FF00}, {0, 0, White}}},
      {"code 19 draws nothing",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 10, 10, 19, 0x00FF00, 0x000000); },
       {{5, 5, White}}},
      {"vertical line",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 10, 10, 7, 0x00FF00, 0x000000); },
       {{5, 5, 0x000000}, {4, 5, White}, {6, 5, White}}},
      {"triangle pointing down",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 16, 16, 5, 0x00FF00, 0x000000); },
       {{8, 4, 0x00FF00}, {1, 12, White}}},
      {"full star",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 16, 16, 13, 0x00FFFF, 0x000000); },
       {{8, 8, 0x00FFFF}, {1, 1, White}, {8, 0, 0x000000}}},
      {"half star is the left half",
       [](TCanvas* c) { DrawCellShape(c, 0, 0, 16, 16, 18, 0x00FFFF, 0x000000); },
       {{6, 8, 0x00FFFF}, {11, 8, White}}},
      {"drop triangle",
       [](TCanvas* c) { DrawDropTriangle(c, 10, 10, 0x0000FF); },
       {{7, 10, 0x0000FF}, {13, 10, 0x0000FF}, {10, 12, 0x0000FF}, {10, 14, White}, {6, 10, White}}},
  });
}

TEST(GridDraw, ButtonsAndBitmaps) {
  TFakeMetricsCanvas canvas(60, 30);
  canvas.Brush()->SetColor(White);
  canvas.FillRect({0, 0, 60, 30});
  DrawComboButton(&canvas, 0, {0, 0, 60, 20}, false);
  // The button stands 17 pixels wide, 2 pixels in from the right.
  EXPECT_NE(canvas.Pixels(50, 10), White);
  EXPECT_EQ(canvas.Pixels(59, 10), White);
  EXPECT_EQ(canvas.Pixels(30, 10), White);
  DrawSpinButtons(&canvas, 0, {0, 0, 40, 20}, false);
  EXPECT_NE(canvas.Pixels(30, 5), White);
  EXPECT_EQ(canvas.Pixels(39, 5), White);

  vcl::TBitmap glyph(4, 4);
  glyph.Canvas()->Brush()->SetColor(0x00FF00);  // the transparent colour: its top-left pixel
  glyph.Canvas()->FillRect({0, 0, 4, 4});
  glyph.Canvas()->SetPixels(2, 2, 0x0000FF);
  TFakeMetricsCanvas target(10, 10);
  DrawTransparentBitmap(&target, &glyph, 0x123456, {3, 3, 10, 10});
  EXPECT_EQ(target.Pixels(3, 3), 0x123456u);
  EXPECT_EQ(target.Pixels(5, 5), 0x0000FFu);
  EXPECT_EQ(target.Pixels(7, 7), White);
}

TEST(GridDraw, ResourceBitmapsAreTheNodeGlyphs) {
  // Each glyph at (2, 2) on a green background: its corner takes the
  // background, its box or triangle is drawn, nothing lies past its size.
  struct Case {
    const char* name;
    Integer size;
    Integer markX, markY;  // a pixel of the drawing
  } cases[] = {{"XPNODEC", 10, 4, 2}, {"XPNODEO", 10, 4, 4}, {"VOELEAFCLOSE", 12, 3, 6}, {"voeleafopen", 12, 6, 3}};
  const TColor Green = 0x00FF00;
  for (const auto& k : cases) {
    TFakeMetricsCanvas canvas(20, 20);
    canvas.Brush()->SetColor(White);
    canvas.FillRect({0, 0, 20, 20});
    DrawResourceBitmap(&canvas, Green, {2, 2, 20, 20}, k.name);
    EXPECT_EQ(canvas.Pixels(2, 2), Green) << k.name;
    EXPECT_NE(canvas.Pixels(2 + k.markX, 2 + k.markY), Green) << k.name;
    EXPECT_NE(canvas.Pixels(2 + k.markX, 2 + k.markY), White) << k.name;
    EXPECT_EQ(canvas.Pixels(2 + k.size, 2 + k.size), White) << k.name;
    EXPECT_EQ(canvas.Pixels(1, 1), White) << k.name;
  }
  // The collapsed node has the plus bar the open one lacks.
  TFakeMetricsCanvas open(12, 12), closed(12, 12);
  DrawResourceBitmap(&open, White, {0, 0, 12, 12}, "XPNODEO");
  DrawResourceBitmap(&closed, White, {0, 0, 12, 12}, "XPNODEC");
  EXPECT_EQ(open.Pixels(4, 2), open.Pixels(2, 2));
  EXPECT_EQ(closed.Pixels(4, 2), 0u);
  EXPECT_EQ(closed.Pixels(4, 4), 0u);
  EXPECT_EQ(open.Pixels(4, 4), 0u);

  TFakeMetricsCanvas canvas(10, 10);
  EXPECT_THROW(DrawResourceBitmap(&canvas, White, {0, 0, 10, 10}, "NOSUCHGLYPH"), vcl::EResNotFound);
}

TEST(GridDraw, ErrorUnderlineRunsUnderTheRange) {
  TFakeMetricsCanvas canvas(200, 30);
  canvas.Brush()->SetColor(White);
  canvas.FillRect({0, 0, 200, 30});
  DrawErrorUnderline(nullptr, &canvas, "hello world", {0, 0, 200, 20}, 10, 6, 5);
  // Characters are 8 pixels: the range starts at 48 and its last character at 80.
  Integer first = 200, last = -1;
  for (Integer x = 0; x < 200; ++x)
    for (Integer y = 0; y < 30; ++y)
      if (canvas.Pixels(x, y) == 0x0000FF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  EXPECT_GE(first, 47);
  EXPECT_LE(first, 49);
  EXPECT_GE(last, 80);
  EXPECT_LE(last, 90);
}
