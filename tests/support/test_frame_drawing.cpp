// Frame styles, the check-box glyph and HSL shading, checked pixel by pixel
// on real bitmaps against the colour tables of each style.
#include <gtest/gtest.h>

#include <QColor>
#include <cmath>
#include <map>
#include <vector>

#include "support/FrameDrawing.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"

using namespace support;
using namespace vcl;

namespace {

constexpr TColor kBackground = clFuchsia;  // what no routine should touch
constexpr TColor kPlain = 0x00C88C5A;      // RGB(90, 140, 200): a plain colour under a shaded frame

// An expected image, built from lines the way the frame tables describe
// them, independently of any canvas.
class ExpectedImage {
 public:
  ExpectedImage(int w, int h) : w_(w), h_(h), pixels_(static_cast<size_t>(w * h), kBackground) {}
  void Set(int x, int y, TColor c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_ && c != clNone) pixels_[static_cast<size_t>(y * w_ + x)] = c;
  }
  TColor At(int x, int y) const { return pixels_[static_cast<size_t>(y * w_ + x)]; }
  // One ring: left and top in ul, then right and bottom in lr; answers the
  // rectangle inside, moved in on the given sides.
  TRect Ring(TRect r, TColor ul, TColor lr, TSides sides) {
    if (sides.Contains(sdLeft))
      for (int y = r.Top; y < r.Bottom; ++y) Set(r.Left, y, ul);
    if (sides.Contains(sdTop))
      for (int x = r.Left; x < r.Right; ++x) Set(x, r.Top, ul);
    if (sides.Contains(sdRight))
      for (int y = r.Top; y < r.Bottom; ++y) Set(r.Right - 1, y, lr);
    if (sides.Contains(sdBottom))
      for (int x = r.Left; x < r.Right; ++x) Set(x, r.Bottom - 1, lr);
    return {r.Left + (sides.Contains(sdLeft) ? 1 : 0), r.Top + (sides.Contains(sdTop) ? 1 : 0),
            r.Right - (sides.Contains(sdRight) ? 1 : 0), r.Bottom - (sides.Contains(sdBottom) ? 1 : 0)};
  }
  int Width() const { return w_; }
  int Height() const { return h_; }

 private:
  int w_, h_;
  std::vector<TColor> pixels_;
};

struct Pass {
  TColor ul, lr;
};

