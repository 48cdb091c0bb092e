// Drag feedback, counting the drawing operations that reach the target
// canvas (its change notice fires once per operation; reading its pixels
// fires none): a move that overlaps the overlay's last place is composed
// off screen and reaches the target as one copy; a move elsewhere puts the
// saved pixels back and draws anew; hiding puts them back once.
#include <gtest/gtest.h>

#include "htmledit/view/psBlending.h"
#include "htmledit/view/psDragFeedback.h"
#include "vcl/Pictures.h"

using namespace htmlview;

namespace {

std::unique_ptr<vcl::TBitmap> Solid(Integer w, Integer h, vcl::TColor c) {
  auto b = std::make_unique<vcl::TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

}  // namespace

TEST(DragFeedbackCopies, AnOverlappingMoveReachesTheTargetOnce) {
  struct Kind {
    const char* name;
    std::function<std::unique_ptr<TpsMovableBitmap>(vcl::TCanvas*)> make;
  };
  const Kind kinds[] = {
      {"plain", [](vcl::TCanvas* c) { return std::make_unique<TpsMovableBitmap>(c, Solid(30, 20, vcl::clRed)); }},
      {"blended",
       [](vcl::TCanvas* c) { return std::make_unique<TpsAlphaBlendedMovableBitmap>(c, Solid(30, 20, vcl::clBlue)); }},
      {"frame",
       [](vcl::TCanvas* c) { return std::make_unique<TpsSelectionFrameMovableBitmap>(c, Solid(30, 20, vcl::clGreen)); }},
      {"bar", [](vcl::TCanvas* c) { return std::make_unique<TpsVerticalResizingBar>(c, 20, 30); }},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    vcl::TBitmap target(200, 150);
    int writes = 0;
    target.Canvas()->OnChanging = [&writes](auto*) { ++writes; };
    auto overlay = kind.make(target.Canvas());
    overlay->MoveTo(10, 10);
    // One pixel to the right and down, and back: each a single copy.
    for (auto [x, y] : {std::pair{11, 11}, std::pair{10, 10}, std::pair{25, 3}}) {
      writes = 0;
      overlay->MoveTo(x, y);
      EXPECT_EQ(writes, 1) << x << "," << y;
    }
    // Far away: the old place restored, then the new one drawn.
    writes = 0;
    overlay->MoveTo(120, 100);
    EXPECT_GE(writes, 2);
    writes = 0;
    overlay->Hide();
    overlay->Hide();
    EXPECT_EQ(writes, 1);
  }
}
