// The TFTP client against servers that misbehave: the module emulator's TFTP
// server with its fault switches (lost, doubled and stray acknowledgements,
// silence after the last block, error packets, odd block sizes), a scripted
// server for acknowledgements ahead of what was sent, and a server that
// never answers.
#include <gtest/gtest.h>

#include <thread>

#include "TftpServer.h"
#include "TftpdPeer.h"
#include "core/DebugBaseU.h"
#include "core/TrivialFTPU.h"
#include "net/TftpClientBase.h"
#include "net/UDPServer.h"
#include "rtl/Streams.h"

using core::TIdTrivialFTP;
using emulator::TTftpFaults;
using emulator::TTftpServer;
using tftp_test::SomeBytes;

namespace {

size_t LogLinesWith(const std::string& text) {
  size_t n = 0;
  for (const auto& line : core::TDebugLog::Global().Lines()) n += line.find(text) != std::string::npos ? 1 : 0;
  return n;
}

// Short enough to keep the tests quick, long enough for a loaded machine.
constexpr rtl::Cardinal kClientTimeoutMs = 400;

struct Emulated {
  explicit Emulated(const TTftpFaults& faults, const std::string& ip = "127.0.0.2") {
    emulator::TTftpOptions o;
    o.IP = ip;
    o.DallyMs = 3000;  // repeats of the last block are still seen
    server = std::make_unique<TTftpServer>(o);
    server->SetFaults(faults);
    server->Start();
  }
  std::unique_ptr<TTftpServer> server;
};

std::unique_ptr<rtl::TMemoryStream> StreamOf(const std::vector<unsigned char>& bytes) {
  auto s = std::make_unique<rtl::TMemoryStream>();
  if (!bytes.empty()) s->WriteBuffer(bytes.data(), static_cast<rtl::Integer>(bytes.size()));
  s->SetPosition(0);
  return s;
}

void Aim(TIdTrivialFTP& c, const std::string& ip, rtl::Word port, int blockSize = 1500) {
  c.Host = ip;
  c.Port = port;
  c.ReceiveTimeout = kClientTimeoutMs;
  c.RequestedBlockSize = blockSize;
}

}  // namespace

