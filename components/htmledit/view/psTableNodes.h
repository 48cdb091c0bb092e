#pragma once
// The view nodes of a table: the table turns its first row's width
// attributes into column positions (TpsTableColumns), lays itself out
// again while nested tables ask for wider columns, spaces rows and cells
// by the cell spacing and gives every cell of a row the row's height. The
// last row catches the mouse over the column boundaries and the table's
// right edge, so that a boundary can be dragged; the drag ends in an
// editing transaction that rewrites the width attributes.
#include <memory>

#include "htmledit/view/psDivNodes.h"
#include "htmledit/view/psDragFeedback.h"
#include "htmledit/view/psLineObjects.h"
#include "htmledit/view/psTableLayout.h"

namespace htmlview {

class TpsTableRowNode;
class TpsTableCellNode;

class TpsTableNode : public TpsDivNode {
 public:
  explicit TpsTableNode(TpsWindow* aParent);

  void HandleMessage(TpsMessage& aMessage) override;
  void InitFromTag(htmldoc::TpsChunkElement* aElement) override;
  void LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding) override;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  void GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth) override;
  void AdjustWidth() override;

  Integer GetCellSpacing();
  Integer GetCellPadding();
  Integer GetRowCount() const;
  // The table tag has a non-zero "width".
  bool HasWidth();
  TpsTableRowNode* GetRow(Integer aRow) const;
  // nullptr outside the rows and cells.
  TpsTableCellNode* GetCell(Integer aRow, Integer aColumn) const;
  void GetColumnBounds(Integer aColumn, Integer aRowCellCount, Integer aRowWidth, Integer& aLeft, Integer& aRight);
  void RecordExtraWidth(Integer aColumn, Integer aWidth) { Columns.RecordExtraWidth(aColumn, aWidth); }
  // The widest single character of the lines directly in the column's
  // cells; a row without that cell adds nothing.
  Integer GetMinContentWidth(Integer aColumn);
  // The drag limits of the first row's cells (absolute x).
  TpsDragLimits GetDragLimits();
  Integer GetBoundaryMinX(Integer aColumn);
  Integer GetBoundaryMaxX(Integer aColumn);
  // The middle of the table's right border (absolute x).
  Integer GetRightEdgeX() const { return TableEdgeX(GetAbsoluteRight(), MarginRight, BorderRight); }
  Integer GetInnerHeight() const { return Height - MarginTop - MarginBottom; }
  const TpsVirtualBorders& VirtualBorderOptions();

  TpsTableColumns Columns;

 private:
  Integer FCellSpacing = -1;
  Integer FCellPadding = -1;
  bool FPaddingRead = false;
};

class TpsTableRowNode : public TpsDivNode {
 public:
  explicit TpsTableRowNode(TpsWindow* aParent);

  // Presses, moves and releases over the catch areas drag a boundary.
  void HandleMessage(TpsMessage& aMessage) override;
  // While dragging, the bar; after a drag, the transaction is queued.
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  void LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding) override;
  void GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth) override;
  void UpdateHeight() override;
  void InspectContent(htmldoc::TpsDataChunk& aContent) override;
  void InspectFollowing(htmldoc::TpsDataChunk& aRest) override;

  // The parent, which must be a table.
  TpsTableNode* GetTable() const;
  // The cells laid out so far, in order.
  Integer GetLaidOutCellCount() const;
  TpsTableCellNode* GetCellNode(Integer aIndex) const;
  // Absolute x of the boundary after column aIndex (0 .. cells - 2).
  Integer GetBoundaryX(Integer aIndex) const;
  // The row's width less its margins and the spacings between its cells.
  Integer GetCellsWidth();
  // One mouse catch area 7 pixels wide over each column boundary, and one
  // over the table's right edge when all columns have the same width
  // kind, each as tall as the table.
  void RegisterResizeAreas();

  bool IsValidDragPosition(Integer aBoundary, const TpsPoint& aPoint);

  Integer CellCount = 0;
  bool LastRow = false;
  TpsColumnDrag Drag;
  // The dotted bar shown while dragging (on the screen surface's device).
  std::unique_ptr<TpsVerticalResizingBar> Bar;

 protected:
  void BeforeDestruction() override;

 private:
  void StartDrag(Integer aBoundary, const TpsPoint& aPoint);
  void EndDrag();
  // Queues the transaction that writes the drag's delta (to the root).
  void QueueResizeTransaction();
  bool FApplyPending = false;
};

class TpsTableCellNode : public TpsDivNode {
 public:
  explicit TpsTableCellNode(TpsWindow* aParent);

  void HandleMessage(TpsMessage& aMessage) override;
  void LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding) override;
  void RequestWidth(Integer aWidth) override;
  bool IsTableCell() override { return true; }
  void InspectFollowing(htmldoc::TpsDataChunk& aRest) override;

  TpsTableRowNode* GetRow() const;
  TpsTableNode* GetTable() const;
  // The cell's index in its row.
  Integer GetColumn() const;

  bool LastCell = false;
};

class TpsTableDataNode : public TpsTableCellNode {
 public:
  using TpsTableCellNode::TpsTableCellNode;
};

class TpsTableHeaderNode : public TpsTableCellNode {
 public:
  using TpsTableCellNode::TpsTableCellNode;
};

// A line's answer to 477: the message's value raised to the widest single
// character of the line.
void RaiseToWidestCharacter(const TpsLineObjects& aItems, TpsMessage& aMessage);

// Fills the factory's table, row, data-cell and header-cell slots; once
// per process.
void RegisterTableNodeClasses();

}  // namespace htmlview
