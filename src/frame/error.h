#pragma once

#include <string>

// Fatal error reports: each leaves the graphics mode, shows its text in the library's message
// box and ends the process with status 1. Only divBy0 returns.
namespace error {
[[noreturn]] void timer();
[[noreturn]] void keyboard();
[[noreturn]] void soundDriver();
[[noreturn]] void graphicMode();
[[noreturn]] void create();
[[noreturn]] void loadBit(std::string name);
[[noreturn]] void datafile(std::string name);
[[noreturn]] void sampleLoad(std::string name);
void divBy0(std::string module);
[[noreturn]] void fatal(std::string text);
}  // namespace error
