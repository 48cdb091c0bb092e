// Module discovery on loopback: one broadcast request to 127.255.255.255,
// emulators sharing the announce port, one item and one found event per
// module, and the announcement parser's cases.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "ModuleEmulator.h"
#include "ModuleLinkSupport.h"
#include "core/DevListU.h"
#include "rtl/Exceptions.h"

using core::TdeviceInfo;
using core::TvormekDevList;
using emulator::TModuleEmulator;

namespace {

// Collects found events, with the thread each ran on.
struct Found {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<std::pair<std::string, std::string>> events;  // text, address
  std::vector<std::thread::id> threads;

  void Attach(TvormekDevList& list) {
    list.OnDeviceFound = [this](core::Tdevices&, const rtl::AnsiString& text,
                                const rtl::AnsiString& address) {
      std::lock_guard<std::mutex> g(lock);
      events.emplace_back(text, address);
      threads.push_back(std::this_thread::get_id());
      changed.notify_all();
    };
  }
  size_t WaitFor(size_t n, int ms = 2000) {
    std::unique_lock<std::mutex> g(lock);
    changed.wait_for(g, std::chrono::milliseconds(ms), [&] { return events.size() >= n; });
    return events.size();
  }
};

// A list listening on a port the system picks, sending to the loopback
// broadcast address.
void ListenOnLoopback(TvormekDevList& list) {
  list.SetListenPort(0);
  list.SetRcvAnnouncePort(0);
  list.SetAnnounceAddress("127.255.255.255");
  list.SetActive(true);
}

std::unique_ptr<TModuleEmulator> Emulator(const std::string& ip, rtl::Word announcePort,
                                          rtl::Word receivePort, const std::string& name = "") {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.AnnouncePort = announcePort;
  o.ReceivePort = receivePort;
  o.Name = name;
  auto m = std::make_unique<TModuleEmulator>(o);
  m->Start();
  return m;
}

}  // namespace

TEST(ModuleDiscovery, OneBroadcastFindsEveryEmulatorOnce) {
  TvormekDevList list;
  Found found;
  found.Attach(list);
  ListenOnLoopback(list);
  const rtl::Word receivePort = list.BoundPort();
  ASSERT_NE(receivePort, 0);

  auto office = Emulator("127.0.0.2", 0, receivePort, "Office");
  auto lab = Emulator("127.0.0.3", office->AnnouncePort(), receivePort, "Lab");
  list.SetAnnouncePort(office->AnnouncePort());

  list.Refresh();
  ASSERT_EQ(found.WaitFor(2), 2u);
  // One request reached both (a broadcast, not two sends).
  EXPECT_EQ(office->Received().size(), 1u);
  EXPECT_EQ(lab->Received().size(), 1u);
  EXPECT_EQ(office->Received()[0].Text, "AT*ANNOUNCE_NOW=5");
  EXPECT_EQ(office->Received()[0].Channel, "announce");

  // Asking again adds nobody and fires nothing.
  list.SendAnnounceRequest();
  ASSERT_TRUE(office->WaitForReceived(2, 2000));
  ASSERT_TRUE(lab->WaitForReceived(2, 2000));
  EXPECT_EQ(found.WaitFor(3, 300), 2u);

  ASSERT_EQ(list.Count(), 2);
  std::map<std::string, TdeviceInfo> byHost;
  for (const auto& item : list.Items()) byHost[item.Host] = item;
  const std::string announcePort = std::to_string(office->AnnouncePort());
  struct Expect {
    const TModuleEmulator* m;
    const char* name;
  } expected[] = {{office.get(), "Office"}, {lab.get(), "Lab"}};
  for (const auto& e : expected) {
    const TdeviceInfo& item = byHost.at(e.m->IP());
    EXPECT_EQ(item.Name, e.name);
    EXPECT_EQ(item.PortText, std::to_string(e.m->CommandPort()));
    EXPECT_EQ(item.Address, e.m->IP() + ":" + std::to_string(e.m->CommandPort()));
    EXPECT_EQ(item.Key, e.m->IP() + ":" + announcePort);
  }
  for (const auto& ev : found.events) {
    EXPECT_EQ(ev.first.rfind("TOLVANE_MOD,", 0), 0u);
    EXPECT_TRUE(ev.second == byHost.at("127.0.0.2").Address ||
                ev.second == byHost.at("127.0.0.3").Address);
  }
  for (auto id : found.threads) EXPECT_NE(id, std::this_thread::get_id()) << "fired on the listener";
  EXPECT_EQ(modulelink_test::LogLinesWith({"TvormekDevList -> OnAddDevice:  TOLVANE_MOD,Office,UDP_PORT="}).size(),
            2u)
      << "every announcement is logged, also the repeated one";

  // Refresh empties the list first; the modules come back.
  list.Refresh();
  ASSERT_EQ(found.WaitFor(4), 4u);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.GetItem(2), rtl::EListError);
  EXPECT_THROW(list.GetItem(-1), rtl::EListError);
}

