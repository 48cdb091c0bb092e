#pragma once
// The mini-HTML text routines that draw nothing: plain text of a cell and
// the embedded-control queries. The renderer (measuring, drawing, hit
// tests) lives in the drop-down library.
#include <string_view>

#include "rtl/Types.h"

namespace dropdown {

// The plain text: every "<BR>" and "<HR>" (any case) becomes CR LF, then
// every stretch from "<" to the next ">" goes; a "<" without a later ">"
// keeps the rest of the text as it is. Never fails.
rtl::AnsiString StripHTML(std::string_view html);
// True when the text holds "<CONTROL" in any letter case.
bool HasControlTag(std::string_view html);

}  // namespace dropdown
