// Page conversion: the readers of the fourteen tag syntaxes, the internal
// tag's text and its escaping, the way back to the page form, the tag under a
// text position, and a corpus of pages converted there and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../TestSupport.h"
#include "../tags/ZelVarPrinting.h"
#include "core/KnRegExU.h"
#include "core/VormekWebParserU.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

namespace {

// The simulator's search for internal tags.
constexpr char kInternalTagPattern[] = "<#_zelbe54f7mdl[^<>#]*/>";

struct InternalTagHit {
  size_t first;  // 0-based
  size_t length;
};

// Every internal tag of text as the simulator's pattern finds them, in order.
std::vector<InternalTagHit> FindInternalTags(const AnsiString& text) {
  TKnRegEx re;
  re.SetIgnoreCase(true);
  re.MatchPattern()->Add(kInternalTagPattern);
  std::vector<InternalTagHit> hits;
  size_t offset = 0;
  for (;;) {
    TKnMatchPos pos;
    if (!re.FindMatch(text.substr(offset), pos)) break;
    hits.push_back({offset + pos.FirstIndex - 1, pos.MatchLength});
    offset += pos.FirstIndex - 1 + pos.MatchLength;
  }
  return hits;
}

// The editor's text with every internal tag written back in page form.
AnsiString BackToPage(const TVormekWebParser& parser, const AnsiString& editor) {
  AnsiString out;
  size_t at = 0;
  for (const auto& hit : FindInternalTags(editor)) {
    out += editor.substr(at, hit.first - at);
    out += parser.EditorToPage(editor.substr(hit.first, hit.length));
    at = hit.first + hit.length;
  }
  return out + editor.substr(at);
}

AnsiString Escaped(const AnsiString& s) {
  AnsiString out;
  for (char c : s) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

// ---------------------------------------------------------------------------
struct ReaderCase {
  const char* page;
  Integer type;
  std::vector<TzelVar> attrs;  // after "type", in order
  const char* back;            // the page form written back
};

TEST(PageReaders, ReadEveryKindsSyntax) {
  const ReaderCase cases[] = {
      {"<!--(PIN 3)-->", 0, {{"X", "3"}}, "<!--(PIN 3)-->"},
      {"<!--(pin 3)-->", 0, {{"X", "3"}}, "<!--(PIN 3)-->"},
      {"<!--(PIN 10)-->", 0, {{"X", "10"}}, "<!--(PIN 10)-->"},
      {"<!--(PIN 91)-->", 0, {{"X", "91"}}, "<!--(PIN 91)-->"},
      // 12 is no pin the syntax allows: the catch-all kind takes it.
      {"<!--(PIN 12)-->", 13, {{"data", "PIN 12"}}, "<!--(PIN 12)-->"},
      {"<!--(PIN 3 ANALOG)-->", 1, {{"X", "3"}}, "<!--(PIN 3 ANALOG)-->"},
      {"<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->",
       2,
       {{"X", "3"}, {"A", "2.5"}, {"B", "4"}, {"C", "1"}, {"D", "0.5"}, {"P", "2"}},
       "<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->"},
      {"<!--(PIN 3 ANALOG,2)-->", 2, {{"X", "3"}, {"P", "2"}}, "<!--(PIN 3 ANALOG,2)-->"},
      {"<!--(PIN 3 ANALOG*,1)-->", 2, {{"X", "3"}, {"A", ""}, {"P", "1"}}, "<!--(PIN 3 ANALOG*,1)-->"},
      {"<!--(pin 5 analog-1,0)-->", 2, {{"X", "5"}, {"D", "1"}, {"P", "0"}}, "<!--(PIN 5 ANALOG-1,0)-->"},
      {"<!--(PIN 3 off/on)-->", 3, {{"X", "3"}, {"LTAG", "off"}, {"HTAG", "on"}}, "<!--(PIN 3 off/on)-->"},
      {"<!--(PIN 1 a/b/c)-->", 3, {{"X", "1"}, {"LTAG", "a"}, {"HTAG", "b/c"}}, "<!--(PIN 1 a/b/c)-->"},
      {"<!--(PIN 2 low - on/high-x)-->",
       3,
       {{"X", "2"}, {"LTAG", "low - on"}, {"HTAG", "high-x"}},
       "<!--(PIN 2 low - on/high-x)-->"},
      {"<!--(SERIAL DATA 1 5)-->", 4, {{"X", "1"}, {"y", "5"}}, "<!--(SERIAL DATA 1 5)-->"},
      {"<!--(serial data 10 )-->", 4, {{"X", "10"}, {"y", ""}}, "<!--(SERIAL DATA 10 )-->"},
      {"<!--(PLUG-IN abc def)-->", 5, {{"DATA", "abc def"}}, "<!--(PLUG-IN abc def)-->"},
      {"<!--(IF PIN 2 < 3.5)-->", 7, {{"X", "2"}, {"OPT", "4"}, {"a", "3.5"}}, "<!--(IF PIN 2 < 3.5)-->"},
      {"<!--(IF PIN 2 = 1)-->", 6, {{"X", "2"}, {"OPT", "3"}, {"a", "1"}}, "<!--(IF PIN 2 = 1)-->"},
      {"<!--(if pin 4>4.25)-->", 7, {{"X", "4"}, {"OPT", "5"}, {"a", "4.25"}}, "<!--(IF PIN 4 > 4.25)-->"},
      {"<!--(IF PIN 0  =  0)-->", 6, {{"X", "0"}, {"OPT", "3"}, {"a", "0"}}, "<!--(IF PIN 0 = 0)-->"},
      {"<!--(IF SSN != abc)-->",
       8,
       {{"x", "SSN"}, {"OPT", "0"}, {"n", "abc"}, {"KEY", "SSN"}, {"KEY_CMD_CLASS", "31"}},
       "<!--(IF SSN != abc)-->"},
      {"<!--(IF PIN_OUTPUT3>=1)-->",
       8,
       {{"x", "PIN_OUTPUT3"}, {"OPT", "2"}, {"n", "1"}, {"KEY", "PIN_OUTPUT3"}, {"KEY_CMD_CLASS", "0"},
        {"KEY_PIN_NUM", "3"}},
       "<!--(IF PIN_OUTPUT3 >= 1)-->"},
      // No operator: the tag compares with ">".
      {"<!--(IF VER 2)-->",
       8,
       {{"x", "VER"}, {"OPT", "5"}, {"n", "2"}, {"KEY", "VER"}, {"KEY_CMD_CLASS", "32"}},
       "<!--(IF VER > 2)-->"},
      {"<!--(ELSE)-->", 9, {}, "<!--(ELSE)-->"},
      {"<!--(endif)-->", 10, {}, "<!--(ENDIF)-->"},
      {"<!--(EXEC IP = 1)-->",
       11,
       {{"KEY", "IP "}, {"VALUE", " 1"}, {"KEY_CMD_CLASS", "19"}},
       "<!--(EXEC IP = 1)-->"},
      {"<!--(EXEC TEMPC3=x)-->",
       11,
       {{"KEY", "TEMPC3"}, {"VALUE", "x"}, {"KEY_CMD_CLASS", "29"}, {"KEY_GRADE", "C"}, {"KEY_I2c_TEMP", "3"}},
       "<!--(EXEC TEMPC3=x)-->"},
      {"<!--(READ SSN)-->", 12, {{"KEY", "SSN"}, {"KEY_CMD_CLASS", "31"}}, "<!--(READ SSN)-->"},
      {"<!--(READ  REG200 )-->",
       12,
       {{"KEY", "REG200"}, {"KEY_CMD_CLASS", "5"}, {"KEY_REG_NUM", "20"}},
       "<!--(READ REG200)-->"},
      // A line break inside the parentheses: only the catch-all kind admits it.
      {"<!--(PIN\r\n3)-->", 13, {{"data", "PIN\r\n3"}}, "<!--(PIN\r\n3)-->"},
      {"<!--(a note)-->", 13, {{"data", "a note"}}, "<!--(a note)-->"},
      {"<!--()-->", 13, {{"data", ""}}, "<!--()-->"},
  };
  TVormekWebParser parser;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("page «") + Escaped(c.page) + "»");
    const AnsiString editor = parser.PageToEditor(c.page);
    ASSERT_TRUE(IsInternalTag(editor)) << editor;
    const TzelVarList attrs = parser.ParseTag(editor);
    TzelVarList expected;
    expected.Add("type", std::to_string(c.type));
    for (const auto& v : c.attrs) expected.Add(v.Name, v.Value);
    EXPECT_EQ(attrs, expected) << editor;
    EXPECT_EQ(parser.EditorToPage(editor), c.back);
    // Built again from its attributes, the tag is the same text.
    TzelVarList rebuilt{std::vector<TzelVar>(attrs.Vars.begin() + 1, attrs.Vars.end())};
    EXPECT_EQ(parser.TzelwebParser::BuildTag(c.type, rebuilt), editor);
  }
}

