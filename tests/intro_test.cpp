#include "screens/intro.h"

#include "screens_fixture.h"

// The intro between a Spring player and a Winter opponent before the third match. The script
// runs at every rest, which follows every drawn frame, and gives one tick each time.
class introTest : public screensTest {
 protected:
  unit units[2];
  int steps = 0;

  void SetUp() override {
    screensTest::SetUp();
    units[0].setValues("Spring", Spring);
    units[1].setValues("Winter", Winter);
  }

  // Whether the back buffer shows both lines centred on x.
  bool showsTextAt(int x) {
    clear_to_color(expected, makecol(253, 250, 0));
    textout_centre_ex(expected, font, "Battle 3", x, 230, 0, -1);
    textout_centre_ex(expected, font, "Spring (human) vs Winter (AI)", x, 240, 0, -1);
    return showsExpected();
  }

  // Runs the intro; `atStep` sees the frame drawn after that many logic steps.
  void run(const std::function<void(int)> &atStep) {
    steps = 0;
    script = [&] {
      atStep(steps++);
      timerCounter = 1;
    };
    showNames(units, 3);
  }
};

TEST_F(introTest, textSlidesFromTheRightEdgeToTheLeftInEightSeconds) {
  bool at640 = false, at632 = false, at320 = false;
  run([&](int step) {
    if (step == 0) at640 = showsTextAt(640);
    if (step == 3) at632 = showsTextAt(632);  // 253 * 2.5 truncated
    if (step == 128) at320 = showsTextAt(320);
  });
  EXPECT_TRUE(at640 && at632 && at320);
  EXPECT_EQ(steps, 256);
  EXPECT_TRUE(showsTextAt(0));
}

TEST_F(introTest, aNewKeyEndsItAtTheLeftEdgeButOneAlreadyReportedDoesNot) {
  run([&](int step) {
    if (step == 3) key[KEY_SPACE] = 1;
  });
  EXPECT_EQ(steps, 4);
  EXPECT_TRUE(showsTextAt(0));
  EXPECT_EQ(timerCounter, 0);

  // The Enter that closed the chooser is still held; Left went down before the intro and was
  // never reported, so the first step ends it.
  key[KEY_SPACE] = 0;
  key[KEY_ENTER] = 1;
  keyStates.anyKey();
  key[KEY_LEFT] = 1;
  timerCounter = 1;
  run([&](int) {});
  EXPECT_EQ(steps, 0);
  EXPECT_TRUE(showsTextAt(0));

  key[KEY_LEFT] = 0;
  keyStates.anyKey();
  run([&](int step) {
    if (step == 9) key[KEY_ENTER] = 0;
    if (step == 11) key[KEY_ENTER] = 1;  // released and pressed again
  });
  EXPECT_EQ(steps, 12);
}
