#include <gtest/gtest.h>

#include <random>

#include "dropdown/text/HtmlMarkup.h"
#include "dropdown/text/HtmlTextRoutines.h"

namespace dropdown {
namespace {

TEST(HtmlTextRoutines, StripHTML) {
  struct Case {
    const char* html;
    const char* plain;
  } cases[] = {
      {"a<B>b</B><BR>c", "ab\r\nc"},
      {"one<br>two<Hr>three<hR>", "one\r\ntwo\r\nthree\r\n"},
      {"<BR/>x<br >y", "xy"},
      {"a<b", "a<b"},
      {"x<y>z<w", "xz<w"},
      {"<<a>b", "b"},
      {"a>b", "a>b"},
      {"", ""},
      {"<>", ""},
      {"<FONT color=\"#FF0000\">red</FONT> & <A href=\"x\">link</A>", "red & link"},
      {"caf\xC3\xA9 <I>\xE2\x82\xAC</I>", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"<BR", "<BR"},
  };
  for (const auto& c : cases) EXPECT_EQ(StripHTML(c.html), c.plain) << c.html;
}

TEST(HtmlTextRoutines, HasControlTag) {
  EXPECT_TRUE(HasControlTag("x <CONTROL TYPE=\"EDIT\" ID=\"a\">"));
  EXPECT_TRUE(HasControlTag("<control"));
  EXPECT_TRUE(HasControlTag("<CoNtRoL"));
  EXPECT_FALSE(HasControlTag("< CONTROL"));
  EXPECT_FALSE(HasControlTag("CONTROL"));
  EXPECT_FALSE(HasControlTag(""));
}

// --- Preparation of a text before layout ---

// The preparation as first written: replace the first occurrence of any
// entity until none is left, open the first literal until none is left.
rtl::AnsiString NaivePrepare(std::string s) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&amp;", "&"},          {"&quot;", "\""},         {"&sect;", "\xC2\xA7"},
      {"&permil;", "\xE2\x80\xB0"}, {"&reg;", "\xC2\xAE"}, {"&copy;", "\xC2\xA9"},
      {"&para;", "\xC2\xB6"},  {"&trade;", "\xE2\x84\xA2"}, {"&euro;", "\xE2\x82\xAC"}};
  for (bool again = true; again;) {
    again = false;
    for (const auto& [name, text] : kEntities) {
      size_t at = FindNoCase(s, name);
      if (at != std::string::npos) {
        s.replace(at, std::string_view(name).size(), text);
        again = true;
      }
    }
  }
  for (size_t lt; (lt = s.find("<#")) != std::string::npos;) {
    size_t gt = s.find('>', lt + 1);
    if (gt != std::string::npos) s.erase(gt, 1);
    s.erase(lt, 1);
  }
  std::string out;
  for (char c : s) {
    if (c == '\r') {
      out += "<BR>";
    } else if (c != '\n') {
      out += c;
    }
  }
  return out;
}

TEST(HtmlMarkup, PrepareReplacesEntitiesOpensLiteralsAndBreaksLines) {
  struct Case {
    const char* html;
    const char* prepared;
  } cases[] = {
      {"a&amp;b", "a&b"},
      {"a&AMP;b", "a&b"},
      {"&amp;amp;", "&"},
      {"&amp;quot;x", "\"x"},
      {"5&permil; &euro;1 &trade; &sect;&para;&reg;&copy;",
       "5\xE2\x80\xB0 \xE2\x82\xAC" "1 \xE2\x84\xA2 \xC2\xA7\xC2\xB6\xC2\xAE\xC2\xA9"},
      {"&lt;B&gt; &nbsp;", "&lt;B&gt; &nbsp;"},  // those wait for the runs
      {"&amp", "&amp"},
      {"<#B>old", "#Bold"},
      {"<<#a>", "#a"},
      {"<#a", "#a"},
      {"x<#1>y<#2>z", "x#1y#2z"},
      {"one\r\ntwo\nthree\rfour", "one<BR>twothree<BR>four"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrepareHtml(c.html), c.prepared) << c.html;
    EXPECT_EQ(NaivePrepare(c.html), c.prepared) << c.html;
  }
}

