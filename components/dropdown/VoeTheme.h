#pragma once
// The themed parts the cell editors draw (spin arrows, combo drop-down
// button, push button), through the theme library's bound functions.
#include "vcl/Controls.h"

namespace dropdown {

enum class ThemeClass { Button, ComboBox, Spin };

// Draws the part in its state into r on the canvas with the theme of the
// window's class and answers true; false, drawing nothing, when no theme is
// active, the library is not bound or the class has no theme, so the caller
// paints its plain look.
bool DrawThemePart(vcl::TWinControl* window, vcl::TCanvas* canvas, ThemeClass cls, vcl::Integer part,
                   vcl::Integer state, const vcl::TRect& r);

}  // namespace dropdown
