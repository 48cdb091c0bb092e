// The editor's windows and their manager: routing, hit tests, walks,
// focus, painting, deferred messages, hints, labels, overlap lists and
// auto-scroll.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "htmledit/view/psBlending.h"
#include "htmledit/view/psHints.h"
#include "htmlview/ViewFixture.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace htmlview;
using htmlview::testing::FakeHost;
using htmlview::testing::LogWindow;
using htmlview::testing::MessageLog;

// A manager over the fake host's screen surface, with a tree of logging
// windows installed under a root of 400 by 300.
struct Tree {
  Tree() : Manager(&Host.Canvas) {
    Host.Canvas.SetViewRect({0, 0, 399, 299});
    Manager.OnGetDC = [this] { return Host.GetDC(); };
    Manager.OnReleaseDC = [this](vcl::TCanvas* dc) { Host.ReleaseDC(dc); };
    Manager.OnCreateTimer = [] { return vcl::Create<vcl::TTimer>(nullptr); };
    auto root = NewWindow<LogWindow>(nullptr, "root", &Log);
    Root = root.get();
    Root->SetBounds(0, 0, 400, 300);
    Manager.SetRootWindow(std::move(root));
  }
  LogWindow* Add(TpsWindow* aParent, const std::string& aName, Integer l, Integer t, Integer w, Integer h,
                 bool aFloating = false) {
    auto win = NewWindow<LogWindow>(aParent, aName, &Log);
    win->SetBounds(l, t, w, h);
    win->WindowFlags.SetFlag(wfFloating, aFloating);
    return static_cast<LogWindow*>(aParent->AddChild(std::move(win)));
  }
  FakeHost Host;
  MessageLog Log;
  TpsWindowManager Manager;
  LogWindow* Root;
};

TpsMessagePtr At(Byte aKind, Integer aId, Integer x, Integer y) {
  TpsMessagePtr m = TpsMessage::Create(aKind, aId);
  m->X = x;
  m->Y = y;
  return m;
}

TEST(Windows, TreeAndGeometry) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 10, 20, 100, 50);
  LogWindow* b = t.Add(a, "b", 5, 6, 30, 10);
  LogWindow* c = t.Add(t.Root, "c", 10, 80, 100, 50);
  EXPECT_EQ(b->GetAbsoluteLeft(), 15);
  EXPECT_EQ(b->GetAbsoluteTop(), 26);
  EXPECT_EQ(b->GetAbsoluteRect(), (TpsRect{15, 26, 44, 35}));
  EXPECT_EQ(b->GetDepth(), 2);
  EXPECT_EQ(b->GetRoot(), t.Root);
  EXPECT_EQ(c->PreviousSibling(), a);
  EXPECT_EQ(a->PreviousSibling(), nullptr);
  EXPECT_TRUE(t.Root->IsAncestorOf(b));
  EXPECT_FALSE(b->IsAncestorOf(b));
  EXPECT_TRUE(b->IsWithin(a));
  EXPECT_EQ(TpsWindow::FirstInDocumentOrder(c, b), b);
  EXPECT_EQ(TpsWindow::FirstInDocumentOrder(a, b), a);
  TpsWindow *ca, *cb;
  EXPECT_EQ(TpsWindow::FindCommonParent(b, c, ca, cb), t.Root);
  EXPECT_EQ(ca, a);
  EXPECT_EQ(cb, c);
  EXPECT_EQ(b->LocalToAbsolute({1, 1}), (TpsPoint{16, 27}));
  EXPECT_EQ(b->AbsoluteToLocal({16, 27}), (TpsPoint{1, 1}));
  t.Host.Canvas.SetOrigin(0, 20);
  EXPECT_EQ(b->AbsoluteToViewport({16, 27}), (TpsPoint{16, 7}));
  EXPECT_EQ(t.Root->ChildAt(16, 27, true), b);
  EXPECT_EQ(t.Root->ChildAt(400, 10, true), nullptr);
  b->SetSize(-1, 40);
  EXPECT_EQ(b->Width, 30);
  b->GrowHeightTo(20);
  EXPECT_EQ(b->Height, 40);
  Integer bottom;
  EXPECT_EQ(t.Root->LowestChild(false, bottom), c);
  EXPECT_EQ(bottom, 129);
  // A floated window owned inside a reaches lower than c.
  LogWindow* f = t.Add(t.Root, "f", 200, 100, 20, 60, true);
  f->Owner = b;
  EXPECT_EQ(a->LowestChild(true, bottom), f);
  EXPECT_EQ(bottom, 159 - 20);
  EXPECT_EQ(t.Root->FloatingWindows().size(), 1u);
  EXPECT_EQ(t.Root->LastChild(true), c);
  EXPECT_EQ(t.Root->LastChild(false), f);
}

