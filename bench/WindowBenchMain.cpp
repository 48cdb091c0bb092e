// The main of the benchmarks over the class library: Qt's offscreen
// platform and the application object before the first benchmark runs.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "vcl/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  vcl::InitApplication();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
