#include "combatants/ai.h"

#include <cstdlib>

#include "frame/error.h"

namespace {
// Shorthands for the pattern tables: attack, defense, heal, special, empty.
constexpr std::int32_t A = kindAttack;
constexpr std::int32_t D = kindDefense;
constexpr std::int32_t H = kindHeal;
constexpr std::int32_t S = kindSpecial;
constexpr std::int32_t E = kindEmpty;
}  // namespace

const std::int32_t AI_BEHAVIOUR[4][7] = {
    {20, 0, 100, 50, 49, 21, 3},  // Spring
    {30, 0, 100, 60, 59, 31, 1},  // Summer
    {100, 80, 79, 30, 29, 0, 0},  // Fall
    {100, 45, 44, 21, 20, 0, 5},  // Winter
};

// Columns per row: Spring, Summer, Fall, Winter. Two defensive Spring entries carry slots of kind
// 10, which cast nothing but still occupy their slot.
// clang-format off
const std::int32_t AI_PAT_AGRESSIVE[20][4][3][2] = {
    // rows 0 to 4
    {{{A, 7}, {A, 10}, {A, 3}}, {{S, 20}, {E, 0}, {E, 0}}, {{A, 10}, {A, 5}, {A, 5}}, {{A, 10}, {A, 5}, {A, 10}}},
    {{{S, 10}, {A, 5}, {A, 5}}, {{A, 10}, {A, 5}, {D, 5}}, {{A, 7}, {D, 3}, {A, 10}}, {{A, 7}, {A, 7}, {D, 6}}},
    {{{S, 10}, {D, 5}, {A, 5}}, {{D, 5}, {A, 12}, {A, 3}}, {{D, 4}, {A, 6}, {A, 10}}, {{A, 7}, {A, 6}, {A, 7}}},
    {{{A, 10}, {A, 6}, {H, 4}}, {{H, 6}, {A, 6}, {A, 8}}, {{D, 4}, {A, 10}, {H, 6}}, {{D, 5}, {A, 10}, {A, 5}}},
    {{{A, 7}, {A, 6}, {A, 7}}, {{A, 12}, {A, 4}, {A, 4}}, {{S, 15}, {A, 5}, {E, 0}}, {{S, 20}, {E, 0}, {E, 0}}},
    // rows 5 to 9
    {{{S, 10}, {A, 7}, {A, 3}}, {{D, 6}, {A, 12}, {A, 2}}, {{A, 5}, {S, 15}, {A, 0}}, {{A, 10}, {D, 5}, {D, 5}}},
    {{{A, 10}, {A, 4}, {D, 6}}, {{A, 10}, {D, 4}, {A, 6}}, {{A, 12}, {D, 4}, {H, 4}}, {{A, 16}, {H, 4}, {E, 0}}},
    {{{A, 16}, {H, 4}, {E, 0}}, {{A, 14}, {H, 6}, {E, 0}}, {{D, 4}, {A, 16}, {E, 0}}, {{S, 20}, {E, 0}, {E, 0}}},
    {{{A, 10}, {D, 5}, {A, 5}}, {{A, 12}, {D, 4}, {A, 4}}, {{S, 15}, {A, 5}, {E, 0}}, {{A, 17}, {D, 3}, {E, 0}}},
    {{{S, 10}, {E, 0}, {A, 10}}, {{D, 6}, {A, 12}, {H, 4}}, {{A, 16}, {D, 2}, {A, 2}}, {{A, 10}, {D, 4}, {H, 6}}},
    // rows 10 to 14
    {{{D, 4}, {A, 13}, {D, 3}}, {{S, 20}, {E, 0}, {E, 0}}, {{D, 4}, {A, 10}, {H, 6}}, {{A, 7}, {A, 7}, {H, 6}}},
    {{{A, 15}, {E, 0}, {A, 5}}, {{A, 7}, {A, 8}, {D, 5}}, {{H, 4}, {A, 8}, {A, 8}}, {{S, 20}, {E, 0}, {E, 0}}},
    {{{A, 6}, {A, 7}, {A, 6}}, {{A, 6}, {A, 6}, {A, 8}}, {{A, 10}, {D, 5}, {A, 5}}, {{D, 5}, {A, 10}, {A, 5}}},
    {{{A, 12}, {H, 4}, {A, 4}}, {{D, 5}, {A, 10}, {A, 5}}, {{D, 5}, {A, 8}, {A, 7}}, {{A, 20}, {E, 0}, {E, 0}}},
    {{{A, 20}, {E, 0}, {E, 0}}, {{A, 10}, {H, 10}, {E, 0}}, {{H, 10}, {A, 5}, {A, 5}}, {{A, 15}, {A, 5}, {E, 0}}},
    // rows 15 to 19
    {{{E, 0}, {A, 14}, {H, 6}}, {{D, 8}, {A, 8}, {A, 4}}, {{A, 9}, {A, 9}, {H, 2}}, {{D, 3}, {A, 15}, {H, 2}}},
    {{{A, 15}, {D, 5}, {E, 0}}, {{A, 15}, {D, 5}, {E, 0}}, {{A, 7}, {D, 7}, {A, 6}}, {{A, 10}, {A, 10}, {E, 0}}},
    {{{A, 7}, {A, 7}, {A, 6}}, {{A, 20}, {E, 0}, {E, 0}}, {{A, 20}, {E, 0}, {E, 0}}, {{A, 17}, {D, 1}, {H, 2}}},
    {{{A, 15}, {A, 3}, {A, 2}}, {{D, 4}, {A, 12}, {D, 4}}, {{A, 15}, {A, 5}, {E, 0}}, {{S, 20}, {E, 0}, {A, 0}}},
    {{{S, 10}, {A, 10}, {E, 0}}, {{A, 20}, {E, 0}, {E, 0}}, {{A, 18}, {D, 1}, {D, 1}}, {{A, 16}, {A, 2}, {A, 2}}},
};

