#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include "frame/global.h"
#include "frame/idle.h"
#include "frame/keystates.h"
#include "headless.h"

struct bitmapRelease { void operator()(BITMAP *bmp) const { destroy_bitmap(bmp); } };
using ownedBitmap = std::unique_ptr<BITMAP, bitmapRelease>;

// A fatal report: the child's whole output is the text, and it ends with status 1. Without a system
// driver the message box prints to stdout, which a death test does not read.
#define EXPECT_REPORT(call, text) EXPECT_EXIT((reportsToStderr(), call), ::testing::ExitedWithCode(1), "^" text "$")
inline void reportsToStderr() { dup2((std::fflush(stdout), 2), 1); }

// Headless Allegro in the game's colour format, a black 640x480 back buffer, no key down and no
// tick pending. A screen loop that would rest runs `script` instead, to feed it ticks and keys.
class allegroTest : public ::testing::Test {
 protected:
  static inline std::function<void()> script;
  void (*savedIdle)() = std::exchange(global::idle, [] { script(); });

  void SetUp() override {
    startHeadless();
    clear_bitmap(global::dbuffer = create_bitmap(640, 480));
    std::fill_n(key, KEY_MAX, 0);
    timerCounter = 0;
    keyStates.resetAll();
  }
  void TearDown() override { destroy_bitmap(global::dbuffer), global::idle = savedIdle; }

  static int pixel(int x, int y) { return getpixel(global::dbuffer, x, y); }
  static int count(int x1, int y1, int x2, int y2, int colour) {  // in the box, corners included
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += pixel(x, y) == colour;
    return n;
  }
  // Whether the back buffer shows the text in the built-in font, its top-left corner at (x, y) or centred on x, in
  // the colour: drawing it there once more changes nothing.
  static bool textAt(const std::string &text, int x, int y, int colour, bool centred = false) {
    const ownedBitmap copy(create_bitmap(640, 480));
    blit(global::dbuffer, copy.get(), 0, 0, 0, 0, 640, 480);
    textout_ex(copy.get(), font, text.c_str(), centred ? x - 4 * static_cast<int>(text.size()) : x, y, colour, -1);
    for (int i = 0; i < 640 * 8; ++i)
      if (getpixel(copy.get(), i % 640, y + i / 640) != pixel(i % 640, y + i / 640)) return false;
    return true;
  }
};
