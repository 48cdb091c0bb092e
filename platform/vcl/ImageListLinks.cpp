// Change links of image lists: every holder of a list hears of its
// changes without taking the list's own OnChange.
#include <algorithm>

#include "vcl/ImgList.h"

namespace vcl {

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (!link || link->sender_ == this) return;
  if (link->sender_) link->sender_->UnRegisterChanges(link);
  changeLinks_.push_back(link);
  link->sender_ = this;
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  if (!link) return;
  changeLinks_.erase(std::remove(changeLinks_.begin(), changeLinks_.end(), link), changeLinks_.end());
  if (link->sender_ == this) link->sender_ = nullptr;
}

void TImageList::NotifyChangeLinks() {
  // A handler may unregister links (its own among them) while the list is
  // told: each link still registered when its turn comes is told once.
  const std::vector<TChangeLink*> links = changeLinks_;
  for (TChangeLink* link : links)
    if (std::find(changeLinks_.begin(), changeLinks_.end(), link) != changeLinks_.end() && link->OnChange)
      link->OnChange(this);
}

void TImageList::DetachChangeLinks() {
  for (TChangeLink* link : changeLinks_) link->sender_ = nullptr;
  changeLinks_.clear();
}

}  // namespace vcl
