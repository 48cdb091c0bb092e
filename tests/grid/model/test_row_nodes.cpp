// Row nodes over the model: making and removing nodes, collapsing and
// expanding (nested, span 0, ExpandOne), the queries the painting and the
// mouse use, child rows, and a seeded property run whose rows carry their
// origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "grid/model/RowNodes.h"

using namespace grid;

namespace {

// Rows with their number in column 1 and a height of their own; one fixed
// row.
void NodesFill(TGridModel& m, Integer rows) {
  m.SetColCount(3);
  m.SetRowCount(rows);
  for (Integer r = 0; r < rows; ++r) {
    m.SetRawCell(1, r, "r" + std::to_string(r));
    m.SetRowHeights(r, 20 + r);
  }
}

std::vector<std::string> NodesShown(const TGridModel& m) {
  std::vector<std::string> v;
  for (Integer r = 0; r < m.RowCount(); ++r) v.push_back(m.GetRawCell(1, r));
  return v;
}

// Every row in real order, hidden or shown.
std::vector<std::string> NodesAllRows(TGridModel& m) {
  std::vector<std::string> v;
  for (Integer real = 0; real < m.AllRowCount(); ++real) {
    if (m.IsHiddenRow(real))
      v.push_back(m.HiddenRowTexts(real)->Get(1));
    else
      v.push_back(m.GetRawCell(1, m.DisplRowIndex(real)));
  }
  return v;
}

void NodesExpectMappings(const TGridModel& m) {
  m.Check();
  for (Integer d = 0; d < m.RowCount(); ++d) {
    const Integer real = m.RealRowIndex(d);
    ASSERT_FALSE(m.IsHiddenRow(real));
    ASSERT_EQ(m.DisplRowIndex(real), d);
  }
  for (Integer i = 0; i < m.NumHiddenRows(); ++i) ASSERT_LT(m.HiddenRow(i).Idx, m.AllRowCount());
}

using NodeRows = std::vector<std::string>;

}  // namespace

TEST(RowNodes, AddQueriesAndRemove) {
  TGridModel m;
  NodesFill(m, 10);
  TRowNodes n(m);
  int firsts = 0, added = 0;
  n.FirstNodeAdded = [&] { ++firsts; };
  n.NodeAdded = [&] { ++added; };
  EXPECT_EQ(n.GetParentNode(3), -1);  // no node yet
  n.AddNode(2, 5);                     // rows 2..6
  n.AddNode(3, 2);                     // rows 3..4, nested
  EXPECT_EQ(firsts, 1);
  EXPECT_EQ(added, 2);
  EXPECT_EQ(n.NodeCount(), 2);
  EXPECT_TRUE(n.IsNode(2));
  EXPECT_FALSE(n.IsNode(5));
  EXPECT_FALSE(n.IsNode(-1));
  EXPECT_EQ(n.GetNodeLevel(2), 1);
  EXPECT_EQ(n.GetNodeLevel(3), 2);
  EXPECT_EQ(n.RowLevel(4), 2);
  EXPECT_EQ(n.RowLevel(6), 1);
  EXPECT_EQ(n.RowLevel(7), 0);
  EXPECT_EQ(n.GetNodeLevel(5), -1);
  EXPECT_EQ(n.GetNodeSpan(5), -1);
  EXPECT_EQ(n.GetNodeInsertedCount(5), 0);
  EXPECT_EQ(n.GetNodeSpan(2), 5);
  const TCellGraphic* g = m.CellGraphic(0, 3);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->CellAngle, 3);
  EXPECT_EQ(g->CellHAlign, haBeforeText);
  EXPECT_EQ(g->CellVAlign, vaCenter);
  EXPECT_EQ(g->CellVar, -1);
  EXPECT_FALSE(n.GetNodeState(3));
  // Parents: plain rows to their innermost node, nodes to the enclosing
  // one, a top node to itself.
  EXPECT_EQ(n.GetParentNode(4), 3);
  EXPECT_EQ(n.GetParentNode(5), 2);
  EXPECT_EQ(n.GetParentNode(3), 2);
  EXPECT_EQ(n.GetParentNode(2), 2);
  EXPECT_EQ(n.GetParentNode(8), -1);
  // Tree lines: 0 on nodes, 2 while the next row is as deep, 1 at the end.
  EXPECT_EQ(n.GetTreeLineKind(2), 0);
  EXPECT_EQ(n.GetTreeLineKind(4), 1);  // row 5 is shallower
  EXPECT_EQ(n.GetTreeLineKind(5), 2);
  EXPECT_EQ(n.GetTreeLineKind(6), 1);  // row 7 has properties? none: 1
  EXPECT_EQ(n.GetTreeLineKind(9), 1);  // the last row
  n.AddSummaryRow(7);
  EXPECT_TRUE(n.IsSummary(7));
  EXPECT_FALSE(n.IsNode(7));

  n.ContractNode(3);
  n.RemoveNode(3);  // expanded first, then gone
  EXPECT_EQ(m.RowCount(), 10);
  EXPECT_FALSE(n.IsNode(3));
  EXPECT_EQ(n.RowLevel(4), 1);
  EXPECT_EQ(n.NodeCount(), 1);
  n.ContractNode(2);
  n.RemoveAllNodes();
  EXPECT_EQ(n.NodeCount(), 0);
  EXPECT_EQ(m.RowCount(), 10);
  EXPECT_EQ(n.RowLevel(4), 0);
  EXPECT_EQ(m.NumHiddenRows(), 0);
}

