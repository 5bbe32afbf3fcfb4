#include <climits>
#include <thread>

#include "allegro_fixture.h"
#include "frame/changedframe.h"
#include "frame/error.h"

using frameTest = allegroTest;

TEST_F(frameTest, aKeyReportsOncePerPressThatATestSees) {
  key[KEY_ENTER] = 1;
  EXPECT_EQ((std::pair{keyStates[KEY_ENTER], keyStates[KEY_ENTER]}), std::pair(1, 0));
  key[KEY_ENTER] = 0;  // released and pressed again with no test between: not seen
  key[KEY_ENTER] = 1;
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 0;
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 1;
  EXPECT_EQ((std::tuple{keyStates[KEY_ENTER], keyStates[-1], keyStates[KEY_MAX], keyStates[INT_MIN]}),
            std::tuple(1, 0, 0, 0));
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

// The real rest: a tick that came while a pass ran sends the loop round at once; with none it sleeps until the next.
TEST_F(frameTest, theRestWaitsForTheNextTickButNeverThroughOne) {
  show();  // with no screen there is nothing to copy to
  timerCounterUpdater();
  savedIdle();
  std::atomic<bool> ticked{false};
  std::thread clock(
      [&] { std::this_thread::sleep_for(std::chrono::milliseconds(50)), ticked = true, timerCounterUpdater(); });
  savedIdle();
  EXPECT_EQ(std::pair(bool(ticked), int(timerCounter)), std::pair(true, 2));
  clock.join();
}
