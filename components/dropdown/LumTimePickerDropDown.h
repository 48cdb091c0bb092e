#pragma once
// The analog clock (TLumWatch) and the time picker drop-down that shows it
// in its pop-up. The clock paints its face once into a cached bitmap;
// moving the hands copies that bitmap and draws only the hands.
#include <memory>

#include "controls/LumStyleIF.h"
#include "dropdown/LumDropDown.h"
#include "rtl/DateTime.h"
#include "vcl/Controls.h"
#include "vcl/DateTimePicker.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace dropdown {

enum class TWatchShape { wsCircle, wsRect, wsRoundRect };
using enum TWatchShape;
enum class THourMarkStyle { hmsLine, hmsQuartDblLine };
using enum THourMarkStyle;
enum class TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
using enum TTickMarks;
enum class TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
using enum TPointerStyle;
enum class TAMPMFrame { apRect, apRoundRect };
using enum TAMPMFrame;
enum class TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
using enum TWatchGradient;

// The clock's look. Every setter stores a changed value and tells OnChange;
// the font and picture setters assign and always tell it, and a change of
// the picture itself tells it too.
class TWatchAppearance : public vcl::TPersistent {
 public:
  TWatchAppearance();
  ~TWatchAppearance() override;
  void Assign(const vcl::TPersistent* source) override;

  vcl::TNotifyEvent OnChange;

#define TOLVANE_WATCH_PROPERTY(Type, Name, field) \
  Type Name() const { return field; }             \
  void Set##Name(Type v) {                        \
    if (v == field) return;                       \
    field = v;                                    \
    Changed();                                    \
  }
  TOLVANE_WATCH_PROPERTY(vcl::Integer, Size, size_)
  TOLVANE_WATCH_PROPERTY(TWatchShape, Shape, shape_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, BackgroundColor, backgroundColor_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, BackgroundColorTo, backgroundColorTo_)
  TOLVANE_WATCH_PROPERTY(TWatchGradient, BackgroundGradient, backgroundGradient_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, BorderColor, borderColor_)
  TOLVANE_WATCH_PROPERTY(vcl::Integer, BorderWidth, borderWidth_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, HourColor, hourColor_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, HourMarkLength, hourMarkLength_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, HourMarkWidth, hourMarkWidth_)
  TOLVANE_WATCH_PROPERTY(THourMarkStyle, HourMarkStyle, hourMarkStyle_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, MinuteColor, minuteColor_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, MinuteMarkLength, minuteMarkLength_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, MinuteMarkWidth, minuteMarkWidth_)
  TOLVANE_WATCH_PROPERTY(TTickMarks, TickMarks, tickMarks_)
  TOLVANE_WATCH_PROPERTY(TPointerStyle, PointerStyle, pointerStyle_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, HourPointer, hourPointer_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, MinutePointer, minutePointer_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, SecondPointer, secondPointer_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, HourPointerSize, hourPointerSize_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, MinutePointerSize, minutePointerSize_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, SecondPointerSize, secondPointerSize_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, HourPointerShadow, hourPointerShadow_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, MinutePointerShadow, minutePointerShadow_)
  TOLVANE_WATCH_PROPERTY(vcl::Byte, CenterPointSize, centerPointSize_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, CenterPointColor, centerPointColor_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, CenterPointBorderColor, centerPointBorderColor_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, CenterPointOuterBorderColor, centerPointOuterBorderColor_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, AMPMColor, ampmColor_)
  TOLVANE_WATCH_PROPERTY(vcl::TColor, AMPMBorderColor, ampmBorderColor_)
  TOLVANE_WATCH_PROPERTY(TAMPMFrame, AMPMFrame, ampmFrame_)
