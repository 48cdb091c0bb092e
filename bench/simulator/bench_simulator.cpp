// Preview of a large page: 1 MB of HTML holding 10,000 module tags of every
// kind the simulator evaluates, CR LF line ends.
#include <benchmark/benchmark.h>

#include <string>

#include "core/DeviceSimulatorU.h"
#include "core/VormekWebParserU.h"
#include "core/ZelWebExtU.h"
#include "../../tests/core/simulator/ReferenceExpansion.h"

namespace {

// A page of about pageSize bytes in comment form holding tagCount tags: groups
// of tags, each group on its own line, with plain markup between the groups.
std::string MakePage(int tagCount, size_t pageSize) {
  static const char* const group[] = {
      "<!--(PIN 3)-->", "<!--(PIN 2 ANALOG)-->", "<!--(PIN 2 ANALOG*2/4+1-0.5,2)-->", "<!--(PIN 4 off/on)-->",
      "<!--(SERIAL DATA 0 4)-->", "<!--(READ SSN)-->", "<!--(READ REG5)-->", "<!--(EXEC PIN_OUTPUT6=1)-->",
      "<!--(IF PIN 3 = 1)-->", "<!--(READ ID)-->", "<!--(ELSE)-->", "<!--(ENDIF)-->",
      "<!--(IF REG5 > 3)-->", "<!--(PIN 5)-->", "<!--(ENDIF)-->", "<!--(hello there)-->",
  };
  constexpr int groupSize = sizeof(group) / sizeof(group[0]);
  const int groups = tagCount / groupSize;
  std::string tags;
  for (int g = 0; g < groups; ++g) {
    tags += "<p class=\"row\">";
    for (int i = 0; i < groupSize; ++i) tags += group[i];
    tags += "</p>\r\n";
  }
  std::string page = "<html>\r\n<head><title>Big</title></head>\r\n<body>\r\n";
  // Plain markup between the groups brings the page to pageSize.
  const size_t filler = pageSize - page.size() - tags.size() - 18;
  const size_t perGroup = filler / static_cast<size_t>(groups);
  std::string pad = "<p>";
  while (pad.size() + 6 < perGroup) pad += "lorem ipsum dolor sit amet ";
  pad.resize(perGroup - 6);
  pad += "</p>\r\n";
  for (size_t pos = 0; pos < tags.size();) {
    const size_t end = tags.find("\r\n", pos) + 2;
    page.append(tags, pos, end - pos);
    page += pad;
    pos = end;
  }
  page += "</body>\r\n</html>\r\n";
  return page;
}

struct Fixture {
  Fixture(int tags, size_t size) : tagCount(tags), page(MakePage(tags, size)), editor(parser.PageToEditor(page)) {}
  int tagCount;
  core::TVormekWebParser parser;
  std::string page;
  std::string editor;
};

// The page of the figure: 1 MB, 10,000 tags.
Fixture& Large() {
  static Fixture fixture(10000, 1 << 20);
  return fixture;
}

// A tenth of it, small enough for the plain way.
Fixture& Small() {
  static Fixture fixture(1008, 100 << 10);
  return fixture;
}

void SetValues(core::TvormekParams& p) {
  p.PinRef(3).State = 1;
  p.ExtraCmds.AddKey("REG5", "7");
}

void RunExpand(benchmark::State& state, Fixture& f) {
  for (auto _ : state) {
    core::TvormekWebSimulator sim(&f.parser);
    SetValues(sim.Params());
    int errors = 0;
    sim.OnError = [&](const rtl::AnsiString&, rtl::Integer) { ++errors; };
    std::string text = f.editor;
    sim.Expand(text);
    benchmark::DoNotOptimize(text.data());
    if (errors != 0) state.SkipWithError("unexpected simulator messages");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.editor.size()));
  state.counters["page_bytes"] = static_cast<double>(f.page.size());
  state.counters["tags"] = f.tagCount;
}

void BM_Expand1MBPage10000Tags(benchmark::State& state) { RunExpand(state, Large()); }
BENCHMARK(BM_Expand1MBPage10000Tags)->Unit(benchmark::kMillisecond);

void BM_Expand100KBPage1000Tags(benchmark::State& state) { RunExpand(state, Small()); }
BENCHMARK(BM_Expand100KBPage1000Tags)->Unit(benchmark::kMillisecond);

// The same small page the plain way: the whole text searched from its start
// after every replacement.
void BM_ExpandFromTheStart100KBPage1000Tags(benchmark::State& state) {
  Fixture& f = Small();
  for (auto _ : state) {
    simtest::TestSimulator sim(&f.parser);
    SetValues(sim.Params());
    std::string text = f.editor;
    simtest::ReferenceExpansion(sim).Expand(text);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["page_bytes"] = static_cast<double>(f.page.size());
  state.counters["tags"] = f.tagCount;
}
BENCHMARK(BM_ExpandFromTheStart100KBPage1000Tags)->Unit(benchmark::kMillisecond)->Iterations(1);

// The way back to page form of the same page, through the page producer.
void BM_SavePage1MB10000Tags(benchmark::State& state) {
  Fixture& f = Large();
  core::TZelWebExt ext;
  for (auto _ : state) {
    std::string page = ext.SavePage(f.editor);
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.editor.size()));
}
BENCHMARK(BM_SavePage1MB10000Tags)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
