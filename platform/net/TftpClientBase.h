#pragma once
// The TFTP client base (RFC 1350, options of RFC 2347): packet layouts, the
// error classes with their codes, and a UDP client that keeps to one
// transfer: it locks onto the port the server answers from (the transfer
// id), refuses datagrams from anyone else with error 5, and remembers its
// last packet so that a time-out can send it again.
//
// The transfers themselves (write and read, options, block numbers) belong
// to the client built on this base.
#include <optional>
#include <utility>
#include <vector>

#include "net/UDPClient.h"
#include "rtl/Exceptions.h"

namespace net {

// Base of every exception of the network library.
class EIdException : public rtl::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EIdException"; }
};
// A TFTP transfer failed; the derived classes stand for the protocol's
// error codes 1 to 8.
RTL_DECLARE_EXCEPTION(EIdTFTPException, EIdException);
RTL_DECLARE_EXCEPTION(EIdTFTPFileNotFound, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPAccessViolation, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPAllocationExceeded, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPIllegalOperation, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPUnknownTransferID, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPFileAlreadyExists, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPNoSuchUser, EIdTFTPException);
RTL_DECLARE_EXCEPTION(EIdTFTPOptionNegotiationFailed, EIdTFTPException);

enum TTftpOpcode : rtl::Word {
  TFTP_RRQ = 1,
  TFTP_WRQ = 2,
  TFTP_DATA = 3,
  TFTP_ACK = 4,
  TFTP_ERROR = 5,
  TFTP_OACK = 6,
};

// Error codes of the protocol.
enum TTftpErrorCode : rtl::Word {
  ErrUndefined = 0,
  ErrFileNotFound = 1,
  ErrAccessViolation = 2,
  ErrAllocationExceeded = 3,
  ErrIllegalOperation = 4,
  ErrUnknownTransferID = 5,
  ErrFileAlreadyExists = 6,
  ErrNoSuchUser = 7,
  ErrOptionNegotiationFailed = 8,
};

// Raises the exception class that stands for the code (EIdTFTPException for
// a code outside 1 to 8) with the message.
[[noreturn]] void RaiseTftpError(rtl::Word code, const rtl::AnsiString& message);
// The code that stands for an exception's class: 1 to 8 for the classes
// above, 0 for anything else (also a plain EIdTFTPException).
rtl::Word TftpErrorCodeOf(const std::exception& e);

// Packets. Numbers are 16 bits in network byte order; texts end in a zero.
using TTftpOptions = std::vector<std::pair<rtl::AnsiString, rtl::AnsiString>>;
TBytes TftpRequestPacket(TTftpOpcode opcode, const rtl::AnsiString& fileName,
                         const rtl::AnsiString& mode, const TTftpOptions& options);
TBytes TftpDataPacket(rtl::Word block, const rtl::Byte* data, size_t count);
TBytes TftpAckPacket(rtl::Word block);
TBytes TftpErrorPacket(rtl::Word code, const rtl::AnsiString& message);
TBytes TftpOptionAckPacket(const TTftpOptions& options);

// Reading a packet: the opcode (0 for a datagram shorter than 2 bytes) and
// the 16-bit number after it (block or error code; 0 when missing).
rtl::Word TftpOpcode(const TBytes& packet);
rtl::Word TftpNumber(const TBytes& packet);
// The zero-ended texts from the given offset on; an unterminated last text
// counts as well.
std::vector<rtl::AnsiString> TftpTexts(const TBytes& packet, size_t from);
// The message of an error packet (up to its zero byte).
rtl::AnsiString TftpErrorMessage(const TBytes& packet);

class TTftpClientBase : public TUDPClient {
 public:
  TTftpClientBase() = default;

  // How often an unanswered packet is sent again, each after a further
  // ReceiveTimeout, before the transfer gives up.
  static constexpr int kMaxRetransmits = 3;

  // Datagrams from other ports refused (with error 5) in this transfer.
  int StrangersRefused() const { return strangersRefused_; }
  // Packets sent again in this transfer after a time-out.
  int Retransmissions() const { return retransmissions_; }
  // The server's transfer address and port, once it has answered.
  bool PeerLocked() const { return locked_; }
  const rtl::AnsiString& TransferIP() const { return transferIP_; }
  rtl::Word TransferPort() const { return transferPort_; }

 protected:
  // Forgets the previous transfer: no peer, no last packet, counters at 0.
  void BeginTransfer();
  // Sends the packet to the server's transfer port, or to Host and Port
  // while the server has not answered yet, and keeps it as the last packet.
  void SendPacket(TBytes packet);
  // Sends the last packet again and counts it.
  void Retransmit();
  // Sends an error packet to the server's transfer port (or Host and Port);
  // it is not kept as the last packet.
  void SendErrorPacket(rtl::Word code, const rtl::AnsiString& message);
  // Waits up to timeoutMs for a datagram of this transfer. The first
  // datagram from the server's address fixes the transfer port; later ones
  // from any other address or port are answered with error 5 and skipped
  // (they do not extend the wait). False on a time-out.
  bool ReceivePacket(TBytes& packet, rtl::Cardinal timeoutMs);

 private:
  rtl::AnsiString ServerIP();
  // To the server's transfer port once it has answered, else to Host and Port.
  void SendToServer(const TBytes& packet);

  bool locked_ = false;
  rtl::AnsiString transferIP_;
  rtl::Word transferPort_ = 0;
  rtl::AnsiString serverIP_;  // Host as a dotted address, resolved once per transfer
  TBytes last_;
  int strangersRefused_ = 0;
  int retransmissions_ = 0;
};

}  // namespace net
