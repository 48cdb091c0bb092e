#pragma once
// The mouse auto-scroll: while the left button alone is held and the
// pointer has left the editor above or below, a 50 ms timer (on the class
// library's clock service) asks the editor to scroll by how far the
// pointer is outside: negative above, positive below.
#include <functional>

#include "rtl/Types.h"

namespace vcl {
class TTimer;
class TWinControl;
}  // namespace vcl

namespace htmledit {

class TpsMouseScrollManager {
 public:
  // aEditor's height is read; the timer belongs to it as a component and
  // to the manager as its owner.
  explicit TpsMouseScrollManager(vcl::TWinControl* aEditor);
  ~TpsMouseScrollManager();
  TpsMouseScrollManager(const TpsMouseScrollManager&) = delete;
  TpsMouseScrollManager& operator=(const TpsMouseScrollManager&) = delete;

  // aShiftBits: the view's shift bits (ssLeftBit and the keys).
  void MouseDown(rtl::Integer aX, rtl::Integer aY);
  void MouseMove(rtl::Integer aShiftBits, rtl::Integer aX, rtl::Integer aY);
  void MouseUp(rtl::Integer aX, rtl::Integer aY);
  // The timer runs while scrolling; it is switched only on a change.
  void SetScrolling(bool aActive, rtl::Integer aDelta);
  bool IsScrolling() const;
  rtl::Integer ScrollDelta() const { return FScrollDelta; }
  rtl::Integer LastX() const { return FLastX; }
  rtl::Integer LastY() const { return FLastY; }
  // The print preview, an image resize and a column drag switch the ticks
  // off (the timer may still run).
  bool AutoScrollEnabled = true;
  std::function<void(rtl::Integer aDelta)> OnScroll;
  vcl::TTimer* ScrollTimer() const { return FTimer; }

 private:
  void Tick();
  vcl::TWinControl* FEditor;  // not owned
  vcl::TTimer* FTimer;         // owned
  rtl::Integer FScrollDelta = 0;
  rtl::Integer FLastX = 0;
  rtl::Integer FLastY = 0;
};

}  // namespace htmledit
