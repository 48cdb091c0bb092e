#pragma once
// Debian's TFTP server (tftpd-hpa) as a peer: started on a loopback address
// and a port of its own, serving a fresh folder, stopped with the object.
// Shared by the TFTP tests and the upload benchmark.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "../TestSupport.h"
#include "rtl/Process.h"

namespace tftp_test {

inline const char kTftpd[] = "/usr/sbin/in.tftpd";

// A UDP port on ip that nobody holds right now.
inline int FreeUdpPort(const std::string& ip) {
  int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot bind " + ip);
  }
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(fd);
  return ntohs(a.sin_port);
}

// Whether someone holds the UDP port on ip.
inline bool UdpPortTaken(const std::string& ip, int port) {
  int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
  const bool taken = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0;
  ::close(fd);
  return taken;
}

struct TftpdOptions {
  std::string IP = "127.0.0.1";
  int MaxBlockSize = 65464;      // -B
  bool RefuseBlockSize = false;  // -r blksize
  std::string RemapRules;        // -m: a file with these rules
};

class Tftpd {
 public:
  explicit Tftpd(TftpdOptions o = {}) : options_(std::move(o)) {
    std::filesystem::permissions(root_, std::filesystem::perms::all);
    for (int attempt = 0; attempt < 5 && !process_; ++attempt) {
      port_ = FreeUdpPort(options_.IP);
      rtl::TProcessOptions p;
      p.Program = kTftpd;
      const passwd* me = ::getpwuid(::getuid());
      p.Arguments = {"-L", "-a", options_.IP + ":" + std::to_string(port_), "-c", "-s",
                     "-u", me ? me->pw_name : "root", "-B", std::to_string(options_.MaxBlockSize)};
      if (options_.RefuseBlockSize) {
        p.Arguments.push_back("-r");
        p.Arguments.push_back("blksize");
      }
      if (!options_.RemapRules.empty()) {
        const auto rules = root_.string() + ".rules";
        std::ofstream(rules) << options_.RemapRules << "\n";
        p.Arguments.push_back("-m");
        p.Arguments.push_back(rules);
      }
      p.Arguments.push_back(root_.string());
      p.CaptureOutput = true;
      auto proc = std::make_unique<rtl::TProcess>(p);
      // Ready once it holds its port.
      for (int i = 0; i < 200 && proc->Running() && !UdpPortTaken(options_.IP, port_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (proc->Running() && UdpPortTaken(options_.IP, port_)) {
        process_ = std::move(proc);
      } else {
        proc->Kill();
        error_ = proc->StdErr();
      }
    }
    if (!process_) throw std::runtime_error("in.tftpd did not start: " + error_);
  }
  ~Tftpd() {
    // The server goes before its folder.
    if (process_) process_->Kill();
    std::error_code ec;
    std::filesystem::remove(root_.string() + ".rules", ec);
  }
  Tftpd(const Tftpd&) = delete;
  Tftpd& operator=(const Tftpd&) = delete;

  const std::string& IP() const { return options_.IP; }
  int Port() const { return port_; }
  const std::filesystem::path& Root() const { return root_; }

  // The file's bytes once its size has reached `size` (the server writes as
  // it receives; the last write may trail the last acknowledgement).
  std::vector<unsigned char> Received(const std::string& name, size_t size) const {
    const auto path = root_ / name;
    for (int i = 0; i < 200; ++i) {
      std::error_code ec;
      if (std::filesystem::exists(path, ec) && std::filesystem::file_size(path, ec) >= size) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  TftpdOptions options_;
  core_test::ScratchFolder scratch_{"tftpd-peer"};
  const std::filesystem::path& root_ = scratch_.Path();
  int port_ = 0;
  std::unique_ptr<rtl::TProcess> process_;
  std::string error_;
};

// Reproducible bytes that are not all alike.
inline std::vector<unsigned char> SomeBytes(size_t size, unsigned seed = 7) {
  std::mt19937 gen(seed);
  std::vector<unsigned char> v(size);
  for (auto& b : v) b = static_cast<unsigned char>(gen());
  return v;
}

}  // namespace tftp_test
