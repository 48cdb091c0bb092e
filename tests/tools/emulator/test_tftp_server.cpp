// The emulator's TFTP server: against curl's TFTP client (a real peer) for
// block sizes, the block-number wrap and refusals, and against a scripted
// client on a socket of our own for every fault switch.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "ModuleEmulator.h"
#include "TambletImage.h"
#include "TftpServer.h"
#include "net/UDPClient.h"
#include "rtl/Process.h"

using emulator::TTftpFaults;
using emulator::TTftpOptions;
using emulator::TTftpServer;
using emulator::TTftpTransfer;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> SampleImage(size_t pageBytes) {
  std::vector<uint8_t> page(pageBytes);
  for (size_t i = 0; i < page.size(); ++i) page[i] = static_cast<uint8_t>(i * 7 + 3);
  return tamblet::EncodeImage({{"index.htm", page}, {"img/logo.gif", {'G', 'I', 'F'}}});
}

std::string TempFile(const std::string& tag, const std::vector<uint8_t>& bytes) {
  const std::string path =
      ::testing::TempDir() + "tftp-" + tag + "-" + std::to_string(::getpid()) + ".bin";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

// curl's TFTP upload to the server; returns curl's exit code.
int CurlPut(const std::string& file, const std::string& ip, rtl::Word port,
            std::vector<std::string> extra, const std::string& remote = "image.cds") {
  rtl::TProcessOptions o;
  o.Program = "curl";
  o.Arguments = {"--silent", "--show-error", "--noproxy", "*", "--max-time", "60", "-T", file};
  o.Arguments.insert(o.Arguments.end(), extra.begin(), extra.end());
  o.Arguments.push_back("tftp://" + ip + ":" + std::to_string(port) + "/" + remote);
  o.CaptureOutput = true;
  return static_cast<int>(rtl::RunProgram(o));
}

std::unique_ptr<TTftpServer> Server(const std::string& ip, const TTftpFaults& faults = {},
                                    int timeoutMs = 5000, int dallyMs = 300) {
  TTftpOptions o;
  o.IP = ip;
  o.TimeoutMs = timeoutMs;
  o.DallyMs = dallyMs;
  auto s = std::make_unique<TTftpServer>(o);
  s->SetFaults(faults);
  s->Start();
  return s;
}

// A TFTP client written out packet by packet.
struct Packet {
  int opcode = -1;
  int block = -1;  // or the error code
  std::string text;  // error message, or the option text of an OACK
  size_t size = 0;
  std::string fromIP;
  rtl::Word fromPort = 0;
};

class ScriptedClient {
 public:
  ScriptedClient(const TTftpServer& server, const std::string& ip) : serverIP_(ip) {
    sock_.BoundIP = "127.0.0.1";
    sock_.RealTimeWaits = true;
    sock_.BufferSize = 70000;
    serverPort_ = server.Port();
  }
  void Request(int opcode, const std::string& name, int blksize) {
    net::TBytes d = {0, static_cast<rtl::Byte>(opcode)};
    auto put = [&](const std::string& s) {
      d.insert(d.end(), s.begin(), s.end());
      d.push_back(0);
    };
    put(name);
    put("octet");
    if (blksize > 0) {
      put("blksize");
      put(std::to_string(blksize));
    }
    sock_.SendBuffer(serverIP_, serverPort_, d);
  }
  // Data to the transfer port (learnt from the first answer).
  void Data(int block, size_t bytes) {
    net::TBytes d = {0, 3, static_cast<rtl::Byte>((block >> 8) & 0xFF),
                     static_cast<rtl::Byte>(block & 0xFF)};
    d.resize(4 + bytes, 'x');
    sock_.SendBuffer(serverIP_, transferPort_, d);
  }
  void Raw(const net::TBytes& d) { sock_.SendBuffer(serverIP_, transferPort_, d); }
  Packet Next(int timeoutMs = 2000) {
    net::TBytes d;
    Packet p;
    if (!sock_.ReceiveBuffer(d, static_cast<rtl::Cardinal>(timeoutMs))) return p;
    p.fromIP = sock_.PeerIP();
    p.fromPort = sock_.PeerPort();
    p.size = d.size();
    if (d.size() >= 2) p.opcode = (d[0] << 8) | d[1];
    if (d.size() >= 4) p.block = (d[2] << 8) | d[3];
    if (p.opcode == 6) p.text.assign(d.begin() + 2, d.end());
    if (p.opcode == 5) {
      p.text.assign(d.begin() + 4, d.end());
      p.text = p.text.substr(0, p.text.find('\0'));
    }
    if (transferPort_ == 0 && p.fromIP == serverIP_) transferPort_ = p.fromPort;
    return p;
  }
  rtl::Word TransferPort() const { return transferPort_; }

 private:
  net::TUDPClient sock_;
  std::string serverIP_;
  rtl::Word serverPort_ = 0;
  rtl::Word transferPort_ = 0;
};

std::string Option(const std::string& name, const std::string& value) {
  return name + std::string(1, '\0') + value + std::string(1, '\0');
}

}  // namespace

