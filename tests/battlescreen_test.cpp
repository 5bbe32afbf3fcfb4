#include <optional>
#include <vector>

#include "allegro_fixture.h"
#include "battle/battle.h"

namespace {

// The 16-bit colours of the frame; the test's background is grey and its buttons are filled with 1 to 4.
constexpr int GREY = 0x4208, GREEN = 0x07E0, RED = 0xF800, BLUE = 0x001F, BROWN = 0x6A81, WHITE = 0xFFFF;
constexpr int MANA_BLUE = 0x0019, BLACK = 0;
constexpr int ATTACK_BUTTON = 1;

struct spot {
  int x, y, colour;
};

struct slotSpells {  // each side's spell in the slot being played
  int kind = kindEmpty, mana = 0, enemyKind = kindEmpty, enemyMana = 0;
};

}  // namespace

// The battle frame from a hand-set state, on a grey background.
class battleScreenTest : public allegroTest {
 protected:
  unit units[2];
  std::optional<battleState> battle;
  ownedBitmap background, pictures[4];
  BITMAP *buttons[4];

  void SetUp() override {
    allegroTest::SetUp();
    background.reset(create_bitmap(640, 480));
    clear_to_color(background.get(), GREY);
    for (int k = 0; k < 4; ++k) {
      pictures[k].reset(buttons[k] = create_bitmap(50, 50));
      clear_to_color(buttons[k], k + 1);
    }
  }

  // A battle of the two types in the phase, with the slot timer at t and slot 0 as given.
  battleState &meet(CT player, CT opponent, int phase, int t, slotSpells slot = {}) {
    units[0].setValues(names[player], player);
    units[1].setValues(names[opponent], opponent);
    battleState &b = battle.emplace(units);
    b.phase = phase;
    b.slotTimer = t;
    b.fighters[0].spellKind[0] = slot.kind;
    b.fighters[0].spellMana[0] = slot.mana;
    b.fighters[1].spellKind[0] = slot.enemyKind;
    b.fighters[1].spellMana[0] = slot.enemyMana;
    return b;
  }

  void expectSpots(const std::vector<spot> &spots) {
    drawBattle(*battle, background.get(), buttons);
    for (const spot &s : spots)
      EXPECT_EQ(pixel(s.x, s.y), s.colour) << "t " << battle->slotTimer << " at " << s.x << ',' << s.y;
  }
};

// While choosing: the queue's second slot, the selected spell's name and description, and the texts on the background.
TEST_F(battleScreenTest, whileChoosingTheFrameShowsTheQueueTheSpellAndTheLabels) {
  // A Summer player with defense selected, who queued a special of 12 and an attack of 7.
  battleState &b = meet(Summer, Winter, chooseSpell, 40, {.kind = kindSpecial, .mana = 12});
  b.selectedKind = kindDefense;
  b.fighters[0].spellKind[1] = kindAttack;
  b.fighters[0].spellMana[1] = 7;
  // No fireball while the slot does not play; the queue's second button from x = 80; the attack's button on top of
  // the column at x = 570; the cursor, a red dot of radius 8 at (620, 285) beside the defense's button.
  expectSpots({{260, 118, GREY}, {79, 200, GREY}, {80, 200, ATTACK_BUTTON}, {570, 200, ATTACK_BUTTON}});
  expectSpots({{620, 285, RED}, {628, 285, RED}, {629, 285, GREY}, {620, 225, GREY}});
  EXPECT_TRUE(textAt("7", 130 - 8, 242, WHITE, false, BLACK));  // on black, right edge at x = 130
  EXPECT_TRUE(textAt("Magma wall", 25, 385, BLACK));
  EXPECT_TRUE(textAt("A wall made of magma will pop up and reduce the damage of enemy", 25, 405, BLACK));
  EXPECT_TRUE(textAt("Reduces the damage of enemy attacks by 1 for each mana point spent", 25, 429, BLACK));
  EXPECT_EQ(count(25, 441, 620, 448, BLACK), 0) << "three lines of description, no fourth";
  EXPECT_TRUE(textAt("100 life", 85, 158, WHITE, true));
  EXPECT_TRUE(textAt("20 mana", 320, 158, WHITE, true));
  EXPECT_TRUE(textAt("100 life", 555, 158, WHITE, true));
  EXPECT_TRUE(textAt("Summer versus Winter", 320, 25, BLACK, true));
  EXPECT_TRUE(textAt(" Beginning next match, Summer versus Winter", 20, 262, BLACK)) << "the log's first line";
}

// Bars from y = 155 to 169: life from x = 20 and leftwards from x = 620, mana from x = 255; each as long as
// life / 100 x 130 (mana / 20 x 130), truncated; at 0 one column is left.
TEST_F(battleScreenTest, barsShowLifeAndManaInProportion) {
  const struct {
    int life, enemyLife, mana;
    int lifeEnd, enemyLifeEnd, manaEnd;  // the x of each bar's last column
  } bars[] = {
      {.life = 100, .enemyLife = 100, .mana = 20, .lifeEnd = 150, .enemyLifeEnd = 490, .manaEnd = 385},
      {.life = 99, .enemyLife = 1, .mana = 1, .lifeEnd = 148, .enemyLifeEnd = 619, .manaEnd = 261},
      {.life = 0, .enemyLife = 0, .mana = 0, .lifeEnd = 20, .enemyLifeEnd = 620, .manaEnd = 255},
  };
  for (const auto &bar : bars) {
    battleState &b = meet(Fall, Spring, victoryPause, 0);
    b.fighters[0].life = bar.life;
    b.fighters[1].life = bar.enemyLife;
    b.fighters[0].mana = bar.mana;
    expectSpots({{20, 155, GREEN}, {bar.lifeEnd, 169, GREEN}, {bar.lifeEnd + 1, 155, GREY}});
    expectSpots({{620, 155, GREEN}, {bar.enemyLifeEnd, 169, GREEN}, {bar.enemyLifeEnd - 1, 155, GREY}});
    expectSpots({{255, 155, MANA_BLUE}, {bar.manaEnd, 169, MANA_BLUE}, {bar.manaEnd + 1, 155, GREY}});
  }
}

