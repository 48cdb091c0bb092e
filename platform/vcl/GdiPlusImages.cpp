// GDI+ images: picture files read whole from a stream, told apart by their
// signature and decoded through Qt's readers.
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstring>

#include "vcl/GdiPlusObjects.h"

namespace vcl {

namespace {

bool Starts(const Byte* b, size_t n, const char* sig, size_t len) { return n >= len && std::memcmp(b, sig, len) == 0; }

uint32_t Le32(const Byte* b) {
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
         (static_cast<uint32_t>(b[3]) << 24);
}

GpStatus Load(rtl::TStream* stream, GpImage** image) {
  if (!image) return InvalidParameter;
  *image = nullptr;
  if (!GdiplusRunning()) return GdiplusNotInitialized;
  if (!stream) return InvalidParameter;
  rtl::Int64 size = stream->Size();
  if (size <= 0 || size > 0x7FFFFFFF) return size <= 0 ? UnknownImageFormat : OutOfMemory;
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  stream->SetPosition(0);
  if (stream->Read(bytes.data(), static_cast<Integer>(size)) != size) return Win32Error;
  auto* data = reinterpret_cast<const Byte*>(bytes.constData());
  TGpImageFormat format = GdipFormatOfSignature(data, bytes.size());
  if (format == TGpImageFormat::Unknown) return UnknownImageFormat;
  auto img = std::make_unique<GpImage>();
  img->format = format;
  if (format == TGpImageFormat::EMF || format == TGpImageFormat::WMF) {
    *image = img.release();  // recognised, not drawn: 0 x 0
    return Ok;
  }
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, QtReaderFormat(format));
  QImage decoded;
  if (format == TGpImageFormat::Icon) {
    // The largest of the icon's images.
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
      if (i > 0 && !reader.jumpToImage(i)) break;
      QImage candidate = reader.read();
      if (!candidate.isNull() && (decoded.isNull() || candidate.width() * candidate.height() >
                                                          decoded.width() * decoded.height()))
        decoded = candidate;
    }
  } else {
    decoded = reader.read();
  }
  if (decoded.isNull()) return OutOfMemory;  // the desktop's answer for broken or oversized pictures
  img->pixels = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  *image = img.release();
  return Ok;
}

}  // namespace

TGpImageFormat GdipFormatOfSignature(const Byte* b, size_t n) {
  if (Starts(b, n, "BM", 2)) return TGpImageFormat::BMP;
  if (Starts(b, n, "\x89PNG\r\n\x1a\n", 8)) return TGpImageFormat::PNG;
  if (Starts(b, n, "GIF87a", 6) || Starts(b, n, "GIF89a", 6)) return TGpImageFormat::GIF;
  if (Starts(b, n, "\xFF\xD8\xFF", 3)) return TGpImageFormat::JPEG;
  if (Starts(b, n, "II*\0", 4) || Starts(b, n, "MM\0*", 4)) return TGpImageFormat::TIFF;
  if (Starts(b, n, "\0\0\1\0", 4) && n >= 6 && (b[4] | b[5]) != 0) return TGpImageFormat::Icon;
  if (n >= 44 && Le32(b) == 1 && Starts(b + 40, n - 40, " EMF", 4)) return TGpImageFormat::EMF;
  if (Starts(b, n, "\xD7\xCD\xC6\x9A", 4)) return TGpImageFormat::WMF;  // placeable metafile
  if (n >= 4 && (b[0] == 1 || b[0] == 2) && b[1] == 0 && b[2] == 9 && b[3] == 0) return TGpImageFormat::WMF;
  return TGpImageFormat::Unknown;
}

GpStatus GdipLoadImageFromStream(rtl::TStream* stream, GpImage** image) { return Load(stream, image); }
GpStatus GdipLoadImageFromStreamICM(rtl::TStream* stream, GpImage** image) { return Load(stream, image); }
GpStatus GdipCreateBitmapFromStream(rtl::TStream* stream, GpBitmap** bitmap) { return Load(stream, bitmap); }
GpStatus GdipCreateBitmapFromStreamICM(rtl::TStream* stream, GpBitmap** bitmap) { return Load(stream, bitmap); }

