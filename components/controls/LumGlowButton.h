#pragma once
// The ribbon's owner-drawn glow button: the drawing routines its paint is
// made of, its colour record with the preset looks, its key-tip bubble and
// the button itself.
#include <cstdint>
#include <memory>

#include "controls/LumGDIP.h"
#include "controls/LumStyleIF.h"
#include "rtl/StringList.h"
#include "vcl/Components.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"

namespace vcl {
class TImageList;
class TChangeLink;
class TPopupMenu;
class TTimer;
class TBitmap;
class TCustomAction;
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

class TLumHintInfo;

enum class TLumButtonStyle : uint8_t { bsButton, bsCheck };
using enum TLumButtonStyle;
// This unit's own layouts (the class library has none of these names).
enum class TButtonLayout : uint8_t {
  blGlyphLeft,
  blGlyphTop,
  blGlyphRight,
  blGlyphBottom,
  blGlyphLeftAdjusted,
  blGlyphRightAdjusted,
  blGlyphTopAdjusted,
  blGlyphBottomAdjusted,
};
using enum TButtonLayout;
enum class TDropDownPosition : uint8_t { dpRight, dpBottom };
using enum TDropDownPosition;
enum class TDropDownDirection : uint8_t { ddDown, ddRight };
using enum TDropDownDirection;
enum class TFocusType : uint8_t { ftBorder, ftHot, ftHotBorder, ftNone };
using enum TFocusType;
// The button's place in a joined row of buttons.
enum class TButtonPosition : uint8_t { bpStandalone, bpLeft, bpMiddle, bpRight };
using enum TButtonPosition;
// The ribbon's three sizes: glyph only, glyph and caption on one line, large.
enum class TButtonSizeState : uint8_t { bsGlyph, bsLabel, bsLarge };
using enum TButtonSizeState;
enum class TGlowButtonState : uint8_t { gsNormal, gsHot, gsDown };
using enum TGlowButtonState;

class TLumCustomGlowButton;

using TGlowButtonDrawEvent =
    std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, const vcl::TRect& Rect, TGlowButtonState State)>;
using TGlowInternalKeyEvent = std::function<void(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift)>;
using TGlowInternalSizeEvent = std::function<void(vcl::TObject* Sender, int& Width, int& Height)>;
using TShortCutHintPosEvent =
    std::function<void(vcl::TObject* Sender, TButtonSizeState SizeState, TShortCutHintPos& Position)>;

// What one layout-and-draw pass of a button works from: the look chosen
// for this paint and the button's content settings. The pass reads nothing
// else of the button but its parent's class name.
struct TGlowDrawInput {
  vcl::TRect R;
  vcl::TColor Color = vcl::clWhite, ColorTo = vcl::clWhite, ColorMirror = vcl::clWhite,
              ColorMirrorTo = vcl::clWhite, BorderColor = vcl::clSilver;
  TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
  vcl::AnsiString Caption;
  rtl::WideString WideCaption;
  vcl::TFont* Font = nullptr;
  vcl::TImageList* Images = nullptr;
  int ImageIndex = -1;
  bool EnabledImage = true;
  TButtonLayout Layout = blGlyphLeft;
  bool DropDownButton = false;
  TDropDownPosition DropDownPosition = dpRight;
  bool DropDownSplit = true;
  bool DropDownDown = true;
  bool DownLook = false;
  bool Enabled = true;
  bool FocusBorder = false;
  TGDIPPicture* Picture = nullptr;
  vcl::TSize GlyphSize{0, 0};
  TAntiAlias AntiAlias = TAntiAlias::aaClearType;
  vcl::TBitmap* Glyph = nullptr;
  int DropDownState = 0;  // 0 none, 1 mouse on the button, 2 on the drop-down part
  bool Transparent = false;
  bool Hot = false;
  TButtonPosition Position = bpStandalone;
  bool HasBorder = true;
  bool WordWrap = true;
  int Spacing = 2;
  StringTrimming Trimming = vcl::StringTrimmingNone;
  bool Measure = false;
  bool Rounded = true;
  vcl::AnsiString Notes;
  vcl::TFont* NotesFont = nullptr;
  bool Down = false;
};

