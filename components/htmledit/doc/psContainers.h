#pragma once
// Small containers of the HTML editor, each with its own growth and
// ordering rules: a stack of integers with saved copies, sorted lists of
// integers, unsigned integers and integer pairs, and a list of word
// positions.
#include <cstdint>
#include <vector>

#include "rtl/Types.h"

namespace htmldoc {

using rtl::Integer;

// Raises EListError "List index out of bounds (%d)" with aIndex.
[[noreturn]] void RaiseListIndexError(Integer aIndex);

// A stack of integers with numbered slots of saved copies. Slot 0 is the live
// stack; its array may be longer than Count (room to grow).
class TpsIntStack {
 public:
  TpsIntStack(Integer aCapacity, Integer aGrowBy, Integer aSlotCount);
  virtual ~TpsIntStack() = default;

  void Push(Integer aValue);
  // False with aValue 0 when the stack is empty.
  bool Pop(Integer& aValue);
  void SaveState(Integer aSlot);
  void RestoreState(Integer aSlot);
  void Assign(const TpsIntStack& aSource);
  void Clear() { FCount = 0; }

  Integer Count() const { return FCount; }
  // The live value at aIndex (0 is the bottom of the stack).
  Integer Item(Integer aIndex) const { return States[0][aIndex]; }
  Integer GrowBy() const { return FGrowBy; }

 protected:
  using TpsIntStackState = std::vector<Integer>;
  std::vector<TpsIntStackState> States;
  Integer FGrowBy;
  Integer FCount = 0;

 private:
  void CheckSlot(Integer aSlot) const;
};

// Integers kept in ascending or descending order, optionally unique.
class TpsSortedIntList {
 public:
  TpsSortedIntList(bool aAscending, bool aUnique, Integer aCapacity, Integer aGrowBy);

  void Add(Integer aValue);
  Integer IndexOf(Integer aValue) const;
  bool Contains(Integer aValue) const { return IndexOf(aValue) != -1; }
  // Removes an equal item; in a list that is not unique, every equal item.
  void Remove(Integer aValue);
  void Delete(Integer aIndex);
  // No range check: the caller keeps aIndex below Count.
  Integer GetItem(Integer aIndex) const { return Items[aIndex]; }

  Integer Count() const { return FCount; }
  Integer Capacity() const { return static_cast<Integer>(Items.size()); }
  bool Ascending() const { return FAscending; }
  bool Unique() const { return FUnique; }

 private:
  // True when a belongs strictly before b in this list's order.
  bool Before(Integer a, Integer b) const { return FAscending ? a < b : a > b; }
  void InsertAt(Integer aIndex, Integer aValue);

  Integer FCount = 0;
  Integer FGrowBy;
  std::vector<Integer> Items;  // its size is the capacity
  bool FAscending;
  bool FUnique;
};

// Unsigned 32-bit values kept in order by a linear walk.
class TpsSortedLongWordList {
 public:
  TpsSortedLongWordList(bool aAscending, bool aUnique, Integer aCapacity, Integer aGrowBy);

  void Add(uint32_t aValue);
  void Remove(uint32_t aValue);
  bool Contains(uint32_t aValue) const;
  uint32_t GetItem(Integer aIndex) const;
  void Delete(Integer aIndex);
  // Count 0; with aResetCapacity the storage goes back to the capacity given
  // at creation.
  void Clear(bool aResetCapacity);

  Integer Count() const { return FCount; }
  Integer Capacity() const { return static_cast<Integer>(Items.size()); }

 private:
  Integer FCount = 0;
  Integer FGrowBy;
  std::vector<uint32_t> Items;
  bool FAscending;
  bool FUnique;
  Integer InitialCapacity;
};

struct TpsIntPair {
  Integer Key;
  Integer Value;
};

// Pairs ascending by key; a new pair goes before existing pairs with an
// equal key. No uniqueness test.
class TpsSortedIntPairList {
 public:
  TpsSortedIntPairList(Integer aCapacity, Integer aGrowBy);

  void Add(Integer aKey, Integer aValue);
  // Binary search by key; aValue -1 when not found.
  bool Find(Integer aKey, Integer& aValue) const;

  Integer Count() const { return FCount; }
  const TpsIntPair& Item(Integer aIndex) const { return Items[aIndex]; }

 private:
  Integer FCount = 0;
  std::vector<TpsIntPair> Items;
  Integer FGrowBy;
};

// Word positions inside a list of strings: which string, and the 1-based
// positions of the word's first and last character.
class TpsWordList {
 public:
  TpsWordList() = default;
  Integer Add(Integer aStringIndex, Integer aFirstChar, Integer aLastChar);
  Integer GetCount() const { return static_cast<Integer>(Words.size()); }
  Integer GetStringIndex(Integer aIndex) const { return Words[aIndex].StringIndex; }
  Integer GetFirstChar(Integer aIndex) const { return Words[aIndex].FirstChar; }
  Integer GetLastChar(Integer aIndex) const { return Words[aIndex].LastChar; }

 private:
  struct Word {
    Integer StringIndex;
    Integer FirstChar;
    Integer LastChar;
  };
  std::vector<Word> Words;
};

}  // namespace htmldoc
