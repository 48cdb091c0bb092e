#pragma once
// The ribbon's scrolling parts: the range-and-position record the pager
// scrolls its tabs with, and the small arrow button shown at the ends of
// the strip.
#include "controls/LumGlowButton.h"
#include "vcl/Controls.h"

namespace ribbon {

class TRIETabScroller {
 public:
  int ScrollMin() const { return min_; }
  int ScrollMax() const { return max_; }
  int ScrollPosition() const { return position_; }
  bool ScrollVisible() const { return visible_; }
  // A maximum below the minimum, or a minimum above the maximum, is
  // ignored; the position is taken as given (owners clamp it).
  void SetScrollMax(int Value) {
    if (Value >= min_) max_ = Value;
  }
  void SetScrollMin(int Value) {
    if (Value <= max_) min_ = Value;
  }
  void SetScrollPosition(int Value) { position_ = Value; }
  void SetScrollVisible(bool Value) { visible_ = Value; }
  bool CanScrollBack() const { return position_ > min_; }
  bool CanScrollForward() const { return position_ < max_; }

 private:
  int min_ = 0, max_ = 0, position_ = 0;
  bool visible_ = false;
};

class TLumPageScrollButton : public vcl::TCustomControl {
 public:
  explicit TLumPageScrollButton(vcl::TComponent* AOwner);
  controls::TGlowButtonAppearance* Appearance() { return &appearance_; }
  // Cut corners: 0 all four, 1 the left two, 2 none, 3 the right two.
  int CornerStyle() const { return cornerStyle_; }
  void SetCornerStyle(int Value) { cornerStyle_ = Value; }
  // 0 left, 2 right, anything else no arrow.
  int ArrowDirection() const { return arrowDirection_; }
  void SetArrowDirection(int Value);
  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }
  vcl::TNotifyEvent OnButtonMouseEnter;
  vcl::TNotifyEvent OnButtonMouseLeave;

 protected:
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

 private:
  controls::TGlowButtonAppearance appearance_;
  int cornerStyle_ = 0;
  int arrowDirection_ = 0;
  bool hot_ = false;
  bool pressed_ = false;
};

}  // namespace ribbon
