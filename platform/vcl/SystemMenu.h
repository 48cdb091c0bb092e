#pragma once
// A form's window menu and the window system's own move, for controls that
// stand in for a form's title bar: the menu is tracked at a screen point
// and answers the chosen command; WM_SYSCOMMAND with SC_MOVE (any low bits)
// makes the form follow the mouse.
#include <functional>

#include "vcl/Types.h"

namespace vcl {

class TCustomForm;

// WM_SYSCOMMAND's commands beside those of Messages.h.
inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_CLOSE = 0xF060;

// Shows the form's window menu at Screen: Restore, Move, Size, Minimize,
// Maximize and Close as its state and border icons allow. Answers the
// chosen command, 0 when the menu was closed without one.
Cardinal TrackSystemMenu(TCustomForm* Form, TPoint Screen);
// Replaces the menu (tests record the request and answer a command); an
// empty function restores it.
void SetSystemMenuHandler(std::function<Cardinal(TCustomForm* Form, TPoint Screen)> Handler);

// The window system moves the form with the mouse from here until the
// button is released; false where it cannot.
bool StartSystemMove(TCustomForm* Form);

}  // namespace vcl
