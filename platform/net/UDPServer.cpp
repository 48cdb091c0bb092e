#include "net/UDPServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace net {

namespace {

// Owns a descriptor until released, so that a failing activation closes it.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  int Get() const { return fd_; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

int NewUdpSocket() {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) RaiseSocketError("socket", errno);
  return fd;
}

void SetFlag(int fd, int option, bool on, const char* name) {
  int v = on ? 1 : 0;
  if (::setsockopt(fd, SOL_SOCKET, option, &v, sizeof v) != 0) RaiseSocketError(name, errno);
}

void SendOn(int fd, const rtl::AnsiString& host, rtl::Word port, const TBytes& data) {
  sockaddr_in to = ResolveIPv4(host, port);
  ssize_t n = ::sendto(fd, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                       sizeof to);
  if (n < 0) RaiseSocketError("sendto " + host + ":" + std::to_string(port), errno);
}

}  // namespace

void RaiseSocketError(const rtl::AnsiString& what, int err) {
  throw ESocketError("Socket error # " + std::to_string(err) + ": " + what + ": " +
                         std::strerror(err),
                     err);
}

rtl::AnsiString AddressText(const sockaddr_in& a) {
  char buf[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &a.sin_addr, buf, sizeof buf);
  return buf;
}

sockaddr_in ResolveIPv4(const rtl::AnsiString& host, rtl::Word port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  const rtl::AnsiString& name = (host == "localhost") ? rtl::AnsiString("127.0.0.1") : host;
  if (name.empty()) {
    a.sin_addr.s_addr = htonl(INADDR_ANY);
  } else if (::inet_pton(AF_INET, name.c_str(), &a.sin_addr) != 1) {
    throw ESocketError("Host not found: " + host, EINVAL);
  }
  return a;
}

rtl::AnsiString BytesToText(const TBytes& data) {
  return rtl::AnsiString(data.begin(), data.end());
}

TBytes TextToBytes(const rtl::AnsiString& text) { return TBytes(text.begin(), text.end()); }

TUDPServer::TUDPServer() = default;

TUDPServer::~TUDPServer() {
  try {
    SetActive(false);
  } catch (...) {
    // A destructor cannot report; the descriptors are gone either way.
  }
}

void TUDPServer::SetActive(bool value) {
  if (value == active_) return;
  if (value) {
    FdGuard sock(NewUdpSocket());
    if (reuse_) {
      SetFlag(sock.Get(), SO_REUSEADDR, true, "SO_REUSEADDR");
      SetFlag(sock.Get(), SO_REUSEPORT, true, "SO_REUSEPORT");
    }
    SetFlag(sock.Get(), SO_BROADCAST, broadcast_, "SO_BROADCAST");
    sockaddr_in local = ResolveIPv4(bindIP_ == "0.0.0.0" ? rtl::AnsiString() : bindIP_,
                                    defaultPort_);
    if (::bind(sock.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      int err = errno;
      RaiseSocketError("Could not bind socket. Address and port are already in use or not "
                       "available (" +
                           (bindIP_.empty() ? rtl::AnsiString("0.0.0.0") : bindIP_) + ":" +
                           std::to_string(defaultPort_) + ")",
                       err);
    }
    sockaddr_in bound{};
    socklen_t len = sizeof bound;
    ::getsockname(sock.Get(), reinterpret_cast<sockaddr*>(&bound), &len);
    FdGuard wake(::eventfd(0, EFD_CLOEXEC));
    if (wake.Get() < 0) RaiseSocketError("eventfd", errno);
    {
      std::lock_guard<std::mutex> g(bindingLock_);
      binding_ = TUDPBinding{AddressText(bound), ntohs(bound.sin_port), {}, 0};
    }
    fd_ = sock.Release();
    wakeFd_ = wake.Release();
    active_ = true;
    listener_ = std::thread(&TUDPServer::Listen, this, fd_, wakeFd_, OnUDPRead);
  } else {
    RTL_ASSERT_MSG(std::this_thread::get_id() != listener_.get_id(),
                   "A UDP server cannot be stopped from its own read event");
    uint64_t one = 1;
    ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
    (void)ignored;
    if (listener_.joinable()) listener_.join();
    ::close(fd_);
    ::close(wakeFd_);
    fd_ = wakeFd_ = -1;
    active_ = false;
  }
}

void TUDPServer::SetBroadcastEnabled(bool value) {
  broadcast_ = value;
  if (active_) SetFlag(fd_, SO_BROADCAST, value, "SO_BROADCAST");
}

TUDPBinding TUDPServer::Binding() const {
  std::lock_guard<std::mutex> g(bindingLock_);
  return binding_;
}

void TUDPServer::SendBuffer(const rtl::AnsiString& host, rtl::Word port, const TBytes& data) {
  if (active_) {
    SendOn(fd_, host, port, data);
    return;
  }
  FdGuard sock(NewUdpSocket());
  SetFlag(sock.Get(), SO_BROADCAST, broadcast_, "SO_BROADCAST");
  SendOn(sock.Get(), host, port, data);
}

void TUDPServer::Send(const rtl::AnsiString& host, rtl::Word port, const rtl::AnsiString& text) {
  SendBuffer(host, port, TextToBytes(text));
}

void TUDPServer::Listen(int fd, int wakeFd, TUDPReadEvent event) {
  // The largest payload a UDP datagram can carry.
  std::vector<rtl::Byte> buffer(65535);
  pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
  for (;;) {
    int n = ::poll(fds, 2, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&from), &len);
    if (got < 0) continue;  // ICMP errors of earlier sends surface here; nothing to deliver
    TUDPBinding b;
    {
      std::lock_guard<std::mutex> g(bindingLock_);
      binding_.PeerIP = AddressText(from);
      binding_.PeerPort = ntohs(from.sin_port);
      b = binding_;
    }
    if (!event) continue;
    try {
      event(*this, TBytes(buffer.begin(), buffer.begin() + got), b);
    } catch (...) {
      // A failing handler must not end the listener: the next datagram is
      // delivered as usual.
    }
  }
}

}  // namespace net
