#pragma once
// The list box: a column of text items of one fixed height, at most one of
// them selected, drawn by the control itself on its retained buffer (not a
// Qt item view) so that descendants and owner-drawing see the class
// library's messages and canvas. Items may carry objects, may keep
// themselves sorted (case ignored, as the desktop's list box sorts), and
// may be drawn by the owner (lbOwnerDrawFixed with OnDrawItem).
//
// The selection follows its item when items are inserted or deleted before
// it, and is lost when its item is deleted. Setting ItemIndex fires
// nothing; the user's choices (a click on an item, the arrow and page keys,
// typing an item's first letter) fire OnClick, and a double click on an
// item fires OnDblClick after the item is selected.
#include <functional>
#include <memory>

#include "rtl/StringList.h"
#include "vcl/Controls.h"
#include "vcl/OwnerDrawState.h"

namespace vcl {

class TCustomListBox;

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using enum TListBoxStyle;


using TDrawItemEvent = std::function<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;

// The items of a list box: a string list that keeps the list box's
// selection on its item and repaints the box.
class TListBoxStrings : public rtl::TStringList {
 public:
  explicit TListBoxStrings(TCustomListBox* box) : box_(box) {}
  void Insert(Integer index, const AnsiString& s) override;
  Integer AddObject(const AnsiString& s, void* object) override;
  void Delete(Integer index) override;
  void Clear() override;
  void Exchange(Integer index1, Integer index2) override;
  void Move(Integer curIndex, Integer newIndex) override;
  void Sort() override;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  void Inserted(Integer countBefore, Integer index);
  TCustomListBox* box_;  // owns this list
};

class TCustomListBox : public TCustomControl {
 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  rtl::TStrings* Items() { return items_.get(); }
  void SetItems(const rtl::TStrings* items) { items_->Assign(*items); }
  Integer Count() const { return items_->Count(); }
  // -1: nothing selected. Setting it scrolls the item into view and fires
  // no event; an index outside the items selects nothing.
  Integer ItemIndex() const { return itemIndex_; }
  void SetItemIndex(Integer index);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle s);
  // Every item's height; 0 (the default) takes the font's text height.
  Integer ItemHeight() const;
  void SetItemHeight(Integer v);
  // The first item shown.
  Integer TopIndex() const { return topIndex_; }
  void SetTopIndex(Integer index);
  // Items that fit the client area whole.
  Integer VisibleItemCount() const;
  // The item under a client point; -1 when none. With existing false a
  // point below the last item answers the last item.
  Integer ItemAtPos(TPoint p, bool existing) const;
  // Where an item is drawn, in client coordinates (above or below the
  // client area for items scrolled away).
  TRect ItemRect(Integer index) const;
  // A sunken border in the non-client area (on by default).
  bool BorderVisible() const { return border_; }
  void SetBorderVisible(bool v);
  void Clear() { items_->Clear(); }

  void Dispatch(TMessage& message) override;

  // Owner drawing (lbOwnerDrawFixed): the canvas holds the control's font
  // and a brush of the item's background when OnDrawItem is called.
  TDrawItemEvent OnDrawItem;

 protected:
  friend class TListBoxStrings;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Draws one item; the default fills the background and writes the text
  // (in owner-draw style OnDrawItem takes over when assigned).
  virtual void DrawItem(Integer index, const TRect& rect, TOwnerDrawState state);
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(WideChar& key) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  // The user moved the selection to index: it is selected, shown and
  // OnClick fires.
  void UserSelect(Integer index);

 private:
  void ItemsChanged();
  void UpdateScrollRange();
  void ScrollTo(Integer top);
  void MakeVisible(Integer index);

  std::unique_ptr<TListBoxStrings> items_;
  Integer itemIndex_ = -1;
  Integer topIndex_ = 0;
  Integer itemHeight_ = 0;
  TListBoxStyle style_ = lbStandard;
  bool border_ = true;
  bool updating_ = false;
  bool tracking_ = false;  // the left button went down on the list
};

class TListBox : public TCustomListBox {
 public:
  using TCustomListBox::TCustomListBox;
};

}  // namespace vcl
