// The settings file: the window's bounds, the discovery ports and the left
// bar's panel layout come back in the next session; the right and bottom
// bars keep their design; a file written on the desktop is read as well.
#include <gtest/gtest.h>

#include <QCursor>

#include "MainWindowRig.h"
#include "controls/ToolPanels.h"
#include "core/DevListU.h"
#include "rtl/Clock.h"
#include "rtl/Files.h"

using namespace idetest;

namespace {

// Slides and the bars' timers run on a clock that moves on sleeps, so a
// panel opens at once.
struct ManualTime {
  ManualTime() : clock(std::make_shared<rtl::ManualClock>(1000000)) {
    clock->SetSleepAdvances(true);
    rtl::InstallClock(clock);
  }
  ~ManualTime() { rtl::InstallClock(nullptr); }
  std::shared_ptr<rtl::ManualClock> clock;
};

}  // namespace

TEST(Settings, TwoSessionsRestoreTheBoundsAndTheLeftBarsLayout) {
  Scratch scratch;
  ManualTime time;
  {
    WindowGuard window;
    ide::Tfrm_Main* form = window.form;
    EXPECT_FALSE(form->ct->Panels()->Count() == 0);
    form->SetBounds(120, 90, 870, 610);
    // "Simulate" pinned, then dragged off by its grip to float.
    controls::TLumToolPanel* sim = form->SimTab;
    form->ct->OpenPanel(sim);
    sim->SetLocked(true);
    Pump();
    sim->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(4, 10));
    sim->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(5, 11));
    const vcl::TPoint away = form->PageControl->ClientToScreen({400, 300});
    QCursor::setPos(away.X, away.Y);
    sim->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::PointToLParam(sim->ScreenToClient(away)));
    QCursor::setPos(away.X, away.Y);
    sim->Perform(vcl::WM_LBUTTONUP, 0, vcl::PointToLParam(sim->ScreenToClient(away)));
    Pump();
    form->ct->OpenPanel(form->ProjectManagerTab);
    form->ProjectManagerTab->SetLocked(true);
    form->insertPanel->SetHidden(true);
    Pump();
    ASSERT_TRUE(form->ProjectManagerTab->Locked());
    ASSERT_TRUE(form->SimTab->Floating());
    RequestClose(form);
    ASSERT_FALSE(form->Visible());
  }
  const std::string text = Slurp(scratch.SettingsFile());
  EXPECT_NE(text.find("main.width=870\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ctPANELS]\r\nCOUNT=4"), std::string::npos) << text;
  EXPECT_NE(text.find("[RightBarPANELS]"), std::string::npos) << text;
  EXPECT_NE(text.find("[bottomBarPANELS]"), std::string::npos) << text;
  EXPECT_NE(text.find("Announce.port=7124"), std::string::npos) << text;
  EXPECT_FALSE(Exists(scratch.SettingsFile() + ".new")) << "the staging file took the settings' place";
  {
    WindowGuard window;
    ide::Tfrm_Main* form = window.form;
    EXPECT_EQ(form->Left(), 120);
    EXPECT_EQ(form->Top(), 90);
    EXPECT_EQ(form->Width(), 870);
    EXPECT_EQ(form->Height(), 610);
    EXPECT_TRUE(form->ProjectManagerTab->Locked());
    EXPECT_TRUE(form->insertPanel->Hidden());
    EXPECT_TRUE(form->SimTab->Floating());
    EXPECT_FALSE(form->simErrorsTab->Locked());
    EXPECT_TRUE(form->ct->LayoutLoaded());
    EXPECT_FALSE(form->RightBar->LayoutLoaded()) << "only the left bar's layout is read";
    EXPECT_FALSE(form->bottomBar->LayoutLoaded());
    EXPECT_EQ(form->ct->Persist()->INIFile, scratch.SettingsFile());
    EXPECT_FALSE(form->ct->Persist()->AutoLoad);
  }
}

TEST(Settings, AFileWrittenOnTheDesktopSetsTheDiscoveryPorts) {
  Scratch scratch;
  scratch.Write(scratch.SettingsFile(), "[UDP.Settings]\r\nannounce.PORT=7000\r\n\r\n[Window]\r\nMain.Width=800\r\n");
  WindowGuard window;
  core::TvormekDevList& devices = window.form->CdfsDevice()->DevList();
  EXPECT_EQ(devices.AnnouncePort(), 7000);
  EXPECT_EQ(devices.RcvAnnouncePort(), 7123);
  EXPECT_EQ(window.form->VormekSettings()->AnnouncePort, 7000);
  EXPECT_EQ(window.form->Width(), 800);
}

TEST(Settings, AMissingFileGivesTheDefaults) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  EXPECT_EQ(form->Width(), 1000);
  EXPECT_EQ(form->Height(), 700);
  EXPECT_EQ(form->CdfsDevice()->DevList().AnnouncePort(), 7124);
  EXPECT_EQ(form->CdfsDevice()->DevList().RcvAnnouncePort(), 7123);
  EXPECT_TRUE(Exists(rtl::ExtractFilePath(scratch.SettingsFile()))) << "the folder is made when the name is asked";
  EXPECT_FALSE(Exists(scratch.SettingsFile())) << "the file only at close";
}
