// Pixels of the pager and its pages under a styler with known colours:
// the page background split 22 pixels below its top with its shadow and
// highlight lines, the selected tab opening into the page, the corners
// the pager shows through, the tab states, and the hot fade sampled at
// every 30 ms tick.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/StdCtrls.h"

namespace {

using namespace ribbon;
using vcl::RGB;
using vcl::TColor;

constexpr TColor kUpper = RGB(240, 244, 250), kLower = RGB(214, 226, 240), kBorder = RGB(140, 160, 190);
constexpr TColor kShadow = RGB(100, 110, 130), kHighLight = RGB(250, 250, 255);
constexpr TColor kRow = RGB(190, 210, 235);
constexpr TColor kNormal = RGB(220, 230, 200), kHot = RGB(255, 230, 150), kSelected = RGB(250, 250, 250),
                 kDisabled = RGB(200, 200, 200);

class PaintPager : public TRorIvezEviPager {
 public:
  explicit PaintPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }
};

struct PaintRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  PaintPager* pager = nullptr;
  std::vector<TLumPage*> pages;
  PaintRig() {
    rtl::InstallClock(clock);
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(978);
    form->SetClientHeight(200);
    pager = new PaintPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    TCustomRorIvezEviStyler* s = pager->CurrentStyler();
    TVistaPageBackground* p = s->PageAppearance();
    p->SetColor(kUpper);
    p->SetColorTo(kUpper);
    p->SetColorMirror(kLower);
    p->SetColorMirrorTo(kLower);
    p->SetBorderColor(kBorder);
    p->SetShadowColor(kShadow);
    p->SetHighLightColor(kHighLight);
    s->TabAppearance()->BackGround()->SetColor(kRow);
    s->TabAppearance()->BackGround()->SetColorTo(vcl::clNone);
    TCustomTabAppearance* t = s->TabAppearance();
    auto solid = [](auto set, TColor c) { set(c); };
    (void)solid;
    for (auto* setters : {t}) {
      setters->SetColor(kNormal), setters->SetColorTo(kNormal), setters->SetColorMirror(kNormal),
          setters->SetColorMirrorTo(kNormal);
      setters->SetColorHot(kHot), setters->SetColorHotTo(kHot), setters->SetColorMirrorHot(kHot),
          setters->SetColorMirrorHotTo(kHot);
      setters->SetColorSelected(kSelected), setters->SetColorSelectedTo(kSelected),
          setters->SetColorMirrorSelected(kSelected), setters->SetColorMirrorSelectedTo(kSelected);
      setters->SetColorDisabled(kDisabled), setters->SetColorDisabledTo(kDisabled),
          setters->SetColorMirrorDisabled(kDisabled), setters->SetColorMirrorDisabledTo(kDisabled);
      setters->SetShadowColor(vcl::clNone);
      setters->SetHighLightColor(vcl::clNone);
      setters->SetHighLightColorHot(vcl::clNone);
      setters->SetHighLightColorSelected(vcl::clNone);
      setters->SetHighLightColorSelectedHot(vcl::clNone);
    }
    for (const char* c : {"&File", "&Edit", "&HTML", "&Tools"}) {
      auto* page = new TLumPage(form);
      page->SetCaption(c);
      page->SetParent(pager);
      pages.push_back(page);
    }
    pager->FinishLoading();
    pager->SetActivePageIndex(0);
    form->Show();
    Pump();
  }
  ~PaintRig() {
    vcl::Free(form);
    Pump();
    rtl::InstallClock(nullptr);
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  QImage Grab(vcl::TWinControl* c) {
    Pump();
    c->Repaint();
    return c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static TColor At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
  }
  // A pixel of a tab's body away from its text and frame.
  TColor TabBody(const QImage& shot, int i) const {
    const vcl::TRect r = pager->GetTabRect(i);
    return At(shot, r.Right - 5, r.Top + 9);
  }
};

