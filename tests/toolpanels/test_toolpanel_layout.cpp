// The stored panel layout read and written apart from any window: the
// desktop program's settings file, the keys written in order with every
// other section kept, the registry location, and the readings that keep a
// damaged file from costing anything.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "controls/ToolPanelLayout.h"
#include "rtl/Files.h"
#include "rtl/Registry.h"
#include "rtl/StringList.h"

using namespace controls;

namespace {

const std::string kLayoutFixture = std::string(TOLVANE_TEST_DATA) + "/controls/toolpanels_layout.ini";

// A scratch folder of its own per test, removed afterwards.
class LayoutScratch {
 public:
  LayoutScratch() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(rtl::TempFolder()) / (std::string("tolvane-panels-") + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~LayoutScratch() { std::filesystem::remove_all(dir_); }
  std::string File(const char* name) const { return (dir_ / name).string(); }
  std::string Copy(const std::string& from, const char* name) const {
    std::filesystem::copy_file(from, File(name));
    return File(name);
  }

 private:
  std::filesystem::path dir_;
};

std::string LayoutFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of one section of a file's text, its header left out.
std::vector<std::string> LayoutSectionLines(const std::string& text, const std::string& section) {
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

}  // namespace

TEST(ToolPanelLayoutReading, TheDesktopProgramsSettingsFile) {
  rtl::TMemIniFile ini(kLayoutFixture);
  TStoredStripLayout layout;
  ASSERT_TRUE(ReadStripLayout(ini, "ct", layout));
  EXPECT_EQ(layout.Count, 4);
  // The stale fifth section lies beyond "COUNT" and stays unread.
  ASSERT_EQ(layout.Panels.size(), 4u);
  struct Want {
    const char* name;
    bool locked, hidden, docked, visible;
    int openWidth;
  } want[] = {
      {"ProjectManagerTab", true, false, false, true, 240},  // pinned: "WIDTH"
      {"insertPanel", false, true, false, false, 180},
      {"SimTab", false, false, true, true, 200},
      {"simErrorsTab", false, false, false, false, 250},
  };
  for (size_t i = 0; i < 4; ++i) {
    const TStoredPanelLayout& p = layout.Panels[i];
    EXPECT_EQ(p.Section, static_cast<int>(i + 1));
    EXPECT_EQ(p.Name, want[i].name);
    EXPECT_EQ(p.IsLocked(), want[i].locked) << i;
    EXPECT_EQ(p.IsHidden(), want[i].hidden) << i;
    EXPECT_EQ(p.IsDocked(), want[i].docked) << i;
    EXPECT_EQ(p.IsVisible(), want[i].visible) << i;
    EXPECT_EQ(p.StoredOpenWidth(), want[i].openWidth) << i;
  }
  // The floating panel's window bounds.
  EXPECT_EQ(layout.Panels[2].Left, 612);
  EXPECT_EQ(layout.Panels[2].Top, 148);
  EXPECT_EQ(layout.Panels[2].Width, 260);
  EXPECT_EQ(layout.Panels[2].Height, 330);

  // The other strips of the main window have no layout; a strip the file
  // does not know has none either (the first run).
  for (const char* strip : {"RightBar", "bottomBar", "nowhere"}) {
    EXPECT_FALSE(ReadStripLayout(ini, strip, layout)) << strip;
    EXPECT_TRUE(layout.Panels.empty()) << strip;
  }
}

TEST(ToolPanelLayoutReading, DamagedValuesAndCounts) {
  struct Case {
    const char* what;
    const char* text;
    bool read;
    int panels;
    std::optional<int> firstWidth;
  } cases[] = {
      {"a huge count with four sections",
       "[ctPANELS]\nCOUNT=2147483647\n[ctPANEL1]\nNAME=a\nOPENWIDTH=10\n[ctPANEL2]\nNAME=b\n[ctPANEL3]\nNAME=c\n"
       "[ctPANEL4]\nNAME=d\n",
       true, 4, 10},
      {"a locked section without WIDTH keeps the designed width",
       "[ctPANELS]\nCOUNT=1\n[ctPANEL1]\nNAME=a\nOPENWIDTH=120\nLOCKED=1\n", true, 1, std::nullopt},
      {"an open width that is no number", "[ctPANELS]\nCOUNT=1\n[ctPANEL1]\nNAME=a\nOPENWIDTH=wide\n", true, 1,
       std::nullopt},
      {"a negative open width", "[ctPANELS]\nCOUNT=1\n[ctPANEL1]\nNAME=a\nOPENWIDTH=-40\n", true, 1, std::nullopt},
      {"a locked section's negative WIDTH", "[ctPANELS]\nCOUNT=1\n[ctPANEL1]\nNAME=a\nLOCKED=1\nWIDTH=0\n", true,
       1, std::nullopt},
      {"no count", "[ctPANEL1]\nNAME=a\n", false, 0, std::nullopt},
      {"a count that is no number", "[ctPANELS]\nCOUNT=many\n[ctPANEL1]\nNAME=a\n", false, 0, std::nullopt},
      {"a negative count reads no section", "[ctPANELS]\nCOUNT=-3\n[ctPANEL1]\nNAME=a\n", true, 0, std::nullopt},
      {"a gap and a leading zero", "[ctPANELS]\nCOUNT=3\n[ctPANEL3]\nNAME=c\nOPENWIDTH=7\n[ctPANEL02]\nNAME=x\n",
       true, 1, 7},
      {"section names without regard to case", "[CTpanels]\nCOUNT=1\n[CTPANEL1]\nNAME=a\nOPENWIDTH=5\n", true, 1,
       5},
      {"a section number past int", "[ctPANELS]\nCOUNT=2147483647\n[ctPANEL99999999999]\nNAME=a\n", true, 0,
       std::nullopt},
  };
  for (const Case& c : cases) {
    rtl::TMemIniFile ini("/nonexistent/tolvane-layout.ini");
    rtl::TStringList lines;
    lines.SetText(c.text);
    ini.SetStrings(lines);
    TStoredStripLayout layout;
    EXPECT_EQ(ReadStripLayout(ini, "ct", layout), c.read) << c.what;
    ASSERT_EQ(static_cast<int>(layout.Panels.size()), c.panels) << c.what;
    if (c.panels > 0) {
      EXPECT_EQ(layout.Panels[0].StoredOpenWidth(), c.firstWidth) << c.what;
    }
  }
}

TEST(ToolPanelLayoutWriting, KeysInOrderAndEveryOtherSectionKept) {
  LayoutScratch scratch;
  const std::string path = scratch.Copy(kLayoutFixture, "settings.ini");
  const std::string before = LayoutFileText(path);
  std::vector<TPanelLayoutRecord> panels(3);
  panels[0] = {"ProjectManagerTab", 220, true, false, false, true, true, "ct", 23, 0, 230, false, 0};
  panels[1] = {"SimTab", 200, false, false, true, true, true, "ct", 600, 140, 250, true, 320};
  panels[2] = {"loosePanel", 150, false, false, false, false, false, "", 0, 0, 150, false, 0};
  {
    rtl::TMemIniFile ini(path);
    WriteStripLayout(ini, "ct", panels);
    ini.UpdateFile();
  }
  const std::string after = LayoutFileText(path);
  for (const char* section : {"window", "udp.settings", "RECENT.PROJECTS", "RightBarPANELS", "bottomBarPANELS",
                              "ctPANEL4", "ctPANEL5"})
    EXPECT_EQ(LayoutSectionLines(after, section), LayoutSectionLines(before, section)) << section;
  EXPECT_EQ(LayoutSectionLines(after, "ctPANELS"), std::vector<std::string>{"COUNT=3"});
  // Rewritten keys keep their places; the stale "HEIGHT" of a panel that no
  // longer floats stays where it was.
  EXPECT_EQ(LayoutSectionLines(after, "ctPANEL1"),
            (std::vector<std::string>{"NAME=ProjectManagerTab", "OPENWIDTH=220", "LOCKED=1", "HIDDEN=0", "DOCKED=0",
                                      "VISIBLE=1", "TAB=ct", "LEFT=23", "TOP=0", "WIDTH=230", "HEIGHT=512"}));
  EXPECT_EQ(LayoutSectionLines(after, "ctPANEL2"),
            (std::vector<std::string>{"NAME=SimTab", "OPENWIDTH=200", "LOCKED=0", "HIDDEN=0", "DOCKED=1",
                                      "VISIBLE=1", "TAB=ct", "LEFT=600", "TOP=140", "WIDTH=250", "HEIGHT=320"}));
  // A panel without an owning strip writes no "TAB" (the old one stays).
  EXPECT_EQ(LayoutSectionLines(after, "ctPANEL3"),
            (std::vector<std::string>{"NAME=loosePanel", "OPENWIDTH=150", "LOCKED=0", "HIDDEN=0", "DOCKED=0",
                                      "VISIBLE=0", "TAB=ct", "LEFT=0", "TOP=0", "WIDTH=150", "HEIGHT=330"}));
  EXPECT_NE(after.find("\r\n"), std::string::npos);

  // Written into a new file, the keys come in the order given.
  const std::string fresh = scratch.File("fresh.ini");
  {
    rtl::TMemIniFile ini(fresh);
    WriteStripLayout(ini, "bottomBar", {panels[2]});
    ini.UpdateFile();
  }
  EXPECT_EQ(LayoutSectionLines(LayoutFileText(fresh), "bottomBarPANEL1"),
            (std::vector<std::string>{"NAME=loosePanel", "OPENWIDTH=150", "LOCKED=0", "HIDDEN=0", "DOCKED=0",
                                      "VISIBLE=0", "LEFT=0", "TOP=0", "WIDTH=150"}));

  // What was written reads back.
  rtl::TMemIniFile again(path);
  TStoredStripLayout layout;
  ASSERT_TRUE(ReadStripLayout(again, "ct", layout));
  ASSERT_EQ(layout.Panels.size(), 3u);
  EXPECT_EQ(layout.Panels[0].StoredOpenWidth(), 230);
  EXPECT_TRUE(layout.Panels[1].IsDocked());
  EXPECT_EQ(layout.Panels[1].Height, 320);
  EXPECT_EQ(layout.Panels[2].Name, "loosePanel");
}

TEST(ToolPanelLayoutWriting, TheRegistryLocationHoldsEveryValueAsText) {
  LayoutScratch scratch;
  rtl::SetRegistryFile(scratch.File("registry.ini"));
  std::vector<TPanelLayoutRecord> panels(1);
  panels[0] = {"SimTab", 200, false, true, false, false, true, "ct", 23, 0, 200, false, 0};
  {
    rtl::TRegistryIniFile reg("Software\\Tolvane\\ct");
    WriteStripLayout(reg, "ct", panels);
    reg.UpdateFile();
  }
  {
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Tolvane\\ct\\ctPANEL1", false));
    EXPECT_EQ(reg.GetDataType("OPENWIDTH"), rtl::TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("OPENWIDTH"), "200");
    EXPECT_EQ(reg.ReadString("HIDDEN"), "1");
    reg.CloseKey();
  }
  rtl::TRegistryIniFile reg("Software\\Tolvane\\ct");
  TStoredStripLayout layout;
  ASSERT_TRUE(ReadStripLayout(reg, "ct", layout));
  ASSERT_EQ(layout.Panels.size(), 1u);
  EXPECT_EQ(layout.Panels[0].Name, "SimTab");
  EXPECT_TRUE(layout.Panels[0].IsHidden());
  EXPECT_EQ(layout.Panels[0].StoredOpenWidth(), 200);
  rtl::SetRegistryFile("");
}
