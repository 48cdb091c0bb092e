// The editor control's text routines over real pages: the importer and the
// beautifier over the English Apache manual (Debian's apache2-doc), each
// beside libtidy doing the like (repairing a page; indenting it) in the same
// run, and the link handler's address search and the word splitter over a
// megabyte of text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "htmledit/control/psHtmlBeautifier.h"
#include "htmledit/control/psHtmlImporter.h"
#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/control/psSmartTags.h"
#include "rtl/CodePages.h"

#ifdef TOLVANE_BENCH_WITH_TIDY
#include <tidy.h>
#include <tidybuffio.h>
#endif

using namespace htmledit;

namespace {

const std::vector<std::string>& Manual() {
  static const std::vector<std::string> pages = [] {
    std::vector<std::string> out;
    const std::filesystem::path root = "/usr/share/doc/apache2-doc/manual/en";
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
      if (!entry.is_regular_file() || entry.path().extension() != ".html") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      out.push_back(text.str());
    }
    std::sort(out.begin(), out.end());
    return out;
  }();
  return pages;
}

size_t ManualBytes() {
  size_t bytes = 0;
  for (const std::string& page : Manual()) bytes += page.size();
  return bytes;
}

bool HaveManual(benchmark::State& aState) {
  if (!Manual().empty()) return true;
  aState.SkipWithError("the Apache manual is missing: run scripts/install-deps (apache2-doc)");
  return false;
}

void BM_ImportManual(benchmark::State& state) {
  if (!HaveManual(state)) return;
  TpsHtmlImporter importer;
  AnsiString out;
  for (auto _ : state)
    for (const std::string& page : Manual()) {
      importer.Import(page, true, out);
      benchmark::DoNotOptimize(out.data());
    }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ManualBytes()));
}
BENCHMARK(BM_ImportManual)->Unit(benchmark::kMillisecond);

void BM_BeautifyManual(benchmark::State& state) {
  if (!HaveManual(state)) return;
  AnsiString out;
  for (auto _ : state)
    for (const std::string& page : Manual()) {
      BeautifyHtml(page, 2, 80, out);
      benchmark::DoNotOptimize(out.data());
    }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ManualBytes()));
}
BENCHMARK(BM_BeautifyManual)->Unit(benchmark::kMillisecond);

#ifdef TOLVANE_BENCH_WITH_TIDY
// One page through libtidy: parsed, repaired and written, indented or not.
void TidyPage(const std::string& aPage, bool aIndent) {
  TidyDoc doc = tidyCreate();
  TidyBuffer output, errors;
  tidyBufInit(&output);
  tidyBufInit(&errors);
  tidyOptSetBool(doc, TidyQuiet, yes);
  tidyOptSetBool(doc, TidyShowWarnings, no);
  tidyOptSetBool(doc, TidyForceOutput, yes);
  tidyOptSetValue(doc, TidyCharEncoding, "utf8");
  if (aIndent) {
    tidyOptSetInt(doc, TidyIndentContent, TidyYesState);
    tidyOptSetInt(doc, TidyIndentSpaces, 2);
    tidyOptSetInt(doc, TidyWrapLen, 80);
  }
  tidySetErrorBuffer(doc, &errors);
  tidyParseString(doc, aPage.c_str());
  tidyCleanAndRepair(doc);
  tidySaveBuffer(doc, &output);
  benchmark::DoNotOptimize(output.bp);
  tidyBufFree(&output);
  tidyBufFree(&errors);
  tidyRelease(doc);
}

void BM_TidyRepairManual(benchmark::State& state) {
  if (!HaveManual(state)) return;
  for (auto _ : state)
    for (const std::string& page : Manual()) TidyPage(page, false);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ManualBytes()));
}
BENCHMARK(BM_TidyRepairManual)->Unit(benchmark::kMillisecond);

void BM_TidyIndentManual(benchmark::State& state) {
  if (!HaveManual(state)) return;
  for (auto _ : state)
    for (const std::string& page : Manual()) TidyPage(page, true);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * ManualBytes()));
}
BENCHMARK(BM_TidyIndentManual)->Unit(benchmark::kMillisecond);
#endif

// A megabyte of running text with an address every few lines, in lines of
// about 70 characters as a block's text lines would hold it.
std::vector<WideString> MegabyteLines() {
  static const char16_t* const kWords[] = {u"the",  u"module's", u"page,", u"(see",     u"http://example.com/a_b)",
                                           u"and",  u"www.example.org.", u"pins", u"value;", u"mailto:someone@example.net",
                                           u"text", u"\u2019quoted\u2019", u"ftp://files.example.com/x.tar.gz", u"register"};
  std::vector<WideString> lines;
  WideString line;
  size_t total = 0, i = 0;
  while (total < (1u << 20)) {
    const WideString word = kWords[(i * 7 + i / 3) % (sizeof kWords / sizeof kWords[0])];
    ++i;
    line += word;
    line += u' ';
    if (line.size() >= 70) {
      total += line.size() * 2;
      lines.push_back(std::move(line));
      line.clear();
    }
  }
  return lines;
}

class Line final : public IpsSmartTagNode {
 public:
  bool IsSmartTagBlock() override { return false; }
  Integer SmartTagChildCount() override { return 0; }
  IpsSmartTagNode* SmartTagChild(Integer) override { return nullptr; }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock&) override {}
  void ClearSmartTags(Integer) override {}
  void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
};

void BM_FindUrlMegabyte(benchmark::State& state) {
  WideString text;
  for (const WideString& line : MegabyteLines()) text += line;
  size_t found = 0;
  for (auto _ : state) {
    Integer position = 1, first, last;
    found = 0;
    while (TpsSmartTagCreateLinkHandler::FindUrl(text, position, first, last)) {
      position = last + 1;
      ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["addresses"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_FindUrlMegabyte)->Unit(benchmark::kMillisecond);

// The block as the analysis thread gets it: lines collected, words split,
// then the link handler's pass (its marks queued).
void BM_SplitWordsAndLinkPassMegabyte(benchmark::State& state) {
  const std::vector<WideString> lines = MegabyteLines();
  std::vector<Line> nodes(lines.size());
  Line blockNode;
  size_t bytes = 0;
  for (const WideString& line : lines) bytes += line.size() * 2;
  TpsSmartTagCreateLinkHandler handler(true, 0xFF0000, nullptr);
  Integer words = 0;
  for (auto _ : state) {
    TpsSmartTagAnalysisBlock block(nullptr, &blockNode);
    for (size_t i = 0; i < lines.size(); ++i) block.AddText(&nodes[i], lines[i], 0);
    block.Prepare();
    words = block.GetWordCount();
    handler.AnalyzeBlock(block);
    benchmark::DoNotOptimize(block.Queue().size());
  }
  state.counters["words"] = words;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SplitWordsAndLinkPassMegabyte)->Unit(benchmark::kMillisecond);

void BM_SplitWordsMegabyte(benchmark::State& state) {
  const std::vector<WideString> lines = MegabyteLines();
  std::vector<Line> nodes(lines.size());
  Line blockNode;
  size_t bytes = 0;
  for (const WideString& line : lines) bytes += line.size() * 2;
  for (auto _ : state) {
    TpsSmartTagAnalysisBlock block(nullptr, &blockNode);
    for (size_t i = 0; i < lines.size(); ++i) block.AddText(&nodes[i], lines[i], 0);
    block.Prepare();
    benchmark::DoNotOptimize(block.GetWordCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SplitWordsMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
