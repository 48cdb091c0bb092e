#pragma once
// A module on loopback: it answers discovery requests and the text command
// protocol as a real module does, from a loopback address of its own, and
// offers fault switches so that tests can make it misbehave on purpose.
//
// Discovery: the announce port is bound on the wildcard address with address
// sharing, because Linux hands a broadcast only to sockets bound to the
// wildcard (or broadcast) address; several emulators thus share the port. The
// announcement goes out from the command socket (so its sender is the
// emulator's own address) to the requester's address at the receive port,
// not to the request's source port.
//
// Commands: "AT*KEY?" is answered "KEY=value" from the settings table of the
// hardware type; "AT*KEY=value" stores a pending value (answered
// "KEY=value", or "ERROR" for a read-only or unknown key) that "AT*RESET=1"
// applies. Everything received is recorded with its time.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TftpServer.h"
#include "net/UDPServer.h"
#include "rtl/Types.h"

namespace emulator {

using rtl::AnsiString;
using rtl::Word;

// Ways to misbehave; they can be changed while the emulator runs.
struct TEmulatorFaults {
  bool Silent = false;             // answer nothing at all (commands are still recorded)
  int ReplyDelayMs = 0;            // every answer leaves this much later
  bool DuplicateReplies = false;   // every answer is sent twice
  AnsiString ReplyFromIP;          // answer commands from this address instead of our own
  std::set<AnsiString> ErrorKeys;  // keys (upper case) answered "ERROR"
  bool NoResetReply = false;       // apply "RESET=1" without answering it
  // Query keys (upper case) answered with this value whatever is stored: a
  // module that takes a setting but reports another.
  std::map<AnsiString, AnsiString> MisreportedValues;
};

struct TEmulatorOptions {
  AnsiString IP = "127.0.0.2";
  Word CommandPort = 0;       // 0: the system picks one
  Word AnnouncePort = 7124;   // 0: the system picks one (shared with later emulators)
  Word ReceivePort = 7123;    // where announcements are sent
  AnsiString Name;            // the module's ID; default "EMU-" and the last number of IP
  AnsiString HardwareType = "4";
  // The TFTP server on IP: its port (0: the system picks one) is answered
  // for "TFTP". Without the server, TftpPort is answered as it is.
  bool TftpServer = true;
  Word TftpPort = 0;
  int TftpTimeoutMs = 5000;   // the server sends its last answer again after this long
  int TftpDallyMs = 2000;     // and answers repeats of the last block this long
  TTftpFaults TftpFaults;
  std::vector<std::pair<AnsiString, AnsiString>> Values;  // initial values by query key
  TEmulatorFaults Faults;
};

// One datagram as the emulator got it.
struct TReceivedDatagram {
  double TimeMs = 0;      // since the emulator started
  AnsiString Channel;     // "command" or "announce"
  AnsiString PeerIP;
  Word PeerPort = 0;
  AnsiString Text;
};

// One setting a module of this family can have: the query key, the key that
// sets it ("" for read-only) and the hardware types (bit n: type n).
struct TModuleSetting {
  const char* GetKey;
  const char* SetKey;
  rtl::Byte HardwareMask;
};

// Every setting in the order the programmer shows them.
const std::vector<TModuleSetting>& ModuleSettings();
// 1, 2, 4, 8, 16 for hardware types 0 to 4; 255 for anything else, also for
// a type that is not a number.
rtl::Byte HardwareTypeMask(const AnsiString& hardwareType);

class TModuleEmulator {
 public:
  explicit TModuleEmulator(TEmulatorOptions options);
  ~TModuleEmulator();
  TModuleEmulator(const TModuleEmulator&) = delete;
  TModuleEmulator& operator=(const TModuleEmulator&) = delete;

  // Binds both sockets (raises net::ESocketError) and starts answering.
  void Start();
  void Stop();

  const AnsiString& IP() const { return options_.IP; }
  Word CommandPort() const;
  Word AnnouncePort() const;
  // The TFTP server, null when the emulator runs without one.
  TTftpServer* Tftp() const { return tftp_.get(); }

  void SetFaults(const TEmulatorFaults& faults);
  TEmulatorFaults Faults() const;

  // The applied value of a query key, and the value waiting for a reset
  // ("" when none is pending).
  AnsiString Value(const AnsiString& key) const;
  AnsiString PendingValue(const AnsiString& key) const;
  int ResetCount() const;

  std::vector<TReceivedDatagram> Received() const;
  // Waits until at least count datagrams were received on the channel ("" for
  // any) or the time-out (real time) passes; returns whether they came.
  bool WaitForReceived(size_t count, int timeoutMs, const AnsiString& channel = "") const;

  // Called on a listener thread for every datagram, after it was recorded.
  std::function<void(const TReceivedDatagram&)> OnReceived;
  // Called on the transfer's thread when a TFTP transfer has ended; set
  // before Start.
  std::function<void(const TTftpTransfer&)> OnTftpTransferEnd;

 private:
  struct Outgoing {
    std::chrono::steady_clock::time_point due;
    AnsiString fromIP;  // "" : from the command socket
    AnsiString host;
    Word port;
    AnsiString text;
  };

  void OnCommand(const net::TBytes& data, const net::TUDPBinding& b);
  void OnAnnounce(const net::TBytes& data, const net::TUDPBinding& b);
  size_t Record(const AnsiString& channel, const net::TBytes& data, const net::TUDPBinding& b);
  AnsiString Answer(const AnsiString& command);
  void Reply(bool isCommandReply, const AnsiString& host, Word port, const AnsiString& text);
  void RunSender();
  bool Offered(const TModuleSetting& s) const;

  TEmulatorOptions options_;
  std::chrono::steady_clock::time_point started_;

  std::unique_ptr<TTftpServer> tftp_;
  net::TUDPServer command_;
  net::TUDPServer announce_;
  std::unique_ptr<net::TUDPServer> other_;  // sender thread only: "reply from another address"

  mutable std::mutex lock_;
  mutable std::condition_variable received_;
  std::vector<TReceivedDatagram> log_;
  std::map<AnsiString, AnsiString> values_;   // by query key
  std::map<AnsiString, AnsiString> pending_;  // by query key
  int resets_ = 0;
  TEmulatorFaults faults_;

  // Answers leave through one sender thread so that a delay never holds up
  // the listener, and answers keep their order.
  std::mutex sendLock_;
  std::condition_variable sendWake_;
  std::deque<Outgoing> outgoing_;
  bool stopping_ = false;
  std::thread sender_;
};

}  // namespace emulator
