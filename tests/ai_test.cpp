#include "combatants/ai.h"

#include <cstdlib>
#include <map>
#include <tuple>

#include "file_fixture.h"

using aiTest = allegroTest;

namespace {

const std::int32_t (*const TABLES[3])[4][3][2] = {AI_PAT_AGRESSIVE, AI_PAT_NEUTRAL, AI_PAT_DEFENSIVE};

struct plan {
  int kind[3];
  int mana[3];
};

bool operator==(const plan &a, const plan &b) {
  for (int i = 0; i < 3; ++i) {
    if (a.kind[i] != b.kind[i] || a.mana[i] != b.mana[i]) return false;
  }
  return true;
}

std::ostream &operator<<(std::ostream &os, const plan &p) {
  for (int i = 0; i < 3; ++i) os << (i ? " " : "") << p.kind[i] << ':' << p.mana[i];
  return os;
}

// The opponent's slots after applyKI on the given entry at the given life.
plan applied(int life, int stance, int row, int behaviour) {
  fightUnit f;
  f.life = life;
  applyKI(&f, stance, row, behaviour);
  return {{f.spellKind[0], f.spellKind[1], f.spellKind[2]}, {f.spellMana[0], f.spellMana[1], f.spellMana[2]}};
}

int stanceAt(int life, CT type) {
  fightUnit f;
  f.life = life;
  int stance = 0;
  int row = 0;
  determinePat(&f, determineBehav(type), stance, row);
  return stance;
}

}  // namespace

TEST_F(aiTest, entriesSpendTwentyManaExceptTheListedOnes) {
  // {stance, row, behaviour} -> total; the kind-10 slots count with their stored mana.
  const std::map<std::tuple<int, int, int>, int> others = {
      {{0, 0, Winter}, 25}, {{2, 3, Winter}, 25}, {{0, 9, Summer}, 22}, {{0, 12, Spring}, 19},
      {{2, 4, Spring}, 19}, {{2, 7, Summer}, 13}, {{2, 14, Spring}, 9}, {{2, 16, Spring}, -1},
  };
  int differing = 0;
  for (int t = 0; t < 3; ++t) {
    for (int r = 0; r < 20; ++r) {
      for (int b = 0; b < 4; ++b) {
        int total = 0;
        for (int i = 0; i < 3; ++i) {
          const int kind = TABLES[t][r][b][i][0];
          const int mana = TABLES[t][r][b][i][1];
          total += mana;
          if (kind == kindSpecial) {
            EXPECT_EQ(mana, manaSpecial[b]) << t << '/' << r << '/' << b;
          }
          if (kind == kindEmpty) {
            EXPECT_EQ(mana, 0) << t << '/' << r << '/' << b;
          }
          if (kind == 10) {
            EXPECT_TRUE(t == 2 && b == Spring && (r == 14 || r == 16)) << t << '/' << r << '/' << b;
          }
          if (kind != 10) {
            EXPECT_TRUE(kind >= kindEmpty && kind <= kindSpecial) << t << '/' << r << '/' << b;
          }
        }
        const auto other = others.find({t, r, b});
        if (other == others.end()) {
          EXPECT_EQ(total, 20) << t << '/' << r << '/' << b;
        } else {
          ++differing;
          EXPECT_EQ(total, other->second) << t << '/' << r << '/' << b;
        }
      }
    }
  }
  EXPECT_EQ(differing, 8);
  // The kind-10 slots exactly as stored.
  EXPECT_EQ(AI_PAT_DEFENSIVE[14][Spring][1][0], 10);
  EXPECT_EQ(AI_PAT_DEFENSIVE[14][Spring][1][1], -1);
  EXPECT_EQ(AI_PAT_DEFENSIVE[16][Spring][0][0], 10);
  EXPECT_EQ(AI_PAT_DEFENSIVE[16][Spring][0][1], -1);
  EXPECT_EQ(AI_PAT_DEFENSIVE[16][Spring][2][0], 10);
  EXPECT_EQ(AI_PAT_DEFENSIVE[16][Spring][2][1], 0);
}

