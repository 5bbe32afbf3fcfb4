#pragma once

#include <string>

#include "combatants/wizard.h"

// The decimal text of a number.
std::string i2str(int number);

// Stores the run's result as the type's best and shows it beside the type's old best until Enter
// or the window's close button.
void highscore(int wins, CT type);
