// A form's window menu and its system move (see SystemMenu.h).
#include "vcl/SystemMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <QWindow>

#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace vcl {

namespace {
std::function<Cardinal(TCustomForm*, TPoint)> gSystemMenuHandler;
}  // namespace

void SetSystemMenuHandler(std::function<Cardinal(TCustomForm* Form, TPoint Screen)> Handler) {
  gSystemMenuHandler = std::move(Handler);
}

Cardinal TrackSystemMenu(TCustomForm* Form, TPoint Screen) {
  if (!Form) return 0;
  if (gSystemMenuHandler) return gSystemMenuHandler(Form, Screen);
  const TWindowState state = Form->WindowState();
  const TBorderIcons icons = Form->BorderIcons();
  QMenu menu;
  struct Item {
    const char* Text;
    WPARAM Command;
    bool Enabled;
  };
  const Item items[] = {
      {"&Restore", SC_RESTORE, state != wsNormal},
      {"&Move", SC_MOVE, state == wsNormal},
      {"&Size", SC_SIZE, state == wsNormal && Form->BorderStyle() == bsSizeable},
      {"Mi&nimize", SC_MINIMIZE, icons.Contains(biMinimize) && state != wsMinimized},
      {"Ma&ximize", SC_MAXIMIZE, icons.Contains(biMaximize) && state != wsMaximized},
      {nullptr, 0, false},
      {"&Close", SC_CLOSE, icons.Contains(biSystemMenu)},
  };
  for (const Item& i : items) {
    if (!i.Text) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(QString::fromUtf8(i.Text));
    a->setEnabled(i.Enabled);
    a->setData(static_cast<qulonglong>(i.Command));
  }
  QAction* chosen = menu.exec(QPoint(Screen.X, Screen.Y));
  return chosen ? static_cast<Cardinal>(chosen->data().toULongLong()) : 0;
}

bool StartSystemMove(TCustomForm* Form) {
  if (!Form || !Form->HandleAllocated()) return false;
  QWidget* top = Form->Widget() ? Form->Widget()->window() : nullptr;
  QWindow* window = top ? top->windowHandle() : nullptr;
  return window && window->startSystemMove();
}

}  // namespace vcl
