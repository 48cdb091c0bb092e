#include "grid/model/GridUndo.h"

namespace grid {

void TUndoRedoRecords::AddChange(Integer col, Integer row, const AnsiString& origValue, const AnsiString& newValue) {
  if (MaxLevel > 0 && Count() >= MaxLevel) items_.pop_front();
  TUndoRedoItem item;
  item.Col = col;
  item.Row = row;
  item.Value = newValue;
  item.OrigValue = origValue;
  items_.push_back(std::move(item));
  level_ = Count();
}

void TUndoRedoRecords::StartSequence() {
  TUndoRedoItem item;
  item.SequenceStart = true;
  items_.push_back(std::move(item));
  level_ = Count();
}

void TUndoRedoRecords::StopSequence() {
  TUndoRedoItem item;
  item.SequenceStop = true;
  items_.push_back(std::move(item));
  level_ = Count();
}

}  // namespace grid
