// The panel layout applied to and taken from the main-window-like form, as
// the main window loads it when shown and saves it when closing: a round
// trip through a settings file as the desktop program writes it, the first
// run, fewer panels than before, panels adopted across strips, the
// registry location and the readings that keep a damaged file harmless.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "PanelRig.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "vcl/UxTheme.h"

using namespace paneltest;

namespace {

const std::string kPersistFixture = std::string(TOLVANE_TEST_DATA) + "/controls/toolpanels_layout.ini";

class PersistScratch {
 public:
  PersistScratch() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(rtl::TempFolder()) / (std::string("tolvane-panelform-") + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~PersistScratch() { std::filesystem::remove_all(dir_); }
  std::string File(const char* name) const { return (dir_ / name).string(); }
  std::string Fixture(const char* name) const {
    std::filesystem::copy_file(kPersistFixture, File(name));
    return File(name);
  }
  void Write(const char* name, const std::string& text) const { std::ofstream(File(name), std::ios::binary) << text; }

 private:
  std::filesystem::path dir_;
};

std::string PersistText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The "key=value" lines of one section, in file order.
std::vector<std::string> PersistSection(const std::string& text, const std::string& section) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside && !line.empty()) lines.push_back(line);
  }
  return lines;
}

// What the main window does when it is shown.
void LoadAsTheMainWindow(MainLikeForm* f, const std::string& file) {
  f->ct->Persist()->INIFile = file;
  f->ct->Persist()->Location = pplINIFile;
  f->ct->Persist()->RegistryUserKey = "ct";
  for (TLumToolPanelTab* s : {static_cast<TLumToolPanelTab*>(f->ct), static_cast<TLumToolPanelTab*>(f->RightBar),
                              static_cast<TLumToolPanelTab*>(f->bottomBar)})
    s->Persist()->AutoLoad = true;
  f->ct->LoadPanelLayout();
  for (TLumToolPanelTab* s : {static_cast<TLumToolPanelTab*>(f->ct), static_cast<TLumToolPanelTab*>(f->RightBar),
                              static_cast<TLumToolPanelTab*>(f->bottomBar)})
    s->Persist()->AutoLoad = false;
}

// What it does when it writes its settings on closing.
void SaveAsTheMainWindow(MainLikeForm* f, const std::string& file) {
  for (TLumToolPanelTab* s : {static_cast<TLumToolPanelTab*>(f->ct), static_cast<TLumToolPanelTab*>(f->RightBar),
                              static_cast<TLumToolPanelTab*>(f->bottomBar)}) {
    s->Persist()->INIFile = file;
    s->Persist()->Location = pplINIFile;
    s->Persist()->RegistryUserKey = s->Name();
    s->Persist()->AutoSave = true;
    s->SavePanelLayout();
    s->Persist()->AutoSave = false;
  }
}

// The states the fixture stores: the project manager pinned 240 wide,
// insert hidden, simulate floating at (612, 148) 260 by 330, the errors a
// closed tab opening 250 wide.
void ExpectFixtureStates(Rig& rig) {
  MainLikeForm* f = rig.form;
  rig.Pump();
  TLumToolPanel* pm = f->ProjectManagerTab;
  EXPECT_TRUE(pm->PlacedByLayout());
  EXPECT_TRUE(pm->Locked());
  EXPECT_TRUE(pm->Visible());
  EXPECT_EQ(pm->Align(), vcl::alLeft);
  EXPECT_EQ(pm->Left(), 23);
  EXPECT_EQ(pm->Width(), 240);
  EXPECT_EQ(pm->OpenWidth(), 240);
  EXPECT_TRUE(f->insertPanel->Hidden());
  EXPECT_FALSE(f->insertPanel->Visible());
  EXPECT_EQ(f->ct->Panels()->Items(1)->OpenWidth(), 180);
  TLumToolPanel* sim = f->SimTab;
  ASSERT_TRUE(sim->Floating());
  EXPECT_TRUE(sim->Docked());
  const vcl::TControl* window = sim->Parent();
  EXPECT_EQ(window->BoundsRect(), vcl::Bounds(612, 148, 260, 330));
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(f->simErrorsTab->OpenWidth(), 250);
  EXPECT_FALSE(f->simErrorsTab->Locked());
  EXPECT_FALSE(f->simErrorsTab->Visible());
  EXPECT_EQ(f->ct->VisibleTabCount(), 1);
  EXPECT_EQ(f->ct->Width(), 23);
  EXPECT_EQ(f->ct->OpenIndex(), -1);
  EXPECT_EQ(f->page->Left(), 23 + 240);
}

}  // namespace

