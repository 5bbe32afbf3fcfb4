#pragma once

#include <functional>

#include "allegro_fixture.h"
#include "frame/idle.h"

// While it lives, every pass of a screen loop that would rest runs `script` instead, which feeds
// ticks and keys the way the timer and the keyboard would.
struct scriptedRests {
  static inline std::function<void()> script;
  void (*saved)() = global::idle;

  scriptedRests() {
    global::idle = [] { script(); };
  }
  ~scriptedRests() {
    global::idle = saved;
    script = nullptr;
  }
};

// For tests that run a screen's loop.
class screensTest : public allegroTest {
 protected:
  scriptedRests rests;
  std::function<void()> &script = scriptedRests::script;
};
