#pragma once
// The calculator keypad (TCustomButtonPanel: owner-drawn glossy keys that
// report clicks by index, laying out the 28 standard keys itself) and the
// calculator drop-down whose pop-up it fills.
#include <functional>
#include <memory>

#include "dropdown/LumDropDown.h"
#include "rtl/Collection.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace dropdown {

class TCustomButtonPanel;
class TLumCalculatorDropdown;

class TButtonItem : public rtl::TCollectionItem {
 public:
  explicit TButtonItem(rtl::TCollection* collection);
  void Assign(const TButtonItem& source);

  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v);
  // Stored only; the painting takes the appearance's text colours.
  vcl::TColor CaptionColor() const { return captionColor_; }
  void SetCaptionColor(vcl::TColor v) { captionColor_ = v; }
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  vcl::TPicture* Image() const { return image_.get(); }
  void SetImage(const vcl::TPicture* v);
  vcl::Integer Tag() const { return tag_; }
  void SetTag(vcl::Integer v) { tag_ = v; }
  // A disabled key never becomes hot or pressed.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  const rtl::AnsiString& Name() const { return name_; }
  void SetName(const rtl::AnsiString& v) { name_ = v; }
  // The caption in the special text colour.
  bool Special() const { return special_; }
  void SetSpecial(bool v) { special_ = v; }
  vcl::Integer Left() const { return left_; }
  vcl::Integer Top() const { return top_; }
  vcl::Integer Width() const { return width_; }
  vcl::Integer Height() const { return height_; }
  void SetBounds(vcl::Integer left, vcl::Integer top, vcl::Integer width, vcl::Integer height);
  vcl::TRect ItemBounds() const { return {left_, top_, left_ + width_, top_ + height_}; }

 private:
  void Changed();
  rtl::AnsiString caption_;
  vcl::TColor captionColor_ = 0xFFFFFF;
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<vcl::TPicture> image_;
  vcl::Integer tag_ = 0;
  bool enabled_ = true;
  rtl::AnsiString name_;
  bool special_ = false;
  vcl::Integer left_ = -1, top_ = -1, width_ = 0, height_ = 0;
};

class TButtonItems : public rtl::TCollectionOf<TButtonItem> {
 public:
  explicit TButtonItems(TCustomButtonPanel* owner) : owner_(owner) {}
  ~TButtonItems() override { Clear(); }
  TCustomButtonPanel* GetOwner() const { return owner_; }
  // A change of an item or of the collection.
  void Update(rtl::TCollectionItem* item) override;

 private:
  TCustomButtonPanel* owner_;
};

// The keys' colours (this unit's own; other units have namesakes). Each
// colour setter stores a changed value and tells OnChange; the font and
// the shine colour do not tell.
class TButtonAppearance : public vcl::TPersistent {
 public:
  TButtonAppearance();
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

#define TOLVANE_KEYPAD_COLOUR(Name, field) \
  vcl::TColor Name() const { return field; } \
  void Set##Name(vcl::TColor v) {           \
    if (v == field) return;                 \
    field = v;                              \
    if (OnChange) OnChange(this);           \
  }
  TOLVANE_KEYPAD_COLOUR(Color, color_)
  TOLVANE_KEYPAD_COLOUR(ColorTo, colorTo_)
  TOLVANE_KEYPAD_COLOUR(ColorHot, colorHot_)
  TOLVANE_KEYPAD_COLOUR(ColorHotTo, colorHotTo_)
  TOLVANE_KEYPAD_COLOUR(ColorDown, colorDown_)
  TOLVANE_KEYPAD_COLOUR(ColorDownTo, colorDownTo_)
  TOLVANE_KEYPAD_COLOUR(BorderColor, borderColor_)
  TOLVANE_KEYPAD_COLOUR(BorderColorHot, borderColorHot_)
  TOLVANE_KEYPAD_COLOUR(BorderColorDown, borderColorDown_)
  TOLVANE_KEYPAD_COLOUR(TextColor, textColor_)
  TOLVANE_KEYPAD_COLOUR(SpecialTextColor, specialTextColor_)
#undef TOLVANE_KEYPAD_COLOUR
  vcl::TColor GlowColorHot = 0xD5C244;
  vcl::TColor GlowColorDown = 0xD5C244;
  vcl::TColor ShineColor() const { return shineColor_; }
  void SetShineColor(vcl::TColor v) { shineColor_ = v; }
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(const vcl::TFont* v) { font_->Assign(v); }

 private:
  vcl::TColor color_ = 0x9A915F;
  vcl::TColor colorTo_ = 0xB0A170;
  vcl::TColor colorHot_ = 0x9F6F1C;
  vcl::TColor colorHotTo_ = 0xD5C244;
  vcl::TColor colorDown_ = 0x4B2F08;
  vcl::TColor colorDownTo_ = 0xADB514;
  vcl::TColor borderColor_ = 0x000000;
  vcl::TColor borderColorHot_ = 0x000000;
  vcl::TColor borderColorDown_ = 0x000000;
  vcl::TColor textColor_ = 0x000000;
  vcl::TColor specialTextColor_ = 0x000080;
  vcl::TColor shineColor_ = 0xFFFFFF;
  std::unique_ptr<vcl::TFont> font_;
};

// The glossy key face: a gradient lower half, a shine over the upper half,
// inner lines, the outline, and with a glow colour an 8-pixel halo.
void PaintGlowFace(vcl::TCanvas* canvas, const vcl::TRect& r, vcl::TColor border, vcl::TColor color,
                   vcl::TColor colorTo, vcl::TColor glow, vcl::TColor shine, vcl::TColor inner);

