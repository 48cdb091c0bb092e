#include "vcl/ListView.h"

#include <algorithm>
#include <utility>

#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/RowScroll.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {
constexpr Integer kCheckSize = 13;
constexpr Integer kCheckLeft = 3;
}  // namespace

// ------------------------------------------------------------- TListItem

TListItem::TListItem(TListItems* owner) : owner_(owner) {}

TCustomListView* TListItem::ListView() const { return owner_->Owner(); }
Integer TListItem::Index() const { return owner_->IndexOf(this); }

void TListItem::SetCaption(const AnsiString& s) {
  if (s == caption_) return;
  caption_ = s;
  TCustomListView* v = ListView();
  v->SortIfNeeded();
  v->Invalidate();
  v->Change(this, ctText);  // last: the handler may delete this row
}

void TListItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  // The handler may delete this row (a list filled anew).
  TCustomListView* view = ListView();
  view->Invalidate();
  view->Change(this, ctState);
}

bool TListItem::Selected() const { return ListView()->Selected() == this; }
void TListItem::SetSelected(bool v) {
  if (v)
    ListView()->SetSelected(this);
  else if (Selected())
    ListView()->SetSelected(nullptr);
}
bool TListItem::Focused() const { return ListView()->ItemFocused() == this; }
void TListItem::SetFocused(bool v) {
  if (v)
    ListView()->SetItemFocused(this);
  else if (Focused())
    ListView()->SetItemFocused(nullptr);
}

void TListItem::MakeVisible(bool partialOK) {
  TCustomListView* v = ListView();
  const Integer index = Index();
  const Integer page = std::max(1, v->VisibleRowCount());
  if (index < v->topIndex_)
    v->ScrollTo(index);
  else if (index >= v->topIndex_ + page)
    v->ScrollTo(index - page + 1);
  (void)partialOK;
}

TRect TListItem::DisplayRect() const { return ListView()->ItemRect(Index()); }
void TListItem::Delete() { owner_->Delete(Index()); }

// ------------------------------------------------------------ TListItems

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(Integer index) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::make_unique<TListItem>(this));
  TListItem* item = items_[static_cast<size_t>(index)].get();
  view_->ItemsChanged();
  return item;
}

void TListItems::Delete(Integer index) {
  if (index < 0 || index >= Count()) return;
  TListItem* item = Item(index);
  view_->ItemRemoving(item);
  items_.erase(items_.begin() + index);
  view_->ItemsChanged();
}

void TListItems::Clear() {
  BeginUpdate();
  while (Count() > 0) Delete(Count() - 1);
  view_->topIndex_ = 0;
  EndUpdate();
}

Integer TListItems::IndexOf(const TListItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<Integer>(i);
  return -1;
}

void TListItems::BeginUpdate() { ++updates_; }
void TListItems::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) {
    view_->SortIfNeeded();
    view_->ItemsChanged();
  }
}

// ------------------------------------------------------- TCustomListView

TCustomListView::TCustomListView(TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TListItems>(this)) {
  controlStyle_.Exclude(csClickEvents);
  tabStop_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
  // Rows go without events once the view is going.
  OnChange = nullptr;
  OnSelectItem = nullptr;
  OnEdited = nullptr;
  if (editor_) {
    editor_->OnExit = nullptr;
    editor_->OnKeyDown = nullptr;
  }
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

TListColumn* TCustomListView::AddColumn() {
  columns_.emplace_back();
  Invalidate();
  return &columns_.back();
}

void TCustomListView::SetColumnWidth(Integer index, Integer width) {
  if (index < 0 || index >= ColumnCount()) return;
  columns_[static_cast<size_t>(index)].Width = std::max(0, width);
  Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  viewStyle_ = v;
  Invalidate();
}
void TCustomListView::SetShowColumnHeaders(bool v) {
  showHeaders_ = v;
  UpdateScrollRange();
  Invalidate();
}
void TCustomListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  Invalidate();
}
void TCustomListView::SetHideSelection(bool v) {
  hideSelection_ = v;
  Invalidate();
}
void TCustomListView::SetCheckboxes(bool v) {
  checkboxes_ = v;
  Invalidate();
}
bool TCustomListView::EditCaption(TListItem* item) {
  if (readOnly_ || !item || items_->IndexOf(item) < 0) return false;
  if (editor_) EndEdit(true);
  if (retired_) Free(std::exchange(retired_, nullptr));
  bool allow = true;
  if (OnEditing) OnEditing(this, item, allow);
  if (!allow) return false;
  item->MakeVisible(false);
  auto* edit = new TEdit(this);
  const TRect row = ItemRect(item->Index());
  const Integer right = ColumnCount() > 0 ? std::min(ClientWidth(), columns_[0].Width) : ClientWidth();
  edit->SetBounds(CaptionLeft() - 2, row.Top - 2, std::max<Integer>(20, right - CaptionLeft() + 2), row.Height() + 4);
  edit->SetParent(this);
  edit->SetText(item->Caption());
  editor_ = edit;
  editing_ = item;
  edit->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
    if (key == VK_RETURN || key == VK_ESCAPE) {
      const bool accept = key == VK_RETURN;
      key = 0;
      EndEdit(accept);
    }
  };
  edit->OnExit = [this](TObject*) { EndEdit(true); };
  edit->SetFocus();
  edit->SelectAll();
  return true;
}

