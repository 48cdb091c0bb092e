#pragma once
// The desktop's theme service ("uxtheme"): themed parts of buttons, combo
// boxes, spin buttons, headers, progress bars and status bars, drawn by the
// application's own Qt style so that they match the native controls beside
// them. Components reach these functions through the module's exports
// (LoadLibrary / GetProcAddress, vcl/WinApi.h), as the desktop has them; the
// class library calls them directly.
//
// Theming is one process switch, on at start. While it is off every
// OpenThemeData answers null, and switching it either way sends
// WM_THEMECHANGED to every window. Functions no caller of this program
// needs answer E_NOTIMPL (or their "nothing" value).
#include <cstdint>

#include "vcl/Gdi.h"

namespace vcl {

class TRegion;
class TImageList;

struct TThemeData;                 // one opened theme class (UxTheme.cpp)
using HTHEME = TThemeData*;        // null: no theme
using HRESULT = int32_t;
struct TThemeBrush;
using HBRUSH = TThemeBrush*;       // the theme service hands out none

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);

struct MARGINS {
  Integer cxLeftWidth = 0;
  Integer cxRightWidth = 0;
  Integer cyTopHeight = 0;
  Integer cyBottomHeight = 0;
};

struct INTLIST {
  Integer iValueCount = 0;
  Integer iValues[402] = {};
};

// --- Parts and states the program's controls draw ---
// "button"
inline constexpr Integer BP_PUSHBUTTON = 1;
inline constexpr Integer BP_RADIOBUTTON = 2;
inline constexpr Integer BP_CHECKBOX = 3;
inline constexpr Integer BP_GROUPBOX = 4;
inline constexpr Integer PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
inline constexpr Integer RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3,
                         RBS_UNCHECKEDDISABLED = 4, RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6,
                         RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8;
inline constexpr Integer CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3,
                         CBS_UNCHECKEDDISABLED = 4, CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6,
                         CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8, CBS_MIXEDNORMAL = 9,
                         CBS_MIXEDHOT = 10, CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12;
inline constexpr Integer GBS_NORMAL = 1, GBS_DISABLED = 2;
// "combobox"
inline constexpr Integer CP_DROPDOWNBUTTON = 1;
inline constexpr Integer CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
// "spin": up and down arrows, and the horizontal pair (right, left)
inline constexpr Integer SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4;
inline constexpr Integer UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4;
inline constexpr Integer DNS_NORMAL = 1, DNS_HOT = 2, DNS_PRESSED = 3, DNS_DISABLED = 4;
// "header"
inline constexpr Integer HP_HEADERITEM = 1;
inline constexpr Integer HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3;
// "progress"
inline constexpr Integer PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;
// "status"
inline constexpr Integer SP_PANE = 1, SP_GRIPPERPANE = 2, SP_GRIPPER = 3;

// GetThemeAppProperties / SetThemeAppProperties flags.
inline constexpr Cardinal STAP_ALLOW_NONCLIENT = 1;
inline constexpr Cardinal STAP_ALLOW_CONTROLS = 2;
inline constexpr Cardinal STAP_ALLOW_WEBCONTENT = 4;

// --- The 45 functions, in the desktop's signatures (a canvas stands for
// the device context) ---
// A theme for the first class of the semicolon-separated list it knows
// ("button", "combobox", "spin", "header", "progress", "status"; case
// ignored); null for none, or while theming is off. The window, when
// given, remembers it for GetWindowTheme.
HTHEME OpenThemeData(HWND wnd, const char16_t* classList);
HRESULT CloseThemeData(HTHEME theme);
// Draws the part in its state into rect, within the canvas's clipping and
// clip (when not null). E_INVALIDARG for a part or state the class does
// not have; E_HANDLE for a theme that is closed.
HRESULT DrawThemeBackground(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* rect,
                            const TRect* clip);
HRESULT DrawThemeText(HTHEME theme, TCanvas* dc, Integer part, Integer state, const char16_t* text, Integer count,
                      Cardinal flags, Cardinal flags2, const TRect* rect);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* bounds,
                                      TRect* content);
HRESULT GetThemeBackgroundExtent(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* content,
                                 TRect* extent);
HRESULT GetThemeTextExtent(HTHEME theme, TCanvas* dc, Integer part, Integer state, const char16_t* text,
                           Integer count, Cardinal flags, const TRect* bounds, TRect* extent);
HRESULT GetThemeTextMetrics(HTHEME theme, TCanvas* dc, Integer part, Integer state, TTextMetrics* metrics);
HRESULT GetThemeBackgroundRegion(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* rect,
                                 TRegion** region);