TEST(Windows, RoutingByKindTargetAndRoot) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 100, 100);
  LogWindow* b = t.Add(t.Root, "b", 0, 100, 100, 100);
  struct Case {
    const char* name;
    std::function<TpsMessagePtr()> make;
    TpsWindow* focus;
    std::string expect;
  };
  const Case cases[] = {
      {"focused without a focused node goes to the root", [] { return TpsMessage::Create(mrFocused, 1070); },
       nullptr, "root:1070"},
      {"focused goes to the focused node", [] { return TpsMessage::Create(mrFocused, 1070); }, b, "b:1070"},
      {"command goes to the root", [] { return TpsMessage::Create(mrCommand, 570); }, b, "root:570"},
      {"a target wins over the kind", [&] { return TpsMessage::Create(mrFocused, 1070, a); }, b, "a:1070"},
      {"ToRoot wins over the target", [&] {
         auto m = TpsMessage::Create(mrCommand, 980, a);
         m->ToRoot = true;
         return m;
       }, b, "root:980"},
      {"positional goes to the window under the point", [] { return At(mrPositional, 1220, 10, 150); }, nullptr,
       "b:1220"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    t.Manager.SetFocusedNode(k.focus);
    if (!k.focus) t.Manager.ClearFocusedNode(nullptr);
    t.Log.clear();
    t.Manager.DispatchMessage(k.make());
    ASSERT_FALSE(t.Log.empty());
    EXPECT_EQ(t.Log.back(), k.expect);
  }
  EXPECT_EQ(b->LastX, 10);
  EXPECT_EQ(b->LastY, 50);
  EXPECT_EQ(b->LastValue, -1);
}

TEST(Windows, RoutingOffDropsPositionalMessages) {
  Tree t;
  t.Add(t.Root, "a", 0, 0, 100, 100);
  t.Manager.MouseRoutingEnabled = false;
  t.Manager.DispatchMessage(At(mrPositional, 1220, 10, 10));
  t.Manager.PostAndProcess(At(mrPositional, 1240, 10, 10));
  EXPECT_TRUE(t.Log.empty());
  t.Manager.DispatchMessage(TpsMessage::Create(mrCommand, 570));
  EXPECT_EQ(t.Log, (MessageLog{"root:570"}));
  // A point outside the root reaches nobody.
  t.Manager.MouseRoutingEnabled = true;
  t.Log.clear();
  t.Manager.DispatchMessage(At(mrPositional, 1220, 500, 10));
  EXPECT_TRUE(t.Log.empty());
}

TEST(Windows, CaptureTakesEveryPoint) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 20, 30, 50, 50);
  t.Add(t.Root, "b", 200, 200, 50, 50);
  t.Manager.SetCapture(a);
  t.Manager.DispatchMessage(At(mrPositional, 1240, 210, 220));
  EXPECT_EQ(t.Log, (MessageLog{"a:1240"}));
  EXPECT_EQ(a->LastX, 190);
  EXPECT_EQ(a->LastY, 190);
  EXPECT_EQ(a->LastValue, -1);
  t.Manager.ReleaseCapture(t.Root);  // not the holder: nothing
  EXPECT_TRUE(t.Manager.IsCaptured(a));
  t.Manager.ReleaseCapture(nullptr);
  EXPECT_FALSE(t.Manager.IsCaptured(a));
}

TEST(Windows, CatchAreaCatchesThreePixelsLeftOfABorderInTheNextCell) {
  Tree t;
  // A row of two cells with a border at x 150.
  LogWindow* row = t.Add(t.Root, "row", 50, 40, 200, 30);
  LogWindow* left = t.Add(row, "left", 0, 0, 100, 30);
  t.Add(row, "right", 100, 0, 100, 30);
  // Seven pixels wide centred on the border between the cells.
  t.Manager.AddCatchArea(row, 1, {97, 0, 103, 29});
  TpsMessagePtr m = At(mrPositional, 1220, 147, 45);  // in "left", 3 left of the border
  t.Manager.DispatchMessage(std::move(m));
  EXPECT_EQ(t.Log, (MessageLog{"row:1220"}));
  EXPECT_EQ(row->LastValue, 1);
  EXPECT_EQ(row->LastX, 97);
  t.Log.clear();
  t.Manager.DispatchMessage(At(mrPositional, 1220, 140, 45));
  EXPECT_EQ(t.Log, (MessageLog{"left:1220"}));
  EXPECT_EQ(left->LastValue, -1);
  t.Manager.RemoveCatchAreas(row, -1);
  EXPECT_EQ(t.Manager.CatchAreaCount(), 0);
}

TEST(Windows, FloatingWindowsAreHitBeforeTheFlow) {
  Tree t;
  LogWindow* text = t.Add(t.Root, "text", 0, 0, 400, 100);
  LogWindow* skin = t.Add(t.Root, "skin", 10, 10, 50, 40, true);
  skin->Owner = text;
  t.Manager.DispatchMessage(At(mrPositional, 1220, 20, 20));
  EXPECT_EQ(t.Log, (MessageLog{"skin:1220"}));
  // Sent to the window at a point, floating windows are passed over.
  t.Log.clear();
  TpsMessage m(mrCommand, 4500, nullptr);
  m.AutoFree = false;
  text->Consumes.insert(4500);
  EXPECT_EQ(t.Manager.SendToWindowAtPoint(m, {20, 20}), text);
  EXPECT_EQ(t.Log, (MessageLog{"text:4500"}));
}

