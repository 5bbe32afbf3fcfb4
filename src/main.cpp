#include <allegro.h>

#include "frame/global.h"
#include "highscore/screen.h"
#include "screens/game.h"
#include "screens/menu.h"

int main(int, char **) {
  init();
  for (int type; (type = menu::mainMenu()) != -1;) {
    const CT chosen = static_cast<CT>(type);
    highscore(game(chosen), chosen);
  }
  destroy_bitmap(global::dbuffer);
  return 0;
}
END_OF_MAIN()
