#include "dropdown/PictureContainer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "dropdown/text/HtmlMarkup.h"
#include "rtl/Exceptions.h"
#include "rtl/Convert.h"
#include "rtl/Streams.h"
#include "vcl/Graphics.h"
#include "vcl/Resources.h"

namespace dropdown {

namespace {

Integer MulDiv(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  long long p = static_cast<long long>(a) * b;
  long long q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
  return static_cast<Integer>(q);
}

Integer Le16(const Byte* b) { return static_cast<Integer>(b[0] | (b[1] << 8)); }

bool IsGif(const std::vector<Byte>& d) { return d.size() >= 5 && std::memcmp(d.data(), "GIF8", 4) == 0; }

// The offsets of the image descriptors of a GIF in file order, found by
// walking its blocks; stops at the trailer or at the first block that runs
// past the end.
std::vector<size_t> GifImageDescriptors(const Byte* d, size_t n) {
  std::vector<size_t> images;
  if (n < 13) return images;
  size_t p = 13;
  if (d[10] & 0x80) p += 3u * (1u << ((d[10] & 7) + 1));
  auto skipSubBlocks = [&](size_t q) -> size_t {
    while (q < n) {
      Byte len = d[q];
      if (len == 0) return q + 1;
      q += 1u + len;
    }
    return n + 1;
  };
  while (p < n) {
    if (d[p] == 0x2C) {
      if (p + 10 > n) break;
      images.push_back(p);
      size_t q = p + 10;
      if (d[p + 9] & 0x80) q += 3u * (1u << ((d[p + 9] & 7) + 1));
      q += 1;  // the code size
      p = skipSubBlocks(q);
    } else if (d[p] == 0x21) {
      p = skipSubBlocks(p + 2);
    } else {
      break;  // the trailer, or bytes that are no block
    }
  }
  return images;
}

// The bytes of a file that is a regular file of at most the limit; false for
// anything else. Opened without waiting, so a FIFO or a device named there
// cannot hold the caller up, and judged on what was opened.
bool ReadRegularFile(const AnsiString& fileName, std::vector<Byte>& out) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxPictureFileSize;
  if (ok) {
    out.assign(static_cast<size_t>(st.st_size), 0);
    size_t got = 0;
    while (got < out.size()) {
      ssize_t r = ::read(fd, out.data() + got, out.size() - got);
      if (r < 0) {
        ok = false;
        break;
      }
      if (r == 0) break;
      got += static_cast<size_t>(r);
    }
    out.resize(got);
  }
  ::close(fd);
  return ok;
}

}  // namespace

std::vector<size_t> GifFrameStarts(const Byte* data, size_t size) {
  std::vector<size_t> starts;
  for (size_t i = 0; i + 9 < size; ++i)
    if (data[i] == 0x21 && data[i + 1] == 0xF9 && data[i + 2] == 0x04 && data[i + 8] == 0x2C) starts.push_back(i);
  return starts;
}

// --- THTMLPicture ---

THTMLPicture::THTMLPicture() { transparent_ = true; }
THTMLPicture::~THTMLPicture() = default;

Integer THTMLPicture::Width() const { return decoded_.Empty() ? 0 : MulDiv(himetricWidth_, 96, 2540); }
Integer THTMLPicture::Height() const { return decoded_.Empty() ? 0 : MulDiv(himetricHeight_, 96, 2540); }

Integer THTMLPicture::AnimationWidth() const {
  if (decoded_.Empty()) return 0;
  return screenWidth_ != 0 ? screenWidth_ : Width();
}

Integer THTMLPicture::AnimationHeight() const {
  if (decoded_.Empty()) return 0;
  return screenHeight_ != 0 ? screenHeight_ : Height();
}

Integer THTMLPicture::AnimationFrames() {
  if (!frameCounted_) {
    frameCount_ = IsGif(data_) ? static_cast<Integer>(GifFrameStarts(data_.data(), data_.size()).size()) : -1;
    frameCounted_ = true;
  }
  return frameCount_;
}

