#pragma once
// Frames a control paints into its window border, the plain check-box
// glyph of the check tree, colour shading in HSL space for frames on a
// coloured background, and the invalidation of a window's frame.
//
// Every routine draws with the canvas pen (and the brush where it fills)
// and leaves them set as it used them. Rectangles exclude their right and
// bottom edges. A colour clNone draws nothing.
#include "rtl/Types.h"
#include "vcl/Graphics.h"
#include "vcl/Types.h"

namespace vcl {
enum class TCheckBoxState;  // StdCtrls.h
}

namespace support {

using rtl::Byte;
using rtl::Integer;
using vcl::TCanvas;
using vcl::TColor;
using vcl::TRect;

enum class TFrameStyle : Byte {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold
};
using enum TFrameStyle;
// The same list with the rounded flat frame; its names are reached through
// the type (TFrameStyleEx::fsFlatRounded).
enum class TFrameStyleEx : Byte {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
  fsFlatRounded
};

enum class TSide : Byte { sdLeft, sdTop, sdRight, sdBottom };
using enum TSide;
using TSides = rtl::TSet<TSide>;
inline constexpr TSides kAllSides{sdLeft, sdTop, sdRight, sdBottom};

enum class TFramingPreference : Byte { fpCustomFraming, fpXPThemes };
using enum TFramingPreference;

// One-pixel lines: left and top in ulColor, right (x = right - 1) and
// bottom (y = bottom - 1) in lrColor, each only when its side is in sides;
// the lower-right colour is drawn last and so owns the top-right and
// bottom-left corners. inner: rect moved in by one pixel on every side in
// sides, drawn or not.
void PaintFrameSides(TCanvas* canvas, const TRect& rect, TColor ulColor, TRect& inner, TSides sides, TColor lrColor);
// PaintFrameSides width times with a one-pixel pen, each pass inside the
// one before.
void PaintBorder(TCanvas* canvas, const TRect& rect, TColor ulColor, TRect& inner, TSides sides, Integer width,
                 TColor lrColor);
// The four sides in one colour; inner is rect shrunk by one pixel.
void PaintBoxOutline(TCanvas* canvas, const TRect& rect, TColor color, TRect& inner);

// Hue, saturation and luminance of a colour (system colours resolved), each
// on a 0 to 240 scale.
struct THslParts {
  Byte H = 0;
  Byte S = 0;
  Byte L = 0;
  bool operator==(const THslParts&) const = default;
};
THslParts ColorToHslParts(TColor color);
void ColorToHslParts(TColor color, Byte& h, Byte& s, Byte& l);
// Back to a colour: the hue read on a 0 to 239 scale, saturation and
// luminance on 0 to 240 (a luminance above 240 brightens further, each
// channel clipped at full intensity).
TColor HslToColorValue(Integer h, Integer s, Integer l);
// The colour with its luminance lowered by amount, not below 0.
TColor ReduceLuminance(TColor color, Integer amount);
// The colour with its luminance raised by amount, up to 255.
TColor RaiseLuminance(TColor color, Integer amount);

// The frame of a control of the given size: unless noErase, a two-pixel
// border in color first; then the style. On the window colour the 3D
// styles use the system colours, on any other colour shades of it.
void PaintControlFrame(TCanvas* canvas, Integer width, Integer height, TFrameStyle style, TColor color,
                       TColor frameColor, TSides sides, bool noErase);

// A check box in the plain look: outline, fill, then the tick (checked) or
// an inner square (grayed) in the mark colour.
void PaintCheckBoxGlyph(TCanvas* canvas, const TRect& rect, vcl::TCheckBoxState state, TColor outlineColor,
                        TColor fillColor, TColor markColor);

// Redraws the window's frame and invalidates rect, when the window is at
// least partly visible; otherwise does nothing.
void InvalidateNonClientFrame(vcl::HWND window, const TRect& rect);

}  // namespace support
