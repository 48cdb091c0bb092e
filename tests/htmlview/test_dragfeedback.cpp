// Drag and resize feedback in pixels: on a randomly patterned buffer the
// overlays change nothing outside what they show and leave the buffer as
// it was once hidden; the frame draws exactly its outline; the resize
// preview's opacity and composed redraws.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "ViewFixture.h"
#include "htmledit/view/psBlending.h"
#include "htmledit/view/psDragFeedback.h"

namespace {

using namespace htmlview;

std::unique_ptr<vcl::TBitmap> Noise(Integer w, Integer h, unsigned seed) {
  auto b = Create24BitBitmap(nullptr, w, h);
  std::mt19937 rng(seed);
  for (Integer y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->ScanLine(y));
    for (Integer i = 0; i < w * 3; ++i) row[i] = static_cast<uint8_t>(rng());
  }
  return b;
}

std::unique_ptr<vcl::TBitmap> Solid(Integer w, Integer h, vcl::TColor c) {
  auto b = std::make_unique<vcl::TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

// Pixels that differ between two images, outside the rectangle (exclusive).
Integer DiffOutside(const QImage& a, const QImage& b, const vcl::TRect& r) {
  Integer n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) continue;
      if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    }
  return n;
}

enum class Kind { Plain, Blended, Frame, Bar };

std::unique_ptr<TpsMovableBitmap> Make(Kind k, vcl::TCanvas* c) {
  switch (k) {
    case Kind::Plain: return std::make_unique<TpsMovableBitmap>(c, Solid(30, 20, vcl::clRed));
    case Kind::Blended: return std::make_unique<TpsAlphaBlendedMovableBitmap>(c, Solid(25, 35, vcl::clBlue));
    case Kind::Frame: return std::make_unique<TpsSelectionFrameMovableBitmap>(c, Solid(40, 15, vcl::clGreen));
    case Kind::Bar: return std::make_unique<TpsVerticalResizingBar>(c, 60, 3);
  }
  return nullptr;
}

TEST(DragFeedback, RandomMovesKeepEverythingOutsideTheOverlay) {
  for (Kind kind : {Kind::Plain, Kind::Blended, Kind::Frame, Kind::Bar}) {
    SCOPED_TRACE(static_cast<int>(kind));
    auto buffer = Noise(160, 120, 7);
    const QImage original = buffer->Pixels().copy();
    auto overlay = Make(kind, buffer->Canvas());
    const Integer w = overlay->Picture().Width(), h = overlay->Picture().Height();
    std::mt19937 rng(11 + static_cast<unsigned>(kind));
    for (int step = 0; step < 60; ++step) {
      const int action = static_cast<int>(rng() % 5);
      if (action == 0) {
        overlay->Hide();
      } else if (action == 1) {
        overlay->Show();
      } else {
        // Near moves overlap, far ones do not; some stick out of the buffer.
        const Integer dx = action == 2 ? static_cast<Integer>(rng() % 7) - 3 : static_cast<Integer>(rng() % 200) - 40;
        const Integer dy = action == 2 ? static_cast<Integer>(rng() % 7) - 3 : static_cast<Integer>(rng() % 160) - 40;
        overlay->MoveTo(action == 2 ? overlay->X() + dx : dx, action == 2 ? overlay->Y() + dy : dy);
      }
      const QImage now = buffer->Pixels();
      if (overlay->Shown()) {
        ASSERT_EQ(DiffOutside(now, original, vcl::Rect(overlay->X(), overlay->Y(), overlay->X() + w,
                                                       overlay->Y() + h)), 0) << step;
      } else {
        ASSERT_EQ(DiffOutside(now, original, vcl::Rect(0, 0, 0, 0)), 0) << step;
      }
    }
    overlay->Hide();
    overlay->Hide();  // twice restores once
    EXPECT_EQ(buffer->Pixels(), original);
    overlay->MoveTo(5, 5);
    overlay.reset();  // destruction hides
    EXPECT_EQ(buffer->Pixels(), original);
  }
}

