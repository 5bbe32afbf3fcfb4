// The game's own code under a memory checker (valgrind runs this as a test): one decode of every
// embedded picture, then headless battles played by the seeded random player with a frame drawn
// every few ticks.
// Checksums of the decoded pictures and of the last frame of each battle are printed, so that a
// pixel never written would be reported as a use of an uninitialised value.
//
// Usage: mirvanes_memcheck [battles]   (default 10)
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "battle/battle.h"
#include "frame/global.h"
#include "frame/tga.h"
#include "headless.h"
#include "pictures.h"
#include "random_player.h"

namespace {

// Under valgrind a frame costs milliseconds. 13 is prime to the 64 ticks of a slot's animation,
// so the drawn frames still meet every animation step.
constexpr long DRAW_EVERY = 13;

std::uint32_t checksum(const BITMAP *bmp) {
  std::uint32_t sum = 0;
  for (int y = 0; y < bmp->h; ++y) {
    const auto *row = reinterpret_cast<const std::uint16_t *>(bmp->line[y]);
    for (int x = 0; x < bmp->w; ++x) sum = sum * 31 + row[x];
  }
  return sum;
}

}  // namespace

int main(int argc, char **argv) {
  const int battles = argc > 1 ? std::atoi(argv[1]) : 10;
  startHeadless();
  global::dbuffer = create_bitmap(640, 480);

  for (const embeddedPicture &p : PICTURES) {
    BITMAP *bmp = HeaderTGA::tga_from_char_ex(p.data, p.length);
    if (bmp == nullptr || bmp->w != p.w || bmp->h != p.h) {
      std::fprintf(stderr, "%s does not decode to %dx%d\n", p.name, p.w, p.h);
      return 1;
    }
    std::printf("%s: checksum %08x\n", p.name, static_cast<unsigned>(checksum(bmp)));
    destroy_bitmap(bmp);
  }

  askQuit = randomPlayer::answerAtRandom;
  randomPlayer::seed(20240611, 97);
  battlePictures pictures;
  for (int n = 0; n < battles; ++n) {
    unit units[2];
    randomPlayer::chooseWizards(units);
    battleState b(units);
    long ticks = 0;
    while (b.running) {
      randomPlayer::pressKeys();
      battleTick(b);
      if (++ticks % DRAW_EVERY == 0 || !b.running) drawBattle(b, pictures.background, pictures.buttons);
    }
    std::printf("battle %d: %s, result %d after %ld ticks, last frame %08x\n", n, b.title.c_str(), b.result, ticks,
                static_cast<unsigned>(checksum(global::dbuffer)));
  }
  destroy_bitmap(global::dbuffer);
  return 0;
}
