#include "vcl/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace vcl {

namespace {

std::function<bool(const AnsiString&)>& Handler() {
  static std::function<bool(const AnsiString&)> handler;
  return handler;
}

}  // namespace

bool OpenURL(const AnsiString& url) {
  AnsiString full = url;
  if (full.size() >= 4 && (full.compare(0, 4, "www.") == 0 || full.compare(0, 4, "WWW.") == 0 ||
                           full.compare(0, 4, "Www.") == 0))
    full = "http://" + full;
  if (Handler()) return Handler()(full);
  return QDesktopServices::openUrl(QUrl(QString::fromUtf8(full.data(), static_cast<qsizetype>(full.size()))));
}

void SetOpenURLHandler(std::function<bool(const AnsiString& url)> handler) { Handler() = std::move(handler); }

}  // namespace vcl

#include <QAction>
#include <QMenu>

namespace vcl {

namespace {

std::function<Integer(const std::vector<TPopupItem>&, TPoint)>& TrackHook() {
  static std::function<Integer(const std::vector<TPopupItem>&, TPoint)> hook;
  return hook;
}

}  // namespace

Integer TrackPopupItems(const std::vector<TPopupItem>& items, TPoint screen) {
  if (TrackHook()) return TrackHook()(items, screen);
  QMenu menu;
  for (const TPopupItem& item : items) {
    if (item.Text.empty()) {
      menu.addSeparator();
      continue;
    }
    QString text = QString::fromUtf8(item.Text.data(), static_cast<qsizetype>(item.Text.size()));
    QAction* a = menu.addAction(text);
    a->setEnabled(item.Enabled);
    a->setData(static_cast<int>(item.Command));
  }
  QAction* chosen = menu.exec(QPoint(screen.X, screen.Y));
  return chosen ? static_cast<Integer>(chosen->data().toInt()) : 0;
}

void SetPopupTrackHook(std::function<Integer(const std::vector<TPopupItem>& items, TPoint screen)> hook) {
  TrackHook() = std::move(hook);
}

}  // namespace vcl

#include <QWidget>
#include <cstring>

#include "vcl/Controls.h"
#include "vcl/ShellDrop.h"

namespace vcl {

void DragAcceptFiles(HWND wnd, bool accept) {
  if (TWinControl* c = FindControl(wnd))
    if (QWidget* w = c->Widget()) w->setAcceptDrops(accept);
}

Cardinal DragQueryFile(HDROP drop, Cardinal index, char* buffer, Cardinal size) {
  auto* files = static_cast<const TDroppedFiles*>(drop);
  if (!files) return 0;
  if (index == 0xFFFFFFFFu) return static_cast<Cardinal>(files->Names.size());
  if (index >= files->Names.size()) return 0;
  const AnsiString& name = files->Names[index];
  if (buffer && size > 0) {
    size_t n = std::min<size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = 0;
  }
  return static_cast<Cardinal>(name.size());
}

}  // namespace vcl
