// The grid's row nodes and grouping: the model's outline and grouping with
// the grid's settings (CellNode, Grouping, SortSettings, MouseActions), its
// update lock and row selection held around expansions, the view kept on a
// row that still shows, the node glyphs painted in column 0 and their
// clicks with the expand and contract events.
#include <algorithm>

#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace grid {

TRowNodes& TVadOdizadEzev::Nodes() {
  if (!rowNodes_) {
    rowNodes_ = std::make_unique<TRowNodes>(Model());
    TRowNodes& n = *rowNodes_;
    n.EndEdit = [this] {
      if (EditorMode() || editorActive_) HideCellEditor();
    };
    n.InternalMove = [this](bool moving) { internalMove_ = moving; };
    n.BeginExpand = [this] {
      if (expandDepth_++ > 0) return;
      // Row selection and disjunct marks stay out of the way while rows
      // come back; the current and top rows are put back afterwards.
      expandDisjunct_ = mouseActions_->DisjunctRowSelect();
      if (expandDisjunct_) mouseActions_->SetDisjunctRowSelect(false);
      expandRowSelect_ = Options().Contains(vcl::goRowSelect);
      expandRow_ = Row();
      expandTop_ = TopRow();
      if (expandRowSelect_) SetOptions(vcl::TGridOptions(Options()).Exclude(vcl::goRowSelect));
      expandUpdate_ = updateCount_ == 0;
      if (expandUpdate_) BeginUpdate();
    };
    n.EndExpand = [this] {
      if (--expandDepth_ > 0) return;
      if (expandRowSelect_) {
        SetOptions(vcl::TGridOptions(Options()).Include(vcl::goRowSelect));
        if (expandRow_ < RowCount()) SetRow(expandRow_);
        if (expandTop_ < RowCount()) SetTopRow(expandTop_);
      }
      if (expandDisjunct_) mouseActions_->SetDisjunctRowSelect(true);
      if (expandUpdate_) EndUpdate();
    };
    n.FirstNodeAdded = [this] { RepaintColumn(0); };
    n.NodeAdded = [this] {
      if (Col() == 0 && ColCount() > 1) SetCol(1);
    };
    n.Invalidate = [this] { Invalidate(); };
    // Totals over the rows shown change with every row that hides or shows.
    n.FootersChanged = [this] { UpdateFooter(-1); };
  }
  rowNodes_->ExpandOne = cellNode_->ExpandOne;
  return *rowNodes_;
}

TRowGrouping& TVadOdizadEzev::RowGrouping() {
  if (!rowGrouping_) {
    rowGrouping_ = std::make_unique<TRowGrouping>(Model(), Nodes());
    TRowGrouping& g = *rowGrouping_;
    g.BeginUpdate = [this] { BeginUpdate(); };
    g.EndUpdate = [this] { EndUpdate(); };
    g.SortOnColumn = [this](Integer col) {
      sortSettings_->Column = col;
      SortByColumn();
    };
    g.SetCurrentRow = [this](Integer row) {
      if (row < RowCount()) SetCurrentRow(row);
    };
    g.ToRGB = [](TColor c) { return vcl::ColorToRGB(c); };
    g.Invalidate = [this] { Invalidate(); };
  }
  TGroupingOptions& o = rowGrouping_->Options;
  o.HeaderColor = grouping_->HeaderColor;
  o.HeaderColorTo = grouping_->HeaderColorTo;
  o.HeaderTextColor = grouping_->HeaderTextColor;
  o.MergeHeader = grouping_->MergeHeader;
  o.MergeSummary = grouping_->MergeSummary;
  o.Summary = grouping_->Summary;
  o.SummaryColor = grouping_->SummaryColor;
  o.SummaryColorTo = grouping_->SummaryColorTo;
  o.SummaryTextColor = grouping_->SummaryTextColor;
  o.AutoSort = sortSettings_->AutoSortForGrouping;
  Nodes();
  return *rowGrouping_;
}

bool TVadOdizadEzev::HasNodes() { return rowNodes_ && rowNodes_->NodeCount() > 0; }

Integer TVadOdizadEzev::GetNodeIndent(Integer row) {
  if (!HasNodes() || row < 0 || row >= RowCount() || !Model().HasCellProperties(0, row)) return 0;
  return Model().CellProperties(0, row).NodeLevel * cellNode_->NodeIndent();
}

void TVadOdizadEzev::NodesChanged(Integer savedRow, Integer savedTop) {
  RowsRemovedFromView(savedRow, savedTop);
  // The model recalculates while it expands, before a child row goes.
  UpdateFooter(-1);
}

void TVadOdizadEzev::AddNode(Integer realRow, Integer span) {
  Nodes().AddNode(realRow, span);
  Invalidate();
}

