// Decoding the pictures, and the two references every frame is weighed against.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "frame/global.h"
#include "frame/tga.h"
#include "pictures.h"

namespace {

// One picture per argument, in the order of PICTURES; the label names it.
void decodePicture(benchmark::State &state) {
  const embeddedPicture &p = PICTURES[state.range(0)];
  state.SetLabel(p.name);
  for (auto _ : state) {
    BITMAP *bmp = HeaderTGA::tga_from_char_ex(p.data, p.length);
    benchmark::DoNotOptimize(bmp);
    destroy_bitmap(bmp);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(p.length));
}

BENCHMARK(decodePicture)->DenseRange(0, std::size(PICTURES) - 1)->Unit(benchmark::kMicrosecond);

// What a start of the tournament decodes at most: every picture once.
void decodeAllSeven(benchmark::State &state) {
  for (auto _ : state) {
    for (const embeddedPicture &p : PICTURES) {
      BITMAP *bmp = HeaderTGA::tga_from_char_ex(p.data, p.length);
      benchmark::DoNotOptimize(bmp);
      destroy_bitmap(bmp);
    }
  }
}
BENCHMARK(decodeAllSeven)->Unit(benchmark::kMicrosecond);

// Reference: the least a frame can cost, one plain copy of a 640x480 16-bit buffer.
void memcpyFrame(benchmark::State &state) {
  std::vector<unsigned char> from(640 * 480 * 2, 7), to(640 * 480 * 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(memcpyFrame)->Unit(benchmark::kMicrosecond);

// Reference: the simplest complete frame of a screen, on memory bitmaps. Clear, background, one line
// of text, and a copy to a second bitmap standing in for the screen.
void clearCopyTextCopy(benchmark::State &state) {
  BITMAP *background = HeaderTGA::tga_from_char_ex(imgFight, sizeof imgFight);
  BITMAP *fakeScreen = create_bitmap(640, 480);
  for (auto _ : state) {
    clear_to_color(global::dbuffer, 0);
    blit(background, global::dbuffer, 0, 0, 0, 0, 640, 480);
    textout_ex(global::dbuffer, font, "Spring versus Winter", 240, 25, makecol(0, 0, 0), -1);
    blit(global::dbuffer, fakeScreen, 0, 0, 0, 0, 640, 480);
    benchmark::ClobberMemory();
  }
  destroy_bitmap(fakeScreen);
  destroy_bitmap(background);
}
BENCHMARK(clearCopyTextCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
