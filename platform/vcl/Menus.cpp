#include "vcl/Menus.h"

#include <QAction>
#include <QMenuBar>
#include <QMenu>
#include <algorithm>

#include "rtl/Format.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/QtHost.h"
#include "vcl/QtMenus.h"

namespace vcl {

AnsiString StripHotkey(const AnsiString& caption) {
  AnsiString out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

// ------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(RegisterMenuItem(this)) {}

TMenuItem::~TMenuItem() {
  UnregisterMenuItem(this);
  if (action_) action_->UnregisterClient(this);
  while (!items_.empty()) {
    TMenuItem* last = items_.back();
    Remove(last);
    delete last;
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Changed(bool rebuild) {
  if (TMenu* m = GetParentMenu()) m->ItemChanged(this, rebuild);
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TMenuItem::SetBitmap(const TBitmap* bitmap) {
  Bitmap()->Assign(bitmap);
  Changed();
}

bool TMenuItem::HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }

void TMenuItem::SetBreak(TMenuBreak v) {
  if (v == break_) return;
  break_ = v;
  Changed();
}

void TMenuItem::SetSubMenuImages(TImageList* images) {
  if (images == subMenuImages_) return;
  if (subMenuImages_) subMenuImages_->RemoveFreeNotification(this);
  subMenuImages_ = images;
  if (images) images->FreeNotification(this);
  Changed();
}

TImageList* TMenuItem::GetImageList() const {
  for (const TMenuItem* p = parent_; p; p = p->parent_)
    if (p->subMenuImages_) return p->subMenuImages_;
  TMenu* m = GetParentMenu();
  return m ? m->Images() : nullptr;
}

TRect TMenuItem::ScreenRect() const { return MenuItemScreenRect(this); }

Integer TMenuItem::Level() const {
  Integer level = -1;
  for (const TMenuItem* p = parent_; p; p = p->parent_) ++level;
  return level;
}

void TMenuItem::MeasureItem(TCanvas* canvas, Integer& width, Integer& height) {
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel) {
  if (OnAdvancedDrawItem)
    OnAdvancedDrawItem(this, canvas, rect, state);
  else if (OnDrawItem)
    OnDrawItem(this, canvas, rect, state.Contains(odSelected));
  else
    DrawPlain(canvas, rect, state, topLevel);
}

void TMenuItem::DrawPlain(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel) {
  bool selected = state.Contains(odSelected) || state.Contains(odHotLight);
  canvas->Brush()->SetColor(selected ? clHighlight : topLevel ? clMenuBar : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    Integer y = (rect.Top + rect.Bottom) / 2;
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->MoveTo(rect.Left + 2, y);
    canvas->LineTo(rect.Right - 2, y);
    return;
  }
  canvas->Font()->Assign(Screen->MenuFont());
  canvas->Font()->SetColor(state.Contains(odDisabled) ? clGrayText : selected ? clHighlightText : clMenuText);
  canvas->Brush()->SetStyle(bsClear);
  TRect text = rect;
  text.Left += topLevel ? 6 : 24;
  Cardinal format = DT_SINGLELINE | DT_VCENTER | (topLevel ? DT_CENTER : DT_LEFT);
  if (topLevel) text.Left = rect.Left;
  canvas->DrawText(caption_, text, format);
  if (shortCut_ != scNone && !topLevel) {
    TRect keys = rect;
    keys.Right -= 10;
    canvas->DrawText(ShortCutToText(shortCut_), keys, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  if (checked_ && !topLevel) {
    TRect box = Rect(rect.Left + 4, (rect.Top + rect.Bottom) / 2 - 6, rect.Left + 17, (rect.Top + rect.Bottom) / 2 + 7);
    canvas->DrawFrameControl(box, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
}

void TMenuItem::SetCaption(const AnsiString& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (v && radioItem_ && parent_)
    for (TMenuItem* sib : parent_->items_)
      if (sib != this && sib->radioItem_ && sib->groupIndex_ == groupIndex_) sib->checked_ = false;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  Changed();
}

void TMenuItem::SetRadioItem(bool v) {
  radioItem_ = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  default_ = v;
  Changed();
}

void TMenuItem::SetAction(TBasicAction* action) {
  if (RelinkAction(action_, action, this) && action) ActionChange(action);
}

void TMenuItem::ActionChange(TBasicAction* sender) {
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a) return;
  caption_ = a->Caption();
  enabled_ = a->Enabled();
  visible_ = a->Visible();
  checked_ = a->Checked();
  hint_ = a->Hint();
  shortCut_ = a->ShortCut();
  imageIndex_ = a->ImageIndex();
  Changed();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == action_) action_ = nullptr;
  if (operation == opRemove && component == subMenuImages_) subMenuImages_ = nullptr;
}

TMenuItem* TMenuItem::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(Integer index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_) throw EInvalidOperation("Menu inserted twice");
  if (index < 0 || index > Count()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (!Destroying()) Changed();
}

void TMenuItem::Delete(Integer index) {
  TMenuItem* item = Items(index);
  Remove(item);
  delete item;
}

void TMenuItem::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

Integer TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const {
  AnsiString want = StripHotkey(caption);
  for (TMenuItem* i : items_)
    if (rtl::SameText(StripHotkey(i->caption_), want)) return i;
  return nullptr;
}

Integer TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(Integer index) {
  if (!parent_) return;
  TMenuItem* p = parent_;
  auto& v = p->items_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  index = std::clamp(index, 0, static_cast<Integer>(v.size()));
  v.insert(v.begin() + index, this);
  Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (autoCheck_ && !(action_ && !OnClick)) SetChecked(!checked_);
  if (OnClick)
    OnClick(this);
  else if (action_)
    action_->Execute();
}

// ----------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  items_->menu_ = nullptr;
  delete items_;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TMenu::UpdateItems() { MenuChanged(); }

void TMenu::RepaintBars() {
  if (!Screen) return;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->Menu() == this && f->menuBar_) f->menuBar_->update();
  }
}

void TMenu::ItemChanged(TMenuItem*, bool) { MenuChanged(); }

void TMenu::MenuChanged() {
  if (Destroying()) return;
  if (OnChange) OnChange(this);
  if (Screen)
    for (Integer i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Menu() == this) Screen->Forms(i)->RebuildMenuBar();
}

static TMenuItem* FindShortCut(TMenuItem* item, TShortCut sc) {
  for (Integer i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    if (c->ShortCut() == sc && c->Count() == 0) return c;
    if (TMenuItem* found = FindShortCut(c, sc)) return found;
  }
  return nullptr;
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut sc) const { return sc == scNone ? nullptr : FindShortCut(items_, sc); }

bool TMenu::IsShortCut(Word key, TShiftState shift) {
  TMenuItem* item = FindItemByShortCut(ShortCut(key, shift));
  if (!item) return false;
  if (auto* a = dynamic_cast<TCustomAction*>(item->Action())) a->Update();
  // An item that cannot run, or that sits under a disabled item, lets the
  // shortcut go on to the form's actions.
  for (TMenuItem* p = item; p && p != Items(); p = p->Parent())
    if (!p->Enabled() || !p->Visible()) return false;
  item->Click();
  return true;
}

void TPopupMenu::Popup(Integer x, Integer y) {
  popupPoint_ = Point(x, y);
  if (OnPopup) OnPopup(this);
  InitApplication();
  if (OwnerDraw()) {
    ExecOwnerDrawPopup(this, x, y);
    return;
  }
  QMenu menu;
  FillQtMenu(&menu, Items());
  menu.exec(QPoint(x, y));
}

void FillQtMenu(QMenu* menu, TMenuItem* item) {
  for (Integer i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    if (!c->Visible()) continue;
    if (c->IsLine()) {
      menu->addSeparator();
      continue;
    }
    QString text = QString::fromStdString(c->Caption());
    if (c->Count() > 0) {
      QMenu* sub = menu->addMenu(text);
      sub->setEnabled(c->Enabled());
      FillQtMenu(sub, c);
      continue;
    }
    if (c->ShortCut() != scNone) text += "\t" + QString::fromStdString(ShortCutToText(c->ShortCut()));
    QAction* a = menu->addAction(text);
    a->setEnabled(c->Enabled());
    if (c->Checked() || c->AutoCheck() || c->RadioItem()) {
      a->setCheckable(true);
      a->setChecked(c->Checked());
    }
    if (c->Default()) {
      QFont f = a->font();
      f.setBold(true);
      a->setFont(f);
    }
    QObject::connect(a, &QAction::triggered, a, [c] { Guarded(c, [c] { c->Click(); }); });
  }
}

}  // namespace vcl
