// The settings table and the programmer against emulated modules: which
// entries each hardware type shows, reading, writing a group followed by a
// reset, refusals, a module that stops answering, cancellation, progress and
// the TFTP port query.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "FastClock.h"
#include "ModuleEmulator.h"
#include "core/VormekProgrammerU.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"

using core::TdeviceCmd;
using core::TdeviceCmds;
using core::TvormekProgrammer;
using emulator::TModuleEmulator;

namespace {

// Waits run this many times faster than real time. Modest, so that a reply
// from the emulator under a sanitizer on a loaded machine still comes well
// within the first wait and no command goes out twice by accident.
constexpr int kSpeedUp = 5;

emulator::TEmulatorOptions Module(const std::string& ip, const std::string& hardwareType) {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.AnnouncePort = 0;
  o.HardwareType = hardwareType;
  return o;
}

std::string AddressOf(const TModuleEmulator& m) { return m.IP() + ":" + std::to_string(m.CommandPort()); }

// A programmer that talks from a port of its own.
struct Programmer {
  Programmer() { p.Connection().SetLocalPort(0); }
  TvormekProgrammer p;
};

std::vector<std::string> Commands(const TModuleEmulator& m) {
  std::vector<std::string> out;
  for (const auto& d : m.Received())
    if (d.Channel == "command") out.push_back(d.Text);
  return out;
}

size_t CountOf(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<size_t>(std::count(v.begin(), v.end(), s));
}

std::vector<int> VisibleCounts(const TvormekProgrammer& p) {
  std::vector<int> counts;
  for (int g = 0; g < TvormekProgrammer::kGroupCount; ++g) counts.push_back(p.Cmds(g).Count());
  return counts;
}

}  // namespace

TEST(SettingsTable, HoldsThirtyFiveSettingsInFiveGroups) {
  TvormekProgrammer p;
  std::vector<int> full;
  std::set<std::string> keys;
  int readOnly = 0;
  for (int g = 0; g < TvormekProgrammer::kGroupCount; ++g) {
    full.push_back(p.Cmds(g).FullCount());
    for (int i = 0; i < p.Cmds(g).Count(); ++i) {
      const TdeviceCmd c = p.Cmds(g).GetCmd(i);
      keys.insert(c.GetName);
      readOnly += c.SetName.empty() ? 1 : 0;
      EXPECT_FALSE(c.WaitForReply);
      EXPECT_EQ(c.Value, "");
      EXPECT_FALSE(c.HasValue);
    }
  }
  EXPECT_EQ(full, (std::vector<int>{9, 8, 7, 8, 3}));
  EXPECT_EQ(VisibleCounts(p), full) << "every group starts with the filter 255";
  EXPECT_EQ(keys.size(), 35u);
  EXPECT_EQ(readOnly, 7) << "HWTYPE, MAC, BOUND, LINK, WIFI_VERSION, SSN, VER";

  struct Row {
    int group, index;
    const char *get, *set, *caption;
    rtl::Byte kind, mask;
  } rows[] = {
      {0, 0, "HWTYPE", "", "Hardware Type", core::kEditText, 255},
      {0, 1, "IP", "AIP", "IP Address", core::kEditIPAddress, 255},
      {0, 6, "DHCP", "DHCP", "DHCP", core::kEditYesNo, 255},
      {1, 0, "WIFI_SSID", "WIFI_ASSID", "Access Point Name", core::kEditPlain, 16},
      {1, 7, "WIFI_TYPE", "WIFI_TYPE", "Type (Infra or Adhoc)", core::kEditPlain, 16},
      {2, 6, "EMAIL_PASS", "EMAIL_PASS", "E-mail Password", core::kEditPlain, 254},
      {3, 0, "HTTP", "HTTP", "HTTP Port", core::kEditPlain, 255},
      {3, 7, "UDP_HOST", "UDP_HOST", "UDP Transmit Host", core::kEditPlain, 254},
      {4, 1, "SSN", "", "S/N", core::kEditPlain, 255},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.get);
    const TdeviceCmd c = p.Cmds(r.group).GetCmd(r.index);
    EXPECT_EQ(c.GetName, r.get);
    EXPECT_EQ(c.SetName, r.set);
    EXPECT_EQ(c.Caption, r.caption);
    EXPECT_EQ(c.EditorKind, r.kind);
    EXPECT_EQ(c.HardwareMask, r.mask);
  }
  EXPECT_EQ(std::string(TvormekProgrammer::kGroupCaptions[1]), "WiFi");
  EXPECT_THROW(p.Cmds(5), rtl::EListError);
  EXPECT_THROW(p.Cmds(0).GetCmd(9), rtl::EListError);
}

