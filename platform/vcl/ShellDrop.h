#pragma once
// What a drop handle stands for (the host makes one per drop).
#include <vector>

#include "rtl/Types.h"

namespace vcl {

struct TDroppedFiles {
  std::vector<rtl::AnsiString> Names;
};

}  // namespace vcl
