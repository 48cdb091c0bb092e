#pragma once
// Backgrounds under themed parents: a control's background painted the way
// its parent shows through, and the two theme-related control-style bits.
#include <optional>

#include "rtl/Types.h"
#include "vcl/Controls.h"

namespace support {

using rtl::Cardinal;

// The theme-related control-style bits as the desktop numbers them.
inline constexpr Cardinal csNeedsBorderPaintBit = 0x20000;
inline constexpr Cardinal csParentBackgroundBit = 0x40000;
inline constexpr Cardinal kThemedControlStyleMask = 0x60000;
// The bits of the mask the control has.
Cardinal ThemedControlStyle(const vcl::TControl* control);
// Adds the bits of the mask that are set in bits.
void AddThemedControlStyle(vcl::TControl* control, Cardinal bits);

// A rectangle that stands for "no clipping" in EraseParentBackground.
inline constexpr vcl::TRect kNoEraseRect{2147483647, 2147483647, 2147483647, 2147483647};

// Fills rect with color (the canvas brush's colour when none is given),
// unless the parent should show through: then a windowed control gets the
// parent's picture under it, a graphic control the parent's erased
// background. Filled plainly at design time, without a parent, on a colour
// other than the parent's, without visual styles, or when the parent's
// background is asked for but the control lacks the parent-background
// style. The brush colour is left as it was.
void PaintThemedBackground(vcl::TControl* control, vcl::TCanvas* canvas, const vcl::TRect& rect,
                           bool needsParentBackground, std::optional<vcl::TColor> color = std::nullopt);

// Lets the parent erase its background onto the control's canvas: the
// canvas's window origin moves by offset (the control's left and top) so
// the parent's coordinates land where the parent lies under the control,
// and drawing is held to rect (control coordinates) unless it is
// kNoEraseRect. Origin and clipping are restored afterwards.
void EraseParentBackground(vcl::TControl* control, vcl::TCanvas* canvas, vcl::TPoint offset, const vcl::TRect& rect);

}  // namespace support
