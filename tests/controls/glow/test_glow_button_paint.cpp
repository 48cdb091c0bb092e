// The glow button's painting read back from its window: the default face,
// the looks of uniform presets, the parent's background in the corners and
// under a transparent button, the split part's shading, and the fades on
// the manual clock.
#include <gtest/gtest.h>

#include "GlowButtonRig.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

using namespace glowtest;
using vcl::RGB;

namespace {

// Every pixel of the face away from the border and the corners.
void ExpectFace(const QImage& shot, TColor want, const char* what) {
  int wrong = 0;
  for (int y = 3; y < shot.height() - 3; ++y)
    for (int x = 3; x < shot.width() - 3; ++x)
      if (Rig::At(shot, x, y) != want) ++wrong;
  EXPECT_EQ(wrong, 0) << what << ": want " << std::hex << want << " got " << Rig::At(shot, 10, 10) << " and "
                      << Rig::At(shot, 10, shot.height() - 5);
}

}  // namespace

TEST(GlowButtonPaint, TheDefaultButtonIsWhiteAboveAndWhiteToSilverBelow) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  ASSERT_EQ(b->Width(), 100);
  ASSERT_EQ(b->Height(), 41);
  QImage shot = rig.Grab(b);
  ASSERT_EQ(shot.width(), 100);
  ASSERT_EQ(shot.height(), 41);
  // The upper half covers rows 0 to 20 (the border aside) in white.
  for (int y = 1; y <= 20; ++y) EXPECT_EQ(Rig::At(shot, 50, y), vcl::clWhite) << y;
  // The lower half runs from white at row 19 down to silver: darker with
  // every row below the upper half, and near silver at the bottom.
  int last = 255;
  for (int y = 21; y <= 39; ++y) {
    const int red = vcl::GetRValue(Rig::At(shot, 50, y));
    EXPECT_LE(red, last) << y;
    last = red;
  }
  EXPECT_LT(vcl::GetRValue(Rig::At(shot, 50, 39)), 200);
  EXPECT_GE(vcl::GetRValue(Rig::At(shot, 50, 39)), 192);
  EXPECT_EQ(Rig::At(shot, 50, 21) == vcl::clWhite, false);
  // The border is silver.
  EXPECT_EQ(Rig::At(shot, 50, 0), vcl::clSilver);
  EXPECT_EQ(Rig::At(shot, 0, 20), vcl::clSilver);
}

TEST(GlowButtonPaint, UniformLooksPaintTheirAppearanceColours) {
  // Presets whose four colours of a look are one colour paint that colour
  // over the whole face.
  enum class Look { Normal, Hot, Down, Checked };
  struct Case {
    const char* name;
    REZORuvar preset;
    Look look;
    TColor want;
  } cases[] = {
      {"terminal normal", REZORuvar::tsTerminal, Look::Normal, vcl::ColorToRGB(vcl::clBtnFace)},
      {"terminal hot", REZORuvar::tsTerminal, Look::Hot, vcl::clSilver},
      {"terminal down", REZORuvar::tsTerminal, Look::Down, vcl::ColorToRGB(vcl::clHighlight)},
      {"terminal checked", REZORuvar::tsTerminal, Look::Checked, vcl::clGray},
      {"XP hot", REZORuvar::tsWindowsXP, Look::Hot, 0xEFD3C6},
      {"XP down", REZORuvar::tsWindowsXP, Look::Down, 0xB59284},
      {"XP checked", REZORuvar::tsWindowsXP, Look::Checked, 0xB9D8DC},
  };
  for (const Case& c : cases) {
    Rig rig;
    TLumGlowButton* b = rig.Add();
    b->SetComponentStyle(c.preset);
    switch (c.look) {
      case Look::Normal: break;
      case Look::Hot: Rig::Enter(b); break;
      case Look::Down:
        Rig::Enter(b);
        Rig::Press(b, 50, 20);
        break;
      case Look::Checked:
        b->SetStyle(bsCheck);
        b->SetDown(true);
        break;
    }
    rig.Advance(300);  // past every fade
    ASSERT_FALSE(b->GlowTimerRunning()) << c.name;
    ExpectFace(rig.Grab(b), c.want, c.name);
    if (c.look == Look::Down) Rig::Release(b, 50, 20);
  }
}

