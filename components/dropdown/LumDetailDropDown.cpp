#include "dropdown/LumDetailDropDown.h"

#include <algorithm>

#include "dropdown/HtmlText.h"
#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

// ---------------------------------------------------------------------------
// Entries

TDetailItem::TDetailItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), image_(std::make_unique<TPicture>()) {}
TDetailItem::~TDetailItem() = default;

void TDetailItem::Assign(const TPersistent* source) {
  auto* o = dynamic_cast<const TDetailItem*>(source);
  if (!o) {
    TPersistent::Assign(source);
    return;
  }
  caption_ = o->caption_;
  imageIndex_ = o->imageIndex_;
  image_->Assign(o->image_.get());
  enabled_ = o->enabled_;
  notes_ = o->notes_;
}

void TDetailItems::Assign(const TDetailItems& source) {
  if (&source == this) return;
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
}

Integer TDetailItems::IndexOfCaption(const rtl::AnsiString& caption) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->Caption() == caption) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// The picker

TLumDetailDropDown::TLumDetailDropDown(TComponent* owner)
    : TLumCustomDropDown(owner),
      items_(std::make_unique<TDetailItems>(this)),
      itemAppearance_(std::make_unique<TItemAppearance>(this)),
      captionFont_(std::make_unique<TFont>()),
      notesFont_(std::make_unique<TFont>()) {
  itemAppearance_->SetItemColorStyle(1);
  SetEditorEnabled(true);
  SetDropDownEnabled(true);
  searchTimer_ = new TTimer(this);
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(TLumColorPickerDropDown::SearchResetMs);
  searchTimer_->OnTimer = [this](TObject*) {
    searchTimer_->SetEnabled(false);
    searchText_.clear();
  };
  captionFont_->Assign(Font());
  notesFont_->Assign(Font());
  // The base made the pop-up before this picker existed.
  if (DropDownForm()) EnsureSelector();
}

TLumDetailDropDown::~TLumDetailDropDown() {
  if (searchTimer_) searchTimer_->SetEnabled(false);
  if (listSelector_) {
    listSelector_->OnDrawItem = nullptr;
    listSelector_->OnItemSize = nullptr;
  }
}

void TLumDetailDropDown::Notification(TComponent* component, TOperation operation) {
  TLumCustomDropDown::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == listSelector_) listSelector_ = nullptr;
  if (component == searchTimer_) searchTimer_ = nullptr;
}

void TLumDetailDropDown::SetItemIndex(Integer index) {
  if (index == itemIndex_ || index >= items_->Count()) return;
  if (index < 0) {
    // No entry: the choice goes, the text stays as typed.
    itemIndex_ = -1;
    if (listSelector_) listSelector_->Invalidate();
    return;
  }
  itemIndex_ = index;
  completing_ = true;
  SetText(items_->Items(index)->Caption());
  completing_ = false;
  if (HandleAllocated()) SelectAllText();
  Invalidate();
  if (listSelector_) listSelector_->Invalidate();
  if (OnSelect) OnSelect(this);
}

void TLumDetailDropDown::SelectFirst() {
  if (items_->Count() > 0) SetItemIndex(0);
}
void TLumDetailDropDown::SelectLast() {
  if (items_->Count() > 0) SetItemIndex(items_->Count() - 1);
}
void TLumDetailDropDown::SelectNext() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ + 1 < items_->Count())
    SetItemIndex(itemIndex_ + 1);
}
void TLumDetailDropDown::SelectPrevious() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ > 0)
    SetItemIndex(itemIndex_ - 1);
}

void TLumDetailDropDown::EnsureSelector() {
  if (!DropDownForm()) return;
  if (!listSelector_) {
    listSelector_ = new TLumCustomItemSelector(this);
    listSelector_->FreeNotification(this);
    listSelector_->SetParent(DropDownForm());
    listSelector_->SetSelectorType(TSelectorType::stImage);
    listSelector_->SetBounds(0, 0, listSelector_->Width(), 150);
    listSelector_->OnDrawItem = [this](TObject* sender, TCanvas* canvas, TRect r, Integer index) {
      DrawDetailItem(sender, canvas, r, index);
    };
    listSelector_->OnItemSize = [this](TObject*, TSize& size) { DetailItemSize(size); };
    listSelector_->LayoutItems();
  }
  listSelector_->SetColor(DropDownColor());
  listSelector_->LayoutItems();
  SetDropDownControl(listSelector_);
}

void TLumDetailDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  EnsureSelector();
}

void TLumDetailDropDown::DetailItemSize(TSize& size) {
  Integer w = DropDownWidth() > 0 ? DropDownWidth() : DropDownForm() ? DropDownForm()->Width() : Width();
  if (listSelector_ && listSelector_->VertScrollBar().Range() > 0) w -= GetSystemMetrics(SM_CXVSCROLL);
  w -= 2 * GetSystemMetrics(SM_CXBORDER) + 4;
  size = TSize{w, itemHeight_};
}

void TLumDetailDropDown::UpdateListSelector() {
  if (!listSelector_) return;
  listSelector_->OnItemSelect = nullptr;
  listSelector_->SetColumns(1);
  listSelector_->SetImages(Images());
  listSelector_->SetItemLayout(layout_);
  listSelector_->SetColor(DropDownColor());
  listSelector_->ItemAppearance()->Assign(itemAppearance_.get());
  TSelectorItems* items = listSelector_->Items();
  items->OnChange = nullptr;  // laid out once below
  items->Clear();
  for (Integer i = 0; i < items_->Count(); ++i) {
    const TDetailItem* from = items_->Items(i);
    TSelectorItem* item = items->Add();
    item->SetCaption(from->Caption());
    item->SetImage(from->Image());
    item->SetImageIndex(from->ImageIndex());
  }
  items->OnChange = [this] { listSelector_->LayoutItems(); };
  listSelector_->LayoutItems();
  listSelector_->SetItemIndex(itemIndex_);
  listSelector_->OnItemSelect = [this](TObject*) { ListSelect(); };
}

void TLumDetailDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  UpdateListSelector();
  indexAtDropDown_ = itemIndex_;
}

void TLumDetailDropDown::UpdateDropDownSize() {
  if (listSelector_) {
    listSelector_->SetAlign(alNone);
    if (DropDownWidth() <= 0) listSelector_->SetWidth(Width());
    if (DropDownHeight() <= 0) listSelector_->SetHeight(100);
    // The pop-up is sized from the list as it is now.
    SetDropDownControl(nullptr);
    SetDropDownControl(listSelector_);
  }
  TLumCustomDropDown::UpdateDropDownSize();
}

void TLumDetailDropDown::HideDropDown(bool cancelled) {
  const bool wasOpen = DroppedDown();
  TLumCustomDropDown::HideDropDown(cancelled);
  if (cancelled && wasOpen && listSelector_ && indexAtDropDown_ != -1) SetItemIndex(indexAtDropDown_);
}

void TLumDetailDropDown::DropDownFormSized() {
  TLumCustomDropDown::DropDownFormSized();
  if (listSelector_) listSelector_->LayoutItems();
}

void TLumDetailDropDown::ListSelect() {
  if (!listSelector_) return;
  const Integer index = listSelector_->ItemIndex();
  SetItemIndex(index);
  if (index >= 0 && index < items_->Count()) {
    // Also for the entry already chosen: a typed text gives way to it.
    completing_ = true;
    SetText(items_->Items(index)->Caption());
    completing_ = false;
    if (HandleAllocated()) SelectAllText();
  }
  if (!keyboardSelecting_) HideDropDown(false);
}

void TLumDetailDropDown::SelectInList(Integer index) {
  Keyboard([&] {
    listSelector_->SetItemIndex(index);
    listSelector_->ScrollInView(index);
  });
}