TEST(Windows, MouseLeaveGoesToTheHoverWindowFirst) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 100, 100);
  t.Add(t.Root, "b", 100, 0, 100, 100);
  t.Manager.SetHoverWindow(a);
  t.Manager.DispatchMessage(At(mrPositional, 1240, 150, 50));
  EXPECT_EQ(t.Log, (MessageLog{"a:1250", "b:1240"}));
  EXPECT_EQ(t.Manager.HoverWindow(), nullptr);
}

// --- Walks against an independent enumeration on random trees ---

struct RandomTree {
  explicit RandomTree(unsigned seed) : Rng(seed) {
    Windows.push_back(T.Root);
    const int count = std::uniform_int_distribution<int>(1, 40)(Rng);
    for (int i = 0; i < count; ++i) {
      TpsWindow* parent = Windows[std::uniform_int_distribution<size_t>(0, Windows.size() - 1)(Rng)];
      const Integer l = std::uniform_int_distribution<int>(0, 50)(Rng);
      const Integer w = std::uniform_int_distribution<int>(1, 60)(Rng);
      Windows.push_back(T.Add(parent, "w" + std::to_string(i), l, 0, w, 10));
    }
  }
  void PostOrder(TpsWindow* w, std::vector<TpsWindow*>& out) {
    for (TpsWindow* c : w->ChildList()) PostOrder(c, out);
    out.push_back(w);
  }
  void PreOrder(TpsWindow* w, std::vector<TpsWindow*>& out) {
    out.push_back(w);
    for (TpsWindow* c : w->ChildList()) PreOrder(c, out);
  }
  // Following: the post-order list; preceding: the pre-order list reversed.
  // A walk from s offers s's descendants (which stand right before s in
  // that list) unless skipped, then everything after s.
  std::vector<TpsWindow*> Expected(TpsWindow* s, bool forward, bool skip) {
    std::vector<TpsWindow*> order;
    if (forward) {
      PostOrder(T.Root, order);
    } else {
      PreOrder(T.Root, order);
      std::reverse(order.begin(), order.end());
    }
    std::vector<TpsWindow*> out;
    const size_t at = std::find(order.begin(), order.end(), s) - order.begin();
    for (size_t i = 0; i < order.size(); ++i) {
      if (i == at) continue;
      if (i < at && (skip || !s->IsAncestorOf(order[i]))) continue;
      out.push_back(order[i]);
    }
    return out;
  }
  Tree T;
  std::mt19937 Rng;
  std::vector<TpsWindow*> Windows;
};

std::string Names(const std::vector<TpsWindow*>& ws) {
  std::string s;
  for (TpsWindow* w : ws) s += static_cast<LogWindow*>(w)->Name + " ";
  return s;
}

TEST(Windows, WalksVisitWhatDocumentOrderLists) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    RandomTree r(seed);
    for (TpsWindow* start : r.Windows) {
      for (bool forward : {true, false}) {
        for (bool skip : {false, true}) {
          for (int filters = 0; filters < 4; ++filters) {
            const Integer x = filters & 1 ? 30 : -1;
            const Integer rl = 40, rr = filters & 2 ? 70 : 39;
            SCOPED_TRACE(::testing::Message() << "seed " << seed << " start " << static_cast<LogWindow*>(start)->Name
                                              << " forward " << forward << " skip " << skip << " filters " << filters);
            const std::vector<TpsWindow*> all = r.Expected(start, forward, skip);
            // The passes relax: all filters, the range alone (when both
            // were given), no filter.
            std::vector<std::function<bool(TpsWindow*)>> passes;
            auto inX = [&](TpsWindow* w) { return w->GetAbsoluteLeft() <= x && x <= w->GetAbsoluteRight(); };
            auto inRange = [&](TpsWindow* w) { return w->GetAbsoluteLeft() <= rr && rl <= w->GetAbsoluteRight(); };
            if (filters == 3) {
              passes = {[&](TpsWindow* w) { return inX(w) && inRange(w); }, inRange, [](TpsWindow*) { return true; }};
            } else if (filters == 1) {
              passes = {inX, [](TpsWindow*) { return true; }};
            } else if (filters == 2) {
              passes = {inRange, [](TpsWindow*) { return true; }};
            } else {
              passes = {[](TpsWindow*) { return true; }};
            }
            std::vector<TpsWindow*> expect;
            for (auto& pass : passes)
              for (TpsWindow* w : all)
                if (pass(w)) expect.push_back(w);
            std::vector<TpsWindow*> seen;
            TpsMessage m(mrCommand, 371, nullptr);
            m.AutoFree = false;
            r.T.Log.clear();
            if (forward) {
              start->SendToFollowingWindows(m, x, skip, rl, rr);
            } else {
              start->SendToPrecedingWindows(m, x, skip, rl, rr);
            }
            for (const std::string& entry : r.T.Log)
              for (TpsWindow* w : r.Windows)
                if (static_cast<LogWindow*>(w)->Name + ":371" == entry) seen.push_back(w);
            ASSERT_EQ(Names(seen), Names(expect));
          }
        }
      }
    }
  }
}

