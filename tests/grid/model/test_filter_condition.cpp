// The filter condition language as a table of conditions and values.
#include <gtest/gtest.h>

#include "grid/model/FilterCondition.h"

using namespace grid;

namespace {

struct Case {
  std::string condition;
  std::string value;
  bool caseSensitive;
  bool expected;
};

void CheckCases(const std::vector<Case>& cases, const LocaleSettings& locale) {
  for (const Case& c : cases)
    EXPECT_EQ(MatchFilterExpression(c.condition, c.value, c.caseSensitive, locale), c.expected)
        << "'" << c.condition << "' on '" << c.value << "'";
}

}  // namespace

TEST(FilterCondition, Helpers) {
  EXPECT_EQ(RemoveBlanksOutsideQuotes("a b \"c d\" e"), "ab\"c d\"e");
  EXPECT_EQ(ClosingParenPos("(a(b)c)d"), 7);
  EXPECT_EQ(ClosingParenPos("(a(b"), 0);
  EXPECT_EQ(ClosingParenPos(""), 0);
  FixedLocaleSettings eu;
  eu.Decimal = ',';
  eu.Thousand = '.';
  EXPECT_EQ(NormalizeNumberText("1.234,5", eu), "1234.5");
  EXPECT_EQ(NormalizeNumberText("1,234.5", FixedLocaleSettings{}), "1234.5");
}

TEST(FilterCondition, WildcardsAndNegation) {
  CheckCases(
      {
          {"", "", true, true},
          {"", "x", true, false},
          {"abc*", "abcdef", true, true},
          {"abc*", "abc", true, true},
          {"abc*", "xabc", true, false},
          {"a?c", "abc", true, true},
          {"a?c", "ac", true, false},
          {"*c", "abc", true, true},
          {"a*b*c", "aXXbYYc", true, true},
          {"a*b*c", "aXXcYYb", true, false},
          {"!abc", "abc", true, false},
          {"!abc", "abd", true, true},
          {"!abc", "", true, true},
          {"ABC", "abc", false, true},
          {"ABC", "abc", true, false},
          {"\"a b\"", "a b", true, true},
          {"a b", "ab", true, true},  // blanks outside quotes are dropped
          {"=5", "5", true, true},
          {"=5", "6", true, false},
          {"\"a&b\"", "a&b", true, true},  // operators inside quotes are text
          {"***", "", true, true},
      },
      FixedLocaleSettings{});
}

TEST(FilterCondition, ComparisonsByNumberDateAndText) {
  const FixedLocaleSettings us;
  CheckCases(
      {
          {">10", "9", true, false},
          {">10", "11", true, true},
          {">=10", "10", true, true},
          {">10", "10", true, false},
          {">10", "1,000", true, true},
          {"<10", "9.5", true, true},
          {"<=10", "10", true, true},
          {">10&<20", "15", true, true},
          {">10&<20", "25", true, false},
          {">10&<20", "5", true, false},
          {">b", "c", true, true},
          {">B", "c", false, true},
          {">b", "a", true, false},
          {">1/1/2010", "1/2/2010", true, true},
          {"<1/1/2010", "1/2/2010", true, false},
          {">=1/2/2010", "1/2/2010", true, true},
          {">9", "10", true, true},      // numbers, not text
          {">abc", "abd", true, true},   // text
      },
      us);
  FixedLocaleSettings eu;
  eu.Decimal = ',';
  eu.Thousand = '.';
  eu.DateSep = '.';
  eu.ShortDate = "dd.mm.yyyy";
  CheckCases(
      {
          {">10", "10,5", true, true},
          {">10,5", "10,25", true, false},
          {">1.000", "1.500", true, true},
          {">01.02.2010", "02.02.2010", true, true},
      },
      eu);
}

TEST(FilterCondition, LeftToRightWithoutPrecedenceAndGroups) {
  CheckCases(
      {
          {"a|b&c", "a", true, false},
          {"a|b", "b", true, true},
          {"a;b", "b", true, true},
          {"a^b", "b", true, true},
          {"(a|b)&c", "a", true, false},
          {"(a|b)&*", "a", true, true},
          {"a&(b|*)", "a", true, true},
          {"a&(b|c)", "a", true, false},
          {"x|(a|b)", "b", true, true},
          {"((a))", "a", true, true},
          {"!x&!y", "z", true, true},
          {"!x&!y", "y", true, false},
      },
      FixedLocaleSettings{});
}

TEST(FilterCondition, OpenCasesAsChosen) {
  const FixedLocaleSettings us;
  // A group without its ")" is closed at the condition's end.
  EXPECT_TRUE(MatchFilterExpression("(a|b", "b", true, us));
  EXPECT_FALSE(MatchFilterExpression("(a|b", "c", true, us));
  EXPECT_TRUE(MatchFilterExpression("((((", "", true, us));
  // A quoted operand keeps its blanks.
  EXPECT_TRUE(MatchFilterExpression(">\"a b\"", "a c", true, us));
  EXPECT_FALSE(MatchFilterExpression(">\"a b\"", "a a", true, us));
  EXPECT_TRUE(MatchFilterExpression("<=\"new york\"", "new york", true, us));
}

TEST(FilterCondition, OperandsAreCutTo255Characters) {
  const FixedLocaleSettings us;
  const std::string longA(300, 'a');
  // The value and the operand agree on their first 255 characters: equal.
  EXPECT_TRUE(MatchFilterExpression(">=" + longA, longA.substr(0, 255) + "b", true, us));
  EXPECT_FALSE(MatchFilterExpression(">" + longA, longA.substr(0, 255) + "b", true, us));
  EXPECT_TRUE(MatchFilterExpression("<=" + longA + "b", longA, true, us));
}
