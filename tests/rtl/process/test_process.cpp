#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "../classes/TempDir.h"
#include "rtl/Clock.h"
#include "rtl/Exceptions.h"
#include "rtl/Process.h"

using namespace rtl;
namespace fs = std::filesystem;

namespace {

TProcessOptions Child(std::vector<AnsiString> args, bool capture = true) {
  TProcessOptions o;
  o.Program = CHILD_PROGRAM;
  o.Arguments = std::move(args);
  o.CaptureOutput = capture;
  return o;
}

// A folder with the given name inside a fresh temporary folder, removed
// afterwards.
struct TempFolder {
  explicit TempFolder(const std::string& leaf = "proc test") : path(dir / leaf) {
    if (!dir.Valid()) throw std::runtime_error("cannot make a temporary folder");
    fs::create_directories(path);
  }
  rtl_test::TempDir dir;
  fs::path path;
};

std::vector<AnsiString> SplitNul(const AnsiString& s) {
  std::vector<AnsiString> parts;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == '\0') {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  return parts;
}

}  // namespace

TEST(Process, ExitCodesArePassedThrough) {
  for (int code : {0, 1, 3, 42, 255}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(RunProgram(Child({"exit", std::to_string(code)}, false)), Cardinal(code));
  }
}

TEST(Process, ArgumentsArriveVerbatimWithoutAShell) {
  const std::vector<AnsiString> args = {
      "plain",          "with space",  "\"double quoted\"", "'single'", "",
      "back\\slash\\",  "$HOME",       "*.html",           "a;b|c&d",  "tab\there",
      "line\nbreak",    "ümlaut €",    "-x",               "--",       "> out.txt",
  };
  std::vector<AnsiString> argv = {"args"};
  argv.insert(argv.end(), args.begin(), args.end());
  AnsiString out;
  ASSERT_EQ(RunProgram(Child(argv), &out), 0u);
  EXPECT_EQ(SplitNul(out), args);
}

TEST(Process, WorkingFolderIsHonoured) {
  TempFolder dir("folder with spaces 'and quotes'");
  auto o = Child({"cwd"});
  o.WorkingFolder = dir.path.string();
  AnsiString out;
  ASSERT_EQ(RunProgram(o, &out), 0u);
  EXPECT_EQ(fs::canonical(out), fs::canonical(dir.path));

  // Without one, the caller's own folder.
  ASSERT_EQ(RunProgram(Child({"cwd"}), &out), 0u);
  EXPECT_EQ(fs::canonical(out), fs::canonical(fs::current_path()));
}

TEST(Process, RelativeProgramIsFoundFromTheCallersFolderNotTheWorkingFolder) {
  TempFolder dir;
  fs::path child = fs::canonical(CHILD_PROGRAM);
  auto saved = fs::current_path();
  fs::current_path(child.parent_path());
  TProcessOptions o = Child({"cwd"});
  o.Program = "./" + child.filename().string();
  o.WorkingFolder = dir.path.string();
  AnsiString out;
  Cardinal code = 99;
  EXPECT_NO_THROW(code = RunProgram(o, &out));
  fs::current_path(saved);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(fs::canonical(out), fs::canonical(dir.path));
}

TEST(Process, EnvironmentIsInheritedOrReplaced) {
  setenv("RTL_PROCESS_PROBE", "inherited value", 1);
  AnsiString out;
  RunProgram(Child({"env", "RTL_PROCESS_PROBE"}), &out);
  EXPECT_EQ(out, "inherited value");

  auto o = Child({"env", "RTL_PROCESS_PROBE"});
  o.Environment = std::vector<AnsiString>{"RTL_PROCESS_PROBE=given = value"};
  RunProgram(o, &out);
  EXPECT_EQ(out, "given = value");
  o.Arguments = {"env", "HOME"};
  RunProgram(o, &out);
  EXPECT_EQ(out, "(unset)");
  unsetenv("RTL_PROCESS_PROBE");
}

