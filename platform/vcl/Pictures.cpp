#include "vcl/Pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstring>

#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "vcl/Jpeg.h"
#include "vcl/QtCanvas.h"
#include "vcl/Resources.h"

namespace vcl {

namespace {

std::vector<Byte> ReadRest(rtl::TStream& stream) {
  rtl::Int64 size = stream.Size() - stream.Position();
  std::vector<Byte> bytes(size > 0 ? static_cast<size_t>(size) : 0);
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  return bytes;
}

void WriteBytes(rtl::TStream& stream, const QByteArray& bytes) {
  if (!bytes.isEmpty()) stream.WriteBuffer(bytes.constData(), static_cast<Integer>(bytes.size()));
}

QByteArray Encode(const QImage& image, const char* format) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) return {};
  return out;
}

// The image with its alpha taken as meaningless (a 32-bit bitmap draws as
// an opaque one).
QImage Opaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return image;
  if (image.format() == QImage::Format_ARGB32)
    return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(), QImage::Format_RGB32);
  return image.convertToFormat(QImage::Format_RGB32);
}

// A copy whose pixels of the colour key are fully transparent.
QImage Keyed(const QImage& image, TColor key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  TColor rgb = ColorToRGB(key & 0x00FFFFFF);
  QRgb k = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)) & 0x00FFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0x00FFFFFF) == k) row[x] = 0;
  }
  return out;
}

}  // namespace

// --- TGraphic ---

TGraphic::TGraphic() = default;
TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed();
}

void TGraphic::SetModified(bool v) {
  if (v) {
    Changed();
  } else {
    modified_ = false;
  }
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& fileName) {
  rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const AnsiString& fileName) {
  rtl::TMemoryStream memory;
  SaveToStream(memory);
  memory.SaveToFile(fileName);
}

void TGraphic::Draw(TCanvas* canvas, const TRect& r) {
  const QImage* image = Image();
  if (!image || image->isNull() || r.IsEmpty() || !canvas->Surface()) return;
  TColor key = transparent_ ? DrawTransparentColor() : clNone;
  SurfacePainter p(*canvas->Surface());
  QRect target(r.Left, r.Top, r.Width(), r.Height());
  if (key != clNone) {
    p->drawImage(target, Keyed(*image, key));
  } else if (transparent_ && image->hasAlphaChannel()) {
    p->drawImage(target, *image);
  } else {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(target, Opaque(*image));
  }
}

// --- TBitmap ---

class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

 protected:
  void CreateHandle() override {
    auto s = std::make_unique<TCanvasSurface>();
    if (bitmap_->Empty()) {
      // Drawing on an empty bitmap does nothing and raises nothing: the
      // canvas draws on a placeholder pixel it is clipped away from.
      s->image = &placeholder_;
      s->clip = QRect(2, 2, 1, 1);
    } else {
      s->image = &bitmap_->Pixels();
    }
    SetSurface(std::move(s));
  }

 private:
  TBitmap* bitmap_;  // owns this canvas
  QImage placeholder_{1, 1, QImage::Format_RGB32};
};

namespace {
QImage::Format QtFormat(TPixelFormat f) {
  switch (f) {
    case pf24bit: return QImage::Format_BGR888;
    case pf32bit: return QImage::Format_ARGB32;
    default: return QImage::Format_RGB32;
  }
}
}  // namespace

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(Integer width, Integer height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

bool TBitmap::Empty() const { return image_->isNull(); }
Integer TBitmap::Width() const { return image_->width(); }
Integer TBitmap::Height() const { return image_->height(); }
void TBitmap::SetWidth(Integer w) { SetSize(w, Height()); }
void TBitmap::SetHeight(Integer h) { SetSize(Width(), h); }

void TBitmap::SetSize(Integer w, Integer h) {
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  if (w == Width() && h == Height()) return;
  Reformat(w, h, pixelFormat_);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
  if (f != pfDevice && f != pf24bit && f != pf32bit) throw EInvalidGraphicOperation("Unsupported pixel format");
  if (f == pixelFormat_) return;
  Reformat(Width(), Height(), f);
  Changed();
}

void TBitmap::Reformat(Integer w, Integer h, TPixelFormat f) {
  QImage::Format fmt = QtFormat(f);
  QImage next;
  if (w > 0 && h > 0) {
    next = QImage(w, h, fmt);
    next.fill(QColor(255, 255, 255, 255));
    if (!image_->isNull()) {
      QImage old = image_->format() == fmt ? *image_ : image_->convertToFormat(fmt);
      int rows = std::min(h, old.height());
      int bytes = std::min(w, old.width()) * (next.depth() / 8);
      for (int y = 0; y < rows; ++y) std::memcpy(next.scanLine(y), old.constScanLine(y), bytes);
    }
  }
  // The canvas keeps a pointer to this very QImage object; only its
  // contents change, and the canvas binds afresh for the new size.
  *image_ = std::move(next);
  pixelFormat_ = f;
  if (canvas_) canvas_->Refresh();
}

void* TBitmap::ScanLine(Integer row) {
  if (row < 0 || row >= Height()) throw EInvalidGraphicOperation("Scan line index out of range");
  return image_->scanLine(row);
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clNone;
  QRgb p = image_->pixel(0, Height() - 1);
  // The automatic colour carries the library's mark for a colour taken
  // from the picture itself.
  return RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p))) | 0x02000000;
}