// The passes of each style, outer first, as the frame tables give them.
// An etched frame of outer colour O and inner colour I looks like the
// passes O / I then I / O.
std::vector<Pass> SystemColorPasses(TFrameStyle style) {
  switch (style) {
    case fsStatus: return {{clBtnShadow, clBtnHighlight}};
    case fsPopup: return {{clBtnHighlight, clBtnShadow}};
    case fsRaised: return {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
    case fsLowered: return {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
    case fsButtonUp: return {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
    case fsButtonDown: return {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};
    case fsGroove: return {{clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow}};
    case fsBump: return {{clBtnHighlight, clBtnShadow}, {clBtnShadow, clBtnHighlight}};
    default: return {};
  }
}

std::vector<Pass> ShadedPasses(TFrameStyle style, TColor c) {
  auto D = [c](int n) { return ReduceLuminance(c, n); };
  auto L = [c](int n) { return RaiseLuminance(c, n); };
  switch (style) {
    case fsStatus: return {{D(50), L(100)}};
    case fsPopup: return {{L(100), D(50)}};
    case fsLowered: return {{D(50), L(100)}, {D(100), L(50)}};
    case fsRaised: return {{L(50), D(100)}, {L(100), D(50)}};
    case fsButtonUp: return {{L(100), D(100)}, {L(40), D(50)}};
    case fsButtonDown: return {{D(100), D(100)}, {D(50), D(50)}};
    case fsGroove: return {{D(50), L(100)}, {L(100), D(50)}};
    case fsBump: return {{L(100), D(50)}, {D(50), L(100)}};
    default: return {};
  }
}

ExpectedImage ExpectedFrame(int w, int h, TFrameStyle style, TColor color, TColor frameColor, TSides sides,
                            bool noErase) {
  ExpectedImage e(w, h);
  TRect whole{0, 0, w, h};
  if (!noErase) e.Ring(e.Ring(whole, color, color, kAllSides), color, color, kAllSides);
  std::vector<Pass> passes;
  if (style == fsFlat)
    passes = {{frameColor, frameColor}};
  else if (style == fsFlatBold)
    passes = {{frameColor, frameColor}, {frameColor, frameColor}};
  else if (style != fsNone)
    passes = color == clWindow ? SystemColorPasses(style) : ShadedPasses(style, color);
  TRect r = whole;
  for (const Pass& p : passes) r = e.Ring(r, p.ul, p.lr, sides);
  return e;
}

// A bitmap filled with the untouched colour.
std::unique_ptr<TBitmap> Sheet(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(kBackground);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

// Every pixel of the bitmap against the expectation; the first few
// differences are reported.
::testing::AssertionResult SamePixels(TBitmap& bitmap, const ExpectedImage& expected) {
  int reported = 0;
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  bool failed = false;
  std::string report;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      TColor want = ColorToRGB(expected.At(x, y));
      TColor got = bitmap.Canvas()->Pixels(x, y);
      if (want == got) continue;
      failed = true;
      if (reported++ < 6) {
        char line[96];
        std::snprintf(line, sizeof line, " (%d,%d) want %06X got %06X;", x, y, want, got);
        report += line;
      }
    }
  if (!failed) return result;
  return ::testing::AssertionFailure() << reported << " pixels differ:" << report;
}

const char* StyleName(TFrameStyle s) {
  static const char* names[] = {"fsNone",   "fsFlat",       "fsGroove",   "fsBump",   "fsLowered", "fsButtonDown",
                                "fsRaised", "fsButtonUp",   "fsStatus",   "fsPopup",  "fsFlatBold"};
  return names[static_cast<int>(s)];
}

constexpr TFrameStyle kAllStyles[] = {fsNone,   fsFlat,     fsGroove, fsBump,  fsLowered, fsButtonDown,
                                      fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold};

}  // namespace

TEST(FrameDrawing, FrameSidesMoveInOnlyWhereDrawnAndSkipClNone) {
  auto b = Sheet(8, 6);
  TRect inner;
  PaintFrameSides(b->Canvas(), Rect(0, 0, 8, 6), clRed, inner, {sdLeft, sdTop}, clBlue);
  EXPECT_EQ(inner, Rect(1, 1, 8, 6));
  ExpectedImage e(8, 6);
  e.Ring(Rect(0, 0, 8, 6), clRed, clBlue, {sdLeft, sdTop});
  EXPECT_TRUE(SamePixels(*b, e));

  // clNone as the upper-left colour: only the right and bottom lines.
  b = Sheet(8, 6);
  PaintFrameSides(b->Canvas(), Rect(0, 0, 8, 6), clNone, inner, kAllSides, clBlue);
  EXPECT_EQ(inner, Rect(1, 1, 7, 5));
  ExpectedImage only(8, 6);
  only.Ring(Rect(0, 0, 8, 6), clNone, clBlue, kAllSides);
  EXPECT_TRUE(SamePixels(*b, only));
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), kBackground);
  EXPECT_EQ(b->Canvas()->Pixels(7, 0), clBlue);
  EXPECT_EQ(b->Canvas()->Pixels(0, 5), clBlue);

  // Sides not drawn still leave the rectangle where it was.
  PaintFrameSides(b->Canvas(), Rect(2, 2, 6, 5), clRed, inner, {}, clBlue);
  EXPECT_EQ(inner, Rect(2, 2, 6, 5));
}

TEST(FrameDrawing, BorderAndBoxOutline) {
  auto b = Sheet(10, 10);
  b->Canvas()->Pen()->SetWidth(4);
  TRect inner;
  PaintBorder(b->Canvas(), Rect(0, 0, 10, 10), clRed, inner, kAllSides, 3, clBlue);
  EXPECT_EQ(inner, Rect(3, 3, 7, 7));
  EXPECT_EQ(b->Canvas()->Pen()->Width(), 1);
  ExpectedImage e(10, 10);
  TRect r = Rect(0, 0, 10, 10);
  for (int i = 0; i < 3; ++i) r = e.Ring(r, clRed, clBlue, kAllSides);
  EXPECT_TRUE(SamePixels(*b, e));

  b = Sheet(6, 5);
  PaintBoxOutline(b->Canvas(), Rect(1, 1, 6, 5), clGreen, inner);
  EXPECT_EQ(inner, Rect(2, 2, 5, 4));
  ExpectedImage box(6, 5);
  box.Ring(Rect(1, 1, 6, 5), clGreen, clGreen, kAllSides);
  EXPECT_TRUE(SamePixels(*b, box));
}

TEST(FrameDrawing, EveryStyleOnTheWindowColourAndOnAPlainColour) {
  const TSides sideSets[] = {kAllSides, {sdLeft, sdTop}, {sdRight, sdBottom}, {sdTop, sdRight}, {sdLeft, sdBottom}};
  const TColor colors[] = {clWindow, kPlain, clBtnFace};
  for (TFrameStyle style : kAllStyles)
    for (TColor color : colors)
      for (TSides sides : sideSets)
        for (bool noErase : {false, true}) {
          SCOPED_TRACE(testing::Message() << StyleName(style) << " colour " << std::hex << color << " sides "
                                          << sides.Bits() << (noErase ? " no erase" : ""));
          auto b = Sheet(12, 10);
          PaintControlFrame(b->Canvas(), 12, 10, style, color, clNavy, sides, noErase);
          EXPECT_TRUE(SamePixels(*b, ExpectedFrame(12, 10, style, color, clNavy, sides, noErase)));
        }
}

