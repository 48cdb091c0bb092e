#include "dropdown/LumImagePickerDropDown.h"

#include <algorithm>

#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

// ---------------------------------------------------------------------------
// Items

TImageItem::TImageItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), image_(std::make_unique<TPicture>()) {}

TImageItem::~TImageItem() = default;

void TImageItem::Changed() {
  if (auto* items = dynamic_cast<TImageItems*>(Collection()); items && items->OnChange) items->OnChange();
}

void TImageItem::SetCaption(const rtl::AnsiString& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed();
}

void TImageItem::SetImageIndex(Integer v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Changed();
}

void TImageItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TImageItem*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  SetCaption(other->caption_);
  SetImageIndex(other->imageIndex_);
  image_->Assign(other->image_.get());
  enabled_ = other->enabled_;
  hint_ = other->hint_;
}

void TImageItems::Assign(const TImageItems& source) {
  if (&source == this) return;
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
  if (OnChange) OnChange();
}

// ---------------------------------------------------------------------------
// The picker

TLumImagePickerDropDown::TLumImagePickerDropDown(TComponent* owner) : TLumCustomDropDown(owner) {
  items_ = std::make_unique<TImageItems>(this);
  itemAppearance_ = std::make_unique<TItemAppearance>(this);
  itemAppearance_->SetItemColorStyle(1);
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  searchTimer_ = new TTimer(this);
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(TLumColorPickerDropDown::SearchResetMs);
  searchTimer_->OnTimer = [this](TObject*) {
    searchTimer_->SetEnabled(false);
    searchText_.clear();
  };
  SetCursor(crArrow);
  // The base made the pop-up before this picker existed.
  if (DropDownForm()) EnsureSelector();
}

TLumImagePickerDropDown::~TLumImagePickerDropDown() {
  if (searchTimer_) searchTimer_->SetEnabled(false);
}

void TLumImagePickerDropDown::Notification(TComponent* component, TOperation operation) {
  TLumCustomDropDown::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == listSelector_) listSelector_ = nullptr;
  if (component == searchTimer_) searchTimer_ = nullptr;
}

void TLumImagePickerDropDown::SetItemIndex(Integer index) {
  if (index == itemIndex_ || index >= items_->Count()) return;
  itemIndex_ = index < 0 ? -1 : index;
  Invalidate();
  if (OnSelect) OnSelect(this);
}

Integer TLumImagePickerDropDown::GetSelectedImageIndex() const {
  if (itemIndex_ < 0 || itemIndex_ >= items_->Count()) return -1;
  return items_->Items(itemIndex_)->ImageIndex();
}

void TLumImagePickerDropDown::SelectImageIndex(Integer imageIndex) {
  Integer found = -1;
  for (Integer i = 0; i < items_->Count() && found < 0; ++i)
    if (items_->Items(i)->ImageIndex() == imageIndex) found = i;
  SetItemIndex(found);
}

void TLumImagePickerDropDown::AddImagesFromList() {
  if (!Images()) return;
  for (Integer i = 0; i < Images()->Count(); ++i) items_->Add()->SetImageIndex(i);
}

void TLumImagePickerDropDown::SelectFirst() {
  if (items_->Count() > 0) SetItemIndex(0);
}
void TLumImagePickerDropDown::SelectLast() {
  if (items_->Count() > 0) SetItemIndex(items_->Count() - 1);
}
void TLumImagePickerDropDown::SelectNext() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ + 1 < items_->Count())
    SetItemIndex(itemIndex_ + 1);
}
void TLumImagePickerDropDown::SelectPrevious() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ > 0)
    SetItemIndex(itemIndex_ - 1);
}

void TLumImagePickerDropDown::EnsureSelector() {
  if (!DropDownForm()) return;
  if (!listSelector_) {
    listSelector_ = new TLumCustomItemSelector(this);
    listSelector_->FreeNotification(this);
    listSelector_->SetParent(DropDownForm());
    listSelector_->SetSelectorType(TSelectorType::stImage);
    listSelector_->SetBounds(0, 0, listSelector_->Width(), 150);
  }
  listSelector_->SetColor(DropDownColor());
  listSelector_->LayoutItems();
  SetDropDownControl(listSelector_);
}

void TLumImagePickerDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  EnsureSelector();
}

void TLumImagePickerDropDown::UpdateListSelector() {
  if (!listSelector_) return;
  listSelector_->OnItemSelect = nullptr;
  listSelector_->SetColumns(columns_);
  listSelector_->SetImages(Images());
  listSelector_->SetItemLayout(layout_);
  listSelector_->SetColor(DropDownColor());
  listSelector_->ItemAppearance()->Assign(itemAppearance_.get());
  TSelectorItems* items = listSelector_->Items();
  items->OnChange = nullptr;  // laid out once below
  items->Clear();
  for (Integer i = 0; i < items_->Count(); ++i) {
    const TImageItem* from = items_->Items(i);
    TSelectorItem* item = items->Add();
    item->SetCaption(from->Caption());
    item->SetImage(from->Image());
    item->SetImageIndex(from->ImageIndex());
    item->SetHint(from->Hint());
    item->SetEnabled(from->Enabled());
  }
  items->OnChange = [this] { listSelector_->LayoutItems(); };
  listSelector_->LayoutItems();
  listSelector_->SetItemIndex(itemIndex_);
  listSelector_->OnItemSelect = [this](TObject*) { ListSelect(); };
  listSelector_->SetShowHint(ShowHint());
}

void TLumImagePickerDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  UpdateListSelector();
  if (listSelector_) {
    if (OnDrawItem)
      listSelector_->OnDrawItem = [this](TObject*, TCanvas* canvas, TRect r, Integer index) {
        OnDrawItem(this, canvas, r, index);
      };
    else
      listSelector_->OnDrawItem = nullptr;
  }
  indexAtDropDown_ = itemIndex_;
}

void TLumImagePickerDropDown::UpdateDropDownSize() {
  TDropDownForm* form = DropDownForm();
  if (!form || !listSelector_) {
    TLumCustomDropDown::UpdateDropDownSize();
    return;
  }
  const Integer border = DropDownBorderWidth();
  Integer bars = 0;
  if (DropDownHeader()->Visible()) bars += DropDownHeader()->Height();
  if (DropDownFooter()->Visible()) bars += DropDownFooter()->Height();
  listSelector_->SetAlign(alNone);
  const TSize natural = listSelector_->GetSelectorSize();
  Integer w = DropDownWidth() > 0 ? DropDownWidth() : natural.cx + 2 * border;
  const Integer h = DropDownHeight() > 0 ? DropDownHeight() : natural.cy + 2 * border + bars;
  if (natural.cy > h - 2 * border - bars) w += GetSystemMetrics(SM_CXVSCROLL);
  form->SetBounds(form->Left(), form->Top(), w, h);
}

void TLumImagePickerDropDown::HideDropDown(bool cancelled) {
  const bool wasOpen = DroppedDown();
  TLumCustomDropDown::HideDropDown(cancelled);
  if (cancelled && wasOpen) SetItemIndex(indexAtDropDown_);
}

void TLumImagePickerDropDown::ListSelect() {
  if (!listSelector_) return;
  SetItemIndex(listSelector_->ItemIndex());
  if (!keyboardSelecting_) HideDropDown(false);
}

void TLumImagePickerDropDown::SelectInList(Integer index) {
  Keyboard([&] { listSelector_->SetItemIndex(index); });
}

void TLumImagePickerDropDown::ListKey(Word key, bool handledBefore) { ListPickerKey(*this, key, handledBefore, items_->Count()); }

void TLumImagePickerDropDown::Dispatch(TMessage& m) {
  if (m.Msg != WM_KEYDOWN || ComponentState().Contains(csDesigning)) {
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  const Word key = static_cast<Word>(m.WParam);
  bool handled = false;
  if (Enabled() && DroppedDown() && key == VK_RETURN && listSelector_ && listSelector_->HotIndex() >= 0) {
    listSelector_->SetItemIndex(listSelector_->HotIndex());
    handled = true;
  }
  TLumCustomDropDown::Dispatch(m);
  if (Enabled() && GetKeyState(VK_MENU) >= 0 && listSelector_) ListKey(key, handled);
}

void TLumImagePickerDropDown::MouseWheelDownHook() {
  TLumCustomDropDown::MouseWheelDownHook();
  if (!Enabled() || ReadOnly() || !listSelector_) return;
  if (DroppedDown())
    listSelector_->HotNext();
  else
    Keyboard([&] { listSelector_->SelectNext(); });
}

void TLumImagePickerDropDown::MouseWheelUpHook() {
  TLumCustomDropDown::MouseWheelUpHook();
  if (!Enabled() || ReadOnly() || !listSelector_) return;
  if (DroppedDown())
    listSelector_->HotPrevious();
  else
    Keyboard([&] { listSelector_->SelectPrevious(); });
}

void TLumImagePickerDropDown::PaintFocusedText() {
  TLumCustomDropDown::PaintFocusedText();
  if (!HandleAllocated()) return;
  TCanvas* c = OverlayCanvas();
  // The overlay and the formatting rectangle both count from inside the
  // border.
  const TRect e = GetEditRect();
  const TRect r{e.Left, e.Top, e.Right, std::min<Integer>(e.Bottom, ClientHeight())};
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, c, r);
    return;
  }
  if (itemIndex_ < 0 || itemIndex_ >= items_->Count()) return;
  const TImageItem* item = items_->Items(itemIndex_);
  const Integer w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (item->Image()->Graphic() && !item->Image()->Graphic()->Empty()) {
    c->Draw(r.Left + (w - item->Image()->Width()) / 2, r.Top + (h - item->Image()->Height()) / 2,
            item->Image()->Graphic());
  } else if (Images() && item->ImageIndex() >= 0) {
    Images()->Draw(c, r.Left + (w - Images()->Width()) / 2, r.Top + (h - Images()->Height()) / 2,
                   item->ImageIndex(), true);
  }
}

void TLumImagePickerDropDown::SetSelectionLook(Byte look) {
  TLumCustomDropDown::SetSelectionLook(look);
  if (listSelector_) listSelector_->ItemAppearance()->SetItemColorStyle(look);
}

void TLumImagePickerDropDown::SetComponentStyle(REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  ApplyItemAppearanceStyle(*itemAppearance_, style);
}

}  // namespace dropdown
