#include "frame/changedframe.h"

#include <cstring>

#include "frame/global.h"

namespace {
// The X11 drivers have no retrace to wait for: their vsync sleeps until a simulated one, which held
// a frame back 27 ms. A driver with a real one (a console's) waits so that no frame tears; with no
// graphics driver no retrace ever comes.
bool realRetrace() {
  if (!gfx_driver) return false;
#ifdef GFX_XWINDOWS
  const int simulated[] = {GFX_XWINDOWS, GFX_XWINDOWS_FULLSCREEN, GFX_XDGA, GFX_XDGA_FULLSCREEN, GFX_XDGA2,
                           GFX_XDGA2_SOFT};
  for (int id : simulated) {
    if (gfx_driver->id == id) return false;
  }
#endif
  return true;
}
}  // namespace

bool samePixels(BITMAP *a, BITMAP *b) {
  if (a->w != b->w || a->h != b->h || bitmap_color_depth(a) != bitmap_color_depth(b)) return false;
  const std::size_t rowBytes = std::size_t(a->w) * ((bitmap_color_depth(a) + 7) / 8);
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(a->line[y], b->line[y], rowBytes) != 0) return false;
  }
  return true;
}

changedFrame::changedFrame() : last(create_bitmap(global::dbuffer->w, global::dbuffer->h)) {}

changedFrame::~changedFrame() {
  if (last) destroy_bitmap(last);
}

bool changedFrame::show() {
  if (last) {
    if (any && samePixels(last, global::dbuffer)) return false;
    blit(global::dbuffer, last, 0, 0, 0, 0, last->w, last->h);
    any = true;
  }
  if (realRetrace()) vsync();
  ::show();
  return true;
}
