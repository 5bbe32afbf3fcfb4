#include <array>
#include <cstdlib>
#include <functional>
#include <optional>

#include "allegro_fixture.h"
#include "battle/battle.h"

// The battle frame drawn from a hand-set state onto a plain background, with plain 50x50 buttons
// whose top-left pixel is marked, so every pixel tells which element put it there.
class battleScreenTest : public allegroTest {
 protected:
  unit units[2];
  std::optional<battleState> battle;
  ownedBitmap background, pictures[4];
  BITMAP *buttons[4] = {};
  int backgroundColour = 0, white = 0, green = 0, red = 0, blue = 0;

  void SetUp() override {
    allegroTest::SetUp();
    backgroundColour = makecol(40, 40, 40);
    white = makecol(255, 255, 255);
    green = makecol(0, 255, 0);
    red = makecol(255, 0, 0);
    blue = makecol(0, 0, 255);
    background.reset(create_bitmap(640, 480));
    clear_to_color(background.get(), backgroundColour);
    const int colours[4] = {makecol(100, 0, 0), makecol(0, 100, 0), makecol(0, 0, 100), makecol(100, 100, 0)};
    for (int k = 0; k < 4; ++k) {
      pictures[k].reset(buttons[k] = create_bitmap(50, 50));
      clear_to_color(buttons[k], colours[k]);
      putpixel(buttons[k], 0, 0, makecol(255, 0, 255));
    }
  }

  // A fresh battle of the two wizard types, in place of the last one, in the given phase with
  // nothing queued, so only what a test sets is drawn; t is the slot's timer.
  battleState &meet(CT player, CT opponent, int phase, int t = 0) {
    units[0].setValues(names[player], player);
    units[1].setValues(names[opponent], opponent);
    battleState &b = battle.emplace(units);
    b.phase = phase;
    b.slotTimer = t;
    return b;
  }

  void draw(const battleState &b) { drawBattle(b, background.get(), buttons); }

  // Whether b's frame is its base frame, as the closing pause shows it, with exactly what `add`
  // draws on top.
  bool showsBaseWith(battleState &b, const std::function<void(BITMAP *)> &add) {
    const int phase = b.phase;
    b.phase = victoryPause;
    draw(b);
    blit(global::dbuffer, expected, 0, 0, 0, 0, 640, 480);
    b.phase = phase;
    draw(b);
    add(expected);
    return showsExpected();
  }

  // Whether row y has the colour exactly from x1 to x2: inside all of it, and not at either end.
  static bool row(int y, int x1, int x2, int colour) {
    for (int x = x1; x <= x2; ++x)
      if (pixel(x, y) != colour) return false;
    return pixel(x1 - 1, y) != colour && pixel(x2 + 1, y) != colour;
  }
};

TEST_F(battleScreenTest, barsAreAsLongAsLifeAndMana) {
  battleState &b = meet(Fall, Winter, victoryPause);
  const int bars[][4] = {{0, 0, 0, 0}, {37, 48, 13, 84}, {100, 130, 13, 84}};  // life, length, mana, length
  for (const auto &[life, lifeEnd, mana, manaEnd] : bars) {
    b.fighters[0].life = b.fighters[1].life = life;
    b.fighters[0].mana = mana;
    draw(b);
    // Rows 155 and 169 lie above and below the labels, so they show the bars alone.
    for (int y : {154, 155, 169, 170}) {
      const bool bar = y != 154 && y != 170;
      EXPECT_EQ(row(y, 20, 20 + lifeEnd, green), bar) << life << " at " << y;
      EXPECT_EQ(row(y, 620 - lifeEnd, 620, green), bar) << life << " at " << y;
      EXPECT_EQ(row(y, 255, 255 + manaEnd, makecol(0, 0, 204)), bar) << mana << " at " << y;
    }
    // The labels, white text centred on each bar.
    clear_to_color(expected, 0);
    textprintf_centre_ex(expected, font, 85, 158, white, -1, "%i life", life);
    textprintf_centre_ex(expected, font, 320, 158, white, -1, "%i mana", mana);
    textprintf_centre_ex(expected, font, 555, 158, white, -1, "%i life", life);
    for (int y = 158; y < 166; ++y)
      for (int x = 0; x < 640; ++x) ASSERT_EQ(pixel(x, y) == white, getpixel(expected, x, y) == white) << x << ',' << y;
  }
}

