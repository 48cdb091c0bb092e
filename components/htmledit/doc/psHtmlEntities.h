#pragma once
// The named character references of the HTML standard, for reading text:
// the entity table of psLookupLists still decides how characters are
// written.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace htmldoc {

struct THtmlNamedReference {
  const char* Name;  // without "&" and ";"
  char32_t First;
  char32_t Second;   // 0 when the reference stands for one character
};

extern const THtmlNamedReference kHtmlNamedReferences[];
extern const size_t kHtmlNamedReferenceCount;

// The reference named aName (without "&" and ";"); nullptr when none.
const THtmlNamedReference* FindHtmlNamedReference(std::string_view aName);

}  // namespace htmldoc
