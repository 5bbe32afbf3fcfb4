#include "combatants/ai.h"

#include <sstream>
#include <string>

#include "allegro_fixture.h"

namespace {

// Per type (Spring, Summer, Fall, Winter): upper and lower life of the aggressive, the neutral and the defensive
// stance; the row base.
const int BEHAVIOUR[4][7] = {
    {20, 0, 100, 50, 49, 21, 3}, {30, 0, 100, 60, 59, 31, 1}, {100, 80, 79, 30, 29, 0, 0}, {100, 45, 44, 21, 20, 0, 5}};

// Per stance (aggressive, neutral, defensive), rows 0 to 19 two to a line, each with the entries of Spring, Summer,
// Fall and Winter ([kind:mana]: a kind that casts nothing).
const char *const PATTERNS[3][20] = {
    {"A7 A10 A3 | S20 - - | A10 A5 A5 | A10 A5 A10", "S10 A5 A5 | A10 A5 D5 | A7 D3 A10 | A7 A7 D6",
     "S10 D5 A5 | D5 A12 A3 | D4 A6 A10 | A7 A6 A7", "A10 A6 H4 | H6 A6 A8 | D4 A10 H6 | D5 A10 A5",
     "A7 A6 A7 | A12 A4 A4 | S15 A5 - | S20 - -",    "S10 A7 A3 | D6 A12 A2 | A5 S15 A0 | A10 D5 D5",
     "A10 A4 D6 | A10 D4 A6 | A12 D4 H4 | A16 H4 -", "A16 H4 - | A14 H6 - | D4 A16 - | S20 - -",
     "A10 D5 A5 | A12 D4 A4 | S15 A5 - | A17 D3 -",  "S10 - A10 | D6 A12 H4 | A16 D2 A2 | A10 D4 H6",
     "D4 A13 D3 | S20 - - | D4 A10 H6 | A7 A7 H6",   "A15 - A5 | A7 A8 D5 | H4 A8 A8 | S20 - -",
     "A6 A7 A6 | A6 A6 A8 | A10 D5 A5 | D5 A10 A5",  "A12 H4 A4 | D5 A10 A5 | D5 A8 A7 | A20 - -",
     "A20 - - | A10 H10 - | H10 A5 A5 | A15 A5 -",   "- A14 H6 | D8 A8 A4 | A9 A9 H2 | D3 A15 H2",
     "A15 D5 - | A15 D5 - | A7 D7 A6 | A10 A10 -",   "A7 A7 A6 | A20 - - | A20 - - | A17 D1 H2",
     "A15 A3 A2 | D4 A12 D4 | A15 A5 - | S20 - A0",  "S10 A10 - | A20 - - | A18 D1 D1 | A16 A2 A2"},
    {"D5 A10 A5 | S20 - - | A7 D7 H6 | A10 D5 D5",   "S10 A5 D5 | A10 D4 H6 | A5 S15 - | D5 H10 A5",
     "D7 A7 H6 | H10 A10 - | A5 H10 D5 | A7 D3 H10", "H10 D5 A5 | S20 - - | A5 D5 H10 | D5 D5 A10",
     "D7 A7 H6 | D5 D5 A10 | D5 D5 A10 | A7 D7 D6",  "A10 D7 D3 | A10 A5 D5 | A5 S15 - | H10 A6 A4",
     "H12 A4 A4 | D4 H4 A12 | D5 A10 D5 | D7 D7 D6", "A9 D5 H6 | A6 A6 H8 | A7 A7 D6 | D7 A7 A6",
     "H10 A5 A5 | A12 D4 D4 | H6 D6 A8 | D5 H10 A5", "S10 A10 - | S20 - - | D3 A2 S15 | A10 A5 D5",
     "D6 H14 - | S20 - - | D7 A7 D6 | D5 H8 A7",     "A7 A8 D5 | A7 D7 H6 | A10 D5 D5 | D6 D9 A5",
     "H10 A5 A5 | H6 A8 H6 | H10 D5 A5 | H8 A11 D1", "H10 A10 - | A15 D5 - | A7 D7 H6 | S20 - -",
     "- A15 D5 | S20 - - | A5 S15 - | A7 D7 D6",     "H20 - - | D10 H10 - | A5 S15 - | D6 H10 A4",
     "S10 A5 A5 | A7 D6 A7 | A7 D6 A7 | A5 D10 A5",  "A10 D10 - | H10 D5 A5 | D10 A5 A5 | D7 A7 H6",
     "A10 D5 A5 | A7 D7 A6 | A7 H10 D3 | A9 D4 D7",  "D7 D7 A6 | H20 - - | A5 S15 A0 | S20 - -"},
    {"S10 D5 D5 | D10 H6 H4 | S15 D5 - | D10 D5 A5",       "D7 D7 A6 | A6 H6 D8 | D5 D5 D10 | D7 D7 H6",
     "D5 H10 A5 | D10 A4 D6 | D5 S15 - | D5 D5 A10",       "H10 H10 - | H6 H6 A8 | D5 A10 A5 | A10 D5 A10",
     "D7 A8 D4 | D5 D10 A5 | A6 D7 A7 | S20 A0 A0",        "H8 D8 A4 | D5 A9 H6 | A3 D2 S15 | D5 H10 A5",
     "S10 D5 A5 | A5 D10 D5 | A10 D5 D5 | D4 D4 A12",      "S10 A10 - | D7 H6 A0 | A7 D7 H6 | D10 H10 -",
     "D3 D3 H14 | D10 H10 - | A5 S15 A0 | H20 - -",        "H10 D3 A7 | D6 A10 H4 | D7 A7 D6 | H16 A4 -",
     "D7 D7 D6 | D6 D6 D8 | H6 A7 D7 | D6 D6 A8",          "D6 D8 D6 | S20 - - | A5 S15 A0 | S20 - -",
     "H8 A8 D4 | D10 A4 H6 | D7 D7 A6 | D5 D5 A10",        "D20 - - | D6 D6 H8 | D5 D5 A10 | H20 - -",
     "H10 [10:-1] A0 | D5 H10 A5 | S15 A5 - | A20 - -",    "D10 A5 A5 | D20 - - | H6 A4 D10 | D10 D5 A5",
     "[10:-1] A0 [10:0] | A9 D5 D6 | D20 - - | D10 D10 -", "D15 - A5 | D3 H16 A1 | D5 D5 D10 | A5 D5 H10",
     "H6 H8 A6 | D4 D4 H12 | D10 A10 - | A15 D3 D2",       "H8 A8 D4 | A10 D10 - | D15 A3 A2 | S20 - -"}};

// The slots as the tables write them: A, D, H or S with the mana, - for an empty slot (-N where N mana is left in
// it), [kind:mana] for a kind that is none of the four.
std::string plan(const fightUnit &f) {
  std::string out;
  for (int i = 0; i < 3; ++i) {
    const int kind = f.spellKind[i];
    const std::string mana = std::to_string(f.spellMana[i]);
    if (i > 0) out += ' ';
    if (kind == kindEmpty) out += f.spellMana[i] == 0 ? "-" : '-' + mana;
    if (kind == 10) out += "[10:" + mana + ']';
    if (kind >= kindAttack && kind <= kindSpecial) out += "ADHS"[kind] + mana;
  }
  return out;
}

// The type's entry in a row of the table, as it is cast: a slot stored with mana 0 is empty.
std::string entry(int stance, int row, int type) {
  std::istringstream columns(PATTERNS[stance][row]);
  std::string column;
  for (int i = 0; i <= type; ++i) std::getline(columns, column, '|');
  std::istringstream slots(column);
  std::string out;
  for (std::string slot; slots >> slot;) {
    if (slot == "A0" || slot == "[10:0]") slot = "-";
    out += out.empty() ? slot : ' ' + slot;
  }
  return out;
}

// The stance at that life: 0 aggressive, 1 neutral, 2 defensive (the last that fits), -1 none.
int stanceAt(int type, int life) {
  const int *b = BEHAVIOUR[type];
  for (int stance = 2; stance >= 0; --stance)
    if (b[2 * stance + 1] <= life && life <= b[2 * stance]) return stance;
  return -1;
}

// A seed after which the first rand() % 19 is `r` and the second rand() % 10 is `second`.
unsigned seedFor(int r, int second) {
  for (unsigned seed = 1;; ++seed) {
    srand(seed);
    if (rand() % 19 == r && rand() % 10 == second) return seed;
  }
}

}  // namespace

