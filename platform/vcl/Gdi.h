#pragma once
// The desktop's numbers for edges, frame controls and raster operations,
// as TCanvas::DrawEdge, DrawFrameControl and BlitFrom take them.
#include "vcl/Graphics.h"

namespace vcl {

// DrawEdge: which borders (outer and inner, raised or sunken) ...
inline constexpr Cardinal BDR_RAISEDOUTER = 0x1;
inline constexpr Cardinal BDR_SUNKENOUTER = 0x2;
inline constexpr Cardinal BDR_RAISEDINNER = 0x4;
inline constexpr Cardinal BDR_SUNKENINNER = 0x8;
inline constexpr Cardinal BDR_OUTER = 0x3;
inline constexpr Cardinal BDR_INNER = 0xC;
inline constexpr Cardinal EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr Cardinal EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr Cardinal EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr Cardinal EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
// ... on which sides, and how.
inline constexpr Cardinal BF_LEFT = 0x1;
inline constexpr Cardinal BF_TOP = 0x2;
inline constexpr Cardinal BF_RIGHT = 0x4;
inline constexpr Cardinal BF_BOTTOM = 0x8;
inline constexpr Cardinal BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr Cardinal BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr Cardinal BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr Cardinal BF_MIDDLE = 0x800;
inline constexpr Cardinal BF_SOFT = 0x1000;
inline constexpr Cardinal BF_ADJUST = 0x2000;
inline constexpr Cardinal BF_FLAT = 0x4000;
inline constexpr Cardinal BF_MONO = 0x8000;

// DrawFrameControl kinds ...
inline constexpr Cardinal DFC_CAPTION = 1;
inline constexpr Cardinal DFC_MENU = 2;
inline constexpr Cardinal DFC_SCROLL = 3;
inline constexpr Cardinal DFC_BUTTON = 4;
// ... their parts (low byte) ...
inline constexpr Cardinal DFCS_CAPTIONCLOSE = 0x0;
inline constexpr Cardinal DFCS_CAPTIONMIN = 0x1;
inline constexpr Cardinal DFCS_CAPTIONMAX = 0x2;
inline constexpr Cardinal DFCS_CAPTIONRESTORE = 0x3;
inline constexpr Cardinal DFCS_CAPTIONHELP = 0x4;
inline constexpr Cardinal DFCS_MENUARROW = 0x0;
inline constexpr Cardinal DFCS_MENUCHECK = 0x1;
inline constexpr Cardinal DFCS_MENUBULLET = 0x2;
inline constexpr Cardinal DFCS_SCROLLUP = 0x0;
inline constexpr Cardinal DFCS_SCROLLDOWN = 0x1;
inline constexpr Cardinal DFCS_SCROLLLEFT = 0x2;
inline constexpr Cardinal DFCS_SCROLLRIGHT = 0x3;
inline constexpr Cardinal DFCS_SCROLLCOMBOBOX = 0x5;
inline constexpr Cardinal DFCS_SCROLLSIZEGRIP = 0x8;
inline constexpr Cardinal DFCS_BUTTONCHECK = 0x0;
inline constexpr Cardinal DFCS_BUTTONRADIO = 0x4;
inline constexpr Cardinal DFCS_BUTTON3STATE = 0x8;
inline constexpr Cardinal DFCS_BUTTONPUSH = 0x10;
// ... and states.
inline constexpr Cardinal DFCS_INACTIVE = 0x100;
inline constexpr Cardinal DFCS_PUSHED = 0x200;
inline constexpr Cardinal DFCS_CHECKED = 0x400;
inline constexpr Cardinal DFCS_TRANSPARENT = 0x800;
inline constexpr Cardinal DFCS_HOT = 0x1000;
inline constexpr Cardinal DFCS_ADJUSTRECT = 0x2000;
inline constexpr Cardinal DFCS_FLAT = 0x4000;
inline constexpr Cardinal DFCS_MONO = 0x8000;

// Ternary raster operations: the high word's low byte is the truth table
// over pattern (brush, 0xF0), source (0xCC) and destination (0xAA).
inline constexpr Cardinal SRCCOPY = 0x00CC0020;
inline constexpr Cardinal SRCPAINT = 0x00EE0086;
inline constexpr Cardinal SRCAND = 0x008800C6;
inline constexpr Cardinal SRCINVERT = 0x00660046;
inline constexpr Cardinal SRCERASE = 0x00440328;
inline constexpr Cardinal NOTSRCCOPY = 0x00330008;
inline constexpr Cardinal NOTSRCERASE = 0x001100A6;
inline constexpr Cardinal MERGECOPY = 0x00C000CA;
inline constexpr Cardinal MERGEPAINT = 0x00BB0226;
inline constexpr Cardinal PATCOPY = 0x00F00021;
inline constexpr Cardinal PATPAINT = 0x00FB0A09;
inline constexpr Cardinal PATINVERT = 0x005A0049;
inline constexpr Cardinal DSTINVERT = 0x00550009;
inline constexpr Cardinal BLACKNESS = 0x00000042;
inline constexpr Cardinal WHITENESS = 0x00FF0062;
// The class library's names for the same copy modes.
inline constexpr Cardinal cmSrcCopy = SRCCOPY;
inline constexpr Cardinal cmSrcPaint = SRCPAINT;
inline constexpr Cardinal cmSrcAnd = SRCAND;
inline constexpr Cardinal cmSrcInvert = SRCINVERT;
inline constexpr Cardinal cmSrcErase = SRCERASE;
inline constexpr Cardinal cmNotSrcCopy = NOTSRCCOPY;
inline constexpr Cardinal cmNotSrcErase = NOTSRCERASE;
inline constexpr Cardinal cmMergeCopy = MERGECOPY;
inline constexpr Cardinal cmMergePaint = MERGEPAINT;
inline constexpr Cardinal cmPatCopy = PATCOPY;
inline constexpr Cardinal cmPatPaint = PATPAINT;
inline constexpr Cardinal cmPatInvert = PATINVERT;
inline constexpr Cardinal cmDstInvert = DSTINVERT;
inline constexpr Cardinal cmBlackness = BLACKNESS;
inline constexpr Cardinal cmWhiteness = WHITENESS;

// The result of a ternary raster operation on one 24-bit pixel value.
constexpr Cardinal ApplyRop3(Cardinal rop, Cardinal pattern, Cardinal source, Cardinal dest) {
  Cardinal table = (rop >> 16) & 0xFF;
  Cardinal result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(table & (1u << i))) continue;
    Cardinal term = ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) & ((i & 1) ? dest : ~dest);
    result |= term;
  }
  return result & 0x00FFFFFF;
}

