// Reading dates, times and numbers as the user's regional settings write
// them, and the case rules for UTF-16 text.
#include <gtest/gtest.h>

#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"
#include "rtl/Locale.h"
#include "rtl/WideText.h"

namespace rtl {
namespace {

TFormatSettings DayFirst() {
  TFormatSettings fs;
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.DateSeparator = '.';
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.LongTimeFormat = "hh:mm:ss";
  return fs;
}

TEST(LocaleParsing, DatesFollowTheShortDateOrder) {
  TFormatSettings us;  // M/d/yyyy
  TFormatSettings de = DayFirst();
  TFormatSettings iso;
  iso.ShortDateFormat = "yyyy-MM-dd";
  iso.DateSeparator = '-';
  struct Case {
    const TFormatSettings* fs;
    const char* text;
    bool ok;
    Word y, m, d;
  } cases[] = {
      {&us, "1/31/2024", true, 2024, 1, 31},   {&us, " 2 / 29 / 2024 ", true, 2024, 2, 29},
      {&de, "31.01.2024", true, 2024, 1, 31},  {&de, "1.2.2024", true, 2024, 2, 1},
      {&iso, "2024-03-04", true, 2024, 3, 4},  {&us, "2/30/2024", false, 0, 0, 0},
      {&us, "13/1/2024", false, 0, 0, 0},      {&de, "31/01/2024", false, 0, 0, 0},
      {&us, "", false, 0, 0, 0},               {&us, "1/2/3/4", false, 0, 0, 0},
      {&us, "a/b/c", false, 0, 0, 0},          {&us, "2/29/2023", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    EXPECT_EQ(TryStrToDate(c.text, v, *c.fs), c.ok) << c.text;
    if (!c.ok) continue;
    Word y, m, d;
    DecodeDate(v, y, m, d);
    EXPECT_EQ(y, c.y) << c.text;
    EXPECT_EQ(m, c.m) << c.text;
    EXPECT_EQ(d, c.d) << c.text;
  }
}

TEST(LocaleParsing, ShortYearsAndMissingYears) {
  TFormatSettings us;
  Word thisYear, m, d;
  DecodeDate(Date(), thisYear, m, d);
  TDateTime v;
  ASSERT_TRUE(TryStrToDate("3/4", v, us));
  Word y;
  DecodeDate(v, y, m, d);
  EXPECT_EQ(y, thisYear);
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 4);
  ASSERT_TRUE(TryStrToDate("3/4/24", v, us));
  DecodeDate(v, y, m, d);
  EXPECT_EQ(y, thisYear / 100 * 100 + 24);
}

TEST(LocaleParsing, TimesWithAndWithoutMarkers) {
  TFormatSettings us;
  struct Case {
    const char* text;
    bool ok;
    int h, n, s;
  } cases[] = {
      {"0:00:00", true, 0, 0, 0},      {"23:59:59", true, 23, 59, 59}, {"12:00:00 AM", true, 0, 0, 0},
      {"12:30 PM", true, 12, 30, 0},   {"1:05:09 pm", true, 13, 5, 9}, {"PM 2:00", true, 14, 0, 0},
      {"7", true, 7, 0, 0},            {"24:00:00", false, 0, 0, 0},   {"1:60", false, 0, 0, 0},
      {"13:00 PM", false, 0, 0, 0},    {"", false, 0, 0, 0},           {"1:2:3:4", false, 0, 0, 0},
      {"10:20:30.250", true, 10, 20, 30},
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    EXPECT_EQ(TryStrToTime(c.text, v, us), c.ok) << c.text;
    if (!c.ok) continue;
    Word h, n, s, ms;
    DecodeTime(v, h, n, s, ms);
    EXPECT_EQ(h, c.h) << c.text;
    EXPECT_EQ(n, c.n) << c.text;
    EXPECT_EQ(s, c.s) << c.text;
  }
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
  EXPECT_THROW(StrToDate("x"), EConvertError);
}

TEST(LocaleParsing, IncMonthKeepsTheDayInsideTheMonth) {
  struct Case {
    Word y, m, d;
    Integer months;
    Word ey, em, ed;
  } cases[] = {
      {2024, 1, 31, 1, 2024, 2, 29}, {2023, 1, 31, 1, 2023, 2, 28}, {2024, 3, 31, -1, 2024, 2, 29},
      {2024, 12, 15, 1, 2025, 1, 15}, {2024, 1, 15, -1, 2023, 12, 15}, {2024, 5, 31, 13, 2025, 6, 30},
  };
  for (const auto& c : cases) {
    Word y, m, d;
    DecodeDate(IncMonth(EncodeDate(c.y, c.m, c.d) + 0.25, c.months), y, m, d);
    EXPECT_EQ(y, c.ey);
    EXPECT_EQ(m, c.em);
    EXPECT_EQ(d, c.ed);
  }
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 31) + 0.25, 1), EncodeDate(2024, 2, 29) + 0.25);
}

