#pragma once

#include "frame/devices.h"
#include "frame/global.h"
#include "frame/idle.h"

// The loop of the two timed screens (match intro and battle): logic steps while ticks are pending,
// dropping what is still pending at the sixth consecutive step, then one drawn frame.
// `ended` is the screen's end condition, `step` one logic step, `draw` draws and shows a frame.
// With `dropOnEnd` an end reached inside the steps also clears the pending ticks and frameSkip.
// A pass in which no step ran would draw the same frame again, so it gives the processor back
// instead; the first frame is always drawn.
template <class Ended, class Step, class Draw>
void runTimedScreen(int &frameSkip, bool dropOnEnd, Ended ended, Step step, Draw draw) {
  bool drawn = false;
  for (;;) {
    devices::poll();
    if (ended()) return;
    bool stepped = false;
    while (timerCounter > 0) {
      step();
      stepped = true;
      ++frameSkip;
      --timerCounter;
      const bool over = ended();
      if (frameSkip > global::MAX_FRAMESKIP || (over && dropOnEnd)) {
        timerCounter = 0;
        frameSkip = 0;
        break;
      }
      if (over) break;
    }
    if (stepped || !drawn) {
      draw();
      drawn = true;
    } else {
      global::idle();
    }
  }
}
