// Dragging a pinned panel by its grip through synthetic mouse input: onto
// a strip of each edge, where it is pinned; anywhere else, where it floats
// in a window of its own and stays floating through clicks; a drag begun
// outside the grip; a strip that takes no panels.
#include <gtest/gtest.h>

#include <QCursor>

#include "PanelRig.h"

using namespace paneltest;

namespace {

// The grip of a pinned panel pressed and moved within it: the drag starts.
void DockGrab(TLumToolPanel* p) {
  Rig::Press(p, 4, 10);
  Rig::PointAt(p, 5, 11);
  p->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(5, 11));
}

vcl::LPARAM DockParam(vcl::TPoint p) { return vcl::PointToLParam(p); }

// The dragged panel follows the mouse to a screen point and is released
// there.
void DockDropAt(TLumToolPanel* p, vcl::TPoint screen) {
  QCursor::setPos(screen.X, screen.Y);
  p->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, DockParam(p->ScreenToClient(screen)));
  QCursor::setPos(screen.X, screen.Y);
  p->Perform(vcl::WM_LBUTTONUP, 0, DockParam(p->ScreenToClient(screen)));
}

void PinOnCt(Rig& rig, TLumToolPanel* p) {
  rig.form->ct->OpenPanel(p);
  p->SetLocked(true);
  rig.Pump();
}

}  // namespace

TEST(ToolPanelDocking, APinnedPanelDroppedOnAStripIsPinnedThereOnEachEdge) {
  Rig rig;
  MainLikeForm* f = rig.form;
  auto* top = new MeasuredStrip(f);
  top->SetName("topBar");
  top->SetParent(f);
  top->SetPosition(ppTop);
  rig.Pump();
  ASSERT_EQ(top->Height(), 0);
  TLumToolPanel* pm = f->ProjectManagerTab;
  pm->SetOpenWidth(140);
  PinOnCt(rig, pm);
  struct Case {
    TLumToolPanelTab* strip;
    vcl::TAlign align;
  } cases[] = {{f->RightBar, vcl::alRight}, {f->bottomBar, vcl::alBottom}, {top, vcl::alTop}, {f->ct, vcl::alLeft}};
  TLumToolPanelTab* from = f->ct;
  std::vector<std::string> docks;
  pm->OnStartDock = [&](vcl::TObject*) { docks.push_back("start"); };
  pm->OnEndDock = [&](vcl::TObject*, vcl::TObject* target, Integer, Integer) {
    docks.push_back(std::string("end ") + (target ? static_cast<vcl::TComponent*>(target)->Name() : "none"));
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strip->Name());
    docks.clear();
    DockGrab(pm);
    ASSERT_TRUE(pm->DockDragging());
    EXPECT_TRUE(pm->Docked());
    EXPECT_EQ(from->Panels()->Items(from->PanelIndex(pm))->State, psDocked);
    // Over the strip (one without panels has no thickness: a drop within
    // a few pixels of it still reaches it); it shows where the panel goes.
    const vcl::TPoint s = c.strip->ClientToScreen({c.strip->Width() / 2, c.strip->Height() / 2});
    QCursor::setPos(s.X, s.Y);
    pm->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, DockParam(pm->ScreenToClient(s)));
    const vcl::TRect preview = c.strip->DockPreviewRect();
    const vcl::TPoint o = c.strip->ClientToScreen({0, 0});
    if (c.align == vcl::alRight) EXPECT_EQ(preview, vcl::Bounds(o.X + c.strip->Width() - 100, o.Y, 100, c.strip->Height()));
    if (c.align == vcl::alLeft) EXPECT_EQ(preview, vcl::Bounds(o.X, o.Y, 100, c.strip->Height()));
    if (c.align == vcl::alTop) EXPECT_EQ(preview, vcl::Bounds(o.X, o.Y, c.strip->Width(), 100));
    if (c.align == vcl::alBottom) EXPECT_EQ(preview, vcl::Bounds(o.X, o.Y + c.strip->Height() - 100, c.strip->Width(), 100));
    DockDropAt(pm, s);
    rig.Pump();
    EXPECT_EQ(docks, (std::vector<std::string>{"start", "end " + c.strip->Name()}));
    EXPECT_FALSE(pm->DockDragging());
    EXPECT_EQ(pm->OwningStrip(), c.strip);
    EXPECT_EQ(c.strip->PanelIndex(pm), c.strip->Panels()->Count() - 1);
    EXPECT_EQ(from == c.strip ? 0 : from->PanelIndex(pm), from == c.strip ? 0 : -1);
    EXPECT_TRUE(pm->Locked());
    EXPECT_FALSE(pm->Docked());
    EXPECT_FALSE(pm->Floating());
    EXPECT_EQ(pm->Parent(), f);
    EXPECT_EQ(pm->Align(), c.align);
    EXPECT_EQ(IsVerticalStrip(c.strip->Position()) ? pm->Width() : pm->Height(), 140);
    // Beside the strip, on the content side.
    switch (c.align) {
      case vcl::alRight: EXPECT_EQ(pm->Left() + pm->Width(), c.strip->Left()); break;
      case vcl::alBottom: EXPECT_EQ(pm->Top() + pm->Height(), c.strip->Top()); break;
      case vcl::alTop: EXPECT_EQ(pm->Top(), c.strip->Top() + c.strip->Height()); break;
      default: EXPECT_EQ(pm->Left(), c.strip->Left() + c.strip->Width()); break;
    }
    from = c.strip;
  }
}

