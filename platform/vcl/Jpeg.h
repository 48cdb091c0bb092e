#pragma once
// JPEG pictures through libjpeg: the compressed bytes are kept as read and
// decoded when the picture is first drawn or measured at a scale; a bitmap
// assigned to the picture is compressed when it is saved.
#include <memory>
#include <vector>

#include "vcl/Pictures.h"

namespace vcl {

// libjpeg's complaint: "JPEG error #%d" with the library's message number.
RTL_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using enum TJPEGScale;
enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
using enum TJPEGPerformance;

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  // A JPEG image takes another's bytes and settings; a bitmap (or any
  // graphic, drawn into one) becomes the picture to compress.
  void Assign(const TPersistent* source) override;
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TJPEGImage>(); }

  bool Empty() const override;
  // The size at the current Scale.
  Integer Width() const override;
  Integer Height() const override;
  // A JPEG picture keeps its size: raises EInvalidGraphicOperation
  // "Cannot change the size of a JPEG image".
  void SetWidth(Integer w) override;
  void SetHeight(Integer h) override;

  // 1 .. 100, used when compressing (90 unless set).
  Integer CompressionQuality() const { return quality_; }
  void SetCompressionQuality(Integer q);
  // Decode (and compress) as grey levels.
  bool Grayscale() const { return grayscale_; }
  void SetGrayscale(bool v);
  // The decoded size, by libjpeg's scaled decoding.
  TJPEGScale Scale() const { return scale_; }
  void SetScale(TJPEGScale s);
  TJPEGPerformance Performance() const { return performance_; }
  void SetPerformance(TJPEGPerformance p);
  bool ProgressiveEncoding() const { return progressive_; }
  void SetProgressiveEncoding(bool v) { progressive_ = v; }

  // Reads the whole of stream from its position; EJPEG when libjpeg cannot
  // read its header.
  void LoadFromStream(rtl::TStream& stream) override;
  // The bytes as read, or the assigned bitmap compressed now.
  void SaveToStream(rtl::TStream& stream) override;
  // Compresses the assigned bitmap (nothing when the bytes are current).
  void Compress();
  // Decodes the bytes at the current settings (nothing when done already).
  void DIBNeeded();
  // The decoded picture as a 24-bit bitmap (decoding on demand).
  TBitmap* Bitmap();

  const QImage* Image() override;

 private:
  void DropDecoded();
  std::vector<Byte> data_;          // compressed bytes; empty when none
  std::unique_ptr<TBitmap> bitmap_;  // decoded or assigned pixels
  bool bitmapIsSource_ = false;     // the bitmap was assigned, the bytes are stale
  Integer fullWidth_ = 0;
  Integer fullHeight_ = 0;
  Integer quality_ = 90;
  bool grayscale_ = false;
  bool progressive_ = false;
  TJPEGScale scale_ = jsFullSize;
  TJPEGPerformance performance_ = jpBestQuality;
};

}  // namespace vcl
