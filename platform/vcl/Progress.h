#pragma once
// The progress bar (a native control) and the image control that shows a
// picture.
#include <memory>

#include "vcl/Controls.h"
#include "vcl/Pictures.h"

namespace vcl {

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);
  Integer Min() const { return min_; }
  void SetMin(Integer v);
  Integer Max() const { return max_; }
  void SetMax(Integer v);
  // Kept within Min..Max.
  Integer Position() const { return position_; }
  void SetPosition(Integer v);
  // Continuous rather than segmented; the platform's bar looks the same
  // either way, the setting is kept.
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v) { smooth_ = v; }
  void StepBy(Integer delta) { SetPosition(position_ + delta); }

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override { SyncWidget(); }
  bool HasSurface() const override { return false; }

 private:
  void SyncWidget();
  Integer min_ = 0;
  Integer max_ = 100;
  Integer position_ = 0;
  bool smooth_ = false;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  TPicture* Picture() { return picture_.get(); }
  void SetPicture(const TPicture* p) { picture_->Assign(p); }
  // Takes the picture's size whenever the picture changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool autoSize_ = false;
  bool transparent_ = false;
  bool stretch_ = false;
  bool center_ = false;
};

}  // namespace vcl
