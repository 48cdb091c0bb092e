// The program's main block: the command-line batch mode runs first and, when
// it handles a verb, the program ends without creating any window or
// application object, so it runs where there is no display.
#include <cstdio>
#include <exception>
#include <string>

#include "core/CommandLineExecU.h"
#include "core/DebugBaseU.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

namespace {

const char kUsage[] =
    "usage: tolvane D FOLDER IMAGE-FILE         build an image from the files of a folder\n"
    "       tolvane P PROJECT-FILE IMAGE-FILE   build an image from a project's active files\n"
    "       tolvane U ADDRESS:PORT IMAGE-FILE   upload an image to a module\n"
    "A verb may be written with one leading \"+\", \"-\" or \"\\\".\n";

int RunBatchMode(bool& handled) {
  core::TcommandLineExec exec;
  handled = exec.Execute("\r\n");
  return exec.ExitCode();
}

}  // namespace

int main(int argc, char** argv) {
  bool handled = false;
  int exitCode = 0;
  try {
    exitCode = RunBatchMode(handled);
  } catch (const rtl::Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Exception: %s\n", e.what());
    return 1;
  }
  if (handled) return exitCode;

  for (int i = 1; i < argc; ++i) {
    if (rtl::AnsiSameText(argv[i], "+DEBUG_LOG")) {
      core::TDebugBase::SetKeepFullLog();
      core::TDebugBase::SetDumpLogAtExit();
    }
  }
  // The main window is not part of this program yet.
  std::fputs(kUsage, stderr);
  return 2;
}