TEST(LocaleParsing, FloatsWithTheSettingsDecimalSeparator) {
  TFormatSettings de = DayFirst();
  double v = 0;
  EXPECT_TRUE(TryStrToFloat("12,5", v, de));
  EXPECT_DOUBLE_EQ(v, 12.5);
  EXPECT_FALSE(TryStrToFloat("12.5", v, de));
  EXPECT_FALSE(TryStrToFloat("1.234,5", v, de));
  TFormatSettings us;
  EXPECT_TRUE(TryStrToFloat("12.5", v, us));
  EXPECT_FALSE(TryStrToFloat("12,5", v, us));
}

TEST(LocaleParsing, TheProcessSettingsChangeForAScopeOnly) {
  EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
  {
    TFormatSettingsScope scope(DayFirst());
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FloatToStrF(1.5, TFloatFormat::ffFixed, 15, 2), "1,50");
    TDateTime v;
    EXPECT_TRUE(TryStrToDate("02.01.2024", v));
    EXPECT_EQ(v, EncodeDate(2024, 1, 2));
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
  EXPECT_EQ(FloatToStrF(1.5, TFloatFormat::ffFixed, 15, 2), "1.50");
}

TEST(WideText, SimpleCaseFolding) {
  struct Case {
    char32_t c, folded;
  } cases[] = {
      {U'A', U'a'},       {U'z', U'z'},         {U'\u00C4', U'\u00E4'}, {U'\u0130', U'\u0130'},
      {U'\u03A3', U'\u03C3'}, {U'\u03C2', U'\u03C3'}, {U'\u1E9E', U'\u00DF'}, {U'\u0410', U'\u0430'},
      {U'\U00010400', U'\U00010428'}, {U'\u4E2D', U'\u4E2D'}, {U'1', U'1'},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldCase(c.c), c.folded) << static_cast<uint32_t>(c.c);
}

TEST(WideText, CompareIgnoresCaseAndOrdersByUnits) {
  EXPECT_EQ(UnicodeCompareText(u"Hello", u"hELLO"), 0);
  EXPECT_EQ(UnicodeCompareText(u"\u00C4rger", u"\u00E4RGER"), 0);
  EXPECT_EQ(UnicodeCompareText(u"abc", u"abd"), -1);
  EXPECT_EQ(UnicodeCompareText(u"abd", u"ABC"), 1);
  EXPECT_EQ(UnicodeCompareText(u"ab", u"abc"), -1);
  EXPECT_EQ(UnicodeCompareText(u"", u""), 0);
  EXPECT_EQ(UnicodeCompareText(u"\U00010400x", u"\U00010428X"), 0);
  // A lone surrogate compares as itself.
  EXPECT_EQ(UnicodeCompareText(std::u16string(1, u'\xD800'), std::u16string(1, u'\xD800')), 0);
  EXPECT_TRUE(UnicodeSameText(u"\u03A3\u03A3", u"\u03C3\u03C2"));
}

}  // namespace
}  // namespace rtl
