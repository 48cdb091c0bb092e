#include "rtl/DateTime.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "rtl/Clock.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"

namespace rtl {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// The day number of 1899-12-30 when 0001-01-01 is day 1.
constexpr int64_t kDateDelta = 693594;

const Word kDaysBefore[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Splits a TDateTime into whole days and milliseconds of the day. Before
// 1899-12-30 the integer part is the day and the fraction, taken as
// positive, the time.
void Split(TDateTime value, int64_t& days, int64_t& ms) {
  // 0001-01-01 to the end of 9999-12-31.
  if (!(value > -693594.0 && value < 2958466.0)) throw EConvertError("Invalid date/time value");
  if (value >= 0) {
    int64_t total = std::llround(value * MSecsPerDay);
    days = total / kMsPerDay;
    ms = total % kMsPerDay;
  } else {
    double whole = std::trunc(value);
    days = static_cast<int64_t>(whole);
    ms = std::llround(std::fabs(value - whole) * MSecsPerDay);
    if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  }
}

void DaysToDate(int64_t serial, Word& year, Word& month, Word& day) {
  // Proleptic Gregorian calendar from a count of days since 0001-01-01.
  int64_t d = serial + kDateDelta - 1;  // days since 0001-01-01, 0-based
  if (d < 0) {
    year = month = day = 0;
    return;
  }
  int64_t n400 = d / 146097, r = d % 146097;
  int64_t n100 = r / 36524;
  if (n100 == 4) n100 = 3;
  r -= n100 * 36524;
  int64_t n4 = r / 1461;
  r %= 1461;
  int64_t n1 = r / 365;
  if (n1 == 4) n1 = 3;
  r -= n1 * 365;
  int64_t y = n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1;
  const Word* before = kDaysBefore[IsLeapYear(static_cast<Word>(y)) ? 1 : 0];
  int m = 1;
  while (m < 12 && r >= before[m]) ++m;
  year = static_cast<Word>(y);
  month = static_cast<Word>(m);
  day = static_cast<Word>(r - before[m - 1] + 1);
}

TDateTime Combine(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

TDateTime LocalFromUnixMs(int64_t unixMs) {
  time_t secs = static_cast<time_t>(unixMs >= 0 ? unixMs / 1000 : (unixMs - 999) / 1000);
  int64_t ms = unixMs - static_cast<int64_t>(secs) * 1000;
  struct tm t {};
  localtime_r(&secs, &t);
  return Combine(EncodeDate(static_cast<Word>(t.tm_year + 1900), static_cast<Word>(t.tm_mon + 1),
                            static_cast<Word>(t.tm_mday)),
                 EncodeTime(static_cast<Word>(t.tm_hour), static_cast<Word>(t.tm_min),
                            static_cast<Word>(t.tm_sec > 59 ? 59 : t.tm_sec), static_cast<Word>(ms)));
}

AnsiString Pad(int value, int width) {
  AnsiString s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

bool StartsNoCase(std::string_view s, size_t i, std::string_view word) {
  return i <= s.size() && StartsText(word, s.substr(i));
}

// True when the picture holds a 12-hour marker outside quotes.
bool HasAmPm(std::string_view f) {
  char quote = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (quote) {
      if (f[i] == quote) quote = 0;
    } else if (f[i] == '"' || f[i] == '\'') {
      quote = f[i];
    } else if (StartsNoCase(f, i, "am/pm") || StartsNoCase(f, i, "a/p") || StartsNoCase(f, i, "ampm")) {
      return true;
    }
  }
  return false;
}

struct Parts {
  Word year, month, day, hour, minute, second, msec, dow;
  bool hasTime;
};

void Render(AnsiString& out, std::string_view f, const Parts& p, const TFormatSettings& fs, int depth) {
  if (depth > 2) return;  // a settings picture that names itself
  const bool twelveHour = HasAmPm(f);
  char last = 0;  // the last date or time token, for the "m after h" rule
  size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    char u = UpCase(c);
    size_t run = 1;
    while (i + run < f.size() && UpCase(f[i + run]) == u) ++run;
    switch (u) {
      case '"':
      case '\'': {
        size_t end = f.find(c, i + 1);
        if (end == std::string_view::npos) end = f.size();
        out.append(f.substr(i + 1, end - i - 1));
        i = end + 1;
        continue;
      }
      case 'C':
        Render(out, fs.ShortDateFormat, p, fs, depth + 1);
        if (p.hasTime) {
          out += ' ';
          Render(out, fs.LongTimeFormat, p, fs, depth + 1);
        }
        i += 1;
        last = 0;
        continue;
      case 'D':
        if (run == 1) out += std::to_string(p.day);
        else if (run == 2) out += Pad(p.day, 2);
        else if (run == 3) out += fs.ShortDayNames[p.dow - 1];
        else if (run == 4) out += fs.LongDayNames[p.dow - 1];
        else if (run == 5) Render(out, fs.ShortDateFormat, p, fs, depth + 1);
        else Render(out, fs.LongDateFormat, p, fs, depth + 1);
        last = 'D';
        break;
      case 'M':
        if (run <= 2 && last == 'H') {
          out += run == 1 ? std::to_string(p.minute) : Pad(p.minute, 2);
          last = 'N';
        } else {
          if (run == 1) out += std::to_string(p.month);
          else if (run == 2) out += Pad(p.month, 2);
          else if (run == 3) out += fs.ShortMonthNames[p.month - 1];
          else out += fs.LongMonthNames[p.month - 1];
          last = 'M';
        }
        break;
      case 'Y':
        out += run <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
        last = 'Y';
        break;
      case 'H': {
        int h = p.hour;
        if (twelveHour) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += run == 1 ? std::to_string(h) : Pad(h, 2);
        last = 'H';
        break;
      }
      case 'N':
        out += run == 1 ? std::to_string(p.minute) : Pad(p.minute, 2);
        last = 'N';
        break;
      case 'S':
        out += run == 1 ? std::to_string(p.second) : Pad(p.second, 2);
        last = 'S';
        break;
      case 'Z':
        out += run <= 2 ? std::to_string(p.msec) : Pad(p.msec, 3);
        last = 'Z';
        break;
      case 'T':
        Render(out, run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
        last = 0;
        break;
      case 'A': {
        run = 1;
        const bool pm = p.hour >= 12;
        if (StartsNoCase(f, i, "am/pm")) {
          // The marker keeps the case the picture writes it in.
          std::string_view written = f.substr(pm ? i + 3 : i, 2);
          out.append(written);
          run = 5;
        } else if (StartsNoCase(f, i, "a/p")) {
          out += f[pm ? i + 2 : i];
          run = 3;
        } else if (StartsNoCase(f, i, "ampm")) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          run = 4;
        } else {
          out += c;
        }
        break;
      }
      case '/':
        out += fs.DateSeparator;
        run = 1;
        break;
      case ':':
        out += fs.TimeSeparator;
        run = 1;
        break;
      default:
        out += c;
        run = 1;
        break;
    }
    i += run;
  }
}

}  // namespace

bool IsLeapYear(Word year) { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

Word DaysInAMonth(Word year, Word month) {
  if (month < 1 || month > 12) return 0;
  const Word* before = kDaysBefore[IsLeapYear(year) ? 1 : 0];
  return static_cast<Word>(before[month] - before[month - 1]);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
    return false;
  int64_t y = year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[IsLeapYear(year) ? 1 : 0][month - 1] + day;
  date = static_cast<TDateTime>(days - kDateDelta);
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour > 23 || min > 59 || sec > 59 || msec > 999) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec) {
  return Combine(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec,
                    Word& msec) {
  int64_t days, ms;
  Split(value, days, ms);
  DaysToDate(days, year, month, day);
  hour = static_cast<Word>(ms / 3600000);
  min = static_cast<Word>(ms / 60000 % 60);
  sec = static_cast<Word>(ms / 1000 % 60);
  msec = static_cast<Word>(ms % 1000);
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
  Word h, n, s, z;
  DecodeDateTime(date, year, month, day, h, n, s, z);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
  Word y, m, d;
  DecodeDateTime(time, y, m, d, hour, min, sec, msec);
}

Word DayOfWeek(TDateTime date) {
  int64_t days, ms;
  Split(date, days, ms);
  // 1899-12-30 was a Saturday.
  int64_t w = ((days + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<Word>(w + 1);
}

TDateTime Now() { return LocalFromUnixMs(NowUnixMs()); }
TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

Int64 DateTimeToUnix(TDateTime value) {
  return static_cast<Int64>(std::floor((value - UnixDateDelta) * SecsPerDay + 0.5));
}
TDateTime UnixToDateTime(Int64 seconds) { return UnixDateDelta + static_cast<double>(seconds) / SecsPerDay; }
TDateTime UnixToLocalDateTime(Int64 seconds) { return LocalFromUnixMs(seconds * 1000); }

AnsiString FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTime(format, value, FormatSettings());
}

AnsiString FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  Parts p{};
  DecodeDateTime(value, p.year, p.month, p.day, p.hour, p.minute, p.second, p.msec);
  p.dow = DayOfWeek(value);
  int64_t days, ms;
  Split(value, days, ms);
  p.hasTime = ms != 0;
  AnsiString out;
  Render(out, format.empty() ? std::string_view("c") : format, p, settings, 0);
  return out;
}

AnsiString DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }
AnsiString DateToStr(TDateTime value) { return FormatDateTime(FormatSettings().ShortDateFormat, value); }
AnsiString TimeToStr(TDateTime value) { return FormatDateTime(FormatSettings().LongTimeFormat, value); }

TDateTime IncMonth(TDateTime date, Integer months) {
  Word y, m, d;
  DecodeDate(date, y, m, d);
  int64_t total = static_cast<int64_t>(y) * 12 + (m - 1) + months;
  if (total < 12 || total >= 10000 * 12) throw EConvertError("Invalid argument to date encode");
  Word ny = static_cast<Word>(total / 12), nm = static_cast<Word>(total % 12 + 1);
  Word nd = std::min(d, DaysInAMonth(ny, nm));
  TDateTime day = EncodeDate(ny, nm, nd);
  double time = std::fabs(date - std::trunc(date));
  return day >= 0 ? day + time : day - time;
}

namespace {

void SkipBlanks(std::string_view s, size_t& i) {
  while (i < s.size() && s[i] == ' ') ++i;
}

// Up to nine decimal digits at i; false when there is none.
bool ScanNumber(std::string_view s, size_t& i, int& value, int& digits) {
  SkipBlanks(s, i);
  size_t start = i;
  value = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < 9) value = value * 10 + (s[i++] - '0');
  digits = static_cast<int>(i - start);
  return digits > 0;
}

bool ScanChar(std::string_view s, size_t& i, char c) {
  SkipBlanks(s, i);
  if (i < s.size() && s[i] == c) {
    ++i;
    return true;
  }
  return false;
}

// 'd', 'm' or 'y' for the order of the short date format.
char DateOrder(std::string_view format) {
  for (char c : format) {
    char l = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (l == 'd' || l == 'm' || l == 'y') return l;
  }
  return 'm';
}

bool StartsWithText(std::string_view s, size_t i, std::string_view word) {
  if (word.empty() || s.size() - i < word.size()) return false;
  return SameText(s.substr(i, word.size()), word);
}

// An am/pm marker at i: 0 none, 1 am, 2 pm.
int ScanAmPm(std::string_view s, size_t& i, const TFormatSettings& fs) {
  SkipBlanks(s, i);
  const std::string_view words[][2] = {{fs.TimeAMString, fs.TimePMString}, {"AM", "PM"}, {"A", "P"}};
  for (const auto& pair : words)
    for (int k = 0; k < 2; ++k)
      if (StartsWithText(s, i, pair[k])) {
        i += pair[k].size();
        return k + 1;
      }
  return 0;
}

}  // namespace

bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  size_t i = 0;
  int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  int count = 0;
  if (!ScanNumber(s, i, n[0], digits[0])) return false;
  count = 1;
  while (count < 3 && ScanChar(s, i, settings.DateSeparator)) {
    if (!ScanNumber(s, i, n[count], digits[count])) return false;
    ++count;
  }
  // A separator may end the date ("1/2/").
  if (count == 3) ScanChar(s, i, settings.DateSeparator);
  SkipBlanks(s, i);
  if (i != s.size() || count < 2) return false;
  Word thisYear, thisMonth, thisDay;
  DecodeDate(Date(), thisYear, thisMonth, thisDay);
  int year, month, day;
  bool yearGiven = count == 3;
  switch (DateOrder(settings.ShortDateFormat)) {
    case 'd':
      day = n[0], month = n[1], year = yearGiven ? n[2] : thisYear;
      break;
    case 'y':
      if (yearGiven)
        year = n[0], month = n[1], day = n[2];
      else
        year = thisYear, month = n[0], day = n[1];
      break;
    default:
      month = n[0], day = n[1], year = yearGiven ? n[2] : thisYear;
  }
  int yearDigits = yearGiven ? digits[DateOrder(settings.ShortDateFormat) == 'y' ? 0 : 2] : 4;
  if (yearDigits <= 2) year += thisYear / 100 * 100;
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  return TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), value);
}

