// Panels sliding out of and back into their strips through synthetic mouse
// input on the virtual clock: hovering a tab, resting on the open panel,
// leaving it, clicks on tabs and on the empty strip, the 15-pixel steps and
// their delays on each edge, the order of the events, and the form's
// messages the strip reacts to.
#include <gtest/gtest.h>

#include "PanelRig.h"

using namespace paneltest;

namespace {

// Every tab event of a strip, in order, as "name index".
struct SlideLog {
  SlideLog(const SlideLog&) = delete;
  SlideLog& operator=(const SlideLog&) = delete;
  // The strip's events stop reaching a log that is gone.
  ~SlideLog() {
    for (TTabEvent* e : {&strip_->OnTabEnter, &strip_->OnTabLeave, &strip_->OnTabLeftClick, &strip_->OnTabRightClick,
                         &strip_->OnTabSlideOut, &strip_->OnTabSlideOutDone, &strip_->OnTabSlideIn,
                         &strip_->OnTabSlideInDone})
      *e = nullptr;
  }
  explicit SlideLog(TLumToolPanelTab* strip) : strip_(strip) {
    auto record = [this](const char* name) {
      return [this, name](vcl::TObject*, Integer index, TLumToolPanel*) {
        events.push_back(std::string(name) + " " + std::to_string(index));
      };
    };
    strip->OnTabEnter = record("enter");
    strip->OnTabLeave = record("leave");
    strip->OnTabLeftClick = record("left");
    strip->OnTabRightClick = record("right");
    strip->OnTabSlideOut = record("out");
    strip->OnTabSlideOutDone = record("outdone");
    strip->OnTabSlideIn = record("in");
    strip->OnTabSlideInDone = record("indone");
  }
  // The events since the last look; the mouse's enter and leave only when
  // asked (the platform also reports them when windows restack).
  std::vector<std::string> Take(bool withHover = false) {
    std::vector<std::string> e;
    for (const std::string& s : events)
      if (withHover || (s.rfind("enter", 0) != 0 && s.rfind("leave", 0) != 0)) e.push_back(s);
    events.clear();
    return e;
  }
  std::vector<std::string> events;

 private:
  TLumToolPanelTab* strip_;
};

using Events = std::vector<std::string>;

}  // namespace

TEST(ToolPanelSliding, AHoveredTabOpensOnTheThirdTickAndAnotherTabStartsAgain) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  SlideLog log(ct);
  const vcl::TPoint insert = Rig::TabPoint(ct, 1), sim = Rig::TabPoint(ct, 2);
  Rig::Move(ct, insert.X, insert.Y);
  EXPECT_EQ(log.Take(true), (Events{"enter 1"}));
  rig.Tick(2);
  EXPECT_EQ(ct->OpenIndex(), -1);
  // Onto another tab: the count starts again.
  Rig::Move(ct, sim.X, sim.Y);
  EXPECT_EQ(log.Take(true), (Events{"leave 1", "enter 2"}));
  rig.Tick(2);
  EXPECT_EQ(ct->OpenIndex(), -1);
  rig.Tick();
  EXPECT_EQ(ct->OpenIndex(), 2);
  EXPECT_TRUE(f->SimTab->Visible());
  EXPECT_EQ(f->SimTab->Left(), 23) << "ssInstant: at the strip's inner edge at once";
  EXPECT_EQ(f->SimTab->Top(), 0);
  EXPECT_EQ(f->SimTab->Height(), f->ClientHeight());
  EXPECT_EQ(ct->Panels()->Items(2)->State, psOpened);
  EXPECT_EQ(log.Take(), (Events{"out 2", "outdone 2"}));
  // A move within the same tab changes nothing; the timer opens nothing
  // more.
  Rig::Move(ct, sim.X, sim.Y + 1);
  rig.Tick(4);
  EXPECT_EQ(ct->OpenIndex(), 2);
  EXPECT_EQ(log.Take(), Events{});
  // With AutoOpenOnMouseEnter off hovering opens nothing.
  ct->SetAutoOpenOnMouseEnter(false);
  Rig::Move(ct, insert.X, insert.Y);
  rig.Tick(5);
  EXPECT_EQ(ct->OpenIndex(), 2);
}

