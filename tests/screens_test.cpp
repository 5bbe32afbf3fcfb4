#include <stdexcept>
#include <vector>

#include "allegro_fixture.h"
#include "battle/battle.h"
#include "frame/changedframe.h"
#include "screens/game.h"
#include "screens/intro.h"
#include "screens/menu.h"

using screensTest = allegroTest;  // screen loops are fed through the fixture's script

// The menu played to the wizard chosen by keys pressed together at a rest and let go at the next. Enter still held
// from the last screen does not act, Left stays on new game, and Esc goes back to new game with any arrow.
TEST_F(screensTest, menuKeysLeadToTheWizardChosen) {
  const std::vector<int> presses[] = {
      {KEY_LEFT},           // new game still
      {KEY_ENTER},          // the chooser, on Spring
      {KEY_RIGHT},          // Summer
      {KEY_ESC},            // new game
      {KEY_ENTER},          // the chooser, on Spring again
      {KEY_ESC, KEY_LEFT},  // new game
      {KEY_ENTER},          // the chooser
      {KEY_LEFT},           // Winter, round the left edge
      {KEY_ENTER},          // chosen
  };
  key[KEY_ENTER] = 1;  // still held from the last screen
  std::vector<int> held = {KEY_ENTER};
  std::size_t next = 0;
  script = [&] {
    if (!held.empty()) {
      for (int k : std::exchange(held, {})) key[k] = 0;
      return;
    }
    if (next == std::size(presses)) throw std::runtime_error("the menu waits for more keys");
    held = presses[next++];
    for (int k : held) key[k] = 1;
  };
  EXPECT_EQ(menu::mainMenu(), Winter);
  EXPECT_EQ(next, std::size(presses)) << "keys left unpressed";
}

// The intro of match 3 slides its lines 2.5 pixels a step from x = 640. Steps run while ticks are pending and the sixth
// in a row drops the rest; a new key ends the intro, which leaves what is pending.
TEST_F(screensTest, introSlidesItsLinesLeftUntilAKeyEndsIt) {
  unit units[2];
  units[0].setValues("Spring", Spring);
  units[1].setValues("Winter", Winter);
  // At each rest, the lines' centre and the ticks given then: 4 steps; 2, the sixth in a row dropping the rest; 6; 1
  // that sees the key.
  const int centreAtRest[] = {640, 630, 625, 610};
  const int ticksGiven[] = {4, 4, 320, 10};
  int rest = 0;
  script = [&] {
    EXPECT_TRUE(textAt("Spring (human) vs Winter (AI)", centreAtRest[rest], 240, 0, true)) << "rest " << rest;
    EXPECT_EQ(timerCounter, 0);
    timerCounter += ticksGiven[rest];
    ++rest;
    key[KEY_SPACE] = rest == 4;
  };
  const ownedBitmap shown(create_bitmap(640, 480));
  screen = shown.get();  // a screen of the picture's size and depth, shown on as it is
  showNames(units, 3);
  screen = nullptr;
  EXPECT_TRUE(samePixels(shown.get(), global::dbuffer)) << "the last frame shown";
  EXPECT_EQ(rest, 4);
  EXPECT_EQ(timerCounter, 9) << "the ticks left after the step that saw the key";
  EXPECT_TRUE(textAt("Battle 3", 0, 230, 0, true)) << "the last frame, at x = 0";
}

// A battle that ends inside its steps drops the ticks still pending.
TEST_F(screensTest, aBattleLeftThroughItsQuitQuestionDropsThePendingTicks) {
  const ownedBitmap background(create_bitmap(640, 480));
  BITMAP *buttons[4] = {};
  unit units[2];
  const auto savedQuit = std::exchange(askQuit, [] { return 1; });
  key[KEY_ESC] = 1;
  timerCounter = 10;
  EXPECT_EQ(fight(units, background.get(), buttons), -1);
  askQuit = savedQuit;
  EXPECT_EQ(timerCounter, 0);
}

// A run's matches, numbered from 1, until the first not won; the player named after the chosen type and each opponent
// after its own. Opponents drawn with one redraw of the player's type meet it about once in 16 matches, not once in 4.
TEST_F(screensTest, aRunPlaysMatchesUntilTheFirstOneNotWon) {
  static int matches, misnumbered, own, misnamed;
  const auto savedIntro = std::exchange(matchIntro, [](unit *u, int number) {
    const char *const typeNames[] = {"Spring", "Summer", "Fall", "Winter"};
    ++matches;
    misnumbered += number != matches;
    own += u[1].getType() == Summer;
    misnamed += u[0].getName() != "Summer" || u[1].getName() != typeNames[u[1].getType()];
    return true;
  });
  const auto savedFight = std::exchange(matchFight, [](unit *, BITMAP *, BITMAP **) { return matches < 201 ? 1 : -1; });
  srand(4242);
  EXPECT_EQ(game(Summer), 200);
  matchIntro = savedIntro;
  matchFight = savedFight;
  EXPECT_EQ(misnumbered, 0);
  EXPECT_EQ(misnamed, 0);
  EXPECT_TRUE(own > 3 && own < 25) << own << " of 201 against Summer";
}
