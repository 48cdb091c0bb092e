#pragma once
// The class library's grids: TCustomGrid (rows and columns of cells with
// fixed rows and columns at the top and left, a current cell and a
// selection, keyboard and mouse navigation, sizing and moving of columns and
// rows, scroll bars over the positions 0..127, and an in-place editor),
// TDrawGrid (cells painted by an event) and TStringGrid (a text and an
// object per cell, kept by a cell store that a descendant may supply).
//
// Geometry: a cell's rectangle excludes the grid line after it; the fixed
// columns stay at the left and the fixed rows at the top while the other
// cells scroll, LeftCol and TopRow naming the first scrollable ones shown.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "vcl/Controls.h"
#include "vcl/Mask.h"
#include "vcl/StdCtrls.h"

class QScrollBar;

namespace vcl {

RTL_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

struct TGridCoord {
  Integer X = 0;
  Integer Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

// Cells from (Left, Top) to (Right, Bottom), both corners included.
struct TGridRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr bool operator==(const TGridRect&) const = default;
};

enum class TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking
};
using enum TGridOption;
using TGridOptions = rtl::TSet<TGridOption>;

enum class TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using enum TGridDrawStateItem;
using TGridDrawState = rtl::TSet<TGridDrawStateItem>;

enum class TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
using enum TGridState;

// TScrollStyle: StdCtrls.h.

enum class TGridBorderStyle { bsNone, bsSingle };

class TCustomGrid;

// The editor the grid shows over the current cell.
class TInplaceEdit : public TCustomMaskEdit {
 public:
  explicit TInplaceEdit(TComponent* owner);
  TCustomGrid* Grid() const { return grid_; }
  // Places the editor on the cell's rectangle and shows it.
  void Move(const TRect& r);
  void Hide();
  // Takes the grid's text of the current cell.
  void UpdateContents();
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  void Dispatch(TMessage& message) override;

 protected:
  void Change() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(WideChar& key) override;

 private:
  friend class TCustomGrid;
  TCustomGrid* grid_ = nullptr;  // the grid owns this editor
  bool wordWrap_ = false;
  bool updating_ = false;
};

using TDrawCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;
using TGetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value)>;

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;

  // --- dimensions ---
  Integer ColCount() const { return colCount_; }
  Integer RowCount() const { return rowCount_; }
  // A count of 0 or less becomes 1; fixed counts drop below a smaller count.
  virtual void SetColCount(Integer value);
  virtual void SetRowCount(Integer value);
  Integer FixedCols() const { return fixedCols_; }
  Integer FixedRows() const { return fixedRows_; }
  // Raise EInvalidGridOperation "Fixed column count must be less than column
  // count" (rows likewise) and "Grid index out of range" for a negative one.
  virtual void SetFixedCols(Integer value);
  virtual void SetFixedRows(Integer value);
  Integer DefaultColWidth() const { return defaultColWidth_; }
  Integer DefaultRowHeight() const { return defaultRowHeight_; }
  // Every column (row) takes the new default.
  virtual void SetDefaultColWidth(Integer value);
  virtual void SetDefaultRowHeight(Integer value);
  virtual Integer ColWidths(Integer col) const;
  virtual void SetColWidths(Integer col, Integer width);
  virtual Integer RowHeights(Integer row) const;
  virtual void SetRowHeights(Integer row, Integer height);
  Integer GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(Integer value);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);
  const TGridOptions& Options() const { return options_; }
  virtual void SetOptions(const TGridOptions& value);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  virtual void SetScrollBars(TScrollStyle value);
  TGridBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TGridBorderStyle value);

  // --- current cell, selection and scroll position ---
  Integer Col() const { return current_.X; }
  Integer Row() const { return current_.Y; }
  // Setting the current cell moves the selection's anchor with it.
  void SetCol(Integer value);
  void SetRow(Integer value);
  TGridRect Selection() const;
  void SetSelection(const TGridRect& value);
  Integer LeftCol() const { return topLeft_.X; }
  Integer TopRow() const { return topLeft_.Y; }
  void SetLeftCol(Integer value);
  void SetTopRow(Integer value);
  // Scrollable columns (rows) shown whole from LeftCol (TopRow); at least 1
  // while there are scrollable ones.
  Integer VisibleColCount() const;
  Integer VisibleRowCount() const;
  // The cell's rectangle in client coordinates; empty when it is not shown.
  TRect CellRect(Integer col, Integer row) const;
  // The cell at a client point; (-1, -1) outside the cells.
  TGridCoord MouseCoord(Integer x, Integer y) const;
  void MouseToCell(Integer x, Integer y, Integer& col, Integer& row) const;
  TGridState GridState() const { return state_; }

  void InvalidateCell(Integer col, Integer row);
  void InvalidateRow(Integer row);
  void InvalidateCol(Integer col);
  void InvalidateGrid() { Invalidate(); }

  // --- editing ---
  bool EditorMode() const;
  void SetEditorMode(bool value);
  TInplaceEdit* InplaceEditor() const { return editor_; }
  void ShowEditor();
  void HideEditor();

  // --- moving ---
  void MoveColumn(Integer fromIndex, Integer toIndex);
  void MoveRow(Integer fromIndex, Integer toIndex);

  // The sizing or moving a mouse position at (x, y) would start, the index
  // of the column or row, and where its edge is.
  void CalcSizingState(Integer x, Integer y, TGridState& state, Integer& index, Integer& sizingPos,
                       Integer& sizingOfs) const;

  void Dispatch(TMessage& message) override;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;

 protected:
  // --- hooks a descendant overrides ---
  virtual void DrawCell(Integer col, Integer row, const TRect& r, TGridDrawState state);
  virtual bool SelectCell(Integer col, Integer row);
  virtual void TopLeftChanged();
  virtual void ColumnMoved(Integer fromIndex, Integer toIndex);
  virtual void RowMoved(Integer fromIndex, Integer toIndex);
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  // After the counts changed.
  virtual void SizeChanged(Integer oldColCount, Integer oldRowCount) {}
  virtual bool CanEditShow() const;
  virtual bool CanEditModify() const { return true; }
  virtual AnsiString GetEditText(Integer col, Integer row);
  virtual void SetEditText(Integer col, Integer row, const AnsiString& value);
  virtual AnsiString GetEditMask(Integer col, Integer row);
  virtual Integer GetEditLimit() { return 0; }
  virtual TInplaceEdit* CreateEditor();
  // The stored column widths and row heights; a descendant may keep them
  // elsewhere (its cell store) by overriding these.
  virtual void StoreColWidth(Integer col, Integer width);
  virtual void StoreRowHeight(Integer row, Integer height);
  virtual Integer StoredColWidth(Integer col) const;
  virtual Integer StoredRowHeight(Integer row) const;
  // The columns and rows of the store follow the counts and moves.
  virtual void StoreSizeChanged(Integer oldColCount, Integer oldRowCount);
  // Takes counts that a descendant's store changed by itself (rows it hid
  // or put back): the view follows without asking the store again.
  void CountsChanged(Integer colCount, Integer rowCount, Integer fixedCols, Integer fixedRows);
  virtual void StoreMoveColumn(Integer fromIndex, Integer toIndex);
  virtual void StoreMoveRow(Integer fromIndex, Integer toIndex);

  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(WideChar& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  void Resize() override;
  void DoExit() override;

  // Makes (col, row) current unless SelectCell refuses; with moveAnchor the
  // selection shrinks to it, else it stretches from the anchor.
  void FocusCell(Integer col, Integer row, bool moveAnchor);
  void MoveCurrent(Integer col, Integer row, bool moveAnchor, bool show);
  // Scrolls so that the cell is shown whole.
  void ClampInView(Integer col, Integer row);
  // The largest LeftCol (TopRow) that still fills the client area.
  Integer MaxLeftCol() const;
  Integer MaxTopRow() const;
  // The scroll position 0..127 of the current LeftCol and TopRow.
  Integer ScrollPosition(bool vertical) const;
  void UpdateScrollBars();
  // The canvas state is the control's own after each call.
  void DrawGridLines(const TRect& r, bool fixed);

  TGridState state_ = gsNormal;

 private:
  friend class TInplaceEdit;
  void SetCurrent(TGridCoord cell, bool moveAnchor);
  void ModifyScrollBar(bool vertical, Integer code, Integer position);
  void ScrollTo(Integer leftCol, Integer topRow);
  // x of a column's left edge and y of a row's top in the client area.
  Integer ColumnLeft(Integer col) const;
  Integer RowTop(Integer row) const;
  void EnsureScrollBars();
  void PlaceScrollBars();
  bool VertBarShown() const;
  bool HorzBarShown() const;
  void CheckSelection();

  Integer colCount_ = 5;
  Integer rowCount_ = 5;
  Integer fixedCols_ = 1;
  Integer fixedRows_ = 1;
  Integer defaultColWidth_ = 64;
  Integer defaultRowHeight_ = 24;
  std::vector<Integer> colWidths_;
  std::vector<Integer> rowHeights_;
  Integer gridLineWidth_ = 1;
  bool defaultDrawing_ = true;
  TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TColor fixedColor_ = clBtnFace;
  TScrollStyle scrollBars_ = ssBoth;
  TGridBorderStyle borderStyle_ = TGridBorderStyle::bsSingle;
  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  TGridCoord topLeft_{1, 1};
  TInplaceEdit* editor_ = nullptr;  // owned by the grid as its component
  bool editorMode_ = false;
  // Sizing and moving in progress.
  Integer sizingIndex_ = -1;
  Integer sizingPos_ = 0;
  Integer sizingOfs_ = 0;
  Integer moveIndex_ = -1;
  Integer movePos_ = -1;
  bool scrollBarsUpdating_ = false;
  QScrollBar* vertBar_ = nullptr;  // children of the grid's widget (Qt deletes them with it)
  QScrollBar* horzBar_ = nullptr;
  bool vertShown_ = false;
  bool horzShown_ = false;
};