using aiTest = allegroTest;

TEST_F(aiTest, lifePicksTheStanceAndOneOrTwoDrawsTheRowOfTheEntryCast) {
  for (int stance = 0; stance < 3; ++stance) {  // every entry, at a life where nothing needs correcting
    for (int row = 0; row < 20; ++row) {
      for (int type = 0; type < 4; ++type) {
        fightUnit f{.life = 50};
        applyKI(&f, stance, row, type);
        EXPECT_EQ(plan(f), entry(stance, row, type)) << "stance " << stance << ", row " << row << ", type " << type;
      }
    }
  }
  for (int r = 0; r < 19; ++r) {
    for (int cut = 0; cut < 10; ++cut) {
      const unsigned seed = seedFor(r, cut);
      srand(seed);
      rand();                           // the row draw
      const int afterOneDraw = rand();  // next after a decision without the cut
      const int afterTwoDraws = rand();
      for (int type = 0; type < 4; ++type) {
        // Above 19 a second draw takes `cut` off; still above, 20 to 23 are mirrored onto 19 to 16.
        const int drawn = BEHAVIOUR[type][6] + r;
        const int row = drawn > 19 ? drawn - cut : drawn;
        const int tableRow = row > 19 ? 39 - row : row;
        for (int life = 16; life <= 85; life += cut ? 23 : 1) {
          fightUnit f{.life = life};
          srand(seed);
          doAI(f, CT(type));
          SCOPED_TRACE(std::to_string(type) + " at " + std::to_string(life) + " drawing " + std::to_string(r));
          EXPECT_EQ(plan(f), entry(stanceAt(type, life), tableRow, type));
          EXPECT_EQ(rand(), drawn > 19 ? afterTwoDraws : afterOneDraw) << "the draws taken, with a cut of " << cut;
        }
      }
    }
  }
}

