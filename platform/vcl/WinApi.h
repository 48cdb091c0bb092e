#pragma once
// The window-system calls the controls make: sending and posting messages,
// keyboard and mouse state, the double-click time, cursors, beeps.
#include <functional>
#include <memory>
#include <vector>

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
// Every window that exists now, oldest first.
std::vector<HWND> EnumWindowHandles();
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
// The screen position of the mouse when the last mouse message was made
// (the cursor may have moved since).
TPoint GetMessagePos();

// Device contexts of a window, as canvases on its back buffer (see
// TWindowCanvas): GetDC the client area, GetWindowDC the whole window with
// its border. Null for a window that does not exist or paints no buffer of
// its own. The canvas must be dropped before the window is freed.
std::unique_ptr<TCanvas> GetDC(HWND wnd);
std::unique_ptr<TCanvas> GetWindowDC(HWND wnd);

// Window bits and links, as GetWindowLong and SetWindowLong reach them:
// GWL_STYLE and GWL_EXSTYLE the control's style bits (TWinControl's
// WindowStyle), GWL_HWNDPARENT a form's owner window (a child's parent for
// reading). Setting answers the old value; 0 for a window that does not
// exist or an index not known.
inline constexpr Integer GWL_HWNDPARENT = -8;
inline constexpr Integer GWL_STYLE = -16;
inline constexpr Integer GWL_EXSTYLE = -20;
inline constexpr Integer GCL_STYLE = -26;
intptr_t GetWindowLong(HWND wnd, Integer index);
intptr_t SetWindowLong(HWND wnd, Integer index, intptr_t value);
Cardinal GetClassLong(HWND wnd, Integer index);
Cardinal SetClassLong(HWND wnd, Integer index, Cardinal value);

// System parameters: SPI_GETWHEELSCROLLLINES writes the lines one wheel
// step scrolls (3) to a Cardinal. False for anything else.
inline constexpr Cardinal SPI_GETWHEELSCROLLLINES = 0x0068;
bool SystemParametersInfo(Cardinal action, Cardinal param, void* data, Cardinal winIni);

// A window's own scroll bars (SB_HORZ, SB_VERT), shown in its non-client
// area inside any border it claims. The window keeps the numbers; the
// user's actions on a bar arrive as WM_HSCROLL / WM_VSCROLL (the thumb's
// position in the high word of SB_THUMBTRACK and SB_THUMBPOSITION) and
// move nothing until the window sets the position.
struct SCROLLINFO {
  Cardinal cbSize = sizeof(SCROLLINFO);
  Cardinal fMask = 0;
  Integer nMin = 0;
  Integer nMax = 0;
  Cardinal nPage = 0;
  Integer nPos = 0;
  Integer nTrackPos = 0;
};
inline constexpr Cardinal SIF_RANGE = 0x1;
inline constexpr Cardinal SIF_PAGE = 0x2;
inline constexpr Cardinal SIF_POS = 0x4;
inline constexpr Cardinal SIF_DISABLENOSCROLL = 0x8;
inline constexpr Cardinal SIF_TRACKPOS = 0x10;
inline constexpr Cardinal SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// Sets the parts fMask names (the position kept within min .. max - page
// + 1); the bar shows while the range exceeds the page and hides otherwise
// (with SIF_DISABLENOSCROLL it stays, disabled). Answers the position.
Integer SetScrollInfo(HWND wnd, Integer bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND wnd, Integer bar, SCROLLINFO* info);
// Answers the old position.
Integer SetScrollPos(HWND wnd, Integer bar, Integer pos, bool redraw);
Integer GetScrollPos(HWND wnd, Integer bar);
bool SetScrollRange(HWND wnd, Integer bar, Integer minPos, Integer maxPos, bool redraw);
bool ShowScrollBar(HWND wnd, Integer bar, bool show);
// Enables or disables the arrows of a window's scroll bar (SB_HORZ,
// SB_VERT, SB_BOTH); a bar with both arrows disabled takes no input.
// GetScrollBarArrows answers what was last set (ESB_ENABLE_BOTH at first).
inline constexpr Cardinal ESB_ENABLE_BOTH = 0x0000;
inline constexpr Cardinal ESB_DISABLE_LTUP = 0x0001;
inline constexpr Cardinal ESB_DISABLE_RTDN = 0x0002;
inline constexpr Cardinal ESB_DISABLE_BOTH = 0x0003;
bool EnableScrollBar(HWND wnd, Integer bar, Cardinal arrows);
Cardinal GetScrollBarArrows(HWND wnd, Integer bar);

