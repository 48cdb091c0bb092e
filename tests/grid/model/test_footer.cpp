// Footer totals: sums, averages, counts, minima and maxima of a column over
// text, empty, hidden, merged and node rows, the footer cells recalculated
// by their kind, the custom total, the row-walk stages, and the preview
// template's cell tags.
#include <gtest/gtest.h>

#include "grid/model/Footer.h"

using namespace grid;

namespace {

// A header row, the data rows of column 1 and the footer row.
struct FooterGrid {
  TGridModel m;
  TFooterTotals totals{m};
  explicit FooterGrid(std::vector<std::string> data) {
    m.SetColCount(3);
    m.SetRowCount(static_cast<Integer>(data.size()) + 2);
    m.SetFixedFooters(1);
    for (size_t i = 0; i < data.size(); ++i) {
      m.SetRawCell(0, static_cast<Integer>(i) + 1, "row " + std::to_string(i));
      m.SetRawCell(1, static_cast<Integer>(i) + 1, data[i]);
    }
    totals.State.Visible = true;
  }
  Integer Footer() const { return m.RowCount() - 1; }
  AnsiString Calc(TFooterCalc kind, Integer col = 1) {
    m.CellProperties(col, Footer()).CalcType = static_cast<Byte>(kind);
    totals.CalcFooter(-1);
    return m.GetRawCell(col, Footer());
  }
};

}  // namespace

TEST(FooterTotals, KindsOverTextEmptyAndNumbers) {
  struct Case {
    std::vector<std::string> data;
    TFooterCalc kind;
    const char* shown;
  } cases[] = {
      {{"1.5", "", "2.5"}, fcSum, "4.00"},  // the empty cell reads 0
      {{"1.5", "", "2.5"}, fcAvg, "1.33"},  // over the rows of the range
      {{"1.5", "", "2.5"}, fcCount, "3"},
      {{"4", "1.2.3", "-2", "7.25"}, fcSum, "9.25"},  // not a number: skipped
      {{"4", "1.2.3", "-20", "7.25"}, fcMin, "-20.00"},
      {{"4", "1.2.3", "-2", "7.25"}, fcMax, "7.25"},
      {{"abc", "n/a", "5"}, fcMax, "5.00"},     // no digits at all: the reader's 0
      {{"abc", "n/a", "5"}, fcMin, "0.00"},
      {{"1.2.3", "5", "3"}, fcMin, "3.00"},  // a first row without a number starts nothing
      {{"1.2.3", "5", "3"}, fcMax, "5.00"},
      {{"1.2.3", "4..5"}, fcMin, "0.00"},  // nothing counted
      {{"1.2.3", "4..5"}, fcMax, "0.00"},
      {{}, fcAvg, "0.00"},  // no data rows
      {{}, fcSum, "0.00"},
      {{"$1,200.50", "(3)"}, fcSum, "1197.50"},  // the float reader's forms
      {{"1", "2"}, static_cast<TFooterCalc>(0x81), "3.00"},  // the high bit is not part of the kind
  };
  for (const Case& c : cases) {
    FooterGrid g(c.data);
    EXPECT_EQ(g.Calc(c.kind), c.shown) << static_cast<int>(c.kind) << " over " << c.data.size() << " rows";
    g.m.Check();
  }
}

TEST(FooterTotals, HiddenRowsCountedOrNot) {
  FooterGrid g({"1", "2", "4", "8", "16", "32", "64"});
  g.m.HideRows(2, 3);  // "2" and "4"
  const struct {
    bool hidden;
    TFooterCalc kind;
    const char* shown;
  } cases[] = {
      {true, fcCount, "7"}, {false, fcCount, "5"},   {true, fcSum, "127.00"}, {false, fcSum, "121.00"},
      {true, fcMin, "1.00"}, {false, fcMax, "64.00"}, {true, fcAvg, "18.14"},
  };
  for (const auto& c : cases) {
    g.totals.State.CalculateHiddenRows = c.hidden;
    EXPECT_EQ(g.Calc(c.kind), c.shown) << c.hidden << " " << static_cast<int>(c.kind);
  }
  // Hidden rows through ColumnSum itself: a range past the shown rows
  // addresses real rows.
  EXPECT_EQ(g.totals.ColumnSum(1, 1, g.m.RowCount() - 2), 121);
  EXPECT_EQ(g.totals.ColumnSum(1, 1, g.m.AllRowCount() - 2), 127);
  g.m.SetRawCell(1, g.Footer(), "");
  g.totals.State.Visible = false;  // without a footer the last row is data
  EXPECT_EQ(g.totals.ColumnSum(1, 1, g.m.RowCount() - 1), 121);
  EXPECT_EQ(g.totals.ColumnSum(1, 1, g.m.AllRowCount() - 1), 127);
}

