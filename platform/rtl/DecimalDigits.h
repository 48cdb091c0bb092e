#pragma once
// Numbers that a module or a server sends as text (ports, block sizes,
// hardware types) are plain decimal digits: a sign, blanks or a "$" hex
// prefix that the general conversion would accept mean a bad answer here.
#include <algorithm>
#include <string_view>

#include "rtl/Convert.h"
#include "rtl/Types.h"

namespace rtl {

// The number written in decimal digits only, or -1 (also when it does not
// fit an Integer).
inline Integer DecimalOrMinusOne(std::string_view text) {
  Integer v = 0;
  const bool digits =
      !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  return digits && TryStrToInt(text, v) ? v : -1;
}

}  // namespace rtl
