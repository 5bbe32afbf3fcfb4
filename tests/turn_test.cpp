#include <cstdlib>

#include "allegro_fixture.h"
#include "battle/battle.h"

namespace {
int quitAnswer = 0;
int quitQuestions = 0;
int keyHeldAfterDialog = -1;  // a key the player still holds when the dialog closes

int answerQuit() {
  ++quitQuestions;
  if (keyHeldAfterDialog >= 0) key[keyHeldAfterDialog] = 1;
  return quitAnswer;
}
}  // namespace

class turnTest : public allegroTest {
 protected:
  unit units[2];
  int (*savedAskQuit)() = nullptr;

  void SetUp() override {
    allegroTest::SetUp();
    units[0].setValues("Fall", Fall);
    units[1].setValues("Winter", Winter);
    savedAskQuit = askQuit;
    askQuit = answerQuit;
    quitAnswer = 0;
    quitQuestions = 0;
    keyHeldAfterDialog = -1;
  }

  void TearDown() override {
    askQuit = savedAskQuit;
    allegroTest::TearDown();
  }

  // One tick with key k held down, then one with it let go.
  static void tap(battleState &b, int k) {
    key[k] = 1;
    battleTick(b);
    key[k] = 0;
    battleTick(b);
  }

  static void ticks(battleState &b, int n) {
    for (int i = 0; i < n; ++i) battleTick(b);
  }

  // From chooseSpell: select the kind, open the amount (1 after the first tick), hold Up until it
  // shows `amount`, queue it.
  static void queueSpell(battleState &b, int kind, int amount) {
    while (b.selectedKind != kind) tap(b, KEY_DOWN);
    tap(b, KEY_ENTER);
    key[KEY_UP] = 1;
    ticks(b, amount - 1);
    key[KEY_UP] = 0;
    tap(b, KEY_ENTER);
  }
};

TEST_F(turnTest, setUpStartsAFreshMatch) {
  battleState b(units);
  for (const fightUnit &f : b.fighters) {
    EXPECT_EQ(f.life, 100);
    EXPECT_EQ(f.mana, 20);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(f.spellKind[i], -1);
      EXPECT_EQ(f.spellMana[i], 0);
    }
  }
  EXPECT_TRUE(b.running);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(b.queuedCount, 0);
  EXPECT_EQ(b.selectedKind, 0);
  EXPECT_EQ(b.chosenMana, 0);
  EXPECT_EQ(b.frameSkip, 0);
  EXPECT_EQ(b.title, "Fall versus Winter");
  EXPECT_EQ(b.sideColour[0], makecol(204, 0, 0));
  EXPECT_EQ(b.sideColour[1], makecol(0, 0, 204));
  EXPECT_EQ(b.typeColour[Spring], makecol(0, 255, 0));
  EXPECT_EQ(b.typeColour[Summer], makecol(255, 0, 0));
  EXPECT_EQ(b.typeColour[Fall], makecol(107, 82, 14));
  EXPECT_EQ(b.typeColour[Winter], makecol(0, 0, 255));
  EXPECT_EQ(b.log.capacity, 12);
  EXPECT_EQ(b.log.visible, 12);
  EXPECT_EQ(b.log.x, 20);
  EXPECT_EQ(b.log.target, global::dbuffer);
  EXPECT_EQ(b.log.count, 1);
  EXPECT_EQ(b.log.lines[0].text, " Beginning next match, Fall versus Winter");
  EXPECT_EQ(b.log.lines[0].color, 0);
}

TEST_F(turnTest, cursorWrapsAndMovesOncePerPress) {
  battleState b(units);
  tap(b, KEY_UP);
  EXPECT_EQ(b.selectedKind, 3);
  tap(b, KEY_DOWN);
  EXPECT_EQ(b.selectedKind, 0);
  key[KEY_DOWN] = 1;
  ticks(b, 10);
  EXPECT_EQ(b.selectedKind, 1);
  key[KEY_DOWN] = 0;
  battleTick(b);
  tap(b, KEY_DOWN);
  tap(b, KEY_DOWN);
  EXPECT_EQ(b.selectedKind, 3);
  tap(b, KEY_DOWN);
  EXPECT_EQ(b.selectedKind, 0);
  EXPECT_EQ(b.phase, chooseSpell);
}

