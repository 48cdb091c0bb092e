// The syntax checker and the page parser on small pages of ours, in the
// fixture notation: the checker's placement and nesting rules, the parse
// of text, entities, tabs, charsets, run-time variables, custom tags (also
// nested through their replacements), comments, verbatim items, the head
// and title, pushback, the errors with their context, the abort poll, the
// markup scanner and the img rewriting. Rows marked "mended" show where the
// parser reads a page more soundly than a plain reading of its rules would.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlEditHtmlSyntaxChecker.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"

using namespace htmldoc;
using htmldoc::testing::DumpFixture;

namespace {

const char kEditingPosition[] = "<!-- editing position -->";

// The page through a parser set up by aSetUp; the node list in the fixture
// notation, or the error's class and message.
std::string ParsePage(const std::string& aPage, bool aCheck = false,
                      const std::function<void(TpsHtmlParser&)>& aSetUp = nullptr,
                      TpsCharacterEncoding* aEncoding = nullptr) {
  TpsHtmlParser parser(kEditingPosition);
  if (aSetUp) aSetUp(parser);
  rtl::TStringStream stream(aPage);
  TpsCharacterEncoding own = TpsCharacterEncoding::CreateFromCodePage(0);
  try {
    auto chunk = parser.Parse(stream, aEncoding ? *aEncoding : own, aCheck);
    if (!chunk) return "(stopped)";
    chunk->Check();
    return DumpFixture(*chunk);
  } catch (const rtl::Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
}

}  // namespace

TEST(HtmlSyntaxChecker, PlacementAndNesting) {
  struct Tag {
    Byte type, code;
    bool valid;
  };
  struct Case {
    const char* name;
    std::vector<Tag> tags;
  };
  const Case cases[] = {
      {"<body><p><b>x</b></p></body>",
       {{ttOpening, TAG_BODY, true},
        {ttOpening, TAG_P, true},
        {ttOpening, TAG_B, true},
        {ttClosing, TAG_B, true},
        {ttClosing, TAG_P, true},
        {ttClosing, TAG_BODY, true}}},
      {"<body><b>: no block open", {{ttOpening, TAG_BODY, true}, {ttOpening, TAG_B, false}}},
      {"<div><li>: no list open", {{ttOpening, TAG_DIV, true}, {ttOpening, TAG_LI, false}}},
      {"<ul><li>x</li></ul>",
       {{ttOpening, TAG_UL, true}, {ttOpening, TAG_LI, true}, {ttClosing, TAG_LI, true}, {ttClosing, TAG_UL, true}}},
      {"<p><b><i>x</b>: crossing",
       {{ttOpening, TAG_P, true}, {ttOpening, TAG_B, true}, {ttOpening, TAG_I, true}, {ttClosing, TAG_B, false}}},
      {"<td><img /></td>", {{ttOpening, TAG_TD, true}, {ttEmpty, TAG_IMG, true}, {ttClosing, TAG_TD, true}}},
      {"an image outside any block", {{ttEmpty, TAG_IMG, false}, {ttEmpty, TAG_BR, false}}},
      {"<table><tr> pass though no block",
       {{ttOpening, TAG_TABLE, true}, {ttOpening, TAG_TR, true}, {ttOpening, TAG_IMG, false}}},
      {"s and strike need no block", {{ttOpening, TAG_S, true}, {ttOpening, TAG_STRIKE, true}}},
      {"a closing tag with nothing open", {{ttClosing, TAG_P, false}}},
  };
  for (const Case& c : cases) {
    TpsHtmlSyntaxChecker checker;
    for (size_t i = 0; i < c.tags.size(); ++i)
      EXPECT_EQ(checker.CheckTag(c.tags[i].type, c.tags[i].code), c.tags[i].valid) << c.name << ", tag " << i;
  }
}

TEST(HtmlSyntaxChecker, StackGrowsAndRefusesToPopWhenEmpty) {
  TpsHtmlSyntaxCheckerStack stack;
  EXPECT_TRUE(stack.IsEmpty());
  for (int i = 0; i < 120; ++i) stack.PushTag(ttOpening, TAG_SPAN);
  EXPECT_FALSE(stack.InBlock());
  stack.PushTag(ttOpening, TAG_OL);
  EXPECT_TRUE(stack.InBlock());
  EXPECT_TRUE(stack.InList());
  Byte type = 9, code = 9;
  stack.PopTag(type, code);
  EXPECT_EQ(code, TAG_OL);
  for (int i = 0; i < 120; ++i) stack.PopTag(type, code);
  EXPECT_TRUE(stack.IsEmpty());
  try {
    stack.PopTag(type, code);
    FAIL() << "no exception";
  } catch (const EpsHtmlEditException& e) {
    EXPECT_EQ(e.Message(), "TpsHtmlSyntaxCheckerStack.PopTag: stack is empty!");
  }
}

TEST(HtmlParser, PagesIntoNodeLists) {
  struct Case {
    const char* name;
    std::string page;
    std::string expected;
  };
  const Case cases[] = {
      {"entities", "<p>a&amp;b</p>", "<p>a&amp;b</p>"},
      {"white space collapses", "<p>a \r\n\t b</p>", "<p>a &nbsp;&nbsp; b</p>"},
      {"doctype dropped", "<!DOCTYPE html><p>x</p>", "<p>x</p>"},
      {"a comment", "<p>a<!-- x -->b</p>", "<p>a{c:<!-- x -->}b</p>"},
      {"the editing position", "<p>a<!-- Editing Position -->b<!-- editing position --></p>",
       "<p>a|b{c:<!-- editing position -->}</p>"},
      {"mended: a comment without blanks", "<p>a<!--x-->b</p>", "<p>a{c:<!--x-->}b</p>"},
      {"mended: a comment holding tags", "<p><!--<b>x</b>--></p>", "<p>{c:<!--<b>x</b>-->}</p>"},
      {"mended: verbatim items", "<p><![CDATA[a<b]]><?php x ?><!ELEMENT y></p>",
       "<p>{t:<![CDATA[a<b]]>}{t:<?php x ?>}{t:<!ELEMENT y>}</p>"},
      {"hr kept verbatim", "<p>a</p><hr class=\"x\"><p>b</p>", "<p>a</p>{t:<hr class=\"x\">}<p>b</p>"},
      {"img made empty", "<p><img src='a.png'></p>", "<p><img src=\"a.png\" /></p>"},
      {"title left out", "<html><head><title>T</title></head><body><p>x</p></body></html>",
       "<html><head></head><body><p>x</p></body></html>"},
      {"mended: a '<' before a blank or digit is text", "<p>a < b, 1<2, x<=y</p>",
       "<p>a \\< b, 1\\<2, x\\<=y</p>"},
      {"mended: a '>' inside a quoted value", "<p><a href=\"x>y\" title='a>b'>z</a></p>",
       "<p><a href=\"x>y\" title=\"a>b\">z</a></p>"},
      {"an unclosed quote: the first '>' ends the tag", "<p><a href=\"x>y</a></p>",
       "<p><a href=\"x\">y</a></p>"},
      {"mended: a value beginning with '/'", "<p><a href=/index.html>x</a></p>",
       "<p><a href=\"/index.html\">x</a></p>"},
      {"mended: style content to its end tag",
       "<html><head><style>p > a { color: red }</style></head></html>",
       "<html><head><style>{s:p > a { color: red \\}}</style></head></html>"},
      {"mended: a head script kept whole",
       "<html><head><script>if (i<n && a) x();</script></head></html>",
       "<html><head><script>{s:if (i<n && a) x();}</script></head></html>"},
      {"mended: a body script as one item", "<p>a</p><script type=\"t\">i<n</SCRIPT ><p>b</p>",
       "<p>a</p>{t:<script type=\"t\">i<n</SCRIPT >}<p>b</p>"},
      {"mended: head text decoded, tabs as spaces", "<html>a&amp;b\tc<head>&nbsp;</head></html>",
       "<html>a&amp;b c<head>&nbsp;</head></html>"},
      {"mended: a comment in the head", "<html><head><!--x--></head></html>",
       "<html><head>{c:<!--x-->}</head></html>"},
      {"mended: a '<' at the end of the input is text", "<p>a</p><", "<p>a</p>\\<"},
      {"mended: a '<' before another '<' is text", "<p>a<<b>c</b></p>", "<p>a\\<<b>c</b></p>"},
      {"internal tags stay tags", "<p><#_zelbe54f7mdl type=\"v\" /></p>",
       "<p><@cust></@cust></p>"},
      {"white space collapses across a dropped title",
       "<html><head>\n<title>T</title>\n<link rel=\"a\"></head></html>",
       "<html><head> <link rel=\"a\"></head></html>"},
      {"closing custom tags stay", "<p>a</p></mytag>", "<p>a</p><@cust></@cust>"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParsePage(c.page), c.expected) << c.name;
}

TEST(HtmlParser, TabStops) {
  const auto withStops = [](Integer aStops) {
    return [aStops](TpsHtmlParser& p) { p.TabStops = aStops; };
  };
  EXPECT_EQ(ParsePage("<p>a\tb</p>", false, withStops(4)), "<p>a&nbsp;&nbsp;&nbsp;&nbsp;b</p>");
  EXPECT_EQ(ParsePage("<p>a\tb</p>", false, withStops(0)), "<p>a&nbsp;b</p>");
  EXPECT_EQ(ParsePage("<p>a\tb</p>"), "<p>a&nbsp;&nbsp;b</p>");
}

TEST(HtmlParser, Errors) {
  struct Case {
    const char* name;
    std::string page;
    bool check;
    std::string expected;
  };
  const Case cases[] = {
      {"a tag cut off", "<p>x<b", false,
       "EpsHtmlEditParserError: Parsing error: \"Tag could not be parsed completely because the parser reached "
       "the end of the input stream\" near \"<p>x<b\"."},
      {"an unterminated comment", "<p>x<!-- y", false,
       "EpsHtmlEditParserError: Parsing error: \"Tag could not be parsed completely because the parser reached "
       "the end of the input stream\" near \"<p>x<!-- y\"."},
      {"a checked page with an unplaced tag", "<body><b>x</b></body>", true,
       "EpsHtmlEditParserSyntaxError: Parsing error: \"Tag is not valid in current context\" near \"<body><b>\"."},
      {"the same page unchecked", "<body><b>x</b></body>", false, "<body><b>x</b></body>"},
      {"a checked page that is sound", "<body><p><b>x</b><img src=\"a\"></p></body>", true,
       "<body><p><b>x</b><img src=\"a\" /></p></body>"},
      {"a closing body first", "</body><p>x</p>", false,
       "EpsHtmlEditParserError: Parsing error: \"Closing tag without its opening tag\" near \"</body>\"."},
  };
  for (const Case& c : cases) EXPECT_EQ(ParsePage(c.page, c.check), c.expected) << c.name;

  // The context is the last 50 characters taken from the page.
  const std::string longPage = "<p>" + std::string(80, 'a') + "<b";
  const std::string result = ParsePage(longPage);
  EXPECT_NE(result.find("near \"" + std::string(48, 'a') + "<b\"."), std::string::npos) << result;
}

TEST(HtmlParser, RunTimeVariables) {
  const auto answer = [](const std::string& aValue, std::vector<std::string>* aAsked = nullptr) {
    return [aValue, aAsked](TpsHtmlParser& p) {
      p.OnParseDocumentRuntimeVariable = [aValue, aAsked](TObjectPtr, const AnsiString& aName, AnsiString& aText) {
        if (aAsked) aAsked->push_back(aName);
        aText = aValue;
      };
    };
  };
  std::vector<std::string> asked;
  EXPECT_EQ(ParsePage("<p>t=%name%.</p>", false, answer("7", &asked)),
            "<p>t=<@drv name=\"name\">7</@drv>.</p>");
  EXPECT_EQ(asked, std::vector<std::string>{"name"});
  EXPECT_EQ(ParsePage("<p>%name%</p>", false, answer("")), "<p>%name%</p>");
  EXPECT_EQ(ParsePage("<p>50% <b>x</b></p>", false, answer("7")), "<p>50% <b>x</b></p>");
  EXPECT_EQ(ParsePage("<p>%a<b>x</b></p>", false, answer("7")), "<p>%a<b>x</b></p>");
  // The replacement is HTML, read inside the "@drv" element.
  EXPECT_EQ(ParsePage("<p>%v%</p>", false, answer("<b>&amp;</b>")),
            "<p><@drv name=\"v\"><b>&amp;</b></@drv></p>");
  EXPECT_EQ(ParsePage("<p>%v%</p>"), "<p>%v%</p>");
}

TEST(HtmlParser, CustomTags) {
  struct Call {
    std::string text, content, replacement;
  };
  std::vector<Call> calls;
  const auto replaceWith = [&calls](const std::function<std::string(const TpsMarkupTag&)>& aReplace) {
    return [&calls, aReplace](TpsHtmlParser& p) {
      p.OnParseCustomTag = [&calls, aReplace](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
        calls.push_back({aTag.GetText(), aTag.GetContent(), aText});
        aText = aReplace(aTag);
      };
    };
  };
  const auto upper = [](const TpsMarkupTag& aTag) { return "<i>" + aTag.GetName() + "</i>"; };

  TpsHtmlParser parser(kEditingPosition);
  replaceWith(upper)(parser);
  rtl::TStringStream stream("<p>a<mytag a='1'>inner</mytag>b</p>");
  TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  auto chunk = parser.Parse(stream, encoding, false);
  chunk->Check();
  EXPECT_EQ(DumpFixture(*chunk), "<p>a<@cust><i>mytag</i></@cust>b</p>");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].content, "inner");
  EXPECT_EQ(calls[0].replacement, "inner");
  // Both "@cust" tags carry the custom tag as written.
  int customTags = 0;
  for (TpsChunkElement* e = chunk->First(); e; e = e->Next) {
    if (e->Kind != ceTag || e->Tag->GetTagCode() != TAG_CUST) continue;
    ++customTags;
    EXPECT_EQ(e->Tag->CustomSource, "<mytag a='1'>");
    EXPECT_EQ(e->Tag->CustomContent, "inner");
    EXPECT_TRUE(e->Tag->CustomAsWritten);
  }
  EXPECT_EQ(customTags, 2);

