#pragma once
// The date and time pickers of the cell editors. TCustomDateTimePicker adds
// a flat one-pixel border (Ctl3D off) and AutoTab, which moves the caret
// on to the next field once a typed digit has changed one.
// TLumDateTimePicker adds a third kind, date and time in one control: the
// control edits the date and a borderless time picker inside its right end
// (the time companion) edits the time.
#include "rtl/DateTime.h"
#include "vcl/DateTimePicker.h"

namespace dropdown {

enum class TLumDateTimeKind { dkDate, dkTime, dkDateTime };
using enum TLumDateTimeKind;

// The major version word pair of the named file's version information
// (major in the high 16 bits), -1 without one.
vcl::Integer FileVersionMS(const rtl::AnsiString& fileName);
// The common controls are version 6 or later; a library whose version
// cannot be read counts as such.
bool HasCommonControls6();
// The message each picker posts to itself after a digit, so that the field
// has taken the digit when the value is compared.
vcl::Cardinal ShiftFocusMessage();

class TCustomDateTimePicker : public vcl::TDateTimePicker {
 public:
  explicit TCustomDateTimePicker(vcl::TComponent* owner);

  bool AutoTab() const { return autoTab_; }
  virtual void SetAutoTab(bool value) { autoTab_ = value; }
  vcl::TBorderStyle BorderStyle() const { return borderStyle_; }
  virtual void SetBorderStyle(vcl::TBorderStyle value);
  bool CommonControls6() const { return commonControls6_; }

  // The colour the flat outer frame is drawn in, as the last paint chose it.
  vcl::TColor FlatEdgeColor() const;

  void WndProc(vcl::TMessage& message) override;

 protected:
  virtual void DoAutoTab();
  void KeyPress(vcl::WideChar& key) override;
  void Dispatch(vcl::TMessage& message) override;
  void PaintFlatEdge(vcl::TCanvas* canvas, bool innerLines);
  static bool IsDigit(vcl::WideChar key) { return key >= u'0' && key <= u'9'; }
  vcl::Word rememberedHour_ = 0, rememberedMinute_ = 0, rememberedSecond_ = 0;

 private:
  bool autoTab_ = false;
  bool commonControls6_ = true;
  vcl::TBorderStyle borderStyle_ = vcl::bsNone;
};

class TLumDateTimePicker : public TCustomDateTimePicker {
 public:
  explicit TLumDateTimePicker(vcl::TComponent* owner);
  ~TLumDateTimePicker() override;

  TLumDateTimeKind Kind() const { return kind_; }
  void SetKind(TLumDateTimeKind value);
  // With the companion the time is the companion's.
  rtl::TDateTime Time() const;
  void SetTime(rtl::TDateTime value);
  // The date with the companion's time; a written value loses its
  // milliseconds and goes to the companion as well.
  rtl::TDateTime DateTime() const override;
  void SetDateTime(rtl::TDateTime value) override;
  const rtl::AnsiString& Format() const { return format_; }
  void SetFormat(const rtl::AnsiString& value);
  const rtl::AnsiString& TimeFormat() const { return timeFormat_; }
  void SetTimeFormat(const rtl::AnsiString& value);
  void SetAutoTab(bool value) override;
  void SetBorderStyle(vcl::TBorderStyle value) override;
  rtl::AnsiString Version() const { return "1.0.3.0"; }
  void SetVersion(const rtl::AnsiString&) {}

  TCustomDateTimePicker* TimeCompanion() const { return companion_; }
  void Loaded() override;

 protected:
  virtual void DoCompanionChange();
  virtual void DoCompanionClick();
  virtual void CompanionKeyPress(vcl::WideChar& key) { (void)key; }
  void DoAutoTab() override;
  void KeyPress(vcl::WideChar& key) override;
  void Dispatch(vcl::TMessage& message) override;
  void EnsureTimeCompanion();
  void LayoutTimeCompanion();
  // The size of the text in the font, as DrawText measures one line.
  vcl::TSize MeasureText(const rtl::AnsiString& text, vcl::TFont* font);

 private:
  void SetOwnKind(TLumDateTimeKind value);
  TCustomDateTimePicker* companion_ = nullptr;  // owned as a component
  TLumDateTimeKind kind_ = dkDateTime;
  rtl::AnsiString format_;
  rtl::AnsiString timeFormat_;
  vcl::Word rememberedYear_ = 0, rememberedMonth_ = 0, rememberedDay_ = 0;
};

}  // namespace dropdown
