// The module emulator as a peer: its settings table per hardware type, the
// pending values a reset applies, discovery answers and every fault switch,
// in process and as the program build/bin/module-emulator.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "ModuleEmulator.h"
#include "net/UDPServer.h"
#include "rtl/Process.h"

using emulator::TEmulatorFaults;
using emulator::TEmulatorOptions;
using emulator::TModuleEmulator;

namespace {

// A peer on its own loopback address that sends commands and collects what
// comes back, with the sender of each datagram.
class Peer {
 public:
  struct Datagram {
    std::string text;
    std::string fromIP;
    rtl::Word fromPort;
    std::chrono::steady_clock::time_point at;
  };

  explicit Peer(const std::string& ip = "127.0.0.1", rtl::Word port = 0) {
    server_.SetBindIP(ip);
    server_.SetDefaultPort(port);
    server_.OnUDPRead = [this](net::TUDPServer&, const net::TBytes& d, const net::TUDPBinding& b) {
      std::lock_guard<std::mutex> g(lock_);
      got_.push_back({net::BytesToText(d), b.PeerIP, b.PeerPort, std::chrono::steady_clock::now()});
      changed_.notify_all();
    };
    server_.SetActive(true);
  }
  rtl::Word Port() const { return server_.Binding().Port; }
  void Send(const std::string& host, rtl::Word port, const std::string& text) {
    server_.Send(host, port, text);
  }
  // Waits (up to two seconds) for n datagrams in all.
  std::vector<Datagram> WaitFor(size_t n, int ms = 2000) {
    std::unique_lock<std::mutex> g(lock_);
    changed_.wait_for(g, std::chrono::milliseconds(ms), [&] { return got_.size() >= n; });
    return got_;
  }
  // Sends a command and returns the next answer ("" after a second of silence).
  std::string Ask(const TModuleEmulator& m, const std::string& command) {
    size_t before = WaitFor(0, 0).size();
    Send(m.IP(), m.CommandPort(), command);
    auto all = WaitFor(before + 1, 1000);
    return all.size() > before ? all[before].text : std::string();
  }

 private:
  net::TUDPServer server_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Datagram> got_;
};

TEmulatorOptions Options(const std::string& ip, const std::string& hwtype = "4") {
  TEmulatorOptions o;
  o.IP = ip;
  o.AnnouncePort = 0;
  o.HardwareType = hwtype;
  return o;
}

}  // namespace

TEST(ModuleEmulator, AnswersEachSettingOfItsHardwareType) {
  struct Case {
    const char* hwtype;
    rtl::Byte mask;
    int offered;  // settings answered with a value
  } cases[] = {
      {"0", 1, 23},      // no WiFi group, none of the four keys of all but type 0
      {"1", 2, 27},      // everything but WiFi
      {"4", 16, 35},     // everything
      {"9", 255, 35},    // an unknown type offers everything
      {"beta", 255, 35}  // so does a type that is not a number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hwtype);
    EXPECT_EQ(emulator::HardwareTypeMask(c.hwtype), c.mask);
    TModuleEmulator m(Options("127.0.0.2", c.hwtype));
    m.Start();
    Peer peer;
    int offered = 0;
    for (const auto& s : emulator::ModuleSettings()) {
      std::string answer = peer.Ask(m, std::string("AT*") + s.GetKey + "?");
      if (answer == "ERROR") {
        EXPECT_EQ(s.HardwareMask & c.mask, 0) << s.GetKey;
        continue;
      }
      ++offered;
      EXPECT_EQ(answer, std::string(s.GetKey) + "=" + m.Value(s.GetKey));
    }
    EXPECT_EQ(offered, c.offered);
    EXPECT_EQ(peer.Ask(m, "AT*HWTYPE?"), std::string("HWTYPE=") + c.hwtype);
  }
}

TEST(ModuleEmulator, SettingsWaitForTheReset) {
  TEmulatorOptions o = Options("127.0.0.2");
  o.Values = {{"email_to", "first@localhost"}};
  o.TftpServer = false;  // then the port is answered as given
  o.TftpPort = 69;
  TModuleEmulator m(o);
  m.Start();
  Peer peer;
  EXPECT_EQ(peer.Ask(m, "AT*EMAIL_TO?"), "EMAIL_TO=first@localhost");
  EXPECT_EQ(peer.Ask(m, "AT*IP?"), "IP=127.0.0.2");

  struct Case {
    const char* command;
    const char* answer;
  } cases[] = {
      {"AT*AIP=127.0.0.44", "AIP=127.0.0.44"},
      {"AT*email_to=second@localhost", "EMAIL_TO=second@localhost"},
      {"AT*MAC=00:00:00:00:00:01", "ERROR"},  // read-only
      {"AT*HWTYPE=1", "ERROR"},               // read-only
      {"AT*NO_SUCH_KEY=1", "ERROR"},
      {"AT*NO_SUCH_KEY?", "ERROR"},
      {"HELLO", "ERROR"},
      {"AT*", "ERROR"},
      {"AT*TFTP?\r\n", "TFTP=69"},  // a line end after a command is not part of it
  };
  for (const auto& c : cases) EXPECT_EQ(peer.Ask(m, c.command), c.answer) << c.command;

  EXPECT_EQ(peer.Ask(m, "AT*IP?"), "IP=127.0.0.2") << "applied only by the reset";
  EXPECT_EQ(m.PendingValue("IP"), "127.0.0.44");
  EXPECT_EQ(peer.Ask(m, "AT*RESET=1"), "RESET=1");
  EXPECT_EQ(peer.Ask(m, "AT*IP?"), "IP=127.0.0.44");
  EXPECT_EQ(peer.Ask(m, "AT*EMAIL_TO?"), "EMAIL_TO=second@localhost");
  EXPECT_EQ(m.PendingValue("IP"), "");
  EXPECT_EQ(m.ResetCount(), 1);
}

