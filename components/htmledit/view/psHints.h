#pragma once
// Border labels, overlap lists and mouse auto-scroll, three small
// mechanisms that ride on the windows.
#include <functional>
#include <memory>

#include "htmledit/view/psWindows.h"
#include "vcl/Controls.h"

namespace vcl {
class TTimer;
}

namespace htmlview {

// The label that marks a block's border: an outline of the block and its
// tag name in a tinted box at the top-left corner. A child of the root
// that the root does not list; the window manager owns it.
class TpsStickyWindow : public TpsWindow {
 public:
  // The creator sets the bounds and hands the label to the manager's
  // AddStickyWindow.
  TpsStickyWindow(TpsWindow* aOwner, TColor aLabelColor, AnsiString aCaption);
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;

  AnsiString Caption;
  TColor LabelColor;
  TColor BorderColor = vcl::clBlack;
  TpsRect LabelRect{0, 0, -1, -1};  // relative to the label's absolute top-left
  bool Tinted = true;
};

// The floated windows that lie over a view node, relative to its absolute
// top-left, so its text flows around them.
class TpsOverlappingWindows {
 public:
  explicit TpsOverlappingWindows(TpsWindow* aNode) : Node(aNode) {}
  // Floated windows that start no lower than the node's bottom and meet
  // it, owned by the node or an earlier one (not by the node itself with
  // aExcludeOwn).
  void Update(bool aExcludeOwn);
  void Clear() { FRects = {}; }
  Integer Count() const { return FRects.Count(); }
  const htmldoc::TpsRectangleRecord& Get(Integer aIndex) const { return FRects.Get(aIndex); }

  TpsWindow* Node;

 private:
  htmldoc::TpsRectangleList FRects;
};

// While the left button is held and the pointer leaves the editor above
// or below, a 50 ms timer scrolls the document by the distance outside.
class TpsMouseScrollManager {
 public:
  explicit TpsMouseScrollManager(vcl::TControl* aEditor);
  ~TpsMouseScrollManager();
  TpsMouseScrollManager(const TpsMouseScrollManager&) = delete;
  TpsMouseScrollManager& operator=(const TpsMouseScrollManager&) = delete;

  void MouseDown(Integer aX, Integer aY);
  void MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY);
  void MouseUp(Integer aX, Integer aY);
  bool IsScrolling() const;
  void SetScrolling(bool aActive, Integer aDelta);
  Integer ScrollDelta() const { return FScrollDelta; }
  vcl::TTimer* ScrollTimer() const { return FScrollTimer; }

  std::function<void(TpsMouseScrollManager* aSender, Integer aDelta)> OnScroll;
  bool AutoScrollEnabled = true;
  Integer LastX = 0;
  Integer LastY = 0;

 private:
  vcl::TControl* FEditor;
  vcl::TTimer* FScrollTimer;  // owned; freed through the class library
  Integer FScrollDelta = 0;
};

}  // namespace htmlview
