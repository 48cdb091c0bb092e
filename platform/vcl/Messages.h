#pragma once
// Window messages: the record a control receives, the desktop's message
// numbers (WM_*), the class library's own notifications (CM_*), the
// notifications reflected back to a control from its parent (CN_*), and the
// virtual-key codes of keyboard messages.
#include "vcl/Types.h"

namespace vcl {

struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  Word WParamLo() const { return LoWord(WParam); }
  Word WParamHi() const { return HiWord(WParam); }
  Word LParamLo() const { return LoWord(static_cast<uintptr_t>(LParam)); }
  Word LParamHi() const { return HiWord(static_cast<uintptr_t>(LParam)); }
};

// Read-only views of a message under the names its kind gives its fields.
struct TWMMouse {
  explicit TWMMouse(const TMessage& m)
      : Msg(m.Msg), Keys(static_cast<Integer>(m.WParam)), XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
  Cardinal Msg;
  Integer Keys;  // MK_* flags
  Integer XPos;
  Integer YPos;
  TPoint Pos() const { return {XPos, YPos}; }
};

struct TWMMouseWheel {
  explicit TWMMouseWheel(const TMessage& m)
      : Keys(m.WParamLo()), WheelDelta(static_cast<int16_t>(m.WParamHi())),
        XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
  Integer Keys;
  Integer WheelDelta;  // multiples of WHEEL_DELTA, positive away from the user
  Integer XPos;        // screen coordinates
  Integer YPos;
};

struct TWMKey {
  explicit TWMKey(const TMessage& m) : Msg(m.Msg), CharCode(static_cast<Word>(m.WParam)), KeyData(m.LParam) {}
  Cardinal Msg;
  Word CharCode;  // the virtual key for key messages, the UTF-16 unit for WM_CHAR
  LPARAM KeyData;
  Integer RepeatCount() const { return LoWord(static_cast<uintptr_t>(KeyData)); }
  bool AltDown() const { return (KeyData & (1 << 29)) != 0; }
  bool WasDown() const { return (KeyData & (1 << 30)) != 0; }
  bool Released() const { return (static_cast<uintptr_t>(KeyData) & 0x80000000u) != 0; }
};

struct TWMSize {
  explicit TWMSize(const TMessage& m)
      : SizeType(static_cast<Integer>(m.WParam)), Width(m.LParamLo()), Height(m.LParamHi()) {}
  Integer SizeType;
  Integer Width;
  Integer Height;
};

inline constexpr Integer WHEEL_DELTA = 120;

// States of WM_ACTIVATE.
inline constexpr Integer WA_INACTIVE = 0;
inline constexpr Integer WA_ACTIVE = 1;
inline constexpr Integer WA_CLICKACTIVE = 2;

// Size types of WM_SIZE.
inline constexpr Integer SIZE_RESTORED = 0;
inline constexpr Integer SIZE_MINIMIZED = 1;
inline constexpr Integer SIZE_MAXIMIZED = 2;

// Key-state flags of mouse messages.
inline constexpr Integer MK_LBUTTON = 0x0001;
inline constexpr Integer MK_RBUTTON = 0x0002;
inline constexpr Integer MK_SHIFT = 0x0004;
inline constexpr Integer MK_CONTROL = 0x0008;
inline constexpr Integer MK_MBUTTON = 0x0010;

