// The importers: foreign HTML normalised into blocks, inline elements
// closed at block boundaries, loose text in paragraphs; plain text into
// paragraphs. Rows marked "mend" are where the importer reads "<" as the
// document model's parser does, escapes "&" in plain text, or keeps an
// implied body and the block context whole.
#include <gtest/gtest.h>

#include "htmledit/control/psHtmlImporter.h"

using namespace htmledit;

namespace {

struct ImportCase {
  const char* name;
  const char* input;
  bool wrap;
  const char* expected;
};

const ImportCase kHtmlCases[] = {
    {"bold before a paragraph gets its own", "<b>bold<p>para", true, "<p><b>bold</b></p><p>para</p>"},
    {"two paragraphs in a row", "<p>a<p>b", true, "<p>a</p><p>b</p>"},
    {"cell in a table gets a row; text before it goes", "<table>junk<td>x</td></table>", true,
     "<table><tr><td>x</td></tr></table>"},
    {"text directly in a row goes", "<table><tr>junk<td>x</td></tr></table>", true,
     "<table><tr><td>x</td></tr></table>"},
    {"two list items", "<ul><li>a<li>b</ul>", true, "<ul><li>a</li><li>b</li></ul>"},
    {"two cells", "<table><tr><td>a<td>b</table>", true, "<table><tr><td>a</td><td>b</td></tr></table>"},
    {"closing inline not open is dropped", "<p>a</b>c</p>", true, "<p>ac</p>"},
    {"inline closed at the block's end", "<p><i>a</p>b", false, "<p><i>a</i></p>b"},
    {"font becomes a styled span",
     "<p><font face=\"Arial\" size=\"7\" color=\"red\">x</font></p>", true,
     "<p><span style=\"font-family:Arial;font-size:36pt;color:red\">x</span></p>"},
    {"font size clamped, colour unknown dropped, own style first",
     "<p><font style=\"margin:0;\" size=\"12\" color=\"nocolour\">x</font></p>", true,
     "<p><span style=\"margin:0;font-size:36pt\">x</span></p>"},
    {"font size text kept", "<p><font size=\"large\">x</font></p>", true,
     "<p><span style=\"font-size:large\">x</span></p>"},
    {"bare font gives a bare span", "<p><font>x</font></p>", true, "<p><span>x</span></p>"},
    {"html with a first paragraph gets a body", "<html><p>x</p></html>", true,
     "<html><body><p>x</p></body></html>"},
    {"mend: implied body opened once", "<html><p>a</p><div>b</div></html>", true,
     "<html><body><p>a</p><div>b</div></body></html>"},
    {"mend: implied body closed at the end", "<html><p>a", true, "<html><body><p>a</p></body></html>"},
    {"script content dropped, body style dropped, head style kept",
     "<html><head><style>p{}</style></head><body><p>a</p><style>q{}</style><script>alert(1)</script>"
     "<p>b</p></body></html>",
     true, "<html><head><style>p{}</style></head><body><p>a</p><p>b</p></body></html>"},
    {"script before the body opens the head", "<html><script>x</script><body><p>a</p></body></html>", true,
     "<html><head></head><body><p>a</p></body></html>"},
    {"mend: unended tag is text", "<p>a<b", true, "<p>a&lt;b</p>"},
    {"mend: < before blank, digit, = and < is text", "<p>1 < 2 <3 <=4 <<b>x</b></p>", true,
     "<p>1 &lt; 2 &lt;3 &lt;=4 &lt;<b>x</b></p>"},
    {"mend: unended comment is text, later tags count", "<p>a<!-- b <i>c</i></p>", true,
     "<p>a&lt;!-- b <i>c</i></p>"},
    {"loose text in the body gets a paragraph", "<body>hello</body>", true, "<body><p>hello</p></body>"},
    {"empty body gets an empty paragraph", "<body></body>", true, "<body><p></p></body>"},
    {"nothing at all with wrap", "", true, "<p></p>"},
    {"nothing at all without wrap", "", false, ""},
    {"head only: closed, then an empty paragraph", "<head><title>t</title>", true,
     "<head><title>t</title></head><p></p>"},
    {"meta in the body dropped, in the head kept",
     "<head><meta name=\"a\"></head><body><meta name=\"b\"><p>x</p></body>", true,
     "<head><meta name=\"a\"></head><body><p>x</p></body>"},
    {"br and img are empty and need a paragraph", "<body>a<br>b<img src=\"i.png\"></body>", true,
     "<body><p>a<br />b<img src=\"i.png\" /></p></body>"},
    {"br alone opens a paragraph", "<body><br></body>", true, "<body><p><br /></p></body>"},
    {"comments and doctypes pass unchanged", "<!DOCTYPE html><p>a<!-- x > y -->b</p>", true,
     "<!DOCTYPE html><p>a<!-- x > y -->b</p>"},
    {"unknown tags go, their text stays", "<p><code>x</code> <pre>y</pre></p>", true, "<p>x y</p>"},
    {"empty attributes dropped", "<p class=\"\" id=\"a\">x</p>", true, "<p id=\"a\">x</p>"},
    {"quoted > belongs to the tag", "<p title=\"a>b\">x</p>", true, "<p title=\"a>b\">x</p>"},
    {"inline without wrap stays outside blocks", "<b>x</b>", false, "<b>x</b>"},
    {"closing inline outside blocks with wrap: inline opened a paragraph", "<b>x</b>y", true,
     "<p><b>x</b>y</p>"},
    {"list item in a division is context: no paragraph", "<body><div><ul><li>a</li></ul>b</div></body>", true,
     "<body><div><ul><li>a</li></ul>b</div></body>"},
    {"mend: a block closed from outside leaves the context", "<body><div><p>a</div>b</body>", true,
     "<body><div><p>a</p></div><p>b</p></body>"},
    {"closing block not open is dropped", "<p>a</div>b</p>", true, "<p>ab</p>"},
    {"self-closed block and inline tags open", "<p/>a<b/>c", true, "<p>a<b>c</b></p>"},
    {"a structure tag closes the open blocks", "<p>a<head>", false, "<p>a</p><head></head>"},
    {"a declaration ends at its first >", "<p>a<!x='>'b</p>", true, "<p>a<!x='>'b</p>"},
    {"a script inside a block opens no head", "<p>a<script>x</script>b", true, "<p>ab</p>"},
    {"an open inline closes before an implied body", "<html><i>a<p>b", false, "<html><i>a</i><body><p>b</p></body></html>"},
    {"a name of two non-ASCII bytes and a \"<\" inside a tag", "<s \xd8\xbe<>x", true, "<p><s>x</s></p>"},
    {"the same in a paragraph tag", "<p \xd8\xbe<>", true, "<p></p>"},
    {"attribute names of punctuation dropped, real ones kept", "<p data-x=2 a?b=1 x:y.z=4>t", true,
     "<p data-x=\"2\" x:y.z=\"4\">t</p>"},
    {"second body dropped", "<html><body><p>a</p><body><p>b</p></body></html>", true,
     "<html><body><p>a</p><p>b</p></body></html>"},
};

AnsiString ImportHtml(const AnsiString& aHtml, bool aWrap, TpsHtmlImporter* aImporter = nullptr) {
  TpsHtmlImporter own;
  AnsiString out;
  (aImporter ? *aImporter : own).Import(aHtml, aWrap, out);
  return out;
}

}  // namespace

