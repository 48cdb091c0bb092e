#pragma once
// The change records a grid keeps for its owner (the grid records, it
// never replays: undoing is the program's) and the cell checker a grid
// passes its edited values through.
#include <deque>

#include "grid/model/GridTypes.h"

namespace grid {

struct TUndoRedoItem {
  // The changed cell (-1 in a marker). Row is the real row: hidden rows
  // count, so a record still names its cell after rows are hidden or shown.
  Integer Col = -1;
  Integer Row = -1;
  // The text after and before the change.
  AnsiString Value;
  AnsiString OrigValue;
  bool SequenceStart = false;
  bool SequenceStop = false;
};

// The records, oldest first. With MaxLevel above 0 a change beyond it drops
// the oldest record first; markers are never counted against it and never
// drop a record.
class TUndoRedoRecords {
 public:
  virtual ~TUndoRedoRecords() = default;
  virtual void AddChange(Integer col, Integer row, const AnsiString& origValue, const AnsiString& newValue);
  virtual void StartSequence();
  virtual void StopSequence();

  Integer MaxLevel = 0;
  // The record count after the last addition.
  Integer Level() const { return level_; }
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  const TUndoRedoItem& Items(Integer index) const { return items_.at(static_cast<size_t>(index)); }
  void Clear() {
    items_.clear();
    level_ = 0;
  }

 private:
  std::deque<TUndoRedoItem> items_;
  Integer level_ = 0;
};

// A checker of edited values; this base hands every value back unchanged
// and is there to be derived from.
class TCellCheck {
 public:
  virtual ~TCellCheck() = default;
  virtual AnsiString MarkError(Integer col, Integer row, const AnsiString& value) { return value; }
  virtual AnsiString Correct(Integer col, Integer row, const AnsiString& value) { return value; }
  // Two hooks the grid never calls.
  virtual void StartCheck() {}
  virtual void StopCheck() {}

  bool GotoCell = false;
  bool AutoCorrect = false;
  bool AutoMarkError = false;
  bool UseCorrect = false;
  bool UseMarkError = false;
};

}  // namespace grid
