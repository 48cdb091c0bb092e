#include "grid/model/GridLookup.h"

#include "rtl/Strings.h"

namespace grid {

AnsiString NextLookupText(const AnsiString& current, char typed, bool incremental) {
  if (!incremental) return AnsiString(1, typed);
  AnsiString next = current;
  if (typed == '\b') {
    if (!next.empty()) next.pop_back();
  } else {
    next += typed;
  }
  return next;
}

Integer FindLookupRow(const std::function<AnsiString(Integer row)>& rowText, Integer firstRow, Integer rowCount,
                      const AnsiString& lookup) {
  if (lookup.empty()) return -1;
  const AnsiString wanted = rtl::AnsiUpperCase(lookup);
  for (Integer row = firstRow; row < rowCount; ++row) {
    const AnsiString text = rowText(row);
    if (rtl::AnsiUpperCase(std::string_view(text).substr(0, lookup.size())) == wanted) return row;
  }
  return -1;
}

}  // namespace grid
