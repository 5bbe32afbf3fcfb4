#pragma once

#include <string>

// What the command line asks for. It is read before the library starts, so nothing here needs it.
struct options {
  enum display { autodetect, window, fullscreen };
  display mode = autodetect;  // autodetect tries full screen first, then a window
  int scale = 1;              // with a window: 1 to 4, or autoScale
  bool help = false;
  bool version = false;
  std::string error;  // what is wrong with the command line; empty when nothing is
};

// A scale that the start-up works out from the desktop's size (see fittingScale).
constexpr int autoScale = 0;

// Reads argv[1] to argv[argc - 1]. Help and version end the reading where they stand, like the
// first thing that is wrong.
options parseOptions(int argc, const char *const *argv);

// The largest whole scale, 1 to 4, whose window leaves room for the desktop's panels and the
// window's frame on a desktop of this size; 1 where none does.
int fittingScale(int desktopWidth, int desktopHeight);

// Where the 640x480 picture stands on the screen: `scale` times as large by whole pixels, its
// top-left corner at (x, y).
struct placement {
  int scale = 1;
  int x = 0;
  int y = 0;
};

// Full screen on a desktop of this size: the largest whole scale that fits, centred on it; a scale
// of 0 where not even the picture's own size fits.
placement fullScreenPlacement(int desktopWidth, int desktopHeight);

// Where a point of the screen falls on the picture, one coordinate at a time: left of or above
// the picture is negative.
int onPicture(int screenCoordinate, int offset, int scale);

// The help text: usage, options, and what happens without any.
extern const char *const usage;
