#include "TftpServer.h"

#include <stdexcept>

#include "TambletImage.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace emulator {

namespace {

enum Opcode { kRRQ = 1, kWRQ = 2, kDATA = 3, kACK = 4, kERROR = 5, kOACK = 6 };

int Word16(const net::TBytes& d, size_t at) {
  return at + 1 < d.size() ? (d[at] << 8) | d[at + 1] : -1;
}

void PutWord16(net::TBytes& d, int v) {
  d.push_back(static_cast<rtl::Byte>((v >> 8) & 0xFF));
  d.push_back(static_cast<rtl::Byte>(v & 0xFF));
}

void PutText(net::TBytes& d, const AnsiString& s) {
  d.insert(d.end(), s.begin(), s.end());
  d.push_back(0);
}

// The zero-ended strings after the opcode of a request.
std::vector<AnsiString> RequestFields(const net::TBytes& d) {
  std::vector<AnsiString> fields;
  AnsiString cur;
  bool open = false;
  for (size_t i = 2; i < d.size(); ++i) {
    if (d[i] == 0) {
      fields.push_back(cur);
      cur.clear();
      open = false;
    } else {
      cur += static_cast<char>(d[i]);
      open = true;
    }
  }
  if (open) fields.push_back(cur);  // an unterminated last field still counts
  return fields;
}

}  // namespace

net::TBytes TftpAck(int block) {
  net::TBytes d;
  PutWord16(d, kACK);
  PutWord16(d, block & 0xFFFF);
  return d;
}

net::TBytes TftpError(int code, const AnsiString& message) {
  net::TBytes d;
  PutWord16(d, kERROR);
  PutWord16(d, code);
  PutText(d, message);
  return d;
}

TTftpServer::TTftpServer(TTftpOptions options) : options_(std::move(options)) {}

TTftpServer::~TTftpServer() { Stop(); }

void TTftpServer::Start() {
  started_ = std::chrono::steady_clock::now();
  {
    std::lock_guard<std::mutex> g(lock_);
    stopping_ = false;
  }
  listener_.SetBindIP(options_.IP);
  listener_.SetDefaultPort(options_.Port);
  listener_.OnUDPRead = [this](net::TUDPServer&, const net::TBytes& d, const net::TUDPBinding& b) {
    OnRequest(d, b);
  };
  listener_.SetActive(true);
}

void TTftpServer::Stop() {
  listener_.SetActive(false);
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> g(lock_);
    stopping_ = true;
    threads.swap(threads_);
  }
  for (auto& t : threads) t.join();
}

void TTftpServer::SetFaults(const TTftpFaults& faults) {
  std::lock_guard<std::mutex> g(lock_);
  faults_ = faults;
}

TTftpFaults TTftpServer::Faults() const {
  std::lock_guard<std::mutex> g(lock_);
  return faults_;
}

std::vector<TTftpTransfer> TTftpServer::Transfers() const {
  std::lock_guard<std::mutex> g(lock_);
  return transfers_;
}

bool TTftpServer::WaitForFinished(size_t count, int timeoutMs) const {
  std::unique_lock<std::mutex> g(lock_);
  return changed_.wait_for(g, std::chrono::milliseconds(timeoutMs), [&] {
    size_t n = 0;
    for (const auto& t : transfers_) n += t.Finished ? 1 : 0;
    return n >= count;
  });
}

template <class F>
void TTftpServer::Update(size_t index, F f) {
  {
    std::lock_guard<std::mutex> g(lock_);
    f(transfers_[index]);
  }
  changed_.notify_all();
}

void TTftpServer::Finish(size_t index, bool complete, const AnsiString& failure) {
  TTftpTransfer copy;
  Update(index, [&](TTftpTransfer& t) {
    if (t.Finished) return;
    t.Finished = true;
    t.Complete = complete;
    t.Failure = failure;
    if (complete) {
      try {
        auto files = tamblet::CheckImage(t.Data);
        t.ImageValid = true;
        t.ImageCheck = std::to_string(files.size()) + " files";
      } catch (const std::exception& e) {
        t.ImageValid = false;
        t.ImageCheck = e.what();
      }
    }
    copy = t;
  });
  if (copy.Finished && OnTransferEnd) OnTransferEnd(copy);
}

void TTftpServer::OnRequest(const net::TBytes& data, const net::TUDPBinding& b) {
  const int opcode = Word16(data, 0);
  auto fields = RequestFields(data);
  auto refuse = [&](int code, const AnsiString& message) {
    listener_.SendBuffer(b.PeerIP, b.PeerPort, TftpError(code, message));
  };
  if (opcode == kRRQ) return refuse(1, "File not found");
  if (opcode != kWRQ || fields.size() < 2) return refuse(4, "Illegal TFTP operation");
  if (!rtl::SameText(fields[0], options_.AcceptedName)) return refuse(2, "Access violation");

  TTftpTransfer t;
  t.StartMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_)
                  .count();
  t.ClientIP = b.PeerIP;
  t.ClientPort = b.PeerPort;
  t.FileName = fields[0];
  t.Mode = fields[1];
  for (size_t i = 2; i + 1 < fields.size(); i += 2)
    if (rtl::SameText(fields[i], "blksize")) t.RequestedBlockSize = rtl::StrToIntDef(fields[i + 1], 0);
  std::lock_guard<std::mutex> g(lock_);
  if (stopping_) return;
  transfers_.push_back(t);
  threads_.emplace_back(&TTftpServer::Run, this, transfers_.size() - 1, b, data);
}

