#include "screens/game.h"

#include <cstdlib>

#include "battle/battle.h"
#include "frame/error.h"
#include "frame/tga.h"
#include "images.h"
#include "screens/intro.h"

bool (*matchIntro)(unit *, int) = showNames;
int (*matchFight)(unit *, BITMAP *, BITMAP **) = fight;

int game(CT type) {
  unit units[2];
  units[0].setValues(names[type], type);
  BITMAP *background = HeaderTGA::tga_from_char_ex(imgFight, sizeof imgFight);
  if (!background) error::loadBit("fight.tga");
  // A button that does not decode is simply left out of the battle's frame.
  BITMAP *buttons[4] = {HeaderTGA::tga_from_char_ex(imgButtonAttack, sizeof imgButtonAttack),
                        HeaderTGA::tga_from_char_ex(imgButtonDefense, sizeof imgButtonDefense),
                        HeaderTGA::tga_from_char_ex(imgButtonHeal, sizeof imgButtonHeal),
                        HeaderTGA::tga_from_char_ex(imgButtonSpecial, sizeof imgButtonSpecial)};
  int wins = 0;
  for (;;) {
    // One re-draw only: the opponent may still turn out to be of the player's own type.
    CT opponent = static_cast<CT>(rand() & 3);
    if (opponent == units[0].getType()) opponent = static_cast<CT>(rand() & 3);
    units[1].setValues(names[opponent], opponent);
    if (!matchIntro(units, wins + 1) || matchFight(units, background, buttons) != 1) break;
    ++wins;
  }
  destroy_bitmap(background);
  for (BITMAP *button : buttons) {
    if (button) destroy_bitmap(button);
  }
  return wins;
}
