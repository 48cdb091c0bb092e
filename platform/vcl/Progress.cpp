#include "vcl/Progress.h"

#include <QProgressBar>
#include <algorithm>

namespace vcl {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { TControl::SetBounds(0, 0, 150, 16); }

QWidget* TProgressBar::CreateWidget() {
  auto* bar = new QProgressBar();
  bar->setTextVisible(false);
  return bar;
}

void TProgressBar::SyncWidget() {
  if (!HandleAllocated()) return;
  auto* bar = static_cast<QProgressBar*>(Widget());
  bar->setRange(min_, std::max(min_, max_));
  bar->setValue(position_);
}

void TProgressBar::SetMin(Integer v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  SyncWidget();
}

void TProgressBar::SetMax(Integer v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
  SyncWidget();
}

void TProgressBar::SetPosition(Integer v) {
  position_ = std::clamp(v, min_, max_);
  SyncWidget();
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  TControl::SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::PictureChanged() {
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
  if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

void TImage::SetTransparent(bool v) {
  transparent_ = v;
  PictureChanged();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  if (stretch_) {
    Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), g);
    return;
  }
  Integer x = 0, y = 0;
  if (center_) {
    x = (Width() - g->Width()) / 2;
    y = (Height() - g->Height()) / 2;
  }
  Canvas()->Draw(x, y, g);
}

}  // namespace vcl
