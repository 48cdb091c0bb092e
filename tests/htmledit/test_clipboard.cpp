// Clipboard formats through the in-memory backend: "HTML Format" bytes to
// the letter, fragments read back (also from headers with offsets past the
// data, reversed or negative), Unicode text as UTF-16LE with its zero unit,
// and pasted text split into lines.
#include <gtest/gtest.h>

#include "htmledit/control/psClipboard.h"

using namespace htmledit;

namespace {

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClipboardBackend(&memory); }
  void TearDown() override { SetClipboardBackend(nullptr); }
  TpsMemoryClipboard memory;
};

std::string Header(long long aEndHtml, long long aStart, long long aEnd) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer,
                "Version:1.0\r\nStartHTML:000000163\r\nEndHTML:%09lld\r\nStartFragment:%09lld\r\n"
                "EndFragment:%09lld\r\nStartSelection:%09lld\r\nEndSelection:%09lld\r\nSourceURL:\r\n",
                aEndHtml, aStart, aEnd, aStart, aEnd);
  return buffer;
}

}  // namespace

TEST_F(ClipboardTest, PutHtmlBytesAndFragmentsBack) {
  struct Case {
    const char* html;
    Integer first, last;
    const char* fragment;
  };
  const Case cases[] = {
      {"<body>123456789</body>", 7, 15, "123456789"},
      {"<body></body>", 7, 6, ""},
      {"<body><p>a</p>\r\n<p>\xc3\xa9</p></body>", 7, 25, "<p>a</p>\r\n<p>\xc3\xa9</p>"},
      {"x", 1, 1, "x"},
  };
  for (const Case& c : cases) {
    memory.Open();
    TpsClipboard::PutHtml(c.html, c.first, c.last);
    memory.Close();
    const std::string html = c.html;
    const std::string expected =
        Header(163 + html.size() + 2, 163 + c.first - 1, 163 + c.last) + html + "\r\n" + std::string(1, '\0');
    const std::string bytes = memory.GetData(TpsClipboard::HtmlFormat());
    EXPECT_EQ(bytes, expected) << c.html;
    EXPECT_EQ(expected.find("SourceURL:\r\n") + 12, 163u);
    const AnsiString data = TpsClipboard::GetHtml();
    EXPECT_EQ(data, expected.substr(0, expected.size() - 1)) << c.html;
    EXPECT_EQ(TpsClipboard::GetFragment(data), c.fragment) << c.html;
    EXPECT_EQ(memory.OpenCount(), 0);
  }
  // The Part's figures: fragment 7..15 of a 22-byte text.
  const std::string bytes = TpsClipboard::BuildHtmlFormat("<body>123456789</body>", 7, 15);
  EXPECT_NE(bytes.find("StartFragment:000000169\r\nEndFragment:000000178\r\n"), std::string::npos);
  EXPECT_EQ(bytes.substr(169, 178 - 169), "123456789");
  EXPECT_EQ(bytes.back(), '\0');
}

