#include "vcl/ImgList.h"

#include <QImage>
#include <QPainter>
#include <vector>

#include "vcl/QtCanvas.h"

namespace vcl {

struct TImageList::Images {
  std::vector<QImage> list;  // ARGB32, width_ by height_
};

TImageList::TImageList(TComponent* owner) : TComponent(owner), images_(std::make_unique<Images>()) {}
TImageList::~TImageList() { DetachChangeLinks(); }

void TImageList::Changed() {
  if (OnChange) OnChange(this);
  NotifyChangeLinks();
}

void TImageList::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TImageList*>(source)) {
    if (other == this) return;
    width_ = other->width_;
    height_ = other->height_;
    bkColor_ = other->bkColor_;
    images_->list = other->images_->list;
    Changed();
    return;
  }
  TComponent::Assign(source);
}

void TImageList::SetWidth(Integer w) {
  if (w < 1 || w == width_) return;
  width_ = w;
  Clear();
}

void TImageList::SetHeight(Integer h) {
  if (h < 1 || h == height_) return;
  height_ = h;
  Clear();
}

Integer TImageList::Count() const { return static_cast<Integer>(images_->list.size()); }

void TImageList::SetBkColor(TColor c) {
  if (c == bkColor_) return;
  bkColor_ = c;
  Changed();
}

Integer TImageList::AddImages(const QImage& pixels) {
  if (pixels.isNull()) return -1;
  Integer first = Count();
  Integer slices = std::max(1, pixels.width() / width_);
  for (Integer i = 0; i < slices; ++i) {
    QImage slice(width_, height_, QImage::Format_ARGB32);
    slice.fill(Qt::transparent);
    QPainter p(&slice);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), pixels, QRect(i * width_, 0, width_, height_));
    p.end();
    images_->list.push_back(slice);
  }
  Changed();
  return first;
}

namespace {

// The picture with alpha from a mask (white: transparent) or opaque.
QImage Masked(TBitmap* image, TBitmap* mask) {
  QImage out = image->Pixels().convertToFormat(QImage::Format_ARGB32);
  if (image->PixelFormat() != pf32bit)
    for (int y = 0; y < out.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < out.width(); ++x) row[x] |= 0xFF000000;
    }
  if (!mask || mask->Empty()) return out;
  const QImage& m = mask->Pixels();
  for (int y = 0; y < out.height() && y < m.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width() && x < m.width(); ++x)
      if ((m.pixel(x, y) & 0x00FFFFFF) == 0x00FFFFFF) row[x] = 0;
  }
  return out;
}

}  // namespace

Integer TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  return AddImages(Masked(image, mask));
}

Integer TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  QImage out = Masked(image, nullptr);
  TColor key = maskColor == clDefault ? image->Canvas()->Pixels(0, image->Height() - 1) : maskColor;
  QRgb k = ToQColor(key & 0x00FFFFFF).rgb() & 0x00FFFFFF;
  if (key & clSystemColor) k = ToQColor(key).rgb() & 0x00FFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0x00FFFFFF) == k) row[x] = 0;
  }
  return AddImages(out);
}

Integer TImageList::AddIcon(TIcon* icon) {
  if (!icon || icon->Empty()) return -1;
  QImage scaled = icon->Image()->scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return AddImages(scaled.convertToFormat(QImage::Format_ARGB32));
}

void TImageList::Replace(Integer index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  if (!image || image->Empty()) return;
  QImage pixels = Masked(image, mask);
  QImage slice(width_, height_, QImage::Format_ARGB32);
  slice.fill(Qt::transparent);
  QPainter p(&slice);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(0, 0), pixels, QRect(0, 0, width_, height_));
  p.end();
  images_->list[index] = slice;
  Changed();
}

void TImageList::Delete(Integer index) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  images_->list.erase(images_->list.begin() + index);
  Changed();
}

void TImageList::Clear() {
  images_->list.clear();
  Changed();
}

void TImageList::GetBitmap(Integer index, TBitmap* bitmap) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetImage(images_->list[index]);
}

namespace {

// The shape of an image (pixels at least half opaque) in one colour.
QImage Shape(const QImage& image, QColor color) {
  QImage out(image.size(), QImage::Format_ARGB32);
  QRgb c = color.rgb() | 0xFF000000;
  for (int y = 0; y < image.height(); ++y) {
    auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width(); ++x) dst[x] = qAlpha(src[x]) >= 128 ? c : 0;
  }
  return out;
}

}  // namespace

void TImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled) {
  if (!canvas || index < 0 || index >= Count()) return;
  // Drawing goes through the canvas's picture call so that every kind of
  // canvas (recording ones included) sees it; the bitmap carries the
  // alpha that the image list's transparency needs.
  const QImage& image = images_->list[index];
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetTransparent(true);
  if (bkColor_ != clNone) {
    QImage flat(image.size(), QImage::Format_ARGB32);
    flat.fill(ToQColor(bkColor_));
    QPainter p(&flat);
    p.drawImage(0, 0, image);
    p.end();
    bmp.SetImage(flat);
    canvas->Draw(x, y, &bmp);
    return;
  }
  if (enabled) {
    bmp.SetImage(image);
    canvas->Draw(x, y, &bmp);
    return;
  }
  bmp.SetImage(Shape(image, ToQColor(clBtnHighlight)));
  canvas->Draw(x + 1, y + 1, &bmp);
  bmp.SetImage(Shape(image, ToQColor(clBtnShadow)));
  canvas->Draw(x, y, &bmp);
}

}  // namespace vcl