#undef TOLVANE_WATCH_PROPERTY

  vcl::TPicture* Picture() const { return picture_.get(); }
  void SetPicture(const vcl::TPicture* value);
  vcl::TFont* HourFont() const { return hourFont_.get(); }
  void SetHourFont(const vcl::TFont* value);
  vcl::TFont* AMPMFont() const { return ampmFont_.get(); }
  void SetAMPMFont(const vcl::TFont* value);

  // The style's colours; AMPMColor and AMPMBorderColor are written without
  // telling. tsCustom changes nothing.
  void ApplyStyle(controls::REZORuvar style);

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  vcl::Integer size_ = 0;
  TWatchShape shape_ = wsCircle;
  vcl::TColor backgroundColor_ = 0xFFFFFF;
  vcl::TColor backgroundColorTo_ = vcl::clNone;
  TWatchGradient backgroundGradient_ = wgVertical;
  vcl::TColor borderColor_ = 0x000000;
  vcl::Integer borderWidth_ = 4;
  vcl::TColor hourColor_ = 0x000000;
  vcl::Byte hourMarkLength_ = 0;
  vcl::Byte hourMarkWidth_ = 1;
  THourMarkStyle hourMarkStyle_ = hmsLine;
  vcl::TColor minuteColor_ = 0x808080;
  vcl::Byte minuteMarkLength_ = 0;
  vcl::Byte minuteMarkWidth_ = 1;
  TTickMarks tickMarks_ = tmAll;
  TPointerStyle pointerStyle_ = psLine;
  vcl::TColor hourPointer_ = 0x000000;
  vcl::TColor minutePointer_ = 0x000000;
  vcl::TColor secondPointer_ = 0x0000FF;
  vcl::Byte hourPointerSize_ = 4;
  vcl::Byte minutePointerSize_ = 3;
  vcl::Byte secondPointerSize_ = 1;
  vcl::TColor hourPointerShadow_ = vcl::clBtnShadow;
  vcl::TColor minutePointerShadow_ = vcl::clBtnShadow;
  vcl::Byte centerPointSize_ = 4;
  vcl::TColor centerPointColor_ = 0x000000;
  vcl::TColor centerPointBorderColor_ = vcl::clNone;
  vcl::TColor centerPointOuterBorderColor_ = vcl::clNone;
  vcl::TColor ampmColor_ = 0xFFFFFF;
  vcl::TColor ampmBorderColor_ = 0x000000;
  TAMPMFrame ampmFrame_ = apRect;
  std::unique_ptr<vcl::TPicture> picture_;
  std::unique_ptr<vcl::TFont> hourFont_;
  std::unique_ptr<vcl::TFont> ampmFont_;
};

// Automatic mode: the current time plus TimeOffset minutes.
class TWatchSettings : public vcl::TPersistent {
 public:
  void Assign(const vcl::TPersistent* source) override;
  bool Auto() const { return auto_; }
  void SetAuto(bool value);
  vcl::Integer TimeOffset() const { return timeOffset_; }
  void SetTimeOffset(vcl::Integer value);
  bool Second() const { return second_; }
  void SetSecond(bool value);
  vcl::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  bool auto_ = false;
  vcl::Integer timeOffset_ = 0;
  bool second_ = true;
};

class TLumWatch : public vcl::TCustomControl, public controls::IStyleAware {
 public:
  explicit TLumWatch(vcl::TComponent* owner);
  ~TLumWatch() override;

  bool Animation() const { return animation_; }
  void SetAnimation(bool value) { animation_ = value; }
  vcl::Integer AnimationFactor() const { return animationFactor_; }
  // It divides every animation step: a value below 1 is stored as 1.
  void SetAnimationFactor(vcl::Integer value) { animationFactor_ = value < 1 ? 1 : value; }
  TWatchAppearance* Appearance() const { return appearance_.get(); }
  void SetAppearance(const TWatchAppearance* value) { appearance_->Assign(value); }
  TWatchSettings* Settings() const { return settings_.get(); }
  void SetSettings(const TWatchSettings* value) { settings_->Assign(value); }
  rtl::TDateTime Time() const { return time_; }
  void SetTime(rtl::TDateTime value);
  bool ShowAMPM() const { return showAMPM_; }
  void SetShowAMPM(bool value);
  bool ShowNumbers() const { return showNumbers_; }
  void SetShowNumbers(bool value);
  bool IsAM() const { return isAM_; }

