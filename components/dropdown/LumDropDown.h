#pragma once
// TLumCustomDropDown: a single-line edit with a drop-down button inside its
// right edge and a pop-up form (TDropDownForm) that a descendant fills with
// its content control. The base owns the cycle of the pop-up: preparing,
// placing, showing, hiding and cancelling it.
#include <functional>
#include <memory>

#include "dropdown/LumDropDownAppearance.h"
#include "dropdown/LumDropDownButtons.h"
#include "dropdown/LumDropDownEntry.h"
#include "dropdown/LumDropDownForm.h"
#include "dropdown/LumDropDownPlacement.h"
#include "dropdown/LumDropDownStyles.h"
#include "vcl/Filer.h"
#include "vcl/Mask.h"
#include "vcl/Pictures.h"

namespace dropdown {

using TDropDownEvent = std::function<void(vcl::TObject* Sender, bool& acceptdrop)>;
using TDropUpEvent = std::function<void(vcl::TObject* Sender, bool Cancelled)>;
using TDropDownButtonItemClick = std::function<void(vcl::TObject* Sender, vcl::Integer ButtonIndex)>;

class TLumCustomDropDown : public vcl::TCustomMaskEdit, public TDropDownHost, public controls::IStyleAware {
 public:
  explicit TLumCustomDropDown(vcl::TComponent* owner);
  ~TLumCustomDropDown() override;

  // Within this many milliseconds of the pop-up's deactivation a press on
  // the button or the non-editable edit does not open it again: that press
  // is the one that closed it.
  static constexpr vcl::Cardinal ReopenGuardMs = 250;

  bool DroppedDown() const { return droppedDown_; }
  TDropDownForm* DropDownForm() const { return form_; }
  TDropDownEditButton* DropDownButton() const { return button_; }

  vcl::Integer DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(vcl::Integer v);
  vcl::Integer DropDownHeight() const { return dropDownHeight_; }
  void SetDropDownHeight(vcl::Integer v);
  vcl::Integer RememberedWidth() const { return rememberedWidth_; }
  vcl::Integer RememberedHeight() const { return rememberedHeight_; }
  TDropPosition DropPosition() const { return dropPosition_; }
  void SetDropPosition(TDropPosition v) { dropPosition_ = v; }
  void SetDropDownColor(vcl::TColor v) { dropDownColor_ = v; }
  void SetDropDownColorTo(vcl::TColor v) { dropDownColorTo_ = v; }
  void SetDropDownBorderColor(vcl::TColor v) { dropDownBorderColor_ = v; }
  void SetDropDownBorderWidth(vcl::Integer v) { dropDownBorderWidth_ = v; }
  bool DropDownShadow() const { return dropDownShadow_; }
  void SetDropDownShadow(bool v) { dropDownShadow_ = v; }
  void SetDropDownSizeable(bool v) { dropDownSizeable_ = v; }
  vcl::Integer DropDownButtonWidth() const { return dropDownButtonWidth_; }
  void SetDropDownButtonWidth(vcl::Integer v);
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v);
  void SetImages(vcl::TImageList* images);
  const rtl::AnsiString& DropDownButtonHint() const { return dropDownButtonHint_; }
  void SetDropDownButtonHint(const rtl::AnsiString& hint);
  // Empty: the system's combo arrow.
  vcl::TBitmap* DropDownButtonGlyph() const { return glyph_.get(); }
  void SetDropDownButtonGlyph(const vcl::TBitmap* glyph);
  // Stored only; the track-bar picker reads it.
  bool DropDownEnabled() const { return dropDownEnabled_; }
  void SetDropDownEnabled(bool v) { dropDownEnabled_ = v; }
  // Kept for descendants that ask for it; the window manager draws the
  // pop-up's shadow at every show, so there is nothing to show again.
  bool ReshowForShadow() const { return reshowForShadow_; }
  void SetReshowForShadow(bool v) { reshowForShadow_ = v; }

  // The text the pop-up's cancel restores: the last one set by SetText.
  const rtl::AnsiString& CommittedText() const { return committedText_; }
  // The setter of Text: writes the text, records it as committed and
  // clears Modified.
  void SetText(const rtl::AnsiString& value) override;
  // The value the edit holds, as the grid reads it (a drop-down here has no
  // prefix or suffix around it); descendants with a value of their own
  // answer that.
  virtual rtl::AnsiString GetText() const { return Text(); }
  // Writes the text only; the committed text stays.
  void SetTextDirect(const rtl::AnsiString& value) { vcl::TCustomMaskEdit::SetText(value); }

  // What the edit accepts and how it shows numbers. Descendants choose the
  // kind; Precision is the float kinds' decimals (negative: general format).
  TEditKind EditKind() const { return editKind_; }
  void SetEditKind(TEditKind kind);
  int16_t Precision() const { return precision_; }
  void SetPrecision(int16_t p);
  double GetFloatValue() const;
  void SetFloatValue(double v);
  void SetIntValue(vcl::Integer n);
  void SelectAllText();
  void CaretToDecimal();
  void CaretAfterDecimal();
  // The drop-down's own way to Modified: nothing while loading, when the
  // editor is off or the edit read-only; SavedModified keeps the last value
  // it set.
  void SetModified(bool v);
  bool SavedModified() const { return savedModified_; }
  // The next change notice is not told (a reformatting writes the text).
  bool SuppressNextChange() const { return suppressNextChange_; }
  void SetSuppressNextChange(bool v) { suppressNextChange_ = v; }
  bool DeferredClickInSelection() const { return deferredClick_; }
  void Loaded() override;