  struct Case {
    const char* name;
    std::string page;
    std::string expected;
    std::string firstCall;  // the tag's text as the handler saw it
  };
  const Case cases[] = {
      {"mended: an unquoted value is kept", "<p><mytag a=1></p>", "<p><@cust><i>mytag</i></@cust></p>",
       "<mytag a=\"1\" />"},
      {"without closing tag: an empty tag", "<p><mytag>x</p>", "<p><@cust><i>mytag</i></@cust>x</p>",
       "<mytag />"},
      {"an empty tag", "<p><mytag b=\"2\"/>x</p>", "<p><@cust><i>mytag</i></@cust>x</p>", "<mytag b=\"2\" />"},
      {"nested tags of the name", "<p><x><x>a</x>b</x>c</p>", "<p><@cust><i>x</i></@cust>c</p>", "<x>"},
      {"a closing tag in a quoted value", "<p><x t=\"</x>\">a</x></p>", "<p><@cust><i>x</i></@cust></p>",
       "<x t=\"</x>\">"},
  };
  for (const Case& c : cases) {
    calls.clear();
    EXPECT_EQ(ParsePage(c.page, false, replaceWith(upper)), c.expected) << c.name;
    ASSERT_FALSE(calls.empty()) << c.name;
    EXPECT_EQ(calls[0].text, c.firstCall) << c.name;
  }

