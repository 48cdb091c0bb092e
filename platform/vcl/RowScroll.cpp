#include "vcl/RowScroll.h"

#include <algorithm>
#include <cstdint>

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

Integer RowScrollRequest(WPARAM wParam, Integer top, Integer count, Integer page) {
  page = std::max(1, page);
  switch (LoWord(wParam)) {
    case SB_LINEUP: return top - 1;
    case SB_LINEDOWN: return top + 1;
    case SB_PAGEUP: return top - page;
    case SB_PAGEDOWN: return top + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return static_cast<int16_t>(HiWord(wParam));
    case SB_TOP: return 0;
    case SB_BOTTOM: return count;
    default: return top;
  }
}

}  // namespace vcl
