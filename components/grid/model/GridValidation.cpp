#include "grid/model/GridValidation.h"

namespace grid {

void TEditValidation::StartEditCell(Integer col, Integer row) {
  editCol_ = col;
  editRow_ = row;
  startText_ = host_->EditCellText(col, row);
}

bool TEditValidation::CellValidate(const AnsiString& value) {
  if (!pending_ || validating_) {
    outcome_ = TValidationOutcome::voNothing;
    return true;
  }
  pending_ = false;
  validating_ = true;

  // Whatever a handler or the checker does, also when it raises: Enter
  // advance comes back as it was, the next edit starts from the current
  // cell and the cycle can run again.
  struct TCycleEnd {
    TEditValidation* self;
    bool suspended = false;
    bool advanceWas = false;
    ~TCycleEnd() {
      if (suspended) self->host_->SetAdvanceOnEnter(advanceWas);
      const TCellCoord current = self->host_->CurrentCell();
      self->StartEditCell(current.X, current.Y);
      self->validating_ = false;
    }
    void Resume() {
      if (!suspended) return;
      self->host_->SetAdvanceOnEnter(advanceWas);
      suspended = false;
    }
  } end{this};

  bool valid = true;
  const Integer col = host_->RealColumn(editCol_);
  const Integer row = editRow_;
  endText_ = value;
  if (value == startText_) {
    outcome_ = TValidationOutcome::voUnchanged;
    return true;
  }

  end.advanceWas = host_->AdvanceOnEnter();
  end.suspended = true;
  host_->SetAdvanceOnEnter(false);

  AnsiString v = value;
  TCellCheck* checker = host_->Checker();
  if (checker != nullptr && checker->AutoCorrect) v = checker->Correct(col, row, v);
  host_->CellValidateEvent(col, row, v, valid);
  if (valid) host_->CellEdited(col, row);
  if (checker != nullptr && checker->AutoMarkError) v = checker->MarkError(col, row, v);

  // What the cell holds at the end: the value kept, or after a refusal the
  // handler's replacement or the start text again. Only a cell that ends
  // up changed marks the grid and its row modified, and every such change
  // is recorded (a replacement too), so the records alone undo the edits.
  const AnsiString stored = valid ? v : (v != value ? v : startText_);
  if (stored != startText_) {
    host_->SetGridModified();
    if (host_->FixedCols() > 0) host_->MarkRowModified(row);
    if (host_->UndoRecords() != nullptr)
      host_->UndoRecords()->AddChange(col, host_->RealRow(row), startText_, stored);
  }
  if (valid) host_->CellsChanged(col, row);
  end.Resume();
  endText_ = v;

  if (valid) {
    host_->StoreCell(col, row, v);
    outcome_ = TValidationOutcome::voStored;
  } else {
    host_->CloseEditor();
    host_->StoreCell(col, row, stored);
    outcome_ = v != value ? TValidationOutcome::voReplaced : TValidationOutcome::voRestored;
    validating_ = false;
    pending_ = true;
    host_->ReopenEditor(editCol_, row);
  }
  startText_ = host_->EditCellText(editCol_, row);
  return valid;
}

}  // namespace grid
