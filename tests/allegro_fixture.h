#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "frame/global.h"
#include "frame/keystates.h"

// Headless Allegro for every test: the neutral system driver, 16-bit colour with the 5-6-5 shifts
// the X11 driver uses, a 640x480 memory back buffer, and an empty key table.
class allegroTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool installed = false;
    if (!installed) {
      install_allegro(SYSTEM_NONE, &errno, atexit);
      installed = true;
    }
  }

  void SetUp() override {
    set_color_depth(16);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;
    global::dbuffer = create_bitmap(640, 480);
    ASSERT_NE(global::dbuffer, nullptr);
    clear_bitmap(global::dbuffer);
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
    timerCounter = 0;
    keyStates.resetAll();
  }

  void TearDown() override {
    destroy_bitmap(global::dbuffer);
    global::dbuffer = nullptr;
  }

  static int pixel(int x, int y) { return getpixel(global::dbuffer, x, y); }
};