TEST(PageReaders, LeaveOtherTextAlone) {
  const char* pages[] = {
      "",
      "plain text\r\nwith lines\n",
      "<!-- ordinary comment -->",
      "<!--(TODO: colons are no tag text)-->",
      "<!--(PIN 19 a/b)-->",
      "<!--(PIN 3",
      "(PIN 3)-->",
      "<#_zelbe54f7mdl type=\"0\" X=\"3\" />",
  };
  TVormekWebParser parser;
  for (const char* page : pages) {
    SCOPED_TRACE(page);
    EXPECT_EQ(parser.PageToEditor(page), page);
  }
}

TEST(PageReaders, TextBetweenTagsComesOutUnchanged) {
  TVormekWebParser parser;
  const AnsiString page = "a\r\n<!--(READ IP)--> b\n<!--(PIN 3)-->\rc  ";
  const AnsiString editor = parser.PageToEditor(page);
  const auto hits = FindInternalTags(editor);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(editor.substr(0, hits[0].first), "a\r\n");
  EXPECT_EQ(editor.substr(hits[0].first + hits[0].length, hits[1].first - hits[0].first - hits[0].length), " b\n");
  EXPECT_EQ(editor.substr(hits[1].first + hits[1].length), "\rc  ");
  EXPECT_EQ(BackToPage(parser, editor), page);
}

