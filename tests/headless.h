#pragma once

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <tuple>

// Allegro with no display, for tests, benchmarks and fuzz targets: the neutral system driver, started
// once, and 16-bit colour with the 5-6-5 shifts of the X11 driver, which that one leaves unset.
inline void startHeadless() {
  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
  set_color_depth(16);
  std::tie(_rgb_r_shift_16, _rgb_g_shift_16, _rgb_b_shift_16) = std::tuple(11, 5, 0);
}
