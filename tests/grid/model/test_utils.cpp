// The grid's text routines as tables of cases.
#include <gtest/gtest.h>

#include <random>

#include "grid/model/GridUtils.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

using namespace grid;
using namespace std::string_literals;

namespace {

FixedLocaleSettings UsLocale() { return FixedLocaleSettings{}; }

FixedLocaleSettings EuLocale(char dateSep) {
  FixedLocaleSettings l;
  l.Decimal = ',';
  l.Thousand = '.';
  l.DateSep = dateSep;
  l.ShortDate = std::string("dd") + dateSep + "mm" + dateSep + "yyyy";
  return l;
}

}  // namespace

TEST(GridUtils, IntegersAndRanges) {
  EXPECT_EQ(Max(5, 5), 5);
  EXPECT_EQ(Min(5, 5), 5);
  EXPECT_EQ(Max(-1, 0), 0);
  EXPECT_EQ(Min(-1, 0), -1);
  struct Case {
    Integer value, min, max, expected;
  } cases[] = {{50, 10, 10, 50}, {5, 10, 0, 10}, {50, 0, 40, 40}, {5, 10, 3, 3},
               {20, 10, 40, 20}, {-5, -10, -1, -5}, {50, 60, 40, 40}};
  for (const Case& c : cases)
    EXPECT_EQ(LimitToRange(c.value, c.min, c.max), c.expected) << c.value << " " << c.min << " " << c.max;
  EXPECT_TRUE(CellInGridRect({1, 2, 3, 4}, 3, 2));
  EXPECT_FALSE(CellInGridRect({1, 2, 3, 4}, 4, 2));
}

TEST(GridUtils, Search) {
  EXPECT_EQ(UpperPos("BC", "abcd"), 2);
  EXPECT_EQ(CharIndex('c', "abcc"), 3);
  EXPECT_EQ(CharIndex('c', ""), 0);
  Integer p = 99;
  EXPECT_EQ(FindCharPos('z', "abc", p), 0);
  EXPECT_EQ(p, 99);
  EXPECT_EQ(FindCharPos('b', "abc", p), 2);
  EXPECT_EQ(p, 2);
  EXPECT_EQ(FindPos("x", "abc", p), 0);
  EXPECT_EQ(p, 0);

  AnsiString source = "key=:value", token;
  SplitAtDelimiter(source, "=:", token);
  EXPECT_EQ(token, "key");
  EXPECT_EQ(source, ":value");  // only the delimiter's first character goes
  source = "plain";
  SplitAtDelimiter(source, ",", token);
  EXPECT_EQ(token, "");
  EXPECT_EQ(source, "plain");

  EXPECT_EQ(FirstSetCharOutsideQuotes(CharSet("&|"), "\"a&b\"|c", p), '|');
  EXPECT_EQ(p, 6);
  EXPECT_EQ(FirstSetCharOutsideQuotes(CharSet("&"), "\"a&b", p), 0);
  EXPECT_EQ(p, -1);

  const WideString s = u"hello world";
  EXPECT_EQ(WidePos(u"world", s), 7);
  EXPECT_EQ(WidePos(u"", s), 0);
  EXPECT_EQ(WidePos(u"longer than the text", u"short"), 0);
  EXPECT_EQ(WideStrPos(nullptr, u"x"), nullptr);
  EXPECT_EQ(WideStrPos(s.c_str(), u"o w"), s.c_str() + 4);
}

TEST(GridUtils, CharacterClasses) {
  const FixedLocaleSettings us = UsLocale();
  const FixedLocaleSettings eu = EuLocale('.');
  EXPECT_TRUE(IsNumberChar(',', us));
  EXPECT_TRUE(IsNumberChar('.', eu));
  EXPECT_FALSE(IsNumberChar('+', us));
  EXPECT_TRUE(IsSignedNumberChar('+', us));
  EXPECT_TRUE(IsFloatChar('.'));
  EXPECT_FALSE(IsFloatChar(','));
  EXPECT_TRUE(IsSignOrDigit('-'));
  for (char c : std::string(" ',-.")) EXPECT_TRUE(IsWordBreakChar(c));
  EXPECT_FALSE(IsWordBreakChar('_'));
  EXPECT_EQ(LowerChar('Q'), 'q');
  EXPECT_EQ(LowerChar('\xC4'), '\xC4');
}

