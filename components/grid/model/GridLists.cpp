#include "grid/model/GridLists.h"

#include <algorithm>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/StringList.h"

namespace grid {

void TIntList::CheckIndex(Integer index, bool allowEnd) const {
  if (index < 0 || index > Count() || (index == Count() && !allowEnd))
    throw rtl::EListError(rtl::ListIndexMessage(index));
}

Integer TIntList::Items(Integer index) const {
  CheckIndex(index, false);
  return items_[index];
}

void TIntList::Changed() {
  if (OnChange) OnChange(this, col_, row_);
}

void TIntList::SetItem(Integer index, Integer value) {
  CheckIndex(index, false);
  items_[index] = value;
  Changed();
}

void TIntList::Add(Integer value) {
  items_.push_back(value);
  Changed();
}

void TIntList::Delete(Integer index) {
  CheckIndex(index, false);
  items_.erase(items_.begin() + index);
  Changed();
}

void TIntList::DeleteValue(Integer value) {
  const Integer i = IndexOf(value);
  if (i >= 0) Delete(i);
}

void TIntList::Insert(Integer index, Integer value) {
  CheckIndex(index, true);
  items_.insert(items_.begin() + index, value);
}

bool TIntList::HasValue(Integer value) const { return IndexOf(value) >= 0; }

Integer TIntList::IndexOf(Integer value) const {
  const auto it = std::find(items_.begin(), items_.end(), value);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

AnsiString TIntList::AsText() const {
  AnsiString s;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i > 0) s += ',';
    s += rtl::IntToStr(items_[i]);
  }
  return s;
}

void TIntList::SetAsText(const AnsiString& text) {
  items_.clear();
  rtl::TStringList parts;
  parts.SetCommaText(text);
  for (Integer i = 0; i < parts.Count(); ++i) Add(rtl::StrToInt(parts[i]));
}

void TSortIndexList::AddSortColumn(Integer col, bool ascending) {
  Add(ascending ? col : (col | DescendingBit));
}

Integer TSortIndexList::FindSortColumn(Integer col) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SortColumnAt(i) == col) return i;
  return -1;
}

Integer TSortIndexList::SortColumnAt(Integer index) const { return Items(index) & ~DescendingBit; }

bool TSortIndexList::SortAscendingAt(Integer index) const { return (Items(index) & DescendingBit) == 0; }

void TSortIndexList::ToggleSortDirection(Integer col) {
  const Integer i = FindSortColumn(col);
  if (i >= 0) SetItem(i, Items(i) ^ DescendingBit);
}

}  // namespace grid
