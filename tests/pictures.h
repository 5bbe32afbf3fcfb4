#pragma once

#include <cstddef>

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