TEST(RowNodes, CollapseAndExpandNestedAndSpanZero) {
  TGridModel m;
  NodesFill(m, 12);
  TRowNodes n(m);
  n.AddNode(1, 6);  // 1..6
  n.AddNode(3, 3);  // 3..5
  n.AddNode(8, 0);  // up to the next node row: here to the end
  n.ContractNode(3);
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r2", "r3", "r6", "r7", "r8", "r9", "r10", "r11"}));
  EXPECT_TRUE(n.GetNodeState(3));
  // The outer node takes the collapsed inner one along; opened again it
  // shows every row, the inner one expanded.
  n.ContractNode(1);
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r7", "r8", "r9", "r10", "r11"}));
  NodesExpectMappings(m);
  n.ExpandNode(1);
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9", "r10", "r11"}));
  EXPECT_FALSE(n.GetNodeState(3));
  for (Integer r = 1; r < 12; ++r) EXPECT_EQ(m.RowHeights(r), 20 + r);
  // Span 0 on the last node: to the end of the grid.
  n.ContractNode(8);
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}));
  n.ContractNode(8);  // already collapsed: nothing
  EXPECT_EQ(m.RowCount(), 9);
  n.ExpandNode(8);
  EXPECT_EQ(m.RowCount(), 12);
  n.ExpandNode(8);  // already expanded: nothing
  n.ExpandNode(2);  // no node: nothing
  EXPECT_EQ(m.RowCount(), 12);
}

TEST(RowNodes, SpanZeroEndsAtTheNextNode) {
  TGridModel m;
  NodesFill(m, 8);
  TRowNodes n(m);
  n.AddNode(1, 0);
  n.AddNode(4, 2);
  n.ContractNode(1);
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r4", "r5", "r6", "r7"}));
  n.ExpandNode(1);
  EXPECT_EQ(m.RowCount(), 8);
}

TEST(RowNodes, ExpandOneKeepsTheAncestorsOpen) {
  TGridModel m;
  NodesFill(m, 12);
  TRowNodes n(m);
  n.ExpandOne = true;
  n.AddNode(1, 6);  // 1..6
  n.AddNode(2, 2);  // 2..3
  n.AddNode(4, 3);  // 4..6
  n.AddNode(8, 3);  // 8..10
  n.ContractNode(4);
  // Expanding 4 collapses 2 and 8 (its ancestor 1 stays open).
  n.ExpandNode(4);
  EXPECT_FALSE(n.GetNodeState(1));
  EXPECT_TRUE(m.IsHiddenRow(3));
  EXPECT_FALSE(m.IsHiddenRow(5));
  EXPECT_TRUE(m.IsHiddenRow(9));
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r2", "r4", "r5", "r6", "r7", "r8", "r11"}));
  NodesExpectMappings(m);
  // ExpandAll opens every node, whatever ExpandOne says.
  n.ExpandAll();
  EXPECT_EQ(m.RowCount(), 12);
  for (Integer r : {1, 2, 4, 8}) EXPECT_FALSE(n.GetNodeState(r));
}

