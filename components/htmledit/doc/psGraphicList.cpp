#include "htmledit/doc/psGraphicList.h"

namespace htmldoc {

TpsGraphicListItem::TpsGraphicListItem(TpsGraphic* aGraphic, Integer aWidth, Integer aHeight,
                                       bool aOwnsGraphic)
    : Graphic(aGraphic), Width(aWidth), Height(aHeight), OwnsGraphic(aOwnsGraphic) {}

TpsGraphicListItem::~TpsGraphicListItem() {
  // The item is the picture's owner when OwnsGraphic is set.
  if (OwnsGraphic) delete Graphic;
}

TpsGraphicListItem* TpsGraphicList::Add(TpsGraphic* aGraphic, Integer aWidth, Integer aHeight,
                                        bool aAddRef) {
  auto item = std::make_unique<TpsGraphicListItem>(aGraphic, aWidth, aHeight, true);
  if (aAddRef) item->AddRef();
  Items.push_back(std::move(item));
  return Items.back().get();
}

TpsGraphicListItem* TpsGraphicList::Find(Integer aWidth, Integer aHeight) const {
  for (const auto& item : Items)
    if (item->Width == aWidth && item->Height == aHeight) return item.get();
  return nullptr;
}

void TpsGraphicList::DeleteFirstUnused() {
  for (auto it = Items.begin(); it != Items.end(); ++it) {
    if ((*it)->UseCount == 0) {
      Items.erase(it);
      return;
    }
  }
}

}  // namespace htmldoc
