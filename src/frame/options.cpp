#include "frame/options.h"

#include <algorithm>
#include <string_view>

namespace {
constexpr int WIDTH = 640, HEIGHT = 480;  // the picture the game draws
constexpr int MAX_SCALE = 4;
constexpr int PANEL_ROOM = 96;  // pixels a window leaves free across and down for panels and frame

// Each records what is wrong in `error`, where something is.
void setScale(options &o, std::string_view value) {
  if (value == "auto") {
    o.scale = autoScale;
  } else if (value.size() == 1 && value[0] >= '1' && value[0] < '1' + MAX_SCALE) {
    o.scale = value[0] - '0';
  } else {
    o.error = "invalid scale '" + std::string(value) + "': use 1 to 4 or auto";
  }
}

void setMode(options &o, options::display mode) {
  if (o.mode != options::autodetect && o.mode != mode) o.error = "--window and --fullscreen exclude each other";
  o.mode = mode;
}
}  // namespace

const char *const usage =
    "Usage: mirvanes [OPTION]...\n"
    "Duel computer wizards with the spells of the four seasons.\n"
    "\n"
    "  -w, --window       play in a window\n"
    "  -f, --fullscreen   play in full screen at the desktop's own size, the picture\n"
    "                     enlarged by the largest whole factor that fits, centred\n"
    "  -s, --scale=N      with --window: show the 640x480 picture N times as large,\n"
    "                     N = 1 to 4, or auto for the largest that fits the desktop\n"
    "  -h, --help         show this help and exit\n"
    "  -V, --version      show the version and exit\n"
    "\n"
    "Without --window or --fullscreen the game tries a 640x480 full screen first\n"
    "(the monitor may switch to that mode), then a 640x480 window.\n"
    "Alt+Enter or F11 switches between full screen and a window while playing.\n";

options parseOptions(int argc, const char *const *argv) {
  options o;
  bool scaled = false;
  for (int i = 1; i < argc && o.error.empty(); ++i) {
    const std::string_view arg = argv[i];
    const bool scale = arg == "-s" || arg == "--scale";
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      return o;
    } else if (arg == "-V" || arg == "--version") {
      o.version = true;
      return o;
    } else if (arg == "-w" || arg == "--window") {
      setMode(o, options::window);
    } else if (arg == "-f" || arg == "--fullscreen") {
      setMode(o, options::fullscreen);
    } else if (scale && i + 1 == argc) {
      o.error = "option '" + std::string(arg) + "' needs a value";
    } else if (scale || arg.starts_with("--scale=") || arg.starts_with("-s")) {
      setScale(o, scale ? argv[++i] : arg.starts_with("--") ? arg.substr(8) : arg.substr(2));
      scaled = true;
    } else {
      o.error = (arg.starts_with("-") ? "unknown option '" : "unexpected argument '") + std::string(arg) + "'";
    }
  }
  if (o.error.empty() && scaled && o.mode != options::window) o.error = "--scale works only with --window";
  return o;
}

int fittingScale(int desktopWidth, int desktopHeight) {
  int scale = MAX_SCALE;
  while (scale > 1 && (WIDTH * scale + PANEL_ROOM > desktopWidth || HEIGHT * scale + PANEL_ROOM > desktopHeight)) {
    --scale;
  }
  return scale;
}

int onPicture(int screenCoordinate, int offset, int scale) {
  const int distance = screenCoordinate - offset;
  return distance < 0 ? -1 : distance / scale;
}

placement fullScreenPlacement(int desktopWidth, int desktopHeight) {
  const int scale = std::max(0, std::min(desktopWidth / WIDTH, desktopHeight / HEIGHT));
  return {scale, (desktopWidth - WIDTH * scale) / 2, (desktopHeight - HEIGHT * scale) / 2};
}
