#include <cstdlib>

#include "allegro_fixture.h"
#include "battle/battle.h"

// The battle frame drawn from a hand-set state onto a plain background, with plain 50x50 buttons
// whose top-left pixel is marked, so every pixel tells which element put it there.
class battleScreenTest : public allegroTest {
 protected:
  unit units[2];
  BITMAP *background = nullptr;
  BITMAP *pictures[4] = {};
  BITMAP *buttons[4] = {};
  int backgroundColour = 0, white = 0, black = 0, green = 0, manaBlue = 0, red = 0, mark = 0;
  int buttonColours[4] = {};

  void SetUp() override {
    allegroTest::SetUp();
    backgroundColour = makecol(40, 40, 40);
    white = makecol(255, 255, 255);
    black = makecol(0, 0, 0);
    green = makecol(0, 255, 0);
    manaBlue = makecol(0, 0, 204);
    red = makecol(255, 0, 0);
    mark = makecol(255, 0, 255);
    background = create_bitmap(640, 480);
    clear_to_color(background, backgroundColour);
    const int colours[4] = {makecol(100, 0, 0), makecol(0, 100, 0), makecol(0, 0, 100), makecol(100, 100, 0)};
    for (int k = 0; k < 4; ++k) {
      buttonColours[k] = colours[k];
      pictures[k] = buttons[k] = create_bitmap(50, 50);
      clear_to_color(buttons[k], colours[k]);
      putpixel(buttons[k], 0, 0, mark);
    }
    units[0].setValues("Fall", Fall);
    units[1].setValues("Winter", Winter);
  }

  void TearDown() override {
    for (BITMAP *b : pictures) destroy_bitmap(b);
    destroy_bitmap(background);
    allegroTest::TearDown();
  }

  // A state in the resolution of slot 0 with nothing queued, so only what a test sets is drawn.
  void resolving(battleState &b, int t) {
    b.phase = resolveSlots;
    b.slot = 0;
    b.slotTimer = t;
  }

  void draw(const battleState &b) { drawBattle(b, background, buttons); }

  // Whether any pixel of the box has the colour.
  static bool anyIn(int x1, int y1, int x2, int y2, int colour) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x)
        if (pixel(x, y) == colour) return true;
    return false;
  }

  // Whether row y has the colour exactly from x1 to x2: inside all of it, and not at either end.
  static bool row(int y, int x1, int x2, int colour) {
    for (int x = x1; x <= x2; ++x)
      if (pixel(x, y) != colour) return false;
    return pixel(x1 - 1, y) != colour && pixel(x2 + 1, y) != colour;
  }

  // The same for column x from y1 to y2.
  static bool column(int x, int y1, int y2, int colour) {
    for (int y = y1; y <= y2; ++y)
      if (pixel(x, y) != colour) return false;
    return pixel(x, y1 - 1) != colour && pixel(x, y2 + 1) != colour;
  }
};

TEST_F(battleScreenTest, barsAreAsLongAsLifeAndMana) {
  battleState b(units);
  b.phase = victoryPause;  // nothing drawn over the base screen
  const int lives[3] = {0, 37, 100}, lifeEnds[3] = {0, 48, 130};
  const int manas[3] = {0, 13, 13}, manaEnds[3] = {0, 84, 84};
  for (int i = 0; i < 3; ++i) {
    b.fighters[0].life = b.fighters[1].life = lives[i];
    b.fighters[0].mana = manas[i];
    draw(b);
    // Rows 155 and 169 lie above and below the labels, so they show the bars alone.
    for (int y : {155, 169}) {
      EXPECT_TRUE(row(y, 20, 20 + lifeEnds[i], green)) << lives[i];
      EXPECT_TRUE(row(y, 620 - lifeEnds[i], 620, green)) << lives[i];
      EXPECT_TRUE(row(y, 255, 255 + manaEnds[i], manaBlue)) << manas[i];
    }
    EXPECT_TRUE(column(20, 155, 169, green));
    // The labels are white text centred on each bar.
    EXPECT_TRUE(anyIn(55, 158, 115, 165, white));
    EXPECT_TRUE(anyIn(290, 158, 350, 165, white));
    EXPECT_TRUE(anyIn(525, 158, 585, 165, white));
  }
}