// Desktop window messages.
inline constexpr Cardinal WM_NULL = 0x0000;
inline constexpr Cardinal WM_CREATE = 0x0001;
inline constexpr Cardinal WM_DESTROY = 0x0002;
inline constexpr Cardinal WM_MOVE = 0x0003;
inline constexpr Cardinal WM_SIZE = 0x0005;
inline constexpr Cardinal WM_ACTIVATE = 0x0006;
inline constexpr Cardinal WM_SETFOCUS = 0x0007;
inline constexpr Cardinal WM_KILLFOCUS = 0x0008;
inline constexpr Cardinal WM_ENABLE = 0x000A;
inline constexpr Cardinal WM_SETREDRAW = 0x000B;
inline constexpr Cardinal WM_SETTEXT = 0x000C;
inline constexpr Cardinal WM_GETTEXT = 0x000D;
inline constexpr Cardinal WM_GETTEXTLENGTH = 0x000E;
inline constexpr Cardinal WM_PAINT = 0x000F;
inline constexpr Cardinal WM_CLOSE = 0x0010;
inline constexpr Cardinal WM_QUIT = 0x0012;
inline constexpr Cardinal WM_ERASEBKGND = 0x0014;
inline constexpr Cardinal WM_SYSCOLORCHANGE = 0x0015;
inline constexpr Cardinal WM_SHOWWINDOW = 0x0018;
inline constexpr Cardinal WM_CANCELMODE = 0x001F;
inline constexpr Cardinal WM_SETCURSOR = 0x0020;
inline constexpr Cardinal WM_MOUSEACTIVATE = 0x0021;
inline constexpr Cardinal WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr Cardinal WM_STYLECHANGED = 0x007D;
inline constexpr Cardinal WM_NOTIFY = 0x004E;
inline constexpr Cardinal WM_CONTEXTMENU = 0x007B;
inline constexpr Cardinal WM_NCCALCSIZE = 0x0083;
inline constexpr Cardinal WM_NCHITTEST = 0x0084;
inline constexpr Cardinal WM_NCPAINT = 0x0085;
inline constexpr Cardinal WM_NCACTIVATE = 0x0086;
inline constexpr Cardinal WM_GETDLGCODE = 0x0087;
inline constexpr Cardinal WM_NCLBUTTONDOWN = 0x00A1;
// Edit control messages.
inline constexpr Cardinal EM_GETRECT = 0x00B2;
inline constexpr Cardinal EM_SETRECT = 0x00B3;
inline constexpr Cardinal EM_SETRECTNP = 0x00B4;
inline constexpr Cardinal EM_SETREADONLY = 0x00CF;
// Combo box messages and notifications.
inline constexpr Cardinal CB_GETCOUNT = 0x0146;
inline constexpr Cardinal CB_GETCURSEL = 0x0147;
inline constexpr Cardinal CB_SHOWDROPDOWN = 0x014F;
inline constexpr Cardinal CB_GETDROPPEDSTATE = 0x0157;
inline constexpr Cardinal CB_GETDROPPEDWIDTH = 0x015F;
inline constexpr Cardinal CB_SETDROPPEDWIDTH = 0x0160;
inline constexpr Word CBN_SELCHANGE = 1;
inline constexpr Word CBN_DROPDOWN = 7;
inline constexpr Word CBN_CLOSEUP = 8;
inline constexpr Cardinal WM_KEYDOWN = 0x0100;
inline constexpr Cardinal WM_KEYUP = 0x0101;
inline constexpr Cardinal WM_CHAR = 0x0102;
inline constexpr Cardinal WM_SYSKEYDOWN = 0x0104;
inline constexpr Cardinal WM_SYSKEYUP = 0x0105;
inline constexpr Cardinal WM_SYSCHAR = 0x0106;
inline constexpr Cardinal WM_IME_COMPOSITION = 0x010F;
inline constexpr Cardinal WM_COMMAND = 0x0111;
inline constexpr Cardinal WM_SYSCOMMAND = 0x0112;
// WM_SYSCOMMAND's commands (its WParam) for a change of the window's state.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_RESTORE = 0xF120;
inline constexpr Cardinal WM_TIMER = 0x0113;
inline constexpr Cardinal WM_HSCROLL = 0x0114;
inline constexpr Cardinal WM_VSCROLL = 0x0115;
// Scroll-bar requests of WM_HSCROLL and WM_VSCROLL (low word of WParam; the
// high word carries the position of the two thumb requests), and the bars.
inline constexpr Integer SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4,
                         SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8;
inline constexpr Integer SB_HORZ = 0, SB_VERT = 1, SB_BOTH = 3;
inline constexpr Cardinal WM_MENUSELECT = 0x011F;
inline constexpr Cardinal WM_CHANGEUISTATE = 0x0127;
inline constexpr Cardinal WM_UPDATEUISTATE = 0x0128;
inline constexpr Cardinal WM_QUERYUISTATE = 0x0129;
inline constexpr Cardinal WM_CTLCOLOREDIT = 0x0133;
inline constexpr Cardinal WM_MOUSEFIRST = 0x0200;
inline constexpr Cardinal WM_MOUSEMOVE = 0x0200;
inline constexpr Cardinal WM_LBUTTONDOWN = 0x0201;
inline constexpr Cardinal WM_LBUTTONUP = 0x0202;
inline constexpr Cardinal WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Cardinal WM_RBUTTONDOWN = 0x0204;
inline constexpr Cardinal WM_RBUTTONUP = 0x0205;
inline constexpr Cardinal WM_RBUTTONDBLCLK = 0x0206;
inline constexpr Cardinal WM_MBUTTONDOWN = 0x0207;
inline constexpr Cardinal WM_MBUTTONUP = 0x0208;
inline constexpr Cardinal WM_MBUTTONDBLCLK = 0x0209;
inline constexpr Cardinal WM_MOUSEWHEEL = 0x020A;
inline constexpr Cardinal WM_MOUSELAST = 0x020A;
inline constexpr Cardinal WM_PARENTNOTIFY = 0x0210;
inline constexpr Cardinal WM_SIZING = 0x0214;
inline constexpr Cardinal WM_CAPTURECHANGED = 0x0215;
inline constexpr Cardinal WM_MOVING = 0x0216;
inline constexpr Cardinal WM_ENTERSIZEMOVE = 0x0231;
inline constexpr Cardinal WM_EXITSIZEMOVE = 0x0232;
inline constexpr Cardinal WM_DROPFILES = 0x0233;
inline constexpr Cardinal WM_MOUSEHOVER = 0x02A1;
inline constexpr Cardinal WM_MOUSELEAVE = 0x02A3;
inline constexpr Cardinal WM_CUT = 0x0300;
inline constexpr Cardinal WM_COPY = 0x0301;
inline constexpr Cardinal WM_PASTE = 0x0302;
inline constexpr Cardinal WM_CLEAR = 0x0303;
inline constexpr Cardinal WM_UNDO = 0x0304;
inline constexpr Cardinal WM_THEMECHANGED = 0x031A;
inline constexpr Cardinal WM_USER = 0x0400;
inline constexpr Cardinal WM_APP = 0x8000;