TEST_F(turnTest, amountRunsWithHeldKeysStepsWithPressesAndIsClamped) {
  battleState b(units);
  key[KEY_ENTER] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  EXPECT_EQ(b.chosenMana, 0);
  battleTick(b);  // Enter still held: no new press, and the amount is clamped up
  EXPECT_EQ(b.chosenMana, 1);
  EXPECT_EQ(b.phase, chooseMana);
  key[KEY_ENTER] = 0;
  key[KEY_UP] = 1;
  ticks(b, 5);
  EXPECT_EQ(b.chosenMana, 6);
  ticks(b, 30);
  EXPECT_EQ(b.chosenMana, 20);
  key[KEY_UP] = 0;
  key[KEY_DOWN] = 1;
  ticks(b, 3);
  EXPECT_EQ(b.chosenMana, 17);
  ticks(b, 40);
  EXPECT_EQ(b.chosenMana, 1);
  key[KEY_DOWN] = 0;
  key[KEY_RIGHT] = 1;
  ticks(b, 5);  // held, but only the press counts
  EXPECT_EQ(b.chosenMana, 2);
  key[KEY_RIGHT] = 0;
  battleTick(b);
  tap(b, KEY_RIGHT);
  tap(b, KEY_RIGHT);
  tap(b, KEY_LEFT);
  EXPECT_EQ(b.chosenMana, 3);
  tap(b, KEY_ENTER);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(b.queuedCount, 1);
  EXPECT_EQ(b.fighters[0].spellKind[0], kindAttack);
  EXPECT_EQ(b.fighters[0].spellMana[0], 3);
  EXPECT_EQ(b.fighters[0].mana, 17);

  // Fifteen more leave two: the next amount cannot go past them.
  queueSpell(b, kindDefense, 15);
  EXPECT_EQ(b.fighters[0].spellKind[1], kindDefense);
  EXPECT_EQ(b.fighters[0].spellMana[1], 15);
  EXPECT_EQ(b.fighters[0].mana, 2);
  tap(b, KEY_ENTER);
  key[KEY_UP] = 1;
  ticks(b, 10);
  EXPECT_EQ(b.chosenMana, 2);
}

TEST_F(turnTest, healsAreQueuedEven) {
  battleState b(units);
  queueSpell(b, kindHeal, 7);
  EXPECT_EQ(b.fighters[0].spellKind[0], kindHeal);
  EXPECT_EQ(b.fighters[0].spellMana[0], 6);
  EXPECT_EQ(b.fighters[0].mana, 14);
  queueSpell(b, kindHeal, 1);  // 2 while more than 1 is left
  EXPECT_EQ(b.fighters[0].spellMana[1], 2);
  EXPECT_EQ(b.fighters[0].mana, 12);

  // With exactly 1 mana left a heal of 1 is queued, and the input ends.
  battleState c(units);
  queueSpell(c, kindAttack, 19);
  EXPECT_EQ(c.fighters[0].mana, 1);
  c.selectedKind = kindHeal;
  tap(c, KEY_ENTER);
  key[KEY_UP] = 1;
  ticks(c, 5);
  key[KEY_UP] = 0;
  key[KEY_ENTER] = 1;
  battleTick(c);
  EXPECT_EQ(c.fighters[0].spellMana[1], 1);
  EXPECT_EQ(c.fighters[0].mana, 0);
  EXPECT_EQ(c.phase, opponentPlans);
}

TEST_F(turnTest, backspaceTakesBackTheLastSpellOrLeavesTheAmount) {
  battleState b(units);
  tap(b, KEY_BACKSPACE);  // nothing queued: nothing happens
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(b.fighters[0].mana, 20);
  queueSpell(b, kindAttack, 5);
  queueSpell(b, kindDefense, 3);
  EXPECT_EQ(b.queuedCount, 2);
  EXPECT_EQ(b.fighters[0].mana, 12);
  tap(b, KEY_BACKSPACE);
  EXPECT_EQ(b.queuedCount, 1);
  EXPECT_EQ(b.fighters[0].spellKind[1], -1);
  EXPECT_EQ(b.fighters[0].spellKind[0], kindAttack);
  EXPECT_EQ(b.fighters[0].mana, 15);

  // In the amount phase it only goes back to choosing the spell.
  tap(b, KEY_ENTER);
  key[KEY_UP] = 1;
  ticks(b, 3);
  key[KEY_UP] = 0;
  key[KEY_BACKSPACE] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(b.queuedCount, 1);
  EXPECT_EQ(b.fighters[0].mana, 15);
  ticks(b, 3);  // the same press does not take back the queued spell too
  EXPECT_EQ(b.queuedCount, 1);
  key[KEY_BACKSPACE] = 0;
  battleTick(b);

  // A Backspace held while nothing is queued is spent: it neither leaves the amount nor takes
  // back the spell queued while it is still held.
  battleState c(units);
  key[KEY_BACKSPACE] = 1;
  battleTick(c);
  queueSpell(c, kindAttack, 4);
  EXPECT_EQ(c.queuedCount, 1);
  EXPECT_EQ(c.fighters[0].mana, 16);
  ticks(c, 3);
  EXPECT_EQ(c.queuedCount, 1);
}

