#pragma once
// Message hooks of the user-interface thread: a WH_GETMESSAGE hook sees
// every key message the thread takes from its queue (WM_KEYDOWN, WM_KEYUP,
// WM_SYSKEYDOWN, WM_SYSKEYUP with the virtual-key code), before the control
// does and before menu shortcuts: the class library's key path offers each
// key to the hooks once, where it takes it. Every installed hook sees every
// message, newest first, whether or not it calls CallNextHookEx; a
// WH_GETMESSAGE hook cannot keep a message from its window anyway. The
// MSG's window is the control's handle.
#include <functional>

#include "vcl/Types.h"

namespace vcl {

using HHOOK = uintptr_t;

inline constexpr Integer WH_GETMESSAGE = 3;
// The hook code with which a message is offered.
inline constexpr Integer HC_ACTION = 0;

struct MSG {
  HWND hwnd = 0;
  Cardinal message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  Cardinal time = 0;
  TPoint pt{};
};

// Called with HC_ACTION, a WParam of 1 (the message is being removed from
// the queue) and the MSG's address as LParam.
using THookProc = std::function<LRESULT(Integer Code, WPARAM WParam, LPARAM LParam)>;

// 0 for any kind but WH_GETMESSAGE, an empty procedure or no application.
HHOOK SetWindowsHookEx(Integer IdHook, THookProc Proc);
// False for a handle that is not installed.
bool UnhookWindowsHookEx(HHOOK Hook);
LRESULT CallNextHookEx(HHOOK Hook, Integer Code, WPARAM WParam, LPARAM LParam);
// How many hooks are installed (for tests of their owners).
int InstalledMessageHooks();
// The key path's call: every installed hook sees Msg.
void CallGetMessageHooks(MSG& Msg);

}  // namespace vcl
