// The spell-checker component beside Hunspell and nuspell on the same word
// list: WordAcceptable and a counting walk with spelling over the Apache
// manual; suggestions per second and the top-one and top-five hit rates on
// codespell's misspelling pairs (every 10th pair whose correction is one
// word of the list and whose misspelling is not).
#include <benchmark/benchmark.h>
#include <hunspell/hunspell.hxx>
#include <nuspell/dictionary.hxx>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "ApacheWords.h"
#include "HunspellWordList.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/engine/lx3Text.h"

namespace {

struct Data {
  spell_bench::HunspellWordList list{{"TRY", "REP", "ICONV", "WORDCHARS"}};
  std::vector<std::string> words;  // the manual's words
  std::string pages;               // the manual's words as one text
  std::vector<std::pair<std::string, std::string>> pairs;
  const std::string& aff = list.aff;
  const std::string& dic = list.dic;
  std::unique_ptr<spell::TLexaSpell3Base> component;

  Data() {
    words = spell_bench::ApacheManualWords();
    for (const auto& w : words) pages += w + " ";
    std::ifstream c("/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt");
    size_t n = 0;
    for (std::string line; std::getline(c, line);) {
      const size_t arrow = line.find("->");
      if (arrow == std::string::npos) continue;
      const std::string wrong = line.substr(0, arrow), right = line.substr(arrow + 2);
      if (right.find(',') != std::string::npos || right.find(' ') != std::string::npos) continue;
      if (!list.listed.count(right) || list.listed.count(wrong)) continue;
      if (n++ % 10 == 0) pairs.emplace_back(wrong, right);
    }
    component = std::make_unique<spell::TLexaSpell3Base>();
    component->SetConfigStorage(spell::csNone);
    component->ConfigDictionaryDir().Clear();
    component->ConfigDictionaryDir().Add(list.folder.string());
    component->ConfigDictionaryDir().Add(TOLVANE_BIN_DIR);
    component->SuggestionsLearning = false;
    component->Config().EnsureLoaded();
    component->Config().SetOptions(component->Config().GetOptions() | spell::SpellOption(spell::soHTML));
  }
  ~Data() { component.reset(); }
};

Data& D() {
  static Data data;
  return data;
}
const bool kDataReady = (D(), true);

void BM_WordAcceptable_Tolvane(benchmark::State& state) {
  auto& s = *D().component;
  for (auto _ : state)
    for (const auto& w : D().words) benchmark::DoNotOptimize(s.WordAcceptable(w));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_WordAcceptable_Tolvane)->Unit(benchmark::kMillisecond);

void BM_CountWordsWithSpelling_Tolvane(benchmark::State& state) {
  auto& s = *D().component;
  for (auto _ : state) {
    spell::AnsiString text = D().pages;
    spell::TStringParser parser;
    parser.Initialize(&text);
    spell::Integer words = 0, errors = 0;
    bool has = false;
    s.CountWords(&parser, 2, words, errors, has, false, true);
    benchmark::DoNotOptimize(errors);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_CountWordsWithSpelling_Tolvane)->Unit(benchmark::kMillisecond);

void BM_Spell_Hunspell(benchmark::State& state) {
  Hunspell h(D().aff.c_str(), D().dic.c_str());
  for (auto _ : state)
    for (const auto& w : D().words) benchmark::DoNotOptimize(h.spell(w));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_Spell_Hunspell)->Unit(benchmark::kMillisecond);

void BM_Spell_Nuspell(benchmark::State& state) {
  nuspell::Dictionary n;
  n.load_aff_dic(D().aff);
  for (auto _ : state)
    for (const auto& w : D().words) benchmark::DoNotOptimize(n.spell(w));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * D().words.size()));
}
BENCHMARK(BM_Spell_Nuspell)->Unit(benchmark::kMillisecond);

template <typename Suggest>
void HitRates(benchmark::State& state, Suggest suggest) {
  size_t top1 = 0, top5 = 0, asked = 0;
  for (auto _ : state) {
    for (const auto& [wrong, right] : D().pairs) {
      const std::vector<std::string> list = suggest(wrong);
      ++asked;
      if (!list.empty() && list[0] == right) ++top1;
      for (size_t i = 0; i < list.size() && i < 5; ++i)
        if (list[i] == right) {
          ++top5;
          break;
        }
    }
  }
  state.counters["pairs"] = static_cast<double>(D().pairs.size());
  state.counters["top1"] = static_cast<double>(top1) / static_cast<double>(asked);
  state.counters["top5"] = static_cast<double>(top5) / static_cast<double>(asked);
  state.SetItemsProcessed(static_cast<int64_t>(asked));
}

void BM_Suggest_Tolvane(benchmark::State& state) {
  auto& s = *D().component;
  HitRates(state, [&](const std::string& w) {
    rtl::TStringList list;
    s.GetSuggestions(w, 5, list);
    std::vector<std::string> out;
    for (spell::Integer i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
  });
}
BENCHMARK(BM_Suggest_Tolvane)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Suggest_Hunspell(benchmark::State& state) {
  Hunspell h(D().aff.c_str(), D().dic.c_str());
  HitRates(state, [&](const std::string& w) { return h.suggest(w); });
}
BENCHMARK(BM_Suggest_Hunspell)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
