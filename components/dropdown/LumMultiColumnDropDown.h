#pragma once
// TLumMultiColumnDropDown: a drop-down whose pop-up is a table of columns
// and rows (TLumColGrid); the lookup column gives the value, and typing in
// the edit completes from that column's values and selects the row.
#include <memory>
#include <vector>

#include "dropdown/LumDropDown.h"
#include "rtl/StringList.h"
#include "vcl/Grids.h"

namespace dropdown {

enum class TColumnType { ctText, ctImage };

class TDropDownColumn : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TDropDownColumn(rtl::TCollection* collection);
  ~TDropDownColumn() override;
  vcl::Integer Width() const { return width_; }
  void SetWidth(vcl::Integer v) { width_ = v; }
  vcl::TColor Color() const { return color_; }
  void SetColor(vcl::TColor v) { color_ = v; }
  vcl::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(vcl::TAlignment v) { alignment_ = v; }
  bool Ellipsis() const { return ellipsis_; }
  void SetEllipsis(bool v) { ellipsis_ = v; }
  TColumnType ColumnType() const { return columnType_; }
  void SetColumnType(TColumnType v) { columnType_ = v; }
  const rtl::AnsiString& Header() const { return header_; }
  void SetHeader(const rtl::AnsiString& v) { header_ = v; }
  bool Wordwrap() const { return wordwrap_; }
  void SetWordwrap(bool v) { wordwrap_ = v; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(const vcl::TFont* f) { font_->Assign(f); }
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::Integer width_ = 80;
  vcl::TColor color_ = 0xFFFFFF;
  vcl::TAlignment alignment_ = vcl::TAlignment::taLeftJustify;
  bool ellipsis_ = false;
  TColumnType columnType_ = TColumnType::ctText;
  rtl::AnsiString header_;
  bool wordwrap_ = false;
  bool autoSize_ = false;
  std::unique_ptr<vcl::TFont> font_;
};

class TDropDownColumns : public rtl::TCollectionOf<TDropDownColumn> {
 public:
  explicit TDropDownColumns(vcl::TComponent* owner) : owner_(owner) {}
  ~TDropDownColumns() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  void Assign(const TDropDownColumns& source);

 private:
  vcl::TComponent* owner_;
};

class TDropDownItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TDropDownItem(rtl::TCollection* collection);
  ~TDropDownItem() override;
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v) { imageIndex_ = v; }
  // The row's cells, one line a column.
  rtl::TStringList* Text() const { return text_.get(); }
  void SetText(const rtl::TStrings& v) { text_->Assign(v); }
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<rtl::TStringList> text_;
};

class TDropDownItems : public rtl::TCollectionOf<TDropDownItem> {
 public:
  explicit TDropDownItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TDropDownItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  void Assign(const TDropDownItems& source);

 private:
  vcl::TComponent* owner_;
};

using TGetCellTextEvent =
    std::function<void(vcl::TObject* Sender, vcl::Integer Column, vcl::Integer Row, rtl::AnsiString& Text)>;
using TDropDownDrawCellEvent = std::function<void(vcl::TObject* Sender, vcl::Integer Column, vcl::Integer Row,
                                                  vcl::TCanvas* ACanvas, vcl::TRect ARect)>;
using TGetCellPropEvent = std::function<void(vcl::TObject* Sender, vcl::Integer Column, vcl::Integer Row,
                                             vcl::TFont* Font, vcl::TColor& AColor, vcl::TColor& AColorTo)>;

class TLumMultiColumnDropDown;

// The table of the pop-up, painted wholly by its own cell drawing; the
// class library's grid lines stay 0 wide and the table draws its own.
class TLumColGrid : public vcl::TStringGrid {
 public:
  explicit TLumColGrid(vcl::TComponent* owner);
  ~TLumColGrid() override;

