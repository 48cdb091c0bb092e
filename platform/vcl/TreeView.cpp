#include "vcl/TreeView.h"

#include <QWidget>
#include <algorithm>

#include "rtl/Clock.h"
#include "rtl/CodePages.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {

// The timer that turns a second click on the selected label into editing.
constexpr uintptr_t kEditTimer = 0x7EE1;
// Typed characters further apart than this start a new search.
constexpr uint64_t kSearchPause = 1000;
// Frees a label editor once the messages it is handling are done.
constexpr Cardinal kFreeEditorMessage = CM_BASE + 0x70;

Integer SubtreeSize(const TTreeNode* node) {
  Integer n = 1;
  for (Integer i = 0; i < node->Count(); ++i) n += SubtreeSize(node->Item(i));
  return n;
}

}  // namespace

// ------------------------------------------------------------- TTreeNode

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return owner_ ? owner_->Owner() : nullptr; }

void TTreeNode::SetText(const AnsiString& s) {
  if (s == text_) return;
  text_ = s;
  if (TCustomTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetImageIndex(Integer i) {
  if (i == imageIndex_) return;
  imageIndex_ = i;
  if (TCustomTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetSelectedIndex(Integer i) {
  if (i == selectedIndex_) return;
  selectedIndex_ = i;
  if (TCustomTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetStateIndex(Integer i) {
  if (i == stateIndex_) return;
  stateIndex_ = i;
  if (TCustomTreeView* tv = TreeView()) tv->Invalidate();
}

TTreeNode* TTreeNode::Item(Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  return children_[static_cast<size_t>(index)];
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& siblings = owner_->SiblingsOf(parent_);
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& siblings = owner_->SiblingsOf(parent_);
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() || it == siblings.begin() ? nullptr : *(it - 1);
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* s = GetPrevSibling();
  if (!s) return parent_;
  while (!s->children_.empty()) s = s->children_.back();
  return s;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (expanded_ && !children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* s = GetPrevSibling();
  if (!s) return parent_;
  while (s->expanded_ && !s->children_.empty()) s = s->children_.back();
  return s;
}

Integer TTreeNode::Level() const {
  Integer level = 0;
  for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

Integer TTreeNode::Index() const {
  const auto& siblings = owner_->SiblingsOf(parent_);
  return static_cast<Integer>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

Integer TTreeNode::AbsoluteIndex() const {
  // The nodes before it in pre-order: its parent and the parent's own
  // predecessors, and the whole subtrees of its earlier siblings.
  Integer index = parent_ ? parent_->AbsoluteIndex() + 1 : 0;
  for (TTreeNode* s : owner_->SiblingsOf(parent_)) {
    if (s == this) break;
    index += SubtreeSize(s);
  }
  return index;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  for (const TTreeNode* p = parent_; p; p = p->parent_)
    if (p == node) return true;
  return false;
}

void TTreeNode::SetHasChildren(bool v) {
  hasChildren_ = v;
  if (TCustomTreeView* tv = TreeView()) tv->Invalidate();
}

void TTreeNode::SetExpanded(bool v) {
  if (TCustomTreeView* tv = TreeView()) tv->SetNodeExpanded(this, v);
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse)
    for (TTreeNode* c : std::vector<TTreeNode*>(children_)) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse)
    for (TTreeNode* c : std::vector<TTreeNode*>(children_)) c->Collapse(true);
  SetExpanded(false);
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = parent_; p; p = p->parent_)
    if (!p->expanded_) return false;
  return true;
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = parent_; p; p = p->parent_)
    if (!p->expanded_) p->SetExpanded(true);
  TCustomTreeView* tv = TreeView();
  if (!tv || !IsVisible()) return;
  Integer row = tv->RowOf(this);
  Integer visible = std::max(1, tv->VisibleRowCount());
  if (row < tv->topRow_)
    tv->ScrollTo(row);
  else if (row >= tv->topRow_ + visible)
    tv->ScrollTo(row - visible + 1);
}

bool TTreeNode::Selected() const {
  TCustomTreeView* tv = TreeView();
  return tv && tv->Selected() == this;
}

void TTreeNode::SetSelected(bool v) {
  TCustomTreeView* tv = TreeView();
  if (!tv) return;
  if (v)
    tv->SetSelected(this);
  else if (tv->Selected() == this)
    tv->SetSelected(nullptr);
}

bool TTreeNode::Focused() const {
  TCustomTreeView* tv = TreeView();
  return tv && tv->Selected() == this && tv->Focused();
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  TCustomTreeView* tv = TreeView();
  if (!tv || !IsVisible()) return {};
  Integer row = tv->RowOf(this);
  if (row < 0) return {};
  Integer h = tv->RowHeight();
  Integer top = (row - tv->topRow_) * h;
  if (!textOnly) return Rect(0, top, tv->ClientWidth(), top + h);
  auto layout = tv->LayoutOf(this);
  return Rect(layout.textLeft, top, layout.textRight, top + h);
}

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!children_.empty()) owner_->Delete(children_.back());
}

bool TTreeNode::EditText() {
  TCustomTreeView* tv = TreeView();
  if (!tv) return false;
  tv->StartEdit(this);
  return tv->EditingNode() == this;
}

void TTreeNode::EndEdit(bool cancel) {
  TCustomTreeView* tv = TreeView();
  if (tv && tv->EditingNode() == this) tv->FinishEdit(cancel);
}

// ------------------------------------------------------------ TTreeNodes

TTreeNodes::~TTreeNodes() {
  // Whatever the tree did not clear goes quietly: no tree is left to tell.
  std::function<void(TTreeNode*)> release = [&](TTreeNode* n) {
    for (TTreeNode* c : n->children_) release(c);
    delete n;
  };
  for (TTreeNode* r : roots_) release(r);
}

std::vector<TTreeNode*>& TTreeNodes::SiblingsOf(TTreeNode* parent) { return parent ? parent->children_ : roots_; }

TTreeNode* TTreeNodes::Item(Integer absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= count_) return nullptr;
  TTreeNode* n = GetFirstNode();
  for (Integer i = 0; n && i < absoluteIndex; ++i) n = n->GetNext();
  return n;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, size_t position, const AnsiString& s, void* data) {
  auto* node = new TTreeNode(this);
  node->text_ = s;
  node->data_ = data;
  node->parent_ = parent;
  auto& siblings = SiblingsOf(parent);
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(std::min(position, siblings.size())), node);
  ++count_;
  Changed();
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const AnsiString& s) { return AddObject(sibling, s, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const AnsiString& s, void* data) {
  TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
  return InsertNode(parent, SiblingsOf(parent).size(), s, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const AnsiString& s) {
  return InsertNode(sibling ? sibling->parent_ : nullptr, 0, s, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const AnsiString& s) { return AddChildObject(parent, s, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const AnsiString& s, void* data) {
  return InsertNode(parent, SiblingsOf(parent).size(), s, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const AnsiString& s) {
  return InsertNode(parent, 0, s, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const AnsiString& s) {
  if (!sibling) return Add(nullptr, s);
  return InsertNode(sibling->parent_, static_cast<size_t>(sibling->Index()), s, nullptr);
}

void TTreeNodes::DeleteSubtree(TTreeNode* node) {
  // Every node of the subtree is marked as going before any is told.
  std::function<void(TTreeNode*)> mark = [&](TTreeNode* n) {
    n->deleting_ = true;
    for (TTreeNode* c : n->children_) mark(c);
  };
  mark(node);
  std::function<void(TTreeNode*)> release = [&](TTreeNode* n) {
    while (!n->children_.empty()) release(n->children_.front());
    if (owner_) owner_->NodeDeleting(n);
    auto& siblings = SiblingsOf(n->parent_);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), n), siblings.end());
    --count_;
    delete n;
  };
  release(node);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this || node->deleting_) return;
  TCustomTreeView* tv = owner_;
  // A selection inside the subtree moves to a neighbour that stays.
  TTreeNode* replacement = nullptr;
  const bool selectedGoes = tv && tv->selected_ && (tv->selected_ == node || tv->selected_->HasAsParent(node));
  if (selectedGoes) {
    replacement = node->GetNextSibling();
    if (!replacement) replacement = node->GetPrevSibling();
    if (!replacement) replacement = node->parent_;
  }
  BeginUpdate();
  try {
    DeleteSubtree(node);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (selectedGoes && tv && replacement) tv->SelectNode(replacement, false);
}

void TTreeNodes::Clear() {
  if (roots_.empty() || clearing_) return;
  clearing_ = true;
  BeginUpdate();
  try {
    for (TTreeNode* r : roots_) r->deleting_ = true;
    while (!roots_.empty()) DeleteSubtree(roots_.front());
  } catch (...) {
    clearing_ = false;
    EndUpdate();
    throw;
  }
  clearing_ = false;
  EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++updateCount_; }

void TTreeNodes::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TTreeNodes::Changed() {
  if (owner_) owner_->RowsChanged();
}

// -------------------------------------------------------- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  TControl::SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() {
  // Descendants have cleared the nodes with their notices already (see
  // BeforeDestroy); what is left goes without them.
  editNode_ = nullptr;
  selected_ = nullptr;
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  if (border_) params.ExStyle |= WS_EX_CLIENTEDGE;
}

bool TCustomTreeView::ToolTips() const {
  return !HandleAllocated() ? !noToolTips_ : (WindowStyle() & TVS_NOTOOLTIPS) == 0;
}

void TCustomTreeView::SetToolTips(bool v) {
  noToolTips_ = !v;
  if (HandleAllocated())
    SetWindowStyle(v ? WindowStyle() & ~TVS_NOTOOLTIPS : WindowStyle() | TVS_NOTOOLTIPS);
  if (!v) HideToolTip();
}

void TCustomTreeView::SetIndent(Integer v) {
  if (v == indent_) return;
  indent_ = std::max(0, v);
  Invalidate();
}

void TCustomTreeView::SetShowRoot(bool v) {
  showRoot_ = v;
  Invalidate();
}

void TCustomTreeView::SetShowLines(bool v) {
  showLines_ = v;
  Invalidate();
}

void TCustomTreeView::SetShowButtons(bool v) {
  showButtons_ = v;
  Invalidate();
}

void TCustomTreeView::SetHideSelection(bool v) {
  hideSelection_ = v;
  Invalidate();
}

void TCustomTreeView::SetBorderVisible(bool v) {
  if (v == border_) return;
  border_ = v;
  UpdateNonClientArea();
}

void TCustomTreeView::SetImages(TImageList* list) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = list;
  if (list) list->FreeNotification(this);
  ImagesChanged();
}

void TCustomTreeView::SetStateImages(TImageList* list) {
  if (stateImages_) stateImages_->RemoveFreeNotification(this);
  stateImages_ = list;
  if (list) list->FreeNotification(this);
  ImagesChanged();
}

void TCustomTreeView::ImagesChanged() {
  RowsChanged();
  Invalidate();
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_ = nullptr;
    ImagesChanged();
  }
  if (component == stateImages_) {
    stateImages_ = nullptr;
    ImagesChanged();
  }
  if (component == editor_) editor_ = nullptr;
  if (component == tipWindow_) tipWindow_ = nullptr;
}

void TCustomTreeView::BeforeDestroy() {
  // The nodes go while the tree is whole, each with its deletion notice.
  FinishEdit(true);
  items_->Clear();
  TCustomControl::BeforeDestroy();
}

// --- rows and layout ---

const std::vector<TTreeNode*>& TCustomTreeView::Rows() const {
  if (rowsValid_) return rows_;
  rows_.clear();
  std::function<void(const std::vector<TTreeNode*>&)> walk = [&](const std::vector<TTreeNode*>& level) {
    for (TTreeNode* n : level) {
      rows_.push_back(n);
      if (n->expanded_) walk(n->children_);
    }
  };
  walk(items_->roots_);
  rowsValid_ = true;
  return rows_;
}

Integer TCustomTreeView::RowOf(const TTreeNode* node) const {
  const auto& rows = Rows();
  auto it = std::find(rows.begin(), rows.end(), node);
  return it == rows.end() ? -1 : static_cast<Integer>(it - rows.begin());
}

void TCustomTreeView::RowsChanged() {
  rowsValid_ = false;
  if (items_->UpdateCount() > 0) return;
  UpdateScrollRange();
  Invalidate();
}

Integer TCustomTreeView::RowHeight() const {
  TCanvas measure;
  measure.SetFont(const_cast<TCustomTreeView*>(this)->Font());
  Integer h = measure.TextHeight("Wg") + 2;
  if (images_) h = std::max(h, images_->Height());
  if (stateImages_) h = std::max(h, stateImages_->Height());
  return h;
}

Integer TCustomTreeView::VisibleRowCount() const {
  Integer h = RowHeight();
  return h > 0 ? ClientHeight() / h : 0;
}

TTreeNode* TCustomTreeView::TopItem() const {
  const auto& rows = Rows();
  return topRow_ >= 0 && topRow_ < static_cast<Integer>(rows.size()) ? rows[static_cast<size_t>(topRow_)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* node) {
  Integer row = RowOf(node);
  if (row >= 0) ScrollTo(row);
}

TCustomTreeView::TRowLayout TCustomTreeView::LayoutOf(const TTreeNode* node) const {
  TRowLayout l;
  l.indentRight = (node->Level() + (showRoot_ ? 1 : 0)) * indent_;
  l.stateLeft = l.indentRight;
  l.imageLeft = l.stateLeft + (stateImages_ && node->StateIndex() > 0 ? stateImages_->Width() : 0);
  l.textLeft = l.imageLeft + (images_ ? images_->Width() : 0);
  TCanvas measure;
  measure.SetFont(const_cast<TCustomTreeView*>(this)->Font());
  l.textRight = l.textLeft + measure.TextWidth(node->Text()) + 4;
  return l;
}

void TCustomTreeView::UpdateScrollRange() {
  if (!HandleAllocated()) return;
  const Integer count = static_cast<Integer>(Rows().size());
  // The rows that fit the client area without a scroll bar decide whether
  // one is needed; the page is then what fits beside it.
  const Integer page = std::max(1, VisibleRowCount());
  topRow_ = std::clamp(topRow_, 0, std::max(0, count - page));
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, count - 1);
  info.nPage = static_cast<Cardinal>(page);
  info.nPos = topRow_;
  SetScrollInfo(Handle(), SB_VERT, &info, true);
  const Integer pageNow = std::max(1, VisibleRowCount());
  if (pageNow != page) {
    topRow_ = std::clamp(topRow_, 0, std::max(0, count - pageNow));
    info.nPage = static_cast<Cardinal>(pageNow);
    info.nPos = topRow_;
    SetScrollInfo(Handle(), SB_VERT, &info, true);
  }
}

void TCustomTreeView::ScrollTo(Integer topRow) {
  const Integer count = static_cast<Integer>(Rows().size());
  const Integer page = std::max(1, VisibleRowCount());
  topRow = std::clamp(topRow, 0, std::max(0, count - page));
  if (topRow == topRow_) return;
  topRow_ = topRow;
  if (HandleAllocated()) SetScrollPos(Handle(), SB_VERT, topRow_, true);
  HideToolTip();
  if (editor_) FinishEdit(false);
  Invalidate();
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer x, Integer y) const {
  if (y < 0 || x < 0 || x >= ClientWidth()) return nullptr;
  const Integer row = topRow_ + y / std::max(1, RowHeight());
  const auto& rows = Rows();
  return row < static_cast<Integer>(rows.size()) ? rows[static_cast<size_t>(row)] : nullptr;
}

THitTests TCustomTreeView::GetHitTestInfoAt(Integer x, Integer y) const {
  THitTests result;
  if (y < 0) result.Include(htAbove);
  if (y >= ClientHeight()) result.Include(htBelow);
  if (x < 0) result.Include(htToLeft);
  if (x >= ClientWidth()) result.Include(htToRight);
  if (!result.Empty()) return result;
  TTreeNode* node = GetNodeAt(x, y);
  if (!node) return {htNowhere};
  TRowLayout l = LayoutOf(node);
  if (x < l.stateLeft) {
    const bool button = showButtons_ && node->HasChildren() && (showRoot_ || node->Level() > 0) &&
                        x >= l.indentRight - indent_;
    result.Include(button ? htOnButton : htOnIndent);
  } else if (x < l.imageLeft) {
    result.Include(htOnStateIcon);
  } else if (x < l.textLeft) {
    result.Include(htOnIcon);
  } else if (x < l.textRight) {
    result.Include(htOnLabel);
  } else {
    result.Include(htOnRight);
  }
  if (result.Contains(htOnStateIcon) || result.Contains(htOnIcon) || result.Contains(htOnLabel))
    result.Include(htOnItem);
  return result;
}

// --- selection and expansion ---

bool TCustomTreeView::CanChange(TTreeNode* node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
  if (OnChange) OnChange(this, node);
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* node) {
  if (OnExpanded) OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node) {
  if (OnCollapsed) OnCollapsed(this, node);
}

void TCustomTreeView::Delete(TTreeNode* node) {
  if (OnDeletion) OnDeletion(this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
  bool allow = !readOnly_;
  if (allow && OnEditing) OnEditing(this, node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* node, AnsiString& text) {
  if (OnEdited) OnEdited(this, node, text);
}

void TCustomTreeView::SetSelected(TTreeNode* node) { SelectNode(node, true); }

void TCustomTreeView::SelectNode(TTreeNode* node, bool ask) {
  if (node == selected_) {
    if (node) node->MakeVisible();
    return;
  }
  if (ask && !CanChange(node)) return;
  TTreeNode* previous = selected_;
  selected_ = node;
  clickedLabel_ = nullptr;
  if (node) {
    node->MakeVisible();
    if (autoExpand_) {
      node->SetExpanded(true);
      if (previous && previous != node && !node->HasAsParent(previous) && !previous->deleting_)
        previous->SetExpanded(false);
    }
  }
  Invalidate();
  Change(node);
}

bool TCustomTreeView::SetNodeExpanded(TTreeNode* node, bool expanded) {
  if (!node || node->expanded_ == expanded) return true;
  if (expanded && !node->HasChildren()) return false;
  if (expanded ? !CanExpand(node) : !CanCollapse(node)) return false;
  node->expanded_ = expanded;
  // A selection hidden by the collapse moves up to the collapsed node.
  if (!expanded && selected_ && selected_->HasAsParent(node)) SelectNode(node, false);
  RowsChanged();
  if (expanded)
    Expand(node);
  else
    Collapse(node);
  return true;
}

void TCustomTreeView::FullExpand() {
  items_->BeginUpdate();
  for (TTreeNode* r : std::vector<TTreeNode*>(items_->roots_)) r->Expand(true);
  items_->EndUpdate();
}

void TCustomTreeView::FullCollapse() {
  items_->BeginUpdate();
  for (TTreeNode* r : std::vector<TTreeNode*>(items_->roots_)) r->Collapse(true);
  items_->EndUpdate();
}

void TCustomTreeView::NodeDeleting(TTreeNode* node) {
  if (node == selected_) selected_ = nullptr;
  if (node == editNode_) FinishEdit(true);
  if (node == clickedLabel_) clickedLabel_ = nullptr;
  if (node == tipNode_) HideToolTip();
  rowsValid_ = false;
  Delete(node);
}

// --- label editing ---

void TCustomTreeView::StartEdit(TTreeNode* node) {
  if (!node || editNode_ || !CanEdit(node)) return;
  node->MakeVisible();
  editNode_ = node;
  editor_ = new TEdit(this);
  editor_->FreeNotification(this);
  TRect r = node->DisplayRect(true);
  editor_->SetBounds(r.Left, r.Top, std::max(r.Width() + 20, 40), r.Height());
  editor_->SetText(node->Text());
  editor_->SetParent(this);
  editor_->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
    if (key == VK_RETURN || key == VK_ESCAPE) {
      const bool cancel = key == VK_ESCAPE;
      key = 0;
      FinishEdit(cancel);
    }
  };
  editor_->OnExit = [this](TObject*) { FinishEdit(false); };
  editor_->SelectAll();
  if (editor_->CanFocus()) editor_->SetFocus();
}

void TCustomTreeView::FinishEdit(bool cancel) {
  if (!editNode_) return;
  TTreeNode* node = editNode_;
  TEdit* editor = editor_;
  editNode_ = nullptr;
  editor_ = nullptr;
  AnsiString text = editor ? editor->Text() : node->Text();
  if (editor) {
    editor->OnExit = nullptr;
    editor->OnKeyDown = nullptr;
    // Not freed inside its own key or focus handler: released once the
    // messages already waiting are done.
    editor->Hide();
    editor->SetParent(nullptr);
    PostMessage(Handle(), kFreeEditorMessage, 0, reinterpret_cast<LPARAM>(editor));
  }
  if (!cancel && !node->deleting_) {
    Edit(node, text);
    node->SetText(text);
  }
  if (CanFocus() && Focused() == false && Visible()) SetFocus();
}

// --- tooltips ---

void TCustomTreeView::ShowToolTip(TTreeNode* node) {
  if (node == tipNode_) return;
  HideToolTip();
  if (!node || !ToolTips() || IsEditing()) return;
  TRect r = node->DisplayRect(true);
  if (r.Right <= ClientWidth()) return;  // the label shows whole
  tipNode_ = node;
  if (!tipWindow_) {
    tipWindow_ = new THintWindow(this);
    tipWindow_->FreeNotification(this);
  }
  tipWindow_->SetColor(clInfoBk);
  TRect hint = tipWindow_->CalcHintRect(Screen ? Screen->Width() : 1024, node->Text());
  TPoint corner = ClientToScreen({r.Left, r.Top});
  OffsetRect(hint, corner.X, corner.Y);
  tipWindow_->ActivateHint(hint, node->Text());
}

void TCustomTreeView::HideToolTip() {
  tipNode_ = nullptr;
  if (tipWindow_ && tipWindow_->Showing()) tipWindow_->ReleaseHandle();
}

// --- painting ---

void TCustomTreeView::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  const auto& rows = Rows();
  const Integer h = RowHeight();
  for (Integer row = topRow_; row < static_cast<Integer>(rows.size()); ++row) {
    const Integer top = (row - topRow_) * h;
    if (top >= ClientHeight()) break;
    PaintRow(c, rows[static_cast<size_t>(row)], Rect(0, top, ClientWidth(), top + h));
  }
}

void TCustomTreeView::PaintRow(TCanvas* c, TTreeNode* node, const TRect& row) {
  const TRowLayout l = LayoutOf(node);
  const Integer cy = row.Top + row.Height() / 2;
  const Integer level = node->Level() + (showRoot_ ? 1 : 0);
  c->Pen()->SetWidth(1);
  if (showLines_ && level > 0) {
    // Lines: dotted, in the button's column of each level.
    c->Pen()->SetColor(clGray);
    c->Pen()->SetStyle(psDot);
    const Integer cx = l.indentRight - indent_ / 2 - 1;
    c->MoveTo(cx, cy);
    c->LineTo(l.indentRight, cy);
    const bool above = node->parent_ || node->GetPrevSibling();
    c->MoveTo(cx, above ? row.Top : cy);
    c->LineTo(cx, node->GetNextSibling() ? row.Bottom : cy + 1);
    Integer x = cx - indent_;
    for (TTreeNode* a = node->parent_; a && x >= 0; a = a->parent_, x -= indent_) {
      if (!showRoot_ && !a->parent_) break;
      if (a->GetNextSibling()) {
        c->MoveTo(x, row.Top);
        c->LineTo(x, row.Bottom);
      }
    }
    c->Pen()->SetStyle(psSolid);
  }
  if (showButtons_ && node->HasChildren() && level > 0) {
    const Integer cx = l.indentRight - indent_ / 2 - 1;
    TRect box = Rect(cx - 4, cy - 4, cx + 5, cy + 5);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(clGray);
    c->Rectangle(box);
    c->Pen()->SetColor(clBtnText);
    c->MoveTo(cx - 2, cy);
    c->LineTo(cx + 3, cy);
    if (!node->expanded_) {
      c->MoveTo(cx, cy - 2);
      c->LineTo(cx, cy + 3);
    }
  }
  if (stateImages_ && node->StateIndex() > 0)
    stateImages_->Draw(c, l.stateLeft, row.Top + (row.Height() - stateImages_->Height()) / 2, node->StateIndex());
  if (images_) {
    Integer index = node == selected_ && node->SelectedIndex() >= 0 ? node->SelectedIndex() : node->ImageIndex();
    if (index >= 0) images_->Draw(c, l.imageLeft, row.Top + (row.Height() - images_->Height()) / 2, index);
  }
  TRect label = Rect(l.textLeft, row.Top, l.textRight, row.Bottom);
  c->SetFont(Font());
  TColor text = Font()->Color();
  const bool selected = node == selected_;
  if (selected && Focused()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(label);
    text = clHighlightText;
  } else if (selected && !hideSelection_) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(label);
    text = clBtnText;
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(text);
  c->TextOut(l.textLeft + 2, row.Top + (row.Height() - c->TextHeight(node->Text().empty() ? "W" : node->Text())) / 2,
             node->Text());
  if (selected && Focused()) {
    c->Brush()->SetStyle(bsSolid);
    c->Font()->SetColor(clHighlightText);
    c->DrawFocusRect(label);
  }
  c->Brush()->SetStyle(bsSolid);
}

// --- input ---

void TCustomTreeView::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  const auto& rows = Rows();
  TTreeNode* sel = selected_;
  auto go = [&](TTreeNode* target) {
    if (target) SelectNode(target, true);
  };
  switch (key) {
    case VK_UP: go(sel ? sel->GetPrevVisible() : (rows.empty() ? nullptr : rows.front())); break;
    case VK_DOWN: go(sel ? sel->GetNextVisible() : (rows.empty() ? nullptr : rows.front())); break;
    case VK_HOME: go(rows.empty() ? nullptr : rows.front()); break;
    case VK_END: go(rows.empty() ? nullptr : rows.back()); break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (rows.empty()) break;
      Integer row = sel ? RowOf(sel) : 0;
      Integer step = std::max(1, VisibleRowCount() - 1);
      row = key == VK_PRIOR ? row - step : row + step;
      go(rows[static_cast<size_t>(std::clamp(row, 0, static_cast<Integer>(rows.size()) - 1))]);
      break;
    }
    case VK_LEFT:
      if (sel && sel->expanded_ && sel->HasChildren())
        SetNodeExpanded(sel, false);
      else if (sel)
        go(sel->parent_);
      break;
    case VK_RIGHT:
      if (sel && sel->HasChildren()) {
        if (!sel->expanded_)
          SetNodeExpanded(sel, true);
        else
          go(sel->GetFirstChild());
      }
      break;
    case VK_ADD:
      if (sel) SetNodeExpanded(sel, true);
      skipChar_ = true;  // the key's character is no search
      break;
    case VK_SUBTRACT:
      if (sel) SetNodeExpanded(sel, false);
      skipChar_ = true;
      break;
    case VK_MULTIPLY:
      if (sel) sel->Expand(true);
      skipChar_ = true;
      break;
    case VK_F2:
      if (sel) StartEdit(sel);
      break;
    case VK_APPS:
    case VK_F10:
      // The keyboard's context menu, as the desktop gives it.
      if ((key == VK_APPS && shift.Empty()) || (key == VK_F10 && shift == TShiftState{ssShift}))
        Perform(WM_CONTEXTMENU, Handle(), MakeLParam(0xFFFF, 0xFFFF));
      else
        return;
      break;
    default: return;
  }
}