TEST(TrivialFTPFaults, TransfersArriveWholeDespiteFaults) {
  struct Case {
    const char* what;
    TTftpFaults faults;
    int retransmissions;   // by the client
    int repeatedPackets;   // data packets the server saw twice
    int strangersRefused;  // by the client
    bool lastUnacknowledged;
  };
  auto faults = [](auto set) {
    TTftpFaults f;
    set(f);
    return f;
  };
  const Case cases[] = {
      {"no fault", {}, 0, 0, 0, false},
      {"lost acknowledgement: block sent again", faults([](TTftpFaults& f) { f.DropAckOf = 3; }), 1, 1, 0, false},
      {"lost acknowledgement of the request's answer", faults([](TTftpFaults& f) { f.DropAckOf = 1; }), 1, 1, 0,
       false},
      {"lost acknowledgement of the last block: sent again", faults([](TTftpFaults& f) { f.DropAckOf = 6; }), 1,
       1, 0, false},
      {"doubled acknowledgement: no doubled traffic", faults([](TTftpFaults& f) { f.DuplicateAckOf = 2; }), 0, 0,
       0, false},
      {"stray datagram from another port", faults([](TTftpFaults& f) { f.StrayAfter = 2; }), 0, 0, 1, false},
      {"silent after the last block", faults([](TTftpFaults& f) { f.SilentAfterLastBlock = true; }),
       TIdTrivialFTP::kMaxRetransmits, TIdTrivialFTP::kMaxRetransmits, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Emulated e(c.faults);
    const auto bytes = SomeBytes(1500 * 5 + 77);
    auto source = StreamOf(bytes);
    const std::string unacknowledged = "TIdTrivialFTP -> The last block (6) of image.cds was not acknowledged";
    core::TDebugBase::SetKeepFullLog();  // so that counting log lines is exact
    const size_t logBefore = LogLinesWith(unacknowledged);

    TIdTrivialFTP client;
    Aim(client, "127.0.0.2", e.server->Port());
    client.Put(*source, "image.cds");

    ASSERT_TRUE(e.server->WaitForFinished(1, 5000));
    const auto t = e.server->Transfers().at(0);
    EXPECT_TRUE(t.Complete) << t.Failure;
    EXPECT_EQ(t.Data, bytes);
    EXPECT_EQ(t.Blocks, 6);
    EXPECT_EQ(t.BlockSize, 1500);
    EXPECT_EQ(client.Retransmissions(), c.retransmissions);
    EXPECT_EQ(t.RepeatedPackets, c.repeatedPackets);
    EXPECT_EQ(t.DataPackets, t.Blocks + c.repeatedPackets) << "every data packet the client sent";
    EXPECT_EQ(client.StrangersRefused(), c.strangersRefused);
    EXPECT_EQ(LogLinesWith(unacknowledged) - logBefore, c.lastUnacknowledged ? 1u : 0u);
  }
}

TEST(TrivialFTPFaults, ErrorPacketsAndBlockSizes) {
  struct Case {
    const char* what;
    TTftpFaults faults;
    int requested;
    const char* exceptionClass;  // nullptr: the transfer succeeds
    int blockSize;               // used when it succeeds
    const char* serverFailure;   // what the server recorded, when it failed
  };
  auto faults = [](auto set) {
    TTftpFaults f;
    set(f);
    return f;
  };
  const Case cases[] = {
      {"request refused: disk full", faults([](TTftpFaults& f) { f.ErrorAt = 0; }), 1500,
       "EIdTFTPAllocationExceeded", 0, "request refused with error 3"},
      {"block 3 refused: access violation",
       faults([](TTftpFaults& f) {
         f.ErrorAt = 3;
         f.ErrorCode = 2;
         f.ErrorMessage = "No room for this";
       }),
       1500, "EIdTFTPAccessViolation", 0, "block 3 refused with error 2"},
      {"undefined error code", faults([](TTftpFaults& f) {
         f.ErrorAt = 1;
         f.ErrorCode = 0;
       }),
       1500, "EIdTFTPException", 0, "block 1 refused with error 0"},
      {"server answers a smaller block size", faults([](TTftpFaults& f) { f.OptionBlockSize = 1024; }), 1500,
       nullptr, 1024, ""},
      {"server answers the smallest block size", faults([](TTftpFaults& f) { f.OptionBlockSize = 8; }), 1500,
       nullptr, 8, ""},
      {"server answers a larger block size", faults([](TTftpFaults& f) { f.OptionBlockSize = 2000; }), 1500,
       "EIdTFTPOptionNegotiationFailed", 0, "client sent error 8"},
      {"server answers a block size below 8", faults([](TTftpFaults& f) { f.OptionBlockSize = 4; }), 1500,
       "EIdTFTPOptionNegotiationFailed", 0, "client sent error 8"},
      {"server refuses the option", faults([](TTftpFaults& f) { f.RefuseOption = true; }), 1500, nullptr, 512,
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Emulated e(c.faults);
    const auto bytes = SomeBytes(6000);
    auto source = StreamOf(bytes);
    TIdTrivialFTP client;
    Aim(client, "127.0.0.2", e.server->Port(), c.requested);
    try {
      client.Put(*source, "image.cds");
      EXPECT_EQ(c.exceptionClass, nullptr) << "no exception";
    } catch (const net::EIdTFTPException& ex) {
      ASSERT_NE(c.exceptionClass, nullptr) << ex.ClassName() << ": " << ex.Message();
      EXPECT_STREQ(ex.ClassName(), c.exceptionClass) << ex.Message();
      EXPECT_FALSE(ex.Message().empty());
    }
    EXPECT_FALSE(client.Active());
    ASSERT_TRUE(e.server->WaitForFinished(1, 5000));
    const auto t = e.server->Transfers().at(0);
    if (c.exceptionClass) {
      EXPECT_FALSE(t.Complete);
      EXPECT_NE(t.Failure.find(c.serverFailure), std::string::npos) << t.Failure;
    } else {
      EXPECT_TRUE(t.Complete) << t.Failure;
      EXPECT_EQ(t.Data, bytes);
      EXPECT_EQ(client.BlockSize(), c.blockSize);
      EXPECT_EQ(t.BlockSize, c.blockSize);
    }
  }
}

TEST(TrivialFTPFaults, ServerErrorMessageReachesTheException) {
  TTftpFaults f;
  f.ErrorAt = 2;
  f.ErrorCode = 1;
  f.ErrorMessage = "No such file here";
  Emulated e(f);
  auto source = StreamOf(SomeBytes(3000));
  TIdTrivialFTP client;
  Aim(client, "127.0.0.2", e.server->Port());
  try {
    client.Put(*source, "image.cds");
    FAIL() << "no exception";
  } catch (const net::EIdTFTPFileNotFound& ex) {
    EXPECT_EQ(ex.Message(), "No such file here");
  }
}

// A server that never answers: the request goes out once and is sent again
// after each time-out, then the transfer fails with "Timeout".
TEST(TrivialFTPFaults, SilentServerTimesOutAfterBoundedRetransmissions) {
  std::mutex lock;
  std::vector<net::TBytes> got;
  net::TUDPServer silent;
  silent.SetBindIP("127.0.0.3");
  silent.OnUDPRead = [&](net::TUDPServer&, const net::TBytes& d, const net::TUDPBinding&) {
    std::lock_guard<std::mutex> g(lock);
    got.push_back(d);
  };
  silent.SetActive(true);

  auto source = StreamOf(SomeBytes(100));
  TIdTrivialFTP client;
  Aim(client, "127.0.0.3", silent.Binding().Port);
  client.ReceiveTimeout = 150;
  try {
    client.Put(*source, "image.cds");
    FAIL() << "no exception";
  } catch (const net::EIdTFTPException& ex) {
    EXPECT_STREQ(ex.ClassName(), "EIdTFTPException");
    EXPECT_EQ(ex.Message(), "Timeout");
  }
  silent.SetActive(false);
  ASSERT_EQ(got.size(), static_cast<size_t>(1 + TIdTrivialFTP::kMaxRetransmits));
  for (const auto& d : got) EXPECT_EQ(d, got[0]) << "the same request each time";
  EXPECT_EQ(net::TftpOpcode(got[0]), net::TFTP_WRQ);
  EXPECT_EQ(net::TftpTexts(got[0], 2),
            (std::vector<std::string>{"image.cds", "octet", "blksize", "1500"}));
}

// A hand-driven server on one port: it acknowledges ahead of what was sent,
// which the client must ignore (and then send its block again on the
// time-out), and it answers the request with an acknowledgement of block 0,
// so 512-byte blocks follow.
TEST(TrivialFTPFaults, AcknowledgementAheadIsIgnored) {
  net::TUDPClient server;
  server.BoundIP = "127.0.0.3";
  server.RealTimeWaits = true;
  server.BufferSize = 2000;
  server.Open();
  const rtl::Word port = server.Binding().Port;

  std::vector<net::TBytes> received;
  std::thread script([&] {
    net::TBytes d;
    auto next = [&] {
      if (!server.ReceiveBuffer(d, 3000)) throw std::runtime_error("client silent");
      received.push_back(d);
    };
    auto reply = [&](const net::TBytes& p) { server.SendBuffer(server.PeerIP(), server.PeerPort(), p); };
    try {
      next();  // the request
      reply(net::TftpAckPacket(0));
      next();                         // block 1
      reply(net::TftpAckPacket(5));   // ahead: ignored
      reply(net::TftpAckPacket(0));   // old: ignored
      next();                         // block 1 again after the time-out
      reply(net::TftpAckPacket(1));
      next();  // block 2, the last
      reply(net::TftpAckPacket(2));
    } catch (...) {
    }
  });
  const auto bytes = SomeBytes(700);
  auto source = StreamOf(bytes);
  TIdTrivialFTP client;
  Aim(client, "127.0.0.3", port);
  client.ReceiveTimeout = 300;
  client.Put(*source, "image.cds");
  script.join();

  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(net::TftpOpcode(received[1]), net::TFTP_DATA);
  EXPECT_EQ(net::TftpNumber(received[1]), 1);
  EXPECT_EQ(received[1].size(), 4u + 512u);
  EXPECT_EQ(received[2], received[1]) << "block 1 sent again after the time-out, not block 6";
  EXPECT_EQ(net::TftpNumber(received[3]), 2);
  EXPECT_EQ(received[3].size(), 4u + 700u - 512u);
  EXPECT_EQ(client.Retransmissions(), 1);
  EXPECT_EQ(client.BlockSize(), 512);
}

TEST(TrivialFTPFaults, PacketLayouts) {
  EXPECT_EQ(net::TftpRequestPacket(net::TFTP_WRQ, "image.cds", "octet", {{"blksize", "1500"}}),
            (net::TBytes{0, 2, 'i', 'm', 'a', 'g', 'e', '.', 'c', 'd', 's', 0, 'o', 'c', 't', 'e', 't', 0,
                         'b', 'l', 'k', 's', 'i', 'z', 'e', 0, '1', '5', '0', '0', 0}));
  const rtl::Byte payload[] = {9, 8, 7};
  EXPECT_EQ(net::TftpDataPacket(0x1234, payload, 3), (net::TBytes{0, 3, 0x12, 0x34, 9, 8, 7}));
  EXPECT_EQ(net::TftpAckPacket(65535), (net::TBytes{0, 4, 0xFF, 0xFF}));
  EXPECT_EQ(net::TftpErrorPacket(5, "Unknown transfer ID"),
            (net::TBytes{0, 5, 0, 5, 'U', 'n', 'k', 'n', 'o', 'w', 'n', ' ', 't', 'r', 'a', 'n', 's', 'f', 'e',
                         'r', ' ', 'I', 'D', 0}));
  EXPECT_EQ(net::TftpErrorMessage(net::TftpErrorPacket(1, "gone")), "gone");
  EXPECT_EQ(net::TftpOpcode(net::TBytes{0}), 0);
  EXPECT_EQ(net::TftpNumber(net::TBytes{0, 4, 1}), 0);

  struct Code {
    rtl::Word code;
    const char* cls;
  } codes[] = {{1, "EIdTFTPFileNotFound"},      {2, "EIdTFTPAccessViolation"},
               {3, "EIdTFTPAllocationExceeded"}, {4, "EIdTFTPIllegalOperation"},
               {5, "EIdTFTPUnknownTransferID"},  {6, "EIdTFTPFileAlreadyExists"},
               {7, "EIdTFTPNoSuchUser"},         {8, "EIdTFTPOptionNegotiationFailed"},
               {0, "EIdTFTPException"},          {99, "EIdTFTPException"}};
  for (const auto& c : codes) {
    SCOPED_TRACE(c.cls);
    try {
      net::RaiseTftpError(c.code, "m");
    } catch (const net::EIdTFTPException& e) {
      EXPECT_STREQ(e.ClassName(), c.cls);
      EXPECT_EQ(e.Message(), "m");
      EXPECT_EQ(net::TftpErrorCodeOf(e), c.code == 99 ? 0 : c.code);
    }
  }
  EXPECT_EQ(net::TftpErrorCodeOf(rtl::EWriteError("x")), 0);
}

namespace {

// A server driven by hand from one port, answering the client's packets
// from a script on its own thread; it keeps what it received.
class ScriptedServer {
 public:
  ScriptedServer() {
    sock_.BoundIP = "127.0.0.3";
    sock_.RealTimeWaits = true;
    sock_.BufferSize = 70000;
    sock_.Open();
    port_ = sock_.Binding().Port;
  }
  ~ScriptedServer() {
    if (thread_.joinable()) thread_.join();
  }
  // Read once when bound: the binding also holds the latest sender, which the
  // server's thread rewrites.
  rtl::Word Port() const { return port_; }
  // Each step: the answers to send after the next packet arrives.
  void Run(std::vector<std::vector<net::TBytes>> steps) {
    thread_ = std::thread([this, steps = std::move(steps)] {
      for (const auto& answers : steps) {
        net::TBytes d;
        if (!sock_.ReceiveBuffer(d, 3000)) return;
        received.push_back(d);
        for (const auto& a : answers) sock_.SendBuffer(sock_.PeerIP(), sock_.PeerPort(), a);
      }
      net::TBytes d;
      while (sock_.ReceiveBuffer(d, 300)) received.push_back(d);  // whatever else comes
    });
  }
  void Join() { thread_.join(); }
  std::vector<net::TBytes> received;

 private:
  net::TUDPClient sock_;
  rtl::Word port_ = 0;
  std::thread thread_;
};

}  // namespace

TEST(TrivialFTPFaults, OnlyTheFirstOptionIsLookedAt) {
  ScriptedServer s;
  s.Run({{net::TftpOptionAckPacket({{"tsize", "700"}, {"blksize", "1000"}})}, {net::TftpAckPacket(1)},
         {net::TftpAckPacket(2)}});
  auto source = StreamOf(SomeBytes(700));
  TIdTrivialFTP client;
  Aim(client, "127.0.0.3", s.Port());
  client.Put(*source, "image.cds");
  s.Join();
  EXPECT_EQ(client.BlockSize(), 512) << "the block-size option was not the first";
  ASSERT_EQ(s.received.size(), 3u);
  EXPECT_EQ(s.received[1].size(), 4u + 512u);
}

TEST(TrivialFTPFaults, ReadTransferFailures) {
  // A stream that takes nothing: the client tells the server and raises.
  struct FullStream : rtl::TMemoryStream {
    rtl::Integer Write(const void*, rtl::Integer) override { return 0; }
  };
  {
    ScriptedServer s;
    const auto block = SomeBytes(100);
    s.Run({{net::TftpDataPacket(1, block.data(), block.size())}});
    FullStream dest;
    TIdTrivialFTP client;
    Aim(client, "127.0.0.3", s.Port());
    EXPECT_THROW(client.Get("f.bin", dest), rtl::EWriteError);
    s.Join();
    ASSERT_EQ(s.received.size(), 2u);
    EXPECT_EQ(net::TftpOpcode(s.received[0]), net::TFTP_RRQ);
    EXPECT_EQ(net::TftpOpcode(s.received[1]), net::TFTP_ERROR);
    EXPECT_EQ(net::TftpNumber(s.received[1]), 0) << "no protocol code for a write error";
    EXPECT_EQ(net::TftpErrorMessage(s.received[1]), "Stream write error");
  }
  {
    // An acknowledgement during a read is no answer a reader expects.
    ScriptedServer s;
    s.Run({{net::TftpAckPacket(1)}});
    rtl::TMemoryStream dest;
    TIdTrivialFTP client;
    Aim(client, "127.0.0.3", s.Port());
    try {
      client.Get("f.bin", dest);
      ADD_FAILURE() << "no exception";
    } catch (const net::EIdTFTPException& e) {
      EXPECT_EQ(e.Message(), "Unexpected operation from 127.0.0.3:" + std::to_string(s.Port()));
    }
    s.Join();
  }
  {
    // A lost acknowledgement during a read: the block comes again and is
    // acknowledged again, but stored once.
    ScriptedServer s;
    const auto one = SomeBytes(512, 1), two = SomeBytes(10, 2);
    s.Run({{net::TftpDataPacket(1, one.data(), one.size())},
           {net::TftpDataPacket(1, one.data(), one.size())},
           {net::TftpDataPacket(2, two.data(), two.size())},
           {}});
    rtl::TMemoryStream dest;
    TIdTrivialFTP client;
    Aim(client, "127.0.0.3", s.Port());
    client.RequestedBlockSize = 512;
    client.Get("f.bin", dest);
    s.Join();
    EXPECT_EQ(dest.Size(), 522);
    ASSERT_EQ(s.received.size(), 4u);
    EXPECT_EQ(s.received[1], net::TftpAckPacket(1));
    EXPECT_EQ(s.received[2], net::TftpAckPacket(1));
    EXPECT_EQ(s.received[3], net::TftpAckPacket(2));
  }
}