TEST(ToolPanelDocking, ReleasedAwayFromEveryStripItFloatsAndStaysFloating) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* sim = f->SimTab;
  PinOnCt(rig, sim);
  EXPECT_EQ(f->simEdit->Top(), 40);
  DockGrab(sim);
  const vcl::TPoint away = f->page->ClientToScreen({400, 300});
  DockDropAt(sim, away);
  rig.Pump();
  ASSERT_TRUE(sim->Floating());
  auto* window = dynamic_cast<TToolPanelFloatForm*>(sim->Parent());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Client(), sim);
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->Left(), away.X - 5);
  EXPECT_EQ(window->Top(), away.Y - 11);
  EXPECT_EQ(sim->Align(), vcl::alClient);
  EXPECT_TRUE(sim->Docked());
  EXPECT_EQ(f->ct->Panels()->Items(2)->State, psDocked);
  EXPECT_EQ(f->ct->VisibleTabCount(), 3) << "no tab while it floats";
  EXPECT_EQ(f->simEdit->Top(), 17) << "a floating panel draws no caption bar: its children move up";
  // A click inside the floating panel keeps it floating and docked.
  Rig::Click(sim, 50, 50);
  EXPECT_TRUE(sim->Docked());
  EXPECT_TRUE(sim->Floating());
  EXPECT_EQ(f->ct->TabSpans().size(), 3u);
  // Its buttons do not react.
  Rig::Click(sim, sim->Width() - 12, 10);
  EXPECT_FALSE(sim->Hidden());
}

TEST(ToolPanelDocking, ADragBegunOutsideTheGripEndsAtOnce) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* pm = f->ProjectManagerTab;
  PinOnCt(rig, pm);
  Rig::Press(pm, 4, 10);
  // The message says the grip, but the cursor is already over the body.
  Rig::PointAt(pm, 60, 100);
  pm->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(5, 11));
  EXPECT_FALSE(pm->DockDragging());
  EXPECT_FALSE(pm->Docked());
  Rig::Release(pm, 60, 100);
  EXPECT_TRUE(pm->Locked());
  EXPECT_EQ(pm->Parent(), f);
  EXPECT_EQ(pm->Align(), vcl::alLeft);
  EXPECT_EQ(pm->Left(), 23);
  // Unpinned panels and a strip without AutoDock start nothing.
  Rig::PointAt(f->insertPanel, 4, 10);
  f->ct->OpenPanel(f->insertPanel);
  Rig::Press(f->insertPanel, 4, 10);
  f->insertPanel->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(5, 11));
  EXPECT_FALSE(f->insertPanel->DockDragging());
  Rig::Release(f->insertPanel, 5, 11);
}

TEST(ToolPanelDocking, AStripWithoutAutoDockTakesNoPanel) {
  Rig rig;
  MainLikeForm* f = rig.form;
  f->RightBar->SetAutoDock(false);
  TLumToolPanel* pm = f->ProjectManagerTab;
  PinOnCt(rig, pm);
  int asked = 0;
  f->RightBar->OnDockOver = [&](vcl::TObject*, vcl::TObject*, Integer, Integer, vcl::TDragState, bool&) { ++asked; };
  DockGrab(pm);
  const vcl::TPoint s = f->RightBar->ClientToScreen({0, 100});
  DockDropAt(pm, s);
  rig.Pump();
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(pm->Floating());
  // A handler that refuses: the same.
  TLumToolPanel* insert = f->insertPanel;
  PinOnCt(rig, insert);
  f->bottomBar->OnDockOver = [&](vcl::TObject*, vcl::TObject* source, Integer, Integer, vcl::TDragState, bool& accept) {
    EXPECT_EQ(source, insert);
    ++asked;
    accept = false;
  };
  DockGrab(insert);
  DockDropAt(insert, f->bottomBar->ClientToScreen({300, 0}));
  rig.Pump();
  EXPECT_GT(asked, 0);
  EXPECT_TRUE(insert->Floating());
  EXPECT_EQ(insert->OwningStrip(), f->ct);
}

TEST(ToolPanelDocking, DroppedOnItsOwnStripItMovesToTheEndOfTheList) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* pm = f->ProjectManagerTab;
  PinOnCt(rig, pm);
  ASSERT_EQ(f->ct->PanelIndex(pm), 0);
  DockGrab(pm);
  DockDropAt(pm, f->ct->ClientToScreen({10, 300}));
  rig.Pump();
  EXPECT_EQ(f->ct->PanelIndex(pm), 3);
  EXPECT_EQ(f->ct->Panels()->Items(0)->Panel, f->insertPanel);
  EXPECT_TRUE(pm->Locked());
  EXPECT_EQ(pm->Align(), vcl::alLeft);
  EXPECT_EQ(pm->Left(), 23);
  EXPECT_EQ(f->ct->VisibleTabCount(), 3);
}

TEST(ToolPanelDocking, LockingAClosedPanelSlidesItOutFirst) {
  Rig rig;
  MainLikeForm* f = rig.form;
  std::vector<std::string> events;
  f->ct->OnTabSlideOut = [&](vcl::TObject*, Integer i, TLumToolPanel*) { events.push_back("out " + std::to_string(i)); };
  ASSERT_FALSE(f->simErrorsTab->Visible());
  f->simErrorsTab->SetLocked(true);
  rig.Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"out 3"}));
  EXPECT_TRUE(f->simErrorsTab->Visible());
  EXPECT_EQ(f->simErrorsTab->Align(), vcl::alLeft);
  EXPECT_EQ(f->simErrorsTab->Left(), 23);
  // A visible one is pinned where it is, without sliding.
  f->ct->OpenPanel(f->insertPanel);
  events.clear();
  f->insertPanel->SetLocked(true);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(f->insertPanel->Left(), 173);
}
