#include "ModuleEmulator.h"

#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace emulator {

namespace {

const AnsiString kAnnouncePrefix = "TOLVANE_MOD,";

AnsiString LastNumber(const AnsiString& ip) {
  auto dot = ip.rfind('.');
  return dot == AnsiString::npos ? ip : ip.substr(dot + 1);
}

// Commands arrive as 8-bit text; a sender may end them with a line end or a
// zero byte, which is not part of the command.
AnsiString StripCommand(AnsiString text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '\0'))
    text.pop_back();
  return text;
}

}  // namespace

const std::vector<TModuleSetting>& ModuleSettings() {
  static const std::vector<TModuleSetting> table = {
      {"HWTYPE", "", 255},          {"IP", "AIP", 255},
      {"MAC", "", 255},             {"GW", "AGW", 255},
      {"NMASK", "ANMASK", 255},     {"DNS", "ADNS", 255},
      {"DHCP", "DHCP", 255},        {"BOUND", "", 255},
      {"LINK", "", 255},            {"WIFI_SSID", "WIFI_ASSID", 16},
      {"WIFI_SECURITY", "WIFI_SECURITY", 16},
      {"WIFI_KEY", "WIFI_KEY", 16}, {"WIFI_CHANNELS", "WIFI_CHANNELS", 16},
      {"WIFI_REGION", "WIFI_REGION", 16},
      {"WIFI_LED", "WIFI_LED", 16}, {"WIFI_VERSION", "", 16},
      {"WIFI_TYPE", "WIFI_TYPE", 16},
      {"EMAIL_TO", "EMAIL_TO", 255},
      {"EMAIL_FROM", "EMAIL_FROM", 255},
      {"EMAIL_SUBJECT", "EMAIL_SUBJECT", 255},
      {"EMAIL_HOST", "EMAIL_HOST", 255},
      {"EMAIL_PORT", "EMAIL_PORT", 255},
      {"EMAIL_USER", "EMAIL_USER", 254},
      {"EMAIL_PASS", "EMAIL_PASS", 254},
      {"HTTP", "HTTP", 255},        {"HTTP_USER", "HTTP_USER", 255},
      {"HTTP_PASS", "HTTP_PASS", 255},
      {"TFTP", "TFTP", 255},        {"ANNOUNCE_PORT", "ANNOUNCE_PORT", 255},
      {"UDP", "UDP", 255},          {"UDP_TX", "UDP_TX", 254},
      {"UDP_HOST", "UDP_HOST", 254},
      {"ID", "ID", 255},            {"SSN", "", 255},
      {"VER", "", 255},
  };
  return table;
}

rtl::Byte HardwareTypeMask(const AnsiString& hardwareType) {
  rtl::Integer type = 0;
  if (!rtl::TryStrToInt(hardwareType, type) || type < 0 || type > 4) return 255;
  return static_cast<rtl::Byte>(1u << type);
}

TModuleEmulator::TModuleEmulator(TEmulatorOptions options) : options_(std::move(options)) {
  if (options_.Name.empty()) options_.Name = "EMU-" + LastNumber(options_.IP);
  SetFaults(options_.Faults);
}

TModuleEmulator::~TModuleEmulator() { Stop(); }

