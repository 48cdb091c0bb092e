// Tag codes, colour names, entities, edit messages and code pages.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"

using namespace htmldoc;

TEST(TagCodes, EveryNameBothWays) {
  const char* const names[39] = {
      "i",  "b",  "u",  "a",  "span", "strong", "cite", "em", "sub", "sup",  "s",   "strike", "h1",
      "h2", "h3", "h4", "h5", "h6",   "p",      "div",  "blockquote", "ul", "ol",  "li",    "table",
      "tr", "td", "th", "img", "br",  "@cust",  "@drv", "body", "head", "html", "title", "style",
      "meta", "link"};
  for (Integer code = 0; code < 39; ++code) {
    EXPECT_EQ(TagNameToCode(names[code]), code) << names[code];
    EXPECT_EQ(TagNameToCode(TpsStrings::UpperCase(names[code])), code) << names[code];
    if (code != TAG_DRV) { EXPECT_EQ(TagCodeToName(static_cast<Byte>(code)), names[code]); }
  }
}

TEST(TagCodes, EdgeCases) {
  struct NameCase {
    const char* name;
    Byte code;
  };
  const NameCase names[] = {{"TABLE", 24}, {"font", 39}, {"Li", 23}, {"", 39},
                            {" p", 39},    {"p ", 39},   {"@CUST", 30}, {"h7", 39}};
  for (const auto& c : names) EXPECT_EQ(TagNameToCode(c.name), c.code) << "'" << c.name << "'";
  struct CodeCase {
    Byte code;
    const char* name;
  };
  const CodeCase codes[] = {{31, ""},  {39, ""},  {40, ""},      {127, ""},
                            {128 + 3, "a"}, {255, ""}, {128 + 31, ""}, {128 + 38, "link"}};
  for (const auto& c : codes) EXPECT_EQ(TagCodeToName(c.code), c.name) << int(c.code);
}

TEST(TagCodes, InlineTagHelpers) {
  EXPECT_TRUE(IsInlineOpeningTag(TAG_STRIKE, ttOpening));
  EXPECT_FALSE(IsInlineOpeningTag(TAG_H1, ttOpening));
  EXPECT_FALSE(IsInlineOpeningTag(TAG_B, ttClosing));
  EXPECT_TRUE(IsInlineClosingTag(TAG_I, ttClosing));
  EXPECT_FALSE(IsInlineClosingTag(TAG_I, ttEmpty));
  EXPECT_FALSE(IsInlineClosingTag(TAG_P, ttClosing));
}

TEST(Colours, TableShape) {
  const auto& table = ColorNameTable();
  ASSERT_EQ(table.size(), 165u);
  EXPECT_STREQ(table[0].Name, "background");
  EXPECT_STREQ(table[28].Name, "transparent");
  EXPECT_STREQ(table[29].Name, "black");
  EXPECT_STREQ(table[44].Name, "white");
  EXPECT_STREQ(table[45].Name, "aliceblue");
  EXPECT_STREQ(table[164].Name, "yellowgreen");
  // Every name is lower case and the extended keywords stand in order.
  for (const auto& row : table) EXPECT_EQ(TpsStrings::LowerCase(row.Name), row.Name);
  for (size_t i = 46; i < table.size(); ++i)
    EXPECT_LT(std::string(table[i - 1].Name), std::string(table[i].Name));
}

