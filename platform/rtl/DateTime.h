#pragma once
// Dates and times as TDateTime: days since 1899-12-30 before the point, the
// fraction of the day after it. Local time unless a name says UTC.
#include <string>
#include <string_view>

#include "rtl/Locale.h"
#include "rtl/Types.h"

namespace rtl {

constexpr double MSecsPerDay = 86400000.0;
constexpr double SecsPerDay = 86400.0;
// TDateTime of 1970-01-01 00:00.
constexpr TDateTime UnixDateDelta = 25569.0;

bool IsLeapYear(Word year);
Word DaysInAMonth(Word year, Word month);

// Year 1..9999, month 1..12, day 1..days of that month; otherwise
// EConvertError "Invalid argument to date encode" (Try... returns false).
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
// Hour 0..23, minute and second 0..59, ms 0..999; otherwise EConvertError
// "Invalid argument to time encode".
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec);
// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime date);

// The current local date and time, the date alone, the time alone.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Seconds since 1970-01-01 00:00 and TDateTime, no time zone applied.
Int64 DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(Int64 seconds);
// A moment in Unix seconds as local date and time (the machine's time zone).
TDateTime UnixToLocalDateTime(Int64 seconds);

// A value outside 0001-01-01 .. 9999-12-31 raises EConvertError "Invalid
// date/time value" in the Decode functions and FormatDateTime.
//
// Date/time pictures (letters in any case):
//   d dd ddd dddd  day, two digits, short and long day name
//   ddddd dddddd   short / long date format
//   m mm mmm mmmm  month, two digits, short and long month name; "m"/"mm"
//                  whose last date or time item before it was an "h"/"hh"
//                  (separators and other text between allowed) is minutes
//   yy yyyy        year, two or four digits
//   h hh           hour (12-hour when an am/pm item appears)
//   n nn  s ss     minute, second;  z zzz  milliseconds
//   t tt           short / long time format;  c  short date + long time
//   am/pm a/p ampm 12-hour marker
//   /  :           the date and time separators of the settings
//   "..." '...'    literal text
// Other characters are copied.
AnsiString FormatDateTime(std::string_view format, TDateTime value);
AnsiString FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
AnsiString DateTimeToStr(TDateTime value);  // "c"
AnsiString DateToStr(TDateTime value);      // short date format
AnsiString TimeToStr(TDateTime value);      // long time format

// The date months later (earlier for a negative count), the day kept inside
// the new month (31 January plus one month is the last day of February);
// the time of day is kept.
TDateTime IncMonth(TDateTime date, Integer months = 1);

// A date typed in the settings' order (the first of "d", "m" and "y" in
// ShortDateFormat decides: day-month-year, month-day-year or
// year-month-day) with the DateSeparator between the numbers and blanks
// allowed around them; two numbers are day and month of the current year; a
// year below 100 belongs to the current century. StrToDate raises
// EConvertError "'%s' is not a valid date".
bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDate(std::string_view s, TDateTime& value);
TDateTime StrToDate(std::string_view s);
// A time "h", "h:m", "h:m:s" or "h:m:s.z" with the TimeSeparator, blanks
// allowed, with an optional am/pm marker (the settings' strings, "AM"/"PM"
// or "A"/"P", any case) before or after; hours 0..23 (1..12 with a marker),
// minutes and seconds 0..59. StrToTime raises EConvertError "'%s' is not a
// valid time".
bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(std::string_view s, TDateTime& value);
TDateTime StrToTime(std::string_view s);

}  // namespace rtl