TEST(SettingsTable, HardwareTypesAndFilters) {
  struct Case {
    std::string type;
    rtl::Byte mask;
    std::vector<int> visible;
  } cases[] = {
      {"0", 1, {9, 0, 5, 6, 3}}, {"1", 2, {9, 0, 7, 8, 3}}, {"3", 8, {9, 0, 7, 8, 3}},
      {"4", 16, {9, 8, 7, 8, 3}}, {"5", 255, {9, 8, 7, 8, 3}}, {"-1", 255, {9, 8, 7, 8, 3}},
      {"x", 255, {9, 8, 7, 8, 3}}, {"", 255, {9, 8, 7, 8, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(core::HardwareTypeTextToMask(c.type), c.mask);
    TvormekProgrammer p;
    for (int g = 0; g < 5; ++g) p.Cmds(g).SetFilter(c.mask);
    EXPECT_EQ(VisibleCounts(p), c.visible);
  }
  EXPECT_EQ(core::HardwareTypeToMask(2), 4);
  EXPECT_EQ(core::HardwareTypeToMask(17), 255);
}

TEST(SettingsTable, GroupValuesLiveOnTheVisibleCopies) {
  TdeviceCmds g;
  TdeviceCmd a;
  a.GetName = "A";
  a.HardwareMask = 1;
  TdeviceCmd b;
  b.GetName = "B";
  b.HardwareMask = 254;
  g.Add(a);
  g.Add(b);
  g.SetValue(1, "vb");
  EXPECT_EQ(g.GetValue(1), "vb");
  EXPECT_TRUE(g.GetCmd(1).HasValue);
  g.SetValue(0, "N/A");
  EXPECT_FALSE(g.GetCmd(0).HasValue);
  g.SetFilter(2);
  ASSERT_EQ(g.Count(), 1);
  EXPECT_EQ(g.GetCmd(0).GetName, "B");
  EXPECT_EQ(g.GetValue(0), "") << "a new filter starts with empty values";
  TdeviceCmd c;
  c.GetName = "C";
  c.HardwareMask = 1;
  g.Add(c);
  EXPECT_EQ(g.Count(), 1) << "hidden by the filter";
  EXPECT_EQ(g.FullCount(), 3);

  TdeviceCmd x = a, y = a;
  EXPECT_TRUE(core::SameDeviceCmd(x, y));
  y.HardwareMask = 7;
  EXPECT_TRUE(core::SameDeviceCmd(x, y)) << "only value, keys and caption count";
  y.Caption = "a";
  x.Caption = "A";
  EXPECT_FALSE(core::SameDeviceCmd(x, y));
}

TEST(Programmer, ReadsEveryOfferedSettingOfHardwareTypes0And4) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  struct Case {
    std::string ip, type;
    std::vector<int> visible;
  } cases[] = {
      {"127.0.0.2", "4", {9, 8, 7, 8, 3}},
      {"127.0.0.3", "0", {9, 0, 5, 6, 3}},
      {"127.0.0.4", "unknown", {9, 8, 7, 8, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("hardware type " + c.type);
    TModuleEmulator m(Module(c.ip, c.type));
    m.Start();
    Programmer pr;
    std::vector<std::pair<int, std::string>> progress;
    pr.p.OnProgress = [&](core::TDeviceClient&, rtl::Integer percent, bool&, const std::string& text) {
      progress.emplace_back(percent, text);
    };
    EXPECT_TRUE(pr.p.ReadSettings(TvormekProgrammer::kNetworkDevice, AddressOf(m)));
    EXPECT_EQ(VisibleCounts(pr.p), c.visible);
    int total = 0;
    for (int g = 0; g < 5; ++g) {
      for (int i = 0; i < pr.p.Cmds(g).Count(); ++i, ++total) {
        const TdeviceCmd cmd = pr.p.Cmds(g).GetCmd(i);
        SCOPED_TRACE(cmd.GetName);
        EXPECT_EQ(cmd.Value, m.Value(cmd.GetName));
        EXPECT_TRUE(cmd.HasValue);
      }
    }
    EXPECT_FALSE(pr.p.Connection().Active()) << "closed after the operation";
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), std::make_pair(0, std::string("Connecting to device")));
    EXPECT_EQ(progress.back().second, "Retrieving settings");
    int highest = 0;
    for (const auto& [percent, text] : progress) highest = std::max(highest, percent);
    EXPECT_EQ(highest, static_cast<int>(rtl::Round((total - 1) * 100.0 / total)));
    // A slow reply may be asked for again; the order is what counts here.
    auto sent = Commands(m);
    sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "AT*TFTP?") << "the connect step asks the TFTP port first";
    EXPECT_EQ(sent[1], "AT*HWTYPE?");
  }
}

