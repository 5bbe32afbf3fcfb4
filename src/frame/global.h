#pragma once

#include <allegro.h>

#include <atomic>

namespace global {
constexpr int FPS = 32;           // logic ticks per second of the frame clock
constexpr int MAX_FRAMESKIP = 5;  // at the sixth consecutive logic step pending ticks are dropped
extern BITMAP *dbuffer;           // back buffer every screen draws its whole frame into
}  // namespace global

// Ticks of the frame clock not yet worked off. The timer callback runs in the library's timer
// thread, so every change must be one indivisible operation.
extern std::atomic<int> timerCounter;

void init();
void show();
void uninit();
void timerCounterUpdater();