TEST(FrameDrawing, EtchedCornersWhereASideIsMissing) {
  // Top and right only: the top row ends in the inner colour, the second
  // row starts in it, and the outer column runs to the bottom.
  auto b = Sheet(8, 6);
  PaintControlFrame(b->Canvas(), 8, 6, fsGroove, clWindow, clNavy, {sdTop, sdRight}, true);
  TColor O = ColorToRGB(clBtnShadow), I = ColorToRGB(clBtnHighlight);
  TCanvas* c = b->Canvas();
  EXPECT_EQ(c->Pixels(0, 0), O);
  EXPECT_EQ(c->Pixels(6, 0), O);
  EXPECT_EQ(c->Pixels(7, 0), I);
  EXPECT_EQ(c->Pixels(0, 1), I);
  EXPECT_EQ(c->Pixels(5, 1), I);
  EXPECT_EQ(c->Pixels(6, 1), O);
  EXPECT_EQ(c->Pixels(6, 5), O);
  EXPECT_EQ(c->Pixels(7, 5), I);
  EXPECT_EQ(c->Pixels(0, 2), kBackground);
  // Left and bottom only: the outer line above the bottom edge reaches the
  // right edge, as the outer line of the right side reaches the bottom one
  // above; no pixel of the frame is left out.
  b = Sheet(8, 6);
  PaintControlFrame(b->Canvas(), 8, 6, fsGroove, clWindow, clNavy, {sdLeft, sdBottom}, true);
  EXPECT_EQ(b->Canvas()->Pixels(7, 4), O);
  EXPECT_EQ(b->Canvas()->Pixels(7, 5), I);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), I);
  EXPECT_EQ(b->Canvas()->Pixels(7, 3), kBackground);
  // All four sides: the off-diagonal corners of the outer ring are inner.
  b = Sheet(8, 6);
  PaintControlFrame(b->Canvas(), 8, 6, fsBump, clWindow, clNavy, kAllSides, true);
  O = ColorToRGB(clBtnHighlight), I = ColorToRGB(clBtnShadow);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), O);
  EXPECT_EQ(b->Canvas()->Pixels(7, 0), I);
  EXPECT_EQ(b->Canvas()->Pixels(0, 5), I);
  EXPECT_EQ(b->Canvas()->Pixels(1, 1), I);
  EXPECT_EQ(b->Canvas()->Pixels(6, 1), O);
  EXPECT_EQ(b->Canvas()->Pixels(1, 4), O);
  EXPECT_EQ(b->Canvas()->Pixels(2, 2), kBackground);
}

TEST(FrameDrawing, CheckBoxGlyphStates) {
  // The tick: seven columns of three pixels from the inner rectangle's
  // corner (L, T) = (1, 1).
  const std::vector<std::pair<int, int>> tickColumns = {{3, 5}, {4, 6}, {5, 7}, {6, 6}, {7, 5}, {8, 4}, {9, 3}};
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    SCOPED_TRACE(static_cast<int>(state));
    auto b = Sheet(16, 16);
    b->Canvas()->Brush()->SetColor(clOlive);
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    PaintCheckBoxGlyph(b->Canvas(), Rect(0, 0, 13, 13), state, clNavy, clWhite, clRed);
    int marks = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        TColor want = clWhite;
        if (x >= 13 || y >= 13)
          want = clOlive;
        else if (x == 0 || y == 0 || x == 12 || y == 12)
          want = clNavy;
        else if (state == cbGrayed && x >= 3 && x < 10 && y >= 3 && y < 10)
          want = clRed;
        else if (state == cbChecked)
          for (auto [cx, top] : tickColumns)
            if (x == cx && y >= top && y < top + 3) want = clRed;
        if (want == clRed) ++marks;
        EXPECT_EQ(b->Canvas()->Pixels(x, y), want) << x << "," << y;
      }
    EXPECT_EQ(marks, state == cbChecked ? 21 : state == cbGrayed ? 49 : 0);
  }
}

