// The paint plan: which fill, font and fixed-cell look a cell gets, and in
// which precedence, for every look.
#include <gtest/gtest.h>

#include "grid/model/CellPaint.h"

using namespace grid;

namespace {

constexpr TColor PaintFrom = 0xFFFFFF, PaintTo = 0xD8E9EC, PaintWindow = 0xFAFAFA, PaintFixed = 0xC0C0C0;

TCellPaintInput PaintHeader(TPaintLook look) {
  TCellPaintInput in;
  in.Look = look;
  in.FixedPosition = true;
  in.Color = PaintWindow;
  in.FixedColor = PaintFixed;
  in.FixedSet = {PaintFrom, PaintTo, clNone, clNone, clNone, false};
  in.HoverSet = {0x10, 0x11, 0x12, 0x13, 0x14, false};
  in.PressedSet = {0x20, 0x21, 0x22, 0x23, 0x24, false};
  return in;
}

struct LookCase {
  TPaintLook look;
  TColor brush;
  TColor colorTo;
  TFixedFillKind fill;
  TColor sideLines;
  TFixedEdges edges;
};

}  // namespace

TEST(CellPaintPlan, FixedCellsOfEveryLook) {
  using enum TPaintLook;
  using enum TFixedFillKind;
  using enum TFixedEdges;
  const LookCase cases[] = {
      {plStandard, PaintFixed, clNone, ffNone, clNone, feNone},
      {plSoft, PaintFixed, clNone, ffNone, clNone, feSoft},
      {plClassic, PaintFixed, clNone, ffNone, clNone, feClassic},
      {plRUZ, PaintFrom, PaintTo, ffLook, clNone, feRUZ},
      {plXP, PaintFrom, PaintTo, ffLook, clNone, feRUZ},
      {plListView, PaintFrom, PaintTo, ffListView, clNone, feNone},
      {plVista, PaintFrom, PaintTo, ffLook, 0xFFFFFF, feNone},
      {plWin7, PaintFrom, PaintTo, ffLook, clNone, feNone},
      {plOffice2007, PaintFrom, PaintTo, ffLook, clNone, feNone},
      {plCustom, PaintFrom, PaintTo, ffNone, clNone, feNone},
  };
  for (const LookCase& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.look));
    const TCellPaintPlan plan = PlanCellPaint(PaintHeader(k.look));
    EXPECT_TRUE(plan.Fixed);
    EXPECT_EQ(plan.Font, TPlanFont::pfFixedFont);
    EXPECT_EQ(plan.Brush, k.brush);
    EXPECT_EQ(plan.ColorTo, k.colorTo);
    EXPECT_EQ(plan.FixedFill, k.fill);
    EXPECT_EQ(plan.Edges, k.edges);
    if (k.fill == ffLook) {
      EXPECT_EQ(plan.Fill, (TLookFill{PaintFrom, PaintTo, clNone, clNone, k.sideLines, true}));
    }
    // A flat grid keeps the fill colours but draws no look.
    TCellPaintInput flat = PaintHeader(k.look);
    flat.Flat = true;
    const TCellPaintPlan flatPlan = PlanCellPaint(flat);
    EXPECT_EQ(flatPlan.FixedFill, ffNone);
    EXPECT_EQ(flatPlan.Edges, feNone);
    EXPECT_EQ(flatPlan.Brush, k.brush);
  }
}

TEST(CellPaintPlan, HoverActiveHeaderAndSortHeaderTakeTheLookFillInThatOrder) {
  TCellPaintInput in = PaintHeader(TPaintLook::plXP);
  in.ActiveHeader = true;
  in.ActiveCellColor = 0x808080;
  in.ActiveCellColorTo = 0x404040;
  in.SortHeader = true;
  in.SortHeaderSet = {0x31, 0x32, 0x33, 0x34, 0x35, true};
  in.Hovered = true;
  TCellPaintPlan plan = PlanCellPaint(in);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffHover);
  EXPECT_EQ(plan.Fill, in.HoverSet);
  EXPECT_EQ(plan.Font, TPlanFont::pfActiveCellFont);
  in.Pressed = true;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffPressed);
  EXPECT_EQ(plan.Fill, in.PressedSet);
  in.Hovered = false;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffActiveHeader);
  EXPECT_EQ(plan.Fill, (TLookFill{0x808080, 0x404040, clNone, clNone, clNone, false}));
  EXPECT_EQ(plan.Brush, 0x808080u);
  in.ActiveHeader = false;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffSortHeader);
  // The sorted header has no frame.
  EXPECT_EQ(plan.Fill, (TLookFill{0x31, 0x32, 0x33, 0x34, clNone, false}));
  EXPECT_EQ(plan.Font, TPlanFont::pfFixedFont);
}