void TLumDetailDropDown::DrawDetailItem(TObject*, TCanvas* canvas, TRect r, Integer index) {
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, canvas, r);
    return;
  }
  if (index < 0 || index >= items_->Count()) return;
  const TDetailItem* item = items_->Items(index);
  const Integer rw = r.Right - r.Left, rh = r.Bottom - r.Top;
  const bool noCaption = item->Caption().empty();
  TGraphic* graphic = item->Image()->Graphic();
  if (!graphic || graphic->Empty()) {
    if (Images() && item->ImageIndex() >= 0) {
      const Integer x = noCaption ? r.Left + (rw - Images()->Width()) / 2 : r.Left + 2;
      Images()->Draw(canvas, x, r.Top + (rh - Images()->Height()) / 2, item->ImageIndex(), true);
      r.Left += Images()->Width() + 4;
    }
  } else {
    const Integer x = noCaption ? r.Left + (rw - graphic->Width()) / 2 : r.Left + 2;
    graphic->SetTransparent(true);
    canvas->Draw(x, r.Top + (rh - graphic->Height()) / 2, graphic);
    r.Left += graphic->Width() + 4;
  }
  const Integer hot = listSelector_ ? listSelector_->HotIndex() : -1;
  auto colourFor = [&](TFont* font) {
    if (index == hot) font->SetColor(itemAppearance_->ColorHotText());
    if (index == itemIndex_) font->SetColor(itemAppearance_->ColorSelectedText());
  };
  canvas->Font()->Assign(captionFont_.get());
  colourFor(canvas->Font());
  canvas->Brush()->SetStyle(bsClear);
  r.Left += 4;
  r.Top += 2;
  r.Right -= 4;
  TRect captionRect = r;
  canvas->DrawText(item->Caption(), captionRect, DT_END_ELLIPSIS);
  if (item->Notes().empty()) return;
  r.Top += canvas->TextHeight("gh");
  canvas->Font()->Assign(notesFont_.get());
  colourFor(canvas->Font());
  THtmlTextOptions o;
  o.Images = Images();
  o.PointX = -1;
  o.PointY = -1;
  o.FocusLinkIndex = -1;
  o.HotLinkIndex = -1;
  o.ShadowDepth = 2;
  o.HitTestOnly = false;
  o.MeasureOnly = false;
  o.Printing = false;
  o.SelectedText = false;
  o.BlinkPhase = false;
  o.HotUnderlineOnly = false;
  o.ButtonDown = false;
  o.WrapWords = true;
  o.PrintScale = 1.0;
  o.LinkColor = 0xFF0000;
  o.HotBackColor = clNone;
  o.HotTextColor = clNone;
  o.ShadowTint = 0x808080;
  THtmlTextResult result;
  DrawHTMLText(canvas, item->Notes(), r, o, result);
}

void TLumDetailDropDown::Change() {
  TLumCustomDropDown::Change();
  if (ChangeDeferred() || completing_ || !autoComplete_ || ComponentState().Contains(csDesigning)) return;
  const rtl::AnsiString text = Text();
  SetModified(!text.empty());
  if (items_->Count() == 0) return;
  const rtl::WideString wide = rtl::ToWide(text);
  const Integer caret = std::clamp<Integer>(SelStart(), 0, static_cast<Integer>(wide.size()));
  const rtl::AnsiString typed = rtl::ToAnsi(wide.substr(0, static_cast<size_t>(caret)));
  const rtl::AnsiString key = caseSensitiveLookup_ ? typed : rtl::AnsiUpperCase(typed);
  if (!key.empty()) {
    for (Integer i = 0; i < items_->Count(); ++i) {
      const rtl::AnsiString& caption = items_->Items(i)->Caption();
      const rtl::AnsiString upper = caseSensitiveLookup_ ? caption : rtl::AnsiUpperCase(caption);
      if (upper.compare(0, key.size(), key) != 0) continue;
      completing_ = true;
      itemIndex_ = i;
      const rtl::WideString captionWide = rtl::ToWide(caption);
      rtl::WideString completed = wide.substr(0, static_cast<size_t>(caret));
      if (captionWide.size() > static_cast<size_t>(caret))
        completed += captionWide.substr(static_cast<size_t>(caret), 255);
      SetTextDirect(rtl::ToAnsi(completed));
      SetSelStart(static_cast<Integer>(completed.size()));
      SetSelLength(caret - static_cast<Integer>(completed.size()));
      completing_ = false;
      return;
    }
  }
  if (typed.empty()) return;
  completing_ = true;
  SetTextDirect(typed);
  SetSelStart(caret);
  completing_ = false;
}