TEST(GridUtils, TextKinds) {
  struct Case {
    std::string text;
    bool html;
    TTextKind kind;
  } cases[] = {
      {"", true, TTextKind::tkPlain},
      {"=A1", true, TTextKind::tkFormula},
      {"{\\rtf1", true, TTextKind::tkRTF},
      {"<b>x</b>", true, TTextKind::tkHTML},
      {"<b>x</b>", false, TTextKind::tkPlain},
      {"<b>x", true, TTextKind::tkPlain},
      {"<B>x", true, TTextKind::tkHTML},
      {"a <CONTROL TYPE=\"CHECK\">", true, TTextKind::tkHTML},
      {EncodeWideText(u"x"), true, TTextKind::tkWide},
      {EncodeWideText(u"=1"), true, TTextKind::tkFormula},
      {"|\\", true, TTextKind::tkWide},
      {"plain text", true, TTextKind::tkPlain},
  };
  for (const Case& c : cases) EXPECT_EQ(GetTextKind(c.text, c.html), c.kind) << c.text;
}

TEST(GridUtils, Urls) {
  EXPECT_TRUE(HasURLScheme("http://x"));
  EXPECT_TRUE(HasURLScheme("mailto:me"));
  EXPECT_FALSE(HasURLScheme("MAILTO:me"));
  AnsiString s = "abc://def";
  StripURLScheme(s);
  EXPECT_EQ(s, "def");
  s = "mailto:xyz";
  StripURLScheme(s);
  EXPECT_EQ(s, "xyz");
  s = "no scheme";
  StripURLScheme(s);
  EXPECT_EQ(s, "no scheme");

  AnsiString res = "unchanged";
  EXPECT_FALSE(LinkifyURL("nothing here", "FTP://", res));
  EXPECT_EQ(res, "unchanged");
  ASSERT_TRUE(LinkifyURL("go ftp://x/y?z", "FTP://", res));
  EXPECT_EQ(res, "go <a href=\"ftp://x/y\">ftp://x/y</a>?z");
  ASSERT_TRUE(LinkifyURL("a<b HTTP://Host.org", "HTTP://", res));
  EXPECT_EQ(res, "a&lt;b <a href=\"HTTP://Host.org\">HTTP://Host.org</a>");

  TCellCoord cell;
  ASSERT_TRUE(ParseCellReference("r12c3", cell));
  EXPECT_EQ(cell, (TCellCoord{3, 12}));
  EXPECT_FALSE(ParseCellReference("R1", cell));
  EXPECT_FALSE(ParseCellReference("X12C3", cell));
  EXPECT_FALSE(ParseCellReference("R1xC3", cell));
  EXPECT_FALSE(ParseCellReference("R123", cell));
}

TEST(GridUtils, NumberKinds) {
  const FixedLocaleSettings us = UsLocale();
  struct Case {
    std::string text;
    TNumberKind kind;
  } cases[] = {
      {"", TNumberKind::nkNone},       {"-", TNumberKind::nkInteger},    {"12", TNumberKind::nkInteger},
      {"-12", TNumberKind::nkInteger}, {"1,234,567", TNumberKind::nkFloat}, {"1,23,4", TNumberKind::nkNone},
      {"1.5e3", TNumberKind::nkExponent}, {"1.5E-3", TNumberKind::nkExponent}, {"e5", TNumberKind::nkNone},
      {"1e", TNumberKind::nkNone},     {"1.2.3", TNumberKind::nkNone},   {"12-3", TNumberKind::nkNone},
      {"1,234", TNumberKind::nkFloat}, {"3.25", TNumberKind::nkFloat},   {"abc", TNumberKind::nkNone},
      {"-1.5e-3", TNumberKind::nkExponent},
  };
  for (const Case& c : cases) EXPECT_EQ(GetNumberKind(c.text, us), c.kind) << c.text;
  // Under a ',' decimal separator the roles swap.
  const FixedLocaleSettings eu = EuLocale('.');
  EXPECT_EQ(GetNumberKind("3,25", eu), TNumberKind::nkFloat);
  EXPECT_EQ(GetNumberKind("1.234.567", eu), TNumberKind::nkFloat);
  EXPECT_EQ(GetNumberKind("1,2,3", eu), TNumberKind::nkNone);
}

