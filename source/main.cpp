// The program's main block: the command-line batch mode runs first and, when
// it handles a verb, the program ends without creating any window or
// application object, so it runs where there is no display. Otherwise the
// environment's main window opens.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

#ifdef TOLVANE_WITH_WEB
#include "web/WebBrowser.h"
#endif
#ifdef TOLVANE_WITH_IDE
#include "ide/StartUp.h"
#else
#include "core/CommandLineExecU.h"
#endif

namespace {

const char kUsage[] =
    "usage: tolvane D FOLDER IMAGE-FILE         build an image from the files of a folder\n"
    "       tolvane P PROJECT-FILE IMAGE-FILE   build an image from a project's active files\n"
    "       tolvane U ADDRESS:PORT IMAGE-FILE   upload an image to a module\n"
    "A verb may be written with one leading \"+\", \"-\" or \"\\\".\n";

#ifndef TOLVANE_WITH_IDE

bool RunBatchMode(const std::vector<rtl::AnsiString>& args, int& exitCode) {
  core::TcommandLineExec exec;
  const bool handled = exec.ProcessArgList(args);
  exitCode = exec.ExitCode();
  return handled;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<rtl::AnsiString> args(argv, argv + argc);
  bool handled = false;
  int exitCode = 0;
  // An exception out of the batch mode is reported here: there may be no
  // display to show it on.
  try {
#ifdef TOLVANE_WITH_IDE
    handled = ide::RunBatchMode(args, exitCode);
#else
    handled = RunBatchMode(args, exitCode);
#endif
  } catch (const rtl::Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Exception: %s\n", e.what());
    return 1;
  }
  if (handled) return exitCode;
#ifdef TOLVANE_WITH_IDE
  // Without a display the window would open nowhere and the program would
  // wait unseen for a close that cannot come: say so and show the verbs
  // that do run there.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    std::fputs("tolvane: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n", stderr);
    std::fputs(kUsage, stderr);
    return 2;
  }
#ifdef TOLVANE_WITH_WEB
  // The engine's switches must be in place before the application exists.
  web::PrepareWebEngineStartUp();
  web::InstallWebEngineBrowser();
#endif
  return ide::RunWindowed(args);
#else
  std::fputs(kUsage, stderr);
  std::fputs("This build has no windows: it runs the batch verbs only.\n", stderr);
  return 2;
#endif
}
