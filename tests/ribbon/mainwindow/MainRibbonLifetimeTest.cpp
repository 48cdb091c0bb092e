// The main window's ribbon made and freed ten times in one process, used
// a little each time (a tab click, the wheel over the tabs, a collapsed
// group's popup), and a pager freed from a form that lives on: the form's
// wheel hook goes with it, so wheel messages to the form afterwards reach
// nothing freed. Run under the address sanitizer, this is what shows a
// leak or a use after free in the ribbon's teardown.
#include <gtest/gtest.h>

#include <QPoint>
#include <QTest>
#include <QWheelEvent>

#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/MessageHooks.h"
#include "vcl/Messages.h"

namespace {

using namespace ribbon;
using ide::testing::MainRibbonRig;

TEST(MainRibbonLifetime, BuiltAndFreedTenTimes) {
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    {
    MainRibbonRig rig;
    // The Ctrl+F1 hook: this pager's, once.
    EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), rig.pager);
    EXPECT_EQ(vcl::InstalledMessageHooks(), 1);
    rig.ClickTab(1 + round % 4);
    EXPECT_EQ(rig.pager->GetActivePageIndex(), 1 + round % 4);
    rig.Wheel(QPoint(300, 12), round % 2 ? 120 : -120);
    if (round % 3 == 0) {
      // A narrow window with the Font group's popup open while it goes.
      rig.pager->SetActivePage(rig.Page("EditHTMLPage"));
      rig.form->SetClientWidth(600);
      rig.Pump();
      TLumCustomToolBar* font = rig.Bar("Font", "EditHTMLPage");
      ASSERT_TRUE(font->IsCollapsed());
      rig.Click(font->CompactButton(), QPoint(20, 20));
      EXPECT_TRUE(font->CompactWindow()->Visible());
    }
    if (round % 3 == 1) {
      // Minimised with the page popup open while it goes.
      rig.pager->Collapse();
      rig.Advance(700);
      rig.ClickTab(rig.pager->GetActivePageIndex());
      EXPECT_TRUE(rig.pager->IsPopupShowing());
    }
    }
    // Removed with its pager.
    EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), nullptr);
    EXPECT_EQ(vcl::InstalledMessageHooks(), 0);
  }
}

TEST(MainRibbonLifetime, APagerFreedTakesItsFormHookAlong) {
  MainRibbonRig rig;
  const int active = rig.pager->GetActivePageIndex();
  vcl::Free(rig.pager);
  rig.pager = nullptr;
  rig.Pump();
  EXPECT_EQ(rig.form->FindComponent("mainpager"), nullptr);
  // The wheel the form hears now goes nowhere near the freed pager.
  vcl::TMessage wheel{vcl::WM_MOUSEWHEEL, static_cast<vcl::WPARAM>(static_cast<vcl::Cardinal>(-120) << 16),
                      vcl::MakeLParam(300, 12), 0};
  rig.form->Perform(wheel.Msg, wheel.WParam, wheel.LParam);
  rig.form->Perform(vcl::CM_MOUSEWHEEL, wheel.WParam, wheel.LParam);
  EXPECT_EQ(active, 0);
  // Its pages (the source "&Edit" page too, off the ribbon but still
  // its child) and their groups went with it.
  for (const char* name : {"FilePage", "EditHTMLPage", "EditSource", "HTMLPage", "FontSettingsToolBar"})
    EXPECT_EQ(rig.form->FindComponent(name), nullptr) << name;
}

}  // namespace