void TCustomTreeView::KeyPress(WideChar& key) {
  TCustomControl::KeyPress(key);
  if (skipChar_) {
    skipChar_ = false;
    return;
  }
  if (key < 32) return;
  SearchIncremental(key);
}

void TCustomTreeView::SearchIncremental(WideChar key) {
  const uint64_t now = rtl::GetTickCount64();
  if (now - searchTick_ > kSearchPause) search_.clear();
  searchTick_ = now;
  const bool first = search_.empty();
  search_ += rtl::ToAnsi(std::u16string(1, key));
  const auto& rows = Rows();
  if (rows.empty()) return;
  // A first character looks past the selection, more characters from it.
  Integer start = selected_ ? RowOf(selected_) : 0;
  if (start < 0) start = 0;
  if (first && selected_) ++start;
  const Integer n = static_cast<Integer>(rows.size());
  for (Integer i = 0; i < n; ++i) {
    TTreeNode* node = rows[static_cast<size_t>((start + i) % n)];
    if (rtl::StartsText(search_, node->Text())) {
      SelectNode(node, true);
      return;
    }
  }
}

bool TCustomTreeView::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  Cardinal lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ScrollTo(topRow_ - wheelDelta * static_cast<Integer>(lines) / WHEEL_DELTA);
  return true;
}

