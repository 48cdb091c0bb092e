// What a cell shows and its drawing flags: text kinds, formulas, password
// masking, links, single and multiple lines, ellipsis and alignment.
#include <gtest/gtest.h>

#include "grid/model/CellText.h"

using namespace grid;
namespace dt = grid::drawtext;

TEST(CellText, KindsAndShownTexts) {
  struct Case {
    const char* name;
    TCellTextInput in;
    TTextKind kind;
    const char* shown;
  } cases[] = {
      {"plain", {.Text = "3.14159"}, TTextKind::tkPlain, "3.14159"},
      {"html with a closing tag", {.Text = "<b>bold</b>"}, TTextKind::tkHTML, "<b>bold</b>"},
      {"lower-case tag without closing tag is plain", {.Text = "<b>bold"}, TTextKind::tkPlain, "<b>bold"},
      {"html off", {.Text = "<b>bold</b>", .EnableHTML = false}, TTextKind::tkPlain, "<b>bold</b>"},
      {"formula shows the unformatted display text",
       {.Text = "=A1+B1", .FilterText = "=A1+B1"}, TTextKind::tkFormula, "=A1+B1"},
      {"rich text", {.Text = "{\\rtf1 x}"}, TTextKind::tkRTF, "{\\rtf1 x}"},
      {"password of five characters", {.Text = "s3cr\xc3\xa9", .Password = true}, TTextKind::tkPlain, "*****"},
      {"link without its scheme", {.Text = "http://example.org/x", .URLShow = true}, TTextKind::tkPlain,
       "example.org/x"},
      {"mail link", {.Text = "mailto:someone@example.org", .URLShow = true}, TTextKind::tkPlain,
       "someone@example.org"},
      {"full link", {.Text = "http://example.org/x", .URLShow = true, .URLFull = true}, TTextKind::tkPlain,
       "http://example.org/x"},
      {"links not shown", {.Text = "http://example.org/x"}, TTextKind::tkPlain, "http://example.org/x"},
      {"two lines without wrap: the first", {.Text = "one\r\ntwo", .WordWrap = false}, TTextKind::tkPlain, "one"},
      {"two lines as multi-line cells", {.Text = "one\r\ntwo", .WordWrap = false, .Multilinecells = true},
       TTextKind::tkPlain, "one\r\ntwo"},
      {"two lines wrapped", {.Text = "one\r\ntwo"}, TTextKind::tkPlain, "one\r\ntwo"},
  };
  for (const auto& k : cases) {
    const TCellTextPlan plan = PlanCellText(k.in);
    EXPECT_EQ(plan.Kind, k.kind) << k.name;
    EXPECT_EQ(plan.Shown, k.shown) << k.name;
  }
  EXPECT_TRUE(PlanCellText({.Text = "http://example.org", .URLShow = true}).Link);
  EXPECT_FALSE(PlanCellText({.Text = "example.org", .URLShow = true}).Link);
}

TEST(CellText, DrawingFlags) {
  const Cardinal base = dt::ExpandTabs | dt::NoPrefix;
  struct Case {
    const char* name;
    TCellTextInput in;
    Cardinal flags;
  } cases[] = {
      {"wrapped, top left", {.Text = "x"}, dt::EditControl | dt::WordBreak | base},
      {"single line", {.Text = "x", .WordWrap = false}, dt::SingleLine | base},
      {"single line with ellipsis", {.Text = "x", .WordWrap = false, .EnhTextSize = true},
       dt::SingleLine | dt::EndEllipsis | base},
      {"wrapped with ellipsis", {.Text = "x", .EnhTextSize = true},
       dt::EditControl | dt::WordBreak | dt::EndEllipsis | base},
      {"multi-line cells, one line", {.Text = "x", .WordWrap = false, .Multilinecells = true},
       dt::SingleLine | base},
      {"multi-line cells, two lines", {.Text = "a\rb", .WordWrap = false, .Multilinecells = true},
       dt::EditControl | base},
      {"right and centred vertically", {.Text = "x", .HAlign = taRightJustify, .VAlign = vtaCenter},
       dt::EditControl | dt::WordBreak | base | dt::Right | dt::VCenter},
      {"centred at the bottom, right to left",
       {.Text = "x", .HAlign = taCenter, .VAlign = vtaBottom, .RightToLeft = true},
       dt::EditControl | dt::WordBreak | base | dt::Center | dt::Bottom | dt::RtlReading},
      {"wide text", {.Text = "|\\0041", .WordWrap = false, .HAlign = taRightJustify},
       dt::Right | dt::NoPrefix | dt::EndEllipsis | dt::SingleLine},
      {"html", {.Text = "<i>x</i>"}, 0},
  };
  for (const auto& k : cases) EXPECT_EQ(PlanCellText(k.in).Flags, k.flags) << k.name;
}

