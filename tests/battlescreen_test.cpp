#include <optional>
#include <sstream>

#include "allegro_fixture.h"
#include "battle/battle.h"

// The battle frame from a hand-set state, on a grey (0x4208) background with buttons filled with 1 to 4, and a
// fifth, filled with 5, just past the four the battle may draw.
class battleScreenTest : public allegroTest {
 protected:
  unit units[2];
  std::optional<battleState> battle;
  ownedBitmap background, pictures[5];
  BITMAP *buttons[5];

  void SetUp() override {
    allegroTest::SetUp();
    clear_to_color((background = ownedBitmap(create_bitmap(640, 480))).get(), 0x4208);
    for (int k = 0; k < 5; ++k)
      clear_to_color((pictures[k] = ownedBitmap(buttons[k] = create_bitmap(50, 50))).get(), k + 1);
  }

  // A battle of the two types in the phase, with the slot timer at t and each side's first slot as given.
  battleState &meet(CT player, CT opponent, int phase, int t, std::array<int, 4> s = {-1, 0, -1, 0}) {
    units[0].setValues(names[player], player), units[1].setValues(names[opponent], opponent);
    battleState &b = battle.emplace(units);
    b.phase = phase, b.slotTimer = t;
    for (int p = 0; p < 2; ++p) b.fighters[p].spellKind[0] = s[2 * p], b.fighters[p].spellMana[0] = s[2 * p + 1];
    return b;
  }

  // Draws the frame and checks the spots, each an x, a y and a colour: grey (.), green (G), red (R), blue (B),
  // Fall's brown (F), white (W), the mana bar's blue (M), yellow (Y), black (K) or a button (1 to 4).
  void expectSpots(const std::string &spots) {
    drawBattle(*battle, background.get(), buttons);
    const int colours[] = {0x4208, 0x07E0, 0xF800, 0x001F, 0x6A81, 0xFFFF, 0x0019, 0xFFC0, 0, 1, 2, 3, 4};
    std::istringstream in(spots);
    int x, y;
    for (char c; in >> x >> y >> c;)
      EXPECT_EQ(pixel(x, y), colours[std::string(".GRBFWMYK1234").find(c)])
          << "t " << battle->slotTimer << " at " << x << ',' << y;
  }
};

TEST_F(battleScreenTest, whileChoosingTheFrameShowsBarsQueueButtonsCursorAndTexts) {
  for (int phase : {chooseSpell, chooseMana, victoryPause}) {
    // A Summer player with defense selected and 7 set, who queued a special of 12 and an attack of 7.
    battleState &b = meet(Summer, Winter, phase, 40, {kindSpecial, 12, -1, 0});
    std::tie(b.selectedKind, b.chosenMana, b.fighters[0].spellKind[1], b.fighters[0].spellMana[1]) =
        std::tuple(kindDefense, 7, kindAttack, 7);
    // Full bars of 130 pixels; no fireball; the queue at x = 20 and 80, each mana on black in its corner; the buttons.
    expectSpots(
        "20 155 G 150 169 G 151 155 . 490 169 G 489 155 . 620 155 G 255 155 M 385 169 M 386 155 . 260 118 . 20 200 4 "
        "53 249 4 54 249 K 69 200 4 19 200 . 80 200 1 121 249 1 122 249 K 129 200 1 130 200 . 140 200 . 570 200 1 "
        "619 249 1 570 260 2 570 320 3 570 380 4 619 429 4 569 200 . 570 430 . 570 440 . 611 285 2 620 225 .");
    // The cursor of radius 8 on the defense button's right edge, the amount, and the spell's name and description.
    const bool choosing = phase != victoryPause;
    expectSpots(choosing ? "620 285 R 612 285 R 620 293 R 620 277 R" : "620 285 . 612 285 2 620 293 . 620 277 .");
    EXPECT_EQ(textAt("7", 350, 230, 0xFFFF, true), phase == chooseMana);
    EXPECT_EQ(textAt("Magma wall", 25, 385, 0) &&
                  textAt("A wall made of magma will pop up and reduce the damage of enemy", 25, 405, 0),
              choosing);
    EXPECT_EQ(textAt("attacks", 25, 417, 0) &&
                  textAt("Reduces the damage of enemy attacks by 1 for each mana point spent", 25, 429, 0),
              choosing);
    EXPECT_TRUE(textAt("12", 54, 242, 0xFFFF) && textAt("7", 122, 242, 0xFFFF) &&
                textAt("100 life", 85, 158, 0xFFFF, true));
    EXPECT_TRUE(textAt("20 mana", 320, 158, 0xFFFF, true) && textAt("100 life", 555, 158, 0xFFFF, true) &&
                textAt("Summer versus Winter", 320, 25, 0, true));
    EXPECT_TRUE(textAt(" Beginning next match, Summer versus Winter", 20, 262, 0));
  }
  // Yellow shows where a smaller background leaves the buffer bare.
  clear_to_color((background = ownedBitmap(create_bitmap(320, 240))).get(), 0x4208);
  expectSpots("319 239 . 320 239 Y 639 479 Y");
  clear_bitmap(global::dbuffer);  // as wide as the buffer but shorter: still yellow below it
  clear_to_color((background = ownedBitmap(create_bitmap(640, 240))).get(), 0x4208);
  expectSpots("320 239 . 320 240 Y");
}

