#pragma once

#include "frame/tga.h"
#include "images.h"

// The seven embedded pictures with their sizes, for the code that walks all of them.
struct embeddedPicture { const char *name; const unsigned char *data; std::size_t length; int w, h; };
#define MIRVANES_PICTURE(array, w, h) \
  { #array, array, sizeof array, w, h }
inline const embeddedPicture PICTURES[] = {
    MIRVANES_PICTURE(imgMenuMainPic, 640, 480), MIRVANES_PICTURE(imgMenuCCPic, 640, 480),
    MIRVANES_PICTURE(imgFight, 640, 480),       MIRVANES_PICTURE(imgButtonAttack, 50, 50),
    MIRVANES_PICTURE(imgButtonDefense, 50, 50), MIRVANES_PICTURE(imgButtonHeal, 50, 50),
    MIRVANES_PICTURE(imgButtonSpecial, 50, 50)};

// What the tournament decodes for a run: the battle background and the four buttons, released together.
struct battlePictures {
  static BITMAP *decode(int i) { return HeaderTGA::tga_from_char_ex(PICTURES[i].data, PICTURES[i].length); }
  BITMAP *background = decode(2), *buttons[4] = {decode(3), decode(4), decode(5), decode(6)};
  ~battlePictures() {
    for (BITMAP *b : {background, buttons[0], buttons[1], buttons[2], buttons[3]}) destroy_bitmap(b);
  }
};
