#pragma once
// The arithmetic of a table's layout, apart from the nodes that lay the
// rows and cells out: cell spacing and padding read from the table tag,
// the column positions a row's cells take, the widening passes a nested
// table asks for, the table's own width, the box rules of tables and
// cells (virtual borders, collapsed borders, the padding a table gives its
// cells), and the geometry of dragging a column boundary with the editing
// transaction it ends in.
//
// The table node keeps one TpsTableColumns across its passes; the row and
// cell nodes ask it for their columns. Everything here works on plain
// numbers or on a node's public box fields, so the rules are checked
// exactly without a layout.
#include <vector>

#include "htmledit/doc/psGeometry.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psPropertyGroups.h"

namespace htmldoc {
class TpsHtmlTag;
class TpsDataChunk;
}  // namespace htmldoc

namespace htmlview {

class TpsDocumentNode;

// Spacing between cells and rows when the tag names none (also the
// table's own padding then).
constexpr Integer kDefaultCellSpacing = 2;
// A table is laid out at most this many times for the widths nested
// tables ask for.
constexpr Integer kMaxTablePasses = 8;
// Half the width of the mouse catch area over a column boundary.
constexpr Integer kResizeAreaHalfWidth = 3;

// The tag's "cellspacing"; 2 when absent or not a number.
Integer ReadCellSpacing(const htmldoc::TpsHtmlTag& aTableTag);
// The tag's "cellpadding"; -1 when absent.
Integer ReadCellPadding(const htmldoc::TpsHtmlTag& aTableTag);

struct TpsColumnBounds {
  Integer Left = 0;
  Integer Right = -1;
  bool operator==(const TpsColumnBounds&) const = default;
};

// One table's columns across its layout passes.
class TpsTableColumns {
 public:
  Integer CellSpacing = kDefaultCellSpacing;
  // Widths of the first row's cells, loaded at each pass.
  htmldoc::TpsColumnWidthList ColumnWidths;
  // Per column, the largest extra width nested content asked for in the
  // current pass (pixel entries).
  htmldoc::TpsColumnWidthList ExtraWidths;
  // One pair per column of the first row, relative to the row.
  std::vector<TpsColumnBounds> Positions;
  // Set for the passes after the first.
  bool UseStoredPositions = false;
  // The width the passes so far added to the table; AdjustWidth adds it.
  Integer ExtraWidth = 0;

  // Before each pass. From the second pass on the stored positions are
  // widened by the extra widths the previous pass recorded (a column's
  // left by those of the columns before it, its right by those up to and
  // including it) and the extra widths are cleared.
  void BeginPass();
  void LoadColumnWidths(htmldoc::TpsDataChunk& aChunk) { ColumnWidths.LoadFromTable(aChunk); }
  Integer PassCount() const { return FPassCount; }

  // Left and right of a column relative to its row. A column the first
  // row's widths (or the stored positions) do not reach, and every column
  // when the first row has no cells, takes the equal share of its own row
  // (aRowCellCount cells) and is not stored.
  void GetColumnBounds(Integer aColumn, Integer aRowCellCount, Integer aRowWidth, Integer& aLeft,
                       Integer& aRight);
  TpsColumnBounds GetColumnBounds(Integer aColumn, Integer aRowCellCount, Integer aRowWidth) {
    TpsColumnBounds b;
    GetColumnBounds(aColumn, aRowCellCount, aRowWidth, b.Left, b.Right);
    return b;
  }
  // Raises the column's extra width to aWidth (entries created with 0).
  void RecordExtraWidth(Integer aColumn, Integer aWidth);
  Integer RecordedExtraWidth() const;
  // After a pass: true when the table is to be laid out again. Another
  // pass runs when this one recorded extra width, unless it was the last
  // allowed pass or (after the first) it recorded at least as much as the
  // pass before it; then this pass's geometry stands.
  bool EndPass();

  // The table's width from the width its parent gives it. aTagWidth is the
  // table tag's width as TpsHtmlTag reads it (negative for a percentage, 0
  // for none).
  Integer AdjustWidth(Integer aGivenWidth, Integer aTagWidth, Integer aHorizontalMargins,
                      Integer aHorizontalBorders) const;