// Heals past 100, and Fall's special from 86, become attacks; at 15 with few heals the plan heals, and the second and
// third slots get 5 mana each, an empty one too.
TEST_F(aiTest, highLifeTurnsHealsIntoAttacksLowLifeHealsAndNoStanceIsFatal) {
  const struct {
    CT type;
    int life, row;
    int secondDraw = 0;  // rand() % 10 after the row's draw: Fall's emergency draw
    const char *entry, *cast;
  } cases[] = {
      {.type = Spring, .life = 91, .row = 15, .entry = "H20 - -", .cast = "A20 - -"},
      {.type = Spring, .life = 90, .row = 15, .entry = "H20 - -", .cast = "H20 - -"},
      {.type = Fall, .life = 85, .row = 4, .entry = "S15 A5 -", .cast = "S15 A5 -"},
      {.type = Fall, .life = 86, .row = 4, .entry = "S15 A5 -", .cast = "A15 A5 -"},
      {.type = Summer, .life = 100, .row = 3, .entry = "S20 - -", .cast = "S20 - -"},
      {.type = Spring, .life = 10, .row = 15, .entry = "- A14 H6", .cast = "H10 A5 D5"},
      {.type = Spring, .life = 15, .row = 7, .entry = "A16 H4 -", .cast = "H10 A5 -5"},
      {.type = Spring, .life = 16, .row = 7, .entry = "A16 H4 -", .cast = "A16 H4 -"},
      {.type = Summer, .life = 15, .row = 14, .entry = "A10 H10 -", .cast = "A10 H10 -"},
      {.type = Fall, .life = 15, .row = 1, .secondDraw = 5, .entry = "D5 D5 D10", .cast = "S15 D5 -"},
      {.type = Fall, .life = 15, .row = 1, .secondDraw = 6, .entry = "D5 D5 D10", .cast = "S15 A5 -"},
  };
  for (const auto &c : cases) {
    ASSERT_EQ(entry(stanceAt(c.type, c.life), c.row, c.type), c.entry) << "the table's entry";
    fightUnit f{.life = c.life};
    srand(seedFor(c.row - BEHAVIOUR[c.type][6], c.secondDraw));
    doAI(f, c.type);
    EXPECT_EQ(plan(f), c.cast) << names[c.type] << " at " << c.life;
  }
  fightUnit f{.life = 101};
  EXPECT_REPORT(doAI(f, Summer), "AI error: Invalid AI pattern\\.");
  EXPECT_REPORT(doAI(f, CT(4)), "AI error: Invalid AI behaviour\\.");
  EXPECT_EQ(determineBehav(CT(-1)), -1);
}

// Per type: its name, the mana its special costs, and the names of its attack, defense, heal and special.
TEST(catalogueTest, everyTypeNamesItsSpellsAndCostsItsSpecial) {
  const struct {
    const char *type;
    int specialCost;
    const char *spells[4];
  } catalogue[] = {
      {"Spring", 10, {"Typhoon", "Wind wall", "Heal", "Confusing joint"}},
      {"Summer", 20, {"Fireball", "Magma wall", "Energy Absorption", "Vendetta"}},
      {"Fall", 15, {"Earthquake", "Magic shield", "Heal", "Heal of nature"}},
      {"Winter", 20, {"Icebolt", "Magic shield", "Ice is life", "Frosty twist"}},
  };
  for (int type = 0; type < 4; ++type) {
    EXPECT_EQ(names[type], catalogue[type].type);
    EXPECT_EQ(manaSpecial[type], catalogue[type].specialCost) << names[type];
    for (int kind = 0; kind < 4; ++kind) EXPECT_EQ(attackNames[type][kind], catalogue[type].spells[kind]);
  }
}
