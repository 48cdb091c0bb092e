#include "htmledit/view/psWindows.h"

#include <algorithm>

#include "htmledit/view/psCanvas.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace htmlview {

// --- Hint areas ---

TpsHintSettings::TpsHintSettings() : HintPause(static_cast<Integer>(vcl::Application->HintPause())) {}

TpsHintTriggerArea::TpsHintTriggerArea(TpsWindow* aOwner, std::unique_ptr<TpsHintSettings> aSettings,
                                       AnsiString aHintText)
    : Owner(aOwner), HintText(std::move(aHintText)), Settings(std::move(aSettings)) {
  if (!Settings) Settings = std::make_unique<TpsHintSettings>();
}

TpsHintTriggerArea::~TpsHintTriggerArea() = default;

TpsRectangularHintTriggerArea::TpsRectangularHintTriggerArea(TpsWindow* aOwner, const TpsRect& aRect,
                                                             std::unique_ptr<TpsHintSettings> aSettings,
                                                             AnsiString aHintText)
    : TpsHintTriggerArea(aOwner, std::move(aSettings), std::move(aHintText)), AreaRect(aRect) {}

bool TpsRectangularHintTriggerArea::Contains(const TpsPoint& p) const { return htmldoc::PointInRect(p, AreaRect); }

// --- Windows ---

void TpsWindowDeleter::operator()(TpsWindow* aWindow) const {
  if (!aWindow) return;
  aWindow->BeforeDestruction();
  delete aWindow;
}

TpsWindow::TpsWindow(TpsWindow* aParent) : Parent(aParent) {
  if (aParent) {
    Manager = aParent->GetRoot()->Manager;
    if (Manager) {
      WindowId = Manager->NextWindowId();
      Manager->RegisterWindow(this);
    }
  }
}

void TpsWindow::BeforeDestruction() {
  Destroyed = true;
  if (Manager) Manager->ClearHoverWindow(this);
  HideHint();
  ClearHintAreas();
  FDeferredMessages.clear();
  if (Manager) {
    Manager->ReleaseCapture(this);
    // Told while Destroyed is set, so it knows not to touch what goes.
    if (Manager->IsFocused(this)) Manager->ClearFocusedNode(this);
  }
  // The floating windows this window owns (all of them for the root).
  if (TpsWindow* root = IsRoot() ? this : GetRoot(); root) {
    for (TpsWindow* f : TpsWindowList(root->FFloatingWindows))
      if (IsRoot() || f->Owner == this) root->FreeChild(f);
  }
  while (!FChildren.empty()) {
    TpsWindowPtr last = std::move(FChildren.back());
    FChildren.pop_back();
    auto it = std::find(FFloatingWindows.begin(), FFloatingWindows.end(), last.get());
    if (it != FFloatingWindows.end()) FFloatingWindows.erase(it);
    last.reset();
  }
}

TpsWindow::~TpsWindow() {
  if (Manager) Manager->UnregisterWindow(this);
}

std::unique_ptr<TpsHintWindow> TpsWindow::CreateHintWindow(const TpsPoint&, TpsHintTriggerArea*, const AnsiString&) {
  return nullptr;
}

void TpsWindow::HandleMessage(TpsMessage& m) {
  if (m.IsHandled()) return;
  switch (m.Id) {
    case psmMouseMove: {
      if (m.Kind != mrPositional) return;
      LastMousePoint = {m.X, m.Y};
      if (!Manager || FHintAreas.empty() || !WantsHint()) return;
      if (TpsHintTriggerArea* area = FindHintArea(LastMousePoint)) {
        Manager->SetHoverWindow(this);
        if (Manager->IsHintTimerOf(this)) {
          Manager->RestartHintTimer(0);
        } else {
          Manager->StartHintTimer(this, area->Settings->HintPause);
        }
        FCurrentHintArea = area;
      } else {
        HideHint();
      }
      return;
    }
    case psmMouseLeave:
      HideHint();
      return;
    case psmHintTimer: {
      if (m.Kind != mrCommand) return;
      if (FHintWindow && FHintWindow->Area != FCurrentHintArea) HideHint();
      if (FHintWindow || !FCurrentHintArea) return;
      FHintWindow = CreateHintWindow(LocalToAbsolute(LastMousePoint), FCurrentHintArea, FCurrentHintArea->HintText);
      return;
    }
    default:
      return;
  }
}

