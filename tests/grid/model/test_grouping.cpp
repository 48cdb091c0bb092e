// Grouping over the model: the layout with headers, summaries and spans,
// the grouped column given back, merged and coloured rows, sub-groups,
// the guards, and a seeded property run with expanding and collapsing.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grid/model/Grouping.h"

using namespace grid;

namespace {

using GroupRows = std::vector<std::vector<std::string>>;

// One fixed row of titles, then data rows (origin, group value, sub value,
// more), each with a height of its own.
void GroupFill(TGridModel& m, const std::vector<std::vector<std::string>>& data) {
  m.SetColCount(static_cast<Integer>(data[0].size()));
  m.SetRowCount(static_cast<Integer>(data.size()) + 1);
  for (Integer c = 0; c < m.ColCount(); ++c) m.SetRawCell(c, 0, "title" + std::to_string(c));
  for (Integer r = 0; r < static_cast<Integer>(data.size()); ++r) {
    for (Integer c = 0; c < m.ColCount(); ++c) m.SetRawCell(c, r + 1, data[r][c]);
    m.SetRowHeights(r + 1, 20 + r);
  }
}

GroupRows GroupTable(const TGridModel& m) {
  GroupRows rows;
  for (Integer r = 0; r < m.RowCount(); ++r) {
    std::vector<std::string> row;
    for (Integer c = 0; c < m.ColCount(); ++c) row.push_back(m.GetRawCell(c, r));
    rows.push_back(row);
  }
  return rows;
}

std::vector<Integer> GroupHeights(const TGridModel& m) {
  std::vector<Integer> v;
  for (Integer r = 0; r < m.RowCount(); ++r) v.push_back(m.RowHeights(r));
  return v;
}

// "H" header (node), "S" summary, "." data.
std::string GroupKinds(const TRowNodes& n, const TGridModel& m) {
  std::string s;
  for (Integer r = m.FixedRows(); r < m.RowCount(); ++r) s += n.IsNode(r) ? 'H' : n.IsSummary(r) ? 'S' : '.';
  return s;
}

}  // namespace

TEST(Grouping, LayoutWithSummariesAndBack) {
  TGridModel m;
  GroupFill(m, {{"1", "A", "x"}, {"2", "A", "y"}, {"3", "B", "x"}, {"4", "B", "x"}, {"5", "C", "y"}, {"6", "C", "z"}});
  m.SetColWidths(1, 77);
  const GroupRows before = GroupTable(m);
  const auto heights = GroupHeights(m);
  TRowNodes n(m);
  TRowGrouping g(m, n);
  g.Options.Summary = true;
  Integer current = -1;
  g.SetCurrentRow = [&](Integer row) { current = row; };
  g.Group(1);
  EXPECT_EQ(g.GroupedColumn(), 1);
  EXPECT_EQ(m.ColCount(), 2);
  EXPECT_EQ(GroupKinds(n, m), "H..SH..SH..S");
  for (Integer r : {1, 5, 9}) EXPECT_EQ(n.GetNodeSpan(r), 3) << r;
  // The header texts stand in column 1 (written to column 2 before column
  // 1 left).
  EXPECT_EQ(m.GetRawCell(1, 1), "A");
  EXPECT_EQ(m.GetRawCell(1, 5), "B");
  EXPECT_EQ(m.GetRawCell(1, 9), "C");
  EXPECT_EQ(m.GetRawCell(1, 2), "x");
  EXPECT_EQ(current, 1);
  // Collapsing a group leaves its summary row shown.
  n.ContractNode(5);
  EXPECT_EQ(GroupKinds(n, m), "H..SHSH..S");
  g.UnGroup();
  EXPECT_EQ(g.GroupedColumn(), -1);
  EXPECT_EQ(GroupTable(m), before);
  EXPECT_EQ(GroupHeights(m), heights);
  EXPECT_EQ(m.ColWidths(1), 77);
  EXPECT_EQ(n.NodeCount(), 0);
  EXPECT_EQ(m.NumHiddenRows(), 0);
}