TEST_F(aiTest, stanceFollowsLifeAtEveryBoundary) {
  struct boundary {
    CT type;
    int life;
    int stance;
  };
  const boundary cases[] = {
      {Spring, 0, 0},    {Spring, 20, 0},  {Spring, 21, 2}, {Spring, 49, 2},  {Spring, 50, 1}, {Spring, 100, 1},
      {Summer, 0, 0},    {Summer, 30, 0},  {Summer, 31, 2}, {Summer, 59, 2},  {Summer, 60, 1}, {Summer, 100, 1},
      {Fall, 0, 2},      {Fall, 29, 2},    {Fall, 30, 1},   {Fall, 79, 1},    {Fall, 80, 0},   {Fall, 100, 0},
      {Winter, 0, 2},    {Winter, 20, 2},  {Winter, 21, 1}, {Winter, 44, 1},  {Winter, 45, 0}, {Winter, 100, 0},
      {Spring, 101, -1}, {Summer, -1, -1}, {Fall, 101, -1}, {Winter, -1, -1},
  };
  for (const boundary &c : cases) EXPECT_EQ(stanceAt(c.life, c.type), c.stance) << c.type << " at " << c.life;
  EXPECT_EQ(determineBehav(Winter), 3);
  EXPECT_EQ(determineBehav(static_cast<CT>(4)), -1);
  EXPECT_EQ(determineBehav(static_cast<CT>(-1)), -1);
}

TEST_F(aiTest, patternRowDrawsInOrderAndStaysInTheTables) {
  const int lowest[4] = {3, 1, 0, 5};
  const int highest[4] = {19, 19, 18, 19};
  int mirrored = 0;
  for (int b = 0; b < 4; ++b) {
    bool seen[20] = {};
    for (unsigned seed = 1; seed <= 4000; ++seed) {
      srand(seed);
      const int first = rand();
      const int second = rand();
      const int third = rand();
      srand(seed);
      fightUnit f;
      int stance = 0;
      int row = 0;
      determinePat(&f, b, stance, row);
      const int next = rand();
      ASSERT_GE(row, lowest[b]);
      ASSERT_LE(row, highest[b]);
      seen[row] = true;
      const int drawn = AI_BEHAVIOUR[b][6] + first % 19;
      if (drawn <= 19) {
        EXPECT_EQ(row, drawn);
        EXPECT_EQ(next, second) << "one draw only";
      } else {
        EXPECT_EQ(next, third) << "the reduction draws a second time";
        const int reduced = drawn - second % 10;
        if (reduced > 19) {
          ++mirrored;
          EXPECT_EQ(row, 39 - reduced);
        } else {
          EXPECT_EQ(row, reduced);
        }
      }
    }
    for (int r = lowest[b]; r <= highest[b]; ++r) EXPECT_TRUE(seen[r]) << "behaviour " << b << " row " << r;
  }
  EXPECT_GT(mirrored, 0);
}

TEST_F(aiTest, overhealTurnsHealsAndFallsSpecialIntoAttacks) {
  // Neutral row 15 Spring is H20 - -: 91 + 10 overshoots, 90 + 10 does not.
  EXPECT_EQ(applied(91, 1, 15, Spring), (plan{{kindAttack, -1, -1}, {20, 0, 0}}));
  EXPECT_EQ(applied(90, 1, 15, Spring), (plan{{kindHeal, -1, -1}, {20, 0, 0}}));
  // Defensive row 8 Spring is D3 D3 H14: 93 + 7 = 100 stays a heal.
  EXPECT_EQ(applied(93, 2, 8, Spring), (plan{{kindDefense, kindDefense, kindHeal}, {3, 3, 14}}));
  EXPECT_EQ(applied(94, 2, 8, Spring), (plan{{kindDefense, kindDefense, kindAttack}, {3, 3, 14}}));
  // Fall's special heals 15: from 86 on every special of every Fall entry is cast as an attack.
  for (int t = 0; t < 3; ++t) {
    for (int r = 0; r < 20; ++r) {
      const plan at85 = applied(85, t, r, Fall);
      const plan at86 = applied(86, t, r, Fall);
      for (int i = 0; i < 3; ++i) {
        const bool special = TABLES[t][r][Fall][i][0] == kindSpecial;
        EXPECT_EQ(at85.kind[i] == kindSpecial, special) << t << '/' << r << '/' << i;
        EXPECT_NE(at86.kind[i], kindSpecial);
        if (special) {
          EXPECT_EQ(at86.kind[i], kindAttack);
        }
      }
    }
  }
  // Another wizard's special is never converted.
  EXPECT_EQ(applied(100, 0, 0, Summer), (plan{{kindSpecial, -1, -1}, {20, 0, 0}}));
}

