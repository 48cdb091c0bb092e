// The tool panels' window-free pieces: the stepped gradient in pixels, the
// three colour presets as tables, the colour-scheme choice and the tab
// geometry of a strip.
#include <gtest/gtest.h>

#include <memory>

#include "controls/ToolPanelDrawing.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

using namespace controls;
using namespace controls::toolpanels;
using vcl::TBitmap;
using vcl::TColor;

namespace {

constexpr TColor kPanelSheet = 0x215F3A;  // no routine here draws it

std::unique_ptr<TBitmap> PanelSheet(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(kPanelSheet);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

TColor PanelPixel(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

}  // namespace

TEST(ToolPanelGradient, BandsCoverTheRectangleLessOneAndReachIntoTheNext) {
  // Ten rows lose one: 9 / 4 = 2.25 rows a band, offsets round(0, 2.25,
  // 4.5, 6.75) = 0, 2, 4 (half to even), 7, each band round(2.25) + 1 = 3
  // rows, so the last one ends at the rectangle's own last row.
  const TColor from = vcl::clBlack, to = vcl::RGB(100, 200, 40);
  const TColor band[4] = {vcl::RGB(0, 0, 0), vcl::RGB(25, 50, 10), vcl::RGB(50, 100, 20), vcl::RGB(75, 150, 30)};
  const int rowBand[12] = {0, 0, 1, 1, 2, 2, 2, 3, 3, 3, -1, -1};
  auto v = PanelSheet(6, 12);
  DrawGradient(v->Canvas(), from, to, false, vcl::Rect(0, 0, 6, 10), 4);
  for (int y = 0; y < 12; ++y)
    for (int x : {0, 3, 5}) EXPECT_EQ(PanelPixel(*v, x, y), rowBand[y] < 0 ? kPanelSheet : band[rowBand[y]]) << x << "," << y;
  // Horizontal: the same bands from left to right, the height untouched.
  auto h = PanelSheet(12, 4);
  DrawGradient(h->Canvas(), from, to, true, vcl::Rect(0, 0, 10, 3), 4);
  for (int x = 0; x < 12; ++x) {
    for (int y = 0; y < 3; ++y)
      EXPECT_EQ(PanelPixel(*h, x, y), rowBand[x] < 0 ? kPanelSheet : band[rowBand[x]]) << x << "," << y;
    EXPECT_EQ(PanelPixel(*h, x, 3), kPanelSheet) << x;
  }
}

TEST(ToolPanelGradient, NoStepsIsOneBandAndSystemColoursResolve) {
  for (int steps : {0, -3, 1}) {
    auto b = PanelSheet(6, 8);
    DrawGradient(b->Canvas(), vcl::clBtnFace, vcl::clBlack, false, vcl::Rect(1, 1, 5, 7), steps);
    const TColor face = vcl::GetSysColor(15);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 6; ++x) {
        // One band of 5 rows after the bottom moved in, plus its extra row.
        const bool inside = x >= 1 && x < 5 && y >= 1 && y < 7;
        EXPECT_EQ(PanelPixel(*b, x, y), inside ? face : kPanelSheet) << steps << ": " << x << "," << y;
      }
  }
}

TEST(ToolPanelPresets, EveryStyleButCustomHasItsColours) {
  struct Case {
    TToolPanelStyle style;
    TStripColours strip;
    TColor panelColor, panelFocusFont, panelDownTo;
    TColor sectionCaption;
    TGradientDirection sectionDir;
    TColor sectionBackTo;
  } cases[] = {
      {esOffice2003Blue, {0, 0xFCE1CB, 0xE0A57D, 0xDCFFFF, 0x5BC0F7, 0x962D00, 0xFFFFFF, 0xF7EFDE, false},
       0xFFE7D6, 0, 0x7CDAF7, 0xF7DEC6, gdHorizontal, 0xF7D6BD},
      {esOffice2003Classic, {0, 0xFFFFFF, 0xC9D1D5, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xFFFFFF, 0xECEFF0, false},
       0xE7E7EF, 0, 0xB59285, 0xE7E7E7, gdHorizontal, 0xECEFF0},
      {esOffice2007Luna, {0x723708, 0xFFEFE3, 0xFFD2AF, 0xDCFFFF, 0x5BC0F7, 0xFFD2AF, 0xFFF4E3, 0xEDD9C8, false},
       0xFFF4E3, 0x723708, 0x7CDAF7, 0xFDD6B7, gdVertical, 0xF7D6BD},
      {esWindowsXP,
       {0xFFFFFF, vcl::clInactiveCaption, vcl::clInactiveCaption, vcl::clHighlight, vcl::clHighlight, 0,
        vcl::clBtnFace, vcl::clBtnFace, false},
       vcl::clBtnFace, 0xFFFFFF, vcl::clNone, 0xFFFFFF, gdVertical, vcl::clBtnFace},
      {esWhidbey, {0, 0xEBEEEF, 0x7E9898, 0xDCFFFF, 0x5BC0F7, 0x962D00, 0xEBEEEF, 0x7E9898, true}, 0xEBEEEF, 0,
       0x7CDAF7, 0xEBEEEF, gdVertical, vcl::clNone},
      {esOffice2007Silver, {0x723708, 0xF8F7F6, 0xE8E0DB, 0xDCFFFF, 0x5BC0F7, 0x74706F, 0xFFFFFF, 0xDDD4D0, false},
       0xDEDDDE, 0x723708, 0x7CDAF7, 0xFAEEEB, gdVertical, 0xFBFAF0},
      {esWindowsVista, {0, 0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFFFAF0, 0xFDDE99, 0xFDF8F1, 0xFCEFD5, true}, 0xFDF8F1, 0,
       0xFCEFD5, 0xFFFDF9, gdVertical, 0xFFFFFF},
      {esWindows7, {0, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0xFCEBDC, 0xFCDBC1, true}, 0xFDFBFA, 0,
       0xFCDBC1, 0xFDFBFA, gdVertical, 0xFDF3EB},
      {esTerminal,
       {0, vcl::clBtnFace, vcl::clNone, 0xFFFFFF, 0xFFFFFF, 0, vcl::clBtnFace, vcl::clNone, true},
       vcl::clBtnFace, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, gdVertical, vcl::clNone},
  };
  for (const Case& c : cases) {
    const TStripColours* s = StripColoursOf(c.style);
    ASSERT_NE(s, nullptr) << c.style;
    const TColor want[8] = {c.strip.FontColor, c.strip.TabColor,  c.strip.TabColorTo, c.strip.TabHoverColor,
                            c.strip.TabHoverColorTo, c.strip.TabBorderColor, c.strip.Color, c.strip.ColorTo};
    const TColor got[8] = {s->FontColor,       s->TabColor,       s->TabColorTo, s->TabHoverColor,
                           s->TabHoverColorTo, s->TabBorderColor, s->Color,      s->ColorTo};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], want[i]) << c.style << " strip colour " << i;
    EXPECT_EQ(s->StopsThemeAdapt, c.strip.StopsThemeAdapt) << c.style;
    const TPanelColours* p = PanelColoursOf(c.style);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Color, c.panelColor) << c.style;
    EXPECT_EQ(p->FocusCaptionFontColor, c.panelFocusFont) << c.style;
    EXPECT_EQ(p->DownButtonColorTo, c.panelDownTo) << c.style;
    const TSectionLayoutColours* l = SectionLayoutColoursOf(c.style);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->CaptionColor, c.sectionCaption) << c.style;
    EXPECT_EQ(l->CaptionGradientDir, c.sectionDir) << c.style;
    EXPECT_EQ(l->BackGroundColorTo, c.sectionBackTo) << c.style;
  }
  // esCustom changes nothing; every other style has all three tables, and
  // no row was left empty by mistake (every preset's tab colour is set).
  EXPECT_EQ(StripColoursOf(esCustom), nullptr);
  EXPECT_EQ(PanelColoursOf(esCustom), nullptr);
  EXPECT_EQ(SectionLayoutColoursOf(esCustom), nullptr);
  for (int i = esOffice2003Blue; i <= esTerminal; ++i) {
    const auto style = static_cast<TToolPanelStyle>(i);
    if (style == esCustom) continue;
    EXPECT_NE(StripColoursOf(style)->TabColor, 0u) << i;
    EXPECT_NE(PanelColoursOf(style)->Color, 0u) << i;
    EXPECT_NE(SectionLayoutColoursOf(style)->CaptionColor, 0u) << i;
  }
}