TEST(TftpServer, TakesImagesFromCurl) {
  auto server = Server("127.0.0.2");
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    std::vector<std::string> curlArgs;
    int blockSize;
    int blocks;
    bool image;
  } cases[] = {
      {"requested block size", SampleImage(5000), {"--tftp-blksize", "1500"}, 1500, 0, true},
      {"no options: 512-byte blocks", SampleImage(1200), {"--tftp-no-options"}, 512, 0, true},
      {"exact multiple ends with an empty block", std::vector<uint8_t>(3000, 0x5A),
       {"--tftp-blksize", "1500"}, 1500, 3, false},
      {"empty file", {}, {"--tftp-blksize", "1500"}, 1500, 1, false},
  };
  size_t n = 0;
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = TempFile("curl", c.bytes);
    EXPECT_EQ(CurlPut(file, "127.0.0.2", server->Port(), c.curlArgs), 0);
    ASSERT_TRUE(server->WaitForFinished(++n, 5000));
    const TTftpTransfer t = server->Transfers()[n - 1];
    EXPECT_TRUE(t.Complete) << t.Failure;
    EXPECT_EQ(t.FileName, "image.cds");
    EXPECT_EQ(t.Mode, "octet");
    EXPECT_EQ(t.BlockSize, c.blockSize);
    EXPECT_TRUE(t.Data == c.bytes);
    const int blocks = static_cast<int>(c.bytes.size()) / c.blockSize + 1;
    EXPECT_EQ(t.Blocks, c.blocks ? c.blocks : blocks);
    EXPECT_EQ(t.ImageValid, c.image) << t.ImageCheck;
    if (c.image) {
      EXPECT_EQ(t.ImageCheck, "2 files");
    }
    fs::remove(file);
  }
}

// More than 65,535 blocks: the block number wraps from 65535 to 0. (A
// scripted client: curl's TFTP client paces itself at about ten seconds for
// this many blocks.)
TEST(TftpServer, BlockNumbersWrap) {
#if defined(__SANITIZE_THREAD__)
  // 65,537 round trips are paced by system calls, which the thread sanitizer
  // slows tenfold; the transfer code is the same as in the other tests here.
  GTEST_SKIP() << "run in the normal build only";
#endif
  auto server = Server("127.0.0.3");
  ScriptedClient c(*server, "127.0.0.3");
  c.Request(2, "image.cds", 8);
  ASSERT_EQ(c.Next().opcode, 6);
  const int blocks = 65537;  // the last one short
  for (int n = 1; n <= blocks; ++n) {
    c.Data(n & 0xFFFF, n == blocks ? 5 : 8);
    Packet ack = c.Next();
    ASSERT_EQ(ack.opcode, 4) << n;
    ASSERT_EQ(ack.block, n & 0xFFFF) << n;
  }
  ASSERT_TRUE(server->WaitForFinished(1, 5000));
  const TTftpTransfer t = server->Transfers()[0];
  EXPECT_TRUE(t.Complete) << t.Failure;
  EXPECT_EQ(t.Blocks, blocks);
  EXPECT_EQ(t.Data.size(), 65536u * 8 + 5);
  EXPECT_EQ(t.RepeatedPackets, 0) << "block 0 after 65535 is new, not a repeat";
}

