#pragma once
// The toolbar unit's stateless drawing routines: ribbon metrics, colour
// arithmetic and banded gradients. Colours are resolved with ColorToRGB
// before any arithmetic; rectangles follow the canvas's rules (right and
// bottom exclusive).
#include "controls/LumGDIP.h"
#include "vcl/Graphics.h"

namespace ribbon {

// 0 with the scenic look, else 4.
int RibbonPageMargin();
// 0 with the scenic look, else 3.
int RibbonCornerRadius();

// Percent of Color1 and the rest of Color2; 100 or more answers Color1 and
// 0 or less Color2 as they are (system colours unresolved).
vcl::TColor MixColors(vcl::TColor Color1, vcl::TColor Color2, int Percent);
// Each channel times (100 - Percent) / 100.
vcl::TColor ShadeColor(vcl::TColor Color, int Percent);
// A negative Percent darkens non-zero channels by that many per cent; a
// zero channel becomes Percent when it is not negative.
vcl::TColor DimColor(vcl::TColor Color, int Percent);
// The resolved colour as opaque ARGB.
vcl::ARGB OpaqueARGB(vcl::TColor Color);

// A W x H rectangle centred in the old one.
void CenterRect(vcl::TRect& Rect, int W, int H);

// Steps bands from FromColor toward ToColor (the last one step short)
// across Rect, left to right when Horizontal, else top to bottom. Steps 0
// draws one band.
void DrawStepGradient(vcl::TCanvas* Canvas, vcl::TColor FromColor, vcl::TColor ToColor, int Steps, vcl::TRect Rect,
                      bool Horizontal);

}  // namespace ribbon
