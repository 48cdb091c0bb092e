// The text helpers, entity coding, ring buffer, token parser, character
// encoding and wide string list.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"

using namespace htmldoc;

TEST(TpsStrings, CaseTrimCompareAndSearch) {
  EXPECT_EQ(TpsStrings::LowerCase("AbC-\xC3\x89"), "abc-\xC3\x89");
  EXPECT_EQ(TpsStrings::UpperCase("abc-\xC3\xA9"), "ABC-\xC3\xA9");
  EXPECT_EQ(TpsStrings::WideLowerCase(u"ABC\u00C9\u0416"), u"abc\u00C9\u0416");
  EXPECT_EQ(TpsStrings::WideUpperCase(u"abc\u00E9"), u"ABC\u00E9");
  // A lone surrogate has no 8-bit form and does not survive the round trip.
  EXPECT_EQ(TpsStrings::WideLowerCase(WideString(1, 0xD800)), u"\uFFFD");
  EXPECT_EQ(TpsStrings::Trim("\t\r\n x y \x01"), "x y");
  EXPECT_EQ(TpsStrings::CompareText("Utf-8", "UTF-8"), 0);
  EXPECT_LT(TpsStrings::CompareText("a", "B"), 0);
  EXPECT_EQ(TpsStrings::Pos("b", "abcb"), 2);
  EXPECT_EQ(TpsStrings::Pos("B", "abcb"), 0);
  EXPECT_EQ(TpsStrings::IntToStr(-42), "-42");
  EXPECT_EQ(TpsStrings::Format("%s=%d", {"a", 5}), "a=5");
  struct Case {
    const char* chars;
    const char* text;
    Integer start, result;
  };
  const Case cases[] = {{";,", "a,b;c", 1, 2}, {";,", "a,b;c", 3, 4}, {";,", "a,b;c", 5, 0},
                        {"", "abc", 1, 0},     {"c", "abc", -3, 3},   {"x", "", 1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(TpsStrings::FindFirstOf(c.chars, c.text, c.start), c.result) << c.text << c.start;
}

TEST(Entities, DecodeEntitiesW) {
  struct Case {
    const char16_t* text;
    const char16_t* decoded;
  };
  const Case cases[] = {
      {u"a &amp b &lt; c", u"a &amp b < c"},
      {u"&#x41;&#66;", u"AB"},
      {u"&unknown;", u"&unknown;"},
      {u"&AMP;", u"&AMP;"},
      {u"x & y", u"x & y"},
      {u"&&amp;", u"&&"},
      {u"&;", u"&;"},
      {u"trailing &", u"trailing &"},
      {u"&eacute;t&eacute;", u"\u00E9t\u00E9"},
      {u"&nbsp;&euro;&trade;", u"\u00A0\u20AC\u2122"},
      {u"&#0;", u"\uFFFD"},
      {u"&#x110000;", u"\uFFFD"},
      {u"&#128512;", u"\U0001F600"},
      {u"&#x1F600;!", u"\U0001F600!"},
      // Surrogate references in a pair make one character; alone, U+FFFD.
      {u"&#xD83D;&#xDE00;", u"\U0001F600"},
      {u"&#55357;&#56832;", u"\U0001F600"},
      {u"&#xD83D;", u"\uFFFD"},
      {u"&#xD83D;x&#xDE00;", u"\uFFFDx\uFFFD"},
      {u"&#xDE00;&#xD83D;", u"\uFFFD\uFFFD"},
      {u"&#xD83D;&amp;", u"\uFFFD&"},
      {u"&#xD83D;&#x41;", u"\uFFFDA"},
      // A long run of digits is still one reference.
      {u"&#0000000000000000000065;", u"A"},
      {u"&#00000000000000000000000000000000000000000000000000000000000000000x;", u"&#00000000000000000000000000000000000000000000000000000000000000000x;"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeEntitiesW(c.text), c.decoded) << rtl::WideToUtf8(c.text);
}

TEST(Entities, DecodeEntitiesWritesUtf8) {
  struct Case {
    const char* text;
    const char* decoded;
  };
  const Case cases[] = {
      {"a &amp b &lt; c", "a &amp b < c"},
      {"&eacute;", "\xC3\xA9"},
      {"&euro;", "\xE2\x82\xAC"},
      {"&#128512;", "\xF0\x9F\x98\x80"},
      {"&#xD83D;&#xDE00;", "\xF0\x9F\x98\x80"},
      {"&#0;", "\xEF\xBF\xBD"},
      {"&bogus; &gt", "&bogus; &gt"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeEntities(c.text), c.decoded) << c.text;
}

TEST(Entities, DecodingManyAmpersandsStaysCheap) {
  // Every "&" looks for a ";" that only the last character is: the search
  // must not start again from each "&".
  AnsiString text(200000, '&');
  text += ';';
  EXPECT_EQ(DecodeEntities(text), text);
  AnsiString numeric;
  for (int i = 0; i < 50000; ++i) numeric += "&#1";
  numeric += ';';
  EXPECT_EQ(DecodeEntities(numeric).size(), numeric.size() - 3);  // the last "&#1;" decodes
}

TEST(Entities, EncodeEntities) {
  struct Case {
    std::u16string text;
    bool numeric;
    const char* encoded;
  };
  const Case cases[] = {
      {u"\u00E9", false, "&eacute;"},
      {u"\u00E9", true, "&#233;"},
      {u"\u03A9", false, "&#937;"},
      {u"<a & b>", false, "&lt;a &amp; b&gt;"},
      {u"<", true, "&#60;"},
      {u"\"'", false, "&quot;'"},
      {u"plain", true, "plain"},
      {u"\u00A0\u2014", false, "&nbsp;&mdash;"},
      {u"\U0001F600", false, "&#128512;"},
      {u"\U0001F600", true, "&#128512;"},
      {std::u16string(1, 0xD83D), false, "&#55357;"},
      {std::u16string(1, 0x85), false, "\x85"},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeEntities(c.text, c.numeric), c.encoded);
}

TEST(Entities, EncodeThenDecodeGivesTheTextBack) {
  const std::u16string text = u"Caf\u00E9 <b> & \u201Cquotes\u201D \u03A9 \U0001F600 \u00A0end";
  for (bool numeric : {false, true})
    EXPECT_EQ(DecodeEntitiesW(rtl::Utf8ToWide(EncodeEntities(text, numeric))), text);
}

TEST(Helpers, CollapseAndTrim) {
  EXPECT_EQ(CollapseWhitespace(" a\t\r\n b "), "a b");
  EXPECT_EQ(CollapseWhitespace("  \t "), "");
  EXPECT_EQ(CollapseWhitespace("a  b\nc"), "a b c");
  EXPECT_EQ(TrimSpaces("  \ta b\t  "), "\ta b\t");
  EXPECT_EQ(TrimSpaces("   "), "");
  AnsiString s = "xyz";
  DeleteFirstChar(s);
  EXPECT_EQ(s, "yz");
  s.clear();
  DeleteFirstChar(s);
  EXPECT_EQ(s, "");
  WideString w = u" \t a \t";
  TrimTrailingBlanksW(w);
  EXPECT_EQ(w, u" \t a");
  TrimLeadingBlanksW(w);
  EXPECT_EQ(w, u"a");
  AnsiString a = "\t  x ";
  TrimLeadingBlanks(a);
  EXPECT_EQ(a, "x ");
  EXPECT_EQ(CollapseBlanksW(u"a \t b\t\tc  "), u"a b\tc ");
}

TEST(Helpers, Numbers) {
  struct HexCase {
    const char* text;
    Integer value;
  };
  const HexCase hex[] = {{"ff", 255}, {"  1A  ", 26}, {"12zz", 0x12}, {"zz", 0}, {"", 0},
                         {"FFFFFFFF", -1}, {"\t1", 0}};
  for (const auto& c : hex) EXPECT_EQ(HexToInt(c.text), c.value) << c.text;
  EXPECT_EQ(ByteToHex(0), "00");
  EXPECT_EQ(ByteToHex(0xAB), "ab");
  EXPECT_EQ(ByteToHex(7), "07");

  struct IntCase {
    const char* text;
    bool ok;
    Integer value;
  };
  const IntCase ints[] = {{"12", true, 12},   {"  -7", true, -7},    {"$1F", true, 31},
                          {"0x10", true, 16}, {"x10", true, 16},     {"12 ", false, 0},
                          {"", false, 0},     {"1.5", false, 0},     {"2147483648", false, 0},
                          {"+3", true, 3}};
  for (const auto& c : ints) {
    Integer value = 0;
    EXPECT_EQ(TryParseInt(c.text, value), c.ok) << c.text;
    if (c.ok) { EXPECT_EQ(value, c.value) << c.text; }
  }

  struct FloatCase {
    const char* text;
    bool ok;
    double value;
  };
  const FloatCase floats[] = {{" 1.5 ", true, 1.5}, {"-2", true, -2}, {"1e2", true, 100},
                              {"abc", false, 0},    {"", false, 0},   {"1,5", false, 0}};
  for (const auto& c : floats) {
    double value = 0;
    EXPECT_EQ(TryParseFloat(c.text, value), c.ok) << c.text;
    if (c.ok) { EXPECT_DOUBLE_EQ(value, c.value) << c.text; }
  }
  const FloatCase percents[] = {{"50%", true, 50},   {" 12.5 % ", true, 12.5}, {"0%", true, 0},
                                {"-1%", false, 0},   {"50", false, 0},         {"%", false, 0},
                                {"x%", false, 0}};
  for (const auto& c : percents) {
    double value = 0;
    EXPECT_EQ(ParsePercentage(c.text, value), c.ok) << c.text;
    if (c.ok) { EXPECT_DOUBLE_EQ(value, c.value) << c.text; }
  }
}

TEST(Helpers, PopListInteger) {
  struct Case {
    const char* list;
    bool ok;
    Integer value;
    const char* rest;
  };
  const Case cases[] = {{"12, 7", true, 12, " 7"}, {" 7", true, 7, ""},  {",5", false, 0, ",5"},
                        {"a,5", false, 0, "a,5"},  {"", false, 0, ""},   {"3,", true, 3, ""},
                        {" 4 ,5,6", true, 4, "5,6"}};
  for (const auto& c : cases) {
    AnsiString list = c.list;
    Integer value = -99;
    EXPECT_EQ(PopListInteger(list, value), c.ok) << c.list;
    EXPECT_EQ(list, c.rest) << c.list;
    if (c.ok) { EXPECT_EQ(value, c.value) << c.list; }
  }
}

TEST(Helpers, SplitJoinAndLines) {
  EXPECT_EQ(SplitAndTrim("a , b,,", ','), (TStringArray{"a", "b", "", ""}));
  EXPECT_EQ(SplitAndTrim("", ','), TStringArray{});
  EXPECT_EQ(SplitAndTrim(" x ", ','), TStringArray{"x"});
  EXPECT_EQ(SplitAndTrim(";", ';'), (TStringArray{"", ""}));

  auto list = TextToStringList("one\r\ntwo\r\n\r\nlast");
  ASSERT_EQ(list->Count(), 4);
  EXPECT_EQ(list->Get(2), "");
  EXPECT_EQ(list->Get(3), "last");
  EXPECT_EQ(StringsToText(*list), "one\r\ntwo\r\n\r\nlast\r\n");
  EXPECT_EQ(TextToStringList("a\r\n")->Count(), 1);
  EXPECT_EQ(TextToStringList("")->Count(), 0);
  EXPECT_EQ(TextToStringList("a\nb")->Count(), 1);  // only CR LF separates

  AnsiString joined;
  AppendSeparated(joined, "a");
  AppendSeparated(joined, "b");
  EXPECT_EQ(joined, "a;b");
}

TEST(Helpers, SmallPredicatesAndBuilders) {
  EXPECT_TRUE(IsWideBlank(u'\t'));
  EXPECT_FALSE(IsWideBlank(u'\n'));
  EXPECT_TRUE(IsBlank(' '));
  EXPECT_FALSE(IsBlank('\r'));
  EXPECT_TRUE(IsWideQuote(u'\''));
  EXPECT_TRUE(IsWideQuote(u'"'));
  EXPECT_FALSE(IsWideQuote(u'`'));
  EXPECT_EQ(SpaceString(3), "   ");
  EXPECT_EQ(SpaceString(-2), "");
  EXPECT_EQ(ZeroPad("7", 3), "007");
  EXPECT_EQ(ZeroPad("1234", 3), "1234");
  EXPECT_EQ(WideCharToWideString(u'x'), u"x");
  EXPECT_EQ(CharToString('y'), "y");
  const std::u16string delimiters = u"()[]\",;.:-_!?#";
  for (char16_t c : delimiters) {
    EXPECT_TRUE(IsDelimiterChar(c));
    EXPECT_EQ(GetCharClass(c), 1);
  }
  for (char16_t c : std::u16string(u"a0@/'&\u00E9")) {
    EXPECT_FALSE(IsDelimiterChar(c));
    EXPECT_EQ(GetCharClass(c), 2);
  }
  EXPECT_EQ(GetCharClass(u' '), 0);
  EXPECT_EQ(GetCharClass(u'\t'), 0);
}

TEST(Helpers, PositionsAndSearches) {
  EXPECT_EQ(CopyFromTo("abcdef", 2, 4), "bcd");
  EXPECT_EQ(CopyFromTo("abcdef", 4, 2), "");
  EXPECT_EQ(TextBetweenChars("rgb(1,2,3)", '(', ')'), "1,2,3");
  EXPECT_EQ(TextBetweenChars("rgb()", '(', ')'), "");
  EXPECT_EQ(TextBetweenChars("rgb 1,2)", '(', ')'), "");
  EXPECT_EQ(TextBetweenChars("a)b(c", '(', ')'), "");

  Integer pos = 0;
  EXPECT_TRUE(FindCharW(u"a.b.c", u'.', 3, pos));
  EXPECT_EQ(pos, 4);
  EXPECT_FALSE(FindCharW(u"a.b.c", u'.', 5, pos));
  EXPECT_EQ(pos, -1);
  EXPECT_TRUE(FindCharBackW(u"a.b.c", u'.', 1, 5, pos));
  EXPECT_EQ(pos, 4);
  EXPECT_TRUE(FindCharBackW(u"a.b.c", u'.', 1, 3, pos));
  EXPECT_EQ(pos, 2);
  EXPECT_FALSE(FindCharBackW(u"a.b.c", u'.', 3, 3, pos));
  EXPECT_EQ(pos, -1);
  EXPECT_TRUE(FindCharBackW(u"a.", u'.', 0, 99, pos));
  EXPECT_EQ(pos, 2);

  EXPECT_EQ(LastPos("abcabc", "bc"), 5);
  EXPECT_EQ(LastPos("abcabc", "x"), -1);
  EXPECT_EQ(LastPos("abc", ""), -1);
  EXPECT_TRUE(FindSubString("abcabc", "bc", 3, pos));
  EXPECT_EQ(pos, 5);
  EXPECT_FALSE(FindSubString("abcabc", "BC", 1, pos));
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(SkipSpaces("  x", 1), 3);
  EXPECT_EQ(SkipSpaces("x  ", 2), -1);
  EXPECT_EQ(SkipSpaces("\tx", 1), 1);
  EXPECT_EQ(FindCharNotInSetW(u"  ab  ", u" ", true), 3);
  EXPECT_EQ(FindCharNotInSetW(u"  ab  ", u" ", false), 4);
  EXPECT_EQ(FindCharNotInSetW(u"   ", u" ", true), -1);
  EXPECT_EQ(FindCharNotInSetW(u"", u" ", false), -1);
}

TEST(Helpers, ReplaceAndDelete) {
  AnsiString a = "aXbXc";
  ReplaceAll(a, "X", "XX");  // scans on after the inserted text
  EXPECT_EQ(a, "aXXbXXc");
  ReplaceAll(a, "", "z");
  EXPECT_EQ(a, "aXXbXXc");
  WideString w = u"aaa";
  ReplaceAllW(w, u"a", u"ba");
  EXPECT_EQ(w, u"bababa");
  AnsiString d = "a--b----c";
  DeleteAll(d, "--");
  EXPECT_EQ(d, "abc");
  DeleteAll(d, "");
  EXPECT_EQ(d, "abc");
  WideString t = u"\ta\t";
  ExpandTabsW(t, u'.', 2);
  EXPECT_EQ(t, u"..a..");
  WideString u = u"\t";
  ExpandTabsW(u, u'.', 0);
  EXPECT_EQ(u, u"\t");
}

TEST(Helpers, SpacesToNbsp) {
  struct Case {
    const char16_t* text;
    const char16_t* result;
  };
  const Case cases[] = {{u"a   b", u"a\u00A0\u00A0 b"}, {u"a b", u"a b"}, {u"  ", u"\u00A0 "},
                        {u"", u""},                      {u" x  ", u" x\u00A0 "}};
  for (const auto& c : cases) {
    WideString text = c.text;
    SpacesToNbsp(text);
    EXPECT_EQ(text, c.result);
  }
}

TEST(Helpers, ExtractCssUrl) {
  struct Case {
    const char* value;
    const char* url;
  };
  const Case cases[] = {{" URL( 'a b.png' ) ", "a b.png"},
                        {"url(x.png", ""},
                        {"url(x.png)", "x.png"},
                        {"url(\"x.png')", "x.png"},
                        {"url()", ""},
                        {"url( )", ""},
                        {"uri(x)", ""},
                        {"url(\")", "\""},
                        {"none", ""}};
  for (const auto& c : cases) EXPECT_EQ(ExtractCssUrl(c.value), c.url) << c.value;
}

TEST(RingBuffer, KeepsTheLastCharacters) {
  struct Case {
    Integer capacity;
    const char* added;
    const char* text;
  };
  const Case cases[] = {{3, "abcde", "cde"}, {3, "ab", "ab"},   {3, "abc", "abc"},
                        {3, "abcd", "bcd"},  {3, "abcdef", "def"}, {3, "", ""},
                        {1, "xyz", "z"},     {300, "q", "q"}};
  for (const auto& c : cases) {
    TpsStringRingBuffer buffer(c.capacity);
    for (const char* p = c.added; *p; ++p) buffer.Add(*p);
    EXPECT_EQ(buffer.GetText(), c.text) << c.capacity << " " << c.added;
  }
  TpsStringRingBuffer big(256);
  AnsiString expect;
  for (int i = 0; i < 1000; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    big.Add(c);
    expect += c;
  }
  EXPECT_EQ(big.GetText(), expect.substr(1000 - 256));
}

TEST(TokenParser, SplitsOnRunsOfTheDelimiter) {
  TpsTokenParser parser("  1px  solid");
  AnsiString token;
  EXPECT_TRUE(parser.NextToken(' ', token));
  EXPECT_EQ(token, "1px");
  EXPECT_TRUE(parser.NextToken(' ', token));
  EXPECT_EQ(token, "solid");
  EXPECT_FALSE(parser.NextToken(' ', token));
  EXPECT_EQ(token, "");
  TpsTokenParser mixed("a,b c");
  EXPECT_TRUE(mixed.NextToken(',', token));
  EXPECT_EQ(token, "a");
  EXPECT_TRUE(mixed.NextToken(',', token));
  EXPECT_EQ(token, "b c");
}

TEST(CharacterEncoding, NamesCodePagesAndWidths) {
  TpsCharacterEncoding encoding(" UTF-8 ");
  EXPECT_TRUE(encoding.IsKnown());
  EXPECT_EQ(encoding.GetCodePage(), 65001);
  EXPECT_EQ(encoding.GetCharsetName(), "utf-8");
  EXPECT_EQ(encoding.GetCharBits(), 32);
  encoding.SetCharsetName("latin1");
  EXPECT_FALSE(encoding.IsKnown());
  EXPECT_EQ(encoding.GetCharsetName(), "");
  EXPECT_EQ(encoding.GetCharBits(), 0);
  encoding.SetCodePage(1251);
  EXPECT_EQ(encoding.GetCharsetName(), "windows-1251");
  EXPECT_EQ(encoding.GetCharBits(), 8);
  auto cp437 = TpsCharacterEncoding::CreateFromCodePage(437);
  EXPECT_TRUE(cp437.IsKnown());
  EXPECT_EQ(cp437.GetCharBits(), 0);
  EXPECT_EQ(cp437.GetCharsetName(), "");
  EXPECT_TRUE(TpsCharacterEncoding::IsKnownCharset("Windows-1252"));
  EXPECT_FALSE(TpsCharacterEncoding::IsKnownCharset("latin1"));
  EXPECT_EQ(TpsCharacterEncoding::ExtractCharset("text/html; charset=utf-8"), "utf-8");
  EXPECT_EQ(TpsCharacterEncoding::ExtractCharset("text/html; charset= koi8-r "), "koi8-r");
  EXPECT_EQ(TpsCharacterEncoding::ExtractCharset("text/html"), "");
}

TEST(CharacterEncoding, ConvertsThroughItsCodePage) {
  struct Case {
    const char* charset;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"windows-1252", "caf\xE9 \x80", u"caf\u00E9 \u20AC"},
      {"iso-8859-15", "\xA4", u"\u20AC"},
      {"koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4", u"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {"windows-1251", "\xCF\xF0\xE8", u"\u041F\u0440\u0438"},
      {"utf-8", "\xE2\x82\xAC", u"\u20AC"},
  };
  for (const auto& c : cases) {
    TpsCharacterEncoding encoding(c.charset);
    EXPECT_EQ(encoding.Decode(c.bytes), c.text) << c.charset;
    const auto encoded = encoding.Encode(c.text);
    EXPECT_EQ(encoded.bytes, c.bytes) << c.charset;
    EXPECT_FALSE(encoded.Lossy()) << c.charset;
  }
  // A character the code page cannot hold is reported, not replaced quietly.
  const auto lossy = TpsCharacterEncoding("windows-1252").Encode(u"a\u041Fb");
  EXPECT_EQ(lossy.unmappable, std::vector<Integer>{1});
}

TEST(WidestringList, GrowsBySeventeenPastTheCount) {
  TpsWidestringList list;
  EXPECT_EQ(list.Capacity(), 10);
  for (int i = 0; i < 10; ++i) list.Add(u"x");
  EXPECT_EQ(list.Capacity(), 10);
  list.Add(u"eleventh");
  EXPECT_EQ(list.Capacity(), 27);
  EXPECT_EQ(list.Count(), 11);
  EXPECT_EQ(list.GetItem(10), u"eleventh");
}
