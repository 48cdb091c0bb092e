#pragma once
// The drawing kit of the styled menus: rectangle and colour helpers, the
// rotated caption font, the property-index error, and the gradient, box,
// split-line and background painters the menu items are made of. They all
// draw with the class library's canvas (pen lines, brush fills, frames,
// bitmaps); only the background allocates anything (its work bitmap).
#include <cstdint>

#include "rtl/Exceptions.h"
#include "vcl/Gdi.h"

namespace vcl {
class TBitmap;
class TPicture;
}  // namespace vcl

namespace controls {

using vcl::Integer;
using vcl::TColor;
using vcl::TRect;

// Raised by the menu styler's indexed accessors: "Invalid property index
// %d.".
class EInvalidPropertyIndex : public rtl::Exception {
 public:
  explicit EInvalidPropertyIndex(Integer index);
  const char* ClassName() const noexcept override { return "EInvalidPropertyIndex"; }
};

// Vertical: the colour changes from top to bottom; horizontal: from left
// to right. Shared with the tool panels, which use the same values.
enum class TGradientDirection : uint8_t { gdVertical, gdHorizontal };
using enum TGradientDirection;
// Which end of a separator or splitter line fades.
enum class TGradientType : uint8_t { gtLeft, gtRight, gtBoth };
using enum TGradientType;
// Where a background's picture sits. Scoped: the tool panels' positions
// share these names.
enum class TBackgroundPosition : uint8_t {
  bpTopLeft,
  bpTopRight,
  bpBottomLeft,
  bpBottomRight,
  bpTopCenter,
  bpBottomCenter,
  bpTiled,
  bpStretched,
  bpCenter,
  bpXY,
};

// What the background painter reads of a menu background (the menu
// styler's background implements it): a fill, an optional picture and
// where it goes, margins, and a work bitmap it owns, made on first need.
class IMenuBackground {
 public:
  virtual vcl::TPicture* Image() = 0;  // null for none
  virtual TBackgroundPosition Position() const = 0;
  virtual Integer OffsetX() const = 0;
  virtual Integer OffsetY() const = 0;
  virtual Integer MarginX() const = 0;
  virtual Integer MarginY() const = 0;
  virtual TColor Color() const = 0;
  virtual TColor ColorTo() const = 0;
  virtual TGradientDirection GradientDirection() const = 0;
  virtual vcl::TBitmap* WorkBitmap() = 0;

 protected:
  virtual ~IMenuBackground() = default;
};

// --- Geometry and colour ---

constexpr Integer RectWidth(const TRect& r) { return r.Right - r.Left; }
constexpr Integer RectHeight(const TRect& r) { return r.Bottom - r.Top; }
// r becomes w x h about its centre: Right = (Left + Right + w) div 2,
// Left = Right - w, and the same vertically.
constexpr void ResizeRect(TRect& r, Integer w, Integer h) {
  r.Right = (r.Left + r.Right + w) / 2;
  r.Left = r.Right - w;
  r.Bottom = (r.Top + r.Bottom + h) / 2;
  r.Top = r.Bottom - h;
}
// (0, 0, width, height), or the empty rectangle without a bitmap.
TRect BitmapRect(vcl::TBitmap* bitmap);
// The red, green and blue bytes of a colour, system colours resolved.
struct TColorParts {
  uint8_t R = 0, G = 0, B = 0;
};
TColorParts ColorParts(TColor color);
// Red in bits 0-7, green 8-15, blue 16-23, the fourth byte in 24-31.
constexpr TColor MakeColor(uint8_t r, uint8_t g, uint8_t b, uint8_t fourth) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16) |
         (static_cast<TColor>(fourth) << 24);
}
// A new font object from the font turned by angle degrees (escapement
// angle x 10); the caller deletes it with vcl::DeleteObject.
vcl::HFONT CreateRotatedFont(vcl::TFont* font, Integer angle);

// --- Painters ---

// One line per row (vertical) or column (horizontal) from `from` to `to`
// (clNone: `from`), each channel from + d * i / n; equal colours fill.
void FillMenuGradient(vcl::TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor from, TColor to);
// The part of one gradient over r that lies in clip, so that pieces join.
void FillMenuGradientClipped(vcl::TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor from,
                             TColor to, const TRect& clip);
// A gradient (when fill and from is a colour) and a one-pixel frame (when
// border is a colour).
void DrawMenuBox(vcl::TCanvas* canvas, const TRect& r, bool fill, TColor border, TGradientDirection direction,
                 TColor from, TColor to);
// The same with a mirrored lower half when the mirror colour is set.
void DrawMenuMirrorBox(vcl::TCanvas* canvas, const TRect& r, bool fill, TColor border, TGradientDirection direction,
                       TColor color, TColor colorTo, TColor mirror, TColor mirrorTo);
// A separator or splitter line: a solid body with fading ends.
void DrawMenuSplitLine(vcl::TCanvas* canvas, const TRect& r, Integer margin, Integer gradientWidth,
                       TGradientType gradientType, bool horizontal, TColor color, TColor colorTo);
// The top-left point of the background's picture in r.
vcl::TPoint GetBackgroundImagePosition(IMenuBackground* background, const TRect& r);
// Fill and picture composed in the background's work bitmap, drawn at the
// rectangle within the margins. Nothing when that has no width or height.
void DrawMenuBackground(vcl::TCanvas* canvas, const TRect& r, IMenuBackground* background, bool withGradient);

// Probed at start-up: whether user32 has the layered-window calls.
bool LayeredWindowsAvailable();
void StartUpMenuUtil();

}  // namespace controls
