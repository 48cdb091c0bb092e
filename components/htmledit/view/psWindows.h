#pragma once
// The editor's light-weight windows and their manager. The view is a tree
// of windows inside the editor's one real control: the root is the body of
// the document, the others are the view nodes below it, the wrappers of
// floated images and the labels that mark block borders. The manager owns
// the root, queues and routes editor messages, tests which window lies
// under the mouse, keeps the focused and captured nodes and the mouse catch
// areas, collects invalidated windows and repaints them on the screen
// surface, and runs the hint timer.
//
// Windows are owned through TpsWindowPtr: a parent owns its children, the
// manager its root and the border labels. Freeing a window runs its
// destruction steps (focus leave, hint, capture, owned floating windows,
// children) while the window is still whole, so a view node still answers
// as itself when it is told that it loses the focus.
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psNotificationList.h"
#include "htmledit/view/psHintAreas.h"
#include "htmledit/view/psMessages.h"

namespace vcl {
class TTimer;
}

namespace htmlview {

// Runs a window's destruction steps, then deletes it.
struct TpsWindowDeleter {
  void operator()(TpsWindow* aWindow) const;
};
using TpsWindowPtr = std::unique_ptr<TpsWindow, TpsWindowDeleter>;

template <typename T, typename... Args>
std::unique_ptr<T, TpsWindowDeleter> NewWindow(Args&&... aArgs) {
  return std::unique_ptr<T, TpsWindowDeleter>(new T(std::forward<Args>(aArgs)...));
}

// Non-owning, in document order.
using TpsWindowList = std::vector<TpsWindow*>;

// Window flags.
constexpr Integer wfFloating = 0;
constexpr Integer wfContentTakenOut = 1;
constexpr Integer wfBeingLaidOut = 2;
constexpr Integer wfStyleFromParent = 3;
constexpr Integer wfFloatPlaced = 5;

class TpsWindow : public htmldoc::TpsEmbeddedNode {
 public:
  // With a parent: the root's manager and a new window id. A root gets
  // both when the manager installs it. The window is not yet a child:
  // the parent's AddChild takes it over.
  explicit TpsWindow(TpsWindow* aParent);
  TpsWindow(const TpsWindow&) = delete;
  TpsWindow& operator=(const TpsWindow&) = delete;

  // --- Virtual operations ---
  virtual bool WantsHint() { return true; }
  // aPoint in document coordinates. The base makes none.
  virtual std::unique_ptr<TpsHintWindow> CreateHintWindow(const TpsPoint& aPoint, TpsHintTriggerArea* aArea,
                                                          const AnsiString& aText);
  // The base runs the hint handling; every view node calls it first.
  virtual void HandleMessage(TpsMessage& aMessage);
  // The base paints the children that meet the viewport.
  virtual void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren);
  virtual void PaintRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {}

  // --- Tree ---
  // Takes the child over; a floating child of the root is listed among its
  // floating windows too.
  TpsWindow* AddChild(TpsWindowPtr aNode);
  // Gives the child back to the caller.
  TpsWindowPtr RemoveChild(TpsWindow* aNode);
  // Frees the child.
  void FreeChild(TpsWindow* aNode);
  Integer ChildCount() const { return static_cast<Integer>(FChildren.size()); }
  TpsWindow* Child(Integer aIndex) const { return FChildren[static_cast<size_t>(aIndex)].get(); }
  TpsWindowList ChildList() const;
  const TpsWindowList& FloatingWindows() const { return FFloatingWindows; }
  TpsWindow* GetParent() const { return Parent; }
  bool IsRoot() const { return Parent == nullptr; }
  TpsWindow* GetRoot();
  Integer GetDepth() const;
  Integer IndexOfChild(const TpsWindow* aNode) const;
  TpsWindow* PreviousSibling() const;
  TpsWindow* NextSibling() const;
  bool IsAncestorOf(const TpsWindow* aNode) const;
  bool IsWithin(const TpsWindow* aNode) const;
  TpsWindow* FirstOfTwoChildren(TpsWindow* a, TpsWindow* b) const;
  // The nearest common ancestor of a and b, with the children of it on the
  // way to each (a or b itself when it is that child; nullptr when a or b
  // is the ancestor).
  static TpsWindow* FindCommonParent(TpsWindow* a, TpsWindow* b, TpsWindow*& aChildA, TpsWindow*& aChildB);
  static TpsWindow* FirstInDocumentOrder(TpsWindow* a, TpsWindow* b);

