// Where Tab moves the current cell: along rows and down columns in both
// directions, the wrap into the next row with its three events and their
// veto, the end of the grid with the row append and the hand-over of the
// focus, merged blocks stepped over, cells that cannot be edited passed over
// in an editing grid, and the walk that ends with the current cell where it
// began when no cell can be edited.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "grid/model/GridAdvance.h"

using namespace grid;

namespace {

// A grid whose fixed cells are its tab stops' complement; a block of merged
// cells and the editable cells are the test's to choose.
class TabHost : public TTabAdvanceHost {
 public:
  TAdvanceShape shape;
  std::function<bool(TCellCoord)> editable = [](TCellCoord) { return true; };
  // One merged block: its base cell and spans (none when Span is 0, 0).
  TCellCoord blockBase{-1, -1};
  TCellCoord blockSpan{0, 0};
  bool allowRowChange = true;
  bool allowAppend = true;
  std::vector<std::string> events;

  bool InBlock(TCellCoord c) const {
    return blockBase.X >= 0 && c.X >= blockBase.X && c.X <= blockBase.X + blockSpan.X && c.Y >= blockBase.Y &&
           c.Y <= blockBase.Y + blockSpan.Y;
  }
  TAdvanceShape Shape() const override { return shape; }
  TCellCoord Span(TCellCoord c) const override { return InBlock(c) ? blockSpan : TCellCoord{0, 0}; }
  bool IsBaseCell(TCellCoord c) const override { return !InBlock(c) || c == blockBase; }
  TCellCoord BaseCell(TCellCoord c) const override { return InBlock(c) ? blockBase : c; }
  bool Fixed(TCellCoord c) const {
    return c.X < shape.FixedCols || c.Y < shape.FixedRows || c.X >= shape.ColCount - shape.FixedRightCols ||
           c.Y >= shape.RowCount - shape.FixedFooters;
  }
  bool editing = false;
  bool IsTabStop(TCellCoord c) override { return editing ? !Fixed(c) && editable(c) : !Fixed(c); }
  bool CanEdit(TCellCoord c) override { return !Fixed(c) && editable(c); }
  bool AllowRowChange(TCellCoord from, TCellCoord to) override {
    events.push_back("row change " + std::to_string(from.X) + "," + std::to_string(from.Y) + " -> " +
                     std::to_string(to.X) + "," + std::to_string(to.Y));
    return allowRowChange;
  }
  Integer AppendRow() override {
    events.push_back(allowAppend ? "row added" : "row refused");
    if (!allowAppend) return -1;
    ++shape.RowCount;
    return shape.LastDataRow();
  }
};

TabHost TabFiveByFive() {
  TabHost h;
  h.shape = {5, 5, 1, 1, 0, 0, 0, 1, false};
  return h;
}

}  // namespace

TEST(TabAdvance, StepsInEachDirection) {
  struct Case {
    const char* name;
    TCellCoord from;
    bool backward;
    TAdvanceDirection direction;
    TCellCoord to;
    bool endOfGrid;
  } cases[] = {
      {"right along the row", {1, 1}, false, adLeftRight, {2, 1}, false},
      {"row end to the next row's first stop", {4, 2}, false, adLeftRight, {1, 3}, false},
      {"last cell back to the first data cell", {4, 4}, false, adLeftRight, {1, 1}, true},
      {"down the column", {2, 1}, false, adTopBottom, {2, 2}, false},
      {"column end to the next column's top", {2, 4}, false, adTopBottom, {3, 1}, false},
      {"last column's end to the first column", {4, 4}, false, adTopBottom, {1, 1}, true},
      {"left along the row", {3, 2}, true, adLeftRight, {2, 2}, false},
      {"row start to the row above's last stop", {1, 3}, true, adLeftRight, {4, 2}, false},
      {"first data cell to the last data row", {1, 1}, true, adLeftRight, {4, 4}, false},
      {"up the column", {2, 3}, true, adTopBottom, {2, 2}, false},
      {"column top to the column before's bottom", {2, 1}, true, adTopBottom, {1, 4}, false},
      {"first column's top to the last column's bottom", {1, 1}, true, adTopBottom, {4, 4}, false},
  };
  for (const Case& c : cases) {
    TabHost h = TabFiveByFive();
    TTabOptions options;
    options.Backward = c.backward;
    options.Direction = c.direction;
    const TTabAdvance plan = PlanTabAdvance(h, c.from, options);
    EXPECT_TRUE(plan.Moved) << c.name;
    EXPECT_EQ(plan.Target, c.to) << c.name;
    EXPECT_EQ(plan.EndOfGrid, c.endOfGrid) << c.name;
  }
}

TEST(TabAdvance, TheRowWrapAsksOnceAndARefusalKeepsTheCell) {
  for (bool allow : {true, false}) {
    TabHost h = TabFiveByFive();
    h.allowRowChange = allow;
    // The search to the right runs out of the row: no stop after column 2.
    h.editing = true;
    h.editable = [](TCellCoord c) { return c.Y != 2 || c.X <= 2; };
    TTabOptions options;
    options.Editing = true;
    const TTabAdvance plan = PlanTabAdvance(h, {2, 2}, options);
    EXPECT_EQ(h.events, std::vector<std::string>{"row change 2,2 -> 1,3"});
    EXPECT_EQ(plan.Moved, allow);
    EXPECT_EQ(plan.Refused, !allow);
    if (allow) EXPECT_EQ(plan.Target, (TCellCoord{1, 3}));
  }
  // Asked once, from the start to the cell the walk ends on.
  {
    TabHost h = TabFiveByFive();
    h.editing = true;
    h.editable = [](TCellCoord c) { return c.Y == 2 ? c.X <= 2 : c.X == 3; };
    TTabOptions options;
    options.Editing = true;
    EXPECT_EQ(PlanTabAdvance(h, {2, 2}, options).Target, (TCellCoord{3, 3}));
    EXPECT_EQ(h.events, std::vector<std::string>{"row change 2,2 -> 3,3"});
  }
  // From the last data column the next row is taken without the events.
  TabHost h = TabFiveByFive();
  EXPECT_EQ(PlanTabAdvance(h, {4, 2}, {}).Target, (TCellCoord{1, 3}));
  EXPECT_TRUE(h.events.empty());
}

