#include "frame/timedloop.h"

#include <vector>

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
