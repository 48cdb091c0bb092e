#include "ide/CategoryButtons.h"

#include "vcl/Graphics.h"

namespace ide {

TCategoryButtons::TCategoryButtons(vcl::TComponent* owner) : vcl::TCustomControl(owner) {
  SetColor(vcl::clWindow);
}

Integer TCategoryButtons::AddCategory(const AnsiString& caption) {
  categories_.push_back({caption, {}});
  Invalidate();
  return CategoryCount() - 1;
}

void TCategoryButtons::SetCategoryCaption(Integer category, const AnsiString& caption) {
  categories_.at(static_cast<size_t>(category)).Caption = caption;
  Invalidate();
}

void TCategoryButtons::AddItem(Integer category, const AnsiString& caption, void* data, vcl::TNotifyEvent onClick) {
  categories_.at(static_cast<size_t>(category)).Items.push_back({caption, data, std::move(onClick)});
  Invalidate();
}

void TCategoryButtons::Clear() {
  categories_.clear();
  selCategory_ = selItem_ = -1;
  Invalidate();
}

const TCategoryButtons::TButtonItem* TCategoryButtons::SelectedItem() const {
  if (selCategory_ < 0 || selCategory_ >= CategoryCount()) return nullptr;
  const auto& items = categories_[static_cast<size_t>(selCategory_)].Items;
  if (selItem_ < 0 || selItem_ >= static_cast<Integer>(items.size())) return nullptr;
  return &items[static_cast<size_t>(selItem_)];
}

void TCategoryButtons::SelectItem(Integer category, Integer item) {
  selCategory_ = category;
  selItem_ = item;
  Invalidate();
}

vcl::TRect TCategoryButtons::CategoryRect(Integer category) const {
  Integer top = 0;
  for (Integer c = 0; c < category; ++c)
    top += kHeaderHeight + static_cast<Integer>(categories_[static_cast<size_t>(c)].Items.size()) * kButtonHeight;
  return vcl::Rect(0, top, ClientWidth(), top + kHeaderHeight);
}

vcl::TRect TCategoryButtons::ItemRect(Integer category, Integer item) const {
  const vcl::TRect header = CategoryRect(category);
  const Integer top = header.Bottom + item * kButtonHeight;
  return vcl::Rect(2, top + 1, ClientWidth() - 2, top + kButtonHeight - 1);
}

bool TCategoryButtons::ItemAtPos(Integer x, Integer y, Integer& category, Integer& item) const {
  for (Integer c = 0; c < CategoryCount(); ++c) {
    const Integer count = static_cast<Integer>(categories_[static_cast<size_t>(c)].Items.size());
    for (Integer i = 0; i < count; ++i) {
      const vcl::TRect r = ItemRect(c, i);
      if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) {
        category = c;
        item = i;
        return true;
      }
    }
  }
  return false;
}

void TCategoryButtons::Paint() {
  vcl::TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  for (Integer cat = 0; cat < CategoryCount(); ++cat) {
    const TButtonCategory& category = categories_[static_cast<size_t>(cat)];
    const vcl::TRect header = CategoryRect(cat);
    c->Brush()->SetColor(vcl::clBtnFace);
    c->FillRect(header);
    c->Font()->SetStyle({vcl::fsBold});
    c->Brush()->SetStyle(vcl::bsClear);
    c->TextOut(header.Left + 4, header.Top + (kHeaderHeight - c->TextHeight(category.Caption)) / 2, category.Caption);
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Font()->SetStyle({});
    for (Integer i = 0; i < static_cast<Integer>(category.Items.size()); ++i) {
      const vcl::TRect r = ItemRect(cat, i);
      const bool selected = cat == selCategory_ && i == selItem_;
      c->Brush()->SetColor(selected ? vcl::clHighlight : Color());
      c->FillRect(r);
      c->Font()->SetColor(selected ? vcl::clHighlightText : vcl::clWindowText);
      c->Brush()->SetStyle(vcl::bsClear);
      const AnsiString& text = category.Items[static_cast<size_t>(i)].Caption;
      c->TextOut(r.Left + 6, r.Top + (r.Bottom - r.Top - c->TextHeight(text)) / 2, text);
      c->Brush()->SetStyle(vcl::bsSolid);
    }
    c->Font()->SetColor(Font()->Color());
  }
}

void TCategoryButtons::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomControl::MouseDown(button, shift, x, y);
  pressedCategory_ = pressedItem_ = -1;
  if (button == vcl::mbLeft) ItemAtPos(x, y, pressedCategory_, pressedItem_);
}

void TCategoryButtons::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomControl::MouseUp(button, shift, x, y);
  Integer category = -1;
  Integer item = -1;
  const bool hit = button == vcl::mbLeft && ItemAtPos(x, y, category, item);
  const bool same = hit && category == pressedCategory_ && item == pressedItem_;
  pressedCategory_ = pressedItem_ = -1;
  if (!same) return;
  SelectItem(category, item);
  // A copy: the handler may refill the palette.
  const vcl::TNotifyEvent onClick = categories_[static_cast<size_t>(category)].Items[static_cast<size_t>(item)].OnClick;
  if (onClick) onClick(this);
}

}  // namespace ide
