#include "grid/model/GridModel.h"

#include <algorithm>

#include "grid/model/GridUtils.h"

#include "rtl/Exceptions.h"

namespace grid {

namespace {

const AnsiString& EmptyText() {
  static const AnsiString empty;
  return empty;
}

}  // namespace

// ===== TGridRow =====

TGridRow::TGridRow(Integer height) : Height(height) {}
TGridRow::~TGridRow() = default;

const AnsiString& TGridRow::Cell(Integer col) const {
  return col >= 0 && col < StoredCount() ? cells_[col] : EmptyText();
}

void TGridRow::SetCell(Integer col, AnsiString text) {
  if (col >= StoredCount()) {
    if (text.empty()) return;
    cells_.resize(col + 1);
  }
  cells_[col] = std::move(text);
}

TCellProperties* TGridRow::Props(Integer col) const {
  return col >= 0 && col < StoredPropsCount() ? props_[col].get() : nullptr;
}

void TGridRow::SetProps(Integer col, std::unique_ptr<TCellProperties> props) {
  if (col >= StoredPropsCount()) {
    if (!props) return;
    props_.resize(col + 1);
  }
  props_[col] = std::move(props);
}

std::unique_ptr<TCellProperties> TGridRow::TakeProps(Integer col) {
  if (col >= StoredPropsCount()) return nullptr;
  return std::move(props_[col]);
}

void TGridRow::Truncate(Integer count) {
  if (count < StoredCount()) cells_.resize(count);
  if (count < StoredPropsCount()) props_.resize(count);
}

void TGridRow::InsertColumns(Integer col, Integer count) {
  if (col < StoredCount()) cells_.insert(cells_.begin() + col, count, AnsiString());
  if (col < StoredPropsCount()) {
    for (Integer i = 0; i < count; ++i) props_.insert(props_.begin() + col, nullptr);
  }
}

void TGridRow::RemoveColumns(Integer col, Integer count) {
  auto cut = [&](auto& v) {
    const Integer n = static_cast<Integer>(v.size());
    if (col >= n) return;
    v.erase(v.begin() + col, v.begin() + std::min(n, col + count));
  };
  cut(cells_);
  cut(props_);
}

TRowStrings& TGridRow::Strings(const Integer* count) {
  if (!view_) view_ = std::make_unique<TRowStrings>(this, count);
  return *view_;
}

// ===== TRowStrings =====

AnsiString TRowStrings::Get(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return row_->Cell(index);
}

void TRowStrings::Put(Integer index, const AnsiString& s) {
  if (index < 0 || index >= Count()) IndexError(index);
  row_->SetCell(index, s);
}

void* TRowStrings::GetObject(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return row_->Props(index);
}

void TRowStrings::PutObject(Integer, void*) {
  throw rtl::EInvalidOperation("The properties of a grid row are set through the grid");
}

void TRowStrings::Insert(Integer, const AnsiString&) {
  throw rtl::EInvalidOperation("A grid row has one line per column");
}

void TRowStrings::Delete(Integer) { throw rtl::EInvalidOperation("A grid row has one line per column"); }

void TRowStrings::Clear() {
  for (Integer i = 0; i < Count(); ++i) row_->SetCell(i, AnsiString());
}

void TRowStrings::Assign(const rtl::TStrings& source) {
  for (Integer i = 0; i < Count(); ++i) row_->SetCell(i, i < source.Count() ? source.Get(i) : AnsiString());
}

// ===== TGridModel: the string grid underneath =====

TGridModel::TGridModel() : columnVisible_(VisibilityEntries, true) {
  colWidths_.assign(colCount_, defaultColWidth_);
  for (Integer r = 0; r < 5; ++r) rows_.push_back(std::make_unique<TGridRow>(defaultRowHeight_));
  fixedRowHeight_ = defaultRowHeight_;
  autoMergeColumns_.OnChange = [this](TIntList*, Integer, Integer) { ApplyAutoMerge(); };
}

TGridModel::~TGridModel() = default;

void TGridModel::CheckCell(Integer col, Integer row) const {
  RTL_ASSERT(col >= 0 && col < colCount_);
  RTL_ASSERT(row >= 0 && row < RowCount());
}

void TGridModel::CheckRow(Integer row) const { RTL_ASSERT(row >= 0 && row < RowCount()); }

void TGridModel::CheckCol(Integer col) const { RTL_ASSERT(col >= 0 && col < colCount_); }

void TGridModel::SetGridColCount(Integer count) {
  if (count <= 0) count = 1;
  const Integer old = colCount_;
  if (count == old) return;
  if (fixedCols_ >= count) fixedCols_ = count - 1;
  colCount_ = count;
  colWidths_.resize(count, defaultColWidth_);
  if (count < old) {
    for (auto& row : rows_) row->Truncate(count);
    for (auto& item : hidden_) item->Row().Truncate(count);
  }
  GridSizeChanged(old, RowCount());
}

void TGridModel::SetGridRowCount(Integer count) {
  if (count <= 0) count = 1;
  const Integer old = RowCount();
  if (count == old) return;
  if (fixedRows_ >= count) fixedRows_ = count - 1;
  if (count < old) {
    rows_.resize(count);
  } else {
    rows_.reserve(count);
    while (RowCount() < count) rows_.push_back(std::make_unique<TGridRow>(defaultRowHeight_));
  }
  GridSizeChanged(colCount_, old);
}

void TGridModel::SetGridFixedCols(Integer count) {
  if (count < 0) throw EInvalidGridOperation("Grid index out of range");
  if (count >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
  fixedCols_ = count;
  GridSizeChanged(colCount_, RowCount());
}

void TGridModel::SetGridFixedRows(Integer count) {
  if (count < 0) throw EInvalidGridOperation("Grid index out of range");
  if (count >= RowCount()) throw EInvalidGridOperation("Fixed row count must be less than row count");
  fixedRows_ = count;
  GridSizeChanged(colCount_, RowCount());
}

void TGridModel::SetGridDefaultColWidth(Integer width) {
  defaultColWidth_ = width;
  std::fill(colWidths_.begin(), colWidths_.end(), width);
  InvalidateGrid();
}

void TGridModel::SetGridDefaultRowHeight(Integer height) {
  defaultRowHeight_ = height;
  for (auto& row : rows_) row->Height = height;
  InvalidateGrid();
}

Integer TGridModel::ColWidths(Integer col) const {
  CheckCol(col);
  return colWidths_[col];
}

void TGridModel::SetColWidths(Integer col, Integer width) {
  CheckCol(col);
  colWidths_[col] = width;
  InvalidateGrid();
}

Integer TGridModel::RowHeights(Integer row) const {
  CheckRow(row);
  return rows_[row]->Height;
}

void TGridModel::SetRowHeights(Integer row, Integer height) {
  CheckRow(row);
  rows_[row]->Height = height;
  InvalidateGrid();
}

Integer TGridModel::ColumnsWidth(Integer from, Integer to) const {
  Integer sum = 0;
  for (Integer c = std::max(from, 0); c < std::min(to, colCount_); ++c) sum += colWidths_[c];
  return sum;
}

Integer TGridModel::RowsHeight(Integer from, Integer to) const {
  Integer sum = 0;
  for (Integer r = std::max(from, 0); r < std::min(to, RowCount()); ++r) sum += rows_[r]->Height;
  return sum;
}

const AnsiString& TGridModel::GetRawCell(Integer col, Integer row) const {
  CheckCell(col, row);
  return rows_[row]->Cell(col);
}

void TGridModel::SetRawCell(Integer col, Integer row, AnsiString text) {
  CheckCell(col, row);
  rows_[row]->SetCell(col, std::move(text));
}

TCellProperties* TGridModel::GetRawObject(Integer col, Integer row) const {
  CheckCell(col, row);
  return rows_[row]->Props(col);
}

std::unique_ptr<TCellProperties> TGridModel::SetRawObject(Integer col, Integer row,
                                                          std::unique_ptr<TCellProperties> object) {
  CheckCell(col, row);
  std::unique_ptr<TCellProperties> old = rows_[row]->TakeProps(col);
  if (object) cellPropertiesExist_ = true;
  rows_[row]->SetProps(col, std::move(object));
  return old;
}

rtl::TStrings& TGridModel::Rows(Integer row) {
  CheckRow(row);
  return rows_[row]->Strings(&colCount_);
}

TGridRow& TGridModel::RowAt(Integer row) {
  CheckRow(row);
  return *rows_[row];
}

const TGridRow& TGridModel::RowAt(Integer row) const {
  CheckRow(row);
  return *rows_[row];
}

void TGridModel::MoveRow(Integer from, Integer to) {
  CheckRow(from);
  CheckRow(to);
  if (from == to) return;
  // The side data rotate with the rows: display marks over the shown rows
  // between, real-numbered data (hidden records included) over the real
  // rows between.
  auto rotate = [](Integer a, Integer b) {
    return [a, b](Integer r) -> Integer {
      if (r == a) return b;
      if (a < b && r > a && r <= b) return r - 1;
      if (a > b && r >= b && r < a) return r + 1;
      return r;
    };
  };
  const Integer realFrom = RealRowIndex(from);
  const Integer realTo = RealRowIndex(to);
  RemapRealRows(rotate(realFrom, realTo));
  if (!MarksReal()) selectionMarks_.RemapRows(rotate(from, to));
  if (from < to)
    std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
  else
    std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
  InvalidateGrid();
}

void TGridModel::SwapRows(Integer row1, Integer row2) {
  CheckRow(row1);
  CheckRow(row2);
  std::swap(rows_[row1], rows_[row2]);
}

void TGridModel::MoveColumn(Integer from, Integer to) {
  CheckCol(from);
  CheckCol(to);
  if (from == to) return;
  auto moveIn = [&](TGridRow& row) {
    std::unique_ptr<TCellProperties> props = row.TakeProps(from);
    AnsiString text = row.Cell(from);
    row.RemoveColumns(from, 1);
    row.InsertColumns(to, 1);
    if (!text.empty()) row.SetCell(to, std::move(text));
    if (props) row.SetProps(to, std::move(props));
  };
  for (auto& row : rows_) moveIn(*row);
  for (auto& item : hidden_) moveIn(item->Row());
  const Integer width = colWidths_[from];
  colWidths_.erase(colWidths_.begin() + from);
  colWidths_.insert(colWidths_.begin() + to, width);
  InvalidateGrid();
}

// ===== Cell property store =====

std::unique_ptr<TCellProperties> TGridModel::NewProperties(Integer col, Integer row) {
  TCellDefaults defaults;
  defaults.Font = Font;
  defaults.BrushColor = Color;
  defaults.WordWrap = wordWrap_;
  GetCellDefaults(col, row, defaults);
  cellPropertiesExist_ = true;
  return std::make_unique<TCellProperties>(this, col, row, defaults);
}

void TGridModel::GetCellDefaults(Integer, Integer, TCellDefaults&) {}

bool TGridModel::HasCellProperties(Integer col, Integer row) const {
  CheckCell(col, row);
  return rows_[row]->Props(col) != nullptr;
}

TCellProperties& TGridModel::CellProperties(Integer col, Integer row) {
  CheckCell(col, row);
  TCellProperties* p = rows_[row]->Props(col);
  if (p == nullptr) {
    std::unique_ptr<TCellProperties> made = NewProperties(col, row);
    p = made.get();
    rows_[row]->SetProps(col, std::move(made));
  }
  return *p;
}

void* TGridModel::GetCellObject(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p ? p->CellObject : nullptr;
}

void TGridModel::SetCellObject(Integer col, Integer row, void* object) {
  const bool empty = GetDisplayCell(col, row).empty();
  if (empty) SetRawCell(col, row, " ");
  CellProperties(col, row).CellObject = object;
  if (empty) SetRawCell(col, row, AnsiString());
}

TCellGraphic* TGridModel::CellGraphic(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p ? p->Graphic() : nullptr;
}

void TGridModel::SetCellGraphic(Integer col, Integer row, std::unique_ptr<TCellGraphic> graphic) {
  if (IsDestroying()) return;
  const bool empty = GetDisplayCell(col, row).empty();
  if (empty) SetRawCell(col, row, " ");
  CellProperties(col, row).SetGraphic(std::move(graphic));
  if (empty) SetRawCell(col, row, AnsiString());
}

void TGridModel::ReplaceCellProperties(Integer col, Integer row, std::unique_ptr<TCellProperties> props) {
  CheckCell(col, row);
  if (props) cellPropertiesExist_ = true;
  rows_[row]->SetProps(col, std::move(props));
}

void TGridModel::FreeCellProperties(Integer col, Integer row) {
  CheckCell(col, row);
  rows_[row]->SetProps(col, nullptr);
}

void TGridModel::ClearCellProperties(Integer fromCol, Integer fromRow, Integer toCol, Integer toRow) {
  if (!cellPropertiesExist_ || toCol < fromCol) return;
  fromCol = std::max(fromCol, 0);
  fromRow = std::max(fromRow, 0);
  toCol = std::min(toCol, colCount_ - 1);
  toRow = std::min(toRow, RowCount() - 1);
  for (Integer c = fromCol; c <= toCol; ++c)
    for (Integer r = fromRow; r <= toRow; ++r) rows_[r]->SetProps(c, nullptr);
}

// The store holds each properties object in one slot only, so a slot that
// still holds one after a move is its owner and frees it.
void TGridModel::ClearColumnSlots(Integer col) {
  CheckCol(col);
  for (Integer r = 0; r < RowCount(); ++r) ClearCellSlot(col, r);
}

void TGridModel::ClearRowSlots(Integer row) {
  CheckRow(row);
  for (Integer c = 0; c < colCount_; ++c) ClearCellSlot(c, row);
}

void TGridModel::ClearCellSlot(Integer col, Integer row) {
  CheckCell(col, row);
  rows_[row]->SetProps(col, nullptr);
  SetDisplayCell(col, row, AnsiString());
}

// ===== Merged cells =====

void TGridModel::MergeCells(Integer col, Integer row, Integer numCols, Integer numRows) {
  ++mergeCount_;
  if (numCols <= 0 || numRows <= 0) return;
  CheckCell(col, row);
  CheckCell(col + numCols - 1, row + numRows - 1);
  for (Integer c = col; c < col + numCols; ++c) {
    for (Integer r = row; r < row + numRows; ++r) {
      TCellProperties& p = CellProperties(c, r);
      if (c == col && r == row) {
        p.IsBaseCell = true;
        p.CellSpanX = numCols - 1;
        p.CellSpanY = numRows - 1;
      } else {
        p.IsBaseCell = false;
        p.CellSpanX = c - col;
        p.CellSpanY = r - row;
      }
      InvalidateCellRect(c, r);
    }
  }
}

void TGridModel::SplitCells(Integer col, Integer row) {
  const TCellCoord base = BaseCell(col, row);
  const TCellCoord span = CellSpan(base.X, base.Y);
  const Integer lastCol = std::min(base.X + span.X, colCount_ - 1);
  const Integer lastRow = std::min(base.Y + span.Y, RowCount() - 1);
  for (Integer c = base.X; c <= lastCol; ++c) {
    for (Integer r = base.Y; r <= lastRow; ++r) {
      TCellProperties& p = CellProperties(c, r);
      p.IsBaseCell = true;
      p.CellSpanX = -1;
      p.CellSpanY = -1;
      InvalidateCellRect(c, r);
    }
  }
  --mergeCount_;
}

TCellCoord TGridModel::BaseCell(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  if (p == nullptr || p->IsBaseCell || p->CellSpanX == -1 || p->CellSpanY == -1) return {col, row};
  const TCellCoord base{col - p->CellSpanX, row - p->CellSpanY};
  // A block cut by a removed row or column has no base left inside the
  // grid: the cell stands for itself.
  if (base.X < 0 || base.Y < 0) return {col, row};
  return base;
}

bool TGridModel::IsBaseCellAt(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p == nullptr || p->IsBaseCell;
}

bool TGridModel::IsMergedCell(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p != nullptr && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TGridModel::IsCoveredCell(Integer col, Integer row) const {
  return IsMergedCell(col, row) && !IsBaseCellAt(col, row);
}

bool TGridModel::IsMergedHorz(Integer col, Integer row) const {
  if (!HasCellProperties(col, row)) return false;
  return CellSpan(col, row).X > 0;
}

bool TGridModel::IsMergedVert(Integer col, Integer row) const {
  if (!HasCellProperties(col, row)) return false;
  return CellSpan(col, row).Y > 0;
}

TCellCoord TGridModel::CellSpan(Integer col, Integer row) const {
  if (!HasCellProperties(col, row)) return {0, 0};
  const TCellCoord base = BaseCell(col, row);
  const TCellProperties* p = GetRawObject(base.X, base.Y);
  if (p == nullptr || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
  return {p->CellSpanX, p->CellSpanY};
}

bool TGridModel::RowsInSameMerge(Integer row1, Integer row2) const {
  bool same = false;
  for (Integer c = 0; c < colCount_; ++c) {
    if (!IsMergedVert(c, row1) || !IsMergedVert(c, row2)) continue;
    if (BaseCell(c, row1) == BaseCell(c, row2))
      same = true;
    else
      return false;
  }
  return same;
}

void TGridModel::SplitColumnCells(Integer col) {
  Integer r = 0;
  while (r < RowCount() - fixedFooters_ - 1) {
    if (IsMergedVert(col, r)) {
      const Integer span = CellSpan(col, r).Y;
      SplitCells(col, r);
      r += span + 1;
    } else {
      ++r;
    }
  }
}

void TGridModel::SplitAllColumnCells() {
  for (Integer c = 0; c < colCount_; ++c) SplitColumnCells(c);
}

void TGridModel::MergeColumnCells(Integer col, bool first) {
  const Integer fixed = FixedRows();
  Integer start = fixed;
  Integer run = 1;
  const Integer last = RowCount() - fixedFooters_ - 1;
  for (Integer r = fixed + 1; r <= last; ++r) {
    if (GetDisplayCell(col, r) == GetDisplayCell(col, r - 1) && (first || RowsInSameMerge(r, r - 1))) {
      ++run;
    } else {
      if (run > 1) MergeCells(col, start, 1, run);
      start = r;
      run = 1;
    }
  }
  if (run > 1) MergeCells(col, start, 1, run);
}

void TGridModel::MergeAutoColumns() {
  bool first = true;
  for (Integer col : autoMergeColumns_.Values()) {
    if (col < 0 || col >= colCount_) continue;
    MergeColumnCells(col, first);
    first = false;
  }
}

void TGridModel::ApplyAutoMerge() {
  SplitAllColumnCells();
  MergeAutoColumns();
}

// ===== Display text =====

void TGridModel::GetDisplText(Integer col, Integer row, AnsiString& value) {
  if (OnGetDisplText) OnGetDisplText(col, row, value);
}

void TGridModel::GetDisplWideText(Integer col, Integer row, WideString& value) {
  if (OnGetDisplWideText) OnGetDisplWideText(col, row, value);
}

AnsiString TGridModel::GetDisplayCell(Integer col, Integer row) {
  CheckCell(col, row);
  if (HasCellProperties(col, row)) {
    const TCellCoord base = BaseCell(col, row);
    col = base.X;
    row = base.Y;
  }
  AnsiString text = rows_[row]->Cell(col);
  if (row < displayRowLimit_) {
    GetDisplText(col, row, text);
    if (HasDisplWideText()) {
      WideString wide = DecodeWideText(text);
      GetDisplWideText(col, row, wide);
      text = EncodeWideText(wide);
    }
  }
  return text;
}

void TGridModel::SetDisplayCell(Integer col, Integer row, const AnsiString& value) {
  CheckCell(col, row);
  if (HasCellProperties(col, row)) {
    const TCellCoord base = BaseCell(col, row);
    rows_[base.Y]->SetCell(base.X, value);
    CellTextChanged(base.X, base.Y);
    if (HasParent()) InvalidateCellRect(col, row);
  } else {
    rows_[row]->SetCell(col, value);
  }
  if (footerRowShown_ && row == RowCount() - 1) FooterChanged();
}

WideString TGridModel::GetCellWideText(Integer col, Integer row) { return DecodeWideText(GetDisplayCell(col, row)); }

// ===== Cell look accessors =====

TColor TGridModel::Colors(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p ? p->BrushColor() : clNone;
}

void TGridModel::SetColors(Integer col, Integer row, TColor value) {
  CellProperties(col, row).SetBrushColor(value);
  if (!IsUpdating()) RepaintCell(DisplColIndex(col), row);
}

void TGridModel::SetColorsTo(Integer col, Integer row, TColor value) {
  CellProperties(col, row).SetBrushColorTo(value);
  RepaintCell(DisplColIndex(col), row);
}

void TGridModel::SetFontColors(Integer col, Integer row, TColor value) {
  CellProperties(col, row).FontColor = value;
  RepaintCell(DisplColIndex(col), row);
}

void TGridModel::SetRowColor(Integer row, TColor value) {
  CheckRow(row);
  for (Integer c = FixedCols(); c < colCount_; ++c) {
    if (value == clNone)
      FreeCellProperties(c, row);
    else
      CellProperties(c, row).SetBrushColor(value);
  }
  RepaintRow(row);
}

void TGridModel::SetRowColorTo(Integer row, TColor value) {
  CheckRow(row);
  for (Integer c = FixedCols(); c < colCount_; ++c) {
    if (value == clNone)
      FreeCellProperties(c, row);
    else
      CellProperties(c, row).SetBrushColorTo(value);
  }
  RepaintRow(row);
}

void TGridModel::SetRowFontColor(Integer row, TColor value) {
  CheckRow(row);
  for (Integer c = FixedCols(); c < colCount_; ++c) {
    if (value == clNone) {
      if (Colors(c, row) == clNone) FreeCellProperties(c, row);
    } else {
      CellProperties(c, row).FontColor = value;
    }
  }
  RepaintRow(row);
}

bool TGridModel::ReadOnly(Integer col, Integer row) { return CellProperties(col, row).ReadOnly; }

void* TGridModel::CellControl(Integer col, Integer row) const {
  const TCellProperties* p = GetRawObject(col, row);
  return p ? p->Control : nullptr;
}

// ===== Dimensions and fixed cells =====

void TGridModel::SetRowCount(Integer count) {
  SetGridRowCount(count);
  if (rememberedFixedRows_ < RowCount() && fixedRowAlways_) SetFixedRows(rememberedFixedRows_);
  largestRowCount_ = std::max(largestRowCount_, RowCount());
  displayRowLimit_ = RowCount();
}

void TGridModel::SetColCount(Integer count) {
  SetGridColCount(count);
  if (rememberedFixedCols_ < colCount_ && fixedColAlways_) SetFixedCols(rememberedFixedCols_);
  largestColCount_ = std::max(largestColCount_, colCount_);
}

Integer TGridModel::FixedRows() const { return fixedRows_ == 0 && fixedRowAlways_ ? 1 : fixedRows_; }

Integer TGridModel::FixedCols() const { return fixedCols_ == 0 && fixedColAlways_ ? 1 : fixedCols_; }

void TGridModel::SetFixedRows(Integer count) {
  Integer v = count;
  if (v >= RowCount() && fixedRowAlways_) v = RowCount() - 1;
  SetGridFixedRows(v);
  if (!IsLoading()) rememberedFixedRows_ = count;
}

void TGridModel::SetFixedCols(Integer count) {
  Integer v = count;
  if (v >= colCount_ && fixedColAlways_) v = colCount_ - 1;
  SetGridFixedCols(v);
  if (!IsLoading()) rememberedFixedCols_ = count;
}

void TGridModel::SetDefaultRowHeight(Integer height) {
  SetGridDefaultRowHeight(height);
  if (IsDesigning()) fixedRowHeight_ = height;
}

void TGridModel::SetFixedColWidth(Integer width) {
  if (IsLoading() || width == defaultColWidth_) return;
  for (Integer c = 0; c < std::min(FixedCols(), colCount_); ++c) colWidths_[c] = width;
  InvalidateGrid();
}

void TGridModel::SetFixedRowHeight(Integer height) {
  fixedRowHeight_ = height;
  if (IsLoading()) return;
  if (height == defaultRowHeight_) {
    SetDefaultRowHeight(height);
    return;
  }
  for (Integer r = 0; r < std::min(FixedRows(), RowCount()); ++r) rows_[r]->Height = height;
  InvalidateGrid();
}

void TGridModel::SetFixedFooters(Integer count) {
  fixedFooters_ = count;
  InvalidateGrid();
}

void TGridModel::SetFixedRightCols(Integer count) {
  fixedRightCols_ = count;
  InvalidateGrid();
}

void TGridModel::SetWordWrap(bool value) {
  wordWrap_ = value;
  if (!IsUpdating()) InvalidateGrid();
}

void TGridModel::RememberLoadedDimensions() {
  rememberedFixedRows_ = fixedRows_;
  rememberedFixedCols_ = fixedCols_;
  largestRowCount_ = RowCount();
}

bool TGridModel::IsFixedByCount(Integer col, Integer row) const {
  return (fixedRowAlways_ && row <= rememberedFixedRows_ && RowCount() == rememberedFixedRows_) ||
         (fixedColAlways_ && col < rememberedFixedCols_ && colCount_ == rememberedFixedCols_) ||
         col < FixedCols() || row < FixedRows();
}

// ===== Hidden rows =====

Integer TGridModel::HiddenBefore(Integer realRow) const {
  const auto it = std::lower_bound(hidden_.begin(), hidden_.end(), realRow,
                                   [](const std::unique_ptr<TGridItem>& item, Integer r) { return item->Idx < r; });
  return static_cast<Integer>(it - hidden_.begin());
}

Integer TGridModel::FindHidden(Integer realRow) const {
  const Integer i = HiddenBefore(realRow);
  return i < NumHiddenRows() && hidden_[i]->Idx == realRow ? i : -1;
}

void TGridModel::AddHiddenRecord(std::unique_ptr<TGridItem> item) {
  const Integer at = HiddenBefore(item->Idx);
  RTL_ASSERT(at == NumHiddenRows() || hidden_[at]->Idx != item->Idx);
  hidden_.insert(hidden_.begin() + at, std::move(item));
}

std::vector<std::unique_ptr<TGridRow>> TGridModel::ExtractRows(const std::vector<Integer>& displayRows) {
  std::vector<std::unique_ptr<TGridRow>> taken;
  taken.reserve(displayRows.size());
  std::vector<std::unique_ptr<TGridRow>> kept;
  kept.reserve(rows_.size() - displayRows.size());
  size_t next = 0;
  for (Integer r = 0; r < RowCount(); ++r) {
    if (next < displayRows.size() && displayRows[next] == r) {
      taken.push_back(std::move(rows_[r]));
      ++next;
    } else {
      kept.push_back(std::move(rows_[r]));
    }
  }
  rows_ = std::move(kept);
  if (fixedRows_ >= RowCount()) fixedRows_ = std::max(RowCount() - 1, 0);
  return taken;
}

void TGridModel::InsertRowHandles(std::vector<std::pair<Integer, std::unique_ptr<TGridRow>>> rows) {
  const size_t total = rows_.size() + rows.size();
  std::vector<std::unique_ptr<TGridRow>> merged;
  merged.reserve(total);
  size_t old = 0, next = 0;
  for (size_t i = 0; i < total; ++i) {
    if (next < rows.size() && rows[next].first == static_cast<Integer>(i)) {
      merged.push_back(std::move(rows[next].second));
      ++next;
    } else {
      RTL_ASSERT(old < rows_.size());
      merged.push_back(std::move(rows_[old++]));
    }
  }
  RTL_ASSERT(next == rows.size());
  rows_ = std::move(merged);
}

void TGridModel::RowCountMoved(Integer oldCount) {
  if (displayRowLimit_ >= oldCount) displayRowLimit_ = RowCount();
  largestRowCount_ = std::max(largestRowCount_, RowCount());
  GridSizeChanged(colCount_, oldCount);
}

void TGridModel::HideRows(Integer fromRow, Integer toRow) {
  if (fromRow > toRow) return;
  RTL_ASSERT(fromRow >= 0 && toRow < AllRowCount());
  std::vector<Integer> shown;
  for (Integer v = fromRow; v <= toRow; ++v)
    if (FindHidden(v) < 0) shown.push_back(v);
  if (shown.empty()) return;
  // The last row that is shown stays: a grid keeps at least one row.
  if (static_cast<Integer>(shown.size()) >= RowCount()) shown.pop_back();
  if (shown.empty()) return;
  const Integer oldCount = RowCount();
  const Integer d = fromRow - HiddenBefore(fromRow);
  std::vector<Integer> display;
  for (size_t i = 0; i < shown.size(); ++i) display.push_back(d + static_cast<Integer>(i));
  HideRowControls(d);
  std::vector<std::unique_ptr<TGridRow>> taken = ExtractRows(display);
  std::vector<TGridItem*> items;
  for (size_t i = 0; i < shown.size(); ++i) {
    auto item = std::make_unique<TGridItem>(shown[i], 0, std::move(taken[i]), &colCount_);
    items.push_back(item.get());
    AddHiddenRecord(std::move(item));
  }
  MarksRowsHidden(display, items);
  RowsRemoved(display);
  RowCountMoved(oldCount);
  PlaceCellControls();
}

void TGridModel::UnHideRow(Integer row) {
  const Integer at = FindHidden(row);
  if (at < 0) return;
  const Integer oldCount = RowCount();
  const Integer d = row - at;
  std::unique_ptr<TGridItem> item = std::move(hidden_[at]);
  hidden_.erase(hidden_.begin() + at);
  std::vector<std::pair<Integer, std::unique_ptr<TGridRow>>> rows;
  rows.emplace_back(d, item->TakeRow());
  InsertRowHandles(std::move(rows));
  MarksRowsShown({{d, item->Marked}});
  RowsInserted({d});
  RowCountMoved(oldCount);
  ShowRowControls(row);
  PlaceCellControls();
}

void TGridModel::UnHideRows(Integer fromRow, Integer toRow) {
  if (FindHidden(fromRow) < 0) return;
  const Integer oldCount = RowCount();
  const Integer before = HiddenBefore(fromRow);
  std::vector<std::pair<Integer, std::unique_ptr<TGridRow>>> rows;
  std::vector<Integer> positions;
  std::vector<std::pair<Integer, bool>> marks;
  Integer i = before;
  while (i < NumHiddenRows() && hidden_[i]->Idx <= toRow) {
    const Integer position = hidden_[i]->Idx - before;
    rows.emplace_back(position, hidden_[i]->TakeRow());
    positions.push_back(position);
    marks.emplace_back(position, hidden_[i]->Marked);
    ++i;
  }
  hidden_.erase(hidden_.begin() + before, hidden_.begin() + i);
  InsertRowHandles(std::move(rows));
  MarksRowsShown(marks);
  RowsInserted(positions);
  RowCountMoved(oldCount);
  PlaceRowControl(fromRow);
  PlaceCellControls();
}

void TGridModel::HideRowList(const std::vector<Integer>& rows) {
  std::vector<Integer> display(rows);
  std::sort(display.begin(), display.end());
  display.erase(std::unique(display.begin(), display.end()), display.end());
  for (Integer r : display) CheckRow(r);
  if (static_cast<Integer>(display.size()) >= RowCount()) display.pop_back();
  const Integer oldCount = RowCount();
  const Integer level = ++hiddenLevel_;
  std::vector<Integer> real;
  real.reserve(display.size());
  for (Integer r : display) real.push_back(RealRowIndex(r));
  std::vector<std::unique_ptr<TGridRow>> taken = ExtractRows(display);
  std::vector<TGridItem*> items;
  for (size_t i = 0; i < real.size(); ++i) {
    auto item = std::make_unique<TGridItem>(real[i], level, std::move(taken[i]), &colCount_);
    items.push_back(item.get());
    AddHiddenRecord(std::move(item));
  }
  MarksRowsHidden(display, items);
  RowsRemoved(display);
  RowCountMoved(oldCount);
  SetRowCount(RowCount());
  PlaceCellControls();
}

void TGridModel::UnHideRowsLevel() {
  if (hiddenLevel_ == 0) return;
  const Integer level = hiddenLevel_;
  const Integer oldCount = RowCount();
  std::vector<std::pair<Integer, std::unique_ptr<TGridRow>>> rows;
  std::vector<Integer> positions;
  std::vector<std::pair<Integer, bool>> marks;
  std::vector<std::unique_ptr<TGridItem>> remaining;
  for (auto& item : hidden_) {
    if (item->Level == level) {
      // Its place among the rows shown once this level is back.
      const Integer position = item->Idx - static_cast<Integer>(remaining.size());
      positions.push_back(position);
      marks.emplace_back(position, item->Marked);
      rows.emplace_back(position, item->TakeRow());
    } else {
      remaining.push_back(std::move(item));
    }
  }
  hidden_ = std::move(remaining);
  --hiddenLevel_;
  InsertRowHandles(std::move(rows));
  MarksRowsShown(marks);
  RowsInserted(positions);
  RowCountMoved(oldCount);
  SetRowCount(RowCount());
  PlaceCellControls();
}

bool TGridModel::IsHiddenRow(Integer row) const { return !hidden_.empty() && FindHidden(row) >= 0; }

rtl::TStrings* TGridModel::HiddenRowTexts(Integer row) {
  const Integer at = FindHidden(row);
  return at < 0 ? nullptr : &hidden_[at]->Items();
}

AnsiString TGridModel::RealCells(Integer col, Integer row) {
  if (col < 0 || row < 0) return AnsiString();
  const Integer at = FindHidden(row);
  if (at >= 0) {
    CheckCol(col);
    AnsiString text = hidden_[at]->Row().Cell(col);
    GetDisplText(col, row, text);
    return text;
  }
  return GetDisplayCell(col, DisplRowIndex(row));
}

TCellProperties* TGridModel::RealObjects(Integer col, Integer row) const {
  const Integer at = FindHidden(row);
  if (at >= 0) {
    CheckCol(col);
    return hidden_[at]->Row().Props(col);
  }
  return GetRawObject(col, DisplRowIndex(row));
}

Integer TGridModel::RealRowIndex(Integer displayRow) const {
  Integer r = displayRow;
  for (const auto& item : hidden_) {
    if (item->Idx > r) break;
    ++r;
  }
  return r;
}

Integer TGridModel::DisplRowIndex(Integer realRow) const { return realRow - HiddenBefore(realRow); }

Integer TGridModel::RealColIndex(Integer displayCol) const {
  if (displayCol >= VisibilityEntries - 1 || hiddenColCount_ == 0) return displayCol;
  Integer visible = 0;
  for (Integer c = 0; c < VisibilityEntries; ++c) {
    if (!columnVisible_[c]) continue;
    if (visible == displayCol) return c;
    ++visible;
  }
  return 0;
}

Integer TGridModel::DisplColIndex(Integer realCol) const {
  if (realCol >= VisibilityEntries - 1 || hiddenColCount_ == 0) return realCol;
  Integer hiddenBefore = 0;
  for (Integer c = 0; c < realCol; ++c) hiddenBefore += columnVisible_[c] ? 0 : 1;
  return realCol - hiddenBefore;
}

bool TGridModel::IsHiddenColumn(Integer col) const {
  if (col > VisibilityEntries - 2 || col < 0) return false;
  return !columnVisible_[col];
}

void TGridModel::Check() const {
  RTL_ASSERT(RowCount() >= 1);
  RTL_ASSERT(colCount_ >= 1);
  RTL_ASSERT(fixedRows_ >= 0 && fixedRows_ < RowCount());
  RTL_ASSERT(fixedCols_ >= 0 && fixedCols_ < colCount_);
  RTL_ASSERT(static_cast<Integer>(colWidths_.size()) == colCount_);
  for (const auto& row : rows_) {
    RTL_ASSERT(row != nullptr);
    RTL_ASSERT(row->StoredCount() <= colCount_ && row->StoredPropsCount() <= colCount_);
  }
  for (size_t i = 0; i < hidden_.size(); ++i) {
    const TGridItem& item = *hidden_[i];
    RTL_ASSERT(i == 0 || hidden_[i - 1]->Idx < item.Idx);
    RTL_ASSERT(item.Idx >= 0 && item.Idx < AllRowCount());
    RTL_ASSERT(item.Level >= 0 && item.Level <= hiddenLevel_);
    RTL_ASSERT(item.Row().StoredCount() <= colCount_);
  }
  RTL_ASSERT(static_cast<Integer>(columnVisible_.size()) == VisibilityEntries);
}

}  // namespace grid
