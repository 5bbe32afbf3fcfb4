#pragma once

#include <cstdint>

#include "battle/fightunit.h"
#include "combatants/wizard.h"

// The computer opponent: per wizard type, life ranges pick a stance (0 aggressive, 1 neutral,
// 2 defensive); a random row of that stance's pattern table is its plan for the turn.

// Per behaviour (the CT value): aggressive upper and lower life, neutral upper and lower,
// defensive upper and lower (all inclusive), then the row base of the pattern draw.
extern const std::int32_t AI_BEHAVIOUR[4][7];

// [pattern row][behaviour][slot][kind, mana]; kind -1 is an empty slot.
extern const std::int32_t AI_PAT_AGRESSIVE[20][4][3][2];
extern const std::int32_t AI_PAT_NEUTRAL[20][4][3][2];
extern const std::int32_t AI_PAT_DEFENSIVE[20][4][3][2];

// Fills the opponent's three slots for this turn from its life and type; ends the program on an
// invalid type or a life that selects no stance.
void doAI(fightUnit &opponent, CT type);

// The behaviour row of a wizard type, -1 for a value that is no type.
int determineBehav(CT type);

// Picks the stance from the opponent's life (-1 when no range holds it) and draws the pattern row.
void determinePat(fightUnit *opponent, int behaviour, int &stance, int &patternRow);

// Copies the chosen entry into the opponent's slots and corrects it for overhealing and emergencies.
void applyKI(fightUnit *opponent, int stance, int patternRow, int behaviour);