  // --- Geometry ---
  Integer GetAbsoluteLeft() const;
  Integer GetAbsoluteTop() const;
  Integer GetAbsoluteRight() const { return GetAbsoluteLeft() + Width - 1; }
  Integer GetAbsoluteBottom() const { return GetAbsoluteTop() + Height - 1; }
  TpsRect GetAbsoluteRect() const;
  TpsPoint GetOffsetFromRoot() const;
  TpsRect GetRectInRoot() const;
  TpsPoint LocalToAbsolute(const TpsPoint& aPoint) const;
  TpsPoint AbsoluteToLocal(const TpsPoint& aPoint) const;
  TpsPoint AbsoluteToViewport(const TpsPoint& aPoint) const;
  Integer XRelativeToRoot(Integer aX) const;
  void SetBounds(Integer aLeft, Integer aTop, Integer aWidth, Integer aHeight);
  void SetBoundsRect(const TpsRect& aRect);
  void SetPosition(Integer aLeft, Integer aTop);
  // -1 keeps a value.
  void SetSize(Integer aWidth, Integer aHeight);
  void GrowHeightTo(Integer aHeight);
  static bool OverlapsSibling(const TpsWindow* a, const TpsWindow* b);
  TpsWindow* LastChild(bool aExcludeFloating) const;
  TpsWindow* LowestChild(bool aIncludeFloating, Integer& aBottom) const;
  bool IsVisibleOn(const TpsAbstractCanvas& aCanvas) const;
  // The deepest window under (aX, aY), given in the parent's coordinates.
  TpsWindow* ChildAt(Integer aX, Integer aY, bool aIncludeFloating);

  // --- Message walks ---
  // Each stops at a consumed message, but BroadcastToChildren, which
  // resets the handled state between children. The owning forms free the
  // message at the end; Broadcast never frees.
  void BroadcastToChildren(TpsMessage& aMessage);
  void BroadcastToChildren(TpsMessagePtr aMessage);
  void DispatchToChildren(TpsMessage& aMessage);
  void DispatchToChildren(TpsMessagePtr aMessage);
  void Broadcast(TpsMessage& aMessage, bool aSkipSelf);
  void SendToAncestors(TpsMessage& aMessage, TpsWindow* aFrom);
  void SendToAncestors(TpsMessagePtr aMessage, TpsWindow* aFrom);
  // The windows after (before) this one in document order. aX -1 and an
  // empty range (aRangeRight below aRangeLeft) filter nothing.
  void SendToFollowingWindows(TpsMessage& aMessage, Integer aX = -1, bool aSkipOwnSubtree = false,
                              Integer aRangeLeft = 0, Integer aRangeRight = -1);
  void SendToFollowingWindows(TpsMessagePtr aMessage, Integer aX = -1, bool aSkipOwnSubtree = false,
                              Integer aRangeLeft = 0, Integer aRangeRight = -1);
  void SendToPrecedingWindows(TpsMessage& aMessage, Integer aX = -1, bool aSkipOwnSubtree = false,
                              Integer aRangeLeft = 0, Integer aRangeRight = -1);
  void SendToPrecedingWindows(TpsMessagePtr aMessage, Integer aX = -1, bool aSkipOwnSubtree = false,
                              Integer aRangeLeft = 0, Integer aRangeRight = -1);

  // --- Deferred messages ---
  void DeferMessage(TpsMessage& aMessage, bool aMarkHandled);
  bool HasDeferredMessages() const { return !FDeferredMessages.empty(); }
  void ClearDeferredMessages() { FDeferredMessages.clear(); }
  void RepostDeferredMessages(TpsWindow* aTarget, bool aProcess);

  // --- Hints ---
  void AddHintArea(std::unique_ptr<TpsHintTriggerArea> aArea);
  void ClearHintAreas();
  TpsHintTriggerArea* FindHintArea(const TpsPoint& aPoint) const;
  Integer HintAreaCount() const { return static_cast<Integer>(FHintAreas.size()); }
  void HideHint();
  TpsHintWindow* GetHintWindow() const { return FHintWindow.get(); }
  TpsHintTriggerArea* GetCurrentHintArea() const { return FCurrentHintArea; }

  TpsWindowManager* Manager = nullptr;
  TpsPoint LastMousePoint;
  TpsWindow* Parent;
  Integer WindowId = 0;
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  TColor Color = vcl::clWhite;
  TpsFlags WindowFlags{32};
  // For a floating window or a label: the window it belongs to.
  TpsWindow* Owner = nullptr;
  bool Destroyed = false;