TEST_F(battleScreenTest, queueShowsButtonsWithTheirManaAndTheColumnShowsAllFour) {
  battleState b(units);
  b.phase = victoryPause;
  b.fighters[0].spellKind[0] = kindAttack;
  b.fighters[0].spellMana[0] = 7;
  b.fighters[0].spellKind[1] = kindSpecial;
  b.fighters[0].spellMana[1] = 12;
  draw(b);
  EXPECT_EQ(pixel(20, 200), mark);
  EXPECT_EQ(pixel(69, 200), buttonColours[kindAttack]);
  EXPECT_EQ(pixel(80, 200), mark);
  EXPECT_EQ(pixel(129, 200), buttonColours[kindSpecial]);
  EXPECT_EQ(pixel(140, 200), backgroundColour);  // slot 2 is empty
  // The mana stands in the button's bottom-right corner, white on black, right edge at 70 + 60k.
  EXPECT_EQ(pixel(61, 245), buttonColours[kindAttack]);
  EXPECT_TRUE(anyIn(62, 242, 69, 249, black));
  EXPECT_TRUE(anyIn(62, 242, 69, 249, white));
  EXPECT_EQ(pixel(113, 245), buttonColours[kindSpecial]);
  EXPECT_TRUE(anyIn(114, 242, 121, 249, white));  // "12" takes two characters
  EXPECT_TRUE(anyIn(122, 242, 129, 249, white));
  EXPECT_FALSE(anyIn(140, 200, 200, 250, white));
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(pixel(570, 200 + 60 * k), mark) << k;
    EXPECT_EQ(pixel(619, 249 + 60 * k), buttonColours[k]) << k;
  }

  // A missing picture leaves a hole in the queue and in the column; the mana is still shown.
  buttons[kindSpecial] = nullptr;
  draw(b);
  EXPECT_EQ(pixel(80, 200), backgroundColour);
  EXPECT_EQ(pixel(570, 380), backgroundColour);
  EXPECT_EQ(pixel(619, 429), backgroundColour);
  EXPECT_TRUE(anyIn(114, 242, 129, 249, white));
  EXPECT_EQ(pixel(20, 200), mark);
}

TEST_F(battleScreenTest, cursorAndDescriptionFollowTheSelectedKind) {
  battleState b(units);
  BITMAP *expected = create_bitmap(640, 480);
  for (int phase : {chooseSpell, chooseMana}) {
    for (int kind = 0; kind < 4; ++kind) {
      b.phase = phase;
      b.selectedKind = kind;
      b.chosenMana = 7;
      draw(b);
      for (int k = 0; k < 4; ++k) {
        if (k == kind) {
          EXPECT_TRUE(row(225 + 60 * k, 612, 628, red));  // the left half lies on the button
          EXPECT_TRUE(column(620, 217 + 60 * k, 233 + 60 * k, red));
        } else {
          EXPECT_EQ(pixel(620, 225 + 60 * k), backgroundColour) << kind;
        }
      }
      // The Fall player's spells are rows 8 to 11 of the descriptions.
      clear_to_color(expected, backgroundColour);
      textout_ex(expected, font, attackNames[Fall][kind].c_str(), 25, 385, 0, -1);
      for (int i = 0; i < 3; ++i) textout_ex(expected, font, description[8 + kind][i].c_str(), 25, 405 + 12 * i, 0, -1);
      for (int y = 380; y < 450; ++y)
        for (int x = 20; x < 560; ++x) ASSERT_EQ(pixel(x, y), getpixel(expected, x, y)) << x << "," << y;
      // The amount being set is shown only while setting it.
      EXPECT_EQ(anyIn(346, 230, 353, 237, white), phase == chooseMana);
    }
  }
  destroy_bitmap(expected);
  b.phase = resolveSlots;
  b.slotTimer = 40;
  draw(b);
  EXPECT_EQ(pixel(620, 225), backgroundColour);
  EXPECT_FALSE(anyIn(25, 385, 300, 440, black));
}

TEST_F(battleScreenTest, attacksDefensesAndHealsOfBothSides) {
  units[0].setValues("Summer", Summer);
  const int summerRed = makecol(255, 0, 0), winterBlue = makecol(0, 0, 255);
  battleState b(units);
  resolving(b, 40);
  b.fighters[0].spellKind[0] = kindAttack;
  b.fighters[0].spellMana[0] = 9;  // radius 4
  b.fighters[1].spellKind[0] = kindAttack;
  b.fighters[1].spellMana[0] = 1;  // radius 0: one pixel
  draw(b);
  EXPECT_TRUE(row(118, 256, 264, summerRed));  // around 560 - 15 * 40 / 2
  EXPECT_TRUE(column(260, 114, 122, summerRed));
  EXPECT_TRUE(row(118, 380, 380, winterBlue));  // 80 + 15 * 40 / 2
  EXPECT_TRUE(column(380, 118, 118, winterBlue));
  b.slotTimer = 1;  // 15 * 1 / 2 is 7
  draw(b);
  EXPECT_TRUE(row(118, 549, 557, summerRed));
  EXPECT_TRUE(row(118, 87, 87, winterBlue));

  b.fighters[0].spellKind[0] = kindDefense;
  b.fighters[0].spellMana[0] = 20;
  b.fighters[1].spellKind[0] = kindDefense;
  b.fighters[1].spellMana[0] = 3;
  b.slotTimer = 20;
  draw(b);
  EXPECT_FALSE(anyIn(80, 95, 560, 145, summerRed));
  EXPECT_FALSE(anyIn(80, 95, 560, 145, winterBlue));
  b.slotTimer = 19;
  draw(b);
  EXPECT_TRUE(row(120, 90, 110, summerRed));
  EXPECT_TRUE(column(90, 100, 140, summerRed));
  EXPECT_TRUE(row(120, 547, 550, winterBlue));
  EXPECT_TRUE(column(550, 100, 140, winterBlue));

  b.fighters[0].spellKind[0] = kindHeal;
  b.fighters[1].spellKind[0] = kindHeal;
  b.slotTimer = 33;
  draw(b);
  for (int p = 0; p < 2; ++p) {
    const int colour = p == 0 ? summerRed : winterBlue;
    EXPECT_TRUE(column(70 + 480 * p, 70, 100, colour));
    EXPECT_TRUE(row(70, 67 + 480 * p, 73 + 480 * p, colour));
    EXPECT_TRUE(row(80, 60 + 480 * p, 80 + 480 * p, colour));
    EXPECT_TRUE(column(60 + 480 * p, 77, 83, colour));
  }
  b.slotTimer = 32;
  draw(b);
  EXPECT_FALSE(anyIn(20, 60, 620, 150, summerRed));
  EXPECT_FALSE(anyIn(20, 60, 620, 150, winterBlue));

  // A kind the screen does not know, as only the opponent can have, draws nothing.
  b.fighters[0].spellKind[0] = kindEmpty;
  b.fighters[1].spellKind[0] = 7;
  b.slotTimer = 40;
  draw(b);
  EXPECT_FALSE(anyIn(20, 60, 620, 150, winterBlue));
}

