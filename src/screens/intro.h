#pragma once

#include "combatants/wizard.h"

// The match intro: "Battle N" and the pairing slide from the right edge to the left edge over
// eight seconds; any key ends it.
void showNames(unit *units, int matchNumber);
