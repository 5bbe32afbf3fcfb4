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
};

TEST_F(battleScreenTest, barsAreAsLongAsLifeAndMana) {
  battleState b(units);
  b.phase = victoryPause;  // nothing drawn over the base screen
  const int lives[3] = {0, 37, 100};
  const int lifeEnds[3] = {0, 48, 130};
  for (int i = 0; i < 3; ++i) {
    b.fighters[0].life = b.fighters[1].life = lives[i];
    b.fighters[0].mana = i == 0 ? 0 : 13;
    draw(b);
    const int manaEnd = i == 0 ? 0 : 84;
    // Rows 155 and 169 lie above and below the labels, so they show the bars alone.
    for (int y : {155, 169}) {
      EXPECT_EQ(pixel(19, y), backgroundColour);
      EXPECT_EQ(pixel(20, y), green) << lives[i];
      EXPECT_EQ(pixel(20 + lifeEnds[i], y), green) << lives[i];
      EXPECT_EQ(pixel(21 + lifeEnds[i], y), backgroundColour) << lives[i];
      EXPECT_EQ(pixel(621, y), backgroundColour);
      EXPECT_EQ(pixel(620, y), green) << lives[i];
      EXPECT_EQ(pixel(620 - lifeEnds[i], y), green) << lives[i];
      EXPECT_EQ(pixel(619 - lifeEnds[i], y), backgroundColour) << lives[i];
      EXPECT_EQ(pixel(254, y), backgroundColour);
      EXPECT_EQ(pixel(255 + manaEnd, y), manaBlue) << manaEnd;
      EXPECT_EQ(pixel(256 + manaEnd, y), backgroundColour) << manaEnd;
    }
    EXPECT_EQ(pixel(20, 154), backgroundColour);
    EXPECT_EQ(pixel(20, 170), backgroundColour);
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
}

TEST_F(battleScreenTest, aMissingButtonLeavesAHoleButTheManaIsStillShown) {
  battleState b(units);
  b.phase = victoryPause;
  buttons[kindDefense] = nullptr;
  b.fighters[0].spellKind[0] = kindDefense;
  b.fighters[0].spellMana[0] = 5;
  draw(b);
  EXPECT_EQ(pixel(20, 200), backgroundColour);
  EXPECT_EQ(pixel(570, 260), backgroundColour);
  EXPECT_EQ(pixel(619, 309), backgroundColour);
  EXPECT_EQ(pixel(570, 200), mark);
  EXPECT_TRUE(anyIn(62, 242, 69, 249, white));
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
        const int y = 225 + 60 * k;
        EXPECT_EQ(pixel(620, y), k == kind ? red : backgroundColour) << kind;
        EXPECT_EQ(pixel(628, y), k == kind ? red : backgroundColour) << kind;
      }
      EXPECT_EQ(pixel(629, 225 + 60 * kind), backgroundColour);
      EXPECT_EQ(pixel(620, 233 + 60 * kind), red);
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
  EXPECT_EQ(pixel(260, 118), summerRed);  // 560 - 15 * 40 / 2
  EXPECT_EQ(pixel(264, 118), summerRed);
  EXPECT_EQ(pixel(265, 118), backgroundColour);
  EXPECT_EQ(pixel(260, 114), summerRed);
  EXPECT_EQ(pixel(260, 113), backgroundColour);
  EXPECT_EQ(pixel(380, 118), winterBlue);  // 80 + 15 * 40 / 2
  EXPECT_EQ(pixel(381, 118), backgroundColour);
  EXPECT_EQ(pixel(380, 117), backgroundColour);
  b.slotTimer = 1;  // 15 * 1 / 2 is 7
  draw(b);
  EXPECT_EQ(pixel(553, 118), summerRed);
  EXPECT_EQ(pixel(87, 118), winterBlue);

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
  EXPECT_EQ(pixel(90, 100), summerRed);
  EXPECT_EQ(pixel(110, 140), summerRed);
  EXPECT_EQ(pixel(111, 120), backgroundColour);
  EXPECT_EQ(pixel(89, 120), backgroundColour);
  EXPECT_EQ(pixel(90, 99), backgroundColour);
  EXPECT_EQ(pixel(550, 100), winterBlue);
  EXPECT_EQ(pixel(547, 140), winterBlue);
  EXPECT_EQ(pixel(546, 120), backgroundColour);
  EXPECT_EQ(pixel(551, 120), backgroundColour);

  b.fighters[0].spellKind[0] = kindHeal;
  b.fighters[1].spellKind[0] = kindHeal;
  for (int t : {33, 32}) {
    b.slotTimer = t;
    draw(b);
    const bool shown = t > 32;
    for (int p = 0; p < 2; ++p) {
      const int colour = shown ? (p == 0 ? summerRed : winterBlue) : backgroundColour;
      EXPECT_EQ(pixel(67 + 480 * p, 70), colour) << t;
      EXPECT_EQ(pixel(73 + 480 * p, 100), colour) << t;
      EXPECT_EQ(pixel(60 + 480 * p, 77), colour) << t;
      EXPECT_EQ(pixel(80 + 480 * p, 83), colour) << t;
      EXPECT_EQ(pixel(66 + 480 * p, 70), backgroundColour);
      EXPECT_EQ(pixel(60 + 480 * p, 84), backgroundColour);
    }
  }

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
  EXPECT_EQ(pixel(260 + 15, 118), summerRed);  // radius 15 once t <= 47
  EXPECT_EQ(pixel(260 + 16, 118), backgroundColour);
  EXPECT_EQ(pixel(140, 118), summerRed);  // the return ball: 200 - 15 * 8 / 2
  EXPECT_EQ(pixel(145, 118), summerRed);
  EXPECT_EQ(pixel(146, 118), backgroundColour);
  EXPECT_EQ(pixel(135, 118), summerRed);
  EXPECT_EQ(pixel(134, 118), backgroundColour);

  b.fighters[0].spellKind[0] = kindEmpty;
  b.fighters[1].spellKind[0] = kindSpecial;
  draw(b);
  EXPECT_EQ(pixel(380 - 15, 118), summerRed);
  EXPECT_EQ(pixel(500, 118), summerRed);  // 440 + 15 * 8 / 2
  EXPECT_EQ(pixel(506, 118), backgroundColour);
  EXPECT_EQ(pixel(140, 118), backgroundColour);

  b.slotTimer = 48;  // radius 20, and no ball back yet
  draw(b);
  EXPECT_EQ(pixel(440 - 20, 118), summerRed);
  EXPECT_EQ(pixel(440 - 21, 118), backgroundColour);
  EXPECT_FALSE(anyIn(470, 100, 620, 140, summerRed));
  b.slotTimer = 33;  // the ball back's last frame: 440 + 15 * 15 / 2
  draw(b);
  EXPECT_EQ(pixel(552, 118), summerRed);
  EXPECT_EQ(pixel(558, 118), backgroundColour);
  b.slotTimer = 32;  // the ball back is gone again
  draw(b);
  EXPECT_EQ(pixel(320 - 15, 118), summerRed);
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
  EXPECT_EQ(pixel(547, 70), fallBrown);
  EXPECT_EQ(pixel(540, 80), fallBrown);
  b.slotTimer = 32;
  draw(b);
  EXPECT_FALSE(anyIn(500, 60, 600, 110, fallBrown));

  // Winter, cast by the opponent, is drawn around the player's figure in the player's colour.
  units[1].setValues("Winter", Winter);
  b.slotTimer = 64;
  draw(b);
  EXPECT_EQ(pixel(39, 96), fallBrown);
  EXPECT_EQ(pixel(103, 158), fallBrown);
  EXPECT_EQ(pixel(71, 96), fallBrown);
  EXPECT_EQ(pixel(39, 127), fallBrown);
  EXPECT_EQ(pixel(71, 127), backgroundColour);  // an outline only
  EXPECT_EQ(pixel(38, 96), backgroundColour);
  EXPECT_EQ(pixel(39, 95), backgroundColour);
  b.slotTimer = 32;
  draw(b);
  EXPECT_EQ(pixel(71, 126), fallBrown);
  EXPECT_EQ(pixel(71, 128), fallBrown);
  EXPECT_EQ(pixel(70, 127), backgroundColour);
  EXPECT_EQ(pixel(72, 127), backgroundColour);
  EXPECT_EQ(pixel(71, 125), backgroundColour);
  EXPECT_EQ(pixel(71, 129), backgroundColour);

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