HRESULT HitTestThemeBackground(HTHEME theme, TCanvas* dc, Integer part, Integer state, Cardinal options,
                               const TRect* rect, TRegion* region, TPoint test, Word* hitCode);
HRESULT DrawThemeEdge(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* dest, Cardinal edge,
                      Cardinal flags, TRect* content);
HRESULT DrawThemeIcon(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* rect,
                      TImageList* images, Integer index);
// Whether the class has the part (and the state, when state > 0).
bool IsThemePartDefined(HTHEME theme, Integer part, Integer state);
// True for the round and square glyphs (radio and check boxes), which leave
// their corners to the background.
bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, Integer part, Integer state);
HRESULT GetThemeColor(HTHEME theme, Integer part, Integer state, Integer propId, TColor* color);
HRESULT GetThemeMetric(HTHEME theme, TCanvas* dc, Integer part, Integer state, Integer propId, Integer* value);
HRESULT GetThemeString(HTHEME theme, Integer part, Integer state, Integer propId, char16_t* buffer, Integer size);
HRESULT GetThemeBool(HTHEME theme, Integer part, Integer state, Integer propId, Integer* value);
HRESULT GetThemeInt(HTHEME theme, Integer part, Integer state, Integer propId, Integer* value);
HRESULT GetThemeEnumValue(HTHEME theme, Integer part, Integer state, Integer propId, Integer* value);
HRESULT GetThemePosition(HTHEME theme, Integer part, Integer state, Integer propId, TPoint* point);
HRESULT GetThemeFont(HTHEME theme, TCanvas* dc, Integer part, Integer state, Integer propId, LOGFONT* font);
HRESULT GetThemeRect(HTHEME theme, Integer part, Integer state, Integer propId, TRect* rect);
HRESULT GetThemeMargins(HTHEME theme, TCanvas* dc, Integer part, Integer state, Integer propId, const TRect* rect,
                        MARGINS* margins);
HRESULT GetThemeIntList(HTHEME theme, Integer part, Integer state, Integer propId, INTLIST* list);
HRESULT SetWindowTheme(HWND wnd, const char16_t* appName, const char16_t* idList);
HRESULT GetThemeFilename(HTHEME theme, Integer part, Integer state, Integer propId, char16_t* buffer,
                         Integer size);
// The system colour of that index (GetSysColor).
TColor GetThemeSysColor(HTHEME theme, Integer colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, Integer colorId);
bool GetThemeSysBool(HTHEME theme, Integer boolId);
Integer GetThemeSysSize(HTHEME theme, Integer sizeId);
HRESULT GetThemeSysFont(HTHEME theme, Integer fontId, LOGFONT* font);
HRESULT GetThemeSysString(HTHEME theme, Integer stringId, char16_t* buffer, Integer size);
HRESULT GetThemeSysInt(HTHEME theme, Integer intId, Integer* value);
bool IsThemeActive();
// Themed and the application allows themed controls.
bool IsAppThemed();
// The theme last opened for the window while it is open; null otherwise.
HTHEME GetWindowTheme(HWND wnd);
HRESULT EnableThemeDialogTexture(HWND wnd, Cardinal flags);
bool IsThemeDialogTextureEnabled(HWND wnd);
Cardinal GetThemeAppProperties();
void SetThemeAppProperties(Cardinal flags);
// The theme's file name, colour scheme ("NormalColor" unless a test set
// another) and size name, each into its buffer when given (size in
// characters, the terminating zero included). E_FAIL while theming is off,
// E_INVALIDARG for a buffer too small.
HRESULT GetCurrentThemeName(char16_t* fileName, Integer fileNameSize, char16_t* colorName, Integer colorNameSize,
                            char16_t* sizeName, Integer sizeNameSize);
HRESULT GetThemeDocumentationProperty(const char16_t* themeName, const char16_t* propertyName, char16_t* value,
                                      Integer size);
// Copies what the window's parent shows under it (the parent's back buffer,
// brought up to date; its colour for a parent without one) onto the canvas
// at the window's client coordinates, within rect when given.
HRESULT DrawThemeParentBackground(HWND wnd, TCanvas* dc, const TRect* rect);
// Switches theming for the process (the same switch as SetThemeActive).
HRESULT EnableTheming(bool enable);

// --- The layer's own controls of the service ---
// The process switch behind IsThemeActive; a change sends WM_THEMECHANGED
// to every window.
void SetThemeActive(bool active);
// For tests: the colour-scheme name GetCurrentThemeName reports.
void SetThemeColorSchemeName(const WideString& name);

}  // namespace vcl
