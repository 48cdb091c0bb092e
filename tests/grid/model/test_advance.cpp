// Where Enter moves the current cell: the four directions, wrapping,
// appending a row or a column at the end, passing over cells that cannot
// be edited, merged cells, and the walk that ends after one full pass when
// no cell can be edited.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "grid/model/GridAdvance.h"

using namespace grid;

namespace {

// A grid of a given shape whose editable cells a test chooses.
class Host : public TEnterAdvanceHost {
 public:
  TAdvanceShape shape;
  std::function<bool(TCellCoord)> editable = [](TCellCoord) { return true; };
  std::function<TCellCoord(TCellCoord)> span = [](TCellCoord) { return TCellCoord{0, 0}; };
  bool allowAppend = true;
  std::vector<std::string> events;
  int asked = 0;

  TAdvanceShape Shape() const override { return shape; }
  TCellCoord Span(TCellCoord c) const override { return span(c); }
  bool CanEdit(TCellCoord c) override {
    ++asked;
    return editable(c);
  }
  bool AppendRow() override {
    events.push_back(allowAppend ? "row added" : "row refused");
    if (allowAppend) ++shape.RowCount;
    return allowAppend;
  }
  void AppendColumn() override {
    events.push_back("column added");
    ++shape.ColCount;
  }
};

Host FiveByFive() {
  Host h;
  h.shape = {5, 5, 1, 1, 0, 0, 0, 1, false};
  return h;
}

}  // namespace

TEST(EnterAdvance, StepsInEachDirection) {
  struct Case {
    const char* name;
    TCellCoord from;
    bool forward;
    TAdvanceDirection direction;
    bool insert;
    TCellCoord to;
  } cases[] = {
      {"right", {2, 2}, true, adLeftRight, false, {3, 2}},
      {"right at the row's end: next row", {4, 2}, true, adLeftRight, false, {1, 3}},
      {"right at the last cell: wraps to the first data cell", {4, 4}, true, adLeftRight, false, {1, 1}},
      {"down", {2, 2}, true, adTopBottom, false, {2, 3}},
      {"down at the column's end: next column", {2, 4}, true, adTopBottom, false, {3, 1}},
      {"down at the last cell: wraps", {4, 4}, true, adTopBottom, false, {1, 1}},
      {"left", {3, 2}, false, adLeftRight, false, {2, 2}},
      {"left at the first column: previous row's end", {1, 3}, false, adLeftRight, false, {4, 2}},
      {"left at the first data cell: the last row's end", {1, 1}, false, adLeftRight, false, {4, 4}},
      {"up", {2, 3}, false, adTopBottom, false, {2, 2}},
      {"up at the first row: previous column's end", {3, 1}, false, adTopBottom, false, {2, 4}},
      {"up at the first data cell: the last column's end", {1, 1}, false, adTopBottom, false, {4, 4}},
  };
  for (const auto& k : cases) {
    Host h = FiveByFive();
    const TEnterStep step = EnterStep(h, k.from, k.forward, k.direction, k.insert);
    EXPECT_EQ(step.Target, k.to) << k.name;
    EXPECT_FALSE(step.Stop) << k.name;
    EXPECT_TRUE(h.events.empty()) << k.name;
  }
}

TEST(EnterAdvance, FootersAndFixedRightColumnsBoundTheData) {
  Host h = FiveByFive();
  h.shape.FixedFooters = 1;           // row 4 is a footer
  h.shape.FixedRightCols = 1;         // column 4 is fixed at the right
  h.shape.VisibleFixedRightCols = 1;
  EXPECT_EQ(EnterStep(h, {3, 2}, true, adLeftRight, false).Target, (TCellCoord{1, 3}));
  EXPECT_EQ(EnterStep(h, {3, 3}, true, adLeftRight, false).Target, (TCellCoord{1, 1}));
  EXPECT_EQ(EnterStep(h, {2, 3}, true, adTopBottom, false).Target, (TCellCoord{3, 1}));
  EXPECT_EQ(EnterStep(h, {1, 1}, false, adLeftRight, false).Target, (TCellCoord{3, 3}));
  // The floating footer takes the last row.
  Host f = FiveByFive();
  f.shape.FloatingFooterVisible = true;
  EXPECT_EQ(EnterStep(f, {4, 3}, true, adLeftRight, false).Target, (TCellCoord{1, 1}));
}

TEST(EnterAdvance, MergedCellsAreSteppedOverAcrossButNotDown) {
  Host h = FiveByFive();
  h.span = [](TCellCoord c) { return c == TCellCoord{1, 2} ? TCellCoord{2, 1} : TCellCoord{0, 0}; };
  EXPECT_EQ(EnterStep(h, {1, 2}, true, adLeftRight, false).Target, (TCellCoord{4, 2}));
  EXPECT_EQ(EnterStep(h, {1, 2}, true, adTopBottom, false).Target, (TCellCoord{1, 3}));
}

