// The toolbar container: its etched frame and caption gap in pixels, the
// margins, the styler's frame colour, and handing its toolbar to the
// controls inside it.
#include <gtest/gtest.h>

#include "ButtonRig.h"
#include "controls/LumGlowButton.h"
#include "controls/LumStyleIF.h"
#include "vcl/Messages.h"

namespace ribbontest {
namespace {

using vcl::RGB;

constexpr TColor kFrame = RGB(90, 60, 30);

TRorIvezEviContainer* AddContainer(Rig& rig, vcl::TWinControl* parent, int left, int top, int w, int h) {
  auto* c = new TRorIvezEviContainer(rig.form);
  c->SetParent(parent);
  c->SetBounds(left, top, w, h);
  c->SetParentStyler(false);
  c->SetLineColor(kFrame);
  rig.Pump();
  return c;
}

TEST(RibbonContainer, FrameCaptionGapAndWhiteCompanions) {
  Rig rig;
  rig.bar->SetBounds(10, 10, 400, 80);
  auto* c = AddContainer(rig, rig.bar, 20, 5, 120, 60);
  c->SetCaption("Fonts");
  const QImage shot = rig.Grab(c);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_container.png");
  c->Canvas()->Font()->Assign(c->Font());
  const int tw = c->Canvas()->TextWidth("Fonts");
  const int W = 120, H = 60, d = 2;
  // The top line at y = 4 leaves x = 9 .. 10 + tw empty for the caption.
  EXPECT_EQ(Rig::At(shot, 0, d + 2), kFrame);
  EXPECT_EQ(Rig::At(shot, 8, d + 2), kFrame);
  for (int x = 9; x <= 10 + tw; ++x) EXPECT_NE(Rig::At(shot, x, d + 2), kFrame) << x;
  EXPECT_EQ(Rig::At(shot, 11 + tw, d + 2), kFrame);
  EXPECT_EQ(Rig::At(shot, W - d - 1, d + 2), kFrame);
  // Left, bottom and right lines; each with a white line beside it.
  EXPECT_EQ(Rig::At(shot, 0, 30), kFrame);
  EXPECT_EQ(Rig::At(shot, 1, 30), vcl::clWhite);
  EXPECT_EQ(Rig::At(shot, 60, H - d), kFrame);
  EXPECT_EQ(Rig::At(shot, 60, H - d + 1), vcl::clWhite);
  EXPECT_EQ(Rig::At(shot, W - d, 30), kFrame);
  EXPECT_EQ(Rig::At(shot, W - d + 1, 30), vcl::clWhite);
  EXPECT_EQ(Rig::At(shot, 60, d + 3), vcl::clWhite);
  // The toolbar's background inside.
  EXPECT_EQ(Rig::At(shot, 60, 30), kToolBarColour);
  // Black caption text at (10, 0).
  int black = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 10; x < 10 + tw; ++x) black += vcl::GetRValue(Rig::At(shot, x, y)) < 80;
  EXPECT_GT(black, 5);

  // Without Line3D no white lines; with clNone neither frame nor caption.
  c->SetLine3D(false);
  EXPECT_EQ(Rig::At(rig.Grab(c), 1, 30), kToolBarColour);
  c->SetLineColor(vcl::clNone);
  const QImage none = rig.Grab(c);
  EXPECT_EQ(Rig::At(none, 0, 30), kToolBarColour);
  black = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 10; x < 10 + tw; ++x) black += vcl::GetRValue(Rig::At(none, x, y)) < 80;
  EXPECT_EQ(black, 0);
}

TEST(RibbonContainer, StylerFrameColour) {
  Rig rig;
  rig.bar->SetBounds(10, 10, 400, 80);
  auto* c = AddContainer(rig, rig.bar, 20, 5, 120, 60);
  c->SetRorIvezEvi(rig.bar);
  TContainerAppearance* a = rig.bar->CurrentStyler()->ContainerAppearance();
  a->SetLineColor(RGB(0, 128, 0));
  a->SetLine3D(false);
  c->SetParentStyler(true);
  QImage shot = rig.Grab(c);
  EXPECT_EQ(Rig::At(shot, 0, 30), RGB(0, 128, 0));
  EXPECT_EQ(Rig::At(shot, 1, 30), kToolBarColour);
  a->SetLineColor(vcl::clNone);
  c->Invalidate();
  EXPECT_EQ(Rig::At(rig.Grab(c), 0, 30), kToolBarColour);
}

