#pragma once

namespace global {
// How a screen loop gives the processor back when a pass has nothing new to show: rest(1).
// Tests put their own function here to feed ticks and keys between passes.
extern void (*idle)();
}  // namespace global
