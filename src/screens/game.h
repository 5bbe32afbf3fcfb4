#pragma once

#include <allegro.h>

#include "combatants/wizard.h"

// The intro and the battle a run plays for each match; tests put scripted ones here.
extern bool (*matchIntro)(unit *units, int matchNumber);
extern int (*matchFight)(unit *units, BITMAP *background, BITMAP **buttons);

// One tournament run with the chosen wizard type: the number of matches won in a row.
int game(CT type);
