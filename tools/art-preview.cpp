// Art check: draws the three screens as the game will, the pictures with the program's own
// frames, bars, buttons and 8x8 text on top, so tools/render-art can show whether they read well.
//
// Usage: art-preview ASSETDIR OUTDIR  (writes OUTDIR/preview-menu-main.bmp, -chooser, -fight)
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/tga.h"

namespace {

BITMAP *load(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  BITMAP *bmp = HeaderTGA::tga_from_char_ex(data.data(), data.size());
  if (bmp == nullptr) std::fprintf(stderr, "art-preview: cannot decode %s\n", path.c_str());
  return bmp;
}

void save(BITMAP *bmp, const std::string &path) {
  if (save_bitmap(path.c_str(), bmp, nullptr) != 0)
    std::fprintf(stderr, "art-preview: cannot write %s\n", path.c_str());
}

void bar(BITMAP *bmp, int from, int to, int colour, int labelX, const char *label) {
  rectfill(bmp, from, 155, to, 169, colour);
  textout_centre_ex(bmp, font, label, labelX, 158, makecol(255, 255, 255), -1);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ASSETDIR OUTDIR\n", argv[0]);
    return 2;
  }
  const std::string in = argv[1], out = argv[2];
  install_allegro(SYSTEM_NONE, &errno, atexit);
  set_color_depth(16);
  // The headless driver's own 16-bit layout differs from a real display's; use the display's.
  _rgb_r_shift_16 = 11;
  _rgb_g_shift_16 = 5;
  _rgb_b_shift_16 = 0;
  BITMAP *frame = create_bitmap(640, 480);
  const int red = makecol16(255, 0, 0), white = makecol(255, 255, 255);

  BITMAP *menu = load(in + "/menu-main.tga");
  BITMAP *chooser = load(in + "/menu-chooser.tga");
  BITMAP *fight = load(in + "/fight.tga");
  BITMAP *buttons[4] = {load(in + "/button-attack.tga"), load(in + "/button-defense.tga"),
                        load(in + "/button-heal.tga"), load(in + "/button-special.tga")};
  if (!menu || !chooser || !fight || !buttons[0] || !buttons[1] || !buttons[2] || !buttons[3]) return 1;

  blit(menu, frame, 0, 0, 0, 0, 640, 480);
  rect(frame, 100, 370, 300, 430, red);
  save(frame, out + "/preview-menu-main.bmp");

  blit(chooser, frame, 0, 0, 0, 0, 640, 480);
  rect(frame, 165, 190, 310, 220, red);
  save(frame, out + "/preview-menu-chooser.bmp");

  // A battle in the middle of choosing the amount of a spell, with a few spells in flight.
  clear_to_color(frame, makecol(253, 250, 0));
  blit(fight, frame, 0, 0, 0, 0, 640, 480);
  textout_centre_ex(frame, font, "Spring versus Winter", 320, 25, 0, -1);
  const struct {
    const char *text;
    int colour;
  } log[] = {
      {" Player 1 casts Typhoon with 6 mana", makecol(204, 0, 0)},
      {" Player 2 casts Magic shield with 4 mana", makecol(0, 0, 204)},
      {" Player 2 loses 2 health points", 0},
      {" Player 1 casts Heal with 8 mana", makecol(204, 0, 0)},
      {" Player 1 receives 4 health points", 0},
      {" Player 2 casts Icebolt with 9 mana", makecol(0, 0, 204)},
      {" Player 1 loses 9 health points", 0},
      {"", 0},
      {" Beginning next match, Spring versus Winter", 0},
  };
  for (int i = 0; i < 9; ++i) textout_ex(frame, font, log[i].text, 20, 262 + 10 * i, log[i].colour, -1);
  const int queued[2][2] = {{0, 5}, {1, 12}};
  for (int k = 0; k < 2; ++k) {
    blit(buttons[queued[k][0]], frame, 0, 0, 20 + 60 * k, 200, 50, 50);
    textprintf_right_ex(frame, font, 70 + 60 * k, 242, white, 0, "%i", queued[k][1]);
  }
  for (int k = 0; k < 4; ++k) blit(buttons[k], frame, 0, 0, 570, 200 + 60 * k, 50, 50);
  bar(frame, 20, 20 + 13 * 70 / 10, makecol(0, 255, 0), 85, "70 life");
  bar(frame, 255, 255 + 13 * 3 / 2, makecol(0, 0, 204), 320, "3 mana");
  bar(frame, 620 - 13 * 45 / 10, 620, makecol(0, 255, 0), 555, "45 life");
  textprintf_centre_ex(frame, font, 350, 230, white, -1, "%i", 7);
  circlefill(frame, 620, 225 + 60 * 1, 8, makecol(255, 0, 0));
  textout_ex(frame, font, "Wind wall", 25, 385, 0, -1);
  textout_ex(frame, font, "A strong wind will reduce the damage of enemy attacks", 25, 405, 0, -1);
  textout_ex(frame, font, "Reduces the damage of enemy attacks by 1 for each mana point spent", 25, 429, 0, -1);
  const int t = 40;
  circlefill(frame, 560 - 15 * t / 2, 118, 6, makecol(0, 255, 0));    // player's attack
  rect(frame, 103 - t, 160 - t, 39 + t, 94 + t, makecol(0, 255, 0));  // Winter special
  rectfill(frame, 550 - 10, 100, 550, 140, makecol(0, 0, 255));       // opponent's wall
  rectfill(frame, 67 + 480, 70, 73 + 480, 100, makecol(0, 0, 255));   // opponent's heal
  rectfill(frame, 60 + 480, 77, 80 + 480, 83, makecol(0, 0, 255));
  save(frame, out + "/preview-fight.bmp");

  for (BITMAP *b : buttons) destroy_bitmap(b);
  destroy_bitmap(fight);
  destroy_bitmap(chooser);
  destroy_bitmap(menu);
  destroy_bitmap(frame);
  return 0;
}
