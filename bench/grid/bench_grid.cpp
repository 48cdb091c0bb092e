// The grid's cell store side by side with Qt's QStandardItemModel shown in a
// QTableView: filling 1,000,000 cells (100,000 rows of 10 columns, words
// from the system word list and numbers), reading them all back, and hiding
// every other row; sorting on a number column and on a word column and
// going back to the order before sorting, beside QSortFilterProxyModel over
// the same item model; filtering on a number range and on a word pattern
// and switching the filter off again, beside QSortFilterProxyModel with a
// numeric range and a regular expression. Run under
// QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <fstream>
#include <string>
#include <vector>

#include "grid/model/FilterRows.h"
#include "grid/model/GridModel.h"
#include "grid/model/GridSort.h"

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 10;

const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w;
    std::ifstream in("/usr/share/dict/american-english");
    std::string line;
    while (std::getline(in, line) && w.size() < 120000) w.push_back(line);
    if (w.empty()) w.push_back("word");
    return w;
  }();
  return words;
}

// Even columns hold words, odd ones numbers.
std::string CellText(int col, int row) {
  if (col % 2 == 1) return std::to_string((row * 7919 + col * 104729) % 1000003);
  const auto& w = Words();
  return w[(static_cast<size_t>(row) * Cols + col) % w.size()];
}

void Fill(grid::TGridModel& m) {
  m.SetColCount(Cols);
  m.SetRowCount(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Cols; ++c) m.SetRawCell(c, r, CellText(c, r));
}

void Fill(QStandardItemModel& m) {
  m.setColumnCount(Cols);
  m.setRowCount(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Cols; ++c) m.setItem(r, c, new QStandardItem(QString::fromStdString(CellText(c, r))));
}

