#pragma once
// Pictures: the abstract TGraphic, bitmaps with scan lines and a transparent
// colour, icons, PNG and GIF images, and TPicture, which holds any of them
// and picks the class by the file's extension.
#include <memory>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "vcl/Graphics.h"

class QImage;  // the pixels behind a graphic; only the library's sources see it

namespace vcl {

RTL_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphic : public TPersistent {
 public:
  TGraphic();
  ~TGraphic() override;

  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer w) = 0;
  virtual void SetHeight(Integer h) = 0;
  // Whether drawing leaves the picture's transparent parts out.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  bool Modified() const { return modified_; }
  void SetModified(bool v);

  virtual void LoadFromStream(rtl::TStream& stream) = 0;
  virtual void SaveToStream(rtl::TStream& stream) = 0;
  // Through a file stream: EFOpenError / EFCreateError name the file.
  void LoadFromFile(const AnsiString& fileName);
  void SaveToFile(const AnsiString& fileName);

  TNotifyEvent OnChange;

  // --- library side ---
  // Draws the picture stretched to r on canvas (TCanvas::Draw and
  // StretchDraw call it).
  virtual void Draw(TCanvas* canvas, const TRect& r);
  // The pixels drawn, or null while empty.
  virtual const QImage* Image() = 0;
  // The colour left out when transparent (clNone: the image's own alpha).
  virtual TColor DrawTransparentColor() { return clNone; }
  // A new empty graphic of the same class (a picture copies through it).
  virtual std::unique_ptr<TGraphic> NewInstance() const = 0;

 protected:
  void Changed();
  bool transparent_ = false;

 private:
  bool modified_ = false;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
using enum TPixelFormat;
enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmapCanvas;

// A bitmap of pfDevice (32 bits, opaque), pf24bit (3 bytes per pixel, blue,
// green, red) or pf32bit (4 bytes, blue, green, red, alpha). New pixels of
// a grown bitmap are white.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(Integer width, Integer height);
  ~TBitmap() override;

  void Assign(const TPersistent* source) override;

  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  void SetWidth(Integer w) override;
  void SetHeight(Integer h) override;
  // Keeps the pixels that remain inside.
  void SetSize(Integer w, Integer h);
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  // Converts the pixels. Formats other than pfDevice, pf24bit and pf32bit
  // raise EInvalidGraphicOperation "Unsupported pixel format".
  void SetPixelFormat(TPixelFormat f);
  // The first byte of a row; raises EInvalidGraphicOperation "Scan line
  // index out of range" outside 0 .. Height - 1.
  void* ScanLine(Integer row);

  // Automatic: the colour of the bottom-left pixel (clNone while empty).
  // Setting a colour makes the mode fixed. A transparent 32-bit bitmap in
  // the automatic mode draws by its alpha instead.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode m);

  TCanvas* Canvas();

  // Windows bitmap files (1 to 32 bits; 32-bit ones keep their alpha).
  // A stream that is not a bitmap raises EInvalidGraphic "Bitmap image is
  // not valid". Saving writes 24 bits (32 for pf32bit).
  void LoadFromStream(rtl::TStream& stream) override;
  void SaveToStream(rtl::TStream& stream) override;
  // A bitmap resource of the program (vcl/Resources.h) by name; raises
  // EResNotFound "Resource NAME not found" for a name no library
  // registered.
  void LoadFromResourceName(uintptr_t instance, const AnsiString& name);

  const QImage* Image() override;
  TColor DrawTransparentColor() override;
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }
  // The pixels, for the library's own sources.
  QImage& Pixels();
  // Replaces the pixels (converted to this bitmap's format).
  void SetImage(const QImage& image);

 private:
  void Reformat(Integer w, Integer h, TPixelFormat f);
  std::unique_ptr<QImage> image_;
  std::unique_ptr<TBitmapCanvas> canvas_;
  TPixelFormat pixelFormat_ = pfDevice;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
};

// A picture decoded by the platform's image readers, kept with the bytes
// it was read from so that saving writes them back unchanged.
class TDecodedImage : public TGraphic {
 public:
  ~TDecodedImage() override;
  void Assign(const TPersistent* source) override;
  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  // Decoded pictures keep their size: raises EInvalidGraphicOperation
  // "Cannot change the size of this picture".
  void SetWidth(Integer w) override;
  void SetHeight(Integer h) override;
  void LoadFromStream(rtl::TStream& stream) override;
  void SaveToStream(rtl::TStream& stream) override;
  const QImage* Image() override;

 protected:
  // format: the reader's name ("png", "gif", "ico"); invalidMessage: the
  // EInvalidGraphic text for bytes it cannot read.
  TDecodedImage(const char* format, const char* invalidMessage);

 private:
  const char* format_;
  const char* invalidMessage_;
  std::unique_ptr<QImage> image_;
  std::vector<Byte> bytes_;
};

class TPngImage : public TDecodedImage {
 public:
  TPngImage();
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TPngImage>(); }
};

// The first frame of a GIF file.
class TGIFImage : public TDecodedImage {
 public:
  TGIFImage();
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TGIFImage>(); }
};

// The largest image of an icon file, drawn with its alpha.
class TIcon : public TDecodedImage {
 public:
  TIcon();
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TIcon>(); }
};

// A picture of any of the graphic classes. Owns its graphic.
class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;

  // Another picture's graphic is copied; a graphic is copied into a new one
  // of its class; null empties the picture.
  void Assign(const TPersistent* source) override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // A copy of graphic (or nothing for null).
  void SetGraphic(const TGraphic* graphic);
  // The graphic as a bitmap; another graphic is replaced by an empty one.
  TBitmap* Bitmap();
  Integer Width() const { return graphic_ ? graphic_->Width() : 0; }
  Integer Height() const { return graphic_ ? graphic_->Height() : 0; }

  // By extension, ignoring case: .bmp, .png, .gif, .ico, .jpg, .jpeg,
  // .jpe, .jfif. Another extension raises EInvalidGraphic "Unknown picture
  // file extension (.xyz)"; a file that is not what its extension says
  // raises the graphic class's EInvalidGraphic (the picture stays as it was).
  void LoadFromFile(const AnsiString& fileName);
  // Through the graphic's own format; nothing is written for an empty picture.
  void SaveToFile(const AnsiString& fileName);

  TNotifyEvent OnChange;

 private:
  void Changed();
  void Take(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace vcl
