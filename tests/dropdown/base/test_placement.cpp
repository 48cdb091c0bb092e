// Where the pop-up opens, as a table over screen geometries: one monitor
// with a panel at the bottom, two side by side, one left of the primary at
// negative x, the dpAuto boundary, and the edges the pop-up is kept inside.
#include <gtest/gtest.h>

#include "dropdown/LumDropDownPlacement.h"

namespace dropdown {
namespace {

using vcl::TRect;

const std::vector<TMonitorArea> kOne = {{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}}};
const std::vector<TMonitorArea> kTwo = {{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}},
                                        {TRect{1920, 0, 3200, 1024}, TRect{1920, 0, 3200, 1024}}};
const std::vector<TMonitorArea> kLeftOfPrimary = {{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}},
                                                  {TRect{-1280, 0, 0, 1024}, TRect{-1280, 30, 0, 1024}}};

TEST(DropDownPlacement, PopUpsOpenBelowOrAboveAndStayOnTheirMonitor) {
  struct Case {
    const char* name;
    const std::vector<TMonitorArea>* monitors;
    int x, y;  // the edit's top-left corner; the edit is 21 high
    int w, h;  // the pop-up
    TDropPosition position;
    TRect result;
  } cases[] = {
      {"down", &kOne, 100, 100, 200, 300, TDropPosition::dpDown, TRect{100, 120, 300, 420}},
      {"up", &kOne, 100, 500, 200, 300, TDropPosition::dpUp, TRect{100, 200, 300, 500}},
      {"auto below", &kOne, 100, 100, 200, 300, TDropPosition::dpAuto, TRect{100, 120, 300, 420}},
      // Below ends exactly at the work area's bottom: it fits.
      {"auto at the boundary", &kOne, 100, 720, 200, 300, TDropPosition::dpAuto, TRect{100, 740, 300, 1040}},
      {"auto one pixel over", &kOne, 100, 721, 200, 300, TDropPosition::dpAuto, TRect{100, 421, 300, 721}},
      // The panel at the bottom counts, not the screen's height.
      {"auto over the panel", &kOne, 100, 760, 200, 300, TDropPosition::dpAuto, TRect{100, 460, 300, 760}},
      {"past the right edge", &kOne, 1800, 100, 200, 300, TDropPosition::dpDown, TRect{1720, 120, 1920, 420}},
      {"down past the bottom", &kOne, 100, 900, 200, 300, TDropPosition::dpDown, TRect{100, 740, 300, 1040}},
      {"up past the top", &kOne, 100, 50, 200, 300, TDropPosition::dpUp, TRect{100, 0, 300, 300}},
      {"larger than the work area", &kOne, 1800, 100, 2500, 1500, TDropPosition::dpDown, TRect{0, 0, 2500, 1500}},
      // The second monitor's edge, not the first's.
      {"second monitor, right edge", &kTwo, 3100, 100, 200, 300, TDropPosition::dpDown, TRect{3000, 120, 3200, 420}},
      {"first monitor, right edge", &kTwo, 1800, 100, 200, 300, TDropPosition::dpDown, TRect{1720, 120, 1920, 420}},
      {"second monitor, shorter", &kTwo, 2000, 800, 200, 300, TDropPosition::dpAuto, TRect{2000, 500, 2200, 800}},
      // A monitor at negative x: its right edge is 0.
      {"negative origin, right edge", &kLeftOfPrimary, -100, 100, 200, 300, TDropPosition::dpDown,
       TRect{-200, 120, 0, 420}},
      {"negative origin, top panel", &kLeftOfPrimary, -600, 10, 200, 300, TDropPosition::dpUp,
       TRect{-600, 30, -400, 330}},
      // Nearest monitor when the edit is off every screen.
      {"off screen to the right", &kTwo, 3500, 100, 200, 300, TDropPosition::dpDown, TRect{3000, 120, 3200, 420}},
      {"no monitors: the desktop's work area", nullptr, 700, 100, 200, 300, TDropPosition::dpDown,
       TRect{600, 120, 800, 420}},
  };
  const std::vector<TMonitorArea> none;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRect r = PlacePopup(vcl::TPoint{c.x, c.y}, 21, vcl::TSize{c.w, c.h}, c.position, c.monitors ? *c.monitors : none,
                         TRect{0, 0, 800, 600});
    EXPECT_EQ(r.Left, c.result.Left);
    EXPECT_EQ(r.Top, c.result.Top);
    EXPECT_EQ(r.Right, c.result.Right);
    EXPECT_EQ(r.Bottom, c.result.Bottom);
  }
  EXPECT_EQ(NearestMonitor({}, vcl::TPoint{0, 0}), nullptr);
  EXPECT_EQ(NearestMonitor(kTwo, vcl::TPoint{1920, 5}), &kTwo[1]);
  EXPECT_EQ(NearestMonitor(kTwo, vcl::TPoint{1919, 5}), &kTwo[0]);
}

}  // namespace
}  // namespace dropdown
