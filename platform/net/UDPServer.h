#pragma once
// A UDP endpoint with a listener thread: it binds one IPv4 socket, hands every
// datagram that arrives to its read event on the listener thread together with
// the sender's address, and sends from the same socket, so that a peer that
// answers to the source port reaches the listener.
//
// Only numeric IPv4 addresses and "localhost" are resolved: nothing here ever
// asks a name server.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <netinet/in.h>

#include "rtl/Exceptions.h"
#include "rtl/Types.h"

namespace net {

using TBytes = std::vector<rtl::Byte>;

// A socket call failed; ErrorCode() is the system's errno value.
class ESocketError : public rtl::Exception {
 public:
  ESocketError(rtl::AnsiString message, int errorCode)
      : rtl::Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }
  const char* ClassName() const noexcept override { return "ESocketError"; }

 private:
  int errorCode_;
};

// One bound socket as a read event sees it: its own address and port, and the
// sender of the datagram being delivered.
struct TUDPBinding {
  rtl::AnsiString IP;
  rtl::Word Port = 0;
  rtl::AnsiString PeerIP;
  rtl::Word PeerPort = 0;
};

class TUDPServer;

// Runs on the listener thread, once per datagram.
using TUDPReadEvent = std::function<void(TUDPServer& sender, const TBytes& data,
                                         const TUDPBinding& binding)>;

class TUDPServer {
 public:
  TUDPServer();
  ~TUDPServer();
  TUDPServer(const TUDPServer&) = delete;
  TUDPServer& operator=(const TUDPServer&) = delete;

  // Binding and releasing the socket. Activation raises ESocketError when the
  // address cannot be bound; deactivation joins the listener thread and must
  // not be called from inside the read event.
  bool Active() const { return active_; }
  void SetActive(bool value);

  // The port to bind (0: the system picks one; Binding().Port tells which).
  rtl::Word DefaultPort() const { return defaultPort_; }
  void SetDefaultPort(rtl::Word port) { defaultPort_ = port; }

  // The local address to bind; empty or "0.0.0.0" binds every address.
  const rtl::AnsiString& BindIP() const { return bindIP_; }
  void SetBindIP(rtl::AnsiString ip) { bindIP_ = std::move(ip); }

  // Whether datagrams may go to a broadcast address; applies at once to an
  // active socket and to every later send.
  bool BroadcastEnabled() const { return broadcast_; }
  void SetBroadcastEnabled(bool value);

  // Lets several sockets share one port (SO_REUSEADDR and SO_REUSEPORT), as
  // every listener of a broadcast port must; takes effect at activation.
  bool ReuseAddress() const { return reuse_; }
  void SetReuseAddress(bool value) { reuse_ = value; }

  // Set before activation: the listener thread takes its own copy when the
  // socket is bound, so changing it later affects only the next activation.
  TUDPReadEvent OnUDPRead;

  // The bound address and port, and the sender of the latest datagram.
  TUDPBinding Binding() const;

  // Sends from the bound socket; when the server is not active, from a
  // temporary socket on a port the system picks. Raises ESocketError.
  void SendBuffer(const rtl::AnsiString& host, rtl::Word port, const TBytes& data);
  void Send(const rtl::AnsiString& host, rtl::Word port, const rtl::AnsiString& text);

 private:
  void Listen(int fd, int wakeFd, TUDPReadEvent event);

  std::atomic<bool> active_{false};
  rtl::Word defaultPort_ = 0;
  rtl::AnsiString bindIP_;
  std::atomic<bool> broadcast_{false};
  bool reuse_ = false;

  int fd_ = -1;
  int wakeFd_ = -1;  // an eventfd that tells the listener to stop
  std::thread listener_;

  mutable std::mutex bindingLock_;
  TUDPBinding binding_;
};

// Turns a dotted IPv4 address (or "localhost") into a socket address; raises
// ESocketError for anything else.
struct sockaddr_in ResolveIPv4(const rtl::AnsiString& host, rtl::Word port);

// A socket address's IPv4 part in dotted form.
rtl::AnsiString AddressText(const struct sockaddr_in& address);

// Raises ESocketError "Socket error # <errno>: <what>: <system's reason>".
[[noreturn]] void RaiseSocketError(const rtl::AnsiString& what, int err);

// Bytes to text and back, one character per byte, no conversion.
rtl::AnsiString BytesToText(const TBytes& data);
TBytes TextToBytes(const rtl::AnsiString& text);

}  // namespace net
