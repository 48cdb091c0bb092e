#pragma once
// The spin edit: a single-line edit holding one value of four kinds
// (integer, floating point, date, time) as its text, with a pair of arrow
// buttons at its right edge that step it, and limits it is kept inside.
// The same unit has the arrow pair alone (TVoeSpinButton) and the arrow
// button with auto-repeat (TLumTimerSpeedButton).
#include "rtl/Types.h"
#include "vcl/Buttons.h"
#include "vcl/Mask.h"

namespace vcl {
class TTimer;
}

namespace dropdown {

using namespace vcl;
using rtl::TDateTime;

enum class TVoeSpinType { sptNormal, sptFloat, sptDate, sptTime };
using enum TVoeSpinType;
enum class TSpinDirection { spVertical, spHorizontal };
using enum TSpinDirection;
enum class TEditAlign { eaLeft, eaRight, eaCenter };
using enum TEditAlign;
enum class TArrowDirection { adLeft, adRight, adUp, adDown };
using enum TArrowDirection;

// An arrow button that clicks again and again while it is held: first 400
// ms after the press, then every 100 ms, and once more on release over it.
class TLumTimerSpeedButton : public TSpeedButton {
 public:
  explicit TLumTimerSpeedButton(TComponent* owner);
  bool AutoRepeat() const { return autoRepeat_; }
  void SetAutoRepeat(bool v) { autoRepeat_ = v; }
  TArrowDirection ArrowDirection() const { return arrowDirection_; }
  void SetArrowDirection(TArrowDirection v);
  bool XPLook() const { return xpLook_; }
  void SetXPLook(bool v);
  bool Hot() const { return hot_; }
  // Made on the first press; null before.
  TTimer* RepeatTimer() const { return repeatTimer_; }
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  void RepeatTick();
  TTimer* repeatTimer_ = nullptr;  // owned as a component of the button
  bool autoRepeat_ = false;
  TArrowDirection arrowDirection_ = adUp;
  bool xpLook_ = false;
  bool hot_ = false;
};

class TVoeSpinButton : public TWinControl {
 public:
  explicit TVoeSpinButton(TComponent* owner);
  ~TVoeSpinButton() override;
  TSpinDirection Direction() const { return direction_; }
  void SetDirection(TSpinDirection v);
  bool XPLook() const { return xpLook_; }
  void SetXPLook(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  // Null gives the arrow its default glyph back.
  TBitmap* UpGlyph() { return upButton_->Glyph(); }
  void SetUpGlyph(const TBitmap* glyph);
  TBitmap* DownGlyph() { return downButton_->Glyph(); }
  void SetDownGlyph(const TBitmap* glyph);
  Integer UpNumGlyphs() const { return upButton_->NumGlyphs(); }
  void SetUpNumGlyphs(Integer v) { upButton_->SetNumGlyphs(v); }
  Integer DownNumGlyphs() const { return downButton_->NumGlyphs(); }
  void SetDownNumGlyphs(Integer v) { downButton_->SetNumGlyphs(v); }
  TLumTimerSpeedButton* UpButton() const { return upButton_; }
  TLumTimerSpeedButton* DownButton() const { return downButton_; }
  TLumTimerSpeedButton* FocusedArrow() const { return focusedArrow_; }
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void Dispatch(TMessage& message) override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(Word& key, TShiftState shift) override;

 private:
  TLumTimerSpeedButton* MakeArrowButton();
  // Lays the arrows out in width x height (the width may grow to the
  // smallest the direction allows).
  void ArrangeButtons(Integer& width, Integer height);
  void ArrowClick(TObject* sender);
  void ArrowMouseDown(TObject* sender, TMouseButton button);
  void SetFocusedArrow(TLumTimerSpeedButton* button);

  TLumTimerSpeedButton* upButton_ = nullptr;    // owned as components
  TLumTimerSpeedButton* downButton_ = nullptr;
  TLumTimerSpeedButton* focusedArrow_ = nullptr;
  TWinControl* focusControl_ = nullptr;  // not owned
  TSpinDirection direction_ = spVertical;
  bool xpLook_ = false;
};

class TVoeSpinEdit : public TCustomMaskEdit {
 public:
  explicit TVoeSpinEdit(TComponent* owner);
  ~TVoeSpinEdit() override;

  // --- the value, parsed from the text at every read ---
  // Text that is no integer reads as MinValue.
  Integer Value() const;
  void SetValue(Integer v);
  // Text that is no number (with the locale's decimal separator) reads as
  // MinFloatValue.
  double FloatValue() const;
  void SetFloatValue(double v);
  // Empty text or "0" reads as the current date and time; text that is no
  // date as MinDateValue.
  TDateTime DateValue() const;
  void SetDateValue(TDateTime v);
  // Text that is no time reads as midnight.
  TDateTime TimeValue() const;
  void SetTimeValue(TDateTime v);

