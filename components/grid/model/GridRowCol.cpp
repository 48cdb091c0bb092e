// Inserting, removing and clearing rows and columns, with everything that
// belongs to them: properties and graphics, hidden-row records, modified
// and disjunct marks, cell controls and the largest row count.
#include <algorithm>

#include "grid/model/GridModel.h"

namespace grid {

namespace {

// A row map for count rows inserted at first: rows at and after it move down.
std::function<Integer(Integer)> InsertionMap(Integer first, Integer count) {
  return [first, count](Integer r) { return r >= first ? r + count : r; };
}

// A row map for the rows of an ascending list taken out.
std::function<Integer(Integer)> RemovalMap(const std::vector<Integer>& removed) {
  return [&removed](Integer r) -> Integer {
    const auto it = std::lower_bound(removed.begin(), removed.end(), r);
    if (it != removed.end() && *it == r) return -1;
    return r - static_cast<Integer>(it - removed.begin());
  };
}

}  // namespace

void TGridModel::RemapRealRows(const std::function<Integer(Integer)>& map) {
  for (auto& item : hidden_) {
    item->Idx = map(item->Idx);
    RTL_ASSERT(item->Idx >= 0);
  }
  std::vector<Integer> modified;
  for (Integer r : rowModified_.Values()) {
    const Integer to = map(r);
    if (to >= 0) modified.push_back(to);
  }
  rowModified_.Clear();
  for (Integer r : modified) rowModified_.Insert(rowModified_.Count(), r);
  if (MarksReal()) selectionMarks_.RemapRows(map);
}

void TGridModel::RemapDisplayMarks(const std::function<Integer(Integer)>& map) {
  if (!MarksReal()) selectionMarks_.RemapRows(map);
}

void TGridModel::MarksRowsHidden(const std::vector<Integer>& displayRows, const std::vector<TGridItem*>& items) {
  if (MarksReal()) return;
  for (size_t i = 0; i < displayRows.size() && i < items.size(); ++i)
    items[i]->Marked = selectionMarks_.RowMarked(displayRows[i]);
  selectionMarks_.RemapRows(RemovalMap(displayRows));
}

void TGridModel::MarksRowsShown(const std::vector<std::pair<Integer, bool>>& positions) {
  if (MarksReal() || positions.empty()) return;
  // positions are final places, ascending: an old row goes after the j-th
  // row put back when that row had at most as many old rows before it.
  std::vector<Integer> before;
  for (size_t j = 0; j < positions.size(); ++j) before.push_back(positions[j].first - static_cast<Integer>(j));
  selectionMarks_.RemapRows([&before](Integer r) {
    return r + static_cast<Integer>(std::upper_bound(before.begin(), before.end(), r) - before.begin());
  });
  for (const auto& [position, marked] : positions)
    if (marked) selectionMarks_.SetRowMark(position, true);
}

void TGridModel::InsertRows(Integer row, Integer count, bool moveControls) {
  if (count <= 0 || row < 0 || row > RowCount()) return;
  // The floating footer's row stays the last.
  if (footerRowShown_ && row >= RowCount()) row = RowCount() - 1;
  const Integer oldCount = RowCount();
  const Integer real = RealRowIndex(row);
  RemapRealRows(InsertionMap(real, count));
  RemapDisplayMarks(InsertionMap(row, count));
  if (moveControls) RemapCellControls(InsertionMap(real, count));
  std::vector<std::unique_ptr<TGridRow>> fresh;
  fresh.reserve(count);
  for (Integer i = 0; i < count; ++i) fresh.push_back(std::make_unique<TGridRow>(defaultRowHeight_));
  rows_.insert(rows_.begin() + row, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  RowCountMoved(oldCount);
  if (!IsDestroying()) CellsChanged({0, row, colCount_ - 1, row + count});
  PlaceCellControls();
}

void TGridModel::RemoveRowsCore(Integer row, Integer count, bool controls) {
  if (count <= 0 || row < 0 || row >= RowCount()) return;
  count = std::min(count, RowCount() - row);
  const Integer oldCount = RowCount();
  std::vector<Integer> realRemoved;
  realRemoved.reserve(count);
  {
    // The real rows of the shown rows taken out; hidden rows between them stay.
    Integer real = RealRowIndex(row);
    for (Integer d = row; d < row + count; ++d) {
      while (FindHidden(real) >= 0) ++real;
      realRemoved.push_back(real++);
    }
  }
  std::vector<Integer> displayRemoved;
  for (Integer d = row; d < row + count; ++d) displayRemoved.push_back(d);
  RemapRealRows(RemovalMap(realRemoved));
  RemapDisplayMarks(RemovalMap(displayRemoved));
  if (controls) RemapCellControls(RemovalMap(realRemoved));
  rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
  // A grid keeps one row.
  if (rows_.empty()) rows_.push_back(std::make_unique<TGridRow>(defaultRowHeight_));
  if (fixedRows_ >= RowCount()) fixedRows_ = RowCount() - 1;
  largestRowCount_ = std::max(largestRowCount_ - count, 0);
  RowCountMoved(oldCount);
  CellsChanged({0, row, colCount_ - 1, row + count});
  PlaceCellControls();
}

void TGridModel::RemoveRows(Integer row, Integer count) { RemoveRowsCore(row, count, true); }

void TGridModel::DeleteRowsShift(Integer row, Integer count) { RemoveRowsCore(row, count, false); }

void TGridModel::InsertCols(Integer col, Integer count) {
  if (count <= 0 || col < 0 || col > colCount_) return;
  const Integer old = colCount_;
  for (auto& row : rows_) row->InsertColumns(col, count);
  for (auto& item : hidden_) item->Row().InsertColumns(col, count);
  colWidths_.insert(colWidths_.begin() + col, count, defaultColWidth_);
  colCount_ += count;
  selectionMarks_.RemapCols(InsertionMap(col, count));
  GridSizeChanged(old, RowCount());
}

void TGridModel::RemoveCols(Integer col, Integer count) {
  if (count <= 0 || col < 0 || col >= colCount_) return;
  count = std::min(count, colCount_ - col);
  const Integer old = colCount_;
  ClearCols(col, count);
  for (auto& row : rows_) row->RemoveColumns(col, count);
  for (auto& item : hidden_) item->Row().RemoveColumns(col, count);
  colWidths_.erase(colWidths_.begin() + col, colWidths_.begin() + col + count);
  colCount_ -= count;
  // A grid keeps one column.
  if (colCount_ == 0) {
    colCount_ = 1;
    colWidths_.push_back(defaultColWidth_);
  }
  if (fixedCols_ >= colCount_) fixedCols_ = colCount_ - 1;
  std::vector<Integer> removed;
  for (Integer c = col; c < col + count; ++c) removed.push_back(c);
  selectionMarks_.RemapCols(RemovalMap(removed));
  GridSizeChanged(old, RowCount());
  CellsChanged({col, 0, col + count, RowCount() - 1});
}

void TGridModel::ClearRect(Integer col1, Integer row1, Integer col2, Integer row2) {
  const Integer fromCol = std::max(col1, 0), toCol = std::min(col2, colCount_ - 1);
  const Integer fromRow = std::max(row1, 0), toRow = std::min(row2, RowCount() - 1);
  const bool destroying = IsDestroying();
  for (Integer r = fromRow; r <= toRow; ++r) {
    TGridRow& row = *rows_[r];
    for (Integer c = fromCol; c <= toCol; ++c) {
      // A graphic shared by the grid (virtual and row check boxes) is only
      // let go; the properties object frees the graphics it owns.
      if (row.Props(c) != nullptr) row.SetProps(c, nullptr);
      if (!destroying && !row.Cell(c).empty()) row.SetCell(c, AnsiString());
    }
  }
  if (fromCol <= 0 && fromRow <= 0 && toCol >= colCount_ - 1 && toRow >= RowCount() - 1) {
    const bool hiddenProps =
        std::any_of(hidden_.begin(), hidden_.end(), [](const auto& item) { return item->Row().HasAnyProps(); });
    if (!hiddenProps) cellPropertiesExist_ = false;
  }
  if (!destroying && fromCol <= toCol && fromRow <= toRow) CellsChanged({col1, row1, col2, row2});
}

void TGridModel::ClearRows(Integer row, Integer count) {
  if (RowCount() == 0 || colCount_ == 0 || count <= 0) return;
  ClearRect(0, row, colCount_ - 1, row + count - 1);
}

void TGridModel::ClearCols(Integer col, Integer count) {
  if (RowCount() == 0 || colCount_ == 0 || count <= 0) return;
  ClearRect(col, 0, col + count - 1, RowCount() - 1);
}

void TGridModel::Clear() {
  if (RowCount() > 0 && colCount_ > 0) ClearRect(0, 0, colCount_ - 1, RowCount() - 1);
}

void TGridModel::AddRowAtEnd() {
  if (footerRowShown_)
    InsertRows(RowCount() - 1, 1);
  else
    InsertRows(RowCount(), 1);
}

}  // namespace grid
