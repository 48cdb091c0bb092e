// The tool panels on a shown form like the main window: a full paint of a
// strip with four tabs, of an open panel with its caption bar and of one
// with two sections; one slide of a panel out of its strip and back at
// ssMedium on a clock that advances on sleeps (so the cost measured is the
// stepping, moving and repainting, not the waiting); and one save and one
// load of the layout through the settings file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "controls/ToolPanels.h"
#include "rtl/Clock.h"
#include "rtl/Files.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

using namespace controls;

struct PanelScene {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000);
  vcl::TForm* form = nullptr;
  TLumToolPanelTab* strip = nullptr;
  TLumToolPanel* panels[4] = {};
  TLumToolPanel* sectioned = nullptr;

  PanelScene() {
    clock->SetSleepAdvances(true);
    rtl::InstallClock(clock);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(50, 50, 800, 560);
    auto* page = new vcl::TPanel(form);
    page->SetParent(form);
    page->SetAlign(vcl::alClient);
    strip = new TLumToolPanelTab(form);
    strip->SetName("ct");
    strip->SetParent(form);
    strip->SetStyle(esOffice2007Silver);
    const char* captions[] = {"Project Manager", "Insert", "Simulate", "Simulate Errors"};
    for (int i = 0; i < 4; ++i) {
      panels[i] = new TLumToolPanel(form);
      panels[i]->SetName("panel" + std::to_string(i));
      panels[i]->SetParent(form);
      panels[i]->SetCaption(captions[i]);
      panels[i]->SetVisible(false);
      strip->AddPanel(panels[i]);
    }
    strip->SetWidth(23);
    sectioned = new TLumToolPanel(form);
    sectioned->SetParent(page);
    sectioned->SetBounds(300, 20, 200, 400);
    for (const char* caption : {"Tasks", "Details"}) {
      TLumToolPanelSection* s = sectioned->Sections()->Add();
      s->SetCaption(caption);
      s->SetNode(true);
      for (const char* item : {"Open page", "-", "Save page", "Upload"}) s->SectionItems()->Add()->SetCaption(item);
      s->SetAutosize(true);
    }
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~PanelScene() {
    vcl::Free(form);
    vcl::Application->ProcessMessages();
    rtl::InstallClock(nullptr);
  }
};

void BM_StripPaint(benchmark::State& state) {
  PanelScene scene;
  for (auto _ : state) scene.strip->Repaint();
}
BENCHMARK(BM_StripPaint)->Unit(benchmark::kMicrosecond);

void BM_OpenPanelPaint(benchmark::State& state) {
  PanelScene scene;
  scene.strip->SetSlideSpeed(ssInstant);
  scene.strip->OpenTab(0);
  for (auto _ : state) scene.panels[0]->Repaint();
}
BENCHMARK(BM_OpenPanelPaint)->Unit(benchmark::kMicrosecond);

void BM_SectionsPaint(benchmark::State& state) {
  PanelScene scene;
  for (auto _ : state) scene.sectioned->Repaint();
}
BENCHMARK(BM_SectionsPaint)->Unit(benchmark::kMicrosecond);

void BM_SlideOutAndIn(benchmark::State& state) {
  PanelScene scene;
  scene.strip->SetSlideSpeed(ssMedium);
  for (auto _ : state) {
    scene.strip->OpenTab(1);
    scene.strip->SlidePanelIn(scene.panels[1]);
  }
}
BENCHMARK(BM_SlideOutAndIn)->Unit(benchmark::kMicrosecond);

void BM_LayoutSaveAndLoad(benchmark::State& state) {
  PanelScene scene;
  const std::string file = (std::filesystem::path(rtl::TempFolder()) / "tolvane-bench-panels.ini").string();
  scene.strip->Persist()->INIFile = file;
  for (auto _ : state) {
    scene.strip->SavePanelLayout();
    benchmark::DoNotOptimize(scene.strip->LoadPanelsFromIni());
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_LayoutSaveAndLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
