#pragma once
// Pasting tab-separated text into a grid: the text taken apart
// (ClipText.h), each field stored with its top-left at a cell through the
// grid's paste events, the grid growing by columns and rows as allowed or
// rows inserted for the pasted lines, and the counts the smart fill goes on
// from. The grid answers TClipPasteHost; tests answer it over a model.
#include <string_view>

#include "grid/model/ClipText.h"
#include "grid/model/SmartFill.h"

namespace grid {

class TClipPasteHost : public TSmartFillHost {
 public:
  virtual Integer ColCount() = 0;
  virtual Integer RowCount() = 0;
  virtual void SetColCount(Integer count) = 0;
  // One row more at the end of the data rows (above a floating footer).
  virtual void AddRow() = 0;
  // One empty row inserted before row (ClipboardPasteAction paInsert).
  virtual void InsertRow(Integer row) = 0;
  // The grid takes text pastes at all (editing, AllowClipboardAlways or
  // RangeSelectAndEdit).
  virtual bool PasteAllowed() = 0;
  // The cell may receive a pasted field.
  virtual bool CanPaste(Integer col, Integer row) = 0;
  // The before-paste event of a field (a wide-text field offered as wide
  // text); false refuses it.
  virtual bool BeforePasteCell(Integer col, Integer row, AnsiString& value) = 0;
  virtual void PasteCell(Integer col, Integer row, const AnsiString& value) = 0;
  // The after-paste event; lastOfLine: the line's last field.
  virtual void AfterPasteCell(Integer col, Integer row, const AnsiString& value, bool lastOfLine) = 0;
  virtual void RowPasteNotify(Integer stage, Integer row) {}
  virtual void BeginUndoGroup() {}
  virtual void EndUndoGroup() {}
  // The block the paste covered: rows marked modified, cells changed.
  virtual void PasteEnded(const TGridRect& block) {}

  bool RowGrow = true;
  bool ColGrow = true;
  bool InsertLines = false;
  // The last row is the floating footer's and stays last.
  bool FooterRowLast = false;
};

struct TPasteCounts {
  Integer Count = 0;
  // The lines and the fields of the last line, as the text reports them.
  Integer Rows = 0;
  Integer Cols = 0;
  // The cells, lines and widest line actually pasted.
  Integer PastedCount = 0;
  Integer PastedRows = 0;
  Integer PastedCols = 0;
};

// Pastes text with its first field at (col, row); nothing (all counts 0)
// for a negative cell or when the grid takes no pastes.
TPasteCounts PasteTextAt(TClipPasteHost& host, Integer col, Integer row, std::string_view text);

// The counts of a text without pasting it.
TPasteCounts ClipTextCounts(const TClipText& text);

}  // namespace grid