TEST(HtmlMarkup, PrepareAgreesWithReplacingFirstOccurrencesOnRandomTexts) {
  std::mt19937 rng(20261211);
  const std::string alphabet = "&&&ampAMP;;;quotQUOT<#>\r\nx e";
  for (int n = 0; n < 20000; ++n) {
    std::string s;
    int len = static_cast<int>(rng() % 24);
    for (int i = 0; i < len; ++i) s += alphabet[rng() % alphabet.size()];
    ASSERT_EQ(PrepareHtml(s), NaivePrepare(s)) << s;
  }
}

TEST(HtmlMarkup, RunEntities) {
  struct Case {
    const char* run;
    const char* text;
  } cases[] = {
      {"a&nbsp;b", "a b"}, {"&LT;B&gt;", "<B>"}, {"&lt;&lt", "<&lt"}, {"&amp;", "&amp;"}, {"", ""},
  };
  for (const auto& c : cases) {
    rtl::AnsiString out;
    DecodeRunEntities(c.run, out);
    EXPECT_EQ(out, c.text) << c.run;
  }
}

TEST(HtmlMarkup, AttributesNumbersColoursAndSizes) {
  EXPECT_EQ(TagAttribute("<FONT COLOR=\"clRed\" SIZE=\"3\">", " COLOR"), "clRed");
  EXPECT_EQ(TagAttribute("<FONT BGCOLOR=\"#00FF00\">", " COLOR"), "");
  EXPECT_EQ(TagAttribute("<FONT bgcolor=\"#00FF00\">", "BGCOLOR"), "#00FF00");
  EXPECT_EQ(TagAttribute("<A HREF=x>", "HREF"), "");
  EXPECT_EQ(TagAttribute("<A HREF=\"x>", "HREF"), "");
  EXPECT_EQ(TagAttribute("<A TITLE=\"\">", "TITLE"), "");

  EXPECT_EQ(LeadingNumber("123px"), 123);
  EXPECT_EQ(LeadingNumber("px"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("99999999999999", 65535), 65535);

  struct Colour {
    const char* value;
    THtmlColor color;
  } colours[] = {
      {"#FF0000", 0x0000FF}, {"#00ff00", 0x00FF00}, {"#0000FF", 0xFF0000}, {"#123456", 0x563412},
      {"#12", 0x000012},     {"#G10000", 0x000000}, {"#1G0000", 0x000001}, {"red", 0x000000},
      {"clRed", 0x0000FF},   {"CLNAVY", 0x800000},  {"clolive", 0x008080}, {"clinfobk", 0xFF000018},
      {"clbackground", 0xFF000001}, {"cl3ddkshadow", 0xFF000015}, {"", 0},
  };
  for (const auto& c : colours) EXPECT_EQ(HtmlColor(c.value), c.color) << c.value;

  THtmlColor body = 7;
  EXPECT_TRUE(BodyColor("CLYELLOW", body));
  EXPECT_EQ(body, 0x00FFFFu);
  EXPECT_TRUE(BodyColor("x#0000FF", body));
  EXPECT_EQ(body, 0xFF0000u);
  EXPECT_FALSE(BodyColor("FF0000", body));

  EXPECT_EQ(HtmlFontSize("1"), 8);
  EXPECT_EQ(HtmlFontSize("3"), 12);
  EXPECT_EQ(HtmlFontSize("5"), 16);
  EXPECT_EQ(HtmlFontSize("20"), 20);
  EXPECT_EQ(HtmlFontSize("0"), 0);
  EXPECT_EQ(HtmlFontSize("big"), 0);
  EXPECT_EQ(HtmlFontSize("100000"), kMaxFontPoints);
}

// --- Embedded controls ---

TEST(HtmlMarkup, ControlValuesEncodeAndDecode) {
  EXPECT_EQ(EncodeControlValue("a\"b<c>&d"), "a&quot;b&lt;c&gt;&amp;d");
  EXPECT_EQ(EncodeControlValue("\xC3\xA9t\xC3\xA9 \xC3\x89" "cole \xE2\x82\xAC \xC2\xAB\xC2\xBB \xC3\xB8\xC3\x98"),
            "&eacute;t&eacute; &Eacute;cole &euro; &laquo;&raquo; &oslash;&Oslash;");
  EXPECT_EQ(EncodeControlValue("*amp; stays"), "*amp; stays");
  EXPECT_EQ(EncodeControlValue("\xE4\xB8\xAD"), "\xE4\xB8\xAD");
  EXPECT_EQ(DecodeControlValue("&oslash;"), "\xC3\xB8");
  EXPECT_EQ(DecodeControlValue("&Oslash;&OSLASH;"), "\xC3\x98&OSLASH;");
  EXPECT_EQ(DecodeControlValue("&amp;quot;"), "&quot;");
  EXPECT_EQ(DecodeControlValue("&lt;&gt;&amp;&quot;&copy;&reg;"), "<>&\"\xC2\xA9\xC2\xAE");
  EXPECT_EQ(DecodeControlValue("&"), "&");

  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"a", "&", ";", "amp", "quot", "<", ">", "\"", "\xC3\xA9", "\xC3\x89",
                                           "\xE2\x82\xAC", "lt", "*amp;", "\xC3\xB8", " ", "eacute"};
  for (int n = 0; n < 5000; ++n) {
    std::string s;
    int len = static_cast<int>(rng() % 10);
    for (int i = 0; i < len; ++i) s += pieces[rng() % pieces.size()];
    ASSERT_EQ(DecodeControlValue(EncodeControlValue(s)), s) << s;
  }
}