// ---------------------------------------------------------------------------
TEST(InternalTag, HasItsFixedForm) {
  TVormekWebParser parser;
  EXPECT_EQ(parser.GetEmptyTag(), "<#_zelbe54f7mdl />");
  EXPECT_EQ(parser.PageToEditor("<!--(PIN 3)-->"), "<#_zelbe54f7mdl type=\"0\" X=\"3\" />");
  EXPECT_EQ(parser.PageToEditor("<!--(ENDIF)-->"), "<#_zelbe54f7mdl type=\"10\" />");
  TzelVarList none;
  EXPECT_EQ(parser.TzelwebParser::BuildTag(9, none), "<#_zelbe54f7mdl type=\"9\" />");
  EXPECT_TRUE(parser.IsInternalTag("<#_ZELBE54F7MDL type=\"0\" />"));
  EXPECT_TRUE(parser.IsInternalTag("<#_zelbe54f7mdl"));
  EXPECT_FALSE(parser.IsInternalTag(" <#_zelbe54f7mdl />"));
  EXPECT_FALSE(parser.IsInternalTag("<#_zelbe54f7md"));
  EXPECT_FALSE(parser.IsInternalTag("<!--(PIN 3)-->"));
}

TEST(InternalTag, ParseTagReadsNamesAndValues) {
  struct Row {
    const char* text;
    std::vector<TzelVar> attrs;
  };
  std::string many = "<#_zelbe54f7mdl type=\"13\"";
  std::vector<TzelVar> manyAttrs{{"type", "13"}};
  for (int i = 0; i < 100; ++i) {
    many += " a" + std::to_string(i) + "=\"" + std::to_string(i * 7) + "\"";
    manyAttrs.push_back({"a" + std::to_string(i), std::to_string(i * 7)});
  }
  many += " />";
  const Row rows[] = {
      {"<#_zelbe54f7mdl type=\"0\" X=\"3\" />", {{"type", "0"}, {"X", "3"}}},
      {"<#_ZELBE54F7MDL   type=\"0\"   X=\"3\"/>", {{"type", "0"}, {"X", "3"}}},
      // Attribute lines from the page producer: names carry line breaks.
      {"<#_zelbe54f7mdl type=\"8\"\r\nx=\"ID\"\r\n OPT=\"3\"\r\n>", {{"type", "8"}, {"x", "ID"}, {"OPT", "3"}}},
      {"type=\"1\" X=\"2\"", {{"type", "1"}, {"X", "2"}}},
      {"<#_zelbe54f7mdl />", {}},
      {"", {}},
      // A value ends at its first double quote; an open value is dropped.
      {"<#_zelbe54f7mdl type=\"0\" X=\"3", {{"type", "0"}}},
      {"<#_zelbe54f7mdl a=1 b=\"2\" />", {{"a=1 b", "2"}}},
      {"<#_zelbe54f7mdl e=\"\" />", {{"e", ""}}},
      // Values are unescaped; an "&" that starts no escape stays.
      {"<#_zelbe54f7mdl v=\"&quot;&lt;&gt;&num;&amp;&cr;&lf;\" />", {{"v", "\"<>#&\r\n"}}},
      {"<#_zelbe54f7mdl v=\"a&amp;quot;b & c&nbsp;\" />", {{"v", "a&quot;b & c&nbsp;"}}},
      // Any number of attributes.
      {many.c_str(), manyAttrs},
  };
  TVormekWebParser parser;
  for (const auto& r : rows) {
    SCOPED_TRACE(Escaped(r.text).substr(0, 80));
    EXPECT_EQ(parser.ParseTag(r.text).Vars, r.attrs);
  }
}

