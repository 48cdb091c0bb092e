// Appending to the debug log: the trimmed log (bounded, a trim of about 128
// lines every 128 appends) against the full log, and four threads at once.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/DebugBaseU.h"

namespace {

void BM_AppendTrimmed(benchmark::State& state) {
  core::TDebugLog log;
  for (int i = 0; i < 600; ++i) log.AddLogLine("warm-up line");
  for (auto _ : state) log.AddLogLine("TUDPConnection -> AT*IP? answered IP=127.0.0.1");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendTrimmed);

void BM_AppendFullLog(benchmark::State& state) {
  core::TDebugLog log;
  log.SetKeepFullLog();
  for (auto _ : state) log.AddLogLine("TUDPConnection -> AT*IP? answered IP=127.0.0.1");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendFullLog);

core::TDebugLog* shared = nullptr;

void BM_AppendFourThreads(benchmark::State& state) {
  if (state.thread_index() == 0) shared = new core::TDebugLog;
  for (auto _ : state) shared->AddLogLine("TvormekDevList -> announcement from 127.0.0.1");
  state.SetItemsProcessed(state.iterations());
  if (state.thread_index() == 0) {
    delete shared;
    shared = nullptr;
  }
}
BENCHMARK(BM_AppendFourThreads)->Threads(4)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
