#pragma once

#include <allegro.h>

// Whether two bitmaps have the same size and depth and the same pixels.
bool samePixels(BITMAP *a, BITMAP *b);

// For a loop that draws the back buffer at every tick while most ticks change nothing on it:
// showing a frame (the copy to the display, and the retrace wait where there is one) costs far more than drawing
// one, so a frame the same as the last one shown is not shown again.
class changedFrame {
 public:
  changedFrame();
  ~changedFrame();
  changedFrame(const changedFrame &) = delete;
  changedFrame &operator=(const changedFrame &) = delete;

  // Shows the back buffer (after the retrace, where a driver has a real one) unless it is the frame already on screen, and says
  // whether it did. Without memory for the copy every frame is shown.
  bool show();

 private:
  BITMAP *last;      // the frame on screen
  bool any = false;  // whether `last` holds one yet
};