TEST(ToolPanelSliding, TheOpenPanelStaysWhileUsedAndClosesOnTheTenthTickAfterLeaving) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  SlideLog log(ct);
  const vcl::TPoint sim = Rig::TabPoint(ct, 2);
  Rig::Click(ct, sim.X, sim.Y);
  EXPECT_EQ(log.Take(), (Events{"left 2", "out 2", "outdone 2"}));
  // Resting on the open panel keeps it open.
  Rig::Leave(ct);
  log.Take();
  Rig::Move(f->SimTab, 60, 200);
  rig.Tick(25);
  EXPECT_EQ(ct->OpenIndex(), 2);
  // A focused edit inside keeps it open with the mouse away.
  f->simEdit->SetFocus();
  rig.Pump();
  ASSERT_TRUE(f->simEdit->Focused());
  Rig::Away();
  rig.Tick(25);
  EXPECT_EQ(ct->OpenIndex(), 2);
  // Leaving for good: closed on the tenth tick.
  f->page->SetFocus();
  f->ProjectManagerTab->SetVisible(false);
  rig.Pump();
  rig.Tick(9);
  EXPECT_EQ(ct->OpenIndex(), 2);
  rig.Tick();
  EXPECT_EQ(ct->OpenIndex(), -1);
  EXPECT_EQ(log.Take(), (Events{"in 2", "indone 2"}));
  EXPECT_EQ(f->SimTab->Left(), -f->SimTab->Width()) << "a closed left panel waits beyond the edge";
  EXPECT_EQ(ct->Panels()->Items(2)->State, psClosed);
  EXPECT_EQ(ct->Panels()->Items(2)->OpenWidth(), 150);
}

TEST(ToolPanelSliding, ClicksOnTabsAndOnTheEmptyStrip) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  SlideLog log(ct);
  const vcl::TPoint pm = Rig::TabPoint(ct, 0), insert = Rig::TabPoint(ct, 1);
  Rig::Click(ct, pm.X, pm.Y);
  // Another tab closes the open one first.
  Rig::Click(ct, insert.X, insert.Y, true);
  EXPECT_EQ(log.Take(), (Events{"left 0", "out 0", "outdone 0", "right 1", "in 0", "indone 0", "out 1", "outdone 1"}));
  EXPECT_FALSE(f->ProjectManagerTab->Visible());
  EXPECT_EQ(ct->OpenIndex(), 1);
  // The open tab again: nothing.
  Rig::Click(ct, insert.X, insert.Y);
  EXPECT_EQ(log.Take(), (Events{"left 1"}));
  // The empty part of the strip slides the open panel in...
  Rig::Click(ct, 10, ct->Height() - 20);
  EXPECT_EQ(log.Take(), (Events{"in 1", "indone 1"}));
  EXPECT_EQ(ct->OpenIndex(), -1);
  // ...unless it locks itself when out.
  f->simErrorsTab->SetAutoLock(true);
  f->ct->OpenPanel(f->SimTab);
  f->ct->OpenPanel(f->simErrorsTab);
  EXPECT_TRUE(f->simErrorsTab->Locked());
  EXPECT_EQ(f->simErrorsTab->Align(), vcl::alLeft);
  // OpenPanel leaves the other open panel open.
  EXPECT_TRUE(f->SimTab->Visible());
  EXPECT_EQ(f->SimTab->Left(), 23);
}

