#pragma once
// Case rules for UTF-16 text that go beyond ASCII: Unicode's simple case
// folding, one code point to one code point, independent of any locale.
#include <string_view>

#include "rtl/Types.h"

namespace rtl {

// The simple case folding of a code point (itself when it has none).
char32_t FoldCase(char32_t c);
// Text with every code point folded; a lone surrogate stays as it is.
WideString FoldCase(std::u16string_view s);
// -1, 0 or 1 as a is less than, equal to or greater than b when both are
// folded, comparing UTF-16 units. (WideCompareText of Strings.h keeps its
// upper-case table: the sorted key lists of its callers depend on it.)
Integer UnicodeCompareText(std::u16string_view a, std::u16string_view b);
inline bool UnicodeSameText(std::u16string_view a, std::u16string_view b) { return UnicodeCompareText(a, b) == 0; }

}  // namespace rtl
