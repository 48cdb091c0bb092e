#pragma once
// The program's start: the batch mode first, before any window or Qt
// object exists, then the windowed environment with Tfrm_Main as the first
// form.
#include <functional>
#include <vector>

#include "rtl/Types.h"

namespace ide {

class Tfrm_Main;

// The main window once the windowed start has made it.
extern Tfrm_Main* frm_Main;

// args as the program receives them (args[0] the program path). True when
// a batch verb was handled, whether or not it could run; exitCode is then
// the program's exit code. Needs no display.
bool RunBatchMode(const std::vector<rtl::AnsiString>& args, int& exitCode);

// The "+DEBUG_LOG" scan: an argument after the program path that is that
// word as a whole, in any letter case, switches the debug log to keep every
// line and to be written out when the main window goes.
void ScanDebugLogSwitch(const std::vector<rtl::AnsiString>& args);

// The windowed environment: the application with its title "Tolvane", the
// debug-log switch, the main window as the application's first form, then
// runLoop (the application's message loop when empty) until the main
// window closes. Answers the exit code.
int RunWindowed(const std::vector<rtl::AnsiString>& args, const std::function<void()>& runLoop = {});

// The window libraries' start (once per process; later calls return).
void StartUpLibraries();

// The whole start: RunBatchMode, and RunWindowed when no verb was given.
int RunProgram(const std::vector<rtl::AnsiString>& args, const std::function<void()>& runLoop = {});

}  // namespace ide
