#include "vcl/ListBox.h"

#include <algorithm>

#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/RowScroll.h"
#include "vcl/WinApi.h"

namespace vcl {

// ------------------------------------------------------- TListBoxStrings

void TListBoxStrings::Inserted(Integer countBefore, Integer index) {
  if (Count() > countBefore && index <= box_->itemIndex_ && box_->itemIndex_ >= 0) ++box_->itemIndex_;
  box_->ItemsChanged();
}

void TListBoxStrings::Insert(Integer index, const AnsiString& s) {
  const Integer before = Count();
  TStringList::Insert(index, s);
  Inserted(before, index);
}

Integer TListBoxStrings::AddObject(const AnsiString& s, void* object) {
  const Integer before = Count();
  const Integer index = TStringList::AddObject(s, object);
  Inserted(before, index);
  return index;
}

void TListBoxStrings::Delete(Integer index) {
  TStringList::Delete(index);
  Integer& sel = box_->itemIndex_;
  if (index == sel)
    sel = -1;
  else if (index < sel)
    --sel;
  box_->ItemsChanged();
}

void TListBoxStrings::Clear() {
  TStringList::Clear();
  box_->itemIndex_ = -1;
  box_->topIndex_ = 0;
  box_->ItemsChanged();
}

void TListBoxStrings::Exchange(Integer index1, Integer index2) {
  TStringList::Exchange(index1, index2);
  Integer& sel = box_->itemIndex_;
  if (sel == index1)
    sel = index2;
  else if (sel == index2)
    sel = index1;
  box_->ItemsChanged();
}

void TListBoxStrings::Move(Integer curIndex, Integer newIndex) {
  TStringList::Move(curIndex, newIndex);
  Integer& sel = box_->itemIndex_;
  if (sel == curIndex)
    sel = newIndex;
  else if (curIndex < sel && newIndex >= sel)
    --sel;
  else if (curIndex > sel && newIndex <= sel && sel >= 0)
    ++sel;
  box_->ItemsChanged();
}

void TListBoxStrings::Sort() {
  Integer& sel = box_->itemIndex_;
  // The selected item is told apart by its text and object (equal pairs
  // are interchangeable on the screen).
  const bool had = sel >= 0 && sel < Count();
  const AnsiString text = had ? Get(sel) : AnsiString();
  void* object = had ? GetObject(sel) : nullptr;
  TStringList::Sort();
  if (had) {
    sel = -1;
    for (Integer i = 0; i < Count() && sel < 0; ++i)
      if (Get(i) == text && GetObject(i) == object) sel = i;
  }
  box_->ItemsChanged();
}

void TListBoxStrings::SetUpdateState(bool updating) {
  TStringList::SetUpdateState(updating);
  box_->updating_ = updating;
  if (!updating) box_->ItemsChanged();
}

// -------------------------------------------------------- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TListBoxStrings>(this)) {
  // Clicks are the list's own: a click on an item, not any button release.
  controlStyle_.Exclude(csClickEvents);
  tabStop_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (border_) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetBorderVisible(bool v) {
  if (v == border_) return;
  border_ = v;
  UpdateNonClientArea();
}

void TCustomListBox::SetSorted(bool v) {
  // Sorting moves the selection with its item (TListBoxStrings::Sort).
  items_->SetSorted(v);
}

void TCustomListBox::SetStyle(TListBoxStyle s) {
  if (s == style_) return;
  style_ = s;
  Invalidate();
}

Integer TCustomListBox::ItemHeight() const {
  if (itemHeight_ > 0) return itemHeight_;
  TCanvas measure;
  measure.SetFont(const_cast<TCustomListBox*>(this)->Font());
  return std::max(1, measure.TextHeight("Wg"));
}

void TCustomListBox::SetItemHeight(Integer v) {
  if (v == itemHeight_) return;
  itemHeight_ = std::max(0, v);
  UpdateScrollRange();
  Invalidate();
}

Integer TCustomListBox::VisibleItemCount() const { return ClientHeight() / ItemHeight(); }

void TCustomListBox::ItemsChanged() {
  if (itemIndex_ >= Count()) itemIndex_ = -1;
  if (updating_) return;
  UpdateScrollRange();
  Invalidate();
}

void TCustomListBox::UpdateScrollRange() {
  // A bar that came or went changes nothing vertically; the page stays.
  SyncRowScrollBar(this, topIndex_, Count(), VisibleItemCount());
}

void TCustomListBox::ScrollTo(Integer top) {
  if (ScrollRowsTo(this, topIndex_, top, Count(), VisibleItemCount())) Invalidate();
}

void TCustomListBox::SetTopIndex(Integer index) { ScrollTo(index); }

void TCustomListBox::MakeVisible(Integer index) {
  if (index < 0) return;
  const Integer page = std::max(1, VisibleItemCount());
  if (index < topIndex_)
    ScrollTo(index);
  else if (index >= topIndex_ + page)
    ScrollTo(index - page + 1);
}

void TCustomListBox::SetItemIndex(Integer index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index != itemIndex_) {
    itemIndex_ = index;
    Invalidate();
  }
  MakeVisible(index);
}

