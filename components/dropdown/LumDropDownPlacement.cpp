#include "dropdown/LumDropDownPlacement.h"

#include <algorithm>
#include <limits>

namespace dropdown {

namespace {

// Squared distance from p to the rectangle (0 inside it).
long long Distance(const vcl::TRect& r, vcl::TPoint p) {
  const long long dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - (r.Right - 1) : 0;
  const long long dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - (r.Bottom - 1) : 0;
  return dx * dx + dy * dy;
}

}  // namespace

const TMonitorArea* NearestMonitor(const std::vector<TMonitorArea>& monitors, vcl::TPoint p) {
  const TMonitorArea* best = nullptr;
  long long bestDistance = std::numeric_limits<long long>::max();
  for (const TMonitorArea& m : monitors) {
    const long long d = Distance(m.Bounds, p);
    if (d < bestDistance) best = &m, bestDistance = d;
  }
  return best;
}

vcl::TRect PlacePopup(vcl::TPoint editTopLeft, vcl::Integer editHeight, vcl::TSize popup, TDropPosition position,
                      const std::vector<TMonitorArea>& monitors, const vcl::TRect& desktopWorkArea) {
  const TMonitorArea* monitor = NearestMonitor(monitors, editTopLeft);
  const vcl::TRect work = monitor ? monitor->WorkArea : desktopWorkArea;
  const vcl::Integer below = editTopLeft.Y + editHeight - 1;
  const vcl::Integer above = editTopLeft.Y - popup.cy;
  vcl::Integer top = below;
  if (position == TDropPosition::dpUp) top = above;
  // A pop-up that would pass the work area's bottom below the edit opens
  // above it, whatever monitor the edit is on.
  if (position == TDropPosition::dpAuto && below + popup.cy > work.Bottom) top = above;
  vcl::Integer left = editTopLeft.X;
  if (left + popup.cx > work.Right) left = work.Right - popup.cx;
  if (top + popup.cy > work.Bottom) top = work.Bottom - popup.cy;
  left = std::max(left, work.Left);
  top = std::max(top, work.Top);
  return vcl::TRect{left, top, left + popup.cx, top + popup.cy};
}

}  // namespace dropdown
