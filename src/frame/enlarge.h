#pragma once

#include <allegro.h>

// Copies the 16-bit bitmap `from` onto `to` with every pixel as a `scale` x `scale` square, its
// top-left corner at (x, y). The enlarged picture must fit inside `to`, which is 16-bit too or
// 32-bit, where the pixels get the library's own colour conversion. It may be the screen: that is
// the only copy an enlarged frame needs.
void enlarge(BITMAP *from, BITMAP *to, int scale, int x = 0, int y = 0);
