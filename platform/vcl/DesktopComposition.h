#pragma once
// The desktop window manager's composition query ("dwmapi") and the theme
// service's composited text call. This desktop composes no glass: the query
// answers off unless a test turns it on, and the composited text call is
// not implemented.
#include "vcl/UxTheme.h"

namespace vcl {

// dwmapi's DwmIsCompositionEnabled: writes whether composition is on.
HRESULT DwmIsCompositionEnabled(bool* enabled);
// For tests: what the query reports from now on.
void SetDesktopCompositionEnabled(bool enabled);

// The options record of DrawThemeTextEx (64 bytes on the desktop).
struct DTTOPTS {
  Cardinal dwSize = 64;
  Cardinal dwFlags = 0;
  TColor crText = 0;
  TColor crBorder = 0;
  TColor crShadow = 0;
  Integer iTextShadowType = 0;
  TPoint ptShadowOffset{};
  Integer iBorderSize = 0;
  Integer iFontPropId = 0;
  Integer iColorPropId = 0;
  Integer iStateId = 0;
  Integer fApplyOverlay = 0;
  Integer iGlowSize = 0;
  void* pfnDrawTextCallback = nullptr;
  intptr_t lParam = 0;
};
inline constexpr Cardinal DTT_TEXTCOLOR = 0x1;
inline constexpr Cardinal DTT_GLOWSIZE = 0x800;
inline constexpr Cardinal DTT_COMPOSITED = 0x2000;

// uxtheme's DrawThemeTextEx: glowing text on glass, which needs
// composition; answers E_NOTIMPL and draws nothing.
HRESULT DrawThemeTextEx(HTHEME theme, TCanvas* dc, Integer part, Integer state, const char16_t* text, Integer count,
                        Cardinal flags, TRect* rect, const DTTOPTS* options);

}  // namespace vcl