TEST(ToolPanelSliding, StepsOfFifteenPixelsWithTheSpeedsDelaysOnEachEdge) {
  Rig rig(true, 1);
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  // Left, ssMedium: 9 ms a step, from -150 to 23, the last step short.
  ct->SetSlideSpeed(ssMedium);
  std::vector<std::pair<uint64_t, int>> steps;
  TLumToolPanel* p = f->insertPanel;
  int last = 1 << 30;
  rig.onStepWait = [&] {
    if (p->Left() != last) steps.push_back({rig.clock->MonotonicMs(), last = p->Left()});
  };
  const uint64_t t0 = rig.clock->MonotonicMs();
  ct->OpenTab(1);
  rig.onStepWait = nullptr;
  ASSERT_EQ(steps.size(), 12u);  // -150 (first wait), then 11 steps before the last one
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].second, -150 + 15 * static_cast<int>(i)) << i;
    EXPECT_EQ(steps[i].first, t0 + 9 * i) << i;
  }
  EXPECT_EQ(p->Left(), 23);
  EXPECT_EQ(rig.clock->MonotonicMs(), t0 + 9 * 12);
  // Right, ssSlow (18 ms): the host form grows leftwards from the strip's
  // inner edge in 15-pixel steps until the open width.
  TLumToolPanelTab* right = f->RightBar;
  right->SetSlideSpeed(ssSlow);
  TLumToolPanel* rp = f->rightPanels[0];
  rp->SetOpenWidth(100);
  TToolPanelForm* host = right->HostForm();
  std::vector<std::tuple<uint64_t, int, int>> frames;
  host->OnResize = [&](vcl::TObject*) { frames.push_back({rig.clock->MonotonicMs(), host->Left(), host->Width()}); };
  const int edge = right->ClientOrigin().X;
  const uint64_t t1 = rig.clock->MonotonicMs();
  right->OpenTab(0);
  host->OnResize = nullptr;
  std::vector<int> widths;
  for (auto& [t, left, width] : frames)
    if (t > t1 && width > 1) {
      widths.push_back(width);
      EXPECT_EQ(left + width, edge) << "the form's right edge stays at the strip";
      EXPECT_EQ((t - t1) % 18, 0u);
    }
  EXPECT_EQ(widths, (std::vector<int>{15, 30, 45, 60, 75, 90, 100}));
  EXPECT_EQ(host->Top(), right->ClientOrigin().Y);
  EXPECT_EQ(host->Height(), right->Height());
  EXPECT_EQ(rp->Parent(), host);
  EXPECT_EQ(rp->Left(), 2);
  EXPECT_EQ(rp->Width(), 98);
  // Back in: narrower by 15 with the left edge moving right, then hidden.
  frames.clear();
  host->OnResize = [&](vcl::TObject*) { frames.push_back({rig.clock->MonotonicMs(), host->Left(), host->Width()}); };
  right->SlidePanelIn(rp);
  host->OnResize = nullptr;
  widths.clear();
  for (auto& [t, left, width] : frames) {
    if (width <= 1) continue;
    widths.push_back(width);
    EXPECT_EQ(left + width, edge);
  }
  EXPECT_EQ(widths, (std::vector<int>{85, 70, 55, 40, 25, 10}));
  EXPECT_FALSE(rp->Visible());
  EXPECT_FALSE(host->Visible()) << "slid in entirely, the host form goes";
  EXPECT_EQ(rp->OpenWidth(), 100);
  // Bottom, ssFast (3 ms): the form grows upwards from the strip's top.
  TLumToolPanelTab* bottom = f->bottomBar;
  bottom->SetSlideSpeed(ssFast);
  TLumToolPanel* bp = f->bottomPanels[0];
  bp->SetOpenWidth(40);
  TToolPanelForm* bhost = bottom->HostForm();
  std::vector<int> heights;
  const int top = bottom->ClientOrigin().Y;
  bhost->OnResize = [&](vcl::TObject*) {
    if (bhost->Height() <= 1) return;
    heights.push_back(bhost->Height());
    EXPECT_EQ(bhost->Top() + bhost->Height(), top);
  };
  const uint64_t t2 = rig.clock->MonotonicMs();
  bottom->OpenTab(0);
  bhost->OnResize = nullptr;
  EXPECT_EQ(heights, (std::vector<int>{15, 30, 40}));
  EXPECT_EQ(rig.clock->MonotonicMs(), t2 + 9);
  EXPECT_EQ(bhost->Width(), bottom->Width());
  EXPECT_EQ(bp->Top(), 2);
  EXPECT_EQ(bp->Height(), 38);
}

TEST(ToolPanelSliding, InstantOnTheLeftAndStillSteppedOnTheTop) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  const uint64_t t0 = rig.clock->MonotonicMs();
  std::vector<int> lefts;
  rig.onStepWait = [&] { lefts.push_back(f->insertPanel->Left()); };
  ct->OpenTab(1);
  EXPECT_EQ(f->insertPanel->Left(), 23);
  EXPECT_EQ(f->insertPanel->Height(), ct->Height());
  EXPECT_TRUE(lefts.empty()) << "no waiting at all";
  EXPECT_EQ(rig.clock->MonotonicMs(), t0);
  ct->OpenTab(0);
  // On the top edge the same speed moves 15 pixels at a time.
  ct->SetPosition(ppTop);
  rig.Pump();
  std::vector<int> tops;
  f->SimTab->OnResize = nullptr;
  const uint64_t t1 = rig.clock->MonotonicMs();
  ct->OpenPanel(f->SimTab);
  EXPECT_EQ(f->SimTab->Top(), 23);
  EXPECT_EQ(f->SimTab->Left(), 0);
  EXPECT_EQ(f->SimTab->Width(), ct->Width());
  EXPECT_EQ(f->SimTab->Height(), 150);
  EXPECT_EQ(rig.clock->MonotonicMs(), t1);
  rig.onStepWait = nullptr;
}

