// Feeds arbitrary bytes to the rich-text reader. Besides not crashing or
// hanging, it checks what the reader promises of its result: the text of
// every run is well-formed UTF-8 and not empty, no two neighbouring runs
// share a style, and the plain text is the runs' text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "rtl/CodePages.h"
#include "rtl/RichText.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view rtf(reinterpret_cast<const char*>(data), size);
  const rtl::TRichTextDocument doc = rtl::ReadRichText(rtf);
  std::string joined;
  for (size_t i = 0; i < doc.Runs.size(); ++i) {
    const auto& run = doc.Runs[i];
    Require(!run.Text.empty());
    Require(rtl::IsValidUtf8(run.Text));
    if (i > 0) Require(!run.SameStyle(doc.Runs[i - 1]));
    joined += run.Text;
  }
  Require(joined == doc.PlainText());
  Require(joined == rtl::RichTextToPlainText(rtf));
  return 0;
}