void TpsWindow::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  if (!aPaintChildren) return;
  for (size_t i = 0; i < FChildren.size(); ++i) {
    TpsWindow* child = FChildren[i].get();
    if (child->IsVisibleOn(aCanvas)) child->Paint(aCanvas, true);
  }
}

// --- Tree ---

TpsWindow* TpsWindow::AddChild(TpsWindowPtr aNode) {
  TpsWindow* node = aNode.get();
  node->Parent = this;
  FChildren.push_back(std::move(aNode));
  if (IsRoot() && node->WindowFlags.GetFlag(wfFloating)) FFloatingWindows.push_back(node);
  return node;
}

TpsWindowPtr TpsWindow::RemoveChild(TpsWindow* aNode) {
  auto f = std::find(FFloatingWindows.begin(), FFloatingWindows.end(), aNode);
  if (f != FFloatingWindows.end()) FFloatingWindows.erase(f);
  for (auto it = FChildren.begin(); it != FChildren.end(); ++it) {
    if (it->get() == aNode) {
      TpsWindowPtr p = std::move(*it);
      FChildren.erase(it);
      return p;
    }
  }
  return nullptr;
}

void TpsWindow::FreeChild(TpsWindow* aNode) { RemoveChild(aNode).reset(); }

TpsWindowList TpsWindow::ChildList() const {
  TpsWindowList list;
  list.reserve(FChildren.size());
  for (const auto& c : FChildren) list.push_back(c.get());
  return list;
}

TpsWindow* TpsWindow::GetRoot() {
  TpsWindow* w = this;
  while (w->Parent) w = w->Parent;
  return w;
}

Integer TpsWindow::GetDepth() const {
  Integer d = 0;
  for (const TpsWindow* w = Parent; w; w = w->Parent) ++d;
  return d;
}

Integer TpsWindow::IndexOfChild(const TpsWindow* aNode) const {
  for (size_t i = 0; i < FChildren.size(); ++i)
    if (FChildren[i].get() == aNode) return static_cast<Integer>(i);
  return -1;
}

TpsWindow* TpsWindow::PreviousSibling() const {
  if (!Parent) return nullptr;
  const Integer i = Parent->IndexOfChild(this);
  return i > 0 ? Parent->Child(i - 1) : nullptr;
}

TpsWindow* TpsWindow::NextSibling() const {
  if (!Parent) return nullptr;
  const Integer i = Parent->IndexOfChild(this);
  return i >= 0 && i + 1 < Parent->ChildCount() ? Parent->Child(i + 1) : nullptr;
}

bool TpsWindow::IsAncestorOf(const TpsWindow* aNode) const {
  if (!aNode) return false;
  for (const TpsWindow* w = aNode->Parent; w; w = w->Parent)
    if (w == this) return true;
  return false;
}

bool TpsWindow::IsWithin(const TpsWindow* aNode) const {
  return aNode && (aNode == this || aNode->IsAncestorOf(this));
}

TpsWindow* TpsWindow::FirstOfTwoChildren(TpsWindow* a, TpsWindow* b) const {
  for (const auto& c : FChildren)
    if (c.get() == a || c.get() == b) return c.get();
  return nullptr;
}

TpsWindow* TpsWindow::FindCommonParent(TpsWindow* a, TpsWindow* b, TpsWindow*& aChildA, TpsWindow*& aChildB) {
  aChildA = nullptr;
  aChildB = nullptr;
  if (!a || !b) return nullptr;
  Integer da = a->GetDepth(), db = b->GetDepth();
  TpsWindow* ca = nullptr;
  TpsWindow* cb = nullptr;
  while (da > db) {
    ca = a;
    a = a->Parent;
    --da;
  }
  while (db > da) {
    cb = b;
    b = b->Parent;
    --db;
  }
  while (a && b && a != b) {
    ca = a;
    cb = b;
    a = a->Parent;
    b = b->Parent;
  }
  if (!a || a != b) return nullptr;
  aChildA = ca;
  aChildB = cb;
  return a;
}

TpsWindow* TpsWindow::FirstInDocumentOrder(TpsWindow* a, TpsWindow* b) {
  if (!a || !b) return nullptr;
  if (a == b) return a;
  TpsWindow* ca;
  TpsWindow* cb;
  TpsWindow* common = FindCommonParent(a, b, ca, cb);
  if (!common) return nullptr;
  // An ancestor comes before what it holds.
  if (!ca) return a;
  if (!cb) return b;
  return common->FirstOfTwoChildren(ca, cb) == ca ? a : b;
}