TEST(EnterAdvance, TheLastCellAppendsARowOrAColumn) {
  // Across: a row is appended and the walk moves into it.
  Host h = FiveByFive();
  TEnterAdvance a = PlanEnterAdvance(h, {4, 4}, true, adLeftRight, true);
  EXPECT_TRUE(a.Moved);
  EXPECT_EQ(a.Target, (TCellCoord{1, 5}));
  EXPECT_EQ(h.shape.RowCount, 6);
  EXPECT_EQ(h.events, (std::vector<std::string>{"row added"}));

  // Refused: the first cell of the same row.
  Host r = FiveByFive();
  r.allowAppend = false;
  a = PlanEnterAdvance(r, {4, 4}, true, adLeftRight, true);
  EXPECT_EQ(a.Target, (TCellCoord{1, 4}));
  EXPECT_EQ(r.shape.RowCount, 5);

  // A new row without an editable cell: the current cell stays.
  Host n = FiveByFive();
  n.editable = [](TCellCoord c) { return c.Y < 5; };
  a = PlanEnterAdvance(n, {4, 4}, true, adLeftRight, true);
  EXPECT_FALSE(a.Moved);
  EXPECT_EQ(n.shape.RowCount, 6);

  // Down the last column: a column is appended.
  Host c = FiveByFive();
  a = PlanEnterAdvance(c, {4, 4}, true, adTopBottom, true);
  EXPECT_TRUE(a.Moved);
  EXPECT_EQ(a.Target, (TCellCoord{5, 1}));
  EXPECT_EQ(c.shape.ColCount, 6);
  EXPECT_EQ(c.events, (std::vector<std::string>{"column added"}));
}

TEST(EnterAdvance, CellsThatCannotBeEditedArePassedOver) {
  Host h = FiveByFive();
  // Column 3 and the whole of row 2 from column 2 on are refused.
  h.editable = [](TCellCoord c) { return c.X != 3 && !(c.Y == 2 && c.X >= 2); };
  TEnterAdvance a = PlanEnterAdvance(h, {2, 1}, true, adLeftRight, false);
  EXPECT_EQ(a.Target, (TCellCoord{4, 1}));
  a = PlanEnterAdvance(h, {4, 1}, true, adLeftRight, false);
  EXPECT_EQ(a.Target, (TCellCoord{1, 2}));
  a = PlanEnterAdvance(h, {1, 2}, true, adLeftRight, false);
  EXPECT_EQ(a.Target, (TCellCoord{1, 3}));
  a = PlanEnterAdvance(h, {2, 2}, false, adTopBottom, false);
  EXPECT_EQ(a.Target, (TCellCoord{2, 1}));
}

// Without any editable cell the walk ends after one pass, in every
// direction and with appending on; the current cell stays.
TEST(EnterAdvance, NoEditableCellEndsAfterOnePass) {
  for (bool forward : {true, false})
    for (TAdvanceDirection direction : {adLeftRight, adTopBottom})
      for (bool insert : {false, true}) {
        Host h = FiveByFive();
        h.allowAppend = false;
        h.editable = [](TCellCoord) { return false; };
        const TEnterAdvance a = PlanEnterAdvance(h, {2, 2}, forward, direction, insert);
        EXPECT_FALSE(a.Moved);
        EXPECT_LE(h.asked, 5 * 5 + 5 * 5);
      }
  // A grid of fixed cells only (every column fixed) as well.
  Host f = FiveByFive();
  f.shape.FixedCols = 5;
  f.shape.FirstNavigableColumn = 5;
  f.editable = [](TCellCoord) { return false; };  // fixed cells are never editable
  EXPECT_FALSE(PlanEnterAdvance(f, {4, 2}, true, adLeftRight, false).Moved);
}

// From every cell of a grid with a random set of editable cells, the walk
// finds the first editable cell in reading order after the start (wrapping),
// which a plain scan also finds.
TEST(EnterAdvance, AgreesWithAScanInReadingOrder) {
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 16;
  };
  for (int round = 0; round < 50; ++round) {
    Host h = FiveByFive();
    h.shape.ColCount = 3 + static_cast<Integer>(next() % 5);
    h.shape.RowCount = 3 + static_cast<Integer>(next() % 5);
    std::set<std::pair<Integer, Integer>> editable;
    for (Integer r = 1; r < h.shape.RowCount; ++r)
      for (Integer c = 1; c < h.shape.ColCount; ++c)
        if (next() % 4 == 0) editable.insert({c, r});
    h.editable = [&](TCellCoord c) { return editable.count({c.X, c.Y}) > 0; };
    const Integer cols = h.shape.ColCount - 1, rows = h.shape.RowCount - 1;
    for (Integer r = 1; r <= rows; ++r)
      for (Integer c = 1; c <= cols; ++c) {
        const TEnterAdvance a = PlanEnterAdvance(h, {c, r}, true, adLeftRight, false);
        // The scan: the cells after (c, r) in reading order, wrapping, the
        // start itself last.
        bool found = false;
        TCellCoord expected;
        const Integer index = (r - 1) * cols + (c - 1);
        for (Integer k = 1; k <= cols * rows && !found; ++k) {
          const Integer i = (index + k) % (cols * rows);
          const TCellCoord cell{1 + i % cols, 1 + i / cols};
          if (editable.count({cell.X, cell.Y})) {
            found = true;
            expected = cell;
          }
        }
        EXPECT_EQ(a.Moved, found);
        if (found) EXPECT_EQ(a.Target, expected) << c << "," << r;
      }
  }
}