TEST_F(battleScreenTest, summerSpecialThrowsAFireballAndASmallBallBack) {
  units[0].setValues("Summer", Summer);
  units[1].setValues("Summer", Summer);
  const int summerRed = makecol(255, 0, 0);
  battleState b(units);
  resolving(b, 40);
  b.fighters[0].spellKind[0] = kindSpecial;
  draw(b);
  EXPECT_TRUE(row(118, 245, 275, summerRed));  // radius 15 once t <= 47
  EXPECT_TRUE(row(118, 135, 145, summerRed));  // the ball back, radius 5: 200 - 15 * 8 / 2

  b.fighters[0].spellKind[0] = kindEmpty;
  b.fighters[1].spellKind[0] = kindSpecial;
  draw(b);
  EXPECT_TRUE(row(118, 365, 395, summerRed));
  EXPECT_TRUE(row(118, 495, 505, summerRed));  // 440 + 15 * 8 / 2
  b.slotTimer = 48;  // radius 20, and no ball back yet
  draw(b);
  EXPECT_TRUE(row(118, 420, 460, summerRed));
  EXPECT_FALSE(anyIn(470, 100, 620, 140, summerRed));
  b.slotTimer = 33;  // the ball back's last frame: 440 + 15 * 15 / 2
  draw(b);
  EXPECT_TRUE(row(118, 547, 557, summerRed));
  b.slotTimer = 32;  // the ball back is gone again
  draw(b);
  EXPECT_TRUE(row(118, 305, 335, summerRed));
  EXPECT_FALSE(anyIn(340, 100, 620, 140, summerRed));
}

TEST_F(battleScreenTest, fallHealsWinterFramesAndSpringScattersDotsInThePlayersColour) {
  units[0].setValues("Fall", Fall);
  units[1].setValues("Fall", Fall);
  const int fallBrown = makecol(107, 82, 14);
  battleState b(units);
  resolving(b, 33);
  b.fighters[1].spellKind[0] = kindSpecial;
  draw(b);
  EXPECT_TRUE(column(550, 70, 100, fallBrown));
  EXPECT_TRUE(row(80, 540, 560, fallBrown));
  b.slotTimer = 32;
  draw(b);
  EXPECT_FALSE(anyIn(500, 60, 600, 110, fallBrown));

  // Winter, cast by the opponent, is drawn around the player's figure in the player's colour.
  units[1].setValues("Winter", Winter);
  b.slotTimer = 64;
  draw(b);
  EXPECT_TRUE(row(96, 39, 103, fallBrown));
  EXPECT_TRUE(row(158, 39, 103, fallBrown));
  EXPECT_TRUE(column(39, 96, 158, fallBrown));
  EXPECT_TRUE(column(103, 96, 158, fallBrown));
  EXPECT_EQ(pixel(71, 127), backgroundColour);  // an outline only
  b.slotTimer = 32;
  draw(b);
  EXPECT_TRUE(column(71, 126, 128, fallBrown));
  EXPECT_TRUE(row(127, 71, 71, fallBrown));

  // Spring's five dots come from rand(), x before y, in the player's colour.
  units[1].setValues("Spring", Spring);
  b.slotTimer = 50;
  srand(77);
  draw(b);
  const int afterDraw = rand();
  srand(77);
  for (int i = 0; i < 5; ++i) {
    const int x = 544 + rand() % 18;
    const int y = 108 + rand() % 36;
    EXPECT_EQ(pixel(x, y), fallBrown) << i;
    EXPECT_EQ(pixel(x + 2, y), fallBrown) << i;
  }
  EXPECT_EQ(rand(), afterDraw);  // ten draws, no more
  EXPECT_FALSE(anyIn(0, 60, 400, 160, fallBrown));
}