TEST(TftpServer, RefusalsReachTheClient) {
  TTftpFaults f;
  f.ErrorAt = 0;
  f.ErrorCode = 2;
  f.ErrorMessage = "Module is locked";
  auto server = Server("127.0.0.4", f);
  const std::string file = TempFile("refused", SampleImage(100));
  EXPECT_NE(CurlPut(file, "127.0.0.4", server->Port(), {}), 0);
  ASSERT_TRUE(server->WaitForFinished(1, 5000));
  EXPECT_FALSE(server->Transfers()[0].Complete);

  // Requests a module never takes, answered from the server port.
  ScriptedClient c(*server, "127.0.0.4");
  struct Case {
    int opcode;
    const char* name;
    int code;
    const char* message;
  } cases[] = {{1, "image.cds", 1, "File not found"},
               {2, "other.bin", 2, "Access violation"},
               {9, "image.cds", 4, "Illegal TFTP operation"}};
  for (const auto& k : cases) {
    c.Request(k.opcode, k.name, 0);
    Packet p = c.Next();
    EXPECT_EQ(p.opcode, 5);
    EXPECT_EQ(p.block, k.code);
    EXPECT_EQ(p.text, k.message);
  }
  EXPECT_EQ(server->Transfers().size(), 1u);
  fs::remove(file);
}

TEST(TftpServer, OptionAnswers) {
  struct Case {
    const char* what;
    TTftpFaults faults;
    int asked;
    int opcode;         // of the first answer
    std::string text;   // its option text
    int blockSize;
  } cases[] = {
      {"accepted", {}, 1500, 6, Option("blksize", "1500"), 1500},
      {"another size", [] { TTftpFaults f; f.OptionBlockSize = 700; return f; }(), 1500, 6,
       Option("blksize", "700"), 700},
      {"refused", [] { TTftpFaults f; f.RefuseOption = true; return f; }(), 1500, 4, "", 512},
      {"out of range", {}, 4, 4, "", 512},
      {"none asked", {}, 0, 4, "", 512},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    auto server = Server("127.0.0.5", k.faults);
    ScriptedClient c(*server, "127.0.0.5");
    c.Request(2, "IMAGE.CDS", k.asked);
    Packet p = c.Next();
    EXPECT_EQ(p.opcode, k.opcode);
    if (k.opcode == 6) {
      EXPECT_EQ(p.text, k.text);
    } else {
      EXPECT_EQ(p.block, 0);
    }
    EXPECT_NE(p.fromPort, server->Port()) << "answers come from the transfer port";
    c.Data(1, 3);
    EXPECT_EQ(c.Next().block, 1);
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_EQ(server->Transfers()[0].BlockSize, k.blockSize);
    EXPECT_EQ(server->Transfers()[0].RequestedBlockSize, k.asked);
  }
}

