#include "htmledit/doc/psGlobals.h"

namespace htmldoc {

namespace {
// What the version query of a current Windows desktop reports.
constexpr int kMajorVersion = 10;
constexpr int kMinorVersion = 0;
constexpr int kPlatformId = 2;  // the NT family
}  // namespace

bool IsWin98OrLater() {
  return kMajorVersion > 4 || (kMajorVersion == 4 && kMinorVersion > 0);
}

bool IsWinNT() { return kPlatformId != 0 && kPlatformId != 1; }

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