// Yellow shows only where the background does not reach; a full picture leaves none of it.
TEST_F(battleScreenTest, yellowFillsOnlyWhatTheBackgroundLeavesBare) {
  battleState &b = meet(Fall, Winter, victoryPause);
  const int yellow = makecol(253, 250, 0);
  clear_to_color(global::dbuffer, yellow);
  draw(b);
  EXPECT_EQ(pixel(639, 479), backgroundColour);
  background.reset(create_bitmap(320, 240));
  clear_to_color(background.get(), backgroundColour);
  clear_to_color(global::dbuffer, 0);
  draw(b);
  EXPECT_EQ(pixel(319, 239), backgroundColour);
  EXPECT_EQ(pixel(320, 239), yellow);
  EXPECT_EQ(pixel(639, 479), yellow);
}

TEST_F(battleScreenTest, queueShowsButtonsWithTheirManaAndTheColumnShowsAllFour) {
  battleState &b = meet(Fall, Winter, victoryPause);
  const int queued[2][2] = {{kindAttack, 7}, {kindSpecial, 12}};
  for (int k = 0; k < 2; ++k) {
    b.fighters[0].spellKind[k] = queued[k][0];
    b.fighters[0].spellMana[k] = queued[k][1];
  }
  // The mana stands in the button's bottom-right corner, white on black; a missing picture leaves
  // a hole in the queue and in the column, but the mana is still shown.
  for (bool specialPicture : {true, false}) {
    if (!specialPicture) buttons[kindSpecial] = nullptr;
    draw(b);
    clear_to_color(expected, backgroundColour);
    for (int k = 0; k < 2; ++k) {
      if (BITMAP *button = buttons[queued[k][0]]) blit(button, expected, 0, 0, 20 + 60 * k, 200, 50, 50);
      textprintf_right_ex(expected, font, 70 + 60 * k, 242, white, 0, "%i", queued[k][1]);
    }
    for (int k = 0; k < 4; ++k) {
      if (buttons[k]) blit(buttons[k], expected, 0, 0, 570, 200 + 60 * k, 50, 50);
    }
    for (const auto &[x1, y1, x2, y2] : {std::array{0, 190, 210, 260}, std::array{565, 195, 639, 434}})
      for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
          ASSERT_EQ(pixel(x, y), getpixel(expected, x, y)) << x << ',' << y << ' ' << specialPicture;
  }
}

TEST_F(battleScreenTest, cursorAndDescriptionFollowTheSelectedKind) {
  battleState &b = meet(Fall, Winter, chooseSpell);
  b.chosenMana = 7;
  for (int phase : {chooseSpell, chooseMana}) {
    for (int kind = 0; kind < 4; ++kind) {
      b.phase = phase;
      b.selectedKind = kind;
      // The amount only while setting it; the Fall player's spells are rows 8 to 11 of the
      // descriptions.
      EXPECT_TRUE(showsBaseWith(b,
                                [&](BITMAP *e) {
                                  if (phase == chooseMana) textprintf_centre_ex(e, font, 350, 230, white, -1, "7");
                                  circlefill(e, 620, 225 + 60 * kind, 8, red);
                                  textout_ex(e, font, attackNames[Fall][kind].c_str(), 25, 385, 0, -1);
                                  for (int i = 0; i < 3; ++i)
                                    textout_ex(e, font, description[8 + kind][i].c_str(), 25, 405 + 12 * i, 0, -1);
                                }))
          << phase << '/' << kind;
    }
  }
}