TEST(HtmlTextRoutines, SetControlValue) {
  struct Case {
    const char* html;
    const char* id;
    const char* value;
    bool result;
    const char* after;
  } cases[] = {
      {"x<CONTROL TYPE=\"edit\" WIDTH=\"80\" ID=\"e1\" VALUE=\"old\">y", "e1", "new", true,
       "x<CONTROL ID=\"e1\" VALUE=\"new\" WIDTH=\"80\" TYPE=\"EDIT\">y"},
      {"<control type=\"MASK\" id=\"m\" width=\"50\" prop=\"!99;1;_\" maxlen=\"4\" value=\"12\">", "m", "a<b>&\"c\"",
       true,
       "<CONTROL ID=\"m\" VALUE=\"a&lt;b&gt;&amp;&quot;c&quot;\" WIDTH=\"50\" TYPE=\"MASK\" PROP=\"!99;1;_\" "
       "MAXLEN=\"4\">"},
      {"<CONTROL TYPE=\"EDIT\" ID=\"a\" WIDTH=\"10\" MAXLEN=\"3\">", "a", "\xC3\xA9t\xC3\xA9", true,
       "<CONTROL ID=\"a\" VALUE=\"&eacute;t&eacute;\" WIDTH=\"10\" TYPE=\"EDIT\" MAXLEN=\"3\">"},
      {"<CONTROL TYPE=\"CHECK\" ID=\"c\" WIDTH=\"16\" VALUE=\"TRUE\">", "C", "FALSE", false,
       "<CONTROL TYPE=\"CHECK\" ID=\"c\" WIDTH=\"16\" VALUE=\"TRUE\">"},
      {"no controls here", "a", "b", false, "no controls here"},
      {"<CONTROL TYPE=\"EDIT\" ID=\"d\" WIDTH=\"5\" VALUE=\"1\"><CONTROL TYPE=\"EDIT\" ID=\"d\" WIDTH=\"6\" VALUE=\"2\">",
       "d", "3", true,
       "<CONTROL ID=\"d\" VALUE=\"3\" WIDTH=\"5\" TYPE=\"EDIT\"><CONTROL TYPE=\"EDIT\" ID=\"d\" WIDTH=\"6\" "
       "VALUE=\"2\">"},
      {"a<CONTROL TYPE=\"EDIT\" ID=\"u\" WIDTH=\"5\"", "u", "v", true,
       "a<CONTROL ID=\"u\" VALUE=\"v\" WIDTH=\"5\" TYPE=\"EDIT\">"},
      {"<CONTROLX ID=\"a\">", "a", "v", false, "<CONTROLX ID=\"a\">"},
  };
  for (const auto& c : cases) {
    rtl::AnsiString html = c.html;
    EXPECT_EQ(SetControlValue(html, c.id, c.value), c.result) << c.html;
    EXPECT_EQ(html, c.after) << c.html;
  }
}

