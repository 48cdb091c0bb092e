#pragma once
// TLumImagePickerDropDown: a drop-down whose value is one of a list of
// images, chosen in the item selector and shown centred in the edit. Its
// keys, wheel, search and commit follow the colour picker's list.
#include <memory>

#include "dropdown/LumColorPickerDropDown.h"

namespace dropdown {

class TImageItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TImageItem(rtl::TCollection* collection);
  ~TImageItem() override;
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v);
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  vcl::TPicture* Image() const { return image_.get(); }
  void SetImage(const vcl::TPicture* p) { image_->Assign(p); }
  const rtl::AnsiString& Hint() const { return hint_; }
  void SetHint(const rtl::AnsiString& v) { hint_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Changed();
  rtl::AnsiString caption_;
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<vcl::TPicture> image_;
  rtl::AnsiString hint_;
  bool enabled_ = true;
};

class TImageItems : public rtl::TCollectionOf<TImageItem> {
 public:
  explicit TImageItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TImageItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  void Assign(const TImageItems& source);
  std::function<void()> OnChange;

 private:
  vcl::TComponent* owner_;
};

class TLumImagePickerDropDown : public TLumCustomDropDown {
 public:
  explicit TLumImagePickerDropDown(vcl::TComponent* owner);
  ~TLumImagePickerDropDown() override;

  vcl::Integer Columns() const { return columns_; }
  void SetColumns(vcl::Integer v) { columns_ = v; }
  TImageItems* Items() const { return items_.get(); }
  void SetItems(const TImageItems& v) { items_->Assign(v); }
  vcl::Integer ItemIndex() const { return itemIndex_; }
  // Unchanged or at or past the end: nothing. Otherwise stored, repainted
  // and told (-1 included).
  void SetItemIndex(vcl::Integer index);
  TItemLayout Layout() const { return layout_; }
  void SetLayout(TItemLayout v) { layout_ = v; }
  TItemAppearance* ItemAppearance() const { return itemAppearance_.get(); }
  void SetItemAppearance(const TItemAppearance* v) { itemAppearance_->Assign(v); }

  vcl::Integer GetSelectedImageIndex() const;
  void SelectImageIndex(vcl::Integer imageIndex);
  // One item a picture of Images, appended.
  void AddImagesFromList();
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();

  TLumCustomItemSelector* ListSelector() const { return listSelector_; }
  const rtl::AnsiString& SearchText() const { return searchText_; }

  vcl::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedImage;
  TDrawItemEvent OnDrawItem;

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void UpdateDropDownSize() override;
  void HideDropDown(bool cancelled) override;
  void MouseWheelDownHook() override;
  void MouseWheelUpHook() override;
  void PaintFocusedText() override;
  void SetSelectionLook(vcl::Byte look) override;
  void SetComponentStyle(REZORuvar style) override;

 protected:
  void Dispatch(vcl::TMessage& message) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void EnsureSelector();
  void UpdateListSelector();
  void ListSelect();
  void ListKey(vcl::Word key, bool handledBefore);
  template <class Picker>
  friend void ListPickerKey(Picker&, vcl::Word, bool, vcl::Integer);
  void SelectInList(vcl::Integer index);
  template <typename Fn>
  void Keyboard(Fn fn) {
    keyboardSelecting_ = true;
    fn();
    keyboardSelecting_ = false;
  }

  vcl::Integer columns_ = 1;
  std::unique_ptr<TImageItems> items_;
  std::unique_ptr<TItemAppearance> itemAppearance_;
  vcl::Integer itemIndex_ = -1;
  TItemLayout layout_ = TItemLayout::ilCaptionRight;
  vcl::Integer indexAtDropDown_ = -1;
  bool keyboardSelecting_ = false;
  rtl::AnsiString searchText_;
  vcl::TTimer* searchTimer_ = nullptr;
  TLumCustomItemSelector* listSelector_ = nullptr;
};

}  // namespace dropdown
