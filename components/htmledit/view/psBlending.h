#pragma once
// Translucent pictures: 24-bit working bitmaps, a per-channel blend of two
// bitmaps by percent, a tinted copy of a picture, and a picture drawn with
// constant opacity through the system's alpha-blend function ("AlphaBlend"
// of "msimg32", loaded on first use and kept for the process).
#include <memory>

#include "htmledit/view/psViewTypes.h"

namespace vcl {
class TBitmap;
class TGraphic;
}  // namespace vcl

namespace htmlview {

// An empty 24-bit bitmap; -1 takes the graphic's own width or height.
// nullptr when it cannot be made.
std::unique_ptr<vcl::TBitmap> Create24BitBitmap(vcl::TGraphic* aGraphic, Integer aWidth, Integer aHeight);
// The graphic in a 24-bit bitmap: drawn at (0, 0) when both sizes are -1,
// else stretched to the size. nullptr when it cannot be made.
std::unique_ptr<vcl::TBitmap> GraphicToBitmap(vcl::TGraphic* aGraphic, Integer aWidth, Integer aHeight);
// A 24-bit bitmap of aBase's size: per channel (100 - P) * b / 100 +
// P * o / 100, each product divided with the fraction dropped. Both inputs
// are 24-bit, aOverlay at least as large as aBase.
std::unique_ptr<vcl::TBitmap> BlendBitmaps(vcl::TBitmap* aBase, vcl::TBitmap* aOverlay, Integer aPercent);
// The graphic blended with a plain area of aColor, aPercent the colour's
// weight.
std::unique_ptr<vcl::TBitmap> TintedCopy(vcl::TGraphic* aGraphic, TColor aColor, Integer aPercent);
// The graphic drawn onto aTarget at (aX, aY) scaled to aWidth by aHeight
// with the constant opacity aAlpha (0 transparent, 255 opaque). Draws
// nothing when the alpha-blend function is missing.
void AlphaBlendGraphic(vcl::TGraphic* aGraphic, vcl::TCanvas* aTarget, Integer aX, Integer aY, Integer aWidth,
                       Integer aHeight, Byte aAlpha);
// The unit's finalization: frees the alpha-blend library. The next call of
// AlphaBlendGraphic loads it again.
void FinalizeBlending();

}  // namespace htmlview