TEST(Programmer, ErrorRepliesAreRefusals) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  emulator::TEmulatorFaults f;
  f.ErrorKeys = {"EMAIL_FROM"};
  m.SetFaults(f);

  Programmer pr;
  EXPECT_FALSE(pr.p.ReadSettings(1, AddressOf(m)));
  const TdeviceCmds& mail = pr.p.Cmds(2);
  EXPECT_EQ(mail.GetCmd(1).GetName, "EMAIL_FROM");
  EXPECT_EQ(mail.GetValue(1), "N/A");
  EXPECT_EQ(CountOf(Commands(m), "AT*EMAIL_FROM?"), 3u) << "three attempts";
  EXPECT_EQ(mail.GetValue(2), m.Value("EMAIL_SUBJECT")) << "the module stays reachable";
  EXPECT_EQ(pr.p.Cmds(4).GetValue(2), m.Value("VER"));

  // Writing the group never sends the value that could not be read, and a
  // refused setting makes the result False while the others still go out.
  f.ErrorKeys = {"EMAIL_TO"};
  m.SetFaults(f);
  pr.p.Cmds(2).SetValue(3, "mail.example.test");
  const size_t before = Commands(m).size();
  EXPECT_FALSE(pr.p.WriteSettings(1, AddressOf(m), 2));
  const auto all = Commands(m);
  const std::vector<std::string> sent(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  for (const auto& s : sent) EXPECT_EQ(s.find("AT*EMAIL_FROM="), std::string::npos) << s;
  EXPECT_EQ(CountOf(sent, "AT*EMAIL_TO=" + m.Value("EMAIL_TO")), 5u) << "five attempts";
  EXPECT_EQ(CountOf(sent, "AT*EMAIL_HOST=mail.example.test"), 1u);
  EXPECT_EQ(sent.back(), "AT*RESET=1");
  EXPECT_EQ(m.Value("EMAIL_HOST"), "mail.example.test") << "applied by the reset";
}

