#pragma once
// The buttons of the drop-down controls: the arrow at the edit's right edge
// (a container holding one speed button, opening the pop-up on the press),
// and the owner-drawn push buttons of the pop-up's header and footer with
// their colour record; a footer button closes the pop-up by its modal
// result.
#include <memory>

#include "dropdown/LumDropDownDraw.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace vcl {
class TImageList;
}

namespace dropdown {

// What a footer button asks of the drop-down whose pop-up it sits on. The
// drop-down outlives its pop-up's buttons.
class TDropDownCloser {
 public:
  // Hides the pop-up; cancelled restores the text it had when it opened.
  virtual void HideDropDown(bool cancelled) = 0;

 protected:
  ~TDropDownCloser() = default;
};

// The colours of the header and footer buttons in each state, and their
// font. Each colour setter stores a changed value and tells OnChange.
class TLumButtonAppearance : public vcl::TPersistent {
 public:
  TLumButtonAppearance();
  ~TLumButtonAppearance() override;

  // Another appearance's colours and gradient; anything else as the base.
  void Assign(const vcl::TPersistent* source) override;

#define LUM_BUTTON_COLOR(Name)                  \
  vcl::TColor Name() const { return Name##_; } \
  void Set##Name(vcl::TColor v) { SetColor(Name##_, v); }
  LUM_BUTTON_COLOR(Color)
  LUM_BUTTON_COLOR(ColorTo)
  LUM_BUTTON_COLOR(BorderColor)
  LUM_BUTTON_COLOR(ColorHot)
  LUM_BUTTON_COLOR(ColorHotTo)
  LUM_BUTTON_COLOR(BorderColorHot)
  LUM_BUTTON_COLOR(ColorDown)
  LUM_BUTTON_COLOR(ColorDownTo)
  LUM_BUTTON_COLOR(BorderColorDown)
  LUM_BUTTON_COLOR(ColorDisabled)
  LUM_BUTTON_COLOR(ColorDisabledTo)
  LUM_BUTTON_COLOR(BorderColorDisabled)
#undef LUM_BUTTON_COLOR
  TGradientDirection Gradient() const { return gradient_; }
  void SetGradient(TGradientDirection v);
  vcl::TFont* Font() const { return font_.get(); }
  // Copies into the owned font.
  void SetFont(const vcl::TFont* font);

  vcl::TNotifyEvent OnChange;

 private:
  void SetColor(vcl::TColor& field, vcl::TColor v);
  void Changed();
  vcl::TColor Color_ = vcl::clNone;
  vcl::TColor ColorTo_ = vcl::clNone;
  vcl::TColor BorderColor_ = vcl::clNone;
  vcl::TColor ColorHot_ = 0xF5F0E1;
  vcl::TColor ColorHotTo_ = 0xF9D2B2;
  vcl::TColor BorderColorHot_ = 0x808080;
  vcl::TColor ColorDown_ = 0xF5D8CA;
  vcl::TColor ColorDownTo_ = 0xF9BDA0;
  vcl::TColor BorderColorDown_ = 0x800000;
  vcl::TColor ColorDisabled_ = 0xF2F2F2;
  vcl::TColor ColorDisabledTo_ = vcl::clNone;
  vcl::TColor BorderColorDisabled_ = 0x808080;
  TGradientDirection gradient_ = TGradientDirection::gdVertical;
  std::unique_ptr<vcl::TFont> font_;
};

// The owner-drawn push button of the pop-up's header and footer: its
// parent's background shows through, the appearance's state colours and
// font draw the face, image and caption.
class TLumButton : public vcl::TCustomControl {
 public:
  explicit TLumButton(vcl::TComponent* owner);
  ~TLumButton() override;

