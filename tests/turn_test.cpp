#include <cstdlib>
#include <string>

#include "battle/battle.h"
#include "screens_fixture.h"

// A Fall player against a Winter opponent, driven tick by tick with the keys held in each tick,
// or through a whole call of fight.
class turnTest : public screensTest {
 protected:
  unit units[2];
  int (*savedAskQuit)() = askQuit;
  // The quit question's answer, how often it was asked, and a key the player still holds when
  // the dialog closes.
  static inline int quitAnswer, quitQuestions, keyHeldAfterDialog;

  void SetUp() override {
    screensTest::SetUp();
    units[0].setValues("Fall", Fall);
    units[1].setValues("Winter", Winter);
    quitAnswer = quitQuestions = 0;
    keyHeldAfterDialog = -1;
    askQuit = [] {
      ++quitQuestions;
      if (keyHeldAfterDialog >= 0) key[keyHeldAfterDialog] = 1;
      return quitAnswer;
    };
  }

  void TearDown() override {
    askQuit = savedAskQuit;
    screensTest::TearDown();
  }

  static void ticks(battleState &b, int n) {
    for (int i = 0; i < n; ++i) battleTick(b);
  }

  // Key k held down for n ticks, then let go.
  static void hold(battleState &b, int k, int n) {
    key[k] = 1;
    ticks(b, n);
    key[k] = 0;
  }

  // One tick with key k held down, then one with it let go.
  static void tap(battleState &b, int k) {
    hold(b, k, 1);
    battleTick(b);
  }

  // From chooseSpell: select the kind (a full round of the cursor at most, so a broken cursor
  // cannot hang the test), open the amount (1 after the first tick), hold Up until it shows
  // `amount`, queue it.
  static void queueSpell(battleState &b, int kind, int amount) {
    for (int i = 0; i < 4 && b.selectedKind != kind; ++i) tap(b, KEY_DOWN);
    tap(b, KEY_ENTER);
    hold(b, KEY_UP, amount - 1);
    tap(b, KEY_ENTER);
  }

  // The player's three slots, each as the letter of its kind and its mana or "-" when empty,
  // and the mana left: "A3 D15 -, 2 left".
  static std::string queue(const battleState &b) {
    const fightUnit &p = b.fighters[0];
    std::string out;
    for (int i = 0; i < 3; ++i) {
      if (i > 0) out += ' ';
      out += p.spellKind[i] == kindEmpty ? "-" : "ADHS"[p.spellKind[i]] + std::to_string(p.spellMana[i]);
    }
    return out + ", " + std::to_string(p.mana) + " left";
  }
};

TEST_F(turnTest, setUpStartsAFreshMatch) {
  battleState b(units);
  EXPECT_EQ(queue(b), "- - -, 20 left");
  EXPECT_EQ(std::tuple(b.fighters[0].life, b.fighters[1].life, b.fighters[1].mana), std::tuple(100, 100, 20));
  EXPECT_EQ(std::tuple(b.running, b.phase, b.log.count), std::tuple(true, chooseSpell, 1));
  EXPECT_EQ(b.title, "Fall versus Winter");
  EXPECT_EQ(b.log.lines[0].text, " Beginning next match, Fall versus Winter");
  EXPECT_EQ(b.log.lines[0].color, 0);
  // Twelve rows, all shown, from x = 20 on the back buffer.
  EXPECT_EQ(std::tuple(b.log.capacity, b.log.visible, b.log.x, b.log.target), std::tuple(12, 12, 20, global::dbuffer));
}

TEST_F(turnTest, cursorWrapsAndTheSpecialCostsItsFixedAmount) {
  // The cursor moves once a press and wraps both ways; a Fall player's special costs 15, and the
  // arrows do not change that.
  battleState b(units);
  hold(b, KEY_DOWN, 10);
  EXPECT_EQ(b.selectedKind, 1);
  battleTick(b);
  for (int i = 0; i < 3; ++i) tap(b, KEY_DOWN);
  EXPECT_EQ(b.selectedKind, 0);
  tap(b, KEY_UP);
  EXPECT_EQ(b.selectedKind, 3);
  tap(b, KEY_ENTER);
  EXPECT_EQ(b.chosenMana, 15);
  hold(b, KEY_DOWN, 4);
  tap(b, KEY_LEFT);
  EXPECT_EQ(b.chosenMana, 15);
  tap(b, KEY_ENTER);
  EXPECT_EQ(queue(b), "S15 - -, 5 left");
}