TEST_F(battleScreenTest, spellsAnimateByKindWhileTheirSlotPlays) {
  const struct {
    CT player, opponent;
    int t;
    std::array<int, 4> slots;  // each side's kind (0 attack, 1 defense, 2 heal, 3 special) and mana
    const char *spots;
  } scenes[] = {
      // Balls of radius mana / 2 at y = 118, 15 * t / 2 pixels from the target's side; radius 0 is a pixel.
      {Spring, Winter, 40, {0, 9, 0, 1}, "260 118 G 264 118 G 265 118 . 380 118 B 381 118 ."},
      // Walls as wide as their mana from t = 19 down; crosses in front of the caster while t > 32, also Fall's special.
      {Spring, Winter, 20, {1, 20, 1, 3}, "90 100 . 550 140 ."},
      {Spring, Winter, 19, {1, 20, 1, 3}, "90 100 G 110 140 G 111 120 . 547 100 B 550 140 B 546 120 ."},
      {Spring, Winter, 33, {2, 4, 2, 4}, "67 70 G 73 100 G 60 77 G 80 83 G 66 90 . 74 90 . 547 70 B 560 83 B"},
      {Spring, Winter, 32, {2, 4, 2, 4}, "70 80 . 550 80 ."},
      {Fall, Fall, 33, {-1, 0, 3, 15}, "547 70 F 540 77 F 553 100 F"},
      {Fall, Fall, 32, {-1, 0, 3, 15}, "550 80 ."},
      // Summer: a fireball of radius 20, 15 from t = 47, and from 47 to 33 a ball of 5 flying back.
      {Summer, Summer, 40, {3, 20, -1, 0}, "275 118 R 276 118 . 140 118 R 145 118 R 146 118 . 134 118 ."},
      {Summer, Summer, 48, {-1, 0, 3, 20}, "460 118 R 461 118 ."},
      {Summer, Summer, 47, {-1, 0, 3, 20}, "447 118 R 452 118 R 453 118 ."},
      {Summer, Summer, 33, {-1, 0, 3, 20}, "342 118 R 343 118 . 557 118 R 558 118 ."},
      {Summer, Summer, 32, {-1, 0, 3, 20}, "335 118 R 336 118 . 560 118 ."},
      // Winter's outline round the player's figure, in the player's colour whoever casts it.
      {Fall, Winter, 64, {-1, 0, 3, 20}, "39 96 F 103 158 F 39 158 F 38 96 . 71 127 ."},
      {Fall, Winter, 32, {-1, 0, 3, 20}, "71 126 F 71 128 F 70 127 . 72 127 ."},
      // Spring's dots, in the player's colour in front of the caster: counted below.
      {Winter, Spring, 50, {-1, 0, 3, 10}, ""}};
  for (const auto &s : scenes) meet(s.player, s.opponent, resolveSlots, s.t, s.slots), expectSpots(s.spots);
  // Over many frames the dots (radius 2 round x = 544 + rand() % 18, y = 108 + rand() % 36) fill their box to its
  // four edges and never leave it.
  int edges = 0;
  for (int frame = 0; frame < 100; ++frame, expectSpots("")) {
    EXPECT_EQ(count(520, 90, 585, 160, 0x001F), count(542, 106, 563, 145, 0x001F));
    edges |= (count(542, 106, 563, 106, 0x001F) > 0) | (count(542, 145, 563, 145, 0x001F) > 0) << 1 |
             (count(542, 106, 542, 145, 0x001F) > 0) << 2 | (count(563, 106, 563, 145, 0x001F) > 0) << 3;
  }
  EXPECT_EQ(edges, 15);
}