  // Not owned; nothing is drawn while there is none.
  TLumButtonAppearance* Appearance() const { return appearance_; }
  void SetAppearance(TLumButtonAppearance* appearance);
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* images);
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  vcl::TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(vcl::TModalResult v) { modalResult_ = v; }
  // Only footer buttons close a pop-up; not owned.
  TDropDownCloser* OwnerDropDown() const { return ownerDropDown_; }
  void SetOwnerDropDown(TDropDownCloser* dropDown) { ownerDropDown_ = dropDown; }
  bool MouseInControl() const { return mouseInControl_; }
  bool Pressed() const { return pressed_; }
  vcl::TTimer* LeaveTimer() const { return leaveTimer_; }

  // The caption's size (or the image's, whichever is larger each way)
  // plus 8 across and 4 down.
  void AutoSizeToContent();
  // The containing form takes the modal result; a footer button's result
  // of OK, Cancel, Abort, Ignore, Yes, No, All, No to all or Yes to all
  // hides the pop-up (cancelled for Cancel, Abort, Ignore, No and No to
  // all); then, unless the keyboard clicked, OnClick fires.
  void Click() override;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Paint() override;
  virtual void DrawButton();
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  void LeaveTimerTick();
  void SetMouseInControl(bool v);
  TLumButtonAppearance* appearance_ = nullptr;  // the drop-down's
  vcl::TImageList* images_ = nullptr;           // cleared when freed
  vcl::Integer imageIndex_ = -1;
  vcl::TModalResult modalResult_ = vcl::mrNone;
  TDropDownCloser* ownerDropDown_ = nullptr;
  bool mouseInControl_ = false;
  bool pressed_ = false;
  bool pressedOver_ = false;  // the pointer is over the pressed button
  bool clickFromKeyboard_ = false;
  vcl::TTimer* leaveTimer_;  // owned as a component
};

enum class TDropButtonStyle { bsButton, bsDropDown };

// The arrow of the drop-down: the combo box's drop button (themed while a
// theme is active), greyed while its drop-down is disabled or read-only.
class TLumDropDownSpeedButton : public vcl::TSpeedButton {
 public:
  explicit TLumDropDownSpeedButton(vcl::TComponent* owner);
  TDropButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TDropButtonStyle v);
  bool Etched() const { return etched_; }
  void SetEtched(bool v);
  bool Focused() const { return focused_; }
  void SetFocused(bool v);
  bool Hot() const { return hot_; }
  bool ThemedLook() const { return themedLook_; }
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Paint() override;

 private:
  // Whether the drop-down the arrow belongs to (its container's owner)
  // takes input.
  bool DropDownUsable() const;
  TDropButtonStyle buttonStyle_ = TDropButtonStyle::bsDropDown;
  bool etched_ = false;
  bool focused_ = false;
  bool hot_ = false;
  bool themedLook_ = false;
};

// The container at the edit's right edge, always ButtonWidth wide, its
// speed button filling it. A left press on the arrow fires OnClick at
// once: the pop-up opens on the press, not the release.
class TDropDownEditButton : public vcl::TWinControl {
 public:
  explicit TDropDownEditButton(vcl::TComponent* owner);
  TLumDropDownSpeedButton* Button() const { return button_; }
  vcl::Integer ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(vcl::Integer v);
  vcl::TBitmap* Glyph() { return button_->Glyph(); }
  void SetGlyph(const vcl::TBitmap* glyph) { button_->SetGlyph(glyph); }
  rtl::AnsiString ButtonCaption() const { return button_->Caption(); }
  void SetButtonCaption(const rtl::AnsiString& caption) { button_->SetCaption(caption); }
  vcl::Integer NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(vcl::Integer v) { button_->SetNumGlyphs(v); }
  vcl::TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(vcl::TWinControl* control);
  void SetBounds(vcl::Integer left, vcl::Integer top, vcl::Integer width, vcl::Integer height) override;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void FitButton();
  TLumDropDownSpeedButton* button_;  // owned as a component of the container
  vcl::Integer buttonWidth_ = 16;
  vcl::TWinControl* focusControl_ = nullptr;  // cleared when freed
};

}  // namespace dropdown