TEST(ToolPanelLayoutApplied, RoundTripThroughTheSettingsFile) {
  PersistScratch scratch;
  const std::string file = scratch.Fixture("Tolvane.ini");
  const std::string before = PersistText(file);
  {
    Rig rig;
    LoadAsTheMainWindow(rig.form, file);
    ExpectFixtureStates(rig);
    EXPECT_TRUE(rig.form->ct->LayoutLoaded());
    EXPECT_FALSE(rig.form->RightBar->LayoutLoaded()) << "no panel was adopted, so no other strip was read";
    EXPECT_EQ(PersistText(file), before) << "loading writes nothing";
    SaveAsTheMainWindow(rig.form, file);
    EXPECT_FALSE(rig.form->ct->LayoutLoaded());
  }
  const std::string after = PersistText(file);
  EXPECT_EQ(after.find("\r\n") != std::string::npos, true);
  EXPECT_EQ(after.find('\n', 0) == after.find("\r\n") + 1, true) << "CR LF kept";
  for (const char* section : {"window", "udp.settings", "RECENT.PROJECTS", "ctPANEL5"})
    EXPECT_EQ(PersistSection(after, section), PersistSection(before, section)) << section;
  EXPECT_EQ(PersistSection(after, "ctPANELS"), (std::vector<std::string>{"COUNT=4"}));
  EXPECT_EQ(PersistSection(after, "ctPANEL1"),
            (std::vector<std::string>{"NAME=ProjectManagerTab", "OPENWIDTH=240", "LOCKED=1", "HIDDEN=0", "DOCKED=0",
                                      "VISIBLE=1", "TAB=ct", "LEFT=23", "TOP=0", "WIDTH=240", "HEIGHT=512"}))
      << "the stale HEIGHT stays, unread";
  EXPECT_EQ(PersistSection(after, "ctPANEL2"),
            (std::vector<std::string>{"NAME=insertPanel", "OPENWIDTH=180", "LOCKED=0", "HIDDEN=1", "DOCKED=0",
                                      "VISIBLE=0", "TAB=ct", "LEFT=0", "TOP=0", "WIDTH=180"}));
  EXPECT_EQ(PersistSection(after, "ctPANEL3"),
            (std::vector<std::string>{"NAME=SimTab", "OPENWIDTH=200", "LOCKED=0", "HIDDEN=0", "DOCKED=1", "VISIBLE=1",
                                      "TAB=ct", "LEFT=612", "TOP=148", "WIDTH=260", "HEIGHT=330"}));
  const auto errors = PersistSection(after, "ctPANEL4");
  ASSERT_EQ(errors.size(), 10u);
  EXPECT_EQ(errors[1], "OPENWIDTH=250");
  EXPECT_EQ(errors[5], "VISIBLE=0");
  EXPECT_EQ(errors[9], "WIDTH=250");
  EXPECT_EQ(PersistSection(after, "RightBarPANELS"), (std::vector<std::string>{"COUNT=0"}));
  EXPECT_EQ(PersistSection(after, "bottomBarPANELS"), (std::vector<std::string>{"COUNT=0"}));
  // A fresh form reads the same states back.
  Rig again;
  LoadAsTheMainWindow(again.form, file);
  ExpectFixtureStates(again);
}

TEST(ToolPanelLayoutApplied, AFloatingPanelClickedStaysFloatingAndIsSavedDocked) {
  PersistScratch scratch;
  const std::string file = scratch.Fixture("Tolvane.ini");
  {
    Rig rig;
    LoadAsTheMainWindow(rig.form, file);
    rig.Pump();
    Rig::Click(rig.form->SimTab, 40, 40);
    EXPECT_TRUE(rig.form->SimTab->Docked());
    EXPECT_EQ(rig.form->ct->TabSpans().size(), 1u);
    SaveAsTheMainWindow(rig.form, file);
  }
  const auto sim = PersistSection(PersistText(file), "ctPANEL3");
  ASSERT_GE(sim.size(), 5u);
  EXPECT_EQ(sim[4], "DOCKED=1");
  Rig again;
  LoadAsTheMainWindow(again.form, file);
  EXPECT_TRUE(again.form->SimTab->Floating());
}