// One transfer, on its own thread and its own port (the transfer's TID).
void TTftpServer::Run(size_t index, net::TUDPBinding client, net::TBytes request) {
  const TTftpFaults f = Faults();
  net::TUDPClient sock;
  sock.BoundIP = options_.IP;
  sock.RealTimeWaits = true;
  sock.BufferSize = 65535;
  auto send = [&](const net::TBytes& d) { sock.SendBuffer(client.PeerIP, client.PeerPort, d); };
  try {
    sock.Open();
    if (f.ErrorAt == 0) {
      send(TftpError(f.ErrorCode, f.ErrorMessage));
      return Finish(index, false, "request refused with error " + std::to_string(f.ErrorCode));
    }
    int requested = 0;
    {
      std::lock_guard<std::mutex> g(lock_);
      requested = transfers_[index].RequestedBlockSize;
    }
    int blockSize = 512;
    net::TBytes last;  // the answer sent last, repeated on a time-out
    if (requested >= 8 && requested <= 65464 && !f.RefuseOption) {
      blockSize = f.OptionBlockSize > 0 ? f.OptionBlockSize : std::min(requested, options_.MaxBlockSize);
      PutWord16(last, kOACK);
      PutText(last, "blksize");
      PutText(last, std::to_string(blockSize));
    } else {
      last = TftpAck(0);
    }
    Update(index, [&](TTftpTransfer& t) { t.BlockSize = blockSize; });
    send(last);

    int expected = 1;  // the next block, counted without the wrap
    int retries = 0;
    bool droppedOnce = false;
    bool done = false;  // the last block came: only repeats are answered now
    int waitedMs = 0;
    for (;;) {
      net::TBytes d;
      // Short slices, so that Stop never waits for a whole time-out.
      const int slice = 100;
      bool got = sock.ReceiveBuffer(d, slice);
      {
        std::lock_guard<std::mutex> g(lock_);
        if (stopping_) break;
      }
      if (!got) {
        waitedMs += slice;
        if (done) {
          if (waitedMs >= options_.DallyMs) return;
          continue;
        }
        if (waitedMs < options_.TimeoutMs) continue;
        waitedMs = 0;
        if (++retries > options_.Retries)
          return Finish(index, false, "timed out waiting for block " + std::to_string(expected));
        send(last);
        continue;
      }
      if (sock.PeerIP() != client.PeerIP || sock.PeerPort() != client.PeerPort) {
        sock.SendBuffer(sock.PeerIP(), sock.PeerPort(), TftpError(5, "Unknown transfer ID"));
        Update(index, [](TTftpTransfer& t) { ++t.StrangersRefused; });
        continue;
      }
      const int opcode = Word16(d, 0);
      if (opcode == kERROR) {
        const int code = Word16(d, 2);
        AnsiString message(d.begin() + std::min<size_t>(4, d.size()), d.end());
        message = message.substr(0, message.find('\0'));
        return Finish(index, false,
                      "client sent error " + std::to_string(code) + ": " + message);
      }
      if (opcode != kDATA) continue;
      waitedMs = 0;
      const int block = Word16(d, 2);
      const size_t payload = d.size() >= 4 ? d.size() - 4 : 0;
      const bool isRepeat = block == ((expected - 1) & 0xFFFF) && expected > 1;
      Update(index, [&](TTftpTransfer& t) {
        ++t.DataPackets;
        if (isRepeat) ++t.RepeatedPackets;
      });
      if (isRepeat) {
        // The acknowledgement was lost (or late): send it again.
        const bool lastBlock = done;
        if (!(lastBlock && f.SilentAfterLastBlock)) {
          send(last);
          Update(index, [](TTftpTransfer& t) { ++t.AcksSent; });
        }
        continue;
      }
      if (done || block != (expected & 0xFFFF)) continue;  // nothing a module would take

      const int n = expected++;
      retries = 0;
      if (f.ErrorAt == n) {
        send(TftpError(f.ErrorCode, f.ErrorMessage));
        return Finish(index, false, "block " + std::to_string(n) + " refused with error " +
                                        std::to_string(f.ErrorCode));
      }
      const bool lastBlock = payload < static_cast<size_t>(blockSize);
      Update(index, [&](TTftpTransfer& t) {
        t.Data.insert(t.Data.end(), d.begin() + 4, d.end());
        ++t.Blocks;
      });
      last = TftpAck(block);
      done = lastBlock;
      const bool silent = lastBlock && f.SilentAfterLastBlock;
      const bool drop = f.DropAckOf == n && !droppedOnce;
      if (drop) droppedOnce = true;
      if (!silent && !drop) {
        const int copies = f.DuplicateAckOf == n ? 2 : 1;
        for (int i = 0; i < copies; ++i) send(last);
        Update(index, [&](TTftpTransfer& t) { t.AcksSent += copies; });
      }
      if (f.StrayAfter == n) {
        // Another port of this machine chimes in with an acknowledgement of
        // the same block; the client must refuse it and carry on.
        net::TUDPClient stray;
        stray.BoundIP = options_.IP;
        stray.SendBuffer(client.PeerIP, client.PeerPort, TftpAck(block));
      }
      if (lastBlock) Finish(index, true, "");
    }
  } catch (const std::exception& e) {
    return Finish(index, false, e.what());
  }
  Finish(index, false, "server stopped");
}

}  // namespace emulator
