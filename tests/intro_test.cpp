#include "screens/intro.h"

#include "screens_fixture.h"

// The intro between a Spring player and a Winter opponent before the third match.
class introTest : public screensTest {
 protected:
  unit units[2];
  BITMAP *expected = nullptr;

  void SetUp() override {
    screensTest::SetUp();
    units[0].setValues("Spring", Spring);
    units[1].setValues("Winter", Winter);
    expected = create_bitmap(640, 480);
  }

  void TearDown() override {
    destroy_bitmap(expected);
    screensTest::TearDown();
  }

  // Whether the back buffer shows both lines centred on x.
  bool showsTextAt(int x) {
    clear_to_color(expected, makecol(253, 250, 0));
    textout_centre_ex(expected, font, "Battle 3", x, 230, 0, -1);
    textout_centre_ex(expected, font, "Spring (human) vs Winter (AI)", x, 240, 0, -1);
    for (int y = 0; y < 480; ++y)
      for (int px = 0; px < 640; ++px)
        if (getpixel(expected, px, y) != pixel(px, y)) return false;
    return true;
  }
};

TEST_F(introTest, textSlidesTwoAndAHalfPixelsAStepAndAKeyEndsItAtTheLeftEdge) {
  int rests = 0;
  bool firstAt640 = false, thirdStepAt632 = false;
  script = [&] {
    ++rests;  // a rest follows every drawn frame, so rest n sees the frame after n - 1 steps
    if (rests == 1) firstAt640 = showsTextAt(640);
    if (rests == 4) {
      thirdStepAt632 = showsTextAt(632);  // 253 * 2.5 truncated
      key[KEY_SPACE] = 1;
    }
    timerCounter = 1;
  };
  showNames(units, 3);
  EXPECT_TRUE(firstAt640);
  EXPECT_TRUE(thirdStepAt632);
  EXPECT_EQ(rests, 4);
  EXPECT_TRUE(showsTextAt(0));
  EXPECT_EQ(timerCounter, 0);
}

TEST_F(introTest, ticksPendingOnEntryMoveTheTextSixStepsAtMost) {
  timerCounter = 320;
  bool at625 = false;
  script = [&] {
    at625 = showsTextAt(625);  // 250 * 2.5
    EXPECT_EQ(timerCounter, 0);
    key[KEY_ESC] = 1;
    timerCounter = 1;
  };
  showNames(units, 3);
  EXPECT_TRUE(at625);
}

TEST_F(introTest, aKeyAlreadyReportedDoesNotEndTheIntroButAnUnreportedOneDoes) {
  key[KEY_ENTER] = 1;
  keyStates.anyKey();  // the Enter that closed the chooser, still held
  int steps = 0;
  script = [&] {
    ++steps;
    timerCounter = 1;
  };
  key[KEY_LEFT] = 1;  // went down before the intro, never reported
  timerCounter = 1;
  showNames(units, 3);
  EXPECT_EQ(steps, 0);
  EXPECT_TRUE(showsTextAt(0));

  key[KEY_LEFT] = 0;
  keyStates.anyKey();
  script = [&] {
    ++steps;
    if (steps == 10) key[KEY_ENTER] = 0;
    if (steps == 12) key[KEY_ENTER] = 1;  // released and pressed again
    timerCounter = 1;
  };
  showNames(units, 3);
  EXPECT_EQ(steps, 12);
}

TEST_F(introTest, runsItsWholeEightSecondsWithoutAKey) {
  int steps = 0;
  bool centredAfterFourSeconds = false;
  script = [&] {
    if (steps == 128) centredAfterFourSeconds = showsTextAt(320);
    ++steps;
    timerCounter = 1;
  };
  showNames(units, 3);
  EXPECT_EQ(steps, 256);
  EXPECT_TRUE(centredAfterFourSeconds);
  EXPECT_TRUE(showsTextAt(0));
}
