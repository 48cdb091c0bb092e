#pragma once
// The list view in report style: rows of a caption and sub-item columns,
// drawn by the control itself on its retained buffer (as the list box is),
// with one selected row, optional check boxes and optional column headers.
//
// Rows are selected by a click anywhere in the row (whole-row selection)
// or on the caption only; the arrow, page, Home and End keys move the
// selection. Every change of a row's selection fires OnSelectItem (the row
// losing it first) and OnChange with ctState; a check mark toggled by a
// click on its box or by the space key, or set by the program, fires
// OnChange with ctState too. Setting a caption fires OnChange with ctText.
// With SortType stText rows keep themselves sorted by caption (case
// ignored), selection following its row. With HotTrack the row under the
// mouse is underlined and the cursor over rows is the hand.
#include <functional>
#include <memory>
#include <vector>

#include "rtl/StringList.h"
#include "vcl/Controls.h"

namespace vcl {

class TCustomListView;
class TListItems;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using enum TViewStyle;
enum class TSortType { stNone, stData, stText, stBoth };
using enum TSortType;
enum class TItemChange { ctText, ctImage, ctState };
using enum TItemChange;

class TListItem {
 public:
  explicit TListItem(TListItems* owner);
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& s);
  rtl::TStrings* SubItems() { return &subItems_; }
  const rtl::TStrings* SubItems() const { return &subItems_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Selected() const;
  void SetSelected(bool v);
  bool Focused() const;
  void SetFocused(bool v);
  void* Data() const { return data_; }
  void SetData(void* d) { data_ = d; }
  Integer Index() const;
  TCustomListView* ListView() const;
  // Scrolls the row into view (partly visible rows too with partialOK).
  void MakeVisible(bool partialOK);
  // The row's rectangle in client coordinates.
  TRect DisplayRect() const;
  void Delete();

 private:
  friend class TListItems;
  TListItems* owner_;
  AnsiString caption_;
  rtl::TStringList subItems_;
  bool checked_ = false;
  void* data_ = nullptr;
};

// The rows of a list view, owned by it.
class TListItems {
 public:
  explicit TListItems(TCustomListView* view) : view_(view) {}
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  TListItem* Item(Integer index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TListItem* operator[](Integer index) const { return Item(index); }
  // A new row at the end (or at its sorted place once its caption is set).
  TListItem* Add();
  TListItem* Insert(Integer index);
  void Delete(Integer index);
  void Clear();
  Integer IndexOf(const TListItem* item) const;
  // Painting and sorting wait until the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  TCustomListView* Owner() const { return view_; }

 private:
  friend class TCustomListView;
  friend class TListItem;
  TCustomListView* view_;
  std::vector<std::unique_ptr<TListItem>> items_;
  Integer updates_ = 0;
};

class TListColumn {
 public:
  AnsiString Caption;
  Integer Width = 50;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, AnsiString& S)>;

class TCustomListView : public TCustomControl {
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListItems* Items() { return items_.get(); }
  const TListItems* Items() const { return items_.get(); }
  // Columns: the first shows the captions, the others the sub-items.
  TListColumn* AddColumn();
  Integer ColumnCount() const { return static_cast<Integer>(columns_.size()); }
  TListColumn* Column(Integer index) { return &columns_.at(static_cast<size_t>(index)); }
  void SetColumnWidth(Integer index, Integer width);

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool ShowColumnHeaders() const { return showHeaders_; }
  void SetShowColumnHeaders(bool v);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  // Without ReadOnly a row's caption can be edited in place: F2 or a
  // second click on the selected row's caption starts it (OnEditing may
  // refuse), Enter or leaving the field ends it (OnEdited may change the
  // text the caption takes), Escape drops it.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool EditCaption(TListItem* item);
  bool IsEditing() const { return editor_ != nullptr; }
  // The in-place field while editing.
  TWinControl* Editor() const { return editor_; }
  void EndEdit(bool accept);
  // With false the selected row stays highlighted while the view has no
  // focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v);
  // Hot tracking: the row under the mouse is underlined and the cursor
  // over rows is the hand.
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);
  TListItem* HotItem() const { return hot_; }
  TSortType SortType() const { return sortType_; }
  void SetSortType(TSortType v);
  // Sorts the rows by caption now, case ignored.
  void AlphaSort();

  TListItem* Selected() const { return selected_; }
  void SetSelected(TListItem* item);
  TListItem* ItemFocused() const { return focused_; }
  void SetItemFocused(TListItem* item);
  Integer SelCount() const { return selected_ ? 1 : 0; }
  TListItem* FindCaption(Integer startIndex, const AnsiString& value, bool partial, bool inclusive, bool wrap) const;
  // The row under a client point; null when none.
  TListItem* GetItemAt(Integer x, Integer y) const;
  Integer TopIndex() const { return topIndex_; }
  void Scroll(Integer dx, Integer dy);
  Integer VisibleRowCount() const;
  Integer RowHeight() const;
  // The client width the rows get: the whole client area (the vertical
  // scroll bar lies outside it).
  TRect ItemRect(Integer index) const;
  // Where a row's check box is drawn, in client coordinates.
  TRect CheckRect(Integer index) const;
  // Where a row's caption text starts.
  Integer CaptionLeft() const;
  void Clear() { items_->Clear(); }

  void Dispatch(TMessage& message) override;

  TLVChangeEvent OnChange;
  TLVSelectItemEvent OnSelectItem;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;

 protected:
  friend class TListItems;
  friend class TListItem;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  virtual void Change(TListItem* item, TItemChange change);
  // The user toggled a row's box.
  void ToggleCheck(TListItem* item);

 private:
  void ItemsChanged();
  void ItemRemoving(TListItem* item);
  void SortIfNeeded();
  void UpdateScrollRange();
  void ScrollTo(Integer top);
  Integer HeaderHeight() const;
  void UserSelect(TListItem* item);

  std::unique_ptr<TListItems> items_;
  std::vector<TListColumn> columns_;
  TListItem* selected_ = nullptr;
  TListItem* focused_ = nullptr;
  Integer topIndex_ = 0;
  TViewStyle viewStyle_ = vsIcon;
  TSortType sortType_ = stNone;
  bool showHeaders_ = true;
  bool rowSelect_ = false;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool checkboxes_ = false;
  bool sorting_ = false;
  TWinControl* editor_ = nullptr;  // a child edit while editing
  TListItem* editing_ = nullptr;
  TWinControl* retired_ = nullptr;  // the last field, hidden; freed at the next edit (not inside its own handler)
  bool hotTrack_ = false;
  TListItem* hot_ = nullptr;
  void SetHot(TListItem* item);
};

class TListView : public TCustomListView {
 public:
  using TCustomListView::TCustomListView;
};

}  // namespace vcl