// --- Geometry ---

Integer TpsWindow::GetAbsoluteLeft() const {
  Integer x = 0;
  for (const TpsWindow* w = this; w; w = w->Parent) x += w->Left;
  return x;
}

Integer TpsWindow::GetAbsoluteTop() const {
  Integer y = 0;
  for (const TpsWindow* w = this; w; w = w->Parent) y += w->Top;
  return y;
}

TpsRect TpsWindow::GetAbsoluteRect() const {
  const Integer l = GetAbsoluteLeft(), t = GetAbsoluteTop();
  return {l, t, l + Width - 1, t + Height - 1};
}

TpsPoint TpsWindow::GetOffsetFromRoot() const {
  TpsPoint p;
  for (const TpsWindow* w = this; w && w->Parent; w = w->Parent) {
    p.X += w->Left;
    p.Y += w->Top;
  }
  return p;
}

TpsRect TpsWindow::GetRectInRoot() const {
  const TpsPoint o = GetOffsetFromRoot();
  return {o.X, o.Y, o.X + Width - 1, o.Y + Height - 1};
}

TpsPoint TpsWindow::LocalToAbsolute(const TpsPoint& p) const {
  return {p.X + GetAbsoluteLeft(), p.Y + GetAbsoluteTop()};
}

TpsPoint TpsWindow::AbsoluteToLocal(const TpsPoint& p) const {
  return {p.X - GetAbsoluteLeft(), p.Y - GetAbsoluteTop()};
}

TpsPoint TpsWindow::AbsoluteToViewport(const TpsPoint& p) const {
  if (!Manager || !Manager->Canvas()) return p;
  const TpsRect& v = Manager->Canvas()->GetViewport();
  return {p.X - v.Left, p.Y - v.Top};
}

Integer TpsWindow::XRelativeToRoot(Integer aX) const { return aX + GetOffsetFromRoot().X; }

void TpsWindow::SetBounds(Integer aLeft, Integer aTop, Integer aWidth, Integer aHeight) {
  Left = aLeft;
  Top = aTop;
  Width = aWidth;
  Height = aHeight;
}

void TpsWindow::SetBoundsRect(const TpsRect& r) {
  SetBounds(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

void TpsWindow::SetPosition(Integer aLeft, Integer aTop) {
  Left = aLeft;
  Top = aTop;
}

void TpsWindow::SetSize(Integer aWidth, Integer aHeight) {
  if (aWidth != -1) Width = aWidth;
  if (aHeight != -1) Height = aHeight;
}

void TpsWindow::GrowHeightTo(Integer aHeight) {
  if (Height < aHeight) Height = aHeight;
}

bool TpsWindow::OverlapsSibling(const TpsWindow* a, const TpsWindow* b) {
  return htmldoc::RectsIntersectBounds(a->Left, a->Top, a->Left + a->Width - 1, a->Top + a->Height - 1, b->Left,
                                       b->Top, b->Left + b->Width - 1, b->Top + b->Height - 1);
}

TpsWindow* TpsWindow::LastChild(bool aExcludeFloating) const {
  for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
    const TpsWindow* c = it->get();
    if (c->WindowFlags.GetFlag(wfBeingLaidOut)) continue;
    if (aExcludeFloating && c->WindowFlags.GetFlag(wfFloating)) continue;
    return it->get();
  }
  return nullptr;
}

TpsWindow* TpsWindow::LowestChild(bool aIncludeFloating, Integer& aBottom) const {
  TpsWindow* lowest = nullptr;
  aBottom = -1;
  for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
    TpsWindow* c = it->get();
    if (c->WindowFlags.GetFlag(wfFloating) || c->WindowFlags.GetFlag(wfBeingLaidOut)) continue;
    lowest = c;
    aBottom = c->Top + c->Height - 1;
    break;
  }
  if (aIncludeFloating && Manager && Manager->Root()) {
    const Integer myTop = GetAbsoluteTop();
    for (TpsWindow* f : Manager->Root()->FFloatingWindows) {
      if (f->WindowFlags.GetFlag(wfBeingLaidOut) || !f->Owner || !f->Owner->IsWithin(this)) continue;
      const Integer bottom = f->GetAbsoluteBottom() - myTop;
      if (!lowest || bottom > aBottom) {
        lowest = f;
        aBottom = bottom;
      }
    }
  }
  return lowest;
}