void THTMLPicture::Decode() {
  decoded_.Clear();
  himetricWidth_ = himetricHeight_ = 0;
  frameLeft_ = frameTop_ = frameWidth_ = frameHeight_ = 0;
  screenWidth_ = screenHeight_ = 0;
  if (data_.empty()) throw rtl::Exception("Empty image stream created");
  Integer readerFrame = 0;
  vcl::TRect crop;
  if (IsGif(data_)) {
    std::vector<size_t> starts = GifFrameStarts(data_.data(), data_.size());
    if (!starts.empty()) {
      if (data_.size() >= 10) {
        screenWidth_ = Le16(&data_[6]);
        screenHeight_ = Le16(&data_[8]);
      }
      size_t chosen = static_cast<size_t>(std::clamp<Integer>(frame_, 1, static_cast<Integer>(starts.size())) - 1);
      size_t descriptor = starts[chosen] + 8;
      if (descriptor + 9 <= data_.size()) {
        frameLeft_ = Le16(&data_[descriptor + 1]);
        frameTop_ = Le16(&data_[descriptor + 3]);
        frameWidth_ = Le16(&data_[descriptor + 5]);
        frameHeight_ = Le16(&data_[descriptor + 7]);
        crop = vcl::TRect{frameLeft_, frameTop_, frameLeft_ + frameWidth_, frameTop_ + frameHeight_};
      }
      // The reader counts images, which the scan may not (an image without
      // a control extension before it): find the chosen one among them.
      std::vector<size_t> images = GifImageDescriptors(data_.data(), data_.size());
      auto at = std::find(images.begin(), images.end(), descriptor);
      readerFrame = at != images.end() ? static_cast<Integer>(at - images.begin()) : static_cast<Integer>(chosen);
    }
  }
  switch (decoded_.Decode(data_.data(), data_.size(), readerFrame, crop)) {
    case vcl::TPictureReadResult::Ok: break;
    case vcl::TPictureReadResult::UnknownFormat: throw rtl::Exception("Could not load image. Invalid format");
    case vcl::TPictureReadResult::Unreadable: throw rtl::Exception("Could not load image");
  }
  himetricWidth_ = MulDiv(decoded_.Width(), 2540, 96);
  himetricHeight_ = MulDiv(decoded_.Height(), 2540, 96);
}

void THTMLPicture::DecodeQuietly() {
  try {
    Decode();
  } catch (const rtl::Exception&) {
  }
}

void THTMLPicture::TakeData(std::vector<Byte> data) {
  data_ = std::move(data);
  empty_ = false;
  frameCounted_ = false;
  frameCount_ = -1;
}

void THTMLPicture::Assign(const vcl::TPersistent* source) {
  empty_ = true;
  decoded_.Clear();
  himetricWidth_ = himetricHeight_ = 0;
  frameCounted_ = false;
  frameCount_ = -1;
  frame_ = 1;
  if (!source) {
    data_.clear();
    return;
  }
  auto* other = dynamic_cast<const THTMLPicture*>(source);
  if (!other) return;
  if (other == this) {
    if (!data_.empty()) {
      empty_ = false;
      DecodeQuietly();
    }
    Changed();
    return;
  }
  stretch_ = other->stretch_;
  frame_ = other->frame_;
  location_ = other->location_;
  data_ = other->data_;
  empty_ = other->empty_;
  if (!data_.empty()) DecodeQuietly();
  Changed();
}

void THTMLPicture::ReadData(rtl::TStream& stream) {
  rtl::Int64 rest = stream.Size() - stream.Position();
  std::vector<Byte> bytes(rest > 0 ? static_cast<size_t>(rest) : 0);
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  TakeData(std::move(bytes));
  Decode();
}

void THTMLPicture::LoadFromStream(rtl::TStream& stream) {
  ReadData(stream);
  Changed();
}

void THTMLPicture::SaveToStream(rtl::TStream& stream) {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<Integer>(data_.size()));
}

void THTMLPicture::LoadFromFile(const AnsiString& fileName) {
  std::vector<Byte> bytes;
  bool ok = ReadRegularFile(fileName, bytes);
  if (ok) {
    TakeData(std::move(bytes));
    try {
      Decode();
    } catch (const rtl::Exception&) {
      ok = false;
    }
  }
  if (!ok) {
    data_.clear();
    decoded_.Clear();
    himetricWidth_ = himetricHeight_ = 0;
    empty_ = true;
    frameCounted_ = false;
    frameCount_ = -1;
    return;
  }
  Changed();
}

