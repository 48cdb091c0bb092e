#pragma once
// The tree view: nodes with text, data, a node image and a state image,
// drawn by the control itself on its retained buffer (not a Qt item view),
// so that its messages are the class library's and descendants handle
// them as they would on the desktop.
//
// A row is the indent (one Indent per level, one more with ShowRoot; lines
// and the expand button live there), then the state image (when the node's
// StateIndex is above 0 and StateImages is set), the node image (when
// Images is set) and the text rectangle (the label with 2 pixels each side),
// with no gaps. Rows are as high as the larger of the text height + 2 and
// the image heights. Notifications reach descendants as virtual operations
// and events: changing and change of the selection, expanding and
// collapsing, deletion (children before parents, one notice each), label
// editing, and the right click (CN_NOTIFY with NM_RCLICK, answered 0 by
// default, after which the tree sends itself WM_CONTEXTMENU).
#include <functional>
#include <memory>
#include <vector>

#include "vcl/Controls.h"
#include "vcl/ImgList.h"

namespace vcl {

class TTreeNodes;
class TCustomTreeView;
class TEdit;
class THintWindow;

// Tree-view style bits of the window (the low word of GWL_STYLE).
inline constexpr Cardinal TVS_HASBUTTONS = 0x0001;
inline constexpr Cardinal TVS_HASLINES = 0x0002;
inline constexpr Cardinal TVS_LINESATROOT = 0x0004;
inline constexpr Cardinal TVS_EDITLABELS = 0x0008;
inline constexpr Cardinal TVS_SHOWSELALWAYS = 0x0020;
inline constexpr Cardinal TVS_NOTOOLTIPS = 0x0080;
inline constexpr Cardinal TVS_SINGLEEXPAND = 0x0400;

// The header of a notification (CN_NOTIFY's LParam points to one).
struct NMHDR {
  HWND hwndFrom = 0;
  uintptr_t idFrom = 0;
  Integer code = 0;
};
inline constexpr Integer NM_CLICK = -2;
inline constexpr Integer NM_DBLCLK = -3;
inline constexpr Integer NM_RCLICK = -5;

class TTreeNode : public TPersistent {
 public:
  TTreeNode(const TTreeNode&) = delete;
  ~TTreeNode() override;

  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& s);
  void* Data() const { return data_; }
  void SetData(void* d) { data_ = d; }
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer i);
  Integer SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(Integer i);
  // The state image shown (StateImages index); 0 and below show none.
  Integer StateIndex() const { return stateIndex_; }
  void SetStateIndex(Integer i);

  TTreeNode* Parent() const { return parent_; }
  TTreeNodes* Owner() const { return owner_; }
  TCustomTreeView* TreeView() const;
  Integer Count() const { return static_cast<Integer>(children_.size()); }
  TTreeNode* Item(Integer index) const;
  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // In pre-order over the whole tree.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // Among the nodes whose ancestors are all expanded.
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  Integer Level() const;
  // Position among its siblings.
  Integer Index() const;
  // Position in pre-order over the whole tree.
  Integer AbsoluteIndex() const;
  bool HasAsParent(const TTreeNode* node) const;

  bool HasChildren() const { return hasChildren_ || !children_.empty(); }
  void SetHasChildren(bool v);
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool v);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  // All ancestors expanded.
  bool IsVisible() const;
  void MakeVisible();

  bool Selected() const;
  void SetSelected(bool v);
  bool Focused() const;

  // The row (textOnly false) or the text rectangle, in client coordinates;
  // empty while the node's row is not shown.
  TRect DisplayRect(bool textOnly) const;

  // True from the moment its subtree starts going until it is freed.
  bool Deleting() const { return deleting_; }
  void Delete();
  void DeleteChildren();

  // Starts editing the label; false when the tree refuses.
  bool EditText();
  void EndEdit(bool cancel);

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* owner) : owner_(owner) {}

  TTreeNodes* owner_;              // the list that owns this node
  TTreeNode* parent_ = nullptr;    // holds this node among its children
  std::vector<TTreeNode*> children_;  // owned, freed by TTreeNodes
  AnsiString text_;
  void* data_ = nullptr;
  Integer imageIndex_ = -1;
  Integer selectedIndex_ = -1;
  Integer stateIndex_ = -1;
  bool hasChildren_ = false;
  bool expanded_ = false;
  bool deleting_ = false;
};

class TTreeNodes : public TPersistent {
 public:
  explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return owner_; }
  // Every node.
  Integer Count() const { return count_; }
  // The node at an absolute (pre-order) index; null outside.
  TTreeNode* Item(Integer absoluteIndex) const;
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }

  // Adds after the last sibling of sibling (a root without one).
  TTreeNode* Add(TTreeNode* sibling, const AnsiString& s);
  TTreeNode* AddObject(TTreeNode* sibling, const AnsiString& s, void* data);
  // Adds before the first sibling.
  TTreeNode* AddFirst(TTreeNode* sibling, const AnsiString& s);
  TTreeNode* AddChild(TTreeNode* parent, const AnsiString& s);
  TTreeNode* AddChildObject(TTreeNode* parent, const AnsiString& s, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const AnsiString& s);
  // Adds just before sibling.
  TTreeNode* Insert(TTreeNode* sibling, const AnsiString& s);

  // The node and its subtree: every node is told as going, then each gets
  // its deletion notice, children before parents, and is freed.
  void Delete(TTreeNode* node);
  // Every node, likewise; Clearing() holds meanwhile.
  void Clear();
  bool Clearing() const { return clearing_; }

  // Repaints and scroll-bar updates wait until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

  const std::vector<TTreeNode*>& Roots() const { return roots_; }

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertNode(TTreeNode* parent, size_t position, const AnsiString& s, void* data);
  void DeleteSubtree(TTreeNode* node);
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent);
  void Changed();

  TCustomTreeView* owner_;          // the tree that owns this list
  std::vector<TTreeNode*> roots_;   // owned
  Integer count_ = 0;
  Integer updateCount_ = 0;
  bool clearing_ = false;
};

