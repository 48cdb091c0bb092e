#include "support/FrameController.h"

#include <algorithm>

#include "vcl/Controls.h"

namespace support {

namespace {

// Stores value when it differs; answers whether it did.
template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// The order in which fcpAll reaches a control.
constexpr TWexFrameControllerProperty kPushAllOrder[] = {
    fcpParentColor, fcpColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference,
};

}  // namespace

TWexFrameController::TWexFrameController(vcl::TComponent* owner)
    : vcl::TComponent(owner),
      color_(vcl::clWindow),
      flatButtonColor_(vcl::clBtnFace),
      disabledColor_(vcl::clBtnFace),
      readOnlyColor_(vcl::clInfoBk),
      focusColor_(vcl::clWindow),
      frameColor_(vcl::clBtnShadow),
      frameHotColor_(vcl::clBtnShadow) {}

TWexFrameController::~TWexFrameController() = default;

void TWexFrameController::Assign(const vcl::TPersistent* source) {
  auto* other = dynamic_cast<const TWexFrameController*>(source);
  if (!other) {
    vcl::TComponent::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    SetColor(other->color_);
    SetParentColor(other->parentColor_);
    SetFlatButtonColor(other->flatButtonColor_);
    SetFlatButtons(other->flatButtons_);
    SetDisabledColor(other->disabledColor_);
    SetReadOnlyColor(other->readOnlyColor_);
    SetReadOnlyColorOnFocus(other->readOnlyColorOnFocus_);
    SetFocusColor(other->focusColor_);
    SetFrameColor(other->frameColor_);
    SetFrameHotColor(other->frameHotColor_);
    SetFrameHotTrack(other->frameHotTrack_);
    SetFrameHotStyle(other->frameHotStyle_);
    // After the hot track, which may have set all four sides.
    SetFrameSides(other->frameSides_);
    SetFrameStyle(other->frameStyle_);
    SetFrameVisible(other->frameVisible_);
    SetFramingPreference(other->framingPreference_);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TWexFrameController::LinkControl(vcl::TControl* control) {
  if (!control || std::find(linked_.begin(), linked_.end(), control) != linked_.end()) return;
  linked_.push_back(control);
  // A control freed without unlinking itself leaves the list too.
  FreeNotification(control);
  PushToControl(control, fcpAll);
}

void TWexFrameController::UnlinkControl(vcl::TControl* control) {
  auto it = std::find(linked_.begin(), linked_.end(), control);
  if (it == linked_.end()) return;
  linked_.erase(it);
  // The free-notification link stays: the control may still refer to this
  // controller and must hear when it goes.
  if (linked_.empty()) linked_.shrink_to_fit();
}

void TWexFrameController::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) PushToAll(fcpAll);
}

void TWexFrameController::PushToControl(vcl::TControl* control, TWexFrameControllerProperty property) {
  if (!control) return;
  auto* target = dynamic_cast<IWexFrameControllerTarget*>(control);
  const TWexFrameControllerNotifications accepted =
      target ? target->FrameControllerNotifications() : kAllFrameControllerNotifications;
  if (auto* client = dynamic_cast<IWexFrameControllerClient*>(control)) {
    client->FrameControllerChanged();
    return;
  }
  if (property != fcpAll) {
    PushProperty(control, property, accepted);
    return;
  }
  for (TWexFrameControllerProperty p : kPushAllOrder) {
    if (p == fcpColor && parentColor_) continue;
    PushProperty(control, p, accepted);
  }
}

void TWexFrameController::PushProperty(vcl::TControl* control, TWexFrameControllerProperty property,
                                       TWexFrameControllerNotifications accepted) {
  if (!accepted.Contains(property)) return;
  if (auto* target = dynamic_cast<IWexFrameControllerTarget*>(control)) {
    target->SetFrameControllerProperty(property, *this);
    return;
  }
  // A control without the target interface carries only the class
  // library's own colour settings.
  if (property == fcpColor)
    control->SetColor(color_);
  else if (property == fcpParentColor)
    control->SetParentColor(parentColor_);
}

void TWexFrameController::PushToAll(TWexFrameControllerProperty property) {
  if (updateCount_ > 0) return;
  // A control may unlink itself while it is told; copy the list.
  for (vcl::TControl* control : std::vector<vcl::TControl*>(linked_))
    if (std::find(linked_.begin(), linked_.end(), control) != linked_.end()) PushToControl(control, property);
}

void TWexFrameController::SetColor(TColor value) {
  if (color_ == value) return;
  const bool focusFollows = focusColor_ == color_;
  color_ = value;
  if (focusFollows) SetFocusColor(value);
  if (parentColor_)
    SetParentColor(false);  // tells fcpColor as well
  else
    PushToAll(fcpColor);
}

void TWexFrameController::SetParentColor(bool value) {
  if (!Store(parentColor_, value)) return;
  PushToAll(fcpParentColor);
  if (!value) PushToAll(fcpColor);
}

void TWexFrameController::SetFlatButtonColor(TColor value) {
  if (Store(flatButtonColor_, value)) PushToAll(fcpFlatButtonColor);
}

void TWexFrameController::SetFlatButtons(bool value) {
  if (Store(flatButtons_, value)) PushToAll(fcpFlatButtons);
}

void TWexFrameController::SetDisabledColor(TColor value) {
  if (Store(disabledColor_, value)) PushToAll(fcpDisabledColor);
}

void TWexFrameController::SetReadOnlyColor(TColor value) {
  if (Store(readOnlyColor_, value)) PushToAll(fcpReadOnlyColor);
}

void TWexFrameController::SetReadOnlyColorOnFocus(bool value) {
  if (Store(readOnlyColorOnFocus_, value)) PushToAll(fcpReadOnlyColorOnFocus);
}

void TWexFrameController::SetFocusColor(TColor value) {
  if (Store(focusColor_, value)) PushToAll(fcpFocusColor);
}

void TWexFrameController::SetFrameColor(TColor value) {
  if (Store(frameColor_, value)) PushToAll(fcpFrameColor);
}

void TWexFrameController::SetFrameHotColor(TColor value) {
  if (Store(frameHotColor_, value)) PushToAll(fcpFrameHotColor);
}

void TWexFrameController::SetFrameHotTrack(bool value) {
  if (!Store(frameHotTrack_, value)) return;
  PushToAll(fcpFrameHotTrack);
  if (value) {
    SetFrameVisible(true);
    if (!Loading()) SetFrameSides(kAllSides);
  }
}

void TWexFrameController::SetFrameHotStyle(TFrameStyle value) {
  if (Store(frameHotStyle_, value)) PushToAll(fcpFrameHotStyle);
}

void TWexFrameController::SetFrameSides(TSides value) {
  if (Store(frameSides_, value)) PushToAll(fcpFrameSides);
}

void TWexFrameController::SetFrameStyle(TFrameStyle value) {
  if (Store(frameStyle_, value)) PushToAll(fcpFrameStyle);
}

void TWexFrameController::SetFrameVisible(bool value) {
  if (Store(frameVisible_, value)) PushToAll(fcpFrameVisible);
}

void TWexFrameController::SetFramingPreference(TFramingPreference value) {
  if (Store(framingPreference_, value)) PushToAll(fcpFramingPreference);
}

void TWexFrameController::SetRegIniFile(vcl::TComponent* value) {
  if (regIniFile_ == value) return;
  regIniFile_ = value;
  if (value) FreeNotification(value);
}

void TWexFrameController::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TComponent::Notification(component, operation);
  if (operation != vcl::opRemove) return;
  if (component == regIniFile_) regIniFile_ = nullptr;
  auto it = std::find(linked_.begin(), linked_.end(), component);
  if (it != linked_.end()) linked_.erase(it);
}

void TWexFrameController::Loaded() {
  vcl::TComponent::Loaded();
  PushToAll(fcpAll);
}

}  // namespace support
