#include "htmledit/view/psTableLayout.h"

#include <algorithm>

#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/view/psDocumentNode.h"
#include "rtl/Convert.h"

namespace htmlview {

using htmldoc::cwtPercent;
using htmldoc::cwtPixels;

Integer ReadCellSpacing(const htmldoc::TpsHtmlTag& aTableTag) {
  const Integer spacing = aTableTag.GetCellSpacing();
  return spacing < 0 ? kDefaultCellSpacing : spacing;
}

Integer ReadCellPadding(const htmldoc::TpsHtmlTag& aTableTag) { return aTableTag.GetCellPadding(); }

// --- TpsTableColumns ---

void TpsTableColumns::BeginPass() {
  if (FPassCount > 0) {
    UseStoredPositions = true;
    Integer before = 0;
    for (size_t i = 0; i < Positions.size(); ++i) {
      const Integer own = static_cast<Integer>(i) < ExtraWidths.Count() ? ExtraWidths.GetWidth(static_cast<Integer>(i)) : 0;
      Positions[i].Left += before;
      Positions[i].Right += before + own;
      before += own;
    }
    ExtraWidths.Clear();
  }
  ++FPassCount;
}

void TpsTableColumns::GetColumnBounds(Integer aColumn, Integer aRowCellCount, Integer aRowWidth, Integer& aLeft,
                                      Integer& aRight) {
  const Integer n = ColumnWidths.Count();
  const Integer s = CellSpacing;
  if (UseStoredPositions && aColumn < static_cast<Integer>(Positions.size())) {
    aLeft = Positions[static_cast<size_t>(aColumn)].Left;
    aRight = Positions[static_cast<size_t>(aColumn)].Right;
    return;
  }
  // Equal shares of a row of aCount cells, the last ending at the row's
  // right edge.
  auto equalShare = [&](Integer aCount, Integer& aLeftOut, Integer& aWidthOut) {
    const Integer cells = aRowWidth - (aCount - 1) * s;
    const Integer each = cells / aCount;
    aLeftOut = aColumn * (each + s);
    aWidthOut = aCount > 1 && aColumn == aCount - 1 ? aRowWidth - aLeftOut : each;
  };
  Integer left = 0;
  Integer width = 0;
  if (aColumn >= n) {
    // A cell the first row has no column for (a ragged row): its own row
    // is divided among its cells.
    equalShare(std::max(aRowCellCount, aColumn + 1), left, width);
    aLeft = left;
    aRight = left + width - 1;
    return;
  }
  const Byte types = ColumnWidths.GetColumnWidthTypes();
  if (types == (1 << cwtPixels) || types == (1 << cwtPercent)) {
    ColumnWidths.GetColumnPosition(aColumn, s, aRowWidth - (n - 1) * s, left, width);
  } else {
    // Some column without a width, or pixels mixed with percentages.
    equalShare(n, left, width);
  }
  aLeft = left;
  aRight = left + width - 1;
  if (static_cast<Integer>(Positions.size()) < n) Positions.resize(static_cast<size_t>(n));
  Positions[static_cast<size_t>(aColumn)] = {aLeft, aRight};
}

void TpsTableColumns::RecordExtraWidth(Integer aColumn, Integer aWidth) {
  if (aColumn < 0) return;
  while (ExtraWidths.Count() <= aColumn) ExtraWidths.Add(0, cwtPixels);
  if (ExtraWidths.GetWidth(aColumn) < aWidth) ExtraWidths.SetWidth(aColumn, aWidth);
}

Integer TpsTableColumns::RecordedExtraWidth() const { return ExtraWidths.SumWidths(1 << cwtPixels); }

bool TpsTableColumns::EndPass() {
  const Integer recorded = RecordedExtraWidth();
  if (recorded == 0) return false;
  // A request that does not shrink from one pass to the next would never
  // be met (a nested table at 100 % with margins asks for them again on
  // every pass), and the pass count is bounded besides.
  if (FPassCount >= kMaxTablePasses || (FPassCount > 1 && recorded >= FPreviousRecorded)) return false;
  FPreviousRecorded = recorded;
  ExtraWidth += recorded;
  return true;
}

Integer TpsTableColumns::AdjustWidth(Integer aGivenWidth, Integer aTagWidth, Integer aHorizontalMargins,
                                     Integer aHorizontalBorders) const {
  Integer width = aGivenWidth;
  const Integer n = ColumnWidths.Count();
  if (aTagWidth < 0) {
    width = aHorizontalMargins + static_cast<Integer>(rtl::Round(-aTagWidth / 100.0 * aGivenWidth));
  } else if (aTagWidth > 0) {
    width = aTagWidth + aHorizontalMargins;
  } else if (n > 0 && ColumnWidths.AllOfType(cwtPixels)) {
    width = aHorizontalMargins + aHorizontalBorders + CellSpacing * (n + 1) + ColumnWidths.SumWidths(1 << cwtPixels) +
            2 * n;
  }
  return width + ExtraWidth;
}

// --- Box rules ---

void RecomputeInsets(TpsDocumentNode& aNode) {
  aNode.InsetLeft = aNode.MarginLeft + aNode.BorderLeft + aNode.Padding.Left;
  aNode.InsetTop = aNode.MarginTop + aNode.BorderTop + aNode.Padding.Top;
  aNode.InsetRight = aNode.MarginRight + aNode.BorderRight + aNode.Padding.Right;
  aNode.InsetBottom = aNode.MarginBottom + aNode.BorderBottom + aNode.Padding.Bottom;
}

void ApplyVirtualBorders(TpsDocumentNode& aNode, const TpsVirtualBorders& aOptions) {
  if (!aOptions.Enabled) return;
  Integer* widths[] = {&aNode.BorderLeft, &aNode.BorderTop, &aNode.BorderRight, &aNode.BorderBottom};
  bool anyZero = false;
  for (Integer* w : widths) anyZero = anyZero || *w == 0;
  if (aNode.BorderStyle != 1 && !anyZero) return;
  for (Integer* w : widths)
    if (*w == 0) *w = 1;
  aNode.BorderColor = aOptions.Color;
  aNode.BorderStyle = static_cast<Integer>(aOptions.Style) + 1;
  RecomputeInsets(aNode);
}

void ApplyTableBoxRules(TpsDocumentNode& aTable, Integer aCellSpacing, const TpsVirtualBorders& aOptions) {
  const Integer p = std::max<Integer>(aCellSpacing, 0);
  aTable.Padding = {p, p, p, p};
  RecomputeInsets(aTable);
  ApplyVirtualBorders(aTable, aOptions);
}

void ApplyCellBoxRules(TpsDocumentNode& aCell, const TpsCellBoxFacts& aFacts, const TpsVirtualBorders& aOptions) {
  aCell.MarginLeft = aCell.MarginTop = aCell.MarginRight = aCell.MarginBottom = 0;
  RecomputeInsets(aCell);
  ApplyVirtualBorders(aCell, aOptions);
  if (aFacts.Collapse) {
    aCell.BorderTop = 0;
    aCell.BorderLeft = 0;
    if (aFacts.LastRow) aCell.BorderBottom = 0;
    if (aFacts.LastCell) aCell.BorderRight = 0;
    RecomputeInsets(aCell);
  }
  if (!aFacts.TagStyleSetsPadding && aFacts.TablePadding > 0) {
    const Integer p = aFacts.TablePadding;
    aCell.Padding = {p, p, p, p};
    RecomputeInsets(aCell);
  }
}

// --- Column dragging ---

Integer BoundaryMinX(const TpsDragCell& aCell, Integer aSpacing) {
  return aCell.AbsoluteLeft + aCell.HorizontalInsets + aCell.MinContentWidth + aSpacing / 2 + 1;
}

Integer BoundaryMaxX(const TpsDragCell& aCell, Integer aSpacing) {
  return aCell.AbsoluteRight - aCell.HorizontalInsets - aCell.MinContentWidth - aSpacing / 2 - 1;
}

bool IsValidDragX(const TpsDragLimits& aLimits, Integer aBoundary, Integer aX) {
  const Integer cells = static_cast<Integer>(aLimits.Cells.size());
  if (cells == 0 || aBoundary < 0 || aBoundary > cells - 1) return false;
  if (aBoundary == cells - 1) {
    if (aLimits.TableHasWidth || !aLimits.AllColumnsInPixels) return true;
    return aX >= BoundaryMinX(aLimits.Cells.back(), aLimits.Spacing);
  }
  const auto k = static_cast<size_t>(aBoundary);
  return aX >= BoundaryMinX(aLimits.Cells[k], aLimits.Spacing) &&
         aX <= BoundaryMaxX(aLimits.Cells[k + 1], aLimits.Spacing);
}

void TpsColumnDrag::Start(Integer aBoundary, const TpsPoint& aPoint) {
  Dragging = true;
  Boundary = aBoundary;
  Delta = 0;
  Current = aPoint;
  LastValid = aPoint;
  FCurrentValid = true;
}

void TpsColumnDrag::Move(const TpsPoint& aPoint, bool aValid) {
  Current = aPoint;
  FCurrentValid = aValid;
  if (aValid) LastValid = aPoint;
}

Integer TpsColumnDrag::Release(Integer aBoundaryX) {
  Dragging = false;
  Delta = LastValid.X - aBoundaryX;
  return Delta;
}

std::vector<TpsMessagePtr> BuildColumnResizeTransaction(const TpsColumnResizeFacts& aFacts) {
  std::vector<TpsMessagePtr> queue;
  auto toRoot = [&](Integer aId) -> TpsMessage& {
    queue.push_back(TpsMessage::CreateToRoot(mrCommand, aId, true));
    return *queue.back();
  };
  toRoot(psmBeginEdit);
  toRoot(psmExtractChunk);
  TpsMessage& marker = toRoot(psmInsertMarkerAtElement);
  marker.SetParam(1, 1);
  marker.ElementId = aFacts.RowTagId;
  marker.Result = true;
  if (aFacts.Boundary < aFacts.CellCount - 1) {
    TpsMessage& m = toRoot(psmTableResizeColumn);
    m.SetParam(1, 1);
    m.Value = aFacts.Boundary;
    m.Value2 = aFacts.Delta;
    // Rows have no margins: the cells share the row less the spacings.
    m.Value3 = aFacts.RowWidth - aFacts.Spacing * (aFacts.CellCount - 1);
  } else {
    TpsMessage& m = toRoot(psmTableResize);
    m.SetParam(1, 1);
    m.Value = aFacts.Delta;
    m.Value2 = aFacts.TableWidth;
    m.Value3 = aFacts.TableMargins;
    m.Value4 = aFacts.ParentContentWidth;
  }
  toRoot(psmRemoveMarker).SetParam(1, 1);
  toRoot(psmRelayout);
  toRoot(psmDocumentChanged);
  toRoot(psmEndEdit);
  return queue;
}

}  // namespace htmlview
