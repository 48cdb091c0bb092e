#include "controls/GDIPicture.h"

#include "controls/LumGDIP.h"

namespace controls {

using vcl::TRect;

TGDIPPicture::TGDIPPicture() : data_(std::make_unique<rtl::TMemoryStream>()) {}
TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::BytesChanged() {
  decoded_.reset();
  bitmap_.reset();
  bitmapRejected_ = false;
}

TGPImage* TGDIPPicture::Decoded() {
  if (data_->Size() == 0) return nullptr;
  if (!decoded_) decoded_ = std::make_unique<TGPImage>(data_.get());
  return decoded_.get();
}

void TGDIPPicture::FireClear() {
  if (OnClear) OnClear(this);
}

void TGDIPPicture::Assign(const vcl::TPersistent* Source) {
  empty_ = true;
  if (!Source) {
    data_->Clear();
    BytesChanged();
    Changed();
    FireClear();
    return;
  }
  rtl::TMemoryStream saved;
  if (auto* picture = dynamic_cast<const TGDIPPicture*>(Source)) {
    if (picture != this) {
      data_->Clear();
      picture->data_->SaveToStream(*data_);
      BytesChanged();
    }
    empty_ = data_->Size() == 0;
    Changed();
  } else if (auto* bitmap = dynamic_cast<const vcl::TBitmap*>(Source)) {
    const_cast<vcl::TBitmap*>(bitmap)->SaveToStream(saved);
    data_->LoadFromStream(saved);
    BytesChanged();
    empty_ = false;
    Changed();
  } else if (auto* picture = dynamic_cast<const vcl::TPicture*>(Source)) {
    vcl::TGraphic* graphic = picture->Graphic();
    if (!graphic) {
      // A picture without a graphic empties this one, as nil does.
      Assign(nullptr);
      return;
    }
    graphic->SaveToStream(saved);
    data_->LoadFromStream(saved);
    BytesChanged();
    empty_ = false;
    Changed();
  } else {
    return;  // nothing this picture can take
  }
  RefreshImageSize();
}

bool TGDIPPicture::RefreshImageSize() {
  if (empty_ || data_->Size() == 0) return false;
  TGPImage* image = Decoded();
  width_ = static_cast<vcl::Integer>(image->GetWidth());
  height_ = static_cast<vcl::Integer>(image->GetHeight());
  return true;
}

vcl::TBitmap* TGDIPPicture::FileBitmap() {
  TGPImage* image = Decoded();
  if (!image || image->GetRawFormat() != kRawFormatBMP) return nullptr;
  if (!bitmap_ && !bitmapRejected_) {
    try {
      auto bitmap = std::make_unique<vcl::TBitmap>();
      data_->SetPosition(0);
      bitmap->LoadFromStream(*data_);
      bitmap->SetTransparentMode(vcl::tmAuto);
      bitmap->SetTransparent(true);
      bitmap_ = std::move(bitmap);
    } catch (const rtl::Exception&) {
      bitmapRejected_ = true;  // the class library's reader refuses it: nothing to draw
    }
  }
  return bitmap_.get();
}

void TGDIPPicture::Draw(vcl::TCanvas* Canvas, const TRect& Rect) {
  if (empty_ || data_->Size() == 0 || !Canvas) return;
  TGPImage* image = Decoded();
  if (image->GetRawFormat() == kRawFormatBMP) {
    if (vcl::TBitmap* bitmap = FileBitmap()) Canvas->Draw(Rect.Left, Rect.Top, bitmap);
    return;
  }
  width_ = static_cast<vcl::Integer>(image->GetWidth());
  height_ = static_cast<vcl::Integer>(image->GetHeight());
  TGPGraphics graphics(Canvas);
  graphics.DrawImageRect(image, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

void TGDIPPicture::ReadData(rtl::TStream* Stream) {
  if (!Stream) return;
  data_->LoadFromStream(*Stream);
  BytesChanged();
  empty_ = false;
}

void TGDIPPicture::WriteData(rtl::TStream* Stream) {
  if (Stream) data_->SaveToStream(*Stream);
}

void TGDIPPicture::LoadFromFile(const vcl::AnsiString& FileName) {
  empty_ = true;
  try {
    rtl::TMemoryStream bytes;
    bytes.LoadFromFile(FileName);
    data_->LoadFromStream(bytes);
    BytesChanged();
    empty_ = false;
    FireClear();
    RefreshImageSize();
    Changed();
  } catch (const rtl::Exception&) {
    empty_ = true;
  }
}

void TGDIPPicture::LoadFromStream(rtl::TStream& Stream) {
  data_->LoadFromStream(Stream);
  BytesChanged();
  empty_ = false;
  RefreshImageSize();
  Changed();
}

void TGDIPPicture::SaveToStream(rtl::TStream& Stream) { data_->SaveToStream(Stream); }

const QImage* TGDIPPicture::Image() {
  if (empty_) return nullptr;
  TGPImage* image = Decoded();
  return image ? vcl::GdipImagePixels(image->Native()) : nullptr;
}

}  // namespace controls
