#pragma once
// Grouping: rows with equal adjacent values in a column gathered under
// header rows that carry a node (RowNodes.h) and show the value, the
// grouped column taken out while grouped; optional summary rows after each
// group; headers and summaries coloured or merged across the row. A second
// level splits each group again on another column, whose values move into
// sub-header rows. Ungrouping gives back the column, its width and fixed
// texts, and every row its value.
#include <functional>
#include <vector>

#include "grid/model/GridModel.h"
#include "grid/model/RowNodes.h"

namespace grid {

// The grouping settings the operations read (the grid copies its
// Grouping object's values in before each call).
struct TGroupingOptions {
  TColor HeaderColor = clNone;
  TColor HeaderColorTo = clNone;
  TColor HeaderTextColor = clNone;
  bool MergeHeader = false;
  bool MergeSummary = false;
  bool Summary = false;
  TColor SummaryColor = clNone;
  TColor SummaryColorTo = clNone;
  TColor SummaryTextColor = clNone;
  // Sort the rows on the grouped column first.
  bool AutoSort = false;
};

class TRowGrouping {
 public:
  TRowGrouping(TGridModel& model, TRowNodes& nodes) : model_(model), nodes_(nodes) {}

  TGroupingOptions Options;
  // What the grid around does: the update lock, the sort on a column, the
  // current row after a change, the layout of the search footer, a system
  // colour read as RGB (identity when unset).
  std::function<void()> BeginUpdate;
  std::function<void()> EndUpdate;
  std::function<void(Integer col)> SortOnColumn;
  std::function<void(Integer row)> SetCurrentRow;
  std::function<void()> Relayout;
  std::function<TColor(TColor)> ToRGB;
  std::function<void()> Invalidate;

  // Groups on the column (nothing for a fixed column or column 0, whose
  // cells hold the group nodes); a grouped grid is ungrouped first.
  void Group(Integer col);
  // Undoes the sub-groupings, newest first, then the grouping.
  void UnGroup();
  // Each group split again on the column; its values move into sub-header
  // rows one column to the right (nothing for a fixed column or the last
  // column, which has no column beside it).
  void SubGroup(Integer col);
  void UnSubGroup(Integer col);

  // -1 while not grouped.
  Integer GroupedColumn() const { return groupedCol_; }
  const std::vector<Integer>& SubGroupedColumns() const { return subGrouped_; }

 private:
  TColor Rgb(TColor c) const { return c == clNone || !ToRGB ? c : ToRGB(c); }
  void RowColours(Integer row, TColor color, TColor colorTo, TColor textColor, bool convert);
  void MergedColours(Integer col, Integer row, TColor color, TColor colorTo, TColor textColor, bool convert);
  void InsertSummary(Integer row, bool convert);
  void ResetRowColours(Integer row, TColor color, TColor colorTo);

  TGridModel& model_;
  TRowNodes& nodes_;
  Integer groupedCol_ = -1;
  Integer groupedWidth_ = 0;
  AnsiString groupedHeader_;
  AnsiString groupedFooter_;
  std::vector<Integer> subGrouped_;
};

}  // namespace grid
