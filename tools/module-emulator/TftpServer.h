#pragma once
// The module's TFTP server (RFC 1350 with the block-size option of RFC 2348):
// it takes the write of the file-system image, one transfer port per request,
// lock-step acknowledgements, and checks what it received with the image
// builder's reader. Fault switches make it lose, repeat or refuse on purpose.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "net/UDPClient.h"
#include "net/UDPServer.h"
#include "rtl/Types.h"

namespace emulator {

using rtl::AnsiString;
using rtl::Word;

// Blocks are counted from 1 in the order they arrive, without the 16-bit
// wrap of their numbers on the wire.
struct TTftpFaults {
  int DropAckOf = 0;          // the first acknowledgement of this block is lost
  int DuplicateAckOf = 0;     // the acknowledgement of this block goes out twice
  int StrayAfter = 0;         // after this block, a datagram from another port reaches the client
  bool SilentAfterLastBlock = false;  // the last block is never acknowledged
  int ErrorAt = -1;           // 0: the request, n: block n is answered with an error packet
  int ErrorCode = 3;
  AnsiString ErrorMessage = "Disk full or allocation exceeded";
  int OptionBlockSize = 0;    // the block-size option is answered with this size, whatever was asked
  bool RefuseOption = false;  // options are ignored: block 0 is acknowledged, 512-byte blocks follow
};

struct TTftpTransfer {
  double StartMs = 0;  // since the server started
  AnsiString ClientIP;
  Word ClientPort = 0;
  AnsiString FileName;
  AnsiString Mode;
  int RequestedBlockSize = 0;  // 0: no option
  int BlockSize = 512;         // the size used
  std::vector<rtl::Byte> Data;
  int Blocks = 0;              // blocks taken
  int DataPackets = 0;         // data packets received, repeats included
  int RepeatedPackets = 0;     // data packets that repeated the block before
  int AcksSent = 0;
  int StrangersRefused = 0;    // datagrams from other ports, answered with error 5
  bool Finished = false;       // complete or failed
  bool Complete = false;
  AnsiString Failure;
  bool ImageValid = false;
  AnsiString ImageCheck;       // the reader's verdict
};

struct TTftpOptions {
  AnsiString IP = "127.0.0.2";
  Word Port = 0;                          // 0: the system picks one
  AnsiString AcceptedName = "image.cds";  // the only file a module takes
  int TimeoutMs = 5000;                   // then the last answer is sent again ...
  int Retries = 3;                        // ... this many times before giving up
  int DallyMs = 2000;                     // after the last block, repeats are still answered
  int MaxBlockSize = 65464;
};

class TTftpServer {
 public:
  explicit TTftpServer(TTftpOptions options);
  ~TTftpServer();
  TTftpServer(const TTftpServer&) = delete;
  TTftpServer& operator=(const TTftpServer&) = delete;

  void Start();  // raises net::ESocketError
  void Stop();   // ends every transfer in progress
  Word Port() const { return listener_.Binding().Port; }

  void SetFaults(const TTftpFaults& faults);
  TTftpFaults Faults() const;

  std::vector<TTftpTransfer> Transfers() const;
  // Waits (real time) until this many transfers have finished.
  bool WaitForFinished(size_t count, int timeoutMs) const;

  // Called on the transfer's thread when a transfer has finished.
  std::function<void(const TTftpTransfer&)> OnTransferEnd;

 private:
  void OnRequest(const net::TBytes& data, const net::TUDPBinding& b);
  void Run(size_t index, net::TUDPBinding client, net::TBytes request);
  void Finish(size_t index, bool complete, const AnsiString& failure);
  template <class F>
  void Update(size_t index, F f);

  TTftpOptions options_;
  std::chrono::steady_clock::time_point started_;
  net::TUDPServer listener_;

  mutable std::mutex lock_;
  mutable std::condition_variable changed_;
  TTftpFaults faults_;
  std::vector<TTftpTransfer> transfers_;
  std::vector<std::thread> threads_;
  bool stopping_ = false;
};

// TFTP packets.
net::TBytes TftpAck(int block);
net::TBytes TftpError(int code, const AnsiString& message);

}  // namespace emulator
