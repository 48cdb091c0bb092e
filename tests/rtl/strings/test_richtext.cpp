// The rich-text reader: hand-written cases for the control words it reads,
// its styles and its tolerance of broken text, and its plain text beside
// unrtf's on RTF that pandoc makes from pages of the Apache manual.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "rtl/RichText.h"

using rtl::ReadRichText;
using rtl::RichTextToPlainText;

TEST(RichText, PlainTextOfTheCommonControlWords) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {R"({\rtf1\ansi Hello world\par})", "Hello world\r\n"},
      {R"({\rtf1 one\line two\tab three})", "one\r\ntwo\tthree"},
      // Destinations that hold no text, known or marked with \*.
      {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}{\*\generator x;}{\*\anything y}A})", "A"},
      {R"({\rtf1{\info{\title T}}{\stylesheet{\s0 Normal;}}B})", "B"},
      {R"({\rtf1 {\field{\*\fldinst{HYPERLINK "x"}}{\fldrslt{link}}}})", "link"},
      // Escaped characters and the named punctuation.
      {R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d"},
      {R"({\rtf1 \lquote x\rquote \ldblquote y\rdblquote \endash \emdash \bullet })",
       "\u2018x\u2019\u201Cy\u201D\u2013\u2014\u2022"},
      {R"({\rtf1 non\~breaking\-hyphen\_x})", "non\u00A0breakinghyphen\u2011x"},
      // A control word's parameter and its delimiter space.
      {R"({\rtf1\fs24 big\fs20  small})", "big small"},
      // Line ends in the source are not text; an escaped one is a paragraph.
      {"{\\rtf1 a\r\nb\\\nc}", "ab\r\nc"},
      // Text after the outermost group is not read.
      {R"({\rtf1 inside}outside)", "inside"},
      // Binary data is skipped by its length.
      {"{\\rtf1 a{\\pict\\bin3 }}}}b}", "ab"},
  };
  for (const auto& k : cases) EXPECT_EQ(RichTextToPlainText(k.rtf), k.text) << k.rtf;
}

TEST(RichText, CodePageBytesAndUnicodeWithItsFallbackCount) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80 \'93q\'94})", "caf\u00e9 \u20ac \u201cq\u201d"},
      {R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})", "\u041f\u0440\u0438\u0432\u0435\u0442"},
      {R"({\rtf1\pc \'81ber})", "\u00fcber"},
      // Two bytes of one character in a double-byte code page.
      {R"({\rtf1\ansi\ansicpg932 \'82\'a0})", "\u3042"},
      // \u with one fallback character (the default), with \uc2, with \uc0.
      {R"({\rtf1 Verf\u252?gbar})", "Verf\u00fcgbar"},
      {R"({\rtf1\uc2 \u8364\'80\'80 EUR})", "\u20ac EUR"},
      {R"({\rtf1\uc0 \u8364 x})", "\u20acx"},
      // A fallback that is a control symbol counts as one character.
      {R"({\rtf1 \u233\'e9 e})", "\u00e9 e"},
      // Negative values and a surrogate pair.
      {R"({\rtf1 \u-3998?})", "\uf062"},
      {R"({\rtf1 \u-10179?\u-8704?!})", "\U0001F600!"},
      // The fallback count belongs to its group.
      {R"({\rtf1 {\uc3 \u65 xyz}\u66?b})", "ABb"},
      // A group's end ends the fallback.
      {R"({\rtf1 {\u67}d})", "Cd"},
  };
  for (const auto& k : cases) EXPECT_EQ(RichTextToPlainText(k.rtf), k.text) << k.rtf;
}

TEST(RichText, RunsCarryTheirStyles) {
  const auto doc = ReadRichText(
      R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue255;}plain \b bold\b0  {\i\ul it}\cf1 red\cf2\fs30 blue\plain  end})");
  ASSERT_EQ(doc.Colors.size(), 3u);
  EXPECT_EQ(doc.Colors[0], -1);
  EXPECT_EQ(doc.Colors[1], 0x0000FF);
  EXPECT_EQ(doc.Colors[2], 0xFF8000);
  ASSERT_EQ(doc.Runs.size(), 7u);
  EXPECT_EQ(doc.Runs[0].Text, "plain ");
  EXPECT_FALSE(doc.Runs[0].Bold);
  EXPECT_EQ(doc.Runs[1].Text, "bold");
  EXPECT_TRUE(doc.Runs[1].Bold);
  EXPECT_EQ(doc.Runs[2].Text, " ");
  EXPECT_EQ(doc.Runs[3].Text, "it");
  EXPECT_TRUE(doc.Runs[3].Italic);
  EXPECT_TRUE(doc.Runs[3].Underline);
  EXPECT_EQ(doc.Runs[4].Text, "red");
  EXPECT_EQ(doc.Runs[4].Color, 0x0000FF);
  EXPECT_EQ(doc.Runs[5].Text, "blue");
  EXPECT_EQ(doc.Runs[5].Color, 0xFF8000);
  EXPECT_EQ(doc.Runs[5].FontSize, 15);
  EXPECT_EQ(doc.Runs[6].Text, " end");
  EXPECT_EQ(doc.Runs[6].Color, -1);
  EXPECT_EQ(doc.Runs[6].FontSize, 0);
  EXPECT_EQ(doc.PlainText(), "plain bold itredblue end");
}

