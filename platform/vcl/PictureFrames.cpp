#include "vcl/PictureFrames.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "vcl/GdiPlus.h"
#include "vcl/GdiPlusObjects.h"

namespace vcl {

namespace {

// The kinds a page's pictures come in; other picture files are refused.
bool PagePictureKind(TGpImageFormat f) {
  return f == TGpImageFormat::BMP || f == TGpImageFormat::PNG || f == TGpImageFormat::GIF ||
         f == TGpImageFormat::JPEG || f == TGpImageFormat::EXIF;
}

}  // namespace

TPictureFrame::TPictureFrame() = default;
TPictureFrame::~TPictureFrame() = default;

void TPictureFrame::Clear() { image_.reset(); }

bool TPictureFrame::Empty() const { return !image_ || image_->isNull(); }
Integer TPictureFrame::Width() const { return Empty() ? 0 : image_->width(); }
Integer TPictureFrame::Height() const { return Empty() ? 0 : image_->height(); }

TPictureReadResult TPictureFrame::Decode(const Byte* data, size_t size, Integer frameIndex, const TRect& crop) {
  image_.reset();
  const TGpImageFormat kind = GdipFormatOfSignature(data, size);
  const char* format = PagePictureKind(kind) ? QtReaderFormat(kind) : nullptr;
  if (!format || size > 0x7FFFFFFF) return TPictureReadResult::UnknownFormat;
  if (frameIndex < 0) return TPictureReadResult::Unreadable;
  // The bytes stay the caller's: the reader only looks at them.
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  QImage decoded;
  // An animation's frames build on one another, so they are read in turn up
  // to the one wanted.
  for (Integer i = 0; i <= frameIndex; ++i) {
    decoded = reader.read();
    if (decoded.isNull()) return TPictureReadResult::Unreadable;
  }
  if (!crop.IsEmpty() && crop.Left >= 0 && crop.Top >= 0 && crop.Right <= decoded.width() &&
      crop.Bottom <= decoded.height() && (crop.Width() != decoded.width() || crop.Height() != decoded.height()))
    decoded = decoded.copy(crop.Left, crop.Top, crop.Width(), crop.Height());
  image_ = std::make_unique<QImage>(decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  return TPictureReadResult::Ok;
}

}  // namespace vcl
