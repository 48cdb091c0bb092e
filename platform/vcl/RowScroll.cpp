#include "vcl/RowScroll.h"

#include <algorithm>

#include "vcl/WinApi.h"

namespace vcl {

namespace {

Integer TopRowInRange(Integer top, Integer count, Integer page) {
  return std::clamp(top, 0, std::max(0, count - std::max(1, page)));
}

}  // namespace

void SyncRowScrollBar(TWinControl* control, Integer& top, Integer count, Integer page) {
  page = std::max(1, page);
  top = TopRowInRange(top, count, page);
  if (!control->HandleAllocated()) return;
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, count - 1);
  info.nPage = static_cast<Cardinal>(page);
  info.nPos = top;
  SetScrollInfo(control->Handle(), SB_VERT, &info, true);
}

bool ScrollRowsTo(TWinControl* control, Integer& top, Integer wanted, Integer count, Integer page) {
  wanted = TopRowInRange(wanted, count, page);
  if (wanted == top) return false;
  top = wanted;
  if (control->HandleAllocated()) SetScrollPos(control->Handle(), SB_VERT, top, true);
  return true;
}

}  // namespace vcl
