// Painting a 100 x 41 glow button with a glyph and a caption: one full
// paint on the GDI+ text path (the normal look: vertical gradients), one
// frame of the hover fade (the hot look's radial gradients, blended), and
// the same face of a QPushButton under the Fusion style in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <cstdlib>
#include <memory>

#include "controls/ControlsLibrary.h"
#include "controls/LumGlowButton.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace {

using namespace controls;

// A shown form with one glow button; the clock stands still, so a fade
// that has begun stays at its position for every frame.
struct GlowScene {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000);
  vcl::TForm* form = nullptr;
  TLumGlowButton* button = nullptr;
  int paints = 0;

  GlowScene() {
    rtl::InstallClock(clock);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    form->Show();
    auto* images = new vcl::TImageList(form);
    vcl::TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(vcl::clGreen);
    glyph.Canvas()->Ellipse(0, 0, 16, 16);
    images->Add(&glyph, nullptr);
    button = new TLumGlowButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 100, 41);
    button->Font()->SetName("Tahoma");
    button->SetCaption("Upload");
    button->SetImages(images);
    button->SetImageIndex(0);
    button->OnDrawButton = [this](vcl::TObject*, vcl::TCanvas*, const vcl::TRect&, TGlowButtonState) { ++paints; };
    button->HandleNeeded();
    vcl::Application->ProcessMessages();
  }
  ~GlowScene() {
    vcl::Free(form);
    vcl::Application->ProcessMessages();
    rtl::InstallClock(nullptr);
  }
};

void BM_GlowButtonFullPaint(benchmark::State& state) {
  GlowScene scene;
  scene.paints = 0;
  for (auto _ : state) {
    scene.button->Invalidate();
    scene.button->Update();
  }
  state.counters["paints"] = benchmark::Counter(scene.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GlowButtonFullPaint)->Unit(benchmark::kMicrosecond);

void BM_GlowButtonFadeFrame(benchmark::State& state) {
  GlowScene scene;
  scene.button->Perform(vcl::CM_MOUSEENTER);
  for (int tick = 0; tick < 3; ++tick) {  // the hover fade at 60 per cent
    scene.clock->Advance(GlowFadeInterval);
    vcl::Application->ProcessMessages();
  }
  if (!scene.button->GlowTimerRunning()) state.SkipWithError("no fade running");
  scene.paints = 0;
  for (auto _ : state) {
    scene.button->Invalidate();
    scene.button->Update();
  }
  state.counters["paints"] = benchmark::Counter(scene.paints, benchmark::Counter::kAvgIterations);
  state.counters["fade_position"] = scene.button->HotPosition();
}
BENCHMARK(BM_GlowButtonFadeFrame)->Unit(benchmark::kMicrosecond);

void BM_QPushButtonFusion(benchmark::State& state) {
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  QPushButton button("Upload");
  button.setStyle(fusion.get());
  QPixmap glyph(16, 16);
  glyph.fill(Qt::transparent);
  {
    QPainter p(&glyph);
    p.setBrush(Qt::darkGreen);
    p.drawEllipse(0, 0, 15, 15);
  }
  button.setIcon(QIcon(glyph));
  button.resize(100, 41);
  QImage target(100, 41, QImage::Format_RGB32);
  for (auto _ : state) {
    button.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_QPushButtonFusion)->Unit(benchmark::kMicrosecond);

}  // namespace
