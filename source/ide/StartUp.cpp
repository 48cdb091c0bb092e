#include "ide/StartUp.h"

#include "controls/ControlsLibrary.h"
#include "core/CommandLineExecU.h"
#include "core/DebugBaseU.h"
#include "htmledit/control/psClipboardDesktop.h"
#include "ide/CommandForms.h"
#include "ide/MainForm.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"

namespace ide {

Tfrm_Main* frm_Main = nullptr;

void StartUpLibraries() {
  static bool started = false;
  if (started) return;
  started = true;
  controls::StartUpControls();
  // The editor's copy and paste reach the desktop's clipboard.
  static htmledit::TpsDesktopClipboard clipboard;
  htmledit::SetClipboardBackend(&clipboard);
}

bool RunBatchMode(const std::vector<rtl::AnsiString>& args, int& exitCode) {
  core::TcommandLineExec exec;
  const bool handled = exec.ProcessArgList(args);
  exitCode = exec.ExitCode();
  return handled;
}

void ScanDebugLogSwitch(const std::vector<rtl::AnsiString>& args) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (rtl::AnsiSameText(args[i], "+DEBUG_LOG")) {
      core::TDebugBase::SetKeepFullLog();
      core::TDebugBase::SetDumpLogAtExit();
    }
  }
}

int RunWindowed(const std::vector<rtl::AnsiString>& args, const std::function<void()>& runLoop) {
  vcl::InitApplication();
  vcl::Application->SetTitle("Tolvane");
  ScanDebugLogSwitch(args);
  StartUpLibraries();
  vcl::Application->CreateForm(&frm_Main);
  CreateCommandForms();
  if (runLoop)
    runLoop();
  else
    vcl::Application->Run();
  return 0;
}

int RunProgram(const std::vector<rtl::AnsiString>& args, const std::function<void()>& runLoop) {
  int exitCode = 0;
  if (RunBatchMode(args, exitCode)) return exitCode;
  return RunWindowed(args, runLoop);
}

}  // namespace ide
