#include "MainWindowRig.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "core/VormekSettingsU.h"
#include "htmledit/control/psHtmlEdit.h"
#include "rtl/Files.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace fs = std::filesystem;

namespace idetest {

Scratch::Scratch() {
  static int counter = 0;
  root_ = rtl::TempFolder() + "tolvane-ide-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "/";
  fs::remove_all(root_);
  fs::create_directories(Config());
  fs::create_directories(Project());
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
    hadConfig_ = true;
    oldConfig_ = old;
  }
  setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
}

Scratch::~Scratch() {
  if (hadConfig_)
    setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  std::error_code ec;
  fs::remove_all(root_, ec);
}

std::string Scratch::SettingsFile() const { return core::GetSettingsFileName(); }

std::string Scratch::DebugFile() const { return rtl::ExtractFilePath(SettingsFile()) + "debug.txt"; }

std::string Scratch::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = name.front() == '/' ? name : Project() + name;
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> ListTree(const std::string& folder) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator(); ++it)
    out.push_back(fs::relative(it->path(), folder).string());
  std::sort(out.begin(), out.end());
  return out;
}

void Pump() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

ide::Tfrm_Main* OpenWindow() {
  auto* form = new ide::Tfrm_Main(vcl::Application);
  form->AfterConstruction();
  form->Show();
  Pump();
  return form;
}

void CloseAndFree(ide::Tfrm_Main*& form) {
  vcl::Free(form);
  form = nullptr;
  Pump();
}

void RequestClose(vcl::TCustomForm* form) {
  form->Widget()->window()->close();
  Pump();
}

DialogScript::DialogScript(std::vector<std::string> answers) : answers_(std::move(answers)) {
  auto* timer = new QTimer();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [this] { Tick(); });
  timer->start();
  timer_ = timer;
}

DialogScript::~DialogScript() { delete static_cast<QTimer*>(timer_); }

void DialogScript::Tick() {
  if (Done()) return;
  for (Integer i = vcl::Screen->FormCount() - 1; i >= 0; --i) {
    vcl::TCustomForm* f = vcl::Screen->Forms(i);
    if (!f->Visible()) continue;
    auto* button = dynamic_cast<vcl::TButton*>(f->FindComponent(answers_[next_]));
    if (!button) continue;
    auto* message = dynamic_cast<vcl::TLabel*>(f->FindComponent("Message"));
    asked_.push_back(message ? message->Caption() : std::string());
    ++next_;
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    return;
  }
}

FileDialogScript::FileDialogScript(std::vector<std::string> answers) : answers_(std::move(answers)) {
  auto* timer = new QTimer();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [this] {
    if (Done()) return;
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    const std::string answer = answers_[next_++];
    if (answer.empty()) {
      dialog->reject();
      return;
    }
    dialog->selectFile(QString::fromStdString(answer));
    static_cast<QDialog*>(dialog)->accept();
  });
  timer->start();
  timer_ = timer;
}

FileDialogScript::~FileDialogScript() { delete static_cast<QTimer*>(timer_); }

QImage Grab(vcl::TWinControl* control) {
  Pump();
  return control->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

vcl::TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return vcl::RGB(static_cast<rtl::Byte>(qRed(p)), static_cast<rtl::Byte>(qGreen(p)), static_cast<rtl::Byte>(qBlue(p)));
}

vcl::TRect InkBox(htmledit::TpsHTMLEdit* editor, const QImage& image) {
  const vcl::TRect& insets = editor->NonClientInsets();
  vcl::TRect box{image.width(), image.height(), -1, -1};
  for (int y = insets.Top + 2; y < image.height() - insets.Bottom - 2; ++y)
    for (int x = insets.Left + 2; x < image.width() - insets.Right - 24; ++x)
      if (PixelAt(image, x, y) != vcl::clWhite) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return vcl::TRect{box.Left - insets.Left, box.Top - insets.Top, box.Right - insets.Left, box.Bottom - insets.Top};
}

void TypeText(vcl::TWinControl* control, const std::string& text) {
  control->SetFocus();
  Pump();
  QTest::keyClicks(control->Widget(), QString::fromStdString(text));
  Pump();
}

void PressKey(vcl::TWinControl* control, int qtKey, int qtModifiers) {
  control->SetFocus();
  Pump();
  QTest::keyClick(control->Widget(), static_cast<Qt::Key>(qtKey), static_cast<Qt::KeyboardModifiers>(qtModifiers));
  Pump();
}

void Click(vcl::TWinControl* control, int x, int y) {
  const vcl::LPARAM at = vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y));
  control->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, at);
  control->Perform(vcl::WM_LBUTTONUP, 0, at);
  Pump();
}

void DoubleClick(vcl::TWinControl* control, int x, int y) {
  const vcl::LPARAM at = vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y));
  control->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, at);
  control->Perform(vcl::WM_LBUTTONUP, 0, at);
  control->Perform(vcl::WM_LBUTTONDBLCLK, vcl::MK_LBUTTON, at);
  control->Perform(vcl::WM_LBUTTONUP, 0, at);
  Pump();
}

}  // namespace idetest
