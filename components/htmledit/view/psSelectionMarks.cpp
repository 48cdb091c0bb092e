#include "htmledit/view/psSelectionMarks.h"

#include "htmledit/view/psDocumentNode.h"

namespace htmlview {

TpsSelectionMarkRequest::TpsSelectionMarkRequest(const TpsSelectionRange& aCover, const TpsSelectionRange& aRange)
    : FCover(aCover),
      FRange(aRange),
      FWholeDocument(!IsSelectionRangeValid(aCover)),
      FHasRange(IsSelectionRangeValid(aRange)),
      FInCover(FWholeDocument) {}

bool TpsSelectionMarkRequest::Names(TpsDocumentNode* aHalfNode, uint32_t aHalfId, TpsDocumentNode* aNode,
                                    uint32_t aId) {
  return aHalfNode && aHalfNode == aNode && aHalfId == aId;
}

bool TpsSelectionMarkRequest::Visit(TpsDocumentNode* aNode, htmldoc::TpsChunkElement* aElement, bool aMarkable) {
  if (FStopped || !aElement) return false;
  const uint32_t id = aElement->Id;
  if (!FWholeDocument && Names(RangeStartNode(FCover), FCover.StartElementID, aNode, id)) FInCover = true;
  if (FHasRange && Names(RangeStartNode(FRange), FRange.StartElementID, aNode, id)) {
    FInRange = true;
    FStartMet = true;
  }
  bool changed = false;
  // The cursor is never part of a selection.
  if (FInCover && aMarkable && aElement->Kind != htmldoc::ceCursor && aElement->Selected != FInRange) {
    aElement->Selected = FInRange;
    changed = true;
  }
  if (FHasRange && FInRange && Names(RangeEndNode(FRange), FRange.EndElementID, aNode, id)) {
    FInRange = false;
    FEndMet = true;
  }
  if (!FWholeDocument && Names(RangeEndNode(FCover), FCover.EndElementID, aNode, id)) FStopped = true;
  return changed;
}

}  // namespace htmlview

// --- The nodes' part of the walk ---

#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psDivNodes.h"
#include "htmledit/view/psTextNode.h"

namespace htmlview {

namespace {

// The flowing children of aParent from aFrom (nil: the first) through aTo
// (nil: the last), each asked to mark its part, until the walk ends.
void MarkFlowChildren(TpsWindow* aParent, TpsSelectionMarkRequest& aRange, TpsWindow* aFrom, TpsWindow* aTo) {
  bool started = aFrom == nullptr;
  for (TpsWindow* child : aParent->ChildList()) {
    if (!started && child != aFrom) continue;
    started = true;
    if (!child->WindowFlags.GetFlag(wfFloating))
      if (auto* node = dynamic_cast<TpsDocumentNode*>(child)) node->MarkSelection(aRange, nullptr, nullptr);
    if (aRange.StopReached() || child == aTo) return;
  }
}

}  // namespace

void TpsBodyNode::MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) {
  if (!aFromChild && OpeningTag) aRange.Visit(this, OpeningTag, false);
  MarkFlowChildren(this, aRange, aFromChild, aToChild);
  if (!aToChild && ClosingTag && !aRange.StopReached()) aRange.Visit(this, ClosingTag, false);
}

void TpsBodyNode::GetBlockRange(TpsSelectionRange& aRange) {
  PS_ASSERT(OpeningTag && ClosingTag);
  aRange = TpsSelectionRange{};
  aRange.StartBlock = this;
  aRange.StartElementID = OpeningTag->Id;
  aRange.EndBlock = this;
  aRange.EndElementID = ClosingTag->Id;
}

void TpsDivNode::MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) {
  if (aRange.StopReached()) return;
  if (OpeningTag) aRange.Visit(this, OpeningTag);
  if (aRange.StopReached()) return;
  MarkFlowChildren(this, aRange, aFromChild, aToChild);
  if (ClosingTag && !aRange.StopReached()) aRange.Visit(this, ClosingTag);
}

void TpsDivNode::GetBlockRange(TpsSelectionRange& aRange) {
  PS_ASSERT(OpeningTag && ClosingTag);
  aRange = TpsSelectionRange{};
  aRange.StartBlock = this;
  aRange.StartElementID = OpeningTag->Id;
  aRange.EndBlock = this;
  aRange.EndElementID = ClosingTag->Id;
}

void TpsTextNode::MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow*, TpsWindow*) {
  htmldoc::TpsDataChunk* chunk = GetLineChunk();
  if (!chunk) return;
  bool changed = false;
  for (htmldoc::TpsChunkElement* e = chunk->First(); e && !aRange.StopReached(); e = e->Next)
    changed = aRange.Visit(this, e) || changed;
  if (changed)
    if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
}

}  // namespace htmlview
