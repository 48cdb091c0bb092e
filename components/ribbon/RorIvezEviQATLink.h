#pragma once
// What the pager asks of the quick access toolbar among its children. The
// toolbar class implements this; the pager takes the child that does as its
// quick access toolbar when it is inserted (CM_CONTROLCHANGE) and forgets it
// when it leaves. Without one, every question is answered by the pager
// itself: no rectangle, not below the ribbon, no strip, no key tips.
#include "rtl/Types.h"

namespace vcl {
class TControl;
}

namespace ribbon {

class IQuickAccessToolBar {
 public:
  virtual ~IQuickAccessToolBar() = default;
  // The toolbar as a control: its bounds and whether it is visible.
  virtual vcl::TControl* QATControl() = 0;
  // Shown in the full-width band below the ribbon.
  virtual bool BelowRibbon() const = 0;
  // Called by the pager with the new value.
  virtual void SetBelowRibbon(bool Value) = 0;
  // Key tips of its glow buttons while the pager's key tips show.
  virtual void ShowButtonKeyTips() = 0;
  virtual void HideButtonKeyTips() = 0;
  // A button whose key tip equals Text is run (True); Count grows by one
  // for each visible tip that still begins with Text.
  virtual bool MatchKeyTip(const rtl::AnsiString& Text, int& Count) = 0;
  // The pager's styler broadcast with its reason code.
  virtual void PagerStylerChanged(int Code) = 0;
  // Places itself again in the area the pager gives it (GetQATRect).
  virtual void PlaceInPager() = 0;
};

}  // namespace ribbon