TEST(ModuleEmulator, AnswersBroadcastAnnounceRequestsAtTheReceivePort) {
  Peer requester;  // stands for the environment's discovery listener
  TEmulatorOptions a = Options("127.0.0.2");
  a.ReceivePort = requester.Port();
  a.Name = "Workbench";
  TModuleEmulator first(a);
  first.Start();
  TEmulatorOptions b = Options("127.0.0.3");
  b.ReceivePort = requester.Port();
  b.AnnouncePort = first.AnnouncePort();  // both share the announce port
  TModuleEmulator second(b);
  second.Start();
  ASSERT_EQ(second.AnnouncePort(), first.AnnouncePort());

  // From a separate socket, as the environment sends its request: the
  // answers must come to the receive port, not to the request's source port.
  net::TUDPServer sender;
  sender.SetBroadcastEnabled(true);
  sender.Send("127.255.255.255", first.AnnouncePort(), "AT*ANNOUNCE_NOW=5");
  sender.Send("127.255.255.255", first.AnnouncePort(), "NOT A REQUEST");
  auto got = requester.WaitFor(2);
  ASSERT_EQ(got.size(), 2u);
  std::map<std::string, std::string> byIP;
  for (const auto& d : got) byIP[d.fromIP] = d.text;
  EXPECT_EQ(byIP["127.0.0.2"], "TOLVANE_MOD,Workbench,UDP_PORT=" + std::to_string(first.CommandPort()));
  EXPECT_EQ(byIP["127.0.0.3"], "TOLVANE_MOD,EMU-3,UDP_PORT=" + std::to_string(second.CommandPort()));
  for (const auto& d : got) {
    EXPECT_EQ(d.fromPort, d.fromIP == "127.0.0.2" ? first.CommandPort() : second.CommandPort())
        << "an announcement leaves from the command socket";
  }
  EXPECT_TRUE(first.WaitForReceived(2, 2000, "announce"));
  EXPECT_EQ(requester.WaitFor(3, 200).size(), 2u) << "only the request is answered";
}

TEST(ModuleEmulator, FaultSwitches) {
  TModuleEmulator m(Options("127.0.0.2"));
  m.Start();
  Peer peer;

  {  // "ERROR" for chosen keys, in any case
    TEmulatorFaults f;
    f.ErrorKeys = {"tftp", "AIP"};
    m.SetFaults(f);
    EXPECT_EQ(peer.Ask(m, "AT*TFTP?"), "ERROR");
    EXPECT_EQ(peer.Ask(m, "AT*AIP=127.0.0.1"), "ERROR");
    EXPECT_EQ(peer.Ask(m, "AT*ID?"), "ID=EMU-2");
  }
  {  // silent: recorded but never answered
    TEmulatorFaults f;
    f.Silent = true;
    m.SetFaults(f);
    size_t before = m.Received().size();
    EXPECT_EQ(peer.Ask(m, "AT*ID?"), "");
    ASSERT_EQ(m.Received().size(), before + 1);
    EXPECT_EQ(m.Received().back().Text, "AT*ID?");
    EXPECT_EQ(m.Received().back().Channel, "command");
    EXPECT_EQ(m.Received().back().PeerPort, peer.Port());
  }
  {  // every answer twice
    TEmulatorFaults f;
    f.DuplicateReplies = true;
    m.SetFaults(f);
    size_t before = peer.WaitFor(0, 0).size();
    peer.Send(m.IP(), m.CommandPort(), "AT*VER?");
    auto got = peer.WaitFor(before + 2);
    ASSERT_EQ(got.size(), before + 2);
    EXPECT_EQ(got[before].text, got[before + 1].text);
  }
  {  // late answers keep their order
    TEmulatorFaults f;
    f.ReplyDelayMs = 300;
    m.SetFaults(f);
    size_t before = peer.WaitFor(0, 0).size();
    auto sent = std::chrono::steady_clock::now();
    peer.Send(m.IP(), m.CommandPort(), "AT*ID?");
    peer.Send(m.IP(), m.CommandPort(), "AT*VER?");
    auto got = peer.WaitFor(before + 2);
    ASSERT_EQ(got.size(), before + 2);
    EXPECT_GE(got[before].at - sent, std::chrono::milliseconds(290));
    EXPECT_EQ(got[before].text, "ID=EMU-2");
    EXPECT_EQ(got[before + 1].text.rfind("VER=", 0), 0u);
  }
  {  // answers from another loopback address
    TEmulatorFaults f;
    f.ReplyFromIP = "127.0.0.9";
    m.SetFaults(f);
    size_t before = peer.WaitFor(0, 0).size();
    peer.Send(m.IP(), m.CommandPort(), "AT*ID?");
    auto got = peer.WaitFor(before + 1);
    ASSERT_EQ(got.size(), before + 1);
    EXPECT_EQ(got[before].fromIP, "127.0.0.9");
    EXPECT_EQ(got[before].text, "ID=EMU-2");
  }
  {  // a reset applied without an answer
    TEmulatorFaults f;
    f.NoResetReply = true;
    m.SetFaults(f);
    EXPECT_EQ(peer.Ask(m, "AT*ADNS=127.0.0.53"), "ADNS=127.0.0.53");
    EXPECT_EQ(peer.Ask(m, "AT*RESET=1"), "");
    EXPECT_EQ(m.Value("DNS"), "127.0.0.53");
    EXPECT_EQ(m.ResetCount(), 1);
  }
}

