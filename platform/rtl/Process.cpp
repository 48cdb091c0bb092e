#include "rtl/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "rtl/Exceptions.h"

extern char** environ;

namespace rtl {
namespace {

AnsiString ErrorText(int err) {
  char buf[256];
  // The GNU strerror_r returns the text, not necessarily in buf.
  return strerror_r(err, buf, sizeof buf);
}

[[noreturn]] void CannotRun(const AnsiString& program, int err) {
  throw EOSError("Cannot run program \"" + program + "\": " + ErrorText(err));
}

// Releases the spawn attribute objects on every path.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
};

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

struct TProcess::State {
  AnsiString program;
  pid_t pid = -1;
  int pidFd = -1;  // readable once the program has ended (where the kernel offers it)
  int outFd = -1;
  int errFd = -1;
  bool reaped = false;
  Cardinal exitCode = STILL_ACTIVE;
  AnsiString out, err;

  void Drain(int& fd, AnsiString& into) {
    if (fd < 0) return;
    char buf[16384];
    for (;;) {
      ssize_t n = read(fd, buf, sizeof buf);
      if (n > 0) {
        into.append(buf, size_t(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) CloseFd(fd);  // end of output
      return;                   // EAGAIN: nothing more for now
    }
  }

  void Reaped(int status) {
    reaped = true;
    if (WIFEXITED(status))
      exitCode = Cardinal(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
      exitCode = Cardinal(128 + WTERMSIG(status));
    else
      exitCode = 1;
    // What the program wrote before it ended is in the pipes already; a
    // descendant that keeps them open is not waited for.
    Drain(outFd, out);
    Drain(errFd, err);
    CloseFd(outFd);
    CloseFd(errFd);
    CloseFd(pidFd);
  }

  // Collects output and notices the end without blocking.
  void Poll() {
    if (reaped) return;
    Drain(outFd, out);
    Drain(errFd, err);
    int status = 0;
    pid_t r;
    do {
      r = waitpid(pid, &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == pid) Reaped(status);
    else if (r < 0) Reaped(0);  // someone else reaped it (SIGCHLD ignored)
  }

  // Blocks up to ms for output or the end.
  void Block(int ms) {
    pollfd fds[3];
    nfds_t n = 0;
    for (int fd : {pidFd, outFd, errFd})
      if (fd >= 0) fds[n++] = pollfd{fd, POLLIN, 0};
    if (pidFd < 0 && ms > 5) ms = 5;  // no exit notification: poll in short slices
    if (n == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      return;
    }
    poll(fds, n, ms);
  }
};

TProcess::TProcess(const TProcessOptions& o) : st_(std::make_unique<State>()) {
  st_->program = o.Program;
  if (o.Program.empty()) CannotRun(o.Program, ENOENT);
  AnsiString path = o.Program;
  bool searchPath = path.find('/') == AnsiString::npos;
  if (!searchPath && path[0] != '/') {
    // Relative to the caller's folder, whatever the working folder will be.
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) CannotRun(o.Program, errno);
    path = AnsiString(cwd) + "/" + path;
  }

  int outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
  auto closePipes = [&] {
    for (int* p : {outPipe, errPipe}) {
      CloseFd(p[0]);
      CloseFd(p[1]);
    }
  };
  if (o.CaptureOutput) {
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
      int e = errno;
      closePipes();
      CannotRun(o.Program, e);
    }
  }

  SpawnSetup s;
  posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0);
  if (o.CaptureOutput) {
    posix_spawn_file_actions_adddup2(&s.actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&s.actions, errPipe[1], 2);
  }
  posix_spawn_file_actions_addclosefrom_np(&s.actions, 3);
  if (!o.WorkingFolder.empty()) posix_spawn_file_actions_addchdir_np(&s.actions, o.WorkingFolder.c_str());
  // Signal dispositions and the mask of the caller (a listener thread may
  // block signals, a network layer may ignore SIGPIPE) are not the child's.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&s.attr, &all);
  posix_spawnattr_setsigmask(&s.attr, &none);
  posix_spawnattr_setflags(&s.attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(o.Program.c_str()));
  for (auto& a : o.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  if (o.Environment) {
    for (auto& e : *o.Environment) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
  }
  char** env = o.Environment ? envp.data() : environ;

  pid_t pid = -1;
  int rc = searchPath ? posix_spawnp(&pid, path.c_str(), &s.actions, &s.attr, argv.data(), env)
                      : posix_spawn(&pid, path.c_str(), &s.actions, &s.attr, argv.data(), env);
  if (rc != 0) {
    closePipes();
    CannotRun(o.Program, rc);
  }
  st_->pid = pid;
  if (o.CaptureOutput) {
    CloseFd(outPipe[1]);
    CloseFd(errPipe[1]);
    st_->outFd = outPipe[0];
    st_->errFd = errPipe[0];
    fcntl(st_->outFd, F_SETFL, O_NONBLOCK);
    fcntl(st_->errFd, F_SETFL, O_NONBLOCK);
  }
  st_->pidFd = int(syscall(SYS_pidfd_open, pid, 0));
  if (st_->pidFd >= 0) fcntl(st_->pidFd, F_SETFD, FD_CLOEXEC);
}

TProcess::~TProcess() {
  if (!st_) return;
  st_->Poll();
  CloseFd(st_->outFd);
  CloseFd(st_->errFd);
  CloseFd(st_->pidFd);
  if (!st_->reaped) {
    pid_t pid = st_->pid;
    std::thread([pid] {
      int status;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  }
}

int TProcess::Pid() const { return st_->pid; }

bool TProcess::Running() {
  st_->Poll();
  return !st_->reaped;
}

Cardinal TProcess::ExitCode() {
  st_->Poll();
  return st_->exitCode;
}

bool TProcess::WaitFor(Cardinal timeoutMs) {
  auto clock = CurrentClock();
  uint64_t start = clock->MonotonicMs();
  for (;;) {
    st_->Poll();
    if (st_->reaped) return true;
    if (timeoutMs == 0) return false;
    int slice = 50;
    if (timeoutMs != INFINITE) {
      auto now = CurrentClock();
      if (now != clock) {  // a clock installed meanwhile: start again on it
        clock = now;
        start = clock->MonotonicMs();
      }
      uint64_t elapsed = clock->MonotonicMs() - start;
      if (elapsed >= timeoutMs) return false;
      if (clock->RealTime()) slice = int(std::min<uint64_t>(50, timeoutMs - elapsed));
      else slice = 2;  // a manual clock moves by itself only when told
    }
    st_->Block(slice);
  }
}

void TProcess::Kill() {
  st_->Poll();
  if (st_->reaped) return;
  ::kill(st_->pid, SIGKILL);
  int status = 0;
  pid_t r;
  do {
    r = waitpid(st_->pid, &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r != st_->pid) status = SIGKILL;  // reaped elsewhere: report the kill itself
  st_->Reaped(status);
}

AnsiString TProcess::StdOut() {
  st_->Poll();
  return st_->out;
}

AnsiString TProcess::StdErr() {
  st_->Poll();
  return st_->err;
}

Cardinal RunProgram(const TProcessOptions& options, AnsiString* stdOut, AnsiString* stdErr) {
  TProcess p(options);
  p.WaitFor(INFINITE);
  if (stdOut) *stdOut = p.StdOut();
  if (stdErr) *stdErr = p.StdErr();
  return p.ExitCode();
}

}  // namespace rtl
