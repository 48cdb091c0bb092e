#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"

namespace rtl {
namespace {

TEST(Convert, ValPrefixesAndErrorPositions) {
  struct Case {
    const char* s;
    Integer value;  // when code is 0
    Integer code;
  } cases[] = {
      {"123", 123, 0},          {"  42", 42, 0},         {"-17", -17, 0},
      {"+5", 5, 0},             {"0", 0, 0},             {"$FF", 255, 0},
      {"$ff", 255, 0},          {"x1f", 31, 0},          {"X1F", 31, 0},
      {"0x10", 16, 0},          {"0X10", 16, 0},         {"-$10", -16, 0},
      {" +0x1A", 26, 0},        {"$FFFFFFFF", -1, 0},    {"$80000000", INT32_MIN, 0},
      {"2147483647", INT32_MAX, 0}, {"-2147483648", INT32_MIN, 0},
      {"2147483648", 0, 10},    {"$100000000", 0, 10},   {"12a", 0, 3},
      {"", 0, 1},               {"   ", 0, 4},           {"-", 0, 2},
      {"$", 0, 2},              {"0x", 0, 3},            {"12 ", 0, 3},
      {"1 2", 0, 2},            {"0x1G", 0, 4},          {"0y", 0, 2},
      {"\t1", 0, 1},            {"--1", 0, 2},           {"1.5", 0, 2},
  };
  for (const auto& c : cases) {
    Integer value = 777, code = -1;
    Val(c.s, value, code);
    EXPECT_EQ(code, c.code) << "'" << c.s << "'";
    if (c.code == 0) {
      EXPECT_EQ(value, c.value) << "'" << c.s << "'";
    }
    Integer v2 = 0;
    EXPECT_EQ(TryStrToInt(c.s, v2), c.code == 0) << c.s;
    EXPECT_EQ(StrToIntDef(c.s, -99), c.code == 0 ? c.value : -99) << c.s;
  }
}

TEST(Convert, Val64) {
  struct Case {
    const char* s;
    Int64 value;
    Integer code;
  } cases[] = {
      {"9223372036854775807", INT64_MAX, 0},
      {"-9223372036854775808", INT64_MIN, 0},
      {"9223372036854775808", 0, 19},
      {"$FFFFFFFFFFFFFFFF", -1, 0},
      {"0x100000000", 4294967296LL, 0},
      {"4294967296", 4294967296LL, 0},
      {"12z", 0, 3},
  };
  for (const auto& c : cases) {
    Int64 value = 0;
    Integer code = -1;
    Val(c.s, value, code);
    EXPECT_EQ(code, c.code) << c.s;
    if (c.code == 0) {
      EXPECT_EQ(value, c.value) << c.s;
      EXPECT_EQ(StrToInt64(c.s), c.value);
    }
  }
}

TEST(Convert, StrToIntRaisesWithTheMessage) {
  for (const char* bad : {"abc", "", "12 ", "2147483648"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "no exception for '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + AnsiString(bad) + "' is not a valid integer value");
    }
  }
  EXPECT_THROW(StrToInt64("1e5"), EConvertError);
  EXPECT_EQ(StrToInt(" -0x7fffffff"), -INT32_MAX);
}

TEST(Convert, IntToStrAndHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToStr(4000000000u), "4000000000");
  struct Case {
    Int64 value;
    bool wide;
    Integer digits;
    const char* expected;
  } cases[] = {
      {255, false, 4, "00FF"},       {0x1234, false, 2, "1234"},       {0, false, 0, "0"},
      {-1, false, 2, "FFFFFFFF"},    {-1, true, 2, "FFFFFFFFFFFFFFFF"}, {0xABCDEF, true, 8, "00ABCDEF"},
  };
  for (const auto& c : cases) {
    AnsiString r = c.wide ? IntToHex(c.value, c.digits) : IntToHex(static_cast<Integer>(c.value), c.digits);
    EXPECT_EQ(r, c.expected);
  }
}

TEST(Convert, StrToFloatIsLocaleFree) {
  struct Case {
    const char* s;
    bool ok;
    double value;
  } cases[] = {
      {"1.5", true, 1.5},      {" 2.5e3 ", true, 2500}, {"-.5", true, -0.5},   {"1.", true, 1.0},
      {"+3", true, 3},         {"1E-2", true, 0.01},    {"1e-400", true, 0.0}, {"1,5", false, 0},
      {"abc", false, 0},       {"", false, 0},          {"1e", false, 0},      {"1e400", false, 0},
      {".", false, 0},         {"1.2.3", false, 0},     {"0x10", false, 0},    {"NAN", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(TryStrToFloat(c.s, v), c.ok) << c.s;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.s;
    }
    EXPECT_DOUBLE_EQ(StrToFloatDef(c.s, 7.0), c.ok ? c.value : 7.0) << c.s;
  }
  try {
    StrToFloat("1,5");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1,5' is not a valid floating point value");
  }
  double d;
  Integer code;
  Val("3.25x", d, code);
  EXPECT_EQ(code, 5);
  Val(" 3.25", d, code);
  EXPECT_EQ(code, 0);
  EXPECT_DOUBLE_EQ(d, 3.25);
}

TEST(Convert, FloatToStrGeneralFormat) {
  struct Case {
    double value;
    const char* expected;
  } cases[] = {
      {0.1, "0.1"},
      {1e20, "1E20"},
      {1.5e-7, "1.5E-7"},
      {-0.5, "-0.5"},
      {100, "100"},
      {0, "0"},
      {-0.0, "0"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.1 + 0.2, "0.3"},
      {1e15, "1E15"},
      {1e14, "100000000000000"},
      {123456789012345678.0, "1.23456789012346E17"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.5e300, "-1.5E300"},
      {3.14159, "3.14159"},
      {1234567.125, "1234567.125"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.expected) << c.expected;
}

TEST(Convert, FloatToStrFFormats) {
  EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffExponent, 5, 3), "1.2345E+003");
  EXPECT_EQ(FloatToStrF(-0.00012, TFloatFormat::ffExponent, 3, 2), "-1.20E-04");
  EXPECT_EQ(FloatToStrF(0, TFloatFormat::ffExponent, 3, 1), "0.00E+0");
  EXPECT_EQ(FloatToStrF(1234.567, TFloatFormat::ffFixed, 15, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2), "1,234,567.89");
  EXPECT_EQ(FloatToStrF(-0.125, TFloatFormat::ffFixed, 15, 2), "-0.13");
  EXPECT_EQ(FloatToStrF(0.004, TFloatFormat::ffFixed, 15, 2), "0.00");
  EXPECT_EQ(FloatToStrF(9.999, TFloatFormat::ffFixed, 15, 2), "10.00");
  EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffGeneral, 3, 0), "1.23E3");
}