TEST(Process, ProgramsThatCannotStartRaiseWithNameAndReason) {
  TempFolder dir;
  fs::path notExecutable = dir.path / "data.txt";
  std::ofstream(notExecutable) << "not a program";
  struct Case {
    const char* name;
    TProcessOptions options;
    std::string reason;
  };
  TProcessOptions missing;
  missing.Program = (dir.path / "no-such-program").string();
  TProcessOptions noExec;
  noExec.Program = notExecutable.string();
  TProcessOptions badFolder = Child({"cwd"});
  badFolder.WorkingFolder = (dir.path / "no-such-folder").string();
  TProcessOptions notInPath;
  notInPath.Program = "rtl-no-such-program-anywhere";
  TProcessOptions empty;
  const Case cases[] = {
      {"missing", missing, "No such file or directory"},
      {"not executable", noExec, "Permission denied"},
      {"bad working folder", badFolder, "No such file or directory"},
      {"not in PATH", notInPath, "No such file or directory"},
      {"empty name", empty, "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      TProcess p(c.options);
      FAIL() << "started";
    } catch (const EOSError& e) {
      EXPECT_EQ(e.Message(), "Cannot run program \"" + c.options.Program + "\": " + c.reason);
    }
  }
}

TEST(Process, BareNamesAreLookedUpInPath) {
  TProcessOptions o;
  o.Program = "true";
  EXPECT_EQ(RunProgram(o), 0u);
  o.Program = "false";
  EXPECT_EQ(RunProgram(o), 1u);
}

TEST(Process, PollingShowsStillActiveUntilTheEnd) {
  TProcess p(Child({"sleep", "150"}, false));
  EXPECT_GT(p.Pid(), 0);
  EXPECT_TRUE(p.Running());
  EXPECT_EQ(p.ExitCode(), STILL_ACTIVE);
  // The loop shape callers use: read the exit code until it is no longer 259.
  while (p.ExitCode() == STILL_ACTIVE) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_FALSE(p.Running());
  EXPECT_TRUE(p.WaitFor(0));
}

TEST(Process, WaitTimesOutThenKillEndsTheProgram) {
  TProcess p(Child({"sleep", "60000"}, false));
  EXPECT_FALSE(p.WaitFor(0));
  EXPECT_FALSE(p.WaitFor(50));
  EXPECT_EQ(p.ExitCode(), STILL_ACTIVE);
  p.Kill();
  EXPECT_FALSE(p.Running());
  EXPECT_EQ(p.ExitCode(), 128u + SIGKILL);
  EXPECT_TRUE(p.WaitFor(INFINITE));
  p.Kill();  // nothing left to kill
  EXPECT_EQ(p.ExitCode(), 128u + SIGKILL);
}

TEST(Process, WaitTimeOutFollowsTheManualClock) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  TProcess p(Child({"sleep", "60000"}, false));
  std::thread advancer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    clock->Advance(999);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    clock->Advance(1);
  });
  EXPECT_FALSE(p.WaitFor(1000));
  EXPECT_GE(GetTickCount(), 1000u);
  advancer.join();
  EXPECT_TRUE(p.Running());
  p.Kill();
}

TEST(Process, OutputIsCapturedWhateverItsSize) {
  AnsiString out, err;
  ASSERT_EQ(RunProgram(Child({"stderr", "something went wrong"}), &out, &err), 0u);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "something went wrong");
  // Far beyond a pipe's buffer: the waiting side must keep reading.
  ASSERT_EQ(RunProgram(Child({"big", "3000000"}), &out), 0u);
  EXPECT_EQ(out.size(), 3000000u);
  EXPECT_EQ(out.find_first_not_of('x'), AnsiString::npos);
}

TEST(Process, ChildGetsEmptyInputAndNoOpenFilesOfTheCaller) {
  int leaked = open("/dev/null", O_RDONLY);  // deliberately without close-on-exec
  ASSERT_GE(leaked, 0);
  AnsiString out;
  RunProgram(Child({"fds"}), &out);
  EXPECT_EQ(out, "0");
  close(leaked);
  RunProgram(Child({"stdin"}), &out);
  EXPECT_EQ(out, "0");
}

TEST(Process, DestroyingARunningProcessLeavesItRunning) {
  int pid;
  {
    TProcess p(Child({"sleep", "60000"}, true));
    pid = p.Pid();
  }
  EXPECT_EQ(kill(pid, 0), 0);
  kill(pid, SIGKILL);  // reaped in the background by the runner
}
