#include "frame/error.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

namespace {
// The text goes in as an argument, never as the format: a name with a percent sign stays text.
// Without a system driver the library would print it to standard output with no final newline.
void message(const std::string &text) {
  if (system_driver) {
    allegro_message("%s", text.c_str());
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}
}  // namespace

namespace error {

void fatal(std::string text) {
  // Without a system driver (the library found no display) leaving the mode would crash.
  if (system_driver) set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
  message(text);
  // A failure must not look like success to whoever started the game.
  exit(1);
}

void timer() { fatal("Error001: Timer could not be initialised"); }
void keyboard() { fatal("Error002: No keyboarddriver found"); }
void soundDriver() { fatal("Error003: Sound driver could not be initialised"); }
void graphicMode() { fatal("Error004: Graphic mode couldn't be set"); }
void create() { fatal("Error005: Creating bitmap failed"); }
void loadBit(std::string name) { fatal("Error006: Loading bitmap \"" + name + "\" failed"); }
void datafile(std::string name) { fatal("Error007: Loading datafile \"" + name + "\" failed"); }
void sampleLoad(std::string name) { fatal("Error008: Loading sample \"" + name + "\" failed"); }

void divBy0(std::string module) {
  message("Error009: A division by 0 error was prevented in the following modul:\n" + module);
}

}  // namespace error
