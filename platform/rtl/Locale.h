#pragma once
// The desktop's regional settings, with one fixed answer so that no result
// depends on the machine's locale: "." and "," as decimal and thousands
// separators, "/" and ":" as date and time separators, month/day/year dates,
// English month and day names.
#include <array>
#include <string>

#include "rtl/Types.h"

namespace rtl {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  AnsiString ShortDateFormat = "M/d/yyyy";
  AnsiString LongDateFormat = "dddd, MMMM d, yyyy";
  AnsiString ShortTimeFormat = "h:nn AMPM";
  AnsiString LongTimeFormat = "h:nn:ss AMPM";
  AnsiString TimeAMString = "AM";
  AnsiString TimePMString = "PM";
  AnsiString CurrencyString = "$";
  Byte CurrencyDecimals = 2;
  std::array<AnsiString, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<AnsiString, 12> LongMonthNames = {"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
  // Sunday first, as DayOfWeek counts.
  std::array<AnsiString, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<AnsiString, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// The process-wide settings every formatting routine uses by default.
const TFormatSettings& FormatSettings();

}  // namespace rtl
