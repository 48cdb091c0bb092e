// The style sheet: bootstrap's CSS loaded into a sheet, beside modest's CSS
// parser (mycss) on the same text in the same run, and cascade look-ups
// through the cache and without it.
#include <benchmark/benchmark.h>

#include <mycss/api.h>

#include <string>
#include <vector>

#include "../../tests/htmldoc/support/StyleSheetLoader.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"

using namespace htmldoc;

namespace {

const char* const kBootstrap = "/usr/share/javascript/bootstrap4/css/bootstrap.css";

const std::string& BootstrapCss() {
  static const std::string css = rtl::ReadStoredText(rtl::ReadFileBytes(kBootstrap));
  return css;
}

void BM_LoadBootstrapIntoSheet(benchmark::State& state) {
  const std::string& css = BootstrapCss();
  for (auto _ : state) {
    TpsStyleSheet sheet;
    htmldoc::testing::LoadCss(sheet, css);
    benchmark::DoNotOptimize(sheet.GetCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * css.size());
}
BENCHMARK(BM_LoadBootstrapIntoSheet)->Unit(benchmark::kMillisecond);

void BM_WriteBootstrapSheet(benchmark::State& state) {
  TpsStyleSheet sheet;
  htmldoc::testing::LoadCss(sheet, BootstrapCss());
  for (auto _ : state) benchmark::DoNotOptimize(sheet.GetAsString());
}
BENCHMARK(BM_WriteBootstrapSheet)->Unit(benchmark::kMillisecond);

void BM_MycssParseBootstrap(benchmark::State& state) {
  const std::string& css = BootstrapCss();
  mycss_t* mycss = mycss_create();
  mycss_init(mycss);
  mycss_entry_t* entry = mycss_entry_create();
  mycss_entry_init(mycss, entry);
  for (auto _ : state) {
    mycss_parse(entry, MyENCODING_UTF_8, css.data(), css.size());
    mycss_entry_clean_all(entry);
  }
  mycss_entry_destroy(entry, true);
  mycss_destroy(mycss, true);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * css.size());
}
BENCHMARK(BM_MycssParseBootstrap)->Unit(benchmark::kMillisecond);

// A layout's walk: nested elements push their styles and read the cascade.
struct CascadeFixture {
  CascadeFixture() : tree(&sheet) {
    htmldoc::testing::LoadCss(sheet, BootstrapCss());
    for (const char* name : {"body", "div", "p", "span", "a", "b", "i", "ul", "li", "table", "td",
                             ".btn", ".card", ".row", ".col", ".nav", ".badge", ".alert"})
      if (sheet.IndexOfStyle(name) >= 0) ids.push_back(sheet.IndexOfStyle(name));
  }
  void Walk(TpsStyleStack& aStack, uint32_t aSeed) {
    for (int element = 0; element < 64; ++element) {
      aSeed = aSeed * 1664525u + 1013904223u;
      if (aStack.Count() > 24 || (aSeed >> 28) < 5) {
        aStack.EndLevel();
      } else {
        aStack.BeginLevel();
        aStack.PushStyle(ids[(aSeed >> 8) % ids.size()]);
      }
      benchmark::DoNotOptimize(aStack.GetAttributes());
    }
  }
  TpsStyleSheet sheet;
  TpsStyleContextTree tree;
  std::vector<Integer> ids;
};

void BM_CascadeCached(benchmark::State& state) {
  CascadeFixture f;
  TpsStyleStack stack(&f.tree);
  uint32_t seed = 1;
  for (auto _ : state) f.Walk(stack, seed++ % 16);
}
BENCHMARK(BM_CascadeCached);

void BM_CascadeUncached(benchmark::State& state) {
  CascadeFixture f;
  TpsStyleStack stack(&f.tree);
  uint32_t seed = 1;
  for (auto _ : state) {
    f.tree.Invalidate();
    f.Walk(stack, seed++ % 16);
  }
}
BENCHMARK(BM_CascadeUncached);

}  // namespace
