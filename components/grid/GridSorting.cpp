// The grid's sorts: the model's sorter answering through the grid's events,
// settings and marks, and the update lock that brackets every sort.
#include "grid/GridComponent.h"
#include "grid/model/GridSort.h"
#include "vcl/Messages.h"

namespace grid {

// The model's sorter with the grid behind its questions.
class GridRowSorter : public TGridSorter {
 public:
  explicit GridRowSorter(TVadOdizadEzev& grid) : TGridSorter(grid.Model()), grid_(grid) {}

  // The grid's settings, index and ignored columns, read before each sort.
  void Take() {
    const TSortSettings& s = *grid_.SortSettings();
    Options.Column = s.Column;
    Options.Direction = s.Direction;
    Options.InitSortDirection = s.InitSortDirection;
    Options.AutoFormat = s.AutoFormat;
    Options.IgnoreCase = s.IgnoreCase;
    Options.IgnoreBlanks = s.IgnoreBlanks;
    Options.BlankPos = s.BlankPos;
    Options.Full = s.Full;
    Options.SingleColumn = s.SingleColumn;
    Options.NormalCellsOnly = s.NormalCellsOnly;
    Options.SortOnVirtualCells = s.SortOnVirtualCells;
    Options.IndexShow = s.IndexShow;
    Options.UndoSort = s.UndoSort;
    Options.MoveRowOnSort = grid_.Navigation()->MoveRowOnSort;
    Options.KeepScrollOnSort = grid_.Navigation()->KeepScrollOnSort;
    Options.DisjunctRowSelect = grid_.MouseActions()->DisjunctRowSelect();
    Options.ShowModified = grid_.ShowModified()->Enabled;
    CopyList(*grid_.SortIndexes(), SortIndexes());
    CopyList(*grid_.IgnoredColumns(), IgnoredColumns());
  }
  // What a sort changed goes back to the grid's settings and index.
  void Give() {
    TSortSettings& s = *grid_.SortSettings();
    s.Column = Options.Column;
    s.Direction = Options.Direction;
    CopyList(SortIndexes(), *grid_.SortIndexes());
  }

 protected:
  void GetFormat(Integer col, TSortStyle& style, AnsiString& prefix, AnsiString& suffix) override {
    grid_.GetFormat(col, style, prefix, suffix);
  }
  Integer CustomCompare(const AnsiString& text1, const AnsiString& text2) override {
    Integer result = 0;
    if (grid_.OnCustomCompare) grid_.OnCustomCompare(&grid_, text1, text2, result);
    return result;
  }
  Integer RawCompare(Integer col, Integer row1, Integer row2) override {
    Integer result = 0;
    if (grid_.OnRawCompare) grid_.OnRawCompare(&grid_, col, row1, row2, result);
    return result;
  }
  bool CheckBoxChecked(Integer col, Integer row) override {
    // The spare pivot row carries no graphic of its own.
    if (row >= grid_.RowCount() - 3 && grid_.Model().GetRawObject(col, row) == nullptr)
      return TGridSorter::CheckBoxChecked(col, row);
    return grid_.CheckBoxChecked(col, row);
  }
  bool HasDisplayTextEvent() const override {
    // The grid's own display text turns addresses into links.
    return TGridSorter::HasDisplayTextEvent() || grid_.URLShowInText;
  }
  void SwapRowMarks(Integer row1, Integer row2) override { grid_.SwapRowMarks(row1, row2, Options); }
  Integer CurrentRow() const override { return grid_.Row(); }
  void SetCurrentRow(Integer row) override {
    if (row >= 0 && row < grid_.RowCount()) grid_.SetRow(row);
  }
  Integer TopRow() const override { return grid_.TopRow(); }
  void SetTopRow(Integer row) override {
    if (row >= grid_.FixedRows() && row < grid_.RowCount()) grid_.SetTopRow(row);
  }
  void BeginUpdate() override { grid_.BeginUpdate(); }
  void EndUpdate() override { grid_.EndUpdate(); }
  void RowUpdate(Integer oldRow, Integer newRow) override {
    if (grid_.OnRowUpdate) grid_.OnRowUpdate(&grid_, oldRow, newRow);
  }
  void ForgetRowUpdate() override { grid_.lastReportedRow_ = -1; }