// A point in the window's client coordinates to screen coordinates, in
// place; false for a window that does not exist.
bool ClientToScreen(HWND wnd, TPoint* point);
bool ScreenToClient(HWND wnd, TPoint* point);

// RedrawWindow flags.
inline constexpr Cardinal RDW_INVALIDATE = 0x0001;
inline constexpr Cardinal RDW_INTERNALPAINT = 0x0002;
inline constexpr Cardinal RDW_ERASE = 0x0004;
inline constexpr Cardinal RDW_VALIDATE = 0x0008;
inline constexpr Cardinal RDW_NOINTERNALPAINT = 0x0010;
inline constexpr Cardinal RDW_NOERASE = 0x0020;
inline constexpr Cardinal RDW_NOCHILDREN = 0x0040;
inline constexpr Cardinal RDW_ALLCHILDREN = 0x0080;
inline constexpr Cardinal RDW_UPDATENOW = 0x0100;
inline constexpr Cardinal RDW_ERASENOW = 0x0200;
inline constexpr Cardinal RDW_FRAME = 0x0400;
inline constexpr Cardinal RDW_NOFRAME = 0x0800;
// RDW_INVALIDATE marks the client area for repainting (when update is null
// or not empty; the whole area is repainted), with RDW_FRAME the border
// too; RDW_VALIDATE and RDW_NOFRAME take such marks back; RDW_UPDATENOW and
// RDW_ERASENOW paint what is marked at once; RDW_ALLCHILDREN applies the
// same to every windowed child. False for a window that does not exist.
bool RedrawWindow(HWND wnd, const TRect* update, Cardinal flags);
// System measures: scroll-bar sizes (17 at 96 pixels per inch), borders and
// edges, the screen from the primary screen's geometry; 0 for others.
inline constexpr Integer SM_CXSCREEN = 0;
inline constexpr Integer SM_CYSCREEN = 1;
inline constexpr Integer SM_CXVSCROLL = 2;
inline constexpr Integer SM_CYHSCROLL = 3;
inline constexpr Integer SM_CXBORDER = 5;
inline constexpr Integer SM_CYBORDER = 6;
inline constexpr Integer SM_CXEDGE = 45;
inline constexpr Integer SM_CYEDGE = 46;
Integer GetSystemMetrics(Integer index);

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

// --- System modules ---
// The desktop's libraries are modules of this layer: "kernel32"
// (GetLocaleInfoEx), "user32" (the layered-window calls) and "uxtheme" (the
// theme service of vcl/UxTheme.h). Names are matched without regard to case,
// with or without ".dll". kernel32 and user32 are loaded from the start;
// uxtheme only while someone holds it through LoadLibrary.
using HMODULE = uintptr_t;  // 0: no module
using FARPROC = void (*)();  // cast to the export's own type before calling
// A loaded module's handle; 0 when it is unknown or not loaded. The load
// count does not change.
HMODULE GetModuleHandle(const AnsiString& name);
// Loads the module (or counts one more use of it); 0 when there is none.
HMODULE LoadLibrary(const AnsiString& name);
// Counts one use less; false for a handle that is not loaded.
bool FreeLibrary(HMODULE module);
// The export of that name (exact case), or null.
FARPROC GetProcAddress(HMODULE module, const AnsiString& name);
// For tests: a hidden module cannot be loaded or found, a hidden export is
// not found; showing restores them.
void SetModuleHidden(const AnsiString& name, bool hidden);
void SetExportHidden(const AnsiString& module, const AnsiString& exportName, bool hidden);
// How many times the module was loaded through LoadLibrary and not freed.
Integer ModuleLoadCount(const AnsiString& name);

