#pragma once
// The floating footer's arithmetic: column totals over a range of rows
// (hidden rows addressed by their real numbers), the footer row's cells
// recalculated by the kind their properties carry, and the preview
// template whose "<#n>" tags stand for cells of the current row.
#include <functional>
#include <string_view>

#include "grid/model/GridModel.h"

namespace grid {

// The calculation a footer cell carries in its properties' CalcType; the
// byte's high bit is not part of it (6 is unused).
enum class TFooterCalc : Byte { fcNone = 0, fcSum = 1, fcAvg = 2, fcCount = 3, fcMin = 4, fcMax = 5, fcCustom = 7 };
using enum TFooterCalc;
TFooterCalc FooterCalcOf(Byte calcType);

// The stages the row-walk hook reports: a walk starts (with its first
// row), a cell is about to be tested, the walk ended without a find (-1),
// it found a cell, a row was counted.
inline constexpr Integer RowScanStart = 0;
inline constexpr Integer RowScanCell = 1;
inline constexpr Integer RowScanEnd = 2;
inline constexpr Integer RowScanFound = 4;
inline constexpr Integer RowScanRow = 5;

// What the totals need to know of the footer's settings.
struct TFooterState {
  bool Visible = false;             // the floating footer shows
  bool FixedLastRow = true;         // its style shows the grid's last row
  bool CalculateHiddenRows = true;  // hidden rows count
  bool Calculating = true;          // off: nothing is recalculated
};

class TFooterTotals {
 public:
  explicit TFooterTotals(TGridModel& model) : model_(model) {}
  TFooterState State;
  // Whether the rows are grouped: node and summary rows then do not count.
  std::function<bool()> Grouped;
  std::function<void(Integer stage, Integer row)> RowScanNotify;
  // The custom total of a footer cell (kind 7), value starting empty;
  // False when nobody answers, which empties the cell.
  std::function<bool(Integer col, Integer row, AnsiString& value)> CustomCalc;

  // Over rows fromRow..toRow. When toRow reaches past the shown data rows
  // (into the footer row, or past the last row without a footer) the rows
  // are real rows, hidden ones included. Cells whose text is not a number
  // are skipped, as are node and summary rows of a grouped grid and cells
  // covered by a merge.
  double ColumnSum(Integer col, Integer fromRow, Integer toRow);
  // The sum over the number of rows in the range; 0 for an empty range.
  double ColumnAvg(Integer col, Integer fromRow, Integer toRow);
  // The smallest (largest) counted value; 0 when none counts.
  double ColumnMin(Integer col, Integer fromRow, Integer toRow);
  double ColumnMax(Integer col, Integer fromRow, Integer toRow);
  // The footer cell of the column (every column for -1) from its kind;
  // only while the footer shows the last row and calculating is on.
  void CalcFooter(Integer col);

 private:
  // Calls visit(value) for each counted value of the range.
  void Walk(Integer col, Integer fromRow, Integer toRow, const std::function<void(double)>& visit);
  TGridModel& model_;
};

// The template with each "<#n>" replaced by cellText(n) for a number n, or
// by nothing when the inside does not read as one. A "<#" without a later
// ">" ends the replacing; the rest stays as text.
AnsiString ExpandFooterTemplate(std::string_view templateText, const std::function<AnsiString(Integer col)>& cellText);

}  // namespace grid
