// Showing one frame in a real window, the one cost the headless benchmarks leave out: the plain copy
// of a 1x window (the library converts the colours to the display's), the game's whole-pixel
// enlargement into larger windows, and the library's stretch_blit to a 2x window for comparison.
// Needs a display; without one it says so and reports the run as skipped.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/global.h"
#include "frame/options.h"
#include "frame/tga.h"
#include "images.h"
#include "run.h"

namespace {
constexpr int SKIPPED = 77;  // CTest's usual status for a skipped test

// The mode as the game opens it, and the battle's background in the back buffer.
void open(options::display mode, int scale) {
  options wanted;
  wanted.mode = mode;
  wanted.scale = scale;
  setMode(wanted);
  BITMAP *background = HeaderTGA::tga_from_char_ex(imgFight, sizeof imgFight);
  blit(background, global::dbuffer, 0, 0, 0, 0, 640, 480);
  destroy_bitmap(background);
}

void label(benchmark::State &state) {
  state.SetLabel(std::to_string(SCREEN_W) + "x" + std::to_string(SCREEN_H) + " in " +
                 std::to_string(bitmap_color_depth(screen)) + " bits");
}

void showFrame(benchmark::State &state) {
  open(options::window, state.range(0));
  label(state);
  for (auto _ : state) show();
}
BENCHMARK(showFrame)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

// Full screen at the desktop's size: the picture enlarged and placed in its middle, the black
// border left as the mode set drew it.
void showFullScreenFrame(benchmark::State &state) {
  open(options::fullscreen, 1);
  label(state);
  for (auto _ : state) show();
}
BENCHMARK(showFullScreenFrame)->Unit(benchmark::kMicrosecond);

// Reference: the library enlarging into a 2x window of the game's own 16 bits.
void stretchBlitFrame(benchmark::State &state) {
  open(options::window, 1);
  set_gfx_mode(GFX_AUTODETECT_WINDOWED, 1280, 960, 0, 0);
  for (auto _ : state) stretch_blit(global::dbuffer, screen, 0, 0, 640, 480, 0, 0, SCREEN_W, SCREEN_H);
}
BENCHMARK(stretchBlitFrame)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char **argv) {
  if (!std::getenv("DISPLAY") || allegro_init() != 0) {
    std::puts("no display: nothing shown, nothing measured");
    return SKIPPED;
  }
  return runBenchmarks(argc, argv);
}
END_OF_MAIN()
