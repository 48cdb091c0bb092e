// Uploading a 4 MB image on loopback to Debian's TFTP server (tftpd-hpa):
// our client beside curl's TFTP client, in the same run, at the same block
// sizes. curl runs as a program, so its figures include starting it (a few
// milliseconds per upload).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "TftpdPeer.h"
#include "core/TrivialFTPU.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"

namespace {

constexpr size_t kImageSize = 4 * 1024 * 1024;

tftp_test::Tftpd& Server() {
  static tftp_test::Tftpd server;
  return server;
}

const std::vector<unsigned char>& Image() {
  static const auto bytes = tftp_test::SomeBytes(kImageSize);
  return bytes;
}

void CheckArrived(benchmark::State& state, const std::string& name) {
  if (Server().Received(name, kImageSize) != Image()) state.SkipWithError("the file did not arrive whole");
}

void BM_UploadOurs(benchmark::State& state) {
  rtl::TMemoryStream source;
  source.WriteBuffer(Image().data(), static_cast<rtl::Integer>(Image().size()));
  for (auto _ : state) {
    source.SetPosition(0);
    core::TIdTrivialFTP client;
    client.Host = Server().IP();
    client.Port = static_cast<rtl::Word>(Server().Port());
    client.RequestedBlockSize = static_cast<rtl::Integer>(state.range(0));
    client.Put(source, "ours.cds");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageSize));
  CheckArrived(state, "ours.cds");
}

void BM_UploadCurl(benchmark::State& state) {
  const core_test::ScratchFolder scratch("bench-tftp");
  const auto file = scratch.Path() / "image.cds";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(Image().data()), static_cast<std::streamsize>(Image().size()));
  rtl::TProcessOptions p;
  p.Program = "curl";
  p.Arguments = {"-s", "-S", "-T", file.string(),
                 "tftp://" + Server().IP() + ":" + std::to_string(Server().Port()) + "/curl.cds",
                 "--tftp-blksize", std::to_string(state.range(0))};
  p.CaptureOutput = true;
  for (auto _ : state) {
    rtl::TProcess curl(p);
    curl.WaitFor();
    if (curl.ExitCode() != 0) {
      state.SkipWithError(("curl failed: " + curl.StdErr()).c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kImageSize));
  CheckArrived(state, "curl.cds");
}

}  // namespace

BENCHMARK(BM_UploadOurs)->Arg(512)->Arg(1468)->Arg(1500)->Arg(8192)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UploadCurl)->Arg(512)->Arg(1468)->Arg(1500)->Arg(8192)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
