#include "headless.h"
#include "run.h"

// Headless, as the tests run: nothing here depends on a display, and no frame is shown.
int main(int argc, char **argv) {
  startHeadless();
  return runBenchmarks(argc, argv);
}