TEST(RichText, BrokenTextNeverFails) {
  struct Case {
    std::string rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1 unclosed {\\b group", "unclosed group"},
      {"}}} stray {\\rtf1 x}", " stray x"},
      {"{\\rtf1 \\'", ""},
      {"{\\rtf1 \\'4", "\x04"},
      {"{\\rtf1 \\u", ""},
      {"{\\rtf1 \\bin999999999 lost}", ""},
      {"{\\rtf1 \\unknownword42 kept}", "kept"},
      {"{\\rtf1 \\fs99999999999999999999 big}", "big"},
      {"\\", ""},
      {"", ""},
      {"plain text", "plain text"},
      {std::string(100000, '{') + "deep" + std::string(100000, '}'), "deep"},
  };
  for (const auto& k : cases) EXPECT_EQ(RichTextToPlainText(k.rtf), k.text) << k.rtf.substr(0, 40);
}

namespace {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

// The text without any blank or line end (unrtf breaks lines at font
// changes and tabs of its own accord); every character outside ASCII as
// "?" (unrtf's text output writes no other).
std::string Normalised(const std::string& text) {
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n' || c == '\r' || c == ' ' || c == '\t') continue;
    if (c >= 0xC0)
      out += '?';
    else if (c < 0x80)
      out += ch;  // continuation bytes are dropped
  }
  return out;
}

}  // namespace

// pandoc writes RTF from HTML pages, English and not; unrtf's plain text and
// ours agree character for character. unrtf shows a hyperlink's target instead of its
// text, so the field instructions are taken out before both read the file.
TEST(RichText, PlainTextAgreesWithUnrtfOnTheApacheManual) {
  const std::string manual = "/usr/share/doc/apache2-doc/manual";
  const char* pages[] = {"en/bind.html", "en/dso.html", "de/bind.html", "fr/dso.html", "ja/bind.html", "ko/dso.html"};
  // One folder per process: the build flavours may run this test at once.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tolvane-richtext-peer-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  int compared = 0;
  for (const char* page : pages) {
    const std::string html = manual + "/" + page;
    ASSERT_TRUE(std::filesystem::exists(html)) << html;
    const std::string rtfPath = (dir / "page.rtf").string();
    RunCommand("pandoc -f html -t rtf -s '" + html + "' 2>/dev/null | sed -E 's/\\{\\\\\\*\\\\fldinst\\{[^}]*\\}\\}//g' > '" +
        rtfPath + "'");
    std::ifstream in(rtfPath, std::ios::binary);
    std::stringstream rtf;
    rtf << in.rdbuf();
    ASSERT_GT(rtf.str().size(), 1000u) << "pandoc made nothing of " << page;
    ASSERT_EQ(rtf.str().find("fldinst"), std::string::npos) << page;

    std::string peer = RunCommand("unrtf --text '" + rtfPath + "' 2>/dev/null");
    // Its banner: comment lines down to the rule under them.
    const size_t rule = peer.find("\n-----------------\n");
    ASSERT_NE(rule, std::string::npos) << page;
    const std::string kept = peer.substr(rule + 19);
    const auto theirs = Normalised(kept);
    // unrtf's text output writes nothing for \bullet.
    std::string plain = RichTextToPlainText(rtf.str());
    for (size_t at; (at = plain.find("\u2022")) != std::string::npos;) plain.erase(at, 3);
    const auto ours = Normalised(plain);
    ASSERT_GT(theirs.size(), 1000u) << page;
    const size_t n = std::min(ours.size(), theirs.size());
    size_t i = 0;
    while (i < n && ours[i] == theirs[i]) ++i;
    const size_t from = i < 40 ? 0 : i - 40;
    EXPECT_EQ(i, std::max(ours.size(), theirs.size()))
        << page << " differs at " << i << "\n ours: " << ours.substr(from, 100) << "\nunrtf: " << theirs.substr(from, 100);
    ++compared;
  }
  EXPECT_EQ(compared, 6);
  std::filesystem::remove_all(dir);
}