// Where plain text and the sort indicator go in a header cell from
// (10, 0) to (110, 24) whose text is 30 pixels wide.
TEST(PlainTextLayout, SortIndicatorAndTextRoom) {
  const TTextRect content{10, 0, 110, 24};
  const TTextRect text{12, 2, 108, 24};  // less the margins
  struct Case {
    const char* name;
    TAlignment h;
    TVAlignment v;
    bool sort;
    Integer space;
    bool filter;
    Integer graphicOffset;
    Integer textWidth;
    TTextRect rect;
    bool indicator;
    Integer x, y;
  } cases[] = {
      {"left: 10 after the text", taLeftJustify, vtaTop, true, 14, false, 0, 30, {12, 2, 94, 24}, true, 50, 8},
      {"right: 10 before the text", taRightJustify, vtaTop, true, 14, false, 0, 30, {26, 2, 108, 24}, true, 70, 8},
      {"centre: 8 from the left", taCenter, vtaTop, true, 14, false, 0, 30, {36, 2, 108, 24}, true, 18, 8},
      {"mid-height", taLeftJustify, vtaCenter, true, 14, false, 0, 30, {12, 2, 94, 24}, true, 50, 12},
      {"bottom", taRightJustify, vtaBottom, true, 14, false, 0, 30, {26, 2, 108, 24}, true, 70, 16},
      {"after a left graphic", taLeftJustify, vtaTop, true, 14, false, 18, 30, {12, 2, 94, 24}, true, 68, 8},
      {"filter button", taLeftJustify, vtaTop, true, 14, true, 0, 30, {12, 2, 78, 24}, true, 50, 8},
      {"wide text: room less 16", taLeftJustify, vtaTop, true, 14, false, 0, 500, {12, 2, 94, 24}, true, 104, 8},
      {"wide text with filter", taRightJustify, vtaTop, true, 14, true, 0, 500, {26, 2, 92, 24}, true, 16, 8},
      {"no indicator: full room", taLeftJustify, vtaTop, false, 0, false, 0, 30, {12, 2, 108, 24}, false, 0, 0},
      {"centred, no indicator", taCenter, vtaTop, false, 0, false, 0, 30, {12, 2, 108, 24}, false, 0, 0},
  };
  for (const Case& c : cases) {
    TTextLayoutInput in;
    in.Text = text;
    in.Content = content;
    in.HAlign = c.h;
    in.VAlign = c.v;
    in.SortIndicator = c.sort;
    in.SortSpace = c.space;
    in.FilterGlyph = c.filter;
    in.GraphicOffset = c.graphicOffset;
    in.TextWidth = c.textWidth;
    const TTextLayout out = PlanPlainTextLayout(in);
    EXPECT_EQ(out.Text, c.rect) << c.name;
    EXPECT_EQ(out.Indicator, c.indicator) << c.name;
    if (c.indicator) {
      EXPECT_EQ(out.IndicatorX, c.x) << c.name;
      EXPECT_EQ(out.IndicatorY, c.y) << c.name;
    }
  }
  // An indicator whose index position hides it leaves the text room as is.
  TTextLayoutInput hidden;
  hidden.Text = text;
  hidden.Content = content;
  hidden.SortIndicator = true;
  hidden.SortIndicatorDrawn = false;
  hidden.SortSpace = 14;
  const TTextLayout out = PlanPlainTextLayout(hidden);
  EXPECT_FALSE(out.Indicator);
  EXPECT_EQ(out.Text, (TTextRect{12, 2, 94, 24}));
}
