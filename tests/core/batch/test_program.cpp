// The batch mode end to end: the real tolvane program, the real image
// builder beside it, no display.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../TestSupport.h"
#include "rtl/Process.h"

namespace fs = std::filesystem;

namespace {

const std::string kBin = TOLVANE_BIN_DIR;
const fs::path kSample = fs::path(TOLVANE_SOURCE_DIR) / "resources" / "sample";

using core_test::Slurp;
using core_test::WriteFile;

struct RunResult {
  unsigned exitCode;
  std::string out;
  std::string err;
};

class BatchProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_ / "tmp"); }

  // Runs a program with a bare environment: no DISPLAY, no WAYLAND_DISPLAY,
  // its own temporary folder.
  RunResult Exec(const std::string& program, const std::vector<std::string>& args, const fs::path& tmp = {}) {
    rtl::TProcessOptions o;
    o.Program = program;
    o.Arguments = args;
    o.WorkingFolder = root_.string();
    o.Environment = std::vector<std::string>{"PATH=/usr/bin:/bin", "HOME=" + root_.string(),
                                             "TMPDIR=" + (tmp.empty() ? root_ / "tmp" : tmp).string()};
    o.CaptureOutput = true;
    RunResult r;
    r.exitCode = rtl::RunProgram(o, &r.out, &r.err);
    return r;
  }
  RunResult Tolvane(const std::vector<std::string>& args) { return Exec(kBin + "/tolvane", args); }
  RunResult List(const fs::path& image) { return Exec(kBin + "/tamblet", {"--list", image.string()}); }

  core_test::ScratchFolder scratch_{"batch-program"};
  const fs::path root_ = scratch_.Path();
};

std::string SizeLine(const fs::path& f) {
  return f.filename().string() + " " + std::to_string(fs::file_size(f)) + "\n";
}

}  // namespace

TEST_F(BatchProgramTest, VerbPBuildsTheSampleProjectsActiveFiles) {
  const fs::path image = root_ / "out" / "sample.cds";
  RunResult build = Tolvane({"P", (kSample / "sample.PJT").string(), image.string()});
  ASSERT_EQ(build.exitCode, 0u) << build.err;
  EXPECT_EQ(build.err, "");
  RunResult list = List(image);
  ASSERT_EQ(list.exitCode, 0u) << list.err;
  // draft.htm is inactive and stays out.
  EXPECT_EQ(list.out, SizeLine(kSample / "index.htm") + SizeLine(kSample / "logo.png") +
                          SizeLine(kSample / "style.css"));

  // A relative project path and image name, from the sample's parent folder.
  fs::copy(kSample, root_ / "copy");
  rtl::TProcessOptions o;
  o.Program = kBin + "/tolvane";
  o.Arguments = {"-P", "copy/sample.PJT", "rel.cds"};
  o.WorkingFolder = root_.string();
  o.Environment = std::vector<std::string>{"TMPDIR=" + (root_ / "tmp").string()};
  o.CaptureOutput = true;
  EXPECT_EQ(rtl::RunProgram(o), 0u);
  EXPECT_EQ(List(root_ / "rel.cds").out, list.out);
}

TEST_F(BatchProgramTest, VerbDBuildsAFolderAndLeavesItAlone) {
  const fs::path folder = root_ / "web site";
  WriteFile(folder / "index.htm", "<html></html>");
  WriteFile(folder / "pics" / "a.gif", "GIF89a");
  const auto mtime = fs::last_write_time(folder / "index.htm");
  const fs::path image = root_ / "site.cds";
  RunResult build = Tolvane({"+DEBUG_LOG", "D", folder.string(), image.string()});
  ASSERT_EQ(build.exitCode, 0u) << build.err;
  EXPECT_EQ(List(image).out, "index.htm 13\npics/a.gif 6\n");
  EXPECT_EQ(Slurp(folder / "index.htm"), "<html></html>");
  EXPECT_EQ(fs::last_write_time(folder / "index.htm"), mtime);
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator()), 3);
}

TEST_F(BatchProgramTest, FailuresReportTheCauseAndKeepTheOldImage) {
  // A copy of the program with no builder beside it, and one whose builder fails.
  const fs::path lonely = root_ / "lonely";
  fs::create_directories(lonely);
  fs::copy_file(kBin + "/tolvane", lonely / "tolvane");
  const fs::path broken = root_ / "broken";
  fs::create_directories(broken);
  fs::copy_file(kBin + "/tolvane", broken / "tolvane");
  WriteFile(broken / "tamblet", "#!/bin/sh\necho 'out of flash' >&2\nexit 4\n");
  fs::permissions(broken / "tamblet", fs::perms::owner_all);

  const fs::path folder = root_ / "site";
  WriteFile(folder / "index.htm", "x");
  const fs::path badFolder = root_ / "bad";
  WriteFile(badFolder / "my page.htm", "x");
  const fs::path image = root_ / "good.cds";
  const std::string pjt = (kSample / "sample.PJT").string();

  struct Case {
    const char* what;
    std::string program;
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {"missing project", kBin + "/tolvane", {"P", (root_ / "none.PJT").string(), image.string()},
       "Project file not found: " + (root_ / "none.PJT").string()},
      {"missing folder", kBin + "/tolvane", {"D", (root_ / "none").string(), image.string()},
       "Folder not found: " + (root_ / "none").string()},
      {"missing operand", kBin + "/tolvane", {"D", folder.string()}, "Verb D needs a folder and an image file name"},
      {"missing builder, verb P", (lonely / "tolvane").string(), {"P", pjt, image.string()},
       "Image build from project " + pjt + " failed: The image builder could not be started: Cannot run program"},
      {"missing builder, verb D", (lonely / "tolvane").string(), {"D", folder.string(), image.string()},
       "Image build from folder " + folder.string() + " failed: The image builder could not be started"},
      {"builder fails", (broken / "tolvane").string(), {"P", pjt, image.string()},
       "The image builder failed with exit code 4: out of flash"},
      {"builder refuses a name", kBin + "/tolvane", {"D", badFolder.string(), image.string()},
       "the module cannot hold the file \"my page.htm\""},
      {"upload without an image", kBin + "/tolvane", {"U", "127.0.0.1:7137", (root_ / "none.cds").string()},
       "Image file not found: " + (root_ / "none.cds").string()},
      {"upload", kBin + "/tolvane", {"U", "127.0.0.1:7137", image.string()}, "Unable to upload image"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(image, "the previous good image");
    RunResult r = Exec(c.program, c.args);
    EXPECT_NE(r.exitCode, 0u);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Slurp(image), "the previous good image");
  }
}

TEST_F(BatchProgramTest, WithoutAVerbTheUsageIsShown) {
  for (const auto& args : std::vector<std::vector<std::string>>{{}, {"p", "x", "y"}, {"+DEBUG_LOG"}}) {
    RunResult r = Tolvane(args);
    EXPECT_EQ(r.exitCode, 2u);
    EXPECT_NE(r.err.find("usage: tolvane D FOLDER IMAGE-FILE"), std::string::npos) << r.err;
  }
}

TEST_F(BatchProgramTest, AnExceptionEndsTheProgramWithItsClassAndMessage) {
  // The temporary folder is a file, so the staging folder cannot be made.
  WriteFile(root_ / "not-a-folder", "x");
  RunResult r = Exec(kBin + "/tolvane", {"P", (kSample / "sample.PJT").string(), (root_ / "o.cds").string()},
               root_ / "not-a-folder");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.err.find("EdirNotFound: Directory not found: "), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(root_ / "o.cds"));
}