bool TpsWindow::IsVisibleOn(const TpsAbstractCanvas& aCanvas) const {
  const TpsRect r = GetAbsoluteRect();
  return aCanvas.IsRectVisible(r.Left, r.Top, r.Right, r.Bottom);
}

TpsWindow* TpsWindow::ChildAt(Integer aX, Integer aY, bool aIncludeFloating) {
  if (aX < Left || aX >= Left + Width || aY < Top || aY >= Top + Height) return nullptr;
  const Integer x = aX - Left, y = aY - Top;
  if (IsRoot() && aIncludeFloating) {
    for (TpsWindow* f : FFloatingWindows)
      if (TpsWindow* hit = f->ChildAt(x, y, aIncludeFloating)) return hit;
  }
  for (const auto& c : FChildren) {
    if (!aIncludeFloating && c->WindowFlags.GetFlag(wfFloating)) continue;
    if (TpsWindow* hit = c->ChildAt(x, y, aIncludeFloating)) return hit;
  }
  return this;
}

// --- Walks ---

void TpsWindow::BroadcastToChildren(TpsMessage& m) {
  for (TpsWindow* c : ChildList()) {
    c->HandleMessage(m);
    m.ResetHandled();
  }
}

void TpsWindow::BroadcastToChildren(TpsMessagePtr m) { BroadcastToChildren(*m); }

void TpsWindow::DispatchToChildren(TpsMessage& m) {
  for (TpsWindow* c : ChildList()) {
    c->HandleMessage(m);
    if (m.Consumed) return;
  }
}

void TpsWindow::DispatchToChildren(TpsMessagePtr m) { DispatchToChildren(*m); }

void TpsWindow::Broadcast(TpsMessage& m, bool aSkipSelf) {
  if (!aSkipSelf) {
    HandleMessage(m);
    if (m.Consumed) return;
  }
  for (TpsWindow* c : ChildList()) {
    c->Broadcast(m, false);
    if (m.Consumed) return;
  }
}

void TpsWindow::SendToAncestors(TpsMessage& m, TpsWindow* aFrom) {
  for (TpsWindow* w = aFrom; w; w = w->Parent) {
    w->HandleMessage(m);
    if (m.Consumed) return;
  }
}

void TpsWindow::SendToAncestors(TpsMessagePtr m, TpsWindow* aFrom) { SendToAncestors(*m, aFrom); }

namespace {

struct WalkFilter {
  Integer X = -1;
  Integer RangeLeft = 0;
  Integer RangeRight = -1;
  bool Passes(const TpsWindow* w) const {
    const Integer l = w->GetAbsoluteLeft(), r = w->GetAbsoluteRight();
    if (X != -1 && (X < l || X > r)) return false;
    if (RangeRight >= RangeLeft && !htmldoc::RangesOverlap(l, r, RangeLeft, RangeRight)) return false;
    return true;
  }
};

// Children before their parent; backwards takes children last to first.
bool OfferSubtree(TpsWindow* w, TpsMessage& m, bool aForward, const WalkFilter& f, bool aIncludeSelf) {
  TpsWindowList children = w->ChildList();
  if (!aForward) std::reverse(children.begin(), children.end());
  for (TpsWindow* c : children)
    if (OfferSubtree(c, m, aForward, f, true)) return true;
  if (aIncludeSelf && f.Passes(w)) {
    w->HandleMessage(m);
    if (m.Consumed) return true;
  }
  return false;
}

bool WalkOnce(TpsWindow* start, TpsMessage& m, bool aForward, const WalkFilter& f, bool aSkipOwnSubtree) {
  if (!aSkipOwnSubtree && OfferSubtree(start, m, aForward, f, false)) return true;
  for (TpsWindow* w = start; w->Parent; w = w->Parent) {
    TpsWindow* parent = w->Parent;
    const Integer i = parent->IndexOfChild(w);
    if (aForward) {
      for (Integer k = i + 1; k < parent->ChildCount(); ++k)
        if (OfferSubtree(parent->Child(k), m, aForward, f, true)) return true;
    } else {
      for (Integer k = i - 1; k >= 0; --k)
        if (OfferSubtree(parent->Child(k), m, aForward, f, true)) return true;
    }
    if (f.Passes(parent)) {
      parent->HandleMessage(m);
      if (m.Consumed) return true;
    }
  }
  return false;
}

}  // namespace

