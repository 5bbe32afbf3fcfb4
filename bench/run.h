#pragma once

#include <allegro.h>
#include <benchmark/benchmark.h>

#include "frame/global.h"

// Runs the benchmarks named on the command line with a 16-bit 640x480 back buffer, once the
// library is started.
inline int runBenchmarks(int argc, char **argv) {
  global::dbuffer = create_bitmap_ex(16, 640, 480);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  destroy_bitmap(global::dbuffer);
  return 0;
}
