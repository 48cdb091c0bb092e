#pragma once
// Text collation of a named locale through ICU, for the sort styles that
// compare as the user's language does.
#include <memory>

#include "grid/model/GridEnvironment.h"

namespace grid {

// Case-sensitive comparisons at tertiary strength, comparisons without case
// at secondary strength (accents still count). A locale ICU cannot open
// gives the ordinal collation.
std::unique_ptr<Collator> MakeLocaleCollator(const char* locale);

}  // namespace grid