  TVoeSpinType SpinType() const { return spinType_; }
  // Rewrites the value in the new type's form (reformatted and clamped).
  void SetSpinType(TVoeSpinType v);
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer v);
  TSpinDirection Direction() const { return direction_; }
  void SetDirection(TSpinDirection v);
  TEditAlign EditAlign() const { return editAlign_; }
  void SetEditAlign(TEditAlign v);
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v) { editorEnabled_ = v; }
  bool ReturnIsTab() const { return returnIsTab_; }
  void SetReturnIsTab(bool v) { returnIsTab_ = v; }
  bool ExcelStyleDecimalSeparator() const { return excelStyleDecimalSeparator_; }
  void SetExcelStyleDecimalSeparator(bool v) { excelStyleDecimalSeparator_ = v; }
  bool ShowSeconds() const { return showSeconds_; }
  void SetShowSeconds(bool v) { showSeconds_ = v; }
  bool SpinFlat() const { return spinFlat_; }
  void SetSpinFlat(bool v);
  bool SpinTransparent() const { return spinTransparent_; }
  void SetSpinTransparent(bool v);
  bool XPLook() const { return xpLook_; }
  void SetXPLook(bool v);

  Integer Increment() const { return increment_; }
  void SetIncrement(Integer v) { increment_ = v; }
  double IncrementFloat() const { return incrementFloat_; }
  void SetIncrementFloat(double v) { incrementFloat_ = v; }
  Integer IncrementHours() const { return incrementHours_; }
  void SetIncrementHours(Integer v) { incrementHours_ = v; }
  Integer IncrementMinutes() const { return incrementMinutes_; }
  void SetIncrementMinutes(Integer v) { incrementMinutes_ = v; }
  Integer IncrementSeconds() const { return incrementSeconds_; }
  void SetIncrementSeconds(Integer v) { incrementSeconds_ = v; }

  // Limits; equal minimum and maximum switch clamping off. The date limits
  // also bound times.
  Integer MinValue() const { return minValue_; }
  void SetMinValue(Integer v) { minValue_ = v; }
  Integer MaxValue() const { return maxValue_; }
  void SetMaxValue(Integer v) { maxValue_ = v; }
  double MinFloatValue() const { return minFloatValue_; }
  void SetMinFloatValue(double v) { minFloatValue_ = v; }
  double MaxFloatValue() const { return maxFloatValue_; }
  void SetMaxFloatValue(double v) { maxFloatValue_ = v; }
  TDateTime MinDateValue() const { return minDateValue_; }
  void SetMinDateValue(TDateTime v) { minDateValue_ = v; }
  TDateTime MaxDateValue() const { return maxDateValue_; }
  void SetMaxDateValue(TDateTime v) { maxDateValue_ = v; }

  TVoeSpinButton* Button() const { return button_; }

  // One step of the type (Large: the float's step of 1.0); a read-only
  // control beeps instead.
  virtual void StepUp(bool Large);
  virtual void StepDown(bool Large);
  // Whether a typed character may enter the text now.
  virtual bool AcceptsChar(WideChar& Key);
  virtual void UpButtonClick(TObject* Sender);
  virtual void DownButtonClick(TObject* Sender);

  Integer ClampValue(Integer v) const;
  double ClampFloat(double v) const;
  TDateTime ClampDate(TDateTime v) const;

  void Dispatch(TMessage& message) override;

 protected:
  void Loaded() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(WideChar& key) override;

 private:
  void UpdateEditRect();
  Integer MinimumHeight();
  void PlaceButton();
  // Moves the width by one and back, which lays the control out again.
  void NudgeWidth();
  void Step(Integer sign, bool large);
  void StepDate(Integer sign);
  void StepTime(Integer sign);
  AnsiString TimeText(TDateTime v) const;
  void CorrectOnExit();

  TVoeSpinButton* button_;  // owned as a component of the edit
  TVoeSpinType spinType_ = sptNormal;
  TSpinDirection direction_ = spVertical;
  TEditAlign editAlign_ = eaLeft;
  Integer precision_ = 0;
  bool editorEnabled_ = true;
  bool returnIsTab_ = false;
  bool excelStyleDecimalSeparator_ = false;
  bool showSeconds_ = true;
  bool spinFlat_ = false;
  bool spinTransparent_ = false;
  bool xpLook_ = false;
  Integer increment_ = 1;
  double incrementFloat_ = 0.1;
  Integer incrementHours_ = 1;
  Integer incrementMinutes_ = 1;
  Integer incrementSeconds_ = 1;
  Integer minValue_ = 0;
  Integer maxValue_ = 100;
  double minFloatValue_ = 0.0;
  double maxFloatValue_ = 100.0;
  TDateTime minDateValue_ = 0;
  TDateTime maxDateValue_ = 0;
  TDateTime storedDate_ = 0;
  TDateTime storedTime_ = 0;
  // Enter turned into Tab: the posted Tab moves the focus on.
  bool returnTabPending_ = false;
};

// Registers the unit's bitmaps (the default arrow glyphs) once.
void EnsureDropdownResources();

}  // namespace dropdown
