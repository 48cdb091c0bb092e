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

// ===== Tab =====

// What the Tab walk asks of the grid and what it has the grid do.
class TTabAdvanceHost {
 public:
  virtual TAdvanceShape Shape() const = 0;
  // The spans of the cell's base cell (0, 0 for a plain cell).
  virtual TCellCoord Span(TCellCoord cell) const = 0;
  virtual bool IsBaseCell(TCellCoord cell) const = 0;
  // The cell's merged block's top-left cell (the cell itself when plain).
  virtual TCellCoord BaseCell(TCellCoord cell) const = 0;
  // Not fixed for navigation (without editing) or editable (with it).
  virtual bool IsTabStop(TCellCoord cell) = 0;
  // The editing test the walk ends on; only asked when Editing is set.
  virtual bool CanEdit(TCellCoord cell) = 0;
  // The three events of a Tab that runs out of its row into the next one,
  // one shared flag; false when refused. Asked once, from the start of the
  // walk to the cell it ends on, and only when it ends on one.
  virtual bool AllowRowChange(TCellCoord from, TCellCoord to) = 0;
  // Asks whether a row may be added and appends it; the new last data row,
  // or -1 when refused.
  virtual Integer AppendRow() = 0;

 protected:
  ~TTabAdvanceHost() = default;
};

struct TTabOptions {
  bool Backward = false;
  TAdvanceDirection Direction = adLeftRight;
  // goEditing: the walk goes on until a cell passes the editing test.
  bool Editing = false;
  bool AdvanceInsert = false;
  bool TabToNextAtEnd = false;
};

struct TTabAdvance {
  bool Moved = false;  // false: the current cell stays at the start
  TCellCoord Target;
  // The walk passed the grid's end (the focus may move on).
  bool EndOfGrid = false;
  // The row change was refused; the current cell stays.
  bool Refused = false;
};

// The first (last) tab stop of a row, -1 when it has none.
Integer FirstTabStop(TTabAdvanceHost& host, Integer row);
Integer LastTabStop(TTabAdvanceHost& host, Integer row);
// One Tab step from a cell. again is set when the step lands where the
// walk must step once more whatever the editing test says (a covered cell
// found beside a merged block, a next row without a tab stop).
struct TTabStep {
  TCellCoord Target;
  bool Again = false;
  bool EndOfGrid = false;
  // The step ran out of its row into the next one.
  bool RowChange = false;
  bool Appended = false;
};
TTabStep TabStep(TTabAdvanceHost& host, TCellCoord from, const TTabOptions& options);
// Steps from start until a cell passes (with editing, the editing test).
// Each cell is a candidate at most once: when the walk comes back to a cell
// it has seen, or to the start, no cell passes and the current cell stays.
// A walk appends at most one row.
TTabAdvance PlanTabAdvance(TTabAdvanceHost& host, TCellCoord start, const TTabOptions& options);

}  // namespace grid
