#include "support/MoxComponent.h"

namespace support {

void TMoxPersistentProperty::BeginUpdate() {
  if (updateCount_ == 0) UpdateStateChanged(true);
  ++updateCount_;
}

void TMoxPersistentProperty::EndUpdate() {
  const Integer before = updateCount_--;
  if (before == 1) UpdateStateChanged(false);
}

void TMoxPersistentProperty::NotifyChanged() {
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

void TMoxPersistentProperty::NotifyChanging() {
  if (updateCount_ == 0 && OnChanging) OnChanging(this);
}

void TMoxPersistentProperty::NotifyPropertyChanged(const AnsiString& name) {
  if (OnPropertyChanged) OnPropertyChanged(this, name);
}

void TMoxPersistentProperty::NotifyPropertyChanging(const AnsiString& name) {
  if (OnPropertyChanging) OnPropertyChanging(this, name);
}

void TMoxPersistentProperty::UpdateStateChanged(bool updating) {
  if (updating)
    NotifyChanging();
  else
    NotifyChanged();
}

void TMoxHotTrackOptions::Assign(const vcl::TPersistent* source) {
  auto* other = dynamic_cast<const TMoxHotTrackOptions*>(source);
  if (!other) {
    TMoxPersistentProperty::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    SetEnabled(other->enabled_);
    SetFrameVisible(other->frameVisible_);
    SetColor(other->color_);
    SetFrameColor(other->frameColor_);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace support
