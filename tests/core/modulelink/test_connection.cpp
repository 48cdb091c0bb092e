// The UDP command connection against the module emulator (and a scripted
// stand-in where exact bytes matter): one exchange at a time, the retry
// schedule, which datagrams count as the reply, cancellation, errors, and
// secret values kept out of the debug log.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <unistd.h>

#include "../TestSupport.h"
#include "ModuleEmulator.h"
#include "ModuleLinkSupport.h"
#include "core/VormekConnectionU.h"
#include "rtl/Clock.h"
#include "rtl/Exceptions.h"

using core::TUDPConnection;
using emulator::TEmulatorFaults;
using emulator::TModuleEmulator;
using modulelink_test::LogLinesWith;
using modulelink_test::ScopedPump;
using modulelink_test::ScriptedModule;
using modulelink_test::TickOf;

namespace {

emulator::TEmulatorOptions At(const std::string& ip) {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.AnnouncePort = 0;
  return o;
}

std::string AddressOf(const TModuleEmulator& m) {
  return m.IP() + ":" + std::to_string(m.CommandPort());
}

// A connection to the emulator, open on a port of its own.
struct Link {
  explicit Link(const std::string& address) : c(address) {
    c.SetLocalPort(0);
    c.Open();
  }
  TUDPConnection c;
};

size_t DataReadLines() { return LogLinesWith({"TUDPConnection -> ", " UDP Server Data Read: "}).size(); }

// Blocks (real time, at most two seconds) until the listener has logged more
// datagrams than before.
void WaitForDataRead(size_t before) {
  for (int i = 0; i < 200 && DataReadLines() <= before; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace

TEST(UDPConnection, AnswerAtTheFirstSendEndsTheExchange) {
  TModuleEmulator m(At("127.0.0.2"));
  m.Start();
  Link link(AddressOf(m));
  EXPECT_EQ(link.c.LocalPort(), 0);
  EXPECT_EQ(TUDPConnection(AddressOf(m)).LocalPort(), TUDPConnection::kDefaultLocalPort);
  EXPECT_EQ(TUDPConnection::kDefaultLocalPort, 7137);

  std::string reply;
  EXPECT_TRUE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(reply, "ID=EMU-2");
  EXPECT_EQ(link.c.Reply(), "ID=EMU-2");
  ASSERT_EQ(m.Received().size(), 1u);
  EXPECT_EQ(m.Received()[0].Text, "AT*ID?");
  EXPECT_EQ(m.Received()[0].PeerPort, link.c.BoundPort()) << "sent from the listening socket";

  // Before any datagram came in, the peer address in the first line is empty.
  EXPECT_EQ(LogLinesWith({"TUDPConnection -> " + AddressOf(m) + "- Write UDP: AT*ID?"}).size(), 1u);
  EXPECT_EQ(LogLinesWith({"TUDPConnection -> 0.0.0.0 UDP Server Data Read: ID=EMU-2"}).size(), 1u);
  EXPECT_EQ(LogLinesWith({"TUDPConnection -> 0.0.0.0 Read UDP: ID=EMU-2"}).size(), 1u);

  // A setting, then wait mode 0: exactly one datagram and one slice, and the
  // answer is taken when it came within that slice.
  link.c.SendCommand("AIP=127.0.0.7", reply, 0);
  EXPECT_EQ(reply, "AIP=127.0.0.7");
  link.c.SendCommand("RESET=1", reply, 2);
  EXPECT_EQ(reply, "RESET=1");
  EXPECT_EQ(m.Received().size(), 3u);
  EXPECT_EQ(m.Value("IP"), "127.0.0.7");
}

// The schedule with a clock that moves only when the connection sleeps: four
// sends, 600, 1100 and 2100 ms apart (five, eleven and twenty-one 100 ms
// slices: the wait ends in the first slice past 500, 1000, 2000 and 4000 ms),
// then the last wait, 7900 ms in all.
TEST(UDPConnection, RetryScheduleOnAFastClock) {
  auto clock = std::make_shared<rtl::ManualClock>(50000);
  clock->SetSleepAdvances(true);
  rtl::ScopedClock scoped(clock);

  emulator::TEmulatorOptions o = At("127.0.0.3");
  o.Faults.Silent = true;
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));

  std::string reply = "stale";
  EXPECT_FALSE(link.c.QueryValue("VER", reply));
  EXPECT_EQ(reply, "");
  EXPECT_EQ(clock->MonotonicMs(), 50000u + 7900u);

  // The lines of this exchange: from its first send on (when the whole
  // program runs, earlier tests have logged too).
  std::vector<std::string> writes, reads;
  for (const auto& line : core::TDebugLog::Global().Lines()) {
    if (line.find(AddressOf(m) + "- Write UDP: AT*VER?") != std::string::npos ||
        (!writes.empty() && line.find(" Write UDP: AT*VER?") != std::string::npos))
      writes.push_back(line);
    else if (!writes.empty() && line.find("TUDPConnection -> 0.0.0.0 Read UDP: ") != std::string::npos)
      reads.push_back(line);
  }
  ASSERT_EQ(writes.size(), 4u);
  ASSERT_EQ(reads.size(), 4u);
  const uint32_t sendAt[] = {0, 600, 1700, 3800};
  const uint32_t giveUpAt[] = {600, 1700, 3800, 7900};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(TickOf(writes[i]) - 50000u, sendAt[i]) << writes[i];
    EXPECT_EQ(TickOf(reads[i]) - 50000u, giveUpAt[i]) << reads[i];
  }
  ASSERT_TRUE(m.WaitForReceived(4, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(m.Received().size(), 4u);

  // Wait mode 0: one datagram and one slice, however silent the module.
  const uint64_t before = clock->MonotonicMs();
  link.c.SendCommand("DHCP=1", reply, 0);
  EXPECT_EQ(clock->MonotonicMs() - before, 100u);
  ASSERT_TRUE(m.WaitForReceived(5, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(m.Received().size(), 5u);
}

// The same against real time, measured at the module: the gaps between the
// four datagrams it receives, and the whole exchange.
TEST(UDPConnection, RetryScheduleInRealTime) {
  emulator::TEmulatorOptions o = At("127.0.0.4");
  o.Faults.Silent = true;
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));

  const auto start = std::chrono::steady_clock::now();
  std::string reply;
  EXPECT_FALSE(link.c.QueryValue("SSN", reply));
  const double totalMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  ASSERT_TRUE(m.WaitForReceived(4, 1000));
  auto got = m.Received();
  ASSERT_EQ(got.size(), 4u);
  // A wait ends in the first slice whose tick difference passes the limit.
  // The exact schedule is proven on the manual clock; in real time a busy
  // machine can only make a wait longer, so the upper bounds leave room for
  // a loaded CI host while still telling each wait from the next one's length.
  const double lower[] = {500, 1000, 2000};
  for (int i = 0; i < 3; ++i) {
    const double gap = got[i + 1].TimeMs - got[i].TimeMs;
    EXPECT_GE(gap, lower[i] - 5) << "gap " << i;
    EXPECT_LT(gap, lower[i] * 1.5 + 250) << "gap " << i;
  }
  EXPECT_GE(totalMs, 7500 - 5);
  EXPECT_LE(totalMs, 7900 + 2500);
}

TEST(UDPConnection, DatagramsFromAnotherAddressAreIgnored) {
  emulator::TEmulatorOptions o = At("127.0.0.5");
  o.Faults.ReplyDelayMs = 300;
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));

