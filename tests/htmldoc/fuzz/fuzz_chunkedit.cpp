// Editing operations on generated well-formed documents, every choice
// taken from the fuzzer's bytes: markers and selections, formatting,
// deletion, moves, splits, joins and clean-up passes, each step checked as
// the model's random-sequence test checks it (EditScenario.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../support/EditScenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  htmldoc::testing::ByteChoices choices(aData, aSize);
  htmldoc::testing::EditScenario scenario(choices, [](const std::string& aWhat) {
    std::fprintf(stderr, "%s\n", aWhat.c_str());
    std::abort();
  });
  scenario.Generate();
  for (int step = 0; step < 64 && !choices.Exhausted(); ++step) scenario.Step();
  return 0;
}
