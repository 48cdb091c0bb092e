#pragma once
// Shared helpers of the simulator tests: a simulator over the module's own
// tag parser that collects its messages.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/DeviceSimulatorU.h"
#include "core/VormekWebParserU.h"

namespace simtest {

using Errors = std::vector<std::pair<std::string, int>>;
using Setup = std::function<void(core::TvormekParams&)>;

// A simulator whose current line a test can set, for the reference
// expansion that reports like the real one.
class TestSimulator : public core::TvormekWebSimulator {
 public:
  using core::TvormekWebSimulator::TvormekWebSimulator;
  using core::TvormekWebSimulator::SetCurrentLine;
};

struct Rig {
  core::TVormekWebParser parser;
  TestSimulator sim{&parser};
  Errors errors;

  Rig() {
    sim.OnError = [this](const rtl::AnsiString& message, rtl::Integer line) { errors.emplace_back(message, line); };
  }

  // The page (comment tags) in the editor's form, expanded.
  std::string Expand(const std::string& page) {
    rtl::AnsiString text = parser.PageToEditor(page);
    sim.Expand(text);
    return text;
  }
};

}  // namespace simtest