TEST(GlowButtonPaint, ADisabledButtonPaintsItsDisabledUpperHalf) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetEnabled(false);
  QImage shot = rig.Grab(b);
  const TColor upper = b->Appearance()->ColorDisabled();
  ASSERT_EQ(upper, b->Appearance()->ColorDisabledTo());
  for (int y = 2; y <= 18; ++y)
    for (int x = 3; x < 97; ++x) ASSERT_EQ(Rig::At(shot, x, y), upper) << x << "," << y;
  EXPECT_EQ(Rig::At(shot, 50, 0), vcl::clGray);  // the disabled border
}

TEST(GlowButtonPaint, TheParentShowsInExactlyTheCornersOfEachPosition) {
  struct Case {
    TButtonPosition position;
    bool rounded;
    bool topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {
      {bpStandalone, true, true, true, true, true}, {bpLeft, true, true, false, true, false},
      {bpMiddle, true, false, false, false, false}, {bpRight, true, false, true, false, true},
      {bpStandalone, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    Rig rig;
    TLumGlowButton* b = rig.Add();
    b->SetPosition(c.position);
    b->SetRounded(c.rounded);
    QImage shot = rig.Grab(b);
    const int W = shot.width(), H = shot.height();
    const std::string what = std::to_string(static_cast<int>(c.position)) + (c.rounded ? " rounded" : " square");
    EXPECT_EQ(Rig::At(shot, 0, 0) == kParentColour, c.topLeft) << what;
    EXPECT_EQ(Rig::At(shot, W - 1, 0) == kParentColour, c.topRight) << what;
    EXPECT_EQ(Rig::At(shot, 0, H - 1) == kParentColour, c.bottomLeft) << what;
    EXPECT_EQ(Rig::At(shot, W - 1, H - 1) == kParentColour, c.bottomRight) << what;
    // Nothing else of the button is the parent's.
    int parentPixels = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (Rig::At(shot, x, y) == kParentColour) ++parentPixels;
    EXPECT_EQ(parentPixels, int(c.topLeft) + c.topRight + c.bottomLeft + c.bottomRight) << what;
  }
}

TEST(GlowButtonPaint, ATransparentButtonShowsItsParentUntilTheMouseEnters) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetTransparent(true);
  b->Invalidate();
  QImage before = rig.Grab(b);
  for (int y = 0; y < before.height(); y += 5)
    for (int x = 0; x < before.width(); x += 7) ASSERT_EQ(Rig::At(before, x, y), kParentColour) << x << "," << y;
  Rig::Enter(b);
  rig.Advance(300);
  QImage after = rig.Grab(b);
  EXPECT_NE(Rig::At(after, 50, 10), kParentColour);
  EXPECT_EQ(Rig::At(after, 0, 0), kParentColour);  // the rounded corner still is
  Rig::Leave(b);
  rig.Advance(300);
  QImage left = rig.Grab(b);
  EXPECT_EQ(Rig::At(left, 50, 10), kParentColour);
}

TEST(GlowButtonPaint, TheSplitPartIsShadedAgainstTheMainPartUnderTheMouse) {
  // XP's hot look is one colour with vertical gradients, so the shading is
  // exact on both parts.
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetComponentStyle(REZORuvar::tsWindowsXP);
  b->SetDropDownButton(true);
  Rig::Enter(b);
  rig.Advance(300);
  const TColor hot = 0xEFD3C6;
  const TColor darker = glow::ShadeColor(hot, -10);
  struct Case {
    int x;
    TColor main, part;
  } cases[] = {{40, darker, hot}, {88, darker, hot}, {89, hot, darker}, {95, hot, darker}};
  for (const Case& c : cases) {
    Rig::Move(b, c.x, 10);
    QImage shot = rig.Grab(b);
    EXPECT_EQ(Rig::At(shot, 40, 8), c.main) << c.x;
    EXPECT_EQ(Rig::At(shot, 94, 8), c.part) << c.x;
    EXPECT_EQ(Rig::At(shot, 40, 32), c.main) << c.x;
    EXPECT_EQ(Rig::At(shot, 94, 32), c.part) << c.x;
  }
}

namespace {

// The face colour of each paint, read from the canvas as it is drawn.
struct FrameLog {
  std::vector<int> hot, press;
  std::vector<TColor> face;
  void Attach(TLumGlowButton* b) {
    b->OnDrawButton = [this, b](vcl::TObject*, vcl::TCanvas* canvas, const vcl::TRect&, TGlowButtonState) {
      if (!b->GlowTimerRunning()) return;
      hot.push_back(b->HotPosition());
      press.push_back(b->PressPosition());
      face.push_back(vcl::ColorToRGB(canvas->Pixels(50, 10)));
    };
  }
};

}  // namespace

TEST(GlowButtonPaint, FadesStepTwentyPerCentEveryThirtyMilliseconds) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetComponentStyle(REZORuvar::tsTerminal);
  rig.Pump();
  const TGlowButtonAppearance& a = *b->Appearance();
  const TColor hot = vcl::ColorToRGB(a.ColorHot()), normal = vcl::ColorToRGB(a.Color());
  const TColor down = vcl::ColorToRGB(a.ColorDown());
  FrameLog log;
  log.Attach(b);

  auto run = [&](auto&& start) {
    log = FrameLog{};
    log.Attach(b);
    start();
    b->Update();
    for (int tick = 0; tick < 6; ++tick) {
      rig.Advance(30);
      b->Update();
    }
    EXPECT_FALSE(b->GlowTimerRunning());
  };

  // Entering: 0 at once, then 20 .. 100 on successive ticks.
  run([&] { Rig::Enter(b); });
  EXPECT_EQ(log.hot, (std::vector<int>{0, 20, 40, 60, 80, 100}));
  for (size_t i = 0; i < log.face.size(); ++i)
    EXPECT_EQ(log.face[i], glow::BlendColor(hot, normal, log.hot[i])) << i;

  // Leaving fades back down; leaving itself does not repaint.
  run([&] { Rig::Leave(b); });
  EXPECT_EQ(log.hot, (std::vector<int>{80, 60, 40, 20, 0}));
  for (size_t i = 0; i < log.face.size(); ++i)
    EXPECT_EQ(log.face[i], glow::BlendColor(hot, normal, log.hot[i])) << i;

  // Pressing runs the press fade from the hot look to the down look.
  Rig::PointAt(b, 50, 20);
  Rig::Enter(b);
  rig.Advance(300);
  run([&] { Rig::Press(b, 50, 20); });
  EXPECT_EQ(log.press, (std::vector<int>{0, 20, 40, 60, 80, 100}));
  for (size_t i = 0; i < log.face.size(); ++i)
    EXPECT_EQ(log.face[i], glow::BlendColor(down, hot, log.press[i])) << i;
  // Releasing fades it out again.
  run([&] { Rig::Release(b, 50, 20); });
  EXPECT_EQ(log.press, (std::vector<int>{100, 80, 60, 40, 20, 0}));
}