TEST_F(battleScreenTest, spellsAnimateByKindWhileTheirSlotPlays) {
  // clang-format off
  const struct {
    CT player, opponent;
    int t;
    slotSpells slot;
    std::vector<spot> spots;
  } scenes[] = {
      // Balls of radius mana / 2 at y = 118, 15 * t / 2 pixels from the target's side; radius 0 is a pixel.
      {Spring, Winter, 40, {kindAttack, 9, kindAttack, 1},
       {{256, 118, GREEN}, {264, 118, GREEN}, {265, 118, GREY}, {380, 118, BLUE}, {381, 118, GREY}}},
      // Walls from x = 90 and 550, as wide as their mana, y 100 to 140, from t = 19 down.
      {Spring, Winter, 20, {kindDefense, 20, kindDefense, 3}, {{90, 100, GREY}, {550, 140, GREY}}},
      {Spring, Winter, 19, {kindDefense, 20, kindDefense, 3},
       {{90, 100, GREEN}, {110, 140, GREEN}, {111, 120, GREY}, {547, 100, BLUE}, {550, 140, BLUE}, {546, 120, GREY}}},
      // Crosses in front of the caster while t > 32: x 67 to 73 by y 70 to 100, and x 60 to 80 by y 77 to 83.
      {Spring, Winter, 33, {kindHeal, 4, kindHeal, 4},
       {{67, 70, GREEN}, {73, 100, GREEN}, {60, 77, GREEN}, {80, 83, GREEN}, {66, 90, GREY}, {547, 70, BLUE}}},
      {Spring, Winter, 32, {kindHeal, 4, kindHeal, 4}, {{70, 80, GREY}, {550, 80, GREY}}},
      // Fall's special draws the heal cross.
      {Fall, Fall, 33, {kindEmpty, 0, kindSpecial, 15}, {{547, 70, BROWN}, {540, 77, BROWN}, {553, 100, BROWN}}},
      {Fall, Fall, 32, {kindEmpty, 0, kindSpecial, 15}, {{550, 80, GREY}}},
      // Summer: a fireball of radius 20, 15 from t = 47, and from 47 to 33 a ball of 5 flying back to the caster.
      {Summer, Summer, 40, {kindSpecial, 20},
       {{275, 118, RED}, {276, 118, GREY}, {135, 118, RED}, {145, 118, RED}, {146, 118, GREY}, {134, 118, GREY}}},
      {Summer, Summer, 48, {kindEmpty, 0, kindSpecial, 20}, {{460, 118, RED}, {461, 118, GREY}}},
      {Summer, Summer, 47, {kindEmpty, 0, kindSpecial, 20}, {{447, 118, RED}, {452, 118, RED}, {453, 118, GREY}}},
      {Summer, Summer, 33, {kindEmpty, 0, kindSpecial, 20},
       {{342, 118, RED}, {343, 118, GREY}, {557, 118, RED}, {558, 118, GREY}}},
      {Summer, Summer, 32, {kindEmpty, 0, kindSpecial, 20}, {{335, 118, RED}, {336, 118, GREY}, {560, 118, GREY}}},
      // Winter's outline round the player's figure, x 39 to 103 and y 96 to 158 at t = 64, a point at t = 32; in
      // the player's colour whoever casts it.
      {Fall, Winter, 64, {kindEmpty, 0, kindSpecial, 20},
       {{39, 96, BROWN}, {103, 158, BROWN}, {39, 158, BROWN}, {38, 96, GREY}, {71, 127, GREY}}},
      {Fall, Winter, 32, {kindEmpty, 0, kindSpecial, 20},
       {{71, 126, BROWN}, {71, 128, BROWN}, {70, 127, GREY}, {72, 127, GREY}}},
  };
  // clang-format on
  for (const auto &s : scenes) {
    meet(s.player, s.opponent, resolveSlots, s.t, s.slot);
    expectSpots(s.spots);
  }
  // Spring's dots, in the player's colour in front of the caster: over many frames, radius 2 round
  // x = 544 + rand() % 18 and y = 108 + rand() % 36, they stay in their box and reach each of its four edges.
  meet(Winter, Spring, resolveSlots, 50, {.enemyKind = kindSpecial, .enemyMana = 10});
  bool top = false, bottom = false, left = false, right = false;
  for (int frame = 0; frame < 100; ++frame) {
    expectSpots({});
    EXPECT_EQ(count(520, 90, 585, 160, BLUE), count(542, 106, 563, 145, BLUE)) << "a dot outside its box";
    top = top || count(542, 106, 563, 106, BLUE) > 0;
    bottom = bottom || count(542, 145, 563, 145, BLUE) > 0;
    left = left || count(542, 106, 542, 145, BLUE) > 0;
    right = right || count(563, 106, 563, 145, BLUE) > 0;
  }
  EXPECT_TRUE(top && bottom && left && right);
}