  // A replacement holding another custom tag: each "@cust" pair carries
  // its own tag's source.
  TpsHtmlParser nested(kEditingPosition);
  nested.OnParseCustomTag = [](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
    aText = aTag.GetName() == "outer" ? "a<inner>b</inner>c" : "[" + aText + "]";
  };
  rtl::TStringStream page("<p><outer>x</outer></p>");
  auto list = nested.Parse(page, encoding, false);
  list->Check();
  EXPECT_EQ(DumpFixture(*list), "<p><@cust>a<@cust>\\[b\\]</@cust>c</@cust></p>");
  std::vector<std::string> sources;
  for (TpsChunkElement* e = list->First(); e; e = e->Next)
    if (e->Kind == ceTag && e->Tag->GetTagCode() == TAG_CUST) sources.push_back(e->Tag->CustomSource);
  EXPECT_EQ(sources, (std::vector<std::string>{"<outer>", "<inner>", "<inner>", "<outer>"}));

  // Many unknown void elements, none closed: each is an empty custom tag.
  std::string many = "<p>";
  for (int i = 0; i < 2000; ++i) many += "<input name=\"n\">t";
  many += "</p>";
  const std::string parsed = ParsePage(many);
  EXPECT_EQ(parsed.substr(0, 24), "<p><@cust></@cust>t<@cus");
}