// The desktop's drawing calls, with the canvas in place of the device
// context they take.
inline bool BitBlt(TCanvas* dest, Integer x, Integer y, Integer w, Integer h, TCanvas* source, Integer sx,
                   Integer sy, Cardinal rop) {
  dest->BlitFrom(Bounds(x, y, w, h), source, Bounds(sx, sy, w, h), rop);
  return true;
}
inline bool StretchBlt(TCanvas* dest, Integer x, Integer y, Integer w, Integer h, TCanvas* source, Integer sx,
                       Integer sy, Integer sw, Integer sh, Cardinal rop) {
  dest->BlitFrom(Bounds(x, y, w, h), source, Bounds(sx, sy, sw, sh), rop);
  return true;
}
// Source pixels of the transparent colour are left out.
inline bool TransparentBlt(TCanvas* dest, Integer x, Integer y, Integer w, Integer h, TCanvas* source, Integer sx,
                           Integer sy, Integer sw, Integer sh, TColor transparent) {
  dest->BlitFrom(Bounds(x, y, w, h), source, Bounds(sx, sy, sw, sh), SRCCOPY, transparent);
  return true;
}
// The brush (pattern) combined with the destination.
inline bool PatBlt(TCanvas* dest, Integer x, Integer y, Integer w, Integer h, Cardinal rop) {
  dest->BlitFrom(Bounds(x, y, w, h), nullptr, TRect{}, rop);
  return true;
}
inline Integer SaveDC(TCanvas* c) { return c->SaveDC(); }
inline bool RestoreDC(TCanvas* c, Integer level) { return c->RestoreDC(level); }
inline void IntersectClipRect(TCanvas* c, Integer l, Integer t, Integer r, Integer b) {
  c->IntersectClipRect(Rect(l, t, r, b));
}
inline void ExcludeClipRect(TCanvas* c, Integer l, Integer t, Integer r, Integer b) {
  c->ExcludeClipRect(Rect(l, t, r, b));
}
inline void SelectClipRgn(TCanvas* c, const TRegion* region) { c->SelectClipRegion(region); }
inline bool DrawEdge(TCanvas* c, TRect& r, Cardinal edge, Cardinal flags) { return c->DrawEdge(r, edge, flags); }
inline bool DrawFrameControl(TCanvas* c, TRect& r, Cardinal type, Cardinal state) {
  return c->DrawFrameControl(r, type, state);
}
inline void DrawFocusRect(TCanvas* c, const TRect& r) { c->DrawFocusRect(r); }
// The window origin of a canvas: the logical point that lands on the
// canvas's device corner (0, 0 until set). Clipping set before keeps its
// place on the device. The old origin goes to old when given.
bool SetWindowOrgEx(TCanvas* c, Integer x, Integer y, TPoint* old);
bool GetWindowOrgEx(TCanvas* c, TPoint* origin);
bool OffsetWindowOrgEx(TCanvas* c, Integer dx, Integer dy, TPoint* old);