// Edit-control messages. Texts are UTF-8; character indices count
// characters (code points), not bytes.
inline constexpr Cardinal EM_GETSEL = 0x00B0;        // wParam, lParam: Cardinal* start, end
inline constexpr Cardinal EM_SETSEL = 0x00B1;        // start, end
inline constexpr Cardinal EM_LINESCROLL = 0x00B6;    // lParam: lines to scroll
inline constexpr Cardinal EM_SCROLLCARET = 0x00B7;
inline constexpr Cardinal EM_GETLINECOUNT = 0x00BA;
inline constexpr Cardinal EM_LINEINDEX = 0x00BB;     // line -> its first character, -1 past the end
inline constexpr Cardinal EM_REPLACESEL = 0x00C2;    // lParam: const char* (NUL-ended)
inline constexpr Cardinal EM_GETLINE = 0x00C4;       // line; lParam: buffer whose first Word is its size
inline constexpr Cardinal EM_LINEFROMCHAR = 0x00C9;
inline constexpr Cardinal EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr Cardinal EM_POSFROMCHAR = 0x00D6;   // index -> MakeLParam(x, y), -1 when none
// Rich-edit messages.
inline constexpr Cardinal EM_EXGETSEL = WM_USER + 52;  // 1076; lParam: TCharRange*
// A character range of a rich-edit selection.
struct TCharRange {
  Integer cpMin = 0;
  Integer cpMax = 0;
};

// Notifications of the class library, sent between controls.
inline constexpr Cardinal CM_BASE = 0xB000;
inline constexpr Cardinal CM_ACTIVATE = CM_BASE + 0;
inline constexpr Cardinal CM_DEACTIVATE = CM_BASE + 1;
inline constexpr Cardinal CM_GOTFOCUS = CM_BASE + 2;
inline constexpr Cardinal CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr Cardinal CM_CANCELMODE = CM_BASE + 4;
inline constexpr Cardinal CM_DIALOGKEY = CM_BASE + 5;
inline constexpr Cardinal CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr Cardinal CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr Cardinal CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr Cardinal CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr Cardinal CM_HITTEST = CM_BASE + 10;
inline constexpr Cardinal CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr Cardinal CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr Cardinal CM_COLORCHANGED = CM_BASE + 13;
inline constexpr Cardinal CM_FONTCHANGED = CM_BASE + 14;
inline constexpr Cardinal CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr Cardinal CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr Cardinal CM_MOUSEENTER = CM_BASE + 19;
inline constexpr Cardinal CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr Cardinal CM_MENUCHANGED = CM_BASE + 21;
inline constexpr Cardinal CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr Cardinal CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr Cardinal CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr Cardinal CM_ENTER = CM_BASE + 26;
inline constexpr Cardinal CM_EXIT = CM_BASE + 27;
inline constexpr Cardinal CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr Cardinal CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr Cardinal CM_RELEASE = CM_BASE + 33;
inline constexpr Cardinal CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr Cardinal CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr Cardinal CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr Cardinal CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr Cardinal CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr Cardinal CM_CHILDKEY = CM_BASE + 46;
inline constexpr Cardinal CM_HINTSHOW = CM_BASE + 48;
inline constexpr Cardinal CM_INVALIDATE = CM_BASE + 52;
inline constexpr Cardinal CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr Cardinal CM_CHANGED = CM_BASE + 55;
inline constexpr Cardinal CM_MOUSEWHEEL = CM_BASE + 67;
// Sent before a child is inserted or removed (CM_CONTROLLISTCHANGE follows
// after): WParam the child, LParam 1 for inserting.
inline constexpr Cardinal CM_CONTROLLISTCHANGING = CM_BASE + 82;

