#include "htmledit/doc/psContainers.h"

#include <algorithm>
#include <string>

#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"

namespace htmldoc {

void RaiseListIndexError(Integer aIndex) {
  throw rtl::EListError(rtl::ListIndexMessage(aIndex));
}

// ---------------------------------------------------------------------------
// TpsIntStack

TpsIntStack::TpsIntStack(Integer aCapacity, Integer aGrowBy, Integer aSlotCount)
    : States(std::max<Integer>(aSlotCount, 1)), FGrowBy(std::max<Integer>(aGrowBy, 1)) {
  States[0].resize(std::max<Integer>(aCapacity, 0));
}

void TpsIntStack::CheckSlot(Integer aSlot) const {
  if (aSlot < 0 || static_cast<size_t>(aSlot) >= States.size()) RaiseListIndexError(aSlot);
}

void TpsIntStack::Push(Integer aValue) {
  auto& live = States[0];
  if (static_cast<size_t>(FCount) >= live.size()) live.resize(live.size() + FGrowBy);
  live[FCount++] = aValue;
}

bool TpsIntStack::Pop(Integer& aValue) {
  if (FCount == 0) {
    aValue = 0;
    return false;
  }
  aValue = States[0][--FCount];
  return true;
}

void TpsIntStack::SaveState(Integer aSlot) {
  CheckSlot(aSlot);
  if (aSlot == 0) return;
  States[aSlot].assign(States[0].begin(), States[0].begin() + FCount);
}

void TpsIntStack::RestoreState(Integer aSlot) {
  CheckSlot(aSlot);
  if (aSlot == 0) return;
  const auto& saved = States[aSlot];
  auto& live = States[0];
  if (live.size() < saved.size()) live.resize(saved.size());
  std::copy(saved.begin(), saved.end(), live.begin());
  FCount = static_cast<Integer>(saved.size());
}

void TpsIntStack::Assign(const TpsIntStack& aSource) {
  if (&aSource == this) return;
  auto& live = States[0];
  if (live.size() < static_cast<size_t>(aSource.FCount)) live.resize(aSource.FCount);
  std::copy(aSource.States[0].begin(), aSource.States[0].begin() + aSource.FCount, live.begin());
  FCount = aSource.FCount;
}

// ---------------------------------------------------------------------------
// TpsSortedIntList

TpsSortedIntList::TpsSortedIntList(bool aAscending, bool aUnique, Integer aCapacity,
                                   Integer aGrowBy)
    : FGrowBy(std::max<Integer>(aGrowBy, 1)),
      Items(std::max<Integer>(aCapacity, 0)),
      FAscending(aAscending),
      FUnique(aUnique) {}

void TpsSortedIntList::InsertAt(Integer aIndex, Integer aValue) {
  std::move_backward(Items.begin() + aIndex, Items.begin() + FCount, Items.begin() + FCount + 1);
  Items[aIndex] = aValue;
  ++FCount;
}

void TpsSortedIntList::Add(Integer aValue) {
  if (FCount == Capacity()) Items.resize(Items.size() + FGrowBy);
  if (FCount == 0) {
    Items[0] = aValue;
    FCount = 1;
    return;
  }
  // The common cases, a value at either end, without a search.
  const Integer last = Items[FCount - 1];
  if (!Before(aValue, last)) {
    if (FUnique && aValue == last) return;
    Items[FCount++] = aValue;
    return;
  }
  const Integer first = Items[0];
  if (!Before(first, aValue)) {
    if (FUnique && aValue == first) return;
    InsertAt(0, aValue);
    return;
  }
  Integer lo = 0;
  Integer hi = FCount - 1;
  while (lo <= hi) {
    const Integer mid = lo + (hi - lo) / 2;
    const Integer item = Items[mid];
    if (item == aValue) {
      if (!FUnique) InsertAt(mid, aValue);
      return;
    }
    if (Before(item, aValue))
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  InsertAt(lo, aValue);
}

Integer TpsSortedIntList::IndexOf(Integer aValue) const {
  Integer lo = 0;
  Integer hi = FCount - 1;
  while (lo <= hi) {
    const Integer mid = lo + (hi - lo) / 2;
    const Integer item = Items[mid];
    if (item == aValue) return mid;
    if (Before(item, aValue))
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return -1;
}

void TpsSortedIntList::Remove(Integer aValue) {
  for (Integer index = IndexOf(aValue); index != -1; index = IndexOf(aValue)) {
    Delete(index);
    if (FUnique) break;
  }
}

void TpsSortedIntList::Delete(Integer aIndex) {
  if (aIndex < 0 || aIndex >= FCount) RaiseListIndexError(aIndex);
  std::move(Items.begin() + aIndex + 1, Items.begin() + FCount, Items.begin() + aIndex);
  --FCount;
}

// ---------------------------------------------------------------------------
// TpsSortedLongWordList

TpsSortedLongWordList::TpsSortedLongWordList(bool aAscending, bool aUnique, Integer aCapacity,
                                             Integer aGrowBy)
    : FGrowBy(std::max<Integer>(aGrowBy, 1)),
      Items(std::max<Integer>(aCapacity, 0)),
      FAscending(aAscending),
      FUnique(aUnique),
      InitialCapacity(aCapacity) {}

void TpsSortedLongWordList::Add(uint32_t aValue) {
  if (FCount == Capacity()) Items.resize(Items.size() + FGrowBy);
  Integer at = FCount;
  for (Integer i = 0; i < FCount; ++i) {
    const uint32_t item = Items[i];
    if (FUnique && item == aValue) return;
    if (FAscending ? item > aValue : item < aValue) {
      at = i;
      break;
    }
  }
  std::move_backward(Items.begin() + at, Items.begin() + FCount, Items.begin() + FCount + 1);
  Items[at] = aValue;
  ++FCount;
}

void TpsSortedLongWordList::Remove(uint32_t aValue) {
  auto end = std::remove(Items.begin(), Items.begin() + FCount, aValue);
  FCount = static_cast<Integer>(end - Items.begin());
}

bool TpsSortedLongWordList::Contains(uint32_t aValue) const {
  return std::find(Items.begin(), Items.begin() + FCount, aValue) != Items.begin() + FCount;
}

uint32_t TpsSortedLongWordList::GetItem(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= FCount) RaiseListIndexError(aIndex);
  return Items[aIndex];
}

void TpsSortedLongWordList::Delete(Integer aIndex) {
  if (aIndex < 0 || aIndex >= FCount) RaiseListIndexError(aIndex);
  std::move(Items.begin() + aIndex + 1, Items.begin() + FCount, Items.begin() + aIndex);
  --FCount;
}

void TpsSortedLongWordList::Clear(bool aResetCapacity) {
  FCount = 0;
  if (aResetCapacity) {
    Items.assign(std::max<Integer>(InitialCapacity, 0), 0);
    Items.shrink_to_fit();
  }
}

// ---------------------------------------------------------------------------
// TpsSortedIntPairList

TpsSortedIntPairList::TpsSortedIntPairList(Integer aCapacity, Integer aGrowBy)
    : Items(std::max<Integer>(aCapacity, 0)), FGrowBy(std::max<Integer>(aGrowBy, 1)) {}

void TpsSortedIntPairList::Add(Integer aKey, Integer aValue) {
  if (static_cast<size_t>(FCount) == Items.size()) Items.resize(Items.size() + FGrowBy);
  auto end = Items.begin() + FCount;
  auto at = std::lower_bound(Items.begin(), end, aKey,
                             [](const TpsIntPair& p, Integer key) { return p.Key < key; });
  std::move_backward(at, end, end + 1);
  *at = {aKey, aValue};
  ++FCount;
}

bool TpsSortedIntPairList::Find(Integer aKey, Integer& aValue) const {
  Integer lo = 0;
  Integer hi = FCount - 1;
  while (lo <= hi) {
    const Integer mid = lo + (hi - lo) / 2;
    if (Items[mid].Key == aKey) {
      aValue = Items[mid].Value;
      return true;
    }
    if (Items[mid].Key < aKey)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  aValue = -1;
  return false;
}

// ---------------------------------------------------------------------------
// TpsWordList

Integer TpsWordList::Add(Integer aStringIndex, Integer aFirstChar, Integer aLastChar) {
  Words.push_back({aStringIndex, aFirstChar, aLastChar});
  return static_cast<Integer>(Words.size()) - 1;
}

}  // namespace htmldoc