TEST(ToolPanelSliding, MaximizingSlidesTheRightPanelInAndTheHostFormFollowsTheForm) {
  Rig rig(true, 2);
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* right = f->RightBar;
  right->SetSlideSpeed(ssInstant);
  right->OpenTab(1);
  TToolPanelForm* host = right->HostForm();
  EXPECT_TRUE(host->Visible());
  // Moving the form: the host form keeps to the strip.
  f->SetLeft(f->Left() + 30);
  f->Perform(vcl::WM_MOVING);
  EXPECT_EQ(host->Left() + host->Width(), right->ClientOrigin().X);
  // The host form's inner edge is a sizing border while the panel is open.
  const vcl::TPoint edge{host->ClientOrigin().X + 1, host->ClientOrigin().Y + 50};
  EXPECT_EQ(host->Perform(vcl::WM_NCHITTEST, 0, vcl::PointToLParam(edge)), toolpanels::kHitLeft);
  // Widened by the user dragging its left edge: the next slide-in keeps
  // the width as the open width.
  const int width = host->Width();
  Rig::Press(host, 1, 50);
  host->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(static_cast<vcl::Word>(static_cast<int16_t>(-39)), 50));
  host->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(1, 50));
  EXPECT_EQ(host->Width(), width + 40);
  EXPECT_EQ(host->Left() + host->Width(), right->ClientOrigin().X);
  f->Perform(vcl::WM_SYSCOMMAND, 0xF030);
  EXPECT_EQ(right->OpenIndex(), -1);
  EXPECT_FALSE(f->rightPanels[1]->Visible());
  EXPECT_EQ(f->rightPanels[1]->OpenWidth(), 190);
  // Closing the form hides an open host form.
  right->OpenTab(0);
  EXPECT_TRUE(host->Visible());
  f->Perform(vcl::WM_CLOSE);
  EXPECT_FALSE(host->Visible());
}

TEST(ToolPanelSliding, PinningOnTheRightAndBottomEdges) {
  Rig rig(true, 2);
  MainLikeForm* f = rig.form;
  for (TLumToolPanelTab* strip : {static_cast<TLumToolPanelTab*>(f->RightBar), static_cast<TLumToolPanelTab*>(f->bottomBar)}) {
    SCOPED_TRACE(strip->Name());
    strip->SetSlideSpeed(ssInstant);
    const bool right = strip == f->RightBar;
    TLumToolPanel* a = right ? f->rightPanels[0] : f->bottomPanels[0];
    TLumToolPanel* b = right ? f->rightPanels[1] : f->bottomPanels[1];
    a->SetOpenWidth(120);
    b->SetOpenWidth(90);
    for (TLumToolPanel* p : {a, b}) {
      strip->OpenPanel(p);
      p->SetLocked(true);
      rig.Pump();
      EXPECT_EQ(p->Parent(), f);
      EXPECT_EQ(p->Align(), right ? vcl::alRight : vcl::alBottom);
      EXPECT_FALSE(strip->HostForm()->Visible());
    }
    EXPECT_EQ(right ? strip->Width() : strip->Height(), 2);
    if (right) {
      EXPECT_EQ(a->Left(), f->ClientWidth() - 2 - 120);
      EXPECT_EQ(a->Width(), 120);
      EXPECT_EQ(b->Left(), a->Left() - 90);
    } else {
      EXPECT_EQ(a->Top(), f->ClientHeight() - 2 - 120);
      EXPECT_EQ(a->Height(), 120);
      EXPECT_EQ(b->Top(), a->Top() - 90);
    }
    // Unpinned, the panel goes back into the host form as the open one.
    b->SetLocked(false);
    rig.Pump();
    EXPECT_EQ(b->Parent(), strip->HostForm());
    EXPECT_TRUE(strip->HostForm()->Visible());
    EXPECT_EQ(strip->OpenIndex(), 1);
    EXPECT_EQ(b->OpenWidth(), 92);
    EXPECT_EQ(right ? strip->HostForm()->Width() : strip->HostForm()->Height(), 92);
    strip->SlidePanelIn(b);
  }
}