void TLumDetailDropDown::KeyDown(Word& key, TShiftState shift) {
  if (items_->Count() == 0) {
    TLumCustomDropDown::KeyDown(key, shift);
    return;
  }
  if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE) {
    autoComplete_ = false;
  } else {
    autoComplete_ = true;
    if (key == VK_RETURN) {
      const Integer i = items_->IndexOfCaption(Text());
      if (i >= 0) {
        completing_ = true;
        SetTextDirect(items_->Items(i)->Caption());
        completing_ = false;
        SetItemIndex(i);
        Change();
      }
    }
  }
  TLumCustomDropDown::KeyDown(key, shift);
  if (key == VK_ESCAPE) {
    const Integer i = items_->IndexOfCaption(Text());
    if (i >= 0) SetItemIndex(i);
  }
}

void TLumDetailDropDown::Dispatch(TMessage& m) {
  if (m.Msg != WM_KEYDOWN || ComponentState().Contains(csDesigning) || !Enabled() || GetKeyState(VK_MENU) < 0) {
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  const Word key = static_cast<Word>(m.WParam);
  const bool open = DroppedDown();
  TLumCustomItemSelector* s = listSelector_;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT: {
      if (!s) break;
      if (s->Items()->Count() != items_->Count()) UpdateListSelector();
      const Integer page = s->VisibleItemCount();
      if (page < 1) break;
      Integer i;
      if (key == VK_PRIOR) {
        i = s->ItemIndex() - page;
        if (i < 1) i = 0;
      } else {
        i = std::min<Integer>(s->ItemIndex() + page, items_->Count() - 1);
      }
      if (i >= 0 && i < s->Items()->Count()) SelectInList(i);
      break;
    }
    case VK_END:
      if (open && s)
        Keyboard([&] { s->SelectLast(); });
      else if (!EditorEnabled())
        SelectLast();
      break;
    case VK_HOME:
      if (open && s)
        Keyboard([&] { s->SelectFirst(); });
      else if (!EditorEnabled())
        SelectFirst();
      break;
    case VK_LEFT:
      if (open && !EditorEnabled() && s) Keyboard([&] { s->SelectPrevious(); });
      break;
    case VK_RIGHT:
      if (open && !EditorEnabled() && s) Keyboard([&] { s->SelectNext(); });
      break;
    case VK_UP:
    case VK_DOWN:
      if (open && s) {
        const Integer i = s->ItemIndex() < 0 ? 0 : s->ItemIndex() + (key == VK_UP ? -1 : 1);
        if (i >= 0 && i < s->Items()->Count()) SelectInList(i);
        Invalidate();
      } else if (key == VK_UP) {
        SelectPrevious();
      } else {
        SelectNext();
      }
      break;
    default:
      // Only keys standing for a character search (see IsSearchKey).
      if (GetKeyState(VK_CONTROL) < 0 || !s || !IsSearchKey(key)) break;
      searchText_ += static_cast<char>(key);
      Keyboard([&] { s->SelectByPrefix(searchText_); });
      if (searchTimer_) {
        searchTimer_->SetEnabled(false);
        searchTimer_->SetEnabled(true);
      }
      break;
  }
  const bool swallowed = open && (key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP ||
                                  key == VK_RIGHT || key == VK_DOWN);
  if (swallowed) {
    m.WParam = 0;
    m.Result = 1;
    return;
  }
  TLumCustomDropDown::Dispatch(m);
}

void TLumDetailDropDown::SetSelectionLook(Byte look) {
  TLumCustomDropDown::SetSelectionLook(look);
  if (listSelector_) listSelector_->ItemAppearance()->SetItemColorStyle(look);
}

void TLumDetailDropDown::SetComponentStyle(REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  ApplyItemAppearanceStyle(*itemAppearance_, style);
}

}  // namespace dropdown