void TModuleEmulator::Start() {
  started_ = std::chrono::steady_clock::now();
  command_.SetBindIP(options_.IP);
  command_.SetDefaultPort(options_.CommandPort);
  command_.OnUDPRead = [this](net::TUDPServer&, const net::TBytes& d,
                              const net::TUDPBinding& b) { OnCommand(d, b); };
  command_.SetActive(true);

  announce_.SetBindIP("0.0.0.0");
  announce_.SetDefaultPort(options_.AnnouncePort);
  announce_.SetReuseAddress(true);
  announce_.OnUDPRead = [this](net::TUDPServer&, const net::TBytes& d,
                               const net::TUDPBinding& b) { OnAnnounce(d, b); };
  try {
    announce_.SetActive(true);
  } catch (...) {
    command_.SetActive(false);
    throw;
  }

  Word tftpPort = options_.TftpPort;
  if (options_.TftpServer) {
    TTftpOptions t;
    t.IP = options_.IP;
    t.Port = options_.TftpPort;
    t.TimeoutMs = options_.TftpTimeoutMs;
    t.DallyMs = options_.TftpDallyMs;
    tftp_ = std::make_unique<TTftpServer>(t);
    tftp_->SetFaults(options_.TftpFaults);
    tftp_->OnTransferEnd = OnTftpTransferEnd;
    try {
      tftp_->Start();
    } catch (...) {
      tftp_.reset();
      announce_.SetActive(false);
      command_.SetActive(false);
      throw;
    }
    tftpPort = tftp_->Port();
  }

  // The table as a freshly reset module holds it.
  const AnsiString number = LastNumber(options_.IP);
  std::map<AnsiString, AnsiString> v = {
      {"HWTYPE", options_.HardwareType},
      {"IP", options_.IP},
      {"MAC", "00:1E:C0:00:00:" + rtl::IntToHex(rtl::StrToIntDef(number, 0), 2)},
      {"GW", "127.0.0.1"},
      {"NMASK", "255.0.0.0"},
      {"DNS", "127.0.0.1"},
      {"DHCP", "0"},
      {"BOUND", "0"},
      {"LINK", "1"},
      {"WIFI_SSID", "workshop"},
      {"WIFI_SECURITY", "3"},
      {"WIFI_KEY", "emulated-wifi-key"},
      {"WIFI_CHANNELS", "1,6,11"},
      {"WIFI_REGION", "0"},
      {"WIFI_LED", "1"},
      {"WIFI_VERSION", "2.0.1"},
      {"WIFI_TYPE", "Infra"},
      {"EMAIL_TO", "bench@localhost"},
      {"EMAIL_FROM", options_.Name + "@localhost"},
      {"EMAIL_SUBJECT", "Message from " + options_.Name},
      {"EMAIL_HOST", "127.0.0.1"},
      {"EMAIL_PORT", "25"},
      {"EMAIL_USER", "module"},
      {"EMAIL_PASS", "emulated-mail-pass"},
      {"HTTP", "80"},
      {"HTTP_USER", "admin"},
      {"HTTP_PASS", "emulated-http-pass"},
      {"TFTP", rtl::IntToStr(static_cast<rtl::Integer>(tftpPort))},
      {"ANNOUNCE_PORT", rtl::IntToStr(static_cast<rtl::Integer>(announce_.Binding().Port))},
      {"UDP", rtl::IntToStr(static_cast<rtl::Integer>(command_.Binding().Port))},
      {"UDP_TX", "7125"},
      {"UDP_HOST", "127.0.0.1"},
      {"ID", options_.Name},
      {"SSN", "EMU-" + number + "-0001"},
      {"VER", "1.0.0 emulated"},
  };
  for (const auto& [key, value] : options_.Values) v[rtl::UpperCase(key)] = value;
  {
    std::lock_guard<std::mutex> g(lock_);
    values_ = std::move(v);
    pending_.clear();
  }
  {
    std::lock_guard<std::mutex> g(sendLock_);
    stopping_ = false;
  }
  sender_ = std::thread(&TModuleEmulator::RunSender, this);
}

void TModuleEmulator::Stop() {
  {
    std::lock_guard<std::mutex> g(sendLock_);
    stopping_ = true;
    outgoing_.clear();
  }
  sendWake_.notify_all();
  if (sender_.joinable()) sender_.join();
  command_.SetActive(false);
  announce_.SetActive(false);
  if (tftp_) tftp_->Stop();
}

Word TModuleEmulator::CommandPort() const { return command_.Binding().Port; }
Word TModuleEmulator::AnnouncePort() const { return announce_.Binding().Port; }

void TModuleEmulator::SetFaults(const TEmulatorFaults& faults) {
  std::lock_guard<std::mutex> g(lock_);
  faults_ = faults;
  std::set<AnsiString> upper;
  for (const auto& k : faults.ErrorKeys) upper.insert(rtl::UpperCase(k));
  faults_.ErrorKeys = std::move(upper);
}

TEmulatorFaults TModuleEmulator::Faults() const {
  std::lock_guard<std::mutex> g(lock_);
  return faults_;
}

AnsiString TModuleEmulator::Value(const AnsiString& key) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = values_.find(rtl::UpperCase(key));
  return it == values_.end() ? AnsiString() : it->second;
}

AnsiString TModuleEmulator::PendingValue(const AnsiString& key) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = pending_.find(rtl::UpperCase(key));
  return it == pending_.end() ? AnsiString() : it->second;
}

int TModuleEmulator::ResetCount() const {
  std::lock_guard<std::mutex> g(lock_);
  return resets_;
}

std::vector<TReceivedDatagram> TModuleEmulator::Received() const {
  std::lock_guard<std::mutex> g(lock_);
  return log_;
}

bool TModuleEmulator::WaitForReceived(size_t count, int timeoutMs,
                                      const AnsiString& channel) const {
  std::unique_lock<std::mutex> g(lock_);
  auto enough = [&] {
    size_t n = 0;
    for (const auto& d : log_)
      if (channel.empty() || d.Channel == channel) ++n;
    return n >= count;
  };
  return received_.wait_for(g, std::chrono::milliseconds(timeoutMs), enough);
}

size_t TModuleEmulator::Record(const AnsiString& channel, const net::TBytes& data,
                               const net::TUDPBinding& b) {
  TReceivedDatagram d;
  d.TimeMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                       started_)
                 .count();
  d.Channel = channel;
  d.PeerIP = b.PeerIP;
  d.PeerPort = b.PeerPort;
  d.Text = net::BytesToText(data);
  size_t index;
  {
    std::lock_guard<std::mutex> g(lock_);
    log_.push_back(d);
    index = log_.size();
  }
  received_.notify_all();
  if (OnReceived) OnReceived(d);
  return index;
}

