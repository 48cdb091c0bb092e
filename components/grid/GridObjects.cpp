#include "grid/GridObjects.h"

#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "vcl/Pictures.h"

namespace grid {

TControlEntry& TControlList::Items(Integer index) {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  return *entries_[index];
}

void TControlList::DeleteEntry(Integer index) {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  entries_.erase(entries_.begin() + index);
}

void TFilePicture::SetFilename(const AnsiString& name) {
  filename_ = name;
  vcl::TPicture picture;
  picture.LoadFromFile(name);
  width_ = picture.Width();
  height_ = picture.Height();
}

void TFilePicture::Draw(vcl::TCanvas* canvas, const vcl::TRect& r) const {
  if (filename_.empty()) return;
  vcl::TPicture picture;
  picture.LoadFromFile(filename_);
  canvas->StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TFilePicture*>(source);
  if (s == nullptr) return;
  filename_ = s->filename_;
  width_ = s->width_;
  height_ = s->height_;
}

}  // namespace grid