 protected:
  virtual ~TpsWindow();
  // The destruction steps that need the window whole; descendants that
  // add steps call the base's last.
  virtual void BeforeDestruction();
  friend struct TpsWindowDeleter;
  friend class TpsWindowManager;

 private:
  void Walk(TpsMessage& aMessage, bool aForward, Integer aX, bool aSkipOwnSubtree, Integer aRangeLeft,
            Integer aRangeRight);

  std::vector<TpsWindowPtr> FChildren;
  TpsWindowList FFloatingWindows;  // the root's floating children
  std::vector<TpsMessagePtr> FDeferredMessages;
  TpsHintTriggerAreaList FHintAreas;
  std::unique_ptr<TpsHintWindow> FHintWindow;
  TpsHintTriggerArea* FCurrentHintArea = nullptr;
};

// A rectangle relative to its owner's absolute top-left through which the
// owner receives the mouse whatever lies under it.
struct TpsMouseCatchArea {
  TpsWindow* Owner;
  Integer AreaId;
  TpsRect AreaRect;
};

class TpsWindowManager {
 public:
  // The screen surface is not owned.
  explicit TpsWindowManager(TpsAbstractCanvas* aCanvas);
  ~TpsWindowManager();
  TpsWindowManager(const TpsWindowManager&) = delete;
  TpsWindowManager& operator=(const TpsWindowManager&) = delete;

  TpsAbstractCanvas* Canvas() const { return FCanvas; }

  // --- The owner's callbacks ---
  // A device context for painting; handed back through OnReleaseDC.
  std::function<vcl::TCanvas*()> OnGetDC;
  std::function<void(vcl::TCanvas*)> OnReleaseDC;
  // A new timer; the manager frees it (through the class library) when
  // it is done with it.
  std::function<vcl::TTimer*()> OnCreateTimer;

  // --- Root ---
  // Frees the previous root; the new one gets the manager and an id.
  void SetRootWindow(TpsWindowPtr aRoot);
  TpsWindow* Root() const { return FRoot.get(); }
  TpsRect GetRootBounds() const;

  // --- Queue ---
  void PostMessage(TpsMessagePtr aMessage);
  // The sender keeps the message (its AutoFree is clear).
  void PostMessage(TpsMessage& aMessage);
  void PostAndProcess(TpsMessagePtr aMessage);
  void PostAndProcess(TpsMessage& aMessage);
  // Dispatches until the queue is empty, then paints what was invalidated.
  void ProcessMessages();
  TpsMessage* GetLastPostedMessage() const { return FQueue.LastPosted(); }
  Integer QueuedCount() const { return FQueue.Count(); }
  // Drops every queued message (owned ones are freed).
  void ClearQueue() { FQueue.Clear(); }
  // Routes one message at once, bypassing the queue.
  void DispatchMessage(TpsMessage& aMessage);
  void DispatchMessage(TpsMessagePtr aMessage);
  void BroadcastMessage(TpsMessage& aMessage);
  void BroadcastMessage(TpsMessagePtr aMessage);
  // Messages already queued are processed first (they may change or free
  // the focused node). Then, with a focused node: it becomes the target and
  // the message is posted and processed (an owned one is moved out of
  // aMessage); false and the message untouched without one.
  bool SendToFocusedNode(TpsMessage& aMessage);
  bool SendToFocusedNode(TpsMessagePtr& aMessage);
  // The deepest window under the point (floating ones ignored), then its
  // ancestors, until one consumes the message; the consumer or nullptr.
  TpsWindow* SendToWindowAtPoint(TpsMessage& aMessage, const TpsPoint& aPoint);

  // --- Focus and capture ---
  void SetFocusedNode(TpsWindow* aNode);
  void ClearFocusedNode(TpsWindow* aNode);
  bool IsFocused(const TpsWindow* aNode) const { return aNode && aNode == FFocusedNode; }
  TpsWindow* FocusedNode() const { return FFocusedNode; }
  void SetCapture(TpsWindow* aNode) { FCapturedNode = aNode; }
  // Releases when aNode is nullptr or holds the capture.
  void ReleaseCapture(TpsWindow* aNode);
  bool IsCaptured(const TpsWindow* aNode) const { return aNode && aNode == FCapturedNode; }
  TpsWindow* CapturedNode() const { return FCapturedNode; }

