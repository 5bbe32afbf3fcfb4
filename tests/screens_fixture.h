#pragma once

#include <functional>

#include "allegro_fixture.h"
#include "frame/idle.h"

// For tests that run a screen's loop: a memory bitmap stands in for the screen so show() has
// somewhere to go, and every pass that would rest runs the test's `script` instead, which feeds
// ticks and keys the way the timer and the keyboard would.
class screensTest : public allegroTest {
 protected:
  static inline std::function<void()> script;

  void SetUp() override {
    allegroTest::SetUp();
    screen = create_bitmap(640, 480);
    global::idle = [] { script(); };
  }

  void TearDown() override {
    global::idle = savedIdle;
    script = nullptr;
    destroy_bitmap(screen);
    screen = nullptr;
    allegroTest::TearDown();
  }

 private:
  void (*savedIdle)() = global::idle;
};
