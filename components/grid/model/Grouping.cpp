#include "grid/model/Grouping.h"

#include <algorithm>

namespace grid {

namespace {

// The value before the first data row: no cell text is expected to equal
// it, so the first row always opens a group.
const AnsiString GroupingSentinel("\xFF\xFE", 2);

}  // namespace

void TRowGrouping::RowColours(Integer row, TColor color, TColor colorTo, TColor textColor, bool convert) {
  auto c = [&](TColor v) { return convert ? Rgb(v) : v; };
  if (color != clNone) model_.SetRowColor(row, c(color));
  if (colorTo != clNone) model_.SetRowColorTo(row, c(colorTo));
  if (textColor != clNone) model_.SetRowFontColor(row, c(textColor));
}

void TRowGrouping::MergedColours(Integer col, Integer row, TColor color, TColor colorTo, TColor textColor,
                                 bool convert) {
  auto c = [&](TColor v) { return convert ? Rgb(v) : v; };
  model_.MergeCells(col, row, model_.ColCount() - col, 1);
  if (color == clNone && colorTo == clNone && textColor == clNone) return;
  TCellProperties& base = model_.CellProperties(col, row);
  if (color != clNone) base.SetBrushColor(c(color));
  if (colorTo != clNone) base.SetBrushColorTo(c(colorTo));
  if (textColor != clNone) base.FontColor = c(textColor);
}

void TRowGrouping::InsertSummary(Integer row, bool convert) {
  model_.InsertRows(row, 1, true);
  nodes_.AddSummaryRow(model_.RealRowIndex(row));
  if (!(Options.MergeSummary && Options.Summary))
    RowColours(row, Options.SummaryColor, Options.SummaryColorTo, Options.SummaryTextColor, convert);
}

void TRowGrouping::ResetRowColours(Integer row, TColor color, TColor colorTo) {
  if (color != clNone) model_.SetRowColor(row, clNone);
  if (colorTo != clNone) model_.SetRowColorTo(row, clNone);
}

void TRowGrouping::Group(Integer col) {
  // Column 0 holds the group nodes: grouping on it would take the nodes
  // away with the column.
  if (col < model_.FixedCols() || col <= 0 || col >= model_.ColCount()) return;
  if (groupedCol_ != -1) UnGroup();
  if (model_.RowCount() - model_.FixedFooters() - model_.FixedRows() <= 0) return;
  if (BeginUpdate) BeginUpdate();
  try {
    groupedCol_ = col;
    groupedWidth_ = model_.ColWidths(col);
    groupedHeader_ = model_.FixedRows() > 0 ? model_.GetRawCell(col, 0) : AnsiString();
    groupedFooter_ = model_.FixedFooters() > 0 ? model_.GetRawCell(col, model_.RowCount() - 1) : AnsiString();
    if (Options.AutoSort && SortOnColumn) SortOnColumn(col);
    const Integer textCol = col == 1 ? 2 : 1;
    const Integer fixedRows = model_.FixedRows();
    AnsiString previous = GroupingSentinel;
    Integer h = -1;
    Integer r = fixedRows;
    while (r <= model_.RowCount() - model_.FixedFooters() - 1) {
      const AnsiString value = model_.GetRawCell(col, r);
      if (value != previous) {
        if (h != -1) {
          // The summary of the group before goes in front of this one's
          // header.
          if (h > fixedRows && Options.Summary) {
            InsertSummary(h, true);
            ++h;
            ++r;
          }
          nodes_.AddNode(model_.RealRowIndex(h), r - h);
        }
        model_.InsertRows(r, 1, true);
        model_.SetRawCell(textCol, r, value);
        if (!Options.MergeHeader)
          RowColours(r, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, true);
        h = r;
        ++r;
      }
      if (r < model_.RowCount() - 1) previous = model_.GetRawCell(col, r);
      ++r;
    }
    if (h != -1) {
      if (h > fixedRows && Options.Summary) {
        InsertSummary(h, true);
        ++h;
        ++r;
      }
      nodes_.AddNode(model_.RealRowIndex(h), r - h);
      if (!Options.MergeHeader)
        RowColours(h, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, false);
    } else {
      nodes_.AddNode(model_.RealRowIndex(fixedRows), r - 1);
    }
    if (Options.Summary) InsertSummary(r, false);
    model_.RemoveCols(col, 1);
    const bool mergeSummary = Options.MergeSummary && Options.Summary;
    if (Options.MergeHeader || mergeSummary) {
      for (Integer c = fixedRows; c < model_.RowCount(); ++c) {
        if (nodes_.IsNode(c) && Options.MergeHeader)
          MergedColours(1, c, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, true);
        else if ((nodes_.IsNode(c + 1) || c == model_.RowCount() - 1) && mergeSummary)
          MergedColours(1, c, Options.SummaryColor, Options.SummaryColorTo, Options.SummaryTextColor, false);
      }
    }
    if (SetCurrentRow) SetCurrentRow(fixedRows);
  } catch (...) {
    if (EndUpdate) EndUpdate();
    throw;
  }
  if (EndUpdate) EndUpdate();
  if (Relayout) Relayout();
}

void TRowGrouping::UnGroup() {
  while (!subGrouped_.empty()) UnSubGroup(subGrouped_.back());
  if (groupedCol_ <= 0) return;
  nodes_.ExpandAll();
  const Integer g = groupedCol_;
  const Integer textCol = g == 1 ? 2 : 1;
  model_.InsertCols(g, 1);
  model_.SetColWidths(g, groupedWidth_);
  if (model_.FixedRows() > 0) model_.SetRawCell(g, 0, groupedHeader_);
  if (model_.FixedFooters() > 0) model_.SetRawCell(g, model_.RowCount() - 1, groupedFooter_);
  const Integer lastCol = model_.ColCount() - 1;
  AnsiString value;
  Integer r = model_.FixedRows();
  while (r <= model_.RowCount() - model_.FixedFooters() - 1) {
    if (!nodes_.IsNode(r)) {
      model_.SetRawCell(g, r, value);
      ++r;
      continue;
    }
    if (Options.Summary) {
      const Integer s = r + nodes_.GetNodeSpan(r);
      if (s < model_.RowCount() && nodes_.IsSummary(s)) {
        if (Options.MergeSummary)
          model_.SplitCells(1, s);
        else
          ResetRowColours(s, Options.SummaryColor, Options.SummaryColorTo);
        model_.ClearRect(0, s, lastCol, s);
        model_.DeleteRowsShift(s, 1);
      }
    }
    value = model_.GetRawCell(textCol, r);
    nodes_.RemoveNode(model_.RealRowIndex(r));
    model_.FreeCellProperties(0, r);
    if (Options.MergeHeader)
      model_.SplitCells(1, r);
    else
      ResetRowColours(r, Options.HeaderColor, Options.HeaderColorTo);
    model_.ClearRect(0, r, lastCol, r);
    model_.DeleteRowsShift(r, 1);
  }
  groupedCol_ = -1;
  if (Invalidate) Invalidate();
}

void TRowGrouping::SubGroup(Integer col) {
  if (col < model_.FixedCols() || col < 0 || col + 1 >= model_.ColCount()) return;
  if (BeginUpdate) BeginUpdate();
  try {
    // The walk sees every row: a collapsed group would keep its rows out
    // of the sub-groups.
    nodes_.ExpandAll();
    const Integer h = col + 1;
    AnsiString previous = GroupingSentinel;
    Integer c = -1;
    Integer r = model_.FixedRows() + 1;
    auto boundary = [&](Integer row) { return nodes_.IsNode(row) || nodes_.IsSummary(row); };
    auto closeSubGroup = [&](Integer header, Integer end, bool convert) {
      nodes_.AddNode(model_.RealRowIndex(header), end - header);
      if (TCellGraphic* g = model_.CellGraphic(0, header)) g->CellVar = col;
      if (!convert) {
        if (Options.MergeHeader)
          MergedColours(h, header, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, false);
        else
          RowColours(header, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, false);
      }
    };
    while (r < model_.RowCount() - model_.FixedFooters()) {
      const AnsiString value = model_.GetDisplayCell(col, r);
      if (value != previous || boundary(r)) {
        if (c != -1 && !boundary(c)) closeSubGroup(c, r, true);
        if (!boundary(r)) {
          nodes_.InsertChildRow(model_.RealRowIndex(r), false);
          model_.SetRawCell(h, r, value);
          if (Options.MergeHeader)
            MergedColours(h, r, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, true);
          else
            RowColours(r, Options.HeaderColor, Options.HeaderColorTo, Options.HeaderTextColor, true);
        }
        c = r;
        ++r;
      }
      if (r < model_.RowCount() && !boundary(r - 1)) {
        previous = model_.GetDisplayCell(col, r);
        model_.SetRawCell(col, r, AnsiString());
        ++r;
      } else {
        previous = GroupingSentinel;
      }
    }
    if (!nodes_.IsSummary(c)) {
      if (c == -1) {
        nodes_.InsertChildRow(model_.RealRowIndex(r), false);
        nodes_.AddNode(model_.RealRowIndex(r), 2);
        if (r + 1 < model_.RowCount()) model_.SetRawCell(h, r, model_.GetRawCell(col, r + 1));
        ++r;
        if (r < model_.RowCount()) model_.SetRawCell(col, r, AnsiString());
      } else {
        closeSubGroup(c, r, false);
      }
      if (r <= model_.RowCount() - 1 && !boundary(r - 1)) {
        model_.SetRawCell(col, r, AnsiString());
        ++r;
      }
      if (Options.Summary) {
        model_.InsertRows(r, 1, true);
        nodes_.AddSummaryRow(model_.RealRowIndex(r));
        if (Options.MergeSummary)
          MergedColours(h, r, Options.SummaryColor, Options.SummaryColorTo, Options.SummaryTextColor, false);
        else
          RowColours(r, Options.SummaryColor, Options.SummaryColorTo, Options.SummaryTextColor, false);
      }
    }
    subGrouped_.push_back(col);
    if (SetCurrentRow) SetCurrentRow(model_.FixedRows());
  } catch (...) {
    if (EndUpdate) EndUpdate();
    throw;
  }
  if (EndUpdate) EndUpdate();
}

void TRowGrouping::UnSubGroup(Integer col) {
  const auto it = std::find(subGrouped_.rbegin(), subGrouped_.rend(), col);
  if (it != subGrouped_.rend()) subGrouped_.erase(std::next(it).base());
  nodes_.ExpandAll();
  // Only rows below a sub-header take its value: rows outside every
  // sub-group (the first data row of an ungrouped grid) and summary rows
  // keep theirs.
  AnsiString value;
  bool inSubGroup = false;
  Integer r = model_.FixedRows();
  while (r <= model_.RowCount() - model_.FixedFooters() - 1) {
    const TCellGraphic* g = nodes_.IsNode(r) ? model_.CellGraphic(0, r) : nullptr;
    if (g != nullptr && g->CellVar == col) {
      // The text written there, without what the display adds (the group
      // count).
      value = col + 1 < model_.ColCount() ? model_.GetRawCell(col + 1, r) : AnsiString();
      inSubGroup = true;
      nodes_.RemoveNode(model_.RealRowIndex(r));
      // The merge begins in the sub-header's text column.
      if (Options.MergeHeader)
        model_.SplitCells(col + 1, r);
      else
        ResetRowColours(r, Options.HeaderColor, Options.HeaderColorTo);
      nodes_.RemoveChildRow(model_.RealRowIndex(r));
    } else if (g != nullptr) {
      inSubGroup = false;
      ++r;
    } else {
      if (inSubGroup && !nodes_.IsSummary(r) && col < model_.ColCount()) model_.SetRawCell(col, r, value);
      ++r;
    }
  }
}

}  // namespace grid
