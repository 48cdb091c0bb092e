#pragma once
// Where Enter moves the current cell: the step to the next cell in either
// direction, across rows or down columns, wrapping at the end or appending
// a row or a column there, and the walk that passes over cells that cannot
// be edited. The walk stops after one full pass over the grid with the
// current cell where it began, so a grid without an editable cell never
// loops. The grid answers the questions and performs the appends.
#include "grid/model/GridTypes.h"

namespace grid {

enum class TAdvanceDirection { adLeftRight, adTopBottom };
using enum TAdvanceDirection;

// What the advance knows of the grid's shape.
struct TAdvanceShape {
  Integer ColCount = 5;
  Integer RowCount = 5;
  Integer FixedCols = 1;
  Integer FixedRows = 1;
  Integer FixedFooters = 0;
  Integer FixedRightCols = 0;
  // Fixed right columns that are not hidden.
  Integer VisibleFixedRightCols = 0;
  Integer FirstNavigableColumn = 1;
  bool FloatingFooterVisible = false;
  // The last row that holds data (the floating footer takes the last row).
  Integer LastDataRow() const { return FloatingFooterVisible ? RowCount - 2 : RowCount - FixedFooters - 1; }
};

class TEnterAdvanceHost {
 public:
  virtual TAdvanceShape Shape() const = 0;
  // The spans of the cell's merged block (0, 0 for a plain cell).
  virtual TCellCoord Span(TCellCoord cell) const = 0;
  // The editing test of the target cell (its real column).
  virtual bool CanEdit(TCellCoord cell) = 0;
  // Asks whether a row may be added and appends it; false when refused.
  virtual bool AppendRow() = 0;
  virtual void AppendColumn() = 0;

 protected:
  ~TEnterAdvanceHost() = default;
};

// One step from a cell, before the editing test. Appends through the host
// when the step runs past the last cell with advanceInsert. Stop is set
// when a row was appended in which no cell can be edited.
struct TEnterStep {
  TCellCoord Target;
  bool Stop = false;
};
TEnterStep EnterStep(TEnterAdvanceHost& host, TCellCoord from, bool forward, TAdvanceDirection direction,
                     bool advanceInsert);

struct TEnterAdvance {
  bool Moved = false;  // false: the current cell stays at the start
  TCellCoord Target;
};
// Steps from start until a cell passes the editing test.
TEnterAdvance PlanEnterAdvance(TEnterAdvanceHost& host, TCellCoord start, bool forward,
                               TAdvanceDirection direction, bool advanceInsert);

}  // namespace grid
