// The cost of the message machinery and of repainting a form: sending,
// posting and dispatching messages, turning Qt input into messages, and a
// full repaint of a dialog-sized form through the back buffers.
#include <benchmark/benchmark.h>

#include <QTest>
#include <cstdlib>

#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

using namespace vcl;

namespace {

class Counter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int64_t seen = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg >= WM_USER) {
      ++seen;
      m.Result = 1;
      return;
    }
    TCustomControl::Dispatch(m);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
    Canvas()->TextOut(4, 4, "Counter");
  }
};

struct Scene {
  TForm* form;
  Counter* counter;
  Scene() {
    form = new TForm(Application, 0);
    form->SetClientWidth(460);
    form->SetClientHeight(330);
    counter = new Counter(form);
    counter->SetBounds(10, 10, 100, 100);
    counter->SetParent(form);
    form->Show();
    Application->ProcessMessages();
  }
  ~Scene() { Free(form); }
};

void BM_PerformUserMessage(benchmark::State& state) {
  Scene s;
  for (auto _ : state) benchmark::DoNotOptimize(s.counter->Perform(WM_USER + 1, 1, 2));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PerformUserMessage);

void BM_SendMessageByHandle(benchmark::State& state) {
  Scene s;
  HWND h = s.counter->Handle();
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(h, WM_USER + 1, 1, 2));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessageByHandle);

// Posting a batch and letting the loop deliver it.
void BM_PostAndDispatch(benchmark::State& state) {
  Scene s;
  HWND h = s.counter->Handle();
  const int batch = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessage(h, WM_USER + 2, static_cast<WPARAM>(i), 0);
    DispatchQueuedMessages();
  }
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PostAndDispatch)->Arg(1)->Arg(100);

// A synthetic mouse click (press and release) turned into messages.
void BM_QtClickToMessages(benchmark::State& state) {
  Scene s;
  QWidget* w = s.counter->Widget();
  for (auto _ : state) QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QtClickToMessages);

// Invalidating and repainting a dialog with typical controls.
void BM_RepaintDialog(benchmark::State& state) {
  Scene s;
  auto* tabs = new TTabControl(s.form);
  tabs->SetParent(s.form);
  tabs->SetBounds(120, 10, 330, 250);
  tabs->Tabs()->SetCommaText("Addressing,WiFi,E-Mail,Protocols,Misc");
  for (int i = 0; i < 8; ++i) {
    auto* l = new TLabel(s.form);
    l->SetCaption("Setting " + std::to_string(i));
    l->SetBounds(10, 40 + i * 24, 80, 17);
    l->SetParent(tabs);
  }
  auto* panel = new TPanel(s.form);
  panel->SetAlign(alBottom);
  panel->SetCaption("Panel");
  panel->SetParent(s.form);
  auto* bar = new TStatusBar(s.form);
  bar->SetParent(s.form);
  bar->Panels()->Add()->SetText("Ready");
  Application->ProcessMessages();
  for (auto _ : state) {
    s.form->Invalidate();
    tabs->Invalidate();
    panel->Invalidate();
    bar->Invalidate();
    s.form->Update();
    tabs->Update();
    panel->Update();
    bar->Update();
  }
}
BENCHMARK(BM_RepaintDialog)->Unit(benchmark::kMicrosecond);

}  // namespace
