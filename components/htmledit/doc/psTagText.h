#pragma once
// Where a tag's text ends, one rule for every reader of tags (the markup
// tag, the page parser and its charset scan, the markup scanner): a value
// opened by a quote after "=" runs to its closing quote, so a ">" or "<"
// inside it belongs to the value. A quote that is never closed counts for
// nothing, and the tag ends at the first ">" as if no quote stood there.
#include <cstddef>

namespace htmldoc {

inline bool IsTagTextBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Whether a "<" followed by aNext (-1 at the end of the input) starts a
// tag; after a blank, a digit, "=", another "<" or at the end it is text.
inline bool StartsTag(int aNext) {
  return !(aNext < 0 || IsTagTextBlank(aNext) || (aNext >= '0' && aNext <= '9') || aNext == '=' || aNext == '<');
}

constexpr size_t kNoTagEnd = static_cast<size_t>(-1);

// aAt(k) gives the character at offset k of a text whose "<" stands at
// offset 0, or -1 past its end. Answers the offset of the ">" that ends the
// tag, or, with aStopAtLt, of a "<" met outside quotes first (aStoppedAtLt
// then set); kNoTagEnd when the text ends first.
template <class At>
size_t FindTagEnd(const At& aAt, bool aStopAtLt, bool& aStoppedAtLt) {
  aStoppedAtLt = false;
  const auto firstStop = [&]() {
    for (size_t k = 1;; ++k) {
      const int c = aAt(k);
      if (c < 0) return kNoTagEnd;
      if (c == '>') return k;
      if (c == '<' && aStopAtLt) {
        aStoppedAtLt = true;
        return k;
      }
    }
  };
  for (size_t k = 1;;) {
    const int c = aAt(k);
    if (c < 0) return kNoTagEnd;
    if (c == '>') return k;
    if (c == '<' && aStopAtLt) {
      aStoppedAtLt = true;
      return k;
    }
    ++k;
    if (c != '=') continue;
    while (IsTagTextBlank(aAt(k))) ++k;
    const int quote = aAt(k);
    if (quote != '"' && quote != '\'') continue;
    size_t close = k + 1;
    int q;
    while ((q = aAt(close)) >= 0 && q != quote) ++close;
    if (q < 0) return firstStop();
    k = close + 1;
  }
}

}  // namespace htmldoc
