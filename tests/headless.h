#pragma once

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <tuple>

// The colour layouts the X11 driver sets on a display of depth 24; the neutral system driver leaves
// others, and every mode set puts those back.
inline void useX11ColourLayouts() {
  std::tie(_rgb_r_shift_16, _rgb_g_shift_16, _rgb_b_shift_16) = std::tuple(11, 5, 0);
  std::tie(_rgb_r_shift_32, _rgb_g_shift_32, _rgb_b_shift_32) = std::tuple(16, 8, 0);
}

// Allegro with no display, for tests, benchmarks and fuzz targets: the neutral system driver, started
// once, and 16-bit colour in the X11 driver's layout.
inline void startHeadless() {
  if (!system_driver && install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
  set_color_depth(16);
  useX11ColourLayouts();
}
