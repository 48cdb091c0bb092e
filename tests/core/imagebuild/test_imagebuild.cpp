#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../TestSupport.h"
#include "TambletImage.h"
#include "core/CdfsDataU.h"
#include "core/PrjManagerU.h"
#include "rtl/Files.h"

namespace fs = std::filesystem;
using core::TcdfsData;
using core::Tprjmanager;

namespace {

using core_test::Slurp;
using core_test::WriteFile;

void WriteScript(const fs::path& p, const std::string& body) {
  WriteFile(p, "#!/bin/sh\n" + body + "\n");
  fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

// "name size" per file of the image, as `tamblet --list` prints them.
std::vector<std::string> ImageListing(const fs::path& image) {
  std::vector<std::string> lines;
  for (const auto& f : tamblet::CheckImage(tamblet::ReadWholeFile(image)))
    lines.push_back(f.name + " " + std::to_string(f.size));
  return lines;
}

// Every entry under a folder, with file contents, to show it did not change.
std::vector<std::string> Snapshot(const fs::path& folder) {
  std::vector<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    entries.push_back(fs::relative(e.path(), folder).string() +
                      (e.is_regular_file() ? "=" + Slurp(e.path()) : "/"));
  std::sort(entries.begin(), entries.end());
  return entries;
}

class ImageBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The builder's output and the default staging folder live under the
    // system's temporary folder: give each test its own.
    oldTmp_ = getenv("TMPDIR") ? getenv("TMPDIR") : "";
    fs::create_directories(root_ / "tmp");
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
  }
  void TearDown() override {
    if (oldTmp_.empty())
      unsetenv("TMPDIR");
    else
      setenv("TMPDIR", oldTmp_.c_str(), 1);
  }
  core_test::ScratchFolder scratch_{"imagebuild-test"};
  const fs::path root_ = scratch_.Path();
  std::string oldTmp_;
};

}  // namespace

TEST_F(ImageBuildTest, DefaultsAndBuilderOutputPath) {
  TcdfsData build;
  EXPECT_EQ(build.BuilderPath(), rtl::ProgramFolder() + "tamblet");
  EXPECT_TRUE(rtl::FileExists(build.BuilderPath()));
  EXPECT_EQ(build.StagingFolder(), (root_ / "tmp").string() + "/__Tolvane/IDE/__tmp__/");
  EXPECT_EQ(TcdfsData::BuilderOutputPath(), (root_ / "tmp").string() + "/Zel/core_imagebuild_tests/image.cds");
  build.SetStagingFolder("/some/folder");
  EXPECT_EQ(build.StagingFolder(), "/some/folder/");
}

TEST_F(ImageBuildTest, BuildStagesActiveFilesFlatAndRunsTheBuilder) {
  const fs::path site = root_ / "site";
  WriteFile(site / "index.htm", "<html>first</html>");
  WriteFile(site / "style.css", "body{}");
  WriteFile(site / "draft.htm", "not active");
  WriteFile(site / "img" / "logo.gif", "GIF89a");
  WriteFile(site / "other" / "index.htm", "<html>the second one, longer</html>");
  Tprjmanager prj;
  prj.SetFileName((site / "site.PJT").string());
  for (const char* f : {"index.htm", "style.css", "draft.htm", "img/logo.gif", "other/index.htm", "gone.htm"})
    prj.AddFile((site / f).string());
  prj.Item(2)->SetActive(false);  // draft.htm

  TcdfsData build;
  build.SetStagingFolder((root_ / "staging").string());
  const fs::path image = root_ / "out" / "deeper" / "site.cds";  // folder made on the way
  ASSERT_TRUE(build.Build(prj, image.string())) << build.LastError();
  EXPECT_EQ(build.LastError(), "");
  EXPECT_EQ(ImageListing(image), (std::vector<std::string>{"index.htm 18", "logo.gif 6", "style.css 6"}));
  // The staging folder keeps its copies until the next build; the builder's
  // output folder keeps nothing.
  EXPECT_EQ(Slurp(root_ / "staging" / "index.htm"), "<html>first</html>");
  EXPECT_FALSE(fs::exists(TcdfsData::BuilderOutputPath()));

  // A project without an active file gives an image without files.
  for (int i = 0; i < prj.Count(); ++i) prj.Item(i)->SetActive(false);
  ASSERT_TRUE(build.Build(prj, image.string())) << build.LastError();
  EXPECT_EQ(ImageListing(image), std::vector<std::string>{});
}

TEST_F(ImageBuildTest, StagingFolderIsClearedButKeepsItsSubfolders) {
  const fs::path staging = root_ / "staging";
  WriteFile(staging / "old.htm", "from the last build");
  WriteFile(staging / "sub" / "deeper" / "old.gif", "x");
  WriteFile(staging / ".hidden", "x");
  Tprjmanager prj;
  WriteFile(root_ / "site" / "new.htm", "new");
  prj.AddFile((root_ / "site" / "new.htm").string());

  TcdfsData build;
  build.SetStagingFolder(staging.string());
  ASSERT_TRUE(build.Build(prj, (root_ / "a.cds").string())) << build.LastError();
  EXPECT_EQ(Snapshot(staging), (std::vector<std::string>{"new.htm=new", "sub/", "sub/deeper/"}));
  EXPECT_EQ(ImageListing(root_ / "a.cds"), std::vector<std::string>{"new.htm 3"});
}

