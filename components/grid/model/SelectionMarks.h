#pragma once
// The grid's disjunct selection without a window: marks on single rows
// (with the order they were marked in), columns and cells, and the checks
// of the indexes they take.
#include <functional>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

// ELumGridError "Invalid row accessed" unless 0 <= row < limit (the row
// count with the hidden rows).
void CheckMarkRow(Integer row, Integer limit);
// ELumGridError "Invalid column accessed" unless 0 <= col < limit.
void CheckMarkColumn(Integer col, Integer limit);

class TSelectionMarks {
 public:
  bool RowMarked(Integer row) const;
  // True when the mark changed. A newly marked row goes to the end of the
  // ordered list; an unmarked one leaves it.
  bool SetRowMark(Integer row, bool state);
  // The marked rows in the order they were marked, each once.
  const std::vector<Integer>& MarkedRows() const { return order_; }
  // Marked rows among the first limit entries.
  Integer MarkedRowCount(Integer limit) const;
  // Unmarks every row; the rows that were marked, in marking order.
  std::vector<Integer> ClearRowMarks();

  // Rows renumbered when rows are inserted, removed or moved: map gives a
  // row's new number, or -1 when the row went (its mark goes with it). The
  // marking order is kept.
  void RemapRows(const std::function<Integer(Integer)>& map);
  void RemapCols(const std::function<Integer(Integer)>& map);

  bool ColMarked(Integer col) const;
  bool SetColMark(Integer col, bool state);
  std::vector<Integer> ClearColMarks();

  // Cells packed as row << 16 | column.
  static Cardinal PackCell(Integer col, Integer row) {
    return (static_cast<Cardinal>(row) << 16) | (static_cast<Cardinal>(col) & 0xFFFF);
  }
  bool CellMarked(Integer col, Integer row) const;
  bool SetCellMark(Integer col, Integer row, bool state);
  void ClearCellMarks() { cells_.clear(); }
  const std::vector<Cardinal>& MarkedCells() const { return cells_; }

 private:
  std::vector<bool> rows_;
  std::vector<Integer> order_;
  std::vector<bool> cols_;
  std::vector<Cardinal> cells_;
};

}  // namespace grid
