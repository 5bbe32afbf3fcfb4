#pragma once

#include <cstdint>
#include <string>

// The wizard type indexes every per-type table of the game. The fixed underlying type lets a
// value outside 0..3 exist, so the code that must reject one can be handed one.
enum CT : int { Spring = 0, Summer = 1, Fall = 2, Winter = 3 };

// Spell kinds index the buttons, the catalogue, a fighter's slots and the opponent's patterns.
constexpr int kindAttack = 0;
constexpr int kindDefense = 1;
constexpr int kindHeal = 2;
constexpr int kindSpecial = 3;
constexpr int kindEmpty = -1;

// A combatant's identity for one tournament run.
class unit {
 public:
  std::string name;
  CT type = Spring;

  CT getType() const { return type; }
  void setValues(std::string newName, CT newType);
  std::string getName() const { return name; }
};

extern const std::string names[4];
// The spell names of all four kinds, despite the table's name.
extern const std::string attackNames[4][4];
// Three display lines per spell, row type * 4 + kind.
extern const std::string description[16][3];
extern const std::int32_t manaSpecial[4];
