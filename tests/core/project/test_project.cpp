#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../TestSupport.h"
#include "core/PrjManagerU.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Strings.h"

namespace fs = std::filesystem;
using core::Tprjmanager;

namespace {

using core_test::Slurp;
using core_test::WriteFile;

struct Expected {
  std::string name;
  bool active;
  bool open;
};

void ExpectItems(const Tprjmanager& prj, const std::vector<Expected>& expected) {
  ASSERT_EQ(prj.Count(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    EXPECT_EQ(prj.Item(i)->Name(), expected[i].name);
    EXPECT_EQ(prj.Item(i)->Active(), expected[i].active);
    EXPECT_EQ(prj.Item(i)->Open(), expected[i].open);
  }
}

// Loads a project the way the callers do: file name first, then the INI.
void Load(Tprjmanager& prj, const std::string& file) {
  prj.SetFileName(file);
  rtl::TMemIniFile ini(file);
  prj.LoadFromIni(ini);
}

void Save(Tprjmanager& prj, const std::string& file) {
  prj.SetFileName(file);
  rtl::TMemIniFile ini(file);
  prj.SaveToIni(ini);
  ini.UpdateFile();
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(site_); }
  core_test::ScratchFolder scratch_{"project-test"};
  const fs::path root_ = scratch_.Path();
  const std::string site_ = (root_ / "web" / "site").string();  // plays C:\web\site
};

}  // namespace