TEST(Colours, LookUps) {
  struct Case {
    const char* name;
    TColor color;
  };
  const Case cases[] = {
      {"Red", 0x000000FF},          {" red", clNone},           {"red ", clNone},
      {"cyan", clNone},             {"magenta", clNone},        {"grey", clNone},
      {"lightgray", clNone},        {"lightgrey", 0x00D3D3D3},  {"mediumpurple", 0x00DB7093},
      {"NAVY", 0x00800000},         {"black", 0},               {"white", 0x00FFFFFF},
      {"crimson", 0x003C14DC},      {"indigo", 0x0082004B},     {"transparent", 0x20000000},
      {"buttonface", 0xFF00000F},   {"threedface", 0xFF00000F}, {"scrollbar", 0xFF000000},
      {"hightlighttext", 0xFF00000E}, {"yellowgreen", 0x0032CD9A}, {"", clNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorNameToColor(c.name), c.color) << c.name;
}

TEST(Colours, ColourToNameFirstRowWins) {
  struct Case {
    TColor color;
    const char* name;
  };
  const Case cases[] = {{0xFF00000F, "buttonface"}, {0xFF000014, "buttonhighlight"},
                        {0xFF000010, "buttonshadow"}, {0x000000FF, "red"},
                        {0x00FFFF00, "aqua"},         {0x00123456, ""},
                        {clNone, ""}};
  for (const auto& c : cases) EXPECT_EQ(ColorToColorName(c.color), c.name) << std::hex << c.color;
}

TEST(Entities, TableHas130BuiltInNames) {
  const auto names = HtmlCodeTable().EntityNames();
  EXPECT_EQ(names.size(), 130u);
  EXPECT_EQ(std::set<AnsiString>(names.begin(), names.end()).size(), 130u);
}

TEST(Entities, TryGetEntityChar) {
  struct Case {
    const char* entity;
    bool found;
    Integer code;
  };
  const Case cases[] = {
      {"&amp;", true, 38},        {"&AMP;", false, -1},      {"&nbsp;", true, 160},
      {"&yuml;", true, 255},      {"&Yuml;", true, 376},     {"&trade;", true, 8482},
      {"&hellip;", true, 8230},   {"&lsquo;", true, 8216},   {"&euro;", true, 8364},
      {"&alpha;", false, -1},     {"&rarr;", false, -1},     {"&amp", false, -1},
      {"&#x41;", true, 65},       {"&#X41;", true, 65},      {"&#65;", true, 65},
      {"&#;", false, -1},         {"&#x;", false, -1},       {"&#65", false, -1},
      {"&#6a;", false, -1},       {"&#xG1;", false, -1},     {"#65;", false, -1},
      // Number rules for decimal references: blanks, sign and hex prefixes.
      {"&# 65;", true, 65},       {"&#$41;", true, 65},      {"&#0x41;", true, 65},
      // Out of range, zero and surrogates become U+FFFD, so no NUL is made.
      {"&#0;", true, 0xFFFD},     {"&#x0;", true, 0xFFFD},   {"&#-1;", true, 0xFFFD},
      {"&#xD800;", true, 0xFFFD}, {"&#57343;", true, 0xFFFD}, {"&#x110000;", true, 0xFFFD},
      {"&#99999999999;", true, 0xFFFD}, {"&#xFFFFFFFFFFFF;", true, 0xFFFD},
      // Beyond the 16-bit range the code point itself.
      {"&#x10000;", true, 0x10000}, {"&#128512;", true, 128512}, {"&#x10FFFF;", true, 0x10FFFF},
      {"&#xFFFF;", true, 0xFFFF},
  };
  for (const auto& c : cases) {
    Integer code = 12345;
    EXPECT_EQ(HtmlCodeTable().TryGetEntityChar(c.entity, code), c.found) << c.entity;
    EXPECT_EQ(code, c.code) << c.entity;
  }
}

TEST(Entities, GetEntityCharAsOneWideChar) {
  EXPECT_EQ(HtmlCodeTable().GetEntityChar("&eacute;"), 233);
  EXPECT_EQ(HtmlCodeTable().GetEntityChar("&nothing;"), 0xFFFF);
  EXPECT_EQ(HtmlCodeTable().GetEntityChar("&#128512;"), 0xFFFD);
  EXPECT_EQ(HtmlCodeTable().GetEntityChar("&#x2014;"), 0x2014);
}

TEST(Entities, GetEntityAndEscapes) {
  struct Case {
    Integer code;
    bool found;
    const char* entity;
  };
  const Case cases[] = {{34, true, "&quot;"},  {38, true, "&amp;"},    {233, true, "&eacute;"},
                        {8216, true, "&lsquo;"}, {937, false, ""},     {65, false, ""},
                        {-1, false, ""},         {8482, true, "&trade;"}};
  for (const auto& c : cases) {
    AnsiString entity = "x";
    EXPECT_EQ(HtmlCodeTable().GetEntity(c.code, entity), c.found) << c.code;
    EXPECT_EQ(entity, c.entity) << c.code;
  }
  for (Integer code : {38, 60, 62, 160}) EXPECT_TRUE(HtmlCodeTable().IsAlwaysEscaped(code));
  for (Integer code : {34, 39, 233}) EXPECT_FALSE(HtmlCodeTable().IsAlwaysEscaped(code));
  EXPECT_EQ(HtmlCodeTable().GetNbspChar(), 160);
}

// DefineEntity changes the process-wide table: each test works on its own
// table so the others keep the built-in one.
TEST(Entities, DefineEntity) {
  TpsHtmlCodeTable table;
  table.DefineEntity("&#37;", 37);
  AnsiString entity;
  EXPECT_TRUE(table.GetEntity(37, entity));
  EXPECT_EQ(entity, "&#37;");
  Integer code = 0;
  EXPECT_TRUE(table.TryGetEntityChar("&#37;", code));
  EXPECT_EQ(code, 37);
  EXPECT_EQ(table.EntityNames().size(), 131u);

  // Out of range for an existing name: the name goes.
  table.DefineEntity("&euro;", -1);
  EXPECT_FALSE(table.TryGetEntityChar("&euro;", code));
  EXPECT_FALSE(table.GetEntity(8364, entity));
  EXPECT_EQ(table.EntityNames().size(), 130u);

  // A second name for a character replaces the first.
  table.DefineEntity("&apos;", 39);
  table.DefineEntity("&squot;", 39);
  EXPECT_FALSE(table.TryGetEntityChar("&apos;", code));
  EXPECT_TRUE(table.GetEntity(39, entity));
  EXPECT_EQ(entity, "&squot;");

  // Redefining "&nbsp;" moves the non-breaking space; the set of always
  // escaped characters stays as it was.
  table.DefineEntity("&nbsp;", 0x202F);
  EXPECT_EQ(table.GetNbspChar(), 0x202F);
  EXPECT_TRUE(table.IsAlwaysEscaped(160));
  EXPECT_FALSE(table.IsAlwaysEscaped(0x202F));

  // The other built-in names are untouched.
  EXPECT_TRUE(table.TryGetEntityChar("&eacute;", code));
  EXPECT_EQ(code, 233);
  // The process-wide table never saw any of this.
  EXPECT_TRUE(HtmlCodeTable().TryGetEntityChar("&euro;", code));
}

TEST(Entities, DefineEntityWhileOtherThreadsRead) {
  TpsHtmlCodeTable table;
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        Integer code = 0;
        // "&amp;" is never touched: every snapshot must know it.
        if (!table.TryGetEntityChar("&amp;", code) || code != 38) ++bad;
        AnsiString entity;
        if (!table.GetEntity(233, entity) || entity != "&eacute;") ++bad;
        table.GetNbspChar();
      }
    });
  }
  for (int i = 0; i < 200; ++i) table.DefineEntity("&x" + std::to_string(i) + ";", 40000 + i);
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_EQ(table.EntityNames().size(), 330u);
}

