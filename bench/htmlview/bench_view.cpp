// Costs of the view's machinery: blending against QPainter's opacity
// composition on the same pictures, and the window manager on a tree of
// 10,000 windows (hit tests, a following walk, posting and processing
// 10,000 messages).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <random>

#include "htmledit/view/psBlending.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"

namespace {

using namespace htmlview;

std::unique_ptr<vcl::TBitmap> Noise(Integer w, Integer h, unsigned seed) {
  auto b = Create24BitBitmap(nullptr, w, h);
  std::mt19937 rng(seed);
  for (Integer y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->ScanLine(y));
    for (Integer i = 0; i < w * 3; ++i) row[i] = static_cast<uint8_t>(rng());
  }
  return b;
}

void BM_BlendBitmaps(benchmark::State& state) {
  auto base = Noise(800, 600, 1), overlay = Noise(800, 600, 2);
  for (auto _ : state) benchmark::DoNotOptimize(BlendBitmaps(base.get(), overlay.get(), 60));
}
BENCHMARK(BM_BlendBitmaps)->Unit(benchmark::kMillisecond);

void BM_TintedCopy(benchmark::State& state) {
  auto picture = Noise(800, 600, 3);
  for (auto _ : state) benchmark::DoNotOptimize(TintedCopy(picture.get(), vcl::clRed, 60));
}
BENCHMARK(BM_TintedCopy)->Unit(benchmark::kMillisecond);

// The same work for QPainter: the overlay drawn at 60 % opacity over a copy
// of the base (a blend), and a plain colour at 60 % over a copy (a tint).
void BM_QPainterOpacityBlend(benchmark::State& state) {
  auto base = Noise(800, 600, 1), overlay = Noise(800, 600, 2);
  const QImage b = base->Pixels().convertToFormat(QImage::Format_RGB32);
  const QImage o = overlay->Pixels().convertToFormat(QImage::Format_RGB32);
  for (auto _ : state) {
    QImage out = b.copy();
    QPainter p(&out);
    p.setOpacity(0.6);
    p.drawImage(0, 0, o);
    p.end();
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_QPainterOpacityBlend)->Unit(benchmark::kMillisecond);

void BM_QPainterOpacityTint(benchmark::State& state) {
  auto picture = Noise(800, 600, 3);
  const QImage b = picture->Pixels().convertToFormat(QImage::Format_RGB32);
  for (auto _ : state) {
    QImage out = b.copy();
    QPainter p(&out);
    p.setOpacity(0.6);
    p.fillRect(out.rect(), Qt::red);
    p.end();
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_QPainterOpacityTint)->Unit(benchmark::kMillisecond);

// A window that consumes one id.
class Leaf : public TpsWindow {
 public:
  using TpsWindow::TpsWindow;
  void HandleMessage(TpsMessage& m) override {
    TpsWindow::HandleMessage(m);
    ++Seen;
    if (m.Id == ConsumeId) m.MarkHandled(this);
  }
  Integer ConsumeId = -1;
  long Seen = 0;
};

// 100 blocks of 100 lines each under the root: 10,101 windows.
struct BigTree {
  BigTree() : Manager(&Canvas) {
    auto root = NewWindow<Leaf>(nullptr);
    Root = root.get();
    Root->SetBounds(0, 0, 800, 100 * 100 * 16);
    Manager.SetRootWindow(std::move(root));
    for (int b = 0; b < 100; ++b) {
      auto block = NewWindow<Leaf>(Root);
      block->SetBounds(10, b * 1600, 780, 1600);
      TpsWindow* blockPtr = Root->AddChild(std::move(block));
      for (int l = 0; l < 100; ++l) {
        auto line = NewWindow<Leaf>(blockPtr);
        line->SetBounds(0, l * 16, 780, 16);
        Last = static_cast<Leaf*>(blockPtr->AddChild(std::move(line)));
        if (!First) First = Last;
      }
    }
  }
  TpsScrollCanvas Canvas;
  TpsWindowManager Manager;
  Leaf* Root = nullptr;
  Leaf* First = nullptr;
  Leaf* Last = nullptr;
};

void BM_HitTest(benchmark::State& state) {
  BigTree t;
  std::mt19937 rng(4);
  std::uniform_int_distribution<int> y(0, 100 * 1600 - 1);
  for (auto _ : state) {
    Integer area;
    benchmark::DoNotOptimize(t.Manager.WindowAtPoint({400, y(rng)}, area));
  }
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

void BM_FollowingWalkToTheLastLine(benchmark::State& state) {
  BigTree t;
  t.Last->ConsumeId = 40;
  for (auto _ : state) {
    TpsMessage m(mrCommand, 40, nullptr);
    m.AutoFree = false;
    t.First->SendToFollowingWindows(m);
    benchmark::DoNotOptimize(m.Consumed);
  }
}
BENCHMARK(BM_FollowingWalkToTheLastLine)->Unit(benchmark::kMillisecond);

void BM_PostAndProcess10000(benchmark::State& state) {
  BigTree t;
  std::vector<TpsWindow*> targets;
  for (TpsWindow* b : t.Root->ChildList())
    for (TpsWindow* l : b->ChildList()) targets.push_back(l);
  for (auto _ : state) {
    for (int i = 0; i < 10000; ++i) t.Manager.PostMessage(TpsMessage::Create(mrCommand, 570, targets[i % targets.size()]));
    t.Manager.ProcessMessages();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_PostAndProcess10000)->Unit(benchmark::kMillisecond);

}  // namespace
