// The track-bar drop-down.
#include "dropdown/LumTrackBarDropDown.h"

#include "rtl/Convert.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

TLumTrackBarDropDown::TLumTrackBarDropDown(TComponent* owner) : TLumCustomDropDown(owner) {
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetEditKind(TEditKind::ekInteger);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetReshowForShadow(true);
  SetTextDirect("0");
  // The base made its pop-up while this part was not yet there.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TLumTrackBarDropDown::~TLumTrackBarDropDown() {
  if (trackBar_ != nullptr) trackBar_->OnChange = nullptr;
}

void TLumTrackBarDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  if (trackBar_ != nullptr || DropDownForm() == nullptr) return;
  trackBar_ = new TTrackBar(this);
  trackBar_->SetParent(DropDownForm());
  trackBar_->SetBounds(0, 0, trackBar_->Width(), 40);
  trackBar_->SetMax(max_);
  trackBar_->SetMin(min_);
  trackBar_->SetPosition(position_);
  trackBar_->OnChange = [this](TObject*) { TrackChanged(); };
}

void TLumTrackBarDropDown::SetMin(Integer v) {
  min_ = v;
  if (trackBar_ != nullptr) {
    trackBar_->SetMin(v);
    min_ = trackBar_->Min();
  }
}

void TLumTrackBarDropDown::SetMax(Integer v) {
  max_ = v;
  if (trackBar_ != nullptr) {
    trackBar_->SetMax(v);
    max_ = trackBar_->Max();
  }
}

void TLumTrackBarDropDown::SetPosition(Integer v) {
  position_ = v;
  if (trackBar_ != nullptr) {
    trackBar_->SetPosition(v);
    position_ = trackBar_->Position();
  }
}

void TLumTrackBarDropDown::SetPageSize(Integer v) {
  pageSize_ = v;
  if (trackBar_ != nullptr) trackBar_->SetPageSize(v);
}

void TLumTrackBarDropDown::SetFrequency(Integer v) {
  frequency_ = v;
  if (trackBar_ != nullptr) trackBar_->SetFrequency(v);
}

void TLumTrackBarDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeactivate(false);
  if (trackBar_ == nullptr) return;
  trackBar_->SetMax(max_);
  trackBar_->SetMin(min_);
  trackBar_->SetPosition(position_);
  trackBar_->SetPageSize(pageSize_);
  trackBar_->SetFrequency(frequency_);
  // Handed over again so that the pop-up takes the edit's width.
  SetDropDownControl(nullptr);
  trackBar_->SetAlign(alNone);
  trackBar_->SetBounds(0, 0, Width(), 40);
  SetDropDownControl(trackBar_);
}

void TLumTrackBarDropDown::TrackChanged() {
  position_ = trackBar_->Position();
  SetTextDirect(rtl::IntToStr(position_));
  if (OnTrackChange) OnTrackChange(this);
}

void TLumTrackBarDropDown::Change() {
  TLumCustomDropDown::Change();
  // A text that is no integer leaves the position alone.
  Integer v = 0;
  if (rtl::TryStrToInt(Text(), v) && v != position_) SetPosition(v);
}

void TLumTrackBarDropDown::Dispatch(TMessage& m) {
  TLumCustomDropDown::Dispatch(m);
  if (m.Msg != WM_KEYDOWN || EditorEnabled() || GetKeyState(VK_MENU) < 0 || ComponentState().Contains(csDesigning))
    return;
  // Up lowers and Down raises, within the limits.
  if (m.WParam == VK_UP && position_ - frequency_ >= min_) SetPosition(position_ - frequency_);
  if (m.WParam == VK_DOWN && position_ + frequency_ <= max_) SetPosition(position_ + frequency_);
}

void TLumTrackBarDropDown::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumCustomDropDown::MouseDown(button, shift, x, y);
  if (!DropDownEnabled() || EditorEnabled()) return;
  dragX_ = x;
  dragging_ = true;
}

void TLumTrackBarDropDown::MouseMove(TShiftState shift, Integer x, Integer y) {
  TLumCustomDropDown::MouseMove(shift, x, y);
  if (!dragging_) return;
  // Each move counts on its own; a page size of 0 or less counts as 1.
  const Integer page = pageSize_ > 0 ? pageSize_ : 1;
  SetPosition(position_ + (x - dragX_) / page);
  dragX_ = x;
}

void TLumTrackBarDropDown::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumCustomDropDown::MouseUp(button, shift, x, y);
  dragging_ = false;
}

}  // namespace dropdown