// The action link of a glow button: which of the action's settings the
// button follows, decided afresh at each change and remembered on the
// button for its release handling. The class library tells a client after
// the action changed, so the link keeps the values it saw last and judges
// a change against those, as a link told before the change would.
class TLumGlowButtonActionLink {
 public:
  explicit TLumGlowButtonActionLink(TLumCustomGlowButton* Client) : client_(Client) {}
  // Starts following Action (null: none) from its present values.
  void SetAction(vcl::TCustomAction* Action);
  vcl::TCustomAction* Action() const { return action_; }
  // Hands each setting of the action that changed since the last call to
  // its setter below.
  void ActionChanged();
  bool IsCheckedLinked();
  bool IsGroupIndexLinked();
  bool IsImageIndexLinked() const;
  void SetChecked(bool Value);
  void SetGroupIndex(int Value);
  void SetImageIndex(int Value);

 private:
  TLumCustomGlowButton* client_;
  vcl::TCustomAction* action_ = nullptr;
  bool checked_ = false;
  int groupIndex_ = 0;
  int lastImageIndex_ = -1;
};

// The ribbon's owner-drawn button: a push or check button with a glyph and
// a caption, hover and press glows that fade in 20 per cent steps, an
// optional drop-down part with a pop-up menu, radio groups, repeated clicks
// while held, an action link, automatic sizing in three size states and a
// key-tip bubble.
class TLumCustomGlowButton : public vcl::TCustomControl, public IStyleAware {
 public:
  explicit TLumCustomGlowButton(vcl::TComponent* AOwner);
  ~TLumCustomGlowButton() override;

  // From another glow button only: its settings through their setters; the
  // image lists are not among them (the references stay as they are).
  void Assign(const vcl::TPersistent* Source) override;
  void Click() override;
  void SetComponentStyle(REZORuvar AStyle) override;

  // --- the ribbon's calls ---
  void ShowShortCutHint();
  void HideShortCutHint();
  TShortCutHintWindow* ShortCutHintWindow() const { return keyTip_; }
  void KeyboardClick();
  void DoDropDown();
  void SetButtonSizeState(TButtonSizeState State);
  TButtonSizeState ButtonSizeState() const { return sizeState_; }
  void GetSizeForState(TButtonSizeState State, vcl::TSize& Size);
  bool DroppedDown() const { return droppedDown_; }
  bool AlwaysTransparent() const { return alwaysTransparent_; }
  void SetAlwaysTransparent(bool Value) { alwaysTransparent_ = Value; }

  // Lays out and draws one pass on Canvas (or only measures); answers the
  // size caption and glyph need.
  vcl::TSize DrawGlowButton(vcl::TCanvas* Canvas, const TGlowDrawInput& In);

