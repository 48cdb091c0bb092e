#pragma once
// The grid's date picker editor (date, date with arrows and time cells): the
// class library's picker with the calendar settings the grid applies when
// the calendar drops. The date-and-time editor comes from the drop-down
// library's joined picker and is reached here only as a class-library
// picker.
#include "grid/model/GridTypes.h"
#include "vcl/DateTimePicker.h"

namespace grid {

class TVadOdizadEzev;

class TGridDatePicker : public vcl::TDateTimePicker {
 public:
  explicit TGridDatePicker(vcl::TComponent* owner);
  bool Weeknumbers = false;
  bool ShowToday = true;
  bool ShowTodayCircle = true;
  // The calendar's style bits these three settings ask for.
  Cardinal CalendarStyleBits() const;
  // The grid that owns the picker (null when another component does).
  TVadOdizadEzev* Grid() const { return grid_; }

 private:
  TVadOdizadEzev* grid_;
};

}  // namespace grid
