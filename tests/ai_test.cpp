#include "combatants/ai.h"

#include <cstdlib>
#include <map>
#include <tuple>

#include "allegro_fixture.h"

using aiTest = allegroTest;

namespace {

const std::int32_t (*const TABLES[3])[4][3][2] = {AI_PAT_AGRESSIVE, AI_PAT_NEUTRAL, AI_PAT_DEFENSIVE};

// The opponent's three slots, kind and mana each, in slot order.
using plan = std::tuple<int, int, int, int, int, int>;

// The opponent's slots after applyKI on the given entry at the given life.
plan applied(int life, int stance, int row, int behaviour) {
  fightUnit f;
  f.life = life;
  applyKI(&f, stance, row, behaviour);
  return {f.spellKind[0], f.spellMana[0], f.spellKind[1], f.spellMana[1], f.spellKind[2], f.spellMana[2]};
}

constexpr int A = kindAttack, D = kindDefense, H = kindHeal, S = kindSpecial, E = kindEmpty;

}  // namespace

TEST_F(aiTest, entriesSpendTwentyManaExceptTheListedOnes) {
  // {stance, row, behaviour} -> total; the kind-10 slots count with their stored mana.
  const std::map<std::tuple<int, int, int>, int> others = {
      {{0, 0, Winter}, 25}, {{2, 3, Winter}, 25}, {{0, 9, Summer}, 22}, {{0, 12, Spring}, 19},
      {{2, 4, Spring}, 19}, {{2, 7, Summer}, 13}, {{2, 14, Spring}, 9}, {{2, 16, Spring}, -1},
  };
  for (int t = 0; t < 3; ++t) {
    for (int r = 0; r < 20; ++r) {
      for (int b = 0; b < 4; ++b) {
        int total = 0;
        for (const auto &[kind, mana] : TABLES[t][r][b]) {
          total += mana;
          // Specials carry their wizard's cost, empty slots nothing; kind 10 only where listed.
          EXPECT_TRUE(kind != S || mana == manaSpecial[b]) << t << '/' << r << '/' << b;
          EXPECT_TRUE(kind != E || mana == 0) << t << '/' << r << '/' << b;
          EXPECT_TRUE((kind >= E && kind <= S) || (kind == 10 && t == 2 && b == Spring && (r == 14 || r == 16)))
              << t << '/' << r << '/' << b;
        }
        const auto other = others.find({t, r, b});
        EXPECT_EQ(total, other == others.end() ? 20 : other->second) << t << '/' << r << '/' << b;
      }
    }
  }
}

TEST_F(aiTest, stanceFollowsLifeAtEveryBoundary) {
  // Per wizard, from life 0 up: the top life of its first and of its second range, then the stances
  // of the three ranges in that order. Beyond 0..100 there is none.
  const int ranges[4][5] = {{20, 49, 0, 2, 1}, {30, 59, 0, 2, 1}, {29, 79, 2, 1, 0}, {20, 44, 2, 1, 0}};
  for (int type = 0; type < 4; ++type) {
    const auto &[firstTop, secondTop, first, second, third] = ranges[type];
    for (int life = -1; life <= 101; ++life) {
      fightUnit f;
      f.life = life;
      int stance = 9, row = 0;
      determinePat(&f, determineBehav(static_cast<CT>(type)), stance, row);
      const int want = life < 0 || life > 100 ? -1 : life <= firstTop ? first : life <= secondTop ? second : third;
      EXPECT_EQ(stance, want) << type << " at " << life;
    }
  }
  EXPECT_EQ(determineBehav(static_cast<CT>(4)), -1);
  EXPECT_EQ(determineBehav(static_cast<CT>(-1)), -1);
}

TEST_F(aiTest, patternRowDrawsInOrderAndStaysInTheTables) {
  int mirrored = 0;
  for (int b = 0; b < 4; ++b) {
    for (unsigned seed = 1; seed <= 4000; ++seed) {
      srand(seed);
      const int first = rand(), second = rand(), third = rand();
      srand(seed);
      fightUnit f;
      int stance = 0, row = 0;
      determinePat(&f, b, stance, row);
      const int next = rand();
      // A row above 19 draws once more and moves down by 0 to 9; what is still above 19 is
      // mirrored back into the table.
      const int drawn = AI_BEHAVIOUR[b][6] + first % 19;
      const int reduced = drawn - second % 10;
      if (drawn <= 19) {
        ASSERT_EQ(row, drawn);
        ASSERT_EQ(next, second) << "one draw only";
      } else {
        ASSERT_EQ(next, third) << "the reduction draws a second time";
        ASSERT_EQ(row, reduced > 19 ? 39 - reduced : reduced);
        mirrored += reduced > 19;
      }
    }
  }
  EXPECT_GT(mirrored, 0);
}

