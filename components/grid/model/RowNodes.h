#pragma once
// Row nodes: an outline over the rows. A node row carries a ctNode graphic
// in column 0 (CellBoolean: collapsed; CellIndex: its span, its own row
// included, 0 or less up to the next node row; CellErrFrom: the rows
// InsertChildRow added; CellAngle: the display row it was made at; CellVar:
// -1 or a sub-grouped column), and every row counts in the NodeLevel of its
// column-0 properties the nodes whose span covers it. Collapsing a node
// moves its child rows into the hidden-row store, expanding brings them
// back. Rows are real (counting hidden rows) or display rows as each
// operation says.
#include <functional>

#include "grid/model/GridModel.h"
#include "grid/model/GridTypes.h"

namespace grid {

class TRowNodes {
 public:
  explicit TRowNodes(TGridModel& model) : model_(model) {}

  // Expanding one node collapses the other expanded ones first (its own
  // ancestors stay expanded).
  bool ExpandOne = false;

  // What the grid around the model does: the edit ended before a
  // collapse, the move flag its selection handling reads, the update lock
  // and row selection held around an expansion, the footers recalculated,
  // the first node (column 0 repainted), a node added (the current column
  // leaves column 0), the control of a cell hidden, everything repainted.
  std::function<void()> EndEdit;
  std::function<void(bool moving)> InternalMove;
  std::function<void()> BeginExpand;
  std::function<void()> EndExpand;
  std::function<void()> FootersChanged;
  std::function<void()> FirstNodeAdded;
  std::function<void()> NodeAdded;
  std::function<void(Integer col, Integer row)> HideCellControl;
  std::function<void()> Invalidate;

  // ===== queries (display rows) =====
  bool IsNode(Integer row) const;
  bool IsSummary(Integer row) const;
  // True when collapsed.
  bool GetNodeState(Integer row) const;
  // -1 / -1 / 0 for a row that is not a node.
  Integer GetNodeLevel(Integer row) const;
  Integer GetNodeSpan(Integer row) const;
  Integer GetNodeInsertedCount(Integer row) const;
  // The node row whose span holds the row (the row itself for a node
  // without an enclosing one); -1 when none.
  Integer GetParentNode(Integer row) const;
  // 0 a node row, 1 the line ends here, 2 it goes on to the next row.
  Integer GetTreeLineKind(Integer row) const;
  Integer NodeCount() const { return nodeCount_; }
  // The NodeLevel of a row's column-0 cell (0 without properties).
  Integer RowLevel(Integer row) const;

  // ===== changes =====
  void AddNode(Integer realRow, Integer span);
  void AddSummaryRow(Integer realRow);
  void RemoveNode(Integer realRow);
  void RemoveAllNodes();
  void ExpandNode(Integer realRow);
  void ContractNode(Integer realRow);
  void ExpandAll();
  void ContractAll();
  void AdjustNodeSpan(Integer row, Integer delta);
  void AdjustNodeInsertedCount(Integer row, Integer delta);
  // A row inside the enclosing nodes (their spans grow); on a node row
  // with below False the node's cells move into the new first child.
  void InsertChildRow(Integer realRow, bool below);
  // The row taken out of its enclosing nodes; false when nothing was
  // removed.
  bool RemoveChildRow(Integer realRow);
  void InsertRowReal(Integer realRow);
  void RemoveRowReal(Integer row);

 private:
  TCellGraphic* NodeGraphic(Integer row) const;
  TCellType TypeAt(Integer row) const;
  // The row after the node's rows as shown: r + span, or the next node row.
  Integer NextNodeRow(Integer row) const;
  void ExpandCore(Integer realRow);
  void ChangeLevels(Integer row, Integer span, Integer delta);

  TGridModel& model_;
  Integer nodeCount_ = 0;
};

}  // namespace grid
