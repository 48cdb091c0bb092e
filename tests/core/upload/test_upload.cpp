// Image upload: the module data module and the programmer's worker against
// the module emulator (port query, transfer, progress, failures), and verb U
// of the real tolvane program end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <tuple>

#include "../TestSupport.h"
#include "../programmer/FastClock.h"
#include "../tftp/TftpdPeer.h"
#include "ModuleEmulator.h"
#include "TambletImage.h"
#include "core/CdfsDeviceU.h"
#include "core/DebugBaseU.h"
#include "net/UDPServer.h"
#include "rtl/Exceptions.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"

namespace fs = std::filesystem;
using core::TcdfsDevice;
using emulator::TModuleEmulator;

namespace {

emulator::TEmulatorOptions Module(const std::string& ip) {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.AnnouncePort = 0;
  o.TftpDallyMs = 300;
  return o;
}

std::string AddressOf(const TModuleEmulator& m) { return m.IP() + ":" + std::to_string(m.CommandPort()); }

// A dialog that remembers what it was told.
struct RecordingDialog : core::IProgressDialog {
  void SetCaption(const std::string& c) override { caption = c; }
  void SetText(const std::string& t) override { texts.push_back(t); }
  void SetPosition(rtl::Integer p) override { positions.push_back(p); }
  void Show() override {
    ++shows;
    shown = true;
  }
  void Hide() override {
    ++hides;
    shown = false;
  }
  std::string caption;
  std::vector<std::string> texts;
  std::vector<int> positions;
  int shows = 0, hides = 0;
  bool shown = false;
};

class UploadTest : public ::testing::Test {
 protected:
  // A real image of a few pages, written to a file.
  std::vector<uint8_t> WriteImage(const std::string& name, size_t pageSize) {
    std::vector<tamblet::ImageFile> files = {
        {"index.htm", tftp_test::SomeBytes(pageSize, 1)},
        {"css/site.css", tftp_test::SomeBytes(pageSize / 3 + 1, 2)},
        {"img/logo.gif", tftp_test::SomeBytes(pageSize / 2 + 7, 3)},
    };
    auto image = tamblet::EncodeImage(files);
    std::ofstream(root_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return image;
  }

  // The programmer of a data module talks from a port of its own here.
  static void OwnPort(TcdfsDevice& d) { d.GetProgrammer().Connection().SetLocalPort(0); }

  core_test::ScratchFolder scratch_{"upload-test"};
  const fs::path& root_ = scratch_.Path();
};

}  // namespace

TEST_F(UploadTest, ImageArrivesWholeWithProgress) {
  auto o = Module("127.0.0.2");
  // One lost acknowledgement stalls the transfer for longer than a progress
  // step, so the dialog sees it half done.
  o.TftpFaults.DropAckOf = 20;
  TModuleEmulator m(o);
  m.Start();
  const auto image = WriteImage("site.cds", 20000);

  RecordingDialog dialog;
  TcdfsDevice device;
  OwnPort(device);
  device.GetProgrammer().TftpReceiveTimeout = 1200;
  device.ModuleAddress = AddressOf(m);
  device.MoxProgressDialog1 = &dialog;
  const std::string file = (root_ / "site.cds").string();
  ASSERT_TRUE(device.Upload(file)) << device.LastError();
  EXPECT_EQ(device.LastError(), "");

  ASSERT_TRUE(m.Tftp()->WaitForFinished(1, 5000));
  const auto t = m.Tftp()->Transfers().at(0);
  EXPECT_EQ(t.FileName, "image.cds");
  EXPECT_EQ(t.Mode, "octet");
  EXPECT_EQ(t.RequestedBlockSize, 1500);
  EXPECT_EQ(t.Data, image);
  EXPECT_TRUE(t.ImageValid) << t.ImageCheck;

  EXPECT_EQ(dialog.caption, "Uploading " + file);
  EXPECT_EQ(dialog.shows, 1);
  EXPECT_EQ(dialog.hides, 1);
  EXPECT_FALSE(dialog.shown);
  ASSERT_GE(dialog.positions.size(), 3u);
  EXPECT_EQ(dialog.positions.front(), 0);
  EXPECT_EQ(dialog.positions.back(), 100);
  EXPECT_TRUE(std::is_sorted(dialog.positions.begin(), dialog.positions.end()));
  EXPECT_TRUE(std::any_of(dialog.positions.begin(), dialog.positions.end(), [](int p) { return p > 0 && p < 100; }))
      << "seen half done";
  ASSERT_FALSE(dialog.texts.empty());
  EXPECT_EQ(dialog.texts.back(), "Sent " + std::to_string(image.size()) + " bytes of image.cds");
  bool logged = false;
  for (const auto& line : core::TDebugLog::Global().Lines())
    logged = logged || line.find("TcdfsDevice -> Sent " + std::to_string(image.size())) != std::string::npos;
  EXPECT_TRUE(logged) << "the status texts are logged";
}

TEST_F(UploadTest, EmptyImageSendsOneEmptyBlock) {
  TModuleEmulator m(Module("127.0.0.2"));
  m.Start();
  std::ofstream(root_ / "empty.cds").close();
  RecordingDialog dialog;
  TcdfsDevice device;
  OwnPort(device);
  device.ModuleAddress = AddressOf(m);
  device.MoxProgressDialog1 = &dialog;
  EXPECT_TRUE(device.Upload((root_ / "empty.cds").string()));
  ASSERT_TRUE(m.Tftp()->WaitForFinished(1, 5000));
  const auto t = m.Tftp()->Transfers().at(0);
  EXPECT_TRUE(t.Complete);
  EXPECT_EQ(t.Blocks, 1);
  EXPECT_TRUE(t.Data.empty());
  for (int p : dialog.positions) EXPECT_EQ(p, 0);
}

TEST_F(UploadTest, FailuresCarryTheirMessageOut) {
  programmer_test::ScopedFastClock fast(20);
  WriteImage("site.cds", 5000);
  const std::string file = (root_ / "site.cds").string();
  struct Case {
    const char* what;
    std::function<void(emulator::TEmulatorOptions&)> setup;
    std::string error;
  } cases[] = {
      {"the module refuses the image", [](auto& o) { o.TftpFaults.ErrorAt = 2; },
       "Disk full or allocation exceeded"},
      {"the module's TFTP port is no number", [](auto& o) { o.Values = {{"TFTP", "none"}}; },
       "The device reported no usable TFTP port."},
      {"the module refuses the port query",
       [](auto& o) { o.Faults.ErrorKeys = {"TFTP"}; }, "The device did not tell its TFTP port."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto o = Module("127.0.0.2");
    c.setup(o);
    TModuleEmulator m(o);
    m.Start();
    RecordingDialog dialog;
    TcdfsDevice device;
    OwnPort(device);
    device.ModuleAddress = AddressOf(m);
    device.MoxProgressDialog1 = &dialog;
    EXPECT_FALSE(device.Upload(file));
    EXPECT_EQ(device.LastError(), c.error);
    EXPECT_EQ(dialog.hides, 1);
  }
}

TEST_F(UploadTest, SilentModuleAndMissingFileRaise) {
  programmer_test::ScopedFastClock fast(20);
  auto o = Module("127.0.0.2");
  o.Faults.Silent = true;
  TModuleEmulator m(o);
  m.Start();
  WriteImage("site.cds", 100);
  RecordingDialog dialog;
  TcdfsDevice device;
  OwnPort(device);
  device.ModuleAddress = AddressOf(m);
  device.MoxProgressDialog1 = &dialog;
  EXPECT_THROW(device.Upload((root_ / "site.cds").string()), core::EdeviceNotFound);
  EXPECT_EQ(dialog.hides, 1) << "hidden in every case";
  EXPECT_TRUE(m.Tftp()->Transfers().empty());

  RecordingDialog unused;
  device.MoxProgressDialog1 = &unused;
  EXPECT_THROW(device.Upload((root_ / "missing.cds").string()), rtl::EFOpenError);
  EXPECT_EQ(unused.shows, 0) << "nothing shown, nothing sent";
}

// A record with its TFTP port set skips the port query; a module that
// stops acknowledging fails the upload after the client's time-outs.
TEST_F(UploadTest, GivenPortIsUsedAsIsAndSilenceFails) {
  std::atomic<int> datagrams{0};
  net::TUDPServer deaf;
  deaf.SetBindIP("127.0.0.3");
  deaf.OnUDPRead = [&](net::TUDPServer&, const net::TBytes&, const net::TUDPBinding&) { ++datagrams; };
  deaf.SetActive(true);

  core::TvormekProgrammer p;
  p.TftpReceiveTimeout = 150;
  rtl::TMemoryStream data;
  data.WriteBuffer("abc", 3);
  data.SetPosition(0);
  core::TUploadData record;
  record.Host = "127.0.0.3:1";  // no module listens for commands there
  record.TFTPPort = deaf.Binding().Port;
  record.Stream = &data;
  std::vector<core::TUploadProgress> seen;
  p.OnUploadProgress = [&](core::TDeviceClient&, const core::TUploadProgress& progress) { seen.push_back(progress); };
  EXPECT_FALSE(p.Upload(record));
  EXPECT_EQ(p.UploadError(), "Timeout");
  EXPECT_EQ(datagrams.load(), 4) << "the request and three retransmissions";
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().BytesToSend, 3);
  EXPECT_EQ(seen.back().BytesDone, 0);
}

// Two uploads at once in one process keep to their own ends.
TEST_F(UploadTest, ConcurrentUploadsAreIndependent) {
  TModuleEmulator a(Module("127.0.0.2")), b(Module("127.0.0.3"));
  a.Start();
  b.Start();
  const auto small = WriteImage("small.cds", 3000);
  const auto big = WriteImage("big.cds", 300000);
  bool okBig = false;
  std::thread other([&] {
    TcdfsDevice d;
    OwnPort(d);
    d.ModuleAddress = AddressOf(b);
    okBig = d.Upload((root_ / "big.cds").string());
  });
  TcdfsDevice d;
  OwnPort(d);
  d.ModuleAddress = AddressOf(a);
  EXPECT_TRUE(d.Upload((root_ / "small.cds").string()));
  other.join();
  EXPECT_TRUE(okBig);
  ASSERT_TRUE(a.Tftp()->WaitForFinished(1, 5000));
  ASSERT_TRUE(b.Tftp()->WaitForFinished(1, 5000));
  EXPECT_EQ(a.Tftp()->Transfers().at(0).Data, small);
  EXPECT_EQ(b.Tftp()->Transfers().at(0).Data, big);
}

TEST_F(UploadTest, TerminalProgressWritesChangesOnly) {
  std::ostringstream out;
  core::TTerminalProgress t(out);
  t.SetCaption("Uploading x.cds");
  t.SetPosition(0);
  EXPECT_EQ(out.str(), "") << "not shown yet";
  t.Show();
  t.SetPosition(0);
  t.SetText("Sending image.cds to 127.0.0.2:69");
  t.SetPosition(40);
  t.SetText("Sending image.cds to 127.0.0.2:69");
  t.Hide();
  t.SetPosition(100);
  EXPECT_EQ(out.str(),
            "Uploading x.cds: 0%\n"
            "Uploading x.cds: 0% Sending image.cds to 127.0.0.2:69\n"
            "Uploading x.cds: 40% Sending image.cds to 127.0.0.2:69\n");
}

// Verb U of the program itself: it binds the command port 7137, so both
// runs are in one test and never overlap.
TEST_F(UploadTest, VerbUOfTheProgram) {
  const auto image = WriteImage("image.cds", 40000);
  auto run = [&](const std::string& address) {
    rtl::TProcessOptions p;
    p.Program = std::string(TOLVANE_BIN_DIR) + "/tolvane";
    p.Arguments = {"U", address, (root_ / "image.cds").string()};
    p.WorkingFolder = root_.string();
    p.Environment = std::vector<std::string>{"PATH=/usr/bin:/bin", "HOME=" + root_.string(),
                                             "TMPDIR=" + root_.string()};
    p.CaptureOutput = true;
    // Another program may hold the command port for a while (the batch
    // mode's own tests use it, and so does any other test run on the same
    // host): try again then.
    for (int attempt = 1;; ++attempt) {
      rtl::TProcess proc(p);
      EXPECT_TRUE(proc.WaitFor(60000));
      auto result = std::make_tuple(proc.ExitCode(), proc.StdOut(), proc.StdErr());
      if (attempt == 20 || std::get<2>(result).find("Could not bind socket") == std::string::npos)
        return result;
      std::this_thread::sleep_for(std::chrono::seconds(3));
    }
  };
  {
    TModuleEmulator m(Module("127.0.0.2"));
    m.Start();
    auto [code, out, err] = run(AddressOf(m));
    EXPECT_EQ(code, 0u) << err;
    ASSERT_TRUE(m.Tftp()->WaitForFinished(1, 5000));
    const auto t = m.Tftp()->Transfers().at(0);
    EXPECT_EQ(t.Data, image) << "byte for byte";
    EXPECT_TRUE(t.ImageValid) << t.ImageCheck;
    EXPECT_NE(out.find("Uploading " + (root_ / "image.cds").string() + ": "), std::string::npos) << out;
    EXPECT_NE(out.find("Uploaded " + (root_ / "image.cds").string() + " to " + AddressOf(m)), std::string::npos)
        << out;
    EXPECT_EQ(err, "");
  }
  {
    auto o = Module("127.0.0.2");
    o.Faults.Silent = true;
    TModuleEmulator m(o);
    m.Start();
    auto [code, out, err] = run(AddressOf(m));
    EXPECT_NE(code, 0u);
    EXPECT_NE(err.find("Unable to connect to the device."), std::string::npos) << err;
    EXPECT_EQ(out, "");
    EXPECT_TRUE(m.Tftp()->Transfers().empty());
  }
}
