#pragma once
// TLumDetailDropDown: a drop-down whose value is one of a list of entries,
// each a picture, a caption and mini-HTML notes, drawn by the picker in a
// one-column item selector. Typing in the edit completes from the captions.
#include <memory>

#include "dropdown/LumColorPickerDropDown.h"

namespace dropdown {

class TDetailItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TDetailItem(rtl::TCollection* collection);
  ~TDetailItem() override;
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v) { caption_ = v; }
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v) { imageIndex_ = v; }
  vcl::TPicture* Image() const { return image_.get(); }
  void SetImage(const vcl::TPicture* p) { image_->Assign(p); }
  // Mini-HTML.
  const rtl::AnsiString& Notes() const { return notes_; }
  void SetNotes(const rtl::AnsiString& v) { notes_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  void Assign(const vcl::TPersistent* source) override;

 private:
  rtl::AnsiString caption_;
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<vcl::TPicture> image_;
  rtl::AnsiString notes_;
  bool enabled_ = true;
};

class TDetailItems : public rtl::TCollectionOf<TDetailItem> {
 public:
  explicit TDetailItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TDetailItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  void Assign(const TDetailItems& source);
  // The first item with exactly this caption (case counts); -1.
  vcl::Integer IndexOfCaption(const rtl::AnsiString& caption) const;

 private:
  vcl::TComponent* owner_;
};

class TLumDetailDropDown : public TLumCustomDropDown {
 public:
  explicit TLumDetailDropDown(vcl::TComponent* owner);
  ~TLumDetailDropDown() override;

  TDetailItems* Items() const { return items_.get(); }
  void SetItems(const TDetailItems& v) { items_->Assign(v); }
  vcl::Integer ItemIndex() const { return itemIndex_; }
  // Unchanged or past the entries: nothing. An entry: its caption becomes
  // the text, all selected, and OnSelect fires. A negative index clears
  // the choice and leaves the text as it is.
  void SetItemIndex(vcl::Integer index);
  vcl::Integer ItemHeight() const { return itemHeight_; }
  void SetItemHeight(vcl::Integer v) { itemHeight_ = v; }
  TItemLayout Layout() const { return layout_; }
  void SetLayout(TItemLayout v) { layout_ = v; }
  TItemAppearance* ItemAppearance() const { return itemAppearance_.get(); }
  void SetItemAppearance(const TItemAppearance* v) { itemAppearance_->Assign(v); }
  vcl::TFont* CaptionFont() const { return captionFont_.get(); }
  vcl::TFont* NotesFont() const { return notesFont_.get(); }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();

  TLumCustomItemSelector* ListSelector() const { return listSelector_; }
  const rtl::AnsiString& SearchText() const { return searchText_; }
  bool AutoComplete() const { return autoComplete_; }

  // An entry's content in its row: picture, caption, notes below.
  void DrawDetailItem(vcl::TObject* sender, vcl::TCanvas* canvas, vcl::TRect r, vcl::Integer index);

  vcl::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedImage;

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void UpdateDropDownSize() override;
  void HideDropDown(bool cancelled) override;
  void DropDownFormSized() override;
  void SetSelectionLook(vcl::Byte look) override;
  void SetComponentStyle(REZORuvar style) override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;

 protected:
  void Change() override;
  void Dispatch(vcl::TMessage& message) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void EnsureSelector();
  void UpdateListSelector();
  void ListSelect();
  void SelectInList(vcl::Integer index);
  void DetailItemSize(vcl::TSize& size);
  template <typename Fn>
  void Keyboard(Fn fn) {
    keyboardSelecting_ = true;
    fn();
    keyboardSelecting_ = false;
  }

  std::unique_ptr<TDetailItems> items_;
  std::unique_ptr<TItemAppearance> itemAppearance_;
  std::unique_ptr<vcl::TFont> captionFont_;
  std::unique_ptr<vcl::TFont> notesFont_;
  vcl::Integer itemIndex_ = -1;
  vcl::Integer itemHeight_ = 22;
  TItemLayout layout_ = TItemLayout::ilCaptionRight;
  vcl::Integer indexAtDropDown_ = -1;
  bool keyboardSelecting_ = false;
  rtl::AnsiString searchText_;
  vcl::TTimer* searchTimer_ = nullptr;
  bool autoComplete_ = true;
  bool caseSensitiveLookup_ = false;
  bool completing_ = false;
  TLumCustomItemSelector* listSelector_ = nullptr;
};

}  // namespace dropdown
