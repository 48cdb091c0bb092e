#include "rtl/Collection.h"

#include <algorithm>

#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/UpdateScope.h"

namespace rtl {

// --------------------------------------------------------- TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer index) {
  Integer current = Index();
  if (current < 0 || current == index) return;
  collection_->MoveItem(current, index);
}

AnsiString TCollectionItem::DisplayName() const { return AnsiString(); }

// ------------------------------------------------------------ TCollection

TCollection::TCollection(ItemFactory itemClass) : itemClass_(std::move(itemClass)) {}

TCollection::~TCollection() {
  updateCount_ = 1;  // no Update calls while dying
  Clear();
}

void TCollection::IndexError(Integer index) {
  throw EListError(ListIndexMessage(index));
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, true);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  Notify(item, false);
  items_.erase(it);
  item->collection_ = nullptr;
  Changed();
}

void TCollection::MoveItem(Integer from, Integer to) {
  if (to < 0 || to >= Count()) IndexError(to);
  TCollectionItem* item = items_[from];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, item);
  Changed();
}

TCollectionItem* TCollection::Add() {
  // The item's constructor appends it through TCollectionItem(TCollection*).
  TCollectionItem* item = itemClass_(this);
  if (item->collection_ != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(Integer index) {
  if (index < 0 || index > Count()) IndexError(index);
  TUpdateScope<TCollection> update(*this);
  TCollectionItem* item = Add();
  MoveItem(Count() - 1, index);
  return item;
}

void TCollection::Delete(Integer index) {
  if (index < 0 || index >= Count()) IndexError(index);
  delete items_[index];  // the item's destructor takes it out of the list
}

void TCollection::Clear() {
  if (items_.empty()) return;
  TUpdateScope<TCollection> update(*this);
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[index];
}

TCollectionItem* TCollection::FindItemID(Integer id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ <= 0) return;
  if (--updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

}  // namespace rtl
