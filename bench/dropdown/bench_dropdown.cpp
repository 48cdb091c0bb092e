// The cost of what the grid does with its cell editors on every edit:
// stepping a spin edit (parse, clamp, format), filtering typed characters,
// repainting a flat combo over its native box, filling the wide combo's
// list, and the wide case-insensitive comparison its search uses, on the
// character names of Unicode's own data.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "dropdown/VoeCombo.h"
#include "dropdown/VoeSpin.h"
#include "dropdown/VoeUni.h"
#include "rtl/CodePages.h"
#include "vcl/Forms.h"

using namespace vcl;
using namespace dropdown;

namespace {

struct Scene {
  TForm* form;
  Scene() {
    form = new TForm(Application, 0);
    form->SetClientWidth(320);
    form->SetClientHeight(200);
    form->Show();
    Application->ProcessMessages();
  }
  ~Scene() { Free(form); }
  template <class T>
  T* Add(int top) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(10, top, 150, 24);
    Application->ProcessMessages();
    return c;
  }
};

// The character names of /usr/share/unicode/UnicodeData.txt (Debian's
// unicode-data), as UTF-16.
const std::vector<WideString>& Names() {
  static std::vector<WideString> names = [] {
    std::vector<WideString> out;
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    std::string line;
    while (std::getline(in, line)) {
      size_t a = line.find(';'), b = line.find(';', a + 1);
      if (a == std::string::npos || b == std::string::npos || line[a + 1] == '<') continue;
      out.push_back(rtl::Utf8ToWide(line.substr(a + 1, b - a - 1)));
    }
    return out;
  }();
  return names;
}

void BM_SpinStepFloat(benchmark::State& state) {
  Scene s;
  auto* spin = s.Add<TVoeSpinEdit>(10);
  spin->SetMaxFloatValue(1e9);
  spin->SetSpinType(sptFloat);
  spin->SetPrecision(2);
  spin->SetIncrementFloat(0.25);
  for (auto _ : state) spin->StepUp(false);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpinStepFloat);

void BM_SpinStepDate(benchmark::State& state) {
  Scene s;
  auto* spin = s.Add<TVoeSpinEdit>(10);
  spin->SetSpinType(sptDate);
  spin->SetText("1/31/2024");
  spin->SetSelStart(0);
  for (auto _ : state) spin->StepUp(false);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpinStepDate);

void BM_SpinAcceptsChar(benchmark::State& state) {
  Scene s;
  auto* spin = s.Add<TVoeSpinEdit>(10);
  spin->SetSpinType(sptFloat);
  spin->SetPrecision(2);
  spin->SetText("-1234.5");
  spin->SetSelStart(7);
  const char16_t keys[] = u"0123456789.-,:/a\b";
  for (auto _ : state)
    for (char16_t k : keys) {
      WideChar key = k;
      benchmark::DoNotOptimize(spin->AcceptsChar(key));
    }
  state.SetItemsProcessed(state.iterations() * (std::size(keys) - 1));
}
BENCHMARK(BM_SpinAcceptsChar);

void BM_RepaintFlatCombo(benchmark::State& state) {
  Scene s;
  auto* combo = s.Add<TVOEComboBox>(10);
  combo->SetEtched(state.range(0) != 0);
  for (auto _ : state) {
    combo->Invalidate();
    combo->Update();
  }
}
BENCHMARK(BM_RepaintFlatCombo)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_WideComboFill(benchmark::State& state) {
  Scene s;
  auto* combo = s.Add<TVOEUniComboBox>(10);
  const auto& names = Names();
  size_t n = std::min<size_t>(names.size(), static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    combo->Items()->BeginUpdate();
    combo->Items()->Clear();
    for (size_t i = 0; i < n; ++i) combo->Items()->Add(names[i]);
    combo->Items()->EndUpdate();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_WideComboFill)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_CompareWideText(benchmark::State& state) {
  const auto& names = Names();
  std::vector<WideString> lower;
  lower.reserve(names.size());
  for (const auto& n : names) {
    WideString l = n;
    for (auto& c : l)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    lower.push_back(l);
  }
  for (auto _ : state)
    for (size_t i = 0; i < names.size(); ++i) benchmark::DoNotOptimize(CompareWideText(lower[i], names[i]));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_CompareWideText)->Unit(benchmark::kMillisecond);

}  // namespace
