// The pager's tab layout measured exactly on the fake-metrics canvas (8
// pixels a character): tab widths, the strip with and without the help
// and MDI buttons, squeezing to the 24-pixel floor in 5-pixel steps and
// widening back, and which tab or tab group lies under a point.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace ribbon;

class MeasuredPager : public TRorIvezEviPager {
 public:
  explicit MeasuredPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }

 protected:
  vcl::TCanvas* TabMeasureCanvas() override { return &canvas_; }

 private:
  vcl::TFakeMetricsCanvas canvas_;
};

struct TabRig {
  vcl::TForm* form = nullptr;
  MeasuredPager* pager = nullptr;
  std::vector<TLumPage*> pages;
  explicit TabRig(const std::vector<const char*>& captions, int width = 978) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(width);
    form->SetClientHeight(200);
    pager = new MeasuredPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    pager->CurrentStyler()->TabAppearance()->Font()->SetSize(8);
    for (const char* c : captions) {
      auto* p = new TLumPage(form);
      p->SetCaption(c);
      p->SetParent(pager);
      pages.push_back(p);
    }
    pager->FinishLoading();
    form->Show();
  }
  ~TabRig() { vcl::Free(form); }
  std::vector<int> Widths() const {
    std::vector<int> w;
    for (int i = 0; i < pager->PageCount(); ++i) w.push_back(pager->TabWidth(i));
    return w;
  }
};

TEST(RibbonTabLayout, MeasureTabOnTheFakeMetricsCanvas) {
  TabRig rig({"&File", "Tar&get", "Go", ""});
  int content = 0;
  // "File" is 32 pixels; five characters of allowance ("&File"), margins 4
  // and 4.
  EXPECT_EQ(rig.pager->MeasureTab(0, content), 5 + 32 + 8);
  EXPECT_EQ(content, 5 + 32);
  // Seven characters: allowance 7 for "Tar&get", text "Target" 48.
  EXPECT_EQ(rig.pager->MeasureTab(1, content), 7 + 48 + 8);
  // Fewer than five characters count as five; no caption: 5.
  EXPECT_EQ(rig.pager->MeasureTab(2, content), 5 + 16 + 8);
  EXPECT_EQ(rig.pager->MeasureTab(3, content), 5 + 8);
  EXPECT_EQ(rig.pager->MeasureTab(9, content), 0);
  // A larger font adds its points above 8; without anti-aliasing 2.
  rig.pager->CurrentStyler()->TabAppearance()->Font()->SetSize(10);
  EXPECT_EQ(rig.pager->MeasureTab(0, content), 5 + 2 + 32 + 8);
  rig.pager->SetAntiAlias(controls::aaNone);
  EXPECT_EQ(rig.pager->MeasureTab(0, content), 2 + 32 + 8);
}

TEST(RibbonTabLayout, StripWithHelpAndMDIButtons) {
  TabRig rig({"&File"});
  struct Case {
    bool help, mdi;
    vcl::TRect strip;
  } const cases[] = {
      {false, false, {4 + 60, 4, 978 - 4, 4 + 34}},
      {true, false, {64, 4, 978 - 4 - 22 - 2, 38}},
      {false, true, {64, 4, 978 - 4 - 59, 38}},
      {true, true, {64, 4, 978 - 4 - 22 - 2 - 59, 38}},
  };
  for (const Case& c : cases) {
    rig.pager->SetShowHelpButton(c.help);
    rig.pager->SetAutoMDIButtons(c.mdi);
    EXPECT_EQ(rig.pager->GetTabsRect(), c.strip) << c.help << c.mdi;
  }
  rig.pager->SetShowHelpButton(false);
  EXPECT_EQ(rig.pager->GetHelpButtonRect(), (vcl::TRect{-1, -1, -1, -1}));
  rig.pager->SetShowHelpButton(true);
  EXPECT_EQ(rig.pager->GetHelpButtonRect(), (vcl::TRect{952, 8, 972, 28}));
}

TEST(RibbonTabLayout, SqueezeToTheFloorAndWidenBack) {
  // Six tabs of 40 + 5 allowance + 8 margins = 53, 4 apart: 6 * 53 + 5 * 4
  // = 338 (spacing after every tab but the last).
  TabRig rig({"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE", "FFFFF"}, 800);
  rig.pager->SetShowHelpButton(false);
  // The pager is aligned to the form's top: the form's width sizes it.
  auto strip = [&] { return rig.pager->GetTabsRect().Width(); };
  rig.form->SetClientWidth(64 + 338 + 4);  // the strip exactly fits
  EXPECT_EQ(strip(), 338);
  EXPECT_EQ(rig.Widths(), std::vector<int>(6, 53));
  EXPECT_EQ(rig.pages[0]->TabLeft, 64);
  EXPECT_EQ(rig.pages[1]->TabLeft, 64 + 53 + 4);
  struct Step {
    int strip;
    int spacing, margin;
    std::vector<int> widths;
  } const steps[] = {
      // Spacing gives way first (4 to 3: 5 pixels), then the margins...
      {333, 3, 4, {53, 53, 53, 53, 53, 53}},
      {327, 3, 3, {52, 52, 52, 52, 52, 52}},  // left 3 takes 6, fits
      {321, 3, 3, {51, 51, 51, 51, 51, 51}},
      // ...then the widest tab, 5 pixels at a time, the first of equals.
      {316, 3, 3, {46, 51, 51, 51, 51, 51}},
      {300, 3, 3, {46, 46, 46, 46, 50, 51}},  // the last step only what remains
      {60, 3, 3, {24, 24, 24, 24, 24, 24}},  // the floor: no further
  };
  for (const Step& s : steps) {
    rig.form->SetClientWidth(64 + s.strip + 4);
    EXPECT_EQ(strip(), s.strip);
    EXPECT_EQ(rig.pager->CurrentSpacing(), s.spacing) << s.strip;
    EXPECT_EQ(rig.pager->CurrentMargin(false, true), s.margin) << s.strip;
    EXPECT_EQ(rig.Widths(), s.widths) << s.strip;
  }
  EXPECT_TRUE(rig.pager->ShowTabSeparator(1));
  EXPECT_FALSE(rig.pager->ShowTabSeparator(0));
  // Widening: the tabs come back first, then the spacing, then the
  // margins, until everything is as before.
  for (int w = 316; w <= 400; w += 3) rig.form->SetClientWidth(64 + w + 4);
  EXPECT_EQ(rig.Widths(), std::vector<int>(6, 53));
  EXPECT_EQ(rig.pager->CurrentSpacing(), 4);
  EXPECT_EQ(rig.pager->CurrentMargin(false, true), 4);
  EXPECT_EQ(rig.pager->CurrentMargin(false, false), 4);
  EXPECT_FALSE(rig.pager->ShowTabSeparator(1));
}