TEST(TabAdvance, TheEndOfTheGridAppendsARowOrHandsTheFocusOn) {
  struct Case {
    const char* name;
    bool insert, toNext, allow;
    TCellCoord to;
    Integer rows;
    std::vector<std::string> events;
  } cases[] = {
      {"wraps without insert", false, false, true, {1, 1}, 5, {}},
      {"appends a row", true, false, true, {1, 5}, 6, {"row added"}},
      {"refused append wraps", true, false, false, {1, 1}, 5, {"row refused"}},
      {"hand-over wins over insert", true, true, true, {1, 1}, 5, {}},
  };
  for (const Case& c : cases) {
    TabHost h = TabFiveByFive();
    h.allowAppend = c.allow;
    TTabOptions options;
    options.AdvanceInsert = c.insert;
    options.TabToNextAtEnd = c.toNext;
    // From the last data column of the last data row.
    const TTabAdvance plan = PlanTabAdvance(h, {4, 4}, options);
    EXPECT_TRUE(plan.Moved) << c.name;
    EXPECT_EQ(plan.Target, c.to) << c.name;
    EXPECT_TRUE(plan.EndOfGrid) << c.name;
    EXPECT_EQ(h.shape.RowCount, c.rows) << c.name;
    EXPECT_EQ(h.events, c.events) << c.name;
  }
}

TEST(TabAdvance, MergedBlocksAreSteppedOver) {
  TabHost h = TabFiveByFive();
  h.blockBase = {2, 1};
  h.blockSpan = {1, 1};  // (2..3, 1..2)
  // Forward from the block's base: past the block.
  EXPECT_EQ(PlanTabAdvance(h, {2, 1}, {}).Target, (TCellCoord{4, 1}));
  // Into the block's lower row from the left: the covered cell is passed.
  EXPECT_EQ(PlanTabAdvance(h, {1, 2}, {}).Target, (TCellCoord{4, 2}));
  // Backward into the block lands on its base cell.
  TTabOptions back;
  back.Backward = true;
  EXPECT_EQ(PlanTabAdvance(h, {4, 1}, back).Target, (TCellCoord{2, 1}));
  // Backward over a covered row start: the row above's last stop.
  EXPECT_EQ(PlanTabAdvance(h, {1, 3}, back).Target, (TCellCoord{4, 2}));
}

TEST(TabAdvance, AnEditingGridPassesOverCellsThatCannotBeEdited) {
  TabHost h = TabFiveByFive();
  h.editing = true;
  // Only column 3 of rows 2 and 4 may be edited.
  h.editable = [](TCellCoord c) { return c.X == 3 && (c.Y == 2 || c.Y == 4); };
  TTabOptions options;
  options.Editing = true;
  EXPECT_EQ(PlanTabAdvance(h, {1, 1}, options).Target, (TCellCoord{3, 2}));
  EXPECT_EQ(PlanTabAdvance(h, {3, 2}, options).Target, (TCellCoord{3, 4}));
  const TTabAdvance wrap = PlanTabAdvance(h, {3, 4}, options);
  EXPECT_EQ(wrap.Target, (TCellCoord{3, 2}));
  EXPECT_TRUE(wrap.EndOfGrid);
  options.Backward = true;
  EXPECT_EQ(PlanTabAdvance(h, {3, 4}, options).Target, (TCellCoord{3, 2}));
  EXPECT_EQ(PlanTabAdvance(h, {3, 2}, options).Target, (TCellCoord{3, 4}));
}

// With nothing editable the walk comes round once and stops where it began,
// in every direction, with or without the row append (which happens at most
// once).
TEST(TabAdvance, NoEditableCellLeavesTheCurrentCell) {
  for (bool backward : {false, true})
    for (TAdvanceDirection direction : {adLeftRight, adTopBottom})
      for (bool insert : {false, true}) {
        TabHost h = TabFiveByFive();
        h.editing = true;
        h.editable = [](TCellCoord) { return false; };
        TTabOptions options;
        options.Editing = true;
        options.Backward = backward;
        options.Direction = direction;
        options.AdvanceInsert = insert;
        const TTabAdvance plan = PlanTabAdvance(h, {2, 2}, options);
        EXPECT_FALSE(plan.Moved) << backward << static_cast<int>(direction) << insert;
        for (const std::string& e : h.events) EXPECT_EQ(e.rfind("row change", 0), std::string::npos) << e;
        EXPECT_LE(h.shape.RowCount, 6);
      }
  // A grid of fixed cells only.
  TabHost fixedOnly;
  fixedOnly.shape = {2, 2, 2, 2, 0, 0, 0, 2, false};
  fixedOnly.editing = true;
  TTabOptions options;
  options.Editing = true;
  EXPECT_FALSE(PlanTabAdvance(fixedOnly, {0, 0}, options).Moved);
}
