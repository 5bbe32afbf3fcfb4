#include <climits>

#include "allegro_fixture.h"
#include "frame/changedframe.h"
#include "frame/error.h"

using frameTest = allegroTest;

TEST_F(frameTest, aKeyReportsOncePerPressThatATestSees) {
  // Enter pressed (1) or let go (0), and a test of it at each dot: a press is reported once, and only when a test
  // saw the key up before it.
  std::string seen;
  for (char c : std::string("1..01.0.1."))
    if (c == '.') seen += char('0' + keyStates[KEY_ENTER]);
    else key[KEY_ENTER] = char(c - '0');
  EXPECT_EQ(seen, "10001");
  EXPECT_EQ((std::tuple{keyStates[-1], keyStates[KEY_MAX], keyStates[INT_MIN]}), std::tuple(0, 0, 0));
  // anyKey marks every key that is down, and is true when any of them is a new press.
  key[KEY_A] = 1;
  key[KEY_B] = 1;
  EXPECT_EQ((std::tuple{keyStates.anyKey(), keyStates[KEY_B], keyStates.anyKey()}), std::tuple(true, 0, false));
  key[KEY_A] = 0;
  EXPECT_EQ((std::pair{keyStates.anyKey(), keyStates.state[KEY_A]}), std::pair(false, 0));
}

TEST_F(frameTest, fatalReportsShowTheirTextAloneAndEndWithFailure) {
  EXPECT_REPORT(error::timer(), "Error001: Timer could not be initialised");
  EXPECT_REPORT(error::loadBit("gfx/100%d.tga"),
                "Error006: Loading bitmap \"gfx/100%d\\.tga\" failed");  // text, not a format
  EXPECT_REPORT(error::fatal("100% sure"), "100% sure");
  EXPECT_EXIT((reportsToStderr(), error::divBy0("battle"), std::exit(3)), ::testing::ExitedWithCode(3),
              "^Error009: A division by 0 error was prevented in the following modul:\nbattle$");
}

TEST_F(frameTest, aFrameIsShownOnlyWhenItDiffersFromTheOneOnScreen) {
  changedFrame frame;
  EXPECT_EQ((std::pair{frame.show(), frame.show()}), std::pair(true, false));
  for (int corner : {0, 1}) {
    putpixel(global::dbuffer, 639 * corner, 479 * corner, 1);
    EXPECT_EQ((std::pair{frame.show(), frame.show()}), std::pair(true, false)) << corner;
  }
  // Another size or depth differs, even where the pixels that both have are the same.
  const ownedBitmap narrower(create_bitmap(639, 480)), shorter(create_bitmap(640, 479)),
      deeper(create_bitmap_ex(32, 640, 480));
  for (BITMAP *b : {global::dbuffer, narrower.get(), shorter.get(), deeper.get()}) clear_bitmap(b);
  EXPECT_FALSE(samePixels(narrower.get(), global::dbuffer) || samePixels(shorter.get(), global::dbuffer) ||
               samePixels(global::dbuffer, deeper.get()));
}

TEST(frameClock, ticksThirtyTwoTimesASecond) {
  static long speed;
  const auto saved = std::exchange(global::installInterrupt, [](void (*)(), long s) {
    speed = s;
    return 0;
  });
  startFrameClock();
  global::installInterrupt = saved;
  EXPECT_EQ(speed, 1193181 / 32);  // the library's timer counts 1193181 a second
}