void TCustomTreeView::HandleLeftDown(TMessage& m, bool doubleClick) {
  TWMMouse mm(m);
  if (!Focused() && CanFocus()) SetFocus();
  if (editor_) FinishEdit(false);
  HideToolTip();
  THitTests hit = GetHitTestInfoAt(mm.XPos, mm.YPos);
  TTreeNode* node = GetNodeAt(mm.XPos, mm.YPos);
  if (!node) return;
  if (hit.Contains(htOnButton)) {
    SetNodeExpanded(node, !node->expanded_);
    return;
  }
  if (!hit.Contains(htOnItem)) return;
  if (doubleClick) {
    if (HandleAllocated()) KillTimer(Handle(), kEditTimer);
    clickedLabel_ = nullptr;
    if (node->HasChildren()) SetNodeExpanded(node, !node->expanded_);
    return;
  }
  // A second, slow click on the selected label edits it.
  const bool again = node == selected_ && hit.Contains(htOnLabel);
  SelectNode(node, true);
  clickedLabel_ = again && selected_ == node ? node : nullptr;
}

void TCustomTreeView::HandleRightUp(TMessage& m) {
  TWMMouse mm(m);
  TPoint screen = ClientToScreen(mm.Pos());
  Perform(WM_CONTEXTMENU, Handle(), PointToLParam(screen));
}

