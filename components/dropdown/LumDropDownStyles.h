#pragma once
// The colours each application style gives a drop-down: its pop-up, the
// pop-up's header and footer, their buttons, and the item lists of the
// pickers. The tables are data; an empty value leaves what was there, and
// the custom style changes nothing (but the item list's two text colours).
#include <optional>

#include "controls/LumStyleIF.h"  // REZORuvar
#include "vcl/Graphics.h"

namespace dropdown {

class TLumButtonAppearance;

using controls::REZORuvar;
using TStyleColor = std::optional<vcl::TColor>;

// A header or footer: its gradient, font colour and border.
struct TBarStyle {
  TStyleColor Color, ColorTo, FontColor, BorderColor;
};

struct TPopupStyle {
  TStyleColor DropDownColor, DropDownColorTo, DropDownBorderColor;
  TBarStyle Header, Footer;
};

struct TButtonStyleColors {
  TStyleColor Color, ColorTo, BorderColor, ColorHot, ColorHotTo, BorderColorHot, ColorDown, ColorDownTo,
      BorderColorDown, ColorDisabled, ColorDisabledTo;
};

// An item list's hot and selected looks (the selection box's colours).
struct TItemStyleColors {
  vcl::TColor ColorSelectedText = vcl::clBlack;
  vcl::TColor ColorHotText = vcl::clBlack;
  TStyleColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, ColorSelected, ColorSelectedTo,
      ColorMirrorSelected, ColorMirrorSelectedTo, BorderColor, BorderColorTop, BorderColorBottom, EdgeColor;
};

const TPopupStyle& PopupStyle(REZORuvar style);
const TButtonStyleColors& ButtonStyle(REZORuvar style);
const TItemStyleColors& ItemStyle(REZORuvar style);

// The style's button colours through the appearance's setters; the
// disabled border is no style's business.
void ApplyButtonAppearanceStyle(TLumButtonAppearance& appearance, REZORuvar style);

}  // namespace dropdown
