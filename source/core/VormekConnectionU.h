#pragma once
// The transport of the module's text command protocol: one command at a time
// to a module's UDP command port, the answer collected by the network
// listener thread, unanswered commands sent again with doubling waits.
#include <atomic>
#include <mutex>

#include "core/DebugBaseU.h"
#include "net/UDPServer.h"
#include "rtl/Types.h"

namespace core {

// The abstract transport the programmer talks through.
class TVormekConnection : public TDebugBase {
 public:
  explicit TVormekConnection(const AnsiString& address) : Address(address) {}
  const char* ClassName() const override { return "TVormekConnection"; }

  // The module's address, "host:port" (dotted IP address, decimal UDP command
  // port). The owner sets it before every Open.
  AnsiString Address;

  // When set, the current wait ends at its next 100 ms slice and nothing more
  // is sent. Open clears it.
  bool Cancelled() const { return cancelled_; }
  void SetCancelled(bool value) { cancelled_ = value; }

  virtual void Open() = 0;
  virtual void Close() = 0;
  // Sends "AT*" + command; waitMode 0 listens one 100 ms slice only, any
  // other value waits for the answer with retries. reply: the answer, or "".
  virtual void SendCommand(const AnsiString& command, AnsiString& reply, rtl::Integer waitMode) = 0;
  // Sends "AT*" + key + "?" and waits; True when an answer came.
  virtual bool QueryValue(const AnsiString& key, AnsiString& reply) = 0;

 protected:
  void ClearCancelled() { cancelled_ = false; }

 private:
  // Set by a cancel button while the waiting thread pumps messages; atomic so
  // that a watchdog on another thread may set it too.
  std::atomic<bool> cancelled_{false};
};

// The UDP transport, the only one ever created.
//
// A reply is taken only when it answers the command in progress: its key
// (the text before "=", compared without regard to case) is the command's
// key, or it begins with "ERROR"; any reply answers "RESET". Trailing CR, LF
// and zero bytes are removed. The first such datagram is the reply; anything
// else the module sends meanwhile (a late answer to an earlier command, a
// duplicate) is dropped, so it can never become the value of the next
// command.
class TUDPConnection : public TVormekConnection {
 public:
  // The local port commands leave from, so that answers reach the listener.
  static constexpr rtl::Word kDefaultLocalPort = 7137;
  // Waiting mode: the wait before the first repetition, and how many sends
  // may go unanswered.
  static constexpr rtl::Cardinal kFirstWaitMs = 500;
  static constexpr int kMaxUnansweredSends = 4;
  // The waiting loop's slice.
  static constexpr rtl::Cardinal kSliceMs = 100;

  explicit TUDPConnection(const AnsiString& address);
  ~TUDPConnection() override;
  const char* ClassName() const override { return "TUDPConnection"; }

  // Binds the local port (raises net::ESocketError when it is taken) and
  // clears Cancelled.
  void Open() override;
  void Close() override;
  void SendCommand(const AnsiString& command, AnsiString& reply, rtl::Integer waitMode) override;
  bool QueryValue(const AnsiString& key, AnsiString& reply) override;

  // The answer collected so far in the current (or last) exchange.
  AnsiString Reply() const;

  // The local port Open binds: 7137 unless changed; 0 lets the system pick
  // one, which BoundPort() then tells.
  rtl::Word LocalPort() const { return localPort_; }
  void SetLocalPort(rtl::Word port) { localPort_ = port; }
  rtl::Word BoundPort() const;
  bool Active() const { return server_.Active(); }

 private:
  void Transact(const AnsiString& command, rtl::Integer waitMode);
  void UDPRead(const net::TBytes& data, const net::TUDPBinding& binding);

  rtl::Word localPort_ = kDefaultLocalPort;
  net::TUDPServer server_;

  // Shared with the listener thread.
  mutable std::mutex lock_;
  AnsiString reply_;
  AnsiString moduleHost_;   // the host the answer must come from
  AnsiString expectedKey_;  // the key of the command in progress
  bool inExchange_ = false;
};

// The command's key: the text after "AT*" (when present) up to "?" or "=".
AnsiString CommandKey(const AnsiString& command);
// Whether a reply (already trimmed) answers a command with this key.
bool ReplyAnswers(const AnsiString& reply, const AnsiString& key);
// Whether a setting's value is secret (passwords, wireless keys): such values
// never reach the debug log.
bool IsSecretSetting(const AnsiString& key);
// The text with the value of a secret setting ("KEY=value" or
// "AT*KEY=value") replaced by asterisks; other text unchanged.
AnsiString MaskSecretValues(const AnsiString& text);

}  // namespace core
