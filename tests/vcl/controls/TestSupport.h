#pragma once
// Helpers shared by the class-library tests: a control that records the
// messages it receives, and synthetic input through Qt's test functions.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

#include "vcl/Controls.h"
#include "vcl/Forms.h"

namespace vcltest {

using namespace vcl;

// A custom control that logs every message it dispatches (optionally only
// the numbers listed) and paints itself in one colour.
class Recorder : public TCustomControl {
 public:
  explicit Recorder(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::vector<TMessage> log;
  std::vector<Cardinal> only;
  TColor fill = clWhite;
  int paints = 0;
  std::function<void(TMessage&)> onMessage;

  void Dispatch(TMessage& m) override {
    if (only.empty() || std::find(only.begin(), only.end(), m.Msg) != only.end()) log.push_back(m);
    if (onMessage) onMessage(m);
    TCustomControl::Dispatch(m);
  }
  std::vector<Cardinal> Numbers() const {
    std::vector<Cardinal> v;
    for (auto& m : log) v.push_back(m.Msg);
    return v;
  }

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(ClientRect());
  }
};

// A shown form of the given client size; freed by the caller through
// vcl::Free (or the fixture).
TForm* MakeForm(int width = 300, int height = 200);
// Lets Qt and the message loop run until nothing is left waiting.
void Pump();
// Runs fn from inside the next modal loop (or the next message pumping).
void Later(std::function<void()> fn, int ms = 0);
// Colour of a pixel of a widget as it shows on screen.
TColor ScreenPixel(QWidget* w, int x, int y);

}  // namespace vcltest
