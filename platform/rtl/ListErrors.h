#pragma once
// The one text of every list's index error, so that string lists, pointer
// lists, collections and the lists built on them all say the same.
#include <string>

#include "rtl/Types.h"

namespace rtl {

inline AnsiString ListIndexMessage(Integer index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace rtl
