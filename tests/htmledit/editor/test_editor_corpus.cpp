// Every page of the English Apache HTTP Server manual (Debian's
// apache2-doc) through the editor as the main window loads a page: the
// importer keeping every tag, the parser, the layout; then saved whole with
// its custom tags. No loading error; the words, the href, src and alt
// values and each pre element's text as Python's html.parser reads the
// importer's output (savecheck.py); and, written without the beautifier,
// the saved page loaded and saved again gives the same bytes. With the
// beautifier it does not for the pages whose kept custom elements (dl, dd
// and the like) hold blocks: their content is written as the page had it
// and the beautifier indents it once more at every save.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "EditorFixture.h"
#include "htmledit/control/psHtmlImporter.h"
#include "rtl/Process.h"

using namespace htmledittest;

namespace {

const std::filesystem::path kManual = "/usr/share/doc/apache2-doc/manual/en";

// Pages that differ for a reason of their own, with the reason.
const std::map<std::string, std::string> kKnownDifferences = {};

std::string ReadBytes(const std::filesystem::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void CheckManual(bool aBeautify) {
  if (!std::filesystem::is_directory(kManual)) {
    ADD_FAILURE() << kManual << " is missing: run scripts/install-deps (apache2-doc)";
    return;
  }
  EditorOnForm f(700, 500);
  f.Editor->CodeGenerator.BeautifyCode = aBeautify;
  const auto keepAll = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) { aKeep = true; };
  f.Editor->OnSupportedCustomTag = keepAll;
  std::string error;
  f.Editor->OnDocumentLoadingError = [&](htmldoc::TObjectPtr, const AnsiString& aClass, const AnsiString& aText) {
    error = aClass + ": " + aText;
  };
  const auto outDir = std::filesystem::path(TOLVANE_BUILD_DIR) / ("htmledit-pages-" + std::to_string(getpid()));
  std::filesystem::create_directories(outDir);
  const auto listFile = outDir / "pages.txt";
  std::ofstream list(listFile);
  int pages = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kManual)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".html") continue;
    const std::string name = entry.path().lexically_relative(kManual).string();
    const std::string bytes = ReadBytes(entry.path());
    htmledit::TpsHtmlImporter importer;
    importer.OnUnknownTag = [](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag&, bool& aKeep) { aKeep = true; };
    AnsiString imported;
    importer.Import(bytes, true, imported);
    error.clear();
    f.Editor->LoadHTML(bytes);
    if (!error.empty()) {
      if (!kKnownDifferences.count(name)) ADD_FAILURE() << name << ": loading error " << error;
      continue;
    }
    const std::string saved = f.Editor->SaveToString(true, true);
    const auto importedFile = outDir / (std::to_string(pages) + "-in.html");
    const auto savedFile = outDir / (std::to_string(pages) + "-out.html");
    ++pages;
    std::ofstream(importedFile, std::ios::binary) << imported;
    std::ofstream(savedFile, std::ios::binary) << saved;
    list << name << '\t' << importedFile.string() << '\t' << savedFile.string() << '\n';
    // Out and in again: the same bytes.
    f.Editor->LoadHTML(saved);
    EXPECT_TRUE(error.empty()) << name << ": the saved page fails to load: " << error;
    const std::string again = f.Editor->SaveToString(true, true);
    if (!aBeautify && again != saved && !kKnownDifferences.count(name)) {
      size_t at = 0;
      while (at < saved.size() && at < again.size() && saved[at] == again[at]) ++at;
      ADD_FAILURE() << name << ": a second save differs at byte " << at << ": "
                    << saved.substr(at > 40 ? at - 40 : 0, 100) << "\n---\n"
                    << again.substr(at > 40 ? at - 40 : 0, 100);
    }
  }
  list.close();
  EXPECT_GT(pages, 100);

  rtl::TProcessOptions options;
  options.Program = "python3";
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/htmledit/editor/savecheck.py", listFile.string()};
  options.CaptureOutput = true;
  rtl::AnsiString report, err;
  EXPECT_EQ(rtl::RunProgram(options, &report, &err), 0u) << err;
  std::istringstream lines(report);
  std::string line;
  int reported = 0;
  while (std::getline(lines, line)) {
    const auto tab = line.find('\t');
    if (kKnownDifferences.count(line.substr(0, tab))) continue;
    if (++reported <= 30) ADD_FAILURE() << line;
  }
  EXPECT_EQ(reported, 0);
  if (!::testing::Test::HasFailure()) std::filesystem::remove_all(outDir);
}

}  // namespace

TEST(EditorPagesCorpus, ApacheManualLoadsAndSavesWithItsWordsAndValues) { CheckManual(false); }

TEST(EditorPagesCorpus, ApacheManualBeautifiedKeepsItsWordsAndValues) { CheckManual(true); }
