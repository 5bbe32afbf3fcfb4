#pragma once

#include <allegro.h>

#include <cstddef>

#include "frame/tga.h"
#include "images.h"

// The seven embedded pictures with their sizes, for the code that walks all of them.
struct embeddedPicture {
  const char *name;
  const unsigned char *data;
  std::size_t length;
  int w, h;
};

inline const embeddedPicture PICTURES[] = {
    {"imgMenuMainPic", imgMenuMainPic, sizeof imgMenuMainPic, 640, 480},
    {"imgMenuCCPic", imgMenuCCPic, sizeof imgMenuCCPic, 640, 480},
    {"imgFight", imgFight, sizeof imgFight, 640, 480},
    {"imgButtonAttack", imgButtonAttack, sizeof imgButtonAttack, 50, 50},
    {"imgButtonDefense", imgButtonDefense, sizeof imgButtonDefense, 50, 50},
    {"imgButtonHeal", imgButtonHeal, sizeof imgButtonHeal, 50, 50},
    {"imgButtonSpecial", imgButtonSpecial, sizeof imgButtonSpecial, 50, 50},
};

// What the tournament decodes for a run: the battle background and the four buttons, released
// together.
struct battlePictures {
  BITMAP *background = HeaderTGA::tga_from_char_ex(imgFight, sizeof imgFight);
  BITMAP *buttons[4] = {
      HeaderTGA::tga_from_char_ex(imgButtonAttack, sizeof imgButtonAttack),
      HeaderTGA::tga_from_char_ex(imgButtonDefense, sizeof imgButtonDefense),
      HeaderTGA::tga_from_char_ex(imgButtonHeal, sizeof imgButtonHeal),
      HeaderTGA::tga_from_char_ex(imgButtonSpecial, sizeof imgButtonSpecial),
  };
  battlePictures() = default;
  battlePictures(const battlePictures &) = delete;
  battlePictures &operator=(const battlePictures &) = delete;
  ~battlePictures() {
    destroy_bitmap(background);
    for (BITMAP *b : buttons) destroy_bitmap(b);
  }
};