  TDropDownColumns* Columns() const { return columns_.get(); }
  vcl::TColor LineColor() const { return lineColor_; }
  void SetLineColor(vcl::TColor v) { lineColor_ = v; }
  vcl::TColor FixedLineColor() const { return fixedLineColor_; }
  void SetFixedLineColor(vcl::TColor v) { fixedLineColor_ = v; }
  vcl::TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(vcl::TColor v) { headerColor_ = v; }
  vcl::TColor HeaderColorTo() const { return headerColorTo_; }
  void SetHeaderColorTo(vcl::TColor v) { headerColorTo_ = v; }
  vcl::Integer HeaderHeight() const { return headerHeight_; }
  void SetHeaderHeight(vcl::Integer v) { headerHeight_ = v; }
  vcl::TFont* HeaderFont() const { return headerFont_.get(); }
  // The table's own line width (body lines and the cells' inset); the
  // class library's grid lines stay 0 wide.
  vcl::Integer GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(vcl::Integer v);
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* v);
  bool UserSelected() const { return userSelected_; }
  bool WheelScrolling() const { return wheelScrolling_; }
  TLumMultiColumnDropDown* OwnerDropDown() const { return ownerDropDown_; }

  void LoadFromDropDown(TLumMultiColumnDropDown* dropDown);
  vcl::Integer NeededWidth() const;
  void AutoSizeColumns();
  void AutoSizeColumn(vcl::Integer index);
  void UpdateRowHeights();
  virtual void DoSelect();

  vcl::TNotifyEvent OnSelect;

 protected:
  void DrawCell(vcl::Integer col, vcl::Integer row, const vcl::TRect& r, vcl::TGridDrawState state) override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  bool DoMouseWheelDown(vcl::TShiftState shift, vcl::TPoint mousePos) override;
  bool DoMouseWheelUp(vcl::TShiftState shift, vcl::TPoint mousePos) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  // A body cell's text and image from the owner's rows (row counts from 1).
  void CellContent(vcl::Integer col, vcl::Integer row, rtl::AnsiString& text, vcl::Integer& image) const;
  vcl::TCanvas* MeasureCanvas() const;

  std::unique_ptr<TDropDownColumns> columns_;
  vcl::TColor lineColor_ = 0x808080;
  vcl::TColor fixedLineColor_ = 0;
  vcl::TColor headerColor_ = 0xFFFFFF;
  vcl::TColor headerColorTo_ = 0x808080;
  vcl::Integer headerHeight_ = 25;
  std::unique_ptr<vcl::TFont> headerFont_;
  vcl::Integer gridLineWidth_ = 1;
  vcl::TImageList* images_ = nullptr;
  TLumMultiColumnDropDown* ownerDropDown_ = nullptr;
  bool userSelected_ = false;
  bool wheelScrolling_ = false;
};

class TLumMultiColumnDropDown : public TLumCustomDropDown {
 public:
  explicit TLumMultiColumnDropDown(vcl::TComponent* owner);
  ~TLumMultiColumnDropDown() override;