void TCustomTreeView::WndProc(TMessage& m) {
  // The right click is told before the release is handled, as the desktop
  // tree tells it from inside its own button tracking.
  if (m.Msg == WM_RBUTTONUP && rightPressed_) {
    rightPressed_ = false;
    NMHDR hdr{HandleAllocated() ? Handle() : 0, 0, NM_RCLICK};
    rightClickAnswer_ = Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    rightClickPending_ = true;
  }
  TCustomControl::WndProc(m);
  if (m.Msg == WM_RBUTTONUP) rightClickPending_ = false;
}

void TCustomTreeView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TCustomControl::Dispatch(m);
      HandleLeftDown(m, m.Msg == WM_LBUTTONDBLCLK);
      return;
    case WM_LBUTTONUP:
      TCustomControl::Dispatch(m);
      if (clickedLabel_ && clickedLabel_ == selected_ && HandleAllocated())
        SetTimer(Handle(), kEditTimer, GetDoubleClickTime());
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      TCustomControl::Dispatch(m);
      if (!Focused() && CanFocus()) SetFocus();
      rightPressed_ = true;
      return;
    case WM_RBUTTONUP:
      TCustomControl::Dispatch(m);
      // The context menu follows unless the right-click notice was taken.
      if (rightClickPending_ && rightClickAnswer_ == 0) HandleRightUp(m);
      return;
    case WM_MOUSEMOVE: {
      TCustomControl::Dispatch(m);
      TWMMouse mm(m);
      TTreeNode* node = GetNodeAt(mm.XPos, mm.YPos);
      ShowToolTip(node && GetHitTestInfoAt(mm.XPos, mm.YPos).Contains(htOnLabel) ? node : nullptr);
      return;
    }
    case CM_MOUSELEAVE:
      HideToolTip();
      TCustomControl::Dispatch(m);
      return;
    case WM_TIMER:
      if (m.WParam == kEditTimer) {
        KillTimer(Handle(), kEditTimer);
        TTreeNode* node = clickedLabel_;
        clickedLabel_ = nullptr;
        if (node && node == selected_) StartEdit(node);
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    case WM_VSCROLL: {
      const Integer code = LoWord(m.WParam);
      const Integer page = std::max(1, VisibleRowCount());
      switch (code) {
        case SB_LINEUP: ScrollTo(topRow_ - 1); break;
        case SB_LINEDOWN: ScrollTo(topRow_ + 1); break;
        case SB_PAGEUP: ScrollTo(topRow_ - page); break;
        case SB_PAGEDOWN: ScrollTo(topRow_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(static_cast<int16_t>(HiWord(m.WParam))); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(static_cast<Integer>(Rows().size())); break;
        default: break;
      }
      return;
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_NCCALCSIZE:
      if (border_) {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        *r = {r->Left + 2, r->Top + 2, r->Right - 2, r->Bottom - 2};
      }
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      UpdateScrollRange();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_CREATE:
      TCustomControl::Dispatch(m);
      if (noToolTips_) SetWindowStyle(WindowStyle() | TVS_NOTOOLTIPS);
      // No menu from Qt: the tree sends its own WM_CONTEXTMENU.
      Widget()->setContextMenuPolicy(Qt::PreventContextMenu);
      UpdateScrollRange();
      return;
    default:
      if (m.Msg == kFreeEditorMessage) {
        Free(reinterpret_cast<TObject*>(m.LParam));
        return;
      }
      TCustomControl::Dispatch(m);
  }
}

}  // namespace vcl