void TpsWindow::Walk(TpsMessage& m, bool aForward, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
                     Integer aRangeRight) {
  const bool hasX = aX != -1, hasRange = aRangeRight >= aRangeLeft;
  if (WalkOnce(this, m, aForward, {aX, aRangeLeft, aRangeRight}, aSkipOwnSubtree)) return;
  if (hasX && hasRange && WalkOnce(this, m, aForward, {-1, aRangeLeft, aRangeRight}, aSkipOwnSubtree)) return;
  if (hasX || hasRange) WalkOnce(this, m, aForward, {}, aSkipOwnSubtree);
}

void TpsWindow::SendToFollowingWindows(TpsMessage& m, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
                                       Integer aRangeRight) {
  Walk(m, true, aX, aSkipOwnSubtree, aRangeLeft, aRangeRight);
}

void TpsWindow::SendToFollowingWindows(TpsMessagePtr m, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
                                       Integer aRangeRight) {
  Walk(*m, true, aX, aSkipOwnSubtree, aRangeLeft, aRangeRight);
}

void TpsWindow::SendToPrecedingWindows(TpsMessage& m, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
                                       Integer aRangeRight) {
  Walk(m, false, aX, aSkipOwnSubtree, aRangeLeft, aRangeRight);
}

void TpsWindow::SendToPrecedingWindows(TpsMessagePtr m, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
                                       Integer aRangeRight) {
  Walk(*m, false, aX, aSkipOwnSubtree, aRangeLeft, aRangeRight);
}

// --- Deferred messages ---

void TpsWindow::DeferMessage(TpsMessage& m, bool aMarkHandled) {
  FDeferredMessages.push_back(m.Clone(nullptr));
  if (aMarkHandled) m.MarkHandled(nullptr);
}

void TpsWindow::RepostDeferredMessages(TpsWindow* aTarget, bool aProcess) {
  std::vector<TpsMessagePtr> messages = std::move(FDeferredMessages);
  FDeferredMessages.clear();
  for (TpsMessagePtr& m : messages) {
    m->Target = aTarget;
    // The queue owns them from here on.
    m->AutoFree = true;
    if (Manager) Manager->PostMessage(std::move(m));
  }
  if (aProcess && Manager) Manager->ProcessMessages();
}

// --- Hints ---

void TpsWindow::AddHintArea(std::unique_ptr<TpsHintTriggerArea> aArea) { FHintAreas.push_back(std::move(aArea)); }

void TpsWindow::ClearHintAreas() {
  HideHint();
  FCurrentHintArea = nullptr;
  FHintAreas.clear();
}

TpsHintTriggerArea* TpsWindow::FindHintArea(const TpsPoint& p) const {
  for (const auto& a : FHintAreas)
    if (a->Contains(p)) return a.get();
  return nullptr;
}

void TpsWindow::HideHint() {
  if (Manager && Manager->IsHintTimerOf(this)) Manager->StopHintTimer();
  FHintWindow.reset();
}

// --- Manager ---

TpsWindowManager::TpsWindowManager(TpsAbstractCanvas* aCanvas) : FCanvas(aCanvas) {}

TpsWindowManager::~TpsWindowManager() {
  StopHintTimer();
  FQueue.Clear();
  FRoot.reset();
  FStickyWindows.clear();
  FCatchAreas.clear();
  FreeRetiredTimers();
}

void TpsWindowManager::RegisterWindow(TpsWindow* w) { FWindowIds.Add(w->WindowId); }

void TpsWindowManager::UnregisterWindow(TpsWindow* w) {
  FWindowIds.Remove(w->WindowId);
  FreeStickyWindowsOf(w);
  auto it = std::find(FInvalidated.begin(), FInvalidated.end(), w);
  if (it != FInvalidated.end()) FInvalidated.erase(it);
  RemoveCatchAreas(w, -1);
  if (FFocusedNode == w) FFocusedNode = nullptr;
  if (FCapturedNode == w) FCapturedNode = nullptr;
  if (FHoverWindow == w) FHoverWindow = nullptr;
  if (FHintTimerWindow == w) FHintTimerWindow = nullptr;
}

