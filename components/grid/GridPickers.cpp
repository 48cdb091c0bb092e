#include "grid/GridPickers.h"

#include "grid/GridComponent.h"

namespace grid {

TGridDatePicker::TGridDatePicker(vcl::TComponent* owner)
    : vcl::TDateTimePicker(owner), grid_(dynamic_cast<TVadOdizadEzev*>(owner)) {}

Cardinal TGridDatePicker::CalendarStyleBits() const {
  Cardinal bits = 0;
  if (!ShowToday) bits |= vcl::MCS_NOTODAY;
  if (!ShowTodayCircle) bits |= vcl::MCS_NOTODAYCIRCLE;
  if (Weeknumbers) bits |= vcl::MCS_WEEKNUMBERS;
  return bits;
}

}  // namespace grid
