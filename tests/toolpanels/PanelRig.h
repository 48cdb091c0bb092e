#pragma once
// A form shaped like the main window: the left strip "ct" with the project
// manager, insert, simulate and simulation-errors panels, the empty right
// strip "RightBar" and bottom strip "bottomBar", and a client panel for the
// page area; shown off screen on a manual clock that advances on sleeps,
// so a slide runs at once while a test records every step; driven by the
// class library's input messages and read back from grabs.
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ToolPanels.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/TestCanvases.h"

namespace paneltest {

using namespace controls;
using vcl::Integer;
using vcl::TColor;

// A strip that measures its tabs with fixed metrics: every character 8
// pixels wide.
class MeasuredStrip : public TLumToolPanelTab {
 public:
  explicit MeasuredStrip(vcl::TComponent* owner) : TLumToolPanelTab(owner) {}

 protected:
  vcl::TCanvas* MeasuringCanvas() override { return &metrics_; }

 private:
  vcl::TFakeMetricsCanvas metrics_;
};

class MainLikeForm : public vcl::TForm {
 public:
  // withPanels false: the strips alone (a form of an earlier version);
  // edgePanels: that many panels placed on the right and on the bottom
  // strip too ("rightPanel1".., "bottomPanel1"..).
  explicit MainLikeForm(vcl::TComponent* owner, bool withPanels = true, int edgePanels = 0);
  std::vector<TLumToolPanel*> rightPanels;
  std::vector<TLumToolPanel*> bottomPanels;
  MeasuredStrip* ct = nullptr;
  MeasuredStrip* RightBar = nullptr;
  MeasuredStrip* bottomBar = nullptr;
  vcl::TPanel* page = nullptr;
  TLumToolPanel* ProjectManagerTab = nullptr;
  TLumToolPanel* insertPanel = nullptr;
  TLumToolPanel* SimTab = nullptr;
  TLumToolPanel* simErrorsTab = nullptr;
  vcl::TEdit* simEdit = nullptr;  // an edit box inside SimTab
};

class Rig {
 public:
  explicit Rig(bool withPanels = true, int edgePanels = 0);
  ~Rig();

  // Runs the message loop until nothing waits (no clock time passes).
  void Pump();
  // Moves the clock in steps of at most 10 ms, running the loop after each.
  void Advance(uint64_t ms);
  // Runs one tick of the strips' timer (200 ms with aocMedium).
  void Tick(int ticks = 1) { Advance(200ull * ticks); }

  QImage Grab(vcl::TWinControl* control);
  static TColor At(const QImage& image, int x, int y);

  // Input through the layer's messages; the screen's cursor follows.
  static void PointAt(vcl::TControl* c, int x, int y);
  static void Move(vcl::TWinControl* c, int x, int y);
  static void Press(vcl::TWinControl* c, int x, int y, bool right = false);
  static void Release(vcl::TWinControl* c, int x, int y, bool right = false);
  static void Click(vcl::TWinControl* c, int x, int y, bool right = false) {
    Press(c, x, y, right);
    Release(c, x, y, right);
  }
  static void Leave(vcl::TWinControl* c);
  // Moves the cursor away from every window.
  static void Away();

  // The middle of a strip's tab along the strip, in client coordinates
  // (inside the tab row).
  static vcl::TPoint TabPoint(TLumToolPanelTab* strip, int item);

  std::shared_ptr<rtl::ManualClock> clock;
  MainLikeForm* form = nullptr;
  // While set, every message processing inside a slide's wait calls it
  // (the clock's reading then is the step's time).
  std::function<void()> onStepWait;
};

}  // namespace paneltest
