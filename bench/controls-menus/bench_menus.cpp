// Opening and painting a 40-item pop-up: a styled menu (every item
// measured and painted by the menu routines) beside the same items in a
// plain QMenu under the Fusion style.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMenu>
#include <QStyleFactory>
#include <QTimer>
#include <cstdlib>

#include "controls/ControlsLibrary.h"
#include "controls/LumMenuOfficeStyler.h"
#include "controls/LumMenus.h"
#include "vcl/Forms.h"

namespace {

using namespace controls;

constexpr int kItems = 40;

// Closes the pop-up once it has painted.
void CloseSoon() {
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activePopupWidget()) {
      w->repaint();
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
  for (auto _ : state) {
    CloseSoon();
    menu->Popup(20, 20);
  }
}
BENCHMARK(BM_StyledPopup)->Unit(benchmark::kMillisecond);

void BM_PlainQMenuFusion(benchmark::State& state) {
  QMenu menu;
  menu.setStyle(QStyleFactory::create("Fusion"));
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
  for (auto _ : state) {
    CloseSoon();
    menu.exec(QPoint(20, 20));
  }
}
BENCHMARK(BM_PlainQMenuFusion)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  vcl::InitApplication();
  controls::StartUpControls();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  controls::ShutDownControls();
  return 0;
}
