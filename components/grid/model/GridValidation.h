#pragma once
// The end-of-edit validation cycle without a window: the edit cell and its
// start text, the pending and validating flags, the checker, the owner's
// verdict, and what becomes of the value (stored, put back or corrected,
// the editor reopened). The grid answers through TValidationHost.
#include "grid/model/GridTypes.h"
#include "grid/model/GridUndo.h"

namespace grid {

class TValidationHost {
 public:
  virtual ~TValidationHost() = default;
  // The text of a cell (display column, display row) as it stands.
  virtual AnsiString EditCellText(Integer col, Integer row) = 0;
  // The real column of a display column, the real row of a display row.
  virtual Integer RealColumn(Integer col) = 0;
  virtual Integer RealRow(Integer row) = 0;
  virtual bool AdvanceOnEnter() = 0;
  virtual void SetAdvanceOnEnter(bool on) = 0;
  virtual TCellCheck* Checker() = 0;
  virtual TUndoRedoRecords* UndoRecords() = 0;
  // OnCellValidate with the real column.
  virtual void CellValidateEvent(Integer col, Integer row, AnsiString& value, bool& valid) = 0;
  // The grid's modified flag; the row's modified mark (with its indicator
  // cell repainted when modified rows are shown).
  virtual void SetGridModified() = 0;
  virtual Integer FixedCols() = 0;
  virtual void MarkRowModified(Integer row) = 0;
  virtual void CellEdited(Integer col, Integer row) = 0;
  virtual void CellsChanged(Integer col, Integer row) = 0;
  // Stores a value in the cell (and in the base cell of a merged area the
  // cell is covered by).
  virtual void StoreCell(Integer col, Integer row, const AnsiString& value) = 0;
  // A refusal: the editor is closed first, then (after the cell holds its
  // text) the edit cell becomes current and the editor reopens on it.
  virtual void CloseEditor() = 0;
  virtual void ReopenEditor(Integer col, Integer row) = 0;
  // The current cell, for the next edit's start.
  virtual TCellCoord CurrentCell() = 0;
};

enum class TValidationOutcome {
  // Nothing was pending or a validation ran already.
  voNothing,
  // The value equals the start text.
  voUnchanged,
  voStored,
  // Refused: the start text put back, or the handler's replacement stored.
  voRestored,
  voReplaced,
};

class TEditValidation {
 public:
  explicit TEditValidation(TValidationHost* host) : host_(host) {}

  // Remembers the edit cell and the text it starts from.
  void StartEditCell(Integer col, Integer row);
  // An editor opened: its end awaits validation.
  void SetPending(bool pending) { pending_ = pending; }
  bool Pending() const { return pending_; }
  bool Validating() const { return validating_; }
  const AnsiString& StartText() const { return startText_; }
  const AnsiString& EndText() const { return endText_; }
  TCellCoord EditCell() const { return {editCol_, editRow_}; }
  TValidationOutcome LastOutcome() const { return outcome_; }

  // The end of an edit with the editor's text. True when the value stays
  // (or nothing was pending); a refusal reopens the editor on the cell.
  bool CellValidate(const AnsiString& value);

 private:
  TValidationHost* host_;
  Integer editCol_ = -1;
  Integer editRow_ = -1;
  AnsiString startText_;
  AnsiString endText_;
  bool pending_ = false;
  bool validating_ = false;
  TValidationOutcome outcome_ = TValidationOutcome::voNothing;
};

}  // namespace grid
