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