 private:
  Integer FPassCount = 0;
  Integer FPreviousRecorded = 0;
};

// --- Box rules ---

// When the node shows no border (style none or a width of 0) and virtual
// borders are enabled: every 0 width becomes 1, colour and style those of
// the option group; the insets are recomputed.
void ApplyVirtualBorders(TpsDocumentNode& aNode, const TpsVirtualBorders& aOptions);
// The table's padding on all four sides is the cell spacing (its CSS
// padding is never read), then virtual borders.
void ApplyTableBoxRules(TpsDocumentNode& aTable, Integer aCellSpacing, const TpsVirtualBorders& aOptions);

struct TpsCellBoxFacts {
  bool Collapse = false;           // the cell's border-collapse is collapse
  bool LastRow = false;
  bool LastCell = false;
  bool TagStyleSetsPadding = false;  // the "td"/"th" rule names a padding
  Integer TablePadding = -1;         // the table's cellpadding
};
// The cell has no margins; its borders and padding are as loaded from CSS.
// Virtual borders, collapsed borders (inner grid lines only) and the
// table's cell padding, the insets recomputed after each change.
void ApplyCellBoxRules(TpsDocumentNode& aCell, const TpsCellBoxFacts& aFacts, const TpsVirtualBorders& aOptions);
void RecomputeInsets(TpsDocumentNode& aNode);

// --- Column dragging ---

// The x of the boundary between two neighbouring cells.
inline Integer BoundaryX(Integer aRightOfLeftCell, Integer aLeftOfRightCell) {
  return (aRightOfLeftCell + aLeftOfRightCell) / 2;
}
// The x of the table's right edge (its border's middle).
inline Integer TableEdgeX(Integer aAbsoluteRight, Integer aMarginRight, Integer aBorderRight) {
  return aAbsoluteRight - aMarginRight - aBorderRight / 2;
}

// One cell of the first row as the drag limits read it.
struct TpsDragCell {
  Integer AbsoluteLeft = 0;
  Integer AbsoluteRight = 0;
  Integer HorizontalInsets = 0;
  Integer MinContentWidth = 0;
};
// The nearest a boundary may come to the cell's content from its left
// (MinX) and from its right (MaxX).
Integer BoundaryMinX(const TpsDragCell& aCell, Integer aSpacing);
Integer BoundaryMaxX(const TpsDragCell& aCell, Integer aSpacing);

// What the drag limits of one table read.
struct TpsDragLimits {
  std::vector<TpsDragCell> Cells;  // the first row's cells
  Integer Spacing = kDefaultCellSpacing;
  bool TableHasWidth = false;
  bool AllColumnsInPixels = false;
};
// aBoundary 0 .. cells - 2 is the boundary after that column, cells - 1
// the table's right edge.
bool IsValidDragX(const TpsDragLimits& aLimits, Integer aBoundary, Integer aX);

// The state of one drag of a boundary.
class TpsColumnDrag {
 public:
  void Start(Integer aBoundary, const TpsPoint& aPoint);
  // The current point follows; a valid one also becomes the last valid.
  void Move(const TpsPoint& aPoint, bool aValid);
  // Ends the drag: the last valid x less the boundary's x.
  Integer Release(Integer aBoundaryX);
  // Where the bar stands: the current x while valid, else the last valid.
  Integer BarX() const { return FCurrentValid ? Current.X : LastValid.X; }

  bool Dragging = false;
  Integer Boundary = -1;
  Integer Delta = 0;
  TpsPoint Current;
  TpsPoint LastValid;

 private:
  bool FCurrentValid = true;
};

// The transaction that writes a drag's result into the width attributes,
// posted to the root: 530, 550, 415 (marker 1 after the row's opening
// tag), 4680 or 4690, 780, 560, 960, 540.
struct TpsColumnResizeFacts {
  uint32_t RowTagId = 0;
  Integer Boundary = 0;
  Integer CellCount = 0;
  Integer Delta = 0;
  Integer RowWidth = 0;
  Integer TableWidth = 0;
  Integer TableMargins = 0;  // horizontal
  Integer ParentContentWidth = 0;
  Integer Spacing = kDefaultCellSpacing;
};
std::vector<TpsMessagePtr> BuildColumnResizeTransaction(const TpsColumnResizeFacts& aFacts);

}  // namespace htmlview