TEST_F(battleScreenTest, attacksDefensesAndHealsOfBothSides) {
  // A Spring player's spells in its green, a Winter opponent's in blue.
  battleState &b = meet(Spring, Winter, resolveSlots, 40);
  fightUnit *f = b.fighters;
  f[0].spellKind[0] = f[1].spellKind[0] = kindAttack;
  f[0].spellMana[0] = 9;
  f[1].spellMana[0] = 1;
  // Balls of radius mana / 2 fly 15 * t / 2 pixels from the enemy; radius 0 is a single pixel.
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    circlefill(e, 260, 118, 4, green);  // 560 - 15 * 40 / 2
    putpixel(e, 380, 118, blue);        // 80 + 15 * 40 / 2
  }));
  // Walls as wide as their mana from t = 19 on.
  f[0].spellKind[0] = f[1].spellKind[0] = kindDefense;
  f[0].spellMana[0] = 20;
  f[1].spellMana[0] = 3;
  b.slotTimer = 20;
  EXPECT_TRUE(showsBaseWith(b, [](BITMAP *) {}));
  b.slotTimer = 19;
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    rectfill(e, 90, 100, 110, 140, green);
    rectfill(e, 547, 100, 550, 140, blue);
  }));
  // Crosses in front of the caster's figure while t > 32.
  f[0].spellKind[0] = f[1].spellKind[0] = kindHeal;
  b.slotTimer = 33;
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    for (int p = 0; p < 2; ++p) {
      rectfill(e, 67 + 480 * p, 70, 73 + 480 * p, 100, p == 0 ? green : blue);
      rectfill(e, 60 + 480 * p, 77, 80 + 480 * p, 83, p == 0 ? green : blue);
    }
  }));
  b.slotTimer = 32;
  EXPECT_TRUE(showsBaseWith(b, [](BITMAP *) {}));
}

TEST_F(battleScreenTest, summerSpecialThrowsAFireballAndASmallBallBack) {
  // The player's at t = 40: a fireball of radius 15 and the ball back, radius 5, at
  // 200 - 15 * 8 / 2.
  battleState &b = meet(Summer, Summer, resolveSlots, 40);
  b.fighters[0].spellKind[0] = kindSpecial;
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    circlefill(e, 260, 118, 15, red);
    circlefill(e, 140, 118, 5, red);
  }));
  // The opponent's: radius 20 until t = 48, the ball back from t = 47 to 33.
  b.fighters[0].spellKind[0] = kindEmpty;
  b.fighters[1].spellKind[0] = kindSpecial;
  // Per frame: t, the fireball's x and radius, the ball back's x (0: none).
  const int frames[][4] = {{48, 440, 20, 0}, {47, 432, 15, 447}, {33, 327, 15, 552}, {32, 320, 15, 0}};
  for (const auto &frame : frames) {
    b.slotTimer = frame[0];
    EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
      circlefill(e, frame[1], 118, frame[2], red);
      if (frame[3]) circlefill(e, frame[3], 118, 5, red);
    })) << frame[0];
  }
}

TEST_F(battleScreenTest, fallHealsWinterFramesAndSpringScattersDotsInThePlayersColour) {
  const int fallBrown = makecol(107, 82, 14);
  battleState &b = meet(Fall, Fall, resolveSlots, 33);
  b.fighters[1].spellKind[0] = kindSpecial;
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    rectfill(e, 547, 70, 553, 100, fallBrown);
    rectfill(e, 540, 77, 560, 83, fallBrown);
  }));
  b.slotTimer = 32;
  EXPECT_TRUE(showsBaseWith(b, [](BITMAP *) {}));

  // Winter, cast by the opponent, outlines the player's figure in the player's colour: largest at
  // t = 64, collapsed at t = 32.
  units[1].setValues("Winter", Winter);
  const int outlines[][5] = {{64, 39, 96, 103, 158}, {32, 71, 128, 71, 126}};  // t, then the corners
  for (const auto &outline : outlines) {
    b.slotTimer = outline[0];
    EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
      rect(e, outline[1], outline[2], outline[3], outline[4], fallBrown);
    })) << outline[0];
  }

  // Spring's five dots come from rand(), x before y, in the player's colour; ten draws, no more.
  units[1].setValues("Spring", Spring);
  b.slotTimer = 50;
  srand(77);
  EXPECT_TRUE(showsBaseWith(b, [&](BITMAP *e) {
    const int afterDraw = rand();
    srand(77);
    for (int i = 0; i < 5; ++i) {
      const int x = 544 + rand() % 18;
      const int y = 108 + rand() % 36;
      circlefill(e, x, y, 2, fallBrown);
    }
    EXPECT_EQ(rand(), afterDraw);
  }));
}
