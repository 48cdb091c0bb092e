// Forms shown beside the focused control without taking the activation.
#include "vcl/NoActivateForm.h"

#include <QWidget>
#include <QWindow>

#include "vcl/Messages.h"

namespace vcl {

TNoActivateForm::TNoActivateForm(TComponent* owner) : TCustomForm(owner, 0) { SetBorderStyle(bsNone); }

void TNoActivateForm::ApplyWindowKind() {
  QWidget* frame = WindowWidget();
  // A tool tip's kind: no frame, kept on top, and refused the focus by the
  // window system, so neither the show nor a click moves the activation.
  const Qt::WindowFlags flags =
      Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
  frame->setAttribute(Qt::WA_ShowWithoutActivating, true);
  if (frame->windowFlags() == flags) return;
  const bool visible = frame->isVisible();
  frame->setWindowFlags(flags);
  if (visible) frame->show();
}

void TNoActivateForm::SetVisible(bool v) {
  if (v == Visible()) return;
  if (!v) {
    TCustomForm::SetVisible(false);
    return;
  }
  ApplyWindowKind();
  TCustomForm::SetVisible(true);
}

void TNoActivateForm::Dispatch(TMessage& message) {
  if (message.Msg == WM_MOUSEACTIVATE) {
    message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomForm::Dispatch(message);
}

}  // namespace vcl
