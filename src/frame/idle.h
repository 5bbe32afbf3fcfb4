#pragma once

namespace global {
// How a screen loop gives the processor back when a pass has nothing new to show: it sleeps until
// the next frame-clock tick or keyboard event, since nothing else can change what a pass does.
// Tests put their own function here to feed ticks and keys between passes.
extern void (*idle)();

// Called from the library's threads (the frame clock, the keyboard, the close button): ends the
// sleep of the default `idle`.
void wake();
}  // namespace global
