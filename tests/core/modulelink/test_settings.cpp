// The discovery part of the settings file: where the file lives, the ports
// and the announce address round-tripping through it, and defaults for what
// is missing; then a file that points discovery at loopback, end to end.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <unistd.h>

#include "../TestSupport.h"
#include "ModuleEmulator.h"
#include "core/DevListU.h"
#include "core/VormekSettingsU.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"

using core::TvormekDevList;
using core::TVormeksettings;
namespace fs = std::filesystem;

namespace {

// Sets or unsets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The settings as the main window starts them: the module list's values.
TVormeksettings FromFreshList() {
  TvormekDevList list;
  TVormeksettings s;
  s.AssignFromList(list);
  return s;
}

}  // namespace

TEST(SettingsFile, Location) {
  const core_test::ScratchFolder scratch("modulelink-location");
  const std::string dir = scratch.Path().string();
  fs::create_directories(dir + "/home");
  struct Case {
    const char* what;
    std::optional<std::string> xdg, home;
    const char* program;
    std::string expected;
  } cases[] = {
      {"application-data folder", dir + "/cfg", dir + "/home", "/opt/tv/tolvane",
       dir + "/cfg/tolvane/tolvane.ini"},
      {"home's .config", std::nullopt, dir + "/home", "/opt/tv/tolvane",
       dir + "/home/.config/tolvane/tolvane.ini"},
      {"program with an extension", dir + "/cfg", std::nullopt, "/opt/tv/tolvane.bin",
       dir + "/cfg/tolvane/tolvane.ini"},
      {"parent folder missing", dir + "/nowhere/cfg", dir + "/home", "/opt/tv/tolvane",
       "/opt/tv/tolvane.ini"},
      {"nothing to expand", std::nullopt, std::nullopt, "/opt/tv/tolvane", "/opt/tv/tolvane.ini"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(core::GetSettingsFileName(c.program), c.expected);
    if (c.expected.rfind(dir, 0) == 0) {
      EXPECT_TRUE(fs::is_directory(fs::path(c.expected).parent_path())) << "folder created";
      EXPECT_FALSE(fs::exists(c.expected)) << "the file itself comes with the first save";
    }
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", dir + "/cfg");
    const std::string own = core::GetSettingsFileName();
    const std::string name = fs::path(rtl::ProgramFileName()).stem().string();
    EXPECT_EQ(own, dir + "/cfg/" + name + "/" + name + ".ini");
  }
  EXPECT_FALSE(fs::exists(dir + "/nowhere"));
}

TEST(SettingsFile, MissingFileGivesTheDefaults) {
  const core_test::ScratchFolder scratch("modulelink-missing");
  const std::string dir = scratch.Path().string();
  TVormeksettings s = FromFreshList();
  rtl::TMemIniFile ini(dir + "/absent.ini");
  s.ReadFromIni(ini);
  EXPECT_EQ(s.AnnouncePort, 7124);
  EXPECT_EQ(s.RcvAnnouncePort, 7123);
  EXPECT_EQ(s.AnnounceAddress, "192.168.100.255");
  EXPECT_FALSE(fs::exists(dir + "/absent.ini")) << "reading creates nothing";

  TVormeksettings zero;
  EXPECT_EQ(zero.AnnouncePort, 0);
  EXPECT_EQ(zero.RcvAnnouncePort, 0);
}

TEST(SettingsFile, PortsAndAddressRoundTrip) {
  const core_test::ScratchFolder scratch("modulelink-roundtrip");
  const std::string dir = scratch.Path().string();
  const std::string file = dir + "/tolvane.ini";
  TVormeksettings written;
  written.AnnouncePort = 7000;
  written.RcvAnnouncePort = 7001;
  written.AnnounceAddress = "127.255.255.255";
  {
    rtl::TMemIniFile ini(file);
    written.WriteToIni(ini);
    ini.UpdateFile();
  }
  EXPECT_EQ(core_test::Slurp(file),
            "[udp.settings]\r\nAnnounce.port=7000\r\nRcv.Announce.port=7001\r\n"
            "Announce.address=127.255.255.255\r\n");
  // Replaced whole: nothing but the file is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  TVormeksettings read = FromFreshList();
  rtl::TMemIniFile ini(file);
  read.ReadFromIni(ini);
  EXPECT_EQ(read.AnnouncePort, 7000);
  EXPECT_EQ(read.RcvAnnouncePort, 7001);
  EXPECT_EQ(read.AnnounceAddress, "127.255.255.255");

  TvormekDevList list;
  read.AssignToList(list);
  EXPECT_EQ(list.AnnouncePort(), 7000);
  EXPECT_EQ(list.RcvAnnouncePort(), 7001);
  EXPECT_EQ(list.AnnounceAddress(), "127.255.255.255");
}

TEST(SettingsFile, PartialAndBrokenValuesKeepTheirDefaults) {
  const core_test::ScratchFolder scratch("modulelink-partial");
  const std::string dir = scratch.Path().string();
  struct Case {
    const char* content;
    int announce, receive;
    const char* address;
  } cases[] = {
      {"[udp.settings]\r\nAnnounce.port=7000\r\n", 7000, 7123, "192.168.100.255"},
      {"[udp.settings]\r\nAnnounce.port=abc\r\nRcv.Announce.port=\r\n", 7124, 7123,
       "192.168.100.255"},
      {"[udp.settings]\r\nAnnounce.address=\r\n", 7124, 7123, "192.168.100.255"},
      {"[udp.settings]\nAnnounce.address= 127.255.255.255 \n", 7124, 7123, "127.255.255.255"},
      {"[other]\r\nAnnounce.port=1\r\n", 7124, 7123, "192.168.100.255"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    const std::string file = dir + "/s.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << c.content;
    TVormeksettings s = FromFreshList();
    rtl::TMemIniFile ini(file);
    s.ReadFromIni(ini);
    EXPECT_EQ(s.AnnouncePort, c.announce);
    EXPECT_EQ(s.RcvAnnouncePort, c.receive);
    EXPECT_EQ(s.AnnounceAddress, c.address);
  }
}

// A file written on a Windows desktop: CR LF, other sections, names in
// another case and blanks around "=". Rewriting the discovery values keeps
// everything else.
TEST(SettingsFile, WindowsWrittenFile) {
  const core_test::ScratchFolder scratch("modulelink-windows");
  const std::string dir = scratch.Path().string();
  const std::string file = dir + "/tolvane.ini";
  fs::copy_file(std::string(TOLVANE_TEST_DATA) + "/net/settings-windows.ini", file);
  TVormeksettings s = FromFreshList();
  {
    rtl::TMemIniFile ini(file);
    s.ReadFromIni(ini);
    EXPECT_EQ(s.AnnouncePort, 7300);
    EXPECT_EQ(s.RcvAnnouncePort, 7301);
    EXPECT_EQ(s.AnnounceAddress, "192.168.100.255");
    s.AnnouncePort = 7400;
    s.WriteToIni(ini);
    ini.UpdateFile();
  }
  rtl::TMemIniFile again(file);
  EXPECT_EQ(again.ReadInteger("udp.settings", "Announce.port", 0), 7400);
  EXPECT_EQ(again.ReadInteger("udp.settings", "Rcv.Announce.port", 0), 7301);
  EXPECT_EQ(again.ReadString("udp.settings", "Announce.address", ""), "192.168.100.255");
  EXPECT_EQ(again.ReadInteger("window", "main.width", 0), 1024);
  EXPECT_EQ(again.ReadString("RECENT.PROJECTS", "ITEM-0", ""), "C:\\Projects\\Pump\\pump.pjt");
}

// The load sequence's discovery steps with a file that sends the request to
// the loopback broadcast address: the emulator is found.
TEST(SettingsFile, FileValuesDriveDiscovery) {
  const core_test::ScratchFolder scratch("modulelink-discovery");
  const std::string dir = scratch.Path().string();
  emulator::TEmulatorOptions o;
  o.IP = "127.0.0.2";
  o.AnnouncePort = 0;
  // A receive port the system just handed out and took back.
  net::TUDPServer probe;
  probe.SetActive(true);
  o.ReceivePort = probe.Binding().Port;
  probe.SetActive(false);
  emulator::TModuleEmulator m(o);
  m.Start();

  const std::string file = dir + "/tolvane.ini";
  std::ofstream(file, std::ios::binary)
      << "[udp.settings]\r\nAnnounce.port=" << m.AnnouncePort()
      << "\r\nRcv.Announce.port=" << o.ReceivePort << "\r\nAnnounce.address=127.255.255.255\r\n";

  TvormekDevList list;
  std::mutex lock;
  std::condition_variable cv;
  std::string foundAt;
  list.OnDeviceFound = [&](core::Tdevices&, const rtl::AnsiString&, const rtl::AnsiString& a) {
    std::lock_guard<std::mutex> g(lock);
    foundAt = a;
    cv.notify_all();
  };
  TVormeksettings s;
  s.AssignFromList(list);
  {
    rtl::TMemIniFile ini(file);
    s.ReadFromIni(ini);
  }
  s.AssignToList(list);
  list.Refresh();  // binds the receive port from the file, then asks
  std::unique_lock<std::mutex> g(lock);
  cv.wait_for(g, std::chrono::seconds(2), [&] { return !foundAt.empty(); });
  EXPECT_EQ(foundAt, "127.0.0.2:" + std::to_string(m.CommandPort()));
  EXPECT_EQ(list.BoundPort(), o.ReceivePort);
}
