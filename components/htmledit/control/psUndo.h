#pragma once
// The editor's undo: whole-document snapshots on a bounded stack with a
// cursor. Undo and redo hand back copies, so a snapshot stays on the list
// however often the user steps over it.
#include <memory>
#include <vector>

#include "htmledit/doc/psDataChunk.h"

namespace htmledit {

using htmldoc::Integer;
using htmldoc::TpsDataChunk;

class TpsUndoList {
 public:
  explicit TpsUndoList(Integer aCapacity);
  TpsUndoList(const TpsUndoList&) = delete;
  TpsUndoList& operator=(const TpsUndoList&) = delete;

  // Takes the snapshot over; the redo states after the cursor are dropped
  // first, then the oldest when the list is full.
  void Push(std::unique_ptr<TpsDataChunk> aChunk);
  // A copy of the snapshot at the cursor, which then steps back; nullptr
  // when there is none.
  std::unique_ptr<TpsDataChunk> Undo();
  // A copy of the snapshot two places after the cursor (the state the last
  // undo left), the cursor stepping forward once; nullptr when none.
  std::unique_ptr<TpsDataChunk> Redo();
  bool CanUndo() const { return FCurrent >= 0; }
  bool CanRedo() const { return FCurrent + 2 < Count(); }
  void Clear();
  // Drops the newest snapshot (an operation that took it failed and its
  // state was restored from it); the cursor stays within the list.
  std::unique_ptr<TpsDataChunk> PopNewest();

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  Integer Capacity() const { return FCapacity; }
  Integer Current() const { return FCurrent; }
  const TpsDataChunk* Item(Integer aIndex) const { return FItems[static_cast<size_t>(aIndex)].get(); }

 private:
  Integer FCapacity;
  std::vector<std::unique_ptr<TpsDataChunk>> FItems;
  Integer FCurrent = -1;
};

}  // namespace htmledit