TEST_F(turnTest, specialCostsItsFixedAmountOrCannotBeChosen) {
  battleState b(units);  // a Fall player: the special costs 15
  queueSpell(b, kindAttack, 10);
  EXPECT_EQ(b.fighters[0].mana, 10);
  while (b.selectedKind != kindSpecial) tap(b, KEY_DOWN);
  key[KEY_ENTER] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  key[KEY_ENTER] = 0;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(b.queuedCount, 1);
  EXPECT_EQ(b.fighters[0].mana, 10);

  battleState c(units);
  tap(c, KEY_UP);
  EXPECT_EQ(c.selectedKind, kindSpecial);
  tap(c, KEY_ENTER);
  EXPECT_EQ(c.chosenMana, 15);
  key[KEY_DOWN] = 1;
  ticks(c, 4);
  key[KEY_DOWN] = 0;
  EXPECT_EQ(c.chosenMana, 15);
  tap(c, KEY_LEFT);
  EXPECT_EQ(c.chosenMana, 15);
  tap(c, KEY_ENTER);
  EXPECT_EQ(c.fighters[0].spellKind[0], kindSpecial);
  EXPECT_EQ(c.fighters[0].spellMana[0], 15);
  EXPECT_EQ(c.fighters[0].mana, 5);
}

TEST_F(turnTest, twentyManaInOneSpellEndsTheInput) {
  srand(3);
  battleState b(units);
  tap(b, KEY_ENTER);
  key[KEY_UP] = 1;
  ticks(b, 25);
  key[KEY_UP] = 0;
  key[KEY_ENTER] = 1;
  battleTick(b);
  EXPECT_EQ(b.queuedCount, 1);
  EXPECT_EQ(b.fighters[0].spellMana[0], 20);
  EXPECT_EQ(b.fighters[0].mana, 0);
  EXPECT_EQ(b.phase, opponentPlans);

  // The opponent plans, the effects of the last turn end, and slot 0's countdown starts at once.
  b.halveEnemySpells[0] = b.halveEnemySpells[1] = true;
  b.invertEnemySpells[0] = b.invertEnemySpells[1] = true;
  battleTick(b);
  EXPECT_EQ(b.phase, resolveSlots);
  EXPECT_EQ(b.slot, 0);
  EXPECT_EQ(b.slotTimer, 63);
  for (int s = 0; s < 2; ++s) {
    EXPECT_FALSE(b.halveEnemySpells[s]);
    EXPECT_FALSE(b.invertEnemySpells[s]);
  }
  EXPECT_FALSE(b.fighters[1].spellKind[0] == -1 && b.fighters[1].spellKind[1] == -1 && b.fighters[1].spellKind[2] == -1)
      << "the opponent made no plan";
  EXPECT_EQ(b.fighters[0].spellKind[1], -1);
  EXPECT_EQ(b.fighters[0].spellKind[2], -1);
  EXPECT_EQ(b.fighters[1].mana, 20);
  EXPECT_EQ(b.fighters[1].life, 100);
}

