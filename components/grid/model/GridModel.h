#pragma once
// The grid's model: its cells, their properties and merged blocks, its
// dimensions with the rules of fixed rows and columns, and its hidden rows
// with the mappings between real and display row numbers. It is the whole
// grid without a window: the grid component owns one (a subclass whose
// hooks reach the window) and tests use it directly.
//
// Rows hold their cells together: a row is one object with its texts, its
// cells' properties and its height, so hiding, sorting and moving a row
// moves one handle, and a cell without properties costs its text alone.
//
// Every cell argument is checked (RTL_ASSERT): callers pass cells inside
// the grid, and a wrong one raises instead of touching memory outside.
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "grid/model/CellProperties.h"
#include "grid/model/GridLists.h"
#include "grid/model/GridTypes.h"
#include "grid/model/SelectionMarks.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"

namespace grid {

// The string grid's refusals of a fixed count.
using rtl::Exception;
RTL_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);
// The grid's own errors.
RTL_DECLARE_EXCEPTION(ELumGridError, Exception);

class TRowStrings;

// One row of cells.
class TGridRow {
 public:
  explicit TGridRow(Integer height);
  ~TGridRow();
  TGridRow(const TGridRow&) = delete;
  TGridRow& operator=(const TGridRow&) = delete;

  Integer Height;

  // The text of a column; empty past the columns the row has stored.
  const AnsiString& Cell(Integer col) const;
  void SetCell(Integer col, AnsiString text);
  TCellProperties* Props(Integer col) const;
  // Stores properties, freeing those the cell had.
  void SetProps(Integer col, std::unique_ptr<TCellProperties> props);
  // Hands the cell's properties out without freeing them.
  std::unique_ptr<TCellProperties> TakeProps(Integer col);
  bool HasAnyProps() const { return !props_.empty(); }
  // Drops every column at and after count (their properties are freed).
  void Truncate(Integer count);
  // Empty columns before col, or the columns at col taken out.
  void InsertColumns(Integer col, Integer count);
  void RemoveColumns(Integer col, Integer count);
  // Stored columns (texts); the rest of the row is empty.
  Integer StoredCount() const { return static_cast<Integer>(cells_.size()); }
  Integer StoredPropsCount() const { return static_cast<Integer>(props_.size()); }
  // The row as a string list of count columns (made when first asked for).
  TRowStrings& Strings(const Integer* count);

 private:
  std::vector<AnsiString> cells_;
  std::vector<std::unique_ptr<TCellProperties>> props_;  // empty until a cell has some
  std::unique_ptr<TRowStrings> view_;
};

// The texts and properties of one row as a string list (column 0 first), as
// the class library shows a row: writing a line writes that cell. The
// properties stand as the lines' objects and cannot be replaced here.
class TRowStrings : public rtl::TStrings {
 public:
  // count: the grid's column count, read at each call.
  TRowStrings(TGridRow* row, const Integer* count) : row_(row), count_(count) {}
  Integer Count() const override { return *count_; }
  AnsiString Get(Integer index) const override;
  void Put(Integer index, const AnsiString& s) override;
  void* GetObject(Integer index) const override;
  void PutObject(Integer index, void* object) override;
  void Insert(Integer index, const AnsiString& s) override;
  void Delete(Integer index) override;
  // Empties every cell of the row.
  void Clear() override;
  // The source's lines into the row's cells, the cells past them emptied.
  void Assign(const rtl::TStrings& source) override;

 private:
  TGridRow* row_;
  const Integer* count_;
};

// A hidden row: its real number, its hiding level and the row itself.
class TGridItem {
 public:
  TGridItem(Integer idx, Integer level, std::unique_ptr<TGridRow> row, const Integer* colCount)
      : Idx(idx), Level(level), row_(std::move(row)), colCount_(colCount) {}
  Integer Idx;
  Integer Level;
  // The row carried a disjunct mark in display numbering when it was
  // hidden; it gets it back when shown.
  bool Marked = false;
  Integer Height() const { return row_->Height; }
  // The row's texts, column 0 first.
  rtl::TStrings& Items() { return row_->Strings(colCount_); }
  TGridRow& Row() { return *row_; }
  const TGridRow& Row() const { return *row_; }
  std::unique_ptr<TGridRow> TakeRow() { return std::move(row_); }

