#pragma once

#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "frame/changedframe.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "headless.h"

// A bitmap released when it goes out of scope.
struct bitmapRelease {
  void operator()(BITMAP *bmp) const { destroy_bitmap(bmp); }
};
using ownedBitmap = std::unique_ptr<BITMAP, bitmapRelease>;

// Without a system driver Allegro's message box prints to stdout, while a death test matches
// what the child wrote to stderr: call this first inside the death test's statement.
inline void reportsToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
}

// A fatal report: the child's whole output is the text (the anchors leave no room for a prefix),
// and it ends with failure.
#define EXPECT_REPORT(call, text) EXPECT_EXIT((reportsToStderr(), call), ::testing::ExitedWithCode(1), "^" text "$")

// Headless Allegro for every test: the neutral system driver, 16-bit colour with the 5-6-5 shifts
// the X11 driver uses, a 640x480 memory back buffer, and an empty key table. `expected` is a
// frame of the same size on which a test draws what the back buffer should show.
class allegroTest : public ::testing::Test {
 protected:
  BITMAP *expected = nullptr;

  static void SetUpTestSuite() {
    if (!system_driver) startHeadless();
  }

  void SetUp() override {
    set_color_depth(16);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;
    global::dbuffer = create_bitmap(640, 480);
    expected = create_bitmap(640, 480);
    ASSERT_NE(global::dbuffer, nullptr);
    ASSERT_NE(expected, nullptr);
    clear_bitmap(global::dbuffer);
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
    timerCounter = 0;
    keyStates.resetAll();
  }

  void TearDown() override {
    destroy_bitmap(expected);
    destroy_bitmap(global::dbuffer);
    global::dbuffer = nullptr;
  }

  static int pixel(int x, int y) { return getpixel(global::dbuffer, x, y); }
  bool showsExpected() const { return samePixels(global::dbuffer, expected); }
};