TEST(ModuleDiscovery, DatagramsFromStrangersAndAnnouncementsWithoutPort) {
  TvormekDevList list;
  Found found;
  found.Attach(list);
  ListenOnLoopback(list);
  list.SetAnnouncePort(7124);

  net::TUDPServer stranger;
  stranger.SetBindIP("127.0.0.5");
  stranger.SetActive(true);
  stranger.Send("127.0.0.1", list.BoundPort(), "HELLO");  // dropped without a word
  stranger.Send("127.0.0.1", list.BoundPort(), std::string("x\0TOLVANE_MOD,A,UDP_PORT=1", 26));
  stranger.Send("127.0.0.1", list.BoundPort(), "TOLVANE_MOD,Bare");
  ASSERT_EQ(found.WaitFor(1), 1u);
  EXPECT_EQ(found.WaitFor(2, 200), 1u);
  ASSERT_EQ(list.Count(), 1);
  TdeviceInfo item = list.GetItem(0);
  EXPECT_EQ(item.Name, "127.0.0.5") << "listed under its address";
  EXPECT_EQ(item.Address, "127.0.0.5:7124") << "with the announce port";
  EXPECT_EQ(item.PortText, "");
  EXPECT_EQ(found.events[0].second, "127.0.0.5:7124");
}

TEST(ModuleDiscovery, AChangedReceivePortMovesTheListener) {
  TvormekDevList list;
  ListenOnLoopback(list);
  const rtl::Word first = list.BoundPort();
  // A port the system just handed out and took back is free for the list.
  net::TUDPServer probe;
  probe.SetActive(true);
  const rtl::Word second = probe.Binding().Port;
  probe.SetActive(false);

  list.SetRcvAnnouncePort(second);
  EXPECT_EQ(list.BoundPort(), first) << "only the next request moves it";
  auto m = Emulator("127.0.0.6", 0, second);
  list.SetAnnouncePort(m->AnnouncePort());
  Found found;
  found.Attach(list);  // taken over by the restarted listener
  list.SendAnnounceRequest();
  EXPECT_EQ(list.BoundPort(), second);
  EXPECT_EQ(list.ListenPort(), second);
  EXPECT_TRUE(list.Active());
  ASSERT_EQ(found.WaitFor(1), 1u);
  EXPECT_EQ(list.GetItem(0).Name, "EMU-6");
}

TEST(ModuleDiscovery, DefaultsAndBindingErrors) {
  TvormekDevList list;
  EXPECT_EQ(list.AnnouncePort(), 7124);
  EXPECT_EQ(list.RcvAnnouncePort(), 7123);
  EXPECT_EQ(list.ListenPort(), 7123);
  EXPECT_EQ(list.AnnounceAddress(), "192.168.100.255");
  EXPECT_FALSE(list.Active());
  EXPECT_EQ(list.Count(), 0);

  TvormekDevList holder;
  ListenOnLoopback(holder);
  // The listener does not share its port: a second list on it fails to bind.
  list.SetListenPort(holder.BoundPort());
  EXPECT_THROW(list.SetActive(true), net::ESocketError);
  EXPECT_FALSE(list.Active());
}

TEST(ModuleDiscovery, ParsingAnnouncements) {
  struct Case {
    std::string text;
    bool valid;
    const char* name;
    const char* portText;
    const char* address;
  } cases[] = {
      {"TOLVANE_MOD,Office,UDP_PORT=30303", true, "Office", "30303", "192.168.100.17:30303"},
      {"TOLVANE_MOD,,UDP_PORT=30303", true, "", "30303", "192.168.100.17:30303"},
      {"TOLVANE_MOD,Office,UDP_PORT=", true, "Office", "", "192.168.100.17:"},
      {"TOLVANE_MOD,Office,UDP_PORT=80x;junk", true, "Office", "80", "192.168.100.17:80"},
      {"TOLVANE_MOD,Office", true, "192.168.100.17", "", "192.168.100.17:7124"},
      // The name starts after the prefix wherever the prefix stands.
      {"##TOLVANE_MOD,Lab,UDP_PORT=5", true, "Lab", "5", "192.168.100.17:5"},
      // A marker before the prefix is not the port of this announcement.
      {",UDP_PORT=9;TOLVANE_MOD,Lab", true, "192.168.100.17", "", "192.168.100.17:7124"},
      {"TOLVANE_MOD,A,B,UDP_PORT=7,UDP_PORT=8", true, "A,B", "7", "192.168.100.17:7"},
      {std::string("TOLVANE_MOD,Z,UDP_PORT=3\0tail", 29), true, "Z", "3", "192.168.100.17:3"},
      {std::string("ab\0TOLVANE_MOD,Z,UDP_PORT=3", 27), false, "", "", ""},
      {"tolvane_mod,Office,UDP_PORT=1", false, "", "", ""},
      {"", false, "", "", ""},
  };
  TvormekDevList list;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(list.IsValidAnnounce(net::TextToBytes(c.text)), c.valid);
    if (!c.valid) continue;
    TdeviceInfo item;
    item.Key = item.Address = "192.168.100.17:7124";
    item.Host = item.Name = "192.168.100.17";
    list.ParseAnnounce(item, c.text);
    EXPECT_EQ(item.Name, c.name);
    EXPECT_EQ(item.PortText, c.portText);
    EXPECT_EQ(item.Address, c.address);
    EXPECT_EQ(item.Key, "192.168.100.17:7124");
  }
}
