// The type-ahead lookup: the text each typed character leaves, the first
// row that starts with it in any case, and its expiry on the fourth idle
// tick of the grid's timer.
#include <gtest/gtest.h>

#include <vector>

#include "grid/model/GridLookup.h"

using namespace grid;

TEST(Lookup, TypedCharactersMakeTheLookupText) {
  struct Case {
    const char* current;
    char typed;
    bool incremental;
    const char* next;
  } cases[] = {
      {"", 'a', true, "a"},      {"a", 'b', true, "ab"}, {"ab", '\b', true, "a"}, {"", '\b', true, ""},
      {"ab", 'c', false, "c"},
  };
  for (const Case& c : cases) EXPECT_EQ(NextLookupText(c.current, c.typed, c.incremental), c.next) << c.current;
}

TEST(Lookup, FirstRowStartingWithTheTextInAnyCase) {
  const std::vector<AnsiString> rows = {"Header", "beta", "Abacus", "abbey", "ABC", "alpha"};
  auto text = [&](Integer r) { return rows[static_cast<size_t>(r)]; };
  struct Case {
    const char* lookup;
    Integer row;
  } cases[] = {{"a", 2}, {"AB", 2}, {"abb", 3}, {"abc", 4}, {"ABCD", -1}, {"h", -1}, {"", -1}, {"Al", 5}};
  for (const Case& c : cases) EXPECT_EQ(FindLookupRow(text, 1, 6, c.lookup), c.row) << c.lookup;
  // The fixed rows are not searched.
  EXPECT_EQ(FindLookupRow(text, 0, 6, "he"), 0);
  EXPECT_EQ(FindLookupRow(text, 0, 1, "b"), -1);
}

TEST(Lookup, ExpiresOnTheFourthIdleTick) {
  TLookupExpiry expiry;
  std::vector<bool> ticks;
  for (int i = 0; i < 8; ++i) ticks.push_back(expiry.Tick());
  EXPECT_EQ(ticks, (std::vector<bool>{false, false, false, true, false, false, false, true}));
  expiry.Tick();
  expiry.Tick();
  expiry.Typed();
  EXPECT_FALSE(expiry.Tick());
  EXPECT_FALSE(expiry.Tick());
  EXPECT_FALSE(expiry.Tick());
  EXPECT_TRUE(expiry.Tick());
}
