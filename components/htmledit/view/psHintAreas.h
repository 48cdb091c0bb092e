#pragma once
// The hint areas a window carries and the hint window base: resting the
// mouse over an area for the hint pause shows a hint window with the
// area's text.
#include <memory>
#include <vector>

#include "htmledit/view/psViewTypes.h"

namespace htmlview {

class TpsHintSettings {
 public:
  // The application's hint pause, 160 pixels, the tooltip colour.
  TpsHintSettings();
  Integer HintPause;
  Integer HintMaxWidth = 160;
  TColor HintColor = vcl::clInfoBk;
};

class TpsHintTriggerArea {
 public:
  // The area owns its settings.
  TpsHintTriggerArea(TpsWindow* aOwner, std::unique_ptr<TpsHintSettings> aSettings, AnsiString aHintText);
  virtual ~TpsHintTriggerArea();
  TpsHintTriggerArea(const TpsHintTriggerArea&) = delete;
  TpsHintTriggerArea& operator=(const TpsHintTriggerArea&) = delete;

  // aPoint is relative to the owner.
  virtual bool Contains(const TpsPoint& aPoint) const { return false; }
  TColor GetHintColor() const { return Settings->HintColor; }
  Integer GetHintMaxWidth() const { return Settings->HintMaxWidth; }

  TpsWindow* Owner;
  AnsiString HintText;
  std::unique_ptr<TpsHintSettings> Settings;
};

class TpsRectangularHintTriggerArea : public TpsHintTriggerArea {
 public:
  TpsRectangularHintTriggerArea(TpsWindow* aOwner, const TpsRect& aRect, std::unique_ptr<TpsHintSettings> aSettings,
                                AnsiString aHintText);
  // Inside the rectangle, edges included.
  bool Contains(const TpsPoint& aPoint) const override;

  TpsRect AreaRect;  // relative to the owner
};

using TpsHintTriggerAreaList = std::vector<std::unique_ptr<TpsHintTriggerArea>>;

// The base of the editor's hint window; the window that shows it owns it.
class TpsHintWindow {
 public:
  explicit TpsHintWindow(TpsHintTriggerArea* aArea) : Area(aArea) {}
  virtual ~TpsHintWindow() = default;
  TpsHintWindow(const TpsHintWindow&) = delete;
  TpsHintWindow& operator=(const TpsHintWindow&) = delete;

  TpsHintTriggerArea* Area;  // the area it shows; owned by the window's list
};

}  // namespace htmlview
