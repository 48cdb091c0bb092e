// The typed views of the cells and their two errors.
#include <gtest/gtest.h>

#include "grid/model/GridModel.h"
#include "grid/model/GridUtils.h"
#include "rtl/DateTime.h"

using namespace grid;

namespace {

void ExpectIntegerError(TGridModel& m, Integer col, Integer row) {
  try {
    m.IntegerCells(col, row);
    FAIL() << "no error for '" << m.GetRawCell(col, row) << "'";
  } catch (const ELumGridError& e) {
    EXPECT_EQ(e.Message(), "Cell does not contain integer value");
  }
}

}  // namespace

TEST(TypedCells, Integers) {
  TGridModel m;
  struct Case {
    std::string text;
    Integer value;
  } cases[] = {{"", 0}, {"-", 0}, {" 42 ", 42}, {"$1F", 31}, {"0x10", 16}, {"-7", -7}, {"+7", 7}, {"2147483647", 2147483647}};
  for (const Case& c : cases) {
    m.SetRawCell(1, 1, c.text);
    EXPECT_EQ(m.IntegerCells(1, 1), c.value) << c.text;
  }
  for (const char* bad : {"4.2", "+", "2147483648", "$FFFFFFFF", "12a", "a"}) {
    m.SetRawCell(1, 1, bad);
    ExpectIntegerError(m, 1, 1);
    EXPECT_EQ(m.GetRawCell(1, 1), bad);  // the getter changes nothing
  }
  m.SetIntegerCells(2, 2, -15);
  EXPECT_EQ(m.GetRawCell(2, 2), "-15");
  // The display text counts: events (below the display-row limit, which
  // the row count sets) and merged blocks apply.
  m.SetRowCount(5);
  m.OnGetDisplText = [](Integer, Integer, AnsiString& v) { v = "  8"; };
  EXPECT_EQ(m.IntegerCells(3, 3), 8);
}

TEST(TypedCells, Floats) {
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  struct Case {
    std::string text;
    double value;
  } cases[] = {{"(12.5)", -12.5}, {"no digits", 0}, {"", 0}, {"1,234.50 USD", 1234.5}, {"$3", 3}, {"1e3", 1000}, {"-2.5", -2.5}};
  for (const Case& c : cases) {
    m.SetRawCell(1, 1, c.text);
    EXPECT_DOUBLE_EQ(m.FloatCells(1, 1), c.value) << c.text;
  }
  m.SetRawCell(1, 1, "1.2.3");
  try {
    m.FloatCells(1, 1);
    FAIL() << "no error";
  } catch (const ELumGridError& e) {
    EXPECT_EQ(e.Message(), "Cell does not contain a float value");
  }
  m.SetFloatCells(2, 2, 3.14159);
  EXPECT_EQ(m.GetRawCell(2, 2), "3.14");
  m.FloatFormat = "%.3f";
  m.SetFloatCells(2, 3, 2.0);
  EXPECT_EQ(m.GetRawCell(2, 3), "2.000");
  EXPECT_EQ(m.GetRawCell(2, 2), "3.14");  // existing cells keep their text

  FixedLocaleSettings eu;
  eu.Decimal = ',';
  eu.Thousand = '.';
  ScopedLocale euScope(eu);
  m.SetRawCell(1, 1, "1.234,5");
  EXPECT_DOUBLE_EQ(m.FloatCells(1, 1), 1234.5);
}

TEST(TypedCells, HiddenRowsDatesAndWideText) {
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  m.SetRowCount(6);
  for (Integer r = 0; r < 6; ++r) m.SetRawCell(1, r, std::to_string(r) + ".5");
  m.HideRow(2);
  EXPECT_DOUBLE_EQ(m.AllFloatCells(1, 2), 2.5);
  EXPECT_DOUBLE_EQ(m.AllFloatCells(1, 3), 3.5);
  EXPECT_DOUBLE_EQ(m.FloatCells(1, 2), 3.5);  // display row 2 is real row 3

  m.SetDateCells(2, 1, rtl::EncodeDate(2012, 3, 4));
  EXPECT_EQ(m.GetRawCell(2, 1), "3/4/2012");

  m.SetWideCellText(3, 1, u"\u00E4x");
  EXPECT_EQ(m.GetRawCell(3, 1), EncodeWideText(u"\u00E4x"));
  EXPECT_EQ(m.GetCellWideText(3, 1), u"\u00E4x");
}