void TpsWindowManager::SetRootWindow(TpsWindowPtr aRoot) {
  FRoot.reset();
  FRoot = std::move(aRoot);
  if (FRoot) {
    FRoot->Manager = this;
    FRoot->WindowId = NextWindowId();
    RegisterWindow(FRoot.get());
  }
}

TpsRect TpsWindowManager::GetRootBounds() const {
  return FRoot ? FRoot->GetAbsoluteRect() : TpsRect{0, 0, -1, -1};
}

// --- Queue and routing ---

void TpsWindowManager::PostMessage(TpsMessagePtr aMessage) {
  RTL_ASSERT(aMessage->AutoFree);
  FQueue.PushMessage(std::move(aMessage));
}

void TpsWindowManager::PostMessage(TpsMessage& aMessage) {
  RTL_ASSERT(!aMessage.AutoFree);
  FQueue.PushMessage(aMessage, false);
}

void TpsWindowManager::PostAndProcess(TpsMessagePtr aMessage) {
  PostMessage(std::move(aMessage));
  ProcessMessages();
}

void TpsWindowManager::PostAndProcess(TpsMessage& aMessage) {
  PostMessage(aMessage);
  ProcessMessages();
}

void TpsWindowManager::ProcessMessages() {
  while (FQueue.Count() > 0) {
    TpsMessageQueue::Entry e = FQueue.PopMessage();
    Route(*e.Message);
  }
  PaintInvalidatedWindows();
}

void TpsWindowManager::Deliver(TpsWindow* w, TpsMessage& m) {
  if (w) w->HandleMessage(m);
}

void TpsWindowManager::Route(TpsMessage& m) {
  if (m.Kind == mrPositional && !MouseRoutingEnabled) return;
  if (m.ToRoot) {
    Deliver(FRoot.get(), m);
  } else if (m.Target) {
    Deliver(m.Target, m);
  } else if (m.Kind == mrFocused) {
    Deliver(FFocusedNode ? FFocusedNode : FRoot.get(), m);
  } else if (m.Kind == mrPositional) {
    DispatchPositional(m);
  } else {
    Deliver(FRoot.get(), m);
  }
}

void TpsWindowManager::DispatchMessage(TpsMessage& m) { Route(m); }

void TpsWindowManager::DispatchMessage(TpsMessagePtr m) { Route(*m); }

void TpsWindowManager::DispatchPositional(TpsMessage& m) {
  Integer areaId = -1;
  TpsWindow* w = WindowAtPoint({m.X, m.Y}, areaId);
  if (!w) return;
  if (FHoverWindow && FHoverWindow != w) {
    TpsWindow* hover = FHoverWindow;
    FHoverWindow = nullptr;
    TpsMessagePtr leave = TpsMessage::Create(mrPositional, psmMouseLeave, nullptr);
    hover->HandleMessage(*leave);
  }
  m.X -= w->GetAbsoluteLeft();
  m.Y -= w->GetAbsoluteTop();
  m.Value = areaId;
  w->HandleMessage(m);
}

void TpsWindowManager::BroadcastMessage(TpsMessage& m) {
  if (FRoot) FRoot->Broadcast(m, false);
}

void TpsWindowManager::BroadcastMessage(TpsMessagePtr m) { BroadcastMessage(*m); }

bool TpsWindowManager::SendToFocusedNode(TpsMessage& m) {
  // What is still queued (a transaction a paint left, say) runs first: it
  // may lay the view out again and free the node that has the focus now.
  if (FQueue.Count() > 0) ProcessMessages();
  if (!FFocusedNode) return false;
  m.Target = FFocusedNode;
  PostAndProcess(m);
  return true;
}

bool TpsWindowManager::SendToFocusedNode(TpsMessagePtr& m) {
  if (FQueue.Count() > 0) ProcessMessages();
  if (!FFocusedNode) return false;
  m->Target = FFocusedNode;
  PostAndProcess(std::move(m));
  return true;
}

TpsWindow* TpsWindowManager::SendToWindowAtPoint(TpsMessage& m, const TpsPoint& p) {
  if (!FRoot) return nullptr;
  TpsWindow* w = FRoot->ChildAt(p.X, p.Y, false);
  for (; w; w = w->Parent) {
    w->HandleMessage(m);
    if (m.Consumed) return w;
  }
  return nullptr;
}

// --- Focus and capture ---

