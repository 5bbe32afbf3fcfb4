#include <map>
#include <sstream>
#include <stdexcept>

#include "allegro_fixture.h"
#include "battle/battle.h"
#include "screens/game.h"
#include "screens/intro.h"
#include "screens/menu.h"

using screensTest = allegroTest;  // screen loops are fed through the fixture's script

// The menu played by presses at its rests (L, R, E for Enter and X for Esc; letters written together are held
// together): a rest lets the last keys go, or else notes the entry outlined in red (new game 0, end game 1, Spring
// to Winter 2 to 5) and presses the next.
TEST_F(screensTest, menuMovesItsFrameAndEscapeWithLeftGoesBackToNewGame) {
  const int frames[6][4] = {{100, 370, 300, 430}, {340, 370, 540, 430}, {20, 190, 155, 220},
                            {165, 190, 310, 220}, {330, 190, 465, 220}, {475, 190, 620, 220}};
  const std::map<char, int> codes = {{'L', KEY_LEFT}, {'R', KEY_RIGHT}, {'E', KEY_ENTER}, {'X', KEY_ESC}};
  const auto outlined = [&](const int *f) {  // red through the pixels beside the four corners
    return pixel(f[0], f[1] + 1) + pixel(f[0] + 1, f[1]) + pixel(f[2], f[3] - 1) + pixel(f[2] - 1, f[3]) == 4 * 0xF800;
  };
  const auto play = [&](const char *presses, std::vector<int> held = {}) {
    std::vector<int> shown;
    std::istringstream in(presses);
    script = [&] {
      const bool releasing = !held.empty();
      for (int k : std::exchange(held, {})) key[k] = 0;
      if (releasing) return;
      std::string keys;
      if (!(in >> keys)) throw std::runtime_error("the menu waits for more keys");
      int e = 5;
      while (e >= 0 && !outlined(frames[e])) --e;
      shown.push_back(e);
      for (char c : keys) key[held.emplace_back(codes.at(c))] = 1;
    };
    return std::pair{menu::mainMenu(), shown};
  };
  key[KEY_ENTER] = 1;  // still held from the last screen: it does not act
  EXPECT_EQ(play("R L E L L R R XL E XR E", {KEY_ENTER}),
            std::pair(-1, std::vector<int>{0, 1, 0, 2, 5, 4, 5, 2, 0, 2, 1}));
  EXPECT_EQ(play("E R R E"), std::pair(int(Fall), std::vector<int>{0, 2, 3, 4}));
}

// The intro of match 3 slides its lines in black on yellow 2.5 pixels a step from x = 640. Steps run while ticks
// are pending and the sixth in a row drops the rest; a new key ends the intro, which leaves what is pending.
TEST_F(screensTest, introSlidesItsLinesLeftUntilAKeyEndsIt) {
  unit units[2];
  units[0].setValues("Spring", Spring);
  units[1].setValues("Winter", Winter);
  int rest = 0;
  script = [&] {
    const int x = std::array{640, 630, 625, 610}[rest], ticks = std::array{4, 4, 320, 10}[rest];
    EXPECT_TRUE(pixel(320, 100) == 0xFFC0 && textAt("Battle 3", x, 230, 0, true) &&
                textAt("Spring (human) vs Winter (AI)", x, 240, 0, true))
        << x;
    EXPECT_EQ(timerCounter, 0);
    key[KEY_SPACE] = ++rest == 4;
    timerCounter += ticks;
  };
  showNames(units, 3);
  EXPECT_EQ((std::tuple{rest, int(timerCounter), textAt("Battle 3", 0, 230, 0, true)}), std::tuple(4, 9, true));
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

// A run's matches, numbered from 1, until the first not won; opponents drawn with one redraw of the player's own
// type meet it about once in 16 matches, not once in 4.
TEST_F(screensTest, aRunPlaysMatchesUntilTheFirstOneNotWon) {
  static std::string matches;
  static int number, own;
  const auto savedIntro = std::exchange(matchIntro, [](unit *u, int n) {
    matches += n < 4 ? std::to_string(n) + u[0].getName() + ' ' : "", number = n, own += u[1].getType() == Summer;
    return true;
  });
  const auto savedFight = std::exchange(matchFight, [](unit *, BITMAP *, BITMAP **) { return number < 201 ? 1 : -1; });
  srand(4242);
  EXPECT_EQ(game(Summer), 200);
  std::tie(matchIntro, matchFight) = std::pair(savedIntro, savedFight);
  EXPECT_TRUE(matches == "1Summer 2Summer 3Summer " && own > 3 && own < 25) << matches << own;
}
