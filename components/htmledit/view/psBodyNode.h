#pragma once
// The root of the view-node tree: the document's body. It places the page
// in the control, lays out the whole body, paints the page background and,
// after the flow, the floated windows, and sends a mouse press that hit no
// text to the nearest text line.
#include "htmledit/view/psBlockNode.h"

namespace htmlview {

class TpsBodyNode : public TpsBlockNode {
 public:
  // The editor must be given.
  explicit TpsBodyNode(IpsEditorHost* aEditor);

  void HandleMessage(TpsMessage& aMessage) override;
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  // Body coordinates, not clipped to the padding box.
  void PaintRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) override;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  // The flowing children from aFromChild through aToChild; the body's own
  // tags may start or end a range but are never marked.
  void MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) override;
  // (the body, its opening tag, the body, its closing tag): all of the
  // body's content, for a line that stands directly in the body.
  void GetBlockRange(TpsSelectionRange& aRange) override;

  // Only outside the memo style.
  void CenterHorizontally(Integer aClientWidth);
  TpsAbstractCanvas* GetCanvas() const;
  static TpsWindow* GetNextFlowSibling(TpsWindow* aParent, TpsWindow* aChild);

  // On the gathered list: the block around the marker split in two, both
  // halves keeping its tag, class and style.
  void SplitBlockAtMarker(Integer aMarker, bool aRemoveMarker);
  // ".x" and "x" alike; empty removes the class.
  void SetCursorBlockClass(const AnsiString& aClass);

  Integer BodyStyleId = -1;

 private:
  // The whole-document edits; false for other messages.
  bool HandleBodyEdit(TpsMessage& aMessage);
  // Enter: splits unless that would make a second empty block in a row
  // where the editor allows none.
  void SplitForEnter(const TpsMessage& aMessage);
  void DeleteImageElement(uint32_t aElementId);
};

}  // namespace htmlview
