#pragma once
// Resized variants of one picture with their use counts (the image cache
// keeps one list per image source). Pictures belong to the class library,
// which this layer does not see; the view hands them in behind TpsGraphic.
#include <memory>
#include <vector>

#include "rtl/Types.h"

namespace htmldoc {

using rtl::Integer;

// A picture as the document model holds it. The view derives from it to wrap
// its real picture class; the model only keeps, counts and frees them.
class TpsGraphic {
 public:
  virtual ~TpsGraphic() = default;
};

class TpsGraphicListItem {
 public:
  // The item frees aGraphic when aOwnsGraphic is set.
  TpsGraphicListItem(TpsGraphic* aGraphic, Integer aWidth, Integer aHeight, bool aOwnsGraphic);
  ~TpsGraphicListItem();
  TpsGraphicListItem(const TpsGraphicListItem&) = delete;
  TpsGraphicListItem& operator=(const TpsGraphicListItem&) = delete;

  void AddRef() { ++UseCount; }
  void Release() { --UseCount; }

  TpsGraphic* Graphic;
  Integer Width;
  Integer Height;
  Integer UseCount = 0;
  bool OwnsGraphic;
};

class TpsGraphicList {
 public:
  TpsGraphicList() = default;
  TpsGraphicList(const TpsGraphicList&) = delete;
  TpsGraphicList& operator=(const TpsGraphicList&) = delete;

  // Appends an item that owns aGraphic; with aAddRef its use count starts at 1.
  TpsGraphicListItem* Add(TpsGraphic* aGraphic, Integer aWidth, Integer aHeight, bool aAddRef);
  // The first item of that size; nullptr when none.
  TpsGraphicListItem* Find(Integer aWidth, Integer aHeight) const;
  // Frees and removes the first item no one uses; nothing when all are used.
  void DeleteFirstUnused();
  Integer GetCount() const { return static_cast<Integer>(Items.size()); }
  TpsGraphicListItem* GetItem(Integer aIndex) const { return Items[aIndex].get(); }

 private:
  std::vector<std::unique_ptr<TpsGraphicListItem>> Items;
};

}  // namespace htmldoc
