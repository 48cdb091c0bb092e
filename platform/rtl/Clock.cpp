#include "rtl/Clock.h"

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "rtl/Exceptions.h"

namespace rtl {
namespace {

std::mutex& ClockLock() {
  static std::mutex m;
  return m;
}

std::shared_ptr<ClockService>& ClockSlot() {
  static std::shared_ptr<ClockService> clock = std::make_shared<SystemClock>();
  return clock;
}

// Condition variables of threads in a timed wait; guarded by WaitLock().
std::vector<std::condition_variable*>& TimedWaiters() {
  static std::vector<std::condition_variable*> v;
  return v;
}

uint64_t ReadClock(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
}

}  // namespace

void ClockService::Sleep(Cardinal ms) {
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  std::condition_variable cv;
  detail::Deadline deadline(ms);
  std::unique_lock<std::mutex> lk(detail::WaitLock());
  while (!deadline.Wait(lk, cv)) {
  }
}

uint64_t SystemClock::MonotonicMs() { return ReadClock(CLOCK_MONOTONIC); }

int64_t SystemClock::WallUnixMs() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

struct ManualClock::State {
  std::atomic<uint64_t> mono{0};
  std::atomic<int64_t> wall{0};
  std::atomic<bool> sleepAdvances{false};
};

ManualClock::ManualClock(uint64_t startMs, int64_t wallUnixMs) : state_(std::make_unique<State>()) {
  state_->mono = startMs;
  state_->wall = wallUnixMs;
}

ManualClock::~ManualClock() = default;

uint64_t ManualClock::MonotonicMs() { return state_->mono.load(); }
int64_t ManualClock::WallUnixMs() { return state_->wall.load(); }

void ManualClock::Sleep(Cardinal ms) {
  if (state_->sleepAdvances.load()) {
    Advance(ms);
    return;
  }
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  ClockService::Sleep(ms);
}

void ManualClock::Advance(uint64_t ms) {
  state_->mono.fetch_add(ms);
  state_->wall.fetch_add(int64_t(ms));
  NotifyClockChanged();
}

void ManualClock::SetMonotonicMs(uint64_t ms) {
  uint64_t cur = state_->mono.load();
  do {
    if (ms < cur) throw EInvalidArgument("A manual clock cannot go back");
  } while (!state_->mono.compare_exchange_weak(cur, ms));
  NotifyClockChanged();
}

void ManualClock::SetWallUnixMs(int64_t ms) {
  state_->wall = ms;
  NotifyClockChanged();
}

void ManualClock::SetSleepAdvances(bool on) { state_->sleepAdvances = on; }
bool ManualClock::SleepAdvances() const { return state_->sleepAdvances.load(); }

int ManualClock::WaitingThreads() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return int(TimedWaiters().size());
}

void InstallClock(std::shared_ptr<ClockService> clock) {
  if (!clock) clock = std::make_shared<SystemClock>();
  std::shared_ptr<ClockService> old;
  {
    std::lock_guard<std::mutex> lk(ClockLock());
    old = std::exchange(ClockSlot(), std::move(clock));
  }
  NotifyClockChanged();
  // old is released here, outside both locks.
}

std::shared_ptr<ClockService> CurrentClock() {
  std::lock_guard<std::mutex> lk(ClockLock());
  return ClockSlot();
}

ScopedClock::ScopedClock(std::shared_ptr<ClockService> clock) : previous_(CurrentClock()) {
  InstallClock(std::move(clock));
}

ScopedClock::~ScopedClock() { InstallClock(std::move(previous_)); }

Cardinal GetTickCount() { return Cardinal(CurrentClock()->MonotonicMs()); }
uint64_t GetTickCount64() { return CurrentClock()->MonotonicMs(); }
void Sleep(Cardinal ms) { CurrentClock()->Sleep(ms); }
int64_t NowUnixMs() { return CurrentClock()->WallUnixMs(); }

void NotifyClockChanged() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  for (auto* cv : TimedWaiters()) cv->notify_all();
}

namespace detail {

std::mutex& WaitLock() {
  static std::mutex m;
  return m;
}

Deadline::Deadline(Cardinal timeoutMs) : timeout_(timeoutMs) {
  if (!Infinite()) Rebase();
}

void Deadline::Rebase() {
  clock_ = CurrentClock();
  end_ = clock_->MonotonicMs() + timeout_;
}

bool Deadline::Passed() {
  if (Infinite()) return false;
  // A clock installed while waiting: the time left starts again on it.
  if (CurrentClock() != clock_) Rebase();
  return clock_->MonotonicMs() >= end_;
}

bool Deadline::Wait(std::unique_lock<std::mutex>& lk, std::condition_variable& cv) {
  if (Infinite()) {
    cv.wait(lk);
    return false;
  }
  if (Passed()) return true;
  auto& waiters = TimedWaiters();
  waiters.push_back(&cv);
  if (clock_->RealTime()) {
    uint64_t now = clock_->MonotonicMs();
    uint64_t left = end_ > now ? end_ - now : 0;
    cv.wait_for(lk, std::chrono::milliseconds(left));
  } else {
    cv.wait(lk);
  }
  waiters.erase(std::find(waiters.begin(), waiters.end(), &cv));
  return Passed();
}

}  // namespace detail
}  // namespace rtl