  // During the first slice a forged answer arrives from another address; the
  // wait goes on until the module's own answer.
  net::TUDPServer stranger;
  stranger.SetBindIP("127.0.0.9");
  stranger.SetActive(true);
  bool forged = false;
  ScopedPump pump([&] {
    if (forged) return;
    forged = true;
    size_t before = DataReadLines();
    stranger.Send("127.0.0.1", link.c.BoundPort(), "ID=forged");
    WaitForDataRead(before);
  });
  std::string reply;
  EXPECT_TRUE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(reply, "ID=EMU-5");
  EXPECT_TRUE(forged);
  EXPECT_EQ(m.Received().size(), 1u) << "answered within the first wait";
  EXPECT_TRUE(LogLinesWith({"forged"}).empty());
}

TEST(UDPConnection, AModuleAnsweringFromAnotherAddressIsNotHeard) {
  emulator::TEmulatorOptions o = At("127.0.0.6");
  o.Faults.ReplyFromIP = "127.0.0.10";
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));
  // Once the misdirected answer has reached the listener, cancel.
  size_t before = DataReadLines();
  ScopedPump pump([&] {
    WaitForDataRead(before);
    link.c.SetCancelled(true);
  });
  std::string reply;
  EXPECT_FALSE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(reply, "");
  EXPECT_GT(DataReadLines(), before);
}