TEST(DragFeedback, TheFrameDrawsExactlyTheOutline) {
  auto buffer = Solid(40, 30, vcl::clWhite);
  buffer->Canvas()->Pen()->SetColor(vcl::clRed);
  TpsSelectionFrameMovableBitmap frame(buffer->Canvas(), Solid(6, 4, vcl::clGreen));
  frame.MoveTo(2, 3);
  EXPECT_EQ(htmlview::testing::PixelRows(*buffer, vcl::Rect(1, 2, 9, 8), {{vcl::clWhite, '.'}, {vcl::clBlack, '#'}}),
            "........|.######.|.#....#.|.#....#.|.######.|........");
  EXPECT_EQ(buffer->Canvas()->Pen()->Color(), vcl::clRed);  // the pen is given back
  buffer->Pixels().save("htmlview_drag_frame.png");
}

TEST(DragFeedback, TheResizingBarIsDottedColumns) {
  TpsVerticalResizingBar bar(nullptr, 6, 2);
  EXPECT_EQ(bar.Picture().PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(htmlview::testing::PixelRows(bar.Picture(), vcl::Rect(0, 0, 2, 6), {{vcl::clWhite, '.'}, {vcl::clBlack, '#'}}),
            "##|..|##|..|##|..");
}

TEST(ResizePreview, OpacityFromPercent) {
  struct Row {
    Integer percent;
    Byte opacity;
  };
  for (const Row& r : {Row{25, 64}, Row{50, 127}, Row{100, 255}, Row{200, 255}, Row{0, 0}, Row{1, 3}})
    EXPECT_EQ(ResizeOpacity(r.percent), r.opacity) << r.percent;
}

TEST(ResizePreview, ShrinkingRestoresTheUncoveredPixelsAndHideRestoresAll) {
  auto buffer = Noise(120, 100, 3);
  const QImage original = buffer->Pixels().copy();
  TpsScrollCanvas surface;
  surface.BeginPaint(buffer->Canvas());
  surface.SetViewRect({10, 20, 129, 119});  // document (10, 20) is the buffer's (0, 0)
  for (bool withPicture : {false, true}) {
    SCOPED_TRACE(withPicture);
    auto picture = Solid(10, 10, vcl::clBlue);
    TpsImageResizingObject preview(&surface, withPicture ? picture.get() : nullptr, 100);
    preview.DrawAt({30, 40, 89, 79});  // buffer 20..79, 20..59
    EXPECT_TRUE(preview.Shown());
    EXPECT_EQ(DiffOutside(buffer->Pixels(), original, vcl::Rect(20, 20, 80, 60)), 0);
    if (withPicture) EXPECT_EQ(buffer->Canvas()->Pixels(50, 40), vcl::clBlue);
    preview.DrawAt({30, 40, 59, 59});  // smaller: the rest comes back
    EXPECT_EQ(DiffOutside(buffer->Pixels(), original, vcl::Rect(20, 20, 50, 40)), 0);
    if (!withPicture) {
      EXPECT_EQ(buffer->Canvas()->Pixels(20, 20), vcl::clBlack);
      EXPECT_EQ(buffer->Canvas()->Pixels(21, 20), vcl::clWhite);
      // Only the frame: the inside shows what lies beneath.
      EXPECT_EQ(buffer->Pixels().pixel(30, 30), original.pixel(30, 30));
    }
    preview.DrawAt({35, 45, 94, 84});  // grows again elsewhere
    EXPECT_EQ(DiffOutside(buffer->Pixels(), original, vcl::Rect(25, 25, 85, 65)), 0);
    preview.Hide();
    preview.Hide();
    EXPECT_FALSE(preview.Shown());
    EXPECT_EQ(buffer->Pixels(), original);
  }
  surface.EndPaint();
}

}  // namespace
