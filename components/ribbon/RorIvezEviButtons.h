#pragma once
// The toolbar's lightweight controls (no window of their own): the flat
// toolbar button with per-state glyphs, drop-down section, hover shadow,
// groups and menu or action link; the published menu button; the etched
// separator; the fixed draw positions of a button's caption and image.
#include <memory>

#include "controls/LumHintInfo.h"
#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Pictures.h"

namespace vcl {
class TMenuItem;
class TCustomAction;
}  // namespace vcl

namespace ribbon {

class TRorIvezEviContainer;

enum class TGlyphPosition : uint8_t { gpLeft, gpTop, gpRight, gpBottom };
using enum TGlyphPosition;
enum class TRorIvezEviButtonState : uint8_t { tbsUp, tbsDisabled, tbsDown, tbsMenuDropped, tbsExclusive };
using enum TRorIvezEviButtonState;
enum class TLumSeparatorStyle : uint8_t { ssOffice2003, ssBlank };
using enum TLumSeparatorStyle;

// The base of every control that knows its toolbar and how that bar lies.
class TLumCustomToolBarControl : public vcl::TGraphicControl {
 public:
  explicit TLumCustomToolBarControl(vcl::TComponent* AOwner);
  TLumCustomToolBar* RorIvezEvi() const { return rorIvezEvi_; }
  // Moves the control to Bar (removed from its old one, parented to Bar,
  // added by Bar); raises "RorIvezEvi not set" when Bar does not take it.
  virtual void SetRorIvezEvi(TLumCustomToolBar* Bar);
  TDockAlign Position() const { return position_; }
  virtual void SetPosition(TDockAlign Value);
  bool Horizontal() const { return position_ == daTop || position_ == daBottom; }
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool Value);
  // Re-measures the control (only with a parent and AutoSize).
  virtual void AdjustSize() {}
  // The toolbar (or container) that takes a control in sets this; the
  // control hears when that toolbar is freed.
  void AttachToolBar(TLumCustomToolBar* Bar);

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  TLumCustomToolBar* rorIvezEvi_ = nullptr;
  TDockAlign position_ = daTop;
  bool autoSize_ = false;
};

// Fixed positions for a button's caption and image, used when Enabled.
class TRorIvezEviButtonDrawPosition : public vcl::TPersistent {
 public:
  void Assign(const vcl::TPersistent* Source) override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value) { Store(enabled_, Value); }
  int TextX() const { return textX_; }
  void SetTextX(int Value) { Store(textX_, Value); }
  int TextY() const { return textY_; }
  void SetTextY(int Value) { Store(textY_, Value); }
  int ImageX() const { return imageX_; }
  void SetImageX(int Value) { Store(imageX_, Value); }
  int ImageY() const { return imageY_; }
  void SetImageY(int Value) { Store(imageY_, Value); }
  vcl::TNotifyEvent OnChange;

 private:
  template <typename T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }
  bool enabled_ = false;
  int textX_ = 0, textY_ = 0, imageX_ = 0, imageY_ = 0;
};

class TLumCustomToolBarButton;

// The buttons' action link: Checked follows Down, GroupIndex follows the
// button's, each only while linked.
class TRorIvezEviButtonActionLink {
 public:
  explicit TRorIvezEviButtonActionLink(TLumCustomToolBarButton* Client) : client_(Client) {}
  bool IsCheckedLinked() const;
  bool IsGroupIndexLinked() const;
  void SetChecked(bool Value);
  void SetGroupIndex(int Value);

 private:
  TLumCustomToolBarButton* client_;
};

class TLumCustomToolBarButton : public TLumCustomToolBarControl {
 public:
  explicit TLumCustomToolBarButton(vcl::TComponent* AOwner);
  ~TLumCustomToolBarButton() override;