// A late answer to one command must not become the value of the next. (This
// replaces the joining of two datagrams within one wait: only the datagram
// that answers the command in progress is kept.)
TEST(UDPConnection, ADelayedReplyDoesNotPoisonTheNextCommand) {
  emulator::TEmulatorOptions o = At("127.0.0.7");
  o.TftpPort = 6969;
  o.Faults.ReplyDelayMs = 700;  // later than the first wait: every command is sent twice
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));

  std::string reply;
  EXPECT_TRUE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(reply, "ID=EMU-7");
  // The answer to the second "AT*ID?" is still on its way.
  EXPECT_TRUE(link.c.QueryValue("TFTP", reply));
  EXPECT_EQ(reply, "TFTP=6969");

  // Show that the late "ID=" answer really arrived during the TFTP exchange
  // and was dropped there (logged as a read with no text).
  auto lines = core::TDebugLog::Global().Lines();
  size_t tftpStart = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find("Write UDP: AT*TFTP?") != std::string::npos && tftpStart == 0) tftpStart = i;
  ASSERT_GT(tftpStart, 0u);
  bool droppedDuringTftp = false;
  for (size_t i = tftpStart; i < lines.size(); ++i) {
    if (lines[i].find("Read UDP: TFTP=6969") != std::string::npos) break;
    const std::string tail = " UDP Server Data Read: ";
    if (lines[i].size() >= tail.size() &&
        lines[i].compare(lines[i].size() - tail.size(), tail.size(), tail) == 0)
      droppedDuringTftp = true;
  }
  EXPECT_TRUE(droppedDuringTftp);
}

TEST(UDPConnection, DuplicateAnswersGiveOneReply) {
  emulator::TEmulatorOptions o = At("127.0.0.8");
  o.Faults.DuplicateReplies = true;
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));
  std::string reply;
  EXPECT_TRUE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(reply, "ID=EMU-8");
  EXPECT_TRUE(link.c.QueryValue("TFTP", reply));
  EXPECT_EQ(reply, "TFTP=" + m.Value("TFTP"));
}

// Which answers count, and how they are trimmed, with exact bytes from a
// scripted module. A datagram that does not answer leaves the wait running;
// the pump then cancels so the case ends at once.
TEST(UDPConnection, ReplyMustAnswerTheCommand) {
  struct Case {
    const char* command;  // sent with wait mode 2
    std::string answer;
    const char* reply;    // "" : not taken
  } cases[] = {
      {"ID?", std::string("ID=abc\r\n"), "ID=abc"},
      {"ID?", std::string("ID=abc\0\0", 8), "ID=abc"},
      {"ID?", "id=Lower", "id=Lower"},
      {"ID?", "ERROR\r", "ERROR"},
      {"ID?", "ERROR unknown key", "ERROR unknown key"},
      {"ID?", "ID", "ID"},
      {"ID?", "IDX=1", ""},
      {"ID?", "IP=127.0.0.2", ""},
      {"ID?", "error", ""},
      {"AIP=127.0.0.3", "AIP=127.0.0.3", "AIP=127.0.0.3"},
      {"AIP=127.0.0.3", "IP=127.0.0.3", ""},
      {"RESET=1", "OK", "OK"},
      {"reset=1", "anything at all\n", "anything at all"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " <- " + c.answer);
    ScriptedModule module("127.0.0." + std::to_string(20 + n++), {c.answer});
    Link link(module.Address());
    size_t before = DataReadLines();
    int slices = 0;
    ScopedPump pump([&] {
      if (++slices == 1) WaitForDataRead(before);
      else link.c.SetCancelled(true);
    });
    std::string reply;
    // The query form is what QueryValue sends; the rest go as commands.
    std::string cmd = c.command;
    if (!cmd.empty() && cmd.back() == '?') {
      link.c.QueryValue(cmd.substr(0, cmd.size() - 1), reply);
    } else {
      link.c.SendCommand(cmd, reply, 2);
    }
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(module.Received().size(), 1u);
  }
}

