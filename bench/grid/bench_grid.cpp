// The grid's cell store side by side with Qt's QStandardItemModel shown in a
// QTableView: filling 1,000,000 cells (100,000 rows of 10 columns, words
// from the system word list and numbers), reading them all back, and hiding
// every other row; sorting on a number column and on a word column and
// going back to the order before sorting, beside QSortFilterProxyModel over
// the same item model. Run under QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <fstream>
#include <string>
#include <vector>

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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