TEST(ToolPanelPresets, TheDesktopsColourSchemeChoosesAStyle) {
  struct Case {
    bool active;
    const char16_t* scheme;
    TToolPanelStyle want;
  } cases[] = {
      {true, u"NormalColor", esOffice2003Blue}, {true, u"HomeStead", esOffice2003Olive},
      {true, u"Metallic", esOffice2003Silver},  {true, u"normalcolor", esOffice2003Classic},
      {true, u"Royale", esOffice2003Classic},   {false, u"NormalColor", esOffice2003Classic},
      {true, nullptr, esOffice2003Classic},
  };
  for (const Case& c : cases) EXPECT_EQ(StyleForColorScheme(c.active, c.scheme), c.want);
}

TEST(ToolPanelTabs, LengthsPositionsAndTheHitRanges) {
  EXPECT_EQ(TabLength(40, false, 16), 44);
  EXPECT_EQ(TabLength(40, true, 16), 66);
  // Four panels, the second pinned (no tab): tabs at 2 and 2 + 44 + 10.
  const std::vector<int> lengths{44, -1, 66, 20};
  const auto tabs = LayOutTabs(lengths, 0);
  ASSERT_EQ(tabs.size(), 3u);
  EXPECT_EQ(tabs[0].Item, 0);
  EXPECT_EQ(tabs[0].Start, 2);
  EXPECT_EQ(tabs[1].Item, 2);
  EXPECT_EQ(tabs[1].Start, 56);
  EXPECT_EQ(tabs[2].Item, 3);
  EXPECT_EQ(tabs[2].Start, 132);
  EXPECT_EQ(TabsLength(lengths), 2 + 54 + 76 + 30);
  // A scroll offset moves every tab, not the total.
  EXPECT_EQ(LayOutTabs(lengths, -20)[1].Start, 36);
  EXPECT_EQ(LayOutTabs({}, 0).size(), 0u);
  EXPECT_EQ(TabsLength({-1, -1}), 2);

  // Hit ranges, exclusive at both ends: the first tab from 4 to 54, the
  // six-pixel gap after its painted end (50) partly outside every tab.
  struct Case {
    int along, stripLength, want;
  } cases[] = {
      {3, 400, -1},  {4, 400, 0},   {54, 400, 0},  {55, 400, -1}, {57, 400, -1}, {58, 400, 2},
      {130, 400, 2}, {131, 400, -1}, {134, 400, 3}, {160, 400, 3}, {161, 400, -1}, {1000, 400, -1},
      // Tabs longer than the strip: the last 10 pixels are the scroll band.
      {140, 150, 3}, {140, 149, -1}, {139, 149, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TabAtPos(tabs, c.along, c.stripLength, TabsLength(lengths)), c.want) << c.along << " in " << c.stripLength;
}

TEST(ToolPanelTabs, TheTabRectangleOnEachEdge) {
  const vcl::TRect client{0, 0, 23, 300};
  const vcl::TRect wide{0, 0, 300, 23};
  struct Case {
    TPanelPosition position;
    vcl::TRect client, want;
  } cases[] = {
      {ppLeft, client, {0, 10, 22, 58}},
      {ppRight, client, {2, 10, 23, 58}},
      {ppTop, wide, {10, 0, 58, 22}},
      {ppBottom, wide, {10, 1, 58, 23}},
  };
  for (const Case& c : cases) {
    const vcl::TRect r = TabRect(c.position, c.client, 23, 10, 44);
    EXPECT_EQ(r.Left, c.want.Left) << c.position;
    EXPECT_EQ(r.Top, c.want.Top) << c.position;
    EXPECT_EQ(r.Right, c.want.Right) << c.position;
    EXPECT_EQ(r.Bottom, c.want.Bottom) << c.position;
  }
  EXPECT_TRUE(IsVerticalStrip(ppLeft));
  EXPECT_TRUE(IsVerticalStrip(ppRight));
  EXPECT_FALSE(IsVerticalStrip(ppTop));
  EXPECT_FALSE(IsVerticalStrip(ppBottom));
}

TEST(ToolPanelGlyph, ThreeSlicesWithTheCornerColourLeftOut) {
  // A 3 x 6 glyph, one colour per row (per column when turned), the key in
  // the corner that names it and once more in the first half.
  const TColor key = vcl::RGB(255, 0, 255);
  const TColor row[6] = {0x000010, 0x000020, 0x000030, 0x000040, 0x000050, 0x000060};
  for (bool vertical : {true, false}) {
    TBitmap glyph(vertical ? 3 : 6, vertical ? 6 : 3);
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 3; ++j) glyph.Canvas()->SetPixels(vertical ? j : i, vertical ? i : j, row[i]);
    // Bottom-left when vertical, top-right when horizontal.
    glyph.Canvas()->SetPixels(vertical ? 0 : 5, vertical ? 5 : 0, key);
    glyph.Canvas()->SetPixels(vertical ? 1 : 0, vertical ? 0 : 1, key);
    auto sheet = PanelSheet(14, 14);
    DrawThreeSliceGlyph(sheet->Canvas(), &glyph, 1, 1, 10, vertical);
    // Along the strip: rows 0-2, the slice (rows 2 and 3) over 4, rows 3-5.
    const int source[10] = {0, 1, 2, 2, 2, 3, 3, 3, 4, 5};
    for (int along = 0; along < 12; ++along)
      for (int across = 0; across < 4; ++across) {
        const int x = vertical ? across + 1 : along + 1, y = vertical ? along + 1 : across + 1;
        TColor want = kPanelSheet;
        if (along < 10 && across < 3) {
          const int s = source[along];
          const bool keyed = (s == 5 && across == 0) || (s == 0 && across == 1);
          want = keyed ? kPanelSheet : row[s];
        }
        EXPECT_EQ(PanelPixel(*sheet, x, y), want) << vertical << " along " << along << " across " << across;
      }
  }
  // Shorter than the glyph: the halves meet, nothing stretched.
  TBitmap small(3, 6);
  small.Canvas()->Brush()->SetColor(0x000070);
  small.Canvas()->FillRect(vcl::Rect(0, 0, 3, 6));
  small.Canvas()->SetPixels(0, 5, key);
  auto sheet = PanelSheet(8, 10);
  DrawThreeSliceGlyph(sheet->Canvas(), &small, 0, 0, 4, true);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(PanelPixel(*sheet, 1, y), y < 6 ? TColor{0x000070} : kPanelSheet) << y;
}
