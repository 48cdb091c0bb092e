#include "rtl/Lists.h"

#include <algorithm>

#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"

namespace rtl {

TList::~TList() {
  // Only the base Notify is reachable here; owning descendants clear first.
  Clear();
}

void TList::IndexError(Integer index) {
  throw EListError(ListIndexMessage(index));
}

void TList::SetCount(Integer count) {
  if (count < 0) throw EListError("List count out of bounds (" + std::to_string(count) + ")");
  while (Count() > count) Delete(Count() - 1);
  items_.resize(static_cast<size_t>(count), nullptr);
}

void TList::SetCapacity(Integer capacity) {
  if (capacity < Count())
    throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
  if (static_cast<size_t>(capacity) > items_.capacity())
    items_.reserve(static_cast<size_t>(capacity));
  else
    items_.shrink_to_fit();
}

void* TList::Get(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[index];
}

void TList::Put(Integer index, void* item) {
  if (index < 0 || index >= Count()) IndexError(index);
  void* old = items_[index];
  if (old == item) return;
  items_[index] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

Integer TList::Add(void* item) {
  items_.push_back(item);
  if (item) Notify(item, lnAdded);
  return Count() - 1;
}

void TList::Insert(Integer index, void* item) {
  if (index < 0 || index > Count()) IndexError(index);
  items_.insert(items_.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(Integer index) {
  if (index < 0 || index >= Count()) IndexError(index);
  void* item = items_[index];
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnDeleted);
}

Integer TList::Remove(void* item) {
  Integer index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  Integer index = IndexOf(item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  Notify(item, lnExtracted);
  return item;
}

Integer TList::IndexOf(const void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

void TList::Exchange(Integer index1, Integer index2) {
  if (index1 < 0 || index1 >= Count()) IndexError(index1);
  if (index2 < 0 || index2 >= Count()) IndexError(index2);
  std::swap(items_[index1], items_[index2]);
}

void TList::Move(Integer curIndex, Integer newIndex) {
  if (curIndex == newIndex) return;
  if (curIndex < 0 || curIndex >= Count()) IndexError(curIndex);
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  void* item = items_[curIndex];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, item);
}

void* TList::First() const { return Get(0); }

void* TList::Last() const { return Get(Count() - 1 < 0 ? 0 : Count() - 1); }

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const std::function<int(void*, void*)>& compare) {
  std::stable_sort(items_.begin(), items_.end(),
                   [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Clear() {
  // Notify after the list is empty so a handler never sees a half-cleared list.
  std::vector<void*> old;
  old.swap(items_);
  for (void* item : old)
    if (item) Notify(item, lnDeleted);
}

}  // namespace rtl
