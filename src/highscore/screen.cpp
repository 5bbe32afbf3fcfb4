#include "highscore/screen.h"

#include <allegro.h>

#include <sstream>

#include "frame/display.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "frame/untimed.h"
#include "highscore/store.h"

namespace {
const char *const TYPE_LABELS[4] = {"Spring:", "Summer:", "Fall:", "Winter:"};
}  // namespace

std::string i2str(int number) {
  std::ostringstream text;
  text << number;
  return text.str();
}

void highscore(int wins, CT type) {
  const int oldBest = storeBest(wins, type);
  const std::string title = std::string("Highscore for Mirvane of ") + TYPE_LABELS[type];
  const std::string hint = "-Press Enter to return to main menu-";
  const std::string scoreLine = "Your score: " + i2str(wins) + " wins";
  const std::string oldLine = "Old highscore: " + i2str(oldBest) + " wins";

  keyStates.anyKey();  // an Enter still held from the battle must not close the screen
  untimedFrame frame;
  // Also a click or any button of the pad.
  while (!keyStates[KEY_ENTER] && !keyStates.anyOther()) {
    if (display::closeRequested()) {
      display::leaving = true;
      return;
    }
    frame.present(0, [&] {
      BITMAP *bmp = global::dbuffer;
      clear_to_color(bmp, makecol(253, 250, 0));
      textout_centre_ex(bmp, font, title.c_str(), 320, 100, 0, -1);
      textout_centre_ex(bmp, font, hint.c_str(), 320, 380, 0, -1);
      textout_ex(bmp, font, scoreLine.c_str(), 100, 200, 0, -1);
      textout_ex(bmp, font, oldLine.c_str(), 100, 300, 0, -1);
    });
  }
}
