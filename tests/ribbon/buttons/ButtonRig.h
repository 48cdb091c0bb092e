#pragma once
// A toolbar on a panel of its own colour on a shown form, its buttons
// driven by the class library's mouse messages through the toolbar (which
// hands them to the button under the point) on a manual clock, and read
// back from grabs of the toolbar's window.
#include <QImage>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviContainer.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/TestCanvases.h"

namespace ribbontest {

using namespace ribbon;
using vcl::TColor;

inline constexpr TColor kPanelColour = 0x00964B1E;    // RGB(30, 75, 150)
inline constexpr TColor kToolBarColour = 0x00D8E8F0;  // RGB(240, 232, 216)

// A toolbar that records what its buttons ask of it.
class RecordingToolBar : public TLumCustomToolBar {
 public:
  explicit RecordingToolBar(vcl::TComponent* owner) : TLumCustomToolBar(owner) {}
  int positioned = 0, overflowChecks = 0, keys = 0;
  bool refuse = false;
  bool AcceptsToolBarControl(vcl::TControl* c) const override { return !refuse && c; }
  void PositionControls(bool) override { ++positioned; }
  void UpdateOverflow() override { ++overflowChecks; }
  void GlowButtonKeyDown(vcl::TObject*, vcl::Word&, vcl::TShiftState) override { ++keys; }
};

// A pop-up menu that records where it was asked to show.
class RecordingPopup : public controls::TLumPopupMenu {
 public:
  explicit RecordingPopup(vcl::TComponent* owner) : controls::TLumPopupMenu(owner) {}
  std::vector<vcl::TPoint> shownAt;
  bool droppedWhileShown = false;
  TLumCustomToolBarButton* watch = nullptr;
  void Popup(vcl::Integer x, vcl::Integer y) override {
    shownAt.push_back({x, y});
    if (watch) droppedWhileShown = watch->DroppedDown();
  }
};

// A button measured on the fake-metrics canvas.
class MeasuredButton : public TLumCustomToolBarButton {
 public:
  MeasuredButton(vcl::TComponent* owner, vcl::TFakeMetrics metrics)
      : TLumCustomToolBarButton(owner), canvas_(0, 0, metrics) {}

 protected:
  vcl::TCanvas* MeasureCanvas() override { return &canvas_; }

 private:
  vcl::TFakeMetricsCanvas canvas_;
};

class Rig {
 public:
  Rig();
  ~Rig();
  template <typename T = TLumCustomToolBarButton>
  T* Add(int left, int top, int width = 40, int height = 22) {
    auto* b = new T(form);
    b->SetParent(bar);
    b->SetAutoSize(false);
    b->SetBounds(left, top, width, height);
    Pump();
    return b;
  }
  void Pump();
  void Advance(uint64_t ms);
  QImage Grab(vcl::TWinControl* control);
  static TColor At(const QImage& image, int x, int y);

  // Mouse messages to the toolbar at a point of the button.
  void Move(vcl::TControl* b, int x, int y);
  void Press(vcl::TControl* b, int x, int y);
  void Release(vcl::TControl* b, int x, int y);
  void Click(vcl::TControl* b, int x, int y) {
    Move(b, x, y);
    Press(b, x, y);
    Release(b, x, y);
  }
  // The mouse leaves the toolbar.
  void Away();

  std::shared_ptr<rtl::ManualClock> clock;
  vcl::TForm* form = nullptr;
  vcl::TPanel* panel = nullptr;
  RecordingToolBar* bar = nullptr;
};

}  // namespace ribbontest
