// Forms shown beside the focused control without taking the activation.
#include "vcl/NoActivateForm.h"

#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <QWindow>

#include "vcl/Messages.h"

namespace vcl {

namespace {

QtMessageHandler gNoActivateOuterHandler = nullptr;

// The form's show asks the window system to activate it, which this kind
// of window refuses with a warning; the refusal is the point, so that one
// line is dropped and everything else passes on.
void NoActivateMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("requestActivate() called for"))) return;
  if (gNoActivateOuterHandler)
    gNoActivateOuterHandler(type, context, message);
  else
    qt_message_output(type, context, message);
}

}  // namespace

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
  gNoActivateOuterHandler = qInstallMessageHandler(NoActivateMessages);
  TCustomForm::SetVisible(true);
  qInstallMessageHandler(gNoActivateOuterHandler);
  gNoActivateOuterHandler = nullptr;
}

void TNoActivateForm::Dispatch(TMessage& message) {
  if (message.Msg == WM_MOUSEACTIVATE) {
    message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomForm::Dispatch(message);
}

}  // namespace vcl
