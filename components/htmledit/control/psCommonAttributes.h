#pragma once
// The attribute strings every one of several lists holds: fed one list
// after the other (the inline tags of each selected block, say), it keeps
// the strings present in all of them, in the order of the first list.
#include <vector>

#include "rtl/Types.h"

namespace htmledit {

class TpsCommonAttributeFinder {
 public:
  void AddList(const std::vector<rtl::AnsiString>& aList);
  // The strings common to every list added so far; empty before the first.
  const std::vector<rtl::AnsiString>& Common() const { return FCommon; }
  bool Started() const { return FStarted; }

 private:
  std::vector<rtl::AnsiString> FCommon;
  std::vector<rtl::AnsiString> FExcluded;
  bool FStarted = false;
};

}  // namespace htmledit
