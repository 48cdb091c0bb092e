#pragma once
// The toolbar unit's stateless drawing routines: ribbon metrics, colour
// arithmetic and banded gradients. Colours are resolved with ColorToRGB
// before any arithmetic; rectangles follow the canvas's rules (right and
// bottom exclusive).
#include <vector>

#include "controls/LumGDIP.h"
#include "vcl/Graphics.h"
#include "vcl/UxTheme.h"

namespace ribbon {

// 0 with the scenic look, else 4.
int RibbonPageMargin();
// 0 with the scenic look, else 3.
int RibbonCornerRadius();

// The common controls library is version 6 or later (its file version's
// major number above 5).
bool IsComCtl6();
// Desktop composition is on; false where the query is not available.
bool IsCompositionEnabled();

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

// GDI+ outlines, 1-pixel pens, float paths.
// A closed rounded rectangle path of corner radius R.
void DrawRoundRect(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float Width,
                   float Height, float Radius);
void DrawSolidRoundRect(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float Width,
                        float Height, float Radius);
void DrawDottedRoundRect(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float Width,
                         float Height, float Radius);
void DrawRectPath(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float Width, float Height);
// Through Rect's four corners; on Graphics, else on a smoothed graphics
// made on Canvas; nothing without either.
void DrawRectOutline(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color, const vcl::TRect& Rect);
// Two 40-step bands split SplitHeight below the top (the upper one a pixel
// longer), then a border one pixel inside Right and Bottom, rounded by
// Radius, unless BorderColor is clNone.
void DrawVistaGradient(vcl::TCanvas* Canvas, const vcl::TRect& Rect, int SplitHeight, vcl::TColor Color,
                       vcl::TColor ColorTo, vcl::TColor ColorMirror, vcl::TColor ColorMirrorTo, vcl::TColor BorderColor,
                       int Radius);
// A 6-pixel down arrow at P as one GDI+ path.
void DrawSmallDropArrow(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color, vcl::TPoint P);

// One arc in the box, closed when Close.
void DrawArcPath(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float Width, float Height,
                 float StartAngle, float SweepAngle, bool Close);
// A closed path holding the one line (X, Y) to (X + DX, Y + DY).
void DrawPathLine(controls::TGPGraphics* Graphics, controls::TGPPen* Pen, float X, float Y, float DX, float DY);
// The frames of grouped glow buttons: rounded on the left, square in the
// middle, rounded on the right; each with a shaded edge a little darker.
void DrawLeftButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float Width,
                         float Height, float Radius);
void DrawMiddleButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float Width,
                           float Height, float Radius, bool Shaded);
void DrawRightButtonFrame(controls::TGPGraphics* Graphics, vcl::TColor Color, float X, float Y, float Width,
                          float Height, float Radius, bool Shaded);

// Canvas glyphs in Color (lines leave out their end points).
// A cross of two 2-pixel diagonals, Size across, a third of the slack in.
void DrawCloseGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, int Size);
void DrawRestoreGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal);
void DrawMaximizeGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal);
void DrawMinimizeGlyph(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, bool Horizontal);
// A small arrow (down, or right) at P with light shade pixels.
void DrawDropArrow(vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TColor Color, vcl::TColor ShadeColor, bool Down);
// A 3-D separator of two polylines, white first when Raised.
void DrawEtchedLine(vcl::TCanvas* Canvas, vcl::TPoint P1, vcl::TPoint P2, bool Raised, bool Horizontal);

// Caption text of a vertical toolbar at P (the caller rotates the font):
// the text without its '&' markers, the last marked character underlined
// beside the text; "&&" is a literal ampersand.
void DrawVerticalHotkeyText(vcl::TCanvas* Canvas, const rtl::AnsiString& Text, vcl::TPoint P);

}  // namespace ribbon

namespace vcl {
class TWinControl;
class TImageList;
class TGraphic;
}  // namespace vcl

namespace ribbon {

// The canvas's font can take the GDI+ text path: a vector face, not a
// device font, that the screen's font list (or its substitution table)
// knows. False for no canvas.
bool IsGDIPlusFont(vcl::TCanvas* Canvas);
// A window inside Pager (not Pager itself) has the keyboard focus; the
// walk up from the focused window's parent gives up after 50 windows.
bool PagerContainsFocus(vcl::TWinControl* Pager);
// Drops from List, in place, what keyboard walking passes over: hint
// windows, containers (frames around other controls, never a stop of their
// own) and windowed controls that cannot take the focus now. Nothing for no
// list.
void PruneFocusList(std::vector<vcl::TWinControl*>* List);

// GDI+ fills on a surface of their own.
// Color from alpha 5 at the top to alpha 130 at the bottom.
void FillAlphaGradient(vcl::TCanvas* DC, const vcl::TRect& Rect, vcl::TColor Color);
// Color from alpha 150 to 200 over a rectangle one pixel taller, then an
// opaque frame from one pixel above the top.
void FillAlphaGradientFrame(vcl::TCanvas* DC, const vcl::TRect& Rect, vcl::TColor Color, vcl::TColor BorderColor);
// A pale yellow that grows more opaque downwards.
void FillCaptionGlow(vcl::TCanvas* DC, const vcl::TRect& Rect);
// One half of a glow face: a solid fill of ColorA (upper) or ColorB
// (lower) over (Left, Top, Right, Bottom as sizes), then the gradient of
// GradientType (0 radial on an ellipse, 1 vertical, 2 forward diagonal,
// 3 backward diagonal; anything else nothing more).
void FillGlowHalf(vcl::TCanvas* Canvas, controls::TGPGraphics* Graphics, const vcl::TRect& Rect, vcl::TColor ColorA,
                  vcl::TColor ColorB, int GradientType, bool Upper);
// A vertical Color-to-ColorTo glow fill; Direction is not read.
void FillGlowRect(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TColor Color, vcl::TColor ColorTo,
                  const vcl::TRect& Rect, int Direction);
// The quick access toolbar's outline on the glass caption.
void DrawQATFrame(vcl::TCanvas* DC, const vcl::TRect& Rect);

// Glowing black text on glass through the visual-styles library's
// DrawThemeTextEx; nothing where the library lacks it.
void DrawGlowText(vcl::TCanvas* DC, const rtl::WideString& Text, int Length, const vcl::TRect& Rect,
                  vcl::HTHEME Theme, rtl::Cardinal Flags);
// The ribbon caption strip on an extended window frame, rendered off
// screen and copied in one block; nothing without the
// "CompositedWindow::Window" theme class. OtherRect and Tag are not read.
void DrawCompositedCaption(vcl::TWinControl* Control, vcl::TCanvas* Canvas, const rtl::AnsiString& Caption,
                           const vcl::TRect& Rect, const vcl::TRect& OtherRect, int Tag, bool ShowQATFrame,
                           const vcl::TRect& QATRect, vcl::TColor GlowColor);

// Pictures through GDI+, keyed on a corner pixel so they blend with
// smoothed surroundings. Raise "Could not allocate memory for image" when
// the picture's bytes cannot be had.
void DrawImageListImage(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TPoint P,
                        vcl::TImageList* Images, int ImageIndex, bool Enabled);
void DrawGraphicImage(controls::TGPGraphics* Graphics, vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TGraphic* Graphic,
                      bool Transparent);

}  // namespace ribbon
