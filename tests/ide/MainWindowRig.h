#pragma once
// The main window as the program builds it, on a scratch settings folder
// and a scratch project folder, shown off screen; message boxes answered by
// a script that clicks their buttons; grabs.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "ide/MainForm.h"
#include "vcl/Forms.h"

namespace idetest {

using rtl::AnsiString;
using rtl::Integer;

// A folder of its own under the temporary folder, removed at the end; the
// user's application-data folder points into it while it lives.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::string& Root() const { return root_; }
  // The application-data folder ($XDG_CONFIG_HOME) and a project folder,
  // both with a trailing delimiter.
  std::string Config() const { return root_ + "config/"; }
  std::string Project() const { return root_ + "project/"; }
  // Where the window keeps its settings, and the debug-log dump beside it.
  std::string SettingsFile() const;
  std::string DebugFile() const;
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string root_;
  std::string oldConfig_;
  bool hadConfig_ = false;
};

std::string Slurp(const std::string& path);
bool Exists(const std::string& path);
// Every entry below a folder (relative names), sorted.
std::vector<std::string> ListTree(const std::string& folder);

// Runs the loop until nothing waits.
void Pump();

// The window as the application would make it, but not the application's
// main form (closing it ends no loop), shown.
ide::Tfrm_Main* OpenWindow();
// Frees it.
void CloseAndFree(ide::Tfrm_Main*& form);
// The window manager's close request, as the title bar's close button
// sends it.
void RequestClose(vcl::TCustomForm* form);

// A window opened for a test and freed at its end, also when it fails.
struct WindowGuard {
  WindowGuard() : form(OpenWindow()) {}
  ~WindowGuard() { Free(); }
  WindowGuard(const WindowGuard&) = delete;
  WindowGuard& operator=(const WindowGuard&) = delete;
  void Free() {
    if (form) CloseAndFree(form);
  }
  ide::Tfrm_Main* form;
};

// Answers the message boxes that open from now on with these button names,
// in order, while it lives; what was asked is kept.
class DialogScript {
 public:
  explicit DialogScript(std::vector<std::string> answers);
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;
  // The messages of the boxes answered, in order.
  const std::vector<std::string>& Asked() const { return asked_; }
  bool Done() const { return next_ >= answers_.size(); }
  void Tick();

 private:
  std::vector<std::string> answers_;
  size_t next_ = 0;
  std::vector<std::string> asked_;
  void* timer_ = nullptr;  // a QTimer
};

// Answers the file dialogs that open from now on with these paths, in
// order ("" cancels), while it lives.
class FileDialogScript {
 public:
  explicit FileDialogScript(std::vector<std::string> answers);
  ~FileDialogScript();
  FileDialogScript(const FileDialogScript&) = delete;
  FileDialogScript& operator=(const FileDialogScript&) = delete;
  bool Done() const { return next_ >= answers_.size(); }

 private:
  std::vector<std::string> answers_;
  size_t next_ = 0;
  void* timer_ = nullptr;  // a QTimer
};

QImage Grab(vcl::TWinControl* control);
vcl::TColor PixelAt(const QImage& image, int x, int y);
// The bounding box of everything on the editor's page that is not the
// page's white, in the editor's client coordinates (its frame and scroll
// bar left out).
vcl::TRect InkBox(htmledit::TpsHTMLEdit* editor, const QImage& image);

// Real input: keys through Qt to the control's widget, mouse presses and
// releases through the class library's messages at client points.
void TypeText(vcl::TWinControl* control, const std::string& text);
void PressKey(vcl::TWinControl* control, int qtKey, int qtModifiers = 0);
void Click(vcl::TWinControl* control, int x, int y);
void DoubleClick(vcl::TWinControl* control, int x, int y);

}  // namespace idetest