TEST(GridUtils, ExtractNumberText) {
  const FixedLocaleSettings us = UsLocale();
  const FixedLocaleSettings eu = EuLocale('.');
  EXPECT_EQ(ExtractNumberText("(1.234,50)", eu), "-1234.50");
  EXPECT_EQ(ExtractNumberText("EUR 5", us), "E");
  EXPECT_EQ(ExtractNumberText(" (12)", us), "-12");
  EXPECT_EQ(ExtractNumberText("$1,234.5", us), "1234.5");
  EXPECT_EQ(ExtractNumberText("-42 kg", us), "-42");
  EXPECT_EQ(ExtractNumberText("", us), "");
}

TEST(GridUtils, DateTimeParsing) {
  FixedLocaleSettings us = UsLocale();
  TDateTime dt = 0;
  ASSERT_TRUE(TryParseDateTime("3/4/2012 10:30", dt, us));
  EXPECT_DOUBLE_EQ(dt, rtl::EncodeDateTime(2012, 3, 4, 10, 30, 0, 0));
  EXPECT_FALSE(TryParseDateTime("3/4/2012 10", dt, us));
  EXPECT_FALSE(TryParseDateTime("3/4/2012 24:00", dt, us));
  ASSERT_TRUE(TryParseDateTime("3/4/2012 1:02:03", dt, us));
  EXPECT_DOUBLE_EQ(dt, rtl::EncodeDateTime(2012, 3, 4, 1, 2, 3, 0));
  EXPECT_FALSE(TryParseDateTime("3/4/2012 1:02:61", dt, us));
  EXPECT_FALSE(TryParseDateTime("3/4/2012 1:60", dt, us));
  EXPECT_FALSE(TryParseDateTime("3/4", dt, us));
  EXPECT_FALSE(TryParseDateTime("x/4/2012", dt, us));
  ASSERT_TRUE(TryParseDateTime("12/31/99", dt, us));
  EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(99, 12, 31));  // the year as written

  // The order of the fields follows the short date format.
  for (char sep : {'/', '.', '-'}) {
    const FixedLocaleSettings eu = EuLocale(sep);
    const std::string sp(1, sep);
    EXPECT_FALSE(TryParseDateTime("31" + sp + "4" + sp + "2012", dt, eu)) << sep;
    ASSERT_TRUE(TryParseDateTime("3" + sp + "4" + sp + "2012", dt, eu)) << sep;
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2012, 4, 3));
    EXPECT_TRUE(HasTwoDateSeparators("3" + sp + "4" + sp + "2012", eu));
    EXPECT_FALSE(HasTwoDateSeparators("3" + sp + sp + "2012", eu));
    EXPECT_FALSE(HasTwoDateSeparators(sp + "4" + sp + "2012", eu));
  }
  us.ShortDate = "yyyy-mm-dd";
  us.DateSep = '-';
  ASSERT_TRUE(TryParseDateTime("2020-02-29", dt, us));
  EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2020, 2, 29));
}

