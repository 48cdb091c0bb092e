#pragma once
// The grid's text search: a walk over the cells, column by column or row
// by row, forwards or backwards, from the cell after the last find, with
// the options that narrow the cells walked and the options of the match
// (case, the whole text, its start, wildcard patterns, HTML tags ignored).
#include "grid/model/GridModel.h"

namespace grid {

// The find options, one bit each.
using TFindOptions = Word;
inline constexpr TFindOptions fiMatchCase = 0x0001;
inline constexpr TFindOptions fiMatchFull = 0x0002;
inline constexpr TFindOptions fiWildcards = 0x0004;
inline constexpr TFindOptions fiRowByRow = 0x0008;
inline constexpr TFindOptions fiMatchStart = 0x0010;
inline constexpr TFindOptions fiCurrentRowOnly = 0x0020;
inline constexpr TFindOptions fiCurrentColumnOnly = 0x0040;
inline constexpr TFindOptions fiIncludeFixed = 0x0080;
inline constexpr TFindOptions fiGotoFound = 0x0100;
inline constexpr TFindOptions fiIgnoreHTMLTags = 0x0200;
inline constexpr TFindOptions fiBackward = 0x0400;
inline constexpr TFindOptions fiIncludeHiddenColumns = 0x0800;
inline constexpr TFindOptions fiPresetColumn = 0x1000;
inline constexpr TFindOptions fiPresetRow = 0x2000;
inline constexpr TFindOptions fiSelectionOnly = 0x4000;
inline constexpr TFindOptions fiIncludeHiddenRows = 0x8000;

// What the search asks of the grid.
class TCellSearchHost {
 public:
  virtual ~TCellSearchHost() = default;
  virtual TGridRect Selection() = 0;
  virtual Integer CurrentCol() = 0;
  virtual Integer CurrentRow() = 0;
  // Rows hidden under nodes can be brought back into view.
  virtual bool HasNodes() { return false; }
  virtual void RowScanNotify(Integer stage, Integer row) {}
  // A find with fiGotoFound: the cell becomes current (col a displayed
  // column; row a real row when realRow, hidden or not).
  virtual void GotoFoundCell(Integer col, Integer row, bool realRow) = 0;
};

class TCellFinder {
 public:
  TCellFinder(TGridModel& model, TCellSearchHost& host) : model_(model), host_(host) {}
  // The first cell after from ((-1, -1): from the first cell, itself
  // included) that matches, or (-1, -1); remembered as LastFound. The
  // row-walk hook hears stage 0 before and 2 (nothing) or 4 (found) after.
  TCellCoord FindCell(TCellCoord from, const AnsiString& text, TFindOptions options);
  // The walk itself.
  TCellCoord ScanCells(TCellCoord from, const AnsiString& text, TFindOptions options);
  // The stored search text and options against one cell.
  bool MatchCell(Integer col, Integer row);

  TCellCoord LastFound{-1, -1};
  // The column and row fiPresetColumn and fiPresetRow confine a search to.
  Integer PresetColumn = -1;
  Integer PresetRow = -1;
  TFindOptions Options() const { return options_; }
  // The text searched for, upper-cased unless fiMatchCase.
  const AnsiString& SearchText() const { return searchText_; }

 private:
  bool HiddenRowsSearched() const;
  TGridModel& model_;
  TCellSearchHost& host_;
  TFindOptions options_ = 0;
  AnsiString searchText_;
  AnsiString rawText_;
};

}  // namespace grid
