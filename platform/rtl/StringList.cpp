#include "rtl/StringList.h"

#include <algorithm>
#include <numeric>

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/ListErrors.h"
#include "rtl/Streams.h"
#include "rtl/Strings.h"
#include "rtl/UpdateScope.h"

namespace rtl {

// ---------------------------------------------------------------- TStrings

void TStrings::IndexError(Integer index) {
  throw EStringListError(ListIndexMessage(index));
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const {
  return CompareText(a, b);
}

Integer TStrings::Add(const AnsiString& s) {
  Integer index = Count();
  Insert(index, s);
  return index;
}

Integer TStrings::AddObject(const AnsiString& s, void* object) {
  Integer index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(Integer index, const AnsiString& s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& source) {
  TUpdateScope<TStrings> update(*this);
  for (Integer i = 0; i < source.Count(); ++i) AddObject(source.Get(i), source.GetObject(i));
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  TUpdateScope<TStrings> update(*this);
  Clear();
  delimiter_ = source.delimiter_;
  quoteChar_ = source.quoteChar_;
  nameValueSeparator_ = source.nameValueSeparator_;
  strictDelimiter_ = source.strictDelimiter_;
  AddStrings(source);
}

void TStrings::Exchange(Integer index1, Integer index2) {
  AnsiString s1 = Get(index1), s2 = Get(index2);
  void* o1 = GetObject(index1);
  void* o2 = GetObject(index2);
  Put(index1, s2);
  PutObject(index1, o2);
  Put(index2, s1);
  PutObject(index2, o1);
}

void TStrings::Move(Integer curIndex, Integer newIndex) {
  if (curIndex == newIndex) return;
  AnsiString s = Get(curIndex);
  void* o = GetObject(curIndex);
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  TUpdateScope<TStrings> update(*this);
  Delete(curIndex);
  InsertObject(newIndex, s, o);
}

Integer TStrings::IndexOf(const AnsiString& s) const {
  for (Integer i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const AnsiString& name) const {
  for (Integer i = 0; i < Count(); ++i) {
    AnsiString line = Get(i);
    auto p = line.find(nameValueSeparator_);
    if (p != AnsiString::npos && CompareStrings(line.substr(0, p), name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(const void* object) const {
  for (Integer i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (Integer i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

AnsiString TStrings::Names(Integer index) const {
  AnsiString line = Get(index);
  auto p = line.find(nameValueSeparator_);
  return p == AnsiString::npos ? AnsiString() : line.substr(0, p);
}

AnsiString TStrings::Values(const AnsiString& name) const {
  Integer i = IndexOfName(name);
  return i < 0 ? AnsiString() : ValueFromIndex(i);
}

void TStrings::SetValue(const AnsiString& name, const AnsiString& value) {
  Integer i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  AnsiString line = name + nameValueSeparator_ + value;
  if (i < 0)
    Add(line);
  else
    Put(i, line);
}

AnsiString TStrings::ValueFromIndex(Integer index) const {
  AnsiString line = Get(index);
  auto p = line.find(nameValueSeparator_);
  return p == AnsiString::npos ? AnsiString() : line.substr(p + 1);
}

void TStrings::SetValueFromIndex(Integer index, const AnsiString& value) {
  if (value.empty()) {
    Delete(index);
    return;
  }
  AnsiString line = Get(index);
  auto p = line.find(nameValueSeparator_);
  AnsiString name = p == AnsiString::npos ? AnsiString() : line.substr(0, p);
  Put(index, name + nameValueSeparator_ + value);
}

AnsiString TStrings::Text() const {
  AnsiString out;
  for (Integer i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const AnsiString& text) {
  TUpdateScope<TStrings> update(*this);
  Clear();
  size_t start = 0;
  const size_t n = text.size();
  while (start < n) {
    size_t p = start;
    while (p < n && text[p] != '\r' && text[p] != '\n') ++p;
    Add(text.substr(start, p - start));
    if (p < n && text[p] == '\r') ++p;
    if (p < n && text[p] == '\n') ++p;
    start = p;
  }
}

AnsiString TStrings::DelimitedWith(char delimiter, char quote, bool strict) const {
  const Integer n = Count();
  if (n == 1 && Get(0).empty()) return AnsiString(2, quote);
  AnsiString out;
  for (Integer i = 0; i < n; ++i) {
    if (i > 0) out += delimiter;
    AnsiString s = Get(i);
    bool needsQuotes = s.empty() && !strict;
    for (unsigned char c : s) {
      if (c == static_cast<unsigned char>(quote) || c == static_cast<unsigned char>(delimiter) ||
          (!strict && c <= ' ')) {
        needsQuotes = true;
        break;
      }
    }
    if (needsQuotes)
      out += AnsiQuotedStr(s, quote);
    else
      out += s;
  }
  return out;
}

void TStrings::SetDelimitedWith(const AnsiString& text, char delimiter, char quote, bool strict) {
  TUpdateScope<TStrings> update(*this);
  Clear();
  const size_t n = text.size();
  auto isBlank = [&](size_t i) {
    return !strict && static_cast<unsigned char>(text[i]) <= ' ';
  };
  size_t p = 0;
  while (p < n && isBlank(p)) ++p;
  while (p < n) {
    AnsiString item;
    if (text[p] == quote) {
      ++p;
      while (p < n) {
        if (text[p] == quote) {
          if (p + 1 < n && text[p + 1] == quote) {
            item += quote;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
      // Text glued to a closing quote belongs to the same item.
      while (p < n && text[p] != delimiter && !isBlank(p)) item += text[p++];
    } else {
      while (p < n && text[p] != delimiter && !isBlank(p)) item += text[p++];
    }
    Add(item);
    while (p < n && isBlank(p)) ++p;
    if (p < n && text[p] == delimiter) {
      ++p;
      while (p < n && isBlank(p)) ++p;
      // A delimiter at the very end stands before one more, empty item.
      if (p >= n) Add(AnsiString());
    }
  }
}

AnsiString TStrings::DelimitedText() const {
  return DelimitedWith(delimiter_, quoteChar_, strictDelimiter_);
}

void TStrings::SetDelimitedText(const AnsiString& text) {
  SetDelimitedWith(text, delimiter_, quoteChar_, strictDelimiter_);
}

// The comma form always quotes blanks, whatever StrictDelimiter says.
AnsiString TStrings::CommaText() const { return DelimitedWith(',', '"', false); }

void TStrings::SetCommaText(const AnsiString& text) { SetDelimitedWith(text, ',', '"', false); }

void TStrings::LoadFromFile(const AnsiString& fileName) {
  SetText(ReadStoredText(ReadFileBytes(fileName)));
}

void TStrings::LoadFromStream(TStream& stream) {
  Int64 size = stream.Size() - stream.Position();
  AnsiString bytes(static_cast<size_t>(std::max<Int64>(size, 0)), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  SetText(ReadStoredText(bytes));
}

void TStrings::SaveToFile(const AnsiString& fileName) const { WriteFileAtomically(fileName, Text()); }

void TStrings::SaveToStream(TStream& stream) const {
  AnsiString text = Text();
  if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ <= 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

// ------------------------------------------------------------- TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (ownsObjects_)
    for (auto& item : items_) FreeObject(item.object);
}

void TStringList::FreeObject(void* object) {
  if (ownsObjects_ && object && deleter_) deleter_(object);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  // Runs with the bracket count already raised (or just back at zero).
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else {
    Changed();
  }
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
  return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

AnsiString TStringList::Get(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[index].text;
}

void TStringList::Put(Integer index, const AnsiString& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  items_[index].text = s;
  Changed();
}

void* TStringList::GetObject(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[index].object;
}

void TStringList::PutObject(Integer index, void* object) {
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  if (items_[index].object != object) FreeObject(items_[index].object);
  items_[index].object = object;
  Changed();
}

void TStringList::InsertItem(Integer index, const AnsiString& s, void* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Insert(Integer index, const AnsiString& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, s, nullptr);
}

Integer TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

Integer TStringList::AddObject(const AnsiString& s, void* object) {
  Integer index;
  if (!sorted_) {
    index = Count();
  } else if (Find(s, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        // After the equal run, so equal lines keep their order of arrival.
        while (index < Count() && CompareStrings(items_[index].text, s) == 0) ++index;
        break;
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::Delete(Integer index) {
  if (index < 0 || index >= Count()) IndexError(index);
  Changing();
  void* object = items_[index].object;
  items_.erase(items_.begin() + index);
  FreeObject(object);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(items_);
  for (auto& item : old) FreeObject(item.object);
  Changed();
}

void TStringList::Exchange(Integer index1, Integer index2) {
  if (index1 < 0 || index1 >= Count()) IndexError(index1);
  if (index2 < 0 || index2 >= Count()) IndexError(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

void TStringList::Move(Integer curIndex, Integer newIndex) {
  if (curIndex == newIndex) return;
  if (curIndex < 0 || curIndex >= Count()) IndexError(curIndex);
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  Changing();
  Item item = std::move(items_[curIndex]);
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, std::move(item));
  Changed();
}

Integer TStringList::IndexOf(const AnsiString& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  Integer index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, Integer& index) const {
  Integer lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    Integer mid = lo + (hi - lo) / 2;
    int c = CompareStrings(items_[mid].text, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;  // keep going left to the first equal line
    }
  }
  index = lo;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, Integer i, Integer j) {
    return list.CompareStrings(list.items_[i].text, list.items_[j].text);
  });
}

void TStringList::CustomSort(const std::function<int(TStringList&, Integer, Integer)>& compare) {
  if (Count() < 2) return;
  Changing();
  // Sort a permutation so the comparer sees the list as it was, by index.
  std::vector<Integer> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](Integer a, Integer b) { return compare(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (Integer i : order) sorted.push_back(std::move(items_[i]));
  items_.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool v) {
  if (v == sorted_) return;
  if (v) Sort();
  sorted_ = v;
}

void TStringList::SetCaseSensitive(bool v) {
  if (v == caseSensitive_) return;
  caseSensitive_ = v;
  if (sorted_) Sort();
}

}  // namespace rtl
