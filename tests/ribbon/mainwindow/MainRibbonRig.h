#pragma once
// The main window as its ribbon sees it, in a small double: a 1000-wide
// form, stand-in actions with the window's names, captions and shortcuts
// that count their runs, the ribbon from MainRibbonFixture, and the
// window's handlers for the ribbon (refusing disabled pages, swapping the
// two "&Edit" pages, popping the help menu, enabling actions by a flag).
#include <QPoint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Clock.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"

namespace controls {
class TLumGlowButton;
}
namespace vcl {
class TPopupMenu;
}
namespace ribbon {
class TRorIvezEviPager;
class TLumPage;
class TLumCustomToolBar;
}  // namespace ribbon

namespace ide::testing {

struct ChangingCall {
  int From, To;
  bool Allowed;
  bool operator==(const ChangingCall&) const = default;
};

class MainRibbonRig {
 public:
  MainRibbonRig();
  ~MainRibbonRig();

  // Runs Qt's and the class library's queues until nothing waits.
  void Pump();
  // Moves the manual clock and lets the timers due run.
  void Advance(uint64_t ms);

  ribbon::TLumPage* Page(const char* name) const;
  ribbon::TLumCustomToolBar* Bar(const char* caption, const char* page) const;
  controls::TLumGlowButton* Button(const char* actionOrName) const;
  vcl::TCustomAction* Action(const char* name) const;
  vcl::TPopupMenu* Menu(const char* name) const;
  int Runs(const char* action) const;
  // The window's ribbon-state rule: with visual editing the visual "&Edit"
  // page, else the source one, as the ribbon's second page.
  void SetVisualEditing(bool visual);
  // "project has a file name": enables or disables the actions that need it.
  void SetProjectOpen(bool open);
  // The captions of the tabs on the ribbon, in order.
  std::vector<std::string> TabCaptions() const;

  // Real input through Qt's events on the control's widget.
  void Click(vcl::TWinControl* c, QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void ClickTab(int index);
  void Key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier);
  void Wheel(QPoint at, int delta);
  QPoint TabCentre(int index) const;

  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  vcl::TActionList* actions = nullptr;
  ribbon::TRorIvezEviPager* pager = nullptr;
  std::vector<ChangingCall> changing;
  std::vector<vcl::TPoint> helpPopups;  // screen points the help menu was asked to show at
  std::map<std::string, int> runs;
  bool visual = true;
};

// Writes a grab of the control into the build folder and answers its
// path.
std::string SaveGrab(vcl::TWinControl* c, const std::string& name);

}  // namespace ide::testing
