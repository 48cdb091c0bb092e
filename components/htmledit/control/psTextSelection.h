#pragma once
// The editor's text selection: the first and last selected element, each
// a text node and an element id, and the caret position where selecting
// began. A new one is made with every document and every rebuild of the
// view tree, so it never names a node of another tree. The view reaches it
// through IpsTextSelection.
//
// The selected state itself lives on the document's elements (the text
// lines' lists and the block tags a block keeps), where painting, the
// editing operations and the queries read it; the selection object marks
// and unmarks them by one walk over the view in document order.
#include "htmledit/view/psEditorHost.h"

namespace htmledit {

class TpsHTMLEditBase;

class TpsTextSelection final : public htmlview::IpsTextSelection {
 public:
  explicit TpsTextSelection(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}

  // The view's call before it deletes the selected elements: the range is
  // forgotten, the marks are left to the deletion.
  void Clear() override { Clear(false); }
  // With aUnmark the elements from the start to the end lose their mark.
  void Clear(bool aUnmark);
  bool Active() override { return FActive; }
  bool Selecting() override { return FSelecting; }
  bool ExtendSuspended() override { return FExtendSuspended; }
  void SetAnchor(const htmlview::TpsSelectionRange& aPosition) override;
  void ExtendTo(const htmlview::TpsSelectionRange& aPosition) override;
  void ClearAnchor() override;
  void SuspendExtending() override { FExtendSuspended = true; }
  // Marks exactly the elements of aRange; of the old range what lies
  // outside the new one is unmarked.
  void SetRange(const htmlview::TpsSelectionRange& aRange) override;
  bool LiesWithin(htmlview::TpsWindow* aWindow) override;

  // Both ids must be set; each is looked up by the text line holding it.
  void SelectRangeByIDs(uint32_t aStartID, uint32_t aEndID);
  // From the first element of the first text line to the last of the last.
  void SelectAll();
  // Unmarks the whole document and forgets everything, the anchor too
  // (after the selected elements were deleted or replaced).
  void Reset();
  // Start and end read back from the marks (when aForce or active); the
  // anchor goes in any case.
  void UpdateFromMarks(bool aForce);
  // The direct children of the root that hold the start and the end.
  void GetTopNodes(htmlview::TpsWindow*& aFirst, htmlview::TpsWindow*& aLast);
  htmlview::TpsTextNode* GetStartNode() const { return FRange.StartNode; }
  // A half with node and element id.
  static bool IsPositionValid(const htmlview::TpsSelectionRange& aPosition);
  // Whether the half (aNodeA, aIdA) comes before (aNodeB, aIdB) in the
  // document.
  static bool IsEarlier(htmlview::TpsWindow* aNodeA, uint32_t aIdA, htmlview::TpsWindow* aNodeB, uint32_t aIdB);

  const htmlview::TpsSelectionRange& Range() const { return FRange; }
  const htmlview::TpsSelectionRange& Anchor() const { return FAnchor; }
  const htmlview::TpsSelectionRange& Current() const { return FCurrent; }

 private:
  // Walks the view in document order from aCover's start through its end
  // (the whole document when aCover is not valid) and sets each element's
  // mark: on from aRange's start through its end, off elsewhere (off
  // everywhere when aRange is not valid).
  void Mark(const htmlview::TpsSelectionRange& aCover, const htmlview::TpsSelectionRange& aRange);

  TpsHTMLEditBase* FEditor;
  bool FActive = false;
  bool FSelecting = false;
  bool FExtendSuspended = false;
  htmlview::TpsSelectionRange FRange;
  htmlview::TpsSelectionRange FAnchor;
  htmlview::TpsSelectionRange FCurrent;
};

}  // namespace htmledit
