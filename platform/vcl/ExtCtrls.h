#pragma once
// Timers, panels, splitters, radio groups and bevels.
#include <cstdint>

#include "rtl/StringList.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

namespace vcl {

// Fires OnTimer every Interval milliseconds of the clock service while
// Enabled, from the message loop of the user-interface thread.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  Cardinal Interval() const { return interval_; }
  // 0 stops the timer from firing.
  void SetInterval(Cardinal ms);
  TNotifyEvent OnTimer;

  // The clock reading at which the timer fires next.
  uint64_t NextDue() const { return nextDue_; }
  // Fires when due at now; answers whether it fired.
  bool FireIfDue(uint64_t now);

 protected:
  void Loaded() override;

 private:
  void Restart();
  bool enabled_ = true;
  Cardinal interval_ = 1000;
  uint64_t nextDue_ = 0;
  bool registered_ = false;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

// Draws a 3D frame of one pixel width (top-left colour, bottom-right colour)
// just inside rect, and shrinks rect by it.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width);

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  Integer BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(Integer v);
  Integer BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(Integer v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool v);
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;

 private:
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  Integer bevelWidth_ = 1;
  Integer borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
  TVerticalAlignment verticalAlignment_ = taVerticalCenter;
  bool showCaption_ = true;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
};

enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using enum TResizeStyle;
using TCanResizeEvent = std::function<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// A bar between two aligned controls; dragging it resizes the control it
// stands next to (the one aligned the same way, on the side it came from).
class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* owner);
  Integer MinSize() const { return minSize_; }
  void SetMinSize(Integer v) { minSize_ = std::max(1, v); }
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle s) { resizeStyle_ = s; }
  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool v) { autoSnap_ = v; }
  // The control the splitter resizes, or null.
  TControl* FindControl() const;
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  void UpdateCursor();
  Integer minSize_ = 30;
  TResizeStyle resizeStyle_ = rsUpdate;
  bool autoSnap_ = false;
  TControl* control_ = nullptr;  // the control being resized during a drag
  TPoint downPos_;
  Integer startSize_ = 0;
  bool dragging_ = false;
};

// A group box of radio buttons built from Items; ItemIndex is the checked
// one (-1: none).
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;
  rtl::TStrings* Items() { return &items_; }
  void SetItems(const rtl::TStrings* items) { items_.Assign(*items); }
  Integer ItemIndex() const { return itemIndex_; }
  void SetItemIndex(Integer v);
  Integer Columns() const { return columns_; }
  void SetColumns(Integer v);
  // The radio button of item index.
  TWinControl* Buttons(Integer index) const;

 protected:
  void Resize() override;
  virtual void Changed() {}

 private:
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(Integer index);
  rtl::TStringList items_;
  std::vector<TWinControl*> buttons_;  // children of this group
  Integer itemIndex_ = -1;
  Integer columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape s);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle s);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

}  // namespace vcl
