#include "htmledit/control/psUndo.h"

namespace htmledit {

TpsUndoList::TpsUndoList(Integer aCapacity) : FCapacity(aCapacity < 1 ? 1 : aCapacity) {}

void TpsUndoList::Push(std::unique_ptr<TpsDataChunk> aChunk) {
  while (FCurrent + 1 < Count()) FItems.pop_back();
  if (Count() >= FCapacity) FItems.erase(FItems.begin());
  FItems.push_back(std::move(aChunk));
  FCurrent = Count() - 1;
}

std::unique_ptr<TpsDataChunk> TpsUndoList::Undo() {
  if (FItems.empty() || FCurrent < 0) return nullptr;
  auto copy = FItems[static_cast<size_t>(FCurrent)]->Clone(false);
  --FCurrent;
  return copy;
}

std::unique_ptr<TpsDataChunk> TpsUndoList::Redo() {
  if (FCurrent + 2 >= Count()) return nullptr;
  ++FCurrent;
  return FItems[static_cast<size_t>(FCurrent + 1)]->Clone(false);
}

void TpsUndoList::Clear() {
  FItems.clear();
  FCurrent = -1;
}

std::unique_ptr<TpsDataChunk> TpsUndoList::PopNewest() {
  if (FItems.empty()) return nullptr;
  auto last = std::move(FItems.back());
  FItems.pop_back();
  if (FCurrent > Count() - 1) FCurrent = Count() - 1;
  return last;
}

}  // namespace htmledit
