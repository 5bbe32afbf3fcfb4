#pragma once

#include <allegro.h>

#include <string>

#include "battle/fightunit.h"
#include "combatants/wizard.h"
#include "frame/keystates.h"
#include "log/message.h"

// Phases of a battle.
constexpr int chooseSpell = 0;
constexpr int chooseMana = 1;
constexpr int opponentPlans = 2;
constexpr int resolveSlots = 3;
constexpr int newTurn = 4;
constexpr int opponentDefeated = 5;
constexpr int victoryPause = 6;
constexpr int playerDefeated = 7;
constexpr int defeatPause = 8;

// The four spell buttons down the right edge, in the order of the kinds.
constexpr area SPELL_BUTTONS[4] = {{570, 200, 619, 249}, {570, 260, 619, 309}, {570, 320, 619, 369}, {570, 380, 619, 429}};

// Everything one call of fight works on: the turn flow changes it, the resolution works on it,
// the screen draws it. It lives exactly as long as one match.
struct battleState {
  unit *units;  // the tournament's two combatants, player first; not owned
  fightUnit fighters[2];
  bool running = true;
  int result = 0;
  int phase = chooseSpell;
  int queuedCount = 0;
  int selectedKind = 0;
  int chosenMana = 0;
  int slot = 0;
  int slotTimer = 0;
  bool halveEnemySpells[2] = {false, false};
  bool invertEnemySpells[2] = {false, false};
  int pendingDamage[2] = {0, 0};
  bool opponentFirst = false;
  int sideColour[2];
  int typeColour[4];
  std::string title;
  messageClass log;
  int frameSkip = 0;

  // The battle's set-up: fresh fighters, the log on the back buffer, colours and the first line.
  explicit battleState(unit *units);
};

// The quit question of a run; tests put their own answer here. Returns 1 for "Yes".
extern int (*askQuit)();
// Asks the quit question, for Esc or the window's close button: true for "Yes", after which the
// close button also ends the game. After "No" the run goes on where it was: the keys held in the
// dialog and the ticks it took are dropped.
bool playerQuits(bool closeButton);

// One logic tick: the current phase's step, then the quit check.
void battleTick(battleState &b);

// Resolves slot b.slot of both sides: actions, damage, messages and the end of the battle.
void resolveSlot(battleState &b);

// Draws the complete battle frame into the back buffer (nothing is shown).
void drawBattle(const battleState &b, BITMAP *background, BITMAP **buttons);

// Plays one match; 1 when the player won, 0 when he lost, -1 when he quit.
int fight(unit *units, BITMAP *background, BITMAP **buttons);
