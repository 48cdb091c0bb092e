#pragma once
// TMoxProgressDialog: a dialog component that shows a small window with an
// optional picture, a line of text, a progress bar and an optional Cancel
// button. Callers mostly use it modelessly (Show, move Position while the
// work runs and let messages through, Hide); a timer in the window can poll
// the owner for new values through OnProgress. The window is TfrmProgress,
// laid out in code.
#include <functional>
#include <memory>

#include "support/MoxComponent.h"
#include "support/MoxExForms.h"
#include "vcl/ActnList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Pictures.h"
#include "vcl/Progress.h"
#include "vcl/StdCtrls.h"

namespace support {

using TMoxProgressEvent = std::function<void(vcl::TObject* Sender, bool& AContinue)>;

// What the window shows, handed between window and dialog at each step.
struct TMoxProgressValues {
  Integer Min = 0;
  Integer Max = 100;
  Integer Position = 0;
  Integer Interval = 200;
  AnsiString Caption;
  AnsiString Text;
  vcl::TPicture* Picture = nullptr;  // the window's picture, not owned
};

class TfrmProgress : public TMoxForm {
 public:
  explicit TfrmProgress(vcl::TComponent* owner);
  ~TfrmProgress() override;

  vcl::TImage* imProgress;
  vcl::TLabel* Label1;
  vcl::TProgressBar* pbProgress;
  vcl::TButton* btnCancel;
  vcl::TTimer* tmProgress;
  vcl::TActionList* ActionList1;
  vcl::TAction* Action1;

  // Into the dialog at each step: the values (changed in place) and
  // whether to go on.
  std::function<void(TMoxProgressValues& values, bool& AContinue)> ProgressHook;
  // Into the dialog when the user cancels.
  std::function<void()> CancelHook;
  bool Cancelled() const { return cancelled_; }
  bool ShowCancel() const { return showCancel_; }
  void SetShowCancel(bool v) { showCancel_ = v; }

  // Title bar, label, bar and button placed from the current values; the
  // client height follows.
  void LayoutControls();
  // One poll of the dialog (the timer's tick; also run before a modal
  // show when the timer is not running).
  void ProgressStep();
  // The Cancel button, Esc and (with ShowCancel) Alt+F4.
  void CancelProgress();
  // Closes with the cancel result, once.
  void CloseCancelled();

 protected:
  void PaintWindow() override;

 private:
  bool cancelled_ = false;
  bool showCancel_ = true;
  bool closing_ = false;
};

class TMoxProgressDialog : public TMoxCommonDialogF {
 public:
  explicit TMoxProgressDialog(vcl::TComponent* owner);
  ~TMoxProgressDialog() override;

  // Opens the window modelessly and returns at once (always false).
  bool Show();
  // Closes an open window and lets the pending messages through.
  void Hide();
  // Modal; true unless the window ended with the cancel result.
  bool Execute() override;

  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& v);
  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& v);
  vcl::TPicture* Image() { return image_.get(); }
  void SetImage(const vcl::TPicture* v) { image_->Assign(v); }
  Integer Min() const { return min_; }
  void SetMin(Integer v);
  Integer Max() const { return max_; }
  void SetMax(Integer v);
  Integer Position() const { return position_; }
  void SetPosition(Integer v);
  Integer Interval() const { return interval_; }
  void SetInterval(Integer v);
  bool ShowCancel() const { return showCancel_; }
  void SetShowCancel(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v) { smooth_ = v; }
  vcl::TPosition ScreenPosition() const { return screenPosition_; }
  void SetScreenPosition(vcl::TPosition v) { screenPosition_ = v; }
  bool Cancelled() const { return cancelled_; }
  // The open window, or null.
  TfrmProgress* Window() const { return form_; }

  vcl::TNotifyEvent OnCancel;
  TMoxProgressEvent OnProgress;
  // OnShow and OnClose come from the common dialog base.

 private:
  struct Snapshot {
    Integer Min = 0, Max = 0, Position = 0, Interval = 0;
    AnsiString Caption, Text;
    std::unique_ptr<vcl::TPicture> Picture = std::make_unique<vcl::TPicture>();
  };
  void TakeSnapshot();
  void RestoreSnapshot();
  TfrmProgress* MakeForm();
  void FillForm(TfrmProgress* form, bool modal);
  void FormClosed(vcl::TCloseAction& action);
  void ReleaseForm();
  void StepFromForm(TMoxProgressValues& values, bool& AContinue);

  Snapshot snapshot_;
  Integer min_ = 0, max_ = 100, position_ = 0, interval_ = 200;
  AnsiString caption_, text_;
  bool showCancel_ = true;
  bool transparent_ = false;
  TfrmProgress* form_ = nullptr;  // owned by the application
  std::unique_ptr<vcl::TPicture> image_;
  bool cancelled_ = false;
  bool smooth_ = false;
  vcl::TPosition screenPosition_ = vcl::poDesktopCenter;
};

}  // namespace support
