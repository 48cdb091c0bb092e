#pragma once
// The desktop's regional settings, with one answer that does not depend on
// the machine's locale unless the program sets another: "." and "," as decimal and thousands
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
// Replaces the process-wide settings (the user changed the regional
// settings; tests run under other locales). User-interface thread only,
// while no other thread formats.
void SetFormatSettings(const TFormatSettings& settings);

// Sets the process-wide settings for its lifetime and puts the old ones back.
class TFormatSettingsScope {
 public:
  explicit TFormatSettingsScope(const TFormatSettings& settings) : saved_(FormatSettings()) {
    SetFormatSettings(settings);
  }
  ~TFormatSettingsScope() { SetFormatSettings(saved_); }
  TFormatSettingsScope(const TFormatSettingsScope&) = delete;
  TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace rtl
