// Painting the grid component: a full repaint of the same 400x300 window
// over 100 rows and over 100,000 rows (10 columns of words and numbers).
// The cost follows the visible cells, not the grid's size. Run under
// QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <string>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"

namespace {

void BM_PaintGrid(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetBounds(0, 0, 420, 320);
  auto* g = new grid::TVadOdizadEzev(form);
  g->SetParent(form);
  g->SetBounds(0, 0, 400, 300);
  g->SetColCount(10);
  g->SetRowCount(rows);
  for (int r = 1; r < rows; ++r)
    for (int c = 1; c < 10; ++c)
      g->SetCells(c, r, c % 2 ? std::to_string(r * 7919 % 100003) : "cell " + std::to_string(r));
  g->SetCells(3, 5, "<b>bold</b> and <i>italic</i>");
  form->Show();
  vcl::Application->ProcessMessages();
  for (auto _ : state) {
    g->Invalidate();
    g->Repaint();
  }
  state.SetLabel(std::to_string(rows) + " rows");
  vcl::Free(form);
}

BENCHMARK(BM_PaintGrid)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
