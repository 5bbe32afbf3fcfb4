#include <map>
#include <sstream>
#include <stdexcept>

#include "allegro_fixture.h"
#include "battle/battle.h"
#include "screens/game.h"
#include "screens/intro.h"
#include "screens/menu.h"

using screensTest = allegroTest;  // screen loops are fed through the fixture's script

// The menu's entries, as outlined in red.
enum menuEntry { newGame, endGame, springEntry, summerEntry, fallEntry, winterEntry, noEntry = -1 };

// The menu played by presses at its rests, one word per press: left, right, enter, esc, or keys held together
// joined by + (esc+left). A rest lets the last keys go, or else notes the entry outlined and presses the next.
TEST_F(screensTest, menuMovesItsFrameAndEscapeWithLeftGoesBackToNewGame) {
  const int frames[6][4] = {{100, 370, 300, 430}, {340, 370, 540, 430}, {20, 190, 155, 220},
                            {165, 190, 310, 220}, {330, 190, 465, 220}, {475, 190, 620, 220}};
  const std::map<std::string, int> codes = {
      {"left", KEY_LEFT}, {"right", KEY_RIGHT}, {"enter", KEY_ENTER}, {"esc", KEY_ESC}};
  const auto outlined = [&](const int *f) {  // red through the pixels beside the four corners
    return pixel(f[0], f[1] + 1) + pixel(f[0] + 1, f[1]) + pixel(f[2], f[3] - 1) + pixel(f[2] - 1, f[3]) == 4 * 0xF800;
  };
  const auto play = [&](const char *presses, std::vector<int> held = {}) {
    std::vector<int> shown;
    std::istringstream words(presses);
    script = [&] {
      const bool releasing = !held.empty();
      for (int k : std::exchange(held, {})) key[k] = 0;
      if (releasing) return;
      std::string word;
      if (!(words >> word)) throw std::runtime_error("the menu waits for more keys");
      int entry = winterEntry;
      while (entry != noEntry && !outlined(frames[entry])) --entry;
      shown.push_back(entry);
      std::istringstream keys(word);
      for (std::string name; std::getline(keys, name, '+');) held.push_back(codes.at(name));
      for (int k : held) key[k] = 1;
    };
    const int chosen = menu::mainMenu();
    return std::pair(chosen, shown);
  };
  key[KEY_ENTER] = 1;  // still held from the last screen: it does not act
  EXPECT_EQ(play("right left enter left left right right esc+left enter esc+right enter", {KEY_ENTER}),
            std::pair(-1, std::vector<int>{newGame, endGame, newGame, springEntry, winterEntry, fallEntry, winterEntry,
                                           springEntry, newGame, springEntry, endGame}));
  EXPECT_EQ(play("enter right right enter"),
            std::pair(int(Fall), std::vector<int>{newGame, springEntry, summerEntry, fallEntry}));
}

// The intro of match 3 slides its lines in black on yellow 2.5 pixels a step from x = 640. Steps run while ticks
// are pending and the sixth in a row drops the rest; a new key ends the intro, which leaves what is pending.
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
    const int x = centreAtRest[rest];
    EXPECT_EQ(pixel(320, 100), 0xFFC0) << "yellow";
    EXPECT_TRUE(textAt("Battle 3", x, 230, 0, true)) << x;
    EXPECT_TRUE(textAt("Spring (human) vs Winter (AI)", x, 240, 0, true)) << x;
    EXPECT_EQ(timerCounter, 0);
    timerCounter += ticksGiven[rest];
    ++rest;
    key[KEY_SPACE] = rest == 4;
  };
  showNames(units, 3);
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

// A run's matches, numbered from 1, until the first not won, each opponent named after its type; opponents drawn
// with one redraw of the player's own type meet it about once in 16 matches, not once in 4.
TEST_F(screensTest, aRunPlaysMatchesUntilTheFirstOneNotWon) {
  static std::string matches;
  static int number, own, misnamed;
  const auto savedIntro = std::exchange(matchIntro, [](unit *u, int n) {
    const char *const typeNames[] = {"Spring", "Summer", "Fall", "Winter"};
    if (n < 4) matches += std::to_string(n) + ' ' + u[0].getName() + ", ";
    number = n;
    own += u[1].getType() == Summer;
    misnamed += u[1].getName() != typeNames[u[1].getType()];
    return true;
  });
  const auto savedFight = std::exchange(matchFight, [](unit *, BITMAP *, BITMAP **) { return number < 201 ? 1 : -1; });
  srand(4242);
  EXPECT_EQ(game(Summer), 200);
  matchIntro = savedIntro;
  matchFight = savedFight;
  EXPECT_EQ(matches, "1 Summer, 2 Summer, 3 Summer, ");
  EXPECT_EQ(misnamed, 0);
  EXPECT_TRUE(own > 3 && own < 25) << own << " of 201 against Summer";
}