TEST(GridUtils, ShortDateReaders) {
  struct Case {
    std::string text;
    Word y, m, d;  // 0: no date
  } us[] = {
      {"3/4/05", 2005, 3, 4}, {"3/4/99", 1999, 3, 4}, {"3/4/25", 2025, 3, 4},  {"3/4/26", 1926, 3, 4},
      {"3/4/0", 2000, 3, 4},  {"12/25/2012", 2012, 12, 25}, {"3/4/2004", 2004, 3, 4}, {"3.4.2012", 2012, 3, 4},
      {"3-4-12", 2012, 3, 4}, {"1-2", 0, 0, 0},       {"nothing", 0, 0, 0},    {"a/4/2012", 0, 0, 0},
      {"3/4/x", 0, 0, 0},     {"3/4.2012", 0, 0, 0},
  };
  for (const Case& c : us) {
    const TDateTime expected = c.y == 0 ? 0 : rtl::EncodeDate(c.y, c.m, c.d);
    EXPECT_DOUBLE_EQ(ParseUSDate(c.text), expected) << c.text;
  }
  EXPECT_DOUBLE_EQ(ParseEUDate("3/4/05"), rtl::EncodeDate(2005, 4, 3));
  EXPECT_DOUBLE_EQ(ParseEUDate("25.12.2012"), rtl::EncodeDate(2012, 12, 25));
  // Years of two and four digits sort as the dates they are.
  EXPECT_LT(ParseUSDate("1/1/2004"), ParseUSDate("1/1/05"));
  EXPECT_THROW(ParseUSDate("13/40/2012"), rtl::EConvertError);
  EXPECT_THROW(ParseEUDate("31/2/2012"), rtl::EConvertError);
}

TEST(GridUtils, IncDateParts) {
  const TDateTime d = rtl::EncodeDateTime(2012, 1, 31, 12, 0, 0, 0);
  EXPECT_DOUBLE_EQ(IncDateParts(0, 0, 1, d, 0), d + 1);
  EXPECT_DOUBLE_EQ(IncDateParts(0, 0, static_cast<Word>(-1), d, 0), d - 1);
  EXPECT_DOUBLE_EQ(IncDateParts(1, 0, 0, d, 0), rtl::EncodeDate(2013, 1, 31));
  EXPECT_DOUBLE_EQ(IncDateParts(static_cast<Word>(-1), 0, 0, d, 0), rtl::EncodeDate(2011, 1, 31));
  EXPECT_DOUBLE_EQ(IncDateParts(0, static_cast<Word>(-1), 0, d, 0), rtl::EncodeDate(2011, 12, 31));
  const TDateTime dec = rtl::EncodeDate(2012, 12, 15);
  EXPECT_DOUBLE_EQ(IncDateParts(0, 1, 0, dec, 0), rtl::EncodeDate(2013, 1, 15));
  EXPECT_THROW(IncDateParts(0, 1, 0, d, 0), rtl::EConvertError);  // 31 February
  EXPECT_DOUBLE_EQ(IncDateParts(1, 1, 0, d, 0.5), d + 0.5);
  EXPECT_DOUBLE_EQ(IncDateParts(0, 0, 0, d, 2), d + 2);
}

