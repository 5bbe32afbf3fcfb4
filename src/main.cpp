#include <allegro.h>

#include "frame/global.h"

int main(int, char **) {
  init();
  rest(1500);  // the screens come next; until then the loading text shows for a moment
  destroy_bitmap(global::dbuffer);
  return 0;
}
END_OF_MAIN()
