// The TFTP client against Debian's TFTP server on loopback: block sizes
// accepted, negotiated down and refused, the 16-bit block number wrapping,
// the server's error packets, and the read transfer. Every file that
// arrives is compared byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "TftpdPeer.h"
#include "core/TrivialFTPU.h"
#include "net/TftpClientBase.h"
#include "rtl/Streams.h"

using core::TIdTrivialFTP;
using tftp_test::SomeBytes;
using tftp_test::Tftpd;
using tftp_test::TftpdOptions;

namespace {

void Fill(rtl::TMemoryStream& s, const std::vector<unsigned char>& bytes) {
  s.Clear();
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<rtl::Integer>(bytes.size()));
  s.SetPosition(0);
}

std::vector<unsigned char> Contents(rtl::TMemoryStream& s) {
  const auto* p = static_cast<const unsigned char*>(s.Memory());
  return std::vector<unsigned char>(p, p + s.Size());
}

// What a client saw of its transfer through its events.
struct Recorded {
  rtl::Int64 workBegin = -1;
  rtl::Int64 workTotal = 0;
  int workEvents = 0;
  int workEnds = 0;
  std::vector<std::string> status;
};

void Record(TIdTrivialFTP& c, Recorded& r) {
  c.OnWorkBegin = [&r](net::TUDPClient&, net::TWorkMode, rtl::Int64 n) { r.workBegin = n; };
  c.OnWork = [&r](net::TUDPClient&, net::TWorkMode, rtl::Int64 total) {
    r.workTotal = total;
    ++r.workEvents;
  };
  c.OnWorkEnd = [&r](net::TUDPClient&, net::TWorkMode) { ++r.workEnds; };
  c.OnStatus = [&r](TIdTrivialFTP&, const std::string& s) { r.status.push_back(s); };
}

}  // namespace

TEST(TrivialFTP, Defaults) {
  TIdTrivialFTP c;
  EXPECT_EQ(c.Port, 69);
  EXPECT_EQ(c.ReceiveTimeout, 4000u);
  EXPECT_EQ(c.RequestedBlockSize, 1500);
  EXPECT_EQ(c.TransferMode, core::TIdTFTPMode::tfOctet);
  EXPECT_EQ(c.GetModeWord(), "octet");
  c.TransferMode = core::TIdTFTPMode::tfNetAscii;
  EXPECT_EQ(c.GetModeWord(), "netascii");
}