TEST(RibbonPagerPaint, PageBackgroundAndTheTabOpening) {
  PaintRig rig;
  TLumPage* page = rig.pages[0];
  ASSERT_EQ(page->BoundsRect(), vcl::Bounds(4, 34, 970, 81));
  const QImage shot = rig.Grab(page);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_page.png");
  const int w = 970, h = 81;
  EXPECT_EQ(PaintRig::At(shot, 100, 10), kUpper);
  EXPECT_EQ(PaintRig::At(shot, 100, 21), kUpper);
  EXPECT_EQ(PaintRig::At(shot, 100, 22), kLower);  // split 22 below the top
  EXPECT_EQ(PaintRig::At(shot, 100, 60), kLower);
  EXPECT_EQ(PaintRig::At(shot, 0, 40), kBorder);
  EXPECT_EQ(PaintRig::At(shot, 100, h - 1), kShadow);
  EXPECT_EQ(PaintRig::At(shot, 1, 40), kHighLight);
  EXPECT_EQ(PaintRig::At(shot, w - 2, 40), kHighLight);
  EXPECT_EQ(PaintRig::At(shot, 100, h - 2), kHighLight);
  EXPECT_NE(PaintRig::At(shot, 1, 5), kHighLight);  // from 10 below the top
  // The selected tab opens into the page: its stretch of the top edge is
  // the page colour, the rest is the border.
  const vcl::TRect tab = rig.pager->GetTabRect(0);
  EXPECT_EQ(PaintRig::At(shot, tab.Left - 4 + 5, 0), kUpper);
  EXPECT_EQ(PaintRig::At(shot, tab.Right - 4 + 20, 0), kBorder);
  // Rounded look: the corner pixels are the pager's just outside.
  const QImage pagerShot = rig.Grab(rig.pager);
  pagerShot.save(TOLVANE_BUILD_DIR "/ribbon_pager.png");
  EXPECT_EQ(PaintRig::At(shot, 0, 0), PaintRig::At(pagerShot, 3, 33));
  EXPECT_EQ(PaintRig::At(shot, w - 1, h - 1), PaintRig::At(pagerShot, 4 + w, 34 + h));
  // The shadow under the page on the pager.
  EXPECT_NE(PaintRig::At(pagerShot, 200, 34 + h), PaintRig::At(pagerShot, 200, 34 + h + 3));
}

TEST(RibbonPagerPaint, TabStates) {
  PaintRig rig;
  auto* other = new vcl::TEdit(rig.form);
  other->SetParent(rig.form);
  other->SetBounds(10, 150, 80, 20);
  other->SetFocus();
  rig.Pump();
  rig.pager->SetShowNonSelectedTabs(true);
  rig.pages[3]->SetTabEnabled(false);
  const vcl::TRect hot = rig.pager->GetTabRect(2);
  rig.pager->Perform(vcl::WM_MOUSEMOVE, 0,
                     vcl::MakeLParam(static_cast<vcl::Word>(hot.Left + 5), static_cast<vcl::Word>(hot.Top + 5)));
  for (int i = 0; i < 6; ++i) {
    rig.clock->Advance(30);
    vcl::Application->ProcessMessages();
  }
  const QImage shot = rig.Grab(rig.pager);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_tabs.png");
  EXPECT_EQ(rig.TabBody(shot, 0), kSelected);
  EXPECT_EQ(rig.TabBody(shot, 1), kNormal);
  EXPECT_EQ(rig.TabBody(shot, 2), kHot);
  EXPECT_EQ(rig.TabBody(shot, 3), kDisabled);
  // The active tab of a focused pager takes the hot colours.
  rig.pager->SetFocus();
  EXPECT_EQ(rig.TabBody(rig.Grab(rig.pager), 0), kHot);
  // Between tabs: the tab row's background.
  EXPECT_EQ(PaintRig::At(shot, rig.pager->GetTabRect(1).Right + 1, 20), kRow);
}

