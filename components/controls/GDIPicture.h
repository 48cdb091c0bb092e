#pragma once
// A graphic that keeps a picture file's bytes exactly as they were loaded
// (bitmap, PNG, JPEG, GIF, icon or metafile) and draws them through GDI+,
// so an alpha channel survives. The decoded picture is kept until the
// bytes change: drawing runs in every step of a fade.
#include <memory>

#include "rtl/Streams.h"
#include "vcl/Pictures.h"

namespace controls {

class TGPImage;

class TGDIPPicture : public vcl::TGraphic {
 public:
  TGDIPPicture();
  ~TGDIPPicture() override;

  // nil: empty, OnChange then OnClear, size kept. Another picture: its
  // bytes (empty when it has none). A bitmap, or a picture's graphic: saved
  // as its file. Anything else: nothing copied, no event, and this picture
  // reads as empty (its old bytes are still written by SaveToStream). Every
  // source but nil ends with RefreshImageSize.
  void Assign(const vcl::TPersistent* Source) override;
  // A plain bitmap file: at Rect's top-left at its own size, its
  // bottom-left pixel's colour left out; any other picture stretched into
  // Rect with its alpha. Never raises: bytes that do not decode draw
  // nothing.
  void Draw(vcl::TCanvas* Canvas, const vcl::TRect& Rect) override;
  bool Empty() const override { return empty_; }
  // As last decoded by RefreshImageSize or Draw.
  vcl::Integer Width() const override { return width_; }
  vcl::Integer Height() const override { return height_; }
  // The size is the picture's own: these change nothing.
  void SetWidth(vcl::Integer) override {}
  void SetHeight(vcl::Integer) override {}

  // Decodes the bytes and stores their size (0 x 0 when they do not
  // decode); false only for an empty picture or one without bytes.
  bool RefreshImageSize();

  // The form file's binary property: the bytes, nothing around them.
  // ReadData takes the whole stream (no event, no size refresh); both
  // ignore nil. DataStored: whether the property is written (not while
  // empty).
  void ReadData(rtl::TStream* Stream);
  void WriteData(rtl::TStream* Stream);
  bool DataStored() const { return !empty_; }

  // The file's bytes replace the picture's, then OnClear, the size and
  // OnChange. Failures (a missing or unreadable file) are swallowed and
  // leave the picture empty.
  void LoadFromFile(const vcl::AnsiString& FileName);
  // The whole stream from its start; then the size and OnChange. Errors
  // are not caught here.
  void LoadFromStream(rtl::TStream& Stream) override;
  // All the bytes, whatever the position.
  void SaveToStream(rtl::TStream& Stream) override;
  // The clipboard carries no picture files: both do nothing.
  void LoadFromClipboardFormat(vcl::Word, uintptr_t, uintptr_t) {}
  void SaveToClipboardFormat(vcl::Word&, uintptr_t&, uintptr_t&) {}

  const QImage* Image() override;
  std::unique_ptr<vcl::TGraphic> NewInstance() const override { return std::make_unique<TGDIPPicture>(); }

  // The bytes as loaded.
  rtl::TMemoryStream& Data() { return *data_; }

  // The decoded picture, kept until the bytes change; null while there are
  // no bytes (bytes that do not decode give an image whose calls fail).
  TGPImage* GdipImage() { return Decoded(); }
  // A plain bitmap file as the class library reads it, transparent with
  // its bottom-left colour; null for any other picture or one the class
  // library's reader refuses. Kept like the decoded picture.
  vcl::TBitmap* FileBitmap();

  vcl::TNotifyEvent OnClear;

 private:
  // Drops what was decoded from the old bytes.
  void BytesChanged();
  // The decoded picture, made on first need; null when there are no bytes.
  TGPImage* Decoded();
  void FireClear();

  std::unique_ptr<rtl::TMemoryStream> data_;
  bool empty_ = true;
  vcl::Integer width_ = 0;
  vcl::Integer height_ = 0;
  std::unique_ptr<TGPImage> decoded_;
  std::unique_ptr<vcl::TBitmap> bitmap_;  // a plain bitmap file, as the class library reads it
  bool bitmapRejected_ = false;
};

}  // namespace controls