TEST_F(turnTest, amountRunsWithHeldKeysStepsWithPressesAndIsClamped) {
  battleState b(units);
  key[KEY_ENTER] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  EXPECT_EQ(b.chosenMana, 0);
  battleTick(b);  // Enter still held: no new press, and the amount is clamped up
  EXPECT_EQ(b.chosenMana, 1);
  key[KEY_ENTER] = 0;
  // Up and Down count every tick they are held, Right only once a press.
  const int steps[][3] = {{KEY_UP, 5, 6}, {KEY_UP, 30, 20}, {KEY_DOWN, 3, 17}, {KEY_DOWN, 40, 1}, {KEY_RIGHT, 5, 2}};
  for (const auto &[k, n, amount] : steps) {
    hold(b, k, n);
    EXPECT_EQ(b.chosenMana, amount) << k;
  }
  battleTick(b);
  for (int k : {KEY_RIGHT, KEY_RIGHT, KEY_LEFT}) tap(b, k);
  EXPECT_EQ(b.chosenMana, 3);
  tap(b, KEY_ENTER);
  EXPECT_EQ(b.phase, chooseSpell);
  EXPECT_EQ(queue(b), "A3 - -, 17 left");
  // Fifteen more leave two: the next amount cannot go past them, and a heal of 1 is queued as 2.
  queueSpell(b, kindDefense, 15);
  tap(b, KEY_ENTER);
  hold(b, KEY_UP, 10);
  EXPECT_EQ(b.chosenMana, 2);
  tap(b, KEY_BACKSPACE);
  queueSpell(b, kindHeal, 1);
  EXPECT_EQ(queue(b), "A3 D15 H2, 0 left");
}

TEST_F(turnTest, healsAreQueuedEvenAndTheSpecialNeedsItsCostLeft) {
  battleState b(units);
  queueSpell(b, kindHeal, 7);
  // 14 left: the special drops straight back.
  tap(b, KEY_DOWN);
  key[KEY_ENTER] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  battleTick(b);
  EXPECT_EQ(b.phase, chooseSpell);
  key[KEY_ENTER] = 0;
  queueSpell(b, kindAttack, 13);
  queueSpell(b, kindHeal, 5);  // with 1 left a heal of 1
  EXPECT_EQ(queue(b), "H6 A13 H1, 0 left");
}

TEST_F(turnTest, backspaceTakesBackTheLastSpellOrLeavesTheAmount) {
  battleState b(units);
  tap(b, KEY_BACKSPACE);  // nothing queued: nothing happens
  EXPECT_EQ(b.phase, chooseSpell);
  queueSpell(b, kindAttack, 5);
  queueSpell(b, kindDefense, 3);
  tap(b, KEY_BACKSPACE);
  EXPECT_EQ(queue(b), "A5 - -, 15 left");
  EXPECT_EQ(b.queuedCount, 1);
  // In the amount phase it only goes back to choosing the spell, and the same press does not
  // take back the queued spell too.
  tap(b, KEY_ENTER);
  hold(b, KEY_UP, 3);
  key[KEY_BACKSPACE] = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, chooseSpell);
  hold(b, KEY_BACKSPACE, 3);
  EXPECT_EQ(queue(b), "A5 - -, 15 left");

  // A Backspace held while nothing is queued is spent: it neither leaves the amount nor takes
  // back the spell queued while it is still held.
  battleTick(b);
  battleState c(units);
  key[KEY_BACKSPACE] = 1;
  battleTick(c);
  queueSpell(c, kindAttack, 4);
  ticks(c, 3);
  EXPECT_EQ(queue(c), "A4 - -, 16 left");
}

TEST_F(turnTest, twentyManaInOneSpellEndsTheInputAndTheSlotsBegin) {
  srand(3);
  battleState b(units);
  // Effects left from the last turn end when the opponent plans.
  for (int s = 0; s < 2; ++s) b.halveEnemySpells[s] = b.invertEnemySpells[s] = true;
  queueSpell(b, kindAttack, 25);
  EXPECT_EQ(queue(b), "A20 - -, 0 left");
  // The opponent has planned and slot 0's countdown has started in the same tick.
  EXPECT_EQ(std::tuple(b.phase, b.slot, b.slotTimer), std::tuple(resolveSlots, 0, 63));
  for (int s = 0; s < 2; ++s) EXPECT_FALSE(b.halveEnemySpells[s] || b.invertEnemySpells[s]) << s;
  const int *planned = b.fighters[1].spellKind;
  EXPECT_FALSE(planned[0] == -1 && planned[1] == -1 && planned[2] == -1) << "the opponent made no plan";
  EXPECT_EQ(b.fighters[1].mana, 20);
}

