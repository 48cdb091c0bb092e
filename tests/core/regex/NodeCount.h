#pragma once
// The nodes of a compiled pattern, counting those inside groups.
#include <cstddef>

#include "core/KnRegExU.h"

namespace core {

inline size_t CountNodes(const TKnNode* n) {
  size_t count = 0;
  for (; n; n = n->Next) count += 1 + CountNodes(n->Group);
  return count;
}

}  // namespace core