TEST(Windows, WalkStopsAtTheConsumerAndFreesAnOwnedMessage) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 10, 10);
  LogWindow* b = t.Add(t.Root, "b", 0, 10, 10, 10);
  LogWindow* c = t.Add(t.Root, "c", 0, 20, 10, 10);
  b->Consumes.insert(40);
  a->SendToFollowingWindows(TpsMessage::Create(mrCommand, 40));
  EXPECT_EQ(t.Log, (MessageLog{"b:40"}));
  t.Log.clear();
  // A preceding walk that skips its own subtree, started at the first
  // child of the root, offers the message only to the root.
  a->SendToPrecedingWindows(TpsMessage::Create(mrCommand, 50), -1, true);
  EXPECT_EQ(t.Log, (MessageLog{"root:50"}));
  t.Log.clear();
  c->SendToAncestors(TpsMessage::Create(mrCommand, 440), c);
  EXPECT_EQ(t.Log, (MessageLog{"c:440", "root:440"}));
}

TEST(Windows, BroadcastsAndDispatchToChildren) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 10, 10);
  t.Add(a, "a1", 0, 0, 5, 5);
  LogWindow* b = t.Add(t.Root, "b", 0, 10, 10, 10);
  t.Add(t.Root, "c", 0, 20, 10, 10);
  b->Consumes.insert(7);
  TpsMessage m(mrCommand, 7, nullptr);
  m.AutoFree = false;
  t.Root->Broadcast(m, false);
  EXPECT_EQ(t.Log, (MessageLog{"root:7", "a:7", "a1:7", "b:7"}));
  t.Log.clear();
  m.ResetHandled();
  t.Root->DispatchToChildren(m);
  EXPECT_EQ(t.Log, (MessageLog{"a:7", "b:7"}));
  t.Log.clear();
  m.ResetHandled();
  t.Root->BroadcastToChildren(m);
  EXPECT_EQ(t.Log, (MessageLog{"a:7", "b:7", "c:7"}));
  EXPECT_FALSE(m.IsHandled());
}

// --- Focus, painting and destruction ---

TEST(Windows, FocusLeaveComesBeforeEnter) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 10, 10);
  LogWindow* b = t.Add(t.Root, "b", 0, 10, 10, 10);
  t.Manager.SetFocusedNode(a);
  t.Manager.SetFocusedNode(a);  // already focused: no message
  t.Manager.SetFocusedNode(b);
  t.Manager.SetFocusedNode(nullptr);
  EXPECT_EQ(t.Log, (MessageLog{"a:15", "a:16", "b:15"}));
  EXPECT_TRUE(t.Manager.IsFocused(b));
  t.Log.clear();
  t.Manager.ClearFocusedNode(a);  // not focused: nothing
  EXPECT_TRUE(t.Log.empty());
  // Destroying the focused node tells it while Destroyed is set.
  t.Root->FreeChild(b);
  EXPECT_EQ(t.Log, (MessageLog{"b:16!"}));
  EXPECT_EQ(t.Manager.FocusedNode(), nullptr);
}

TEST(Windows, DestructionUnregistersAndFreesWhatTheWindowOwns) {
  Tree t;
  LogWindow* para = t.Add(t.Root, "para", 0, 0, 100, 40);
  LogWindow* line = t.Add(para, "line", 0, 0, 100, 20);
  LogWindow* skin = t.Add(t.Root, "skin", 0, 0, 20, 20, true);
  skin->Owner = line;
  const Integer lineId = line->WindowId, skinId = skin->WindowId, paraId = para->WindowId;
  auto label = NewWindow<TpsStickyWindow>(para, vcl::clRed, "P");
  t.Manager.AddStickyWindow(std::move(label));
  t.Manager.InvalidateWindow(line, false);
  t.Manager.AddCatchArea(para, 1, {0, 0, 5, 5});
  EXPECT_TRUE(t.Manager.IsLiveWindowId(lineId));
  t.Root->FreeChild(para);
  EXPECT_FALSE(t.Manager.IsLiveWindowId(lineId));
  EXPECT_FALSE(t.Manager.IsLiveWindowId(paraId));
  // The floated window of the line went with it; the label of the block too.
  EXPECT_FALSE(t.Manager.IsLiveWindowId(skinId));
  EXPECT_TRUE(t.Root->FloatingWindows().empty());
  EXPECT_EQ(t.Manager.StickyWindowCount(), 0);
  EXPECT_TRUE(t.Manager.Invalidated().empty());
  EXPECT_EQ(t.Manager.CatchAreaCount(), 0);
  EXPECT_EQ(t.Manager.LiveWindowCount(), 1);
  // Replacing the root frees the old tree.
  t.Manager.SetRootWindow(nullptr);
  EXPECT_EQ(t.Manager.LiveWindowCount(), 0);
}

