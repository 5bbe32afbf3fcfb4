#include <allegro.h>

#include "battle/battle.h"
#include "frame/changedframe.h"
#include "frame/timedloop.h"

int fight(unit *units, BITMAP *background, BITMAP **buttons) {
  battleState b(units);
  changedFrame frame;  // while the player chooses, most ticks draw the frame already on screen
  runTimedScreen(
      b.frameSkip, true, [&] { return !b.running; }, [&] { battleTick(b); },
      [&] {
        drawBattle(b, background, buttons);
        frame.show();
      });
  return b.result;
}