TEST(RibbonContainer, MarginsKeepChildrenInside) {
  Rig rig;
  auto* c = AddContainer(rig, rig.panel, 20, 100, 120, 60);
  auto* child = new vcl::TPanel(rig.form);
  child->SetParent(c);
  child->SetBounds(0, 0, 30, 20);
  auto* far = new vcl::TPanel(rig.form);
  far->SetParent(c);
  far->SetBounds(100, 50, 30, 20);
  struct Case {
    int set, want;
  } const cases[] = {{15, 0}, {-1, 0}, {5, 5}, {14, 14}, {15, 14}};
  for (const Case& k : cases) {
    c->SetMargins(k.set);
    EXPECT_EQ(c->Margins(), k.want) << k.set;
  }
  c->SetMargins(5);
  EXPECT_EQ(child->Left(), 14);  // moved in by the 14 before; kept
  EXPECT_EQ(far->Left() + far->Width(), 120 - 14);
  child->SetBounds(0, 0, 30, 20);
  far->SetBounds(100, 50, 30, 20);
  c->SetMargins(6);
  EXPECT_EQ(child->Left(), 6);
  EXPECT_EQ(child->Top(), 6);
  // The far child's right and bottom edges come back inside.
  EXPECT_EQ(far->Left() + far->Width(), 120 - 6);
  EXPECT_EQ(far->Top() + far->Height(), 60 - 6);
  vcl::TRect r = c->ClientRect();
  c->AdjustClientRect(r);
  EXPECT_EQ(r, (vcl::TRect{6, 6, 114, 54}));
}

TEST(RibbonContainer, HandsItsToolBarToItsChildren) {
  Rig rig;
  rig.bar->SetBounds(10, 10, 400, 80);
  auto* onBar = AddContainer(rig, rig.bar, 20, 5, 150, 60);
  onBar->SetRorIvezEvi(rig.bar);
  auto* loose = AddContainer(rig, rig.panel, 20, 120, 150, 60);
  // A glow button dropped in gets the toolbar's key handler; one in a
  // container without a toolbar does not.
  auto* glow = new controls::TLumGlowButton(rig.form);
  glow->SetParent(onBar);
  auto* lone = new controls::TLumGlowButton(rig.form);
  lone->SetParent(loose);
  ASSERT_TRUE(static_cast<bool>(glow->OnInternalKeyDown));
  EXPECT_FALSE(static_cast<bool>(lone->OnInternalKeyDown));
  vcl::Word key = vcl::VK_LEFT;
  glow->OnInternalKeyDown(glow, key, {});
  EXPECT_EQ(rig.bar->keys, 1);
  // Toolbar buttons inside act as buttons of the toolbar.
  auto* button = new TLumCustomToolBarButton(rig.form);
  button->SetParent(onBar);
  EXPECT_EQ(button->RorIvezEvi(), rig.bar);
  auto* early = new TLumCustomToolBarButton(rig.form);
  early->SetParent(loose);
  EXPECT_EQ(early->RorIvezEvi(), nullptr);
  loose->SetRorIvezEvi(rig.bar);
  EXPECT_EQ(early->RorIvezEvi(), rig.bar);
  ASSERT_TRUE(static_cast<bool>(lone->OnInternalKeyDown));
}

}  // namespace
}  // namespace ribbontest

namespace ribbontest {
namespace {

// A child that records the style it is given.
class StyleRecorder : public vcl::TPanel, public controls::IStyleAware {
 public:
  explicit StyleRecorder(vcl::TComponent* owner) : vcl::TPanel(owner) {}
  void SetComponentStyle(controls::REZORuvar AStyle) override { styles.push_back(AStyle); }
  std::vector<controls::REZORuvar> styles;
};

class LoadingContainer : public TRorIvezEviContainer {
 public:
  using TRorIvezEviContainer::TRorIvezEviContainer;
  void FinishLoading() { Loaded(); }
};

TEST(RibbonContainer, LoadingHandsOnAppearanceAndStyle) {
  Rig rig;
  rig.bar->SetBounds(10, 10, 400, 80);
  TCustomRorIvezEviStyler* styler = rig.bar->CurrentStyler();
  styler->GlowButtonAppearance()->SetColor(vcl::RGB(1, 2, 3));
  for (controls::REZORuvar style : {controls::tsCustom, controls::tsOffice2003Blue}) {
    styler->SetComponentStyle(style);
    auto* c = new LoadingContainer(rig.form);
    c->SetParent(rig.bar);
    c->SetRorIvezEvi(rig.bar);
    auto* glow = new controls::TLumGlowButton(rig.form);
    glow->SetParent(c);
    auto* recorder = new StyleRecorder(rig.form);
    recorder->SetParent(c);
    c->FinishLoading();
    if (style == controls::tsCustom) {
      // The styler's appearance copied, no style given.
      EXPECT_EQ(glow->Appearance()->Color(), vcl::RGB(1, 2, 3));
      EXPECT_TRUE(recorder->styles.empty());
    } else {
      // Copied first, then the preset given to every child that takes it
      // (the glow button's preset replaces the copied colours).
      EXPECT_NE(glow->Appearance()->Color(), vcl::RGB(1, 2, 3));
      EXPECT_EQ(recorder->styles, std::vector<controls::REZORuvar>{style});
    }
  }
}

}  // namespace
}  // namespace ribbontest
