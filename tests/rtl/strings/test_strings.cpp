#include <gtest/gtest.h>

#include "rtl/Strings.h"

namespace rtl {
namespace {

TEST(Strings, CopyClampsIndexAndCount) {
  struct Case {
    const char* s;
    Integer index, count;
    const char* expected;
  } cases[] = {
      {"Hello", 1, 5, "Hello"},  {"Hello", 2, 3, "ell"},   {"Hello", 0, 2, "He"},
      {"Hello", -5, 3, "Hel"},   {"Hello", 4, 100, "lo"},  {"Hello", 5, 1, "o"},
      {"Hello", 6, 1, ""},       {"Hello", 3, 0, ""},      {"Hello", 3, -1, ""},
      {"", 1, 1, ""},            {"Hello", 1, INT32_MAX, "Hello"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Copy(c.s, c.index, c.count), c.expected) << c.s << " " << c.index << " " << c.count;
    WideString w(c.s, c.s + std::char_traits<char>::length(c.s));
    WideString we(c.expected, c.expected + std::char_traits<char>::length(c.expected));
    EXPECT_EQ(Copy(w, c.index, c.count), we);
  }
  EXPECT_EQ(Copy("Hello", 3), "llo");
  EXPECT_EQ(Copy(u"Hello", 0), u"Hello");
}

TEST(Strings, PosAndPosEx) {
  struct Case {
    const char* sub;
    const char* s;
    Integer offset;
    Integer expected;
  } cases[] = {
      {"l", "Hello", 1, 3}, {"lo", "Hello", 1, 4}, {"x", "Hello", 1, 0},  {"", "Hello", 1, 0},
      {"H", "Hello", 1, 1}, {"l", "Hello", 4, 4},  {"l", "Hello", 5, 0},  {"o", "Hello", 5, 5},
      {"o", "Hello", 6, 0}, {"H", "Hello", 0, 0},  {"H", "Hello", -1, 0}, {"Hello!", "Hello", 1, 0},
      {"a", "", 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PosEx(c.sub, c.s, c.offset), c.expected) << c.sub << " in " << c.s << " from " << c.offset;
    if (c.offset == 1) {
      EXPECT_EQ(Pos(c.sub, c.s), c.expected);
    }
  }
  EXPECT_EQ(Pos(u"ll", u"Hello"), 3);
  EXPECT_EQ(Pos('=', "key=value"), 4);
  EXPECT_EQ(Pos(u'=', u"novalue"), 0);
  EXPECT_EQ(PosEx(u"l", u"Hello", 4), 4);
}

TEST(Strings, DeleteAndInsertClamp) {
  struct DelCase {
    Integer index, count;
    const char* expected;
  } dels[] = {
      {1, 1, "ello"}, {2, 3, "Ho"},      {4, 100, "Hel"},  {5, 1, "Hell"},  {6, 1, "Hello"},
      {0, 2, "Hello"}, {-1, 2, "Hello"}, {2, 0, "Hello"},  {2, -3, "Hello"},
  };
  for (const auto& c : dels) {
    AnsiString s = "Hello";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.expected) << c.index << " " << c.count;
    WideString w = u"Hello";
    Delete(w, c.index, c.count);
    EXPECT_EQ(w, WideString(s.begin(), s.end()));
  }
  struct InsCase {
    Integer index;
    const char* expected;
  } ins[] = {{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {10, "abcXY"}, {0, "XYabc"}, {-3, "XYabc"}};
  for (const auto& c : ins) {
    AnsiString s = "abc";
    Insert("XY", s, c.index);
    EXPECT_EQ(s, c.expected) << c.index;
  }
  WideString w = u"abc";
  Insert(u"XY", w, 3);
  EXPECT_EQ(w, u"abXYc");
}

TEST(Strings, TrimRemovesControlsAndBlanks) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01\x1F "), "x y");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim("   "), "");
  // Characters above 32 (including UTF-8 bytes of a non-breaking space) stay.
  EXPECT_EQ(Trim("\xC2\xA0x"), "\xC2\xA0x");
  EXPECT_EQ(Trim(u"\t x \u00A0"), u"x \u00A0");
}

TEST(Strings, CaseMappingAndComparison) {
  EXPECT_EQ(UpperCase("abc\xC3\xA4z"), "ABC\xC3\xA4Z");  // ASCII only
  EXPECT_EQ(LowerCase("ABC\xC3\x84Z"), "abc\xC3\x84z");
  EXPECT_EQ(AnsiUpperCase("stra\xC3\x9F" "e \xC3\xA4\xC3\xB6\xC3\xBC \xC3\xBF"),
            "STRA\xC3\x9F" "E \xC3\x84\xC3\x96\xC3\x9C \xC5\xB8");
  EXPECT_EQ(AnsiLowerCase("\xD0\x9F\xD0\xA0\xD0\x98"), "\xD0\xBF\xD1\x80\xD0\xB8");  // ПРИ
  EXPECT_EQ(WideUpperCase(u"\u03B1\u03C2\u0451"), u"\u0391\u03A3\u0401");
  EXPECT_EQ(WideLowerCase(u"\u0100\u0139\u0178"), u"\u0101\u013A\u00FF");

  struct Case {
    const char* a;
    const char* b;
    int sign;  // of CompareText
  } cases[] = {
      {"abc", "ABC", 0}, {"abc", "abd", -1}, {"b", "A", 1},     {"ab", "abc", -1},
      {"", "", 0},       {"a_", "A[", 1},    {"Z", "a", 1},     {"[", "a", 1},
  };
  for (const auto& c : cases) {
    Integer r = CompareText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(SameText(c.a, c.b), c.sign == 0);
  }
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
  EXPECT_EQ(CompareStr("abc", "abc"), 0);
  EXPECT_GT(CompareStr("\xC3\xA4", "z"), 0);
  EXPECT_TRUE(AnsiSameText("\xC3\x84pfel", "\xC3\xA4PFEL"));
  EXPECT_FALSE(SameText("\xC3\x84", "\xC3\xA4"));
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
  EXPECT_TRUE(SameText(u"Meta", u"META"));
  EXPECT_TRUE(StartsText("http:", "HTTP://x"));
  EXPECT_TRUE(EndsText(".HTM", "index.htm"));
  EXPECT_TRUE(ContainsText("Hello World", "WORLD"));
  EXPECT_FALSE(StartsStr("http:", "HTTP://x"));
}

TEST(Strings, StringReplace) {
  using F = TReplaceFlag;
  struct Case {
    const char* s;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  } cases[] = {
      {"a-b-c", "-", "+", {}, "a+b-c"},
      {"a-b-c", "-", "+", {F::rfReplaceAll}, "a+b+c"},
      {"aXbxc", "x", "_", {F::rfReplaceAll}, "aXb_c"},
      {"aXbxc", "x", "_", {F::rfReplaceAll, F::rfIgnoreCase}, "a_b_c"},
      {"aXbxc", "x", "_", {F::rfIgnoreCase}, "a_bxc"},
      {"aaa", "aa", "b", {F::rfReplaceAll}, "ba"},
      {"abc", "", "x", {F::rfReplaceAll}, "abc"},
      {"abc", "abc", "", {}, ""},
      {"\xC3\xA4x\xC3\x84", "\xC3\x84", "A", {F::rfReplaceAll, F::rfIgnoreCase}, "AxA"},
  };
  for (const auto& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s;
  EXPECT_EQ(StringReplace(u"a.b.c", u".", u"::", {F::rfReplaceAll}), u"a::b::c");
}

TEST(Strings, QuotingAndSmallHelpers) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("'it''s' rest", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "'open");
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(StringOfChar(u'\u2014', 2), u"\u2014\u2014");
  EXPECT_EQ(DupeString("ab", 3), "ababab");
  EXPECT_EQ(LastDelimiter("\\/", "a/b\\c.txt"), 4);
  EXPECT_EQ(LastDelimiter(".", "abc"), 0);
  EXPECT_TRUE(IsDelimiter(",;", "a,b", 2));
  EXPECT_FALSE(IsDelimiter(",;", "a,b", 4));
  EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
}

}  // namespace
}  // namespace rtl
