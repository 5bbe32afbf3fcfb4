#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "highscore/screen.h"
#include "file_fixture.h"
#include "screens_fixture.h"

// Each test runs in a fresh empty folder, where the screen keeps its file.
class highscoreScreenTest : public fileTest {
 protected:
  scriptedRests rests;
  std::function<void()> &script = scriptedRests::script;
  BITMAP *expected = nullptr;

  void SetUp() override {
    fileTest::SetUp();
    expected = create_bitmap(640, 480);
  }

  void TearDown() override {
    destroy_bitmap(expected);
    fileTest::TearDown();
  }

  static std::vector<std::int32_t> fileValues() {
    const bytes content = readFile("highscore.mhs");
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; i + 4 <= content.size(); i += 4) {
      values.push_back(static_cast<std::int32_t>(content[i] | content[i + 1] << 8 | content[i + 2] << 16 |
                                                 static_cast<std::uint32_t>(content[i + 3]) << 24));
    }
    return values;
  }

  // Shows the screen until it first rests, checks its frame there, then presses Enter.
  bool visitShowing(int wins, CT type, const char *title, const char *score, const char *old) {
    bool same = false;
    script = [&] {
      clear_to_color(expected, makecol(253, 250, 0));
      textout_centre_ex(expected, font, title, 320, 100, 0, -1);
      textout_centre_ex(expected, font, "-Press Enter to return to main menu-", 320, 380, 0, -1);
      textout_ex(expected, font, score, 100, 200, 0, -1);
      textout_ex(expected, font, old, 100, 300, 0, -1);
      same = true;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) same = same && getpixel(expected, x, y) == pixel(x, y);
      key[KEY_ENTER] = 1;
    };
    highscore(wins, type);
    key[KEY_ENTER] = 0;
    return same;
  }
};

TEST_F(highscoreScreenTest, eachTypeKeepsItsBestRun) {
  EXPECT_TRUE(visitShowing(3, Summer, "Highscore for Mirvane of Summer:", "Your score: 3 wins", "Old highscore: 0 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{0, 3, 0, 0}));
  // A weaker run shows the best so far and leaves it stored.
  EXPECT_TRUE(visitShowing(1, Summer, "Highscore for Mirvane of Summer:", "Your score: 1 wins", "Old highscore: 3 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{0, 3, 0, 0}));
  EXPECT_TRUE(visitShowing(2, Spring, "Highscore for Mirvane of Spring:", "Your score: 2 wins", "Old highscore: 0 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{2, 3, 0, 0}));
  EXPECT_TRUE(visitShowing(5, Summer, "Highscore for Mirvane of Summer:", "Your score: 5 wins", "Old highscore: 3 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{2, 5, 0, 0}));
  EXPECT_TRUE(visitShowing(0, Fall, "Highscore for Mirvane of Fall:", "Your score: 0 wins", "Old highscore: 0 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{2, 5, 0, 0}));
}

TEST_F(highscoreScreenTest, readsOldFilesWhateverTheirLength) {
  writeFile("highscore.mhs", {7, 0, 0, 0, 9, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 1, 0, 0, 5, 5});
  EXPECT_TRUE(visitShowing(4, Winter, "Highscore for Mirvane of Winter:", "Your score: 4 wins", "Old highscore: 257 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{7, 9, -2, 257}));  // cut to the record
  EXPECT_TRUE(visitShowing(1, Fall, "Highscore for Mirvane of Fall:", "Your score: 1 wins", "Old highscore: -2 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{7, 9, 1, 257}));

  writeFile("highscore.mhs", {6, 0, 0, 0});  // only Spring's value
  EXPECT_TRUE(visitShowing(2, Winter, "Highscore for Mirvane of Winter:", "Your score: 2 wins", "Old highscore: 0 wins"));
  EXPECT_EQ(fileValues(), (std::vector<std::int32_t>{6, 0, 0, 2}));
}

TEST_F(highscoreScreenTest, onlyANewPressOfEnterLeaves) {
  key[KEY_ENTER] = 1;  // still held from the battle
  int rests = 0;
  script = [&] {
    ++rests;
    if (rests == 3) key[KEY_ENTER] = 0;
    if (rests == 5) {
      for (int k : {KEY_ESC, KEY_SPACE, KEY_LEFT}) key[k] = 1;
    }
    if (rests == 8) key[KEY_ENTER] = 1;
  };
  highscore(1, Spring);
  EXPECT_EQ(rests, 8);
  // The closing press stays reported while Enter is held, so the main menu will not take it.
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
}

TEST(i2strTest, plainDecimal) {
  EXPECT_EQ(i2str(0), "0");
  EXPECT_EQ(i2str(7), "7");
  EXPECT_EQ(i2str(1234567), "1234567");
  EXPECT_EQ(i2str(-45), "-45");
  EXPECT_EQ(i2str(INT_MIN), "-2147483648");
}
