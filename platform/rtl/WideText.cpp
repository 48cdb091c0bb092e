#include "rtl/WideText.h"

#include <algorithm>
#include <iterator>

namespace rtl {
namespace {

struct Fold {
  char32_t from, to;
};

constexpr Fold kFolds[] = {
#include "rtl/CaseFoldingTable.inc"
};

void Append(WideString& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

char32_t FoldCase(char32_t c) {
  // ASCII first: most of what the controls compare.
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  auto it = std::lower_bound(std::begin(kFolds), std::end(kFolds), c,
                             [](const Fold& f, char32_t v) { return f.from < v; });
  return it != std::end(kFolds) && it->from == c ? it->to : c;
}

WideString FoldCase(std::u16string_view s) {
  WideString out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t u = s[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      char32_t c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      Append(out, FoldCase(c));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      out.push_back(u);
    } else {
      Append(out, FoldCase(static_cast<char32_t>(u)));
    }
  }
  return out;
}

Integer UnicodeCompareText(std::u16string_view a, std::u16string_view b) {
  WideString fa = FoldCase(a), fb = FoldCase(b);
  int r = fa.compare(fb);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

}  // namespace rtl
