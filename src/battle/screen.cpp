#include <allegro.h>

#include "battle/battle.h"
#include "frame/global.h"

namespace {

// The heal cross in front of side p's figure, also the Fall special's.
void drawCross(BITMAP *bmp, int p, int colour) {
  rectfill(bmp, 67 + 480 * p, 70, 73 + 480 * p, 100, colour);
  rectfill(bmp, 60 + 480 * p, 77, 80 + 480 * p, 83, colour);
}

// Where a ball of side p flies at t ticks before the slot resolves.
int ballX(int p, int t) { return p == 0 ? 560 - 15 * t / 2 : 80 + 15 * t / 2; }

// The animation of side p's spell in the current slot, t ticks before it resolves.
void drawSpell(const battleState &b, int p, int t, BITMAP *bmp) {
  const int kind = b.fighters[p].spellKind[b.slot];
  const int mana = b.fighters[p].spellMana[b.slot];
  const CT type = b.units[p].getType();
  const int colour = b.typeColour[type];
  const int playerColour = b.typeColour[b.units[0].getType()];
  switch (kind) {
    case kindAttack:
      circlefill(bmp, ballX(p, t), 118, mana / 2, colour);
      break;
    case kindDefense:
      if (t <= 19) rectfill(bmp, p == 0 ? 90 : 550, 100, p == 0 ? 90 + mana : 550 - mana, 140, colour);
      break;
    case kindHeal:
      if (t > 32) drawCross(bmp, p, colour);
      break;
    case kindSpecial:
      switch (type) {
        case Spring:
          // Fresh positions every frame, from the game's one rand() sequence: x first, then y.
          for (int i = 0; i < 5; ++i) {
            const int x = 64 + 480 * p + rand() % 18;
            const int y = 108 + rand() % 36;
            circlefill(bmp, x, y, 2, playerColour);
          }
          break;
        case Summer:
          circlefill(bmp, ballX(p, t), 118, t > 47 ? 20 : 15, colour);
          if (t > 32 && t <= 47) {
            const int back = 15 * (48 - t) / 2;
            circlefill(bmp, p == 0 ? 200 - back : 440 + back, 118, 5, colour);
          }
          break;
        case Fall:
          if (t > 32) drawCross(bmp, p, colour);
          break;
        case Winter:
          rect(bmp, 103 - t, 160 - t, 39 + t, 94 + t, playerColour);
          break;
      }
      break;
  }
}

}  // namespace

void drawBattle(const battleState &b, BITMAP *background, BITMAP **buttons) {
  BITMAP *bmp = global::dbuffer;
  const int white = makecol(255, 255, 255);
  const fightUnit &player = b.fighters[0];
  // The yellow only shows where the background does not reach; a full picture covers it all.
  if (background->w < bmp->w || background->h < bmp->h) clear_to_color(bmp, makecol(253, 250, 0));
  blit(background, bmp, 0, 0, 0, 0, background->w, background->h);
  textout_centre_ex(bmp, font, b.title.c_str(), bmp->w / 2, 25, 0, -1);
  b.log.draw(262);

  for (int k = 0; k < 3; ++k) {
    if (player.spellKind[k] == kindEmpty) continue;
    if (BITMAP *button = buttons[player.spellKind[k]]) blit(button, bmp, 0, 0, 20 + 60 * k, 200, button->w, button->h);
    textprintf_right_ex(bmp, font, 70 + 60 * k, 242, white, 0, "%i", player.spellMana[k]);
  }
  for (int k = 0; k < 4; ++k) {
    if (buttons[k]) blit(buttons[k], bmp, 0, 0, 570, 200 + 60 * k, buttons[k]->w, buttons[k]->h);
  }

  const int green = makecol(0, 255, 0);
  rectfill(bmp, 20, 155, 20 + 13 * player.life / 10, 169, green);
  textprintf_centre_ex(bmp, font, 85, 158, white, -1, "%i life", player.life);
  rectfill(bmp, 255, 155, 255 + 13 * player.mana / 2, 169, makecol(0, 0, 204));
  textprintf_centre_ex(bmp, font, 320, 158, white, -1, "%i mana", player.mana);
  rectfill(bmp, 620, 155, 620 - 13 * b.fighters[1].life / 10, 169, green);
  textprintf_centre_ex(bmp, font, 555, 158, white, -1, "%i life", b.fighters[1].life);

  if (b.phase == chooseMana) textprintf_centre_ex(bmp, font, 350, 230, white, -1, "%i", b.chosenMana);
  if (b.phase == chooseSpell || b.phase == chooseMana) {
    const CT type = b.units[0].getType();
    circlefill(bmp, 620, 225 + 60 * b.selectedKind, 8, makecol(255, 0, 0));
    textout_ex(bmp, font, attackNames[type][b.selectedKind].c_str(), 25, 385, 0, -1);
    for (int i = 0; i < 3; ++i) {
      textout_ex(bmp, font, description[type * 4 + b.selectedKind][i].c_str(), 25, 405 + 12 * i, 0, -1);
    }
  } else if (b.phase == resolveSlots) {
    drawSpell(b, 0, b.slotTimer, bmp);
    drawSpell(b, 1, b.slotTimer, bmp);
  }
}