TEST_F(turnTest, slotsPlayWhileEitherSideHasASpellThenANewTurnBegins) {
  battleState b(units);
  fightUnit &o = b.fighters[1];
  b.fighters[0] = {100, 0, {kindAttack, -1, -1}, {20, 0, 0}};
  o = {100, 20, {kindDefense, 10, -1}, {5, -1, 0}};  // kind 10 casts nothing, but its slot is played
  b.queuedCount = 1;
  b.selectedKind = 2;
  b.phase = resolveSlots;
  b.slotTimer = 64;
  ticks(b, 63);
  EXPECT_EQ(o.life, 100);
  battleTick(b);
  EXPECT_EQ(o.life, 85);
  EXPECT_EQ(queue(b), "- - -, 0 left");  // the resolved spell leaves the queue, the opponent's stays
  EXPECT_EQ(o.spellKind[0], kindDefense);
  EXPECT_EQ(std::tuple(b.phase, b.slot, b.slotTimer), std::tuple(resolveSlots, 1, 64));
  ticks(b, 64);
  EXPECT_EQ(b.phase, newTurn);  // slot 2 is empty on both sides
  EXPECT_EQ(b.fighters[0].life, 100);
  battleTick(b);
  EXPECT_EQ(std::tuple(b.phase, b.queuedCount, b.selectedKind), std::tuple(chooseSpell, 0, 0));
  EXPECT_EQ(queue(b), "- - -, 20 left");

  // After slot 2 the turn is over whatever the slots hold.
  b.fighters[0].spellKind[2] = kindHeal;
  b.phase = resolveSlots;
  b.slot = 2;
  b.slotTimer = 1;
  battleTick(b);
  EXPECT_EQ(b.phase, newTurn);
}

TEST_F(turnTest, aFallEndsTheBattleAfterTheClosingPauseUnlessAQuitComesFirst) {
  // The player falls in the last slot: no new turn, the closing message on top for 64 ticks.
  battleState b(units);
  b.fighters[0].life = 5;
  b.fighters[1] = {100, 20, {-1, -1, kindAttack}, {0, 0, 9}};
  b.phase = resolveSlots;
  b.slot = 2;
  b.slotTimer = 1;
  battleTick(b);
  EXPECT_EQ(std::tuple(b.phase, b.result), std::tuple(playerDefeated, 0));
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

  // The opponent falls; a quit confirmed during the closing pause still makes it -1.
  battleState c(units);
  c.fighters[0] = {100, 20, {kindAttack, -1, -1}, {4, 0, 0}};
  c.fighters[1].life = 3;
  c.phase = resolveSlots;
  c.slotTimer = 1;
  ticks(c, 2);
  EXPECT_EQ(std::tuple(c.phase, c.result), std::tuple(victoryPause, 1));
  EXPECT_EQ(c.log.lines[0].text, " You have won!");
  EXPECT_EQ(c.log.lines[0].color, makecol(204, 0, 0));
  ticks(c, 20);
  quitAnswer = 1;
  tap(c, KEY_ESC);
  EXPECT_EQ(quitQuestions, 1);
  EXPECT_EQ(std::tuple(c.running, c.result), std::tuple(false, -1));
}

TEST_F(turnTest, declinedQuitDropsTicksAndSwallowsHeldKeys) {
  battleState b(units);
  timerCounter = 5;
  keyHeldAfterDialog = KEY_ENTER;
  hold(b, KEY_ESC, 3);  // Esc held: asked once
  EXPECT_EQ(quitQuestions, 1);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_TRUE(b.running);
  EXPECT_EQ(b.phase, chooseSpell);  // the Enter held since the dialog is no new press
  key[KEY_ENTER] = 0;
  battleTick(b);
  tap(b, KEY_ENTER);
  EXPECT_EQ(b.phase, chooseMana);

  // A quit confirmed while choosing ends the battle at once.
  quitAnswer = 1;
  keyHeldAfterDialog = -1;
  key[KEY_ESC] = 1;
  battleTick(b);
  EXPECT_EQ(std::tuple(b.running, b.result), std::tuple(false, -1));
}

TEST_F(turnTest, fightDrawsAtOnceAndReturnsTheQuitAfterItsLastFrame) {
  const ownedBitmap background(create_bitmap(640, 480));
  clear_to_color(background.get(), makecol(40, 40, 40));
  BITMAP *buttons[4] = {};
  int rests = 0;
  script = [&] {
    ++rests;
    if (rests == 1) {
      EXPECT_EQ(pixel(620, 225), makecol(255, 0, 0));  // the first frame, with no tick yet
      key[KEY_DOWN] = 1;
    }
    if (rests == 2) key[KEY_ESC] = 1;
    if (rests == 3) clear_to_color(global::dbuffer, 0);  // declined: the battle goes on
    if (rests == 5) key[KEY_ESC] = 0;
    if (rests == 6) key[KEY_ESC] = quitAnswer = 1;
    timerCounter = 1;
  };
  EXPECT_EQ(fight(units, background.get(), buttons), -1);
  EXPECT_EQ(quitQuestions, 2);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_EQ(pixel(620, 285), makecol(255, 0, 0));  // the last frame, cursor moved down once
  EXPECT_EQ(pixel(0, 0), makecol(40, 40, 40));
}