 private:
  std::unique_ptr<TGridRow> row_;
  const Integer* colCount_;
};

class TGridModel {
 public:
  TGridModel();
  TGridModel(const TGridModel&) = delete;
  TGridModel& operator=(const TGridModel&) = delete;
  virtual ~TGridModel();

  // ===== The string grid underneath =====

  Integer ColCount() const { return colCount_; }
  Integer RowCount() const { return static_cast<Integer>(rows_.size()); }
  // The string grid's fixed counts, without the grid's own rules.
  Integer GridFixedCols() const { return fixedCols_; }
  Integer GridFixedRows() const { return fixedRows_; }
  // The class library's rules: a count of 0 or less becomes 1, fixed counts
  // drop below the new count; cells past the new counts are dropped with
  // their properties.
  void SetGridColCount(Integer count);
  void SetGridRowCount(Integer count);
  // Refuses a count not below the count ("Fixed row count must be less than
  // row count") and a negative one ("Grid index out of range").
  void SetGridFixedCols(Integer count);
  void SetGridFixedRows(Integer count);

  Integer DefaultColWidth() const { return defaultColWidth_; }
  Integer DefaultRowHeight() const { return defaultRowHeight_; }
  // Every column (row) takes the new default.
  void SetGridDefaultColWidth(Integer width);
  void SetGridDefaultRowHeight(Integer height);
  Integer ColWidths(Integer col) const;
  void SetColWidths(Integer col, Integer width);
  Integer RowHeights(Integer row) const;
  void SetRowHeights(Integer row, Integer height);
  // Sum of the widths of columns from..to-1 (heights of rows).
  Integer ColumnsWidth(Integer from, Integer to) const;
  Integer RowsHeight(Integer from, Integer to) const;

  // The stored text and properties of a cell, without merging or hooks.
  const AnsiString& GetRawCell(Integer col, Integer row) const;
  void SetRawCell(Integer col, Integer row, AnsiString text);
  TCellProperties* GetRawObject(Integer col, Integer row) const;
  // Stores the object in the slot; the slot's old object is not freed but
  // handed back (it has been moved elsewhere, or the caller frees it).
  std::unique_ptr<TCellProperties> SetRawObject(Integer col, Integer row, std::unique_ptr<TCellProperties> object);
  // A row as a string list (texts and properties); it stays with the row
  // when rows move, hide or show.
  rtl::TStrings& Rows(Integer row);
  TGridRow& RowAt(Integer row);
  const TGridRow& RowAt(Integer row) const;

  // Rows (or columns) moved one place to another, with all they hold.
  void MoveRow(Integer from, Integer to);
  void MoveColumn(Integer from, Integer to);
  // Two rows exchanged whole (texts, properties, height); nothing repainted.
  void SwapRows(Integer row1, Integer row2);

  // ===== Cell property store =====

  bool HasCellProperties(Integer col, Integer row) const;
  // Creates the properties, a picture of the cell's look, when missing.
  TCellProperties& CellProperties(Integer col, Integer row);
  void* GetCellObject(Integer col, Integer row) const;
  void SetCellObject(Integer col, Integer row, void* object);
  TCellGraphic* CellGraphic(Integer col, Integer row) const;
  // Takes ownership of the graphic (nothing while the grid is destroyed).
  void SetCellGraphic(Integer col, Integer row, std::unique_ptr<TCellGraphic> graphic);
  void ReplaceCellProperties(Integer col, Integer row, std::unique_ptr<TCellProperties> props);
  void FreeCellProperties(Integer col, Integer row);
  // Frees the properties (and owned graphics) of the block's cells inside
  // the grid; nothing when no properties were ever made.
  void ClearCellProperties(Integer fromCol, Integer fromRow, Integer toCol, Integer toRow);
  // Empty the slots (without freeing) and the texts.
  void ClearColumnSlots(Integer col);
  void ClearRowSlots(Integer row);
  void ClearCellSlot(Integer col, Integer row);
  bool CellPropertiesExist() const { return cellPropertiesExist_; }

