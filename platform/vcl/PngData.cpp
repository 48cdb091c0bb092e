#include "vcl/PngData.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace vcl {

std::string GraphicToPng(TGraphic* graphic) {
  const QImage* image = graphic != nullptr ? graphic->Image() : nullptr;
  if (image == nullptr || image->isNull()) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image->save(&buffer, "PNG")) return {};
  return bytes.toStdString();
}

bool BitmapFromPng(std::string_view png, TBitmap& bitmap) {
  QImage image;
  if (png.empty() ||
      !image.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"))
    return false;
  bitmap.SetPixelFormat(image.hasAlphaChannel() ? pf32bit : pfDevice);
  bitmap.SetImage(image);
  return true;
}

}  // namespace vcl