TEST_F(aiTest, emergencyRuleAtFifteenLifeOrLess) {
  // Aggressive row 4 Spring, A7 A6 A7.
  EXPECT_EQ(applied(15, 0, 4, Spring), (plan{{kindHeal, kindAttack, kindAttack}, {10, 5, 5}}));
  EXPECT_EQ(applied(16, 0, 4, Spring), (plan{{kindAttack, kindAttack, kindAttack}, {7, 6, 7}}));
  // Aggressive row 14 Summer, A10 H10 -: ten heal mana is enough.
  EXPECT_EQ(applied(15, 0, 14, Summer), (plan{{kindAttack, kindHeal, -1}, {10, 10, 0}}));
  // Neutral row 12 Winter, H8 A11 D1: eight is not; slot 0 is overwritten whatever it was.
  EXPECT_EQ(applied(1, 1, 12, Winter), (plan{{kindHeal, kindAttack, kindDefense}, {10, 5, 5}}));
  // Aggressive row 3 Spring, A10 A6 H4: a heal in slot 2 becomes a defense.
  EXPECT_EQ(applied(10, 0, 3, Spring), (plan{{kindHeal, kindAttack, kindDefense}, {10, 5, 5}}));
  // Aggressive row 15 Spring, - A14 H6.
  EXPECT_EQ(applied(10, 0, 15, Spring), (plan{{kindHeal, kindAttack, kindDefense}, {10, 5, 5}}));
  // Aggressive row 7 Winter, S20 - -: the empty slots take mana 5 and stay empty.
  EXPECT_EQ(applied(5, 0, 7, Winter), (plan{{kindHeal, -1, -1}, {10, 5, 5}}));

  // Fall: special 15, slot 1 defense or attack by one more draw, slot 2 empty.
  bool sawDefense = false;
  bool sawAttack = false;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    srand(seed);
    const int kind = rand() % 10 < 6 ? kindDefense : kindAttack;
    const int next = rand();
    srand(seed);
    // Defensive row 8 Fall, A5 S15 A0.
    EXPECT_EQ(applied(15, 2, 8, Fall), (plan{{kindSpecial, kind, -1}, {15, 15, 0}}));
    EXPECT_EQ(rand(), next) << "exactly one draw";
    (kind == kindDefense ? sawDefense : sawAttack) = true;
  }
  EXPECT_TRUE(sawDefense);
  EXPECT_TRUE(sawAttack);
  // Defensive row 16 Fall, D20 - -: slot 1 keeps mana 0 and is filtered out.
  EXPECT_EQ(applied(15, 2, 16, Fall), (plan{{kindSpecial, -1, -1}, {15, 0, 0}}));
}

TEST_F(aiTest, finalFilterEmptiesZeroManaSlotsAndKeepsKindTen) {
  // Defensive row 14 Spring, H10 [10:-1] A0.
  EXPECT_EQ(applied(30, 2, 14, Spring), (plan{{kindHeal, 10, -1}, {10, -1, 0}}));
  // Defensive row 16 Spring, [10:-1] A0 [10:0].
  EXPECT_EQ(applied(30, 2, 16, Spring), (plan{{10, -1, -1}, {-1, 0, 0}}));
  // Aggressive row 18 Winter, S20 - A0.
  EXPECT_EQ(applied(60, 0, 18, Winter), (plan{{kindSpecial, -1, -1}, {20, 0, 0}}));
}

TEST_F(aiTest, invalidTypeOrLifeEndsTheProgram) {
  fightUnit f;
  EXPECT_EXIT((reportsToStderr(), doAI(f, static_cast<CT>(4))), testing::ExitedWithCode(1),
              "^AI error: Invalid AI behaviour\\.$");
  f.life = 101;
  EXPECT_EXIT((reportsToStderr(), doAI(f, Summer)), testing::ExitedWithCode(1), "^AI error: Invalid AI pattern\\.$");
}
