#pragma once
// Shared by the module-link tests: reading the debug log back, and a fake
// module that answers with fixed texts.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/DebugBaseU.h"
#include "net/UDPServer.h"
#include "rtl/MessagePump.h"

namespace modulelink_test {

// The log lines (whole, with their tick stamp) that contain every one of the
// given texts.
inline std::vector<std::string> LogLinesWith(std::initializer_list<std::string> parts) {
  std::vector<std::string> out;
  for (const auto& line : core::TDebugLog::Global().Lines()) {
    bool all = true;
    for (const auto& p : parts) all = all && line.find(p) != std::string::npos;
    if (all) out.push_back(line);
  }
  return out;
}

// The tick count a log line was stamped with.
inline uint32_t TickOf(const std::string& line) {
  return static_cast<uint32_t>(std::stoul(line.substr(0, line.find(':')), nullptr, 16));
}

// Installs a message-processing handler for the lifetime of the object: the
// waiting loops call it once per 100 ms slice on the main thread.
class ScopedPump {
 public:
  explicit ScopedPump(std::function<void()> handler)
      : previous_(rtl::SetProcessMessagesHandler(std::move(handler))) {}
  ~ScopedPump() { rtl::SetProcessMessagesHandler(previous_); }

 private:
  std::function<void()> previous_;
};

// A module stand-in on its own loopback address that answers every datagram
// with the next text of a script (or nothing once the script is used up),
// and counts what it received.
class ScriptedModule {
 public:
  ScriptedModule(const std::string& ip, std::vector<std::string> answers)
      : answers_(std::move(answers)) {
    server_.SetBindIP(ip);
    server_.OnUDPRead = [this](net::TUDPServer& s, const net::TBytes& d,
                               const net::TUDPBinding& b) {
      std::string answer;
      {
        std::lock_guard<std::mutex> g(lock_);
        received_.push_back(net::BytesToText(d));
        if (next_ < answers_.size()) answer = answers_[next_++];
        changed_.notify_all();
      }
      if (!answer.empty()) s.Send(b.PeerIP, b.PeerPort, answer);
    };
    server_.SetActive(true);
  }
  std::string Address() const {
    return server_.Binding().IP + ":" + std::to_string(server_.Binding().Port);
  }
  std::vector<std::string> Received() {
    std::lock_guard<std::mutex> g(lock_);
    return received_;
  }

 private:
  net::TUDPServer server_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> answers_;
  size_t next_ = 0;
  std::vector<std::string> received_;
};

}  // namespace modulelink_test
