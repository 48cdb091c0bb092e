#pragma once
// Button faces and text of the toolbar unit: text through GDI+ when the
// anti-alias setting and the font allow it (GDI text otherwise), the Vista
// button face, and the two-half glow face with frame, focus rings, picture,
// caption and drop-down part. 8-bit text is UTF-8, measured and drawn with
// its UTF-16 length.
#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumGlowButton.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"

namespace vcl {
class TImageList;
class TGraphic;
}  // namespace vcl

namespace ribbon {

// One line of Caption in Rect. RealDraw false only measures into TextRect:
// on the GDI+ path the positioned bounds, on the GDI path the size from
// (0, 0). Drawing shortens a caption that does not fit (with "..." when
// Ellipsis) unless it may wrap. WideCaption is not read.
void DrawGPText(vcl::TCanvas* Canvas, vcl::TAlignment Alignment, rtl::Cardinal DTFormat, const vcl::TRect& Rect,
                const rtl::AnsiString& Caption, const rtl::WideString& WideCaption, vcl::TFont* Font, bool Enabled,
                bool RealDraw, controls::TAntiAlias AntiAlias, bool Ellipsis, bool WordWrap, vcl::TRect& TextRect);
// Caption (or WideCaption when it is empty) wrapped in Rect; Alignment 0
// near, 1 far, 2 centre. With aaNone it is measured word by word in a
// 2-pixel width, the bottom at the height DrawText answers, and drawn on
// one line.
void DrawGPWrapText(vcl::TCanvas* Canvas, int Alignment, const vcl::TRect& Rect, const rtl::AnsiString& Caption,
                    const rtl::WideString& WideCaption, vcl::TFont* Font, bool Enabled, bool RealDraw,
                    controls::TAntiAlias AntiAlias, vcl::TRect& TextRect);

// The Vista button face: lower and upper glow halves, frame, focus rings,
// the picture or image-list image shared with the caption by Layout, and
// the 14-pixel drop-down part (at the bottom when DropDownBottom).
void DrawVistaButton(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, vcl::TColor ColorTo,
                     vcl::TColor ColorMirror, vcl::TColor ColorMirrorTo, vcl::TColor BorderColor,
                     controls::TGDIPGradient Gradient, controls::TGDIPGradient GradientMirror,
                     const rtl::AnsiString& Caption, vcl::TFont* Font, vcl::TImageList* Images, int ImageIndex,
                     bool ImageEnabled, controls::TButtonLayout Layout, bool DropDown, bool DropDownSplit,
                     bool Enabled, bool Focus, bool DropDownBottom, controls::TGDIPPicture* Picture,
                     controls::TAntiAlias AntiAlias, bool Rounded);
// DrawVistaButton without picture, images and drop-down part.
void DrawVistaButtonText(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, vcl::TColor ColorTo,
                         vcl::TColor ColorMirror, vcl::TColor ColorMirrorTo, vcl::TColor BorderColor,
                         controls::TGDIPGradient Gradient, controls::TGDIPGradient GradientMirror,
                         const rtl::AnsiString& Caption, vcl::TFont* Font, bool Enabled, bool Focus,
                         controls::TAntiAlias AntiAlias, bool Rounded);

// What a glow face is drawn from, after its canvas, rectangle and colour,
// in the routine's calling order.
struct TGlowFace {
  vcl::TColor ColorTo = vcl::clWhite, ColorMirror = vcl::clWhite, ColorMirrorTo = vcl::clWhite,
              BorderColor = vcl::clSilver;
  controls::TGDIPGradient Gradient = controls::ggVertical, GradientMirror = controls::ggVertical;
  rtl::AnsiString Caption;
  rtl::WideString WideCaption;
  bool ShowCaption = true;
  vcl::TFont* Font = nullptr;
  vcl::TImageList* Images = nullptr;
  int ImageIndex = -1;
  bool ImageEnabled = true;
  controls::TButtonLayout Layout = controls::blGlyphLeft;
  bool DropDownButton = false;
  bool DropDownActive = false;
  bool Enabled = true;
  bool Focus = false;
  bool DropDownBottom = false;
  controls::TGDIPPicture* Picture = nullptr;
  controls::TAntiAlias AntiAlias = controls::aaClearType;
  bool ShowGlyph = true;
  vcl::TGraphic* Glyph = nullptr;
  int SplitState = 0;
  bool Transparent = false;
  bool Shaded = false;
  controls::TButtonPosition ButtonPosition = controls::bpStandalone;
  bool DropDownSplit = false;
  bool DrawBorder = true;
  bool GlyphUnderText = false;
  bool WordWrap = false;
  bool MeasureOnly = false;
  bool Rounded = true;
  bool ArrowDown = true;
  int Spacing = 2;
  vcl::StringTrimming Trimming = vcl::StringTrimmingNone;
};

// The glow face; Size receives the width and height the content needs.
void DrawGlowFace(vcl::TCanvas* Canvas, const vcl::TRect& Rect, vcl::TColor Color, const TGlowFace& Face,
                  vcl::TPoint& Size);

}  // namespace ribbon
