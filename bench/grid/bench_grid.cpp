// The grid's cell store side by side with Qt's QStandardItemModel shown in a
// QTableView: filling 1,000,000 cells (100,000 rows of 10 columns, words
// from the system word list and numbers), reading them all back, and hiding
// every other row. Run under QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>
#include <fstream>
#include <string>
#include <vector>

#include "grid/model/GridModel.h"

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

BENCHMARK(BM_Fill_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_QStandardItemModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_QStandardItemModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideEveryOtherRow_Grid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideEveryOtherRow_QTableView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