TEST(ToolPanelLayoutApplied, FirstRunAndFewerPanelsThanBefore) {
  PersistScratch scratch;
  {
    Rig rig;
    LoadAsTheMainWindow(rig.form, scratch.File("missing.ini"));
    EXPECT_FALSE(rig.form->ct->LayoutLoaded());
    EXPECT_FALSE(rig.form->ProjectManagerTab->PlacedByLayout());
    EXPECT_EQ(rig.form->ct->VisibleTabCount(), 4);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("missing.ini")));
  }
  // A form with two panels saves over a file that held four: the later
  // sections stay and are never read.
  const std::string file = scratch.Fixture("Tolvane.ini");
  {
    Rig rig;
    vcl::Free(rig.form->SimTab);
    vcl::Free(rig.form->simErrorsTab);
    rig.Pump();
    EXPECT_EQ(rig.form->ct->Panels()->Count(), 2);
    SaveAsTheMainWindow(rig.form, file);
  }
  const std::string text = PersistText(file);
  EXPECT_EQ(PersistSection(text, "ctPANELS"), (std::vector<std::string>{"COUNT=2"}));
  EXPECT_EQ(PersistSection(text, "ctPANEL3")[0], "NAME=SimTab");
  EXPECT_EQ(PersistSection(text, "ctPANEL2")[3], "HIDDEN=0");
  Rig rig;
  LoadAsTheMainWindow(rig.form, file);
  EXPECT_FALSE(rig.form->SimTab->PlacedByLayout()) << "section 3 lies beyond COUNT";
  EXPECT_FALSE(rig.form->SimTab->Floating());
}

TEST(ToolPanelLayoutApplied, PanelsAdoptedAcrossStripsAndTabNeverRead) {
  PersistScratch scratch;
  // The insert panel is saved in the right strip's sections, and one of
  // ct's sections says "TAB=bottomBar": neither the list nor TAB moves it.
  scratch.Write("Tolvane.ini",
                "[ctPANELS]\r\nCOUNT=3\r\n"
                "[ctPANEL1]\r\nNAME=ProjectManagerTab\r\nOPENWIDTH=160\r\nLOCKED=0\r\nHIDDEN=0\r\nDOCKED=0\r\nVISIBLE=0\r\n"
                "TAB=bottomBar\r\n"
                "[ctPANEL2]\r\nNAME=SimTab\r\nOPENWIDTH=170\r\n"
                "[ctPANEL3]\r\nNAME=simErrorsTab\r\nOPENWIDTH=180\r\n"
                "[RightBarPANELS]\r\nCOUNT=1\r\n"
                "[RightBarPANEL1]\r\nNAME=insertPanel\r\nOPENWIDTH=130\r\nLOCKED=1\r\nWIDTH=130\r\nVISIBLE=1\r\n"
                "[bottomBarPANELS]\r\nCOUNT=0\r\n");
  Rig rig;
  MainLikeForm* f = rig.form;
  for (TLumToolPanelTab* s : {static_cast<TLumToolPanelTab*>(f->RightBar), static_cast<TLumToolPanelTab*>(f->bottomBar)})
    s->Persist()->INIFile = scratch.File("Tolvane.ini");
  LoadAsTheMainWindow(f, scratch.File("Tolvane.ini"));
  rig.Pump();
  EXPECT_EQ(f->ProjectManagerTab->OwningStrip(), f->ct);
  EXPECT_EQ(f->ct->Panels()->Items(0)->OpenWidth(), 160);
  EXPECT_EQ(f->insertPanel->OwningStrip(), f->RightBar);
  EXPECT_EQ(f->ct->PanelIndex(f->insertPanel), -1);
  EXPECT_TRUE(f->insertPanel->Locked());
  EXPECT_EQ(f->insertPanel->Align(), vcl::alRight);
  EXPECT_EQ(f->insertPanel->Width(), 130);
  EXPECT_EQ(f->insertPanel->Left() + 130, f->RightBar->Left());
  EXPECT_TRUE(f->RightBar->LayoutLoaded());
  EXPECT_FALSE(f->bottomBar->LayoutLoaded()) << "its COUNT is 0";
  EXPECT_EQ(f->bottomBar->Panels()->Count(), 0);
}