TEST(InternalTag, ValuesSurviveTheRoundTripAndStayFindable) {
  const char* values[] = {
      "plain",
      "say \"hi\"",
      "<b>bold</b>",
      "a > b < c",
      "#1 & #2",
      "&amp; &quot; &num; &cr;",
      "/>",
      "\" />",
      "line one\r\nline two\nthree\rfour",
      "it's",
      "",
      "<#_zelbe54f7mdl type=\"0\" X=\"1\" />",
  };
  TVormekWebParser parser;
  for (const char* value : values) {
    SCOPED_TRACE(Escaped(value));
    TzelVarList attrs;
    attrs.Add("KEY", "SERIAL_SEND");
    attrs.Add("VALUE", value);
    const AnsiString tag = parser.BuildTag(11, attrs);
    // The simulator's pattern finds the whole tag, and nothing else.
    const auto hits = FindInternalTags(tag);
    ASSERT_EQ(hits.size(), 1u) << tag;
    EXPECT_EQ(hits[0].first, 0u);
    EXPECT_EQ(hits[0].length, tag.size());
    EXPECT_EQ(std::count(tag.begin(), tag.end(), '"'), 8) << tag;
    // The escape holds none of the characters it protects.
    EXPECT_EQ(tag.substr(2, tag.size() - 3).find_first_of("<>#\r\n"), AnsiString::npos) << tag;
    const TzelVarList back = parser.ParseTag(tag);
    EXPECT_EQ(back.Value("VALUE"), value);
    EXPECT_EQ(parser.EditorToPage(tag), AnsiString("<!--(EXEC SERIAL_SEND=") + value + ")-->");
    EXPECT_EQ(UnescapeTagValue(EscapeTagValue(value)), value);
  }
}

