#include "htmledit/view/psSmartTagView.h"

namespace htmlview {

namespace {

// A message of the caller's (never freed by a router), delivered straight
// to the window's handler.
struct TDirect : TpsMessage {
  TDirect(Integer aId, TpsWindow* aTarget) : TpsMessage(mrCommand, aId, aTarget) { AutoFree = false; }
};

// Message 980, delivered straight to the node.
bool AnswersAsBlock(TpsWindow* aNode) {
  TDirect query(psmIsBlockNode, aNode);
  aNode->HandleMessage(query);
  return query.Result;
}

}  // namespace

bool TpsSmartTagViewNode::IsSmartTagBlock() { return AnswersAsBlock(FWindow); }

Integer TpsSmartTagViewNode::SmartTagChildCount() { return FWindow->ChildCount(); }

htmledit::IpsSmartTagNode* TpsSmartTagViewNode::SmartTagChild(Integer aIndex) {
  return FView.NodeFor(FWindow->Child(aIndex));
}

void TpsSmartTagViewNode::CollectSmartTagText(htmledit::TpsSmartTagAnalysisBlock& aBlock) {
  TDirect collect(psmCollectSmartTagText, FWindow);
  collect.Data = &aBlock;
  FWindow->HandleMessage(collect);
  if (collect.Result) aBlock.AddText(this, collect.WideText, collect.ElementId);
}

void TpsSmartTagViewNode::ClearSmartTags(Integer aKeepId) {
  TDirect clear(psmClearSmartTags, FWindow);
  clear.Value = aKeepId;
  FWindow->HandleMessage(clear);
}

void TpsSmartTagViewNode::SetSmartTag(const htmledit::TpsSmartTagMarkRequest& aMark) {
  TDirect mark(psmSetSmartTag, FWindow);
  mark.SetParam(1, aMark.First);
  mark.SetParam(2, aMark.Last);
  mark.Value = aMark.MarkId;
  mark.Value2 = aMark.HandlerId;
  mark.SmartTagOption = 1;
  mark.SmartTagHandler = aMark.Handler;
  htmledit::TpsSmartTagDataRef data = aMark.Data;
  mark.Data = &data;
  FWindow->HandleMessage(mark);
}

htmledit::IpsSmartTagNode* TpsSmartTagView::Root() {
  for (auto it = FNodes.begin(); it != FNodes.end();)
    it = FManager.IsLiveWindowId(it->first) ? std::next(it) : FNodes.erase(it);
  return NodeFor(FManager.Root());
}

htmledit::IpsSmartTagNode* TpsSmartTagView::NodeFor(TpsWindow* aWindow) {
  if (!aWindow) return nullptr;
  std::unique_ptr<TpsSmartTagViewNode>& node = FNodes[aWindow->WindowId];
  if (!node || node->Window() != aWindow) node = std::make_unique<TpsSmartTagViewNode>(*this, aWindow);
  return node.get();
}

AnsiString GetSmartTagText(TpsWindow* aBlock, Integer aMarkId) {
  TDirect get(psmGetSmartTagText, nullptr);
  get.Value = aMarkId;
  for (Integer i = 0; i < aBlock->ChildCount(); ++i) {
    get.Target = aBlock->Child(i);
    aBlock->Child(i)->HandleMessage(get);
  }
  return get.Text;
}

bool FindSmartTag(TpsWindow* aBlock, Integer aMarkId, TpsSelectionRange& aRange) {
  ClearSelectionRange(aRange);
  TDirect find(psmFindSmartTag, nullptr);
  find.Value = aMarkId;
  find.Data = &aRange;
  bool found = false;
  for (Integer i = 0; i < aBlock->ChildCount() && !find.Option; ++i) {
    find.Target = aBlock->Child(i);
    find.Result = false;
    aBlock->Child(i)->HandleMessage(find);
    found = found || find.Result;
  }
  return found;
}

}  // namespace htmlview
