#pragma once
// Module discovery: a broadcast request makes every module on the network
// announce itself; a listener collects the announcements into a list of
// modules, one per sender address, and reports each new one.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "core/DebugBaseU.h"
#include "net/UDPServer.h"
#include "rtl/Types.h"

namespace core {

// One discovered module.
struct TdeviceInfo {
  AnsiString Name;      // from the announcement; the sender's address until parsed
  AnsiString PortText;  // the decimal digits of the module's command port
  AnsiString Host;      // the sender's IP address
  AnsiString Address;   // Host + ":" + command port: what the programmer talks to
  AnsiString Key;       // sender's IP address + ":" + announce port; one module per key
};

class Tdevices;
// Fired on the listener thread for each new module: the announcement text and
// the module's address. A handler only hands the news on to the user-interface
// thread.
using TDeviceFoundEvent = std::function<void(Tdevices& sender, const AnsiString& announcement,
                                             const AnsiString& address)>;

// The list with its listener. Items are added on the listener thread while
// other threads read the list; every access goes through one lock.
class Tdevices {
 public:
  Tdevices();
  virtual ~Tdevices();
  Tdevices(const Tdevices&) = delete;
  Tdevices& operator=(const Tdevices&) = delete;
  virtual const char* ClassName() const { return "Tdevices"; }

  // Starts or stops the listener on ListenPort; binding errors propagate.
  bool Active() const { return listener_->Active(); }
  void SetActive(bool value);
  // Empties the list, then sends the announce request.
  void Refresh();

  rtl::Integer Count() const;
  // A copy of the item (items are in order of discovery); raises EListError
  // for an index out of range.
  TdeviceInfo GetItem(rtl::Integer index) const;
  std::vector<TdeviceInfo> Items() const;

  // The port the listener binds (0: the system picks one) and the port it is
  // bound to while active.
  rtl::Integer ListenPort() const { return listenPort_; }
  void SetListenPort(rtl::Integer port) { listenPort_ = port; }
  rtl::Word BoundPort() const { return listener_->Binding().Port; }
  // The modules' announce port: requests go there, and it is part of each key.
  rtl::Integer AnnouncePort() const { return announcePort_; }
  void SetAnnouncePort(rtl::Integer port) { announcePort_ = port; }

  // Set before SetActive(true): the listener copies it when it starts.
  TDeviceFoundEvent OnDeviceFound;

  virtual void SendAnnounceRequest() = 0;
  virtual void ParseAnnounce(TdeviceInfo& item, const AnsiString& text) = 0;
  virtual bool IsValidAnnounce(const net::TBytes& data) = 0;

 protected:
  // The binding port the listener was last configured with.
  rtl::Word ListenerPort() const { return listener_->DefaultPort(); }
  // Sends one datagram with broadcasting allowed, from a socket made for it.
  void SendBroadcast(const AnsiString& host, rtl::Word port, const AnsiString& text);

 private:
  void OnAnnouncement(const net::TBytes& data, const net::TUDPBinding& binding);

  std::atomic<rtl::Integer> listenPort_{7123};
  std::atomic<rtl::Integer> announcePort_{7123};
  std::unique_ptr<net::TUDPServer> listener_;
  TDeviceFoundEvent foundEvent_;  // the listener thread's copy of OnDeviceFound
  mutable std::mutex lock_;
  std::vector<TdeviceInfo> items_;
};

// The modules of this environment.
class TvormekDevList : public Tdevices {
 public:
  // The announce request and the fixed start of every announcement.
  static constexpr const char* kAnnounceRequest = "AT*ANNOUNCE_NOW=5";
  static constexpr const char* kAnnouncePrefix = "TOLVANE_MOD,";
  static constexpr const char* kPortMarker = ",UDP_PORT=";
  static constexpr rtl::Integer kDefaultAnnouncePort = 7124;
  static constexpr rtl::Integer kDefaultReceivePort = 7123;
  // Where the request goes unless the settings file says otherwise.
  static constexpr const char* kDefaultAnnounceAddress = "192.168.100.255";

  TvormekDevList();
  ~TvormekDevList() override;
  const char* ClassName() const override { return "TvormekDevList"; }

  // The port announcements are received on; the next SendAnnounceRequest
  // moves the listener there.
  rtl::Integer RcvAnnouncePort() const { return rcvPort_; }
  void SetRcvAnnouncePort(rtl::Integer port) { rcvPort_ = port; }
  // The (broadcast) address the request is sent to.
  AnsiString AnnounceAddress() const;
  void SetAnnounceAddress(const AnsiString& address);

  void SendAnnounceRequest() override;
  void ParseAnnounce(TdeviceInfo& item, const AnsiString& text) override;
  bool IsValidAnnounce(const net::TBytes& data) override;

 private:
  std::atomic<rtl::Integer> rcvPort_{kDefaultReceivePort};
  mutable std::mutex addressLock_;
  AnsiString announceAddress_ = kDefaultAnnounceAddress;
};

}  // namespace core
