// TGA decoder: the first byte picks the depth new bitmaps get (as a graphics mode might grant),
// the rest is the file, passed with its length. A bitmap handed out has its header's size.
#include <allegro.h>

#include <cstdint>
#include <cstdlib>

#include "frame/tga.h"
#include "headless.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return startHeadless(), 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const int depths[] = {15, 16, 24, 32}, depth = depths[data[0] & 3];
  set_color_depth(depth);
  const std::uint8_t *file = data + 1;
  BITMAP *plain = HeaderTGA::tga_from_char(file, size - 1), *adapted = HeaderTGA::tga_from_char_ex(file, size - 1);
  if (!plain != !adapted) std::abort();
  if (!plain) return 0;
  const bool sized = plain->w == adapted->w && plain->w == (file[12] | file[13] << 8) && plain->h == adapted->h &&
                     plain->h == (file[14] | file[15] << 8);
  if (!sized || bitmap_color_depth(plain) != static_cast<signed char>(file[16]) || bitmap_color_depth(adapted) != depth)
    std::abort();
  destroy_bitmap(plain);
  destroy_bitmap(adapted);
  return 0;
}
