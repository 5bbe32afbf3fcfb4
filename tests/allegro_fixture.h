#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "frame/global.h"
#include "frame/idle.h"
#include "frame/keystates.h"
#include "headless.h"

struct bitmapRelease {
  void operator()(BITMAP *bmp) const { destroy_bitmap(bmp); }
};
using ownedBitmap = std::unique_ptr<BITMAP, bitmapRelease>;

// A fatal report: the child's whole output is the text, and it ends with status 1. Without a system
// driver the message box prints to stdout, which a death test does not read.
#define EXPECT_REPORT(call, text) EXPECT_EXIT(toStderrThen([&] { call; }), ::testing::ExitedWithCode(1), "^" text "$")
inline void reportsToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
}
inline void toStderrThen(const std::function<void()> &call) {
  reportsToStderr();
  call();
}

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
  void TearDown() override {
    destroy_bitmap(global::dbuffer);
    global::idle = savedIdle;
  }

  static int pixel(int x, int y) { return getpixel(global::dbuffer, x, y); }
  static int count(int x1, int y1, int x2, int y2, int colour) {  // in the box, corners included
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += pixel(x, y) == colour;
    return n;
  }
  // Whether the back buffer shows the text in the built-in font, its top-left corner at (x, y) or centred on x, in
  // the colour: the pixels between the glyphs have the colour `paper`, or for -1 (a transparent background) the
  // colour beside the text in their row. Columns off the buffer are skipped.
  static bool textAt(const std::string &text, int x, int y, int colour, bool centred = false, int paper = -1) {
    const int width = 8 * static_cast<int>(text.size());
    const int left = centred ? x - width / 2 : x;
    const ownedBitmap glyphs(create_bitmap(width, 8));
    clear_to_color(glyphs.get(), colour ^ 0xFFFF);  // any colour but the text's
    textout_ex(glyphs.get(), font, text.c_str(), 0, 0, colour, -1);
    for (int row = 0; row < 8; ++row) {
      const int between = paper != -1 ? paper : pixel(left > 0 ? left - 1 : left + width, y + row);
      for (int column = std::max(0, -left); column < width && left + column < 640; ++column) {
        const int expected = getpixel(glyphs.get(), column, row) == colour ? colour : between;
        if (pixel(left + column, y + row) != expected) return false;
      }
    }
    return true;
  }
};
