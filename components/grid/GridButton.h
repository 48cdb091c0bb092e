#pragma once
// The two small controls of the grid's search footer, drawn and handled by
// the grid itself: TLumGridButton, a window-less button with a glyph per
// state, flat colour fills and gradients, a check style, groups and a
// drop-down part; and TLumCheckBox, an owner-drawn check box with a themed
// or classic box, vertical placement, ellipsis and transparency.
#include <memory>

#include "grid/model/GridTypes.h"
#include "vcl/ActnList.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

namespace vcl {
class TBitmap;
class TPopupMenu;
}  // namespace vcl

namespace grid {

enum class TLumGridButtonStyle { tasButton, tasCheck };
using enum TLumGridButtonStyle;
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;
// The drawing state of a button.
enum class TGridButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using enum TGridButtonState;

class TLumGridButton;

// Keeps a TLumGridButton's Caption, Down (the action's Checked) and
// GroupIndex with its action while each is linked: while the button still
// shows what it last took from the action. A value the program set on the
// button itself stays. The link remembers the action's values as the button
// last took them, since the action tells of a change after making it.
class TLumGridButtonActionLink {
 public:
  void AssignClient(TLumGridButton* client) { client_ = client; }
  bool IsCaptionLinked() const;
  // Only for a button of a group that may be all up.
  bool IsCheckedLinked() const;
  bool IsGroupIndexLinked() const;
  void SetCaption(const AnsiString& value);
  void SetChecked(bool value);
  void SetGroupIndex(Integer value);
  // Takes the action's state: every value when the action was just linked,
  // else each value that is linked; enabling, hint and visibility always.
  void Change(const vcl::TCustomAction& action, bool linking);

 private:
  bool Linked() const;
  TLumGridButton* client_ = nullptr;
  AnsiString caption_;
  bool checked_ = false;
  Integer groupIndex_ = 0;
};

class TLumGridButton : public vcl::TGraphicControl {
 public:
  explicit TLumGridButton(vcl::TComponent* owner);
  ~TLumGridButton() override;

  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool v);
  // Setting a glyph while GlyphDisabled is empty makes a grey copy of it
  // the disabled glyph. The bottom-left pixel is the transparent colour.
  vcl::TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const vcl::TBitmap* v);
  vcl::TBitmap* GlyphHot() const { return glyphHot_.get(); }
  void SetGlyphHot(const vcl::TBitmap* v);
  vcl::TBitmap* GlyphDown() const { return glyphDown_.get(); }
  void SetGlyphDown(const vcl::TBitmap* v);
  vcl::TBitmap* GlyphDisabled() const { return glyphDisabled_.get(); }
  void SetGlyphDisabled(const vcl::TBitmap* v);
  vcl::TBitmap* ShadowGlyph() const { return shadow_.get(); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  // -1 centres; values below -1 are refused.
  Integer Margin() const { return margin_; }
  void SetMargin(Integer v);
  Integer Spacing() const { return spacing_; }
  void SetSpacing(Integer v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TLumGridButtonStyle Style() const { return style_; }
  void SetStyle(TLumGridButtonStyle v);
  bool Down() const { return down_; }
  // Only check-style and group buttons go down; raising the down button
  // of a group needs AllowAllUp.
  void SetDown(bool v);
  Integer GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Integer v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  TColor ColorTo = clNone;
  TColor ColorHot = 0xCAC7C7;
  TColor ColorHotTo = clNone;
  TColor ColorDown = 0xD8D3D2;
  TColor ColorDownTo = clNone;
  TColor ColorChecked = 0x808080;  // clGray
  TColor ColorCheckedTo = clNone;
  TColor BorderColor = clNone;
  TColor BorderHotColor = clNone;
  TColor BorderDownColor = clNone;
  bool Rounded = false;
  bool Shaded() const { return shaded_; }
  void SetShaded(bool v);
  bool DropDownButton = false;
  vcl::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(vcl::TPopupMenu* menu);
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool v);
  bool AutoXPStyle = false;
  vcl::TNotifyEvent OnDropDown;

  TGridButtonState State() const { return state_; }
  bool Hot() const { return hot_; }
  // The colour set of the current theme's colour scheme.
  void ThemeAdapt();
  void Click() override;
  void Dispatch(vcl::TMessage& message) override;
  void ActionChange(vcl::TBasicAction* sender) override;
  const TLumGridButtonActionLink& ActionLink() const { return actionLink_; }

  // Where glyph and caption go in the client area (after the offset of a
  // pressed or hot button).
  struct TContentLayout {
    vcl::TPoint GlyphPos;
    vcl::TRect TextBounds;
  };
  TContentLayout LayoutContent(const vcl::TRect& client, vcl::TPoint offset);

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseMove(vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;

 private:
  void BuildShadow();
  void UpdateExclusive();
  void ButtonPressed(Integer group, TLumGridButton* sender);
  void MouseEntered();
  void MouseLeft();
  vcl::TBitmap* ChosenGlyph();
  bool showCaption_ = true;
  std::unique_ptr<vcl::TBitmap> glyph_, glyphHot_, glyphDown_, glyphDisabled_, shadow_;
  TButtonLayout layout_ = blGlyphLeft;
  Integer margin_ = -1;
  Integer spacing_ = 4;
  bool flat_ = true;
  TLumGridButtonStyle style_ = tasButton;
  bool down_ = false;
  Integer groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool shaded_ = true;
  vcl::TPopupMenu* dropDownMenu_ = nullptr;
  bool autoThemeAdapt_ = false;
  TGridButtonState state_ = bsUp;
  bool hot_ = false;
  TLumGridButtonActionLink actionLink_;
  const vcl::TBasicAction* linkedAction_ = nullptr;  // compared, never used
  bool dragging_ = false;
};

// Paints a button's background bands: top to bottom in 16 bands (each a
// pixel longer than its share), outlined afterwards unless the outline is
// clNone.
void DrawButtonGradient(vcl::TCanvas* canvas, TColor from, TColor to, TColor outline, const vcl::TRect& r);

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;
enum class TLeftRight { taLeftJustify, taRightJustify };

class TLumCheckBox : public vcl::TCustomControl {
 public:
  explicit TLumCheckBox(vcl::TComponent* owner);
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState v);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v);
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  vcl::TTextLayout ButtonVertAlign() const { return vertAlign_; }
  void SetButtonVertAlign(vcl::TTextLayout v);
  bool Ellipsis() const { return ellipsis_; }
  void SetEllipsis(bool v);
  bool ReadOnly = false;
  bool ReturnIsTab = false;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  void SetText(const AnsiString& s) override;
  // Checked turned over unless ReadOnly.
  virtual void Toggle();
  bool Pressed() const { return pressed_; }
  bool Hot() const { return hot_; }
  // The box's rectangle in the client area as painting places it.
  vcl::TRect BoxRect() const;
  void Dispatch(vcl::TMessage& message) override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

 protected:
  void Paint() override;
  void DoEnter() override;
  void DoExit() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseMove(vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, vcl::TShiftState shift) override;
  void KeyUp(Word& key, vcl::TShiftState shift) override;

 private:
  void RepaintBox();
  TCheckBoxState state_ = cbUnchecked;
  TLeftRight alignment_ = TLeftRight::taLeftJustify;
  vcl::TTextLayout vertAlign_ = vcl::tlTop;
  bool ellipsis_ = false;
  bool transparent_ = false;
  bool focused_ = false;
  bool pressed_ = false;
  bool hot_ = false;
  bool clicking_ = false;
};

}  // namespace grid
