#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "../TestSupport.h"
#include "core/CommandLineExecU.h"

namespace fs = std::filesystem;
using core::TcommandLineExec;

namespace {

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> out;
  size_t pos = 0;
  const size_t end = std::min(text.find('\0'), text.size());
  while (pos < end) {
    std::string arg;
    size_t next = core::NextCommandLineArg(text, pos, arg);
    EXPECT_GT(next, pos) << "no progress in «" << text << "»";
    if (next <= pos) break;
    pos = next;
    out.push_back(arg);
  }
  return out;
}

// Records the verbs instead of running them.
class RecordingExec : public TcommandLineExec {
 public:
  explicit RecordingExec(std::ostream& err) : TcommandLineExec(err) {}
  std::vector<std::string> calls;

 protected:
  bool BuildImageFromFolder(const std::string& folder, const std::string& image) override {
    calls.push_back("D(" + folder + "," + image + ")");
    return true;
  }
  bool BuildImageFromProject(const std::string& project, const std::string& image) override {
    calls.push_back("P(" + project + "," + image + ")");
    return true;
  }
  bool UploadImage(const std::string& address, const std::string& image) override {
    calls.push_back("U(" + address + "," + image + ")");
    return true;
  }
};

}  // namespace

TEST(Tokenizer, SplitsLikeTheDesktopCommandLine) {
  struct Case {
    std::string text;
    std::vector<std::string> tokens;
  } cases[] = {
      {"prog D a b", {"prog", "D", "a", "b"}},
      {"  \t prog   D\r\na  ", {"prog", "D", "a", ""}},
      {"prog \"C:\\my site\\\" out.cds", {"prog", "C:\\my site\\", "out.cds"}},
      {"prog \"\" D", {"prog", "D"}},                     // a lone pair is skipped
      {"prog \"\"\"\" D", {"prog", "D"}},                 // so are several
      {"prog a\"b c\"d e", {"prog", "ab cd", "e"}},        // quotes inside an argument
      {"prog \"unterminated rest", {"prog", "unterminated rest"}},
      {"prog \xc3\xa9t\xc3\xa9 x", {"prog", "\xc3\xa9t\xc3\xa9", "x"}},  // bytes from 128 up are ordinary
      {"prog", {"prog"}},
      {"   ", {""}},
      {std::string("prog a\0b c", 10), {"prog", "a"}},  // NUL ends the text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Tokens(c.text), c.tokens);
  }
}

class BatchDispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core_test::WriteFile(root_ / "site.PJT", "x");
    core_test::WriteFile(root_ / "img.cds", "x");
    fs::create_directories(root_ / "my folder");
  }
  core_test::ScratchFolder scratch_{"batch-dispatch"};
  const fs::path root_ = scratch_.Path();
};

TEST_F(BatchDispatchTest, VerbsOperandsAndFailures) {
  const std::string pjt = (root_ / "site.PJT").string();
  const std::string img = (root_ / "img.cds").string();
  const std::string dir = (root_ / "my folder").string();
  const std::string q = "\"" + dir + "\"";
  std::string manyJunk;
  for (int i = 0; i < 22; ++i) manyJunk += " junk" + std::to_string(i);

  struct Case {
    std::string line;
    bool handled;
    std::vector<std::string> calls;
    int exitCode;
    std::string error;
  } cases[] = {
      {"prog P " + pjt + " out.cds", true, {"P(" + pjt + ",out.cds)"}, 0, ""},
      {"prog -P " + pjt + " out.cds", true, {"P(" + pjt + ",out.cds)"}, 0, ""},
      {"prog \\P " + pjt + " out.cds", true, {"P(" + pjt + ",out.cds)"}, 0, ""},
      {"prog +P " + pjt + " out.cds", true, {"P(" + pjt + ",out.cds)"}, 0, ""},
      {"prog p " + pjt + " out.cds", false, {}, 0, ""},   // lower case is no verb
      {"prog --P " + pjt + " out.cds", false, {}, 0, ""},  // only one sign is removed
      {"prog Project " + pjt + " out.cds", true, {"P(" + pjt + ",out.cds)"}, 0, ""},
      {"prog +DEBUG_LOG D " + q + " out.cds", true, {"D(" + dir + ",out.cds)"}, 0, ""},
      {"prog -debug_log D " + q + " out.cds", true, {"D(" + dir + ",out.cds)"}, 0, ""},
      {"prog + - \\ D " + q + " \"\" out.cds", true, {"D(" + dir + ",out.cds)"}, 0, ""},
      {"prog U 127.0.0.1:7137 " + img + " D " + q + " o2.cds", true,
       {"U(127.0.0.1:7137," + img + ")", "D(" + dir + ",o2.cds)"}, 0, ""},
      {"prog x y D " + q + " o.cds", true, {"D(" + dir + ",o.cds)"}, 0, ""},
      {"prog P " + (root_ / "missing.PJT").string() + " out.cds", true, {}, 1,
       "Project file not found: " + (root_ / "missing.PJT").string() + "\n"},
      {"prog D " + (root_ / "nope").string() + " out.cds", true, {}, 1,
       "Folder not found: " + (root_ / "nope").string() + "\n"},
      {"prog D " + q, true, {}, 1, "Verb D needs a folder and an image file name\n"},
      {"prog P", true, {}, 1, "Verb P needs a project file and an image file name\n"},
      {"prog U 127.0.0.1:7137 " + (root_ / "none.cds").string(), true, {}, 1,
       "Image file not found: " + (root_ / "none.cds").string() + "\n"},
      // Only 25 arguments are read: D is the 23rd, its folder the 24th, its
      // image file the 25th; with one more junk argument the image is cut off.
      {"prog" + manyJunk + " D " + q + " o.cds", true, {"D(" + dir + ",o.cds)"}, 0, ""},
      {"prog" + manyJunk + " x D " + q + " o.cds", true, {}, 1,
       "Verb D needs a folder and an image file name\n"},
      {"prog", false, {}, 0, ""},
      {"", false, {}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::ostringstream err;
    RecordingExec exec(err);
    EXPECT_EQ(exec.ProcessArgs(c.line), c.handled);
    EXPECT_EQ(exec.calls, c.calls);
    EXPECT_EQ(exec.ExitCode(), c.exitCode);
    EXPECT_EQ(err.str(), c.error);

    // The same command line as an argument vector gives the same run.
    std::vector<std::string> argv;
    size_t pos = 0;
    while (pos < c.line.size()) {
      std::string arg;
      pos = core::NextCommandLineArg(c.line, pos, arg);
      argv.push_back(arg);
    }
    std::ostringstream err2;
    RecordingExec fromVector(err2);
    EXPECT_EQ(fromVector.ProcessArgList(argv), c.handled);
    EXPECT_EQ(fromVector.calls, c.calls);
    EXPECT_EQ(err2.str(), c.error);
  }
}

TEST(BatchExecute, CrLfTakesTheProcessArguments) {
  // This test program's own arguments hold no verb.
  std::ostringstream err;
  RecordingExec exec(err);
  EXPECT_FALSE(exec.Execute("\r\n"));
  EXPECT_TRUE(exec.calls.empty());
  std::ostringstream err2;
  RecordingExec other(err2);
  EXPECT_FALSE(other.Execute("prog x y"));
}

TEST(BatchExecute, IdeTempFolderUnderTheSystemTemporaryFolder) {
  const std::string folder = core::GetIdeTempFolder();
  EXPECT_EQ(folder.size() >= 20 ? folder.substr(folder.size() - 20) : folder, "/~zelvormek.tmp/ide/");
  EXPECT_EQ(core::GetIdeTempFolder(), folder);  // computed once
}