TEST(TftpServer, AcknowledgementFaults) {
  {  // a lost acknowledgement: the client's repeat is acknowledged
    TTftpFaults f;
    f.DropAckOf = 2;
    auto server = Server("127.0.0.6", f);
    ScriptedClient c(*server, "127.0.0.6");
    c.Request(2, "image.cds", 512);
    c.Next();
    c.Data(1, 512);
    EXPECT_EQ(c.Next().block, 1);
    c.Data(2, 512);
    EXPECT_EQ(c.Next(300).opcode, -1) << "lost";
    c.Data(2, 512);
    EXPECT_EQ(c.Next().block, 2);
    c.Data(3, 0);
    EXPECT_EQ(c.Next().block, 3);
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    const TTftpTransfer t = server->Transfers()[0];
    EXPECT_TRUE(t.Complete);
    EXPECT_EQ(t.Data.size(), 1024u);
    EXPECT_EQ(t.DataPackets, 4);
    EXPECT_EQ(t.RepeatedPackets, 1);
  }
  {  // a duplicated acknowledgement
    TTftpFaults f;
    f.DuplicateAckOf = 1;
    auto server = Server("127.0.0.7", f);
    ScriptedClient c(*server, "127.0.0.7");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Data(1, 512);
    EXPECT_EQ(c.Next().block, 1);
    EXPECT_EQ(c.Next().block, 1);
    c.Data(2, 10);
    EXPECT_EQ(c.Next().block, 2);
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_EQ(server->Transfers()[0].AcksSent, 3) << "block 1 twice, block 2 once";
  }
  {  // a stray datagram from another port of the module
    TTftpFaults f;
    f.StrayAfter = 1;
    auto server = Server("127.0.0.8", f);
    ScriptedClient c(*server, "127.0.0.8");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Data(1, 512);
    Packet ack = c.Next();
    Packet stray = c.Next();
    EXPECT_EQ(ack.block, 1);
    EXPECT_EQ(ack.fromPort, c.TransferPort());
    EXPECT_EQ(stray.opcode, 4);
    EXPECT_NE(stray.fromPort, c.TransferPort());
    EXPECT_NE(stray.fromPort, server->Port());
  }
  {  // silence after the last block, also for its repeat
    TTftpFaults f;
    f.SilentAfterLastBlock = true;
    // The repeat goes 300 ms after the last block: the server must still be
    // listening then, so it dallies well past that.
    auto server = Server("127.0.0.9", f, 5000, 2000);
    ScriptedClient c(*server, "127.0.0.9");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Data(1, 100);
    EXPECT_EQ(c.Next(300).opcode, -1);
    c.Data(1, 100);
    EXPECT_EQ(c.Next(300).opcode, -1);
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_TRUE(server->Transfers()[0].Complete);
    EXPECT_EQ(server->Transfers()[0].RepeatedPackets, 1);
  }
  {  // an error packet for a block
    TTftpFaults f;
    f.ErrorAt = 2;
    auto server = Server("127.0.0.10", f);
    ScriptedClient c(*server, "127.0.0.10");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Data(1, 512);
    c.Next();
    c.Data(2, 512);
    Packet p = c.Next();
    EXPECT_EQ(p.opcode, 5);
    EXPECT_EQ(p.block, 3);
    EXPECT_EQ(p.text, "Disk full or allocation exceeded");
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_FALSE(server->Transfers()[0].Complete);
  }
}

TEST(TftpServer, StrangersTimeOutsAndClientErrors) {
  {  // a datagram from another port to the transfer port gets error 5
    auto server = Server("127.0.0.11");
    ScriptedClient c(*server, "127.0.0.11");
    c.Request(2, "image.cds", 0);
    c.Next();
    net::TUDPClient stranger;
    stranger.BoundIP = "127.0.0.1";
    stranger.RealTimeWaits = true;
    stranger.SendBuffer("127.0.0.11", c.TransferPort(), net::TBytes{0, 3, 0, 1, 'z'});
    net::TBytes d;
    ASSERT_TRUE(stranger.ReceiveBuffer(d, 2000));
    ASSERT_GE(d.size(), 4u);
    EXPECT_EQ(d[1], 5);
    EXPECT_EQ(d[3], 5);
    c.Data(1, 7);
    EXPECT_EQ(c.Next().block, 1);
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_EQ(server->Transfers()[0].Data.size(), 7u) << "the stranger's byte was not taken";
    EXPECT_EQ(server->Transfers()[0].StrangersRefused, 1);
  }
  {  // a client that goes quiet: the last answer is repeated, then the server gives up
    auto server = Server("127.0.0.12", {}, /*timeoutMs=*/200);
    ScriptedClient c(*server, "127.0.0.12");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Data(1, 512);
    int acks = 0;
    while (c.Next(600).opcode == 4) ++acks;
    EXPECT_EQ(acks, 4) << "the acknowledgement and three repeats";
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_EQ(server->Transfers()[0].Failure, "timed out waiting for block 2");
  }
  {  // the client gives up with an error packet
    auto server = Server("127.0.0.13");
    ScriptedClient c(*server, "127.0.0.13");
    c.Request(2, "image.cds", 0);
    c.Next();
    c.Raw({0, 5, 0, 0, 'g', 'i', 'v', 'e', 'n', ' ', 'u', 'p', 0});
    ASSERT_TRUE(server->WaitForFinished(1, 2000));
    EXPECT_EQ(server->Transfers()[0].Failure, "client sent error 0: given up");
  }
}