TEST(Windows, InvalidatedWindowsPaintOnce) {
  Tree t;
  vcl::TRecordingCanvas dc;
  t.Host.DC = &dc;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 100, 100);
  LogWindow* hidden = t.Add(t.Root, "hidden", 0, 500, 100, 100);
  t.Manager.AddBeforePaintHandler(&t, [&](void*) { t.Log.push_back("before"); });
  t.Manager.AddAfterPaintHandler(&t, [&](void*) { t.Log.push_back("after"); });
  t.Manager.InvalidateWindow(a, true);
  t.Manager.InvalidateWindow(a, true);
  t.Manager.InvalidateWindow(hidden, true);  // scrolled out of view
  EXPECT_EQ(t.Manager.Invalidated().size(), 1u);
  t.Manager.ProcessMessages();
  EXPECT_EQ(t.Log, (MessageLog{"before", "a:paint", "after"}));
  EXPECT_EQ(t.Host.Calls, (std::vector<std::string>{"GetDC", "ReleaseDC"}));
  EXPECT_EQ(t.Host.Canvas.GetHandle(), nullptr);
  // Painting switched off collects; the next run paints.
  t.Log.clear();
  t.Manager.PaintingEnabled = false;
  t.Manager.InvalidateWindow(a, false);
  t.Manager.PaintInvalidatedWindows();
  EXPECT_TRUE(t.Log.empty());
  t.Manager.PaintingEnabled = true;
  t.Manager.PaintInvalidatedWindows();
  EXPECT_EQ(t.Log, (MessageLog{"before", "a:paint", "after"}));
  // Disabled for good, nothing is even collected.
  t.Log.clear();
  t.Manager.DisablePainting();
  t.Manager.InvalidateWindow(a, false);
  EXPECT_TRUE(t.Manager.Invalidated().empty());
  t.Manager.PaintAll();
  EXPECT_TRUE(t.Log.empty());
}

// A window that invalidates another while it paints: both paint in one run.
TEST(Windows, WindowsInvalidatedWhilePaintingPaintInTheSameRun) {
  Tree t;
  vcl::TRecordingCanvas dc;
  t.Host.DC = &dc;
  struct Painter : LogWindow {
    using LogWindow::LogWindow;
    void Paint(TpsAbstractCanvas& c, bool children) override {
      LogWindow::Paint(c, children);
      if (Other) Manager->InvalidateWindow(Other, false);
    }
    TpsWindow* Other = nullptr;
  };
  auto p = NewWindow<Painter>(t.Root, "p", &t.Log);
  p->SetBounds(0, 0, 10, 10);
  Painter* painter = static_cast<Painter*>(t.Root->AddChild(std::move(p)));
  LogWindow* other = t.Add(t.Root, "other", 0, 10, 10, 10);
  LogWindow* floated = t.Add(t.Root, "floated", 0, 20, 10, 10, true);
  painter->Other = other;
  t.Manager.InvalidateWindow(painter, false);
  t.Manager.PaintInvalidatedWindows();
  EXPECT_EQ(t.Log, (MessageLog{"p:paint", "other:paint", "floated:paint"}));
  (void)floated;
}

TEST(Windows, DeferredMessagesArePostedAgainInOrder) {
  Tree t;
  LogWindow* block = t.Add(t.Root, "block", 0, 0, 10, 10);
  TpsMessage first(mrCommand, 570, nullptr);
  first.AutoFree = false;
  first.Text = "one";
  TpsMessage second(mrCommand, 580, nullptr);
  second.AutoFree = false;
  block->DeferMessage(first, true);
  block->DeferMessage(second, false);
  EXPECT_TRUE(first.IsHandled());
  EXPECT_FALSE(second.IsHandled());
  EXPECT_TRUE(block->HasDeferredMessages());
  block->RepostDeferredMessages(t.Root, true);
  EXPECT_FALSE(block->HasDeferredMessages());
  EXPECT_EQ(t.Log, (MessageLog{"root:570", "root:580"}));
  block->DeferMessage(first, false);
  block->ClearDeferredMessages();
  EXPECT_FALSE(block->HasDeferredMessages());
}

TEST(Windows, FocusedNodeAndLastPosted) {
  Tree t;
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 10, 10);
  TpsMessagePtr m = TpsMessage::Create(mrCommand, 210);
  EXPECT_FALSE(t.Manager.SendToFocusedNode(m));
  ASSERT_TRUE(m);  // left untouched
  t.Manager.SetFocusedNode(a);
  t.Log.clear();
  EXPECT_TRUE(t.Manager.SendToFocusedNode(m));
  EXPECT_FALSE(m);
  EXPECT_EQ(t.Log, (MessageLog{"a:210"}));
  // A command filled in after it was posted.
  t.Log.clear();
  t.Manager.PostMessage(TpsMessage::Create(mrCommand, 415));
  t.Manager.GetLastPostedMessage()->SetParam(1, 100);
  EXPECT_EQ(t.Manager.QueuedCount(), 1);
  t.Manager.ProcessMessages();
  EXPECT_EQ(t.Log, (MessageLog{"root:415"}));
}

