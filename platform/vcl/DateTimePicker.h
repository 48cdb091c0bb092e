#pragma once
// The desktop's date and time picker: a field showing a date in the short
// date format (or a time in the long time format) with a button that drops
// a month calendar, or with up and down arrows. The dropped calendar is a
// pop-up the picker owns; its look follows the month calendar's style bits
// (week numbers, no today circle, no today line), and it can be asked for
// the smallest size that shows it whole.
#include "rtl/DateTime.h"
#include "vcl/Controls.h"

class QDateTimeEdit;

namespace vcl {

enum class TDateTimeKind { dtkDate, dtkTime };
using enum TDateTimeKind;
enum class TDTDateMode { dmComboBox, dmUpDown };
using enum TDTDateMode;

// The month calendar's style bits.
inline constexpr Cardinal MCS_WEEKNUMBERS = 0x4;
inline constexpr Cardinal MCS_NOTODAYCIRCLE = 0x8;
inline constexpr Cardinal MCS_NOTODAY = 0x10;

class TDateTimePickerCalendar;

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* owner);
  ~TDateTimePicker() override;

  // The date and time held; a date picker changes only the date part, a
  // time picker only the time part.
  virtual rtl::TDateTime DateTime() const { return value_; }
  virtual void SetDateTime(rtl::TDateTime value);
  rtl::TDateTime Date() const;
  void SetDate(rtl::TDateTime value);
  rtl::TDateTime Time() const;
  void SetTime(rtl::TDateTime value);
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode value);
  // The format of the shown text in the run-time library's letters (d, m,
  // y, h, n, s, AMPM); empty: the locale's short date or long time format,
  // read when the text is shown.
  const AnsiString& Format() const { return format_; }
  void SetFormat(const AnsiString& value);
  // The value as the field shows it (also the control's text).
  AnsiString Text() const;
  // A check box before the field: unchecked, the field is greyed and the
  // value means "none". Toggling it by hand fires OnChange.
  bool ShowCheckbox() const { return showCheckbox_; }
  void SetShowCheckbox(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  // The field the caret is in (0 the first of the format) and the number of
  // fields; a WM_KEYDOWN of VK_RIGHT or VK_LEFT that does not come from the
  // keyboard (repeat count 0, as a posted key has) moves to the next or
  // previous field, as the desktop's picker does.
  Integer CurrentField() const;
  Integer FieldCount() const;

  // --- the dropped calendar ---
  bool DroppedDown() const { return droppedDown_; }
  // Drops the calendar below the field (a date picker with a drop button
  // and a window only); fires OnDropDown once it shows.
  void DropDown();
  // Closes the calendar; OnCloseUp fires.
  void CloseUp();
  Cardinal CalendarStyle() const { return calendarStyle_; }
  void SetCalendarStyle(Cardinal style);
  // The smallest size that shows the month with its headers, week numbers
  // and today line as the style asks; (0, 0) while it is not dropped.
  TPoint CalendarMinReqSize() const;
  TPoint CalendarSize() const;
  void SetCalendarSize(Integer width, Integer height);
  // Takes a day in the dropped calendar as a click would, and closes it.
  void PickCalendarDate(rtl::TDateTime date);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }
  // F4 and Alt+Down drop the calendar.
  void KeyDown(Word& key, TShiftState shift) override;
  void Dispatch(TMessage& message) override;
  virtual void Change();

 private:
  friend class TDateTimePickerCalendar;
  void SyncWidget();
  void CalendarClosed();
  AnsiString ShownFormat() const;
  rtl::TDateTime value_ = 0;
  TDateTimeKind kind_ = dtkDate;
  TDTDateMode dateMode_ = dmComboBox;
  AnsiString format_;
  Cardinal calendarStyle_ = 0;
  bool droppedDown_ = false;
  bool syncing_ = false;
  bool showCheckbox_ = false;
  bool checked_ = true;
  std::unique_ptr<TDateTimePickerCalendar> calendar_;
};

}  // namespace vcl
