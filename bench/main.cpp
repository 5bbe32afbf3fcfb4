#include <benchmark/benchmark.h>

#include "frame/global.h"
#include "headless.h"

// Headless, as the tests run: nothing here depends on a display, and no frame is shown.
int main(int argc, char **argv) {
  startHeadless();
  global::dbuffer = create_bitmap(640, 480);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  destroy_bitmap(global::dbuffer);
  return 0;
}
