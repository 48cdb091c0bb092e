#pragma once
// Starting other programs: an argument vector (never a shell), a working
// folder, an optional environment, optional capture of the output. The
// caller polls or waits with a time-out (on the clock service) and may kill.
#include <memory>
#include <optional>
#include <vector>

#include "rtl/Clock.h"
#include "rtl/Types.h"

namespace rtl {

// The exit code a running process reports, for callers that poll.
inline constexpr Cardinal STILL_ACTIVE = 259;

struct TProcessOptions {
  // A path, or a bare name looked up in PATH. A relative path is taken from
  // the caller's current folder, not from WorkingFolder.
  AnsiString Program;
  // The arguments after the program name, passed verbatim.
  std::vector<AnsiString> Arguments;
  // Empty: the caller's current folder.
  AnsiString WorkingFolder;
  // "NAME=value" entries replacing the whole environment; absent: inherited.
  std::optional<std::vector<AnsiString>> Environment;
  // Collect standard output and standard error into strings; otherwise the
  // program writes to the caller's own.
  bool CaptureOutput = false;
};

// A started program. Its standard input is /dev/null and it inherits no open
// files but the standard three.
class TProcess {
 public:
  // Starts the program; raises EOSError "Cannot run program "<name>": <reason>"
  // when it cannot be started (missing, not executable, bad working folder).
  explicit TProcess(const TProcessOptions& options);
  // A process still running is left running (as closing a handle on the
  // desktop would) and reaped in the background. Captured output is no
  // longer read: its pipes close, so further writes to them fail.
  ~TProcess();
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  int Pid() const;
  bool Running();
  // STILL_ACTIVE while running; then the exit status, or 128 + the signal
  // number for a program ended by a signal (137 after Kill).
  Cardinal ExitCode();
  // Waits up to timeoutMs (INFINITE: no limit); true once the program ended.
  bool WaitFor(Cardinal timeoutMs = INFINITE);
  // Ends the program at once (SIGKILL) and reaps it. Nothing when ended.
  void Kill();
  // Captured output so far (complete once the program ended).
  AnsiString StdOut();
  AnsiString StdErr();

 private:
  struct State;
  std::unique_ptr<State> st_;
};

// Runs a program to its end and returns its exit code (convenience).
Cardinal RunProgram(const TProcessOptions& options, AnsiString* stdOut = nullptr,
                    AnsiString* stdErr = nullptr);

}  // namespace rtl
