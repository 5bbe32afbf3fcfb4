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
#define EXPECT_REPORT(call, text) \
  EXPECT_EXIT(                    \
      {                           \
        reportsToStderr();        \
        call;                     \
      },                          \
      ::testing::ExitedWithCode(1), "^" text "$")
inline void reportsToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
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
  // Whether the back buffer shows the text in the built-in font, its top-left corner at (left, y), in the colour: in
  // each of its 8 rows the glyphs' pixels have the colour and the pixels between them the colour `box`, or for -1
  // (a transparent background) the colour of the pixel beside the text.
  static bool textShown(const std::string &text, int left, int y, int colour, int box) {
    const int width = 8 * static_cast<int>(text.size());
    const ownedBitmap glyphs(create_bitmap(width, 8));
    const int gap = colour ^ 0xFFFF;  // any colour but the text's
    clear_to_color(glyphs.get(), gap);
    textout_ex(glyphs.get(), font, text.c_str(), 0, 0, colour, -1);
    for (int row = 0; row < 8; ++row) {
      const int beside = left > 0 ? pixel(left - 1, y + row) : pixel(left + width, y + row);
      for (int column = std::max(0, -left); column < width && left + column < 640; ++column) {
        const bool glyph = getpixel(glyphs.get(), column, row) != gap;
        if (pixel(left + column, y + row) != (glyph ? colour : box == -1 ? beside : box)) return false;
      }
    }
    return true;
  }
  // The same on a transparent background, with the top-left corner at (x, y) or centred on x.
  static bool textAt(const std::string &text, int x, int y, int colour, bool centred = false) {
    return textShown(text, centred ? x - 4 * static_cast<int>(text.size()) : x, y, colour, -1);
  }
};
