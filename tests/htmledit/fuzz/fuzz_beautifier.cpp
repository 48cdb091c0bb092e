// The beautifier on arbitrary text with small indentation and line
// lengths: it only moves blanks and line ends, so the input and the output
// are equal once blanks, tabs, CR and LF are removed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "htmledit/control/psHtmlBeautifier.h"

using namespace htmledit;

namespace {

std::string Squeezed(const std::string& aText) {
  std::string out;
  for (char c : aText)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  if (aSize < 2) return 0;
  const Integer indentation = aData[0] % 9 - 1;
  const Integer lineLength = aData[1] % 100;
  const std::string input(reinterpret_cast<const char*>(aData + 2), aSize - 2);
  AnsiString out;
  BeautifyHtml(input, indentation, lineLength, out);
  if (Squeezed(out) != Squeezed(input)) {
    std::fprintf(stderr, "characters other than blanks and line ends changed\ninput:  %s\noutput: %s\n",
                 input.c_str(), out.c_str());
    std::abort();
  }
  return 0;
}
