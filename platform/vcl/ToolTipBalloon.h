#pragma once
// The balloon tip an edit control shows (EM_SHOWBALLOONTIP on the
// desktop): a hint window with a title in bold, a text, one of three
// icons and a tail pointing at the control.
#include "vcl/Forms.h"

namespace vcl {

// The icons of a balloon tip (TTI_NONE .. TTI_ERROR).
enum class TBalloonIcon { biNone = 0, biInfo = 1, biWarning = 2, biError = 3 };
using enum TBalloonIcon;

class TBalloonTip : public THintWindow {
 public:
  explicit TBalloonTip(TComponent* owner);
  AnsiString Title;
  AnsiString Text;
  TBalloonIcon Icon = biNone;
  // The balloon with its tail at the control's bottom edge, 10 pixels in
  // from its left (screen coordinates), the body below the tail.
  void ShowAt(TControl* control);
  void HideTip() { ReleaseHandle(); }
  // The tail's point in screen coordinates while shown.
  TPoint TailPoint() const { return tail_; }
  // The body's size for the texts, without the tail.
  TSize BodySize();
  static constexpr Integer TailHeight = 10;

 protected:
  void Paint() override;

 private:
  TPoint tail_{};
};

// The process's one balloon tip: shown at a control with a title, a text
// and an icon (replacing any shown), hidden again, and read by tests.
void ShowBalloonTip(TControl* control, const AnsiString& title, const AnsiString& text, TBalloonIcon icon);
void HideBalloonTip();
TBalloonTip* CurrentBalloonTip();

}  // namespace vcl