  vcl::TWinControl* DropDownControl() const { return dropDownControl_; }
  // The pop-up is sized from the control's size at this call (the control
  // then fills the pop-up); a descendant whose content changes size sets
  // DropDownWidth and DropDownHeight.
  void SetDropDownControl(vcl::TWinControl* control);
  vcl::TWinControl* LinkedControl() const { return linkedControl_; }
  void SetLinkedControl(vcl::TWinControl* control);

  // The virtual operations of the cycle, in their order.
  virtual void CreateDropDownForm();
  virtual void CreateDropDownButton();
  virtual void UpdateDropDownButton();
  virtual void BeforeDropDown();
  virtual void FocusLinkedControl();
  virtual void DropDown();
  virtual void PlaceDropDownControl();
  virtual void UpdateDropDownSize();
  void HideDropDown(bool cancelled) override;
  virtual void DropDownFormHide();
  virtual void DropDownFormDestroy() {}
  virtual void DropDownFormKeyPress(vcl::WideChar& key);
  virtual void DropDownFormKeyDown(vcl::Word& key, vcl::TShiftState shift);
  virtual void DropDownFormKeyUp(vcl::Word& key, vcl::TShiftState shift);
  virtual void ControlKeyDown(vcl::Word& key, vcl::TShiftState shift);
  virtual void ControlKeyUp(vcl::Word& key, vcl::TShiftState shift);
  virtual void ControlKeyPress(vcl::WideChar& key);
  virtual void DropDownFormSized() {}
  virtual void DropDownFormWheelDown() { MouseWheelDownHook(); }
  virtual void DropDownFormWheelUp() { MouseWheelUpHook(); }
  // Descendants move their selection with the wheel here.
  virtual void MouseWheelDownHook() {}
  virtual void MouseWheelUpHook() {}
  // A focused non-editable drop-down shows its text as selected, drawn
  // over the native field after it painted.
  virtual void PaintFocusedText();
  virtual void SetEditRect();
  virtual void UpdateButtonBounds();
  // The formatting rectangle the last SetEditRect computed.
  vcl::TRect GetEditRect() const { return editRect_; }

  // The selection fill of list-like descendants: style 0 plain, 1 to 3
  // boxed gradients with their own frame colours.
  vcl::TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(vcl::TColor v) { selectionColor_ = v; }
  vcl::TColor SelectionColorTo() const { return selectionColorTo_; }
  void SetSelectionColorTo(vcl::TColor v) { selectionColorTo_ = v; }
  vcl::Byte SelectionColorStyle() const { return selectionColorStyle_; }
  virtual void SetSelectionLook(vcl::Byte style);
  virtual void DrawSelectionBackground(vcl::TCanvas* canvas, vcl::TRect r, vcl::Integer part, vcl::TColor bkColor);
  virtual void DrawGradientBackground(vcl::TCanvas* canvas, vcl::TColor color, TGradientDirection direction,
                                      vcl::TRect r, vcl::Integer steps, vcl::TColor colorTo);
  // The style's pop-up, header, footer and bar button colours; tsCustom
  // changes nothing.
  void SetComponentStyle(REZORuvar style) override;

  // "SelectionColorStyle", always stored; reading it stores the number
  // and leaves the colours, which are stored themselves.
  virtual void DefineProperties(vcl::TFiler& filer);

  // Reads 1.0.7.0; there is nothing to write.
  rtl::AnsiString Version() const { return "1.0.7.0"; }
  void SetVersion(const rtl::AnsiString&) {}

  // Where the last DropDown placed the pop-up (screen).
  vcl::TRect LastPlacement() const { return lastPlacement_; }

  vcl::TNotifyEvent OnBeforeDropDown;
  TDropDownEvent OnDropDown;
  TDropUpEvent OnDropUp;
  TDropDownButtonItemClick OnDropDownHeaderButtonClick;
  TDropDownButtonItemClick OnDropDownFooterButtonClick;
  TDrawBackGroundEvent OnDrawHeader;
  TDrawBackGroundEvent OnDrawFooter;
  TGetTextEvent OnGetHeaderText;
  TGetTextEvent OnGetFooterText;

