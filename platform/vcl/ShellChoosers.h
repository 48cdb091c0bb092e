#pragma once
// The desktop's folder chooser and opening a file with the desktop's
// handler for its kind, each with a test hook that answers or records the
// request instead of showing or starting anything.
#include <functional>

#include "vcl/Controls.h"

namespace vcl {

struct TFolderRequest {
  TWinControl* Owner = nullptr;   // the window the chooser belongs to; null: the application's
  AnsiString Title;
  AnsiString StartFolder;         // empty: the user's home folder
  bool FileSystemOnly = true;     // only folders of the file system can be chosen
  bool EditBox = true;            // the user may type the folder's path
};

// Shows a modal folder chooser; true with the chosen folder's path, false
// when it was cancelled.
bool ChooseFolder(const TFolderRequest& request, AnsiString& folder);
// Answers the requests in place of the chooser while set (null: the real
// chooser again).
void SetFolderChooserHook(std::function<bool(const TFolderRequest& request, AnsiString& folder)> hook);

struct TOpenRequest {
  AnsiString FileName;
  AnsiString WorkingFolder;  // where the handler starts
};

// Opens the file with the desktop's handler for its kind ("open" verb, a
// normal window); false when no handler took it.
bool OpenWithDesktop(const TOpenRequest& request);
// Takes the requests in place of the desktop while set (null: the desktop
// again); the hook's answer is OpenWithDesktop's.
void SetDesktopOpenHook(std::function<bool(const TOpenRequest& request)> hook);

}  // namespace vcl
