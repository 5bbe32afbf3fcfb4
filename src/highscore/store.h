#pragma once

#include "combatants/wizard.h"

// Reads the highscore file, makes `wins` the type's best if it beats the stored one and writes the file back, all
// under an exclusive lock on the file, so games that end together each keep their best. Returns the type's best as
// it was before. A file that is not there yet starts as all zeros; any other failure ends the program with its report
// and leaves the file as it was.
int storeBest(int wins, CT type);

// At start-up, once the graphics mode is set: ends the program with a message that names the highscore file and the
// reason when a run's result could not be kept in it, so nobody plays a run whose result is lost. Changes nothing.
void checkHighscoreFile();