TEST(EditMessages, ExactSet) {
  const Integer ids[] = {
      97,  98,  300, 310, 320, 330, 340, 350, 360, 410, 415, 420, 430, 570, 590,
      600, 605, 606, 607, 610, 620, 630, 650, 660, 670, 680, 690, 700, 710, 720,
      730, 740, 760, 770, 780, 785, 790, 795, 800, 810, 820, 825, 830, 835, 840,
      850, 851, 853, 857, 858, 860, 861, 865, 870, 880, 885, 890, 900, 920, 930,
      940, 955, 4600, 4610, 4620, 4630, 4640, 4650, 4660, 4670, 4680, 4681, 4690};
  const std::set<Integer> set(std::begin(ids), std::end(ids));
  ASSERT_EQ(set.size(), 73u);
  for (Integer id = -1; id <= 5000; ++id) EXPECT_EQ(IsEditMessage(id), set.count(id) == 1) << id;
}

TEST(CodePages, Table) {
  struct Case {
    const char* name;
    Integer codePage;
  };
  const Case cases[] = {{" UTF-8 ", 65001},       {"utf-8", 65001},     {"latin1", 0},
                        {"ISO-8859-1", 28591},    {"iso-8859-15", 28605}, {"koi8-r", 20866},
                        {"ibm-880", 20880},       {"cp-866", 866},      {"Windows-1258", 1258},
                        {"\tutf-8\r\n", 65001},   {"", 0},              {"utf8", 0}};
  for (const auto& c : cases) EXPECT_EQ(CodepageTable().GetCodePage(c.name), c.codePage) << c.name;
  EXPECT_EQ(CodepageTable().Records().size(), 27u);
  EXPECT_EQ(CodepageTable().GetCharBits(65001), 32);
  EXPECT_EQ(CodepageTable().GetCharBits(1252), 8);
  EXPECT_EQ(CodepageTable().GetCharBits(437), 0);
  EXPECT_EQ(CodepageTable().GetCharsetName(852), "ibm-852");
  EXPECT_EQ(CodepageTable().GetCharsetName(437), "");
}
