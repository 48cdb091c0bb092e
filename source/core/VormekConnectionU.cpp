#include "core/VormekConnectionU.h"

#include <thread>

#include "rtl/Clock.h"
#include "rtl/Convert.h"
#include "rtl/MessagePump.h"
#include "rtl/Strings.h"

namespace core {

namespace {

// A module may end its answer with a line end or a zero byte; neither is
// part of the value.
AnsiString TrimReplyEnd(AnsiString text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '\0'))
    text.pop_back();
  return text;
}

void SplitAddress(const AnsiString& address, AnsiString& host, AnsiString& portText) {
  auto colon = address.find(':');
  if (colon == AnsiString::npos) {
    host = address;
    portText.clear();
  } else {
    host = address.substr(0, colon);
    portText = address.substr(colon + 1);
  }
}

}  // namespace

AnsiString CommandKey(const AnsiString& command) {
  AnsiString body = rtl::StartsText("AT*", command) ? command.substr(3) : command;
  return body.substr(0, body.find_first_of("?="));
}

bool ReplyAnswers(const AnsiString& reply, const AnsiString& key) {
  if (reply.empty()) return false;
  if (rtl::SameText(key, "RESET")) return true;
  if (rtl::StartsStr("ERROR", reply)) return true;
  return rtl::SameText(reply.substr(0, reply.find('=')), key);
}

bool IsSecretSetting(const AnsiString& key) {
  const AnsiString k = rtl::UpperCase(key);
  return k.find("PASS") != AnsiString::npos || rtl::EndsStr("_KEY", k) || k == "KEY";
}

AnsiString MaskSecretValues(const AnsiString& text) {
  const auto eq = text.find('=');
  if (eq == AnsiString::npos) return text;
  if (!IsSecretSetting(CommandKey(text.substr(0, eq)))) return text;
  // A fixed mask, so that not even the length of the secret is logged.
  return text.substr(0, eq + 1) + "********";
}

TUDPConnection::TUDPConnection(const AnsiString& address) : TVormekConnection(address) {
  server_.SetBroadcastEnabled(false);
  server_.OnUDPRead = [this](net::TUDPServer&, const net::TBytes& data,
                             const net::TUDPBinding& binding) { UDPRead(data, binding); };
}

TUDPConnection::~TUDPConnection() { server_.SetActive(false); }

void TUDPConnection::Open() {
  server_.SetActive(false);
  server_.SetDefaultPort(localPort_);
  {
    AnsiString host, portText;
    SplitAddress(Address, host, portText);
    std::lock_guard<std::mutex> g(lock_);
    moduleHost_ = host;
    inExchange_ = false;
  }
  server_.SetActive(true);
  ClearCancelled();
}

void TUDPConnection::Close() { server_.SetActive(false); }

rtl::Word TUDPConnection::BoundPort() const { return server_.Binding().Port; }

AnsiString TUDPConnection::Reply() const {
  std::lock_guard<std::mutex> g(lock_);
  return reply_;
}

bool TUDPConnection::QueryValue(const AnsiString& key, AnsiString& reply) {
  Transact("AT*" + key + "?", 1);
  reply = Reply();
  return !reply.empty();
}

void TUDPConnection::SendCommand(const AnsiString& command, AnsiString& reply,
                                 rtl::Integer waitMode) {
  Transact("AT*" + command, waitMode);
  reply = Reply();
}

void TUDPConnection::Transact(const AnsiString& command, rtl::Integer waitMode) {
  AnsiString host, portText;
  SplitAddress(Address, host, portText);
  {
    std::lock_guard<std::mutex> g(lock_);
    reply_.clear();
    moduleHost_ = host;
    expectedKey_ = CommandKey(command);
    inExchange_ = true;
  }
  // However the exchange ends (an answer, silence, an exception), later
  // datagrams belong to no command.
  struct EndExchange {
    TUDPConnection* c;
    ~EndExchange() {
      std::lock_guard<std::mutex> g(c->lock_);
      c->inExchange_ = false;
    }
  } endExchange{this};

  rtl::Cardinal waitLimit = kFirstWaitMs;
  int unanswered = 0;
  bool finished = false;
  const net::TBytes buffer = net::TextToBytes(command);
  do {
    const rtl::Cardinal start = rtl::GetTickCount();
    Log(host + ":" + portText + "-" + server_.Binding().PeerIP + " Write UDP: " +
        MaskSecretValues(command));
    const rtl::Integer port = rtl::StrToInt(portText);
    if (port < 0 || port > 65535)
      throw rtl::EConvertError("'" + portText + "' is not a valid port number");
    server_.SetBroadcastEnabled(false);
    server_.SendBuffer(host, static_cast<rtl::Word>(port), buffer);

    // Slices of 100 ms keep the user interface alive; an answer is noticed
    // at the end of the slice it arrived in. Even waitMode 0 listens one slice.
    bool answered = false;
    for (;;) {
      rtl::Sleep(kSliceMs);
      rtl::ProcessMessages();
      std::this_thread::yield();
      answered = !Reply().empty();
      // Unsigned difference: right across the 32-bit wrap of the tick count.
      const rtl::Cardinal elapsed = rtl::GetTickCount() - start;
      if (answered || elapsed > waitLimit || waitMode == 0 || Cancelled()) break;
    }
    if (answered || waitMode == 0) {
      finished = true;
    } else {
      ++unanswered;
      waitLimit *= 2;
    }
    Log(server_.Binding().IP + " Read UDP: " + MaskSecretValues(Reply()));
  } while (!finished && unanswered < kMaxUnansweredSends && !Cancelled());
}

void TUDPConnection::UDPRead(const net::TBytes& data, const net::TUDPBinding& binding) {
  AnsiString taken;
  {
    std::lock_guard<std::mutex> g(lock_);
    if (binding.PeerIP == moduleHost_) {
      AnsiString text = TrimReplyEnd(net::BytesToText(data));
      if (inExchange_ && reply_.empty() && ReplyAnswers(text, expectedKey_)) {
        reply_ = text;
        taken = text;
      }
    }
  }
  Log(binding.IP + " UDP Server Data Read: " + MaskSecretValues(taken));
}

}  // namespace core
