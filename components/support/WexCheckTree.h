#pragma once
// TWexCheckTree: a framed tree view whose nodes carry a tri-state check box.
// A click on a node's box or the space bar toggles it; with CascadeChecks
// the new state goes down to every descendant and the ancestors are worked
// out again from their children. A node's check state is its StateIndex:
// the index of its image among the tree's own check images.
#include <functional>

#include "support/WexTreeView.h"
#include "vcl/ImgList.h"

namespace support {

enum class TWexCheckState : rtl::Byte { csUnknown, csUnchecked, csChecked, csPartiallyChecked };
using enum TWexCheckState;

using TWexStateChangingEvent =
    std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node, TWexCheckState NewState, bool& AllowChange)>;
using TWexStateChangeEvent =
    std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node, TWexCheckState NewState)>;
using TWexNodeEvent = std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node)>;

class TWexCheckTree : public TWexCustomTreeView {
 public:
  explicit TWexCheckTree(vcl::TComponent* owner);
  ~TWexCheckTree() override;

  // Applies the state (unless the node has it already) and, with
  // CascadeChecks, sets the descendants and works out the ancestors.
  void SetNodeCheckState(vcl::TTreeNode* node, TWexCheckState state);

  bool CascadeChecks() const { return cascadeChecks_; }
  void SetCascadeChecks(bool v) { cascadeChecks_ = v; }
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v);
  void SetFrameColor(TColor v) override;
  void SetImages(vcl::TImageList* list) override;
  // The tree's own check images (the default StateImages).
  vcl::TImageList* CheckImages() const { return checkImages_; }
  // While set, no state event fires.
  bool Silent() const { return silent_; }
  void SetSilent(bool v) { silent_ = v; }

  void Dispatch(vcl::TMessage& message) override;

  TWexStateChangingEvent OnStateChanging;
  TWexStateChangeEvent OnStateChange;
  vcl::TNotifyEvent OnUpdateChildren;
  TWexNodeEvent OnCascadeComplete;

 protected:
  virtual void UpdateImageWidth();
  virtual void CreateCheckImages();
  // Sets each ancestor, upwards, to what its children give.
  virtual void UpdateParents(vcl::TTreeNode* node);
  // Sets every descendant, in pre-order, then fires OnUpdateChildren.
  virtual void UpdateChildren(vcl::TTreeNode* node, bool checked);
  // OnStateChanging, then (allowed) the state and OnStateChange; fires even
  // for the state the node already has.
  void ApplyNodeState(vcl::TTreeNode* node, TWexCheckState state);
  void ToggleNodeState(vcl::TTreeNode* node);
  // The state a parent's children give; removed is left out.
  TWexCheckState StateFromChildren(vcl::TTreeNode* parent, vcl::TTreeNode* removed) const;
  void RecalcParentState(vcl::TTreeNode* parent, vcl::TTreeNode* removed);
  void Delete(vcl::TTreeNode* node) override;
  void Paint() override;
  void Loaded() override;

 private:
  void Disarm();
  static TWexCheckState StateOf(const vcl::TTreeNode* node);

  rtl::Integer pendingIndex_ = -1;
  rtl::Integer checkImageWidth_ = 16;
  rtl::Integer nodeImageWidth_ = 0;
  bool pending_ = false;
  vcl::TImageList* checkImages_ = nullptr;  // owned as a component of the tree
  bool cascadeChecks_ = true;
  bool silent_ = false;
  TColor highlightColor_;
};

}  // namespace support