TEST(HtmlParser, HeadEventsAndTitle) {
  std::vector<std::string> metas, links, titles;
  const auto setUp = [&](TpsHtmlParser& p) {
    p.OnMetaTag = [&](TObjectPtr, TpsMarkupTag& aTag) { metas.push_back(aTag.GetText()); };
    p.OnLinkTag = [&](TObjectPtr, TpsMarkupTag& aTag) { links.push_back(aTag.GetText()); };
    p.OnTitle = [&](TObjectPtr, const AnsiString& aTitle) { titles.push_back(aTitle); };
  };
  EXPECT_EQ(ParsePage("<html><head><title>A &amp; B</title><meta name=\"k\" content=\"v\">"
                      "<link rel=\"stylesheet\" href=\"s.css\"></head></html>",
                      false, setUp),
            "<html><head><meta name=\"k\" content=\"v\"><link rel=\"stylesheet\" href=\"s.css\"></head></html>");
  EXPECT_EQ(metas, std::vector<std::string>{"<meta name=\"k\" content=\"v\">"});
  EXPECT_EQ(links, std::vector<std::string>{"<link rel=\"stylesheet\" href=\"s.css\">"});
  EXPECT_EQ(titles, std::vector<std::string>{"A & B"});
}

TEST(HtmlParser, HooksOnTagsAndImages) {
  std::vector<std::string> added;
  const auto setUp = [&](TpsHtmlParser& p) {
    p.OnParseTag = [](TObjectPtr, TpsMarkupTag& aTag) {
      if (aTag.GetName() == "p" && aTag.GetTagType() == ttOpening) aTag.SetAttribute("class", "seen");
    };
    p.OnParseImageTag = [](TObjectPtr, TpsMarkupTag& aTag) { aTag.SetAttribute("src", "local/" + aTag.GetAttribute("src")); };
    p.OnImageTagAdded = [&](TObjectPtr, TpsHtmlTag& aTag) { added.push_back(aTag.GetAttribute("src")); };
  };
  EXPECT_EQ(ParsePage("<p>x<img src=\"a.png\"><imgx></p>", false, setUp),
            "<p class=\"seen\">x<img src=\"local/a.png\" /><@cust></@cust></p>");
  EXPECT_EQ(added, std::vector<std::string>{"local/a.png"});
}

