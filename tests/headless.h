#pragma once

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

// Allegro with no display, for the programs that run outside the test fixture (benchmarks, the
// memory check, fuzz targets): the neutral system driver and 16-bit colour with the 5-6-5 shifts
// the X11 driver uses, which the neutral driver would leave otherwise.
inline void startHeadless() {
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
  set_color_depth(16);
  _rgb_r_shift_16 = 11;
  _rgb_g_shift_16 = 5;
  _rgb_b_shift_16 = 0;
}
