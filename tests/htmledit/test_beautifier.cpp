// The beautifier: block elements on their own lines indented by depth, a
// blank line after each top-level block, long lines broken at blanks, and
// verbatim elements (script, style, pre, textarea) left as they stand.
#include <gtest/gtest.h>

#include "htmledit/control/psHtmlBeautifier.h"

using namespace htmledit;

namespace {

AnsiString Beautified(const AnsiString& aHtml, Integer aIndent = 2, Integer aLength = 80) {
  AnsiString out;
  BeautifyHtml(aHtml, aIndent, aLength, out);
  return out;
}

AnsiString StripBlanks(const AnsiString& aText) {
  AnsiString out;
  for (char c : aText)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  return out;
}

struct Case {
  const char* name;
  const char* input;
  Integer indent;
  Integer length;
  const char* expected;
};

const Case kCases[] = {
    {"one word paragraph", "<p>word</p>", 2, 80, "<p>\r\n  word\r\n</p>\r\n\r\n"},
    {"list in a division indents items two levels", "<div><ul><li>a</li></ul></div>", 2, 80,
     "<div>\r\n  <ul>\r\n    <li>\r\n      a\r\n    </li>\r\n  </ul>\r\n</div>\r\n\r\n"},
    {"inline tag stays on the text's line", "<p>a <b>bold</b> word</p>", 2, 80,
     "<p>\r\n  a <b>bold</b> word\r\n</p>\r\n\r\n"},
    {"line length 10 breaks at the first blank past it", "<p>one two three four five six</p>", 2, 10,
     "<p>\r\n  one two three\r\n  four five\r\n  six\r\n</p>\r\n\r\n"},
    {"leading blanks after a line break are dropped", "<p>\r\n     text</p>", 2, 80,
     "<p>\r\n  \r\n  text\r\n</p>\r\n\r\n"},
    {"unbalanced closing block goes below level 0", "</div><p>x</p>", 2, 80,
     "</div>\r\n<p>\r\nx\r\n</p>"},
    {"a < without > copies the rest", "<p>a <b c", 2, 80, "<p>\r\n  a <b c"},
    {"indentation 4", "<div><p>x</p></div>", 4, 80, "<div>\r\n    <p>\r\n        x\r\n    </p>\r\n</div>\r\n\r\n"},
    {"empty and comment tags are other tags", "<p>a<br /><!-- c --></p>", 2, 80,
     "<p>\r\n  a<br /><!-- c -->\r\n</p>\r\n\r\n"},
    // Mended: verbatim content is copied unchanged up to its closing tag.
    {"pre keeps its indentation and breaks", "<div><pre>  a\r\n    b   c</pre></div>", 2, 4,
     "<div>\r\n  <pre>  a\r\n    b   c</pre>\r\n</div>\r\n\r\n"},
    {"script is not re-flowed", "<script>return\r\n  x; // a b c d e f</script>", 2, 5,
     "<script>return\r\n  x; // a b c d e f</script>"},
    {"closing tag found ignoring ASCII case", "<STYLE>p {  }</style ><p>x</p>", 2, 80,
     "<STYLE>p {  }</style >\r\n<p>\r\n  x\r\n</p>\r\n\r\n"},
    {"unclosed textarea keeps the rest", "<textarea>  a <p> b", 2, 80, "<textarea>  a <p> b"},
};

}  // namespace

TEST(Beautifier, Cases) {
  for (const Case& c : kCases) EXPECT_EQ(Beautified(c.input, c.indent, c.length), c.expected) << c.name;
}

TEST(Beautifier, OnlyWhitespaceChanges) {
  const char* inputs[] = {"<html><body><div><table><tr><td>a b c</td></tr></table></div><p>x  y</p></body></html>",
                          "text   with\tblanks<p>and <i>more</i></p></p></p><div>", "<", ">", "<<>>"};
  for (const char* input : inputs) EXPECT_EQ(StripBlanks(Beautified(input, 3, 5)), StripBlanks(input)) << input;
}

TEST(Beautifier, LineLengthCountsCharactersNotBytes) {
  // Four two-byte characters stay within a limit of 5 characters, so the
  // blank after them is kept.
  EXPECT_EQ(Beautified("<p>\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 z</p>", 0, 5), "<p>\r\n\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 z\r\n</p>\r\n\r\n");
}