TEST(TrivialFTP, PutToTftpdArrivesWhole) {
  struct Case {
    const char* what;
    TftpdOptions server;
    int requested;
    size_t size;
    int blockSize;   // the size the transfer used
    int dataEvents;  // data packets sent, the empty last one included
  } cases[] = {
      {"block size accepted", {"127.0.0.1", 65464, false, ""}, 1500, 100000, 1500, 67},
      {"exact multiple ends with an empty block", {"127.0.0.1", 65464, false, ""}, 1500, 3000, 1500, 3},
      {"negotiated down", {"127.0.0.1", 1024, false, ""}, 1500, 50000, 1024, 49},
      {"option refused: 512-byte blocks", {"127.0.0.1", 65464, true, ""}, 1500, 512 * 20, 512, 21},
      {"empty file", {"127.0.0.1", 65464, false, ""}, 1500, 0, 1500, 1},
      {"block number wraps after 65535", {"127.0.0.1", 65464, false, ""}, 8, 8 * 70000 + 3, 8, 70001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Tftpd server(c.server);
    const auto bytes = SomeBytes(c.size);
    rtl::TMemoryStream source;
    Fill(source, bytes);

    TIdTrivialFTP client;
    client.Host = server.IP();
    client.Port = static_cast<rtl::Word>(server.Port());
    client.RequestedBlockSize = c.requested;
    Recorded r;
    Record(client, r);
    client.Put(source, "image.cds");

    EXPECT_EQ(client.BlockSize(), c.blockSize);
    EXPECT_EQ(server.Received("image.cds", c.size), bytes);
    EXPECT_EQ(r.workBegin, static_cast<rtl::Int64>(c.size));
    EXPECT_EQ(r.workTotal, static_cast<rtl::Int64>(c.size));
    EXPECT_EQ(r.workEvents, c.dataEvents);
    EXPECT_EQ(r.workEnds, 1);
    EXPECT_EQ(client.Retransmissions(), 0);
    EXPECT_EQ(client.StrangersRefused(), 0);
    EXPECT_TRUE(client.PeerLocked());
    EXPECT_NE(client.TransferPort(), server.Port()) << "the server answers from a transfer port";
    EXPECT_FALSE(client.Active()) << "the socket is closed after the transfer";
    ASSERT_FALSE(r.status.empty());
    EXPECT_EQ(r.status.back(), "Sent " + std::to_string(c.size) + " bytes of image.cds");
  }
}

TEST(TrivialFTP, PutSendsFromTheStreamPosition) {
  Tftpd server;
  const auto bytes = SomeBytes(5000);
  rtl::TMemoryStream source;
  Fill(source, bytes);
  source.SetPosition(1000);
  TIdTrivialFTP client;
  client.Host = server.IP();
  client.Port = static_cast<rtl::Word>(server.Port());
  client.Put(source, "tail.bin");
  EXPECT_EQ(server.Received("tail.bin", 4000), std::vector<unsigned char>(bytes.begin() + 1000, bytes.end()));
  EXPECT_EQ(source.Position(), 5000);
}

TEST(TrivialFTP, GetFromTftpdAppendsTheFile) {
  struct Case {
    const char* what;
    TftpdOptions server;
    int requested;
    size_t size;
    int blockSize;
  } cases[] = {
      {"block size accepted", {"127.0.0.1", 65464, false, ""}, 1500, 70000, 1500},
      {"exact multiple", {"127.0.0.1", 65464, false, ""}, 1500, 4500, 1500},
      {"negotiated down", {"127.0.0.1", 600, false, ""}, 1500, 10000, 600},
      {"option refused", {"127.0.0.1", 65464, true, ""}, 1500, 5000, 512},
      {"empty file", {"127.0.0.1", 65464, false, ""}, 1500, 0, 1500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Tftpd server(c.server);
    const auto bytes = SomeBytes(c.size, 11);
    std::ofstream(server.Root() / "served.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    rtl::TMemoryStream dest;
    dest.WriteBuffer("head", 4);
    TIdTrivialFTP client;
    client.Host = server.IP();
    client.Port = static_cast<rtl::Word>(server.Port());
    client.RequestedBlockSize = c.requested;
    Recorded r;
    Record(client, r);
    client.Get("served.bin", dest);

    auto got = Contents(dest);
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(std::string(got.begin(), got.begin() + 4), "head");
    EXPECT_EQ(std::vector<unsigned char>(got.begin() + 4, got.end()), bytes);
    EXPECT_EQ(client.BlockSize(), c.blockSize);
    EXPECT_EQ(r.workTotal, static_cast<rtl::Int64>(c.size));
    EXPECT_EQ(r.workEnds, 1);
  }
}

TEST(TrivialFTP, ServerErrorsRaiseTheirClasses) {
  TftpdOptions o;
  o.RemapRules = "a ^denied";  // requests for such names are refused: access violation
  Tftpd server(o);
  std::filesystem::create_directory(server.Root() / "folder.cds");

  struct Case {
    const char* what;
    bool put;
    std::string name;
    const char* exceptionClass;
    rtl::Word code;
  } cases[] = {
      {"read of a missing file", false, "no-such-file.bin", "EIdTFTPFileNotFound", 1},
      {"write into a missing folder", true, "a/b/c.cds", "EIdTFTPFileNotFound", 1},
      {"write refused by a rule", true, "denied.cds", "EIdTFTPAccessViolation", 2},
      {"read refused by a rule", false, "denied.cds", "EIdTFTPAccessViolation", 2},
      {"request without a name", true, "", "EIdTFTPIllegalOperation", 4},
      {"a folder where the file goes: code 0", true, "folder.cds", "EIdTFTPException", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TIdTrivialFTP client;
    client.Host = server.IP();
    client.Port = static_cast<rtl::Word>(server.Port());
    Recorded r;
    Record(client, r);
    rtl::TMemoryStream stream;
    Fill(stream, SomeBytes(100));
    try {
      if (c.put)
        client.Put(stream, c.name);
      else
        client.Get(c.name, stream);
      ADD_FAILURE() << "no exception";
    } catch (const net::EIdTFTPException& e) {
      EXPECT_STREQ(e.ClassName(), c.exceptionClass) << e.Message();
      EXPECT_EQ(net::TftpErrorCodeOf(e), c.code);
      EXPECT_FALSE(e.Message().empty()) << "the server's message";
    }
    EXPECT_EQ(r.workEnds, 1) << "work end fires after an exception too";
    EXPECT_FALSE(client.Active());
    if (!c.put) {
      EXPECT_EQ(stream.Size(), 100) << "nothing appended";
    }
  }
}

TEST(TrivialFTP, PutThenGetRoundTrip) {
  Tftpd server;
  const auto bytes = SomeBytes(123457, 3);
  rtl::TMemoryStream source;
  Fill(source, bytes);
  TIdTrivialFTP client;
  client.Host = server.IP();
  client.Port = static_cast<rtl::Word>(server.Port());
  client.RequestedBlockSize = 1000;
  client.Put(source, "round.bin");
  server.Received("round.bin", bytes.size());
  rtl::TMemoryStream back;
  client.RequestedBlockSize = 700;
  client.Get("round.bin", back);
  EXPECT_EQ(Contents(back), bytes);
}
