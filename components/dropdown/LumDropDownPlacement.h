#pragma once
// Where a drop-down's pop-up opens: below or above the edit by its drop
// position, then kept on the monitor nearest the edit, inside that
// monitor's work area. Window-free: the screens' geometry comes in.
#include <vector>

#include "vcl/Types.h"

namespace dropdown {

enum class TDropPosition { dpAuto, dpDown, dpUp };

struct TMonitorArea {
  vcl::TRect Bounds;    // the whole monitor
  vcl::TRect WorkArea;  // less the desktop's panels
};

// The monitor nearest the point (the one holding it, else the closest);
// null without monitors.
const TMonitorArea* NearestMonitor(const std::vector<TMonitorArea>& monitors, vcl::TPoint p);

// The pop-up's rectangle for an edit whose top-left corner is at editTopLeft
// (screen) and editHeight high. dpDown opens from the edit's bottom edge
// (overlapping it by a pixel), dpUp ends at the edit's top, dpAuto goes
// below when the pop-up fits above the work area's bottom there, else
// above. Then a pop-up running past the work area's right or bottom edge
// moves back inside, and one past its left or top edge too, so a pop-up
// larger than the work area keeps its top-left corner inside. Without
// monitors, desktopWorkArea is the work area.
vcl::TRect PlacePopup(vcl::TPoint editTopLeft, vcl::Integer editHeight, vcl::TSize popup, TDropPosition position,
                      const std::vector<TMonitorArea>& monitors, const vcl::TRect& desktopWorkArea);

}  // namespace dropdown