  // Sets one field of the time, animated when Animation is on. SetMinute
  // raises "Invalid time" for 60 and above.
  void SetHour(vcl::Word hour);
  void SetMinute(vcl::Word minute);
  // A keyboard command by virtual-key code.
  void HandleKey(vcl::Word key);
  // In automatic mode the current time plus the offset, else Time.
  rtl::TDateTime CurrentTime() const;
  void SetComponentStyle(controls::REZORuvar style) override;

  // Geometry in client coordinates.
  vcl::TRect DialRect() const;
  vcl::TPoint DialCenter() const;
  vcl::Integer DialRadius() const;
  // The radius the marks end at: the dial's less half the border.
  vcl::Integer InnerRadius() const;
  double HourMarkInnerRadius() const;
  double MinuteMarkInnerRadius() const;
  double NumberRingRadius() const;
  vcl::TRect AMPMRect() const;
  vcl::Integer MinuteAt(vcl::Integer x, vcl::Integer y) const;
  vcl::Integer HourAt(vcl::Integer x, vcl::Integer y) const;

  // Whether the hands are moving toward a target, and counters of what was
  // drawn (for tests and benchmarks): full face paints and hand redraws.
  bool Animating() const { return animationTimer_->Enabled(); }
  bool Rolling() const { return rollTimer_->Enabled(); }
  vcl::Integer FacePaints() const { return facePaints_; }
  vcl::Integer HandRedraws() const { return handRedraws_; }
  vcl::Integer RollFrames() const { return rollFrames_; }
  // Copies the cached face and draws the hands over it on the screen.
  void RedrawHands();
  // Paints the whole clock, face and hands, on the screen.
  void PaintAll();

  vcl::TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void Dispatch(vcl::TMessage& message) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  bool Immediate() const;
  void SetTimeInternal(rtl::TDateTime value);
  void SetAM(bool value);
  void SetHourAt(vcl::Word hour, bool immediate);
  void AnimationTick();
  void RollTick();
  void SettingsChanged();
  void PaintFace(vcl::TCanvas* canvas);
  void PaintBackground(vcl::TCanvas* canvas);
  void PaintTickMarks(vcl::TCanvas* canvas);
  void PaintNumbers(vcl::TCanvas* canvas);
  void PaintAMPM(vcl::TCanvas* canvas);
  void PaintAMPMText(vcl::TCanvas* canvas, const vcl::TRect& box, bool am);
  void PaintHands(vcl::TCanvas* canvas);
  void PaintRollFrame();

  std::unique_ptr<TWatchAppearance> appearance_;
  std::unique_ptr<TWatchSettings> settings_;
  std::unique_ptr<vcl::TBitmap> faceCache_;
  std::unique_ptr<vcl::TBitmap> scratch_;
  vcl::TTimer* autoTimer_ = nullptr;       // owned as a component
  vcl::TTimer* animationTimer_ = nullptr;  // owned as a component
  vcl::TTimer* rollTimer_ = nullptr;       // owned as a component
  rtl::TDateTime time_ = 0;
  bool animation_ = true;
  vcl::Integer animationFactor_ = 10;
  bool showAMPM_ = true;
  bool showNumbers_ = true;
  bool isAM_ = true;
  vcl::Byte targetHour_ = 0;
  vcl::Byte targetMinute_ = 0;
  vcl::Byte startMinute_ = 0;
  bool animatingHour_ = false;
  bool immediateSet_ = false;
  bool noAMPMRoll_ = false;
  // The roll of the AM/PM box: a strip with both words, the window moving
  // one pixel a frame from the old word's half to the new one's.
  std::unique_ptr<vcl::TBitmap> rollStrip_;
  vcl::Integer rollStep_ = 0;
  vcl::Integer rollSteps_ = 0;
  bool rollToPM_ = false;
  vcl::Integer facePaints_ = 0;
  vcl::Integer handRedraws_ = 0;
  vcl::Integer rollFrames_ = 0;
};