TEST(HtmlParser, AbortPoll) {
  std::string page;
  for (int i = 0; i < 300; ++i) page += "<p>x</p>";
  int polls = 0;
  EXPECT_EQ(ParsePage(page, false,
                      [&polls](TpsHtmlParser& p) {
                        p.OnAbortPoll = [&polls](TObjectPtr) { return ++polls == 3; };
                      }),
            "(stopped)");
  EXPECT_EQ(polls, 3);
  polls = 0;
  ParsePage(page, false, [&polls](TpsHtmlParser& p) {
    p.OnAbortPoll = [&polls](TObjectPtr) {
      ++polls;
      return false;
    };
  });
  EXPECT_EQ(polls, 900 / 101);
}

TEST(HtmlParser, Charsets) {
  struct Case {
    const char* name;
    std::string page;
    Integer givenCodePage;
    Integer codePage;
    std::string text;  // the characters of the paragraph
  };
  const std::string cyrillic1251 = "\xCF\xF0\xE8";  // "При" in windows-1251
  const Case cases[] = {
      {"http-equiv names windows-1251",
       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"><p>" + cyrillic1251 + "</p>", 0,
       1251, "\xD0\x9F\xD1\x80\xD0\xB8"},
      {"mended: meta charset counts", "<meta charset=\"windows-1251\"><p>" + cyrillic1251 + "</p>", 0, 1251,
       "\xD0\x9F\xD1\x80\xD0\xB8"},
      {"an unknown charset keeps the given encoding",
       "<meta http-equiv=\"content-type\" content=\"text/html; charset=foo\"><p>\xE9</p>", 1252, 1252, "\xC3\xA9"},
      {"nothing named, UTF-8 bytes", "<p>\xC3\xA9</p>", 0, rtl::CP_UTF8, "\xC3\xA9"},
      {"nothing named, other bytes read as windows-1252", "<p>\xE9\x80</p>", 0, 1252, "\xC3\xA9\xE2\x82\xAC"},
      {"mended: a byte-order mark means UTF-8", "\xEF\xBB\xBF<p>\xC3\xA9</p>", 1252, rtl::CP_UTF8, "\xC3\xA9"},
      {"mended: euc-kr though the table lacks it",
       "<meta http-equiv=\"content-type\" content=\"text/html; charset=euc-kr\"><p>\xC7\xD1</p>", 0, 949,
       "\xED\x95\x9C"},
      {"mended: shift_jis though the table lacks it", "<meta charset=\"shift_jis\"><p>\x82\xA0</p>", 0, 932,
       "\xE3\x81\x82"},
      {"mended: gb2312 though the table lacks it", "<meta charset=\"gb2312\"><p>\xD2\xBB</p>", 0, 936,
       "\xE4\xB8\x80"},
      {"mended: big5 though the table lacks it", "<meta charset=\"big5\"><p>\xA4\x40</p>", 0, 950,
       "\xE4\xB8\x80"},
      {"mended: a meta inside a quoted value does not count",
       "<p title=\"<meta charset='koi8-r'>\"><meta charset=\"windows-1251\"><p>\xCF</p>", 0, 1251,
       "\xD0\x9F"},
      {"a meta after the body does not count", "<body><meta charset=\"windows-1251\"><p>\xC3\xA9</p>", 0,
       rtl::CP_UTF8, "\xC3\xA9"},
  };
  for (const Case& c : cases) {
    TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(c.givenCodePage);
    TpsHtmlParser parser(kEditingPosition);
    rtl::TStringStream stream(c.page);
    auto chunk = parser.Parse(stream, encoding, false);
    ASSERT_TRUE(chunk) << c.name;
    EXPECT_EQ(encoding.GetCodePage(), c.codePage) << c.name;
    std::string text;
    for (TpsChunkElement* e = chunk->First(); e; e = e->Next)
      if (e->Kind == ceChar) rtl::AppendUtf8(text, e->Char);
    EXPECT_EQ(text, c.text) << c.name;
  }

  // mended: attribute values are decoded with the page, not left in its bytes.
  TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(0);
  TpsHtmlParser parser(kEditingPosition);
  rtl::TStringStream stream("<meta charset=\"windows-1251\"><p title=\"" + cyrillic1251 + "\">x</p>");
  auto chunk = parser.Parse(stream, encoding, false);
  TpsChunkElement* p = chunk->First();
  while (p && !(p->Kind == ceTag && p->Tag->GetTagCode() == TAG_P)) p = p->Next;
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Tag->GetAttribute("title"), "\xD0\x9F\xD1\x80\xD0\xB8");
}