// --- Hints ---

class HintWindowLog : public LogWindow {
 public:
  using LogWindow::LogWindow;
  std::unique_ptr<TpsHintWindow> CreateHintWindow(const TpsPoint& p, TpsHintTriggerArea* area,
                                                  const AnsiString& text) override {
    Log->push_back("hint " + text + " at " + std::to_string(p.X) + "," + std::to_string(p.Y));
    return std::make_unique<TpsHintWindow>(area);
  }
  bool Wants = true;
  bool WantsHint() override { return Wants; }
};

struct HintFixture {
  HintFixture() : Clock(std::make_shared<rtl::ManualClock>(1000)), Scope(Clock) {
    auto w = NewWindow<HintWindowLog>(T.Root, "img", &T.Log);
    w->SetBounds(100, 50, 80, 60);
    Window = static_cast<HintWindowLog*>(T.Root->AddChild(std::move(w)));
    for (auto [rect, text] : {std::pair{TpsRect{0, 0, 39, 59}, "left"}, std::pair{TpsRect{40, 0, 79, 59}, "right"}}) {
      auto settings = std::make_unique<TpsHintSettings>();
      settings->HintPause = 500;
      Window->AddHintArea(std::make_unique<TpsRectangularHintTriggerArea>(Window, rect, std::move(settings), text));
    }
  }
  void Move(Integer x, Integer y) { T.Manager.DispatchMessage(At(mrPositional, psmMouseMove, x, y)); }
  void Wait(uint64_t ms) {
    Clock->Advance(ms);
    vcl::Application->FireDueTimers();
  }
  std::vector<std::string> Hints() const {
    std::vector<std::string> h;
    for (const std::string& s : T.Log)
      if (s.rfind("hint", 0) == 0) h.push_back(s);
    return h;
  }
  Tree T;
  std::shared_ptr<rtl::ManualClock> Clock;
  rtl::ScopedClock Scope;
  HintWindowLog* Window;
};

TEST(Hints, NoneWhileMovingShownAfterThePause) {
  HintFixture f;
  for (int i = 0; i < 10; ++i) {
    f.Move(105 + i, 60);
    f.Wait(300);
  }
  EXPECT_TRUE(f.Hints().empty());
  EXPECT_EQ(f.T.Manager.HoverWindow(), f.Window);
  f.Wait(200);
  EXPECT_EQ(f.Hints(), (std::vector<std::string>{"hint left at 114,60"}));
  ASSERT_TRUE(f.Window->GetHintWindow());
  // Later ticks find it shown.
  f.Wait(500);
  EXPECT_EQ(f.Hints().size(), 1u);
}

TEST(Hints, ReplacedInAnotherAreaHiddenOnLeaving) {
  HintFixture f;
  f.Move(110, 60);
  f.Wait(500);
  ASSERT_EQ(f.Hints().size(), 1u);
  f.Move(150, 60);  // the right area: replaced at the next tick
  f.Wait(500);
  EXPECT_EQ(f.Hints(), (std::vector<std::string>{"hint left at 110,60", "hint right at 150,60"}));
  EXPECT_EQ(f.Window->GetHintWindow()->Area, f.Window->GetCurrentHintArea());
  // Out of the areas (and of the window): hidden at once.
  f.Move(300, 200);
  EXPECT_EQ(f.Window->GetHintWindow(), nullptr);
  EXPECT_EQ(f.T.Manager.HintTimer(), nullptr);
  f.Move(110, 60);
  f.Wait(500);
  ASSERT_TRUE(f.Window->GetHintWindow());
  f.T.Manager.DispatchMessage(At(mrPositional, psmMouseLeave, 110, 60));
  EXPECT_EQ(f.Window->GetHintWindow(), nullptr);
}

TEST(Hints, AWindowThatWantsNoHintStartsNoTimer) {
  HintFixture f;
  f.Window->Wants = false;
  f.Move(110, 60);
  EXPECT_EQ(f.T.Manager.HintTimer(), nullptr);
  f.Wait(1000);
  EXPECT_TRUE(f.Hints().empty());
}

TEST(Hints, AreasAndSettings) {
  HintFixture f;
  EXPECT_EQ(f.Window->FindHintArea({45, 5})->HintText, "right");
  EXPECT_EQ(f.Window->FindHintArea({90, 5}), nullptr);
  TpsHintSettings settings;
  EXPECT_EQ(settings.HintMaxWidth, 160);
  EXPECT_EQ(settings.HintColor, vcl::clInfoBk);
  EXPECT_EQ(settings.HintPause, static_cast<Integer>(vcl::Application->HintPause()));
}

