// The speed button under the spin arrows and the edit buttons: its glyph
// faces with their transparent colour, the flat and transparent looks, the
// pressed offset, and the mouse held while pressed with the click on release.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DropdownTestSupport.h"
#include "vcl/Buttons.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

constexpr TColor kBackground = static_cast<TColor>(0x00604020); // the form
constexpr TColor kClear =
    static_cast<TColor>(0x000000FF); // bottom-left: transparent
const TColor kFaces[] = {
    static_cast<TColor>(0x00FF0000), static_cast<TColor>(0x0000C000),
    static_cast<TColor>(0x00FFFF00), static_cast<TColor>(0x00FF00FF)};

// A glyph of n faces of 8 x 6 pixels, each a 4 x 2 block of its own colour
// at (2, 2) on the transparent colour.
std::unique_ptr<TBitmap> Faces(int n) {
  auto bmp = std::make_unique<TBitmap>(8 * n, 6);
  TCanvas *c = bmp->Canvas();
  c->Brush()->SetColor(kClear);
  c->FillRect(Rect(0, 0, 8 * n, 6));
  for (int i = 0; i < n; ++i) {
    c->Brush()->SetColor(kFaces[i]);
    c->FillRect(Rect(8 * i + 2, 2, 8 * i + 6, 4));
  }
  return bmp;
}

struct Seen {
  int count = 0;             // pixels of the colour
  TRect box{-1, -1, -1, -1}; // their bounding box
};

Seen Find(const QImage &img, TRect area, TColor color) {
  Seen s;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (PixelAt(img, x, y) == color) {
        if (s.count++ == 0)
          s.box = Rect(x, y, x + 1, y + 1);
        else
          s.box = Rect(std::min<Integer>(s.box.Left, x),
                       std::min<Integer>(s.box.Top, y),
                       std::max<Integer>(s.box.Right, x + 1),
                       std::max<Integer>(s.box.Bottom, y + 1));
      }
  return s;
}

class SpeedButton : public ::testing::Test {
protected:
  void SetUp() override {
    form = MakeForm();
    form->SetColor(kBackground);
    button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(40, 30, 30, 20);
    button->OnClick = [this](TObject *s) {
      EXPECT_EQ(s, button);
      ++clicks;
    };
    Pump();
  }
  void TearDown() override { Free(form); }
  TRect Area() const { return button->BoundsRect(); }
  QImage Shot() { return Grab(form); }
  TForm *form = nullptr;
  TSpeedButton *button = nullptr;
  int clicks = 0;
};

TEST_F(SpeedButton, EachStateShowsItsFaceWithoutTheTransparentColour) {
  auto bmp = Faces(4);
  button->SetGlyph(bmp.get());
  button->SetNumGlyphs(4);
  button->SetGroupIndex(1);
  button->SetAllowAllUp(true);
  EXPECT_EQ(button->Glyph()->TransparentColor() & 0xFFFFFF, kClear);

  Seen up = Find(Shot(), Area(), kFaces[0]);
  EXPECT_EQ(up.count, 8);
  EXPECT_EQ(up.box.Width(), 4);
  EXPECT_EQ(up.box.Height(), 2);
  EXPECT_EQ(Find(Shot(), Area(), kClear).count, 0);

  struct Case {
    const char *state;
    std::function<void()> enter, leave;
    int face;
    int shift; // pixels right and down against the up face
  } cases[] = {
      {"disabled", [&] { button->SetEnabled(false); },
       [&] { button->SetEnabled(true); }, 1, 0},
      {"pressed", [&] { MouseDown(form, 55, 40); },
       [&] {
         MouseDrag(form, 200, 150);
         MouseUp(form, 200, 150);
       },
       2, 1},
      {"down in its group", [&] { button->SetDown(true); },
       [&] { button->SetDown(false); }, 3, 1},
  };
  for (const auto &c : cases) {
    c.enter();
    QImage img = Shot();
    Seen s = Find(img, Area(), kFaces[c.face]);
    EXPECT_EQ(s.count, 8) << c.state;
    EXPECT_EQ(s.box, Rect(up.box.Left + c.shift, up.box.Top + c.shift,
                          up.box.Right + c.shift, up.box.Bottom + c.shift))
        << c.state;
    EXPECT_EQ(Find(img, Area(), kFaces[0]).count, 0) << c.state;
    EXPECT_EQ(Find(img, Area(), kClear).count, 0) << c.state;
    c.leave();
  }
  EXPECT_EQ(Find(Shot(), Area(), kFaces[0]).box, up.box);

  // Fewer faces than states: the up face stands in for the missing ones.
  auto one = Faces(1);
  button->SetGlyph(one.get());
  button->SetNumGlyphs(1);
  button->SetEnabled(false);
  EXPECT_EQ(Find(Shot(), Area(), kFaces[0]).count, 8);
  button->SetEnabled(true);
  // Out-of-range counts are ignored; a null glyph clears it.
  button->SetNumGlyphs(5);
  EXPECT_EQ(button->NumGlyphs(), 1);
  button->SetGlyph(nullptr);
  EXPECT_TRUE(button->Glyph()->Empty());
  EXPECT_EQ(Find(Shot(), Area(), kFaces[0]).count, 0);
}

