#include "web/WebBrowserPort.h"

#include <QString>
#include <QUrl>

namespace web {

namespace {

TWebBrowserFactory& Factory() {
  static TWebBrowserFactory factory;
  return factory;
}

}  // namespace

TCustomWebBrowser::TCustomWebBrowser(vcl::TComponent* owner) : vcl::TWinControl(owner) {
  SetBounds(0, 0, 300, 150);
}

bool TCustomWebBrowser::DoBeforeNavigate(const AnsiString& url) {
  bool cancel = false;
  if (OnBeforeNavigate2) OnBeforeNavigate2(this, url, cancel);
  if (!cancel) ++navigationCount_;
  return !cancel;
}

void TCustomWebBrowser::DoDocumentComplete(const AnsiString& url, bool ok) {
  if (OnDocumentComplete) OnDocumentComplete(this, url, ok);
}

TNullWebBrowser::TNullWebBrowser(vcl::TComponent* owner) : TCustomWebBrowser(owner) {}

void TNullWebBrowser::Navigate(const AnsiString& url) {
  const AnsiString target = LocalFileUrl(url);
  if (!DoBeforeNavigate(target)) return;
  location_ = target;
  DoDocumentComplete(target, true);
}

AnsiString LocalFileUrl(const AnsiString& urlOrPath) {
  static const char kScheme[] = "file://";
  QString path;
  if (urlOrPath.rfind(kScheme, 0) == 0)
    path = QString::fromStdString(urlOrPath.substr(sizeof kScheme - 1));
  else if (!urlOrPath.empty() && urlOrPath[0] == '/')
    path = QString::fromStdString(urlOrPath);
  else
    return urlOrPath;
  // The name is taken as it stands: a "#" or "%" in it is part of the
  // file's name, never a fragment or an escape.
  return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString();
}

AnsiString FilePathOfUrl(const AnsiString& url) {
  const QUrl u(QString::fromStdString(url));
  if (!u.isLocalFile()) return AnsiString();
  return u.toLocalFile().toStdString();
}

void SetWebBrowserFactory(TWebBrowserFactory factory) { Factory() = std::move(factory); }

TCustomWebBrowser* CreateWebBrowser(vcl::TComponent* owner) {
  if (Factory()) return Factory()(owner);
  return new TNullWebBrowser(owner);
}

}  // namespace web
