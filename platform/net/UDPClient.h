#pragma once
// A UDP socket used by one thread at a time that sends and then waits for
// an answer: a receive with a time-out that also tells the sender's address,
// and work events for transfers that report progress.
//
// Time-outs follow the run-time layer's clock service, so a test with a
// manual clock decides when a time-out happens; a datagram that arrives
// ends the wait at once either way.
#include <functional>

#include "net/UDPServer.h"
#include "rtl/Clock.h"
#include "rtl/Types.h"

namespace net {

enum class TWorkMode { wmRead, wmWrite };

class TUDPClient {
 public:
  TUDPClient();
  virtual ~TUDPClient();
  TUDPClient(const TUDPClient&) = delete;
  TUDPClient& operator=(const TUDPClient&) = delete;

  // The default destination of Send and SendBuffer without a host.
  rtl::AnsiString Host;
  rtl::Word Port = 0;
  // How long ReceiveBuffer waits by default, in milliseconds (INFINITE: no limit).
  rtl::Cardinal ReceiveTimeout = rtl::INFINITE;
  // The largest datagram ReceiveBuffer takes whole; longer ones are cut.
  rtl::Integer BufferSize = 8192;
  // The local address and port the socket binds when first used ("" and 0:
  // any address, a port the system picks).
  rtl::AnsiString BoundIP;
  rtl::Word BoundPort = 0;
  bool BroadcastEnabled = false;
  // Waits measured in real time even when a manual clock is installed: for
  // programs that stand for a device beside the environment under test.
  bool RealTimeWaits = false;

  // Creates and binds the socket (also done by the first send or receive);
  // raises ESocketError.
  void Open();
  bool Active() const { return fd_ >= 0; }
  // Releases the socket; the next use binds a new one.
  void Close();
  // The bound address and port, and the sender of the latest datagram received.
  TUDPBinding Binding() const { return binding_; }
  rtl::AnsiString PeerIP() const { return binding_.PeerIP; }
  rtl::Word PeerPort() const { return binding_.PeerPort; }

  void SendBuffer(const rtl::AnsiString& host, rtl::Word port, const TBytes& data);
  void SendBuffer(const TBytes& data) { SendBuffer(Host, Port, data); }
  void Send(const rtl::AnsiString& text) { SendBuffer(Host, Port, TextToBytes(text)); }

  // Waits up to timeoutMs for one datagram from anyone; false on a time-out.
  // The sender becomes PeerIP and PeerPort.
  bool ReceiveBuffer(TBytes& data, rtl::Cardinal timeoutMs);
  bool ReceiveBuffer(TBytes& data) { return ReceiveBuffer(data, ReceiveTimeout); }

  // Progress of a transfer. OnWork gets the running total of the counts
  // passed to DoWork since BeginWork.
  std::function<void(TUDPClient& sender, TWorkMode mode, rtl::Int64 countMax)> OnWorkBegin;
  std::function<void(TUDPClient& sender, TWorkMode mode, rtl::Int64 total)> OnWork;
  std::function<void(TUDPClient& sender, TWorkMode mode)> OnWorkEnd;
  void BeginWork(TWorkMode mode, rtl::Int64 countMax = 0);
  void DoWork(TWorkMode mode, rtl::Int64 count);
  void EndWork(TWorkMode mode);

 private:
  int fd_ = -1;
  TUDPBinding binding_;
  rtl::Int64 workTotal_ = 0;
};

}  // namespace net