// kernel32's "GetLocaleInfoEx": one item of the program's fixed regional
// settings (rtl/Locale.h) for "en-US", the user's default (null) or the
// invariant locale (""), as UTF-16 with its terminating zero. Answers the
// characters written, the size needed when size is 0, and 0 for an unknown
// locale or item or a buffer too small.
Integer GetLocaleInfoEx(const char16_t* localeName, Cardinal lcType, char16_t* data, Integer size);
inline constexpr Cardinal LOCALE_SLIST = 0x0C;
inline constexpr Cardinal LOCALE_SDECIMAL = 0x0E;
inline constexpr Cardinal LOCALE_STHOUSAND = 0x0F;
inline constexpr Cardinal LOCALE_SCURRENCY = 0x14;
inline constexpr Cardinal LOCALE_SDATE = 0x1D;
inline constexpr Cardinal LOCALE_STIME = 0x1E;
inline constexpr Cardinal LOCALE_SSHORTDATE = 0x1F;
inline constexpr Cardinal LOCALE_SLONGDATE = 0x20;
inline constexpr Cardinal LOCALE_S1159 = 0x28;
inline constexpr Cardinal LOCALE_S2359 = 0x29;
inline constexpr Cardinal LOCALE_SNAME = 0x5C;
inline constexpr Cardinal LOCALE_SENGLISHLANGUAGENAME = 0x1001;
inline constexpr Cardinal LOCALE_SENGLISHCOUNTRYNAME = 0x1002;
inline constexpr Cardinal LOCALE_STIMEFORMAT = 0x1003;

// user32's layered windows. SetLayeredWindowAttributes: LWA_ALPHA makes a
// top-level window translucent by alpha; LWA_COLORKEY leaves the key
// colour's pixels of its back buffer out of the window's shape.
// UpdateLayeredWindow moves and sizes the window (pptDst, psize), copies
// the source canvas from pptSrc into its back buffer and applies the blend's
// constant alpha (ULW_ALPHA) or the key (ULW_COLORKEY). False for a window
// that does not exist.
struct BLENDFUNCTION {
  Byte BlendOp = 0;  // AC_SRC_OVER
  Byte BlendFlags = 0;
  Byte SourceConstantAlpha = 255;
  Byte AlphaFormat = 0;
};
inline constexpr Cardinal LWA_COLORKEY = 1;
inline constexpr Cardinal LWA_ALPHA = 2;
inline constexpr Cardinal ULW_COLORKEY = 1;
inline constexpr Cardinal ULW_ALPHA = 2;
inline constexpr Cardinal ULW_OPAQUE = 4;
bool SetLayeredWindowAttributes(HWND wnd, TColor key, Byte alpha, Cardinal flags);
// user32's window regions: the window shows only the region's pixels (in
// window coordinates); null (or an empty region) shows all of it again. False for a window that
// does not exist. GetWindowRgn copies the shape and answers False when the
// window has none.
bool SetWindowRgn(HWND wnd, const TRegion* region, bool redraw);
bool GetWindowRgn(HWND wnd, TRegion* region);

// msimg32's "AlphaBlend": source's rectangle stretched onto the target's
// with the blend's constant alpha (AC_SRC_OVER; per-pixel alpha
// (AlphaFormat AC_SRC_ALPHA) is not supported and fails). False for a
// missing canvas or an empty rectangle. The module is not loaded at start.
inline constexpr Byte AC_SRC_OVER = 0x00;
inline constexpr Byte AC_SRC_ALPHA = 0x01;
bool AlphaBlend(TCanvas* dest, Integer xDest, Integer yDest, Integer wDest, Integer hDest, TCanvas* source,
                Integer xSrc, Integer ySrc, Integer wSrc, Integer hSrc, BLENDFUNCTION blend);
using TAlphaBlendFunction = bool (*)(TCanvas*, Integer, Integer, Integer, Integer, TCanvas*, Integer, Integer,
                                     Integer, Integer, BLENDFUNCTION);
bool UpdateLayeredWindow(HWND wnd, TCanvas* dcDst, const TPoint* pptDst, const TSize* psize, TCanvas* dcSrc,
                         const TPoint* pptSrc, TColor key, const BLENDFUNCTION* blend, Cardinal flags);

}  // namespace vcl