TEST(ResolvePath, SegmentsAgainstTheFolder) {
  struct Case {
    const char* path;
    const char* folder;
    const char* project;  // ResolveProjectPath
    const char* stored;   // ResolveStoredPath
  } cases[] = {
      {"pages\\b.htm", "/web/site/", "/web/site/pages/b.htm", "/web/site/pages/b.htm"},
      {"pages/b.htm", "/web/site", "/web/site/pages/b.htm", "/web/site/pages/b.htm"},
      {"..\\img\\a.gif", "/web/site/", "/web/img/a.gif", "/web/img/a.gif"},
      {"../img/a.gif", "/web/site/", "/web/img/a.gif", "/web/img/a.gif"},
      // Changed rule: ".." undoes the segment before it, so this is the
      // project folder plus x.htm, not the parent folder plus sub\x.htm.
      {"sub\\..\\x.htm", "/web/site/", "/web/site/x.htm", "/web/site/x.htm"},
      {"a\\b\\..\\..\\..\\x.htm", "/web/site/", "/web/x.htm", "/web/x.htm"},
      {"..\\..\\..\\..\\x.htm", "/web/site/", "/x.htm", "/x.htm"},  // the root stays
      {"a/./b//c.htm", "/web/site/", "/web/site/a/b/c.htm", "/web/site/a/b/c.htm"},
      {"C:\\web\\img\\a.gif", "/web/site/", "C:\\web\\img\\a.gif", "C:\\web\\img\\a.gif"},
      {"d:x.htm", "/web/site/", "d:x.htm", "d:x.htm"},
      {"\\\\server\\share\\x.htm", "/web/site/", "\\\\server\\share\\x.htm", "\\\\server\\share\\x.htm"},
      // A stored name is relative even after a leading delimiter; a native
      // path from the program is absolute.
      {"\\style.css", "/web/site/", "/web/site/style.css", "/web/site/style.css"},
      {"/other/x.htm", "/web/site/", "/other/x.htm", "/web/site/other/x.htm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(core::ResolveProjectPath(c.path, c.folder), c.project);
    EXPECT_EQ(core::ResolveStoredPath(c.path, c.folder), c.stored);
  }
  // An empty folder is the current one.
  EXPECT_EQ(core::ResolveStoredPath("x.htm", ""), rtl::IncludeTrailingPathDelimiter(rtl::GetCurrentDir()) + "x.htm");
}

TEST_F(ProjectTest, ManagerStatesAndNames) {
  Tprjmanager prj;
  EXPECT_EQ(prj.Count(), 0);
  EXPECT_FALSE(prj.Modified());
  EXPECT_FALSE(prj.HasFileName());
  EXPECT_FALSE(prj.FileNameExists());
  EXPECT_EQ(prj.GetFileName(), "project1.PJT");
  EXPECT_EQ(prj.GetProjectDir(), "/");

  // Without a file name relative names resolve against the current folder.
  const std::string cwd = rtl::IncludeTrailingPathDelimiter(rtl::GetCurrentDir());
  prj.AddFile(cwd + "a.htm");
  EXPECT_NE(prj.FindFile("a.htm"), nullptr);
  EXPECT_TRUE(prj.Modified());
  EXPECT_TRUE(prj.Item(0)->Active());
  EXPECT_FALSE(prj.Item(0)->Open());

  const std::string pjt = site_ + "/site.PJT";
  prj.SetFileName(pjt);
  EXPECT_TRUE(prj.HasFileName());
  EXPECT_FALSE(prj.FileNameExists());
  EXPECT_EQ(prj.GetFileName(), pjt);
  EXPECT_EQ(prj.GetProjectDir(), site_ + "/");
  WriteFile(pjt, "");
  EXPECT_TRUE(prj.FileNameExists());

  prj.Clear();
  EXPECT_EQ(prj.Count(), 0);
  EXPECT_FALSE(prj.Modified());
  EXPECT_FALSE(prj.HasFileName());
}

TEST_F(ProjectTest, AddFindAndDelete) {
  Tprjmanager prj;
  prj.SetFileName(site_ + "/site.PJT");
  prj.AddFile(site_ + "/index.htm");
  prj.AddFile(site_ + "/pages/b.htm");
  ASSERT_EQ(prj.Count(), 2);

  {
    // Same file in another letter case: nothing changes, not even the flag.
    Tprjmanager fresh;
    fresh.SetFileName(site_ + "/site.PJT");
    rtl::TMemIniFile ini(site_ + "/none.PJT");
    fresh.LoadFromIni(ini);  // clears the flag
    fresh.Files().Add()->SetNameAndActive(site_ + "/index.htm", true);
    fresh.AddFile(rtl::UpperCase(site_) + "/INDEX.HTM");
    EXPECT_EQ(fresh.Count(), 1);
    EXPECT_FALSE(fresh.Modified());
  }

  struct Case {
    std::string path;
    int found;  // index, -1 for none
  } cases[] = {
      {site_ + "/index.htm", 0},
      {site_ + "/Index.HTM", 0},
      {"index.htm", 0},                 // relative to the project folder
      {"pages\\sub\\..\\b.htm", 1},     // stored form, either delimiter
      {"../site/pages/b.htm", 1},
      {site_ + "/missing.htm", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    core::TprjfileCollectionItem* item = prj.FindFile(c.path);
    EXPECT_EQ(item, c.found < 0 ? nullptr : prj.Item(c.found));
  }

  prj.AddFile("index.htm");
  EXPECT_EQ(prj.Count(), 2);

  prj.DeleteFile(0);
  EXPECT_EQ(prj.Count(), 1);
  EXPECT_EQ(prj.Item(0)->Name(), site_ + "/pages/b.htm");
  EXPECT_THROW(prj.DeleteFile(5), rtl::EListError);
}

TEST_F(ProjectTest, WindowsWrittenProjectLoads) {
  const std::string pjt = site_ + "/windows.PJT";
  fs::copy_file(std::string(TOLVANE_TEST_DATA) + "/core/project/windows.PJT", pjt);
  const std::string web = (root_ / "web").string();

  Tprjmanager prj;
  Load(prj, pjt);
  EXPECT_FALSE(prj.Modified());
  ExpectItems(prj, {
                       {site_ + "/index.htm", true, true},
                       {web + "/img/a.gif", true, false},
                       {"D:\\Other\\Logo.png", false, false},  // another drive: unchanged
                       // the entry with an empty name is skipped
                       {site_ + "/pages/b.htm", true, false},
                       {site_ + "/style.css", true, false},  // any non-zero number is active
                       {"\\\\fileserver\\web\\shared.js", true, false},
                   });

  // Save, then load again: the same project, names stored with backslashes.
  const std::string copy = site_ + "/copy.PJT";
  fs::copy_file(pjt, copy);
  Save(prj, copy);
  EXPECT_FALSE(prj.Modified());
  const std::string text = Slurp(copy);
  for (const char* line : {"FILE.0.Name=index.htm\r\n", "FILE.1.Name=..\\img\\a.gif\r\n",
                           "FILE.2.Name=D:\\Other\\Logo.png\r\n", "FILE.3.Name=pages\\b.htm\r\n",
                           "FILE.3.ACTIVE=1\r\n", "FILE.0.OPEN=1\r\n", "NUM.FILES=6\r\n",
                           // the simulator's sections are left alone
                           "PIN.0.VOLTS=3.3\r\n", "TEMP=21\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.find("FILE.6."), std::string::npos) << "stale key left behind";

  Tprjmanager again;
  Load(again, copy);
  ASSERT_EQ(again.Count(), prj.Count());
  for (int i = 0; i < prj.Count(); ++i) {
    EXPECT_EQ(again.Item(i)->Name(), prj.Item(i)->Name());
    EXPECT_EQ(again.Item(i)->Active(), prj.Item(i)->Active());
    EXPECT_EQ(again.Item(i)->Open(), prj.Item(i)->Open());
  }
}

TEST_F(ProjectTest, SavingStoresRelativeNamesAndErasesStaleKeys) {
  const std::string pjt = site_ + "/site.PJT";
  Tprjmanager prj;
  prj.SetFileName(pjt);
  for (const char* f : {"/index.htm", "/pages/b.htm", "/../img/a.gif", "/../../elsewhere/c.css"})
    prj.AddFile(rtl::ExpandFileName(site_ + f));
  prj.Item(1)->SetActive(false);
  prj.Item(2)->SetOpen(true);
  Save(prj, pjt);

  struct Case {
    const char* key;
    const char* value;
  } cases[] = {
      {"FILE.0.Name", "index.htm"},         {"FILE.1.Name", "pages\\b.htm"},
      {"FILE.2.Name", "..\\img\\a.gif"},    {"FILE.3.Name", "..\\..\\elsewhere\\c.css"},
      {"FILE.1.ACTIVE", "0"},               {"FILE.2.OPEN", "1"},
  };
  {
    rtl::TMemIniFile ini(pjt);
    EXPECT_EQ(ini.ReadString("PROJECT", "NUM.FILES", ""), "4");
    for (const auto& c : cases) EXPECT_EQ(ini.ReadString("FILES", c.key, "?"), c.value) << c.key;
  }

  // Removing files and saving again leaves no keys of the removed ones.
  prj.DeleteFile(3);
  prj.DeleteFile(2);
  EXPECT_TRUE(prj.Modified());
  Save(prj, pjt);
  rtl::TMemIniFile ini(pjt);
  EXPECT_EQ(ini.ReadInteger("PROJECT", "NUM.FILES", -1), 2);
  EXPECT_FALSE(ini.ValueExists("FILES", "FILE.2.Name"));
  EXPECT_FALSE(ini.ValueExists("FILES", "FILE.3.OPEN"));

  Tprjmanager loaded;
  Load(loaded, pjt);
  ExpectItems(loaded, {{site_ + "/index.htm", true, false}, {site_ + "/pages/b.htm", false, false}});
}

TEST_F(ProjectTest, MissingKeysGiveAnEmptyProjectAndCreateNothing) {
  struct Case {
    const char* content;
  } cases[] = {
      {nullptr},                                                        // no file at all
      {"[PROJECT]\r\n"},                                                // no NUM.FILES
      {"[PROJECT]\r\nNUM.FILES=2\r\n"},                                 // no FILES section
      {"[PROJECT]\r\nNUM.FILES=2\r\n[FILES]\r\nFILE.0.ACTIVE=1\r\n"},  // no names
      {"[PROJECT]\r\nNUM.FILES=zwei\r\n[FILES]\r\nFILE.0.Name=a.htm\r\n"},
  };
  for (const auto& c : cases) {
    const std::string pjt = site_ + "/empty.PJT";
    fs::remove(pjt);
    if (c.content) WriteFile(pjt, c.content);
    Tprjmanager prj;
    prj.AddFile(site_ + "/left-over.htm");
    Load(prj, pjt);
    EXPECT_EQ(prj.Count(), 0);
    EXPECT_FALSE(prj.Modified());
    EXPECT_EQ(fs::exists(pjt), c.content != nullptr);
  }
}

TEST_F(ProjectTest, DuplicatesAndMissingFilesAreKept) {
  const std::string pjt = site_ + "/dups.PJT";
  WriteFile(pjt,
            "[PROJECT]\r\nNUM.FILES=3\r\n[FILES]\r\n"
            "FILE.0.Name=a.htm\r\nFILE.0.ACTIVE=1\r\n"
            "FILE.1.Name=A.HTM\r\nFILE.1.ACTIVE=0\r\n"
            "FILE.2.Name=gone\\never.htm\r\n");
  Tprjmanager prj;
  Load(prj, pjt);
  ExpectItems(prj, {{site_ + "/a.htm", true, false},
                    {site_ + "/A.HTM", false, false},
                    {site_ + "/gone/never.htm", false, false}});
}

TEST_F(ProjectTest, EntriesAreFoundByTheirExactNumber) {
  // Only the numbers "NUM.FILES" covers count, written as numbers are
  // written; a damaged, enormous count does not stall the load.
  const std::string pjt = site_ + "/numbers.PJT";
  WriteFile(pjt,
            "[PROJECT]\r\nNUM.FILES=2147483647\r\n[FILES]\r\n"
            "FILE.10.Name=ten.htm\r\nFILE.10.ACTIVE=1\r\n"
            "FILE.01.Name=leading-zero.htm\r\n"
            "FILE.-1.Name=negative.htm\r\n"
            "file.2.name=two.htm\r\n"
            "FILE.2147483647.Name=beyond.htm\r\n");
  Tprjmanager prj;
  Load(prj, pjt);
  ExpectItems(prj, {{site_ + "/two.htm", false, false}, {site_ + "/ten.htm", true, false}});

  WriteFile(pjt, "[PROJECT]\r\nNUM.FILES=3\r\n[FILES]\r\nFILE.3.Name=beyond.htm\r\nFILE.0.Name=zero.htm\r\n");
  Load(prj, pjt);
  ExpectItems(prj, {{site_ + "/zero.htm", false, false}});
}

TEST_F(ProjectTest, RelativeProjectFileName) {
  const std::string cwd = rtl::GetCurrentDir();
  ASSERT_TRUE(rtl::SetCurrentDir(site_));
  Tprjmanager prj;
  prj.SetFileName("local.PJT");
  EXPECT_EQ(prj.GetProjectDir(), site_ + "/");
  prj.AddFile("index.htm");
  EXPECT_NE(prj.FindFile(site_ + "/index.htm"), nullptr);
  rtl::SetCurrentDir(cwd);
}

TEST_F(ProjectTest, FailedSaveLeavesTheOldFileWhole) {
  // The project and the simulator's sections go through one in-memory INI
  // object that is written once. A write that fails part-way (here: the file
  // size limit of the child process) must leave the old file as it was.
  const std::string pjt = site_ + "/site.PJT";
  Tprjmanager prj;
  prj.SetFileName(pjt);
  prj.AddFile(site_ + "/index.htm");
  Save(prj, pjt);
  const std::string before = Slurp(pjt);
  ASSERT_FALSE(before.empty());

  pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{static_cast<rlim_t>(before.size() + 10), static_cast<rlim_t>(before.size() + 10)};
    setrlimit(RLIMIT_FSIZE, &limit);
    int code = 3;
    try {
      rtl::TMemIniFile ini(pjt);
      for (int i = 0; i < 200; ++i) prj.AddFile(site_ + "/page" + std::to_string(i) + ".htm");
      prj.SaveToIni(ini);
      ini.WriteString("SIM.SECTION", "PIN.0.STATE", "1");  // the simulator's part
      ini.UpdateFile();
      code = 1;  // the write should not have succeeded
    } catch (const rtl::Exception&) {
      code = 0;
    }
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write did not raise";
  EXPECT_EQ(Slurp(pjt), before);
}