TEST(HtmlParser, PushbackReadsReplacementsBeforeThePage) {
  // A variable inside a custom tag's replacement, and a custom tag inside a
  // variable's: each replacement is read before the rest of the page.
  const auto setUp = [](TpsHtmlParser& p) {
    p.OnParseCustomTag = [](TObjectPtr, TpsMarkupTag&, AnsiString& aText) { aText = "(%v%)"; };
    p.OnParseDocumentRuntimeVariable = [](TObjectPtr, const AnsiString& aName, AnsiString& aText) {
      if (aName == "v") aText = "V";
      if (aName == "w") aText = "<c>1</c>%v%";
    };
  };
  EXPECT_EQ(ParsePage("<p><c>x</c>-%w%-</p>", false, setUp),
            "<p><@cust>(<@drv name=\"v\">V</@drv>)</@cust>-<@drv name=\"w\"><@cust>(<@drv name=\"v\">V</@drv>)"
            "</@cust><@drv name=\"v\">V</@drv></@drv>-</p>");
}

TEST(MarkupParser, ScansTextAndTags) {
  struct Recorder : TpsMarkupParser {
    std::vector<std::string> items;
    void ProcessText() override {
      AnsiString text;
      ReadText(true, true, true, text);
      items.push_back("T:" + text);
    }
    void ProcessTag(const AnsiString& aTagText) override { items.push_back("G:" + aTagText); }
  } recorder;
  recorder.OnParseDocumentRuntimeVariable = [](TObjectPtr, const AnsiString& aName, AnsiString& aText) {
    if (aName == "x") aText = "X";
  };
  recorder.ParseText("a&amp;b<p title='>'>1 < 2 %x% 50% <!-- c --></p>");
  EXPECT_EQ(recorder.items, (std::vector<std::string>{"T:a&b", "G:<p title='>'>", "T:1 < 2 ", "G:<@drv name=\"x\">",
                                                      "T:X", "G:</@drv>", "T: 50", "T:% ", "G:<!-- c -->",
                                                      "G:</p>"}));
  EXPECT_THROW(recorder.ParseText("x<b"), EpsHtmlEditParserError);
}

