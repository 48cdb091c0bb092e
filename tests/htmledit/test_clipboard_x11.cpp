// The clipboard routines over Qt's X11 clipboard, with another program on
// the other side: under Xvfb, xclip reads what the editor copied as
// text/html and as text, and the text/html xclip offers comes back as
// "HTML Format". Qt's event loop runs while xclip runs, so the clipboard's
// owner answers; xclip and Xvfb are ended by their process ids. Without
// Xvfb or xclip (scripts/install-deps adds them) the tests are skipped.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "htmledit/control/psClipboardDesktop.h"
#include "vcl/Forms.h"

extern char** environ;

using namespace htmledit;

namespace {

bool OnPath(const char* aName) {
  const char* path = std::getenv("PATH");
  std::string paths = path ? path : "/usr/bin:/bin";
  size_t from = 0;
  while (from <= paths.size()) {
    const size_t to = std::min(paths.find(':', from), paths.size());
    if (access((paths.substr(from, to - from) + "/" + aName).c_str(), X_OK) == 0) return true;
    from = to + 1;
  }
  return false;
}

// A child process with its stdin and stdout on pipes (-1 when not wanted).
struct Child {
  pid_t pid = -1;
  int in = -1;
  int out = -1;
};

Child Spawn(const std::vector<std::string>& aArgs, bool aPipeIn, bool aPipeOut) {
  Child child;
  int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (aPipeIn && pipe(inPipe) == 0) {
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_addclose(&actions, inPipe[1]);
  }
  if (aPipeOut && pipe(outPipe) == 0) {
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  }
  std::vector<char*> argv;
  for (const std::string& arg : aArgs) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (inPipe[0] >= 0) {
    close(inPipe[0]);
    child.in = inPipe[1];
  }
  if (outPipe[1] >= 0) {
    close(outPipe[1]);
    child.out = outPipe[0];
    fcntl(child.out, F_SETFL, O_NONBLOCK);
  }
  return child;
}

void End(Child& aChild) {
  if (aChild.pid > 0) {
    kill(aChild.pid, SIGTERM);
    waitpid(aChild.pid, nullptr, 0);
  }
  if (aChild.in >= 0) close(aChild.in);
  if (aChild.out >= 0) close(aChild.out);
  aChild = Child{};
}

// Runs Qt's event loop until the child ends (at most ten seconds) and
// answers what it wrote.
std::string RunWithEvents(Child& aChild) {
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    char buffer[4096];
    ssize_t n;
    while ((n = read(aChild.out, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
    int status;
    if (waitpid(aChild.pid, &status, WNOHANG) == aChild.pid) {
      while ((n = read(aChild.out, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
      aChild.pid = -1;
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) break;
  }
  End(aChild);
  return output;
}

// Xvfb for the whole program, started before the application object so
// that Qt comes up on its X11 platform.
class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xclip")) return;
    for (int display = 60 + getpid() % 200;; ++display) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
      const std::string lock = "/tmp/.X" + std::to_string(display) + "-lock";
      if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) continue;
      server = Spawn({"Xvfb", ":" + std::to_string(display), "-nolisten", "tcp", "-screen", "0", "640x480x24"}, false,
                     false);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (!std::filesystem::exists(socket)) {
        End(server);
        return;
      }
      // Another program's server took the display first: ours has ended.
      if (waitpid(server.pid, nullptr, WNOHANG) == server.pid) {
        server = Child{};
        continue;
      }
      setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
      setenv("QT_QPA_PLATFORM", "xcb", 1);
      vcl::InitApplication();
      running = true;
      return;
    }
  }
  void TearDown() override { End(server); }

  static inline bool running = false;
  Child server;
};

const auto* const gServer = ::testing::AddGlobalTestEnvironment(new XServer);

class X11Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XServer::running) GTEST_SKIP() << "Xvfb or xclip is missing: run scripts/install-deps";
    SetClipboardBackend(&desktop);
  }
  void TearDown() override { SetClipboardBackend(nullptr); }
  TpsDesktopClipboard desktop;
};

std::string XclipOut(const char* aTarget) {
  Child xclip = Spawn({"xclip", "-selection", "clipboard", "-o", "-t", aTarget}, false, true);
  return RunWithEvents(xclip);
}

}  // namespace

TEST_F(X11Clipboard, XclipReadsTheEditorsHtmlAndText) {
  const std::string html = "<body><p>caf\xc3\xa9 <b>x</b></p></body>";
  desktop.Open();
  TpsClipboard::PutHtml(html, 7, 27);
  TpsClipboard::PutUnicodeText(u"caf\u00e9 x");
  desktop.Close();
  EXPECT_EQ(XclipOut("text/html"), html + "\r\n");
  EXPECT_EQ(XclipOut("UTF8_STRING"), "caf\xc3\xa9 x");
  EXPECT_EQ(XclipOut("text/plain"), "caf\xc3\xa9 x");
}

TEST_F(X11Clipboard, TheHtmlXclipOffersComesBackAsHtmlFormat) {
  QGuiApplication::clipboard()->clear();  // ours no longer: xclip's, once it runs
  Child xclip = Spawn({"xclip", "-selection", "clipboard", "-i", "-quiet", "-t", "text/html"}, true, false);
  const std::string html = "<html><body>a<!--StartFragment--><i>caf\xc3\xa9</i><!--EndFragment-->b</body></html>";
  ASSERT_EQ(write(xclip.in, html.data(), html.size()), static_cast<ssize_t>(html.size()));
  close(xclip.in);
  xclip.in = -1;
  // xclip owns the clipboard once it has read its input.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  AnsiString data;
  while (data.empty() && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    data = TpsClipboard::GetHtml();
  }
  End(xclip);
  EXPECT_EQ(TpsClipboard::GetFragment(data), "<i>caf\xc3\xa9</i>");
  const size_t first = html.find("<i>");
  const std::string block = TpsClipboard::BuildHtmlFormat(html, static_cast<Integer>(first + 1),
                                                          static_cast<Integer>(html.find("<!--EndFragment")));
  EXPECT_EQ(data, block.substr(0, block.size() - 1));
}