// A view node shows the editor's hint window, at the screen point under
// the mouse: the document point less the viewport's origin, then the
// editor's client-to-screen.
TEST(Hints, ADocumentNodeShowsTheEditorsHintOnTheScreen) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scope(clock);
  FakeHost host;
  host.Canvas.SetViewRect({0, 100, 399, 399});
  TpsWindowManager manager(&host.Canvas);
  manager.OnCreateTimer = [] { return vcl::Create<vcl::TTimer>(nullptr); };
  manager.SetRootWindow(NewWindow<TpsDocumentNode>(nullptr, &host));
  TpsWindow* root = manager.Root();
  root->SetBounds(0, 0, 400, 1000);
  TpsWindow* node = root->AddChild(NewWindow<TpsDocumentNode>(root));
  node->SetBounds(50, 150, 100, 50);
  auto settings = std::make_unique<TpsHintSettings>();
  settings->HintPause = 300;
  node->AddHintArea(std::make_unique<TpsRectangularHintTriggerArea>(node, TpsRect{0, 0, 99, 49}, std::move(settings),
                                                                     "alt text"));
  manager.DispatchMessage(At(mrPositional, psmMouseMove, 60, 170));
  clock->Advance(299);
  vcl::Application->FireDueTimers();
  EXPECT_TRUE(host.Calls.empty());
  clock->Advance(1);
  vcl::Application->FireDueTimers();
  // (60, 170) in the document is (60, 70) in the client, (160, 270) on the screen.
  EXPECT_EQ(host.Calls, std::vector<std::string>{"CreateHintWindow 160,270 alt text"});
  ASSERT_NE(node->GetHintWindow(), nullptr);
  EXPECT_EQ(node->GetHintWindow()->Area, node->GetCurrentHintArea());
  // Freeing the node hides its hint and stops the timer.
  root->FreeChild(node);
  EXPECT_EQ(manager.HintTimer(), nullptr);
}

// --- Labels, overlap lists, auto-scroll ---

TEST(Labels, CaptionBoxIsTintedSixtyPercentOverThePixelsBeneath) {
  Tree t;
  vcl::TBitmap screen(200, 100);
  // A pattern under the label.
  for (Integer y = 0; y < 100; ++y)
    for (Integer x = 0; x < 200; ++x) screen.Canvas()->SetPixels(x, y, vcl::RGB(x, y * 2, 90));
  const QImage before = screen.Pixels().copy();
  LogWindow* block = t.Add(t.Root, "block", 10, 10, 150, 60);
  auto label = NewWindow<TpsStickyWindow>(block, vcl::RGB(255, 0, 0), "DIV");
  label->SetBoundsRect(block->GetRectInRoot());
  TpsStickyWindow* l = static_cast<TpsStickyWindow*>(t.Manager.AddStickyWindow(std::move(label)));
  t.Host.Canvas.BeginPaint(screen.Canvas());
  t.Manager.PaintAll();
  t.Host.Canvas.EndPaint();
  vcl::TBitmap measure(1, 1);
  measure.Canvas()->Font()->SetName("Verdana");
  measure.Canvas()->Font()->SetSize(8);
  measure.Canvas()->Font()->SetStyle({vcl::fsBold});
  const vcl::TSize caption = measure.Canvas()->TextExtent("DIV");
  // Two pixels wider than the caption.
  EXPECT_EQ(l->LabelRect, (TpsRect{1, 1, caption.cx + 2, caption.cy}));
  // The outline in black along the block.
  EXPECT_EQ(screen.Canvas()->Pixels(10, 40), vcl::clBlack);
  EXPECT_EQ(screen.Canvas()->Pixels(159, 69), vcl::clBlack);
  // Inside the box, away from the caption's ink: 40 % of what was there
  // and 60 % of red, each product truncated.
  const Integer x = 10 + caption.cx + 1, y = 10 + caption.cy;
  const QRgb was = before.pixel(x, y);
  EXPECT_EQ(screen.Canvas()->Pixels(x, y),
            vcl::RGB(40 * qRed(was) / 100 + 60 * 255 / 100, 40 * qGreen(was) / 100, 40 * qBlue(was) / 100));
  // Outside the box nothing changed.
  EXPECT_EQ(screen.Pixels().pixel(80, 40), before.pixel(80, 40));
}

TEST(Labels, OverlapListsHoldEarlierOwnersOnly) {
  Tree t;
  LogWindow* first = t.Add(t.Root, "first", 0, 0, 400, 100);
  LogWindow* second = t.Add(t.Root, "second", 0, 100, 400, 100);
  LogWindow* ownedBySecond = t.Add(t.Root, "f2", 300, 50, 50, 100, true);
  ownedBySecond->Owner = second;
  LogWindow* ownedByFirst = t.Add(t.Root, "f1", 10, 60, 40, 80, true);
  ownedByFirst->Owner = first;
  TpsOverlappingWindows a(first);
  a.Update(false);
  ASSERT_EQ(a.Count(), 1);
  EXPECT_EQ(a.Get(0), (htmldoc::TpsRectangleRecord{10, 60, 40, 80}));
  a.Update(true);
  EXPECT_EQ(a.Count(), 0);
  TpsOverlappingWindows b(second);
  b.Update(false);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Get(0), (htmldoc::TpsRectangleRecord{300, -50, 50, 100}));
  EXPECT_EQ(b.Get(1), (htmldoc::TpsRectangleRecord{10, -40, 40, 80}));
  b.Update(true);
  EXPECT_EQ(b.Count(), 1);
}

