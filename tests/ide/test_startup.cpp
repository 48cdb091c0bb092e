// The program's start: a batch verb ends it without any window and without
// touching the settings folder; otherwise the window opens as the
// application's main form, and "+DEBUG_LOG" (as a whole word, any case)
// keeps the whole log and writes it beside the settings file at exit.
// The windowed rows run in child processes: the debug log's switches only
// ever go on, and closing the main form ends the application's loop.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "MainWindowRig.h"
#include "core/DebugBaseU.h"
#include "ide/StartUp.h"

using namespace idetest;

namespace {

// One windowed start through the application's own loop, closed once
// shown; answers what went wrong ("" when nothing did).
std::string WindowedStart(const std::vector<AnsiString>& args, bool expectSwitches) {
  Scratch scratch;
  std::string fault;
  bool ran = false;
  const auto check = [&] {
    if (vcl::Application->MainForm() != ide::frm_Main || !ide::frm_Main)
      fault += "the main window is not the application's main form; ";
    else if (!ide::frm_Main->Visible())
      fault += "the main window is not shown; ";
    else if (vcl::Application->Title() != "Tolvane")
      fault += "title " + vcl::Application->Title() + "; ";
    if (ide::frm_Main) RequestClose(ide::frm_Main);
  };
  const int code = ide::RunProgram(args, [&] {
    ran = true;
    if (!vcl::Application->Terminated()) {
      // The program's own loop, the first time in the process.
      QTimer::singleShot(0, check);
      vcl::Application->Run();
      return;
    }
    // Once the application's loop has ended it does not run again: the
    // window is shown and closed as the loop would.
    ide::frm_Main->Show();
    Pump();
    check();
    Pump();
  });
  if (code != 0) fault += "exit code " + std::to_string(code) + "; ";
  if (!ran) fault += "no window; ";
  if (core::TDebugBase::KeepFullLog() != expectSwitches) fault += "KeepFullLog wrong; ";
  if (core::TDebugBase::DumpLogAtExit() != expectSwitches) fault += "DumpLogAtExit wrong; ";
  const std::string settings = scratch.SettingsFile();
  if (!Exists(settings)) fault += "no settings file at close; ";
  vcl::Free(ide::frm_Main);
  ide::frm_Main = nullptr;
  Pump();
  if (Exists(scratch.DebugFile()) != expectSwitches)
    fault += expectSwitches ? "no debug.txt at exit; " : "debug.txt written; ";
  return fault;
}

[[noreturn]] void ExitWith(const std::string& fault) {
  std::fprintf(stderr, "%s\n", fault.empty() ? "OK" : fault.c_str());
  std::fflush(stderr);
  std::_Exit(fault.empty() ? 0 : 1);
}

}  // namespace

TEST(StartUpDeathTest, WithoutAVerbTheWindowOpensAndOnlyTheWholeSwitchTurnsTheLogOn) {
  // Rows that leave the switches off share one process.
  EXPECT_EXIT(
      {
        std::string fault;
        for (const std::vector<AnsiString>& args :
             {std::vector<AnsiString>{"tolvane"}, {"tolvane", "-+DEBUG_LOG"}, {"tolvane", "DEBUG_LOG"}}) {
          const std::string f = WindowedStart(args, false);
          if (!f.empty()) fault += args.back() + ": " + f;
        }
        ExitWith(fault);
      },
      ::testing::ExitedWithCode(0), "OK");
  for (const char* spelling : {"+DEBUG_LOG", "+debug_log", "+Debug_Log"}) {
    EXPECT_EXIT(ExitWith(WindowedStart({"tolvane", spelling}, true)), ::testing::ExitedWithCode(0), "OK")
        << spelling;
  }
}

TEST(StartUp, ABatchVerbShowsNoWindowAndLeavesTheSettingsFolderAlone) {
  Scratch scratch;
  scratch.Write("page.htm", "<p>x</p>");
  struct Row {
    std::vector<AnsiString> args;
    int exitCode;
  };
  const std::string image = scratch.Root() + "out.cds";
  const Row rows[] = {
      {{"tolvane", "P", scratch.Project() + "missing.PJT", image}, 1},
      {{"tolvane", "+P"}, 1},
      {{"tolvane", "U", "not-an-address", image}, 1},
      {{"tolvane", "-D", scratch.Project() + "no-such-folder", image, "+DEBUG_LOG"}, 1},
      // A longer word after a sign is read as a verb by its first letter.
      {{"tolvane", "+DEBUG_LOGX"}, 1},
  };
  const Integer formsBefore = vcl::Screen->FormCount();
  for (const Row& row : rows) {
    const auto before = ListTree(scratch.Config());
    bool windowLoop = false;
    EXPECT_EQ(ide::RunProgram(row.args, [&] { windowLoop = true; }), row.exitCode) << row.args[1];
    EXPECT_FALSE(windowLoop) << row.args[1];
    EXPECT_EQ(ide::frm_Main, nullptr);
    EXPECT_EQ(vcl::Screen->FormCount(), formsBefore);
    EXPECT_EQ(ListTree(scratch.Config()), before) << row.args[1];
  }
}