  bool DropDownAutoWidth() const { return dropDownAutoWidth_; }
  void SetDropDownAutoWidth(bool v) { dropDownAutoWidth_ = v; }
  vcl::Integer DropDownRowHeight() const { return dropDownRowHeight_; }
  void SetDropDownRowHeight(vcl::Integer v) { dropDownRowHeight_ = v; }
  vcl::TColor LineColor() const { return lineColor_; }
  void SetLineColor(vcl::TColor v) { lineColor_ = v; }
  vcl::TColor FixedLineColor() const { return fixedLineColor_; }
  void SetFixedLineColor(vcl::TColor v) { fixedLineColor_ = v; }
  bool ColumnSizing() const { return columnSizing_; }
  void SetColumnSizing(bool v) { columnSizing_ = v; }
  bool ColumnSizeWithDropDown() const { return columnSizeWithDropDown_; }
  void SetColumnSizeWithDropDown(bool v) { columnSizeWithDropDown_ = v; }
  TDropDownColumns* Columns() const { return columns_.get(); }
  void SetColumns(const TDropDownColumns& v) { columns_->Assign(v); }
  vcl::TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(vcl::TColor v) { headerColor_ = v; }
  vcl::TColor HeaderColorTo() const { return headerColorTo_; }
  void SetHeaderColorTo(vcl::TColor v) { headerColorTo_ = v; }
  vcl::Integer HeaderHeight() const { return headerHeight_; }
  void SetHeaderHeight(vcl::Integer v) { headerHeight_ = v; }
  vcl::TFont* HeaderFont() const { return headerFont_.get(); }
  vcl::Integer LookupColumn() const { return lookupColumn_; }
  void SetLookupColumn(vcl::Integer v) { lookupColumn_ = v; }
  vcl::TColor SelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(vcl::TColor v) { selectionTextColor_ = v; }
  TDropDownItems* Items() const { return items_.get(); }
  void SetItems(const TDropDownItems& v) { items_->Assign(v); }
  vcl::Integer ItemIndex() const { return itemIndex_; }
  // Unchanged or past the rows: nothing; else the row's lookup cell (or
  // nothing) becomes the text.
  void SetItemIndex(vcl::Integer index);

  // A row's cell text, empty for a row or cell that is not there.
  rtl::AnsiString CellText(vcl::Integer row, vcl::Integer column) const;
  const rtl::TStringList& LookupList() const { return *lookupList_; }
  void BeginLookupUpdate() {}
  void UpdateLookup();
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void SelectPageDown();
  void SelectPageUp();
  // Columns scaled to the pop-up's width, the remainder carried on.
  void FitColumns();
  TLumColGrid* Grid() const { return grid_; }
  bool AutoComplete() const { return autoComplete_; }

  vcl::TNotifyEvent OnSelect;
  TGetCellTextEvent OnDropDownGetItemText;
  TDropDownDrawCellEvent OnDropDownDrawItem;
  TGetCellPropEvent OnDropDownGetItemProp;

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DropDown() override;
  void PlaceDropDownControl() override;
  void UpdateDropDownSize() override;
  void HideDropDown(bool cancelled) override;
  void ControlKeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyPress(vcl::WideChar& key) override;
  void DropDownFormSized() override;
  void MouseWheelDownHook() override;
  void MouseWheelUpHook() override;
  void SetSelectionLook(vcl::Byte look) override;
  void SetComponentStyle(REZORuvar style) override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void Loaded() override;

 protected:
  void Change() override;
  void Dispatch(vcl::TMessage& message) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void EnsureGrid();
  vcl::Integer LookupIndexOf(const rtl::AnsiString& text) const;

  bool dropDownAutoWidth_ = true;
  vcl::Integer dropDownRowHeight_ = 22;
  vcl::TColor lineColor_ = 0xC0C0C0;
  vcl::TColor fixedLineColor_ = 0;
  bool columnSizing_ = false;
  bool columnSizeWithDropDown_ = true;
  std::unique_ptr<TDropDownColumns> columns_;
  vcl::TColor headerColor_ = 0xFFFFFF;
  vcl::TColor headerColorTo_ = 0x808080;
  vcl::Integer headerHeight_ = 25;
  std::unique_ptr<vcl::TFont> headerFont_;
  vcl::Integer lookupColumn_ = 0;
  vcl::TColor selectionTextColor_ = 0;
  std::unique_ptr<TDropDownItems> items_;
  vcl::Integer itemIndex_ = -1;
  std::unique_ptr<rtl::TStringList> lookupList_;
  std::vector<rtl::AnsiString> lookupUpper_;  // the list upper-cased, for completing
  bool autoComplete_ = true;
  bool caseSensitiveLookup_ = false;
  bool completing_ = false;
  vcl::Integer indexAtDropDown_ = -1;
  TLumColGrid* grid_ = nullptr;
};

}  // namespace dropdown