TEST(Grouping, AdjacentValuesOnlySingleGroupAndGuards) {
  TGridModel m;
  GroupFill(m, {{"1", "X", "a"}, {"2", "X", "b"}, {"3", "Y", "c"}, {"4", "X", "d"}});
  const GroupRows before = GroupTable(m);
  TRowNodes n(m);
  TRowGrouping g(m, n);
  g.Group(2);  // column 2: every value differs
  EXPECT_EQ(GroupKinds(n, m), "H.H.H.H.");
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
  g.Group(1);
  EXPECT_EQ(GroupKinds(n, m), "H..H.H.");  // X, Y, X: three groups
  g.Group(1);                              // grouped again: ungrouped first
  EXPECT_EQ(GroupKinds(n, m), "H..H.H.");
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
  // A fixed column and column 0 change nothing.
  g.Group(0);
  EXPECT_EQ(g.GroupedColumn(), -1);
  m.SetFixedCols(0);
  g.Group(0);
  EXPECT_EQ(g.GroupedColumn(), -1);
  EXPECT_EQ(GroupTable(m), before);
  // A single group with summaries: one summary, after it.
  TGridModel one;
  GroupFill(one, {{"1", "Q", "a"}, {"2", "Q", "b"}});
  TRowNodes n1(one);
  TRowGrouping g1(one, n1);
  g1.Options.Summary = true;
  g1.Group(1);
  EXPECT_EQ(GroupKinds(n1, one), "H..S");
  // No data rows: nothing.
  TGridModel empty;
  empty.SetColCount(3);
  empty.SetRowCount(2);
  empty.SetFixedFooters(1);
  TRowNodes n2(empty);
  TRowGrouping g2(empty, n2);
  g2.Group(1);
  EXPECT_EQ(g2.GroupedColumn(), -1);
  EXPECT_EQ(empty.RowCount(), 2);
}

TEST(Grouping, FixedTextsAndTheTextColumnForColumnOne) {
  TGridModel m;
  GroupFill(m, {{"1", "A", "x", "p"}, {"2", "B", "y", "q"}, {"3", "B", "y", "r"}, {"4", "", "sum", "foot"}});
  m.SetFixedFooters(1);
  const GroupRows before = GroupTable(m);
  TRowNodes n(m);
  TRowGrouping g(m, n);
  g.Group(2);
  EXPECT_EQ(GroupKinds(n, m), "H.H...");  // the footer row last
  EXPECT_EQ(m.GetRawCell(1, 1), "x");
  EXPECT_EQ(m.GetRawCell(1, 3), "y");
  EXPECT_EQ(m.GetRawCell(2, 6), "foot");  // column 3 moved to 2
  EXPECT_EQ(m.GetRawCell(2, 0), "title3");
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
  g.Group(1);
  EXPECT_EQ(m.GetRawCell(1, 1), "A");
  EXPECT_EQ(m.GetRawCell(1, 3), "B");
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
}

TEST(Grouping, ColoursAndMerges) {
  TGridModel m;
  GroupFill(m, {{"1", "A", "x", "m"}, {"2", "A", "y", "n"}, {"3", "B", "x", "o"}});
  const GroupRows before = GroupTable(m);
  TRowNodes n(m);
  TRowGrouping g(m, n);
  g.ToRGB = [](TColor c) { return c == 0xFF00000F ? TColor(0xF0F0F0) : c; };
  g.Options.Summary = true;
  g.Options.HeaderColor = 0xFF00000F;  // clBtnFace
  g.Options.HeaderTextColor = 0x0000FF;
  g.Options.SummaryColor = 0x00FF00;
  g.Group(1);
  ASSERT_EQ(GroupKinds(n, m), "H..SH.S");
  EXPECT_EQ(m.CellProperties(1, 1).BrushColor(), 0xF0F0F0);
  EXPECT_EQ(m.CellProperties(1, 1).FontColor, 0x0000FF);
  EXPECT_EQ(m.CellProperties(1, 5).BrushColor(), 0xFF00000F);  // the last header: as set
  EXPECT_EQ(m.CellProperties(1, 4).BrushColor(), 0x00FF00);
  EXPECT_EQ(m.CellProperties(2, 7).BrushColor(), 0x00FF00);
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
  for (Integer r = 1; r < m.RowCount(); ++r) EXPECT_FALSE(m.HasCellProperties(1, r)) << r;

  g.Options.MergeHeader = true;
  g.Options.MergeSummary = true;
  g.Group(1);
  ASSERT_EQ(GroupKinds(n, m), "H..SH.S");
  for (Integer r : {1, 4, 5, 7}) {
    EXPECT_TRUE(m.IsBaseCellAt(1, r)) << r;
    EXPECT_EQ(m.CellSpan(1, r).X, m.ColCount() - 2) << r;
  }
  EXPECT_EQ(m.CellProperties(1, 1).BrushColor(), 0xF0F0F0);
  EXPECT_EQ(m.CellProperties(1, 7).BrushColor(), 0x00FF00);
  g.UnGroup();
  EXPECT_EQ(GroupTable(m), before);
  EXPECT_EQ(m.MergeCount(), 0);
}

