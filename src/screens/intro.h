#pragma once

#include "combatants/wizard.h"

// The match intro: "Battle N" and the pairing slide from the right edge to the left edge over
// eight seconds; any key ends it. The window's close button asks the quit question over it: false
// when the player answers "Yes" and the run ends.
bool showNames(unit *units, int matchNumber);
