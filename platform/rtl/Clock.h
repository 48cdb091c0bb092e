#pragma once
// One process-wide clock service behind tick counts, sleeps and every timed
// wait of this layer (events, mutexes, CheckSynchronize, process waits).
//
// The system clock reads CLOCK_MONOTONIC (milliseconds since boot) and the
// real-time clock. Tests install a ManualClock, which only moves when told:
// a Sleep or a timed wait under it returns once the clock has been advanced
// past its deadline (or, for a wait, once the object is signalled), so retry
// schedules and time-outs are tested without sleeping.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "rtl/Types.h"

namespace rtl {

// A wait without time limit.
inline constexpr Cardinal INFINITE = 0xFFFFFFFFu;

class ClockService {
 public:
  virtual ~ClockService() = default;
  // Milliseconds since an arbitrary start; never goes back.
  virtual uint64_t MonotonicMs() = 0;
  // Milliseconds since 1970-01-01 00:00 UTC.
  virtual int64_t WallUnixMs() = 0;
  // True when the clock moves by itself with real time; a clock that does not
  // must call NotifyClockChanged() whenever it moves, so waiters re-check.
  virtual bool RealTime() const = 0;
  // Blocks the calling thread for ms milliseconds of this clock.
  virtual void Sleep(Cardinal ms);
};

// CLOCK_MONOTONIC and CLOCK_REALTIME.
class SystemClock final : public ClockService {
 public:
  uint64_t MonotonicMs() override;
  int64_t WallUnixMs() override;
  bool RealTime() const override { return true; }
};

// A clock for tests: it stands still until Advance or Set moves it.
//
// Sleep under a manual clock blocks until another thread has advanced the
// clock by the requested time (a thread calling Sleep(500) returns once the
// test has advanced the clock by 500). With SetSleepAdvances(true), Sleep
// instead advances the clock itself and returns at once, so single-threaded
// code with sleeps in a loop (retry schedules) runs through in microseconds.
// Timed waits on events, mutexes and the synchronisation queue always block
// until the clock passes their deadline or they are signalled.
class ManualClock final : public ClockService {
 public:
  explicit ManualClock(uint64_t startMs = 0, int64_t wallUnixMs = 0);
  ~ManualClock() override;
  uint64_t MonotonicMs() override;
  int64_t WallUnixMs() override;
  bool RealTime() const override { return false; }
  void Sleep(Cardinal ms) override;

  // Moves both readings forward by ms and wakes every waiter to re-check.
  void Advance(uint64_t ms);
  // Sets the monotonic reading (it may not go back: a smaller value raises
  // EInvalidArgument) and wakes waiters.
  void SetMonotonicMs(uint64_t ms);
  void SetWallUnixMs(int64_t ms);
  void SetSleepAdvances(bool on);
  bool SleepAdvances() const;
  // Number of threads currently blocked in a timed wait or Sleep, under any
  // clock. Lets a test advance the clock only once a waiter is in place.
  static int WaitingThreads();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Installs clock as the process's clock service; nullptr restores the system
// clock. Thread-safe; waits in progress re-check against the new clock (their
// remaining time starts again on it).
void InstallClock(std::shared_ptr<ClockService> clock);
// The clock service now in force (never null).
std::shared_ptr<ClockService> CurrentClock();

// Installs a clock for the lifetime of the guard and puts the previous one
// back afterwards.
class ScopedClock {
 public:
  explicit ScopedClock(std::shared_ptr<ClockService> clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  std::shared_ptr<ClockService> previous_;
};

// Milliseconds of the clock service, truncated to 32 bits (wraps after about
// 49.7 days), as stamped on log lines.
Cardinal GetTickCount();
uint64_t GetTickCount64();
// Sleeps ms milliseconds of the clock service; Sleep(0) only yields.
void Sleep(Cardinal ms);
// Wall time in milliseconds since 1970-01-01 UTC, from the clock service.
int64_t NowUnixMs();

// Wakes every timed waiter so it re-reads the clock. Clocks that do not run
// by themselves call it when they move.
void NotifyClockChanged();

namespace detail {

// The one lock under which every waitable object of this layer keeps its
// state, so that a wait on several objects sees them all at one instant.
std::mutex& WaitLock();

// A deadline measured on the clock service, for waits that loop on a
// condition variable under WaitLock().
class Deadline {
 public:
  explicit Deadline(Cardinal timeoutMs);
  bool Infinite() const { return timeout_ == INFINITE; }
  // Waits on cv (lk holds WaitLock()) until notified, or until the deadline
  // passes. Returns true when the deadline has passed. May return early
  // (spurious wake-ups); callers re-check their condition and call again.
  bool Wait(std::unique_lock<std::mutex>& lk, std::condition_variable& cv);
  // True when the deadline has passed (lk holds WaitLock()).
  bool Passed();

 private:
  void Rebase();
  Cardinal timeout_;
  std::shared_ptr<ClockService> clock_;
  uint64_t end_ = 0;
};

}  // namespace detail
}  // namespace rtl
