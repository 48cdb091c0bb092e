// The text routines on real pages no one here wrote (the Apache HTTP Server
// manual as Debian's apache2-doc installs it) and a real word list
// (Debian's wamerican): plain text equal to a Python reference of the rule,
// and search highlights that strip and unmark back to the text they marked.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "dropdown/text/HtmlTextRoutines.h"
#include "rtl/Process.h"

namespace dropdown {
namespace {

const char* const kManual = "/usr/share/doc/apache2-doc/manual";
const char* const kWords = "/usr/share/dict/american-english";

uint32_t Crc32(std::string_view data) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Page {
  std::string path;
  size_t length = 0;
  uint32_t crc = 0;
};

// The pages and their plain text's length and CRC-32 by the Python rule.
std::vector<Page> ReferencePages() {
  rtl::TProcessOptions options;
  options.Program = "/usr/bin/python3";
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/dropdown/text/strip_reference.py", kManual};
  options.CaptureOutput = true;
  rtl::AnsiString out, err;
  EXPECT_EQ(rtl::RunProgram(options, &out, &err), 0u) << err;
  std::vector<Page> pages;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
    if (t2 == std::string::npos) continue;
    pages.push_back({line.substr(0, t1), std::stoul(line.substr(t1 + 1, t2 - t1 - 1)),
                     static_cast<uint32_t>(std::stoul(line.substr(t2 + 1)))});
  }
  return pages;
}

TEST(HtmlTextCorpus, StripHTMLAgreesWithThePythonRuleOnEveryManualPage) {
  std::vector<Page> pages = ReferencePages();
  ASSERT_GE(pages.size(), 2000u);
  for (const Page& page : pages) {
    rtl::AnsiString plain = StripHTML(ReadFile(page.path));
    EXPECT_EQ(plain.size(), page.length) << page.path;
    EXPECT_EQ(Crc32(plain), page.crc) << page.path;
  }
}

// Every word of the list that a line of a page's visible text holds is
// highlighted in that line, and the marks come off again.
TEST(HtmlTextCorpus, HighlightsOfDictionaryWordsUnmarkAndStripBack) {
  std::unordered_set<std::string> words;
  {
    std::istringstream list(ReadFile(kWords));
    for (std::string w; std::getline(list, w);)
      if (!w.empty()) words.insert(w);
  }
  ASSERT_GE(words.size(), 50000u);
  std::unordered_set<std::string> lines;
  for (const Page& page : ReferencePages()) {
    std::string visible;
    for (char c : StripHTML(ReadFile(page.path)))
      if (c != '&' && c != '<' && c != '>') visible += c;
    std::istringstream in(visible);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find_first_not_of(" \t") != std::string::npos) lines.insert(line);
    }
  }
  ASSERT_GE(lines.size(), 10000u);
  size_t checked = 0;
  for (const std::string& t : lines) {
    std::unordered_set<std::string> found;
    for (size_t i = 0; i < t.size();) {
      if (!std::isalpha(static_cast<unsigned char>(t[i]))) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < t.size() && (std::isalpha(static_cast<unsigned char>(t[j])) || t[j] == '\'')) ++j;
      std::string w = t.substr(i, j - i);
      if (words.count(w)) found.insert(w);
      i = j;
    }
    for (const std::string& w : found) {
      const bool caseSensitive = (checked++ % 2) == 0;
      // Under the names the grid's marking and unmarking of found cells call.
      rtl::AnsiString marked = HiLightText(t, w, "hi", caseSensitive);
      ASSERT_NE(marked, t) << t << " / " << w;
      ASSERT_EQ(UnHiLightText(marked, "hi"), t) << t << " / " << w;
      ASSERT_EQ(StripHTML(marked), t) << t << " / " << w;
    }
  }
  EXPECT_GE(checked, 100000u);
}

}  // namespace
}  // namespace dropdown
