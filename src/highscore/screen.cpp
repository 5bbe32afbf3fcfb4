#include "highscore/screen.h"

#include <allegro.h>

#include <sstream>

#include "frame/display.h"
#include "frame/files.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "frame/untimed.h"
#include "highscore/hsfile.h"

namespace {
const char *const TYPE_LABELS[4] = {"Spring:", "Summer:", "Fall:", "Winter:"};
}  // namespace

std::string i2str(int number) {
  std::ostringstream text;
  text << number;
  return text.str();
}

int storeBest(int wins, CT type) {
  struct highscore stored = {};
  if (fileExists(hsFilename)) {
    load_hs(&stored);
  } else {
    write_hs(&stored);
  }
  // The file keeps every type's best run; a weaker run leaves it as it was.
  struct highscore best = stored;
  if (wins > best.score[type]) best.score[type] = wins;
  write_hs(&best);
  return stored.score[type];
}

void highscore(int wins, CT type) {
  const std::string title = std::string("Highscore for Mirvane of ") + TYPE_LABELS[type];
  const std::string hint = "-Press Enter to return to main menu-";
  const std::string scoreLine = "Your score: " + i2str(wins) + " wins";
  const std::string oldLine = "Old highscore: " + i2str(storeBest(wins, type)) + " wins";

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
