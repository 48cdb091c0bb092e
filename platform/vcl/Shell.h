#pragma once
// Opening a URL with the desktop's "open": handed over as one URL, never
// through a command shell. Tests put a handler in the desktop's place.
#include <functional>

#include "rtl/Types.h"

namespace vcl {

using rtl::AnsiString;

// "www." gets "http://" in front; answers whether the desktop took it.
bool OpenURL(const AnsiString& url);
// null: the desktop again.
void SetOpenURLHandler(std::function<bool(const AnsiString& url)> handler);

}  // namespace vcl

#include <vector>

#include "vcl/Types.h"

namespace vcl {

// One item of a menu built on the spot: a separator when Text is empty.
struct TPopupItem {
  AnsiString Text;  // "Caption\tShortcut"
  Integer Command = 0;
  bool Enabled = true;
};

// Shows the items as a pop-up menu at a screen point until one is chosen
// or the menu closes; answers the chosen item's command, or 0.
Integer TrackPopupItems(const std::vector<TPopupItem>& items, TPoint screen);
// Tests answer in the menu's place (null: the real menu again).
void SetPopupTrackHook(std::function<Integer(const std::vector<TPopupItem>& items, TPoint screen)> hook);

}  // namespace vcl

namespace vcl {

// Files dropped from the desktop: a window that accepts them gets
// WM_DROPFILES with a drop handle in WParam, valid while the message runs.
using HDROP = void*;
void DragAcceptFiles(HWND wnd, bool accept);
// index 0xFFFFFFFF: the number of files; else the length of that file's
// name, copied into buffer (size bytes with its terminating NUL) when given.
Cardinal DragQueryFile(HDROP drop, Cardinal index, char* buffer, Cardinal size);

}  // namespace vcl
