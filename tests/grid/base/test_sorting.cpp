// The grid's sorts through its settings and events: header-click cycles,
// the owner's formats and comparisons, marks moving with their rows, the
// update lock around a sort, and a numeric column against Qt's proxy sort.
#include <gtest/gtest.h>

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <random>
#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/model/GridSort.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TSortGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  int cellsDrawn = 0;
  TSortGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    const char* rows[][3] = {{"", "Name", "Size"}, {"1", "delta", "40"}, {"2", "alpha", "7"},
                             {"3", "charlie", "100"}, {"4", "bravo", "7"}, {"5", "echo", "12"}};
    for (Integer r = 0; r < 6; ++r)
      for (Integer c = 0; c < 3; ++c) grid->SetCells(c, r, rows[r][c]);
    grid->OnDrawCell = [this](vcl::TObject*, Integer, Integer, const vcl::TRect&, vcl::TGridDrawState) {
      ++cellsDrawn;
    };
    grid->OnClickSort = [this](vcl::TObject*, Integer col) { events.push_back("click " + std::to_string(col)); };
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TSortGrid() { vcl::Free(form); }
  std::vector<std::string> Column(Integer col) const { return grid_test::ColumnTexts(grid, col); }
  int Paint() {
    cellsDrawn = 0;
    grid->Repaint();
    vcl::Application->ProcessMessages();
    return cellsDrawn;
  }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(GridSorting, HeaderClicksCycleThroughTheSettingsAndEvents) {
  TSortGrid g;
  TSortSettings& s = *g.grid->SortSettings();
  s.UndoSort = true;
  g.grid->SortClick(1, false);
  EXPECT_EQ(g.Column(1), (Strings{"alpha", "bravo", "charlie", "delta", "echo"}));
  EXPECT_EQ(s.Column, 1);
  EXPECT_EQ(s.Direction, sdAscending);
  g.grid->SortClick(1, false);
  EXPECT_EQ(g.Column(1), (Strings{"echo", "delta", "charlie", "bravo", "alpha"}));
  EXPECT_EQ(s.Direction, sdDescending);
  g.grid->SortClick(1, false);
  EXPECT_EQ(g.Column(0), (Strings{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(s.Column, -1);
  EXPECT_EQ(g.events, (Strings{"click 1", "click 1", "click -1"}));
  EXPECT_EQ(g.grid->RowCount(), 6);  // the spare rows are gone again

  // OnCanSort refuses; an ignored column does not sort either.
  g.events.clear();
  g.grid->OnCanSort = [](vcl::TObject*, Integer col, bool& doSort) { doSort = col != 2; };
  g.grid->SortClick(2, false);
  EXPECT_EQ(g.Column(0), (Strings{"1", "2", "3", "4", "5"}));
  g.grid->OnCanSort = nullptr;
  g.grid->IgnoredColumns()->Add(2);
  g.grid->SortClick(2, false);
  EXPECT_TRUE(g.events.empty());

  // The owner's format: sizes as numbers; 7 and 7 broken by nothing to
  // their right, so only the values are checked.
  g.grid->IgnoredColumns()->Clear();
  g.grid->OnGetFormat = [](vcl::TObject*, Integer col, TSortStyle& style, AnsiString&, AnsiString&) {
    if (col == 2) style = ssNumeric;
  };
  g.grid->SortClick(2, false);
  EXPECT_EQ(g.Column(2), (Strings{"7", "7", "12", "40", "100"}));
  // The indexed sort through the settings: size descending, then name.
  s.IndexShow = true;
  g.grid->SortClick(2, false);
  g.grid->SortClick(2, false);  // the only column: turned over
  g.grid->SortClick(1, true);
  EXPECT_EQ(g.Column(1), (Strings{"charlie", "delta", "echo", "alpha", "bravo"}));
  EXPECT_EQ(g.grid->SortIndexes()->Count(), 2);
  EXPECT_EQ(s.Column, 2);
}

TEST(GridSorting, MarksMoveWithTheirRowsAndTheCurrentRowFollows) {
  TSortGrid g;
  g.grid->ShowModified()->Enabled = true;
  g.grid->RowModified()->Add(2);  // "alpha"
  g.grid->MouseActions()->SetDisjunctRowSelect(true);
  g.grid->Navigation()->MoveRowOnSort = true;
  g.grid->SetRowMarked(1, true);  // "delta"
  g.grid->SetRow(3);              // "charlie"
  std::vector<std::pair<Integer, Integer>> updates;
  g.grid->OnRowUpdate = [&](vcl::TObject*, Integer o, Integer n) { updates.emplace_back(o, n); };
  g.grid->SortSettings()->Column = 1;
  g.grid->SortSettings()->Direction = sdDescending;
  g.grid->SortByColumn();
  EXPECT_EQ(g.Column(1), (Strings{"echo", "delta", "charlie", "bravo", "alpha"}));
  EXPECT_TRUE(g.grid->IsRowModified(5));
  EXPECT_FALSE(g.grid->IsRowModified(2));
  EXPECT_TRUE(g.grid->IsRowMarked(2));
  EXPECT_FALSE(g.grid->IsRowMarked(1));
  EXPECT_EQ(g.grid->Row(), 3);  // charlie stayed in the middle
  g.grid->SetRow(1);
  g.grid->SortSettings()->Direction = sdAscending;
  g.grid->SortByColumn();
  EXPECT_EQ(g.grid->Cells(1, g.grid->Row()), "echo");  // the current row went with its row
  // Indexed sort without an index: the error, and nothing moved.
  try {
    g.grid->IndexedSort();
    FAIL() << "no error";
  } catch (const ELumGridError& e) {
    EXPECT_EQ(e.Message(), "No indexes specified for indexed sort");
  }
  EXPECT_EQ(g.grid->UpdateCount(), 0);
}

TEST(GridSorting, UpdateLockNestsAndRepaintsOnce) {
  TSortGrid g;
  EXPECT_GT(g.Paint(), 0);
  g.grid->BeginUpdate();
  g.grid->BeginUpdate();
  EXPECT_EQ(g.Paint(), 0);
  g.grid->EndUpdate();
  EXPECT_EQ(g.grid->UpdateCount(), 1);
  EXPECT_EQ(g.Paint(), 0);
  g.grid->EndUpdate();
  vcl::Application->ProcessMessages();
  EXPECT_EQ(g.grid->UpdateCount(), 0);
  EXPECT_GT(g.Paint(), 0);
  g.grid->EndUpdate();  // never below 0
  EXPECT_EQ(g.grid->UpdateCount(), 0);
  g.grid->BeginUpdateQuiet();
  g.grid->BeginUpdate();
  g.grid->ResetUpdateLock();
  EXPECT_EQ(g.grid->UpdateCount(), 0);
  EXPECT_GT(g.Paint(), 0);
  // A sort inside a held lock paints nothing until the lock ends.
  g.grid->BeginUpdate();
  g.grid->SortSettings()->Column = 1;
  g.grid->SortByColumn();
  EXPECT_EQ(g.grid->UpdateCount(), 1);
  EXPECT_EQ(g.Paint(), 0);
  g.grid->EndUpdate();
  EXPECT_GT(g.Paint(), 0);
}

TEST(SortCorpus, NumbersInTheOrderOfQtsProxySort) {
  // 100,000 numbers, many of them equal, sorted by the grid's model and by
  // a proxy over Qt's item model: the same values in the same order.
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> value(-5000, 5000);
  const int n = 100000;
  TGridModel m;
  m.SetColCount(1);
  m.SetRowCount(n + 1);
  m.SetFixedCols(0);
  m.SetFixedRows(1);
  QStandardItemModel items(n, 1);
  for (int i = 0; i < n; ++i) {
    const double v = (i % 3 == 0) ? static_cast<int>(value(rng)) : value(rng);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    m.SetRawCell(0, i + 1, text);
    auto* item = new QStandardItem;
    item->setData(std::strtod(text, nullptr), Qt::DisplayRole);
    items.setItem(i, 0, item);
  }
  TGridSorter sorter(m);
  sorter.Options.Column = 0;
  sorter.SortByColumn();
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&items);
  proxy.sort(0, Qt::AscendingOrder);
  for (int i = 0; i < n; ++i)
    ASSERT_EQ(std::strtod(m.GetRawCell(0, i + 1).c_str(), nullptr), proxy.index(i, 0).data().toDouble()) << i;
}
