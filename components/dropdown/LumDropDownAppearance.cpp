#include "dropdown/LumDropDownAppearance.h"

#include "rtl/Exceptions.h"

namespace dropdown {

void TBarButtonItem::Changed() {
  if (auto* sink = dynamic_cast<TBarButtonChangeSink*>(Collection())) sink->ButtonChanged();
}

void TBarButtonItem::SetCaption(const rtl::AnsiString& v) {
  if (caption_ == v) return;
  caption_ = v;
  Changed();
}

void TBarButtonItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Changed();
}

void TBarButtonItem::SetWidth(vcl::Integer v) {
  if (width_ == v) return;
  width_ = v;
  Changed();
}

void TBarButtonItem::CopyFrom(const TBarButtonItem& other) {
  caption_ = other.caption_;
  imageIndex_ = other.imageIndex_;
  enabled_ = other.enabled_;
  width_ = other.width_;
  height_ = other.height_;
}

void THeaderButton::Assign(const vcl::TPersistent* source) {
  if (auto* other = dynamic_cast<const THeaderButton*>(source)) {
    CopyFrom(*other);
    return;
  }
  TPersistent::Assign(source);
}

void TFooterButton::Assign(const vcl::TPersistent* source) {
  if (auto* other = dynamic_cast<const TFooterButton*>(source)) {
    CopyFrom(*other);
    modalResult_ = other->modalResult_;
    return;
  }
  TPersistent::Assign(source);
}

THeaderAppearance::THeaderAppearance(vcl::TComponent* owner) : TBarAppearance<THeaderButtons>(owner) {
  Font()->SetName("Tahoma");
}

void THeaderAppearance::Assign(const vcl::TPersistent* source) {
  if (auto* other = dynamic_cast<const THeaderAppearance*>(source)) CopyFrom(*other);
}

TFooterAppearance::TFooterAppearance(vcl::TComponent* owner) : TBarAppearance<TFooterButtons>(owner) {}

void TFooterAppearance::Assign(const vcl::TPersistent* source) {
  auto* other = dynamic_cast<const TFooterAppearance*>(source);
  if (!other) return;
  CopyFrom(*other);
  sizeGrip_ = other->sizeGrip_;
}

void* TDbgList::Items(vcl::Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::Exception("Index out of bounds in list read access");
  return Get(index);
}

}  // namespace dropdown
