// The clock moves its hands over a cached face; a full paint renders the
// face (gradient, marks, numbers, AM/PM box) anew. Both run here in the
// same scene, so the saving shows side by side.
#include <benchmark/benchmark.h>

#include "dropdown/LumTimePickerDropDown.h"
#include "rtl/DateTime.h"
#include "vcl/Forms.h"

using namespace vcl;
using namespace dropdown;

namespace {

struct ClockScene {
  TForm* form;
  TLumWatch* watch;
  ClockScene() {
    form = new TForm(Application, 0);
    form->SetClientWidth(220);
    form->SetClientHeight(220);
    form->Show();
    watch = new TLumWatch(form);
    watch->SetParent(form);
    watch->SetBounds(10, 10, 180, 180);
    watch->SetAnimation(false);
    watch->Appearance()->SetBackgroundGradient(wgRadial);
    watch->Appearance()->SetBackgroundColorTo(0xF0C080);
    Application->ProcessMessages();
    watch->PaintAll();
  }
  ~ClockScene() { Free(form); }
};

// One minute on: the cached face copied, the hands drawn, one copy out.
void BM_ClockHandMove(benchmark::State& state) {
  ClockScene scene;
  int minute = 0;
  for (auto _ : state) {
    minute = (minute + 1) % 60;
    scene.watch->SetTime(rtl::EncodeTime(10, static_cast<Word>(minute), 0, 0));
  }
  state.counters["redraws"] = scene.watch->HandRedraws();
}
BENCHMARK(BM_ClockHandMove);

// The whole clock painted again: the face rendered into the cache first.
void BM_ClockFullPaint(benchmark::State& state) {
  ClockScene scene;
  int minute = 0;
  for (auto _ : state) {
    minute = (minute + 1) % 60;
    scene.watch->SetTime(rtl::EncodeTime(10, static_cast<Word>(minute), 0, 0));
    scene.watch->PaintAll();
  }
  state.counters["faces"] = scene.watch->FacePaints();
}
BENCHMARK(BM_ClockFullPaint);

}  // namespace
