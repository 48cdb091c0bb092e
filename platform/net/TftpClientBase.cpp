#include "net/TftpClientBase.h"

#include <algorithm>

namespace net {

namespace {

void PutWord(TBytes& d, rtl::Word v) {
  d.push_back(static_cast<rtl::Byte>(v >> 8));
  d.push_back(static_cast<rtl::Byte>(v & 0xFF));
}

void PutText(TBytes& d, const rtl::AnsiString& s) {
  d.insert(d.end(), s.begin(), s.end());
  d.push_back(0);
}

void PutOptions(TBytes& d, const TTftpOptions& options) {
  for (const auto& [name, value] : options) {
    PutText(d, name);
    PutText(d, value);
  }
}

}  // namespace

void RaiseTftpError(rtl::Word code, const rtl::AnsiString& message) {
  switch (code) {
    case ErrFileNotFound: throw EIdTFTPFileNotFound(message);
    case ErrAccessViolation: throw EIdTFTPAccessViolation(message);
    case ErrAllocationExceeded: throw EIdTFTPAllocationExceeded(message);
    case ErrIllegalOperation: throw EIdTFTPIllegalOperation(message);
    case ErrUnknownTransferID: throw EIdTFTPUnknownTransferID(message);
    case ErrFileAlreadyExists: throw EIdTFTPFileAlreadyExists(message);
    case ErrNoSuchUser: throw EIdTFTPNoSuchUser(message);
    case ErrOptionNegotiationFailed: throw EIdTFTPOptionNegotiationFailed(message);
    default: throw EIdTFTPException(message);
  }
}

rtl::Word TftpErrorCodeOf(const std::exception& e) {
  if (dynamic_cast<const EIdTFTPFileNotFound*>(&e)) return ErrFileNotFound;
  if (dynamic_cast<const EIdTFTPAccessViolation*>(&e)) return ErrAccessViolation;
  if (dynamic_cast<const EIdTFTPAllocationExceeded*>(&e)) return ErrAllocationExceeded;
  if (dynamic_cast<const EIdTFTPIllegalOperation*>(&e)) return ErrIllegalOperation;
  if (dynamic_cast<const EIdTFTPUnknownTransferID*>(&e)) return ErrUnknownTransferID;
  if (dynamic_cast<const EIdTFTPFileAlreadyExists*>(&e)) return ErrFileAlreadyExists;
  if (dynamic_cast<const EIdTFTPNoSuchUser*>(&e)) return ErrNoSuchUser;
  if (dynamic_cast<const EIdTFTPOptionNegotiationFailed*>(&e)) return ErrOptionNegotiationFailed;
  return ErrUndefined;
}

TBytes TftpRequestPacket(TTftpOpcode opcode, const rtl::AnsiString& fileName,
                         const rtl::AnsiString& mode, const TTftpOptions& options) {
  TBytes d;
  PutWord(d, opcode);
  PutText(d, fileName);
  PutText(d, mode);
  PutOptions(d, options);
  return d;
}

TBytes TftpDataPacket(rtl::Word block, const rtl::Byte* data, size_t count) {
  TBytes d;
  d.reserve(4 + count);
  PutWord(d, TFTP_DATA);
  PutWord(d, block);
  if (count) d.insert(d.end(), data, data + count);
  return d;
}

TBytes TftpAckPacket(rtl::Word block) {
  TBytes d;
  PutWord(d, TFTP_ACK);
  PutWord(d, block);
  return d;
}

TBytes TftpErrorPacket(rtl::Word code, const rtl::AnsiString& message) {
  TBytes d;
  PutWord(d, TFTP_ERROR);
  PutWord(d, code);
  PutText(d, message);
  return d;
}

TBytes TftpOptionAckPacket(const TTftpOptions& options) {
  TBytes d;
  PutWord(d, TFTP_OACK);
  PutOptions(d, options);
  return d;
}

rtl::Word TftpOpcode(const TBytes& packet) {
  return packet.size() < 2 ? 0 : static_cast<rtl::Word>((packet[0] << 8) | packet[1]);
}

rtl::Word TftpNumber(const TBytes& packet) {
  return packet.size() < 4 ? 0 : static_cast<rtl::Word>((packet[2] << 8) | packet[3]);
}

std::vector<rtl::AnsiString> TftpTexts(const TBytes& packet, size_t from) {
  std::vector<rtl::AnsiString> texts;
  size_t i = from;
  while (i < packet.size()) {
    auto zero = std::find(packet.begin() + static_cast<std::ptrdiff_t>(i), packet.end(), 0);
    texts.emplace_back(packet.begin() + static_cast<std::ptrdiff_t>(i), zero);
    i = static_cast<size_t>(zero - packet.begin()) + 1;
  }
  return texts;
}

rtl::AnsiString TftpErrorMessage(const TBytes& packet) {
  auto texts = TftpTexts(packet, 4);
  return texts.empty() ? rtl::AnsiString() : texts.front();
}

void TTftpClientBase::BeginTransfer() {
  locked_ = false;
  transferIP_.clear();
  transferPort_ = 0;
  serverIP_.clear();
  last_.clear();
  strangersRefused_ = 0;
  retransmissions_ = 0;
}

rtl::AnsiString TTftpClientBase::ServerIP() {
  if (serverIP_.empty()) serverIP_ = AddressText(ResolveIPv4(Host, Port));
  return serverIP_;
}

void TTftpClientBase::SendToServer(const TBytes& packet) {
  if (locked_)
    SendBuffer(transferIP_, transferPort_, packet);
  else
    SendBuffer(Host, Port, packet);
}

void TTftpClientBase::SendPacket(TBytes packet) {
  last_ = std::move(packet);
  SendToServer(last_);
}

void TTftpClientBase::Retransmit() {
  ++retransmissions_;
  SendToServer(last_);
}

void TTftpClientBase::SendErrorPacket(rtl::Word code, const rtl::AnsiString& message) {
  SendToServer(TftpErrorPacket(code, message));
}

bool TTftpClientBase::ReceivePacket(TBytes& packet, rtl::Cardinal timeoutMs) {
  auto clock = rtl::CurrentClock();
  const bool unlimited = timeoutMs == rtl::INFINITE;
  const uint64_t end = clock->MonotonicMs() + (unlimited ? 0 : timeoutMs);
  for (;;) {
    rtl::Cardinal left = rtl::INFINITE;
    if (!unlimited) {
      const uint64_t now = clock->MonotonicMs();
      left = now >= end ? 0 : static_cast<rtl::Cardinal>(end - now);
    }
    if (!ReceiveBuffer(packet, left)) return false;
    const rtl::AnsiString ip = PeerIP();
    const rtl::Word port = PeerPort();
    if (locked_) {
      if (ip == transferIP_ && port == transferPort_) return true;
    } else if (ip == ServerIP()) {
      // The server answers from a port of its own for this transfer; from
      // now on only that port speaks for it.
      locked_ = true;
      transferIP_ = ip;
      transferPort_ = port;
      return true;
    }
    ++strangersRefused_;
    SendBuffer(ip, port, TftpErrorPacket(ErrUnknownTransferID, "Unknown transfer ID"));
  }
}

}  // namespace net