TEST(RibbonPagerPaint, HotFadeMixesIntoTheRow) {
  PaintRig rig;  // ShowNonSelectedTabs off: an idle tab has no body
  EXPECT_EQ(rig.TabBody(rig.Grab(rig.pager), 2), kRow);
  const vcl::TRect hot = rig.pager->GetTabRect(2);
  rig.pager->Perform(vcl::WM_MOUSEMOVE, 0,
                     vcl::MakeLParam(static_cast<vcl::Word>(hot.Left + 5), static_cast<vcl::Word>(hot.Top + 5)));
  for (int amount : {20, 40, 60, 80, 100}) {
    rig.clock->Advance(30);
    vcl::Application->ProcessMessages();
    ASSERT_EQ(rig.pages[2]->HotFade(), amount);
    const QImage shot = rig.Grab(rig.pager);
    if (amount < 100) EXPECT_EQ(rig.TabBody(shot, 2), MixColors(kHot, kRow, amount)) << amount;
    else EXPECT_EQ(rig.TabBody(shot, 2), kHot);
  }
}

}  // namespace

namespace {

// A tab group over the second and third tabs, with its own colours: the
// band above its tabs in the caption's height, the darker line under it,
// its caption text, and its edges running down the tab row.
TEST(RibbonPagerPaint, TabGroupBandAndEdges) {
  PaintRig rig;
  constexpr TColor kBand = RGB(230, 190, 120), kGroupBorder = RGB(160, 60, 40), kGroupText = RGB(0, 0, 160);
  rig.pager->PageCaption()->SetVisible(true);
  auto* item = rig.pager->TabGroups()->Add();
  item->SetDefaultAppearance(false);
  item->SetCaption("Table Tools");
  item->SetTabIndexStart(1);
  item->SetTabIndexEnd(2);
  TGroupAppearance* a = item->GroupAppearance();
  a->SetColor(kBand), a->SetColorTo(kBand), a->SetColorMirror(kBand), a->SetColorMirrorTo(kBand);
  a->SetBorderColor(kGroupBorder);
  a->SetTextColor(kGroupText);
  rig.pager->Invalidate();
  const QImage shot = rig.Grab(rig.pager);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_tab_group.png");
  bool l = false, r = false;
  const vcl::TRect g = rig.pager->GetTabGroupRect(0, l, r);
  const vcl::TRect area = rig.pager->GetTabsArea();
  ASSERT_EQ(area.Top, 27);
  ASSERT_EQ(g.Top, 0);
  EXPECT_EQ(g.Left, rig.pager->GetTabRect(1).Left - rig.pager->TabSettings()->Spacing() / 2);
  // The band from 8 below the group's top to the tab area, its last row
  // the band colour mixed 80 % with black.
  EXPECT_EQ(PaintRig::At(shot, g.Right - 3, 12), kBand);
  EXPECT_NE(PaintRig::At(shot, g.Right - 3, 7), kBand);
  EXPECT_EQ(PaintRig::At(shot, g.Right - 3, area.Top - 1), MixColors(kBand, vcl::clBlack, 80));
  // The caption in the group's text colour (smoothed: blue-dominant ink
  // on the band), from 3 pixels in.
  int text = 0, firstInk = 1 << 30;
  for (int y = 8; y < area.Top - 1; ++y)
    for (int x = g.Left + 1; x < g.Right - 1; ++x) {
      const QRgb p = shot.pixel(x, y);
      if (qBlue(p) > qRed(p) + 40) {
        ++text;
        firstInk = std::min(firstInk, x);
      }
    }
  EXPECT_GT(text, 30);
  EXPECT_GE(firstInk, g.Left + 3);
  EXPECT_LE(firstInk, g.Left + 6);
  // Both edges start in the border colour at the tab row's top and fade
  // into the row's colour.
  EXPECT_EQ(PaintRig::At(shot, g.Left, area.Top), kGroupBorder);
  EXPECT_EQ(PaintRig::At(shot, g.Right - 1, area.Top), kGroupBorder);
  EXPECT_NE(PaintRig::At(shot, g.Left, area.Top + 20), kGroupBorder);
  // Outside the group: no band.
  EXPECT_NE(PaintRig::At(shot, g.Left - 10, 12), kBand);
}

}  // namespace