TEST(Programmer, WritesAGroupThenResets) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  for (const std::string type : {"4", "0"}) {
    SCOPED_TRACE("hardware type " + type);
    TModuleEmulator m(Module("127.0.0.2", type));
    m.Start();
    Programmer pr;
    ASSERT_TRUE(pr.p.ReadSettings(1, AddressOf(m)));

    // New values for every writable setting of the protocols group.
    TdeviceCmds& group = pr.p.Cmds(3);
    std::map<std::string, std::string> wanted;
    for (int i = 0; i < group.Count(); ++i) {
      const TdeviceCmd c = group.GetCmd(i);
      if (c.SetName.empty()) continue;
      if (c.GetName == "TFTP" || c.GetName == "UDP" || c.GetName == "ANNOUNCE_PORT") continue;
      wanted[c.GetName] = c.GetName == "HTTP" ? "8080" : "new-" + c.GetName;
      group.SetValue(i, wanted[c.GetName]);
    }
    const int resetsBefore = m.ResetCount();
    const size_t before = Commands(m).size();
    std::vector<int> percents;
    pr.p.OnProgress = [&](core::TDeviceClient&, rtl::Integer percent, bool&, const std::string&) {
      percents.push_back(percent);
    };
    EXPECT_TRUE(pr.p.WriteSettings(1, AddressOf(m), 3));
    EXPECT_EQ(m.ResetCount(), resetsBefore + 1);
    for (const auto& [key, value] : wanted) EXPECT_EQ(m.Value(key), value) << key;

    const auto all = Commands(m);
    const std::vector<std::string> sent(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    EXPECT_EQ(sent.front(), "AT*TFTP?");
    EXPECT_EQ(sent.back(), "AT*RESET=1") << "the reset comes last";
    EXPECT_EQ(sent.size(), 1u + group.Count() + 1u) << "one command per setting, no retries";
    const int count = group.Count();
    EXPECT_EQ(*std::max_element(percents.begin(), percents.end()),
              static_cast<int>(rtl::Round((count - 1) * 100.0 / count)));
    EXPECT_EQ(pr.p.ProgressText(), "Resetting");
    EXPECT_FALSE(pr.p.Connection().Active());

    // Reading again shows what was written.
    ASSERT_TRUE(pr.p.ReadSettings(1, AddressOf(m)));
    for (int i = 0; i < pr.p.Cmds(3).Count(); ++i) {
      const TdeviceCmd c = pr.p.Cmds(3).GetCmd(i);
      if (wanted.count(c.GetName)) {
        EXPECT_EQ(c.Value, wanted[c.GetName]);
      }
    }
  }
}

TEST(Programmer, ReadOnlyAndUnreadSettingsAreNotWritten) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  // A programmer that never read: nothing is known, so only the reset goes out.
  Programmer fresh;
  EXPECT_TRUE(fresh.p.WriteSettings(1, AddressOf(m), 0));
  EXPECT_EQ(Commands(m), (std::vector<std::string>{"AT*TFTP?", "AT*RESET=1"}));

  Programmer pr;
  ASSERT_TRUE(pr.p.ReadSettings(1, AddressOf(m)));
  const size_t before = Commands(m).size();
  EXPECT_TRUE(pr.p.WriteSettings(1, AddressOf(m), 0));
  const auto all = Commands(m);
  const std::vector<std::string> sent(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  EXPECT_EQ(sent, (std::vector<std::string>{"AT*TFTP?", "AT*AIP=" + m.Value("IP"), "AT*AGW=" + m.Value("GW"),
                                            "AT*ANMASK=" + m.Value("NMASK"), "AT*ADNS=" + m.Value("DNS"),
                                            "AT*DHCP=" + m.Value("DHCP"), "AT*RESET=1"}));
}

TEST(Programmer, ModuleThatStopsAnsweringMidway) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  Programmer pr;
  // The module falls silent when the E-mail group is reached.
  pr.p.OnProgress = [&](core::TDeviceClient& sender, rtl::Integer, bool&, const std::string&) {
    const auto& p = static_cast<TvormekProgrammer&>(sender);
    if (p.Percent() >= static_cast<int>(rtl::Round(17 * 100.0 / 35))) {
      emulator::TEmulatorFaults f;
      f.Silent = true;
      m.SetFaults(f);
    }
  };
  EXPECT_FALSE(pr.p.ReadSettings(1, AddressOf(m)));
  EXPECT_EQ(pr.p.Cmds(1).GetValue(7), m.Value("WIFI_TYPE")) << "read before the silence";
  EXPECT_EQ(pr.p.Cmds(2).GetValue(0), "N/A") << "the entry that got no reply";
  for (int g = 2; g < 5; ++g)
    for (int i = (g == 2 ? 1 : 0); i < pr.p.Cmds(g).Count(); ++i)
      EXPECT_EQ(pr.p.Cmds(g).GetValue(i), "") << "skipped: " << pr.p.Cmds(g).GetCmd(i).GetName;
  EXPECT_EQ(CountOf(Commands(m), "AT*EMAIL_TO?"), 12u) << "3 attempts of 4 sends each";
  EXPECT_EQ(CountOf(Commands(m), "AT*EMAIL_FROM?"), 0u);
}