TEST_F(turnTest, slotsPlayWhileEitherSideHasASpellThenANewTurnBegins) {
  battleState b(units);
  fightUnit &p = b.fighters[0];
  fightUnit &o = b.fighters[1];
  p.mana = 0;
  p.spellKind[0] = kindAttack;
  p.spellMana[0] = 20;
  o.spellKind[0] = kindDefense;
  o.spellMana[0] = 5;
  o.spellKind[1] = 10;  // casts nothing, but its slot is played
  o.spellMana[1] = -1;
  b.queuedCount = 1;
  b.selectedKind = 2;
  b.phase = resolveSlots;
  b.slot = 0;
  b.slotTimer = 64;
  ticks(b, 63);
  EXPECT_EQ(o.life, 100);
  battleTick(b);
  EXPECT_EQ(o.life, 85);
  EXPECT_EQ(p.spellKind[0], -1);  // the resolved spell leaves the queue
  EXPECT_EQ(o.spellKind[0], kindDefense);
  EXPECT_EQ(b.slot, 1);
  EXPECT_EQ(b.slotTimer, 64);
  ticks(b, 64);
  EXPECT_EQ(b.phase, newTurn);  // slot 2 is empty on both sides
  battleTick(b);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(p.mana, 20);
  EXPECT_EQ(b.queuedCount, 0);
  EXPECT_EQ(b.selectedKind, 0);
  EXPECT_EQ(p.life, 100);
  EXPECT_EQ(o.life, 85);
  EXPECT_TRUE(b.running);

  // After slot 2 the turn is over whatever the slots hold.
  b.phase = resolveSlots;
  b.slot = 2;
  b.slotTimer = 1;
  p.spellKind[2] = kindHeal;
  p.spellMana[2] = 2;
  battleTick(b);
  EXPECT_EQ(b.phase, newTurn);
}

TEST_F(turnTest, aFallInTheLastSlotEndsTheBattleAfterTheClosingPause) {
  battleState b(units);
  b.fighters[0].life = 5;
  b.fighters[1].spellKind[2] = kindAttack;
  b.fighters[1].spellMana[2] = 9;
  b.phase = resolveSlots;
  b.slot = 2;
  b.slotTimer = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, playerDefeated);
  EXPECT_EQ(b.result, 0);
  EXPECT_EQ(b.fighters[0].life, 0);
  battleTick(b);
  EXPECT_EQ(b.phase, defeatPause);
  EXPECT_EQ(b.log.lines[0].text, " You have lost.");
  EXPECT_EQ(b.log.lines[0].color, makecol(0, 0, 204));
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(b.log.lines[i].text, "") << i;
  EXPECT_EQ(b.log.lines[9].text, " Player 1 loses 9 health points");
  ticks(b, 62);
  EXPECT_TRUE(b.running);
  battleTick(b);  // the 64th tick of the pause
  EXPECT_FALSE(b.running);
  EXPECT_EQ(b.result, 0);
  EXPECT_EQ(quitQuestions, 0);
}

TEST_F(turnTest, quitConfirmedInTheClosingPauseReturnsMinusOne) {
  battleState b(units);
  b.fighters[1].life = 3;
  b.fighters[0].spellKind[0] = kindAttack;
  b.fighters[0].spellMana[0] = 4;
  b.phase = resolveSlots;
  b.slotTimer = 1;
  battleTick(b);
  battleTick(b);
  EXPECT_EQ(b.phase, victoryPause);
  EXPECT_EQ(b.result, 1);
  EXPECT_EQ(b.log.lines[0].text, " You have won!");
  EXPECT_EQ(b.log.lines[0].color, makecol(204, 0, 0));
  ticks(b, 20);
  quitAnswer = 1;
  tap(b, KEY_ESC);
  EXPECT_EQ(quitQuestions, 1);
  EXPECT_FALSE(b.running);
  EXPECT_EQ(b.result, -1);
}

TEST_F(turnTest, declinedQuitDropsTicksAndSwallowsHeldKeys) {
  battleState b(units);
  timerCounter = 5;
  keyHeldAfterDialog = KEY_ENTER;
  key[KEY_ESC] = 1;
  ticks(b, 3);  // Esc held: asked once
  EXPECT_EQ(quitQuestions, 1);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_TRUE(b.running);
  EXPECT_EQ(b.result, 0);
  EXPECT_EQ(keyStates.state[KEY_ENTER], 1);
  EXPECT_EQ(b.phase, chooseSpell);  // the Enter held since the dialog is no new press
  key[KEY_ESC] = 0;
  key[KEY_ENTER] = 0;
  battleTick(b);
  tap(b, KEY_ENTER);
  EXPECT_EQ(b.phase, chooseMana);

  // A quit confirmed while choosing ends the battle at once.
  quitAnswer = 1;
  keyHeldAfterDialog = -1;
  tap(b, KEY_ESC);
  EXPECT_FALSE(b.running);
  EXPECT_EQ(b.result, -1);
}