void BM_Fill_Grid(benchmark::State& state) {
  for (auto _ : state) {
    grid::TGridModel m;
    Fill(m);
    benchmark::DoNotOptimize(m.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_Fill_QStandardItemModel(benchmark::State& state) {
  for (auto _ : state) {
    // Filled before the view is attached: a view attached first reacts to
    // every item and takes minutes.
    QStandardItemModel m;
    Fill(m);
    QTableView view;
    view.setModel(&m);
    benchmark::DoNotOptimize(m.rowCount());
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_Read_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  for (auto _ : state) {
    size_t total = 0;
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c) total += m.GetDisplayCell(c, r).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_Read_QStandardItemModel(benchmark::State& state) {
  QStandardItemModel m;
  Fill(m);
  for (auto _ : state) {
    size_t total = 0;
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c) total += m.data(m.index(r, c)).toString().size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_HideEveryOtherRow_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  std::vector<grid::Integer> odd;
  for (int r = 1; r < Rows; r += 2) odd.push_back(r);
  for (auto _ : state) {
    m.HideRowList(odd);
    state.PauseTiming();
    m.UnHideRowsLevel();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows / 2);
}

void BM_HideEveryOtherRow_QTableView(benchmark::State& state) {
  QStandardItemModel m;
  Fill(m);
  QTableView view;
  view.setModel(&m);
  for (auto _ : state) {
    for (int r = 1; r < Rows; r += 2) view.setRowHidden(r, true);
    state.PauseTiming();
    for (int r = 1; r < Rows; r += 2) view.setRowHidden(r, false);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows / 2);
}

// Column 1 holds numbers, column 0 words; the grid chooses the style from
// the cells (numeric, then byte-wise text), Qt sorts the number column on
// numbers kept in a role of their own and the words as strings.
void BM_Sort_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  grid::TGridSorter sorter(m);
  sorter.Options.Column = static_cast<grid::Integer>(state.range(0));
  for (auto _ : state) {
    sorter.SortByColumn();
    state.PauseTiming();
    sorter.UnSort();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_UnSort_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  grid::TGridSorter sorter(m);
  sorter.Options.Column = static_cast<grid::Integer>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    sorter.SortByColumn();
    state.ResumeTiming();
    sorter.UnSort();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void SortableItems(QStandardItemModel& m) {
  Fill(m);
  for (int r = 0; r < Rows; ++r) m.item(r, 1)->setData(m.item(r, 1)->text().toDouble(), Qt::UserRole);
}

void BM_Sort_QSortFilterProxyModel(benchmark::State& state) {
  QStandardItemModel m;
  SortableItems(m);
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&m);
  const int col = static_cast<int>(state.range(0));
  proxy.setSortRole(col == 1 ? Qt::UserRole : Qt::DisplayRole);
  for (auto _ : state) {
    proxy.sort(col, Qt::AscendingOrder);
    state.PauseTiming();
    proxy.sort(-1);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_UnSort_QSortFilterProxyModel(benchmark::State& state) {
  QStandardItemModel m;
  SortableItems(m);
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&m);
  const int col = static_cast<int>(state.range(0));
  proxy.setSortRole(col == 1 ? Qt::UserRole : Qt::DisplayRole);
  for (auto _ : state) {
    state.PauseTiming();
    proxy.sort(col, Qt::AscendingOrder);
    state.ResumeTiming();
    proxy.sort(-1);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

// Filtering: column 1 on a number range (about a tenth of the rows pass),
// column 0 on words starting with "a" (about a twentieth). The grid hides
// the failing rows as one level; filter-off shows them again.
struct FilterCase {
  int col;
  const char* condition;
};
constexpr FilterCase FilterCases[] = {{1, ">500000&<600000"}, {0, "a*"}};

void BM_Filter_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  m.SetFixedRows(0);
  grid::TFilter filter;
  grid::TFilterData* d = filter.Add();
  d->Column = static_cast<int16_t>(FilterCases[state.range(0)].col);
  d->Condition = FilterCases[state.range(0)].condition;
  grid::TRowFilter rows(m);
  for (auto _ : state) {
    rows.Apply(filter);
    state.PauseTiming();
    state.counters["shown"] = m.RowCount();
    rows.Remove();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_FilterOff_Grid(benchmark::State& state) {
  grid::TGridModel m;
  Fill(m);
  m.SetFixedRows(0);
  grid::TFilter filter;
  grid::TFilterData* d = filter.Add();
  d->Column = static_cast<int16_t>(FilterCases[state.range(0)].col);
  d->Condition = FilterCases[state.range(0)].condition;
  grid::TRowFilter rows(m);
  for (auto _ : state) {
    state.PauseTiming();
    rows.Apply(filter);
    state.ResumeTiming();
    rows.Remove();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

// The numeric range over the number role, or the regular expression over
// the word column; off lets every row through.
class RangeProxy : public QSortFilterProxyModel {
 public:
  bool numeric = false;
  bool active = false;
  void Refilter() { invalidateFilter(); }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!active) return true;
    if (!numeric) return QSortFilterProxyModel::filterAcceptsRow(row, parent);
    const double v = sourceModel()->index(row, 1, parent).data(Qt::UserRole).toDouble();
    return v > 500000 && v < 600000;
  }
};

void SetUpProxy(RangeProxy& proxy, int which) {
  proxy.numeric = which == 0;
  proxy.setFilterKeyColumn(FilterCases[which].col);
  proxy.setFilterRegularExpression(QRegularExpression("^a"));
}

void BM_Filter_QSortFilterProxyModel(benchmark::State& state) {
  QStandardItemModel m;
  SortableItems(m);
  RangeProxy proxy;
  proxy.setSourceModel(&m);
  SetUpProxy(proxy, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    proxy.active = true;
    proxy.Refilter();
    state.PauseTiming();
    state.counters["shown"] = proxy.rowCount();
    proxy.active = false;
    proxy.Refilter();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_FilterOff_QSortFilterProxyModel(benchmark::State& state) {
  QStandardItemModel m;
  SortableItems(m);
  RangeProxy proxy;
  proxy.setSourceModel(&m);
  SetUpProxy(proxy, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    proxy.active = true;
    proxy.Refilter();
    state.ResumeTiming();
    proxy.active = false;
    proxy.Refilter();
  }
  state.SetItemsProcessed(state.iterations() * Rows);
}

BENCHMARK(BM_Fill_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_QStandardItemModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_QStandardItemModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideEveryOtherRow_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideEveryOtherRow_QTableView)->Unit(benchmark::kMillisecond);
// Each pass restores (or sorts) untimed at the cost of a whole sort: a few
// passes suffice.
BENCHMARK(BM_Sort_Grid)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_QSortFilterProxyModel)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnSort_Grid)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnSort_QSortFilterProxyModel)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);
// Argument 0: the number range on column 1; 1: words starting with "a".
BENCHMARK(BM_Filter_Grid)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_QSortFilterProxyModel)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterOff_Grid)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterOff_QSortFilterProxyModel)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