TEST(GlowButtonPaint, AHeldRepeatButtonClicksAtFourHundredThenEveryHundredMilliseconds) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetRepeatClick(true);
  int clicks = 0;
  b->OnClick = [&](vcl::TObject*) { ++clicks; };
  Rig::Enter(b);
  Rig::Press(b, 50, 20);
  rig.Advance(390);
  EXPECT_EQ(clicks, 0);
  rig.Advance(10);
  EXPECT_EQ(clicks, 1);
  rig.Advance(99);
  EXPECT_EQ(clicks, 1);
  rig.Advance(1);
  EXPECT_EQ(clicks, 2);
  rig.Advance(300);
  EXPECT_EQ(clicks, 5);
  Rig::Release(b, 50, 20);  // the release's own click
  EXPECT_EQ(clicks, 6);
  rig.Advance(1000);
  EXPECT_EQ(clicks, 6);
}

namespace {

// A descendant that hands the paint an 8 x 8 glyph of its own.
class CustomGlyphButton : public TLumGlowButton {
 public:
  explicit CustomGlyphButton(vcl::TComponent* owner) : TLumGlowButton(owner) {}
  int afterDraws = 0;

 protected:
  void GetCustomGlyph(vcl::TBitmap* Bitmap) override {
    Bitmap->SetSize(8, 8);
    Bitmap->Canvas()->Brush()->SetColor(vcl::clRed);
    Bitmap->Canvas()->FillRect(vcl::Rect(0, 0, 8, 8));
  }
  void AfterDraw() override { ++afterDraws; }
};

}  // namespace

