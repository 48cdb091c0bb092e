// Closing the window: a modified page and a modified project are each
// offered for saving; Cancel in either keeps the window open. The settings
// are written at close as one replacement, and an exception that reaches
// the window's handler makes the debug log appear at exit.
#include <gtest/gtest.h>

#include <filesystem>

#include "MainWindowRig.h"
#include "core/DebugBaseU.h"
#include "htmledit/control/psHtmlEdit.h"

using namespace idetest;

namespace {

const char kPage[] =
    "<html><head><title>Guard</title></head><body><p>Hello</p></body></html>";

}  // namespace

TEST(CloseGuard, PromptsAndAnswersDecideWhatIsSavedAndWhetherTheWindowCloses) {
  struct Row {
    bool pageModified;
    bool projectModified;
    std::vector<std::string> answers;
    bool closed;
    bool pageSaved;
    bool projectSaved;
  };
  const Row rows[] = {
      {false, false, {}, true, false, false},
      {true, false, {"Yes"}, true, true, false},
      {true, false, {"No"}, true, false, false},
      {true, false, {"Cancel"}, false, false, false},
      {false, true, {"Yes"}, true, false, true},
      {false, true, {"No"}, true, false, false},
      {false, true, {"Cancel"}, false, false, false},
      {true, true, {"No", "Cancel"}, false, false, false},
      {true, true, {"Yes", "Yes"}, true, true, true},
      {true, true, {"Cancel"}, false, false, false},
      {true, true, {"Yes", "No"}, true, true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "page " << row.pageModified << " project " << row.projectModified
                                    << " answers " << row.answers.size());
    Scratch scratch;
    const std::string page = scratch.Write("page.htm", kPage);
    const std::string project = scratch.Project() + "guard.PJT";
    WindowGuard window;
    ide::Tfrm_Main* form = window.form;
    form->Project()->SetFileName(project);
    form->OpenPage(page);
    ASSERT_FALSE(form->Modified());
    if (row.projectModified) form->Project()->AddFile(page);
    if (row.pageModified) {
      TypeText(form->HTMLEdit, "X");
      ASSERT_TRUE(form->Modified());
      EXPECT_EQ(form->StatusBar->Panels()->Items(4)->Text(), "Modified");
    }
    {
      DialogScript script(row.answers);
      RequestClose(form);
      Pump();
      EXPECT_TRUE(script.Done());
      std::vector<std::string> expected;
      if (row.pageModified) expected.push_back("Save changes to file " + page);
      if (row.projectModified && !(row.pageModified && row.answers[0] == "Cancel"))
        expected.push_back("Save changes to project " + project + "?");
      EXPECT_EQ(script.Asked(), expected);
    }
    EXPECT_EQ(!form->Visible(), row.closed);
    EXPECT_EQ(Exists(scratch.SettingsFile()), row.closed) << "settings written at close only";
    EXPECT_EQ(Slurp(page) != kPage, row.pageSaved);
    if (row.pageSaved) EXPECT_NE(Slurp(page).find("XHello"), std::string::npos) << Slurp(page);
    EXPECT_EQ(Exists(project), row.projectSaved);
    if (row.projectSaved) EXPECT_NE(Slurp(project).find("page.htm"), std::string::npos);
    if (!row.closed) {
      // Nothing changed: the same question comes back.
      EXPECT_EQ(form->Modified(), row.pageModified);
      EXPECT_EQ(form->ProjectModified(), row.projectModified);
    }
  }
}

TEST(CloseGuard, AFailedProjectWriteKeepsTheProjectModifiedAndTheWindowOpen) {
  Scratch scratch;
  const std::string page = scratch.Write("page.htm", kPage);
  WindowGuard window;
    ide::Tfrm_Main* form = window.form;
  // A folder stands where the project file would go.
  const std::string project = scratch.Project() + "blocked.PJT";
  std::filesystem::create_directories(project);
  form->Project()->SetFileName(project);
  form->Project()->AddFile(page);
  {
    DialogScript script({"Yes", "OK"});
    RequestClose(form);
    Pump();
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Asked().size(), 2u);
    EXPECT_NE(script.Asked()[1].find(project), std::string::npos) << script.Asked()[1];
  }
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(form->ProjectModified()) << "the list cleared its flag, but nothing reached the disk";
  {
    DialogScript script({"No"});
    RequestClose(form);
    Pump();
    EXPECT_TRUE(script.Done());
  }
  EXPECT_FALSE(form->Visible());
}

TEST(CloseGuard, AFailedSettingsWriteLeavesTheOldFileWholeAndTheLogIsDumpedAtExit) {
  Scratch scratch;
  WindowGuard window;
    ide::Tfrm_Main* form = window.form;
  const std::string settings = scratch.SettingsFile();
  const std::string old = "[window]\r\nmain.width=777\r\n";
  scratch.Write(settings, old);
  // The staging file cannot be made: a folder has its name.
  std::filesystem::create_directories(settings + ".new");
  {
    DialogScript script({"OK"});
    RequestClose(form);
    Pump();
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.Asked().size(), 1u);
  }
  EXPECT_FALSE(form->Visible()) << "the window closes all the same";
  EXPECT_EQ(Slurp(settings), old);
  EXPECT_TRUE(core::TDebugBase::DumpLogAtExit());
  EXPECT_FALSE(Exists(scratch.DebugFile()));
  window.Free();
  ASSERT_TRUE(Exists(scratch.DebugFile()));
  EXPECT_NE(Slurp(scratch.DebugFile()).find("Tfrm_Main -> "), std::string::npos);
}
