#pragma once
// A control that paints itself and scrolls with the window's own two scroll
// bars (the non-client ones of WinApi.h), each reached as a
// TControlScrollBar. Range is the extent of what the control shows, the
// page the client extent along the bar; a visible bar shows while the range
// exceeds the page. The user's actions arrive as WM_VSCROLL / WM_HSCROLL,
// which move the bar's position (the thumb's drag only with Tracking) before
// a subclass sees them.
#include "vcl/Controls.h"
#include "vcl/ScrollBars.h"  // TScrollBarKind

namespace vcl {

class TScrollingWinControl;

class TControlScrollBar {
 public:
  TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);
  TControlScrollBar(const TControlScrollBar&) = delete;
  TControlScrollBar& operator=(const TControlScrollBar&) = delete;

  TScrollBarKind Kind() const { return kind_; }
  // Kept within 0 .. Range - page (0 when the range fits).
  Integer Position() const { return position_; }
  void SetPosition(Integer value);
  Integer Range() const { return range_; }
  // Negative ranges count as 0.
  void SetRange(Integer value);
  bool Tracking() const { return tracking_; }
  void SetTracking(bool value) { tracking_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Pixels a line step moves (8 unless set).
  Integer Increment() const { return increment_; }
  void SetIncrement(Integer value) { increment_ = value < 1 ? 1 : value; }
  // The client extent along the bar.
  Integer PageSize() const;
  // The window's bar follows the numbers (after a resize too).
  void Update();
  // What a scroll request (SB_* code, thumb position) does to the position.
  void Scroll(Integer code, Integer thumbPos);

 private:
  Integer Bar() const;
  Integer MaxPosition() const;

  TScrollingWinControl* control_;
  TScrollBarKind kind_;
  Integer position_ = 0;
  Integer range_ = 0;
  Integer increment_ = 8;
  bool tracking_ = false;
  bool visible_ = true;
  bool updating_ = false;
};

class TScrollingWinControl : public TCustomControl {
 public:
  explicit TScrollingWinControl(TComponent* owner);
  ~TScrollingWinControl() override;

  TControlScrollBar& HorzScrollBar() { return horz_; }
  TControlScrollBar& VertScrollBar() { return vert_; }

  void Dispatch(TMessage& message) override;

 protected:
  void Resize() override;

 private:
  TControlScrollBar horz_;
  TControlScrollBar vert_;
};

}  // namespace vcl