  // TDropDownHost
  vcl::TWinControl* HostControl() override { return this; }
  vcl::Integer DropDownBorderWidth() const override { return dropDownBorderWidth_; }
  vcl::TColor DropDownBorderColor() const override { return dropDownBorderColor_; }
  vcl::TColor DropDownColor() const override { return dropDownColor_; }
  vcl::TColor DropDownColorTo() const override { return dropDownColorTo_; }
  bool DropDownSizeable() const override { return dropDownSizeable_; }
  THeaderAppearance* DropDownHeader() override { return header_.get(); }
  TFooterAppearance* DropDownFooter() override { return footer_.get(); }
  vcl::TImageList* Images() const override { return images_; }
  TLumButtonAppearance* ButtonAppearance() override { return buttonAppearance_.get(); }
  TDrawBackGroundEvent HeaderDrawHandler() const override { return OnDrawHeader; }
  TGetTextEvent HeaderTextHandler() const override { return OnGetHeaderText; }
  TDrawBackGroundEvent FooterDrawHandler() const override { return OnDrawFooter; }
  TGetTextEvent FooterTextHandler() const override { return OnGetFooterText; }
  void HeaderButtonClick(vcl::Integer buttonIndex) override;
  void FooterButtonClick(vcl::Integer buttonIndex) override;

 protected:
  void Change() override;
  // True while a typed character is being put into the field: its change
  // notice waits until the caret is in place, and a descendant's Change
  // does its own work only then.
  bool ChangeDeferred() const { return deferChange_; }
  void DoEnter() override;
  // The thousands kind's text grouped again, the caret kept from the end.
  void ReformatThousandsText();
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Resize() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(vcl::TMessage& message) override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  // CM_WANTSPECIALKEY: without the form's key preview, Escape selects the
  // text and goes to the parent, and Enter goes to a focused parent; an
  // Escape still pending belongs to an open pop-up.
  void WantSpecialKey(vcl::TMessage& message);
  void KeyPress(vcl::WideChar& key) override;
  bool DoMouseWheelDown(vcl::TShiftState shift, vcl::TPoint mousePos) override;
  bool DoMouseWheelUp(vcl::TShiftState shift, vcl::TPoint mousePos) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  // The press on the button or the non-editable edit.
  void ToggleFromClick();
  // Alt+Up and Alt+Down: close an open pop-up, else open it.
  void ToggleFromKey();
  // Enter, Escape and F4 as they close or open the pop-up.
  void CloseOrOpenByKey(vcl::Word key);
  void AppearanceChangedWhileOpen();
  // The next drop-down takes its size from the content again.
  void ForgetRememberedSize() { rememberedWidth_ = rememberedHeight_ = -1; }

 private:
  bool Designing() const { return ComponentState().Contains(vcl::csDesigning); }
  // The entry rules (LumDropDownEditing.cpp); true when the message was
  // handled there.
  bool EntryMessage(vcl::TMessage& m);
  void EntryChar(vcl::TMessage& m);
  void EntryPaste();
  void EntryFocus(vcl::TMessage& m);
  bool EntryMouse(vcl::TMessage& m);
  // The edit's own handling of a typed character, done here so that what
  // follows it sees the result: OnKeyPress, then the character typed over
  // the selection (Backspace deleting). False when nothing was typed.
  bool TypeCharacter(vcl::TMessage& m);
  bool EntryDelete(vcl::TMessage& m);

  TDropDownForm* form_ = nullptr;          // owned as a component
  TDropDownEditButton* button_ = nullptr;  // owned as a child component
  vcl::TWinControl* dropDownControl_ = nullptr;
  vcl::TWinControl* linkedControl_ = nullptr;
  vcl::TSize contentSize_{};
  std::unique_ptr<THeaderAppearance> header_;
  std::unique_ptr<TFooterAppearance> footer_;
  std::unique_ptr<TLumButtonAppearance> buttonAppearance_;
  vcl::TImageList* images_ = nullptr;
  bool droppedDown_ = false;
  vcl::Integer dropDownWidth_ = 0;
  vcl::Integer dropDownHeight_ = 0;
  vcl::Integer rememberedWidth_ = -1;
  vcl::Integer rememberedHeight_ = -1;
  TDropPosition dropPosition_ = TDropPosition::dpAuto;
  vcl::TColor dropDownColor_ = 0xFFFFFF;
  vcl::TColor dropDownColorTo_ = 0x1FFFFFFF;
  vcl::TColor dropDownBorderColor_ = 0x000000;
  vcl::Integer dropDownBorderWidth_ = 1;
  bool dropDownShadow_ = true;
  bool dropDownSizeable_ = true;
  vcl::Integer dropDownButtonWidth_ = 17;
  bool editorEnabled_ = true;
  bool reshowForShadow_ = false;
  rtl::AnsiString committedText_;
  vcl::TColor selectionColor_ = 0xD7FFFD;
  vcl::TColor selectionColorTo_ = 0x58D4FC;
  vcl::Byte selectionColorStyle_ = 1;
  vcl::TRect lastPlacement_{};
  vcl::TRect editRect_{};
  rtl::AnsiString dropDownButtonHint_;
  std::unique_ptr<vcl::TBitmap> glyph_ = std::make_unique<vcl::TBitmap>();
  bool dropDownEnabled_ = false;
  TEditKind editKind_ = TEditKind::ekText;
  int16_t precision_ = 0;
  bool savedModified_ = false;
  bool suppressNextChange_ = false;
  bool deferredClick_ = false;
  char16_t pendingHighSurrogate_ = 0;
  bool deferChange_ = false;
  bool changePending_ = false;
};

}  // namespace dropdown
