// The common-attribute finder: lists in, the strings every list holds out,
// in the order of the first list.
#include <gtest/gtest.h>

#include <vector>

#include "htmledit/control/psCommonAttributes.h"

namespace {

using Strings = std::vector<rtl::AnsiString>;

TEST(CommonAttributeFinder, KeepsWhatEveryListHoldsInTheFirstListsOrder) {
  struct Case {
    const char* Name;
    std::vector<Strings> Lists;
    Strings Common;
  };
  const std::vector<Case> cases = {
      {"none added", {}, {}},
      {"one list", {{"<b>", "<i>", "<b>"}}, {"<b>", "<i>"}},
      {"bold-italic and bold", {{"<b>", "<i>"}, {"<b>"}}, {"<b>"}},
      {"order of the first list", {{"<u>", "<b>", "<i>"}, {"<i>", "<b>", "<u>"}}, {"<u>", "<b>", "<i>"}},
      {"new strings never join", {{"<b>"}, {"<b>", "<i>"}, {"<b>", "<i>"}}, {"<b>"}},
      {"gone once, gone for good", {{"<b>", "<i>"}, {"<b>"}, {"<b>", "<i>"}}, {"<b>"}},
      {"an empty list empties it", {{"<b>"}, {}, {"<b>"}}, {}},
      {"an empty first list", {{}, {"<b>"}}, {}},
      {"texts compared whole", {{"<span style=\"color:red\">"}, {"<span style=\"color:blue\">"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    htmledit::TpsCommonAttributeFinder finder;
    for (const Strings& list : c.Lists) finder.AddList(list);
    EXPECT_EQ(finder.Common(), c.Common);
    EXPECT_EQ(finder.Started(), !c.Lists.empty());
  }
}

}  // namespace