TEST(HtmlImporter, Cases) {
  for (const ImportCase& c : kHtmlCases) EXPECT_EQ(ImportHtml(c.input, c.wrap), c.expected) << c.name;
}

TEST(HtmlImporter, UnknownTagHandlerDecides) {
  TpsHtmlImporter importer;
  std::vector<AnsiString> seen;
  importer.OnUnknownTag = [&](TObjectPtr aSender, TpsMarkupTag& aTag, bool& aKeep) {
    EXPECT_EQ(aSender, &importer);
    seen.push_back(aTag.GetName());
    aKeep = aTag.GetName() == "pre";
  };
  EXPECT_EQ(ImportHtml("<p><pre>a</pre><code>b</code></p>", true, &importer), "<p><pre>a</pre>b</p>");
  EXPECT_EQ(seen, (std::vector<AnsiString>{"pre", "pre", "code", "code"}));
}

TEST(HtmlImporter, ReusedImporterStartsAfresh) {
  TpsHtmlImporter importer;
  EXPECT_EQ(ImportHtml("<html><body><ul><li><b>a", true, &importer), "<html><body><ul><li><b>a</b></li></ul></body></html>");
  EXPECT_EQ(ImportHtml("x", false, &importer), "x");
}

TEST(PlaintextImporter, Cases) {
  struct PlainCase {
    const char* name;
    const char* input;
    bool perLine;
    const char* expected;
  };
  const PlainCase cases[] = {
      {"< escaped inside one paragraph", "a<b", false, "<p>a&lt;b</p>"},
      {"mend: & escaped so &lt; stays text", "a &lt; & b", false, "<p>a &amp;lt; &amp; b</p>"},
      {"runs of lines by empty lines", "one\r\ntwo\r\n\r\nthree", false, "<p>one\r\ntwo</p>\r\n\r\n<p>three</p>"},
      {"one paragraph per line", "one\r\ntwo\r\n\r\nthree", true, "<p>one</p>\r\n<p>two</p>\r\n\r\n<p>three</p>"},
      {"LF and CR end lines as CR LF does", "one\ntwo\n\nthree\rfour", false,
       "<p>one\r\ntwo</p>\r\n\r\n<p>three\r\nfour</p>"},
      {"final line end adds no line", "a\r\n", false, "<p>a</p>"},
      {"empty text", "", false, ""},
      {"empty lines only", "\r\n\r\n", true, "\r\n"},
  };
  for (const auto& c : cases) {
    AnsiString out;
    TpsPlaintextImporter::Import(c.input, c.perLine, out);
    EXPECT_EQ(out, c.expected) << c.name;
  }
}