TEST(AutoScroll, ScrollsEveryFiftyMillisecondsWhileTheLeftButtonIsHeld) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scope(clock);
  vcl::TPanel* editor = vcl::Create<vcl::TPanel>(nullptr);
  editor->SetBounds(0, 0, 300, 200);
  std::vector<Integer> deltas;
  {
    TpsMouseScrollManager m(editor);
    m.OnScroll = [&](TpsMouseScrollManager*, Integer d) { deltas.push_back(d); };
    m.MouseDown(10, 10);
    m.MouseMove({vcl::TShiftStateItem::ssLeft}, 10, -10);
    EXPECT_TRUE(m.IsScrolling());
    for (int i = 0; i < 3; ++i) {
      clock->Advance(50);
      vcl::Application->FireDueTimers();
    }
    EXPECT_EQ(deltas, (std::vector<Integer>{-10, -10, -10}));
    // Below the editor: the distance past its bottom edge.
    m.MouseMove({vcl::TShiftStateItem::ssLeft}, 10, 204);
    clock->Advance(50);
    vcl::Application->FireDueTimers();
    EXPECT_EQ(deltas.back(), 5);
    // With Ctrl as well nothing scrolls.
    m.MouseMove({vcl::TShiftStateItem::ssLeft, vcl::TShiftStateItem::ssCtrl}, 10, -10);
    EXPECT_FALSE(m.IsScrolling());
    m.MouseMove({vcl::TShiftStateItem::ssLeft}, 10, -10);
    m.MouseUp(10, -10);
    EXPECT_FALSE(m.IsScrolling());
    clock->Advance(200);
    vcl::Application->FireDueTimers();
    EXPECT_EQ(deltas.size(), 4u);
    m.AutoScrollEnabled = false;
    m.MouseMove({vcl::TShiftStateItem::ssLeft}, 10, -10);
    clock->Advance(50);
    vcl::Application->FireDueTimers();
    EXPECT_EQ(deltas.size(), 4u);
  }
  vcl::Free(editor);
}

}  // namespace

namespace {

// Messages left behind go with their owners, each once (checked under the
// address sanitizer): deferred clones with the window that keeps them,
// queued messages with the manager, while a message its sender keeps is
// only forgotten by the queue.
TEST(Windows, MessagesLeftBehindAreFreedOnceWithTheirOwners) {
  TpsMessage kept(mrCommand, psmIsTextNode, nullptr);
  kept.AutoFree = false;
  {
    Tree t;
    LogWindow* block = t.Add(t.Root, "block", 0, 0, 10, 10);
    TpsNotifyDocumentChangeMsg notice(htmldoc::dcSplitCurrentBlock, nullptr);
    notice.AutoFree = false;
    block->DeferMessage(notice, true);
    block->DeferMessage(kept, false);
    t.Root->FreeChild(block);  // its clones go with it
    t.Manager.PostMessage(TpsMessage::Create(mrCommand, psmEndEdit));
    t.Manager.PostMessage(kept);
    TpsMessagePtr copy = notice.Clone(nullptr);
    copy->AutoFree = true;  // the queue owns it
    t.Manager.PostMessage(std::move(copy));
    EXPECT_EQ(t.Manager.QueuedCount(), 3);
    t.Manager.ClearQueue();
    EXPECT_EQ(t.Manager.QueuedCount(), 0);
    t.Manager.PostMessage(TpsMessage::Create(mrCommand, psmBeginEdit));
    t.Manager.PostMessage(kept);
  }  // the manager frees what it owns and forgets the kept message
  kept.Text = "still the sender's";
  EXPECT_EQ(kept.Id, psmIsTextNode);
}

}  // namespace

namespace {

// A window paints those of its children that meet the viewport, each with
// its own children; PaintAll paints the root, then the labels.
TEST(Windows, PaintingReachesTheChildrenInView) {
  Tree t;
  vcl::TRecordingCanvas dc;
  t.Host.Canvas.BeginPaint(&dc);
  LogWindow* a = t.Add(t.Root, "a", 0, 0, 100, 100);
  t.Add(a, "a1", 10, 10, 20, 20);
  t.Add(a, "a2", 10, 90, 20, 20);  // partly in view
  t.Add(t.Root, "far", 0, 400, 100, 100);
  t.Host.Canvas.SetViewRect({0, 0, 399, 299});
  auto label = NewWindow<LogWindow>(t.Root, "label", &t.Log);
  label->Owner = a;
  t.Manager.AddStickyWindow(std::move(label));
  t.Manager.PaintAll();
  EXPECT_EQ(t.Log, (MessageLog{"root:paint", "a:paint", "a1:paint", "a2:paint", "label:paint"}));
  // Scrolled down: only the far one.
  t.Log.clear();
  t.Host.Canvas.SetOrigin(0, 350);
  t.Manager.PaintAll();
  EXPECT_EQ(t.Log, (MessageLog{"root:paint", "far:paint", "label:paint"}));
  t.Host.Canvas.EndPaint();
}

}  // namespace
