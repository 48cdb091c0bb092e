#pragma once
// The item selector: a scrolled list of items (colour boxes or pictures
// with mini-HTML captions) in a fixed number of columns, which the image,
// colour and detail pickers put into their pop-ups. The outer control
// scrolls; the inner one lays the items out, paints them with their hot and
// selected looks, follows the mouse and keeps the selection.
#include <functional>
#include <memory>

#include "dropdown/LumItemAppearance.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/ScrollingControl.h"

namespace dropdown {

enum class TSelectorType { stImage, stColor };
enum class TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

using TDrawItemEvent =
    std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, vcl::TRect R, vcl::Integer Index)>;
using TItemSizeEvent = std::function<void(vcl::TObject* Sender, vcl::TSize& ASize)>;

class TLumCustomItemSelector;

class TCustomItemSelector : public vcl::TCustomControl {
 public:
  // owner must be a TLumCustomItemSelector, else "Invalid parent".
  explicit TCustomItemSelector(vcl::TComponent* owner);
  ~TCustomItemSelector() override;

  TLumCustomItemSelector* ItemSelector() const { return itemSelector_; }
  vcl::Integer ItemIndex() const { return itemIndex_; }
  // An index outside -1 .. the last item, or of a disabled item, changes
  // nothing; otherwise the item is drawn selected and OnSelect fires (also
  // for the item already selected).
  void SetItemIndex(vcl::Integer index);
  vcl::Integer HotIndex() const { return hotIndex_; }
  void SetHotIndex(vcl::Integer index);

  vcl::Integer MarginX() const { return marginX_; }
  vcl::Integer MarginY() const { return marginY_; }
  vcl::Integer InsetX() const { return insetX_; }
  vcl::Integer InsetY() const { return insetY_; }
  vcl::Integer Spacing() const { return spacing_; }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  // The first item whose caption as plain text, trimmed and upper-cased,
  // begins with text (compared as given).
  bool SelectByPrefix(const rtl::AnsiString& text);
  vcl::Integer ItemAtPos(vcl::Integer x, vcl::Integer y) const;

  virtual void DrawItem(vcl::Integer index, vcl::TCanvas* canvas);
  virtual void GetItemsArea(vcl::TRect& r);
  virtual void GetItemSize(vcl::TSize& size);
  virtual void InvalidateItem(vcl::Integer index);
  virtual void LayoutItems();

  vcl::TNotifyEvent OnSelect;

 protected:
  void Paint() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  bool ValidIndex(vcl::Integer index) const;
  // The box of an item: colour box, picture or image list image.
  vcl::TSize BoxSize(const TSelectorItem& item) const;
  void DrawBox(vcl::TCanvas* canvas, const TSelectorItem& item, vcl::Integer left, vcl::Integer top,
               vcl::TSize box);

  TLumCustomItemSelector* itemSelector_;
  vcl::Integer itemIndex_ = -1;
  vcl::Integer hotIndex_ = -1;
  vcl::Integer marginX_ = 2, marginY_ = 2;
  vcl::Integer insetX_ = 4, insetY_ = 4;
  vcl::Integer spacing_ = 4;
};

class TLumCustomItemSelector : public vcl::TScrollingWinControl {
 public:
  explicit TLumCustomItemSelector(vcl::TComponent* owner);
  ~TLumCustomItemSelector() override;

  TCustomItemSelector* Selector() const { return selector_; }

  vcl::Integer Columns() const { return columns_; }
  // Only values above 0.
  void SetColumns(vcl::Integer v);
  TSelectorItems* Items() const { return items_.get(); }
  void SetItems(const TSelectorItems& items) { items_->Assign(items); }
  vcl::Integer ItemIndex() const { return selector_ ? selector_->ItemIndex() : -1; }
  void SetItemIndex(vcl::Integer index);
  vcl::Integer HotIndex() const { return selector_ ? selector_->HotIndex() : -1; }
  TSelectorType SelectorType() const { return selectorType_; }
  void SetSelectorType(TSelectorType v);
  // Takes effect at the next layout or paint.
  TItemLayout ItemLayout() const { return itemLayout_; }
  void SetItemLayout(TItemLayout v) { itemLayout_ = v; }
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* images);
  TItemAppearance* ItemAppearance() const { return itemAppearance_.get(); }
  void SetItemAppearance(const TItemAppearance* v) { itemAppearance_->Assign(v); }
  vcl::Integer ColorBoxHeight() const { return colorBoxHeight_; }
  void SetColorBoxHeight(vcl::Integer v);
  vcl::Integer ColorBoxWidth() const { return colorBoxWidth_; }
  void SetColorBoxWidth(vcl::Integer v);

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  bool SelectByPrefix(const rtl::AnsiString& text);
  // Whole rows of items the client height shows, times the columns.
  vcl::Integer VisibleItemCount() const;
  // The inner list's size (100 x 50 without it): the pickers size their
  // pop-ups from it.
  vcl::TSize GetSelectorSize() const;
  void LayoutItems();
  // Scrolls so that the item shows whole (its top first when it is taller
  // than the client area).
  void ScrollInView(vcl::Integer index);

  vcl::TNotifyEvent OnItemSelect;
  TDrawItemEvent OnDrawItem;
  TItemSizeEvent OnItemSize;

  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Resize() override;

 private:
  friend class TCustomItemSelector;
  // The inner list's place and the scroll ranges after a layout or scroll.
  void FollowSelector();

  TCustomItemSelector* selector_ = nullptr;  // an owned child
  std::unique_ptr<TSelectorItems> items_;
  std::unique_ptr<TItemAppearance> itemAppearance_;
  vcl::Integer columns_ = 1;
  TSelectorType selectorType_ = TSelectorType::stImage;
  TItemLayout itemLayout_ = TItemLayout::ilCaptionRight;
  vcl::TImageList* images_ = nullptr;
  vcl::Integer colorBoxHeight_ = 14;
  vcl::Integer colorBoxWidth_ = 14;
};

}  // namespace dropdown
