#pragma once

#include <atomic>

namespace global {
// How a screen loop gives the processor back when a pass has nothing new to show: it sleeps until
// the next frame-clock tick or keyboard event, since nothing else can change what a pass does.
// Tests put their own function here to feed ticks and keys between passes.
extern void (*idle)();

// Counts ticks and keyboard events; the library's timer and keyboard threads raise it through
// `wake`, and the default `idle` sleeps until it changes.
extern std::atomic<unsigned> wakeups;
void wake();
void wakeOnKey(int scancode);
}  // namespace global
