#include <dlfcn.h>

#include <climits>

#include "allegro_fixture.h"
#include "frame/changedframe.h"
#include "frame/error.h"
#include "frame/sound.h"

using frameTest = allegroTest;

// Codes outside the key table report no press.
TEST_F(frameTest, aKeyOutsideTheTableIsNeverPressed) {
  for (int code : {-1, int(KEY_MAX), INT_MIN}) EXPECT_EQ(keyStates[code], 0) << code;
}

TEST_F(frameTest, fatalReportsShowTheirTextAloneAndEndWithFailure) {
  EXPECT_REPORT(error::loadBit("gfx/100%d.tga"),
                "Error006: Loading bitmap \"gfx/100%d\\.tga\" failed");  // text, not a format
  // The division report alone returns: its caller goes on, here to end with a status of its own.
  const auto reportAndGoOn = [] {
    error::divBy0("battle");
    std::exit(3);
  };
  EXPECT_EXIT(toStderrThen(reportAndGoOn), ::testing::ExitedWithCode(3),
              "^Error009: A division by 0 error was prevented in the following modul:\nbattle$");
}

TEST_F(frameTest, aFrameIsShownOnlyWhenItDiffersFromTheOneOnScreen) {
  changedFrame frame;
  EXPECT_TRUE(frame.show());
  for (int corner : {0, 1}) {  // the first pixel changed, then the last
    EXPECT_FALSE(frame.show()) << corner;
    putpixel(global::dbuffer, 639 * corner, 479 * corner, 1);
    EXPECT_TRUE(frame.show()) << corner;
  }
  const ownedBitmap taller(create_bitmap(640, 481));
  clear_bitmap(taller.get());
  clear_bitmap(global::dbuffer);
  EXPECT_FALSE(samePixels(global::dbuffer, taller.get())) << "the same pixels, but one more row";
}

TEST(frameClock, ticksThirtyTwoTimesASecond) {
  static long speed;
  static void (*tick)();
  const auto saved = std::exchange(global::installInterrupt, [](void (*callback)(), long s) {
    tick = callback;
    speed = s;
    return 0;
  });
  startFrameClock();
  global::installInterrupt = saved;
  EXPECT_EQ(speed, 1193181 / 32);  // the library's timer counts 1193181 a second
  timerCounter = 0;
  const unsigned ticks = global::ticks;
  tick();
  EXPECT_EQ(timerCounter, 1) << "a tick to step";
  EXPECT_EQ(global::ticks, ticks + 1);
}

// The sound library's complaints (nine lines where there is no sound card) never reach the player's terminal.
TEST(quietStart, theSoundLibraryWritesNothingToStandardError) {
  quietSoundLibrary();
  void *alsa = dlopen("libasound.so.2", RTLD_NOW);
  ASSERT_NE(alsa, nullptr);
  using openFunction = int (*)(void **, const char *, int, int);
  const auto openDevice = reinterpret_cast<openFunction>(dlsym(alsa, "snd_pcm_open"));
  void *device = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_LT(openDevice(&device, "mirvanes-no-such-device", 0, 0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  dlclose(alsa);
}