enum class THitTest {
  htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight, htOnStateIcon,
  htToLeft, htToRight
};
using enum THitTest;
using THitTests = rtl::TSet<THitTest>;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, AnsiString& S)>;

class TCustomTreeView : public TCustomControl {
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() { return items_.get(); }
  TTreeNode* Selected() const { return selected_; }
  // Asks CanChange first; makes the node visible.
  void SetSelected(TTreeNode* node);
  // The first row shown.
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* node);

  Integer Indent() const { return indent_; }
  void SetIndent(Integer v);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool v);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool v);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  // Selecting a node expands it and collapses the one selected before
  // (unless it is an ancestor).
  virtual bool AutoExpand() const { return autoExpand_; }
  virtual void SetAutoExpand(bool v) { autoExpand_ = v; }
  // Off: the selection also shows while the tree has no focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  // Tooltips show labels cut off by the window's edge (off with
  // TVS_NOTOOLTIPS in the window's style).
  bool ToolTips() const;
  void SetToolTips(bool v);
  TImageList* Images() const { return images_; }
  virtual void SetImages(TImageList* list);
  TImageList* StateImages() const { return stateImages_; }
  virtual void SetStateImages(TImageList* list);
  // A sunken border in the non-client area.
  bool BorderVisible() const { return border_; }
  void SetBorderVisible(bool v);

  TTreeNode* GetNodeAt(Integer x, Integer y) const;
  THitTests GetHitTestInfoAt(Integer x, Integer y) const;
  // Rows that fit the client area whole.
  Integer VisibleRowCount() const;
  Integer RowHeight() const;
  bool IsEditing() const { return editNode_ != nullptr; }
  TTreeNode* EditingNode() const { return editNode_; }
  void FullExpand();
  void FullCollapse();

  void Dispatch(TMessage& message) override;
  void WndProc(TMessage& message) override;
  // The nodes go while the tree is still whole, each with its notice.
  void BeforeDestroy() override;

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVChangedEvent OnDeletion;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;

 protected:
  friend class TTreeNodes;
  friend class TTreeNode;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual bool CanChange(TTreeNode* node);
  virtual void Change(TTreeNode* node);
  virtual bool CanExpand(TTreeNode* node);
  virtual void Expand(TTreeNode* node);
  virtual bool CanCollapse(TTreeNode* node);
  virtual void Collapse(TTreeNode* node);
  // The deletion notice of one node.
  virtual void Delete(TTreeNode* node);
  virtual bool CanEdit(TTreeNode* node);
  virtual void Edit(TTreeNode* node, AnsiString& text);
  // Draws one row; the default draws lines, button, images and label.
  virtual void PaintRow(TCanvas* canvas, TTreeNode* node, const TRect& row);
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(WideChar& key) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;

 private:
  struct TRowLayout {
    Integer indentRight = 0;  // where the indent ends (the button's column ends here)
    Integer stateLeft = 0;    // equals imageLeft without a state image
    Integer imageLeft = 0;    // equals textLeft without node images
    Integer textLeft = 0;
    Integer textRight = 0;
  };
  TRowLayout LayoutOf(const TTreeNode* node) const;
  // The visible nodes in row order.
  const std::vector<TTreeNode*>& Rows() const;
  Integer RowOf(const TTreeNode* node) const;
  void RowsChanged();
  void UpdateScrollRange();
  void ScrollTo(Integer topRow);
  void NodeDeleting(TTreeNode* node);
  void SelectNode(TTreeNode* node, bool ask);
  bool SetNodeExpanded(TTreeNode* node, bool expanded);
  void StartEdit(TTreeNode* node);
  void FinishEdit(bool cancel);
  void HandleLeftDown(TMessage& m, bool doubleClick);
  void HandleRightUp(TMessage& m);
  void SearchIncremental(WideChar key);
  void ImagesChanged();
  void ShowToolTip(TTreeNode* node);
  void HideToolTip();

  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;  // a node of items_
  Integer topRow_ = 0;
  Integer indent_ = 19;
  bool showRoot_ = true;
  bool showLines_ = true;
  bool showButtons_ = true;
  bool readOnly_ = false;
  bool autoExpand_ = false;
  bool hideSelection_ = true;
  bool border_ = true;
  TImageList* images_ = nullptr;       // not owned
  TImageList* stateImages_ = nullptr;  // not owned
  mutable std::vector<TTreeNode*> rows_;
  mutable bool rowsValid_ = false;
  TTreeNode* editNode_ = nullptr;
  TEdit* editor_ = nullptr;            // a child while a label is edited
  TTreeNode* clickedLabel_ = nullptr;  // a second click on it edits the label
  bool rightPressed_ = false;
  AnsiString search_;
  uint64_t searchTick_ = 0;
  TTreeNode* tipNode_ = nullptr;       // the cut label under the mouse
  THintWindow* tipWindow_ = nullptr;   // owned (a component of the tree)
  bool noToolTips_ = false;
  bool skipChar_ = false;              // the next WM_CHAR belongs to a key handled as a command            // TVS_NOTOOLTIPS, kept while there is no window
  LRESULT rightClickAnswer_ = 0;       // what NM_RCLICK answered for this release
  bool rightClickPending_ = false;     // a release being handled after NM_RCLICK
};

class TTreeView : public TCustomTreeView {
 public:
  using TCustomTreeView::TCustomTreeView;
};

}  // namespace vcl