TEST_F(SpeedButton, FlatAndTransparentLooks) {
  const TColor own = static_cast<TColor>(0x0080FF80);
  button->SetColor(own);
  TRect a = Area();
  auto inner = [&](const QImage &img) {
    return PixelAt(img, a.Left + 5, a.Top + 5);
  };
  auto corner = [&](const QImage &img) { return PixelAt(img, a.Left, a.Top); };

  // The raised push-button face.
  QImage raised = Shot();
  EXPECT_EQ(inner(raised), ColorToRGB(clBtnFace));
  EXPECT_NE(corner(raised), kBackground);
  SaveShot(raised.copy(a.Left - 4, a.Top - 4, a.Width() + 8, a.Height() + 8),
           "dropdown_speedbutton_raised.png");

  // Flat and transparent: the parent shows through until the mouse comes.
  button->SetFlat(true);
  QImage flat = Shot();
  EXPECT_EQ(Find(flat, a, kBackground).count, a.Width() * a.Height());
  button->Perform(CM_MOUSEENTER);
  QImage hot = Shot();
  EXPECT_NE(corner(hot), kBackground);
  EXPECT_EQ(inner(hot), kBackground);
  SaveShot(hot.copy(a.Left - 4, a.Top - 4, a.Width() + 8, a.Height() + 8),
           "dropdown_speedbutton_flat_hot.png");
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(corner(Shot()), kBackground);

  // Flat and opaque: its own colour.
  button->SetTransparent(false);
  QImage opaque = Shot();
  EXPECT_EQ(inner(opaque), own);
  EXPECT_EQ(corner(opaque), own);
}

TEST_F(SpeedButton, TheMouseIsHeldWhilePressedAndReleaseOverTheButtonClicks) {
  struct Case {
    const char *path;
    std::vector<std::pair<int, int>>
        moves; // form coordinates, left button held
    std::pair<int, int> release;
    int clicks;
  } cases[] = {
      {"pressed and released inside", {}, {60, 45}, 1},
      {"released outside", {{200, 150}}, {200, 150}, 0},
      {"dragged off and back", {{5, 5}, {45, 35}}, {45, 35}, 1},
      {"dragged off the window's edge and released there",
       {{-30, -30}},
       {-30, -30},
       0},
  };
  for (const auto &c : cases) {
    clicks = 0;
    MouseDown(form, 50, 40);
    EXPECT_EQ(button->State(), bsDown) << c.path;
    for (auto [x, y] : c.moves) {
      MouseDrag(form, x, y);
      // The moves reach the button wherever the mouse is.
      EXPECT_EQ(button->State(), Area().Contains({x, y}) ? bsDown : bsUp)
          << c.path << " at " << x << "," << y;
    }
    MouseUp(form, c.release.first, c.release.second);
    EXPECT_EQ(clicks, c.clicks) << c.path;
    EXPECT_EQ(button->State(), bsUp) << c.path;
  }
  // A disabled button neither presses nor clicks.
  button->SetEnabled(false);
  MouseDown(form, 50, 40);
  MouseUp(form, 50, 40);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->State(), bsDisabled);
}

TEST_F(SpeedButton, AGroupButtonStaysDownAndReleasesItsNeighbour) {
  auto *other = new TSpeedButton(form);
  other->SetParent(form);
  other->SetBounds(80, 30, 30, 20);
  button->SetGroupIndex(3);
  other->SetGroupIndex(3);
  MouseDown(form, 50, 40);
  MouseUp(form, 50, 40);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->State(), bsExclusive);
  MouseDown(form, 90, 40);
  MouseUp(form, 90, 40);
  EXPECT_TRUE(other->Down());
  EXPECT_FALSE(button->Down());
  // Without AllowAllUp the down button cannot be raised by itself.
  MouseDown(form, 90, 40);
  MouseUp(form, 90, 40);
  EXPECT_TRUE(other->Down());
  // Outside a group Down does not stick.
  button->SetGroupIndex(0);
  button->SetDown(true);
  EXPECT_FALSE(button->Down());
}

} // namespace
} // namespace dropdown
