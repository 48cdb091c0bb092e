#pragma once
// A glow button on a panel of its own colour on a shown form, driven by the
// class library's input messages on a manual clock, and read back from
// grabs of its window.
#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

#include "controls/LumGlowButton.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"

namespace glowtest {

using namespace controls;
using vcl::TColor;

// The panel's colour: in no preset, so a pixel of it is the parent's.
inline constexpr TColor kParentColour = 0x00964B1E;  // RGB(30, 75, 150)

// A pop-up menu that records where it was asked to show and runs a step
// of the test's in place of the user's choice.
class RecordingMenu : public vcl::TPopupMenu {
 public:
  explicit RecordingMenu(vcl::TComponent* owner) : vcl::TPopupMenu(owner) {}
  std::vector<vcl::TPoint> shownAt;
  std::function<void()> whileOpen;
  void Popup(vcl::Integer x, vcl::Integer y) override {
    shownAt.push_back({x, y});
    if (whileOpen) whileOpen();
  }
};

class Rig {
 public:
  Rig();
  ~Rig();

  // A button at (left, top) of the panel, its window made and painted.
  TLumGlowButton* Add(int left = 20, int top = 20, int width = 100, int height = 41);
  // Runs the message loop until nothing waits (no clock time passes).
  void Pump();
  // Moves the clock in steps of at most 10 ms, running the loop after each.
  void Advance(uint64_t ms);
  // The button's window as it shows now.
  QImage Grab(vcl::TWinControl* control);
  static TColor At(const QImage& image, int x, int y);

  // Input through the layer's messages.
  static void Enter(TLumCustomGlowButton* b) { b->Perform(vcl::CM_MOUSEENTER); }
  static void Leave(TLumCustomGlowButton* b) { b->Perform(vcl::CM_MOUSELEAVE); }
  // Puts the screen's cursor over a point of the button.
  static void PointAt(vcl::TControl* b, int x, int y);
  static void Move(TLumCustomGlowButton* b, int x, int y);
  static void Press(TLumCustomGlowButton* b, int x, int y);
  static void Release(TLumCustomGlowButton* b, int x, int y);
  static void ClickAt(TLumCustomGlowButton* b, int x, int y) {
    Press(b, x, y);
    Release(b, x, y);
  }

  std::shared_ptr<rtl::ManualClock> clock;
  vcl::TForm* form = nullptr;
  vcl::TPanel* panel = nullptr;
};

}  // namespace glowtest