TEST_F(ClipboardTest, GetFragmentReadsTheHeaderAndClamps) {
  // Offsets count from the data's first byte; Copy's clamping keeps every
  // cut inside the data (a start below 1 starts at 1, the count kept).
  const std::string body = "ABCDEFGHIJ";
  struct Case {
    const char* name;
    std::string data;
    const char* expected;
  };
  const Case cases[] = {
      {"no EndFragment", "Version:1.0\r\nStartFragment:000000001\r\n" + body, ""},
      {"no StartFragment", "EndFragment:000000005\r\n" + body, ""},
      {"names ignore case, values trimmed", " startfragment : 2 \r\nENDFRAGMENT:4\r\nABCD", "ta"},
      {"a line without a colon ends the header", "StartFragment:1\r\nno colon\r\nEndFragment:3\r\nX", ""},
      {"a value that is no number is ignored", "StartFragment:x1\r\nStartFragment:0\r\nEndFragment:5\r\nZ",
       "Start"},
      {"end past the data", "StartFragment:20\r\nEndFragment:999999999\r\nabcdef", "dFragment:999999999\r\nabcdef"},
      {"start past the data", "StartFragment:999\r\nEndFragment:1000\r\nabc", ""},
      {"reversed", "StartFragment:30\r\nEndFragment:10\r\nabcdefghijklmnopqrstuvwxyz", ""},
      {"negative start", "StartFragment:-5\r\nEndFragment:3\r\nabc", "StartFra"},
      {"both negative", "StartFragment:-9\r\nEndFragment:-2\r\nabc", "StartFr"},
      {"both negative, reversed", "StartFragment:-2\r\nEndFragment:-9\r\nabc", ""},
      {"huge numbers", "StartFragment:99999999999999999999\r\nEndFragment:99999999999999999999\r\n", ""},
      {"empty data", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TpsClipboard::GetFragment(c.data), c.expected) << c.name;
}

TEST_F(ClipboardTest, AbsentFormatsReadEmpty) {
  EXPECT_EQ(TpsClipboard::GetHtml(), "");
  EXPECT_EQ(TpsClipboard::GetUnicodeText(), u"");
  EXPECT_EQ(memory.OpenCount(), 0);
}

TEST_F(ClipboardTest, UnicodeTextIsUtf16LeWithZeroUnit) {
  const WideString text = u"a\u00e9\u20ac\U0001F600";
  memory.Open();
  TpsClipboard::PutUnicodeText(text);
  TpsClipboard::PutHtml("<body>a</body>", 7, 7);
  memory.Close();
  const std::string bytes = memory.GetData(CF_UNICODETEXT);
  ASSERT_EQ(bytes.size(), text.size() * 2 + 2);
  EXPECT_EQ(bytes, std::string("a\0\xe9\0\xac\x20\x3d\xd8\x00\xde\0\0", 12));
  EXPECT_EQ(TpsClipboard::GetUnicodeText(), text);
  // Both formats were kept together while the clipboard was open.
  EXPECT_EQ(memory.Formats(), (std::vector<TpsClipboardFormat>{CF_UNICODETEXT, TpsClipboard::HtmlFormat()}));
  // Outside a bracket a setting replaces the clipboard's contents.
  TpsClipboard::PutUnicodeText(u"");
  EXPECT_EQ(memory.Formats(), (std::vector<TpsClipboardFormat>{CF_UNICODETEXT}));
  EXPECT_EQ(memory.GetData(CF_UNICODETEXT), std::string(2, '\0'));
}

TEST(ClipboardLines, TextToLines) {
  struct Case {
    const char* name;
    WideString text;
    std::vector<WideString> lines;
  };
  const Case cases[] = {
      {"two words, empty line, last word", u"  one   two  \r\n\r\nlast", {u"one two\r", u"\r", u"last"}},
      {"tabs squeezed like blanks", u"\ta\t \tb\t", {u"a\tb"}},
      {"two empty lines", u"a\r\n\r\n\r\nb", {u"a\r", u"\r", u"\r", u"b"}},
      {"leading empty line adds nothing", u"\r\na", {u"a"}},
      {"blank-only line adds nothing", u"a\r\n   \r\nb", {u"a\r", u"b"}},
      {"final line end", u"a\r\n", {u"a\r"}},
      // Mended: a lone LF or CR ends a line as CR LF does.
      {"mend: LF text", u"one two\n\nthree\nfour", {u"one two\r", u"\r", u"three\r", u"four"}},
      {"mend: CR text", u"a\r\rb", {u"a\r", u"\r", u"b"}},
      {"mend: mixed", u"a\nb\r\nc\rd", {u"a\r", u"b\r", u"c\r", u"d"}},
      {"empty", u"", {}},
  };
  for (const Case& c : cases) {
    std::vector<WideString> lines;
    TpsClipboard::TextToLines(c.text, lines);
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}
