#pragma once
// The ribbon's owner-drawn glow button: the drawing routines its paint is
// made of, and its colour record with the preset looks.
#include <cstdint>

#include "controls/LumStyleIF.h"
#include "vcl/Components.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"

namespace vcl {
class TImageList;
}

namespace controls {

class TGPGraphics;
class TGDIPPicture;

// How one half of a button is filled; stored in one byte.
enum class TGDIPGradient : uint8_t { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };
using enum TGDIPGradient;

// The glow interval in milliseconds: the fades step once per interval. The
// ribbon toolbars' own buttons read it too.
extern int GlowFadeInterval;

// The routines the glow button's paint is made of. They take plain values
// and touch no button. Colours are the class library's (system colours
// allowed) and come back as plain RGB; the GDI+ routines draw on a surface
// their caller made and keeps, with the smoothing the caller chose.
namespace glow {

// Per channel: a zero channel becomes Percent when that is 0 or more (else
// stays 0); any other is scaled by min(100 + Percent, 100) per cent,
// rounded half to even, low byte kept. So a negative percent darkens and a
// positive one only lifts black channels.
vcl::TColor ShadeColor(vcl::TColor Color, int Percent);
vcl::TColor ShadeColorChannels(vcl::TColor Color, int PercentRed, int PercentGreen, int PercentBlue);
// Percent of A over B. 100 or more answers A, 0 or less B, both unresolved.
vcl::TColor BlendColor(vcl::TColor ColorA, vcl::TColor ColorB, int Percent);

// Steps bands (0 counts as 1) from FromColor to ToColor, drawn with the
// canvas's pen and brush in each band's colour; each band reaches one
// pixel into the next, which overdraws it.
void DrawGradient(vcl::TCanvas* Canvas, vcl::TColor FromColor, vcl::TColor ToColor, int Steps, const vcl::TRect& Rect,
                  bool Horizontal);

// One half of a button: a solid fill in the half's outer colour, then the
// gradient. The fills reach Rect.Right wide and Rect.Bottom high from the
// corner (right and bottom read as sizes), which the surface clips.
void DrawGlowHalf(TGPGraphics* Graphics, const vcl::TRect& Rect, vcl::TColor ColorA, vcl::TColor ColorB,
                  TGDIPGradient Gradient, bool Upper);

// Borders with a one-pixel pen: a whole rounded rectangle, a dotted one
// (the focus frame), and the three pieces of a joined row of buttons.
void DrawRoundRectBorder(TGPGraphics* Graphics, vcl::TColor Color, int X, int Y, int Width, int Height, int Radius);
void DrawDottedRoundRect(TGPGraphics* Graphics, vcl::TColor Color, int X, int Y, int Width, int Height, int Radius);
void DrawLeftButtonBorder(TGPGraphics* Graphics, vcl::TColor Color, int X, int Y, int Width, int Height, int Radius);
void DrawMiddleButtonBorder(TGPGraphics* Graphics, vcl::TColor Color, int X, int Y, int Width, int Height, int Radius,
                            bool Highlighted);
void DrawRightButtonBorder(TGPGraphics* Graphics, vcl::TColor Color, int X, int Y, int Width, int Height, int Radius,
                           bool Highlighted);

// The 5 x 4 drop-down arrow at P, pointing down or right, with its shadow
// pixels.
void DrawDropArrow(vcl::TCanvas* Canvas, vcl::TPoint P, vcl::TColor Color, bool Down, vcl::TColor ShadowColor);

// A picture stretched into Rect: a plain bitmap file through the canvas,
// its bottom-left colour transparent; anything else through GDI+ with its
// alpha. An empty picture, or bytes that do not decode, draw nothing.
void DrawPictureStretched(TGPGraphics* Graphics, vcl::TCanvas* Canvas, const vcl::TRect& Rect, TGDIPPicture* Picture);
// A picture at P at its own size; a plain bitmap file loses every pixel of
// its bottom-left pixel's colour.
void DrawPictureAt(TGPGraphics* Graphics, vcl::TPoint P, TGDIPPicture* Picture);
// An image-list glyph at P through GDI+, put on a bitmap first (so the
// list's disabled look applies when Enabled is false) and keyed by that
// bitmap's bottom-left colour. Nothing without a list, a surface or an
// index of 0 or more.
void DrawImageListGlyph(TGPGraphics* Graphics, vcl::TPoint P, vcl::TImageList* Images, int Index, bool Enabled);

}  // namespace glow

// The colour record of a glow button: for the normal, hot, down, checked
// and disabled looks an upper pair, a lower ("mirror") pair, a border
// colour and the two halves' gradients, and the system-font switch. Every
// setter that changes a value calls OnChange once.
class TGlowButtonAppearance : public vcl::TPersistent {
 public:
  TGlowButtonAppearance();

  // From another record: every colour, gradient and the font switch
  // through their setters, so each difference notifies.
  void Assign(const vcl::TPersistent* Source) override;
  void Changed();