void TpsWindowManager::SetFocusedNode(TpsWindow* aNode) {
  if (!aNode || aNode == FFocusedNode) return;
  ClearFocusedNode(nullptr);
  FFocusedNode = aNode;
  TpsMessagePtr enter = TpsMessage::Create(mrCommand, psmFocusEnter, aNode);
  DispatchMessage(std::move(enter));
}

void TpsWindowManager::ClearFocusedNode(TpsWindow* aNode) {
  if (!FFocusedNode || (aNode && aNode != FFocusedNode)) return;
  TpsWindow* node = FFocusedNode;
  TpsMessagePtr leave = TpsMessage::Create(mrCommand, psmFocusLeave, node);
  DispatchMessage(std::move(leave));
  FFocusedNode = nullptr;
}

void TpsWindowManager::ReleaseCapture(TpsWindow* aNode) {
  if (!aNode || aNode == FCapturedNode) FCapturedNode = nullptr;
}

// --- Catch areas and hit test ---

void TpsWindowManager::AddCatchArea(TpsWindow* aOwner, Integer aAreaId, const TpsRect& aRect) {
  FCatchAreas.push_back({aOwner, aAreaId, aRect});
}

void TpsWindowManager::RemoveCatchAreas(TpsWindow* aOwner, Integer aAreaId) {
  std::erase_if(FCatchAreas, [&](const TpsMouseCatchArea& a) {
    return a.Owner == aOwner && (aAreaId < 0 || a.AreaId == aAreaId);
  });
}

TpsWindow* TpsWindowManager::FindCatchArea(const TpsPoint& p, Integer& aAreaId) const {
  for (const TpsMouseCatchArea& a : FCatchAreas) {
    const Integer l = a.Owner->GetAbsoluteLeft(), t = a.Owner->GetAbsoluteTop();
    const TpsRect r{a.AreaRect.Left + l, a.AreaRect.Top + t, a.AreaRect.Right + l, a.AreaRect.Bottom + t};
    if (htmldoc::PointInRect(p, r)) {
      aAreaId = a.AreaId;
      return a.Owner;
    }
  }
  aAreaId = -1;
  return nullptr;
}

TpsWindow* TpsWindowManager::WindowAtPoint(const TpsPoint& p, Integer& aAreaId) const {
  aAreaId = -1;
  if (!FRoot) return nullptr;
  if (FCapturedNode) return FCapturedNode;
  if (TpsWindow* owner = FindCatchArea(p, aAreaId)) return owner;
  return FRoot->ChildAt(p.X, p.Y, true);
}

// --- Painting ---

void TpsWindowManager::InvalidateWindow(TpsWindow* w, bool aOnlyIfVisible) {
  if (FPaintingDisabled || !w || IsInvalidated(w)) return;
  if (aOnlyIfVisible && (!FCanvas || !w->IsVisibleOn(*FCanvas))) return;
  FInvalidated.push_back(w);
}

void TpsWindowManager::ValidateWindow(TpsWindow* w) {
  auto it = std::find(FInvalidated.begin(), FInvalidated.end(), w);
  if (it != FInvalidated.end()) FInvalidated.erase(it);
}

bool TpsWindowManager::IsInvalidated(const TpsWindow* w) const {
  return std::find(FInvalidated.begin(), FInvalidated.end(), w) != FInvalidated.end();
}

namespace {
// Raises the nesting for a scope, also when painting raises.
struct NestingScope {
  explicit NestingScope(Integer& n) : N(n) { ++N; }
  ~NestingScope() { --N; }
  Integer& N;
};
}  // namespace

void TpsWindowManager::PaintInvalidatedWindows() {
  if (FPaintingDisabled || !PaintingEnabled || !FCanvas) return;
  NestingScope nesting(FPaintNesting);
  if (FInvalidated.empty()) return;
  const bool outermost = FPaintNesting == 1;
  if (outermost) {
    BeginDraw();
    FBeforePaintHandlers.Notify(this);
  }
  while (!FInvalidated.empty()) {
    TpsWindow* w = FInvalidated.front();
    FInvalidated.erase(FInvalidated.begin());
    w->Paint(*FCanvas, true);
  }
  if (FRoot)
    for (TpsWindow* f : TpsWindowList(FRoot->FloatingWindows())) f->Paint(*FCanvas, true);
  if (outermost) {
    FAfterPaintHandlers.Notify(this);
    EndDraw();
  }
}

