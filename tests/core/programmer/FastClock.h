#pragma once
// A clock that runs faster than real time: the programmer's waits (100 ms
// slices, the 7.5 s retry schedule of a silent module, the second after a
// reset) pass in a fraction of the time, while a module on loopback still
// answers well within one slice.
#include <chrono>
#include <memory>
#include <thread>

#include "rtl/Clock.h"

namespace programmer_test {

class FastClock final : public rtl::ClockService {
 public:
  explicit FastClock(int factor) : factor_(factor), start_(std::chrono::steady_clock::now()) {}
  uint64_t MonotonicMs() override {
    const auto real = std::chrono::steady_clock::now() - start_;
    return 1000000 + static_cast<uint64_t>(
                         std::chrono::duration_cast<std::chrono::microseconds>(real).count() * factor_ / 1000);
  }
  int64_t WallUnixMs() override { return static_cast<int64_t>(MonotonicMs()); }
  bool RealTime() const override { return true; }
  void Sleep(rtl::Cardinal ms) override {
    std::this_thread::sleep_for(std::chrono::microseconds(int64_t(ms) * 1000 / factor_));
  }

 private:
  const int factor_;
  const std::chrono::steady_clock::time_point start_;
};

// Installs a clock running `factor` times faster for the lifetime of the guard.
class ScopedFastClock {
 public:
  explicit ScopedFastClock(int factor) : guard_(std::make_shared<FastClock>(factor)) {}

 private:
  rtl::ScopedClock guard_;
};

}  // namespace programmer_test