TEST(Convert, FormatFloatPictures) {
  struct Case {
    const char* picture;
    double value;
    const char* expected;
  } cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"0.00", 2.5, "2.50"},
      {"#,##0.0", 1234567.89, "1,234,567.9"},
      {"0.###", 1.5, "1.5"},
      {"0.###", 2, "2"},
      {"0.###", 1.23456, "1.235"},
      {"#,##0", 999, "999"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", -1234, "-1,234"},
      {"0.00", -0.001, "0.00"},
      {"000", 7, "007"},
      {"#.##", 0.5, ".5"},
      {"#", 0, ""},
      {"0", 2.5, "3"},
      {"0.0", 0.05, "0.1"},
      {"0", 123456, "123456"},
      {"0.00;(0.00)", -1.5, "(1.50)"},
      {"0.00;(0.00)", 1.5, "1.50"},
      {"0.0;-0.0;'zero'", 0, "zero"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.00012, "1.2E-4"},
      {"$#,##0.00", 1234.5, "$1,234.50"},
      {"0 'items'", 3, "3 items"},
      {"", 1.5, "1.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.picture, c.value), c.expected) << c.picture;
}

TEST(Convert, RoundIsBankersTrunctowardZero) {
  struct Case {
    double value;
    Int64 rounded, truncated;
  } cases[] = {
      {0.5, 0, 0},    {1.5, 2, 1},    {2.5, 2, 2},   {19.5, 20, 19}, {-2.5, -2, -2},
      {-0.5, 0, 0},   {-1.5, -2, -1}, {2.4999, 2, 2}, {2.6, 3, 2},   {-2.6, -3, -2},
      {1e15 + 0.5, 1000000000000000, 1000000000000000}, {0.0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.value), c.rounded) << c.value;
    EXPECT_EQ(Trunc(c.value), c.truncated) << c.value;
  }
  EXPECT_THROW(Round(std::nan("")), EInvalidOp);
  EXPECT_THROW(Trunc(1e300), EInvalidOp);
}

TEST(Convert, Booleans) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
  struct Case {
    const char* s;
    bool ok, value;
  } cases[] = {{"true", true, true}, {"FALSE", true, false}, {"-1", true, true}, {"0", true, false},
               {"2", true, true},    {"yes", false, false},  {"", false, false}};
  for (const auto& c : cases) {
    bool v = !c.value;
    EXPECT_EQ(TryStrToBool(c.s, v), c.ok) << c.s;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.s;
    }
  }
  EXPECT_THROW(StrToBool("maybe"), EConvertError);
}

}  // namespace
}  // namespace rtl
