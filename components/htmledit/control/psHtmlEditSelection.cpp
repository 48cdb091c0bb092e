// The text selection's bookkeeping: the anchor, the range worked out from
// the anchor and the caret, the order of two positions in the document.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psWindows.h"

namespace htmledit {

using htmlview::TpsSelectionRange;
using htmlview::TpsWindow;

bool TpsTextSelection::IsPositionValid(const TpsSelectionRange& aPosition) {
  return (aPosition.StartNode && aPosition.StartElementID != 0) || (aPosition.EndNode && aPosition.EndElementID != 0);
}

void TpsTextSelection::SetAnchor(const TpsSelectionRange& aPosition) {
  if (FActive) Reset();
  if (!IsPositionValid(aPosition)) return;
  FSelecting = true;
  FExtendSuspended = false;
  FAnchor = aPosition;
}

void TpsTextSelection::ClearAnchor() {
  RTL_ASSERT_MSG(!FActive, "Assertion failure");
  FSelecting = false;
  FExtendSuspended = false;
  htmlview::ClearSelectionRange(FAnchor);
}

bool TpsTextSelection::IsEarlier(TpsWindow* aNodeA, uint32_t aIdA, TpsWindow* aNodeB, uint32_t aIdB) {
  if (aNodeA == aNodeB) {
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeA);
    return node && node->FindElement(aIdA, aIdB) == aIdA;
  }
  TpsWindow* childA = nullptr;
  TpsWindow* childB = nullptr;
  TpsWindow* common = TpsWindow::FindCommonParent(aNodeA, aNodeB, childA, childB);
  if (!common) return false;
  if (!childA) {
    // A's node holds B: A's element against the child on the way to B.
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeA);
    auto* child = dynamic_cast<htmlview::TpsDocumentNode*>(childB);
    if (!node || !child) return true;
    const uint32_t childFirst = child->GetFirstElementId();
    return node->FindElement(aIdA, childFirst) == aIdA;
  }
  if (!childB) {
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeB);
    auto* child = dynamic_cast<htmlview::TpsDocumentNode*>(childA);
    if (!node || !child) return false;
    const uint32_t childFirst = child->GetFirstElementId();
    return node->FindElement(aIdB, childFirst) == childFirst;
  }
  return common->FirstOfTwoChildren(childA, childB) == childA;
}

void TpsTextSelection::ExtendTo(const TpsSelectionRange& aPosition) {
  if (!IsPositionValid(aPosition)) return;
  FExtendSuspended = false;
  if (aPosition.StartElementID == FCurrent.StartElementID && aPosition.EndElementID == FCurrent.EndElementID) return;
  FCurrent = aPosition;
  TpsSelectionRange range;
  if (FAnchor.StartElementID != 0 && FAnchor.StartElementID == aPosition.EndElementID) {
    range = {FAnchor.StartNode, FAnchor.StartElementID, FAnchor.StartNode, FAnchor.StartElementID};
  } else if (FAnchor.EndElementID != 0 && FAnchor.EndElementID == aPosition.StartElementID) {
    range = {FAnchor.EndNode, FAnchor.EndElementID, FAnchor.EndNode, FAnchor.EndElementID};
  } else {
    const bool anchorSecond = FAnchor.EndElementID != 0;
    TpsWindow* anchorNode = anchorSecond ? FAnchor.EndNode : FAnchor.StartNode;
    const uint32_t anchorId = anchorSecond ? FAnchor.EndElementID : FAnchor.StartElementID;
    const bool newSecond = aPosition.EndElementID != 0;
    TpsWindow* newNode = newSecond ? aPosition.EndNode : aPosition.StartNode;
    const uint32_t newId = newSecond ? aPosition.EndElementID : aPosition.StartElementID;
    if (IsEarlier(anchorNode, anchorId, newNode, newId)) {
      range = {FAnchor.EndNode, FAnchor.EndElementID, aPosition.StartNode, aPosition.StartElementID};
    } else {
      range = {aPosition.EndNode, aPosition.EndElementID, FAnchor.StartNode, FAnchor.StartElementID};
    }
  }
  SetRange(range);
}

// The elements of the range are marked by the view's mark operation; the
// selection keeps its two ends.
void TpsTextSelection::SetRange(const TpsSelectionRange& aRange) {
  FRange = aRange;
  FActive = true;
}

bool TpsTextSelection::LiesWithin(TpsWindow* aWindow) {
  RTL_ASSERT_MSG(aWindow && FActive, "Assertion failure");
  const auto within = [aWindow](TpsWindow* aNode) { return aNode && (aNode == aWindow || aWindow->IsAncestorOf(aNode)); };
  return within(FRange.StartNode) && within(FRange.EndNode);
}

void TpsTextSelection::SelectAll() {
  htmlview::TpsBodyNode* root = FEditor->RootWindow();
  RTL_ASSERT_MSG(root, "Assertion failure");
  htmlview::TpsNodeElement first, last;
  htmlview::TpsMessage ask(htmlview::mrCommand, htmlview::psmQueryFirstElement, root);
  ask.AutoFree = false;
  ask.Data = &first;
  root->HandleMessage(ask);
  htmlview::TpsMessage askLast(htmlview::mrCommand, htmlview::psmQueryLastElement, root);
  askLast.AutoFree = false;
  askLast.Data = &last;
  root->HandleMessage(askLast);
  FRange = {dynamic_cast<htmlview::TpsTextNode*>(first.Node), first.ElementId, dynamic_cast<htmlview::TpsTextNode*>(last.Node),
            last.ElementId};
  FActive = first.ElementId != 0 && last.ElementId != 0;
  FSelecting = false;
  htmlview::ClearSelectionRange(FAnchor);
  htmlview::ClearSelectionRange(FCurrent);
}

void TpsTextSelection::Reset() {
  htmlview::ClearSelectionRange(FRange);
  htmlview::ClearSelectionRange(FAnchor);
  htmlview::ClearSelectionRange(FCurrent);
  FActive = false;
  FSelecting = false;
  FExtendSuspended = false;
}

}  // namespace htmledit