 private:
  static void CopyList(const TIntList& from, TIntList& to) {
    to.Clear();
    for (Integer v : from.Values()) to.Insert(to.Count(), v);
  }
  TVadOdizadEzev& grid_;
};

GridRowSorter& TVadOdizadEzev::Sorter() {
  if (!sorter_) sorter_ = std::make_shared<GridRowSorter>(*this);
  sorter_->Take();
  return *sorter_;
}

void TVadOdizadEzev::SwapRowMarks(Integer row1, Integer row2, const TSortOptions& options) {
  if (options.DisjunctRowSelect && options.MoveRowOnSort) {
    // The marks are numbered as the model keeps them: by real row with
    // persistent row selection, else by display row.
    const bool real = Model().MarksByRealRow && Model().MarksByRealRow();
    const Integer mark1 = real ? Model().RealRowIndex(row1) : row1;
    const Integer mark2 = real ? Model().RealRowIndex(row2) : row2;
    if (selectionMarks_.RowMarked(mark1) != selectionMarks_.RowMarked(mark2))
      selectionMarks_.RemapRows([&](Integer r) { return r == mark1 ? mark2 : (r == mark2 ? mark1 : r); });
  }
  if (options.ShowModified) {
    // Modified marks are kept by real row.
    const Integer real1 = Model().RealRowIndex(row1);
    const Integer real2 = Model().RealRowIndex(row2);
    const Integer at1 = rowModified_->IndexOf(real1);
    const Integer at2 = rowModified_->IndexOf(real2);
    if ((at1 < 0) != (at2 < 0)) {
      if (at1 >= 0) rowModified_->SetItem(at1, real2);
      else rowModified_->SetItem(at2, real1);
    }
  }
}

void TVadOdizadEzev::SwapRows(Integer row1, Integer row2) {
  Sorter().SwapRows(row1, row2);
  Invalidate();
}

void TVadOdizadEzev::SortByColumn() {
  GridRowSorter& sorter = Sorter();
  sorter.SortByColumn();
  sorter.Give();
}

void TVadOdizadEzev::IndexedSort() {
  GridRowSorter& sorter = Sorter();
  sorter.IndexedSort();
  sorter.Give();
}

void TVadOdizadEzev::GroupSort() {
  GridRowSorter& sorter = Sorter();
  sorter.GroupSort();
  sorter.Give();
}

void TVadOdizadEzev::GroupIndexedSort() {
  GridRowSorter& sorter = Sorter();
  sorter.GroupIndexedSort();
  sorter.Give();
}

void TVadOdizadEzev::UnSort() {
  GridRowSorter& sorter = Sorter();
  sorter.UnSort();
  sorter.Give();
}

void TVadOdizadEzev::SortClick(Integer col, bool indexKeyDown) {
  bool doSort = !ignoredColumns_->HasValue(col);
  if (OnCanSort) OnCanSort(this, col, doSort);
  if (!doSort) return;
  if (editorActive_ || EditorMode()) HideCellEditor();
  if (sortSettings_->AutoColumnMerge) Model().SplitAllColumnCells();
  GridRowSorter& sorter = Sorter();
  const bool keepLeft = Navigation()->KeepHorizScroll && Options().Contains(vcl::goRowSelect);
  const Integer leftCol = LeftCol();
  if (keepLeft) BeginUpdate();
  try {
    // No grouping operation exists yet, so a grid is never grouped here.
    sorter.ClickSort(col, indexKeyDown, false);
  } catch (...) {
    sorter.Give();
    if (keepLeft) EndUpdate();
    throw;
  }
  sorter.Give();
  if (keepLeft) {
    SetLeftCol(leftCol);
    EndUpdate();
  }
  if (sortSettings_->AutoColumnMerge) Model().MergeAutoColumns();
  if (OnClickSort) OnClickSort(this, sortSettings_->Column);
}

// ===== update lock =====

void TVadOdizadEzev::BeginUpdate() {
  if (!Visible()) return;
  ++updateCount_;
  // The window itself stops repainting too, so that the editor and the
  // other child controls do not flicker through a bulk change either.
  Perform(vcl::WM_SETREDRAW, 0, 0);
}

void TVadOdizadEzev::BeginUpdateQuiet() { ++updateCount_; }

void TVadOdizadEzev::EndUpdate() {
  if (!Visible()) return;
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && !Destroying()) {
    Perform(vcl::WM_SETREDRAW, 1, 0);
    Invalidate();
  }
}

void TVadOdizadEzev::ResetUpdateLock() { updateCount_ = 0; }

}  // namespace grid