// Notifications a parent reflects back to the control they concern.
inline constexpr Cardinal CN_BASE = 0xBC00;
inline constexpr Cardinal CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr Cardinal CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr Cardinal CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr Cardinal CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr Cardinal CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr Cardinal CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr Cardinal CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Edit styles a control's creation parameters carry (the window styles are
// in Controls.h).
inline constexpr Cardinal ES_LEFT = 0x0000;
inline constexpr Cardinal ES_CENTER = 0x0001;
inline constexpr Cardinal ES_RIGHT = 0x0002;
inline constexpr Cardinal ES_MULTILINE = 0x0004;
inline constexpr Cardinal ES_AUTOHSCROLL = 0x0080;
inline constexpr Cardinal ES_READONLY = 0x0800;
inline constexpr Cardinal WS_CLIPCHILDREN = 0x02000000;

// WM_GETDLGCODE answers.
inline constexpr Integer DLGC_WANTARROWS = 0x0001;
inline constexpr Integer DLGC_WANTTAB = 0x0002;
inline constexpr Integer DLGC_WANTALLKEYS = 0x0004;
inline constexpr Integer DLGC_WANTCHARS = 0x0080;
inline constexpr Integer DLGC_HASSETSEL = 0x0008;
inline constexpr Integer DLGC_BUTTON = 0x2000;

// WM_MOUSEACTIVATE answers.
inline constexpr Integer MA_ACTIVATE = 1;
inline constexpr Integer MA_ACTIVATEANDEAT = 2;
inline constexpr Integer MA_NOACTIVATE = 3;
inline constexpr Integer MA_NOACTIVATEANDEAT = 4;

// Keyboard cues (WM_CHANGEUISTATE, WM_UPDATEUISTATE: LoWord the action,
// HiWord the cues).
inline constexpr Word UIS_SET = 1;
inline constexpr Word UIS_CLEAR = 2;
inline constexpr Word UIS_INITIALIZE = 3;
inline constexpr Word UISF_HIDEFOCUS = 0x1;
inline constexpr Word UISF_HIDEACCEL = 0x2;

// WM_STYLECHANGED: WParam says which (GWL_STYLE, GWL_EXSTYLE of WinApi.h),
// LParam points to the old and new bits.
struct STYLESTRUCT {
  Cardinal styleOld = 0;
  Cardinal styleNew = 0;
};

// Virtual-key codes.
inline constexpr Word VK_LBUTTON = 0x01;
inline constexpr Word VK_RBUTTON = 0x02;
inline constexpr Word VK_CANCEL = 0x03;
inline constexpr Word VK_MBUTTON = 0x04;
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_CLEAR = 0x0C;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_PAUSE = 0x13;
inline constexpr Word VK_CAPITAL = 0x14;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_SNAPSHOT = 0x2C;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_HELP = 0x2F;
inline constexpr Word VK_LWIN = 0x5B;
inline constexpr Word VK_RWIN = 0x5C;
inline constexpr Word VK_APPS = 0x5D;
inline constexpr Word VK_NUMPAD0 = 0x60;
inline constexpr Word VK_MULTIPLY = 0x6A;
inline constexpr Word VK_ADD = 0x6B;
inline constexpr Word VK_SEPARATOR = 0x6C;
inline constexpr Word VK_SUBTRACT = 0x6D;
inline constexpr Word VK_DECIMAL = 0x6E;
inline constexpr Word VK_DIVIDE = 0x6F;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F2 = 0x71;
inline constexpr Word VK_F3 = 0x72;
inline constexpr Word VK_F4 = 0x73;
inline constexpr Word VK_F5 = 0x74;
inline constexpr Word VK_F6 = 0x75;
inline constexpr Word VK_F7 = 0x76;
inline constexpr Word VK_F8 = 0x77;
inline constexpr Word VK_F9 = 0x78;
inline constexpr Word VK_F10 = 0x79;
inline constexpr Word VK_F11 = 0x7A;
inline constexpr Word VK_F12 = 0x7B;
inline constexpr Word VK_F24 = 0x87;
inline constexpr Word VK_NUMLOCK = 0x90;
inline constexpr Word VK_SCROLL = 0x91;
inline constexpr Word VK_OEM_1 = 0xBA;       // ;:
inline constexpr Word VK_OEM_PLUS = 0xBB;    // =+
inline constexpr Word VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr Word VK_OEM_MINUS = 0xBD;   // -_
inline constexpr Word VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr Word VK_OEM_2 = 0xBF;       // /?
inline constexpr Word VK_OEM_3 = 0xC0;       // `~
inline constexpr Word VK_OEM_4 = 0xDB;       // [{
inline constexpr Word VK_OEM_5 = 0xDC;       // \|
inline constexpr Word VK_OEM_6 = 0xDD;       // ]}
inline constexpr Word VK_OEM_7 = 0xDE;       // '"
// A key that only delivers a character (no key of its own on the layout).
inline constexpr Word VK_PACKET = 0xE7;

}  // namespace vcl