void TCustomListView::EndEdit(bool accept) {
  if (!editor_) return;
  TWinControl* edit = std::exchange(editor_, nullptr);
  TListItem* item = std::exchange(editing_, nullptr);
  AnsiString text = edit->Text();
  edit->OnExit = nullptr;
  if (accept && item && items_->IndexOf(item) >= 0) {
    if (OnEdited) OnEdited(this, item, text);
    if (items_->IndexOf(item) >= 0) item->SetCaption(text);
  }
  edit->SetVisible(false);
  retired_ = edit;
  if (HandleAllocated() && CanFocus()) SetFocus();
  Invalidate();
}

void TCustomListView::SetHotTrack(bool v) {
  hotTrack_ = v;
  if (!v) SetHot(nullptr);
}

void TCustomListView::SetHot(TListItem* item) {
  if (item == hot_) return;
  hot_ = item;
  if (hotTrack_) SetCursor(item ? crHandPoint : crDefault);
  Invalidate();
}

void TCustomListView::SetSortType(TSortType v) {
  sortType_ = v;
  SortIfNeeded();
}

void TCustomListView::AlphaSort() {
  sorting_ = true;
  std::stable_sort(items_->items_.begin(), items_->items_.end(), [](const auto& a, const auto& b) {
    return rtl::CompareText(a->Caption(), b->Caption()) < 0;
  });
  sorting_ = false;
  Invalidate();
}

void TCustomListView::SortIfNeeded() {
  if (items_->updates_ > 0 || sorting_) return;
  if (sortType_ == stText || sortType_ == stBoth) AlphaSort();
}

void TCustomListView::ItemsChanged() {
  if (items_->updates_ > 0) return;
  UpdateScrollRange();
  Invalidate();
}

void TCustomListView::ItemRemoving(TListItem* item) {
  if (selected_ == item) {
    selected_ = nullptr;
    if (OnSelectItem) OnSelectItem(this, item, false);
    Change(item, ctState);
  }
  if (focused_ == item) focused_ = nullptr;
  if (hot_ == item) SetHot(nullptr);
}

void TCustomListView::Change(TListItem* item, TItemChange change) {
  if (OnChange) OnChange(this, item, change);
}

void TCustomListView::SetSelected(TListItem* item) {
  if (item == selected_) return;
  TListItem* old = selected_;
  selected_ = nullptr;
  // The handlers may delete rows: each row is told only while it is there.
  if (old) {
    if (OnSelectItem) OnSelectItem(this, old, false);
    if (items_->IndexOf(old) >= 0) Change(old, ctState);
  }
  if (item && items_->IndexOf(item) < 0) item = nullptr;
  selected_ = item;
  if (item) {
    focused_ = item;
    if (OnSelectItem) OnSelectItem(this, item, true);
    if (items_->IndexOf(item) >= 0) Change(item, ctState);
  }
  Invalidate();
}

void TCustomListView::SetItemFocused(TListItem* item) {
  focused_ = item;
  Invalidate();
}