TEST(RowNodes, ContractAllMarksTopNodesOnly) {
  TGridModel m;
  NodesFill(m, 10);
  TRowNodes n(m);
  n.AddNode(1, 5);  // 1..5
  n.AddNode(2, 2);  // 2..3
  n.AddNode(7, 2);  // 7..8
  n.ContractAll();
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r6", "r7", "r9"}));
  EXPECT_TRUE(n.GetNodeState(1));
  EXPECT_TRUE(n.GetNodeState(3));  // display row 3 is node 7 now
  NodesExpectMappings(m);
  n.ExpandNode(1);
  EXPECT_FALSE(n.GetNodeState(2));  // the nested node kept its state
  EXPECT_EQ(NodesShown(m), (NodeRows{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r9"}));
  n.ExpandAll();
  EXPECT_EQ(m.RowCount(), 10);
}

TEST(RowNodes, ChildRowsGrowAndShrinkTheSpans) {
  TGridModel m;
  NodesFill(m, 10);
  TRowNodes n(m);
  n.AddNode(1, 5);  // 1..5
  n.AddNode(2, 2);  // 2..3
  m.HideRow(8);     // renumbered only because it lies after the new row
  n.InsertChildRow(3, true);
  EXPECT_EQ(n.GetNodeSpan(1), 6);
  EXPECT_EQ(n.GetNodeSpan(2), 3);
  EXPECT_EQ(n.GetNodeInsertedCount(1), 1);
  EXPECT_EQ(n.GetNodeInsertedCount(2), 1);
  EXPECT_EQ(n.RowLevel(4), 2);
  EXPECT_EQ(m.GetRawCell(1, 4), "");
  EXPECT_TRUE(m.IsHiddenRow(9));
  EXPECT_EQ(m.HiddenRowTexts(9)->Get(1), "r8");
  // On a node row with below off: the node row keeps its place, emptied,
  // its content is the new first child.
  m.SetCellObject(2, 2, &m);
  n.InsertChildRow(2, false);
  EXPECT_TRUE(n.IsNode(2));
  EXPECT_EQ(m.GetRawCell(1, 2), "");
  EXPECT_EQ(m.GetRawCell(1, 3), "r2");
  EXPECT_EQ(m.GetCellObject(2, 3), &m);
  EXPECT_EQ(m.GetCellObject(2, 2), nullptr);
  EXPECT_EQ(n.GetNodeSpan(2), 4);
  EXPECT_EQ(n.GetNodeSpan(1), 7);
  // Outside every node the row is plain.
  n.InsertChildRow(0, false);
  EXPECT_EQ(n.RowLevel(0), 0);
  EXPECT_EQ(n.GetNodeSpan(2), 7);  // node 1 moved to row 2
  // Removing a child shrinks the enclosing nodes.
  EXPECT_TRUE(n.RemoveChildRow(5));
  EXPECT_EQ(n.GetNodeSpan(2), 6);
  EXPECT_EQ(n.GetNodeSpan(3), 3);
  EXPECT_EQ(n.GetNodeInsertedCount(3), 1);
  NodesExpectMappings(m);
}

TEST(RowNodes, SeededPropertyRunKeepsRowsAndMappings) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 rng(seed);
    TGridModel m;
    const Integer rows = 30;
    NodesFill(m, rows);
    TRowNodes n(m);
    auto pick = [&](Integer lo, Integer hi) { return std::uniform_int_distribution<Integer>(lo, hi)(rng); };
    // The nodes made so far as real ranges [start, start + span): nested or
    // apart, never overlapping.
    std::vector<std::pair<Integer, Integer>> nodes;
    Integer inserted = 0;
    std::string trace;
    for (int step = 0; step < 40; ++step) {
      const Integer op = pick(0, 5);
      switch (op) {
        case 0: {
          n.ExpandAll();
          const Integer start = pick(1, m.RowCount() - 2);
          const Integer span = pick(2, std::min<Integer>(6, m.RowCount() - start));
          bool fits = !n.IsNode(start);
          for (const auto& [s, len] : nodes) {
            const bool inside = start >= s && start + span <= s + len;
            const bool around = s >= start && s + len <= start + span;
            const bool apart = start + span <= s || s + len <= start;
            if (!(inside || around || apart)) fits = false;
          }
          if (fits) {
            trace += " add(" + std::to_string(start) + "," + std::to_string(span) + ")";
            n.AddNode(start, span);
            nodes.emplace_back(start, span);
          }
          break;
        }
        case 1:
        case 2: {
          const Integer d = pick(1, m.RowCount() - 1);
          if (n.IsNode(d)) {
            trace += (n.GetNodeState(d) ? " expand(" : " contract(") + std::to_string(m.RealRowIndex(d)) + ")";
            if (n.GetNodeState(d))
              n.ExpandNode(m.RealRowIndex(d));
            else
              n.ContractNode(m.RealRowIndex(d));
          }
          break;
        }
        case 3:
          n.ExpandOne = !n.ExpandOne;
          trace += n.ExpandOne ? " one" : " all";
          break;
        case 4: {
          // Child rows are added with everything open, so that the ranges
          // the test keeps stay true.
          n.ExpandAll();
          const Integer d = pick(1, m.RowCount() - 1);
          const bool below = pick(0, 1) == 1;
          trace += " child(" + std::to_string(d) + (below ? ",below)" : ")");
          n.InsertChildRow(d, below);
          ++inserted;
          // The spans the nodes carry are the truth; the test follows them.
          nodes.clear();
          for (Integer r = 0; r < m.RowCount(); ++r)
            if (n.IsNode(r)) nodes.emplace_back(m.RealRowIndex(r), n.GetNodeSpan(r));
          break;
        }
        case 5:
          trace += " contractall";
          n.ContractAll();
          break;
      }
      NodesExpectMappings(m);
      if (HasFatalFailure()) return;
      if (m.NumHiddenRows() == 0)
        for (Integer r = 0; r < m.RowCount(); ++r) {
          Integer covering = 0;
          for (Integer s = 0; s <= r; ++s)
            if (n.IsNode(s) && r < s + n.GetNodeSpan(s)) ++covering;
          ASSERT_EQ(n.RowLevel(r), covering) << "seed " << seed << " row " << r << ":" << trace;
        }
      // The rows keep their order in real numbering, hidden or shown.
      std::vector<std::string> order;
      for (const std::string& t : NodesAllRows(m))
        if (!t.empty()) order.push_back(t);
      ASSERT_TRUE(std::is_sorted(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
        return std::stoi(a.substr(1)) < std::stoi(b.substr(1));
      })) << "seed " << seed << " step " << step << ":" << trace;
    }
    n.ExpandAll();
    ASSERT_EQ(m.NumHiddenRows(), 0) << "seed " << seed;
    ASSERT_EQ(m.RowCount(), rows + inserted);
    // The rows come back in their order, the added ones empty among them,
    // and each row's level counts the nodes that cover it.
    std::vector<std::string> originals;
    for (const std::string& t : NodesAllRows(m))
      if (!t.empty()) originals.push_back(t);
    std::vector<std::string> expected;
    for (Integer r = 0; r < rows; ++r) expected.push_back("r" + std::to_string(r));
    // A node row emptied by a child insertion lost its text to the child.
    ASSERT_EQ(originals, expected) << "seed " << seed;
    for (Integer r = 0; r < m.RowCount(); ++r) {
      Integer covering = 0;
      for (Integer s = 0; s <= r; ++s)
        if (n.IsNode(s) && r < s + n.GetNodeSpan(s)) ++covering;
      ASSERT_EQ(n.RowLevel(r), covering) << "seed " << seed << " row " << r << ":" << trace;
    }
  }
}
