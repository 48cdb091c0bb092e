#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../TestSupport.h"
#include "SimTestSupport.h"
#include "core/PrjManagerU.h"
#include "core/VormekParamsU.h"
#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"

namespace fs = std::filesystem;
using core::TvormekParams;

namespace {

using core_test::ScratchFolder;
using core_test::Slurp;

TEST(VormekParams, Defaults) {
  TvormekParams p;
  for (int n = 1; n <= 17; ++n) {
    SCOPED_TRACE(n);
    const core::TPinData pin = p.GetPin(n);
    EXPECT_EQ(pin.State, 0);
    EXPECT_FALSE(pin.Locked);
    EXPECT_EQ(pin.Direction, 0);
    EXPECT_EQ(pin.Volts, n <= 5 ? 0.0f : -9999.0f);
    EXPECT_EQ(pin.Tone, "");
  }
  EXPECT_FALSE(p.DHCP);
  EXPECT_FALSE(p.Bound);
  EXPECT_EQ(p.SerialNumber, "My SSN");
  EXPECT_EQ(p.ID, "My ID");
  EXPECT_EQ(p.Password, "Tolbrisk");
  EXPECT_FALSE(p.LockFlag);
  EXPECT_EQ(p.Version, "");
  EXPECT_EQ(p.NetMask, "255.255.255.0");
  EXPECT_EQ(p.UDPPort, "80");
  EXPECT_EQ(p.Gateway, "192.168.100.1");
  EXPECT_EQ(p.HTTPPort, "80");
  EXPECT_EQ(p.TFTPPort, "");
  EXPECT_EQ(p.IPAddress, "192.168.100.100");
  EXPECT_EQ(p.ExtraCmds.Count(), 0);
  EXPECT_EQ(p.AnnouncePort, 0);
  EXPECT_EQ(p.SerialFrame, "");
  EXPECT_THROW(p.GetPin(0), rtl::EListError);
  EXPECT_THROW(p.PinRef(18), rtl::EListError);
}

TEST(VormekParams, ExtraKeysMatchTrimmedWithoutCase) {
  core::TextraCmds keys;
  keys.Add(" Reg5 =7");
  keys.AddKey("reg5", "second");
  keys.AddKey("EMAIL_TO", "a=b");
  keys.Add("NOVALUE");
  struct Case {
    const char* key;
    bool found;
    const char* value;
  };
  const Case cases[] = {
      {"REG5", true, "7"}, {" reg5 ", true, "7"}, {"email_to", true, "a=b"}, {"NOVALUE", true, ""}, {"REG6", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    rtl::AnsiString value = "stale";
    EXPECT_EQ(keys.FindKey(c.key, value), c.found);
    EXPECT_EQ(value, c.value);
  }
  EXPECT_EQ(keys.Get(1), "reg5=second");
}

// The project's own sections, then the simulated values, in one file, as
// the project commands write them; read back in the same order.
TEST(VormekParams, RoundTripThroughAProjectFile) {
  ScratchFolder scratch("tolvane-sim");
  const fs::path& folder = scratch.Path();
  const std::string file = (folder / "site.PJT").string();
  std::ofstream(folder / "index.htm") << "<p>x</p>";

  core::Tprjmanager project;
  project.SetFileName(file);
  project.AddFile((folder / "index.htm").string());
  TvormekParams saved;
  saved.PinRef(1).State = 1;
  saved.PinRef(2).Volts = 3.3f;
  saved.PinRef(5).Volts = 0.05f;
  saved.PinRef(3).Locked = true;
  saved.PinRef(17).State = 1;
  saved.SerialFrame = "FRAME 1;2";
  saved.ExtraCmds.AddKey("REG5", "7");
  saved.ExtraCmds.AddKey("EMAIL_TO", "me@example.org");
  // Not stored: these come back as defaults.
  saved.PinRef(4).Direction = 1;
  saved.PinRef(4).Tone = "t";
  saved.ID = "changed";
  saved.LockFlag = true;
  {
    rtl::TMemIniFile ini(file);
    project.SaveToIni(ini);
    saved.SaveToIni(ini);
    ini.UpdateFile();
  }
  const std::string content = Slurp(file);
  EXPECT_NE(content.find("[PROJECT]\r\nNUM.FILES=1\r\n"), std::string::npos);
  EXPECT_NE(content.find("[SIM.SECTION]\r\nPIN.STATUS.1=1\r\nPIN.VOLTS.1=0\r\nPIN.LOCKED.1=0\r\n"), std::string::npos);
  EXPECT_NE(content.find("PIN.VOLTS.2=3.3\r\n"), std::string::npos);
  EXPECT_NE(content.find("PIN.VOLTS.6=-9999\r\n"), std::string::npos);
  EXPECT_NE(content.find("Serial.Frame=FRAME 1;2\r\n"), std::string::npos);
  EXPECT_NE(content.find("[Vormek.Key.value]\r\nCount=2\r\nKey.0=REG5\r\nValue.0=7\r\nKey.1=EMAIL_TO\r\n"),
            std::string::npos);
  EXPECT_LT(content.find("[FILES]"), content.find("[SIM.SECTION]"));

  core::Tprjmanager project2;
  project2.SetFileName(file);
  TvormekParams loaded;
  loaded.ExtraCmds.AddKey("OLD", "gone");
  {
    rtl::TMemIniFile ini(file);
    project2.LoadFromIni(ini);
    loaded.LoadFromIni(ini);
  }
  ASSERT_EQ(project2.Count(), 1);
  EXPECT_EQ(fs::path(project2.Item(0)->Name()).filename(), "index.htm");
  for (int n = 1; n <= 17; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(loaded.GetPin(n).State, saved.GetPin(n).State);
    EXPECT_EQ(loaded.GetPin(n).Volts, saved.GetPin(n).Volts);
    EXPECT_EQ(loaded.GetPin(n).Locked, saved.GetPin(n).Locked);
    EXPECT_EQ(loaded.GetPin(n).Direction, 0);
    EXPECT_EQ(loaded.GetPin(n).Tone, "");
  }
  EXPECT_EQ(loaded.SerialFrame, "FRAME 1;2");
  ASSERT_EQ(loaded.ExtraCmds.Count(), 2);
  EXPECT_EQ(loaded.ExtraCmds.Get(0), "REG5=7");
  EXPECT_EQ(loaded.ExtraCmds.Get(1), "EMAIL_TO=me@example.org");
  EXPECT_EQ(loaded.ID, "My ID");
  EXPECT_FALSE(loaded.LockFlag);
}

TEST(VormekParams, LoadingHandEditedFiles) {
  ScratchFolder scratch("tolvane-sim");
  const fs::path& folder = scratch.Path();
  const std::string file = (folder / "p.PJT").string();
  std::ofstream(file, std::ios::binary) << "[SIM.SECTION]\r\n"
                                           "PIN.STATUS.1=5\r\n"
                                           "PIN.STATUS.2=abc\r\n"
                                           "PIN.VOLTS.1=2,5\r\n"
                                           "PIN.VOLTS.2=1.25\r\n"
                                           "PIN.VOLTS.3=x\r\n"
                                           "PIN.VOLTS.7=2.5\r\n"
                                           "PIN.LOCKED.4=1\r\n"
                                           "[vormek.key.VALUE]\r\n"
                                           "count=3\r\n"
                                           "Key.0=A\r\nValue.0=1\r\n"
                                           "Value.1=only value\r\n";
  TvormekParams p;
  p.SerialFrame = "stale";
  rtl::TMemIniFile ini(file);
  p.LoadFromIni(ini);
  EXPECT_EQ(p.GetPin(1).State, 1);  // any non-zero level is high
  EXPECT_EQ(p.GetPin(2).State, 0);
  EXPECT_EQ(p.GetPin(1).Volts, 2.5f);
  EXPECT_EQ(p.GetPin(2).Volts, 1.25f);
  EXPECT_EQ(p.GetPin(3).Volts, 0.0f);
  EXPECT_EQ(p.GetPin(7).Volts, -9999.0f);  // only pins 1 to 5 are analog
  EXPECT_TRUE(p.GetPin(4).Locked);
  EXPECT_EQ(p.SerialFrame, "");
  ASSERT_EQ(p.ExtraCmds.Count(), 3);
  EXPECT_EQ(p.ExtraCmds.Get(0), "A=1");
  EXPECT_EQ(p.ExtraCmds.Get(1), "=only value");
  EXPECT_EQ(p.ExtraCmds.Get(2), "=");
}

TEST(VormekParams, SavingAShorterKeyListLeavesNoStaleKeys) {
  ScratchFolder scratch("tolvane-sim");
  const fs::path& folder = scratch.Path();
  const std::string file = (folder / "p.PJT").string();
  TvormekParams p;
  for (int i = 0; i < 4; ++i) p.ExtraCmds.AddKey("K" + std::to_string(i), "v");
  {
    rtl::TMemIniFile ini(file);
    p.SaveToIni(ini);
    ini.UpdateFile();
  }
  p.ExtraCmds.Clear();
  p.ExtraCmds.AddKey("ONLY", "1");
  {
    rtl::TMemIniFile ini(file);
    p.SaveToIni(ini);
    ini.UpdateFile();
  }
  rtl::TMemIniFile ini(file);
  rtl::TStringList keys;
  ini.ReadSection(core::kExtraKeysSection, keys);
  EXPECT_EQ(keys.CommaText(), "Count,Key.0,Value.0");
}

TEST(VormekParams, VoltsText) {
  struct Case {
    float volts;
    const char* text;
  };
  const Case cases[] = {{3.3f, "3.3"}, {-9999.0f, "-9999"}, {0.0f, "0"}, {0.05f, "0.05"}, {4.99f, "4.99"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::VoltsToText(c.volts), c.text);
    float back = 0;
    ASSERT_TRUE(core::TryTextToVolts(c.text, back));
    EXPECT_EQ(back, c.volts);
  }
  float v = 0;
  EXPECT_TRUE(core::TryTextToVolts(" 1,5 ", v));
  EXPECT_EQ(v, 1.5f);
  EXPECT_FALSE(core::TryTextToVolts("1,5,0", v));
  EXPECT_FALSE(core::TryTextToVolts("", v));
}

// The simulator hands the project file to its values and has the frame
// redisplay them after loading.
TEST(VormekParams, SimulatorLoadsAndSavesItsSections) {
  ScratchFolder scratch("tolvane-sim");
  const fs::path& folder = scratch.Path();
  const std::string file = (folder / "p.PJT").string();
  simtest::Rig writer;
  writer.sim.Params().PinRef(2).State = 1;
  writer.sim.Params().ExtraCmds.AddKey("REG9", "nine");
  {
    rtl::TMemIniFile ini(file);
    writer.sim.SaveToIni(ini);
    ini.UpdateFile();
  }
  simtest::Rig reader;
  int shown = 0;
  reader.sim.OnValuesChanged = [&](core::TvormekWebSimulator*) { ++shown; };
  rtl::TMemIniFile ini(file);
  reader.sim.LoadFromIni(ini);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(reader.Expand("<!--(PIN 2)--> <!--(READ REG9)-->"), "1 nine");
}

}  // namespace