TEST(RibbonTabLayout, TabAndTabGroupAtPos) {
  TabRig rig({"AAAAA", "BBBBB", "CCCCC", "DDDDD"});
  rig.pager->SetShowHelpButton(false);
  rig.pages[2]->SetTabVisible(false);
  rig.pager->ArrangeTabs();
  TTabGroupItem* g = rig.pager->TabGroups()->Add();
  g->SetTabIndexStart(1);
  g->SetTabIndexEnd(3);
  rig.pager->InitTabWidths();
  // Tabs: A at 64 (53 wide), B at 121, C hidden, D after B.
  const int b = rig.pages[1]->TabLeft, d = rig.pages[3]->TabLeft;
  EXPECT_EQ(b, 64 + 53 + 4);
  EXPECT_EQ(d, b + 53 + 4);
  struct Case {
    int x, y, tab, group;
  } const cases[] = {
      {64, 4, 0, -1},     {116, 20, 0, -1},  {117, 20, -1, -1}, {b, 37, 1, -1},
      {b, 38, -1, -1},    {d + 52, 10, 3, -1}, {d + 53, 10, -1, -1}, {30, 10, -1, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(rig.pager->TabAtPos(c.x, c.y), c.tab) << c.x << "," << c.y;
  EXPECT_EQ(rig.pager->GetTabRect(2), (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_EQ(rig.pager->TabGroupOfPage(0), -1);
  EXPECT_EQ(rig.pager->TabGroupOfPage(3), 0);
  // The group spans B to D, spacing div 2 wider on both sides; with the
  // caption hidden its top is -1.
  bool left = false, right = false;
  const vcl::TRect r = rig.pager->GetTabGroupRect(0, left, right);
  EXPECT_TRUE(left);
  EXPECT_TRUE(right);
  EXPECT_EQ(r, (vcl::TRect{b - 2, -1, d + 53 + 2, 38}));
  EXPECT_EQ(rig.pager->TabGroupAtPos(b, 0), 0);
  EXPECT_EQ(rig.pager->TabGroupAtPos(64, 0), -1);
  g->SetTabIndexEnd(7);  // past the pages: none
  EXPECT_EQ(rig.pager->GetTabGroupRect(0, left, right), (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_EQ(rig.pager->TabGroupAtPos(b, 0), -1);
}

}  // namespace

namespace {

// A page's tab settings reach the strip at once: a new caption (or a wide
// caption standing in for an empty one) is measured and the tabs behind
// it move; a hidden tab leaves the strip; an image widens the tab.
TEST(RibbonTabLayout, PageSettingsReachTheStrip) {
  TabRig rig({"&File", "&Edit", "&Tools"});
  ASSERT_EQ(rig.Widths(), (std::vector<int>{45, 45, 54}));
  const int toolsLeft = rig.pager->GetTabRect(2).Left;
  rig.pages[1]->SetCaption("&Edit HTML");
  // "Edit HTML" is 9 characters of 8 pixels; the allowance is 10.
  EXPECT_EQ(rig.pager->TabWidth(1), 10 + 72 + 8);
  EXPECT_EQ(rig.pager->GetTabRect(2).Left, toolsLeft + 45);
  rig.pages[1]->SetCaption("");
  rig.pages[1]->SetWideCaption(u"Édit");
  EXPECT_EQ(rig.pager->TabWidth(1), 5 + 32 + 8);
  // Hidden: no rectangle, and the next tab takes its place.
  const int editLeft = rig.pager->GetTabRect(1).Left;
  rig.pages[1]->SetTabVisible(false);
  EXPECT_EQ(rig.pager->GetTabRect(1), (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_EQ(rig.pager->GetTabRect(2).Left, editLeft);
  rig.pages[1]->SetTabVisible(true);
  // An image of the pager's list: its width and 2 more.
  vcl::TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  rig.pager->SetImages(&images);
  rig.pages[0]->SetImageIndex(0);
  EXPECT_EQ(rig.pager->TabWidth(0), 45 + 16 + 2);
  rig.pager->SetImages(nullptr);
}

}  // namespace