// ---------------------------------------------------------------------------
TEST(EditorToPage, WritesTheCanonicalForm) {
  struct Row {
    const char* tag;
    const char* page;
    const char* note;
  };
  const Row rows[] = {
      {"<#_zelbe54f7mdl type=\"0\" X=\"03\" />", "<!--(PIN 3)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"1\" x=\"4\" />", "<!--(PIN 4 ANALOG)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"2\" X=\"07\" a=\"2\" d=\"1\" p=\"3\" />", "<!--(PIN 07 ANALOG*2-1,3)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"3\" X=\"5\" ltag=\"lo\" htag=\"hi\" />", "<!--(PIN 5 lo/hi)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"4\" X=\"1\" Y=\"2\" />", "<!--(SERIAL DATA 1 2)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"5\" DATA=\"d\" />", "<!--(PLUG-IN d)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"6\" X=\"1\" OPT=\"3\" a=\"0\" />", "<!--(IF PIN 1 = 0)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"7\" x=\"1\" OPT=\"5\" a=\"2.5\" />", "<!--(IF PIN 1 > 2.5)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"8\" x=\"ID\" OPT=\"1\" n=\"z\" KEY=\"ID\" KEY_CMD_CLASS=\"30\" />",
       "<!--(IF ID <= z)-->", "the classifier's attributes are not written"},
      {"<#_zelbe54f7mdl type=\"9\" />", "<!--(ELSE)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"10\" />", "<!--(ENDIF)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"11\" Key=\"ID\" Value=\"abc\" />", "<!--(EXEC ID=abc)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"12\" Key=\"SSN\" />", "<!--(READ SSN)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"13\" data=\"x y\" />", "<!--(x y)-->", nullptr},
      {"<#_zelbe54f7mdl type=\"14\" />", "", "no kind above 13"},
      {"<#_zelbe54f7mdl type=\"-1\" />", "", "no kind below 0"},
      {"<#_zelbe54f7mdl X=\"3\" />", "<#_zelbe54f7mdl X=\"3\" />", "without a type the text stays"},
      {"<b>", "<b>", "without a type the text stays"},
      // Saving never stops on a stored value it cannot read.
      {"<#_zelbe54f7mdl type=\"0\" X=\"abc\" />", "<!--(PIN abc)-->", "mended: was a conversion error"},
      {"<#_zelbe54f7mdl type=\"1\" />", "<!--(PIN  ANALOG)-->", "mended: was a conversion error"},
      {"<#_zelbe54f7mdl type=\"3\" X=\"2a\" ltag=\"l\" htag=\"h\" />", "<!--(PIN 2a l/h)-->",
       "mended: was a conversion error"},
      {"<#_zelbe54f7mdl type=\"7\" X=\"1\" OPT=\"9\" a=\"1\" />", "<!--(IF PIN 1 9 1)-->",
       "an operator outside the table is written as stored"},
      {"<#_zelbe54f7mdl type=\"8\" x=\"ID\" n=\"1\" />", "<!--(IF ID  1)-->", "no operator at all"},
      {"<#_zelbe54f7mdl type=\"zero\" X=\"3\" />", "<#_zelbe54f7mdl type=\"zero\" X=\"3\" />",
       "a type that is no number leaves the text as it is"},
  };
  TVormekWebParser parser;
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.tag) + (r.note ? std::string(" ") + r.note : ""));
    EXPECT_EQ(parser.EditorToPage(r.tag), r.page);
  }
}

TEST(EditorToPage, CommandTextDropsTheCommentMarks) {
  struct Row {
    const char* tag;
    const char* command;
  };
  const Row rows[] = {
      {"<#_zelbe54f7mdl type=\"0\" X=\"1\" />", "PIN 1"},
      {"<#_zelbe54f7mdl type=\"12\" KEY=\"SSN\" />", "READ SSN"},
      {"<#_zelbe54f7mdl type=\"13\" data=\"\" />", ""},
      {"<#_zelbe54f7mdl type=\"14\" />", ""},
  };
  TVormekWebParser parser;
  for (const auto& r : rows) EXPECT_EQ(parser.GetCommandText(r.tag), r.command) << r.tag;
  EXPECT_EQ(parser.GetCommandText(parser.PageToEditor("<!--(IF SSN != abc)-->")), "IF SSN != abc");
}