TEST(UDPConnection, CancelEndsTheWaitAndOpenClearsIt) {
  auto clock = std::make_shared<rtl::ManualClock>(0);
  clock->SetSleepAdvances(true);
  rtl::ScopedClock scoped(clock);
  emulator::TEmulatorOptions o = At("127.0.0.11");
  o.Faults.Silent = true;
  TModuleEmulator m(o);
  m.Start();
  Link link(AddressOf(m));
  int slices = 0;
  ScopedPump pump([&] {
    if (++slices == 3) link.c.SetCancelled(true);
  });
  std::string reply;
  EXPECT_FALSE(link.c.QueryValue("ID", reply));
  EXPECT_EQ(clock->MonotonicMs(), 300u) << "ends at the slice after the cancel";
  EXPECT_TRUE(link.c.Cancelled());
  ASSERT_TRUE(m.WaitForReceived(1, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(m.Received().size(), 1u) << "nothing more is sent";
  link.c.Open();
  EXPECT_FALSE(link.c.Cancelled());
}

TEST(UDPConnection, BadAddressesAndTakenPortsRaise) {
  struct Case {
    const char* address;
  } cases[] = {{"127.0.0.2"}, {"127.0.0.2:"}, {"127.0.0.2:port"}, {"127.0.0.2:70000"}};
  for (const auto& c : cases) {
    Link link(c.address);
    std::string reply;
    EXPECT_THROW(link.c.QueryValue("ID", reply), rtl::EConvertError) << c.address;
  }
  Link first("127.0.0.2:1");
  TUDPConnection second("127.0.0.2:1");
  second.SetLocalPort(first.c.BoundPort());
  EXPECT_THROW(second.Open(), net::ESocketError);
  first.c.Close();
  EXPECT_FALSE(first.c.Active());
  second.Open();
  EXPECT_TRUE(second.Active());
}

TEST(UDPConnection, SecretValuesNeverReachTheLog) {
  TModuleEmulator m(At("127.0.0.12"));
  m.Start();
  Link link(AddressOf(m));
  std::string reply;
  EXPECT_TRUE(link.c.QueryValue("WIFI_KEY", reply));
  EXPECT_EQ(reply, "WIFI_KEY=emulated-wifi-key");
  link.c.SendCommand("HTTP_PASS=hunter2", reply, 2);
  EXPECT_EQ(reply, "HTTP_PASS=hunter2");
  link.c.SendCommand("EMAIL_PASS=s3cret=x", reply, 2);
  EXPECT_EQ(m.PendingValue("EMAIL_PASS"), "s3cret=x");
  EXPECT_TRUE(link.c.QueryValue("EMAIL_USER", reply));

  EXPECT_EQ(LogLinesWith({"Write UDP: AT*HTTP_PASS=********"}).size(), 1u);
  EXPECT_EQ(LogLinesWith({"Read UDP: WIFI_KEY=********"}).size(), 1u);
  EXPECT_EQ(LogLinesWith({"UDP Server Data Read: EMAIL_PASS=********"}).size(), 1u);
  EXPECT_EQ(LogLinesWith({"Read UDP: EMAIL_USER=module"}).size(), 1u) << "other values stay";

  const std::string file = ::testing::TempDir() + "debug-" + std::to_string(::getpid()) + ".txt";
  core::TDebugBase::SaveLogToFile(file);
  const std::string all = core_test::Slurp(file);
  for (const char* secret : {"emulated-wifi-key", "hunter2", "s3cret"})
    EXPECT_EQ(all.find(secret), std::string::npos) << secret;
  std::remove(file.c_str());
}

TEST(UDPConnection, KeysSecretsAndAnswers) {
  struct KeyCase {
    const char* command;
    const char* key;
  } keys[] = {{"AT*ID?", "ID"},       {"AT*AIP=1.2.3.4", "AIP"}, {"AT*RESET=1", "RESET"},
              {"at*ver?", "ver"},     {"AT*", ""},               {"WIFI_KEY=x", "WIFI_KEY"},
              {"AT*A=b=c", "A"}};
  for (const auto& k : keys) EXPECT_EQ(core::CommandKey(k.command), k.key) << k.command;

  struct MaskCase {
    const char* text;
    const char* logged;
  } masks[] = {
      {"AT*EMAIL_PASS=abc", "AT*EMAIL_PASS=********"},
      {"HTTP_PASS=abc", "HTTP_PASS=********"},
      {"AT*WIFI_KEY=k=v", "AT*WIFI_KEY=********"},
      {"wifi_key=abc", "wifi_key=********"},
      {"AT*WIFI_KEY?", "AT*WIFI_KEY?"},
      {"HTTP_USER=admin", "HTTP_USER=admin"},
      {"AT*WIFI_SSID=net", "AT*WIFI_SSID=net"},
      {"ERROR", "ERROR"},
      {"", ""},
  };
  for (const auto& c : masks) EXPECT_EQ(core::MaskSecretValues(c.text), c.logged) << c.text;

  struct AnswerCase {
    const char* reply;
    const char* key;
    bool answers;
  } answers[] = {{"ID=1", "ID", true},     {"id=1", "ID", true},      {"ID", "ID", true},
                 {"IDS=1", "ID", false},   {"ERROR", "ID", true},     {"ERRORS", "ID", true},
                 {"Error", "ID", false},   {"", "ID", false},         {"", "RESET", false},
                 {"OK", "RESET", true},    {"X=1", "Reset", true},    {"AIP=1", "AIP", true}};
  for (const auto& a : answers)
    EXPECT_EQ(core::ReplyAnswers(a.reply, a.key), a.answers) << a.reply << " / " << a.key;
}
