// Real style sheets that no one here wrote (Debian's packaged copies of
// bootstrap 4 and 5, jQuery UI's base theme, highlight.js's styles,
// normalize.css, the Read the Docs theme and Font Awesome), read by our CSS
// reader and written back by our style sheet, judged by tinycss2, a parser
// that follows the CSS syntax standard (css_compare.py). Differences our
// own rules call for are named there; any other fails.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Process.h"
#include "CorpusSupport.h"

using namespace htmldoc;

namespace {

const char* const kCorpus[] = {
    "/usr/share/javascript/bootstrap4/css/bootstrap.css",
    "/usr/share/javascript/bootstrap4/css/bootstrap-grid.css",
    "/usr/share/javascript/bootstrap4/css/bootstrap-reboot.css",
    "/usr/share/javascript/bootstrap4/css/bootstrap.min.css",
    "/usr/share/javascript/bootstrap5/css/bootstrap.css",
    "/usr/share/javascript/bootstrap5/css/bootstrap.min.css",
    "/usr/share/javascript/jquery-ui-themes/base/jquery-ui.css",
    "/usr/share/javascript/jquery-ui-themes/base/theme.css",
    "/usr/share/javascript/highlight.js/styles/default.css",
    "/usr/share/javascript/highlight.js/styles/github.css",
    "/usr/share/javascript/highlight.js/styles/monokai-sublime.css",
    "/usr/share/javascript/highlight.js/styles/atelier-cave-dark.css",
    "/usr/share/javascript/highlight.js/styles/brown-paper.css",
    "/usr/share/javascript/normalize.css/normalize.css",
    "/usr/share/sphinx_rtd_theme/static/css/theme.css",
    "/usr/share/sphinx_rtd_theme/static/css/badge_only.css",
    "/usr/share/fonts-font-awesome/css/font-awesome.css",
};

std::string WorkFolder() {
  const std::string folder = std::string(TOLVANE_BIN_DIR) + "/htmldoc-css-corpus";
  rtl::ForceDirectories(folder);
  return folder;
}

std::string SafeName(const std::string& aPath) {
  std::string name;
  for (char c : aPath) name += (c == '/' ? '_' : c);
  return name;
}

void RequireCorpus() {
  for (const char* file : kCorpus)
    ASSERT_TRUE(rtl::FileExists(file)) << file << " is missing: run scripts/install-deps";
}

// Runs the comparison; fails for every difference it cannot name.
void Judge(const char* aMode, const std::string& aList) {
  rtl::TProcessOptions options;
  options.Program = "/usr/bin/python3";  // Debian's, which has tinycss2
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/htmldoc/corpus/css_compare.py", aMode, aList};
  options.CaptureOutput = true;
  rtl::AnsiString out, err;
  const auto exitCode = rtl::RunProgram(options, &out, &err);
  ASSERT_EQ(exitCode, 0u) << "css_compare.py failed: " << err;
  std::map<std::string, int> explained;
  size_t same = 0, from = 0;
  while (from < out.size()) {
    size_t end = out.find('\n', from);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(from, end - from);
    from = end + 1;
    if (line.rfind("SAME ", 0) == 0)
      same += std::stoul(line.substr(line.rfind(' ') + 1));
    else if (line.rfind("EXPLAINED ", 0) == 0)
      ++explained[line.substr(10)];
    else if (!line.empty())
      ADD_FAILURE() << line;
  }
  EXPECT_GT(same, 1000u) << "the corpus compared almost nothing";
  std::cout << aMode << ": " << same << " items alike\n";
  for (const auto& [reason, count] : explained) std::cout << "  " << count << " differ: " << reason << "\n";
}

}  // namespace

TEST(CssCorpus, ReaderAgreesWithTinycss2) {
  RequireCorpus();
  const std::string folder = WorkFolder();
  std::string list;
  for (const char* file : kCorpus) {
    std::string dump;
    ParseCss(
        rtl::ReadStoredText(rtl::ReadFileBytes(file)),
        [&](const AnsiString& s, const AnsiString& p, const AnsiString& v, TObjectPtr) {
          dump += "D\t" + corpus::Hex(s) + "\t" + corpus::Hex(p) + "\t" + corpus::Hex(v) + "\n";
        },
        nullptr, cssErrorAll, [&](const AnsiString& a, TObjectPtr) { dump += "A\t" + corpus::Hex(a) + "\n"; });
    const std::string path = folder + "/" + SafeName(file) + ".read";
    rtl::WriteFileAtomically(path, dump);
    list += std::string(file) + "\t" + path + "\n";
  }
  rtl::WriteFileAtomically(folder + "/reader.list", list);
  Judge("reader", folder + "/reader.list");
}

TEST(CssCorpus, WriteBackKeepsTheData) {
  RequireCorpus();
  const std::string folder = WorkFolder();
  std::string list;
  for (const char* file : kCorpus) {
    TpsStyleSheet sheet;
    htmldoc::testing::LoadCss(sheet, rtl::ReadStoredText(rtl::ReadFileBytes(file)), cssErrorAll);
    const AnsiString written = sheet.GetAsString();
    const std::string path = folder + "/" + SafeName(file) + ".written.css";
    rtl::WriteFileAtomically(path, written);
    list += std::string(file) + "\t" + path + "\n";

    // Written, read and written again: the same text.
    TpsStyleSheet again;
    htmldoc::testing::LoadCss(again, written, cssErrorAll);
    EXPECT_EQ(again.GetAsString(), written) << file;
    TpsStyleSheet pretty;
    pretty.Beautify = true;
    htmldoc::testing::LoadCss(pretty, written, cssErrorAll);
    TpsStyleSheet fromPretty;
    htmldoc::testing::LoadCss(fromPretty, pretty.GetAsString(), cssErrorAll);
    EXPECT_EQ(fromPretty.GetAsString(), written) << file;
  }
  rtl::WriteFileAtomically(folder + "/writeback.list", list);
  Judge("writeback", folder + "/writeback.list");
}