  // ===== Merged cells =====

  virtual void MergeCells(Integer col, Integer row, Integer numCols, Integer numRows);
  virtual void SplitCells(Integer col, Integer row);
  TCellCoord BaseCell(Integer col, Integer row) const;
  bool IsBaseCellAt(Integer col, Integer row) const;
  bool IsMergedCell(Integer col, Integer row) const;
  bool IsCoveredCell(Integer col, Integer row) const;
  bool IsMergedHorz(Integer col, Integer row) const;
  bool IsMergedVert(Integer col, Integer row) const;
  // The spans of the cell's base cell; (0, 0) for a plain cell.
  TCellCoord CellSpan(Integer col, Integer row) const;
  bool RowsInSameMerge(Integer row1, Integer row2) const;
  Integer MergeCount() const { return mergeCount_; }

  // Columns merged on equal texts; every change re-applies the merges.
  TIntList& AutoMergeColumns() { return autoMergeColumns_; }
  void SplitColumnCells(Integer col);
  void SplitAllColumnCells();
  void MergeColumnCells(Integer col, bool first);
  void MergeAutoColumns();
  void ApplyAutoMerge();

  // ===== Display text =====

  AnsiString GetDisplayCell(Integer col, Integer row);
  void SetDisplayCell(Integer col, Integer row, const AnsiString& value);
  WideString GetCellWideText(Integer col, Integer row);
  // Rows below the limit get the display-text events.
  Integer DisplayRowLimit() const { return displayRowLimit_; }
  void SetDisplayRowLimit(Integer limit) { displayRowLimit_ = limit; }
  // The last row is shown by the floating footer.
  bool FooterRowShown() const { return footerRowShown_; }
  void SetFooterRowShown(bool shown) { footerRowShown_ = shown; }

  std::function<void(Integer col, Integer row, AnsiString& value)> OnGetDisplText;
  std::function<void(Integer col, Integer row, WideString& value)> OnGetDisplWideText;

  // ===== Cell look accessors =====

  TColor Colors(Integer col, Integer row) const;
  void SetColors(Integer col, Integer row, TColor value);
  void SetColorsTo(Integer col, Integer row, TColor value);
  void SetFontColors(Integer col, Integer row, TColor value);
  void SetRowColor(Integer row, TColor value);
  void SetRowColorTo(Integer row, TColor value);
  void SetRowFontColor(Integer row, TColor value);
  bool ReadOnly(Integer col, Integer row);
  void* CellControl(Integer col, Integer row) const;

  // The grid's font and colour, and its default word wrap, as the
  // snapshot of new properties starts from them.
  TFontSpec Font;
  TColor Color = clWindow;
  bool DefaultWordWrap() const { return wordWrap_; }

  // ===== Dimensions and fixed cells =====

  virtual void SetRowCount(Integer count);
  virtual void SetColCount(Integer count);
  // The fixed counts as the grid shows them: 1 when FixedRowAlways keeps a
  // fixed row that the string grid had to give up.
  Integer FixedRows() const;
  Integer FixedCols() const;
  virtual void SetFixedRows(Integer count);
  virtual void SetFixedCols(Integer count);
  virtual void SetDefaultRowHeight(Integer height);
  void SetDefaultColWidth(Integer width) { SetGridDefaultColWidth(width); }
  Integer FixedColWidth() const { return ColWidths(0); }
  void SetFixedColWidth(Integer width);
  Integer FixedRowHeight() const { return fixedRowHeight_; }
  void SetFixedRowHeight(Integer height);
  Integer FixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(Integer count);
  Integer FixedRightCols() const { return fixedRightCols_; }
  void SetFixedRightCols(Integer count);
  bool FixedRowAlways() const { return fixedRowAlways_; }
  void SetFixedRowAlways(bool value) { fixedRowAlways_ = value; }
  bool FixedColAlways() const { return fixedColAlways_; }
  void SetFixedColAlways(bool value) { fixedColAlways_ = value; }
  bool WordWrap() const { return wordWrap_; }
  virtual void SetWordWrap(bool value);
  Integer RememberedFixedRows() const { return rememberedFixedRows_; }
  Integer RememberedFixedCols() const { return rememberedFixedCols_; }
  Integer LargestRowCount() const { return largestRowCount_; }
  Integer LargestColCount() const { return largestColCount_; }
  void SetLargestRowCount(Integer count) { largestRowCount_ = count; }
  // What the form loader's end remembers: the loaded fixed counts and the
  // row count.
  void RememberLoadedDimensions();
  // The fixed-looking rule: fixed rows and columns, and with the Always
  // switches the rows and columns they keep.
  bool IsFixedByCount(Integer col, Integer row) const;
  // Normal (not fixed) rows and columns.
  Integer FirstNormalRow() const { return FixedRows(); }
  Integer LastNormalRow() const { return RowCount() - fixedFooters_ - 1; }
  Integer FirstNormalCol() const { return FixedCols(); }
  Integer LastNormalCol() const { return ColCount() - fixedRightCols_ - 1; }