const std::int32_t AI_PAT_NEUTRAL[20][4][3][2] = {
    // rows 0 to 4
    {{{D, 5}, {A, 10}, {A, 5}}, {{S, 20}, {E, 0}, {E, 0}}, {{A, 7}, {D, 7}, {H, 6}}, {{A, 10}, {D, 5}, {D, 5}}},
    {{{S, 10}, {A, 5}, {D, 5}}, {{A, 10}, {D, 4}, {H, 6}}, {{A, 5}, {S, 15}, {E, 0}}, {{D, 5}, {H, 10}, {A, 5}}},
    {{{D, 7}, {A, 7}, {H, 6}}, {{H, 10}, {A, 10}, {E, 0}}, {{A, 5}, {H, 10}, {D, 5}}, {{A, 7}, {D, 3}, {H, 10}}},
    {{{H, 10}, {D, 5}, {A, 5}}, {{S, 20}, {E, 0}, {E, 0}}, {{A, 5}, {D, 5}, {H, 10}}, {{D, 5}, {D, 5}, {A, 10}}},
    {{{D, 7}, {A, 7}, {H, 6}}, {{D, 5}, {D, 5}, {A, 10}}, {{D, 5}, {D, 5}, {A, 10}}, {{A, 7}, {D, 7}, {D, 6}}},
    // rows 5 to 9
    {{{A, 10}, {D, 7}, {D, 3}}, {{A, 10}, {A, 5}, {D, 5}}, {{A, 5}, {S, 15}, {E, 0}}, {{H, 10}, {A, 6}, {A, 4}}},
    {{{H, 12}, {A, 4}, {A, 4}}, {{D, 4}, {H, 4}, {A, 12}}, {{D, 5}, {A, 10}, {D, 5}}, {{D, 7}, {D, 7}, {D, 6}}},
    {{{A, 9}, {D, 5}, {H, 6}}, {{A, 6}, {A, 6}, {H, 8}}, {{A, 7}, {A, 7}, {D, 6}}, {{D, 7}, {A, 7}, {A, 6}}},
    {{{H, 10}, {A, 5}, {A, 5}}, {{A, 12}, {D, 4}, {D, 4}}, {{H, 6}, {D, 6}, {A, 8}}, {{D, 5}, {H, 10}, {A, 5}}},
    {{{S, 10}, {A, 10}, {E, 0}}, {{S, 20}, {E, 0}, {E, 0}}, {{D, 3}, {A, 2}, {S, 15}}, {{A, 10}, {A, 5}, {D, 5}}},
    // rows 10 to 14
    {{{D, 6}, {H, 14}, {E, 0}}, {{S, 20}, {E, 0}, {E, 0}}, {{D, 7}, {A, 7}, {D, 6}}, {{D, 5}, {H, 8}, {A, 7}}},
    {{{A, 7}, {A, 8}, {D, 5}}, {{A, 7}, {D, 7}, {H, 6}}, {{A, 10}, {D, 5}, {D, 5}}, {{D, 6}, {D, 9}, {A, 5}}},
    {{{H, 10}, {A, 5}, {A, 5}}, {{H, 6}, {A, 8}, {H, 6}}, {{H, 10}, {D, 5}, {A, 5}}, {{H, 8}, {A, 11}, {D, 1}}},
    {{{H, 10}, {A, 10}, {E, 0}}, {{A, 15}, {D, 5}, {E, 0}}, {{A, 7}, {D, 7}, {H, 6}}, {{S, 20}, {E, 0}, {E, 0}}},
    {{{E, 0}, {A, 15}, {D, 5}}, {{S, 20}, {E, 0}, {E, 0}}, {{A, 5}, {S, 15}, {E, 0}}, {{A, 7}, {D, 7}, {D, 6}}},
    // rows 15 to 19
    {{{H, 20}, {E, 0}, {E, 0}}, {{D, 10}, {H, 10}, {E, 0}}, {{A, 5}, {S, 15}, {E, 0}}, {{D, 6}, {H, 10}, {A, 4}}},
    {{{S, 10}, {A, 5}, {A, 5}}, {{A, 7}, {D, 6}, {A, 7}}, {{A, 7}, {D, 6}, {A, 7}}, {{A, 5}, {D, 10}, {A, 5}}},
    {{{A, 10}, {D, 10}, {E, 0}}, {{H, 10}, {D, 5}, {A, 5}}, {{D, 10}, {A, 5}, {A, 5}}, {{D, 7}, {A, 7}, {H, 6}}},
    {{{A, 10}, {D, 5}, {A, 5}}, {{A, 7}, {D, 7}, {A, 6}}, {{A, 7}, {H, 10}, {D, 3}}, {{A, 9}, {D, 4}, {D, 7}}},
    {{{D, 7}, {D, 7}, {A, 6}}, {{H, 20}, {E, 0}, {E, 0}}, {{A, 5}, {S, 15}, {A, 0}}, {{S, 20}, {E, 0}, {E, 0}}},
};

