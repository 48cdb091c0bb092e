// Bringing a cell into view: a cell already shown leaves the view alone, a
// cell outside it is brought to the middle.
#include <algorithm>

#include "grid/GridComponent.h"

namespace grid {

void TVadOdizadEzev::ScrollToCell(Integer col, Integer row) {
  if (col >= ColCount() || row >= RowCount() || col < 0 || row < 0) return;
  Integer newLeft = LeftCol();
  Integer newTop = TopRow();
  if (col < LeftCol() || col >= LeftCol() + VisibleColCount()) {
    SetCol(col);
    newLeft = std::max(col - VisibleColCount() / 2, FixedCols());
  }
  if (row < TopRow() || row >= TopRow() + VisibleRowCount()) {
    SetRow(row);
    newTop = std::max(row - VisibleRowCount() / 2, FixedRows());
  }
  newLeft = std::min(newLeft, ColCount() - VisibleColCount() + 1);
  if (FixedCols() + VisibleColCount() < ColCount()) SetLeftCol(newLeft);
  newTop = std::min(newTop, RowCount() - VisibleRowCount() + 1);
  if (FixedRows() + VisibleRowCount() < RowCount()) {
    SetTopRow(newTop);
    // The last row clear of a visible search footer.
    if (searchFooter_->Visible && TopRow() == RowCount() - VisibleRowCount()) SetTopRow(newTop + 1);
  }
}

}  // namespace grid