void THTMLPicture::LoadFromRawResource(const AnsiString& name) {
  const Byte* data = nullptr;
  size_t size = 0;
  if (!vcl::FindResourceData(name, &data, &size)) return;
  rtl::TMemoryStream stream;
  if (size > 0) stream.WriteBuffer(data, static_cast<Integer>(size));
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void THTMLPicture::LoadFromLocation(const AnsiString& location) {
  location_ = location;
  if (StartsNoCase(location, "RES://")) {
    LoadFromRawResource(location.substr(6));
  } else if (StartsNoCase(location, "FILE://")) {
    LoadFromFile(location.substr(7));
  }
  // Other locations are network ones, which are not fetched.
}

void THTMLPicture::SetFrame(Integer frame) {
  frame_ = frame;
  if (data_.empty()) return;
  Decode();
  if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::Draw(vcl::TCanvas* canvas, const vcl::TRect& r) {
  if (empty_ || decoded_.Empty() || !canvas) return;
  if (stretch_) {
    vcl::TGraphic::Draw(canvas, r);
    return;
  }
  Integer ppi = canvas->Font()->PixelsPerInch();
  if (ppi <= 0) ppi = 96;
  Integer w = MulDiv(himetricWidth_, ppi, 2540);
  Integer h = MulDiv(himetricHeight_, ppi, 2540);
  vcl::TGraphic::Draw(canvas, vcl::TRect{r.Left, r.Top, r.Left + w, r.Top + h});
}

// --- THTMLPictureCache ---

THTMLPictureCache::THTMLPictureCache() = default;
THTMLPictureCache::~THTMLPictureCache() { FreePictures(); }

THTMLPicture* THTMLPictureCache::AppendPicture() {
  pictures_.push_back(std::make_unique<THTMLPicture>());
  return pictures_.back().get();
}

THTMLPicture* THTMLPictureCache::PictureByLocation(const AnsiString& location) const {
  for (const auto& p : pictures_)
    if (p->Location() == location) return p.get();
  return nullptr;
}

THTMLPicture* THTMLPictureCache::PictureAt(Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::EListError("List index out of bounds (" + rtl::IntToStr(index) + ")");
  return pictures_[static_cast<size_t>(index)].get();
}

void THTMLPictureCache::FreePictures() { pictures_.clear(); }

// --- TPictureItem, TPictureCollection, TPictureContainer ---

TPictureItem::TPictureItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), picture_(std::make_unique<THTMLPicture>()) {}
TPictureItem::~TPictureItem() = default;

void TPictureItem::SetPicture(const THTMLPicture* picture) { picture_->Assign(picture); }

void TPictureItem::Assign(const vcl::TPersistent* source) {
  if (auto* other = dynamic_cast<const TPictureItem*>(source)) {
    if (other == this) return;
    name_ = other->name_;
    tag_ = other->tag_;
    picture_->Assign(other->picture_.get());
    return;
  }
  vcl::TPersistent::Assign(source);
}

AnsiString TPictureItem::DisplayName() const { return name_.empty() ? rtl::TCollectionItem::DisplayName() : name_; }

void TPictureCollection::Assign(const TPictureCollection& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
  EndUpdate();
}

TPictureContainer::TPictureContainer(vcl::TComponent* owner)
    : vcl::TComponent(owner), items_(std::make_unique<TPictureCollection>(this)) {}
TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::SetItems(const TPictureCollection* items) {
  if (items) {
    items_->Assign(*items);
  } else {
    items_->Clear();
  }
}

AnsiString TPictureContainer::Version() const {
  const rtl::Cardinal version = 0x01000000;
  AnsiString text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) text += '.';
    text += rtl::IntToStr(static_cast<Integer>((version >> shift) & 0xFF));
  }
  return text;
}

THTMLPicture* TPictureContainer::PictureByName(const AnsiString& name) const {
  for (Integer i = 0; i < items_->Count(); ++i) {
    TPictureItem* item = items_->Items(i);
    if (item->Name().size() == name.size() && StartsNoCase(item->Name(), name)) return item->Picture();
  }
  return nullptr;
}

}  // namespace dropdown
