// Pages into node lists: the English pages of the Apache manual (Debian's
// apache2-doc) read by TpsHtmlParser beside gumbo on the same bytes in the
// same run, in MB/s each; and pages of many unknown void elements, whose
// search for a closing tag must stay linear in the page's size.
#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psStrings.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"

using namespace htmldoc;

namespace {

const std::vector<std::string>& ManualPages() {
  static const std::vector<std::string> pages = [] {
    std::vector<std::string> result;
    const std::filesystem::path root = "/usr/share/doc/apache2-doc/manual/en";
    if (!std::filesystem::is_directory(root))
      throw std::runtime_error(root.string() + " is missing: install Debian's apache2-doc package");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.path().extension() != ".html") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      result.push_back(bytes.str());
    }
    return result;
  }();
  return pages;
}

int64_t TotalBytes(const std::vector<std::string>& aPages) {
  int64_t total = 0;
  for (const auto& page : aPages) total += static_cast<int64_t>(page.size());
  return total;
}

void BM_ParseManual(benchmark::State& state) {
  const auto& pages = ManualPages();
  for (auto _ : state) {
    for (const auto& page : pages) {
      TpsHtmlParser parser("<!-- editing position -->");
      rtl::TStringStream stream(page);
      TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(0);
      auto chunk = parser.Parse(stream, encoding, false);
      benchmark::DoNotOptimize(chunk.get());
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalBytes(pages));
}
BENCHMARK(BM_ParseManual)->Unit(benchmark::kMillisecond);

void BM_GumboManual(benchmark::State& state) {
  const auto& pages = ManualPages();
  for (auto _ : state) {
    for (const auto& page : pages) {
      GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
      benchmark::DoNotOptimize(output->root);
      gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalBytes(pages));
}
BENCHMARK(BM_GumboManual)->Unit(benchmark::kMillisecond);

// A paragraph of aCount unknown void elements with text between.
void BM_ParseUnknownVoidElements(benchmark::State& state) {
  std::string page = "<p>";
  for (int64_t i = 0; i < state.range(0); ++i) page += "<input name=\"n\"> text <wbr>";
  page += "</p>";
  for (auto _ : state) {
    TpsHtmlParser parser("<!-- editing position -->");
    rtl::TStringStream stream(page);
    TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
    auto chunk = parser.Parse(stream, encoding, false);
    benchmark::DoNotOptimize(chunk.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseUnknownVoidElements)->RangeMultiplier(4)->Range(1000, 64000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