void TpsWindowManager::PaintAll() {
  if (FPaintingDisabled || !FCanvas) return;
  if (FRoot) FRoot->Paint(*FCanvas, true);
  for (size_t i = 0; i < FStickyWindows.size(); ++i) FStickyWindows[i]->Paint(*FCanvas, true);
}

void TpsWindowManager::BeginDraw() {
  if (FPaintingDisabled || !FCanvas) return;
  FCanvas->BeginPaint(OnGetDC ? OnGetDC() : nullptr);
}

void TpsWindowManager::EndDraw() {
  if (FPaintingDisabled || !FCanvas) return;
  if (OnReleaseDC) OnReleaseDC(FCanvas->GetHandle());
  FCanvas->EndPaint();
}

void TpsWindowManager::AddBeforePaintHandler(const void* aSubscriber, htmldoc::TNotifyEvent aHandler) {
  FBeforePaintHandlers.Add(aSubscriber, std::move(aHandler));
}
void TpsWindowManager::RemoveBeforePaintHandler(const void* aSubscriber) { FBeforePaintHandlers.Remove(aSubscriber); }
void TpsWindowManager::AddAfterPaintHandler(const void* aSubscriber, htmldoc::TNotifyEvent aHandler) {
  FAfterPaintHandlers.Add(aSubscriber, std::move(aHandler));
}
void TpsWindowManager::RemoveAfterPaintHandler(const void* aSubscriber) { FAfterPaintHandlers.Remove(aSubscriber); }

// --- Labels ---

TpsWindow* TpsWindowManager::AddStickyWindow(TpsWindowPtr aLabel) {
  FStickyWindows.push_back(std::move(aLabel));
  return FStickyWindows.back().get();
}

void TpsWindowManager::FreeStickyWindowsOf(TpsWindow* aOwner) {
  if (FStickyWindows.empty()) return;
  std::vector<TpsWindowPtr> freed;
  for (auto it = FStickyWindows.begin(); it != FStickyWindows.end();) {
    if ((*it)->Owner == aOwner) {
      freed.push_back(std::move(*it));
      it = FStickyWindows.erase(it);
    } else {
      ++it;
    }
  }
  freed.clear();
}

// --- Hover and hints ---

void TpsWindowManager::SetHoverWindow(TpsWindow* w) {
  if (!FHoverWindow) FHoverWindow = w;
}

void TpsWindowManager::ClearHoverWindow(TpsWindow* w) {
  if (FHoverWindow == w) FHoverWindow = nullptr;
}

void TpsWindowManager::FreeTimer(vcl::TTimer* aTimer) {
  if (!aTimer) return;
  if (FInHintTick) {
    aTimer->SetEnabled(false);
    FRetiredTimers.push_back(aTimer);
  } else {
    vcl::Free(aTimer);
  }
}

void TpsWindowManager::FreeRetiredTimers() {
  std::vector<vcl::TTimer*> retired = std::move(FRetiredTimers);
  FRetiredTimers.clear();
  for (vcl::TTimer* t : retired) vcl::Free(t);
}

void TpsWindowManager::StartHintTimer(TpsWindow* aWindow, Integer aInterval) {
  StopHintTimer();
  FHintTimerWindow = aWindow;
  if (!OnCreateTimer) return;
  FHintTimer = OnCreateTimer();
  if (!FHintTimer) return;
  FHintTimer->SetInterval(static_cast<Cardinal>(std::max(aInterval, 0)));
  FHintTimer->OnTimer = [this](vcl::TObject*) {
    if (!FHintTimerWindow) return;
    FInHintTick = true;
    try {
      DispatchMessage(TpsMessage::Create(mrCommand, psmHintTimer, FHintTimerWindow));
    } catch (...) {
      FInHintTick = false;
      throw;
    }
    FInHintTick = false;
  };
  FHintTimer->SetEnabled(true);
}

void TpsWindowManager::RestartHintTimer(Integer aInterval) {
  if (!FHintTimer) return;
  FHintTimer->SetEnabled(false);
  if (aInterval != 0) FHintTimer->SetInterval(static_cast<Cardinal>(aInterval));
  FHintTimer->SetEnabled(true);
}

void TpsWindowManager::StopHintTimer() {
  FHintTimerWindow = nullptr;
  vcl::TTimer* t = FHintTimer;
  FHintTimer = nullptr;
  FreeTimer(t);
  if (!FInHintTick) FreeRetiredTimers();
}

}  // namespace htmlview