TEST(Programmer, SilentModuleIsNotFound) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  emulator::TEmulatorFaults f;
  f.Silent = true;
  m.SetFaults(f);
  Programmer pr;
  try {
    pr.p.GetTFTPPort(1, AddressOf(m));
    FAIL() << "no exception";
  } catch (const core::EdeviceNotFound& e) {
    EXPECT_EQ(e.Message(), "Unable to connect to the device.");
    EXPECT_STREQ(e.ClassName(), "EdeviceNotFound");
  }
  EXPECT_TRUE(pr.p.GetCancelled()) << "left set";
  EXPECT_TRUE(pr.p.Connection().Cancelled());
  EXPECT_FALSE(pr.p.Connection().Active());
  EXPECT_EQ(Commands(m), std::vector<std::string>(12, "AT*TFTP?"));
  EXPECT_THROW(pr.p.ReadSettings(1, AddressOf(m)), core::EdeviceNotFound);
  EXPECT_THROW(pr.p.WriteSettings(1, AddressOf(m), 0), core::EdeviceNotFound);
  EXPECT_EQ(pr.p.Address(), AddressOf(m));
}

TEST(Programmer, CancelEndsTheLoopsButTheResetStillGoesOut) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  Programmer pr;
  int calls = 0;
  pr.p.OnProgress = [&](core::TDeviceClient&, rtl::Integer, bool& cancel, const std::string& text) {
    if (text == "Retrieving settings" && ++calls == 8) cancel = true;
  };
  EXPECT_FALSE(pr.p.ReadSettings(1, AddressOf(m)));
  EXPECT_TRUE(pr.p.GetCancelled());
  EXPECT_EQ(pr.p.Cmds(4).GetValue(0), "") << "not reached";

  calls = 0;
  pr.p.OnProgress = [&](core::TDeviceClient&, rtl::Integer, bool& cancel, const std::string& text) {
    if (text == "Sending settings" && ++calls == 2) cancel = true;
  };
  pr.p.Cmds(2).SetValue(0, "a@example.test");
  pr.p.Cmds(2).SetValue(1, "b@example.test");
  const size_t before = Commands(m).size();
  EXPECT_FALSE(pr.p.WriteSettings(1, AddressOf(m), 2));
  const auto all = Commands(m);
  const std::vector<std::string> sent(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  EXPECT_EQ(sent, (std::vector<std::string>{"AT*TFTP?", "AT*EMAIL_TO=a@example.test", "AT*RESET=1"}));
}

TEST(Programmer, TftpPortQuery) {
  programmer_test::ScopedFastClock fast(kSpeedUp);
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> values;
    int expected;  // 0: the emulator's own server port
  } cases[] = {
      {"the emulator's TFTP server", {}, 0},
      {"the standard port", {{"TFTP", "69"}}, 69},
      {"not a number", {{"TFTP", "sixty-nine"}}, -2},
      {"empty value", {{"TFTP", ""}}, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto o = Module("127.0.0.2", "4");
    o.Values = c.values;
    TModuleEmulator m(o);
    m.Start();
    Programmer pr;
    const int expected = c.expected == 0 ? m.Tftp()->Port() : c.expected;
    EXPECT_EQ(pr.p.GetTFTPPort(1, AddressOf(m)), expected);
    EXPECT_FALSE(pr.p.Connection().Active());
  }
  // A module that refuses the query answers, so it is found, but has no port.
  TModuleEmulator m(Module("127.0.0.2", "4"));
  m.Start();
  emulator::TEmulatorFaults f;
  f.ErrorKeys = {"TFTP"};
  m.SetFaults(f);
  Programmer pr;
  EXPECT_EQ(pr.p.GetTFTPPort(1, AddressOf(m)), -1);
}
