#pragma once

#include <allegro.h>

// Copies the 16-bit bitmap `from` onto `to` with every pixel as a `scale` x `scale` square, for a
// scale of 1 to 4. `to` is exactly `scale` times as wide and as high, and 16-bit too or 32-bit,
// where the pixels get the library's own colour conversion. It may be the screen: that is the only
// copy an enlarged frame needs.
void enlarge(BITMAP *from, BITMAP *to, int scale);