TListItem* TCustomListView::FindCaption(Integer startIndex, const AnsiString& value, bool partial, bool inclusive,
                                        bool wrap) const {
  const Integer n = items_->Count();
  if (n == 0) return nullptr;
  Integer first = std::clamp(startIndex + (inclusive ? 0 : 1), 0, n);
  for (Integer step = 0; step < n; ++step) {
    Integer i = first + step;
    if (i >= n) {
      if (!wrap) return nullptr;
      i -= n;
    }
    const AnsiString& c = items_->Item(i)->Caption();
    if (partial ? rtl::StartsText(value, c) : rtl::SameText(value, c)) return items_->Item(i);
  }
  return nullptr;
}

Integer TCustomListView::RowHeight() const {
  TCanvas measure;
  measure.SetFont(const_cast<TCustomListView*>(this)->Font());
  return std::max(checkboxes_ ? kCheckSize + 3 : 1, measure.TextHeight("Wg") + 3);
}

Integer TCustomListView::HeaderHeight() const { return showHeaders_ ? RowHeight() + 4 : 0; }

Integer TCustomListView::VisibleRowCount() const {
  return std::max(0, (ClientHeight() - HeaderHeight()) / RowHeight());
}

TRect TCustomListView::ItemRect(Integer index) const {
  const Integer h = RowHeight();
  const Integer top = HeaderHeight() + (index - topIndex_) * h;
  return Rect(0, top, ClientWidth(), top + h);
}

TRect TCustomListView::CheckRect(Integer index) const {
  const TRect r = ItemRect(index);
  const Integer top = r.Top + (r.Height() - kCheckSize) / 2;
  return Rect(kCheckLeft, top, kCheckLeft + kCheckSize, top + kCheckSize);
}

Integer TCustomListView::CaptionLeft() const { return checkboxes_ ? kCheckLeft + kCheckSize + 4 : 2; }

TListItem* TCustomListView::GetItemAt(Integer x, Integer y) const {
  if (x < 0 || x >= ClientWidth() || y < HeaderHeight()) return nullptr;
  const Integer index = topIndex_ + (y - HeaderHeight()) / RowHeight();
  return index < items_->Count() ? items_->Item(index) : nullptr;
}

void TCustomListView::UpdateScrollRange() { SyncRowScrollBar(this, topIndex_, items_->Count(), VisibleRowCount()); }

void TCustomListView::ScrollTo(Integer top) {
  if (ScrollRowsTo(this, topIndex_, top, items_->Count(), VisibleRowCount())) Invalidate();
}

void TCustomListView::Scroll(Integer, Integer dy) { ScrollTo(topIndex_ + dy / std::max(1, RowHeight())); }

void TCustomListView::UserSelect(TListItem* item) {
  if (!item) return;
  SetSelected(item);
  item->MakeVisible(false);
}

void TCustomListView::ToggleCheck(TListItem* item) {
  if (item) item->SetChecked(!item->Checked());
}

// --- painting ---

void TCustomListView::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  c->SetFont(Font());
  if (showHeaders_) {
    Integer x = 0;
    const Integer hh = HeaderHeight();
    for (const TListColumn& col : columns_) {
      TRect r = Rect(x, 0, x + col.Width, hh);
      c->Brush()->SetColor(clBtnFace);
      c->FillRect(r);
      DrawEdge(c, r, EDGE_RAISED, BF_RECT);
      c->Brush()->SetStyle(bsClear);
      c->TextRect(Rect(r.Left + 4, r.Top, r.Right - 4, r.Bottom), r.Left + 4, r.Top + 2, col.Caption);
      c->Brush()->SetStyle(bsSolid);
      x += col.Width;
    }
  }
  const bool showSelection = Focused() || !hideSelection_;
  for (Integer i = topIndex_; i < items_->Count(); ++i) {
    const TRect row = ItemRect(i);
    if (row.Top >= ClientHeight()) break;
    TListItem* item = items_->Item(i);
    const bool selected = item == selected_ && showSelection;
    c->SetFont(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    const bool hot = hotTrack_ && item == hot_;
    if (hot) c->Font()->SetStyle(TFontStyles(c->Font()->Style()).Include(fsUnderline));
    if (checkboxes_) {
      TRect box = CheckRect(i);
      DrawFrameControl(c, box, DFC_BUTTON, DFCS_BUTTONCHECK | (item->Checked() ? DFCS_CHECKED : 0) |
                                                 (Enabled() ? 0 : DFCS_INACTIVE));
    }
    Integer x = 0;
    const Integer columns = std::max<Integer>(1, ColumnCount());
    for (Integer col = 0; col < columns; ++col) {
      const Integer width = ColumnCount() > 0 ? columns_[static_cast<size_t>(col)].Width : row.Width();
      TRect cell = Rect(x, row.Top, x + width, row.Bottom);
      if (col == 0) cell.Left = CaptionLeft() - 2;
      const AnsiString text = col == 0 ? item->Caption()
                                       : (col - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(col - 1)
                                                                                : AnsiString());
      const bool highlight = selected && (rowSelect_ || col == 0);
      TRect fill = cell;
      if (!rowSelect_ && col == 0) fill.Right = std::min(cell.Right, cell.Left + c->TextWidth(text) + 4);
      if (highlight) {
        c->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
        c->FillRect(fill);
        c->Font()->SetColor(Focused() ? clHighlightText : clWindowText);
      } else {
        c->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
      }
      c->Brush()->SetStyle(bsClear);
      c->TextRect(Rect(cell.Left + 2, cell.Top, cell.Right - 2, cell.Bottom), cell.Left + 2,
                  cell.Top + (cell.Height() - c->TextHeight("Wg")) / 2, text);
      c->Brush()->SetStyle(bsSolid);
      x += width;
    }
    if (item == focused_ && Focused()) {
      TRect f = row;
      f.Left = CaptionLeft() - 2;
      c->Brush()->SetColor(clHighlight);
      c->DrawFocusRect(f);
    }
  }
}

