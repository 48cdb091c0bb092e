#include "htmledit/control/psCommonAttributes.h"

#include <algorithm>

namespace htmledit {

namespace {

bool Holds(const std::vector<rtl::AnsiString>& aList, const rtl::AnsiString& aText) {
  return std::find(aList.begin(), aList.end(), aText) != aList.end();
}

}  // namespace

// A string first met after the first list can never be common: it is
// excluded at once. A common string a later list lacks is excluded for good,
// so it cannot come back with a list after that.
void TpsCommonAttributeFinder::AddList(const std::vector<rtl::AnsiString>& aList) {
  for (const rtl::AnsiString& text : aList) {
    if (Holds(FCommon, text) || Holds(FExcluded, text)) continue;
    (FStarted ? FExcluded : FCommon).push_back(text);
  }
  for (auto it = FCommon.begin(); it != FCommon.end();) {
    if (Holds(aList, *it)) {
      ++it;
    } else {
      FExcluded.push_back(*it);
      it = FCommon.erase(it);
    }
  }
  FStarted = true;
}

}  // namespace htmledit
