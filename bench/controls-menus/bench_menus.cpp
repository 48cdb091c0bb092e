// Opening and painting a 40-item pop-up: a styled menu (every item
// measured and painted by the menu routines) beside the same items in a
// plain QMenu under the Fusion style.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "controls/ControlsLibrary.h"
#include "controls/LumMenuOfficeStyler.h"
#include "controls/LumMenus.h"
#include "vcl/Forms.h"

namespace {

using namespace controls;

constexpr int kItems = 40;

// Counts the paint events a pop-up receives, so each run shows that both
// menus really painted their items before closing.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Closes the pop-up once it has painted all its items.
void CloseSoon(PaintCounter* counter) {
  QTimer::singleShot(0, [counter] {
    if (QWidget* w = QApplication::activePopupWidget()) {
      w->installEventFilter(counter);
      // Offscreen, a window just shown is not yet exposed and repaint()
      // would paint nothing: grabbing runs the widget's painting itself.
      (void)w->grab();
      w->removeEventFilter(counter);
      w->close();
    }
  });
}

void BM_StyledPopup(benchmark::State& state) {
  vcl::TComponent owner(nullptr);
  auto* styler = new TLumMenuOfficeStyler(&owner);
  styler->SetStyle(osOffice2003Silver);
  auto* menu = new TLumPopupMenu(&owner);
  menu->SetMenuStyler(styler);
  for (int i = 0; i < kItems; ++i) {
    auto* item = new vcl::TMenuItem(menu);
    item->SetCaption(i % 10 == 9 ? "-" : "Item number " + std::to_string(i));
    if (i % 7 == 3) item->SetChecked(true);
    menu->Items()->Add(item);
  }
  PaintCounter counter;
  for (auto _ : state) {
    CloseSoon(&counter);
    menu->Popup(20, 20);
  }
  state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StyledPopup)->Unit(benchmark::kMillisecond);

// Arg 0 opens one QMenu again and again; arg 1 builds the menu for every
// showing, as the styled menu's class library does.
void BM_PlainQMenuFusion(benchmark::State& state) {
  // Made before the menus, so it outlives them.
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  auto build = [&fusion](QMenu& menu) {
    menu.setStyle(fusion.get());
    for (int i = 0; i < kItems; ++i) {
      if (i % 10 == 9) {
        menu.addSeparator();
        continue;
      }
      QAction* a = menu.addAction(QString("Item number %1").arg(i));
      if (i % 7 == 3) {
        a->setCheckable(true);
        a->setChecked(true);
      }
    }
  };
  PaintCounter counter;
  QMenu kept;
  build(kept);
  for (auto _ : state) {
    CloseSoon(&counter);
    if (state.range(0)) {
      QMenu fresh;
      build(fresh);
      fresh.exec(QPoint(20, 20));
    } else {
      kept.exec(QPoint(20, 20));
    }
  }
  state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlainQMenuFusion)->Arg(0)->Arg(1)->ArgName("built_each_time")->Unit(benchmark::kMillisecond);

}  // namespace
