#include "controls/LumHintInfo.h"

namespace controls {

TLumHintInfo::TLumHintInfo()
    : picture_(std::make_unique<TGDIPPicture>()), notes_(std::make_unique<rtl::TStringList>()) {}

TLumHintInfo::~TLumHintInfo() = default;

void TLumHintInfo::Assign(const vcl::TPersistent* Source) {
  auto* other = dynamic_cast<const TLumHintInfo*>(Source);
  if (!other || other == this) return;
  title_ = other->title_;
  notes_->Assign(*other->notes_);
  showHelp_ = other->showHelp_;
  picture_->Assign(other->picture_.get());
  unicodeTitle_ = other->unicodeTitle_;
  unicodeNotes_ = other->unicodeNotes_;
}

void TLumHintInfo::SetNotes(const rtl::TStrings* Value) {
  if (Value)
    notes_->Assign(*Value);
  else
    notes_->Clear();
}

}  // namespace controls
