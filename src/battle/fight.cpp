#include <allegro.h>

#include "battle/battle.h"
#include "frame/global.h"
#include "frame/timedloop.h"

int fight(unit *units, BITMAP *background, BITMAP **buttons) {
  battleState b(units);
  runTimedScreen(
      b.frameSkip, true, [&] { return !b.running; }, [&] { battleTick(b); },
      [&] {
        drawBattle(b, background, buttons);
        if (screen) vsync();  // with no graphics driver no retrace ever comes
        show();
      });
  return b.result;
}