// A drop-down edit holding a time of day, shown as two-digit fields under
// an edit mask; the pop-up shows the clock and, when asked, the platform's
// time picker under it. The grid's time cell editor descends from it.
class TLumTimePickerDropDown : public TLumCustomDropDown {
 public:
  explicit TLumTimePickerDropDown(vcl::TComponent* owner);
  ~TLumTimePickerDropDown() override;

  rtl::TDateTime Time() const { return time_; }
  // A changed value is shown as hh:mm:ss (hh:mm without seconds) in the
  // locale's separator.
  void SetTime(rtl::TDateTime value);
  bool ShowSeconds() const { return showSeconds_; }
  void SetShowSeconds(bool value);
  bool ShowTimePicker() const { return showTimePicker_; }
  void SetShowTimePicker(bool value) { showTimePicker_ = value; }
  TWatchAppearance* WatchAppearance() const { return watchAppearance_.get(); }
  void SetWatchAppearance(const TWatchAppearance* value) { watchAppearance_->Assign(value); }
  TWatchSettings* WatchSettings() const { return watchSettings_.get(); }
  void SetWatchSettings(const TWatchSettings* value) { watchSettings_->Assign(value); }
  bool ShowWatchAMPM() const { return showWatchAMPM_; }
  void SetShowWatchAMPM(bool value) { showWatchAMPM_ = value; }
  bool ShowWatchNumbers() const { return showWatchNumbers_; }
  void SetShowWatchNumbers(bool value) { showWatchNumbers_ = value; }
  bool Animation() const { return animation_; }
  void SetAnimation(bool value) { animation_ = value; }
  vcl::Integer AnimationFactor() const { return animationFactor_; }
  void SetAnimationFactor(vcl::Integer value) { animationFactor_ = value; }

  // "hh:mm:ss" (or "hh:mm") of the values in the locale's separator.
  rtl::AnsiString TimeText(vcl::Word hour, vcl::Word minute, vcl::Word second) const;
  // One field of Time; an unchanged or out-of-range value is ignored.
  void SetHourPart(vcl::Word hour);
  void SetMinutePart(vcl::Word minute);
  void SetSecondPart(vcl::Word second);

  TLumWatch* Watch() const { return watch_; }
  vcl::TPanel* WatchPanel() const { return watchPanel_; }
  vcl::TDateTimePicker* TimePicker() const { return timePicker_; }

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void HideDropDown(bool cancelled) override;
  void DropDownFormHide() override;
  void DropDownFormKeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void DropDownFormKeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyPress(vcl::WideChar& key) override;
  void SetComponentStyle(controls::REZORuvar style) override;

  vcl::TNotifyEvent OnTimeChange;

 protected:
  // Up and Down step the field under the caret (Up lowers, Down raises),
  // editable or not; with Alt they open and close as in every drop-down.
  void Dispatch(vcl::TMessage& message) override;
  void Change() override;

 private:
  void StepField(bool up);
  void WriteOwnText(const rtl::AnsiString& text);
  void WatchChanged();
  void PickerChanged();
  void SetPart(int field, vcl::Word value);
  static bool KeptInPopup(vcl::Word key, vcl::TShiftState shift);

  rtl::TDateTime time_ = 0;
  bool showSeconds_ = true;
  bool showTimePicker_ = false;
  std::unique_ptr<TWatchAppearance> watchAppearance_;
  std::unique_ptr<TWatchSettings> watchSettings_;
  bool showWatchAMPM_ = true;
  bool showWatchNumbers_ = true;
  bool animation_ = true;
  vcl::Integer animationFactor_ = 10;
  vcl::TPanel* watchPanel_ = nullptr;      // owned as a component
  TLumWatch* watch_ = nullptr;              // owned as a component
  vcl::TDateTimePicker* timePicker_ = nullptr;  // owned as a component
  bool updating_ = false;
};

}  // namespace dropdown
