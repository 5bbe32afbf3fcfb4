// The battle's hot paths: a complete frame, a logic tick, an opponent decision, a slot resolution.
#include <benchmark/benchmark.h>

#include "battle/battle.h"
#include "combatants/ai.h"
#include "frame/changedframe.h"
#include "frame/global.h"
#include "frame/keystates.h"
#include "pictures.h"

namespace {

// A Summer player against a Spring opponent some turns into the match: the log full of real
// messages, lives down, two of the player's spells queued for the coming turn.
struct battleScene {
  unit units[2];
  battlePictures pictures;
  BITMAP *fakeScreen = create_bitmap(640, 480);
  battleState b{setUnits(units)};

  battleScene() {
    for (int turn = 0; turn < 4; ++turn) {
      for (int s = 0; s < 2; ++s) {
        b.fighters[s].spellKind[0] = kindAttack;
        b.fighters[s].spellMana[0] = s == 0 ? 10 : 8;
      }
      resolveSlot(b);
    }
    b.phase = chooseSpell;
    fightUnit &p = b.fighters[0];
    p.spellKind[0] = kindAttack;
    p.spellMana[0] = 6;
    p.spellKind[1] = kindHeal;
    p.spellMana[1] = 4;
    p.mana = 10;
    b.queuedCount = 2;
  }
  ~battleScene() { destroy_bitmap(fakeScreen); }

  static unit *setUnits(unit *u) {
    u[0].setValues(names[Summer], Summer);
    u[1].setValues(names[Spring], Spring);
    return u;
  }

  // What one frame of the battle costs the game: drawn whole, then copied to the screen.
  void frame() {
    drawBattle(b, pictures.background, pictures.buttons);
    blit(global::dbuffer, fakeScreen, 0, 0, 0, 0, 640, 480);
  }
};

void battleFrameChoosing(benchmark::State &state) {
  battleScene scene;
  scene.b.phase = chooseMana;  // everything of choosing a spell, and the amount on top
  scene.b.selectedKind = kindAttack;
  scene.b.chosenMana = 5;
  for (auto _ : state) {
    scene.frame();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(battleFrameChoosing)->Name("battleFrame/choosing")->Unit(benchmark::kMicrosecond);

// What most ticks of choosing cost: the frame drawn whole and found the same as the one on
// screen, so it is not shown again.
void battleFrameUnchanged(benchmark::State &state) {
  battleScene scene;
  changedFrame frame;
  drawBattle(scene.b, scene.pictures.background, scene.pictures.buttons);
  frame.show();
  for (auto _ : state) {
    drawBattle(scene.b, scene.pictures.background, scene.pictures.buttons);
    benchmark::DoNotOptimize(frame.show());
  }
}
BENCHMARK(battleFrameUnchanged)->Name("battleFrame/unchanged")->Unit(benchmark::kMicrosecond);

// Slot 0 at t = 40: the player's Summer fireball and its small ball flying back, the
// opponent's Spring dots.
void battleFrameAnimating(benchmark::State &state) {
  battleScene scene;
  battleState &b = scene.b;
  b.phase = resolveSlots;
  b.slot = 0;
  b.slotTimer = 40;
  b.fighters[0].spellKind[0] = kindSpecial;
  b.fighters[0].spellMana[0] = manaSpecial[Summer];
  b.fighters[1].spellKind[0] = kindSpecial;
  b.fighters[1].spellMana[0] = manaSpecial[Spring];
  for (auto _ : state) {
    scene.frame();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(battleFrameAnimating)->Name("battleFrame/animating")->Unit(benchmark::kMicrosecond);

// The tick most ticks are: a slot's animation counting down. Wound back before it resolves.
void battleTickCountdown(benchmark::State &state) {
  battleScene scene;
  battleState &b = scene.b;
  b.phase = resolveSlots;
  b.slotTimer = 64;
  for (auto _ : state) {
    if (b.slotTimer == 2) b.slotTimer = 64;
    battleTick(b);
  }
}
BENCHMARK(battleTickCountdown)->Name("battleTick/countdown");

// A tick of choosing a spell, with the cursor moving on every other tick.
void battleTickChoosing(benchmark::State &state) {
  battleScene scene;
  keyStates.resetAll();
  int n = 0;
  for (auto _ : state) {
    key[KEY_DOWN] = ++n & 1;
    battleTick(scene.b);
  }
  key[KEY_DOWN] = 0;
}
BENCHMARK(battleTickChoosing)->Name("battleTick/choosing");

// One decision per wizard type (the argument), over every life from 1 to 100 in turn.
void opponentDecision(benchmark::State &state) {
  const CT type = static_cast<CT>(state.range(0));
  state.SetLabel(names[type]);
  fightUnit opponent;
  int life = 0;
  for (auto _ : state) {
    opponent.life = life++ % 100 + 1;
    doAI(opponent, type);
    benchmark::DoNotOptimize(opponent);
  }
}
BENCHMARK(opponentDecision)->Name("doAI")->DenseRange(0, 3);

// Both sides attack in slot 0: two casting messages, two damage messages. The lives are put back
// each time, a few stores, so no battle ever ends.
void slotResolution(benchmark::State &state) {
  battleScene scene;
  battleState &b = scene.b;
  for (fightUnit &f : b.fighters) {
    f.spellKind[0] = kindAttack;
    f.spellMana[0] = 9;
  }
  for (auto _ : state) {
    b.fighters[0].life = b.fighters[1].life = 100;
    b.phase = resolveSlots;
    b.slot = 0;
    resolveSlot(b);
  }
}
BENCHMARK(slotResolution)->Name("resolveSlot");

}  // namespace
