#include "frame/timedloop.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "frame/changedframe.h"
#include "screens_fixture.h"

using timedLoopTest = screensTest;

// Runs the loop with a step that only counts; every drawn frame records how many steps ran before it.
TEST_F(timedLoopTest, stepsWorkOffPendingTicksAndTheSixthInARowDropsTheRest) {
  struct scenario {
    const char *what;
    int pending;             // ticks pending when the screen starts
    std::vector<int> fed;    // ticks the timer adds before each rest; at the rest after the last, the screen ends
    int endAtStep;           // the screen's own end, after this many steps (-1: none)
    bool dropOnEnd;          // whether that end clears the pending ticks, as the battle's does
    int clearAtStep;         // the step that sets the counter to 0 itself, as a declined quit does (0: none)
    std::vector<int> drawn;  // the steps run before each drawn frame
    int pendingAfter, frameSkipAfter;
  };
  const scenario scenarios[] = {
      {"ten seconds spent on an untimed screen", 320, {}, -1, false, 0, {6}, 0, 0},
      {"five steps so far, then the sixth drops what is behind it", 3, {2, 4}, -1, false, 0, {3, 5, 6}, 0, 0},
      {"without a drop the count carries on into the next screen", 2, {}, -1, false, 0, {2}, 0, 2},
      {"an end inside the steps leaves what is pending", 10, {}, 3, false, 0, {3}, 7, 3},
      {"an end inside the steps that drops", 10, {}, 3, true, 0, {3}, 0, 0},
      {"an end at the sixth step drops either way", 10, {}, 6, false, 0, {6}, 0, 0},
      {"the first frame needs no tick; an unchanged one is not drawn again",
       0,
       {0, 0, 0, 1, 0, 0, 0},
       -1,
       false,
       0,
       {0, 1},
       0,
       1},
      {"a screen that has already ended draws nothing", 5, {}, 0, false, 0, {}, 5, 0},
      {"a step that clears the counter waits for two further ticks", 5, {1, 1}, -1, true, 1, {1, 2}, 0, 2},
  };
  for (const scenario &s : scenarios) {
    SCOPED_TRACE(s.what);
    timerCounter = s.pending;
    int frameSkip = 0, steps = 0;
    std::size_t rests = 0;
    std::vector<int> drawn;
    script = [&] {
      if (rests < s.fed.size()) timerCounter += s.fed[rests];
      ++rests;
    };
    runTimedScreen(
        frameSkip, s.dropOnEnd, [&] { return rests > s.fed.size() || steps == s.endAtStep; },
        [&] {
          if (++steps == s.clearAtStep) timerCounter = 0;
        },
        [&] { drawn.push_back(steps); });
    EXPECT_EQ(drawn, s.drawn);
    EXPECT_EQ(timerCounter, s.pendingAfter);
    EXPECT_EQ(frameSkip, s.frameSkipAfter);
    EXPECT_EQ(rests, s.fed.size() + (s.endAtStep < 0)) << "a rest wherever no new frame was drawn";
  }
}

// A frame is shown when any pixel differs from the last one shown, the far corner included, and a
// frame drawn back to an earlier picture counts as changed.
TEST_F(timedLoopTest, aFrameIsShownOnlyWhenItDiffersFromTheOneOnScreen) {
  changedFrame frame;
  EXPECT_TRUE(frame.show()) << "the first frame";
  EXPECT_FALSE(frame.show());
  putpixel(global::dbuffer, 639, 479, makecol(255, 255, 255));
  EXPECT_TRUE(frame.show());
  EXPECT_FALSE(frame.show());
  putpixel(global::dbuffer, 639, 479, 0);
  EXPECT_TRUE(frame.show());
  putpixel(global::dbuffer, 0, 0, 1);
  EXPECT_TRUE(frame.show());

  ownedBitmap narrower(create_bitmap(639, 480));
  clear_bitmap(narrower.get());
  clear_bitmap(global::dbuffer);
  EXPECT_FALSE(samePixels(narrower.get(), global::dbuffer));
}

// The default rest of a screen loop: an event that came while the last pass ran sends the loop
// round at once; with none it sleeps until the next tick or key wakes it.
TEST(idleTest, sleepsUntilTheNextEventButNeverThroughOne) {
  global::wake();
  global::idle();  // the event above came before this rest: no sleep
  std::atomic<bool> woken{false};
  std::thread clock([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    woken = true;
    global::wake();
  });
  global::idle();
  EXPECT_TRUE(woken) << "the rest returned before anything woke it";
  clock.join();
}