// The program end to end: curl puts an image, the emulator saves it and
// records the transfer.
TEST(ModuleEmulatorProgram, ReceivesAnImageByTftp) {
  const std::string dir = ::testing::TempDir() + "emulator-tftp-" + std::to_string(::getpid());
  fs::create_directories(dir);
  const std::string ready = dir + "/ready", record = dir + "/record.txt", saved = dir + "/got.cds";
  rtl::TProcessOptions po;
  po.Program = std::string(TOLVANE_BIN_DIR) + "/module-emulator";
  po.Arguments = {"--ip", "127.0.0.14", "--announce-port", "0", "--ready-file", ready,
                  "--record", record, "--tftp-save", saved};
  po.CaptureOutput = true;
  rtl::TProcess p(po);
  for (int i = 0; i < 200 && !fs::exists(ready); ++i) ::usleep(10000);
  ASSERT_TRUE(fs::exists(ready)) << p.StdErr();

  // The TFTP port as the module reports it.
  std::string line;
  std::getline(std::ifstream(ready) >> std::ws, line);
  const int commandPort = std::stoi(line.substr(line.find(' ') + 1));
  net::TUDPClient ask;
  ask.BoundIP = "127.0.0.1";
  ask.RealTimeWaits = true;
  ask.SendBuffer("127.0.0.14", static_cast<rtl::Word>(commandPort), net::TextToBytes("AT*TFTP?"));
  net::TBytes answer;
  ASSERT_TRUE(ask.ReceiveBuffer(answer, 2000));
  const std::string tftp = net::BytesToText(answer);
  ASSERT_EQ(tftp.rfind("TFTP=", 0), 0u) << tftp;
  const auto port = static_cast<rtl::Word>(std::stoi(tftp.substr(5)));

  const auto image = SampleImage(40000);
  const std::string file = TempFile("program", image);
  EXPECT_EQ(CurlPut(file, "127.0.0.14", port, {"--tftp-blksize", "1500"}), 0);
  for (int i = 0; i < 200 && !fs::exists(saved); ++i) ::usleep(10000);
  ::kill(p.Pid(), SIGTERM);
  ASSERT_TRUE(p.WaitFor(5000));
  EXPECT_EQ(p.ExitCode(), 0u);

  std::ifstream in(saved, std::ios::binary);
  std::vector<uint8_t> got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(got == image);
  std::stringstream rec;
  rec << std::ifstream(record).rdbuf();
  EXPECT_NE(rec.str().find(" tftp 127.0.0.1:"), std::string::npos) << rec.str();
  EXPECT_NE(rec.str().find(" image.cds " + std::to_string(image.size()) + " bytes in " +
                           std::to_string(image.size() / 1500 + 1) +
                           " blocks of 1500, complete, image valid: 2 files"),
            std::string::npos)
      << rec.str();
  fs::remove_all(dir);
  fs::remove(file);
}
