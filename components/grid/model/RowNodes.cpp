#include "grid/model/RowNodes.h"

#include <algorithm>
#include <limits>
#include <set>
#include <vector>

namespace grid {

// ===== queries =====

TCellType TRowNodes::TypeAt(Integer row) const {
  if (row < 0 || row >= model_.RowCount() || model_.ColCount() == 0) return ctNone;
  const TCellProperties* props = model_.GetRawObject(0, row);
  if (props == nullptr || props->Graphic() == nullptr) return ctNone;
  return props->Graphic()->CellType;
}

TCellGraphic* TRowNodes::NodeGraphic(Integer row) const {
  return TypeAt(row) == ctNode ? model_.GetRawObject(0, row)->Graphic() : nullptr;
}

bool TRowNodes::IsNode(Integer row) const { return TypeAt(row) == ctNode; }

bool TRowNodes::IsSummary(Integer row) const { return TypeAt(row) == ctSummary; }

bool TRowNodes::GetNodeState(Integer row) const {
  const TCellGraphic* g = NodeGraphic(row);
  return g != nullptr && g->CellBoolean;
}

Integer TRowNodes::RowLevel(Integer row) const {
  if (row < 0 || row >= model_.RowCount()) return 0;
  const TCellProperties* props = model_.GetRawObject(0, row);
  return props == nullptr ? 0 : props->NodeLevel;
}

Integer TRowNodes::GetNodeLevel(Integer row) const { return IsNode(row) ? RowLevel(row) : -1; }

Integer TRowNodes::GetNodeSpan(Integer row) const {
  const TCellGraphic* g = NodeGraphic(row);
  return g == nullptr ? -1 : g->CellIndex;
}

Integer TRowNodes::GetNodeInsertedCount(Integer row) const {
  const TCellGraphic* g = NodeGraphic(row);
  return g == nullptr ? 0 : g->CellErrFrom;
}

Integer TRowNodes::GetParentNode(Integer row) const {
  if (nodeCount_ == 0) return -1;
  Integer level = std::numeric_limits<Integer>::max();
  Integer answer = -1;
  if (IsNode(row)) {
    level = GetNodeLevel(row);
    answer = row;
  }
  Integer hiddenBelow = 0;
  for (Integer i = std::min(row, model_.RowCount() - 1); i >= model_.FixedRows(); --i) {
    if (!IsNode(i) || GetNodeLevel(i) >= level) continue;
    const Integer span = GetNodeSpan(i);
    if (GetNodeState(i)) hiddenBelow += span - 1;
    if (row < i + span - hiddenBelow) return i;
  }
  return answer;
}

Integer TRowNodes::GetTreeLineKind(Integer row) const {
  if (IsNode(row)) return 0;
  if (row >= model_.RowCount() - model_.FixedFooters() - 1) return 1;
  if (model_.GetRawObject(0, row + 1) == nullptr) return 1;
  return RowLevel(row + 1) >= RowLevel(row) ? 2 : 1;
}

Integer TRowNodes::NextNodeRow(Integer row) const {
  for (Integer i = row + 1; i < model_.RowCount(); ++i)
    if (IsNode(i)) return i;
  return model_.RowCount();
}

// ===== changes =====

void TRowNodes::ChangeLevels(Integer row, Integer span, Integer delta) {
  const Integer end = std::min(row + span, model_.RowCount());
  for (Integer r = std::max(row, 0); r < end; ++r) {
    if (delta < 0 && model_.GetRawObject(0, r) == nullptr) continue;
    model_.CellProperties(0, r).NodeLevel += delta;
  }
}

void TRowNodes::AddNode(Integer realRow, Integer span) {
  const Integer r = model_.DisplRowIndex(realRow);
  if (r < 0 || r >= model_.RowCount()) return;
  auto g = std::make_unique<TCellGraphic>();
  g->CellType = ctNode;
  g->CellAngle = r;
  g->CellBoolean = false;
  g->CellIndex = span;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = vaCenter;
  g->CellErrFrom = 0;
  g->CellVar = -1;
  model_.SetCellGraphic(0, r, std::move(g));
  ChangeLevels(r, span, 1);
  if (nodeCount_ == 0 && FirstNodeAdded) FirstNodeAdded();
  ++nodeCount_;
  if (NodeAdded) NodeAdded();
}

void TRowNodes::AddSummaryRow(Integer realRow) {
  const Integer r = model_.DisplRowIndex(realRow);
  if (r < 0 || r >= model_.RowCount()) return;
  auto g = std::make_unique<TCellGraphic>();
  g->CellType = ctSummary;
  model_.SetCellGraphic(0, r, std::move(g));
}

void TRowNodes::RemoveNode(Integer realRow) {
  ExpandCore(realRow);
  const Integer r = model_.DisplRowIndex(realRow);
  if (!IsNode(r)) return;
  ChangeLevels(r, GetNodeSpan(r), -1);
  model_.SetCellGraphic(0, r, nullptr);
  if (nodeCount_ > 0) --nodeCount_;
}

void TRowNodes::RemoveAllNodes() {
  for (Integer i = 0; i < model_.RowCount(); ++i) {
    if (!IsNode(i)) continue;
    // Without the one-expanded rule: the nodes still to come are removed
    // anyway, collapsing them first would only move their rows twice.
    ExpandCore(model_.RealRowIndex(i));
    ChangeLevels(i, GetNodeSpan(i), -1);
    model_.SetCellGraphic(0, i, nullptr);
    if (nodeCount_ > 0) --nodeCount_;
  }
  if (Invalidate) Invalidate();
}

void TRowNodes::ExpandCore(Integer realRow) {
  const Integer r = model_.DisplRowIndex(realRow);
  TCellGraphic* g = NodeGraphic(r);
  if (g == nullptr || !g->CellBoolean) return;
  g->CellBoolean = false;
  const Integer e = g->CellIndex != 0 ? r + 1 : NextNodeRow(r);
  if (BeginExpand) BeginExpand();
  model_.UnHideRows(model_.RealRowIndex(r) + 1, model_.RealRowIndex(e) - 1);
  if (EndExpand) EndExpand();
  if (FootersChanged) FootersChanged();
}

void TRowNodes::ExpandNode(Integer realRow) {
  if (ExpandOne) {
    // The node's own ancestors stay expanded: collapsing them would hide
    // the node being expanded.
    std::set<Integer> keep{realRow};
    Integer a = model_.DisplRowIndex(realRow);
    for (;;) {
      const Integer p = GetParentNode(a);
      if (p < 0 || p == a) break;
      keep.insert(model_.RealRowIndex(p));
      a = p;
    }
    for (Integer i = model_.FixedRows(); i < model_.RowCount(); ++i)
      if (IsNode(i) && !GetNodeState(i) && keep.count(model_.RealRowIndex(i)) == 0)
        ContractNode(model_.RealRowIndex(i));
  }
  ExpandCore(realRow);
}

void TRowNodes::ContractNode(Integer realRow) {
  if (EndEdit) EndEdit();
  if (InternalMove) InternalMove(true);
  const Integer r = model_.DisplRowIndex(realRow);
  TCellGraphic* g = NodeGraphic(r);
  if (g == nullptr || g->CellBoolean) {
    if (InternalMove) InternalMove(false);
    return;
  }
  g->CellBoolean = true;
  Integer e = g->CellIndex > 0 ? r + g->CellIndex : NextNodeRow(r);
  Integer s = r + 1, i = r + 1;
  while (i < std::min(e, model_.RowCount())) {
    TCellGraphic* inner = NodeGraphic(i);
    if (inner != nullptr && inner->CellBoolean) {
      // Its children are hidden already; it shows expanded when this node
      // opens again, with everything inside.
      inner->CellBoolean = false;
      if (HideCellControl && i + 1 < model_.RowCount()) HideCellControl(1, i + 1);
      model_.HideRows(model_.RealRowIndex(s), model_.RealRowIndex(i));
      e = e - inner->CellIndex - (i - s);
      i = s;
    } else {
      ++i;
    }
  }
  if (s <= i - 1) model_.HideRows(model_.RealRowIndex(s), model_.RealRowIndex(i - 1));
  if (InternalMove) InternalMove(false);
  if (FootersChanged) FootersChanged();
}

void TRowNodes::ExpandAll() {
  if (BeginExpand) BeginExpand();
  const Integer bound = model_.RowCount() + model_.NumHiddenRows();
  for (Integer b = model_.FixedRows(); b < bound && b < model_.RowCount(); ++b) {
    if (!IsNode(b)) continue;
    // Without the one-expanded rule, which would collapse the others again.
    ExpandCore(model_.RealRowIndex(b));
    if (TCellGraphic* g = NodeGraphic(b)) g->CellBoolean = false;
  }
  if (EndExpand) EndExpand();
  if (FootersChanged) FootersChanged();
}

void TRowNodes::ContractAll() {
  if (BeginExpand) BeginExpand();
  ExpandAll();
  std::vector<Integer> rows;
  Integer a = model_.FixedRows();
  while (a < model_.RowCount()) {
    TCellGraphic* g = NodeGraphic(a);
    if (g == nullptr) {
      ++a;
      continue;
    }
    g->CellBoolean = true;
    const Integer end = g->CellIndex > 0 ? std::min(a + g->CellIndex, model_.RowCount()) : NextNodeRow(a);
    for (Integer r = a + 1; r < end; ++r) rows.push_back(r);
    a = std::max(end, a + 1);
  }
  model_.HideRowList(rows);
  if (EndExpand) EndExpand();
  if (FootersChanged) FootersChanged();
}

void TRowNodes::AdjustNodeSpan(Integer row, Integer delta) {
  if (TCellGraphic* g = NodeGraphic(row)) g->CellIndex += delta;
}

void TRowNodes::AdjustNodeInsertedCount(Integer row, Integer delta) {
  if (TCellGraphic* g = NodeGraphic(row)) g->CellErrFrom += delta;
}

void TRowNodes::InsertChildRow(Integer realRow, bool below) {
  // A node row itself encloses the row put beside it (its first child);
  // only a plain row looks for the node around it. The enclosing nodes
  // grow first and are opened afterwards from the outermost in. These
  // openings, as those of RemoveChildRow, only make room: they collapse no
  // other node even with ExpandOne (grouping walks the rows while it adds
  // and removes child rows).
  Integer r = model_.DisplRowIndex(realRow);
  const Integer p = IsNode(r) ? r : GetParentNode(r);
  const bool enclosed = IsNode(p);
  Integer level = 1;
  if (enclosed) {
    std::vector<Integer> chain{model_.RealRowIndex(p)};
    AdjustNodeSpan(p, 1);
    AdjustNodeInsertedCount(p, 1);
    level = RowLevel(p);
    Integer a = p, e = level;
    while (e > 1 && a >= model_.FixedRows()) {
      const Integer outer = GetParentNode(a);
      if (outer < 0 || outer == a) break;
      a = outer;
      if (GetNodeLevel(a) < e) {
        AdjustNodeSpan(a, 1);
        AdjustNodeInsertedCount(a, 1);
        chain.push_back(model_.RealRowIndex(a));
        e = GetNodeLevel(a);
      }
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) ExpandCore(*it);
  }
  r = model_.DisplRowIndex(realRow);
  bool moveContent = false;
  if (IsNode(r) && !below) {
    below = true;
    moveContent = true;
  }
  const Integer at = r + (below ? 1 : 0);
  // The store renumbers the hidden rows after the new row only.
  model_.InsertRows(at, 1, true);
  if (moveContent) {
    for (Integer c = 1; c < model_.ColCount(); ++c) {
      model_.SetRawCell(c, r + 1, model_.GetRawCell(c, r));
      model_.SetRawCell(c, r, AnsiString());
      if (void* object = model_.GetCellObject(c, r)) {
        model_.SetCellObject(c, r + 1, object);
        model_.SetCellObject(c, r, nullptr);
      }
    }
  }
  if (enclosed) model_.CellProperties(0, at).NodeLevel = level;
}

bool TRowNodes::RemoveChildRow(Integer realRow) {
  const Integer r = model_.DisplRowIndex(realRow);
  if (r < 0 || r >= model_.RowCount()) return false;
  Integer p = GetParentNode(r);
  if (IsNode(p)) {
    const Integer level = GetNodeLevel(p);
    if (GetNodeSpan(p) > 1) {
      AdjustNodeSpan(p, -1);
      AdjustNodeInsertedCount(p, -1);
    }
    for (;;) {
      const Integer pReal = model_.RealRowIndex(p);
      ExpandCore(pReal);
      p = model_.DisplRowIndex(pReal);
      if (GetNodeLevel(p) <= 1) break;
      const Integer outer = GetParentNode(p);
      if (outer < 0 || outer == p || GetNodeLevel(outer) >= level) break;
      p = outer;
      if (GetNodeSpan(p) > 1) {
        AdjustNodeSpan(p, -1);
        AdjustNodeInsertedCount(p, -1);
      }
    }
  }
  const Integer row = model_.DisplRowIndex(realRow);
  const Integer before = model_.RowCount();
  model_.RemoveRows(row, 1);
  return model_.RowCount() < before;
}

void TRowNodes::InsertRowReal(Integer realRow) { model_.InsertRows(model_.DisplRowIndex(realRow), 1, true); }

void TRowNodes::RemoveRowReal(Integer row) { model_.RemoveRows(row, 1); }

}  // namespace grid
