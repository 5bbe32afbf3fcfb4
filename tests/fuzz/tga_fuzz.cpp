// Fuzz target for the TGA decoder. The first input byte picks the colour depth new bitmaps get
// (15, 16, 24 or 32, as a graphics mode might grant); the rest is the file, passed with its length.
// Both the plain decode and the adaptation to that depth run on every input.
#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "frame/tga.h"
#include "headless.h"

namespace {
constexpr int DEPTHS[4] = {15, 16, 24, 32};

// A bitmap the decoder hands out must have the size its accepted header gave.
void checkSize(const BITMAP *bmp, const std::uint8_t *file) {
  if (bmp->w != (file[12] | file[13] << 8) || bmp->h != (file[14] | file[15] << 8)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  startHeadless();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const int target = DEPTHS[data[0] & 3];
  set_color_depth(target);
  const std::uint8_t *file = data + 1;
  const std::size_t length = size - 1;

  BITMAP *plain = HeaderTGA::tga_from_char(file, length);
  BITMAP *adapted = HeaderTGA::tga_from_char_ex(file, length);
  // Both take the same decision; the adapted one always ends in the current depth.
  if ((plain == nullptr) != (adapted == nullptr)) std::abort();
  if (plain != nullptr) {
    checkSize(plain, file);
    checkSize(adapted, file);
    if (bitmap_color_depth(plain) != static_cast<signed char>(file[16])) std::abort();
    if (bitmap_color_depth(adapted) != target) std::abort();
    destroy_bitmap(plain);
    destroy_bitmap(adapted);
  }
  return 0;
}
