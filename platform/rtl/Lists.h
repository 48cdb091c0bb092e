#pragma once
// Pointer lists: TList holds untyped pointers and owns nothing; TObjectList<T>
// holds T pointers and, by default, frees them when they leave the list.
//
// A descendant that frees its items in an overridden Clear or Notify must
// call Clear from its own destructor: a C++ base destructor cannot reach
// the override.
#include <functional>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };
using enum TListNotification;

class TList {
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  virtual ~TList();

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Grows with nulls or shrinks (shrinking notifies lnDeleted per pointer).
  void SetCount(Integer count);
  Integer Capacity() const { return static_cast<Integer>(items_.capacity()); }
  // Raises EListError "List capacity out of bounds (%d)" below Count.
  void SetCapacity(Integer capacity);

  // All index errors raise EListError "List index out of bounds (%d)".
  void* Get(Integer index) const;
  // Notifies lnDeleted for the old pointer and lnAdded for the new one when
  // they differ.
  void Put(Integer index, void* item);
  void* operator[](Integer index) const { return Get(index); }
  void* Items(Integer index) const { return Get(index); }

  // Appends; answers the new index.
  Integer Add(void* item);
  // index may equal Count (append).
  void Insert(Integer index, void* item);
  void Delete(Integer index);
  // Deletes the first occurrence; answers its former index or -1.
  Integer Remove(void* item);
  // Takes the first occurrence out without lnDeleted (lnExtracted instead);
  // answers the pointer, or null when absent.
  void* Extract(void* item);
  Integer IndexOf(const void* item) const;
  void Exchange(Integer index1, Integer index2);
  void Move(Integer curIndex, Integer newIndex);
  // Raise EListError "List index out of bounds (0)" on an empty list.
  void* First() const;
  void* Last() const;
  // Removes every null pointer.
  void Pack();
  // Stable sort by compare(a, b) < 0 meaning a before b.
  void Sort(const std::function<int(void* a, void* b)>& compare);
  virtual void Clear();

  // The underlying pointers, in order (read-only view).
  const std::vector<void*>& List() const { return items_; }

 protected:
  // Called after an item was added and before one is extracted or deleted.
  virtual void Notify(void* item, TListNotification action) {}
  [[noreturn]] static void IndexError(Integer index);

 private:
  std::vector<void*> items_;
};

// A list of T pointers that frees them on Delete/Remove/Clear/destruction
// while OwnsObjects is on (the default). Extract hands one back unfreed.
template <typename T>
class TObjectList : public TList {
 public:
  explicit TObjectList(bool ownsObjects = true) : ownsObjects_(ownsObjects) {}
  ~TObjectList() override { Clear(); }

  T* Get(Integer index) const { return static_cast<T*>(TList::Get(index)); }
  T* operator[](Integer index) const { return Get(index); }
  T* Items(Integer index) const { return Get(index); }
  // Replacing an owned item frees the old one.
  void Put(Integer index, T* item) { TList::Put(index, item); }
  Integer Add(T* item) { return TList::Add(item); }
  void Insert(Integer index, T* item) { TList::Insert(index, item); }
  Integer Remove(T* item) { return TList::Remove(item); }
  T* Extract(T* item) { return static_cast<T*>(TList::Extract(item)); }
  Integer IndexOf(const T* item) const { return TList::IndexOf(item); }
  T* First() const { return static_cast<T*>(TList::First()); }
  T* Last() const { return static_cast<T*>(TList::Last()); }
  void Sort(const std::function<int(T* a, T* b)>& compare) {
    TList::Sort([&](void* a, void* b) { return compare(static_cast<T*>(a), static_cast<T*>(b)); });
  }

  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool v) { ownsObjects_ = v; }

 protected:
  void Notify(void* item, TListNotification action) override {
    if (ownsObjects_ && action == lnDeleted) delete static_cast<T*>(item);
  }

 private:
  bool ownsObjects_;
};

}  // namespace rtl
