#include "core/VormekProgrammerU.h"

#include <algorithm>
#include <atomic>

#include "core/TrivialFTPU.h"
#include "rtl/Clock.h"
#include "rtl/Convert.h"
#include "rtl/DecimalDigits.h"
#include "rtl/ListErrors.h"
#include "rtl/MessagePump.h"
#include "rtl/Strings.h"
#include "rtl/SyncObjs.h"
#include "rtl/Threads.h"

namespace core {

namespace {

[[noreturn]] void RaiseIndex(rtl::Integer index) {
  throw rtl::EListError(rtl::ListIndexMessage(index));
}

struct Row {
  int group;
  const char* get;
  const char* set;  // "-": read-only
  rtl::Byte kind;
  rtl::Byte mask;
  const char* caption;
};

// The port of the web server is a number like every other port, so it is
// edited as plain text.
const Row kSettings[] = {
    {0, "HWTYPE", "-", kEditText, 255, "Hardware Type"},
    {0, "IP", "AIP", kEditIPAddress, 255, "IP Address"},
    {0, "MAC", "-", kEditPlain, 255, "MAC Address"},
    {0, "GW", "AGW", kEditIPAddress, 255, "Gateway"},
    {0, "NMASK", "ANMASK", kEditIPAddress, 255, "Net Mask"},
    {0, "DNS", "ADNS", kEditIPAddress, 255, "DNS"},
    {0, "DHCP", "DHCP", kEditYesNo, 255, "DHCP"},
    {0, "BOUND", "-", kEditYesNo, 255, "DHCP Bound"},
    {0, "LINK", "-", kEditYesNo, 255, "MAC Link"},
    {1, "WIFI_SSID", "WIFI_ASSID", kEditPlain, 16, "Access Point Name"},
    {1, "WIFI_SECURITY", "WIFI_SECURITY", kEditText, 16, "Security Type"},
    {1, "WIFI_KEY", "WIFI_KEY", kEditPlain, 16, "Security Key"},
    {1, "WIFI_CHANNELS", "WIFI_CHANNELS", kEditPlain, 16, "Channel Scan List"},
    {1, "WIFI_REGION", "WIFI_REGION", kEditText, 16, "WIFI Region"},
    {1, "WIFI_LED", "WIFI_LED", kEditPlain, 16, "LED Connection Indicator"},
    {1, "WIFI_VERSION", "-", kEditPlain, 16, "WIFI Version"},
    {1, "WIFI_TYPE", "WIFI_TYPE", kEditPlain, 16, "Type (Infra or Adhoc)"},
    {2, "EMAIL_TO", "EMAIL_TO", kEditPlain, 255, "E-mail To"},
    {2, "EMAIL_FROM", "EMAIL_FROM", kEditPlain, 255, "E-mail From"},
    {2, "EMAIL_SUBJECT", "EMAIL_SUBJECT", kEditPlain, 255, "E-mail Subject"},
    {2, "EMAIL_HOST", "EMAIL_HOST", kEditPlain, 255, "E-mail Host"},
    {2, "EMAIL_PORT", "EMAIL_PORT", kEditPlain, 255, "E-mail Port"},
    {2, "EMAIL_USER", "EMAIL_USER", kEditPlain, 254, "E-mail Username"},
    {2, "EMAIL_PASS", "EMAIL_PASS", kEditPlain, 254, "E-mail Password"},
    {3, "HTTP", "HTTP", kEditPlain, 255, "HTTP Port"},
    {3, "HTTP_USER", "HTTP_USER", kEditPlain, 255, "HTTP Username"},
    {3, "HTTP_PASS", "HTTP_PASS", kEditPlain, 255, "HTTP Password"},
    {3, "TFTP", "TFTP", kEditPlain, 255, "TFTP Port"},
    {3, "ANNOUNCE_PORT", "ANNOUNCE_PORT", kEditPlain, 255, "Announce Port"},
    {3, "UDP", "UDP", kEditPlain, 255, "UDP Command Port"},
    {3, "UDP_TX", "UDP_TX", kEditPlain, 254, "UDP Transmit Port"},
    {3, "UDP_HOST", "UDP_HOST", kEditPlain, 254, "UDP Transmit Host"},
    {4, "ID", "ID", kEditPlain, 255, "ID"},
    {4, "SSN", "-", kEditPlain, 255, "S/N"},
    {4, "VER", "-", kEditPlain, 255, "VER"},
};

// Closes the connection however an operation ends.
struct CloseAtEnd {
  TUDPConnection& c;
  ~CloseAtEnd() { c.Close(); }
};

}  // namespace

bool SameDeviceCmd(const TdeviceCmd& a, const TdeviceCmd& b) {
  return a.Value == b.Value && a.GetName == b.GetName && a.SetName == b.SetName && a.Caption == b.Caption;
}

rtl::Byte HardwareTypeToMask(rtl::Integer hardwareType) {
  return hardwareType >= 0 && hardwareType <= 4 ? static_cast<rtl::Byte>(1u << hardwareType) : 255;
}

rtl::Byte HardwareTypeTextToMask(const AnsiString& hardwareType) {
  const rtl::Integer n = rtl::DecimalOrMinusOne(hardwareType);
  return n < 0 ? 255 : HardwareTypeToMask(n);
}

rtl::Integer PercentOf(rtl::Int64 done, rtl::Int64 total) {
  if (total <= 0) return 0;
  return static_cast<rtl::Integer>(rtl::Round(static_cast<double>(done) / static_cast<double>(total) * 100));
}

// ---------------------------------------------------------------------------

void TdeviceCmds::Add(const TdeviceCmd& entry) {
  all_.push_back(entry);
  if (entry.HardwareMask & filter_) visible_.push_back(entry);
}

void TdeviceCmds::SetFilter(rtl::Byte mask) {
  filter_ = mask;
  visible_.clear();
  for (const auto& e : all_)
    if (e.HardwareMask & filter_) visible_.push_back(e);
}

const TdeviceCmd& TdeviceCmds::Visible(rtl::Integer index) const {
  if (index < 0 || index >= Count()) RaiseIndex(index);
  return visible_[static_cast<size_t>(index)];
}

TdeviceCmd TdeviceCmds::GetCmd(rtl::Integer index) const { return Visible(index); }

AnsiString TdeviceCmds::GetValue(rtl::Integer index) const { return Visible(index).Value; }

void TdeviceCmds::SetValue(rtl::Integer index, const AnsiString& value) {
  Visible(index);
  auto& e = visible_[static_cast<size_t>(index)];
  e.Value = value;
  e.HasValue = value != kNotAvailable;
}

// ---------------------------------------------------------------------------

TdeviceCmds& TDeviceClient::Cmds(rtl::Integer group) {
  if (group < 0 || group >= kGroupCount) RaiseIndex(group);
  return groups_[static_cast<size_t>(group)];
}

const TdeviceCmds& TDeviceClient::Cmds(rtl::Integer group) const {
  if (group < 0 || group >= kGroupCount) RaiseIndex(group);
  return groups_[static_cast<size_t>(group)];
}

// ---------------------------------------------------------------------------

// The transfer of one upload. It owns nothing of the caller's: it reads the
// caller's stream (which outlives it) and sets the caller's event as its
// very last action, after which its outcome is final.
class TvormekProgrammer::TDataUploader : public rtl::TThread {
 public:
  TDataUploader(rtl::TEvent& done, const TUploadData& data, rtl::Cardinal receiveTimeout)
      : rtl::TThread(true), done_(done), data_(data), receiveTimeout_(receiveTimeout) {}
  ~TDataUploader() override {
    if (Started()) WaitFor();
  }