  // ===== Hidden rows =====

  void HideRow(Integer row) { HideRows(row, row); }
  void HideRows(Integer fromRow, Integer toRow);
  void UnHideRow(Integer row);
  void UnHideRows(Integer fromRow, Integer toRow);
  // Hides the listed display rows as one level, above the levels before.
  void HideRowList(const std::vector<Integer>& rows);
  void HideRowList(const TIntList& rows) { HideRowList(rows.Values()); }
  // Shows the rows of the newest level again; rows hidden singly stay hidden.
  void UnHideRowsLevel();
  Integer HiddenRowLevel() const { return hiddenLevel_; }
  bool IsHiddenRow(Integer row) const;
  Integer NumHiddenRows() const { return static_cast<Integer>(hidden_.size()); }
  Integer AllRowCount() const { return RowCount() + NumHiddenRows(); }
  // The hidden records in real row order.
  const TGridItem& HiddenRow(Integer index) const { return *hidden_.at(index); }
  rtl::TStrings* HiddenRowTexts(Integer row);
  AnsiString RealCells(Integer col, Integer row);
  TCellProperties* RealObjects(Integer col, Integer row) const;
  Integer RealRowIndex(Integer displayRow) const;
  Integer DisplRowIndex(Integer realRow) const;
  Integer RealColIndex(Integer displayCol) const;
  virtual Integer DisplColIndex(Integer realCol) const;
  bool IsHiddenColumn(Integer col) const;
  Integer NumHiddenColumns() const { return hiddenColCount_; }
  Integer AllColCount() const { return ColCount() + hiddenColCount_; }

  // ===== Typed views of the cells =====

  // The display text as an integer (decimal, or hexadecimal after "$", "x"
  // or "0x"; empty and "-" read 0); else ELumGridError "Cell does not
  // contain integer value".
  Integer IntegerCells(Integer col, Integer row);
  void SetIntegerCells(Integer col, Integer row, Integer value);
  // The number in the display text (currency, thousand separators and
  // parentheses allowed); else ELumGridError "Cell does not contain a float
  // value".
  double FloatCells(Integer col, Integer row);
  // The same for a real row, hidden or shown.
  double AllFloatCells(Integer col, Integer realRow);
  // Stored in FloatFormat.
  void SetFloatCells(Integer col, Integer row, double value);
  // Stored in the short date format.
  void SetDateCells(Integer col, Integer row, TDateTime value);
  // Stored as the cell's own text in the wide-text encoding.
  void SetWideCellText(Integer col, Integer row, std::u16string_view value);
  AnsiString FloatFormat = "%.2f";

  // ===== Imports =====