GpStatus GdipDisposeImage(GpImage* image) {
  if (!image) return InvalidParameter;
  delete image;
  return Ok;
}

GpStatus GdipGetImageRawFormat(GpImage* image, TGpImageFormat* format) {
  if (!image || !format) return InvalidParameter;
  *format = image->format;
  return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, uint32_t* width) {
  if (!image || !width) return InvalidParameter;
  *width = static_cast<uint32_t>(image->pixels.width());
  return Ok;
}

GpStatus GdipGetImageHeight(GpImage* image, uint32_t* height) {
  if (!image || !height) return InvalidParameter;
  *height = static_cast<uint32_t>(image->pixels.height());
  return Ok;
}

GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, int32_t x, int32_t y, ARGB* color) {
  if (!bitmap || !color || x < 0 || y < 0 || x >= bitmap->pixels.width() || y >= bitmap->pixels.height())
    return InvalidParameter;
  *color = ArgbOfPremultiplied(bitmap->pixels.pixel(x, y));  // stored premultiplied
  return Ok;
}

GpStatus GdipCreateImageAttributes(GpImageAttributes** attributes) {
  if (!attributes) return InvalidParameter;
  *attributes = nullptr;
  if (!GdiplusRunning()) return GdiplusNotInitialized;
  *attributes = new GpImageAttributes;
  return Ok;
}

GpStatus GdipDisposeImageAttributes(GpImageAttributes* attributes) {
  if (!attributes) return InvalidParameter;
  delete attributes;
  return Ok;
}

GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, bool enable,
                                         ARGB low, ARGB high) {
  if (!attributes || type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount) return InvalidParameter;
  attributes->keyed = enable;
  attributes->low = low;
  attributes->high = high;
  return Ok;
}

GpStatus GdipDrawImageI(GpGraphics* g, GpImage* image, int32_t x, int32_t y) {
  if (!image) return InvalidParameter;
  return GdipDrawImageRect(g, image, REAL(x), REAL(y), REAL(image->pixels.width()), REAL(image->pixels.height()));
}

GpStatus GdipDrawImageRect(GpGraphics* g, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
  if (!image) return InvalidParameter;
  return GdipDrawImageRectRect(g, image, x, y, width, height, 0, 0, REAL(image->pixels.width()),
                               REAL(image->pixels.height()), UnitPixel, nullptr, nullptr, nullptr);
}

GpStatus GdipDrawImageRectRect(GpGraphics* g, GpImage* image, REAL dstX, REAL dstY, REAL dstWidth, REAL dstHeight,
                               REAL srcX, REAL srcY, REAL srcWidth, REAL srcHeight, Unit srcUnit,
                               GpImageAttributes* attributes, void*, void*) {
  if (!g || !image) return InvalidParameter;
  if (srcUnit != UnitPixel) return NotImplemented;
  if (image->pixels.isNull()) return Ok;  // a metafile: recognised, not drawn
  g->canvas->GdipDrawImage(g, image, {dstX, dstY, dstWidth, dstHeight}, {srcX, srcY, srcWidth, srcHeight},
                           attributes);
  return Ok;
}

const QImage* GdipImagePixels(GpImage* image) {
  return image && !image->pixels.isNull() ? &image->pixels : nullptr;
}

const char* QtReaderFormat(TGpImageFormat f) {
  switch (f) {
    case TGpImageFormat::BMP: return "bmp";
    case TGpImageFormat::PNG: return "png";
    case TGpImageFormat::GIF: return "gif";
    case TGpImageFormat::JPEG:
    case TGpImageFormat::EXIF: return "jpeg";
    case TGpImageFormat::TIFF: return "tiff";
    case TGpImageFormat::Icon: return "ico";
    default: return nullptr;
  }
}

}  // namespace vcl