  vcl::TNotifyEvent OnChange;

#define TOLVANE_GLOW_SETTING(Type, Name)              \
  Type Name() const { return Name##_; }               \
  void Set##Name(Type Value) { Store(Name##_, Value); }
  TOLVANE_GLOW_SETTING(vcl::TColor, BorderColor)
  TOLVANE_GLOW_SETTING(vcl::TColor, BorderColorHot)
  TOLVANE_GLOW_SETTING(vcl::TColor, BorderColorDown)
  TOLVANE_GLOW_SETTING(vcl::TColor, BorderColorChecked)
  TOLVANE_GLOW_SETTING(vcl::TColor, BorderColorDisabled)
  TOLVANE_GLOW_SETTING(vcl::TColor, Color)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorChecked)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorCheckedTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorDisabled)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorDisabledTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorDown)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorDownTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorHot)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorHotTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirror)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorHot)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorHotTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorDown)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorDownTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorChecked)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorCheckedTo)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorDisabled)
  TOLVANE_GLOW_SETTING(vcl::TColor, ColorMirrorDisabledTo)
  TOLVANE_GLOW_SETTING(TGDIPGradient, Gradient)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientMirror)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientHot)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientMirrorHot)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientDown)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientMirrorDown)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientChecked)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientMirrorChecked)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientDisabled)
  TOLVANE_GLOW_SETTING(TGDIPGradient, GradientMirrorDisabled)
  TOLVANE_GLOW_SETTING(bool, SystemFont)
#undef TOLVANE_GLOW_SETTING

 private:
  template <typename T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

  vcl::TColor BorderColor_, BorderColorHot_, BorderColorDown_, BorderColorChecked_, BorderColorDisabled_;
  vcl::TColor Color_, ColorTo_, ColorChecked_, ColorCheckedTo_, ColorDisabled_, ColorDisabledTo_;
  vcl::TColor ColorDown_, ColorDownTo_, ColorHot_, ColorHotTo_;
  vcl::TColor ColorMirror_, ColorMirrorTo_, ColorMirrorHot_, ColorMirrorHotTo_, ColorMirrorDown_,
      ColorMirrorDownTo_;
  vcl::TColor ColorMirrorChecked_, ColorMirrorCheckedTo_, ColorMirrorDisabled_, ColorMirrorDisabledTo_;
  TGDIPGradient Gradient_, GradientMirror_, GradientHot_, GradientMirrorHot_, GradientDown_, GradientMirrorDown_;
  TGDIPGradient GradientChecked_, GradientMirrorChecked_, GradientDisabled_, GradientMirrorDisabled_;
  bool SystemFont_;
};

// Where a button's key tip goes, round the button or over it; stored in
// one byte. shpAuto is left to the host and otherwise reads as shpTop.
enum class TShortCutHintPos : uint8_t {
  shpLeft,
  shpTop,
  shpRight,
  shpBottom,
  shpCenter,
  shpAuto,
  shpTopLeft,
  shpTopRight,
  shpAboveTop,
  shpAboveTopLeft,
  shpAboveTopRight,
  shpBottomLeft,
  shpBottomRight,
  shpBelowBottom,
  shpBelowBottomLeft,
  shpBelowBottomRight,
  shpBelowBottomCenter,
};
using enum TShortCutHintPos;

// The screen point of a key tip kw x kh for a button W x H whose client
// origin is at the screen point P. Left-aligned places sit 6 pixels in,
// right-aligned ones end one pixel past the button's right edge.
vcl::TPoint KeyTipPlacement(TShortCutHintPos Position, vcl::TPoint P, int W, int H, int kw, int kh);

// The key-tip bubble: a frameless, shadowless pop-up that clicks pass
// through, painting a 16-band gradient from TopColor down to BottomColor,
// its text centred on one line and a grey rounded outline. A new text
// sizes it to the text plus 6 x 4, never narrower than "O" plus 8.
class TShortCutHintWindow : public vcl::THintWindow {
 public:
  explicit TShortCutHintWindow(vcl::TComponent* AOwner);

  vcl::TColor TopColor() const { return topColor_; }
  vcl::TColor BottomColor() const { return bottomColor_; }
  // Take effect at the next paint; nothing is repainted here.
  void SetTopColor(vcl::TColor Value) { topColor_ = Value; }
  void SetBottomColor(vcl::TColor Value) { bottomColor_ = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  QWidget* CreateWidget() override;
  void Dispatch(vcl::TMessage& Message) override;
  void Paint() override;
  void Resize() override;

 private:
  vcl::TColor topColor_ = vcl::clWhite;
  vcl::TColor bottomColor_ = vcl::clWhite;
};

// Loads a preset look into the record through its setters (tsCustom
// changes nothing). The disabled colours and the font switch are never
// touched. The glow button's component style is this plus its repaint.
void LoadGlowAppearancePreset(TGlowButtonAppearance& Appearance, REZORuvar Style);

}  // namespace controls
