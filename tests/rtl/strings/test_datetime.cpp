#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "rtl/Clock.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

namespace rtl {
namespace {

TEST(DateTime, EncodeDateCountsDaysFrom1899_12_30) {
  struct Case {
    Word y, m, d;
    double serial;
  } cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 31, 1},      {1900, 1, 1, 2},     {1970, 1, 1, 25569},
      {2000, 1, 1, 36526}, {2024, 2, 29, 45351},   {9999, 12, 31, 2958465},
      {1899, 12, 29, -1},  {1, 1, 1, -693593},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    Word y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
  }
}

TEST(DateTime, InvalidDatesAndTimesRaise) {
  struct Case {
    Word y, m, d;
  } dates[] = {{2023, 2, 29}, {1900, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31},
               {2024, 1, 0}};
  for (const auto& c : dates) {
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << c.y << "-" << c.m << "-" << c.d;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    TDateTime unused;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, unused));
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  for (double bad : {3e6, -7e5, std::nan("")}) {
    Word y, m, d;
    EXPECT_THROW(DecodeDate(bad, y, m, d), EConvertError) << bad;
    EXPECT_THROW(FormatDateTime("yyyy", bad), EConvertError) << bad;
  }
}

TEST(DateTime, EveryDayRoundTripsAndWeekdaysAdvance) {
  TDateTime start = EncodeDate(1600, 1, 1);
  TDateTime end = EncodeDate(2400, 12, 31);
  Word prevDow = DayOfWeek(start - 1);
  for (TDateTime day = start; day <= end; day += 1) {
    Word y, m, d;
    // 18:00 on that day; before 1899-12-30 the time is subtracted.
    DecodeDate(day < 0 ? day - 0.75 : day + 0.75, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), day) << day;
    Word dow = DayOfWeek(day);
    ASSERT_EQ(dow, prevDow % 7 + 1) << day;
    prevDow = dow;
  }
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);  // a Monday
  EXPECT_EQ(DayOfWeek(0), 7);                        // a Saturday
}

TEST(DateTime, TimesEncodeAndDecode) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
  struct Case {
    Word h, n, s, z;
  } cases[] = {{0, 0, 0, 0}, {23, 59, 59, 999}, {12, 30, 15, 500}, {1, 2, 3, 4}};
  for (const auto& c : cases) {
    TDateTime t = EncodeDateTime(2024, 3, 5, c.h, c.n, c.s, c.z);
    Word y, mo, d, h, n, s, z;
    DecodeDateTime(t, y, mo, d, h, n, s, z);
    EXPECT_EQ((std::vector<Word>{y, mo, d, h, n, s, z}), (std::vector<Word>{2024, 3, 5, c.h, c.n, c.s, c.z}));
  }
  // Before 1899-12-30 the fraction still counts forward from midnight.
  TDateTime before = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_EQ(before, -1.25);
  Word h, n, s, z;
  DecodeTime(before, h, n, s, z);
  EXPECT_EQ(h, 6);
}

TEST(DateTime, FormatDateTimePictures) {
  const TDateTime t = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  struct Case {
    const char* picture;
    TDateTime value;
    const char* expected;
  } cases[] = {
      {"mm/dd/yyyy, HH:MM:SS", t, "03/05/2024, 14:07:09"},
      {"yyyy-mm-dd hh:nn:ss.zzz", t, "2024-03-05 14:07:09.045"},
      {"d/m/yy", t, "5/3/24"},
      {"ddd dddd", t, "Tue Tuesday"},
      {"mmm mmmm", t, "Mar March"},
      {"MMMM d, YYYY", t, "March 5, 2024"},
      {"h:nn am/pm", t, "2:07 pm"},
      {"h:nn AM/PM", t, "2:07 PM"},
      {"h:nn a/p", t, "2:07 p"},
      {"hh:nn ampm", t, "02:07 PM"},
      {"h:nn ampm", EncodeDateTime(2024, 3, 5, 0, 30, 0, 0), "12:30 AM"},
      {"h:nn ampm", EncodeDateTime(2024, 3, 5, 12, 0, 0, 0), "12:00 PM"},
      {"c", t, "3/5/2024 2:07:09 PM"},
      {"c", EncodeDate(2024, 3, 5), "3/5/2024"},
      {"ddddd", t, "3/5/2024"},
      {"dddddd", t, "Tuesday, March 5, 2024"},
      {"t", t, "2:07 PM"},
      {"tt", t, "2:07:09 PM"},
      {"'Date:' yyyy \"m\"", t, "Date: 2024 m"},
      {"h:mm", t, "14:07"},
      {"hh 'h' mm", t, "14 h 07"},
      {"mm hh", t, "03 14"},
      {"hh dd mm", t, "14 05 03"},  // a day between: the month again
      {"z", t, "45"},
      {"yyyy/mm/dd", EncodeDate(1, 1, 1), "0001/01/01"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.picture, c.value), c.expected) << c.picture;

  TFormatSettings german;
  german.DateSeparator = '.';
  german.TimeSeparator = '-';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t, german), "05.03.2024 14-07");
}

TEST(DateTime, FixedRegionalSettings) {
  const TFormatSettings& fs = FormatSettings();
  EXPECT_EQ(fs.DecimalSeparator, '.');
  EXPECT_EQ(fs.ThousandSeparator, ',');
  EXPECT_EQ(fs.DateSeparator, '/');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(fs.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(DateToStr(EncodeDate(2024, 12, 25)), "12/25/2024");
}

TEST(DateTime, UnixTimeAndTheClockService) {
  EXPECT_EQ(UnixToDateTime(0), 25569.0);
  EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 2)), 86400);
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);

  const char* oldTz = std::getenv("TZ");
  std::string saved = oldTz ? oldTz : "";
  auto clock = std::make_shared<ManualClock>(0, 1700000000123LL);  // 2023-11-14 22:13:20.123 UTC
  ScopedClock scoped(clock);

  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", Now()), "2023-11-14 22:13:20.123");
  EXPECT_EQ(Date(), EncodeDate(2023, 11, 14));
  setenv("TZ", "EST5", 1);  // five hours west, no summer time
  tzset();
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", Now()), "2023-11-14 17:13:20");
  EXPECT_EQ(FormatDateTime("hh:nn", UnixToLocalDateTime(0)), "19:00");
  clock->Advance(3600 * 1000);
  EXPECT_EQ(FormatDateTime("hh:nn", Time()), "18:13");

  if (oldTz)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace rtl