const std::int32_t AI_PAT_DEFENSIVE[20][4][3][2] = {
    // rows 0 to 4
    {{{S, 10}, {D, 5}, {D, 5}}, {{D, 10}, {H, 6}, {H, 4}}, {{S, 15}, {D, 5}, {E, 0}}, {{D, 10}, {D, 5}, {A, 5}}},
    {{{D, 7}, {D, 7}, {A, 6}}, {{A, 6}, {H, 6}, {D, 8}}, {{D, 5}, {D, 5}, {D, 10}}, {{D, 7}, {D, 7}, {H, 6}}},
    {{{D, 5}, {H, 10}, {A, 5}}, {{D, 10}, {A, 4}, {D, 6}}, {{D, 5}, {S, 15}, {E, 0}}, {{D, 5}, {D, 5}, {A, 10}}},
    {{{H, 10}, {H, 10}, {E, 0}}, {{H, 6}, {H, 6}, {A, 8}}, {{D, 5}, {A, 10}, {A, 5}}, {{A, 10}, {D, 5}, {A, 10}}},
    {{{D, 7}, {A, 8}, {D, 4}}, {{D, 5}, {D, 10}, {A, 5}}, {{A, 6}, {D, 7}, {A, 7}}, {{S, 20}, {A, 0}, {A, 0}}},
    // rows 5 to 9
    {{{H, 8}, {D, 8}, {A, 4}}, {{D, 5}, {A, 9}, {H, 6}}, {{A, 3}, {D, 2}, {S, 15}}, {{D, 5}, {H, 10}, {A, 5}}},
    {{{S, 10}, {D, 5}, {A, 5}}, {{A, 5}, {D, 10}, {D, 5}}, {{A, 10}, {D, 5}, {D, 5}}, {{D, 4}, {D, 4}, {A, 12}}},
    {{{S, 10}, {A, 10}, {E, 0}}, {{D, 7}, {H, 6}, {A, 0}}, {{A, 7}, {D, 7}, {H, 6}}, {{D, 10}, {H, 10}, {E, 0}}},
    {{{D, 3}, {D, 3}, {H, 14}}, {{D, 10}, {H, 10}, {E, 0}}, {{A, 5}, {S, 15}, {A, 0}}, {{H, 20}, {E, 0}, {E, 0}}},
    {{{H, 10}, {D, 3}, {A, 7}}, {{D, 6}, {A, 10}, {H, 4}}, {{D, 7}, {A, 7}, {D, 6}}, {{H, 16}, {A, 4}, {E, 0}}},
    // rows 10 to 14
    {{{D, 7}, {D, 7}, {D, 6}}, {{D, 6}, {D, 6}, {D, 8}}, {{H, 6}, {A, 7}, {D, 7}}, {{D, 6}, {D, 6}, {A, 8}}},
    {{{D, 6}, {D, 8}, {D, 6}}, {{S, 20}, {E, 0}, {E, 0}}, {{A, 5}, {S, 15}, {A, 0}}, {{S, 20}, {E, 0}, {E, 0}}},
    {{{H, 8}, {A, 8}, {D, 4}}, {{D, 10}, {A, 4}, {H, 6}}, {{D, 7}, {D, 7}, {A, 6}}, {{D, 5}, {D, 5}, {A, 10}}},
    {{{D, 20}, {E, 0}, {E, 0}}, {{D, 6}, {D, 6}, {H, 8}}, {{D, 5}, {D, 5}, {A, 10}}, {{H, 20}, {E, 0}, {E, 0}}},
    {{{H, 10}, {10, -1}, {A, 0}}, {{D, 5}, {H, 10}, {A, 5}}, {{S, 15}, {A, 5}, {E, 0}}, {{A, 20}, {E, 0}, {E, 0}}},
    // rows 15 to 19
    {{{D, 10}, {A, 5}, {A, 5}}, {{D, 20}, {E, 0}, {E, 0}}, {{H, 6}, {A, 4}, {D, 10}}, {{D, 10}, {D, 5}, {A, 5}}},
    {{{10, -1}, {A, 0}, {10, 0}}, {{A, 9}, {D, 5}, {D, 6}}, {{D, 20}, {E, 0}, {E, 0}}, {{D, 10}, {D, 10}, {E, 0}}},
    {{{D, 15}, {E, 0}, {A, 5}}, {{D, 3}, {H, 16}, {A, 1}}, {{D, 5}, {D, 5}, {D, 10}}, {{A, 5}, {D, 5}, {H, 10}}},
    {{{H, 6}, {H, 8}, {A, 6}}, {{D, 4}, {D, 4}, {H, 12}}, {{D, 10}, {A, 10}, {E, 0}}, {{A, 15}, {D, 3}, {D, 2}}},
    {{{H, 8}, {A, 8}, {D, 4}}, {{A, 10}, {D, 10}, {E, 0}}, {{D, 15}, {A, 3}, {A, 2}}, {{S, 20}, {E, 0}, {E, 0}}},
};
// clang-format on

