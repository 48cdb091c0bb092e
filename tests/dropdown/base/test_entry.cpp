// The number rules of the drop-down's edit as tables, under the en-US
// separators and under a comma-decimal locale (decimal ",", thousands "."):
// the class of a text, conversion, where a thousands separator may go,
// full decimals, regrouping with the caret kept from the end, and the text
// a numeric kind shows when set.
#include <gtest/gtest.h>

#include "dropdown/LumDropDownEntry.h"
#include "rtl/Locale.h"

namespace dropdown {
namespace {

rtl::TFormatSettings CommaDecimal() {
  rtl::TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

TEST(DropDownEntry, TextsFallIntoFourClasses) {
  struct Case {
    const char* text;
    TNumberClass enUs, comma;
  } cases[] = {
      {"123", TNumberClass::ncInteger, TNumberClass::ncInteger},
      {"-12", TNumberClass::ncInteger, TNumberClass::ncInteger},
      {"--1", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
      {"1.5", TNumberClass::ncDecimal, TNumberClass::ncDecimal},      // "." a thousands separator there
      {"1,5", TNumberClass::ncDecimal, TNumberClass::ncDecimal},
      {"1,234.5", TNumberClass::ncDecimal, TNumberClass::ncDecimal},
      {"1.234,5", TNumberClass::ncDecimal, TNumberClass::ncDecimal},
      {",123", TNumberClass::ncInvalid, TNumberClass::ncDecimal},     // a separator first
      {".123", TNumberClass::ncDecimal, TNumberClass::ncInvalid},
      {"1,23,4", TNumberClass::ncDecimal, TNumberClass::ncInvalid},   // three apart; two decimal commas
      {"1,2,3", TNumberClass::ncInvalid, TNumberClass::ncInvalid},    // two apart
      {"1.2.3", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
      {"1F", TNumberClass::ncHexadecimal, TNumberClass::ncHexadecimal},
      {"-ff", TNumberClass::ncHexadecimal, TNumberClass::ncHexadecimal},
      {"1G", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
      {"12a.5", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
      {"", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
      {"Error", TNumberClass::ncInvalid, TNumberClass::ncInvalid},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyNumber(c.text), c.enUs) << c.text;
  rtl::TFormatSettingsScope scope(CommaDecimal());
  for (const Case& c : cases) EXPECT_EQ(ClassifyNumber(c.text), c.comma) << c.text << " (comma decimal)";
}

TEST(DropDownEntry, NumbersConvertWithoutTheirThousandsSeparators) {
  EXPECT_EQ(StripThousands("1,234,567.5"), "1234567.5");
  EXPECT_DOUBLE_EQ(ToFloat("1,234.5"), 1234.5);
  EXPECT_DOUBLE_EQ(ToFloat("-12.25"), -12.25);
  EXPECT_DOUBLE_EQ(ToFloat("abc"), 0);
  EXPECT_DOUBLE_EQ(ToFloat(""), 0);
  struct Case {
    TEditKind kind;
    const char* text;
    double value;
  } cases[] = {
      {TEditKind::ekFloat, "", 0},          {TEditKind::ekFloat, "Error", 0},
      {TEditKind::ekFloat, "-", 0},         {TEditKind::ekFloat, "12.5", 12.5},
      {TEditKind::ekFloatThousands, "1,234.", 1234}, {TEditKind::ekFloatThousands, "-", 0},
      {TEditKind::ekFloatThousands, "", 0}, {TEditKind::ekFloatThousands, "-1,000.25", -1000.25},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(FloatValueOf(c.kind, c.text), c.value) << c.text;
  rtl::TFormatSettingsScope scope(CommaDecimal());
  EXPECT_DOUBLE_EQ(ToFloat("1.234,5"), 1234.5);
  EXPECT_DOUBLE_EQ(FloatValueOf(TEditKind::ekFloatThousands, "1.234,"), 1234);
}

TEST(DropDownEntry, ThousandsSeparatorsGoOnlyThreeDigitsFromTheNearestOne) {
  struct Case {
    const char* text;
    int caret;
    bool misplaced;
  } cases[] = {
      {"1234", 1, false},    // no separator yet: anywhere
      {"1,234", 5, false},   // three digits after the last
      {"1,234", 4, true},    // two after
      {"1,234", 3, true},
      {"1,2345", 6, true},   // four after: too far
      {"1,234,567", 9, false},
      {"1,234,567", 8, true},
  };
  for (const Case& c : cases) EXPECT_EQ(SeparatorMisplaced(c.text, c.caret), c.misplaced) << c.text << " " << c.caret;
  rtl::TFormatSettingsScope scope(CommaDecimal());
  EXPECT_FALSE(SeparatorMisplaced("1.234", 5));
  EXPECT_TRUE(SeparatorMisplaced("1.234", 4));
  EXPECT_FALSE(SeparatorMisplaced("1,234", 2));  // a comma is the decimal here
}

TEST(DropDownEntry, DecimalsAreFullWhenEveryPlaceIsTakenAndTheCaretIsAmongThem) {
  struct Case {
    const char* text;
    int caret, precision;
    bool full;
  } cases[] = {
      {"12.34", 4, 2, true},   // before the last digit: a digit overwrites it
      {"12.34", 5, 2, true},   // at the end: a digit is dropped
      {"12.34", 3, 2, true},   // just after the separator
      {"12.34", 2, 2, false},  // before the separator
      {"12.3", 4, 2, false},   // a place is free
      {"1234", 4, 2, false},   // no separator
      {"12.34", 4, 0, false},  // no decimals asked for
      {"12.345", 5, 2, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecimalsFull(c.text, c.caret, c.precision), c.full) << c.text << " " << c.caret << " " << c.precision;
}

TEST(DropDownEntry, RegroupingKeepsSignFractionAndTheCaretsDistanceFromTheEnd) {
  struct Case {
    const char* text;
    int caret;
    const char* result;
    int newCaret;
    bool changed;
  } cases[] = {
      {"1234", 4, "1,234", 5, true},
      {"1234", 1, "1,234", 2, true},
      {"-1234567.5", 10, "-1,234,567.5", 12, true},
      {"1,234", 5, "1,234", 5, false},
      {"12,34", 5, "1,234", 5, true},
      {"1,2345", 6, "12,345", 6, true},
      {"123.", 4, "123.", 4, false},
      {"0.5", 1, "0.5", 1, false},
  };
  for (const Case& c : cases) {
    TReformatted r = ReformatThousands(c.text, c.caret);
    EXPECT_EQ(r.Text, c.result) << c.text;
    EXPECT_EQ(r.Caret, c.newCaret) << c.text;
    EXPECT_EQ(r.Changed, c.changed) << c.text;
  }
  // Typing 1, 2, 3, 4 into an empty thousands edit: 1,234 with the caret
  // at the end.
  rtl::AnsiString text;
  int caret = 0;
  for (char digit : {'1', '2', '3', '4'}) {
    text.insert(static_cast<size_t>(caret), 1, digit);
    TReformatted r = ReformatThousands(text, caret + 1);
    text = r.Text;
    caret = r.Caret;
  }
  EXPECT_EQ(text, "1,234");
  EXPECT_EQ(caret, 5);
  rtl::TFormatSettingsScope scope(CommaDecimal());
  TReformatted r = ReformatThousands("1234567,25", 10);
  EXPECT_EQ(r.Text, "1.234.567,25");
  EXPECT_EQ(r.Caret, 12);
}

TEST(DropDownEntry, NumericKindsShowASetValueFormatted) {
  struct Case {
    TEditKind kind;
    int precision;
    const char* value;
    const char* enUs;
    const char* comma;
  } cases[] = {
      {TEditKind::ekFloat, 2, "", "0.00", "0,00"},
      {TEditKind::ekFloat, 2, "3.14159", "3.14", "314159,00"},  // "." groups thousands in the comma locale
      {TEditKind::ekFloat, 2, "3,5", "35.00", "3,50"},
      {TEditKind::ekFloatThousands, 2, "1234.5", "1,234.50", "12.345,00"},
      {TEditKind::ekFloatThousands, 2, "1234,5", "12,345.00", "1.234,50"},
      {TEditKind::ekFloatThousands, 0, "1234", "1234", "1234"},  // no decimals asked for: as given
      {TEditKind::ekFloat, 2, "Error", "Error", "Error"},
      {TEditKind::ekFloat, 0, "", "0", "0"},
      {TEditKind::ekInteger, 0, "", "0", "0"},
      {TEditKind::ekInteger, 0, "42", "42", "42"},
      {TEditKind::ekText, 2, "", "", ""},
      {TEditKind::ekText, 2, "free", "free", "free"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatEntryText(c.kind, c.precision, c.value), c.enUs) << c.value;
  rtl::TFormatSettingsScope scope(CommaDecimal());
  for (const Case& c : cases)
    EXPECT_EQ(FormatEntryText(c.kind, c.precision, c.value), c.comma) << c.value << " (comma decimal)";
}

}  // namespace
}  // namespace dropdown
