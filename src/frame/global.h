#pragma once

#include <allegro.h>

#include <atomic>

#include "frame/options.h"

namespace global {
constexpr int FPS = 32;           // logic ticks per second of the frame clock
constexpr int MAX_FRAMESKIP = 5;  // at the sixth consecutive logic step pending ticks are dropped
extern BITMAP *dbuffer;           // back buffer every screen draws its whole frame into
extern std::atomic<unsigned> ticks;  // ticks of the frame clock since it started
// The library's timer interrupt the frame clock is started with; tests put their own here.
extern int (*installInterrupt)(void (*callback)(), long speed);
}  // namespace global

// Ticks of the frame clock not yet worked off. The timer callback runs in the library's timer
// thread, so every change must be one indivisible operation.
extern std::atomic<int> timerCounter;

// Starts the library and its devices and sets the mode the options ask for, or ends the program.
void init(const options &opts);
// Sets the graphics mode the options ask for, or ends the program: the part of init that the
// benchmarks also use. Full screen is at the desktop's own size where it can be, else 640x480.
void setMode(const options &opts);
// Copies the back buffer to the screen where display::placed says, enlarged by whole pixels.
void show();
void uninit();
// Starts the frame clock: timerCounterUpdater at global::FPS ticks a second.
void startFrameClock();
void timerCounterUpdater();