TEST_F(ImageBuildTest, BuilderGetsStagingFolderAndOutputInItsOwnFolder) {
  // A builder that writes down where it ran and what it was given.
  const fs::path tools = root_ / "tools";
  WriteScript(tools / "tamblet", "printf '%s|%s|%s' \"$PWD\" \"$1\" \"$#\" > \"$2\"");
  const fs::path staging = root_ / "my site";
  fs::create_directories(staging);
  TcdfsData build;
  build.SetBuilderPath((tools / "tamblet").string());
  build.SetStagingFolder(staging.string() + "/");
  ASSERT_TRUE(build.RunBuilder((root_ / "x.cds").string())) << build.LastError();
  EXPECT_EQ(Slurp(root_ / "x.cds"), tools.string() + "|" + staging.string() + "|2");
}

TEST_F(ImageBuildTest, RunBuilderLeavesTheFolderAsItIs) {
  const fs::path folder = root_ / "user folder";
  WriteFile(folder / "index.htm", "hello");
  WriteFile(folder / "css" / "a.css", "a{}");
  fs::create_directories(folder / "empty");
  const auto before = Snapshot(folder);
  TcdfsData build;
  build.SetStagingFolder(folder.string());
  ASSERT_TRUE(build.RunBuilder((root_ / "d.cds").string())) << build.LastError();
  EXPECT_EQ(Snapshot(folder), before);
  EXPECT_EQ(ImageListing(root_ / "d.cds"), (std::vector<std::string>{"css/a.css 3", "index.htm 5"}));
}

TEST_F(ImageBuildTest, FailedBuildsKeepThePreviousImage) {
  const fs::path tools = root_ / "tools";
  WriteScript(tools / "failing", "echo 'disk on fire' >&2; exit 3");
  WriteScript(tools / "silent", "exit 0");
  WriteScript(tools / "leaves-output", "echo partial > \"$2\"; exit 1");
  const std::string realBuilder = rtl::ProgramFolder() + "tamblet";

  struct Case {
    const char* what;
    std::string builder;
    const char* badFile;  // a file the module cannot hold, put in the staging folder
    std::string error;
  } cases[] = {
      {"missing builder", (tools / "absent").string(), nullptr,
       "The image builder could not be started: Cannot run program"},
      {"builder fails", (tools / "failing").string(), nullptr,
       "The image builder failed with exit code 3: disk on fire"},
      {"builder writes nothing", (tools / "silent").string(), nullptr, "The image builder wrote no image"},
      {"builder fails after writing", (tools / "leaves-output").string(), nullptr,
       "The image builder failed with exit code 1"},
      {"builder refuses a name", realBuilder, "two words.htm",
       "The image builder failed with exit code 1: tamblet: the module cannot hold the file \"two words.htm\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path staging = root_ / "staging";
    fs::remove_all(staging);
    WriteFile(staging / "index.htm", "x");
    if (c.badFile) WriteFile(staging / c.badFile, "x");
    const fs::path image = root_ / "good.cds";
    WriteFile(image, "the previous good image");

    TcdfsData build;
    build.SetBuilderPath(c.builder);
    build.SetStagingFolder(staging.string());
    EXPECT_FALSE(build.RunBuilder(image.string()));
    EXPECT_EQ(build.LastError().rfind(c.error, 0), 0u) << build.LastError();
    EXPECT_EQ(Slurp(image), "the previous good image");
    EXPECT_FALSE(fs::exists(TcdfsData::BuilderOutputPath()));

    Tprjmanager prj;
    prj.AddFile((staging / "index.htm").string());
    if (c.badFile) prj.AddFile((staging / c.badFile).string());
    build.SetStagingFolder((root_ / "project-staging").string());
    EXPECT_FALSE(build.Build(prj, image.string()));
    EXPECT_EQ(Slurp(image), "the previous good image");
  }
}

TEST_F(ImageBuildTest, DeleteFolderContents) {
  const fs::path folder = root_ / "f";
  const fs::path outside = root_ / "outside";
  WriteFile(outside / "keep.txt", "must survive");
  WriteFile(folder / "a.txt", "a");
  WriteFile(folder / ".hidden", "h");
  WriteFile(folder / "sub" / "b.txt", "b");
  fs::create_directory_symlink(outside, folder / "link-to-outside");

  core::DeleteFolderContents(folder.string());
  EXPECT_EQ(Snapshot(folder), std::vector<std::string>{"sub/"});
  EXPECT_EQ(Slurp(outside / "keep.txt"), "must survive");

  WriteFile(folder / "c.txt", "c");
  core::DeleteFolderContents(folder.string() + "/*.*");
  EXPECT_EQ(Snapshot(folder), std::vector<std::string>{"sub/"});

  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {(root_ / "missing").string(), "Directory not found: " + (root_ / "missing").string() + "/*.*"},
      {(root_ / "missing").string() + "/", "Directory not found: " + (root_ / "missing").string() + "/*.*"},
      {(root_ / "missing").string() + "/*.*", "Directory not found: " + (root_ / "missing").string() + "/*.*"},
  };
  for (const auto& c : cases) {
    try {
      core::DeleteFolderContents(c.path);
      ADD_FAILURE() << "no exception for " << c.path;
    } catch (const core::EdirNotFound& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_STREQ(e.ClassName(), "EdirNotFound");
    }
  }
}
