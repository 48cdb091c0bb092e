#include "grid/model/GridAdvance.h"

#include <set>
#include <utility>

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

// ===== Tab =====

Integer FirstTabStop(TTabAdvanceHost& host, Integer row) {
  const TAdvanceShape g = host.Shape();
  for (Integer col = 0; col < g.ColCount; ++col)
    if (host.IsTabStop({col, row})) return col;
  return -1;
}

Integer LastTabStop(TTabAdvanceHost& host, Integer row) {
  const TAdvanceShape g = host.Shape();
  for (Integer col = g.ColCount - 1; col >= 0; --col)
    if (host.IsTabStop({col, row})) return col;
  return -1;
}

TTabStep TabStep(TTabAdvanceHost& host, TCellCoord from, const TTabOptions& options) {
  const TAdvanceShape g = host.Shape();
  const TCellCoord span = host.Span(from);
  const Integer lastDataRow = g.LastDataRow();
  const Integer rightBound = g.ColCount - g.VisibleFixedRightCols;
  TTabStep step;
  Integer col = from.X;
  Integer row = from.Y;
  if (!options.Backward && options.Direction == adTopBottom) {
    if (row + span.Y + 1 < g.RowCount - g.FixedFooters) {
      row += span.Y + 1;
    } else {
      row = g.FixedRows;
      if (col < rightBound - 1) {
        ++col;
      } else {
        col = g.FirstNavigableColumn;
        step.EndOfGrid = true;
      }
    }
  } else if (!options.Backward) {
    if (col + span.X + 1 < rightBound) {
      Integer c = col + span.X + 1;
      while (c < rightBound && !host.IsTabStop({c, row})) ++c;
      if (c < rightBound) {
        col = c;
        // A cell covered by a block above: step on past that block.
        if (!host.IsBaseCell({col, row})) step.Again = true;
      } else if (row < lastDataRow) {
        Integer target = FirstTabStop(host, row + 1);
        if (target < 0) target = g.FixedCols;
        col = target;
        ++row;
        step.RowChange = true;
      } else {
        // Past the last data cell: back to the first data row, at its first
        // tab stop, or at its start when it has none (the walk goes on
        // from there).
        const Integer target = FirstTabStop(host, g.FixedRows);
        col = target >= 0 ? target : g.FixedCols;
        row = g.FixedRows;
        step.EndOfGrid = true;
      }
    } else if (row < lastDataRow) {
      Integer target = -1;
      for (Integer c = g.FirstNavigableColumn; c < g.ColCount && target < 0; ++c)
        if (host.IsBaseCell({c, row + 1}) && host.IsTabStop({c, row + 1})) target = c;
      ++row;
      if (target < 0) {
        col = g.FixedCols;
        step.Again = true;
      } else {
        col = target;
      }
    } else {
      row = g.FixedRows;
      if (!options.TabToNextAtEnd && options.AdvanceInsert) {
        const Integer appended = host.AppendRow();
        if (appended >= 0) {
          row = appended;
          step.Appended = true;
        }
      }
      col = g.FixedCols;
      step.EndOfGrid = true;
    }
  } else if (options.Direction == adTopBottom) {
    if (row > g.FixedRows) {
      --row;
    } else {
      row = lastDataRow;
      col = g.FirstNavigableColumn < col ? col - 1 : rightBound - 1;
    }
  } else if (g.FirstNavigableColumn < col) {
    Integer c = col - 1;
    while (c >= g.FirstNavigableColumn && !(host.IsTabStop({c, row}) && host.IsBaseCell({c, row}))) --c;
    if (c >= g.FirstNavigableColumn) {
      col = c;
    } else {
      const Integer targetRow = row > g.FixedRows ? row - 1 : lastDataRow;
      // The row before at its last tab stop, or at its end when it has
      // none (the walk goes on from there).
      const Integer target = LastTabStop(host, targetRow);
      col = target >= 0 ? target : rightBound - 1;
      row = targetRow;
      const TCellCoord base = host.BaseCell({col, row});
      col = base.X;
      row = base.Y;
    }
  } else {
    // The current row's last tab stop, taken into the row above.
    Integer c = rightBound - 1;
    while (c > g.FixedCols && !host.IsTabStop({c, row})) --c;
    col = c;
    row = row > g.FixedRows ? row - 1 : lastDataRow;
  }
  step.Target = {col, row};
  return step;
}

TTabAdvance PlanTabAdvance(TTabAdvanceHost& host, TCellCoord start, const TTabOptions& options) {
  TTabAdvance result;
  std::set<std::pair<Integer, Integer>> seen{{start.X, start.Y}};
  TCellCoord at = start;
  TTabOptions walk = options;
  bool rowChange = false;
  for (;;) {
    const TTabStep step = TabStep(host, at, walk);
    if (step.Appended) walk.AdvanceInsert = false;
    result.EndOfGrid = result.EndOfGrid || step.EndOfGrid;
    rowChange = rowChange || step.RowChange;
    at = step.Target;
    if (!seen.insert({at.X, at.Y}).second) return result;
    if (step.Again) continue;
    if (!options.Editing || host.CanEdit(at)) {
      // The changing events are asked once, for the move that is made.
      if (rowChange && !host.AllowRowChange(start, at)) {
        result.Refused = true;
        return result;
      }
      result.Moved = true;
      result.Target = at;
      return result;
    }
  }
}

}  // namespace grid
