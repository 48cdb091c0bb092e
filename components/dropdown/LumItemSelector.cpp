#include "dropdown/LumItemSelector.h"

#include <algorithm>

#include "dropdown/LumDropDownDraw.h"
#include "dropdown/text/HtmlTextRoutines.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

bool HasPicture(const TSelectorItem& item) {
  return item.Image() && item.Image()->Graphic() && !item.Image()->Graphic()->Empty();
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomItemSelector

TCustomItemSelector::TCustomItemSelector(TComponent* owner) : TCustomControl(owner) {
  itemSelector_ = dynamic_cast<TLumCustomItemSelector*>(owner);
  if (!itemSelector_) throw rtl::Exception("Invalid parent");
  SetParentColor(true);
}

TCustomItemSelector::~TCustomItemSelector() = default;

bool TCustomItemSelector::ValidIndex(Integer index) const {
  return index >= 0 && index < itemSelector_->Items()->Count();
}

void TCustomItemSelector::SetItemIndex(Integer index) {
  // An index past the items would reach the owner's handler as an item
  // that does not exist.
  if (index < -1 || index >= itemSelector_->Items()->Count()) return;
  if (ValidIndex(index) && !itemSelector_->Items()->Items(index)->Enabled()) return;
  if (itemIndex_ != index && itemIndex_ >= 0) {
    const Integer old = itemIndex_;
    itemIndex_ = -1;
    InvalidateItem(old);
  }
  itemIndex_ = index;
  if (index >= 0) {
    if (HandleAllocated()) DrawItem(index, Canvas());
    InvalidateItem(index);
    if (OnSelect) OnSelect(this);
  }
}

void TCustomItemSelector::SetHotIndex(Integer index) {
  if (index == hotIndex_) return;
  if (ValidIndex(index) && !itemSelector_->Items()->Items(index)->Enabled()) return;
  if (hotIndex_ >= 0) {
    const Integer old = hotIndex_;
    hotIndex_ = -1;
    InvalidateItem(old);
  }
  hotIndex_ = index;
  if (index >= 0) {
    if (HandleAllocated()) DrawItem(index, Canvas());
    InvalidateItem(index);
  }
}

void TCustomItemSelector::SelectFirst() {
  if (itemSelector_->Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
  if (itemSelector_->Items()->Count() > 0) SetItemIndex(itemSelector_->Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext() {
  const Integer count = itemSelector_->Items()->Count();
  if (count == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ + 1 < count)
    SetItemIndex(itemIndex_ + 1);
}

void TCustomItemSelector::SelectPrevious() {
  if (itemSelector_->Items()->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ > 0)
    SetItemIndex(itemIndex_ - 1);
}

void TCustomItemSelector::HotNext() {
  const Integer count = itemSelector_->Items()->Count();
  if (count == 0) return;
  if (hotIndex_ < 0)
    SetHotIndex(0);
  else if (hotIndex_ + 1 < count)
    SetHotIndex(hotIndex_ + 1);
}

void TCustomItemSelector::HotPrevious() {
  if (itemSelector_->Items()->Count() == 0) return;
  if (hotIndex_ < 0)
    SetHotIndex(0);
  else if (hotIndex_ > 0)
    SetHotIndex(hotIndex_ - 1);
}

bool TCustomItemSelector::SelectByPrefix(const rtl::AnsiString& text) {
  TSelectorItems* items = itemSelector_->Items();
  for (Integer i = 0; i < items->Count(); ++i) {
    const rtl::AnsiString plain = rtl::AnsiUpperCase(rtl::Trim(StripHTML(items->Items(i)->Caption())));
    if (plain.compare(0, text.size(), text) == 0) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

Integer TCustomItemSelector::ItemAtPos(Integer x, Integer y) const {
  TSelectorItems* items = itemSelector_->Items();
  for (Integer i = 0; i < items->Count(); ++i)
    if (PtInRect(items->Items(i)->ItemRect(), TPoint{x, y})) return i;
  return -1;
}

void TCustomItemSelector::GetItemsArea(TRect& r) {
  r = ClientRect();
  r.Left += marginX_;
  r.Top += marginY_;
  r.Right -= marginX_;
  r.Bottom -= marginY_;
}

TSize TCustomItemSelector::BoxSize(const TSelectorItem& item) const {
  if (itemSelector_->SelectorType() == TSelectorType::stColor)
    return {itemSelector_->ColorBoxWidth(), itemSelector_->ColorBoxHeight()};
  if (HasPicture(item)) return {item.Image()->Width(), item.Image()->Height()};
  if (itemSelector_->Images() && item.ImageIndex() >= 0)
    return {itemSelector_->Images()->Width(), itemSelector_->Images()->Height()};
  return {0, 0};
}

void TCustomItemSelector::GetItemSize(TSize& size) {
  TLumCustomItemSelector* owner = itemSelector_;
  if (owner->OnItemSize) {
    owner->OnItemSize(this, size);
    return;
  }
  TSelectorItems* items = owner->Items();
  TSize box{0, 0};
  if (owner->SelectorType() == TSelectorType::stColor) {
    box = {owner->ColorBoxWidth(), owner->ColorBoxHeight()};
  } else {
    for (Integer i = 0; i < items->Count(); ++i) {
      const TSize b = BoxSize(*items->Items(i));
      box.cx = std::max(box.cx, b.cx);
      box.cy = std::max(box.cy, b.cy);
    }
  }
  Integer tw = 0, th = 0;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(owner->ItemAppearance()->Font());
  for (Integer i = 0; i < items->Count(); ++i) {
    const TSize s =
        DrawHTMLCaption(canvas, items->Items(i)->Caption(), TRect{0, 0, 1000, 500}, owner->Images(), false, 0);
    tw = std::max(tw, s.cx);
    th = std::max(th, s.cy);
  }
  if (tw > 0) tw += 4;
  switch (owner->ItemLayout()) {
    case TItemLayout::ilCaptionLeft:
    case TItemLayout::ilCaptionRight:
      size.cx = 2 * insetX_ + (box.cx > 0 ? box.cx : 0) + (box.cx > 0 && tw > 0 ? spacing_ : 0) + tw;
      size.cy = std::max(th, box.cy) + 2 * insetY_;
      break;
    case TItemLayout::ilCaptionTop:
    case TItemLayout::ilCaptionBottom:
      size.cx = std::max(tw, box.cx) + 2 * insetX_;
      size.cy = 2 * insetY_ + (box.cy > 0 ? box.cy : 0) + (box.cy > 0 && th > 0 ? spacing_ : 0) + th;
      break;
  }
}

void TCustomItemSelector::LayoutItems() {
  TSelectorItems* items = itemSelector_->Items();
  if (items->Count() == 0) {
    SetBounds(Left(), Top(), 100, 50);
    itemSelector_->FollowSelector();
    return;
  }
  hotIndex_ = -1;
  TSize size{0, 0};
  GetItemSize(size);
  TRect area{};
  GetItemsArea(area);
  const Integer columns = std::max<Integer>(1, itemSelector_->Columns());
  Integer right = area.Left, bottom = area.Top;
  for (Integer i = 0; i < items->Count(); ++i) {
    const Integer x = area.Left + (i % columns) * size.cx;
    const Integer y = area.Top + (i / columns) * size.cy;
    items->Items(i)->SetItemRect(TRect{x, y, x + size.cx, y + size.cy});
    right = std::max(right, x + size.cx);
    bottom = std::max(bottom, y + size.cy);
  }
  SetBounds(Left(), Top(), right + area.Left, bottom + area.Top);
  itemSelector_->FollowSelector();
  Invalidate();
}

void TCustomItemSelector::InvalidateItem(Integer index) {
  if (!ValidIndex(index) || !HandleAllocated()) return;
  const TRect r = itemSelector_->Items()->Items(index)->ItemRect();
  RedrawWindow(Handle(), &r, RDW_INVALIDATE);
}

void TCustomItemSelector::DrawBox(TCanvas* canvas, const TSelectorItem& item, Integer left, Integer top, TSize box) {
  if (itemSelector_->SelectorType() == TSelectorType::stColor) {
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetColor(item.Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(TRect{left, top, left + box.cx, top + box.cy});
  } else if (HasPicture(item)) {
    canvas->Draw(left, top, item.Image()->Graphic());
  } else if (itemSelector_->Images() && item.ImageIndex() >= 0) {
    itemSelector_->Images()->Draw(canvas, left, top, item.ImageIndex(), item.Enabled());
  }
}

void TCustomItemSelector::DrawItem(Integer index, TCanvas* canvas) {
  if (!ValidIndex(index) || !canvas) return;
  TLumCustomItemSelector* owner = itemSelector_;
  const TSelectorItem& item = *owner->Items()->Items(index);
  const TRect r = item.ItemRect();
  if (r.Left < 0 && r.Right < 0) return;
  TItemAppearance* a = owner->ItemAppearance();
  const bool selected = index == itemIndex_;
  const bool hot = !selected && index == hotIndex_;
  if (selected || hot) {
    const TColor from = selected ? a->ColorSelected() : a->ColorHot();
    const TColor to = selected ? a->ColorSelectedTo() : a->ColorHotTo();
    const TColor mirror = selected ? a->ColorMirrorSelected() : a->ColorMirrorHot();
    const TColor mirrorTo = selected ? a->ColorMirrorSelectedTo() : a->ColorMirrorHotTo();
    if (a->BorderColorTop() == clNone)
      DrawBackground(canvas, r, from, to, a->BorderColor(), 1, TGradientDirection::gdVertical);
    else
      grid::DrawSelectionBox(canvas, from, to, mirror, mirrorTo, a->BorderColorTop(), a->BorderColorBottom(),
                             a->BorderColor(), a->EdgeColor(), Color(), r, 0);
  } else {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  if (owner->OnDrawItem) {
    owner->OnDrawItem(this, canvas, r, index);
    return;
  }
  const TRect c{r.Left + insetX_, r.Top + insetY_, r.Right - insetX_, r.Bottom - insetY_};
  const TSize box = BoxSize(item);
  const bool colorBox = owner->SelectorType() == TSelectorType::stColor;
  canvas->Font()->Assign(a->Font());
  if (hot) canvas->Font()->SetColor(a->ColorHotText());
  if (selected) canvas->Font()->SetColor(a->ColorSelectedText());
  canvas->Brush()->SetStyle(bsClear);
  const rtl::AnsiString& caption = item.Caption();
  const HWND window = Handle();
  auto measure = [&](const TRect& area) {
    return DrawHTMLCaption(canvas, caption, area, owner->Images(), false, window);
  };
  auto draw = [&](const TRect& area) { DrawHTMLCaption(canvas, caption, area, owner->Images(), true, window); };
  const Integer middleTop = c.Top + (c.Bottom - c.Top - box.cy) / 2;
  switch (owner->ItemLayout()) {
    case TItemLayout::ilCaptionRight: {
      DrawBox(canvas, item, c.Left, colorBox ? c.Top : middleTop, box);
      TRect t{c.Left + box.cx + spacing_, c.Top, c.Right, c.Bottom};
      if (!caption.empty()) {
        const TSize s = measure(t);
        if (s.cy < c.Bottom - c.Top) t.Top = c.Top + (c.Bottom - c.Top - s.cy) / 2;
        draw(t);
      }
      break;
    }
    case TItemLayout::ilCaptionLeft: {
      Integer boxLeft = c.Left;
      if (!caption.empty()) {
        TRect t{c.Left, c.Top, c.Right - box.cx, c.Bottom};
        const TSize s = measure(t);
        if (s.cy < c.Bottom - c.Top) t.Top = c.Top + (c.Bottom - c.Top - s.cy) / 2;
        draw(t);
        boxLeft = c.Left + s.cx + spacing_;
      }
      DrawBox(canvas, item, boxLeft, colorBox ? c.Top : middleTop, box);
      break;
    }
    case TItemLayout::ilCaptionTop: {
      Integer boxTop = middleTop;
      if (!caption.empty()) {
        const TRect t{c.Left, c.Top, c.Right, c.Bottom - box.cy};
        const TSize s = measure(t);
        draw(t);
        boxTop = c.Top + s.cy + spacing_;
      }
      DrawBox(canvas, item, c.Left + (c.Right - c.Left - box.cx) / 2, boxTop, box);
      break;
    }
    case TItemLayout::ilCaptionBottom: {
      const Integer boxTop = caption.empty() ? middleTop : c.Top;
      DrawBox(canvas, item, c.Left + (c.Right - c.Left - box.cx) / 2, boxTop, box);
      if (!caption.empty()) draw(TRect{c.Left, boxTop + box.cy + spacing_, c.Right, c.Bottom});
      break;
    }
  }
}

void TCustomItemSelector::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  for (Integer i = 0; i < itemSelector_->Items()->Count(); ++i) DrawItem(i, canvas);
}

void TCustomItemSelector::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const Integer i = ItemAtPos(x, y);
  if (ValidIndex(i) && itemSelector_->Items()->Items(i)->Enabled()) SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  const Integer i = ItemAtPos(x, y);
  if (i >= 0 && i != hotIndex_) {
    const TSelectorItem* item = itemSelector_->Items()->Items(i);
    SetHotIndex(item->Enabled() ? i : -1);
    SetHint(item->Hint());
    if (Application) Application->CancelHint();
  } else if (i < 0 && hotIndex_ >= 0) {
    SetHotIndex(-1);
  }
}

void TCustomItemSelector::Dispatch(TMessage& m) {
  TCustomControl::Dispatch(m);
  if (m.Msg == CM_MOUSELEAVE) SetHotIndex(-1);
}

// ---------------------------------------------------------------------------
// TLumCustomItemSelector

TLumCustomItemSelector::TLumCustomItemSelector(TComponent* owner) : TScrollingWinControl(owner) {
  items_ = std::make_unique<TSelectorItems>(this);
  items_->OnChange = [this] { LayoutItems(); };
  itemAppearance_ = std::make_unique<TItemAppearance>(this);
  itemAppearance_->SetItemColorStyle(1);
  SetColor(clWindow);
  VertScrollBar().SetTracking(true);
  selector_ = new TCustomItemSelector(this);
  selector_->SetParent(this);
  selector_->OnSelect = [this](TObject*) {
    if (OnItemSelect) OnItemSelect(this);
  };
  LayoutItems();
}

TLumCustomItemSelector::~TLumCustomItemSelector() {
  // The items go before the inner list that reads them.
  if (items_) items_->OnChange = nullptr;
}

void TLumCustomItemSelector::SetColumns(Integer v) {
  if (v <= 0 || v == columns_) return;
  columns_ = v;
  LayoutItems();
}

void TLumCustomItemSelector::SetSelectorType(TSelectorType v) {
  if (v == selectorType_) return;
  selectorType_ = v;
  LayoutItems();
}

void TLumCustomItemSelector::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  LayoutItems();
}

void TLumCustomItemSelector::SetColorBoxHeight(Integer v) {
  if (v == colorBoxHeight_) return;
  colorBoxHeight_ = v;
  LayoutItems();
}

void TLumCustomItemSelector::SetColorBoxWidth(Integer v) {
  if (v == colorBoxWidth_) return;
  colorBoxWidth_ = v;
  LayoutItems();
}

void TLumCustomItemSelector::Notification(TComponent* component, TOperation operation) {
  TScrollingWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    LayoutItems();
  }
  if (operation == opRemove && component == selector_) selector_ = nullptr;
}

void TLumCustomItemSelector::SetItemIndex(Integer index) {
  if (!selector_) return;
  selector_->SetItemIndex(index);
  ScrollInView(ItemIndex());
}

void TLumCustomItemSelector::SelectFirst() {
  if (!selector_) return;
  selector_->SelectFirst();
  ScrollInView(ItemIndex());
}
void TLumCustomItemSelector::SelectLast() {
  if (!selector_) return;
  selector_->SelectLast();
  ScrollInView(ItemIndex());
}
void TLumCustomItemSelector::SelectNext() {
  if (!selector_) return;
  selector_->SelectNext();
  ScrollInView(ItemIndex());
}
void TLumCustomItemSelector::SelectPrevious() {
  if (!selector_) return;
  selector_->SelectPrevious();
  ScrollInView(ItemIndex());
}
void TLumCustomItemSelector::HotNext() {
  if (!selector_) return;
  selector_->HotNext();
  ScrollInView(HotIndex());
}
void TLumCustomItemSelector::HotPrevious() {
  if (!selector_) return;
  selector_->HotPrevious();
  ScrollInView(HotIndex());
}

bool TLumCustomItemSelector::SelectByPrefix(const rtl::AnsiString& text) {
  return selector_ && selector_->SelectByPrefix(text);
}

Integer TLumCustomItemSelector::VisibleItemCount() const {
  if (!selector_ || items_->Count() == 0) return 0;
  const TRect first = items_->Items(0)->ItemRect();
  const Integer itemHeight = first.Bottom - first.Top;
  if (itemHeight <= 0) return 0;
  auto* self = const_cast<TLumCustomItemSelector*>(this);
  const bool horzShows = self->HorzScrollBar().Visible() && self->HorzScrollBar().Range() > self->HorzScrollBar().PageSize();
  return (Height() - (horzShows ? 20 : 0)) / itemHeight * columns_;
}

TSize TLumCustomItemSelector::GetSelectorSize() const {
  if (!selector_) return {100, 50};
  return {selector_->Width(), selector_->Height()};
}

void TLumCustomItemSelector::LayoutItems() {
  if (selector_) selector_->LayoutItems();
}

void TLumCustomItemSelector::FollowSelector() {
  if (!selector_) return;
  // A bar only where the list does not fit the whole control, counting the
  // room the other bar takes once it shows; a bar shown by a smaller client
  // area would otherwise keep itself showing.
  const Integer w = selector_->Width(), h = selector_->Height();
  bool needH = w > Width(), needV = h > Height();
  if (needV && !needH) needH = w > Width() - GetSystemMetrics(SM_CXVSCROLL);
  if (needH && !needV) needV = h > Height() - GetSystemMetrics(SM_CYHSCROLL);
  HorzScrollBar().SetRange(needH ? w : 0);
  VertScrollBar().SetRange(needV ? h : 0);
  selector_->SetBounds(-HorzScrollBar().Position(), -VertScrollBar().Position(), selector_->Width(),
                       selector_->Height());
}

void TLumCustomItemSelector::Resize() {
  TScrollingWinControl::Resize();
  FollowSelector();
}

void TLumCustomItemSelector::ScrollInView(Integer index) {
  if (!selector_ || index < 0 || index >= items_->Count()) return;
  TControlScrollBar& bar = VertScrollBar();
  if (!bar.Visible() || bar.Range() <= bar.PageSize()) return;
  // The class library's bars keep no margin around a scrolled-to item.
  TRect r = items_->Items(index)->ItemRect();
  r.Top += selector_->Top();
  r.Bottom += selector_->Top();
  const Integer clientHeight = ClientHeight();
  if (r.Top < 0) {
    bar.SetPosition(bar.Position() + r.Top);
  } else if (r.Bottom > clientHeight) {
    const Integer by = r.Bottom - r.Top > clientHeight ? r.Top : r.Bottom - clientHeight;
    bar.SetPosition(bar.Position() + by);
  }
  FollowSelector();
}

void TLumCustomItemSelector::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = 5;
    return;
  }
  TScrollingWinControl::Dispatch(m);
  if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) FollowSelector();
}

}  // namespace dropdown
