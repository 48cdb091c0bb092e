#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../simulator/SimCases.h"
#include "core/VormekCmdU.h"
#include "core/ZelWebExtU.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

using core::kBodyEndMarker;
using core::kBodyStartMarker;
using core::TZelWebExt;

namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(TOLVANE_TEST_DATA) + "/core/sim/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  std::stringstream s;
  s << in.rdbuf();
  // Whatever line ends the checkout gave the file: LF here, the test
  // chooses per case.
  return rtl::StringReplace(s.str(), "\r\n", "\n", {rtl::TReplaceFlag::rfReplaceAll});
}

std::string WithCrLf(const std::string& lf) {
  return rtl::StringReplace(lf, "\n", "\r\n", {rtl::TReplaceFlag::rfReplaceAll});
}

using Errors = std::vector<std::pair<std::string, int>>;

Errors ErrorsOf(const TZelWebExt& ext) {
  Errors errors;
  for (int i = 0; i < ext.Errors().Count(); ++i)
    errors.emplace_back(ext.Errors().Get(i), static_cast<int>(rtl::ObjectToInt(ext.Errors().Objects(i))));
  return errors;
}

core::TvormekParams& Values(TZelWebExt& ext) {
  return static_cast<core::TvormekWebSimulator*>(ext.Simulator())->Params();
}

// --- the web extension -------------------------------------------------------

TEST(WebExt, LoadThenSaveGivesThePageBack) {
  const std::string page = Fixture("status.htm");
  for (const std::string& text : {page, WithCrLf(page)}) {
    TZelWebExt ext;
    const std::string editor = ext.LoadPage(text);
    EXPECT_EQ(editor.find("<!--("), std::string::npos);  // every tag in the editor's form
    EXPECT_NE(editor.find("<body>" + std::string(kBodyStartMarker)), std::string::npos);
    EXPECT_NE(editor.find(std::string(kBodyEndMarker) + "</body>"), std::string::npos);
    EXPECT_EQ(ext.SavePage(editor), text);
  }
}