TEST(GlowButtonPaint, ADescendantsGlyphIsCentredWithoutACaption) {
  Rig rig;
  auto* b = new CustomGlyphButton(rig.form);
  b->SetParent(rig.panel);
  b->SetBounds(20, 20, 100, 41);
  QImage shot = rig.Grab(b);
  int red = 0, minX = 100, minY = 41;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (Rig::At(shot, x, y) == vcl::clRed) {
        ++red;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
      }
  EXPECT_EQ(red, 64);
  EXPECT_EQ(minX, (100 - 8) / 2);
  EXPECT_EQ(minY, (41 - 8) / 2);
  EXPECT_GT(b->afterDraws, 0);
}

TEST(GlowButtonPaint, TheFocusFrameIsALightBlueOutlineAndADottedGreyOne) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetTabStop(true);
  b->SetFocus();
  rig.Pump();
  QImage shot = rig.Grab(b);
  // The blue frame one pixel in, the dotted one two pixels in.
  EXPECT_EQ(Rig::At(shot, 1, 20), TColor(0xE4AD89));
  EXPECT_EQ(Rig::At(shot, 98, 20), TColor(0xE4AD89));
  EXPECT_EQ(Rig::At(shot, 50, 1), TColor(0xE4AD89));
  int grey = 0, other = 0;
  for (int y = 6; y < 34; ++y) (Rig::At(shot, 2, y) == vcl::clGray ? grey : other)++;
  EXPECT_GT(grey, 8);
  EXPECT_GT(other, 8);
  // Without the focus, or with a focus type that draws none, no frame.
  b->SetFocusType(ftNone);
  b->Invalidate();
  EXPECT_NE(Rig::At(rig.Grab(b), 1, 20), TColor(0xE4AD89));
}

TEST(GlowButtonPaint, AfterAClickTheSplitPartStillLightsUnderTheMouse) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetComponentStyle(REZORuvar::tsWindowsXP);
  b->SetDropDownButton(true);
  Rig::PointAt(b, 40, 20);
  Rig::Enter(b);
  Rig::ClickAt(b, 40, 20);
  rig.Advance(300);
  Rig::PointAt(b, 95, 10);
  Rig::Move(b, 95, 10);
  QImage shot = rig.Grab(b);
  const TColor hot = 0xEFD3C6;
  EXPECT_EQ(Rig::At(shot, 40, 8), hot);
  EXPECT_EQ(Rig::At(shot, 94, 8), glow::ShadeColor(hot, -10));
}

TEST(GlowButtonPaint, TheGlyphComesFromTheListOfTheLook) {
  Rig rig;
  auto list = [&](TColor colour) {
    auto* images = new vcl::TImageList(rig.form);
    vcl::TBitmap bitmap;
    bitmap.SetSize(16, 16);
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect(vcl::Rect(0, 0, 16, 16));
    images->Add(&bitmap, nullptr);
    return images;
  };
  TLumGlowButton* b = rig.Add();
  b->SetImages(list(vcl::clRed));
  b->SetHotImages(list(vcl::clFuchsia));
  b->SetDisabledImages(list(vcl::clLime));
  b->SetImageIndex(0);
  auto count = [&](TColor colour) {
    QImage shot = rig.Grab(b);
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (Rig::At(shot, x, y) == colour) ++n;
    return n;
  };
  EXPECT_EQ(count(vcl::clRed), 256);
  Rig::Enter(b);
  rig.Advance(300);
  EXPECT_EQ(count(vcl::clFuchsia), 256);
  EXPECT_EQ(count(vcl::clRed), 0);
  Rig::Leave(b);
  b->SetEnabled(false);
  rig.Advance(300);
  EXPECT_EQ(count(vcl::clLime), 256);  // drawn as it is, not embossed
}
