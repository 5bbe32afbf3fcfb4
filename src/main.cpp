#include <allegro.h>

#include <cstdio>

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
    highscore(game(chosen), chosen);
  }
  destroy_bitmap(global::dbuffer);
  return 0;
}
END_OF_MAIN()
