// The grid's own 500 ms timer beyond the lookup expiry: the current cell
// following the mouse (Hovering) and the blink phase of mini-HTML blinking
// text.
#include "grid/GridComponent.h"
#include "grid/model/GridUtils.h"
#include "vcl/WinApi.h"

namespace grid {

void TVadOdizadEzev::GridTimerTick() {
  ++tickCount_;
  if (Hovering && !ComponentState().Contains(vcl::csDesigning)) {
    const vcl::TPoint p = ScreenToClient(vcl::GetCursorPos());
    if (p.X >= 0 && p.Y >= 0 && p.X < ClientWidth() && p.Y < ClientHeight()) {
      const vcl::TGridCoord cell = MouseCoord(p.X, p.Y);
      if (cell.X >= FixedCols() && cell.X < ColCount() && cell.Y >= FixedRows() && cell.Y < RowCount()) {
        if (CanFocus() && !Focused()) SetFocus();
        SetRow(cell.Y);
        SetCol(cell.X);
      }
    }
  }
  if (EnableBlink) {
    blinkPhase_ = !blinkPhase_;
    auto blink = [this](Integer col, Integer row) {
      if (col < ColCount() && row < RowCount() && UpperPos("<BLI", Cells(col, row)) > 0) InvalidateCell(col, row);
    };
    const Integer lastRow = TopRow() + VisibleRowCount();
    const Integer lastCol = LeftCol() + VisibleColCount();
    // The visible cells, the fixed rows over the visible columns and the
    // fixed columns beside the visible rows; not the fixed corner.
    for (Integer row = TopRow(); row <= lastRow; ++row)
      for (Integer col = LeftCol(); col <= lastCol; ++col) blink(col, row);
    for (Integer row = 0; row < FixedRows(); ++row)
      for (Integer col = LeftCol(); col <= lastCol; ++col) blink(col, row);
    for (Integer col = 0; col < FixedCols(); ++col)
      for (Integer row = TopRow(); row <= lastRow; ++row) blink(col, row);
  }
}

}  // namespace grid
