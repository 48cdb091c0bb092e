// The main of the benchmarks over the class library: Qt's offscreen
// platform and the application object before the first benchmark runs;
// with TOLVANE_BENCH_CONTROLS the controls library started as the program
// starts it, and stopped after the last.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "vcl/Forms.h"
#ifdef TOLVANE_BENCH_CONTROLS
#include "controls/ControlsLibrary.h"
#endif

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  vcl::InitApplication();
#ifdef TOLVANE_BENCH_CONTROLS
  controls::StartUpControls();
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
#ifdef TOLVANE_BENCH_CONTROLS
  controls::ShutDownControls();
#endif
  return 0;
}