TEST_F(aiTest, overhealTurnsHealsAndFallsSpecialIntoAttacks) {
  // Neutral row 15 Spring is H20 - -: 91 + 10 overshoots, 90 + 10 does not. Defensive row 8
  // Spring is D3 D3 H14: 93 + 7 = 100 stays a heal.
  EXPECT_EQ(applied(91, 1, 15, Spring), plan(A, 20, E, 0, E, 0));
  EXPECT_EQ(applied(90, 1, 15, Spring), plan(H, 20, E, 0, E, 0));
  EXPECT_EQ(applied(93, 2, 8, Spring), plan(D, 3, D, 3, H, 14));
  EXPECT_EQ(applied(94, 2, 8, Spring), plan(D, 3, D, 3, A, 14));
  // Fall's special heals 15, so from 86 on it is cast as an attack: aggressive row 4 Fall is
  // S15 A5 -, neutral row 9 Fall D3 A2 S15.
  EXPECT_EQ(applied(85, 0, 4, Fall), plan(S, 15, A, 5, E, 0));
  EXPECT_EQ(applied(86, 0, 4, Fall), plan(A, 15, A, 5, E, 0));
  EXPECT_EQ(applied(100, 1, 9, Fall), plan(D, 3, A, 2, A, 15));
  // Another wizard's special is never converted.
  EXPECT_EQ(applied(100, 0, 0, Summer), plan(S, 20, E, 0, E, 0));
}

TEST_F(aiTest, emergencyRuleAtFifteenLifeOrLess) {
  // Aggressive row 4 Spring, A7 A6 A7; at 16 it is cast unchanged.
  EXPECT_EQ(applied(15, 0, 4, Spring), plan(H, 10, A, 5, A, 5));
  EXPECT_EQ(applied(16, 0, 4, Spring), plan(A, 7, A, 6, A, 7));
  // Aggressive row 14 Summer, A10 H10 -: ten heal mana is enough.
  EXPECT_EQ(applied(15, 0, 14, Summer), plan(A, 10, H, 10, E, 0));
  // Neutral row 12 Winter, H8 A11 D1: eight is not; slot 0 is overwritten whatever it was.
  EXPECT_EQ(applied(1, 1, 12, Winter), plan(H, 10, A, 5, D, 5));
  // Aggressive row 15 Spring, - A14 H6: a heal in slot 2 becomes a defense.
  EXPECT_EQ(applied(10, 0, 15, Spring), plan(H, 10, A, 5, D, 5));
  // Aggressive row 7 Winter, S20 - -: the empty slots take mana 5 and stay empty.
  EXPECT_EQ(applied(5, 0, 7, Winter), plan(H, 10, E, 5, E, 5));

  // Fall: special 15, slot 1 defense or attack by one more draw, slot 2 empty.
  bool saw[2] = {};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    srand(seed);
    const int kind = rand() % 10 < 6 ? D : A;
    const int next = rand();
    srand(seed);
    // Defensive row 8 Fall, A5 S15 A0.
    EXPECT_EQ(applied(15, 2, 8, Fall), plan(S, 15, kind, 15, E, 0));
    EXPECT_EQ(rand(), next) << "exactly one draw";
    saw[kind == D] = true;
  }
  EXPECT_TRUE(saw[0] && saw[1]);
  // Defensive row 16 Fall, D20 - -: slot 1 keeps mana 0 and is filtered out.
  EXPECT_EQ(applied(15, 2, 16, Fall), plan(S, 15, E, 0, E, 0));
}

TEST_F(aiTest, finalFilterEmptiesZeroManaSlotsAndKeepsKindTen) {
  // Defensive row 14 Spring, H10 [10:-1] A0; row 16, [10:-1] A0 [10:0]; aggressive row 18
  // Winter, S20 - A0.
  EXPECT_EQ(applied(30, 2, 14, Spring), plan(H, 10, 10, -1, E, 0));
  EXPECT_EQ(applied(30, 2, 16, Spring), plan(10, -1, E, 0, E, 0));
  EXPECT_EQ(applied(60, 0, 18, Winter), plan(S, 20, E, 0, E, 0));
}

TEST_F(aiTest, invalidTypeOrLifeEndsTheProgram) {
  fightUnit f;
  EXPECT_REPORT(doAI(f, static_cast<CT>(4)), "AI error: Invalid AI behaviour\\.");
  f.life = 101;
  EXPECT_REPORT(doAI(f, Summer), "AI error: Invalid AI pattern\\.");
}
