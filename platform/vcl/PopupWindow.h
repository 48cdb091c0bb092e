#pragma once
// A form shown as a pop-up window that stays usable: a frameless tool window
// above its owner form, shown and activated like any window, so what is on
// it takes the keyboard, opens menus and hints and lets the window system
// resize it. A grabbing pop-up could do none of that, so the deactivation is
// our own: the pop-up is told WM_ACTIVATE inactive (and OnPopupDeactivate
// runs) when the application's active window becomes one the pop-up does
// not own, when the application loses activation, or on a mouse press
// outside it; the press is still delivered afterwards, so the control
// pressed sees the pop-up already closed.
#include <functional>
#include <vector>

#include "vcl/Forms.h"

class QWindow;

namespace vcl {

// Hit-test code of a window's bottom-right sizing corner.
inline constexpr Integer HT_BOTTOMRIGHT_CORNER = 17;

class TPopupForm : public TCustomForm {
 public:
  // A pop-up with nothing on it, not loading.
  explicit TPopupForm(TComponent* owner);
  ~TPopupForm() override;

  // The control the pop-up drops from: its form's window owns the pop-up
  // (keeps it above and keeps its caption active while the pop-up is).
  void SetPopupParent(TWinControl* control);
  TWinControl* PopupParent() const { return popupParent_; }

  // CS_DROPSHADOW: a wish the window manager may honour or not.
  bool DropShadow() const { return dropShadow_; }
  void SetDropShadow(bool v) { dropShadow_ = v; }

  // Shows and activates the pop-up and starts watching for its
  // deactivation; HidePopup hides it and stops watching. Hiding from inside
  // OnPopupDeactivate is allowed.
  void ShowPopup();
  void HidePopup();
  bool PopupShowing() const { return watching_; }

  // True for the pop-up's own window and the windows it owns: those whose
  // owner chain reaches it (nested pop-ups, its dialogs) and the menus and
  // hints shown while it is open.
  bool OwnsWindow(QWindow* window) const;

  // Starts resizing from the bottom-right corner: the window system's
  // resize where it offers one, else our own tracking with the mouse
  // grabbed until the button is released. Also started by
  // WM_NCLBUTTONDOWN with HT_BOTTOMRIGHT_CORNER.
  void StartGripResize();
  bool GripResizing() const { return gripTracking_; }
  // The smallest size our own resize tracking leaves.
  TSize MinimumTrackSize() const { return minTrack_; }
  void SetMinimumTrackSize(TSize s) { minTrack_ = s; }

  // Runs once per deactivation, after WM_ACTIVATE WA_INACTIVE.
  std::function<void(TPopupForm* popup)> OnPopupDeactivate;
  // Runs when our own resize tracking ends (the window system's resize ends
  // in the form's own resizing).
  std::function<void(TPopupForm* popup)> OnGripResized;

  // Lets through only our own WM_ACTIVATE inactive, so handlers further in
  // (Dispatch of the forms built on this one) see the pop-up's verdict.
  void WndProc(TMessage& message) override;

 private:
  friend class PopupWatcher;
  void Deactivate();
  void TrackMove(TPoint screen);
  void EndTracking();

  TWinControl* popupParent_ = nullptr;
  bool dropShadow_ = true;
  bool watching_ = false;
  bool activeSeen_ = false;   // the window system activated us since the show
  bool ownDeactivate_ = false;
  bool gripTracking_ = false;
  TPoint trackStart_{};
  TSize trackStartSize_{};
  TSize minTrack_{16, 16};
};

// The screens as the window system reports them: each monitor's geometry and
// the part its panels leave (SM_CYSCREEN, MonitorFromPoint, SPI_GETWORKAREA).
struct TScreenArea {
  TRect Bounds;
  TRect WorkArea;
};
std::vector<TScreenArea> ScreenAreas();
// The primary screen's work area; empty without screens.
TRect PrimaryWorkArea();

}  // namespace vcl
