#include "core/TrivialFTPU.h"

#include <algorithm>
#include <vector>

#include "core/DebugBaseU.h"
#include "rtl/Clock.h"
#include "rtl/DecimalDigits.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"

namespace core {

namespace {

// Ends a transfer however it ends: work end fires and the socket is closed.
struct TransferEnd {
  TIdTrivialFTP& client;
  net::TWorkMode mode;
  ~TransferEnd() {
    try {
      client.EndWork(mode);
    } catch (...) {
      // A listener's failure must not replace the transfer's own outcome.
    }
    client.Close();
  }
};

// How long is left of a wait that began at startMs.
rtl::Cardinal Remaining(uint64_t startMs, rtl::Cardinal timeoutMs) {
  if (timeoutMs == rtl::INFINITE) return rtl::INFINITE;
  const uint64_t now = rtl::CurrentClock()->MonotonicMs();
  const uint64_t passed = now > startMs ? now - startMs : 0;
  return passed >= timeoutMs ? 0 : static_cast<rtl::Cardinal>(timeoutMs - passed);
}

}  // namespace

TIdTrivialFTP::TIdTrivialFTP() {
  Port = kDefaultPort;
  ReceiveTimeout = kDefaultReceiveTimeout;
  BufferSize = kPlainBlockSize + 4;
}

AnsiString TIdTrivialFTP::GetModeWord() const {
  return TransferMode == TIdTFTPMode::tfNetAscii ? "netascii" : "octet";
}

AnsiString TIdTrivialFTP::ServerText() const { return Host + ":" + std::to_string(Port); }

net::TBytes TIdTrivialFTP::Request(net::TTftpOpcode opcode, const AnsiString& remoteName) const {
  return net::TftpRequestPacket(opcode, remoteName, GetModeWord(),
                                {{"blksize", std::to_string(RequestedBlockSize)}});
}

void TIdTrivialFTP::Status(const AnsiString& text) {
  if (OnStatus) OnStatus(*this, text);
}

void TIdTrivialFTP::SendAck(rtl::Word block) { SendPacket(net::TftpAckPacket(block)); }

void TIdTrivialFTP::RaiseError(const net::TBytes& packet) {
  net::RaiseTftpError(net::TftpNumber(packet), net::TftpErrorMessage(packet));
}

void TIdTrivialFTP::CheckOptionAck(const net::TBytes& packet) {
  const auto texts = net::TftpTexts(packet, 2);
  if (texts.empty() || !rtl::SameText(texts[0], "blksize")) return;
  const AnsiString value = texts.size() > 1 ? texts[1] : AnsiString();
  const rtl::Integer size = rtl::DecimalOrMinusOne(value);
  if (size < kMinBlockSize || size > RequestedBlockSize) {
    const AnsiString message = "Unacceptable block size: " + value + " (asked for " +
                               std::to_string(RequestedBlockSize) + ")";
    SendErrorPacket(net::ErrOptionNegotiationFailed, message);
    throw net::EIdTFTPOptionNegotiationFailed(message);
  }
  BufferSize = size + 4;
}

void TIdTrivialFTP::Put(rtl::TStream& source, const AnsiString& remoteName) {
  const rtl::Int64 toSend = std::max<rtl::Int64>(0, source.Size() - source.Position());
  BeginWork(net::TWorkMode::wmWrite, toSend);
  TransferEnd end{*this, net::TWorkMode::wmWrite};
  BufferSize = kPlainBlockSize + 4;
  BeginTransfer();
  Status("Sending " + remoteName + " to " + ServerText());
  SendPacket(Request(net::TFTP_WRQ, remoteName));
  uint64_t sentAt = rtl::CurrentClock()->MonotonicMs();

  rtl::Int64 left = toSend;
  uint64_t prepared = 0;  // data packets made so far, without the 16-bit wrap
  bool finishing = false;
  int retries = 0;
  std::vector<rtl::Byte> chunk;
  net::TBytes packet;
  for (;;) {
    if (!ReceivePacket(packet, Remaining(sentAt, ReceiveTimeout))) {
      if (retries < kMaxRetransmits) {
        ++retries;
        Retransmit();
        sentAt = rtl::CurrentClock()->MonotonicMs();
        continue;
      }
      if (finishing) {
        TDebugBase::LogFor("The last block (" + std::to_string(prepared & 0xFFFF) +
                               ") of " + remoteName +
                               " was not acknowledged; the transfer counts as done",
                           *this);
        break;
      }
      throw net::EIdTFTPException("Timeout");
    }
    switch (net::TftpOpcode(packet)) {
      case net::TFTP_ACK:
        // Only the acknowledgement of the packet in flight moves on: a
        // repeated one (ours was sent again, or the server's doubled) and
        // one ahead of what was sent are ignored.
        if (net::TftpNumber(packet) != (prepared & 0xFFFF)) continue;
        break;
      case net::TFTP_ERROR:
        RaiseError(packet);
      case net::TFTP_OACK:
        if (prepared != 0) continue;
        CheckOptionAck(packet);
        Status("Sending " + remoteName + " in blocks of " + std::to_string(BlockSize()) + " bytes");
        break;
      default:
        continue;
    }
    if (finishing) break;

    const rtl::Integer blockSize = BlockSize();
    const auto count = static_cast<rtl::Integer>(std::min<rtl::Int64>(blockSize, left));
    chunk.resize(static_cast<size_t>(count));
    if (count > 0) source.ReadBuffer(chunk.data(), count);
    left -= count;
    ++prepared;
    SendPacket(net::TftpDataPacket(static_cast<rtl::Word>(prepared & 0xFFFF), chunk.data(),
                                   chunk.size()));
    sentAt = rtl::CurrentClock()->MonotonicMs();
    retries = 0;
    finishing = count < blockSize;
    DoWork(net::TWorkMode::wmWrite, count);
  }
  Status("Sent " + std::to_string(toSend) + " bytes of " + remoteName);
}

void TIdTrivialFTP::Get(const AnsiString& remoteName, rtl::TStream& destination) {
  BeginWork(net::TWorkMode::wmRead);
  TransferEnd end{*this, net::TWorkMode::wmRead};
  BufferSize = kPlainBlockSize + 4;
  BeginTransfer();
  Status("Receiving " + remoteName + " from " + ServerText());
  SendPacket(Request(net::TFTP_RRQ, remoteName));
  uint64_t sentAt = rtl::CurrentClock()->MonotonicMs();

  rtl::Int64 received = 0;
  uint64_t stored = 0;  // blocks stored so far, without the 16-bit wrap
  bool finishing = false;
  int retries = 0;
  net::TBytes packet;
  for (;;) {
    // Once the last block is in, linger briefly in case our acknowledgement
    // was lost and the block comes again.
    const rtl::Cardinal wait = finishing ? std::min<rtl::Cardinal>(500, ReceiveTimeout) : ReceiveTimeout;
    if (!ReceivePacket(packet, Remaining(sentAt, wait))) {
      if (finishing) break;
      if (retries < kMaxRetransmits) {
        ++retries;
        Retransmit();
        sentAt = rtl::CurrentClock()->MonotonicMs();
        continue;
      }
      throw net::EIdTFTPException("Timeout");
    }
    const rtl::Word opcode = net::TftpOpcode(packet);
    if (opcode == net::TFTP_DATA) {
      const rtl::Word block = net::TftpNumber(packet);
      if (finishing) {
        if (block == (stored & 0xFFFF)) SendAck(block);
        break;
      }
      if (block == ((stored + 1) & 0xFFFF)) {
        const auto count = static_cast<rtl::Integer>(packet.size() >= 4 ? packet.size() - 4 : 0);
        try {
          if (count > 0) destination.WriteBuffer(packet.data() + 4, count);
        } catch (const std::exception& e) {
          SendErrorPacket(net::TftpErrorCodeOf(e), e.what());
          throw;
        }
        ++stored;
        received += count;
        DoWork(net::TWorkMode::wmRead, count);
        finishing = count < BlockSize();
        SendAck(block);
        sentAt = rtl::CurrentClock()->MonotonicMs();
        retries = 0;
      } else if (stored > 0 && block == (stored & 0xFFFF)) {
        // Our acknowledgement was lost: the block came again.
        SendAck(block);
      }
    } else if (opcode == net::TFTP_ERROR) {
      RaiseError(packet);
    } else if (opcode == net::TFTP_OACK) {
      if (stored != 0) continue;
      CheckOptionAck(packet);
      SendAck(0);
      sentAt = rtl::CurrentClock()->MonotonicMs();
      retries = 0;
    } else {
      throw net::EIdTFTPException(rtl::Format("Unexpected operation from %s:%d", {Host, rtl::Integer(Port)}));
    }
  }
  Status("Received " + std::to_string(received) + " bytes of " + remoteName);
}

}  // namespace core
