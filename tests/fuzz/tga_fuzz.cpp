// TGA decoder: the first byte picks the depth new bitmaps get (as a graphics mode might grant),
// the rest is the file, passed with its length. A bitmap handed out has its header's size.
#include <allegro.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "frame/tga.h"
#include "headless.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  startHeadless();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  constexpr int depths[] = {15, 16, 24, 32};
  const int depth = depths[data[0] & 3];
  set_color_depth(depth);
  const std::uint8_t *file = data + 1;
  BITMAP *plain = HeaderTGA::tga_from_char(file, size - 1);
  BITMAP *adapted = HeaderTGA::tga_from_char_ex(file, size - 1);
  if ((plain == nullptr) != (adapted == nullptr)) std::abort();
  if (!plain) return 0;
  for (BITMAP *bmp : {plain, adapted}) {
    if (bmp->w != (file[12] | file[13] << 8) || bmp->h != (file[14] | file[15] << 8)) std::abort();
  }
  if (bitmap_color_depth(plain) != static_cast<signed char>(file[16]) || bitmap_color_depth(adapted) != depth)
    std::abort();
  destroy_bitmap(plain);
  destroy_bitmap(adapted);
  return 0;
}