TEST(ToolPanelLayoutApplied, TheRegistryLocation) {
  PersistScratch scratch;
  rtl::SetRegistryFile(scratch.File("registry.ini"));
  {
    Rig rig;
    MainLikeForm* f = rig.form;
    f->ct->OpenPanel(f->simErrorsTab);
    f->simErrorsTab->SetLocked(true);
    f->insertPanel->SetHidden(true);
    f->ct->Persist()->Location = pplRegistry;
    f->ct->Persist()->RegistryUserKey = "Software\\Tolvane\\Panels";
    f->ct->SavePanelLayout();
  }
  {
    rtl::TRegistryIniFile reg("Software\\Tolvane\\Panels");
    EXPECT_EQ(reg.ReadString("ctPANELS", "COUNT", ""), "4");
    EXPECT_EQ(reg.ReadString("ctPANEL4", "LOCKED", ""), "1");
    EXPECT_EQ(reg.ReadString("ctPANEL2", "HIDDEN", ""), "1");
  }
  Rig rig;
  MainLikeForm* f = rig.form;
  f->ct->Persist()->Location = pplRegistry;
  f->ct->Persist()->RegistryUserKey = "Software\\Tolvane\\Panels";
  f->ct->LoadPanelLayout();
  rig.Pump();
  EXPECT_TRUE(f->simErrorsTab->Locked());
  EXPECT_EQ(f->simErrorsTab->Align(), vcl::alLeft);
  EXPECT_TRUE(f->insertPanel->Hidden());
  EXPECT_EQ(f->ct->VisibleTabCount(), 2);
  rtl::SetRegistryFile("");
}

TEST(ToolPanelLayoutApplied, ALockedSectionWithoutWidthAndADamagedCount) {
  PersistScratch scratch;
  scratch.Write("Tolvane.ini",
                "[ctPANELS]\r\nCOUNT=2147483647\r\n"
                "[ctPANEL1]\r\nNAME=ProjectManagerTab\r\nLOCKED=1\r\nVISIBLE=1\r\n"
                "[ctPANEL2]\r\nNAME=insertPanel\r\nOPENWIDTH=abc\r\nHIDDEN=1\r\n"
                "[ctPANEL3]\r\nNAME=SimTab\r\nOPENWIDTH=-20\r\nLOCKED=1\r\nWIDTH=0\r\n"
                "[ctPANEL4]\r\nNAME=simErrorsTab\r\nOPENWIDTH=210\r\n");
  Rig rig;
  MainLikeForm* f = rig.form;
  LoadAsTheMainWindow(f, scratch.File("Tolvane.ini"));
  rig.Pump();
  // No width stored: pinned at the designed 150, not 0 pixels wide.
  EXPECT_TRUE(f->ProjectManagerTab->Locked());
  EXPECT_EQ(f->ProjectManagerTab->Width(), 150);
  EXPECT_EQ(f->SimTab->Width(), 150);
  EXPECT_EQ(f->SimTab->Left(), 23 + 150);
  EXPECT_TRUE(f->insertPanel->Hidden());
  EXPECT_EQ(f->ct->Panels()->Items(1)->OpenWidth(), 150);
  EXPECT_EQ(f->simErrorsTab->OpenWidth(), 210) << "all four sections read, whatever the count";
  EXPECT_TRUE(f->ct->LayoutLoaded());
}

TEST(ToolPanelLayoutApplied, AutoLoadAndThemeAdaptWhenTheFormHasLoaded) {
  PersistScratch scratch;
  const std::string file = scratch.Fixture("Tolvane.ini");
  Rig rig;  // the clock and the application as every test has them
  // A second form whose left strip loads its layout and follows the
  // desktop's colour scheme as soon as the form has loaded.
  auto* form = new MainLikeForm(vcl::Application);
  form->ct->Persist()->INIFile = file;
  form->ct->Persist()->AutoLoad = true;
  form->ct->SetAutoThemeAdapt(true);
  vcl::SetThemeColorSchemeName(u"HomeStead");
  form->AfterConstruction();
  form->Show();
  rig.Pump();
  EXPECT_TRUE(form->ct->LayoutLoaded());
  EXPECT_TRUE(form->ProjectManagerTab->Locked());
  EXPECT_TRUE(form->SimTab->Floating());
  EXPECT_EQ(form->ct->Style(), esOffice2003Olive);
  vcl::SetThemeColorSchemeName(u"NormalColor");
  vcl::Free(form);
  rig.Pump();
}
