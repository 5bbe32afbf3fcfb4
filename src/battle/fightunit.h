#pragma once

#include <cstdint>

// One combatant's state inside one battle; index 0 is the player, 1 the computer opponent.
struct fightUnit {
  std::int32_t life = 100;
  std::int32_t mana = 20;
  std::int32_t spellKind[3] = {-1, -1, -1};
  std::int32_t spellMana[3] = {0, 0, 0};
};