TEST(WebExt, SavingWritesTagsInTheirCanonicalForm) {
  struct Case {
    const char* page;
    const char* saved;
  };
  const Case cases[] = {
      {"<body><p><!--(pin 3)--></p></body>", "<body><p><!--(PIN 3)--></p></body>"},
      {"<p><!--(read ssn)--> <!--(if pin 2 < 3.5)-->x<!--(endif)--></p>",
       "<p><!--(READ ssn)--> <!--(IF PIN 2 < 3.5)-->x<!--(ENDIF)--></p>"},
      {"<p><!--(EXEC IP = 1)--></p>", "<p><!--(EXEC IP = 1)--></p>"},
      {"plain text, no tags", "plain text, no tags"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    TZelWebExt ext;
    EXPECT_EQ(ext.SavePage(ext.LoadPage(c.page)), c.saved);
  }
}

TEST(WebExt, SimulateGivesThePreviewAndItsMessages) {
  const std::string page = Fixture("status.htm");
  const std::string preview = Fixture("status.preview");
  const Errors errors = {{"Can not display the Plug-in command in simulation mode., DATA=weather", 7},
                         {"Unknown key: DNS", 11}};
  for (bool crlf : {false, true}) {
    SCOPED_TRACE(crlf ? "CR LF" : "LF");
    TZelWebExt ext;
    Values(ext).PinRef(3).State = 1;
    Values(ext).PinRef(2).Volts = 2.5f;
    Values(ext).SerialFrame = "HELLO WORLD";
    const std::string result = ext.Simulate(ext.LoadPage(crlf ? WithCrLf(page) : page));
    EXPECT_EQ(result, crlf ? WithCrLf(preview) : preview);
    EXPECT_EQ(result.find("0331BA3E"), std::string::npos);
    EXPECT_EQ(result.find("11DBC841"), std::string::npos);
    EXPECT_EQ(ErrorsOf(ext), errors);
    EXPECT_EQ(Values(ext).ID, "renamed");
  }
}

// The simulator's table of pages, opened in the editor and previewed.
TEST(WebExt, SimulateGivesTheSimulatorsResults) {
  for (const simtest::Case& c : simtest::Cases()) {
    SCOPED_TRACE(c.name);
    TZelWebExt ext;
    if (c.setup) c.setup(Values(ext));
    EXPECT_EQ(ext.Simulate(ext.LoadPage(c.page)), c.output);
    EXPECT_EQ(ErrorsOf(ext), c.errors);
  }
}

TEST(WebExt, EachRunStartsWithAnEmptyErrorList) {
  TZelWebExt ext;
  ext.Simulate(ext.LoadPage("<p><!--(ELSE)--></p>"));
  EXPECT_EQ(ErrorsOf(ext), (Errors{{"Else without if", 0}}));
  ext.Simulate(ext.LoadPage("<p>\r\n<!--(ENDIF)--></p>"));
  EXPECT_EQ(ErrorsOf(ext), (Errors{{"Endif without if", 1}}));
  // A run that an error ends keeps what it reported so far.
  EXPECT_THROW(ext.Simulate("<!--(READ DNS)--> <#_zelbe54f7mdl type=\"1\" X=\"one\" />"), rtl::EConvertError);
  EXPECT_EQ(ErrorsOf(ext), (Errors{}));
  EXPECT_THROW(ext.Simulate(ext.LoadPage("<!--(READ DNS)-->") + "<#_zelbe54f7mdl type=\"1\" X=\"one\" />"),
               rtl::EConvertError);
  EXPECT_EQ(ErrorsOf(ext), (Errors{{"Unknown key: DNS", 0}}));
}

TEST(WebExt, PartsAndIdentity) {
  TZelWebExt ext;
  ASSERT_NE(ext.Parser(), nullptr);
  ASSERT_NE(ext.Simulator(), nullptr);
  EXPECT_EQ(ext.TagList(), ext.Parser()->TagList());
  EXPECT_EQ(ext.TagList()->Count(), 13);
  EXPECT_STREQ(ext.Simulator()->ClassName(), "TvormekWebSimulator");
  EXPECT_EQ(ext.Simulator()->Parser(), ext.Parser());
  EXPECT_FALSE(ext.vormekProd().StripParamQuotes());
  EXPECT_TRUE(ext.KnExpression1().AllowEqual());
  EXPECT_TRUE(ext.IsDeviceTag("<#_ZELBE54F7MDL type=\"0\" />"));
  EXPECT_FALSE(ext.IsDeviceTag("<!--(PIN 3)-->"));
}

TEST(WebExt, VormekTagRebuildsTheTagFromTheProducersParts) {
  TZelWebExt ext;
  struct Case {
    const char* name;
    std::vector<std::string> params;
    const char* replacement;
  };
  const Case cases[] = {
      {"_zelbe54f7mdl", {"type=\"0\"", "X=\"3\""}, "<!--(PIN 3)-->"},
      {"_zelbe54f7mdl", {"type=\"3\"", "X=\"2\"", "LTAG=\"a b\"", "HTAG=\"c\""}, "<!--(PIN 2 a b/c)-->"},
      {"other", {"a=\"1\"", "b"}, "<#other a=\"1\"\r\nb>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replacement);
    rtl::TStringList params;
    for (const auto& p : c.params) params.Add(p);
    rtl::AnsiString replacement;
    ext.VormekTag(&ext.vormekProd(), c.name, params, replacement);
    EXPECT_EQ(replacement, c.replacement);
  }
}

TEST(WebExt, EditTagGoesThroughTheKindsDialog) {
  TZelWebExt ext;
  rtl::TStringList lines;
  lines.Add("type=0");
  lines.Add("X=3");
  rtl::AnsiString tag;
  core::SetShowTagDialog(nullptr);
  EXPECT_FALSE(ext.EditTag(lines, tag));  // no dialog: cancelled

  core::SetShowTagDialog([](const rtl::AnsiString&, core::TcustomTagParams& params) {
    for (auto& p : params.Params)
      if (p.Name == "X") p.Value = "5";
    return true;
  });
  EXPECT_TRUE(ext.EditTag(lines, tag));
  core::SetShowTagDialog(nullptr);
  EXPECT_TRUE(ext.IsDeviceTag(tag));
  EXPECT_EQ(ext.Parser()->EditorToPage(tag), "<!--(PIN 5)-->");
}

// --- body markers ------------------------------------------------------------

TEST(WebExt, WrapBody) {
  const std::string s = kBodyStartMarker, e = kBodyEndMarker;
  struct Case {
    std::string text;
    std::string wrapped;
  };
  const Case cases[] = {
      {"no body, no paragraph", "no body, no paragraph"},
      {"text<p>para", s + "text<p>para" + e},
      {"<P>upper</P>", s + "<P>upper</P>" + e},  // the search ignores case
      {"<html><BODY onload=x>in</BODY></html>", "<html><BODY onload=x>" + s + "in" + e + "</BODY></html>"},
      {"<body>no end", "<body>" + s + "no end"},
      {"<body unfinished", "<body unfinished"},
      {"<p>x</body>", s + "<p>x" + e + "</body>" + e},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::WrapBody(c.text), c.wrapped);
  }
}

TEST(WebExt, RemoveMarkersAlsoWhereAWriterReshapedThem) {
  const std::string s = kBodyStartMarker, e = kBodyEndMarker;
  struct Case {
    const char* name;
    std::string text;
    std::string clean;
  };
  const Case cases[] = {
      {"exact", "<body>" + s + "<p>x</p>" + e + "</body>", "<body><p>x</p></body>"},
      {"moved by editing", "<body><p>a" + s + "</p>" + e + "b</body>", "<body><p>a</p>b</body>"},
      {"end written as a bare end tag", "<body>" + s + "<div>in</div><p>x</p></div>\r\n</body>",
       "<body><div>in</div><p>x</p>\r\n</body>"},
      {"other case and quoting",
       "<body><DIV ID=0331BA3E-5EDC-4571-8323-9C5B5A3FA76E><div>x</div></DIV id='11dbc841-5b8f-42ce-a2a0-57264abda3ee'>"
       "</body>",
       "<body><div>x</div></body>"},
      {"start reshaped, exact end", "<body><div id='0331BA3E-5EDC-4571-8323-9C5B5A3FA76E'><p/>" + e + "</div></body>",
       "<body><p/></div></body>"},
      {"no markers", "<body><div>a</div></body>", "<body><div>a</div></body>"},
      {"start without any end tag", "<body>" + s + "<p>x</p></body>", "<body><p>x</p></body>"},
      {"twice", s + s + "x" + e + e, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(core::RemoveMarkers(c.text), c.clean);
  }
}

TEST(WebExt, SaveRemovesMarkersTheEditorReshaped) {
  TZelWebExt ext;
  const std::string editor = ext.LoadPage("<html><body>\r\n<p><!--(PIN 1)--></p>\r\n</body></html>");
  // The editor writes the end marker as the end tag of the start marker's div.
  const std::string reshaped = rtl::StringReplace(editor, kBodyEndMarker, "</div>", {});
  EXPECT_EQ(ext.SavePage(reshaped), "<html><body>\r\n<p><!--(PIN 1)--></p>\r\n</body></html>");
  EXPECT_EQ(ext.Simulate(reshaped), "<html><body>\r\n<p>0</p>\r\n</body></html>");
}

}  // namespace
