#pragma once
// The editor's text selection: the first and last selected element, each
// a text node and an element id, and the caret position where selecting
// began. A new one is made with every document and every rebuild of the
// view tree, so it never names a node of another tree. The view reaches it
// through IpsTextSelection.
#include "htmledit/view/psEditorHost.h"

namespace htmledit {

class TpsHTMLEditBase;

class TpsTextSelection final : public htmlview::IpsTextSelection {
 public:
  explicit TpsTextSelection(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}

  // Forgets the range (the view has dropped or is dropping the elements).
  void Clear() override { Reset(); }
  bool Active() { return FActive; }
  bool Selecting() { return FSelecting; }
  bool ExtendSuspended() { return FExtendSuspended; }
  void SetAnchor(const htmlview::TpsSelectionRange& aPosition);
  void ExtendTo(const htmlview::TpsSelectionRange& aPosition);
  void ClearAnchor();
  void SuspendExtending() { FExtendSuspended = true; }
  void SetRange(const htmlview::TpsSelectionRange& aRange);
  bool LiesWithin(htmlview::TpsWindow* aWindow);

  // The first and last text positions of the document.
  void SelectAll();
  // Everything forgotten, the anchor too.
  void Reset();
  // A half with node and element id.
  static bool IsPositionValid(const htmlview::TpsSelectionRange& aPosition);
  // Whether the half (aNodeA, aIdA) comes before (aNodeB, aIdB) in the
  // document.
  static bool IsEarlier(htmlview::TpsWindow* aNodeA, uint32_t aIdA, htmlview::TpsWindow* aNodeB, uint32_t aIdB);

  const htmlview::TpsSelectionRange& Range() const { return FRange; }
  const htmlview::TpsSelectionRange& Anchor() const { return FAnchor; }
  const htmlview::TpsSelectionRange& Current() const { return FCurrent; }

 private:
  TpsHTMLEditBase* FEditor;
  bool FActive = false;
  bool FSelecting = false;
  bool FExtendSuspended = false;
  htmlview::TpsSelectionRange FRange;
  htmlview::TpsSelectionRange FAnchor;
  htmlview::TpsSelectionRange FCurrent;
};

}  // namespace htmledit