using TButtonClickEvent = std::function<void(vcl::TObject* Sender, vcl::Integer Index)>;

class TCustomButtonPanel : public vcl::TCustomControl {
 public:
  explicit TCustomButtonPanel(vcl::TComponent* owner);
  ~TCustomButtonPanel() override;

  TButtonItems* Buttons() const { return buttons_.get(); }
  TButtonAppearance* Appearance() const { return appearance_.get(); }
  void SetAppearance(const TButtonAppearance* v) { appearance_->Assign(v); }
  vcl::Integer HotIndex() const { return hotIndex_; }
  vcl::Integer DownIndex() const { return downIndex_; }
  bool CustomLayout() const { return customLayout_; }
  void SetCustomLayout(bool v) { customLayout_ = v; }
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* v);
  TLumCalculatorDropdown* LinkedCalculator() const { return linkedCalculator_; }
  void SetLinkedCalculator(TLumCalculatorDropdown* v) { linkedCalculator_ = v; }

  virtual void PaintButton(vcl::Integer index, vcl::TCanvas* canvas);
  virtual void GetButtonArea(vcl::TRect& r);
  virtual void GetContentSize(vcl::TSize& size);
  virtual void ClearButtons();
  virtual void ResetButtons();
  virtual void BuildButtons();
  virtual void LayoutButtons();
  virtual void RepaintButton(vcl::Integer index);
  virtual void DoButtonClick(vcl::Integer index);
  vcl::Integer ButtonAt(vcl::Integer x, vcl::Integer y) const;

  TButtonClickEvent OnButtonClick;

  void Loaded() override;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Paint() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  friend class TButtonItems;
  void SetHotButton(vcl::Integer index);
  void SetDownButton(vcl::Integer index);
  bool Selectable(vcl::Integer index) const;
  std::unique_ptr<TButtonItems> buttons_;
  std::unique_ptr<TButtonAppearance> appearance_;
  vcl::Integer hotIndex_ = -1;
  vcl::Integer downIndex_ = -1;
  vcl::Integer marginX_ = 8, marginY_ = 8;
  vcl::Integer captionInsetX_ = 4, captionInsetY_ = 4;
  vcl::Integer imageSpacing_ = 0;
  bool customLayout_ = false;
  vcl::TImageList* images_ = nullptr;
  TLumCalculatorDropdown* linkedCalculator_ = nullptr;
};

// A numeric drop-down edit whose pop-up is a four-function calculator with
// memory, percent, square root and reciprocal; operations run strictly
// left to right. The value left in the edit is the control's value.
class TLumCalculatorDropdown : public TLumCustomDropDown {
 public:
  explicit TLumCalculatorDropdown(vcl::TComponent* owner);
  ~TLumCalculatorDropdown() override;

  TButtonAppearance* CalcButtonAppearance() const { return calcButtonAppearance_.get(); }
  void SetCalcButtonAppearance(const TButtonAppearance* v) { calcButtonAppearance_->Assign(v); }
  bool ShowThousandSeparator() const { return showThousandSeparator_; }
  void SetShowThousandSeparator(bool v);
  TCustomButtonPanel* ButtonPanel() const { return buttonPanel_; }

  // Finishes a pending calculation (the grid calls it when the edit ends).
  void CalcValue() { DoEquals(); }
  // Runs before every keypad click and pop-up key command.
  virtual void CalcHook() {}

  long double Accumulator() const { return accumulator_; }
  long double Memory() const { return memory_; }
  // -1 none, 0 add, 1 multiply, 2 subtract, 3 divide.
  vcl::Integer PendingOperator() const { return pendingOperator_; }
  bool NewNumber() const { return newNumber_; }
  bool KeyboardActive() const { return keyboardActive_; }

  // The keypad's click on the key at index (its tag is the command).
  void ButtonClick(vcl::TObject* sender, vcl::Integer index);
  // A key's command by its tag, as a click runs it.
  void RunCommand(vcl::Integer tag);

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DropDownFormKeyPress(vcl::WideChar& key) override;
  void DropDownFormKeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void SetComponentStyle(controls::REZORuvar style) override;

 protected:
  // The edit's characters as calculator commands (Enter and "=" equals,
  // the operators, "C"); only digits, "-", the decimal separator and
  // Backspace go on into the field.
  void CalcKeyPress(vcl::WideChar& key);
  void Dispatch(vcl::TMessage& message) override;

 private:
  void EvaluatePending();
  void DoAdd();
  void DoSubtract();
  void DoMultiply();
  void DoDivide();
  void DoEquals();
  void DoPercent();
  void Clear();
  void CalcKey(vcl::WideChar key);
  // The text as a number with its thousands separators taken out; false
  // for a text that is no number.
  bool TextValue(long double& value) const;
  void ShowValue(long double value);
  bool AtMaxLength() const;

  std::unique_ptr<TButtonAppearance> calcButtonAppearance_;
  bool showThousandSeparator_ = false;
  TCustomButtonPanel* buttonPanel_ = nullptr;  // owned as a component
  long double accumulator_ = 0;
  long double memory_ = 0;
  vcl::Integer pendingOperator_ = -1;
  bool newNumber_ = false;
  vcl::Integer decimalDivisor_ = 0;
  bool keyboardActive_ = true;
};

}  // namespace dropdown
