#pragma once
// Owned, ordered collections of items. A TCollection creates its items
// through a factory (the "item class") and frees them; an item knows its
// collection, its index in it and a serial ID that never repeats within the
// collection. Destroying an item takes it out of its collection.
//
// Index errors raise EListError "List index out of bounds (%d)".
#include <functional>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

class TCollection;

class TCollectionItem {
 public:
  // Joins collection (appended at its end) when it is not null.
  explicit TCollectionItem(TCollection* collection);
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  // Leaves the collection it belongs to.
  virtual ~TCollectionItem();

  // The owning collection (it frees this item), or null.
  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (appended) or out of any.
  void SetCollection(TCollection* collection);
  // Position in the collection; -1 without one.
  Integer Index() const;
  // Moves the item within its collection; raises the index error when
  // index is outside 0..Count-1.
  void SetIndex(Integer index);
  Integer ID() const { return id_; }
  virtual AnsiString DisplayName() const;

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  Integer id_ = 0;
};

class TCollection {
 public:
  using ItemFactory = std::function<TCollectionItem*(TCollection* owner)>;

  // A factory for item class T: new T(owner). T's constructor must hand the
  // collection to TCollectionItem's.
  template <typename T>
  static ItemFactory ItemClass() {
    return [](TCollection* owner) -> TCollectionItem* { return new T(owner); };
  }

  explicit TCollection(ItemFactory itemClass);
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  // Frees every item. A descendant whose items need it alive frees them
  // itself first (Clear in its own destructor).
  virtual ~TCollection();

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Creates an item through the factory and appends it.
  TCollectionItem* Add();
  // Creates an item and puts it at index (0..Count).
  TCollectionItem* Insert(Integer index);
  // Frees the item at index.
  void Delete(Integer index);
  // Frees every item.
  void Clear();
  TCollectionItem* Items(Integer index) const;
  TCollectionItem* GetItem(Integer index) const { return Items(index); }
  TCollectionItem* operator[](Integer index) const { return Items(index); }
  // The item with that ID, or null.
  TCollectionItem* FindItemID(Integer id) const;

  // Nested update brackets; Update runs when the outermost closes.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

 protected:
  // Called after a change (item null: more than one item changed).
  virtual void Update(TCollectionItem* item) {}
  // Called when an item joins (added == true) or leaves.
  virtual void Notify(TCollectionItem* item, bool added) {}
  void Changed();
  [[noreturn]] static void IndexError(Integer index);

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void MoveItem(Integer from, Integer to);

  ItemFactory itemClass_;
  std::vector<TCollectionItem*> items_;  // owned
  Integer nextId_ = 0;
  Integer updateCount_ = 0;
};

// Typed access to a collection of T.
template <typename T>
class TCollectionOf : public TCollection {
 public:
  TCollectionOf() : TCollection(ItemClass<T>()) {}
  T* Add() { return static_cast<T*>(TCollection::Add()); }
  T* Insert(Integer index) { return static_cast<T*>(TCollection::Insert(index)); }
  T* Items(Integer index) const { return static_cast<T*>(TCollection::Items(index)); }
  T* GetItem(Integer index) const { return Items(index); }
  T* operator[](Integer index) const { return Items(index); }
};

}  // namespace rtl
