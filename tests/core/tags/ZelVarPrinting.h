#pragma once
// Readable failure output for attribute lists, shared by the tag and page
// conversion tests.
#include <ostream>

#include "core/ZelWebCmdU.h"

namespace core {

inline void PrintTo(const TzelVar& v, std::ostream* os) { *os << v.Name << "=\"" << v.Value << "\""; }

inline void PrintTo(const TzelVarList& list, std::ostream* os) {
  *os << "{";
  for (const auto& v : list.Vars) {
    *os << " ";
    PrintTo(v, os);
  }
  *os << " }";
}

}  // namespace core
