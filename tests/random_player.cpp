#include "random_player.h"

#include <allegro.h>

#include <cstdlib>

namespace {
// The player's keys, each held in a tick with its own odds in ten thousand.
struct keyOdds {
  int code;
  unsigned odds;
};
const keyOdds KEY_ODDS[] = {
    {KEY_UP, 4500},    {KEY_DOWN, 1500},     {KEY_LEFT, 2000}, {KEY_RIGHT, 2000},
    {KEY_ENTER, 3500}, {KEY_BACKSPACE, 500}, {KEY_ESC, 2},
};
}  // namespace

namespace randomPlayer {

std::mt19937 dice;
bool quitConfirmed = false;

void seed(unsigned diceSeed, unsigned randSeed) {
  dice.seed(diceSeed);
  srand(randSeed);
}

int answerAtRandom() {
  quitConfirmed = dice() % 3 == 0;
  return quitConfirmed ? 1 : 0;
}

void chooseWizards(unit units[2]) {
  const CT player = static_cast<CT>(dice() % 4);
  const CT opponent = static_cast<CT>((player + 1 + dice() % 3) % 4);
  units[0].setValues(names[player], player);
  units[1].setValues(names[opponent], opponent);
}

void pressKeys() {
  for (const keyOdds &k : KEY_ODDS) key[k.code] = dice() % 10000 < k.odds;
}

}  // namespace randomPlayer
