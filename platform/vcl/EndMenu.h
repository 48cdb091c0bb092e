#pragma once
// Ends the menu loop that is open (a pop-up menu shown by Popup, with its
// sub-menus), as the window system's EndMenu does; nothing without one.
// Popup then returns without a choice.
namespace vcl {

void EndMenu();

}  // namespace vcl