bool TModuleEmulator::Offered(const TModuleSetting& s) const {
  return (s.HardwareMask & HardwareTypeMask(values_.at("HWTYPE"))) != 0;
}

// Works out the answer to one command; "" means no answer. Called under lock_.
AnsiString TModuleEmulator::Answer(const AnsiString& received) {
  const AnsiString command = StripCommand(received);
  if (!rtl::StartsText("AT*", command)) return "ERROR";
  const AnsiString body = command.substr(3);
  const auto eq = body.find('=');
  const bool isQuery = eq == AnsiString::npos && !body.empty() && body.back() == '?';
  if (!isQuery && eq == AnsiString::npos) return "ERROR";
  const AnsiString key = rtl::UpperCase(isQuery ? body.substr(0, body.size() - 1)
                                                : body.substr(0, eq));
  const AnsiString value = isQuery ? AnsiString() : body.substr(eq + 1);
  if (faults_.ErrorKeys.count(key)) return "ERROR";

  if (!isQuery && key == "RESET") {
    for (auto& [k, v] : pending_) values_[k] = v;
    pending_.clear();
    ++resets_;
    return faults_.NoResetReply ? AnsiString() : "RESET=" + value;
  }
  if (!isQuery && key == "ANNOUNCE_NOW") return "ANNOUNCE_NOW=" + value;

  for (const auto& s : ModuleSettings()) {
    if (isQuery && key == s.GetKey) {
      if (!Offered(s)) return "ERROR";
      if (auto it = faults_.MisreportedValues.find(key); it != faults_.MisreportedValues.end())
        return AnsiString(s.GetKey) + "=" + it->second;
      return AnsiString(s.GetKey) + "=" + values_[s.GetKey];
    }
    if (!isQuery && key == s.SetKey) {
      if (!Offered(s)) return "ERROR";
      pending_[s.GetKey] = value;
      return AnsiString(s.SetKey) + "=" + value;
    }
  }
  // A query key used as a setting is a read-only setting; anything else is
  // unknown. Both are refused.
  return "ERROR";
}

void TModuleEmulator::OnCommand(const net::TBytes& data, const net::TUDPBinding& b) {
  Record("command", data, b);
  AnsiString answer;
  {
    std::lock_guard<std::mutex> g(lock_);
    answer = Answer(net::BytesToText(data));
  }
  if (!answer.empty()) Reply(true, b.PeerIP, b.PeerPort, answer);
}

void TModuleEmulator::OnAnnounce(const net::TBytes& data, const net::TUDPBinding& b) {
  Record("announce", data, b);
  // The announce socket listens on every address; only requests from this
  // machine's loopback range are answered, so the emulator never talks to a
  // real network.
  if (!rtl::StartsStr("127.", b.PeerIP)) return;
  if (!rtl::StartsText("AT*ANNOUNCE_NOW", StripCommand(net::BytesToText(data)))) return;
  AnsiString name;
  {
    std::lock_guard<std::mutex> g(lock_);
    name = values_["ID"];
  }
  Reply(false, b.PeerIP, options_.ReceivePort,
        kAnnouncePrefix + name + ",UDP_PORT=" +
            rtl::IntToStr(static_cast<rtl::Integer>(command_.Binding().Port)));
}

void TModuleEmulator::Reply(bool isCommandReply, const AnsiString& host, Word port,
                            const AnsiString& text) {
  TEmulatorFaults f = Faults();
  if (f.Silent) return;
  Outgoing o{std::chrono::steady_clock::now() + std::chrono::milliseconds(f.ReplyDelayMs),
             isCommandReply ? f.ReplyFromIP : AnsiString(), host, port, text};
  {
    std::lock_guard<std::mutex> g(sendLock_);
    if (stopping_) return;
    outgoing_.push_back(o);
    if (f.DuplicateReplies) outgoing_.push_back(o);
  }
  sendWake_.notify_all();
}

void TModuleEmulator::RunSender() {
  std::unique_lock<std::mutex> g(sendLock_);
  for (;;) {
    if (stopping_) break;
    if (outgoing_.empty()) {
      sendWake_.wait(g);
      continue;
    }
    // Answers queue in the order they were made; a later answer never
    // overtakes an earlier one even when the delay changed in between.
    if (std::chrono::steady_clock::now() < outgoing_.front().due) {
      sendWake_.wait_until(g, outgoing_.front().due);
      continue;
    }
    Outgoing o = outgoing_.front();
    outgoing_.pop_front();
    g.unlock();
    try {
      if (o.fromIP.empty()) {
        command_.Send(o.host, o.port, o.text);
      } else {
        if (!other_ || other_->BindIP() != o.fromIP) {
          other_ = std::make_unique<net::TUDPServer>();
          other_->SetBindIP(o.fromIP);
          other_->SetActive(true);
        }
        other_->Send(o.host, o.port, o.text);
      }
    } catch (const std::exception&) {
      // The peer is gone or the address cannot be bound: a module that
      // cannot answer simply stays silent.
    }
    g.lock();
  }
  g.unlock();
  other_.reset();
}

}  // namespace emulator
