#include "vcl/ShellChoosers.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

#include "vcl/Forms.h"

namespace vcl {

namespace {
std::function<bool(const TFolderRequest&, AnsiString&)>& FolderHook() {
  static std::function<bool(const TFolderRequest&, AnsiString&)> hook;
  return hook;
}
std::function<bool(const TOpenRequest&)>& OpenHook() {
  static std::function<bool(const TOpenRequest&)> hook;
  return hook;
}
}  // namespace

void SetFolderChooserHook(std::function<bool(const TFolderRequest&, AnsiString&)> hook) {
  FolderHook() = std::move(hook);
}

void SetDesktopOpenHook(std::function<bool(const TOpenRequest&)> hook) { OpenHook() = std::move(hook); }

bool ChooseFolder(const TFolderRequest& request, AnsiString& folder) {
  if (FolderHook()) return FolderHook()(request, folder);
  InitApplication();
  QWidget* parent = nullptr;
  if (auto* form = dynamic_cast<TCustomForm*>(request.Owner))
    parent = form->WindowWidget();
  else if (request.Owner && request.Owner->HandleAllocated())
    parent = request.Owner->Widget();
  QFileDialog dlg(parent);
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly, true);
  dlg.setWindowTitle(QString::fromStdString(request.Title));
  dlg.setDirectory(request.StartFolder.empty() ? QDir::homePath() : QString::fromStdString(request.StartFolder));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  const QString chosen = dlg.selectedFiles().first();
  // Only folders of the file system: a path that is no folder is no choice.
  if (request.FileSystemOnly && !QDir(chosen).exists()) return false;
  folder = QDir::toNativeSeparators(chosen).toStdString();
  return true;
}

bool OpenWithDesktop(const TOpenRequest& request) {
  if (OpenHook()) return OpenHook()(request);
  InitApplication();
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(request.FileName)));
}

}  // namespace vcl