  bool Success() const { return success_; }
  AnsiString Failure() const {
    std::lock_guard<std::mutex> g(lock_);
    return failure_;
  }
  TUploadProgress Progress() const {
    std::lock_guard<std::mutex> g(lock_);
    return progress_;
  }

 protected:
  void Execute() override {
    done_.ResetEvent();
    success_ = false;
    try {
      if (data_.TFTPPort > 0 && data_.TFTPPort <= 65535 && data_.Stream) {
        TIdTrivialFTP tftp;
        tftp.Port = static_cast<rtl::Word>(data_.TFTPPort);
        tftp.Host = data_.Host.substr(0, data_.Host.find(':'));
        tftp.ReceiveTimeout = receiveTimeout_;
        tftp.OnWork = [this](net::TUDPClient&, net::TWorkMode, rtl::Int64 total) {
          std::lock_guard<std::mutex> g(lock_);
          progress_.BytesDone = total;
        };
        tftp.OnWorkBegin = [this](net::TUDPClient&, net::TWorkMode, rtl::Int64 count) {
          std::lock_guard<std::mutex> g(lock_);
          progress_.BytesToSend = count;
        };
        tftp.OnStatus = [this](TIdTrivialFTP&, const AnsiString& text) {
          std::lock_guard<std::mutex> g(lock_);
          progress_.Status = text;
        };
        // Open raises when the socket cannot be had; the transfer closes it.
        tftp.Open();
        tftp.Put(*data_.Stream, kRemoteImageName);
        success_ = true;
      } else if (data_.TFTPPort == -1) {
        SetFailure("The device did not tell its TFTP port.");
      } else {
        SetFailure("The device reported no usable TFTP port.");
      }
    } catch (const rtl::Exception& e) {
      SetFailure(e.Message().empty() ? AnsiString(e.ClassName()) : e.Message());
    } catch (const std::exception& e) {
      SetFailure(e.what());
    }
    done_.SetEvent();
  }