  // --- Catch areas and hit test ---
  void AddCatchArea(TpsWindow* aOwner, Integer aAreaId, const TpsRect& aRect);
  // A negative id removes all of the owner's areas.
  void RemoveCatchAreas(TpsWindow* aOwner, Integer aAreaId);
  TpsWindow* FindCatchArea(const TpsPoint& aPoint, Integer& aAreaId) const;
  Integer CatchAreaCount() const { return static_cast<Integer>(FCatchAreas.size()); }
  TpsWindow* WindowAtPoint(const TpsPoint& aPoint, Integer& aAreaId) const;
  bool MouseRoutingEnabled = true;

  // --- Painting ---
  void InvalidateWindow(TpsWindow* aWindow, bool aOnlyIfVisible);
  void ValidateWindow(TpsWindow* aWindow);
  bool IsInvalidated(const TpsWindow* aWindow) const;
  const TpsWindowList& Invalidated() const { return FInvalidated; }
  void PaintInvalidatedWindows();
  void PaintAll();
  // For good: the manager never paints again.
  void DisablePainting() { FPaintingDisabled = true; }
  bool PaintingDisabled() const { return FPaintingDisabled; }
  // Switched off while the smart-tag analysis runs; invalidations are
  // still collected.
  bool PaintingEnabled = true;
  void BeginDraw();
  void EndDraw();
  void AddBeforePaintHandler(const void* aSubscriber, htmldoc::TNotifyEvent aHandler);
  void RemoveBeforePaintHandler(const void* aSubscriber);
  void AddAfterPaintHandler(const void* aSubscriber, htmldoc::TNotifyEvent aHandler);
  void RemoveAfterPaintHandler(const void* aSubscriber);

  // --- Labels ---
  // The manager takes the label over.
  TpsWindow* AddStickyWindow(TpsWindowPtr aLabel);
  void FreeStickyWindowsOf(TpsWindow* aOwner);
  Integer StickyWindowCount() const { return static_cast<Integer>(FStickyWindows.size()); }
  TpsWindow* StickyWindow(Integer aIndex) const { return FStickyWindows[static_cast<size_t>(aIndex)].get(); }

  // --- Ids ---
  Integer NextWindowId() { return ++FIdCounter; }
  bool IsLiveWindowId(Integer aId) const { return FWindowIds.Contains(aId); }
  Integer LiveWindowCount() const { return FWindowIds.Count(); }

  // --- Hover and hints ---
  // Only when none is set.
  void SetHoverWindow(TpsWindow* aWindow);
  void ClearHoverWindow(TpsWindow* aWindow);
  TpsWindow* HoverWindow() const { return FHoverWindow; }
  void StartHintTimer(TpsWindow* aWindow, Integer aInterval);
  // 0 keeps the interval.
  void RestartHintTimer(Integer aInterval);
  void StopHintTimer();
  bool IsHintTimerOf(const TpsWindow* aWindow) const { return aWindow && aWindow == FHintTimerWindow; }
  vcl::TTimer* HintTimer() const { return FHintTimer; }

 private:
  friend class TpsWindow;
  void Route(TpsMessage& aMessage);
  void DispatchPositional(TpsMessage& aMessage);
  void Deliver(TpsWindow* aWindow, TpsMessage& aMessage);
  void RegisterWindow(TpsWindow* aWindow);
  void UnregisterWindow(TpsWindow* aWindow);
  void FreeTimer(vcl::TTimer* aTimer);
  void FreeRetiredTimers();

  TpsAbstractCanvas* FCanvas;
  TpsWindowList FInvalidated;
  Integer FPaintNesting = 0;
  bool FPaintingDisabled = false;
  htmldoc::TpsNotificationEventHandlerList FBeforePaintHandlers;
  htmldoc::TpsNotificationEventHandlerList FAfterPaintHandlers;
  htmldoc::TpsSortedIntList FWindowIds{true, true, 100, 256};
  Integer FIdCounter = 0;
  std::vector<TpsWindowPtr> FStickyWindows;
  TpsMessageQueue FQueue;
  TpsWindow* FFocusedNode = nullptr;
  TpsWindow* FCapturedNode = nullptr;
  TpsWindow* FHoverWindow = nullptr;
  std::vector<TpsMouseCatchArea> FCatchAreas;
  vcl::TTimer* FHintTimer = nullptr;
  TpsWindow* FHintTimerWindow = nullptr;
  // A timer stopped while it ticks is freed once its tick has returned.
  bool FInHintTick = false;
  std::vector<vcl::TTimer*> FRetiredTimers;
  // Declared last: freed first, while the lists above still exist.
  TpsWindowPtr FRoot;
};

}  // namespace htmlview