  // Stores a text that comes from an import or a stream (OnLoadCell first).
  virtual void LoadCell(Integer col, Integer row, AnsiString value);
  std::function<void(Integer col, Integer row, AnsiString& value)> OnLoadCell;
  // Progress of file work in percent.
  std::function<void(Integer percent)> OnFileProgress;
  // 0: found per file; else the CSV delimiter.
  char CSVDelimiter = 0;
  // "~" (and a lone "^" for empty) rather than character 11 stands for a
  // line break in imported fields.
  bool TildeLineBreaks = false;
  // Imports and transfers start at cell (0, 0), else at the first normal cell.
  bool TransferFixedCells = true;
  bool ReadFirstCSVLine = true;
  // CSV lines are in the OEM code page.
  bool OemConvert = false;
  // Reads a delimited text file from the first data row on: fields by the
  // delimiter (quoted fields may hold it), the grid grows to hold them, old
  // cells past a line's fields are kept, and the row count ends after the
  // lines read (at most maxRows when that is positive). Raises "File is
  // empty" for a file without lines, leaving the grid as it was.
  void ImportCSV(const AnsiString& fileName, Integer maxRows);
  void ImportCSVText(std::string_view bytes, Integer maxRows);

  // ===== Row and column operations =====
  //
  // Every operation keeps the side data with the cells: properties and
  // their graphics, hidden-row records, the modified marks, the disjunct
  // marks, the cell controls (through the hooks below) and the largest row
  // count. Rows are in display numbering.

  // The rows marked modified, by real row (hidden rows counted).
  TIntList& RowModified() { return rowModified_; }
  const TIntList& RowModified() const { return rowModified_; }
  // The disjunct selection: rows in display numbering, or in real
  // numbering while MarksByRealRow answers True.
  TSelectionMarks& Marks() { return selectionMarks_; }
  const TSelectionMarks& Marks() const { return selectionMarks_; }
  std::function<bool()> MarksByRealRow;

  // count empty rows before row (row = RowCount appends); rows at and after
  // it move down with all they carry. With moveControls the controls of
  // the rows that moved follow them.
  void InsertRows(Integer row, Integer count, bool moveControls = true);
  // Removes count rows from row on (cut at the last row), freeing their
  // properties and graphics, dropping their marks and controls; nothing
  // when row is past the last row. A grid keeps one row.
  void RemoveRows(Integer row, Integer count);
  void RemoveRowsEx(Integer row, Integer count) { RemoveRows(row, count); }
  // The plain shift removal of the sort and grouping code: the same data
  // effect without the controls' bookkeeping.
  void DeleteRowsShift(Integer row, Integer count);
  // count empty columns before col (col = ColCount appends).
  void InsertCols(Integer col, Integer count);
  // Removes count columns from col on, cut at the last column.
  void RemoveCols(Integer col, Integer count);
  // Empties the cells of the block (clipped to the grid): texts gone,
  // properties and their own graphics freed (shared graphics only let go).
  void ClearRect(Integer col1, Integer row1, Integer col2, Integer row2);
  void ClearRows(Integer row, Integer count);
  void ClearCols(Integer col, Integer count);
  // Every cell emptied; the counts stay.
  void Clear();
  // One empty row at the end of the data rows, before the floating
  // footer's row while it shows.
  void AddRowAtEnd();

  // Verifies the invariants; raises EAssertionFailed naming the broken one.
  void Check() const;

  // ===== Hooks the grid component fills in =====

