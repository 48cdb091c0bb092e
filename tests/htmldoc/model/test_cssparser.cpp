// The CSS reader: handler calls per selector, the lexical structure it
// respects, at-rules, line and column counting, and the error modes.
//
// Rows marked "lexical" differ from a reader that knows no comments,
// strings or parentheses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmledit/doc/psCssParser.h"

using namespace htmldoc;

namespace {

struct Recorded {
  std::vector<std::string> calls;  // "selector|property|value" or "@rule"
};

Recorded Read(const std::string& aCss) {
  Recorded r;
  ParseCss(
      aCss,
      [&r](const AnsiString& s, const AnsiString& p, const AnsiString& v, TObjectPtr) {
        r.calls.push_back(s + "|" + p + "|" + v);
      },
      nullptr, cssErrorAll, [&r](const AnsiString& a, TObjectPtr) { r.calls.push_back(a); });
  return r;
}

using Calls = std::vector<std::string>;

}  // namespace

TEST(CssReader, HandlerCallsPerSelector) {
  struct Case {
    const char* css;
    Calls calls;
  };
  const Case cases[] = {
      {"h1, .note { color: red; font-size:12pt }",
       {"h1|color|red", ".note|color|red", "h1|font-size|12pt", ".note|font-size|12pt"}},
      {"p { color : red }", {"p|color|red"}},
      {"p { ; color: red }", {"p|; color|red"}},
      {"p { margin }", {}},
      {"p{color:red} STOP {x:y} b{color:blue}", {"p|color|red"}},
      {"p { background: url(a:b) }", {"p|background|url(a:b)"}},
      {"p{color:red} trailing text", {"p|color|red"}},
      {"p\n{\n  color:\n    red\n}\n", {"p|color|red"}},
      {"p { color: red; }", {"p|color|red"}},
      {"p { a: b; c: d e  f }", {"p|a|b", "p|c|d e f"}},
      // lexical: comments, markup comments, strings, parentheses, brackets
      {"/* x { y: z } */ p { /* a: b; */ color: /*c*/red }", {"p|color|red"}},
      {"<!-- p { color: red } -->", {"p|color|red"}},
      {"p { content: \"}\" }", {"p|content|\"}\""}},
      {"p { content: '; a: b' }", {"p|content|'; a: b'"}},
      {"p { background: url(\"data:image/png;base64,AA==\") }",
       {"p|background|url(\"data:image/png;base64,AA==\")"}},
      {"p { background: url(data:image/svg+xml;charset=utf8,%3Csvg%3E) }",
       {"p|background|url(data:image/svg+xml;charset=utf8,%3Csvg%3E)"}},
      {"a[title=\"x,y\"], b { c: d }", {"a[title=\"x,y\"]|c|d", "b|c|d"}},
      {":is(a, b) { c: d }", {":is(a, b)|c|d"}},
      {"a[x='{'] { c: d }", {"a[x='{']|c|d"}},
      {".a\\:b { c: d }", {".a\\:b|c|d"}},
      {"p { content: \"a  b\" }", {"p|content|\"a  b\""}},
      // at-rules go to their own handler, verbatim
      {"@charset \"utf-8\"; p { a: b }", {"@charset \"utf-8\";", "p|a|b"}},
      {"@import url(\"x;y.css\") screen; p{a:b}", {"@import url(\"x;y.css\") screen;", "p|a|b"}},
      {"@media print { p { a: b } q { c: d } } r { e: f }",
       {"@media print { p { a: b } q { c: d } }", "r|e|f"}},
      {"@font-face { font-family: \"}\"; src: url(x) }", {"@font-face { font-family: \"}\"; src: url(x) }"}},
      {"@media screen { p { a: b }", {"@media screen { p { a: b }"}},
      {"p { a: b } @page :first { margin: 1in }", {"p|a|b", "@page :first { margin: 1in }"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.css).calls, c.calls) << c.css;
}

TEST(CssReader, AtRulesWithoutAHandlerAreSkipped) {
  std::vector<std::string> calls;
  ParseCss(
      "@media print { p { a: b } } q { c: d }",
      [&](const AnsiString& s, const AnsiString& p, const AnsiString& v, TObjectPtr) {
        calls.push_back(s + "|" + p + "|" + v);
      },
      nullptr, cssErrorAll);
  EXPECT_EQ(calls, Calls{"q|c|d"});
}

namespace {

// Fails for the property "bad" with an unknown-property error and for the
// value "bad" with an invalid-value error.
void Strict(const AnsiString&, const AnsiString& aProperty, const AnsiString& aValue, TObjectPtr aContext) {
  if (aProperty == "bad") throw EpsHtmlEditCssParserUnknownAttributeException("unknown " + aProperty);
  if (aValue == "bad") throw EpsHtmlEditCssParserInvalidAttributeValueException("invalid " + aValue);
  if (aValue == "boom") throw rtl::EConvertError("boom");
  ++*static_cast<int*>(aContext);
}

}  // namespace

TEST(CssReader, ErrorModes) {
  struct Case {
    const char* css;
    Byte mode;
    bool raises;
    int handled;
  };
  const Case cases[] = {
      {"p { bad: 1; a: 1 }", cssErrorAll, true, 0},
      {"p { bad: 1; a: 1 }", cssErrorSkipUnknown, false, 1},
      {"p { bad: 1; a: 1 }", cssErrorSkipInvalid, false, 1},
      {"p { a: bad; b: 1 }", cssErrorAll, true, 0},
      {"p { a: bad; b: 1 }", cssErrorSkipUnknown, true, 0},
      {"p { a: bad; b: 1 }", cssErrorSkipInvalid, false, 1},
      {"p { a: 1; b: boom; c: 1 }", cssErrorSkipInvalid, true, 1},
      {"p, q { a: 1; bad: 1 }", cssErrorAll, true, 2},
  };
  for (const auto& c : cases) {
    int handled = 0;
    bool raised = false;
    try {
      ParseCss(c.css, Strict, &handled, c.mode);
    } catch (const EpsHtmlEditCssParserException&) {
      raised = true;
    }
    EXPECT_EQ(raised, c.raises) << c.css << " mode " << int(c.mode);
    EXPECT_EQ(handled, c.handled) << c.css << " mode " << int(c.mode);
  }
}

TEST(CssReader, MessagesCarryLineAndColumn) {
  struct Case {
    const char* css;
    Integer line;
    Integer column;
  };
  const Case cases[] = {
      {"p {\r\n  a: 1;\r\n  bad: 1;\r\n}", 2, 9},  // CR LF: one line end
      {"p {\n  a: 1;\n  bad: 1;\n}", 2, 9},        // LF alone counts (was always line 0)
      {"p {\r  a: 1;\r  bad: 1;\r}", 2, 9},
      {"p { bad: 1 }", 0, 12},
      {"/* one\ntwo */ p { bad: 1 }", 1, 19},
  };
  for (const auto& c : cases) {
    int handled = 0;
    try {
      ParseCss(c.css, Strict, &handled, cssErrorAll);
      ADD_FAILURE() << "no error for " << c.css;
    } catch (const EpsHtmlEditCssParserException& e) {
      EXPECT_EQ(e.Line, c.line) << c.css;
      EXPECT_EQ(e.Column, c.column) << c.css;
      EXPECT_EQ(e.Message(), "Error parsing CSS file:\runknown bad\rin Line " + std::to_string(c.line) +
                                 " Column " + std::to_string(c.column));
    }
  }
}

TEST(CssReader, LexicalHelpers) {
  EXPECT_EQ(SplitCssTopLevel("a, b ,c", ','), (std::vector<AnsiString>{"a", "b", "c"}));
  EXPECT_EQ(SplitCssTopLevel("a[x=\"1,2\"],:is(b,c),'d,e'", ','),
            (std::vector<AnsiString>{"a[x=\"1,2\"]", ":is(b,c)", "'d,e'"}));
  EXPECT_EQ(SplitCssTopLevel("", ','), std::vector<AnsiString>{});
  EXPECT_EQ(SplitCssTopLevel("a,", ','), (std::vector<AnsiString>{"a", ""}));
  EXPECT_EQ(CollapseCssWhitespace("  a \t\r\n b  \"c   d\"  "), "a b \"c   d\"");
  EXPECT_EQ(CollapseCssWhitespace("'x\\'  y'   z"), "'x\\'  y' z");
  EXPECT_EQ(FindCssTopLevel("a(b:c):d", ':'), 6u);
  EXPECT_EQ(FindCssTopLevel("'a:\nb:c", ':'), 5u);  // a line end ends the string
  EXPECT_EQ(FindCssTopLevel("abc", ':'), AnsiString::npos);
}

TEST(CssReader, BalancedForWriting) {
  struct Case {
    const char* text;
    bool closeBraces;
    const char* written;
  };
  const Case cases[] = {
      {"url(a", false, "url(a)"},
      {"f([x", false, "f([x])"},
      {"'abc", false, "'abc'"},
      {"a}b;c{", false, "a\\}b\\;c\\{"},
      {"f(a;b{)", false, "f(a;b{)"},
      {"x\\", false, "x"},
      {"'a\nb", false, "'a\nb"},
      {"@media x { a { b: c", true, "@media x { a { b: c}}"},
      {"@import 'x", true, "@import 'x'"},
      {"red", false, "red"},
  };
  for (const auto& c : cases) EXPECT_EQ(BalanceCss(c.text, c.closeBraces), c.written) << c.text;
}
