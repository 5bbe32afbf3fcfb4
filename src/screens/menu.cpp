#include "screens/menu.h"

#include <allegro.h>

#include "frame/display.h"
#include "frame/error.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "frame/tga.h"
#include "frame/untimed.h"
#include "images.h"

namespace {

// The frames around the entries: new game and end game, then the four wizards left to right. The
// main menu's entries are clicked inside their frames, the wizards anywhere on their cards.
const area MAIN_FRAMES[2] = {{100, 370, 300, 430}, {340, 370, 540, 430}};
const area CHOOSER_FRAMES[4] = {{20, 190, 155, 220}, {165, 190, 310, 220}, {330, 190, 465, 220}, {475, 190, 620, 220}};
const area CHOOSER_CARDS[4] = {{17, 66, 158, 453}, {162, 66, 313, 453}, {327, 66, 468, 453}, {472, 66, 623, 453}};

BITMAP *decode(const unsigned char *data, std::size_t length, const char *label) {
  BITMAP *picture = HeaderTGA::tga_from_char_ex(data, length);
  if (!picture) error::loadBit(label);
  return picture;
}

void drawPage(BITMAP *background, const area &frame) {
  blit(background, global::dbuffer, 0, 0, 0, 0, 640, 480);
  rect(global::dbuffer, frame.x1, frame.y1, frame.x2, frame.y2, makecol16(255, 0, 0));
}

}  // namespace

int menu::mainMenu() {
  keyStates.anyKey();  // a key still held from the previous screen must not act here
  BITMAP *mainPic = decode(imgMenuMainPic, sizeof imgMenuMainPic, "gfx/MenuMainPic.tga");
  BITMAP *chooserPic = decode(imgMenuCCPic, sizeof imgMenuCCPic, "gfx/MenuCChoserBack.tga");
  int page = 0;
  int cursor = 0;
  int chosen = -1;
  untimedFrame frame;
  // The window's close button ends the game as "End game" does.
  while (!display::closeRequested()) {
    if (page == 0) {
      bool leave = false;
      if (keyStates[KEY_LEFT]) cursor = 0;
      if (keyStates[KEY_RIGHT]) cursor = 1;
      const int pointed = keyStates.pointedArea(MAIN_FRAMES, 2);
      if (pointed >= 0) cursor = pointed;
      const int clicked = keyStates.clickedArea(MAIN_FRAMES, 2);
      if (clicked >= 0) cursor = clicked;
      if (keyStates[KEY_ENTER] || clicked >= 0) {
        if (cursor == 0) {
          page = 1;  // the chooser opens on Spring, and shows from the next pass on
        } else {
          leave = true;
        }
      }
      frame.present(cursor, [&] { drawPage(mainPic, MAIN_FRAMES[cursor]); });
      if (leave) break;
    } else {
      // The pad's B and the right mouse button go back as Esc does; this pass still runs as the chooser's.
      if (keyStates[KEY_ESC] || keyStates.took(keyStatesClass::back)) page = cursor = 0;
      if (keyStates[KEY_LEFT]) cursor = cursor == 0 ? 3 : cursor - 1;
      if (keyStates[KEY_RIGHT]) cursor = cursor == 3 ? 0 : cursor + 1;
      const int pointed = keyStates.pointedArea(CHOOSER_CARDS, 4);
      if (pointed >= 0) cursor = pointed;
      const int clicked = keyStates.clickedArea(CHOOSER_CARDS, 4);
      if (clicked >= 0) cursor = clicked;
      if (keyStates[KEY_ENTER] || clicked >= 0) {
        chosen = cursor;
        break;
      }
      frame.present(2 + cursor, [&] { drawPage(chooserPic, CHOOSER_FRAMES[cursor]); });
      // Esc with Left in one pass would leave the main menu a cursor it has no entry for.
      if (page == 0 && cursor > 1) cursor = 0;
    }
  }
  destroy_bitmap(mainPic);
  destroy_bitmap(chooserPic);
  return chosen;
}
