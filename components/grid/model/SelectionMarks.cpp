#include "grid/model/SelectionMarks.h"

#include <algorithm>

#include "grid/model/GridModel.h"

namespace grid {

void CheckMarkRow(Integer row, Integer limit) {
  if (row < 0 || row >= limit) throw ELumGridError("Invalid row accessed");
}

void CheckMarkColumn(Integer col, Integer limit) {
  if (col < 0 || col >= limit) throw ELumGridError("Invalid column accessed");
}

namespace {

bool FlagAt(const std::vector<bool>& flags, Integer index) {
  return index >= 0 && static_cast<size_t>(index) < flags.size() && flags[static_cast<size_t>(index)];
}

// Sets a flag, growing the list with unmarked entries; true when it changed.
bool SetFlag(std::vector<bool>& flags, Integer index, bool state) {
  if (index < 0) return false;
  if (static_cast<size_t>(index) >= flags.size()) {
    if (!state) return false;
    flags.resize(static_cast<size_t>(index) + 1, false);
  }
  if (flags[static_cast<size_t>(index)] == state) return false;
  flags[static_cast<size_t>(index)] = state;
  return true;
}

}  // namespace

bool TSelectionMarks::RowMarked(Integer row) const { return FlagAt(rows_, row); }

bool TSelectionMarks::SetRowMark(Integer row, bool state) {
  if (!SetFlag(rows_, row, state)) return false;
  if (state)
    order_.push_back(row);
  else
    order_.erase(std::remove(order_.begin(), order_.end(), row), order_.end());
  return true;
}

Integer TSelectionMarks::MarkedRowCount(Integer limit) const {
  Integer n = 0;
  for (Integer i = 0; i < limit && static_cast<size_t>(i) < rows_.size(); ++i)
    if (rows_[static_cast<size_t>(i)]) ++n;
  return n;
}

std::vector<Integer> TSelectionMarks::ClearRowMarks() {
  std::vector<Integer> cleared = std::move(order_);
  order_.clear();
  rows_.assign(rows_.size(), false);
  return cleared;
}

namespace {

std::vector<bool> RemapFlags(const std::vector<bool>& flags, const std::function<Integer(Integer)>& map) {
  std::vector<bool> moved;
  for (size_t i = 0; i < flags.size(); ++i) {
    if (!flags[i]) continue;
    const Integer to = map(static_cast<Integer>(i));
    if (to < 0) continue;
    if (static_cast<size_t>(to) >= moved.size()) moved.resize(static_cast<size_t>(to) + 1, false);
    moved[static_cast<size_t>(to)] = true;
  }
  return moved;
}

}  // namespace

void TSelectionMarks::RemapRows(const std::function<Integer(Integer)>& map) {
  rows_ = RemapFlags(rows_, map);
  std::vector<Integer> order;
  for (Integer row : order_) {
    const Integer to = map(row);
    if (to >= 0) order.push_back(to);
  }
  order_ = std::move(order);
}

void TSelectionMarks::RemapCols(const std::function<Integer(Integer)>& map) { cols_ = RemapFlags(cols_, map); }

bool TSelectionMarks::ColMarked(Integer col) const { return FlagAt(cols_, col); }

bool TSelectionMarks::SetColMark(Integer col, bool state) { return SetFlag(cols_, col, state); }

std::vector<Integer> TSelectionMarks::ClearColMarks() {
  std::vector<Integer> cleared;
  for (size_t i = 0; i < cols_.size(); ++i)
    if (cols_[i]) cleared.push_back(static_cast<Integer>(i));
  cols_.assign(cols_.size(), false);
  return cleared;
}

bool TSelectionMarks::CellMarked(Integer col, Integer row) const {
  return std::find(cells_.begin(), cells_.end(), PackCell(col, row)) != cells_.end();
}

bool TSelectionMarks::SetCellMark(Integer col, Integer row, bool state) {
  const Cardinal packed = PackCell(col, row);
  const auto it = std::find(cells_.begin(), cells_.end(), packed);
  if (state == (it != cells_.end())) return false;
  if (state)
    cells_.push_back(packed);
  else
    cells_.erase(it);
  return true;
}

}  // namespace grid
