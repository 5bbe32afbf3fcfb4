#include "battle/battle.h"
#include "screens_fixture.h"

// A whole call of fight on plain pictures, with the quit question answered by the test.
class fightTest : public screensTest {
 protected:
  unit units[2];
  BITMAP *background = nullptr;
  BITMAP *buttons[4] = {};
  int (*savedAskQuit)() = askQuit;

  void SetUp() override {
    screensTest::SetUp();
    units[0].setValues("Fall", Fall);
    units[1].setValues("Winter", Winter);
    background = create_bitmap(640, 480);
    clear_to_color(background, makecol(40, 40, 40));
  }

  void TearDown() override {
    askQuit = savedAskQuit;
    destroy_bitmap(background);
    screensTest::TearDown();
  }
};

TEST_F(fightTest, drawsAtOnceAndReturnsTheQuitAfterItsLastFrame) {
  static int questions;
  questions = 0;
  askQuit = [] { return ++questions == 1 ? 0 : 1; };  // "No" first, then "Yes"
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
    if (rests == 6) key[KEY_ESC] = 1;
    timerCounter = 1;
  };
  EXPECT_EQ(fight(units, background, buttons), -1);
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_EQ(pixel(620, 285), makecol(255, 0, 0));  // the last frame, cursor moved down once
  EXPECT_EQ(pixel(0, 0), makecol(40, 40, 40));
}
