#pragma once

#include <random>

#include "combatants/wizard.h"

// A seeded random player for headless battles: a random pair of wizards, random keys in every
// tick and a random answer to the quit question. The soak test checks the rules against it; the
// memory check runs the game's code under valgrind with it.
namespace randomPlayer {

extern std::mt19937 dice;
// Whether the last quit question was answered "Yes".
extern bool quitConfirmed;

// Seeds the player's dice and the game's own rand(), so a run can be repeated exactly.
void seed(unsigned diceSeed, unsigned randSeed);
// Stands in for the quit dialog (askQuit): "Yes" once in three.
int answerAtRandom();
// A random wizard type for the player and a different random one for the opponent.
void chooseWizards(unit units[2]);
// Holds or releases each battle key for the coming tick, each with its own odds.
void pressKeys();

}  // namespace randomPlayer