void TVadOdizadEzev::AddSummaryRow(Integer realRow) {
  Nodes().AddSummaryRow(realRow);
  Invalidate();
}

void TVadOdizadEzev::RemoveNode(Integer realRow) {
  Nodes().RemoveNode(realRow);
  Invalidate();
}

void TVadOdizadEzev::RemoveAllNodes() { Nodes().RemoveAllNodes(); }

void TVadOdizadEzev::ExpandNode(Integer realRow) {
  const Integer savedRow = Row(), savedTop = TopRow();
  Nodes().ExpandNode(realRow);
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::ContractNode(Integer realRow) {
  const Integer savedRow = Row(), savedTop = TopRow();
  Nodes().ContractNode(realRow);
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::ExpandAll() {
  const Integer savedRow = Row(), savedTop = TopRow();
  Nodes().ExpandAll();
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::ContractAll() {
  const Integer savedRow = Row(), savedTop = TopRow();
  Nodes().ContractAll();
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::InsertChildRow(Integer realRow, bool below) {
  Nodes().InsertChildRow(realRow, below);
  UpdateFooter(-1);
  Invalidate();
}

bool TVadOdizadEzev::RemoveChildRow(Integer realRow) {
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  const bool removed = Nodes().RemoveChildRow(realRow);
  NodesChanged(savedRow, savedTop);
  return removed;
}

void TVadOdizadEzev::InsertRowReal(Integer realRow) {
  Nodes().InsertRowReal(realRow);
  UpdateFooter(-1);
  Invalidate();
}

void TVadOdizadEzev::RemoveRowReal(Integer row) {
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  Nodes().RemoveRowReal(row);
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::Group(Integer col) {
  if (EditorMode() || editorActive_) HideCellEditor();
  RowGrouping().Group(col);
  UpdateFooter(-1);
  Invalidate();
}

void TVadOdizadEzev::UnGroup() {
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  RowGrouping().UnGroup();
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::SubGroup(Integer col) {
  if (EditorMode() || editorActive_) HideCellEditor();
  RowGrouping().SubGroup(col);
  UpdateFooter(-1);
  Invalidate();
}

void TVadOdizadEzev::UnSubGroup(Integer col) {
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  RowGrouping().UnSubGroup(col);
  NodesChanged(savedRow, savedTop);
}

void TVadOdizadEzev::SelectNodeGroup(Integer row) {
  if (!IsNode(row) || GetNodeState(row)) return;
  const Integer span = GetNodeSpan(row);
  Integer end = row + 1;
  if (span > 0) {
    end = row + span;
  } else {
    while (end < RowCount() && !IsNode(end)) ++end;
  }
  end = std::min(end, RowCount() - FixedFooters());
  if (mouseActions_->DisjunctRowSelect()) {
    for (Integer r = row + 1; r < end; ++r)
      SetRowMarked(mouseActions_->RowSelectPersistent ? RealRowIndex(r) : r, true);
    Invalidate();
    return;
  }
  SetSelection({FixedCols(), row, ColCount() - 1, std::max(row, end - 1)});
}

// ===== the glyph =====

namespace {

// How far the glyph reaches right of and starts left of its indent step.
void NodeGlyphOffsets(const TCellNode& node, Integer& right, Integer& left) {
  switch (node.NodeType()) {
    case cnFlat:
    case cnXP: right = 4, left = 4; break;
    case cn3D: right = 6, left = 0; break;
    case cnLeaf: right = 8, left = 2; break;
    case cnGlyph: {
      const vcl::TBitmap* glyph = node.ExpandGlyph();
      const bool empty = glyph == nullptr || glyph->Width() == 0;
      right = empty ? 0 : glyph->Width() / 2;
      left = empty ? 0 : 2;
      break;
    }
  }
}

}  // namespace

bool TVadOdizadEzev::IsNodeClick(Integer row, Integer x) {
  if (!mouseActions_->PreciseNodeClick) return true;
  const Integer level = GetNodeLevel(row);
  const Integer indent = cellNode_->NodeIndent();
  Integer right = 0, left = 0;
  NodeGlyphOffsets(*cellNode_, right, left);
  return left + (level - 1) * indent < x && x < right + level * indent;
}

bool TVadOdizadEzev::NodeClickPress(Integer row, vcl::TShiftState shift, Integer x, Integer y) {
  if (!IsNode(row) || !IsNodeClick(row, x)) return false;
  if (row < FixedRows()) {
    if (!mouseActions_->NodeAllExpandContract) return false;
    TCellGraphic* header = Model().CellGraphic(0, row);
    if (header->CellBoolean)
      ExpandAll();
    else
      ContractAll();
    header->CellBoolean = !header->CellBoolean;
    Invalidate();
    return true;
  }
  if (OnMouseDown) OnMouseDown(this, vcl::mbLeft, shift, x, y);
  if (OnClickCell) OnClickCell(this, row, 0);
  const Integer real = RealRowIndex(row);
  bool allow = true;
  if (GetNodeState(row)) {
    if (OnBeforeExpandNode) OnBeforeExpandNode(this, row, real, allow);
    if (allow) {
      ExpandNode(real);
      if (OnExpandNode) OnExpandNode(this, row, real);
    }
  } else {
    if (OnBeforeContractNode) OnBeforeContractNode(this, row, real, allow);
    if (allow) {
      ContractNode(real);
      if (OnContractNode) OnContractNode(this, row, real);
    }
  }
  if (mouseActions_->MoveRowOnNodeClick && row < RowCount()) SetRow(row);
  Invalidate();
  return true;
}

void TVadOdizadEzev::PaintNodeGlyph(TCanvas* canvas, const TRect& r, Integer row, TGridDrawState state) {
  const TCellNode& node = *cellNode_;
  const Integer indent = node.NodeIndent();
  const Integer l = GetNodeIndent(row);
  const Integer mid = r.Top + (r.Bottom - r.Top) / 2;
  const bool collapsed = GetNodeState(row);
  auto line = [canvas](Integer ax, Integer ay, Integer bx, Integer by) {
    canvas->MoveTo(ax, ay);
    canvas->LineTo(bx, by);
  };
  if (node.ShowTree() && row >= FixedRows()) {
    canvas->Pen()->SetColor(node.TreeColor());
    canvas->Pen()->SetWidth(1);
    const Integer x = l - indent + indent / 2 + 2;
    const bool nextIndented = row + 1 < RowCount() && GetNodeIndent(row + 1) > 0;
    if (nextIndented && !(collapsed && GetNodeIndent(row + 1) < l)) line(x, mid, x, r.Bottom);
    if (row > FixedRows() && GetNodeIndent(row - 1) >= l) line(x, r.Top, x, r.Top + 6);
  }
  const Integer left = l - indent / 2 - 4;
  TColor background = canvas->Brush()->Color();
  if (background == clNone) background = FixedCols() > 0 ? FixedColor() : Color();
  if (state.Contains(vcl::gdSelected) && ShowSelection()) background = selectionColor_;
  if (node.NodeType() == cn3D) {
    canvas->Brush()->SetColor(node.Color);
    canvas->FillRect({left, r.Top, r.Right, r.Bottom});
    canvas->Pen()->SetColor(clWhite);
    line(left, r.Bottom - 1, left, r.Top);
    line(left, r.Top, r.Right - 1, r.Top);
    canvas->Pen()->SetColor(clGray);
    line(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
    line(r.Right - 1, r.Bottom - 1, left, r.Bottom - 1);
  }
  switch (node.NodeType()) {
    case cnLeaf:
      DrawResourceBitmap(canvas, background, {left, mid - 6, left + 12, mid + 6},
                         collapsed ? "VOELEAFCLOSE" : "VOELEAFOPEN");
      return;
    case cnXP:
      DrawResourceBitmap(canvas, background, {left + 4, mid - 5, left + 14, mid + 5}, collapsed ? "XPNODEC" : "XPNODEO");
      return;
    case cnGlyph: {
      vcl::TBitmap* glyph = collapsed ? node.ContractGlyph() : node.ExpandGlyph();
      if (node.ContractGlyph()->Width() > 0 && node.ExpandGlyph()->Width() > 0) {
        const Integer h = glyph->Height();
        DrawTransparentBitmap(canvas, glyph, background,
                              {left, mid - h / 2, left + glyph->Width(), mid - h / 2 + h});
        return;
      }
      break;
    }
    default: break;
  }
  // The 8 x 8 box.
  const TRect box{left + 4, mid - 4, left + 12, mid + 4};
  canvas->Brush()->SetColor(node.Color);
  canvas->FillRect(box);
  if (node.NodeType() == cnFlat) {
    canvas->Pen()->SetColor(node.NodeColor);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->Rectangle(box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1);
    canvas->Brush()->SetStyle(vcl::bsSolid);
    line(box.Left + 1, box.Top + 3, box.Left + 6, box.Top + 3);
    if (collapsed) line(box.Left + 3, box.Top + 1, box.Left + 3, box.Top + 6);
  } else {
    // A soft raised edge when collapsed, sunken when expanded.
    canvas->Pen()->SetColor(collapsed ? clWhite : clGray);
    line(box.Left, box.Bottom - 1, box.Left, box.Top);
    line(box.Left, box.Top, box.Right - 1, box.Top);
    canvas->Pen()->SetColor(collapsed ? clGray : clWhite);
    line(box.Right - 1, box.Top, box.Right - 1, box.Bottom - 1);
    line(box.Right - 1, box.Bottom - 1, box.Left, box.Bottom - 1);
  }
}

}  // namespace grid
