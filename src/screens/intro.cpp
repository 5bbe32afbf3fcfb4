#include "screens/intro.h"

#include <allegro.h>

#include <string>

#include "battle/battle.h"
#include "frame/display.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "frame/timedloop.h"

bool showNames(unit *units, int matchNumber) {
  const std::string battle = "Battle " + std::to_string(matchNumber);
  const std::string title = units[0].getName() + " (human) vs " + units[1].getName() + " (AI)";
  int countdown = 256;
  int frameSkip = 0;
  bool quit = false;
  runTimedScreen(
      frameSkip, false, [&] { return countdown == 0; },
      [&] {
        if (display::closeRequested() && playerQuits(true)) quit = true;
        if (keyStates.anyKey() || quit) countdown = 1;
        --countdown;
      },
      [&] {
        BITMAP *bmp = global::dbuffer;
        clear_to_color(bmp, makecol(253, 250, 0));
        const int x = static_cast<int>(countdown * 2.5f);
        textout_centre_ex(bmp, font, battle.c_str(), x, bmp->h / 2 - 10, 0, -1);
        textout_centre_ex(bmp, font, title.c_str(), x, bmp->h / 2, 0, -1);
        show();
      });
  return !quit;
}
