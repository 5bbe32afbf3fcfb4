#pragma once

#include "frame/options.h"

// The screen the back buffer is shown on, and what the desktop asks of it: the window's close
// button, and Alt+Enter or F11 to switch between full screen and a window.
namespace display {
extern placement placed;  // where show() puts the picture on the screen now

// From the library's threads: the keyboard callback's Alt+Enter or F11, and the close button.
void requestToggle();
void closeButton();
// The library's key buffer callback: what the dialogs read.
int filterKeyBuffer(int key);

// Carries out a pending switch between full screen and a window, shows the back buffer in the new
// mode and drops the ticks the switch took.
void serviceToggle();

// Whether the window's close button was pressed since the last call: each press is taken once.
bool closeRequested();
// The player has chosen to end the game by the close button: the screens end, without the
// highscore screen, once the run's result is kept.
extern bool leaving;
}  // namespace display
