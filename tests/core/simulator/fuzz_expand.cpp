// Random pages through the preview: the simulator's expansion must agree
// with the search-from-the-start way (output, messages, failure class), and
// opening, saving and previewing a page must never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ReferenceExpansion.h"
#include "core/ZelWebExtU.h"
#include "rtl/Exceptions.h"

namespace {

// Expands text; answers the exception's class name, or "" when it ran through.
std::string Run(const std::function<void(std::string&)>& expand, std::string& text) {
  try {
    expand(text);
    return "";
  } catch (const rtl::Exception& e) {
    return e.ClassName();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

  simtest::Rig fast, plain;
  simtest::AddTrickyKeys(fast.sim.Params());
  simtest::AddTrickyKeys(plain.sim.Params());
  // The first byte says whether the input is in page form or already in the
  // editor's form.
  const std::string text = (data[0] & 1) ? fast.parser.PageToEditor(input) : input;

  std::string fastText = text, plainText = text;
  const std::string fastFailure = Run([&](std::string& t) { fast.sim.Expand(t); }, fastText);
  const std::string plainFailure =
      Run([&](std::string& t) { simtest::ReferenceExpansion(plain.sim).Expand(t); }, plainText);
  if (fastFailure != plainFailure || fast.errors != plain.errors) abort();
  if (fastFailure.empty() && fastText != plainText) abort();

  core::TZelWebExt ext;
  try {
    const std::string editor = ext.LoadPage(input);
    ext.SavePage(editor);
    ext.Simulate(editor);
  } catch (const rtl::Exception&) {
    // Conversion errors of a tag's numbers end a preview; they are expected.
  }
  return 0;
}