TEST(FrameDrawing, HslEdgeCases) {
  EXPECT_EQ(RaiseLuminance(clWhite, 100), clWhite);
  EXPECT_EQ(ReduceLuminance(clBlack, 50), clBlack);
  EXPECT_EQ(ReduceLuminance(clBlack, 0), clBlack);
  // Above full luminance every channel clips to white.
  EXPECT_EQ(RaiseLuminance(clRed, 200), clWhite);
  EXPECT_EQ(ReduceLuminance(clRed, 240), clBlack);

  EXPECT_EQ(ColorToHslParts(clRed), (THslParts{0, 240, 120}));
  EXPECT_EQ(ColorToHslParts(clLime), (THslParts{80, 240, 120}));
  EXPECT_EQ(ColorToHslParts(clBlue), (THslParts{160, 240, 120}));
  EXPECT_EQ(ColorToHslParts(clWhite), (THslParts{0, 0, 240}));
  EXPECT_EQ(ColorToHslParts(clBlack), (THslParts{0, 0, 0}));
  EXPECT_EQ(ColorToHslParts(clGray), (THslParts{0, 0, 120}));
  // System colours are resolved first.
  EXPECT_EQ(ColorToHslParts(clBtnFace), ColorToHslParts(ColorToRGB(clBtnFace)));
  Byte h = 1, s = 1, l = 1;
  ColorToHslParts(clYellow, h, s, l);
  EXPECT_EQ((THslParts{h, s, l}), (THslParts{40, 240, 120}));

  struct Case {
    int h, s, l;
    TColor want;
  } cases[] = {
      {0, 0, 0, clBlack},
      {0, 0, 120, RGB(128, 128, 128)},  // 127.5 rounds to even
      {0, 0, 240, clWhite},
      {0, 240, 120, clRed},
      {160, 240, 60, RGB(2, 0, 128)},  // the 239 scale again: a touch of red
      {80, 240, 120, RGB(0, 255, 2)},  // the hue is read on a 0..239 scale
      {239, 240, 120, clRed},          // the scale's end is red again
      {240, 240, 120, RGB(255, 6, 0)}, // past it: read as the first sextant
      {0, 240, 255, clWhite},          // clipped at full intensity
  };
  for (const Case& c : cases) EXPECT_EQ(HslToColorValue(c.h, c.s, c.l), c.want) << c.h << "," << c.s << "," << c.l;
}

TEST(FrameDrawing, HslPartsAgreeWithQtOverAColourCube) {
  int compared = 0;
  for (int r = 0; r < 256; r += 17)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 17) {
        THslParts ours = ColorToHslParts(RGB(static_cast<Byte>(r), static_cast<Byte>(g), static_cast<Byte>(b)));
        QColor q = QColor::fromRgb(r, g, b).toHsl();
        int lum = static_cast<int>(std::lround(q.lightnessF() * 240));
        int sat = static_cast<int>(std::lround(q.hslSaturationF() * 240));
        EXPECT_LE(std::abs(ours.L - lum), 1) << r << "," << g << "," << b;
        EXPECT_LE(std::abs(ours.S - sat), 1) << r << "," << g << "," << b;
        if (ours.S > 0) {
          int hue = static_cast<int>(std::lround(q.hslHueF() * 240));
          int diff = std::abs(ours.H - hue) % 240;
          EXPECT_LE(std::min(diff, 240 - diff), 1) << r << "," << g << "," << b;
        }
        ++compared;
      }
  EXPECT_EQ(compared, 4096);
}

TEST(FrameDrawing, GalleryOfFrameStyles) {
  // Every style on the window colour and on a plain colour, and the three
  // glyphs, for a person to look at.
  const int cell = 40;
  TBitmap sheet(cell * 11 + 10, cell * 2 + 40);
  TCanvas* c = sheet.Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
  const TColor colors[] = {clWindow, kPlain};
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 11; ++i) {
      TBitmap tile(cell - 6, cell - 10);
      tile.Canvas()->Brush()->SetColor(colors[row]);
      tile.Canvas()->FillRect(Rect(0, 0, tile.Width(), tile.Height()));
      PaintControlFrame(tile.Canvas(), tile.Width(), tile.Height(), kAllStyles[i], colors[row], clNavy, kAllSides,
                        false);
      c->Draw(5 + i * cell, 5 + row * cell, &tile);
    }
  TCheckBoxState states[] = {cbUnchecked, cbChecked, cbGrayed};
  for (int i = 0; i < 3; ++i) {
    TBitmap glyph(13, 13);
    PaintCheckBoxGlyph(glyph.Canvas(), Rect(0, 0, 13, 13), states[i], clBtnShadow, clWindow, clHighlight);
    c->Draw(5 + i * 20, cell * 2 + 15, &glyph);
  }
  TPngImage png;
  png.Assign(&sheet);
  AnsiString file = AnsiString(TOLVANE_BIN_DIR) + "/../support_frame_gallery.png";
  png.SaveToFile(file);
  TPicture back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Width(), sheet.Width());
  EXPECT_EQ(back.Height(), sheet.Height());
}