TEST(HtmlTextRoutines, ControlQueries) {
  // The order the grid's Enter and Tab walk: BUTTON, EDIT, CHECK, COMBO.
  const char* cell =
      "<CONTROL TYPE=\"BUTTON\" ID=\"b\" WIDTH=\"60\" VALUE=\"Go\"> "
      "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"60\" VALUE=\"x\" PROP=\"p1\" MAXLEN=\"12abc\"> "
      "<CONTROL TYPE=\"check\" ID=\"c\" WIDTH=\"16\" VALUE=\"TRUE\"> "
      "<CONTROL TYPE=\"COMBO\" ID=\"k\" WIDTH=\"90\" VALUE=\"y\">";
  EXPECT_EQ(NextEditControlId(cell, ""), "e");
  EXPECT_EQ(NextEditControlId(cell, "e"), "k");
  EXPECT_EQ(NextEditControlId(cell, "k"), "");
  EXPECT_EQ(NextEditControlId(cell, "b"), "e");
  EXPECT_EQ(NextEditControlId(cell, "c"), "k");
  EXPECT_EQ(NextEditControlId(cell, "missing"), "");
  EXPECT_EQ(NextEditControlId("plain", ""), "");

  EXPECT_EQ(GetControlProp(cell, "e"), "p1");
  EXPECT_EQ(GetControlProp(cell, "E"), "");
  EXPECT_EQ(GetControlProp(cell, "k"), "");
  EXPECT_EQ(GetControlMaxLen(cell, "e"), 12);
  EXPECT_EQ(GetControlMaxLen(cell, "k"), 0);
  EXPECT_EQ(GetControlMaxLen(cell, "none"), 0);
  EXPECT_EQ(GetControlMaxLen("<CONTROL TYPE=\"EDIT\" ID=\"a\" WIDTH=\"5\" MAXLEN=\"99999999999\">", "a"),
            0x7FFFFFFF);

  THtmlControlTag tag;
  ASSERT_TRUE(NextControlTag(cell, 1, tag));
  EXPECT_EQ(tag.Id, "e");
  EXPECT_EQ(tag.Type, "EDIT");
  EXPECT_EQ(tag.Width, "60");
  ASSERT_TRUE(NextControlTag(cell, tag.End, tag));
  EXPECT_EQ(tag.Type, "CHECK");
}

TEST(HtmlTextRoutines, ClearRadioControls) {
  const char* cell =
      "<CONTROL TYPE=\"RADIO\" ID=\"r1\" WIDTH=\"16\" VALUE=\"TRUE\">one "
      "<CONTROL TYPE=\"radio\" ID=\"r2\" WIDTH=\"16\" VALUE=\"FALSE\">two "
      "<CONTROL TYPE=\"CHECK\" ID=\"c\" WIDTH=\"16\" VALUE=\"TRUE\">";
  EXPECT_EQ(ClearRadioControls(cell),
            "<CONTROL ID=\"r1\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">one "
            "<CONTROL ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">two "
            "<CONTROL TYPE=\"CHECK\" ID=\"c\" WIDTH=\"16\" VALUE=\"TRUE\">");
  // The grid's click on a radio: every radio cleared, then the one clicked.
  rtl::AnsiString html = ClearRadioControls(cell);
  SetControlValue(html, "r2", "TRUE");
  EXPECT_NE(html.find("ID=\"r1\" VALUE=\"FALSE\""), rtl::AnsiString::npos);
  EXPECT_NE(html.find("ID=\"r2\" VALUE=\"TRUE\""), rtl::AnsiString::npos);
  EXPECT_EQ(ClearRadioControls("none"), "none");
}