void TBitmap::SetTransparentColor(TColor c) {
  transparentColor_ = c;
  transparentMode_ = (c == clDefault) ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
  if (m == transparentMode_) return;
  if (m == tmAuto) {
    SetTransparentColor(clDefault);
  } else {
    SetTransparentColor(TransparentColor());
  }
}

// A 32-bit bitmap with the automatic colour is transparent by its alpha.
TColor TBitmap::DrawTransparentColor() {
  if (pixelFormat_ == pf32bit && transparentMode_ == tmAuto) return clNone;
  return TransparentColor();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TBitmapCanvas>(this);
    canvas_->OnChange = [this](TObject*) { Changed(); };
  }
  return canvas_.get();
}

const QImage* TBitmap::Image() { return Empty() ? nullptr : image_.get(); }
QImage& TBitmap::Pixels() { return *image_; }

void TBitmap::SetImage(const QImage& image) {
  *image_ = image.convertToFormat(QtFormat(pixelFormat_));
  if (canvas_) canvas_->Refresh();
  Changed();
}

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    Reformat(0, 0, pixelFormat_);
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    *image_ = *b->image_;
    pixelFormat_ = b->pixelFormat_;
    transparentMode_ = b->transparentMode_;
    transparentColor_ = b->transparentColor_;
    transparent_ = b->transparent_;
    if (canvas_) canvas_->Refresh();
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    auto* graphic = const_cast<TGraphic*>(g);  // decoding on demand changes no visible state
    const QImage* image = graphic->Image();
    if (!image) {
      Assign(nullptr);
      return;
    }
    pixelFormat_ = image->hasAlphaChannel() ? pf32bit : pfDevice;
    *image_ = image->convertToFormat(QtFormat(pixelFormat_));
    transparent_ = g->Transparent();
    if (canvas_) canvas_->Refresh();
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::LoadFromStream(rtl::TStream& stream) {
  std::vector<Byte> bytes = ReadRest(stream);
  QImage image;
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' ||
      !image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP"))
    throw EInvalidGraphic("Bitmap image is not valid");
  pixelFormat_ = image.hasAlphaChannel() ? pf32bit : pf24bit;
  *image_ = image.convertToFormat(QtFormat(pixelFormat_));
  if (canvas_) canvas_->Refresh();
  Changed();
}

void TBitmap::SaveToStream(rtl::TStream& stream) {
  if (Empty()) return;
  QImage out = pixelFormat_ == pf32bit ? *image_ : image_->convertToFormat(QImage::Format_RGB888);
  WriteBytes(stream, Encode(out, "BMP"));
}

// --- Decoded pictures ---

TDecodedImage::TDecodedImage(const char* format, const char* invalidMessage)
    : format_(format), invalidMessage_(invalidMessage), image_(std::make_unique<QImage>()) {
  transparent_ = true;
}

TDecodedImage::~TDecodedImage() = default;

