#include "vcl/Jpeg.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "rtl/Format.h"

extern "C" {
#include <jpeglib.h>
}

namespace vcl {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back to the call that started the work, where the
// message number is turned into EJPEG. Nothing with a destructor lives
// between setjmp and the jump.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->jump, 1);
}

void SilentMessage(j_common_ptr) {}

[[noreturn]] void Raise(int code) { throw EJPEG(rtl::Format("JPEG error #%d", code)); }

struct DecodeResult {
  int error = 0;  // libjpeg message number, 0 when decoding went well
  int width = 0;
  int height = 0;
  int components = 0;
  bool invertedCmyk = false;  // Adobe's CMYK files store ink inverted
};

// Reads the header (and, when pixels is given, the whole picture into it,
// rows of width * components bytes).
DecodeResult Decode(const std::vector<Byte>& data, int scaleDenom, bool grayscale, bool fast,
                    std::vector<Byte>* pixels) {
  DecodeResult result;
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = SilentMessage;
  if (setjmp(err.jump)) {
    result.error = err.pub.msg_code;
    jpeg_destroy_decompress(&info);
    return result;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned int>(scaleDenom);
  // libjpeg turns neither CMYK nor YCCK into RGB; those come out as CMYK
  // and are converted below.
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  // Colour comes out in the bitmap's own blue, green, red order.
  info.out_color_space = cmyk ? JCS_CMYK : grayscale ? JCS_GRAYSCALE : JCS_EXT_BGR;
  result.invertedCmyk = info.saw_Adobe_marker;
  if (fast) {
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
  } else {
    info.dct_method = JDCT_ISLOW;
  }
  jpeg_calc_output_dimensions(&info);
  result.width = static_cast<int>(info.output_width);
  result.height = static_cast<int>(info.output_height);
  result.components = info.output_components;
  if (pixels) {
    jpeg_start_decompress(&info);
    size_t stride = static_cast<size_t>(result.width) * static_cast<size_t>(result.components);
    pixels->resize(stride * static_cast<size_t>(result.height));
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels->data() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  return result;
}

// Compresses rows of RGB (or grey) bytes; answers libjpeg's message number
// on failure, 0 on success. out receives the bytes.
int Encode(const std::vector<Byte>& pixels, int width, int height, bool grayscale, int quality, bool progressive,
           unsigned char** out, unsigned long* outSize) {
  jpeg_compress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = SilentMessage;
  if (setjmp(err.jump)) {
    int code = err.pub.msg_code;
    jpeg_destroy_compress(&info);
    return code == 0 ? -1 : code;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, outSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = grayscale ? 1 : 3;
  info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  size_t stride = static_cast<size_t>(width) * (grayscale ? 1u : 3u);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<Byte*>(pixels.data()) + stride * info.next_scanline;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return 0;
}

int ScaleDenominator(TJPEGScale s) {
  switch (s) {
    case jsHalf: return 2;
    case jsQuarter: return 4;
    case jsEighth: return 8;
    default: return 1;
  }
}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return data_.empty() && !bitmap_; }

Integer TJPEGImage::Width() const {
  if (bitmapIsSource_ || (bitmap_ && data_.empty())) return bitmap_->Width();
  int d = ScaleDenominator(scale_);
  return (fullWidth_ + d - 1) / d;
}

Integer TJPEGImage::Height() const {
  if (bitmapIsSource_ || (bitmap_ && data_.empty())) return bitmap_->Height();
  int d = ScaleDenominator(scale_);
  return (fullHeight_ + d - 1) / d;
}

void TJPEGImage::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(Integer q) { quality_ = std::clamp(q, 1, 100); }

void TJPEGImage::DropDecoded() {
  if (!bitmapIsSource_) bitmap_.reset();
}

void TJPEGImage::SetGrayscale(bool v) {
  if (v == grayscale_) return;
  grayscale_ = v;
  DropDecoded();
  Changed();
}

void TJPEGImage::SetScale(TJPEGScale s) {
  if (s == scale_) return;
  scale_ = s;
  DropDecoded();
  Changed();
}

void TJPEGImage::SetPerformance(TJPEGPerformance p) {
  if (p == performance_) return;
  performance_ = p;
  DropDecoded();
  Changed();
}

void TJPEGImage::LoadFromStream(rtl::TStream& stream) {
  rtl::Int64 size = stream.Size() - stream.Position();
  std::vector<Byte> bytes(size > 0 ? static_cast<size_t>(size) : 0);
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  DecodeResult r = Decode(bytes, 1, false, true, nullptr);
  if (r.error) Raise(r.error);
  data_ = std::move(bytes);
  fullWidth_ = r.width;
  fullHeight_ = r.height;
  bitmap_.reset();
  bitmapIsSource_ = false;
  Changed();
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_ || data_.empty()) return;
  std::vector<Byte> pixels;
  DecodeResult r = Decode(data_, ScaleDenominator(scale_), grayscale_, performance_ == jpBestSpeed, &pixels);
  if (r.error) Raise(r.error);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(r.width, r.height);
  for (int y = 0; y < r.height; ++y) {
    auto* dst = static_cast<Byte*>(bitmap->ScanLine(y));
    const Byte* src = pixels.data() + static_cast<size_t>(y) * r.width * r.components;
    if (r.components == 3) {
      std::memcpy(dst, src, static_cast<size_t>(r.width) * 3);
      continue;
    }
    for (int x = 0; x < r.width; ++x) {
      // Bitmap rows are blue, green, red.
      Byte rr = src[x * r.components], gg = rr, bb = rr;
      if (r.components == 4) {
        // Ink to light: each colour is what its ink and the black leave.
        const Byte* p = src + x * 4;
        int k = r.invertedCmyk ? p[3] : 255 - p[3];
        auto light = [&](Byte ink) { return static_cast<Byte>((r.invertedCmyk ? ink : 255 - ink) * k / 255); };
        rr = light(p[0]);
        gg = light(p[1]);
        bb = light(p[2]);
        if (grayscale_) rr = gg = bb = static_cast<Byte>((rr * 299 + gg * 587 + bb * 114 + 500) / 1000);
      }
      dst[x * 3] = bb;
      dst[x * 3 + 1] = gg;
      dst[x * 3 + 2] = rr;
    }
  }
  bitmap_ = std::move(bitmap);
}

void TJPEGImage::Compress() {
  if (!bitmapIsSource_ || !bitmap_ || bitmap_->Empty()) return;
  int w = bitmap_->Width(), h = bitmap_->Height();
  QImage rgb = bitmap_->Pixels().convertToFormat(QImage::Format_RGB888);
  std::vector<Byte> pixels(static_cast<size_t>(w) * h * (grayscale_ ? 1 : 3));
  for (int y = 0; y < h; ++y) {
    const uchar* src = rgb.constScanLine(y);
    Byte* dst = pixels.data() + static_cast<size_t>(y) * w * (grayscale_ ? 1 : 3);
    if (grayscale_) {
      for (int x = 0; x < w; ++x)
        dst[x] = static_cast<Byte>((src[x * 3] * 299 + src[x * 3 + 1] * 587 + src[x * 3 + 2] * 114 + 500) / 1000);
    } else {
      std::memcpy(dst, src, static_cast<size_t>(w) * 3);
    }
  }
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  int code = Encode(pixels, w, h, grayscale_, quality_, progressive_, &out, &outSize);
  if (code == 0) data_.assign(out, out + outSize);
  std::free(out);
  if (code != 0) Raise(code);
  fullWidth_ = w;
  fullHeight_ = h;
  bitmapIsSource_ = false;
  // The picture shown is now the compressed one.
  bitmap_.reset();
}

void TJPEGImage::SaveToStream(rtl::TStream& stream) {
  Compress();
  if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<Integer>(data_.size()));
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return bitmap_.get();
}