// What GetClipBox finds the visible area of a canvas to be.
inline constexpr Integer RGN_ERROR = 0;  // no surface to draw on
inline constexpr Integer NULLREGION = 1;
inline constexpr Integer SIMPLEREGION = 2;
inline constexpr Integer COMPLEXREGION = 3;
// The bounds of the area drawing on the canvas reaches (its own
// coordinates) and what kind of area it is; RGN_ERROR with an empty rect
// for a canvas with nothing to draw on.
Integer GetClipBox(TCanvas* c, TRect& rect);
inline TColor GetPixel(TCanvas* c, Integer x, Integer y) { return c->Pixels(x, y); }
inline TColor SetPixel(TCanvas* c, Integer x, Integer y, TColor color) {
  c->SetPixels(x, y, color);
  return color;
}

// A logical font as the desktop describes it (CreateFontIndirect, theme
// fonts).
struct LOGFONT {
  Integer lfHeight = 0;      // as TFont::Height: negative for the character height
  Integer lfWidth = 0;
  Integer lfEscapement = 0;  // tenths of a degree, counter-clockwise
  Integer lfOrientation = 0;
  Integer lfWeight = 400;    // 700 bold
  Byte lfItalic = 0;
  Byte lfUnderline = 0;
  Byte lfStrikeOut = 0;
  Byte lfCharSet = 1;
  Byte lfOutPrecision = 0;
  Byte lfClipPrecision = 0;
  Byte lfQuality = 0;
  Byte lfPitchAndFamily = 0;  // low bits: 1 fixed, 2 variable pitch
  AnsiString lfFaceName;
};
inline constexpr Byte DEFAULT_PITCH = 0;
inline constexpr Byte FIXED_PITCH = 1;
inline constexpr Byte VARIABLE_PITCH = 2;
inline constexpr Integer FW_NORMAL = 400;
inline constexpr Integer FW_BOLD = 700;

// A font object made from a logical font; whoever makes it deletes it.
struct TFontHandle;
using HFONT = TFontHandle*;
HFONT CreateFontIndirect(const LOGFONT& font);
// False for null.
bool DeleteObject(HFONT font);
// The logical font it was made from; false for null.
bool GetObject(HFONT font, LOGFONT* out);
// Gives the canvas font (or any font) the face, size, styles, pitch and
// escapement of the font object, as selecting it into a device context
// does.
void AssignFontHandle(TFont* font, HFONT handle);

}  // namespace vcl