  // Glyphs per state; a new Glyph also makes an empty GlyphDisabled a
  // grey copy of it.
  vcl::TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(vcl::TBitmap* Value);
  vcl::TBitmap* GlyphHot() { return &glyphHot_; }
  void SetGlyphHot(vcl::TBitmap* Value) { glyphHot_.Assign(Value); }
  vcl::TBitmap* GlyphDown() { return &glyphDown_; }
  void SetGlyphDown(vcl::TBitmap* Value) { glyphDown_.Assign(Value); }
  vcl::TBitmap* GlyphDisabled() { return &glyphDisabled_; }
  void SetGlyphDisabled(vcl::TBitmap* Value) { glyphDisabled_.Assign(Value); }
  vcl::TBitmap* GlyphChecked() { return &glyphChecked_; }
  void SetGlyphChecked(vcl::TBitmap* Value) { glyphChecked_.Assign(Value); }
  vcl::TBitmap* ShadeBitmap() { return &shade_; }
  vcl::TPicture* Picture() { return &picture_; }
  void SetPicture(vcl::TPicture* Value);
  vcl::TPicture* PictureDisabled() { return &pictureDisabled_; }

  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value);
  TButtonAppearance* Appearance() { return &appearance_; }
  void SetAppearance(const TButtonAppearance* Value) { appearance_.Assign(Value); }
  TRorIvezEviButtonDrawPosition* DrawPosition() { return &drawPosition_; }
  controls::TLumHintInfo* OfficeHint() { return &officeHint_; }
  void SetOfficeHint(const controls::TLumHintInfo* Value) { officeHint_.Assign(Value); }

  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool Value);
  TGlyphPosition GlyphPosition() const { return glyphPosition_; }
  void SetGlyphPosition(TGlyphPosition Value);
  bool Shaded() const { return shaded_; }
  void SetShaded(bool Value);
  bool ParentStyler() const { return parentStyler_; }
  void SetParentStyler(bool Value);
  bool DropDownButton() const { return dropDownButton_; }
  void SetDropDownButton(bool Value);
  bool DropDownSplit() const { return dropDownSplit_; }
  void SetDropDownSplit(bool Value);
  controls::TLumPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(controls::TLumPopupMenu* Value);
  int DropDownWidth() const { return dropDownWidth_; }
  int Spacing() const { return spacing_; }
  int Margin() const { return margin_; }
  vcl::TMenuItem* MenuItem() const { return menuItem_; }
  void SetMenuItem(vcl::TMenuItem* Item);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value);
  bool Down() const { return down_; }
  void SetDown(bool Value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value) { allowAllUp_ = Value; }
  void SetPosition(TDockAlign Value) override;

  TRorIvezEviButtonState State() const { return state_; }
  bool Hot() const { return hot_; }
  void SetHot(bool Value);
  bool MouseInControl() const { return mouseInControl_; }
  bool MouseIsDown() const { return mouseIsDown_; }
  bool IsDragging() const { return dragging_; }
  bool DroppedDown() const { return droppedDown_; }
  vcl::TTimer* HoverTimer() const { return hoverTimer_; }
  // Marks the toolbar's menu tracking keeps.
  bool KeyboardPressed = false;
  bool MenuClosedUnderCursor = false;
  bool MenuShowing = false;
  // The toolbar sets it back when its menu loop ends.
  void SetState(TRorIvezEviButtonState Value) { state_ = Value; }

  void SetParent(vcl::TWinControl* AParent) override;
  void SetAutoSize(bool Value) override;
  void AdjustSize() override;
  void Click() override;
  void ActionChange(vcl::TBasicAction* Sender) override;

  virtual void DrawGlyphAndCaption(vcl::TCanvas* ACanvas, const vcl::TRect& R, vcl::TBitmap* AGlyph,
                                   vcl::TColor TextColor);
  virtual void DrawButton(vcl::TCanvas* ACanvas);
  virtual bool IsMenuButton() const { return false; }
  virtual rtl::Cardinal GetVersionNumber() const { return kToolBarVersionNumber; }
  rtl::AnsiString Version() const { return VersionText(GetVersionNumber()); }
  void SetVersion(const rtl::AnsiString&) {}

  // Group handling and hover tracking.
  void UpdateExclusive();
  void UpdateTracking();
  void UpdateShade();
  virtual bool CheckMenuDropdown();
  void DoDropDown();

  vcl::TNotifyEvent OnDropDown;

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

  // The appearance painting uses: the styler's when ParentStyler and a
  // styler is known, else the own one.
  TButtonAppearance* EffectiveAppearance();
  vcl::TFont* CaptionFont();
  TCustomRorIvezEviStyler* KnownStyler() const;
  vcl::TImageList* ToolBarImages() const;
  vcl::TImageList* ToolBarDisabledImages() const;
  // The image list and index an image-list image is drawn from (the
  // action's list and index win), or null.
  vcl::TImageList* ImageSource(int& Index) const;
  vcl::TRect DropDownRect() const;
  vcl::TRect MainRect() const;
  // Draws the fill, border, drop-down outline and arrow shared by both
  // buttons' painting with the colours of one table row.
  struct TFaceColours {
    vcl::TColor Fill = vcl::clNone, FillTo = vcl::clNone, DropFill = vcl::clNone, DropFillTo = vcl::clNone,
                Border = vcl::clNone, Text = vcl::clBlack;
    TGradientDirection Direction = gdVertical;
    vcl::TBitmap* Glyph = nullptr;
  };
  void PaintFace(vcl::TCanvas* ACanvas, const TFaceColours& C, bool MenuArrowLeft);
  // The canvas sizes are measured on (the button's own).
  virtual vcl::TCanvas* MeasureCanvas() { return Canvas(); }

 private:
  bool InsideForRelease(int X, int Y) const;
  void MouseEnter();
  void MouseLeave(bool FireEvent);
  void HoverTick(vcl::TObject*);
  void ButtonPressed(int Group, TLumCustomToolBarButton* Sender);
  void Changed();

  vcl::TBitmap glyph_, glyphHot_, glyphDown_, glyphDisabled_, glyphChecked_, shade_;
  vcl::TPicture picture_, pictureDisabled_;
  int imageIndex_ = -1;
  TButtonAppearance appearance_;
  TRorIvezEviButtonDrawPosition drawPosition_;
  controls::TLumHintInfo officeHint_;
  bool showCaption_ = false;
  TGlyphPosition glyphPosition_ = gpLeft;
  bool shaded_ = true;
  bool parentStyler_ = true;
  bool dropDownButton_ = false;
  bool dropDownSplit_ = true;
  controls::TLumPopupMenu* dropDownMenu_ = nullptr;
  int dropDownWidth_ = 12;
  int spacing_ = 4;
  int margin_ = 4;
  vcl::TMenuItem* menuItem_ = nullptr;
  int groupIndex_ = 0;
  bool down_ = false;
  bool loadedDown_ = false;
  bool allowAllUp_ = false;
  TRorIvezEviButtonState state_ = tbsUp;
  bool hot_ = false;
  bool mouseInControl_ = false;
  bool mouseIsDown_ = false;
  bool dragging_ = false;
  bool droppedDown_ = false;
  bool shadeFromList_ = false;
  vcl::TTimer* hoverTimer_ = nullptr;
  TRorIvezEviButtonActionLink actionLink_{this};
};

class TRorIvezEviMenuButton : public TLumCustomToolBarButton {
 public:
  explicit TRorIvezEviMenuButton(vcl::TComponent* AOwner);
  void DrawButton(vcl::TCanvas* ACanvas) override;
  bool IsMenuButton() const override { return true; }
};

class TRorIvezEviSeparator : public TLumCustomToolBarControl {
 public:
  explicit TRorIvezEviSeparator(vcl::TComponent* AOwner);
  void Assign(const vcl::TPersistent* Source) override;
  TLumSeparatorStyle SeparatorStyle() const { return separatorStyle_; }
  void SetSeparatorStyle(TLumSeparatorStyle Value);
  vcl::TColor LineColor() const { return lineColor_; }
  void SetLineColor(vcl::TColor Value);
  void AdjustSize() override;

 protected:
  void Paint() override;

 private:
  TLumSeparatorStyle separatorStyle_ = ssOffice2003;
  vcl::TColor lineColor_ = vcl::clBtnShadow;
};

}  // namespace ribbon