TEST(ToolPanelSliding, HoverOpensAndLeavingClosesOnAllFourEdges) {
  Rig rig(true, 1);
  MainLikeForm* f = rig.form;
  auto* top = new MeasuredStrip(f);
  top->SetName("topBar");
  top->SetParent(f);
  top->SetStyle(esOffice2007Silver);
  top->SetPosition(ppTop);
  auto* topPanel = new TLumToolPanel(f);
  topPanel->SetName("topPanel");
  topPanel->SetParent(f);
  topPanel->SetCaption("Top 1");
  topPanel->SetVisible(false);
  top->AddPanel(topPanel);
  rig.Pump();
  struct Case {
    TLumToolPanelTab* strip;
    TLumToolPanel* panel;
    int item;
  } cases[] = {{f->ct, f->simErrorsTab, 3}, {f->RightBar, f->rightPanels[0], 0}, {top, topPanel, 0},
               {f->bottomBar, f->bottomPanels[0], 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strip->Name());
    c.strip->SetSlideSpeed(ssFast);
    SlideLog log(c.strip);
    const vcl::TPoint at = Rig::TabPoint(c.strip, c.item);
    Rig::Move(c.strip, at.X, at.Y);
    rig.Tick(2);
    EXPECT_EQ(c.strip->OpenIndex(), -1);
    rig.Tick();
    EXPECT_EQ(c.strip->OpenIndex(), c.item);
    EXPECT_TRUE(c.panel->Visible());
    EXPECT_EQ(log.Take(), (Events{"out " + std::to_string(c.item), "outdone " + std::to_string(c.item)}));
    switch (c.strip->Position()) {
      case ppLeft: EXPECT_EQ(c.panel->Left(), 23); break;
      case ppTop: EXPECT_EQ(c.panel->Top(), 23); break;
      case ppRight: {
        TToolPanelForm* host = c.strip->HostForm();
        EXPECT_EQ(host->Left() + host->Width(), c.strip->ClientOrigin().X);
        EXPECT_EQ(host->Width(), 150);
        break;
      }
      case ppBottom: {
        TToolPanelForm* host = c.strip->HostForm();
        EXPECT_EQ(host->Top() + host->Height(), c.strip->ClientOrigin().Y);
        EXPECT_EQ(host->Height(), 150);
        EXPECT_EQ(host->Left(), c.strip->ClientOrigin().X);
        break;
      }
    }
    // Away from the strip and the panel: closed on the tenth tick.
    Rig::Leave(c.strip);
    rig.Tick(9);
    EXPECT_EQ(c.strip->OpenIndex(), c.item);
    rig.Tick();
    EXPECT_EQ(c.strip->OpenIndex(), -1);
    EXPECT_EQ(log.Take(), (Events{"in " + std::to_string(c.item), "indone " + std::to_string(c.item)}));
  }
  // An open width of 15 or less on the right edge opens in one step.
  f->RightBar->SetSlideSpeed(ssSlow);
  f->rightPanels[0]->SetOpenWidth(12);
  const uint64_t t0 = rig.clock->MonotonicMs();
  f->RightBar->OpenTab(0);
  EXPECT_EQ(f->RightBar->HostForm()->Width(), 12);
  EXPECT_EQ(rig.clock->MonotonicMs(), t0 + 18);
}

TEST(ToolPanelSliding, TheFormsSizeAndRestoreReachThePanels) {
  Rig rig(true, 1);
  MainLikeForm* f = rig.form;
  // WM_SIZE, before the form handles it: a left strip's panels higher than
  // the new client height take that height; a bottom strip's panels wider
  // than the new width take that width.
  f->ct->OpenPanel(f->insertPanel);
  f->bottomPanels[0]->SetWidth(900);
  int seen = 0;
  f->OnResize = [&](vcl::TObject*) {
    // By the time the form handles its new size, the panels have it.
    if (f->ClientHeight() == 400) seen = f->insertPanel->Height();
  };
  f->SetClientWidth(700);
  f->SetClientHeight(400);
  rig.Pump();
  EXPECT_GT(seen, 0);
  EXPECT_LE(seen, 400);
  EXPECT_EQ(f->insertPanel->Height(), f->ct->Height()) << "then the strip's own length";
  EXPECT_EQ(f->bottomPanels[0]->Width(), 700);
  f->OnResize = nullptr;
  // A restore while a right panel is open puts the host form back against
  // the strip at the strip's height.
  TLumToolPanelTab* right = f->RightBar;
  right->SetSlideSpeed(ssInstant);
  right->OpenTab(0);
  TToolPanelForm* host = right->HostForm();
  host->SetBounds(10, 10, host->Width(), 50);
  f->Perform(vcl::WM_SYSCOMMAND, 0xF120);
  EXPECT_EQ(host->Left() + host->Width(), right->ClientOrigin().X);
  EXPECT_EQ(host->Top(), right->ClientOrigin().Y);
  EXPECT_EQ(host->Height(), right->Height());
  EXPECT_EQ(right->OpenIndex(), 0) << "only maximize slides it in";
  // Other commands leave it alone.
  host->SetBounds(10, 10, host->Width(), 50);
  f->Perform(vcl::WM_SYSCOMMAND, 0xF060);
  EXPECT_EQ(host->Left(), 10);
}
