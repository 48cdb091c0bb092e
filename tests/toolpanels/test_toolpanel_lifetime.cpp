// The three strips of one form freed in every order while the form lives
// on: each takes only its own hook off the form's window procedure, leaves
// its panels without a strip to call, and the form keeps handling its
// messages (sizes, paints, closes) with the strips that remain.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "PanelRig.h"

using namespace paneltest;

TEST(ToolPanelLifetime, ThreeStripsFreedInEachOrder) {
  std::array<int, 3> order{0, 1, 2};
  int orders = 0;
  do {
    SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]));
    Rig rig(true, 1);
    MainLikeForm* f = rig.form;
    // Something of each to undo: an open right panel in its host form, a
    // pinned bottom one, a slid-out left one.
    f->RightBar->SetSlideSpeed(ssInstant);
    f->bottomBar->SetSlideSpeed(ssInstant);
    f->RightBar->OpenTab(0);
    f->bottomBar->OpenPanel(f->bottomPanels[0]);
    f->bottomPanels[0]->SetLocked(true);
    f->ct->OpenTab(1);
    rig.Pump();
    TLumToolPanelTab* strips[] = {f->ct, f->RightBar, f->bottomBar};
    std::vector<TLumToolPanel*> orphans[] = {
        {f->ProjectManagerTab, f->insertPanel, f->SimTab, f->simErrorsTab}, {}, {f->bottomPanels[0]}};
    int sizes = 0;
    f->OnResize = [&](vcl::TObject*) { ++sizes; };
    for (int k = 0; k < 3; ++k) {
      const int i = order[k];
      vcl::Free(strips[i]);
      strips[i] = nullptr;
      rig.Pump();
      for (TLumToolPanel* p : orphans[i]) EXPECT_EQ(p->OwningStrip(), nullptr);
      // The form still handles what reaches it through the remaining hooks.
      const int before = sizes;
      f->SetClientHeight(500 + 10 * k);
      f->Perform(vcl::WM_SIZE, 0, vcl::MakeLParam(static_cast<vcl::Word>(f->ClientWidth()),
                                                  static_cast<vcl::Word>(f->ClientHeight())));
      f->Perform(vcl::WM_SYSCOMMAND, 0xF030);
      f->Perform(vcl::WM_MOVING);
      f->Repaint();
      rig.Pump();
      EXPECT_GT(sizes, before);
      for (TLumToolPanelTab* s : strips)
        if (s) {
          EXPECT_TRUE(s->Hooked());
          s->Invalidate();
        }
      // Panels whose strip is gone still take clicks.
      for (TLumToolPanel* p : orphans[i])
        if (p->Visible()) Rig::Click(p, p->Width() - 12, 10);
    }
    f->Perform(vcl::WM_CLOSE);
    rig.Pump();
    ++orders;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(orders, 6);
}

TEST(ToolPanelLifetime, APanelFreedWhileOpenOrPinnedLeavesItsStripWhole) {
  Rig rig(true, 1);
  MainLikeForm* f = rig.form;
  f->RightBar->SetSlideSpeed(ssInstant);
  f->RightBar->OpenTab(0);
  vcl::Free(f->rightPanels[0]);
  rig.Pump();
  EXPECT_EQ(f->RightBar->Panels()->Count(), 0);
  EXPECT_EQ(f->RightBar->Width(), 0);
  f->ct->OpenPanel(f->SimTab);
  f->SimTab->SetLocked(true);
  vcl::Free(f->SimTab);
  rig.Pump();
  EXPECT_EQ(f->ct->Panels()->Count(), 3);
  EXPECT_EQ(f->ct->VisibleTabCount(), 3);
  const vcl::TPoint tab = Rig::TabPoint(f->ct, 2);
  Rig::Click(f->ct, tab.X, tab.Y);
  EXPECT_EQ(f->ct->OpenIndex(), 2);
  EXPECT_TRUE(f->simErrorsTab->Visible());
}
