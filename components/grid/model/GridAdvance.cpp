#include "grid/model/GridAdvance.h"

namespace grid {

namespace {

bool RowHasEditableCell(TEnterAdvanceHost& host, Integer row) {
  const TAdvanceShape g = host.Shape();
  for (Integer col = g.FixedCols; col < g.ColCount; ++col)
    if (host.CanEdit({col, row})) return true;
  return false;
}

}  // namespace

TEnterStep EnterStep(TEnterAdvanceHost& host, TCellCoord from, bool forward, TAdvanceDirection direction,
                     bool advanceInsert) {
  const TAdvanceShape g = host.Shape();
  const TCellCoord span = host.Span(from);
  const Integer lastDataRow = g.LastDataRow();
  const Integer lastCol = g.ColCount - g.FixedRightCols - 1;
  TEnterStep step;
  Integer col = from.X;
  Integer row = from.Y;
  if (forward && direction == adLeftRight) {
    if (col + span.X < g.ColCount - g.VisibleFixedRightCols - 1) {
      col += span.X + 1;
    } else if (row != lastDataRow) {
      ++row;
      col = g.FirstNavigableColumn;
    } else if (advanceInsert) {
      col = g.FirstNavigableColumn;
      if (host.AppendRow()) {
        ++row;
        if (!RowHasEditableCell(host, row)) step.Stop = true;
      }
    } else {
      col = g.FirstNavigableColumn;
      row = g.FixedRows;
    }
  } else if (forward) {
    if (row != lastDataRow) {
      ++row;  // spans are not skipped downwards
    } else if (col + 1 != g.ColCount - g.FixedRightCols) {
      row = g.FixedRows;
      ++col;
      if (col >= g.ColCount) col = g.FirstNavigableColumn;
    } else if (advanceInsert) {
      host.AppendColumn();
      col += span.X + 1;
      row = g.FixedRows;
    } else {
      col = g.FirstNavigableColumn;
      row = g.FixedRows;
    }
  } else if (direction == adLeftRight) {
    if (g.FirstNavigableColumn < col) {
      --col;
    } else {
      row = row > g.FixedRows ? row - 1 : lastDataRow;
      col = lastCol;
    }
  } else {
    if (g.FixedRows < row) {
      --row;
    } else {
      col = col > g.FirstNavigableColumn ? col - 1 : lastCol;
      row = lastDataRow;
    }
  }
  step.Target = {col, row};
  return step;
}

TEnterAdvance PlanEnterAdvance(TEnterAdvanceHost& host, TCellCoord start, bool forward,
                               TAdvanceDirection direction, bool advanceInsert) {
  // One full pass: every cell of the grid as it is at the start, once.
  const TAdvanceShape g = host.Shape();
  const int64_t pass = static_cast<int64_t>(g.ColCount) * g.RowCount;
  TCellCoord at = start;
  for (int64_t steps = 0; steps < pass; ++steps) {
    const TEnterStep step = EnterStep(host, at, forward, direction, advanceInsert);
    if (step.Stop) return {};
    at = step.Target;
    if (host.CanEdit(at)) return {true, at};
  }
  return {};
}

}  // namespace grid