 private:
  void SetFailure(const AnsiString& text) {
    std::lock_guard<std::mutex> g(lock_);
    failure_ = text;
  }

  rtl::TEvent& done_;
  const TUploadData data_;
  const rtl::Cardinal receiveTimeout_;
  std::atomic<bool> success_{false};
  mutable std::mutex lock_;
  TUploadProgress progress_;
  AnsiString failure_;
};

// ---------------------------------------------------------------------------

TvormekProgrammer::TvormekProgrammer(const AnsiString& address)
    : connection_(std::make_unique<TUDPConnection>(address)), address_(address) {
  for (const Row& r : kSettings) {
    TdeviceCmd c;
    c.GetName = r.get;
    c.SetName = AnsiString(r.set) == "-" ? AnsiString() : AnsiString(r.set);
    c.EditorKind = r.kind;
    c.HardwareMask = r.mask;
    c.Caption = r.caption;
    c.WaitForReply = false;
    groups_[static_cast<size_t>(r.group)].Add(c);
  }
}

TvormekProgrammer::~TvormekProgrammer() = default;

void TvormekProgrammer::SetCancelled(bool value) {
  cancelled_ = value;
  connection_->SetCancelled(value);
}

void TvormekProgrammer::NotifyProgress() {
  if (!OnProgress) return;
  bool cancel = cancelled_;
  OnProgress(*this, percent_, cancel, progressText_);
  if (cancel != cancelled_) SetCancelled(cancel);
}

bool TvormekProgrammer::QueryWithRetry(const AnsiString& key, AnsiString& value) {
  AnsiString raw;
  return QueryWithRetry(key, value, raw);
}

bool TvormekProgrammer::QueryWithRetry(const AnsiString& key, AnsiString& value, AnsiString& rawReply) {
  bool ok = false;
  for (int attempt = 0; attempt < kQueryAttempts; ++attempt) {
    NotifyProgress();
    rawReply.clear();
    connection_->QueryValue(key, rawReply);
    // A refusal is no value, whatever follows "ERROR".
    ok = !rawReply.empty() && !rtl::StartsStr("ERROR", rawReply);
    NotifyProgress();
    if (ok || cancelled_) break;
  }
  const auto eq = rawReply.find('=');
  value = eq == AnsiString::npos ? rawReply : rawReply.substr(eq + 1);
  return ok;
}

bool TvormekProgrammer::SetWithRetry(const AnsiString& command, AnsiString& reply, bool wait) {
  bool ok = false;
  for (int attempt = 0; attempt < kSetAttempts; ++attempt) {
    reply.clear();
    connection_->SendCommand(command, reply, wait ? 2 : 0);
    ok = !rtl::StartsStr("ERROR", reply) && !(wait && reply.empty());
    NotifyProgress();
    if (ok || cancelled_) break;
  }
  return ok;
}

void TvormekProgrammer::Connect(rtl::Byte deviceKind, const AnsiString& address) {
  deviceKind_ = deviceKind;
  address_ = address;
  connection_->Address = address;
  cancelled_ = false;
  connection_->Open();
  AnsiString value, raw;
  QueryWithRetry("TFTP", value, raw);
  if (raw.empty()) {
    connection_->Close();
    SetCancelled(true);
    Log("No answer from " + address);
    throw EdeviceNotFound();
  }
}

bool TvormekProgrammer::ReadSettings(rtl::Byte deviceKind, const AnsiString& address) {
  percent_ = 0;
  progressText_ = "Connecting to device";
  Connect(deviceKind, address);
  CloseAtEnd closeAtEnd{*connection_};
  progressText_ = "Retrieving settings";

  AnsiString hardwareType;
  rtl::Byte mask = 255;
  if (QueryWithRetry("HWTYPE", hardwareType)) mask = HardwareTypeTextToMask(hardwareType);
  rtl::Integer total = 0;
  for (auto& g : groups_) {
    g.SetFilter(mask);
    total += g.Count();
  }

  bool reachable = true;
  bool result = true;
  rtl::Integer done = 0;
  for (auto& g : groups_) {
    for (rtl::Integer i = 0; i < g.Count() && !cancelled_; ++i) {
      percent_ = PercentOf(done, total);
      NotifyProgress();
      if (reachable) {
        AnsiString value, raw;
        const bool ok = QueryWithRetry(g.GetCmd(i).GetName, value, raw);
        // An answer, even a refusal, shows the module is still there.
        reachable = ok || !raw.empty();
        if (!ok) result = false;
        g.SetValue(i, ok ? value : AnsiString(kNotAvailable));
      }
      ++done;
      rtl::ProcessMessages();
    }
  }
  return result && !cancelled_;
}

bool TvormekProgrammer::WriteSettings(rtl::Byte deviceKind, const AnsiString& address, rtl::Integer group) {
  TdeviceCmds& g = Cmds(group);
  percent_ = 0;
  progressText_ = "Connecting to device";
  Connect(deviceKind, address);
  CloseAtEnd closeAtEnd{*connection_};
  progressText_ = "Sending settings";

  bool result = true;
  const rtl::Integer count = g.Count();
  for (rtl::Integer i = 0; i < count && !cancelled_; ++i) {
    percent_ = PercentOf(i, count);
    NotifyProgress();
    const TdeviceCmd cmd = g.GetCmd(i);
    if (!cmd.SetName.empty() && cmd.HasValue) {
      AnsiString reply;
      if (!SetWithRetry(cmd.SetName + "=" + cmd.Value, reply, cmd.WaitForReply)) result = false;
    }
    rtl::ProcessMessages();
  }
  ResetModule();
  return result && !cancelled_;
}

void TvormekProgrammer::ResetModule() {
  progressText_ = "Resetting";
  AnsiString reply;
  SetWithRetry("RESET=1", reply, true);
  // The module restarts; give it a moment before anyone talks to it again.
  for (rtl::Cardinal waited = 0; waited < kResetWaitMs; waited += kResetSliceMs) {
    rtl::Sleep(kResetSliceMs);
    rtl::ProcessMessages();
  }
}

rtl::Integer TvormekProgrammer::GetTFTPPort(rtl::Byte deviceKind, const AnsiString& address) {
  Connect(deviceKind, address);
  CloseAtEnd closeAtEnd{*connection_};
  Log("Request TFTP port");
  AnsiString value;
  if (!QueryWithRetry("TFTP", value)) return -1;
  const rtl::Integer port = rtl::DecimalOrMinusOne(value);
  return port < 0 ? -2 : port;
}

bool TvormekProgrammer::Upload(TUploadData data) {
  uploadError_.clear();
  if (data.TFTPPort == 0) data.TFTPPort = GetTFTPPort(deviceKind_, data.Host);

  // Private to this upload: two uploads never share their end.
  rtl::TEvent done(rtl::EventReset::Manual, false);
  TDataUploader worker(done, data, TftpReceiveTimeout);
  worker.Start();
  do {
    if (OnUploadProgress) OnUploadProgress(*this, worker.Progress());
    // Lets a dialog repaint between the steps.
    rtl::ProcessMessages();
  } while (done.WaitFor(kUploadStepMs) == rtl::TWaitResult::wrTimeout);
  worker.WaitFor();
  // Once more at the end, so that a dialog shows where the transfer ended
  // (all of it, after a success) rather than its state half a second before.
  if (OnUploadProgress) OnUploadProgress(*this, worker.Progress());

  const bool success = worker.Success();
  if (!success) {
    uploadError_ = worker.Failure();
    Log("Upload to " + data.Host + " failed: " + uploadError_);
  }
  return success;
}

}  // namespace core
