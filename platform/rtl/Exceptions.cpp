#include "rtl/Exceptions.h"

#include <cstdio>

namespace rtl {

void AssertionFailed(const char* text, const char* file, int line) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d", line);
  throw EAssertionFailed(AnsiString(text) + " (" + file + ", line " + buf + ")");
}

}  // namespace rtl