bool TDecodedImage::Empty() const { return image_->isNull(); }
Integer TDecodedImage::Width() const { return image_->width(); }
Integer TDecodedImage::Height() const { return image_->height(); }
void TDecodedImage::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of this picture"); }
void TDecodedImage::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of this picture"); }
const QImage* TDecodedImage::Image() { return Empty() ? nullptr : image_.get(); }

void TDecodedImage::LoadFromStream(rtl::TStream& stream) {
  std::vector<Byte> bytes = ReadRest(stream);
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format_);
  reader.setDecideFormatFromContent(false);
  QImage best;
  // An icon file holds several sizes; the largest one is the picture.
  do {
    QImage frame = reader.read();
    if (frame.isNull()) break;
    if (best.isNull() || frame.width() * frame.height() > best.width() * best.height()) best = frame;
  } while (std::strcmp(format_, "ico") == 0 && reader.jumpToNextImage());
  if (best.isNull()) throw EInvalidGraphic(invalidMessage_);
  *image_ = best.convertToFormat(QImage::Format_ARGB32);
  bytes_ = std::move(bytes);
  Changed();
}

void TDecodedImage::SaveToStream(rtl::TStream& stream) {
  if (!bytes_.empty()) {
    stream.WriteBuffer(bytes_.data(), static_cast<Integer>(bytes_.size()));
    return;
  }
  if (Empty()) return;
  QByteArray encoded = Encode(*image_, format_);
  if (encoded.isEmpty()) throw EInvalidGraphicOperation("Cannot save this picture");
  WriteBytes(stream, encoded);
}

void TDecodedImage::Assign(const TPersistent* source) {
  if (!source) {
    *image_ = QImage();
    bytes_.clear();
    Changed();
    return;
  }
  if (auto* d = dynamic_cast<const TDecodedImage*>(source); d && std::strcmp(d->format_, format_) == 0) {
    if (d == this) return;
    *image_ = *d->image_;
    bytes_ = d->bytes_;
    transparent_ = d->transparent_;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    // Another kind of picture is encoded in this one's format, where the
    // platform can write it.
    const QImage* image = const_cast<TGraphic*>(g)->Image();
    if (image && QImageWriter::supportedImageFormats().contains(QByteArray(format_))) {
      *image_ = image->convertToFormat(QImage::Format_ARGB32);
      QByteArray encoded = Encode(*image_, format_);
      bytes_.assign(encoded.begin(), encoded.end());
      Changed();
      return;
    }
  }
  TGraphic::Assign(source);
}

TPngImage::TPngImage() : TDecodedImage("png", "PNG image is not valid") {}
TGIFImage::TGIFImage() : TDecodedImage("gif", "GIF image is not valid") {}
TIcon::TIcon() : TDecodedImage("ico", "Icon image is not valid") {}

// --- TPicture ---

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (!graphic) {
    Take(nullptr);
    return;
  }
  if (graphic == graphic_.get()) return;
  std::unique_ptr<TGraphic> copy = graphic->NewInstance();
  copy->Assign(graphic);
  Take(std::move(copy));
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<const TPicture*>(source)) {
    if (p != this) SetGraphic(p->Graphic());
  } else if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(source);
  }
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromFile(const AnsiString& fileName) {
  AnsiString ext = rtl::LowerCase(rtl::ExtractFileExt(fileName));
  std::unique_ptr<TGraphic> graphic;
  if (ext == ".bmp") {
    graphic = std::make_unique<TBitmap>();
  } else if (ext == ".png") {
    graphic = std::make_unique<TPngImage>();
  } else if (ext == ".gif") {
    graphic = std::make_unique<TGIFImage>();
  } else if (ext == ".ico") {
    graphic = std::make_unique<TIcon>();
  } else if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif") {
    graphic = std::make_unique<TJPEGImage>();
  } else {
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
  }
  graphic->LoadFromFile(fileName);
  Take(std::move(graphic));
}

void TPicture::SaveToFile(const AnsiString& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TBitmap::LoadFromResourceName(uintptr_t, const AnsiString& name) {
  const Byte* data = nullptr;
  size_t size = 0;
  if (!FindResourceData(name, &data, &size)) ResourceNotFound(name);
  rtl::TMemoryStream bytes;
  bytes.WriteBuffer(data, static_cast<Integer>(size));
  bytes.SetPosition(0);
  LoadFromStream(bytes);
}

}  // namespace vcl