class TDrawGrid : public TCustomGrid {
 public:
  using TCustomGrid::TCustomGrid;
};

// Where a string grid keeps its cells. The grid's own store is a plain one;
// a descendant hands the grid another (its model) with SetCellStore.
class TStringGridStore {
 public:
  virtual AnsiString GetCell(Integer col, Integer row) const = 0;
  virtual void SetCell(Integer col, Integer row, const AnsiString& value) = 0;
  virtual void* GetObject(Integer col, Integer row) const = 0;
  virtual void SetObject(Integer col, Integer row, void* object) = 0;
  // The store follows the grid's counts and moves.
  virtual void SizeChanged(Integer colCount, Integer rowCount) = 0;
  virtual void MoveColumn(Integer fromIndex, Integer toIndex) = 0;
  virtual void MoveRow(Integer fromIndex, Integer toIndex) = 0;

 protected:
  ~TStringGridStore() = default;
};

class TStringGrid : public TDrawGrid {
 public:
  explicit TStringGrid(TComponent* owner);
  ~TStringGrid() override;

  AnsiString Cells(Integer col, Integer row) const;
  virtual void SetCells(Integer col, Integer row, const AnsiString& value);
  void* Objects(Integer col, Integer row) const;
  void SetObjects(Integer col, Integer row, void* object);
  // A row's (column's) texts and objects as a string list; writing a line
  // writes that cell.
  rtl::TStrings& Rows(Integer row);
  rtl::TStrings& Cols(Integer col);

  // Not owned; null goes back to the grid's own store.
  void SetCellStore(TStringGridStore* store);
  TStringGridStore* CellStore() const { return store_; }

 protected:
  void DrawCell(Integer col, Integer row, const TRect& r, TGridDrawState state) override;
  AnsiString GetEditText(Integer col, Integer row) override;
  void SetEditText(Integer col, Integer row, const AnsiString& value) override;
  void StoreSizeChanged(Integer oldColCount, Integer oldRowCount) override;
  void StoreMoveColumn(Integer fromIndex, Integer toIndex) override;
  void StoreMoveRow(Integer fromIndex, Integer toIndex) override;

 private:
  class OwnStore;
  class LineView;
  void CheckCell(Integer col, Integer row) const;
  std::unique_ptr<OwnStore> ownStore_;
  TStringGridStore* store_;  // ownStore_ or a descendant's
  // One view per row or column asked for; they stay valid with the grid.
  std::map<Integer, std::unique_ptr<LineView>> rowViews_;
  std::map<Integer, std::unique_ptr<LineView>> colViews_;
};

}  // namespace vcl
