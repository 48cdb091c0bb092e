// Page conversion over pages of growing size, the way back for every tag,
// and the key classifier over every key the dialogs offer.
//
// A page is a run of paragraphs, each with a few lines of markup and one
// module tag of a kind taken in turn, so that every kind's search runs over
// the whole page; its line ends are CR LF, as pages from the desktop are.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/VormekWebParserU.h"
#include "rtl/StringList.h"

namespace {

const char* kTags[] = {
    "<!--(PIN 3)-->",          "<!--(PIN 3 ANALOG)-->",    "<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->",
    "<!--(PIN 3 off/on)-->",   "<!--(SERIAL DATA 1 5)-->", "<!--(PLUG-IN abc)-->",
    "<!--(IF PIN 2 = 1)-->",   "<!--(IF PIN 2 < 3.5)-->",  "<!--(IF SSN != abc)-->",
    "<!--(ELSE)-->",           "<!--(ENDIF)-->",           "<!--(EXEC ID=abc)-->",
    "<!--(READ SSN)-->",       "<!--(a note)-->",
};

std::string MakePage(int tags) {
  std::string page = "<html>\r\n<head><title>Bench</title></head>\r\n<body>\r\n";
  for (int i = 0; i < tags; ++i) {
    page += "<p class=\"row\">Some text of paragraph ";
    page += std::to_string(i);
    page += ", with <b>markup</b> around it.\r\n  Value: ";
    page += kTags[i % 14];
    page += "</p>\r\n";
  }
  return page + "</body>\r\n</html>\r\n";
}

void BM_PageToEditor(benchmark::State& state) {
  const std::string page = MakePage(static_cast<int>(state.range(0)));
  core::TVormekWebParser parser;
  for (auto _ : state) benchmark::DoNotOptimize(parser.PageToEditor(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  state.counters["page_bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_PageToEditor)->Arg(14)->Arg(140)->Arg(700)->Unit(benchmark::kMillisecond);

void BM_EditorToPageEveryKind(benchmark::State& state) {
  core::TVormekWebParser parser;
  std::vector<std::string> internal;
  for (const char* tag : kTags) internal.push_back(parser.PageToEditor(tag));
  for (auto _ : state)
    for (const auto& tag : internal) benchmark::DoNotOptimize(parser.EditorToPage(tag));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 14);
}
BENCHMARK(BM_EditorToPageEveryKind);

void BM_ClassifyOfferedKeys(benchmark::State& state) {
  core::TVormekWebParser parser;
  rtl::TStringList keys;
  keys.SetText(core::TVormekWebParser::BuildKeyList());
  for (auto _ : state)
    for (rtl::Integer i = 0; i < keys.Count(); ++i) benchmark::DoNotOptimize(parser.KeyClass(keys[i]));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * keys.Count());
}
BENCHMARK(BM_ClassifyOfferedKeys)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