  // The look a new cell's properties start from.
  virtual void GetCellDefaults(Integer col, Integer row, TCellDefaults& defaults);
  virtual void GetDisplText(Integer col, Integer row, AnsiString& value);
  virtual void GetDisplWideText(Integer col, Integer row, WideString& value);
  virtual bool HasDisplWideText() const { return static_cast<bool>(OnGetDisplWideText); }
  virtual void CellTextChanged(Integer col, Integer row) {}
  virtual void FooterChanged() {}
  // Repaint requests; the model has no window.
  virtual void InvalidateCellRect(Integer col, Integer row) {}
  virtual void RepaintCell(Integer col, Integer row) {}
  virtual void RepaintRow(Integer row) {}
  virtual void InvalidateGrid() {}
  virtual bool HasParent() const { return false; }
  virtual bool IsUpdating() const { return false; }
  virtual bool IsDestroying() const { return false; }
  virtual bool IsLoading() const { return false; }
  virtual bool IsDesigning() const { return false; }
  // The counts or order of rows and columns changed underneath the view.
  virtual void GridSizeChanged(Integer oldColCount, Integer oldRowCount) {}
  // Rows taken out (display numbers before) or put in (numbers after), so
  // that lists of marks in display numbering follow their rows.
  virtual void RowsRemoved(const std::vector<Integer>& displayRows) {}
  virtual void RowsInserted(const std::vector<Integer>& displayRows) {}
  // The controls shown in cells follow their hidden and shown rows.
  virtual void HideRowControls(Integer displayRow) {}
  virtual void ShowRowControls(Integer realRow) {}
  virtual void PlaceRowControl(Integer realRow) {}
  virtual void PlaceCellControls() {}
  // The cell controls follow a change of real row numbering: realRowMap
  // gives a control's new real row, or -1 when its row went.
  virtual void RemapCellControls(const std::function<Integer(Integer)>& realRowMap) {}
  // Cells of the block changed together; an import or paste has ended.
  virtual void CellsChanged(const TGridRect& block) {}
  virtual void CellsLoaded() {}

 protected:
  // The rows hidden whose real number is below the given one.
  Integer HiddenBefore(Integer realRow) const;
  Integer FindHidden(Integer realRow) const;
  // Takes the display rows (ascending, distinct) out of the grid.
  std::vector<std::unique_ptr<TGridRow>> ExtractRows(const std::vector<Integer>& displayRows);
  // Puts rows back at display positions (ascending positions in the grid
  // after the insertion).
  void InsertRowHandles(std::vector<std::pair<Integer, std::unique_ptr<TGridRow>>> rows);
  std::unique_ptr<TCellProperties> NewProperties(Integer col, Integer row);
  void CheckCell(Integer col, Integer row) const;
  void CheckRow(Integer row) const;
  void CheckCol(Integer col) const;

 private:
  void AddHiddenRecord(std::unique_ptr<TGridItem> item);
  bool MarksReal() const { return MarksByRealRow && MarksByRealRow(); }
  // The side data follow a change of row numbering: map takes an old real
  // (display) row to its new one, or -1 for a row that went.
  void RemapRealRows(const std::function<Integer(Integer)>& map);
  void RemapDisplayMarks(const std::function<Integer(Integer)>& map);
  // Display-numbered marks of rows taken out by hiding go with their
  // records; those of rows put back return.
  void MarksRowsHidden(const std::vector<Integer>& displayRows, const std::vector<TGridItem*>& items);
  void MarksRowsShown(const std::vector<std::pair<Integer, bool>>& positions);
  void RemoveRowsCore(Integer row, Integer count, bool controls);
  // Row count changed by taking rows out or putting them back.
  void RowCountMoved(Integer oldCount);

  std::vector<std::unique_ptr<TGridRow>> rows_;
  Integer colCount_ = 5;
  Integer fixedCols_ = 1;
  Integer fixedRows_ = 1;
  Integer defaultColWidth_ = 64;
  Integer defaultRowHeight_ = 24;
  std::vector<Integer> colWidths_;

  bool cellPropertiesExist_ = false;
  Integer mergeCount_ = 0;
  TIntList autoMergeColumns_;
  Integer displayRowLimit_ = 0;
  bool footerRowShown_ = false;

  Integer rememberedFixedRows_ = 0;
  Integer rememberedFixedCols_ = 0;
  Integer largestRowCount_ = 0;
  Integer largestColCount_ = 0;
  Integer fixedRowHeight_ = 24;
  Integer fixedFooters_ = 0;
  Integer fixedRightCols_ = 0;
  bool fixedRowAlways_ = false;
  bool fixedColAlways_ = false;
  bool wordWrap_ = true;

  std::vector<std::unique_ptr<TGridItem>> hidden_;  // ascending Idx
  Integer hiddenLevel_ = 0;
  TIntList rowModified_;
  TSelectionMarks selectionMarks_;
  static constexpr Integer VisibilityEntries = 513;
  std::vector<bool> columnVisible_;
  Integer hiddenColCount_ = 0;
};

}  // namespace grid
