#pragma once
// Smart filling of a selection after a paste (and after a drag of the
// selection resizer): one value repeated over the selection, a numeric,
// decimal or date series continued from the first two cells of a single
// row or column, a pasted pattern repeated along it, or a pasted row or
// column repeated over a larger block.
//
// The fill works through TSmartFillHost, which the grid answers with its
// cells, its editing rules, its paste events and its clipboard; tests use
// a model-backed host.
#include "grid/model/GridEnvironment.h"
#include "grid/model/GridTypes.h"

namespace grid {

class TSmartFillHost {
 public:
  virtual ~TSmartFillHost() = default;
  // The text a fill starts from: the display text, for a check-box cell
  // its check-true or check-false text by its state.
  virtual AnsiString FillText(Integer col, Integer row) = 0;
  // The cell may receive a value (it may be edited, or clipboard changes
  // are allowed everywhere).
  virtual bool CanFill(Integer col, Integer row) = 0;
  // Stores a value as a paste does: the before-paste event (which may
  // change or refuse it), the cell written, its row marked modified and the
  // after-paste event. topLeft: the selection's first cell, which gets no
  // events.
  virtual void FillCell(Integer col, Integer row, const AnsiString& value, bool topLeft) = 0;
  // The clipboard pasted again with its top-left at the cell (the current
  // cell moved there first).
  virtual void PasteAgainAt(Integer col, Integer row) = 0;
  // Hooks around the fill.
  virtual void BeforePaste() {}
  virtual void AfterPaste() {}
};

// What the paste left for the fill to work from.
struct TSmartFillInput {
  TGridRect Selection;
  // The paste's count: every field, the empty field after a final line end
  // included, 0 for rich text; the grid format's columns x rows.
  Integer Count = 0;
  // The cells the paste filled, and the lines and most fields per line of
  // the pasted block (1 and 1 for rich text).
  Integer PastedCount = 0;
  Integer PastedRows = 0;
  Integer PastedCols = 0;
};

enum class TSmartFill { sfNone, sfRepeat, sfIntegerSeries, sfFloatSeries, sfDateSeries, sfPattern, sfRepaste, sfCancelled };
using enum TSmartFill;

// Runs the fill that fits and says which it was. A series whose texts do
// not read as numbers or dates is cancelled without an error, the cells
// written so far staying.
TSmartFill SmartFill(TSmartFillHost& host, const TSmartFillInput& in, const AnsiString& floatFormat,
                     const LocaleSettings& locale = CurrentLocale());

}  // namespace grid