const QImage* TJPEGImage::Image() {
  DIBNeeded();
  return bitmap_ && !bitmap_->Empty() ? &bitmap_->Pixels() : nullptr;
}

void TJPEGImage::Assign(const TPersistent* source) {
  if (!source) {
    data_.clear();
    bitmap_.reset();
    bitmapIsSource_ = false;
    fullWidth_ = fullHeight_ = 0;
    Changed();
    return;
  }
  if (auto* j = dynamic_cast<const TJPEGImage*>(source)) {
    if (j == this) return;
    data_ = j->data_;
    fullWidth_ = j->fullWidth_;
    fullHeight_ = j->fullHeight_;
    quality_ = j->quality_;
    grayscale_ = j->grayscale_;
    progressive_ = j->progressive_;
    scale_ = j->scale_;
    performance_ = j->performance_;
    bitmapIsSource_ = j->bitmapIsSource_;
    bitmap_.reset();
    if (j->bitmap_ && j->bitmapIsSource_) {
      bitmap_ = std::make_unique<TBitmap>();
      bitmap_->Assign(j->bitmap_.get());
    }
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(source)) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(g);
    bitmap->SetPixelFormat(pf24bit);
    bitmap_ = std::move(bitmap);
    bitmapIsSource_ = true;
    data_.clear();
    fullWidth_ = bitmap_->Width();
    fullHeight_ = bitmap_->Height();
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

}  // namespace vcl