  // --- settings ---
  TGlowButtonAppearance* Appearance() const { return appearance_.get(); }
  void SetAppearance(const TGlowButtonAppearance* Value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value);
  TAntiAlias AntiAlias() const { return antiAlias_; }
  void SetAntiAlias(TAntiAlias Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  vcl::TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(vcl::TBorderStyle Value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  vcl::TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(vcl::TImageList* Value);
  TGDIPPicture* DisabledPicture() const { return disabledPicture_.get(); }
  void SetDisabledPicture(const TGDIPPicture* Value);
  bool Down() const { return down_; }
  void SetDown(bool Value);
  bool DropDownButton() const { return dropDownButton_; }
  void SetDropDownButton(bool Value);
  TDropDownDirection DropDownDirection() const { return dropDownDirection_; }
  void SetDropDownDirection(TDropDownDirection Value);
  vcl::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(vcl::TPopupMenu* Value);
  TDropDownPosition DropDownPosition() const { return dropDownPosition_; }
  void SetDropDownPosition(TDropDownPosition Value);
  bool DropDownSplit() const { return dropDownSplit_; }
  void SetDropDownSplit(bool Value) { dropDownSplit_ = Value; }
  TFocusType FocusType() const { return focusType_; }
  void SetFocusType(TFocusType Value) { focusType_ = Value; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value);
  vcl::TImageList* HotImages() const { return hotImages_; }
  void SetHotImages(vcl::TImageList* Value);
  TGDIPPicture* HotPicture() const { return hotPicture_.get(); }
  void SetHotPicture(const TGDIPPicture* Value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value);
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* Value);
  int InitRepeatPause() const { return initRepeatPause_; }
  void SetInitRepeatPause(int Value) { initRepeatPause_ = Value; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int MarginHorz() const { return marginHorz_; }
  void SetMarginHorz(int Value);
  int MarginVert() const { return marginVert_; }
  void SetMarginVert(int Value);
  TButtonSizeState MaxButtonSizeState() const { return maxSizeState_; }
  void SetMaxButtonSizeState(TButtonSizeState Value);
  TButtonSizeState MinButtonSizeState() const { return minSizeState_; }
  void SetMinButtonSizeState(TButtonSizeState Value);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int Value) { modalResult_ = Value; }
  rtl::TStrings* Notes() const { return notes_.get(); }
  void SetNotes(const rtl::TStrings* Value);
  vcl::TFont* NotesFont() const { return notesFont_.get(); }
  void SetNotesFont(const vcl::TFont* Value);
  TLumHintInfo* OfficeHint() const { return officeHint_.get(); }
  void SetOfficeHint(const TLumHintInfo* Value);
  TGDIPPicture* Picture() const { return picture_.get(); }
  void SetPicture(const TGDIPPicture* Value);
  TButtonPosition Position() const { return position_; }
  void SetPosition(TButtonPosition Value);
  bool RepeatClick() const { return repeatClick_; }
  void SetRepeatClick(bool Value) { repeatClick_ = Value; }
  int RepeatPause() const { return repeatPause_; }
  void SetRepeatPause(int Value) { repeatPause_ = Value; }
  bool Rounded() const { return rounded_; }
  void SetRounded(bool Value);
  const vcl::AnsiString& ShortCutHint() const { return shortCutHint_; }
  void SetShortCutHint(const vcl::AnsiString& Value) { shortCutHint_ = Value; }
  TShortCutHintPos ShortCutHintPos() const { return shortCutHintPos_; }
  void SetShortCutHintPos(TShortCutHintPos Value) { shortCutHintPos_ = Value; }
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool Value);
  bool ShowDisabled() const { return showDisabled_; }
  void SetShowDisabled(bool Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);
  TLumButtonStyle Style() const { return style_; }
  void SetStyle(TLumButtonStyle Value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value) { transparent_ = Value; }
  StringTrimming Trimming() const { return trimming_; }
  void SetTrimming(StringTrimming Value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  const rtl::WideString& WideCaption() const { return wideCaption_; }
  void SetWideCaption(const rtl::WideString& Value);
  // 1.9.1.1: one number per byte of GetVersionNumber, high byte first.
  vcl::AnsiString Version() const;

  vcl::TNotifyEvent OnDropDown;
  TGlowButtonDrawEvent OnDrawButton;
  // The hosting toolbar's hooks.
  TGlowInternalKeyEvent OnInternalKeyDown;
  vcl::TNotifyEvent OnInternalClick;
  TGlowInternalSizeEvent OnInternalSize;
  TShortCutHintPosEvent OnShortCutHintPos;

  void Dispatch(vcl::TMessage& Message) override;
  void ActionChange(vcl::TBasicAction* Sender) override;

  // Whether a paint is running (re-entrancy guard), and whether a fade or
  // repeat timer exists, for the ribbon's and the tests' eyes.
  bool Painting() const { return painting_; }
  bool GlowTimerRunning() const { return glowTimer_ != nullptr; }
  int HotPosition() const { return hotPos_; }
  int PressPosition() const { return pressPos_; }

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void KeyDown(vcl::Word& Key, vcl::TShiftState Shift) override;
  void KeyUp(vcl::Word& Key, vcl::TShiftState Shift) override;
  void KeyPress(vcl::WideChar& Key) override;
  void DoEnter() override;
  void DoExit() override;

  virtual void RepeatClickTick(vcl::TObject* Sender);
  virtual void AfterDraw() {}
  virtual void GetCustomGlyph(vcl::TBitmap* Bitmap) {}
  virtual uint32_t GetVersionNumber() const { return 0x01090101; }
  virtual bool IsMenuButton() const { return false; }
  virtual bool HasBorder() const { return borderStyle_ == vcl::bsSingle; }
  virtual bool HasFocusBorder() const;
  // The canvas the measuring pass lays text out on; null: the button's own.
  virtual vcl::TCanvas* MeasuringCanvas() { return nullptr; }

 private:
  friend class TLumGlowButtonActionLink;
  enum : uint8_t { kUp = 0, kDisabled = 1, kDown = 2, kExclusive = 4 };
  enum : uint8_t { kFadeHover = 0, kFadePress = 1, kFadeIdle = 2 };

  void MouseEnter();
  void MouseLeave();
  void LeftButtonDown(vcl::TMessage& Message);
  void LeftButtonUp(vcl::TMessage& Message);
  void StartGlowTimer();
  void GlowTick(vcl::TObject* Sender);
  void SyncInControl();
  void DropDownFromPress();
  vcl::TPoint DropDownPoint() const;
  void SizeRefresh();
  void PaintNow();
  void AppearanceChanged(vcl::TObject* Sender);
  void RecolourKeyTip();
  void AnnounceGroup();
  void ButtonPressed(vcl::TMessage& Message);
  void AttachImages(vcl::TImageList*& Field, vcl::TChangeLink* Link, vcl::TImageList* Value);
  TGlowDrawInput PaintInputs(vcl::TFont& FontCopy, vcl::TBitmap* Glyph, bool ForSize, TButtonSizeState State);
  vcl::AnsiString AccelCaption() const;

  std::unique_ptr<TGlowButtonAppearance> appearance_;
  std::unique_ptr<TGDIPPicture> picture_, hotPicture_, disabledPicture_;
  std::unique_ptr<TLumHintInfo> officeHint_;
  std::unique_ptr<rtl::TStringList> notes_;
  std::unique_ptr<vcl::TFont> notesFont_;
  std::unique_ptr<TLumGlowButtonActionLink> actionLink_;
  // One change link per image list: a changed list repaints the button.
  std::unique_ptr<vcl::TChangeLink> imagesLink_, hotImagesLink_, disabledImagesLink_;
  vcl::TImageList* images_ = nullptr;
  vcl::TImageList* hotImages_ = nullptr;
  vcl::TImageList* disabledImages_ = nullptr;
  vcl::TPopupMenu* dropDownMenu_ = nullptr;
  vcl::TTimer* glowTimer_ = nullptr;    // owned; only while a fade runs
  vcl::TTimer* repeatTimer_ = nullptr;  // owned; kept once made
  TShortCutHintWindow* keyTip_ = nullptr;  // owned

  bool allowAllUp_ = false;
  TAntiAlias antiAlias_ = TAntiAlias::aaClearType;
  bool autoSize_ = false;
  vcl::TBorderStyle borderStyle_ = vcl::bsSingle;
  bool cancel_ = false;
  bool default_ = false;
  bool down_ = false;
  bool dropDownButton_ = false;
  TDropDownDirection dropDownDirection_ = ddDown;
  TDropDownPosition dropDownPosition_ = dpRight;
  bool dropDownSplit_ = true;
  TFocusType focusType_ = ftBorder;
  int groupIndex_ = 0;
  int imageIndex_ = -1;
  int initRepeatPause_ = 400;
  TButtonLayout layout_ = blGlyphLeft;
  int marginHorz_ = 1, marginVert_ = 1;
  TButtonSizeState maxSizeState_ = bsLarge, minSizeState_ = bsGlyph;
  int modalResult_ = 0;
  TButtonPosition position_ = bpStandalone;
  bool repeatClick_ = false;
  int repeatPause_ = 100;
  bool rounded_ = true;
  vcl::AnsiString shortCutHint_;
  TShortCutHintPos shortCutHintPos_ = shpTop;
  bool showCaption_ = true;
  bool showDisabled_ = true;
  int spacing_ = 2;
  TLumButtonStyle style_ = bsButton;
  bool transparent_ = false;
  StringTrimming trimming_ = vcl::StringTrimmingNone;
  bool wordWrap_ = true;
  rtl::WideString wideCaption_;
  bool alwaysTransparent_ = false;
  bool droppedDown_ = false;

  uint8_t paintState_ = kUp;
  bool hotLook_ = false, entered_ = false, inControl_ = false, overArrow_ = false;
  bool pressed_ = false, resumePressed_ = false, mouseButtonDown_ = false, pressTracking_ = false;
  bool leftDownSeen_ = false, focused_ = false, defaultActive_ = false, downWhileLoading_ = false;
  bool checkedLinked_ = false, groupIndexLinked_ = false;
  bool downAtPress_ = false;  // a check button's Down before the press
  int hotPos_ = 0, pressPos_ = 0, fadeStep_ = 0;
  uint8_t fadeKind_ = kFadeIdle;
  TButtonSizeState sizeState_ = bsLarge;
  TButtonLayout savedLayout_ = blGlyphLeft;
  TDropDownPosition savedDropDownPosition_ = dpRight;
  bool forceMeasure_ = false, sizeDirty_ = true, painting_ = false;
};

// The published button.
class TLumGlowButton : public TLumCustomGlowButton {
 public:
  explicit TLumGlowButton(vcl::TComponent* AOwner) : TLumCustomGlowButton(AOwner) {}
};

}  // namespace controls
