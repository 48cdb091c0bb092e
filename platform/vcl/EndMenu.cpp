// Ending the open menu loop (see EndMenu.h).
#include "vcl/EndMenu.h"

#include <QApplication>
#include <QMenu>

namespace vcl {

void EndMenu() {
  // Innermost first: closing a sub-menu leaves its parent as the active
  // pop-up, which closes in turn. Other pop-ups (our own pop-up forms are
  // tool windows, not Qt pop-ups) are left alone.
  for (int guard = 0; guard < 64; ++guard) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    menu->close();
  }
}

}  // namespace vcl
