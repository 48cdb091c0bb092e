#include "grid/model/Search.h"

#include <algorithm>

#include "grid/model/FilterCondition.h"
#include "grid/model/Footer.h"
#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "rtl/CodePages.h"
#include "rtl/Strings.h"

namespace grid {

bool TCellFinder::HiddenRowsSearched() const {
  // Hidden rows can only be reached when nodes can show them again.
  return (options_ & fiIncludeHiddenRows) != 0 && host_.HasNodes();
}

TCellCoord TCellFinder::FindCell(TCellCoord from, const AnsiString& text, TFindOptions options) {
  host_.RowScanNotify(RowScanStart, from.Y);
  const TCellCoord found = ScanCells(from, text, options);
  LastFound = found;
  host_.RowScanNotify(found.X < 0 ? RowScanEnd : RowScanFound, found.Y);
  return found;
}

TCellCoord TCellFinder::ScanCells(TCellCoord from, const AnsiString& text, TFindOptions options) {
  constexpr TCellCoord none{-1, -1};
  LastFound = none;
  options_ = options;
  rawText_ = text;
  searchText_ = (options & fiMatchCase) ? text : rtl::AnsiUpperCase(text);
  const TGridModel& m = model_;
  if (m.ColCount() == 0 || m.ColCount() == m.FixedCols() || m.RowCount() == 0 || m.RowCount() == m.FixedRows())
    return none;

  Integer c1, c2, r1, r2;
  if (options & fiIncludeFixed) {
    c1 = 0, c2 = m.ColCount() - 1, r1 = 0, r2 = m.RowCount() - 1;
  } else {
    c1 = m.FixedCols(), c2 = m.ColCount() - m.FixedRightCols() - 1;
    r1 = m.FixedRows(), r2 = m.RowCount() - m.FixedFooters() - 1;
  }
  if (options & fiSelectionOnly) {
    const TGridRect s = host_.Selection();
    c1 = s.Left, c2 = s.Right, r1 = s.Top, r2 = s.Bottom;
  }
  if (options & fiIncludeHiddenColumns) c2 += m.NumHiddenColumns();
  if (HiddenRowsSearched()) r2 += m.NumHiddenRows();
  if (options & fiCurrentRowOnly) r1 = r2 = host_.CurrentRow();
  if (options & fiPresetRow) r1 = r2 = PresetRow;
  if (options & fiCurrentColumnOnly) c1 = c2 = host_.CurrentCol();
  if (options & fiPresetColumn) c1 = c2 = PresetColumn;
  if (c1 > c2 || r1 > r2) return none;

  const bool rowByRow = (options & fiRowByRow) != 0;
  const bool backward = (options & fiBackward) != 0;
  Integer sc, sr;
  const bool inside = from.X >= c1 && from.X <= c2 && from.Y >= r1 && from.Y <= r2;
  if (!inside) {
    // (-1, -1), or a cell the bounds no longer hold: from the first cell.
    sc = backward ? c2 : c1;
    sr = backward ? r2 : r1;
  } else if (rowByRow) {
    const Integer next = from.X + (backward ? -1 : 1);
    if (next >= c1 && next <= c2) {
      sc = next, sr = from.Y;
    } else {
      sc = backward ? c2 : c1;
      sr = from.Y + (backward ? -1 : 1);
    }
  } else {
    const Integer next = from.Y + (backward ? -1 : 1);
    if (next >= r1 && next <= r2) {
      sc = from.X, sr = next;
    } else {
      sc = from.X + (backward ? -1 : 1);
      sr = backward ? r2 : r1;
    }
  }

  const Integer step = backward ? -1 : 1;
  auto within = [](Integer v, Integer lo, Integer hi) { return v >= lo && v <= hi; };
  auto test = [&](Integer c, Integer r) {
    host_.RowScanNotify(RowScanCell, r);
    return MatchCell(c, r);
  };
  TCellCoord found = none;
  if (rowByRow) {
    for (Integer r = sr; within(r, r1, r2) && found.X < 0; r += step) {
      for (Integer c = (r == sr ? sc : (backward ? c2 : c1)); within(c, c1, c2); c += step)
        if (test(c, r)) {
          found = {c, r};
          break;
        }
    }
  } else {
    for (Integer c = sc; within(c, c1, c2) && found.X < 0; c += step) {
      for (Integer r = (c == sc ? sr : (backward ? r2 : r1)); within(r, r1, r2); r += step)
        if (test(c, r)) {
          found = {c, r};
          break;
        }
    }
  }
  if (found.X >= 0 && (options & fiGotoFound)) host_.GotoFoundCell(found.X, found.Y, HiddenRowsSearched());
  return found;
}

bool TCellFinder::MatchCell(Integer col, Integer row) {
  if (!(options_ & fiIncludeHiddenColumns)) col = model_.RealColIndex(col);
  AnsiString text = HiddenRowsSearched() ? model_.RealCells(col, row) : model_.GetDisplayCell(col, row);
  if (text.starts_with("|\\")) text = rtl::WideToUtf8(DecodeWideText(text));
  if (options_ & fiIgnoreHTMLTags) text = StripHTML(text);
  if (rawText_ == "\"\"") return text.empty();
  if (options_ & fiWildcards) return MatchFilterExpression(rawText_, text, (options_ & fiMatchCase) != 0);
  if (!(options_ & fiMatchCase)) text = rtl::AnsiUpperCase(text);
  if (searchText_.empty()) return false;
  const Integer p = rtl::Pos(searchText_, text);
  if ((options_ & fiMatchStart) ? p != 1 : p <= 0) return false;
  if ((options_ & fiMatchFull) && text != searchText_) return false;
  return true;
}

}  // namespace grid
