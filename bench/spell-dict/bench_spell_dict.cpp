// Word look-ups of the main dictionary over the words of the Apache manual,
// beside Hunspell and nuspell on a .dic of the same word list, in one run;
// and the custom dictionary's look-ups and additions beside Hunspell's
// run-time add and spell of the same words.
#include <benchmark/benchmark.h>
#include <hunspell/hunspell.hxx>
#include <nuspell/dictionary.hxx>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ApacheWords.h"
#include "HunspellWordList.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3MainDictionary.h"

namespace {

struct Data {
  spell_bench::HunspellWordList list;   // the same words American.adm holds
  std::vector<std::string> text;        // the manual's words, UTF-8 (ASCII)
  std::vector<std::string> distinct;    // each once
  const std::string& aff = list.aff;
  const std::string& dic = list.dic;
  std::string emptyDic = (list.folder / "empty.dic").string();

  Data() {
    text = spell_bench::ApacheManualWords();
    const std::set<std::string> unique(text.begin(), text.end());
    distinct.assign(unique.begin(), unique.end());
    // No entries; the count sizes Hunspell's table for the words added later.
    std::ofstream(emptyDic) << distinct.size() << "\n";
  }
};

Data& D() {
  static Data data;
  return data;
}

// The data are made before the first timed loop.
const bool kDataReady = (D(), true);

void Report(benchmark::State& state, size_t perIteration) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * perIteration));
}

void BM_MainWordExists_Tolvane(benchmark::State& state) {
  spell::TMainDictionary d;
  d.Open(std::string(TOLVANE_BIN_DIR) + "/American.adm");
  size_t found = 0;
  for (auto _ : state)
    for (const auto& w : D().text) found += d.WordExists(w);
  state.counters["found%"] = 100.0 * static_cast<double>(found) / static_cast<double>(state.iterations() * D().text.size());
  Report(state, D().text.size());
}
BENCHMARK(BM_MainWordExists_Tolvane)->Unit(benchmark::kMillisecond);

void BM_MainSpell_Hunspell(benchmark::State& state) {
  Hunspell h(D().aff.c_str(), D().dic.c_str());
  size_t found = 0;
  for (auto _ : state)
    for (const auto& w : D().text) found += h.spell(w);
  state.counters["found%"] = 100.0 * static_cast<double>(found) / static_cast<double>(state.iterations() * D().text.size());
  Report(state, D().text.size());
}
BENCHMARK(BM_MainSpell_Hunspell)->Unit(benchmark::kMillisecond);

void BM_MainSpell_Nuspell(benchmark::State& state) {
  nuspell::Dictionary n;
  n.load_aff_dic(D().aff);
  size_t found = 0;
  for (auto _ : state)
    for (const auto& w : D().text) found += n.spell(w);
  state.counters["found%"] = 100.0 * static_cast<double>(found) / static_cast<double>(state.iterations() * D().text.size());
  Report(state, D().text.size());
}
BENCHMARK(BM_MainSpell_Nuspell)->Unit(benchmark::kMillisecond);

void BM_CustomAdd_Tolvane(benchmark::State& state) {
  for (auto _ : state) {
    spell::TCustomDictionary d;
    for (const auto& w : D().distinct) d.AddIgnore(w);
    benchmark::DoNotOptimize(d.WordCount());
  }
  Report(state, D().distinct.size());
}
BENCHMARK(BM_CustomAdd_Tolvane)->Unit(benchmark::kMillisecond);

void BM_CustomAdd_Hunspell(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto h = std::make_unique<Hunspell>(D().aff.c_str(), D().emptyDic.c_str());
    state.ResumeTiming();
    for (const auto& w : D().distinct) h->add(w);
    benchmark::DoNotOptimize(h.get());
    state.PauseTiming();
    h.reset();
    state.ResumeTiming();
  }
  Report(state, D().distinct.size());
}
BENCHMARK(BM_CustomAdd_Hunspell)->Unit(benchmark::kMillisecond);

void BM_CustomLookup_Tolvane(benchmark::State& state) {
  spell::TCustomDictionary d;
  for (const auto& w : D().distinct) d.AddIgnore(w);
  size_t found = 0;
  for (auto _ : state)
    for (const auto& w : D().text) found += d.IsIgnored(w);
  benchmark::DoNotOptimize(found);
  Report(state, D().text.size());
}
BENCHMARK(BM_CustomLookup_Tolvane)->Unit(benchmark::kMillisecond);

void BM_CustomSpell_Hunspell(benchmark::State& state) {
  Hunspell h(D().aff.c_str(), D().emptyDic.c_str());
  for (const auto& w : D().distinct) h.add(w);
  size_t found = 0;
  for (auto _ : state)
    for (const auto& w : D().text) found += h.spell(w);
  benchmark::DoNotOptimize(found);
  Report(state, D().text.size());
}
BENCHMARK(BM_CustomSpell_Hunspell)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
