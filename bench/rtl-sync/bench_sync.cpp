// Costs of the waits the editor's document lock and the network listeners
// lean on: an uncontended mutex poll, a critical section, an event round
// trip between two threads, a synchronized call, and reading the tick count.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "rtl/Clock.h"
#include "rtl/SyncObjs.h"
#include "rtl/Threads.h"

using namespace rtl;

static void BM_MutexPollAndRelease(benchmark::State& state) {
  TMutex m;
  for (auto _ : state) {
    benchmark::DoNotOptimize(m.WaitFor(0));
    m.Release();
  }
}
BENCHMARK(BM_MutexPollAndRelease);

static void BM_CriticalSectionEnterLeave(benchmark::State& state) {
  TCriticalSection cs;
  for (auto _ : state) {
    cs.Enter();
    cs.Leave();
  }
}
BENCHMARK(BM_CriticalSectionEnterLeave);

static void BM_EventPingPong(benchmark::State& state) {
  TEvent ping(EventReset::Automatic), pong(EventReset::Automatic);
  std::atomic<bool> stop{false};
  std::thread partner([&] {
    for (;;) {
      ping.WaitFor(INFINITE);
      if (stop) return;
      pong.SetEvent();
    }
  });
  for (auto _ : state) {
    ping.SetEvent();
    pong.WaitFor(INFINITE);
  }
  stop = true;
  ping.SetEvent();
  partner.join();
}
BENCHMARK(BM_EventPingPong)->UseRealTime();

// A worker's Synchronize while the main thread pumps CheckSynchronize.
static void BM_SynchronizeRoundTrip(benchmark::State& state) {
  SetMainThread();
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
  std::atomic<long> calls{0};
  long ran = 0;
  std::thread worker([&] {
    while (!stop) {
      Synchronize([&] { ++ran; });
      ++calls;
    }
    finished = true;
  });
  for (auto _ : state) {
    while (!CheckSynchronize(INFINITE)) {
    }
  }
  stop = true;
  while (!finished) CheckSynchronize(1);
  worker.join();
  state.counters["calls"] = double(calls.load());
}
BENCHMARK(BM_SynchronizeRoundTrip)->UseRealTime();

static void BM_GetTickCount(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(GetTickCount());
}
BENCHMARK(BM_GetTickCount);

BENCHMARK_MAIN();
