#include "frame/idle.h"

#include <atomic>

namespace {
std::atomic<unsigned> wakeups{0};  // ticks and key events so far

// An event that came while the last pass ran has not been looked at yet, so the loop goes round
// at once; otherwise it sleeps until the next one instead of polling.
void sleepUntilWakeup() {
  static unsigned seen = 0;
  if (wakeups.load() == seen) wakeups.wait(seen);
  seen = wakeups.load();
}
}  // namespace

void global::wake() {
  ++wakeups;
  wakeups.notify_all();
}

void (*global::idle)() = sleepUntilWakeup;