// ---------------------------------------------------------------------------
TEST(FindTagAt, FindsTheTagCoveringAPosition) {
  TVormekWebParser parser;
  const AnsiString line = "ab <b>bold</b> <!--(IF A>1)--> x<i";
  const Integer b = rtl::Pos("<b>", line);
  const Integer close = rtl::Pos("</b>", line);
  const Integer comment = rtl::Pos("<!--(", line);
  struct Row {
    Integer position;
    const char* tag;
  };
  const Row rows[] = {
      {b, "<b>"},
      {b + 2, "<b>"},
      {b + 3, ""},  // inside the text between tags
      {close, "</b>"},
      {close + 3, "</b>"},
      {comment, "<!--(IF A>1)-->"},
      {comment + 9, "<!--(IF A>1)-->"},  // the ">" inside does not end it
      {comment + 14, "<!--(IF A>1)-->"},
      {1, ""},                            // before the first tag
      {rtl::Length(line), ""},            // an unclosed tag has no end
      {rtl::Length(line) + 1, ""},        // past the line
      {0, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.position);
    EXPECT_EQ(parser.FindTagAt(line, r.position), r.tag);
  }
  EXPECT_EQ(parser.FindTagAt("<!--(PIN 3", 2), "");
  EXPECT_EQ(parser.FindTagAt("", 1), "");
}

// ---------------------------------------------------------------------------
// The corpus: each page under tests/data/core/pages beside the page it must
// give back when every tag is converted and written back in page form.

std::filesystem::path PagesFolder() { return std::filesystem::path(TOLVANE_TEST_DATA) / "core" / "pages"; }

using core_test::Slurp;

// Every line end as CR LF (files whose line ends are mixed stay as they are).
AnsiString WithCrLf(const AnsiString& text) {
  return rtl::StringReplace(text, "\n", "\r\n", {rtl::TReplaceFlag::rfReplaceAll});
}

std::vector<std::filesystem::path> CorpusPages() {
  std::vector<std::filesystem::path> pages;
  for (const auto& entry : std::filesystem::directory_iterator(PagesFolder()))
    if (entry.path().extension() == ".htm") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  return pages;
}

TEST(PageCorpus, ConvertsThereAndBack) {
  const auto pages = CorpusPages();
  ASSERT_FALSE(pages.empty());
  TVormekWebParser parser;
  for (const auto& path : pages) {
    const AnsiString stored = Slurp(path);
    const AnsiString storedExpected = Slurp(path.string() + ".expected");
    const bool mixed = stored.find('\r') != AnsiString::npos;
    struct Variant {
      const char* name;
      AnsiString page, expected;
    };
    std::vector<Variant> variants{{"as stored", stored, storedExpected}};
    if (!mixed) variants.push_back({"CR LF", WithCrLf(stored), WithCrLf(storedExpected)});
    for (const auto& v : variants) {
      SCOPED_TRACE(path.filename().string() + " " + v.name);
      const AnsiString editor = parser.PageToEditor(v.page);
      // No comment tag that a kind recognises is left in the editor's form.
      EXPECT_EQ(parser.PageToEditor(editor), editor);
      const AnsiString back = BackToPage(parser, editor);
      if (back != v.expected && std::string(v.name) == "as stored") {
        std::ofstream(path.string() + ".new", std::ios::binary) << back;
      }
      EXPECT_EQ(back, v.expected);
      // Converting twice equals converting once.
      EXPECT_EQ(parser.PageToEditor(back), editor);
      EXPECT_EQ(BackToPage(parser, parser.PageToEditor(back)), back);
      // Every internal tag the simulator finds is one the parser reads.
      for (const auto& hit : FindInternalTags(editor)) {
        const TzelVarList attrs = parser.ParseTag(editor.substr(hit.first, hit.length));
        ASSERT_TRUE(attrs.Exists("type"));
        const Integer type = attrs.IntValue("type");
        EXPECT_GE(type, 0);
        EXPECT_LE(type, 13);
      }
    }
  }
}

// The corpus covers every kind, in more than one spelling where a kind has
// more than one.
TEST(PageCorpus, CoversEveryKind) {
  TVormekWebParser parser;
  std::vector<int> kinds(kTagKindCount, 0);
  for (const auto& path : CorpusPages()) {
    const AnsiString editor = parser.PageToEditor(Slurp(path));
    for (const auto& hit : FindInternalTags(editor))
      ++kinds[static_cast<size_t>(parser.ParseTag(editor.substr(hit.first, hit.length)).IntValue("type"))];
  }
  for (Integer type = 0; type < kTagKindCount; ++type) EXPECT_GE(kinds[static_cast<size_t>(type)], 2) << type;
}

}  // namespace
}  // namespace core
