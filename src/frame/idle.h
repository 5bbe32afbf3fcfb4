#pragma once

namespace global {
// How a screen loop gives the processor back when a pass has nothing new to show: it sleeps until
// the next frame-clock tick or keyboard event, since nothing else can change what a pass does.
// Tests put their own function here to feed ticks and keys between passes.
extern void (*idle)();

// The frame clock's and the keyboard's callbacks, from the library's threads: each ends the
// sleep of the default `idle`.
void wake();
void wakeOnKey(int scancode);
}  // namespace global
