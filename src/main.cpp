#include <allegro.h>

#include <cstdio>

#include "frame/display.h"
#include "frame/global.h"
#include "frame/options.h"
#include "highscore/screen.h"
#include "highscore/store.h"
#include "screens/game.h"
#include "screens/menu.h"

int main(int argc, char **argv) {
  const options opts = parseOptions(argc, argv);
  if (!opts.error.empty()) {
    std::fprintf(stderr, "mirvanes: %s\n%s", opts.error.c_str(), usage);
    return 2;
  }
  if (opts.help || opts.version) {
    std::fputs(opts.help ? usage : "mirvanes " MIRVANES_VERSION "\n", stdout);
    return 0;
  }
  init(opts);
  checkHighscoreFile();
  for (int type; (type = menu::mainMenu()) != -1;) {
    const CT chosen = static_cast<CT>(type);
    const int wins = game(chosen);
    // A run ended by the window's close button keeps its result, and the game ends at once.
    if (display::leaving) {
      storeBest(wins, chosen);
      break;
    }
    highscore(wins, chosen);
    if (display::leaving) break;
  }
  destroy_bitmap(global::dbuffer);
  return 0;
}
END_OF_MAIN()