bool TryStrToDate(std::string_view s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings()); }

TDateTime StrToDate(std::string_view s) {
  TDateTime v;
  if (!TryStrToDate(s, v)) throw EConvertError(Format("'%s' is not a valid date", {AnsiString(s)}));
  return v;
}

bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  size_t i = 0;
  int ampm = ScanAmPm(s, i, settings);
  int part[4] = {0, 0, 0, 0}, digits = 0;
  if (!ScanNumber(s, i, part[0], digits)) return false;
  int count = 1;
  while (count < 3 && ScanChar(s, i, settings.TimeSeparator)) {
    if (!ScanNumber(s, i, part[count], digits)) return false;
    ++count;
  }
  if (count == 3 && (ScanChar(s, i, settings.DecimalSeparator) || ScanChar(s, i, '.'))) {
    if (!ScanNumber(s, i, part[3], digits)) return false;
  }
  if (ampm == 0) ampm = ScanAmPm(s, i, settings);
  SkipBlanks(s, i);
  if (i != s.size()) return false;
  int hour = part[0];
  if (ampm != 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (ampm == 2 ? 12 : 0);
  }
  if (hour > 23 || part[1] > 59 || part[2] > 59 || part[3] > 999) return false;
  return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(part[1]), static_cast<Word>(part[2]),
                       static_cast<Word>(part[3]), value);
}

bool TryStrToTime(std::string_view s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings()); }

TDateTime StrToTime(std::string_view s) {
  TDateTime v;
  if (!TryStrToTime(s, v)) throw EConvertError(Format("'%s' is not a valid time", {AnsiString(s)}));
  return v;
}

}  // namespace rtl
