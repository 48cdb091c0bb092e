#pragma once
// Helpers of the drop-down control tests: a shown form, pumping, typing
// through Qt's key events, recorded beeps and pixels of what shows.
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "rtl/Clock.h"
#include "vcl/Forms.h"

namespace ddtest {

using namespace vcl;

// A shown form of the given client size, freed with the fixture.
TForm* MakeForm(int width = 320, int height = 200);
void Pump();
// Runs fn from inside the next modal loop (a menu's or a dialog's).
void Later(std::function<void()> fn, int ms = 0);
// Types a key (Qt key code, modifiers, text) into the control's widget.
void Key(TWinControl* c, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {});
void Type(TWinControl* c, const QString& text);
// The control's widget as it shows on screen.
QImage Grab(TWinControl* c);
TColor PixelAt(const QImage& img, int x, int y);
// Writes an image into the build folder for a person to look at.
void SaveShot(const QImage& img, const char* name);

// Records beeps instead of sounding them while it lives.
class BeepRecorder {
 public:
  BeepRecorder();
  ~BeepRecorder();
  int count = 0;
};

// A manual clock installed for the test's lifetime.
class ManualTime {
 public:
  explicit ManualTime(uint64_t start = 100000);
  ~ManualTime();
  // Moves the clock on by ms, firing due timers in steps of at most 10 ms.
  void Advance(uint64_t ms);
  std::shared_ptr<rtl::ManualClock> clock;
};

// Presses and releases a mouse button on a graphic child through its
// windowed parent's widget (client coordinates of the parent).
void MouseDown(TWinControl* parent, int x, int y);
void MouseUp(TWinControl* parent, int x, int y);
// Moves the mouse over the parent's widget with the left button held.
void MouseDrag(TWinControl* parent, int x, int y);

}  // namespace ddtest