// The program: options, the ready file, the record of what it received,
// a clean end on SIGTERM, and refusal of anything but loopback addresses.
TEST(ModuleEmulatorProgram, RunsAsAPeerProgram) {
  const std::string dir = ::testing::TempDir() + "emulator-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string ready = dir + "/ready", record = dir + "/record.txt";
  rtl::TProcessOptions po;
  po.Program = std::string(TOLVANE_BIN_DIR) + "/module-emulator";
  po.Arguments = {"--ip", "127.0.0.5", "--announce-port", "0", "--hwtype", "0", "--name", "Bench",
                  "--tftp-port", "6969", "--set", "EMAIL_TO=ops@localhost", "--error-key", "VER",
                  "--ready-file", ready, "--record", record};
  po.CaptureOutput = true;
  rtl::TProcess p(po);
  std::string line;
  for (int i = 0; i < 200 && line.empty(); ++i) {
    std::ifstream f(ready);
    std::getline(f, line);
    if (line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_FALSE(line.empty()) << p.StdErr();
  std::istringstream in(line);
  std::string ip;
  int port = 0, announcePort = 0, tftpPort = 0;
  in >> ip >> port >> announcePort >> tftpPort;
  EXPECT_EQ(ip, "127.0.0.5");
  ASSERT_GT(port, 0);
  EXPECT_GT(announcePort, 0);
  EXPECT_EQ(tftpPort, 6969);

  Peer peer;
  auto ask = [&](const std::string& c) {
    size_t before = peer.WaitFor(0, 0).size();
    peer.Send("127.0.0.5", static_cast<rtl::Word>(port), c);
    auto all = peer.WaitFor(before + 1, 1000);
    return all.size() > before ? all[before].text : std::string();
  };
  EXPECT_EQ(ask("AT*ID?"), "ID=Bench");
  EXPECT_EQ(ask("AT*TFTP?"), "TFTP=6969");
  EXPECT_EQ(ask("AT*EMAIL_TO?"), "EMAIL_TO=ops@localhost");
  EXPECT_EQ(ask("AT*VER?"), "ERROR");
  EXPECT_EQ(ask("AT*WIFI_KEY?"), "ERROR") << "hardware type 0 has no WiFi";
  peer.Send("127.0.0.5", static_cast<rtl::Word>(port), std::string("AT*X=\x01\\", 7));
  peer.WaitFor(6);

  ::kill(p.Pid(), SIGTERM);
  ASSERT_TRUE(p.WaitFor(5000));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_NE(p.StdOut().find("listening: " + line), std::string::npos) << p.StdOut();

  std::ifstream f(record);
  std::vector<std::string> lines;
  for (std::string l; std::getline(f, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 6u);
  const std::string from = " command 127.0.0.1:" + std::to_string(peer.Port()) + " ";
  EXPECT_NE(lines[0].find(from + "AT*ID?"), std::string::npos) << lines[0];
  EXPECT_NE(lines[5].find(from + "AT*X=\\x01\\x5C"), std::string::npos) << lines[5];
  double t0 = std::stod(lines[0]), t5 = std::stod(lines[5]);
  EXPECT_LE(t0, t5);

  struct Bad {
    std::vector<std::string> args;
  } bad[] = {{{"--ip", "10.0.0.1"}}, {{"--reply-from", "192.168.100.1"}},
             {{"--port", "70000"}},  {{"--bogus"}},
             {{"--set", "novalue"}}, {{"--tftp-drop-ack", "first"}},
             {{"--delay", "-5"}},    {{"--tftp-error-at"}}};
  for (const auto& b : bad) {
    rtl::TProcessOptions o;
    o.Program = po.Program;
    o.Arguments = b.args;
    o.CaptureOutput = true;
    EXPECT_EQ(rtl::RunProgram(o), 2u) << b.args[0];
  }
}
