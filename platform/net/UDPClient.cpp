#include "net/UDPClient.h"

#include <chrono>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace net {

namespace {

// Waits for the socket to become readable: true when it did.
bool WaitReadable(int fd, rtl::Cardinal timeoutMs, bool realTime) {
  pollfd p{fd, POLLIN, 0};
  auto clock = rtl::CurrentClock();
  if (realTime || clock->RealTime()) {
    int ms = timeoutMs == rtl::INFINITE ? -1 : static_cast<int>(std::min<rtl::Cardinal>(timeoutMs, 0x7FFFFFFF));
    for (;;) {
      int n = ::poll(&p, 1, ms);
      if (n >= 0) return n > 0;
      if (errno != EINTR) RaiseSocketError("poll", errno);
    }
  }
  // A clock that moves only when told: look at the socket in short real
  // slices until a datagram comes or the clock passes the deadline.
  const uint64_t end = clock->MonotonicMs() + timeoutMs;
  for (;;) {
    int n = ::poll(&p, 1, 2);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) RaiseSocketError("poll", errno);
    if (timeoutMs != rtl::INFINITE && clock->MonotonicMs() >= end) return false;
  }
}

}  // namespace

TUDPClient::TUDPClient() = default;

TUDPClient::~TUDPClient() { Close(); }

void TUDPClient::Open() {
  if (fd_ >= 0) return;
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) RaiseSocketError("socket", errno);
  int on = BroadcastEnabled ? 1 : 0;
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  sockaddr_in local;
  try {
    local = ResolveIPv4(BoundIP == "0.0.0.0" ? rtl::AnsiString() : BoundIP, BoundPort);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    int err = errno;
    ::close(fd);
    const rtl::AnsiString ip = BoundIP.empty() ? rtl::AnsiString("0.0.0.0") : BoundIP;
    RaiseSocketError("Could not bind socket (" + ip + ":" + std::to_string(BoundPort) + ")", err);
  }
  sockaddr_in bound{};
  socklen_t len = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
  binding_ = TUDPBinding{AddressText(bound), ntohs(bound.sin_port), {}, 0};
  fd_ = fd;
}

void TUDPClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TUDPClient::SendBuffer(const rtl::AnsiString& host, rtl::Word port, const TBytes& data) {
  Open();
  sockaddr_in to = ResolveIPv4(host, port);
  if (::sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof to) < 0)
    RaiseSocketError("sendto " + host + ":" + std::to_string(port), errno);
}

bool TUDPClient::ReceiveBuffer(TBytes& data, rtl::Cardinal timeoutMs) {
  Open();
  // A wake-up that brings no datagram (an ICMP error of an earlier send)
  // must not start the time-out again: the wait ends at one deadline,
  // measured on the clock the wait itself follows.
  auto clock = rtl::CurrentClock();
  const bool realTime = RealTimeWaits && !clock->RealTime();
  auto nowMs = [&]() -> uint64_t {
    if (!realTime) return clock->MonotonicMs();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  };
  const uint64_t start = nowMs();
  for (;;) {
    rtl::Cardinal remaining = timeoutMs;
    if (timeoutMs != rtl::INFINITE) {
      const uint64_t elapsed = nowMs() - start;
      remaining = elapsed >= timeoutMs ? 0 : static_cast<rtl::Cardinal>(timeoutMs - elapsed);
    }
    if (!WaitReadable(fd_, remaining, RealTimeWaits)) return false;
    data.resize(static_cast<size_t>(std::max<rtl::Integer>(BufferSize, 1)));
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t got = ::recvfrom(fd_, data.data(), data.size(), MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&from), &len);
    if (got < 0) {
      // An ICMP error from an earlier send (the peer's port was closed)
      // surfaces here; it is not a datagram, so keep waiting.
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNREFUSED || errno == EINTR)
        continue;
      RaiseSocketError("recvfrom", errno);
    }
    data.resize(static_cast<size_t>(got));
    binding_.PeerIP = AddressText(from);
    binding_.PeerPort = ntohs(from.sin_port);
    return true;
  }
}

void TUDPClient::BeginWork(TWorkMode mode, rtl::Int64 countMax) {
  workTotal_ = 0;
  if (OnWorkBegin) OnWorkBegin(*this, mode, countMax);
}

void TUDPClient::DoWork(TWorkMode mode, rtl::Int64 count) {
  workTotal_ += count;
  if (OnWork) OnWork(*this, mode, workTotal_);
}

void TUDPClient::EndWork(TWorkMode mode) {
  if (OnWorkEnd) OnWorkEnd(*this, mode);
}

}  // namespace net
