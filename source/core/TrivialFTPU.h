#pragma once
// The TFTP client that carries an image to a module: a write transfer (Put)
// and a read transfer (Get), lock-step, with the block-size option.
//
// Beyond the bare protocol it keeps to its transfer: it sends its last
// packet again when an answer does not come (a bounded number of times),
// never answers a repeated acknowledgement (both sides resending would
// double the traffic for the rest of the transfer), locks onto the server's
// transfer port, and accepts a negotiated block size only from 8 up to what
// it asked for.
#include <functional>

#include "net/TftpClientBase.h"
#include "rtl/Streams.h"
#include "rtl/Types.h"

namespace core {

using rtl::AnsiString;

enum class TIdTFTPMode { tfNetAscii, tfOctet };

class TIdTrivialFTP : public net::TTftpClientBase {
 public:
  static constexpr rtl::Word kDefaultPort = 69;
  static constexpr rtl::Cardinal kDefaultReceiveTimeout = 4000;
  static constexpr rtl::Integer kDefaultBlockSize = 1500;
  // The smallest block size a server may answer the option with.
  static constexpr rtl::Integer kMinBlockSize = 8;
  // Without options every block but the last carries this much.
  static constexpr rtl::Integer kPlainBlockSize = 512;

  TIdTrivialFTP();
  virtual const char* ClassName() const { return "TIdTrivialFTP"; }

  // The mode word of the request; the data are never translated.
  TIdTFTPMode TransferMode = TIdTFTPMode::tfOctet;
  // The block size asked for with the "blksize" option.
  rtl::Integer RequestedBlockSize = kDefaultBlockSize;

  // Sends the stream from its position to its end as the remote file.
  // Raises EIdTFTPException "Timeout" when the server stops answering, the
  // class of the server's error code for an error packet, and
  // EIdTFTPOptionNegotiationFailed for a block size it cannot take.
  void Put(rtl::TStream& source, const AnsiString& remoteName);
  // Appends the remote file to the stream.
  void Get(const AnsiString& remoteName, rtl::TStream& destination);

  AnsiString GetModeWord() const;
  // The block size of the transfer in progress (or the last one).
  rtl::Integer BlockSize() const { return BufferSize - 4; }

  // Status texts of the transfer (on the transfer's thread).
  std::function<void(TIdTrivialFTP& sender, const AnsiString& status)> OnStatus;

 protected:
  // Applies the first option of an option acknowledgement when it is
  // "blksize"; a size below 8 or above the one asked for is answered with
  // error 8 and raises.
  void CheckOptionAck(const net::TBytes& packet);
  [[noreturn]] void RaiseError(const net::TBytes& packet);
  void SendAck(rtl::Word block);
  void Status(const AnsiString& text);

 private:
  net::TBytes Request(net::TTftpOpcode opcode, const AnsiString& remoteName) const;
  AnsiString ServerText() const;
};

}  // namespace core