TEST(GridUtils, LineBreakForms) {
  EXPECT_EQ(EncodeLineBreaks("a\r\nb\0c"s), "a\t\bb\x01" "c");
  EXPECT_EQ(EncodeLineBreaks("a\nb"), "a\nb");  // no CR: unchanged
  EXPECT_EQ(DecodeLineBreaks("a\t\bb\x01" "c", true), "a\r\nb\0c"s);
  EXPECT_EQ(DecodeLineBreaks("a\t\bb", false), "a");
  EXPECT_EQ(DecodeLineBreaks("a\tb", true), "a\tb");  // a lone CR form stays
  AnsiString s = "one\r\ntwo\r\nthree", line;
  TakeFirstLine(s, true, line);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(s, "two\r\nthree");
  TakeFirstLine(s, false, line);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(s, "");
  s = "single";
  TakeFirstLine(s, true, line);
  EXPECT_EQ(line, "single");
  EXPECT_EQ(s, "");
  EXPECT_EQ(LineCount("a\rb\rc", true), 3);
  EXPECT_EQ(LineCount("a\rb\rc", false), 1);

  s = "a\r\nb\rc";
  PackLineBreaks(s);
  EXPECT_EQ(s, "\"a\x0B" "b\rc\"");
  UnpackLineBreaks(s);
  EXPECT_EQ(s, "\"a\r\nb\rc\"");
  s = "x~y";
  ExpandTildeBreaks(s);
  EXPECT_EQ(s, "x\r\ny");
  s = "^";
  ExpandTildeBreaks(s);
  EXPECT_EQ(s, "");
  EXPECT_EQ(ExpandLineBreakEscapes("a\\nb\\x"), "a\rb\\x");
  EXPECT_EQ(CRToLF("a\r\nb"), "a\n\nb");
  s = "secret";
  FillWithChar(s, '*');
  EXPECT_EQ(s, "******");
  EXPECT_EQ(RemoveQuoteChar('"', "say \"\"hi\"\" \"x"), "say \"hi\" x");
  EXPECT_EQ(RemoveQuoteChar('"', "none"), "none");
  EXPECT_EQ(RemoveQuoteChar('"', ""), "");
}

TEST(GridUtils, OemText) {
  FixedLocaleSettings l;
  AnsiString s = "\x84\x94\x81 \xE1";  // CP437: a-, o-, u-umlaut, sharp s
  OemToAnsiText(s, l);
  EXPECT_EQ(s, "\xC3\xA4\xC3\xB6\xC3\xBC \xC3\x9F");
  l.OEM = 850;
  s = "\x9B";  // CP850: o with stroke
  OemToAnsiText(s, l);
  EXPECT_EQ(s, "\xC3\xB8");
}

TEST(GridUtils, DelimiterCounting) {
  Integer p = -5;
  EXPECT_EQ(SingleCharPos(',', "a,,", p), 3);
  EXPECT_EQ(p, 3);
  EXPECT_EQ(SingleCharPos(',', "a,,b", p), 0);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(SingleCharPos(',', "a,,,b", p), 4);
  EXPECT_EQ(SingleCharCount('"', "a\"\"b\"c"), 1);
  EXPECT_EQ(SingleCharCount(';', "a;b;;c;d"), 2);
  EXPECT_EQ(CharCount(';', "a;b;;c;d"), 4);
}

TEST(GridUtils, MixedCase) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"mcdonald", "McDonald"},
      {"mary mcintosh", "Mary McIntosh"},
      {"henry iii", "Henry III"},
      {"O'NEIL-SMITH", "O'Neil-Smith"},
      {"ann-marie o'brien", "Ann-Marie O'Brien"},
      {"(john", "(john"},
      {"JOHN SMITH", "John Smith"},
      {"louis ii", "Louis II"},
  };
  for (const Case& c : cases) EXPECT_EQ(MixedCase(c.in), c.out) << c.in;
}

TEST(GridUtils, WideTextRoundTripOverRandomUtf16) {
  std::mt19937 rng(4711);
  for (int n = 0; n < 2000; ++n) {
    WideString w(rng() % 40, u'\0');
    for (WideChar& c : w) {
      switch (rng() % 4) {
        case 0: c = static_cast<WideChar>(rng() % 0x80); break;
        case 1: c = static_cast<WideChar>(0xD800 + rng() % 0x800); break;  // surrogates, paired or not
        default: c = static_cast<WideChar>(rng() % 0x10000); break;
      }
    }
    const AnsiString encoded = EncodeWideText(w);
    ASSERT_EQ(encoded.size(), 2 + 2 * w.size());
    ASSERT_EQ(DecodeWideText(encoded), w);
  }
  EXPECT_EQ(EncodeWideText(u"\u00C4"), "|\\\x00\xC4"s);
  EXPECT_EQ(DecodeWideText("plain \xC3\xA4"), u"plain \u00E4");
  EXPECT_EQ(DecodeWideText("|\\\x00" "A\x00"s), u"A");  // an odd byte at the end is dropped
}
