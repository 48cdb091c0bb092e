#include "support/WexCheckTree.h"

#include "support/FrameDrawing.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/UxTheme.h"

namespace support {

using namespace vcl;

TWexCheckTree::TWexCheckTree(TComponent* owner) : TWexCustomTreeView(owner), highlightColor_(clHighlight) {
  SetAutoSelect(false);
  checkImages_ = new TImageList(this);
  checkImages_->SetName("CheckImages");
  SetStateImages(checkImages_);
  CreateCheckImages();
  checkImageWidth_ = checkImages_->Width();
  SetReadOnly(true);
}

TWexCheckTree::~TWexCheckTree() = default;

TWexCheckState TWexCheckTree::StateOf(const TTreeNode* node) {
  Integer index = node->StateIndex();
  return index >= 0 && index <= 3 ? static_cast<TWexCheckState>(index) : csUnknown;
}

void TWexCheckTree::SetHighlightColor(TColor v) {
  if (v == highlightColor_) return;
  highlightColor_ = v;
  CreateCheckImages();
  Invalidate();
}

void TWexCheckTree::SetFrameColor(TColor v) {
  if (v == FrameColor()) return;
  TWexCustomTreeView::SetFrameColor(v);
  CreateCheckImages();
}

void TWexCheckTree::SetImages(TImageList* list) {
  TWexCustomTreeView::SetImages(list);
  UpdateImageWidth();
}

void TWexCheckTree::UpdateImageWidth() { nodeImageWidth_ = Images() ? Images()->Width() : 0; }

void TWexCheckTree::Loaded() {
  TWexCustomTreeView::Loaded();
  UpdateImageWidth();
}

void TWexCheckTree::CreateCheckImages() {
  if (!checkImages_) return;
  checkImages_->Clear();
  checkImages_->SetWidth(16);
  checkImages_->SetHeight(16);
  if (IsAppThemed()) {
    // The style's own check box, unchecked twice, checked, mixed.
    HTHEME theme = OpenThemeData(0, u"button");
    for (Integer state : {CBS_UNCHECKEDNORMAL, CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL, CBS_MIXEDNORMAL}) {
      TBitmap image(16, 16);
      TRect r = Rect(0, 0, 16, 16);
      if (theme) DrawThemeBackground(theme, image.Canvas(), BP_CHECKBOX, state, &r, nullptr);
      checkImages_->Add(&image, nullptr);
    }
    if (theme) CloseThemeData(theme);
    return;
  }
  const TCheckBoxState states[] = {cbUnchecked, cbUnchecked, cbChecked, cbGrayed};
  for (TCheckBoxState state : states) {
    TBitmap olive(16, 16);
    olive.Canvas()->Brush()->SetColor(clOlive);
    olive.Canvas()->FillRect(Rect(0, 0, 16, 16));
    TBitmap glyph(16, 16);
    PaintCheckBoxGlyph(glyph.Canvas(), Rect(0, 0, 13, 13), state, FrameColor(), clWindow, highlightColor_);
    olive.Canvas()->Draw(2, 2, &glyph);
    checkImages_->AddMasked(&olive, clOlive);
  }
}

void TWexCheckTree::Disarm() {
  pending_ = false;
  pendingIndex_ = -1;
}

void TWexCheckTree::ApplyNodeState(TTreeNode* node, TWexCheckState state) {
  bool allow = true;
  if (!silent_ && OnStateChanging) OnStateChanging(this, node, state, allow);
  if (!allow) return;
  node->SetStateIndex(static_cast<Integer>(state));
  if (!silent_ && OnStateChange) OnStateChange(this, node, state);
}

void TWexCheckTree::SetNodeCheckState(TTreeNode* node, TWexCheckState state) {
  if (!node) return;
  Disarm();
  if (static_cast<Integer>(state) != node->StateIndex()) ApplyNodeState(node, state);
  if (cascadeChecks_) {
    UpdateChildren(node, StateOf(node) == csChecked);
    UpdateParents(node);
  }
}

void TWexCheckTree::ToggleNodeState(TTreeNode* node) {
  Disarm();
  if (!node || node->StateIndex() == 0) return;
  ApplyNodeState(node, StateOf(node) == csChecked ? csUnchecked : csChecked);
  if (cascadeChecks_) {
    // From the state the node has now: a refused change cascades the old.
    UpdateChildren(node, StateOf(node) == csChecked);
    UpdateParents(node);
  }
  if (OnCascadeComplete) OnCascadeComplete(this, node);
}

void TWexCheckTree::UpdateChildren(TTreeNode* node, bool checked) {
  std::function<void(TTreeNode*)> walk = [&](TTreeNode* n) {
    for (Integer i = 0; i < n->Count(); ++i) {
      TTreeNode* child = n->Item(i);
      ApplyNodeState(child, checked ? csChecked : csUnchecked);
      walk(child);
    }
  };
  walk(node);
  if (OnUpdateChildren) OnUpdateChildren(this);
}

TWexCheckState TWexCheckTree::StateFromChildren(TTreeNode* parent, TTreeNode* removed) const {
  Integer checked = 0, unchecked = 0;
  for (Integer i = 0; i < parent->Count(); ++i) {
    TTreeNode* child = parent->Item(i);
    if (child == removed) continue;
    switch (StateOf(child)) {
      case csPartiallyChecked: return csPartiallyChecked;
      case csChecked: ++checked; break;
      case csUnchecked: ++unchecked; break;
      default: break;
    }
    if (checked > 0 && unchecked > 0) return csPartiallyChecked;
  }
  return checked > 0 ? csChecked : csUnchecked;
}

void TWexCheckTree::UpdateParents(TTreeNode* node) {
  for (TTreeNode* p = node->Parent(); p; p = p->Parent()) ApplyNodeState(p, StateFromChildren(p, nullptr));
}

void TWexCheckTree::RecalcParentState(TTreeNode* parent, TTreeNode* removed) {
  ApplyNodeState(parent, StateFromChildren(parent, removed));
  TWexCheckState now = StateOf(parent);
  if (now == csChecked || now == csUnchecked) {
    UpdateChildren(parent, now == csChecked);
    UpdateParents(parent);
  }
}

void TWexCheckTree::Delete(TTreeNode* node) {
  // A node that goes with its parent (a cleared tree, the inside of a
  // deleted subtree) changes nothing of the nodes that go with it.
  TTreeNode* parent = node->Parent();
  const bool withParent = Items()->Clearing() || Destroying() || (parent && parent->Deleting());
  if (cascadeChecks_ && parent && !withParent) RecalcParentState(parent, node);
  TWexCustomTreeView::Delete(node);
}

void TWexCheckTree::Paint() {
  // A node added since the last paint shows an unchecked box.
  for (TTreeNode* n = Items()->GetFirstNode(); n; n = n->GetNext())
    if (n->StateIndex() == -1) n->SetStateIndex(static_cast<Integer>(csUnchecked));
  TWexCustomTreeView::Paint();
}

void TWexCheckTree::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      TWexCustomTreeView::Dispatch(m);
      TWMMouse mm(m);
      TTreeNode* node = Selected();
      pending_ = false;
      if (!node || node->AbsoluteIndex() < 0) return;
      TRect r = node->DisplayRect(true);
      const Integer l = r.Left;
      if (l - nodeImageWidth_ - checkImageWidth_ < mm.XPos && mm.XPos <= l - nodeImageWidth_ && r.Top <= mm.YPos &&
          mm.YPos <= r.Bottom) {
        pending_ = true;
        pendingIndex_ = node->AbsoluteIndex();
      }
      return;
    }
    case WM_LBUTTONUP: {
      TWexCustomTreeView::Dispatch(m);
      TWMMouse mm(m);
      TTreeNode* node = Selected();
      const bool armed = pending_ && node && node->AbsoluteIndex() == pendingIndex_;
      // Every release ends the press that armed it.
      Disarm();
      if (armed && ClientRect().Contains(mm.Pos())) ToggleNodeState(node);
      return;
    }
    case WM_KEYUP:
      TWexCustomTreeView::Dispatch(m);
      if (static_cast<Word>(m.WParam) == VK_SPACE && !IsEditing() && Selected()) ToggleNodeState(Selected());
      return;
    case WM_CHAR:
      // The space toggles; it is no search.
      if (static_cast<WideChar>(m.WParam) == u' ') return;
      TWexCustomTreeView::Dispatch(m);
      return;
    default: TWexCustomTreeView::Dispatch(m);
  }
}

}  // namespace support
