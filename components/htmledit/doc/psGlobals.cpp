#include "htmledit/doc/psGlobals.h"

#include "rtl/SystemInfo.h"

namespace htmldoc {

bool IsWin98OrLater() {
  return rtl::kWindowsMajorVersion > 4 || (rtl::kWindowsMajorVersion == 4 && rtl::kWindowsMinorVersion > 0);
}

bool IsWinNT() {
  return rtl::kWindowsPlatformId != rtl::VER_PLATFORM_WIN32s &&
         rtl::kWindowsPlatformId != rtl::VER_PLATFORM_WIN32_WINDOWS;
}

Integer DragAlignmentsToIndex(TpsAllowedDragAlignments aAlignments) {
  const uint64_t bits = aAlignments.Bits();
  if (bits > 7) return -1;
  // Left is the most significant of the three in the fixed order, right the
  // least, the reverse of their bit positions.
  const bool left = aAlignments.Contains(adaLeft);
  const bool center = aAlignments.Contains(adaCenter);
  const bool right = aAlignments.Contains(adaRight);
  return (left ? 4 : 0) + (center ? 2 : 0) + (right ? 1 : 0);
}

}  // namespace htmldoc