// --- input ---

void TCustomListView::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const Integer n = items_->Count();
  if (key == 0 || n == 0) return;
  const Integer current = selected_ ? selected_->Index() : (focused_ ? focused_->Index() : -1);
  const Integer page = std::max(1, VisibleRowCount() - 1);
  Integer target = current;
  switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    case VK_PRIOR: target = std::max(0, current) - page; break;
    case VK_NEXT: target = std::max(0, current) + page; break;
    case VK_SPACE:
      if (checkboxes_ && current >= 0) ToggleCheck(items_->Item(current));
      return;
    case VK_F2:
      if (selected_) EditCaption(selected_);
      return;
    default: return;
  }
  UserSelect(items_->Item(std::clamp(target, 0, n - 1)));
}

bool TCustomListView::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  ScrollTo(topIndex_ - wheelDelta * 3 / WHEEL_DELTA);
  return true;
}

void TCustomListView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Focused() && CanFocus()) SetFocus();
      TWMMouse mm(m);
      TListItem* item = GetItemAt(mm.XPos, mm.YPos);
      // A second click soon after the first (a double click) chooses as a
      // click does.
      if (item) {
        const TRect box = CheckRect(item->Index());
        const TPoint p = mm.Pos();
        const bool onBox = checkboxes_ && p.X >= box.Left && p.X < box.Right && p.Y >= box.Top && p.Y < box.Bottom;
        // Without whole-row selection only the caption's text selects.
        const Integer textRight =
            CaptionLeft() + Canvas()->TextWidth(item->Caption()) + 4;
        const bool again = item == selected_ && m.Msg == WM_LBUTTONDOWN && Focused();
        if (onBox)
          ToggleCheck(item);
        else if (again && !readOnly_ && p.X >= CaptionLeft() - 2 && p.X < textRight)
          EditCaption(item);
        else if (rowSelect_ || (p.X >= CaptionLeft() - 2 && p.X < textRight))
          UserSelect(item);
        else
          SetSelected(nullptr);
      } else {
        SetSelected(nullptr);
      }
      TCustomControl::Dispatch(m);
      return;
    }
    case WM_MOUSEMOVE: {
      TCustomControl::Dispatch(m);
      TWMMouse mm(m);
      if (hotTrack_) SetHot(GetItemAt(mm.XPos, mm.YPos));
      return;
    }
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(m);
      SetHot(nullptr);
      return;
    case WM_VSCROLL:
      ScrollTo(RowScrollRequest(m.WParam, topIndex_, items_->Count(), VisibleRowCount()));
      return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      *r = {r->Left + 2, r->Top + 2, r->Right - 2, r->Bottom - 2};
      return;
    }
    case WM_SIZE:
    case WM_CREATE:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      UpdateScrollRange();
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

}  // namespace vcl
