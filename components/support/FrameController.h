#pragma once
// TWexFrameController: one set of frame and colour settings pushed to every
// control linked to it.
//
// A linked control hears of changes in one of two ways. One that implements
// IWexFrameControllerClient is told that something changed and reads the
// controller itself. One that implements IWexFrameControllerTarget has each
// property it carries set by member, and says which members it accepts. Any
// other control takes Color and ParentColor, the colour settings every
// control has.
#include <vector>

#include "support/FrameDrawing.h"
#include "vcl/Components.h"

namespace vcl {
class TControl;
}

namespace support {

enum class TWexFrameControllerProperty : Byte {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
  fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
  fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference,
  fcpAll  // in notifications only: every property
};
using enum TWexFrameControllerProperty;
using TWexFrameControllerNotifications = rtl::TSet<TWexFrameControllerProperty>;
// The first sixteen members: what a control accepts unless it says otherwise.
inline constexpr TWexFrameControllerNotifications kAllFrameControllerNotifications =
    TWexFrameControllerNotifications::FromBits(0xFFFF);

class TWexFrameController;

// A control told of every change by one call; it reads the values it wants
// from its controller.
class IWexFrameControllerClient {
 public:
  virtual void FrameControllerChanged() = 0;

 protected:
  ~IWexFrameControllerClient() = default;
};

// A control that carries some of the controller's properties.
class IWexFrameControllerTarget {
 public:
  // Which properties the controller may push.
  virtual TWexFrameControllerNotifications FrameControllerNotifications() const {
    return kAllFrameControllerNotifications;
  }
  // Sets the control's property of that member (never fcpAll) to the
  // controller's value; false when the control has no such property.
  virtual bool SetFrameControllerProperty(TWexFrameControllerProperty property,
                                          const TWexFrameController& controller) = 0;

 protected:
  ~IWexFrameControllerTarget() = default;
};

class TWexFrameController : public vcl::TComponent {
 public:
  explicit TWexFrameController(vcl::TComponent* owner);
  ~TWexFrameController() override;

  // Copies the sixteen settings of another controller; the linked controls
  // hear once, with fcpAll, at the end.
  void Assign(const vcl::TPersistent* source) override;

  // Adds a control (once) and pushes every property to it.
  void LinkControl(vcl::TControl* control);
  // Removes a control; unknown ones are ignored.
  void UnlinkControl(vcl::TControl* control);
  Integer LinkedControlCount() const { return static_cast<Integer>(linked_.size()); }
  vcl::TControl* LinkedControl(Integer index) const { return linked_.at(static_cast<size_t>(index)); }

  // Notifications are held while an update bracket is open; closing the
  // last one pushes fcpAll.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

  // Tells one control of one property (fcpAll: all of them, in a fixed
  // order), as far as its notification set lets the property through.
  virtual void PushToControl(vcl::TControl* control, TWexFrameControllerProperty property);
  // PushToControl for every linked control, in link order, unless an update
  // bracket is open.
  virtual void PushToAll(TWexFrameControllerProperty property);

  TColor Color() const { return color_; }
  virtual void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  virtual void SetParentColor(bool value);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  bool FlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  virtual void SetReadOnlyColorOnFocus(bool value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);
  // A settings-storage component; only referred to, and forgotten when it
  // is freed.
  vcl::TComponent* RegIniFile() const { return regIniFile_; }
  virtual void SetRegIniFile(vcl::TComponent* value);

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Loaded() override;

 private:
  void PushProperty(vcl::TControl* control, TWexFrameControllerProperty property,
                    TWexFrameControllerNotifications accepted);

  TColor color_;
  bool parentColor_ = false;
  std::vector<vcl::TControl*> linked_;  // not owned; each asked to notify its freeing
  TColor flatButtonColor_;
  bool flatButtons_ = true;
  TColor disabledColor_;
  TColor readOnlyColor_;
  bool readOnlyColorOnFocus_ = false;
  TColor focusColor_;
  TColor frameColor_;
  TColor frameHotColor_;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  Integer updateCount_ = 0;
  vcl::TComponent* regIniFile_ = nullptr;  // not owned
};

}  // namespace support
