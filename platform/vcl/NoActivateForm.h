#pragma once
// A form that floats above the others and never takes the activation: a
// frameless window kept on top, shown without activating, that the window
// system does not give the focus when it is clicked. Typing aids that show
// beside a control while the control keeps the keyboard (a parameter hint
// over an editor) are built on it. A press on it still reaches its controls
// and asks it WM_MOUSEACTIVATE first, so a descendant can hand the focus
// back to whoever should have it.
#include "vcl/Forms.h"

namespace vcl {

class TNoActivateForm : public TCustomForm {
 public:
  // A form with nothing on it, not loading, without border.
  explicit TNoActivateForm(TComponent* owner);
  // Showing never activates it; the active window and focus stay.
  void SetVisible(bool v) override;

 protected:
  void Dispatch(TMessage& message) override;

 private:
  void ApplyWindowKind();
};

}  // namespace vcl