TEST(CellPaintPlan, NormalCellsOwnColourBandsAndSelection) {
  TCellPaintInput in;
  in.Color = PaintWindow;
  in.FixedColor = PaintFixed;
  // Plain cell: the grid's colour and font.
  TCellPaintPlan plan = PlanCellPaint(in);
  EXPECT_EQ(plan.Brush, PaintWindow);
  EXPECT_EQ(plan.Font, TPlanFont::pfFont);
  EXPECT_FALSE(plan.Fixed);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffNone);
  // A band colours a cell without its own colour; an own colour wins.
  in.BandColor = 0x00E0FF;
  EXPECT_EQ(PlanCellPaint(in).Brush, 0x00E0FFu);
  in.OwnColor = 0x0000FF;
  in.OwnColorTo = 0x000080;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.Brush, 0x0000FFu);
  EXPECT_EQ(plan.ColorTo, 0x000080u);
  EXPECT_TRUE(plan.OwnColor);
  // Selection wins over both, with its text colour.
  in.Selected = true;
  in.SelectionColor = 0xEACAB6;
  in.SelectionColorTo = 0xAA0000;
  in.SelectionTextColor = 0x000001;
  plan = PlanCellPaint(in);
  EXPECT_TRUE(plan.Selected);
  EXPECT_EQ(plan.Brush, 0xEACAB6u);
  EXPECT_EQ(plan.ColorTo, 0xAA0000u);
  EXPECT_EQ(plan.FontColor, 0x000001u);
  // clNone keeps the cell's text colour; no selection colour shows the
  // highlight on an unfocused cell and nothing on the focused one.
  in.SelectionTextColor = clNone;
  in.SelectionColor = clNone;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.FontColor, clNone);
  EXPECT_EQ(plan.Brush, clHighlight);
  in.Focused = true;
  EXPECT_EQ(PlanCellPaint(in).Brush, clNone);
  // ShowSelection off: no selection colours.
  in.ShowSelection = false;
  EXPECT_FALSE(PlanCellPaint(in).Selected);
  EXPECT_EQ(PlanCellPaint(in).Brush, 0x0000FFu);
}

TEST(CellPaintPlan, FixedCellsIgnoreSelectionAndKeepAnOwnColour) {
  TCellPaintInput in = PaintHeader(TPaintLook::plXP);
  in.Selected = true;
  TCellPaintPlan plan = PlanCellPaint(in);
  EXPECT_FALSE(plan.Selected);
  EXPECT_EQ(plan.Brush, PaintFrom);
  // A fixed cell with its own colour keeps it and its font; the look still
  // frames it.
  in.OwnColor = 0x00FF00;
  plan = PlanCellPaint(in);
  EXPECT_EQ(plan.Brush, 0x00FF00u);
  EXPECT_EQ(plan.ColorTo, clNone);
  EXPECT_EQ(plan.FixedFill, TFixedFillKind::ffLook);
  EXPECT_EQ(plan.Fill.From, 0x00FF00u);
  // A cell fixed by the grid's rule (footer, right column) but not by
  // position takes the fixed colours too.
  TCellPaintInput footer;
  footer.Look = TPaintLook::plStandard;
  footer.FixedByRule = true;
  footer.FixedColor = PaintFixed;
  plan = PlanCellPaint(footer);
  EXPECT_TRUE(plan.Fixed);
  EXPECT_EQ(plan.Font, TPlanFont::pfFixedFont);
  EXPECT_EQ(plan.Brush, PaintFixed);
  // The modified mark.
  footer.ModifiedMark = true;
  footer.ModifiedColor = 0x00FFFF;
  EXPECT_EQ(PlanCellPaint(footer).ModifiedMark, 0x00FFFFu);
}