TEST(MarkupParser, ImageTagsRewritten) {
  TpsDocumentImageTagProcessor processor;
  processor.OnImageTag = [](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
    if (aTag.GetAttribute("src") == "a.png") aText = "<img src=\"b.png\" />";
    if (aTag.GetAttribute("src") == "c.png") aTag.SetAttribute("alt", "");
  };
  AnsiString result;
  processor.Process("<p>x <IMG SRC='a.png'> <img src=c.png> <imgx> %v% <b>y</b></p>", result);
  EXPECT_EQ(result, "<p>x <img src=\"b.png\" /> <img src=\"c.png\" alt=\"\"> <imgx> %v% <b>y</b></p>");
}

TEST(MarkupTag, QuotesAndSlashes) {
  struct Case {
    const char* name;
    std::string text;
    std::string written;
  };
  const Case cases[] = {
      {"mended: a '>' inside a quoted value", "<a title=\"x>y\" href=a>", "<a title=\"x>y\" href=\"a\">"},
      {"an unclosed quote: the first '>' ends the tag", "<a title=\"x>y", "<a title=\"x\">"},
      {"mended: an unquoted value beginning with '/'", "<a href=/index.html>", "<a href=\"/index.html\">"},
      {"mended: '/' values before an empty-tag mark", "<img src=/a.png />", "<img src=\"/a.png\" />"},
      {"a '/' alone still marks an empty tag", "<br clear=/>", "<br clear=\"\" />"},
      {"mended: a double quote inside goes in single quotes", "<a title='say \"hi\"'>", "<a title='say \"hi\"'>"},
      {"both quotes inside", "<a title=\"it's &quot;\">", "<a title=\"it's &quot;\">"},
  };
  for (const Case& c : cases) {
    const TpsMarkupTag tag(c.text);
    EXPECT_EQ(tag.GetText(), c.written) << c.name;
    EXPECT_EQ(TpsMarkupTag(tag.GetText()).GetText(), c.written) << c.name << " (read again)";
  }
}
