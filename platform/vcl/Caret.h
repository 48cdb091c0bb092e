#pragma once
// The system caret: one blinking bar for the whole program, owned by the
// window that created it (as the desktop has one per input queue). The
// owner's widget draws it over the copy of its back buffer, inverting the
// pixels it covers, so it never enters the buffer that painting and tests
// read. Blinking follows the clock service: the caret shows for one blink
// time after it was made, moved or shown, then hides for one, and so on.
#include "vcl/Types.h"

namespace vcl {

// Replaces any caret by a width x height one owned by wnd, hidden (one
// ShowCaret shows it) at (0, 0). False when wnd is not a window.
bool CreateCaret(HWND wnd, Integer width, Integer height);
// False when there is no caret.
bool DestroyCaret();
// Hiding nests: each HideCaret needs a ShowCaret. Both answer false when wnd
// does not own the caret (0 means whichever window owns it).
bool ShowCaret(HWND wnd);
bool HideCaret(HWND wnd);
// Client coordinates of the caret's top-left corner in its owner.
bool SetCaretPos(Integer x, Integer y);
bool GetCaretPos(TPoint& pos);
// Milliseconds the caret shows and hides (530 unless set).
Cardinal GetCaretBlinkTime();
bool SetCaretBlinkTime(Cardinal ms);

// What a test can see of the caret.
struct TCaretState {
  HWND Owner = 0;     // 0: no caret (or its owner is gone)
  TRect Bounds;       // client coordinates of the owner
  bool Visible = false;  // shown (hide count 0)
  bool BlinkOn = false;  // visible and in the showing half of its blink now
};
TCaretState GetCaretState();

}  // namespace vcl
