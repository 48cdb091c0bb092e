#pragma once
// The extended forms: keyboard cues on showing and on the dialog keys
// (TMoxExForm), and the owner-window rule and the no-activate option
// (TMoxForm). Forms are built in code: nothing is loaded from a resource.
#include "support/MoxExControls.h"

namespace support {

class TMoxExForm : public TMoxExHooks<vcl::TForm> {
 public:
  using TMoxExHooks<vcl::TForm>::TMoxExHooks;
  void Dispatch(vcl::TMessage& message) override;
};

class TMoxForm : public TMoxExForm {
 public:
  using TMoxExForm::TMoxExForm;

  // False: a click on the form does not activate it.
  bool IsFocusable() const { return isFocusable_; }
  void SetIsFocusable(bool v) { isFocusable_ = v; }

  void Dispatch(vcl::TMessage& message) override;

 protected:
  // The window the form belongs to when it shows: a modal active form
  // other than this one, else the main form when it is another, else none
  // (the application's own window has none here).
  void ChooseOwnerWindow();

 private:
  bool isFocusable_ = true;
};

}  // namespace support
