#include "frame/idle.h"

#include <allegro.h>

std::atomic<unsigned> global::wakeups{0};

void global::wake() {
  ++wakeups;
  wakeups.notify_all();
}

void global::wakeOnKey(int) { wake(); }

namespace {
// An event that came while the last pass ran has not been looked at yet, so the loop goes round
// at once; otherwise it sleeps until the next one instead of polling.
void sleepUntilWakeup() {
  static unsigned seen = 0;
  const unsigned now = global::wakeups.load();
  if (now == seen) global::wakeups.wait(seen);
  seen = global::wakeups.load();
}
}  // namespace

void (*global::idle)() = sleepUntilWakeup;
