#pragma once
// Windows that clicks pass through, as a key-tip bubble over a ribbon:
// the mouse reaches whatever lies beneath them.
class QWidget;

namespace vcl {

// The window (a control's widget) takes no mouse input from now on.
void MakeTransparentForMouse(QWidget* window);

}  // namespace vcl