TEST(FooterTotals, MergedNodeAndSummaryRowsAndStates) {
  FooterGrid g({"10", "20", "30", "40"});
  g.m.MergeCells(0, 2, 2, 2);  // covers (1, 2) and (1, 3)
  EXPECT_EQ(g.totals.ColumnSum(1, 1, 4), 50);
  g.m.SplitCells(0, 2);
  auto node = std::make_unique<TCellGraphic>();
  node->CellType = ctNode;
  g.m.SetCellGraphic(0, 1, std::move(node));
  auto summary = std::make_unique<TCellGraphic>();
  summary->CellType = ctSummary;
  g.m.SetCellGraphic(0, 4, std::move(summary));
  EXPECT_EQ(g.totals.ColumnSum(1, 1, 4), 100);  // not grouped: they count
  g.totals.Grouped = [] { return true; };
  EXPECT_EQ(g.totals.ColumnSum(1, 1, 4), 50);

  std::vector<std::pair<Integer, Integer>> stages;
  g.totals.RowScanNotify = [&](Integer stage, Integer row) { stages.emplace_back(stage, row); };
  g.totals.ColumnMax(1, 1, 4);
  EXPECT_EQ(stages, (std::vector<std::pair<Integer, Integer>>{{0, 1}, {5, 2}, {5, 3}, {2, -1}}));

  // Nothing is recalculated without the footer's last row or with the
  // calculation switched off.
  g.m.CellProperties(1, g.Footer()).CalcType = static_cast<Byte>(fcSum);
  g.m.SetRawCell(1, g.Footer(), "old");
  for (auto state : {TFooterState{false, true, true, true}, TFooterState{true, false, true, true},
                     TFooterState{true, true, true, false}}) {
    g.totals.State = state;
    g.totals.CalcFooter(-1);
    EXPECT_EQ(g.m.GetRawCell(1, g.Footer()), "old");
  }
  g.totals.State = TFooterState{true, true, true, true};
  g.totals.CalcFooter(2);  // another column
  EXPECT_EQ(g.m.GetRawCell(1, g.Footer()), "old");
  g.totals.CalcFooter(1);
  EXPECT_EQ(g.m.GetRawCell(1, g.Footer()), "50.00");
}

TEST(FooterTotals, CustomTotal) {
  FooterGrid g({"a", "b", "c"});
  g.m.HideRow(2);
  g.m.SetRawCell(1, g.Footer(), "stale");
  EXPECT_EQ(g.Calc(fcCustom), "");  // nobody answers: emptied
  std::vector<std::pair<Integer, Integer>> asked;
  g.totals.CustomCalc = [&](Integer col, Integer row, AnsiString& value) {
    asked.emplace_back(col, row);
    EXPECT_EQ(value, "");
    value = "total " + std::to_string(col);
    return true;
  };
  EXPECT_EQ(g.Calc(fcCustom), "total 1");
  // The row passed counts the hidden rows.
  EXPECT_EQ(asked, (std::vector<std::pair<Integer, Integer>>{{1, g.Footer() + 1}}));
}

TEST(FooterTemplate, CellTags) {
  auto cell = [](Integer col) { return "<" + std::to_string(col) + ">"; };
  const struct {
    const char* text;
    const char* expanded;
  } cases[] = {
      {"Total: <#2>", "Total: <2>"},
      {"<#0><#1> and <#12>!", "<0><1> and <12>!"},
      {"<#x>gone", "gone"},           // not a number: nothing
      {"<#>", ""},
      {"<b>bold</b> <#3>", "<b>bold</b> <3>"},  // other tags stay
      {"a <#1 and no end", "a <#1 and no end"},  // unclosed: the rest as text
      {"<#1> then <#2", "<1> then <#2"},
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFooterTemplate(c.text, cell), c.expanded) << c.text;
}
