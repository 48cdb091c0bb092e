// The expansion searches on from where the text changed instead of from the
// start of the text after every replacement. This checks, on many generated
// pages, that it gives the same output, messages and values as the plain
// way: search the whole text from its start, every time.
#include <gtest/gtest.h>

#include <random>

#include "ReferenceExpansion.h"
#include "rtl/Strings.h"

using simtest::Errors;
using simtest::Rig;
using simtest::AddTrickyKeys;
using simtest::ReferenceExpansion;

namespace {

std::string Read(int reg) {
  return "<#_zelbe54f7mdl type=\"12\" KEY=\"REG" + std::to_string(reg) + "\" KEY_CMD_CLASS=\"5\" />";
}

const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = {
      "a", "text ", "\r\n", "\n", "\r", "<p>", "</p>", "<", ">", "/", "#", "<#", "<#_zel", "be54f7mdl", " x",
      "<#_zelbe54f7mdl ", "<#_zelbe54f7mdl a=\"1\" ", "/>", " />", Read(1), Read(2), Read(3), Read(4), Read(5),
      Read(6), Read(7), "<!--(IF PIN 1 = 0)-->", "<!--(IF PIN 1 = 1)-->", "<!--(IF ID = x)-->", "<!--(ELSE)-->",
      "<!--(ENDIF)-->", "<!--(PIN 2)-->", "<!--(PIN 3 lo/hi)-->", "<!--(EXEC PIN_OUTPUT2=1)-->",
      "<!--(EXEC ID=x)-->", "<!--(READ PIN_OUTPUT2)-->", "<!--(PLUG-IN z)-->", "<!--(other)-->",
      "<!--(SERIAL DATA 0 2)-->", "<!--(PIN 20)-->",
  };
  return pieces;
}

struct Result {
  std::string output;
  Errors errors;
  std::string id;
  int pin2State;
  int pin2Direction;
};

TEST(ExpandReference, SameResultsAsSearchingFromTheStartEveryTime) {
  std::mt19937 random(20261210);
  const auto& pieces = Pieces();
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(1, 60);
  for (int round = 0; round < 400; ++round) {
    std::string page;
    for (int n = count(random); n > 0; --n) page += pieces[pick(random)];
    // Pieces in comment form become internal tags; the rest stays as built.
    Rig fast, plain;
    AddTrickyKeys(fast.sim.Params());
    AddTrickyKeys(plain.sim.Params());
    std::string text = fast.parser.PageToEditor(page);

    std::string fastText = text;
    fast.sim.Expand(fastText);
    std::string plainText = text;
    ReferenceExpansion(plain.sim).Expand(plainText);

    SCOPED_TRACE(text);
    ASSERT_EQ(fastText, plainText);
    ASSERT_EQ(fast.errors, plain.errors);
    EXPECT_EQ(fast.sim.Params().ID, plain.sim.Params().ID);
    EXPECT_EQ(fast.sim.Params().GetPin(2).State, plain.sim.Params().GetPin(2).State);
    EXPECT_EQ(fast.sim.Params().GetPin(2).Direction, plain.sim.Params().GetPin(2).Direction);
  }
}

TEST(ExpandReference, ReplacementsThatCompleteEarlierTags) {
  struct Case {
    std::string page;
    std::string output;
  };
  const Case cases[] = {
      // REG1 gives "/>", which closes the unfinished tag before it: a READ of REG4.
      {"<#_zelbe54f7mdl type=\"12\" KEY=\"REG4\" KEY_CMD_CLASS=\"5\" " + Read(1), "/>"},
      // REG2 completes the prefix that stands before it.
      {"[<#_zel" + Read(2) + "]", "[/>]"},
      // Nothing to complete: the text before stays as it is.
      {"<#_zel x " + Read(1), "<#_zel x />"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    Rig rig;
    AddTrickyKeys(rig.sim.Params());
    std::string text = c.page;
    rig.sim.Expand(text);
    EXPECT_EQ(text, c.output);
  }
}

}  // namespace
