#pragma once

#include "frame/devices.h"
#include "frame/global.h"
#include "frame/idle.h"

// The untimed screens (main menu, highscore) poll their keys in every pass, but a frame that is
// already on screen is not drawn and shown again: that pass gives the processor back instead.
// `view` names what a pass would show (a page and its cursor); the first pass always shows.
struct untimedFrame {
  int shown = -1;  // the view on screen; -1 before the first frame

  template <class Draw>
  void present(int view, Draw draw) {
    devices::poll();
    if (view == shown) {
      global::idle();
      return;
    }
    draw();
    show();
    shown = view;
  }
};
