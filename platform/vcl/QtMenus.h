#pragma once
// The Qt side of menus: the item registry (items by command, their place on
// screen) and the owner-drawn menu widgets. Included only by the class
// library's own sources.
#include "vcl/Menus.h"

class QMenuBar;
class QWidget;

namespace vcl {

class TCustomForm;

// Every menu item gets a command number at construction and loses it when
// it is destroyed.
Cardinal RegisterMenuItem(TMenuItem* item);
void UnregisterMenuItem(TMenuItem* item);
TMenuItem* MenuItemByCommand(Cardinal command);
TRect MenuItemScreenRect(const TMenuItem* item);

// Shows an owner-drawn pop-up menu at a screen point until it closes.
void ExecOwnerDrawPopup(TPopupMenu* menu, Integer x, Integer y);

// The form's menu bar for its main menu: an owner-drawn bar for an
// owner-drawn menu, a plain one otherwise (an existing bar of the other kind
// is replaced); then filled with the menu's visible root items.
QMenuBar* MakeMenuBar(QMenuBar* existing, TMainMenu* menu, QWidget* frame, TCustomForm* form);

}  // namespace vcl
