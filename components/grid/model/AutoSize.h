#pragma once
// Sizing columns and rows to their contents: the limits every result
// passes through, the text margins counted, and the row heights of a grid
// without word wrap, measured through the model's TextMeasurer so that a
// dialog's grid sizes its rows without a window as painting would.
#include "grid/model/GridEnvironment.h"
#include "grid/model/GridModel.h"

namespace grid {

struct TSizeLimits {
  // 0: no limit; a minimum equal to its maximum: no limits at all.
  Integer MinColWidth = 0;
  Integer MaxColWidth = 0;
  Integer MinRowHeight = 0;
  Integer MaxRowHeight = 0;
  Integer ClampWidth(Integer width) const { return Clamp(width, MinColWidth, MaxColWidth); }
  Integer ClampHeight(Integer height) const { return Clamp(height, MinRowHeight, MaxRowHeight); }
  static Integer Clamp(Integer value, Integer min, Integer max);
};

struct TAutoSizeSettings {
  TSizeLimits Limits;
  // The text margins; one-sided counts each once, else twice.
  Integer MarginX = 2;
  Integer MarginY = 2;
  bool OneSidedMargin = false;
  // Only ever widen columns and heighten rows.
  bool GrowOnly = false;
  Integer HorzMargin() const { return OneSidedMargin ? MarginX : 2 * MarginX; }
  Integer VertMargin() const { return OneSidedMargin ? MarginY : 2 * MarginY; }
};

// The lines a cell's display text takes without word wrap: one more than
// its carriage returns with multi-line cells, else one.
Integer CellLineCount(const AnsiString& text, bool multiLineCells);

// A column's width for its widest content.
Integer ColumnWidthFor(Integer widest, Integer gridLineWidth, const TAutoSizeSettings& settings);
// A row's height for its tallest content.
Integer RowHeightFor(Integer tallest, Integer gridLineWidth, const TAutoSizeSettings& settings);

// The row heights of a grid without word wrap: extra + L * (H + H div 8),
// clamped, L the most lines of a cell of the row and H the height of "gh"
// in the font. Rows from 0 (doFixedRows) or the first normal row on.
void AutoSizeRowsPlain(TGridModel& model, const TextMeasurer& measurer, const TFontSpec& font,
                       const TAutoSizeSettings& settings, bool doFixedRows, Integer extra, bool multiLineCells);

}  // namespace grid