TEST(HtmlTextRoutines, HighlightText) {
  struct Case {
    const char* html;
    const char* search;
    bool caseSensitive;
    const char* result;
  } cases[] = {
      {"hello world", "o", true, "hell<hi>o</hi> w<hi>o</hi>rld"},
      {"aaaa", "aa", true, "<hi>aa</hi><hi>aa</hi>"},
      {"aaa", "aa", true, "<hi>aa</hi>a"},
      {"Hello", "hello", true, "Hello"},
      {"Hello", "hello", false, "<hi>Hello</hi>"},
      {"<B>bo</B>ld", "old", false, "<B>b<hi>o</B>ld</hi>"},
      {"ab<i>c</i>d", "bcd", true, "a<hi>b<i>c</i>d</hi>"},
      {"<FONT COLOR=\"clRed\">red</FONT> text", "red", true, "<FONT COLOR=\"clRed\"><hi>red</hi></FONT> text"},
      {"a<b>c", "c", true, "a<b><hi>c</hi>"},
      // "< b <B>" reads as one tag: the first ">" comes after the first "<".
      {"a < b <B>b</B>", "b", true, "a < b <B><hi>b</hi></B>"},
      {"x>y <B>y</B>", "y", true, "x&gt;<hi>y</hi> &lt;B&gt;<hi>y</hi>&lt;/B&gt;"},
      {"1 < 2", "< 2", true, "1 <hi>&lt; 2</hi>"},
      {"\xC3\x89t\xC3\xA9 \xC3\xA9T\xC3\x89", "\xC3\xA9t\xC3\xA9", false,
       "<hi>\xC3\x89t\xC3\xA9</hi> <hi>\xC3\xA9T\xC3\x89</hi>"},
      {"text", "", false, "text"},
      {"", "x", false, ""},
  };
  for (const auto& c : cases) {
    rtl::AnsiString marked = HighlightText(c.html, c.search, "hi", c.caseSensitive);
    EXPECT_EQ(marked, c.result) << c.html << " / " << c.search;
  }
}

TEST(HtmlTextRoutines, UnhighlightText) {
  EXPECT_EQ(UnhighlightText("<hi>a</HI>b<Hi>c</hI>", "hi"), "abc");
  EXPECT_EQ(UnhighlightText("1 <hi>&lt; 2</hi> &gt;", "hi"), "1 < 2 >");
  EXPECT_EQ(UnhighlightText("<hit>x</hit>", "hi"), "<hit>x</hit>");
  EXPECT_EQ(UnhighlightText(HighlightText("a < b", "b", "mark", true), "mark"), "a < b");
}

TEST(HtmlTextRoutines, TheGridsNamesAnswerAsTheRoutinesTheyStandFor) {
  const char* cell =
      "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"60\" VALUE=\"x\"> "
      "<CONTROL TYPE=\"RADIO\" ID=\"r\" WIDTH=\"16\" VALUE=\"TRUE\"> "
      "<CONTROL TYPE=\"COMBO\" ID=\"k\" WIDTH=\"90\" VALUE=\"y\">";
  EXPECT_EQ(NextEditableControlID(cell, ""), "e");
  EXPECT_EQ(NextEditableControlID(cell, "e"), "k");
  EXPECT_EQ(NextEditableControlID(cell, "k"), "");
  EXPECT_EQ(ResetRadioControls(cell),
            "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"60\" VALUE=\"x\"> "
            "<CONTROL ID=\"r\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\"> "
            "<CONTROL TYPE=\"COMBO\" ID=\"k\" WIDTH=\"90\" VALUE=\"y\">");
  EXPECT_EQ(HiLightText("x>y <B>y</B>", "y", "hi", true), "x&gt;<hi>y</hi> &lt;B&gt;<hi>y</hi>&lt;/B&gt;");
  EXPECT_EQ(HiLightText("Hello", "hello", "hi", false), "<hi>Hello</hi>");
  EXPECT_EQ(UnHiLightText("1 <HI>&lt; 2</hi>", "hi"), "1 < 2");
}

}  // namespace
}  // namespace dropdown
