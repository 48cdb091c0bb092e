#pragma once
// The routines that draw cell contents on a canvas: the boxed selection,
// gradient and mirrored-gradient backgrounds, progress bars in three styles,
// a progress pie, a range indicator, shapes and rating stars, bitmaps with a
// transparent colour, the wavy error underline, drop-down and spin buttons
// and a small drop arrow. They keep no state; the grid's painting chooses
// the routine and its colours. DrawSelectionBox, Max and Min are also the
// drop-down editors' (their item lists).
#include "grid/model/GridUtils.h"
#include "vcl/Graphics.h"
#include "vcl/Types.h"
#include "vcl/WinApi.h"

namespace vcl {
class TBitmap;
class TControl;
}  // namespace vcl

namespace grid {

using vcl::TCanvas;
using vcl::TRect;

// Each RGB channel halved (system colours first resolved).
TColor DimColor(TColor color);

// A box with rounded ends: part 0 both ends, 1 the left end only, 2 the
// right end only, 3 neither (the middle of a box across several cells).
void DrawSelectionBox(TCanvas* canvas, TColor color, TColor colorTo, TColor mirrorColor, TColor mirrorColorTo,
                      TColor innerTopColor, TColor innerBottomColor, TColor borderColor, TColor cornerColor,
                      TColor outerCornerColor, const TRect& r, Byte part);
// steps bands from one colour to the other (the last one step short of it);
// a solid fill when the to colour is clNone.
void FillGradientRect(TCanvas* canvas, TColor fromColor, TColor toColor, Integer steps, const TRect& r,
                      bool horizontal);
void DrawCellBackground(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool direction, TColor borderColor, bool sideLinesOnly, bool fill);
// The colour at position of a range between two colours.
TColor BlendColorStep(TColor fromColor, TColor toColor, Integer rangeStart, Integer rangeEnd, Integer position);
void FillRectColor(TCanvas* canvas, const TRect& r, TColor color);

// A bar with its percentage (or the value through a format text) written
// across it in two colours. With a format and no range the bar stays empty
// and the text shows 0.
void DrawProgressBar(TCanvas* canvas, TRect r, TColor color, TColor textColor, TColor colorTo, TColor textColorTo,
                     double value, Integer horizontalMargin, Integer verticalMargin, double minimum, double maximum,
                     const AnsiString& formatText, TColor borderColor, bool upwardText);

// The look of a themed progress bar.
struct TProgressAppearance {
  TColor Level0Color = 0x00CF00;
  TColor Level0ColorTo = 0x00FF00;
  TColor Level1Color = 0x00CFCF;
  TColor Level1ColorTo = 0x00FFFF;
  TColor Level2Color = 0x0000CF;
  TColor Level2ColorTo = 0x0000FF;
  TColor Level3Color = 0xCF0000;
  TColor Level3ColorTo = 0xFF0000;
  Integer Level1Perc = 70;
  Integer Level2Perc = 90;
  TColor BorderColor = 0x000000;
  bool ShowBorder = true;
  bool Stacked = false;
  bool ShowPercentage = true;
  AnsiString FontName = "Tahoma";
  Integer FontSize = 8;
  vcl::TFontStyles FontStyle;
  TColor TextColor = 0x000000;
  bool CompletionSmooth = true;
  bool ShowGradient = true;
  Integer Steps = 8;
  TColor BackgroundColor = 0xFFFFFF;
  bool Vertical = false;
};
void DrawXPProgress(TCanvas* canvas, const TRect& r, Integer percent, const TProgressAppearance& appearance);
void DrawProgressPie(TCanvas* canvas, const TRect& r, TColor color, double percent, bool textAbove);
// A bar from the middle, left for negative values, right for positive ones;
// no range draws nothing and shows 0.
void DrawRangeIndicator(TCanvas* canvas, const TRect& r, Integer value, Integer range, bool showValue,
                        TColor negativeColor, TColor positiveColor);
// Shape codes 0-18 (rectangle, circle, triangles, diamond, lines, rounded
// rectangle, ellipse, squares, star, arrows, half star); others draw nothing.
void DrawCellShape(TCanvas* canvas, Integer x, Integer y, Integer width, Integer height, Byte shape,
                   TColor brushColor, TColor penColor);
// The bitmap in its own size at the rectangle's top-left, its top-left
// pixel's colour replaced by the background.
void DrawTransparentBitmap(TCanvas* canvas, vcl::TBitmap* bitmap, TColor backgroundColor, const TRect& r);
// The same with a bitmap resource of the program: the grid's node glyphs
// "VOELEAFOPEN", "VOELEAFCLOSE", "XPNODEO" and "XPNODEC". A name no library
// registered raises EResNotFound.
void DrawResourceBitmap(TCanvas* canvas, TColor backgroundColor, const TRect& r, const AnsiString& name);
// A red zig-zag under count characters of text from first (0-based),
// positions measured in the canvas's font.
void DrawErrorUnderline(vcl::TControl* owner, TCanvas* canvas, const AnsiString& text, const TRect& r,
                        Integer verticalOffset, Integer first, Integer count);
// The drop-down button at the rectangle's right end, themed or classic.
void DrawComboButton(TCanvas* canvas, vcl::HWND window, const TRect& r, bool themed, Integer unused = 0);
// The up and down buttons at the rectangle's right end.
void DrawSpinButtons(TCanvas* canvas, vcl::HWND window, const TRect& r, bool themed, Integer unused = 0);
// A filled triangle 7 pixels wide pointing down from (x, y).
void DrawDropTriangle(TCanvas* canvas, Integer x, Integer y, TColor color);

// The layered-window calls of "USER32.DLL", looked up at each call and
// passed through; True without doing anything when the library or the
// function is not there (the drag picture and hints then show opaque).
bool CallUpdateLayeredWindow(vcl::HWND wnd, TCanvas* dcDst, const vcl::TPoint* pptDst, const vcl::TSize* psize,
                             TCanvas* dcSrc, const vcl::TPoint* pptSrc, TColor key,
                             const vcl::BLENDFUNCTION* blend, Cardinal flags);
bool CallSetLayeredWindowAttributes(vcl::HWND wnd, TColor key, Byte alpha, Cardinal flags);

}  // namespace grid
