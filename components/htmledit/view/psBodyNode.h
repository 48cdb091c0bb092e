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

  // Only outside the memo style.
  void CenterHorizontally(Integer aClientWidth);
  TpsAbstractCanvas* GetCanvas() const;
  static TpsWindow* GetNextFlowSibling(TpsWindow* aParent, TpsWindow* aChild);

  Integer BodyStyleId = -1;
};

}  // namespace htmlview