void TCustomListBox::UserSelect(Integer index) {
  if (index < 0 || index >= Count()) return;
  SetItemIndex(index);
  Click();
}

Integer TCustomListBox::ItemAtPos(TPoint p, bool existing) const {
  if (Count() == 0 || p.X < 0 || p.X >= ClientWidth() || p.Y < 0) return -1;
  const Integer index = topIndex_ + p.Y / ItemHeight();
  if (index < Count()) return index;
  return existing ? -1 : Count() - 1;
}

TRect TCustomListBox::ItemRect(Integer index) const {
  const Integer h = ItemHeight();
  const Integer top = (index - topIndex_) * h;
  return Rect(0, top, ClientWidth(), top + h);
}

// --- painting ---

void TCustomListBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  for (Integer i = topIndex_; i < Count(); ++i) {
    const TRect r = ItemRect(i);
    if (r.Top >= ClientHeight()) break;
    TOwnerDrawState state;
    if (i == itemIndex_) state.Include(odSelected);
    if (!Enabled()) state.Include(odDisabled).Include(odGrayed);
    const bool focusedItem = Focused() && (i == itemIndex_ || (itemIndex_ < 0 && i == 0));
    if (focusedItem) state.Include(odFocused);
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    if (state.Contains(odSelected)) c->Font()->SetColor(clHighlightText);
    DrawItem(i, r, state);
    if (focusedItem) {
      c->Brush()->SetStyle(bsSolid);
      c->Font()->SetColor(clHighlightText);
      c->DrawFocusRect(r);
    }
  }
}

void TCustomListBox::DrawItem(Integer index, const TRect& rect, TOwnerDrawState state) {
  if (style_ == lbOwnerDrawFixed && OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  TCanvas* c = Canvas();
  c->FillRect(rect);
  if (state.Contains(odDisabled)) c->Font()->SetColor(clGrayText);
  c->Brush()->SetStyle(bsClear);
  const AnsiString text = items_->Get(index);
  c->TextOut(rect.Left + 2, rect.Top + (rect.Height() - c->TextHeight(text.empty() ? "W" : text)) / 2, text);
  c->Brush()->SetStyle(bsSolid);
}

// --- input ---

void TCustomListBox::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0 || Count() == 0) return;
  const Integer page = std::max(1, VisibleItemCount() - 1);
  Integer target = itemIndex_;
  switch (key) {
    case VK_UP: target = itemIndex_ < 0 ? 0 : itemIndex_ - 1; break;
    case VK_DOWN: target = itemIndex_ < 0 ? 0 : itemIndex_ + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count() - 1; break;
    case VK_PRIOR: target = std::max(0, itemIndex_) - page; break;
    case VK_NEXT: target = std::max(0, itemIndex_) + page; break;
    default: return;
  }
  target = std::clamp(target, 0, Count() - 1);
  if (target != itemIndex_) UserSelect(target);
}

void TCustomListBox::KeyPress(WideChar& key) {
  TCustomControl::KeyPress(key);
  if (key < 32 || Count() == 0) return;
  // A typed character moves to the next item that starts with it.
  const AnsiString typed = rtl::ToAnsi(std::u16string(1, key));
  const Integer n = Count();
  for (Integer i = 1; i <= n; ++i) {
    const Integer index = (std::max(0, itemIndex_) + (itemIndex_ < 0 ? i - 1 : i)) % n;
    if (rtl::StartsText(typed, items_->Get(index))) {
      if (index != itemIndex_) UserSelect(index);
      return;
    }
  }
}

bool TCustomListBox::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  Cardinal lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ScrollTo(topIndex_ - wheelDelta * static_cast<Integer>(lines) / WHEEL_DELTA);
  return true;
}

void TCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Focused() && CanFocus()) SetFocus();
      TWMMouse mm(m);
      const Integer index = ItemAtPos(mm.Pos(), true);
      tracking_ = true;
      if (index >= 0 && m.Msg == WM_LBUTTONDOWN) UserSelect(index);
      // A double click away from the items is no double click on one.
      if (m.Msg == WM_LBUTTONDBLCLK && index < 0) {
        TMessage down = m;
        down.Msg = WM_LBUTTONDOWN;
        TCustomControl::Dispatch(down);
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    }
    case WM_MOUSEMOVE: {
      TCustomControl::Dispatch(m);
      TWMMouse mm(m);
      // Dragging with the button down moves the selection along.
      if (tracking_ && (mm.Keys & MK_LBUTTON) && Count() > 0) {
        Integer index = mm.YPos < 0 ? topIndex_ - 1 : ItemAtPos({std::clamp(mm.XPos, 0, ClientWidth() - 1), mm.YPos}, false);
        index = std::clamp(index, 0, Count() - 1);
        if (index != itemIndex_) UserSelect(index);
      }
      return;
    }
    case WM_LBUTTONUP:
      tracking_ = false;
      TCustomControl::Dispatch(m);
      return;
    case WM_VSCROLL:
      ScrollTo(RowScrollRequest(m.WParam, topIndex_, Count(), VisibleItemCount()));
      return;
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
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      UpdateScrollRange();
      Invalidate();
      return;
    case WM_CREATE:
      TCustomControl::Dispatch(m);
      UpdateScrollRange();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

}  // namespace vcl