namespace {
const std::int32_t (*const PATTERNS[3])[4][3][2] = {AI_PAT_AGRESSIVE, AI_PAT_NEUTRAL, AI_PAT_DEFENSIVE};
}  // namespace

int determineBehav(CT type) { return type >= Spring && type <= Winter ? static_cast<int>(type) : -1; }

void determinePat(fightUnit *opponent, int behaviour, int &stance, int &patternRow) {
  const std::int32_t *b = AI_BEHAVIOUR[behaviour];
  const int life = opponent->life;
  const int r = rand() % 19;
  stance = -1;
  if (b[1] <= life && life <= b[0]) stance = 0;
  if (b[3] <= life && life <= b[2]) stance = 1;
  if (b[5] <= life && life <= b[4]) stance = 2;
  patternRow = b[6] + r;
  if (patternRow > 19) patternRow -= rand() % 10;
  // Spring can still stand at 20 or 21 and Winter at 20 to 23 here. Mirroring them back onto
  // 19, 18, 17, 16 keeps distinct draws distinct; clamping would pile them all onto row 19,
  // which for Winter is its special in every stance.
  if (patternRow > 19) patternRow = 39 - patternRow;
}

void applyKI(fightUnit *opponent, int stance, int patternRow, int behaviour) {
  fightUnit &o = *opponent;
  if (stance >= 0 && stance <= 2) {
    for (int i = 0; i < 3; ++i) {
      o.spellKind[i] = PATTERNS[stance][patternRow][behaviour][i][0];
      o.spellMana[i] = PATTERNS[stance][patternRow][behaviour][i][1];
    }
  }
  const int life = o.life;
  const bool fall = behaviour == Fall;
  // A heal or Fall's special (15 life) that would overshoot 100 is turned into an attack.
  for (int i = 0; i < 3; ++i) {
    if (o.spellKind[i] == kindHeal && life + o.spellMana[i] / 2 > 100) o.spellKind[i] = kindAttack;
    if (fall && o.spellKind[i] == kindSpecial && life + 15 > 100) o.spellKind[i] = kindAttack;
  }
  if (life <= 15) {
    int healMana = 0;
    for (int i = 0; i < 3; ++i) {
      if (o.spellKind[i] == kindHeal) healMana += o.spellMana[i];
    }
    if (healMana <= 8) {
      if (fall) {
        o.spellKind[0] = kindSpecial;
        o.spellMana[0] = 15;
        o.spellKind[2] = kindEmpty;
        o.spellMana[2] = 0;
        o.spellKind[1] = rand() % 10 < 6 ? kindDefense : kindAttack;
      } else {
        o.spellKind[0] = kindHeal;
        o.spellMana[0] = 10;
        if (o.spellKind[1] == kindHeal) o.spellKind[1] = kindAttack;
        if (o.spellKind[2] == kindHeal) o.spellKind[2] = kindDefense;
        o.spellMana[1] = 5;
        o.spellMana[2] = 5;
      }
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (o.spellMana[i] == 0 || o.spellMana[i] > 20) o.spellKind[i] = kindEmpty;
  }
}

void doAI(fightUnit &opponent, CT type) {
  const int behaviour = determineBehav(type);
  if (behaviour == -1) error::fatal("AI error: Invalid AI behaviour.");
  int stance = -1;
  int patternRow = -1;
  determinePat(&opponent, behaviour, stance, patternRow);
  if (stance == -1 || patternRow == -1) error::fatal("AI error: Invalid AI pattern.");
  applyKI(&opponent, stance, patternRow, behaviour);
}