TEST(Grouping, SubGroupsAndBack) {
  TGridModel m;
  GroupFill(m, {{"1", "A", "x", "a"},
                {"2", "A", "x", "b"},
                {"3", "A", "y", "c"},
                {"4", "B", "y", "d"},
                {"5", "B", "y", "e"}});
  const GroupRows before = GroupTable(m);
  TRowNodes n(m);
  TRowGrouping g(m, n);
  g.Group(1);  // columns now: origin, sub value, more
  g.SubGroup(1);
  EXPECT_EQ(GroupKinds(n, m), "HH..H.HH..");
  EXPECT_EQ(m.GetRawCell(2, 2), "x");  // sub-headers hold the value one column on
  EXPECT_EQ(m.GetRawCell(2, 5), "y");
  EXPECT_EQ(m.GetRawCell(1, 3), "");  // the data rows' values moved out
  EXPECT_EQ(n.GetNodeSpan(1), 6);     // header A: itself, two sub-headers, three rows
  EXPECT_EQ(n.GetNodeInsertedCount(1), 2);
  EXPECT_EQ(n.GetNodeSpan(2), 3);
  EXPECT_EQ(n.GetNodeLevel(2), 2);
  EXPECT_EQ(m.CellGraphic(0, 2)->CellVar, 1);
  EXPECT_EQ(m.CellGraphic(0, 1)->CellVar, -1);
  // Collapsing a sub-group, then the group, and opening the group again.
  n.ContractNode(2);
  n.ContractNode(1);
  EXPECT_EQ(GroupKinds(n, m), "HHH..");
  n.ExpandNode(1);
  EXPECT_EQ(GroupKinds(n, m), "HH..H.HH..");
  g.UnSubGroup(1);
  EXPECT_EQ(GroupKinds(n, m), "H...H..");
  EXPECT_EQ(n.GetNodeSpan(1), 4);
  EXPECT_EQ(n.GetNodeInsertedCount(1), 0);
  EXPECT_EQ(m.GetRawCell(1, 3), "x");
  g.SubGroup(1);
  g.UnGroup();  // the sub-groups go first
  EXPECT_EQ(GroupTable(m), before);
  EXPECT_EQ(n.NodeCount(), 0);
  // The last column has no column beside it for sub-header texts.
  g.SubGroup(m.ColCount() - 1);
  EXPECT_EQ(GroupTable(m), before);
}

TEST(Grouping, SeededPropertyRunGivesTheGridBack) {
  for (unsigned seed = 1; seed <= 120; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](Integer lo, Integer hi) { return std::uniform_int_distribution<Integer>(lo, hi)(rng); };
    std::vector<std::vector<std::string>> data;
    const Integer rows = pick(1, 14);
    for (Integer r = 0; r < rows; ++r)
      data.push_back({std::to_string(r), std::string(1, char('A' + pick(0, 2))), std::string(1, char('p' + pick(0, 2))),
                      std::string(1, char('u' + pick(0, 1))), "z" + std::to_string(r)});
    TGridModel m;
    GroupFill(m, data);
    const GroupRows before = GroupTable(m);
    const auto heights = GroupHeights(m);
    TRowNodes n(m);
    TRowGrouping g(m, n);
    g.Options.Summary = pick(0, 1) == 1;
    g.Options.MergeHeader = pick(0, 1) == 1;
    g.Options.MergeSummary = pick(0, 1) == 1;
    g.Options.HeaderColor = pick(0, 1) ? clNone : 0x123456;
    std::string trace;
    for (int step = 0; step < 12; ++step) {
      const Integer op = pick(0, 5);
      if (op == 0) {
        const Integer col = pick(1, 3);
        trace += " group(" + std::to_string(col) + ")";
        g.Group(col);
      } else if (op == 1 && g.GroupedColumn() > 0 && g.SubGroupedColumns().empty()) {
        const Integer col = pick(1, 2);
        trace += " sub(" + std::to_string(col) + ")";
        g.SubGroup(col);
      } else if (op == 2 || op == 3) {
        const Integer d = pick(m.FixedRows(), m.RowCount() - 1);
        if (n.IsNode(d)) {
          trace += (n.GetNodeState(d) ? " expand(" : " contract(") + std::to_string(d) + ")";
          if (n.GetNodeState(d))
            n.ExpandNode(m.RealRowIndex(d));
          else
            n.ContractNode(m.RealRowIndex(d));
        }
      } else if (op == 4) {
        n.ExpandOne = !n.ExpandOne;
        trace += n.ExpandOne ? " one" : " all";
      } else if (op == 5 && pick(0, 2) == 0) {
        trace += " ungroup";
        g.UnGroup();
        ASSERT_EQ(GroupTable(m), before) << "seed " << seed << ":" << trace;
      }
      m.Check();
      for (Integer d = 0; d < m.RowCount(); ++d) ASSERT_EQ(m.DisplRowIndex(m.RealRowIndex(d)), d);
    }
    n.ExpandAll();
    g.UnGroup();
    ASSERT_EQ(GroupTable(m), before) << "seed " << seed << ":" << trace;
    ASSERT_EQ(GroupHeights(m), heights) << "seed " << seed << ":" << trace;
    ASSERT_EQ(m.NumHiddenRows(), 0);
    ASSERT_EQ(n.NodeCount(), 0);
  }
}
