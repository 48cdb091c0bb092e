#pragma once
// An integer drop-down edit whose pop-up holds a track bar as wide as the
// edit; the value also moves with Up and Down and by dragging the mouse
// sideways over the non-editable edit. The grid's track-bar cell editor
// descends from it.
#include "dropdown/LumDropDown.h"
#include "vcl/MemoTrackBar.h"

namespace dropdown {

class TLumTrackBarDropDown : public TLumCustomDropDown {
 public:
  explicit TLumTrackBarDropDown(vcl::TComponent* owner);
  ~TLumTrackBarDropDown() override;

  vcl::Integer Min() const { return min_; }
  void SetMin(vcl::Integer v);
  vcl::Integer Max() const { return max_; }
  void SetMax(vcl::Integer v);
  vcl::Integer Position() const { return position_; }
  // Read back from the track bar, which keeps its own limits.
  void SetPosition(vcl::Integer v);
  vcl::Integer PageSize() const { return pageSize_; }
  void SetPageSize(vcl::Integer v);
  vcl::Integer Frequency() const { return frequency_; }
  void SetFrequency(vcl::Integer v);
  vcl::TTrackBar* TrackBar() const { return trackBar_; }
  bool Dragging() const { return dragging_; }

  void CreateDropDownForm() override;
  void BeforeDropDown() override;

  vcl::TNotifyEvent OnTrackChange;

 protected:
  void Change() override;
  void Dispatch(vcl::TMessage& message) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  void TrackChanged();
  vcl::Integer min_ = 0;
  vcl::Integer max_ = 10;
  vcl::Integer position_ = 0;
  vcl::Integer pageSize_ = 2;
  vcl::Integer frequency_ = 1;
  vcl::TTrackBar* trackBar_ = nullptr;  // owned as a component
  bool dragging_ = false;
  vcl::Integer dragX_ = 0;
};

}  // namespace dropdown
