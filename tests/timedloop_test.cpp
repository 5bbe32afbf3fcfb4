#include "frame/timedloop.h"

#include <vector>

#include "screens_fixture.h"

// Runs the loop with a step that only counts; every drawn frame records how many steps ran before it.
class timedLoopTest : public screensTest {
 protected:
  int frameSkip = 0;
  int steps = 0;
  bool done = false;
  int endAtStep = -1;
  std::vector<int> frames;

  void run(bool dropOnEnd) {
    runTimedScreen(
        frameSkip, dropOnEnd, [&] { return done || steps == endAtStep; }, [&] { ++steps; },
        [&] { frames.push_back(steps); });
  }
};

TEST_F(timedLoopTest, pendingTicksAreWorkedOffAsAtMostSixStepsThenDropped) {
  timerCounter = 320;  // ten seconds spent on an untimed screen
  script = [&] { done = true; };
  run(false);
  EXPECT_EQ(steps, 6);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_EQ(frameSkip, 0);
  EXPECT_EQ(frames, std::vector<int>{6});
}

TEST_F(timedLoopTest, frameSkipCountsStepsAcrossFrames) {
  timerCounter = 3;
  int idles = 0;
  script = [&] {
    ++idles;
    if (idles == 1) timerCounter += 2;  // five steps so far: nothing is dropped yet
    if (idles == 2) timerCounter += 4;  // the sixth step drops the three ticks behind it
    if (idles == 3) done = true;
  };
  run(false);
  EXPECT_EQ(frames, (std::vector<int>{3, 5, 6}));
  EXPECT_EQ(steps, 6);
  EXPECT_EQ(timerCounter, 0);
  EXPECT_EQ(frameSkip, 0);

  // Without a drop the count simply carries on into the next screen's loop.
  frames.clear();
  steps = 0;
  done = false;
  timerCounter = 2;
  script = [&] { done = true; };
  run(false);
  EXPECT_EQ(frames, std::vector<int>{2});
  EXPECT_EQ(frameSkip, 2);
}

TEST_F(timedLoopTest, anEndInsideTheStepsDrawsOneLastFrame) {
  timerCounter = 10;
  endAtStep = 3;
  run(false);
  EXPECT_EQ(frames, std::vector<int>{3});
  EXPECT_EQ(timerCounter, 7);  // the intro leaves what is pending
  EXPECT_EQ(frameSkip, 3);

  steps = 0;
  frameSkip = 0;
  frames.clear();
  timerCounter = 10;
  run(true);
  EXPECT_EQ(frames, std::vector<int>{3});
  EXPECT_EQ(timerCounter, 0);  // the battle clears it
  EXPECT_EQ(frameSkip, 0);

  // Ending at the sixth step drops the pending ticks either way.
  steps = 0;
  frameSkip = 0;
  frames.clear();
  timerCounter = 10;
  endAtStep = 6;
  run(false);
  EXPECT_EQ(frames, std::vector<int>{6});
  EXPECT_EQ(timerCounter, 0);
  EXPECT_EQ(frameSkip, 0);
}

TEST_F(timedLoopTest, firstFrameIsDrawnWithNoTickAndUnchangedFramesAreNotRedrawn) {
  int idles = 0;
  script = [&] {
    ++idles;
    if (idles == 4) timerCounter = 1;
    if (idles == 8) done = true;
  };
  run(false);
  EXPECT_EQ(frames, (std::vector<int>{0, 1}));
  EXPECT_EQ(idles, 8);

  // A screen that has already ended draws nothing at all.
  frames.clear();
  run(false);
  EXPECT_TRUE(frames.empty());
}

TEST_F(timedLoopTest, aStepThatClearsTheCounterWaitsForTwoFurtherTicks) {
  timerCounter = 5;
  int idles = 0;
  script = [&] {
    ++idles;
    ++timerCounter;  // the timer goes on ticking
    if (idles == 3) done = true;
  };
  runTimedScreen(
      frameSkip, true, [&] { return done; },
      [&] {
        ++steps;
        if (steps == 1) timerCounter = 0;  // as after the battle's quit dialog was declined
      },
      [&] { frames.push_back(steps); });
  EXPECT_EQ(frames, (std::vector<int>{1, 2}));
}
