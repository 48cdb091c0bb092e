// The HTML importer over real pages no one here wrote (the English Apache
// HTTP Server manual of Debian's apache2-doc), wrap on, no unknown-tag
// handler: Python's html.parser finds every output balanced and the words
// of its text equal the page's, less text standing directly in a table or
// a row (importcheck.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "htmledit/control/psHtmlImporter.h"
#include "rtl/Process.h"

using namespace htmledit;

namespace {

const std::filesystem::path kManual = "/usr/share/doc/apache2-doc/manual/en";

// Pages that differ for a reason of their own, with the reason.
const std::map<std::string, std::string> kKnownDifferences = {};

std::string ReadFile(const std::filesystem::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(HtmlImporterCorpus, ApacheManualBalancedWithItsWords) {
  if (!std::filesystem::is_directory(kManual)) {
    ADD_FAILURE() << kManual << " is missing: run scripts/install-deps (apache2-doc)";
    return;
  }
  const auto outDir = std::filesystem::temp_directory_path() / ("htmledit-import-" + std::to_string(getpid()));
  std::filesystem::create_directories(outDir);
  const auto listFile = outDir / "pairs.txt";
  std::ofstream list(listFile);
  int pages = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kManual)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".html") continue;
    TpsHtmlImporter importer;
    AnsiString out;
    importer.Import(ReadFile(entry.path()), true, out);
    const auto target = outDir / (std::to_string(pages++) + ".html");
    std::ofstream(target, std::ios::binary) << out;
    list << entry.path().string() << '\t' << target.string() << '\n';
  }
  list.close();
  EXPECT_GT(pages, 100);

  rtl::TProcessOptions options;
  options.Program = "python3";
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/htmledit/importcheck.py", listFile.string()};
  options.CaptureOutput = true;
  rtl::AnsiString report, err;
  EXPECT_EQ(rtl::RunProgram(options, &report, &err), 0u) << err;
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line)) {
    const auto tab = line.find('\t');
    const std::string page = std::filesystem::path(line.substr(0, tab)).lexically_relative(kManual).string();
    if (kKnownDifferences.count(page)) continue;
    ADD_FAILURE() << page << ": " << line.substr(tab + 1);
  }
  std::filesystem::remove_all(outDir);
}
