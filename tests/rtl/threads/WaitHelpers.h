#pragma once
// Small helpers for tests that hand work between threads under a manual clock.
#include <chrono>
#include <functional>
#include <thread>

#include "rtl/Clock.h"

namespace rtl_test {

// Spins (in real time, for at most 10 s) until pred holds; returns pred().
inline bool Eventually(const std::function<bool()>& pred) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// Waits until n threads are blocked in a timed wait or a Sleep.
inline bool WaitersInPlace(int n) {
  return Eventually([n] { return rtl::ManualClock::WaitingThreads() >= n; });
}

// A short real pause before checking that something has NOT happened.
inline void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

}  // namespace rtl_test
