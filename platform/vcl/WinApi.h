#pragma once
// The window-system calls the controls make: sending and posting messages,
// keyboard and mouse state, the double-click time, cursors, beeps.
#include <functional>

#include "vcl/Controls.h"
#include "vcl/Messages.h"

namespace vcl {

// Delivers the message at once and answers its result. From another thread
// it waits until the user-interface thread has handled it (as synchronized
// work, so a user-interface thread waiting for that worker serves it). 0
// when the window is gone.
LRESULT SendMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message for the window (thread-safe); posted messages are
// handled by the message loop in the order they were posted, after work
// already in progress. False when the window does not exist.
bool PostMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool IsWindow(HWND wnd);
// Handles the posted messages waiting now; answers whether any ran.
// The message loop calls it; user-interface thread only.
bool DispatchQueuedMessages();
// True when posted messages are waiting.
bool QueuedMessagesWaiting();
// Called (on the posting thread) when a message is queued, so the message
// loop can wake up.
void SetMessageQueueWake(std::function<void()> wake);

// Sends WM_TIMER (WParam id) to the window every ms milliseconds of the
// clock service, from the message loop; setting an id again restarts it.
// User-interface thread only. Answers the id (0 for a window that does not
// exist).
uintptr_t SetTimer(HWND wnd, uintptr_t id, Cardinal ms);
bool KillTimer(HWND wnd, uintptr_t id);
// For the message loop: sends the WM_TIMER messages due now (missed periods
// once); answers whether any was sent. NextWindowTimerDue is UINT64_MAX
// without timers.
bool FireWindowTimers(uint64_t now);
uint64_t NextWindowTimerDue();

// Milliseconds between two clicks that make a double click (500 unless set);
// measured on the clock service.
Cardinal GetDoubleClickTime();
void SetDoubleClickTime(Cardinal ms);

// High bit set while the key is down (VK_SHIFT, VK_CONTROL, VK_MENU and the
// mouse buttons, as the last input reported them).
int16_t GetKeyState(Integer virtualKey);
TPoint GetCursorPos();

// Sets the cursor of the control now answering WM_SETCURSOR (a handler that
// sets its own cursor answers the message with a non-zero Result).
void SetCursor(TCursor cursor);

// Sounds the beep of a message-box type (MB_ICONHAND 16, MB_ICONQUESTION 32,
// MB_ICONEXCLAMATION 48, MB_ICONASTERISK 64, MB_OK 0; 0xFFFFFFFF a plain beep).
bool MessageBeep(Cardinal type);
// The plain beep.
void Beep();
// Replaces what a beep does (tests record the types instead of sounding
// them); an empty function restores the sound.
void SetBeepHandler(std::function<void(Cardinal type)> handler);

}  // namespace vcl
