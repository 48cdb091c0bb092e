#pragma once
// The painting and measuring routines the drop-down controls share: the
// pop-up, its header and footer, their buttons, the item selector and the
// pickers draw their backgrounds, images and captions with them, and the
// grid its gradient cells with DrawGradient. They keep no state and leave
// the canvas's pen, brush and font as each says.
#include <string_view>

#include "controls/LumMenuUtil.h"  // TGradientDirection
#include "rtl/Types.h"
#include "vcl/Graphics.h"
#include "vcl/Types.h"

namespace vcl {
class TBitmap;
class TImageList;
}  // namespace vcl

namespace dropdown {

using controls::TGradientDirection;

// Steps bands (0 counts as 1) from one colour to the other, left to right
// when horizontal, else top to bottom; each band one pixel wider than its
// share so no seam shows. Leaves pen and brush in the last band's colour.
void DrawGradient(vcl::TCanvas* canvas, vcl::TColor fromColor, vcl::TColor toColor, vcl::Integer steps,
                  const vcl::TRect& r, bool horizontal);

// percent of color1 and the rest of color2, channel by channel (halves to
// even). 100 or more answers color1 as given, 0 or less color2 as given.
vcl::TColor BlendColor(vcl::TColor color1, vcl::TColor color2, vcl::Integer percent);

// Each non-zero channel times (100 + pct) / 100, never above itself, so a
// negative percentage darkens; a zero channel becomes pct (0 .. 255).
vcl::TColor ScaleColor(vcl::TColor color, vcl::Integer redPct, vcl::Integer greenPct, vcl::Integer bluePct);

// An 80-step gradient from color to colorTo in the direction, or a plain
// fill with color when colorTo is clNone (nothing when both are), then an
// outline borderWidth wide when borderColor is not clNone.
void DrawBackground(vcl::TCanvas* canvas, const vcl::TRect& r, vcl::TColor color, vcl::TColor colorTo,
                    vcl::TColor borderColor, vcl::Integer borderWidth, TGradientDirection direction);

// An image of the list 4 pixels in from the left, centred up and down, and
// the text after it (8 pixels past the image's width), on one line with an
// end ellipsis; without an image the text is centred both ways.
void DrawImageText(vcl::TCanvas* canvas, const vcl::TRect& r, const rtl::AnsiString& text, vcl::TImageList* images,
                   vcl::Integer imageIndex);

// The bitmap on bkColor, its top-left pixel's colour left out, copied to r.
void DrawTransparentBitmap(vcl::TCanvas* canvas, vcl::TBitmap* bitmap, vcl::TColor bkColor, const vcl::TRect& r);

// The size of the text on one line in the canvas's font; (0, 0) for none.
vcl::TSize GetTextSize(vcl::TCanvas* canvas, const rtl::AnsiString& text);

// The text when it fits maxWidth; else its longest beginning (whole
// characters, "..." after it with ellipsis) narrower than maxWidth; the
// empty text when not even the shortest does.
rtl::AnsiString TruncateText(vcl::TCanvas* canvas, const rtl::AnsiString& text, vcl::Integer maxWidth, bool ellipsis);

// A mini-HTML caption on one line (an ellipsis where it overflows) in the
// caller's font colour, drawn in r (only measured when draw is false).
// Answers its width and height; (0, 0) for an empty text.
vcl::TSize DrawHTMLCaption(vcl::TCanvas* canvas, const rtl::AnsiString& text, const vcl::TRect& r,
                           vcl::TImageList* images, bool draw, vcl::HWND window);

}  // namespace dropdown
