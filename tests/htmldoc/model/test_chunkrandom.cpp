// Random operation sequences on generated well-formed documents, with
// fixed seeds: markers and contiguous selections, then formatting,
// deletion, moves, splits, joins and clean-up, each with what it promises
// checked after every step (see EditScenario.h).
#include <gtest/gtest.h>

#include <string>

#include "../support/EditScenario.h"

using namespace htmldoc;
using namespace htmldoc::testing;

TEST(ChunkRandomEdits, FixedSeeds) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    SeededChoices choices(seed);
    std::string failure;
    EditScenario scenario(choices, [&](const std::string& aWhat) { failure = aWhat; });
    scenario.Generate();
    for (int step = 0; step < 40 && scenario.Step();) ++step;
    ASSERT_FALSE(scenario.Failed()) << "seed " << seed << ": " << failure;
  }
}
