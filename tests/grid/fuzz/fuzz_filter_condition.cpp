// Feeds arbitrary conditions and values to the filter condition language.
// The first byte picks the regional settings and the case rule, the second
// where the input splits into condition and value. The evaluation must end
// and raise nothing; a condition with its blanks outside quotes removed
// gives the same answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/model/FilterCondition.h"

using namespace grid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  FixedLocaleSettings locale;
  if (data[0] & 1) {
    locale.Decimal = ',';
    locale.Thousand = '.';
    locale.DateSep = '.';
    locale.ShortDate = "dd.mm.yyyy";
  }
  const bool caseSensitive = (data[0] & 2) != 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const size_t split = rest.empty() ? 0 : data[1] % (rest.size() + 1);
  const std::string condition = rest.substr(0, split);
  const std::string value = rest.substr(split);
  try {
    const bool a = MatchFilterExpression(condition, value, caseSensitive, locale);
    const std::string trimmed = RemoveBlanksOutsideQuotes(condition);
    if (!trimmed.empty() && trimmed[0] > ' ' && !condition.empty() && condition[0] > ' ') {
      const bool b = MatchFilterExpression(trimmed, value, caseSensitive, locale);
      if (a != b) std::abort();
    }
    (void)ClosingParenPos(condition);
  } catch (...) {
    std::abort();
  }
  return 0;
}
