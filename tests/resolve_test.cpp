#include <string>
#include <vector>

#include "allegro_fixture.h"
#include "battle/battle.h"

namespace {

struct logLine {
  std::string text;
  int colour;
  bool operator==(const logLine &) const = default;
};

std::ostream &operator<<(std::ostream &os, const logLine &l) { return os << '"' << l.text << "\" in " << l.colour; }

}  // namespace

class resolveTest : public allegroTest {
 protected:
  unit units[2];
  int red = 0;
  int blue = 0;

  void SetUp() override {
    allegroTest::SetUp();
    red = makecol(204, 0, 0);
    blue = makecol(0, 0, 204);
  }

  void meet(CT player, CT opponent) {
    units[0].setValues(names[player], player);
    units[1].setValues(names[opponent], opponent);
  }

  static void queue(fightUnit &f, int slot, int kind, int mana) {
    f.spellKind[slot] = kind;
    f.spellMana[slot] = mana;
  }

  // Resolves b.slot and returns the lines it sent, in the order sent.
  static std::vector<logLine> resolve(battleState &b) {
    b.log.send("mark", 0);
    resolveSlot(b);
    std::vector<logLine> sent;
    for (int i = 0; b.log.lines[i].text != " mark"; ++i) {
      sent.insert(sent.begin(), {b.log.lines[i].text, b.log.lines[i].color});
    }
    return sent;
  }
};

TEST_F(resolveTest, workedExampleSlotBySlot) {
  meet(Summer, Winter);
  battleState b(units);
  fightUnit &p = b.fighters[0];
  fightUnit &o = b.fighters[1];
  queue(p, 0, kindAttack, 10);
  queue(p, 1, kindDefense, 6);
  queue(p, 2, kindHeal, 4);
  queue(o, 0, kindSpecial, 20);
  queue(o, 1, kindAttack, 8);

  b.slot = 0;
  b.slotTimer = 0;
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" All attacks will raise and all defenses will reduce its life", blue},
                            {" Player 2 uses his special skill.", blue},
                            {" Player 1 casts an attack spell with 10 damage", red},
                        }));
  EXPECT_TRUE(b.opponentFirst);
  EXPECT_EQ(b.slotTimer, 64);
  EXPECT_EQ(p.life, 100);
  EXPECT_EQ(o.life, 100);  // healed by 3, capped

  b.slot = 1;
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" Player 1 casts a defensive spell with a strength of 6", red},
                            {" Player 2 casts an attack spell with 8 damage", blue},
                            {" Player 1 loses 8 health points", red},
                        }));
  EXPECT_FALSE(b.opponentFirst);
  EXPECT_EQ(p.life, 92);
  EXPECT_EQ(o.life, 82);

  b.slot = 2;
  EXPECT_EQ(resolve(b), (std::vector<logLine>{{" Player 1 casts a healing spell and receives 2 health points", red}}));
  EXPECT_EQ(p.life, 94);
  EXPECT_EQ(o.life, 82);
  EXPECT_EQ(b.phase, chooseSpell);  // nobody fell; the turn flow decides what follows
}

TEST_F(resolveTest, bothFallingInOneSlotLosesThePlayer) {
  meet(Spring, Fall);
  battleState b(units);
  b.phase = resolveSlots;
  b.fighters[0].life = 10;
  b.fighters[1].life = 10;
  queue(b.fighters[0], 0, kindAttack, 15);
  queue(b.fighters[1], 0, kindAttack, 12);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" Player 1 casts an attack spell with 15 damage", red},
                            {" Player 2 casts an attack spell with 12 damage", blue},
                            {" Player 1 loses 12 health points", red},
                        }));
  EXPECT_EQ(b.fighters[0].life, 0);
  EXPECT_EQ(b.fighters[1].life, 10);  // its damage is never applied
  EXPECT_EQ(b.result, 0);
  EXPECT_EQ(b.phase, playerDefeated);

  // Still the player when an inverted defense has already taken the opponent below 0.
  meet(Spring, Winter);
  battleState c(units);
  c.invertEnemySpells[1] = true;
  c.fighters[0].life = 5;
  c.fighters[1].life = 6;
  queue(c.fighters[0], 0, kindDefense, 4);
  queue(c.fighters[1], 0, kindAttack, 9);
  resolve(c);
  EXPECT_EQ(c.result, 0);
  EXPECT_EQ(c.phase, playerDefeated);
  EXPECT_EQ(c.fighters[0].life, 0);
  EXPECT_EQ(c.fighters[1].life, 0);
}

TEST_F(resolveTest, winterEffectTurnsAttacksIntoHealsAndDefensesIntoWounds) {
  meet(Fall, Winter);
  battleState b(units);
  b.phase = resolveSlots;
  b.invertEnemySpells[1] = true;
  // An inverted defense takes the caster of the effect to 0 before the damage step.
  b.fighters[1].life = 10;
  queue(b.fighters[0], 0, kindDefense, 4);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{{" Player 1 casts a defensive spell with a strength of 4", red}}));
  EXPECT_EQ(b.fighters[1].life, 0);
  EXPECT_EQ(b.result, 1);
  EXPECT_EQ(b.phase, opponentDefeated);

  // An inverted defense protects nobody; attacks of 1 or 2 heal nothing, 9 heals 3 up to the cap.
  b.phase = resolveSlots;
  b.fighters[1].life = 50;
  queue(b.fighters[0], 0, kindDefense, 5);
  queue(b.fighters[1], 0, kindAttack, 7);
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 93);
  EXPECT_EQ(b.fighters[1].life, 35);
  queue(b.fighters[0], 0, kindAttack, 2);
  queue(b.fighters[1], 0, kindEmpty, 0);
  resolve(b);
  EXPECT_EQ(b.fighters[1].life, 35);
  b.fighters[1].life = 99;
  queue(b.fighters[0], 0, kindAttack, 9);
  resolve(b);
  EXPECT_EQ(b.fighters[1].life, 100);
  b.fighters[1].life = 90;
  resolve(b);
  EXPECT_EQ(b.fighters[1].life, 93);
  EXPECT_EQ(b.phase, resolveSlots);
}

TEST_F(resolveTest, summerSpecialCostsItsCasterTwenty) {
  meet(Summer, Fall);
  battleState b(units);
  queue(b.fighters[0], 0, kindSpecial, 20);
  queue(b.fighters[1], 0, kindDefense, 10);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" He deals 30 damage and loses 20 health points", red},
                            {" Player 1 uses his special skill.", red},
                            {" Player 2 casts a defensive spell with a strength of 10", blue},
                            {" Player 1 loses 20 health points", red},
                            {" Player 2 loses 20 health points", blue},
                        }));
  EXPECT_EQ(b.fighters[0].life, 80);
  EXPECT_EQ(b.fighters[1].life, 80);
  // The enemy's attack adds to the caster's own 20.
  queue(b.fighters[1], 0, kindAttack, 5);
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 55);
  EXPECT_EQ(b.fighters[1].life, 50);
}

TEST_F(resolveTest, springEffectHalvesByShiftingAndHealsReportTheirTrueGain) {
  meet(Fall, Spring);
  battleState b(units);
  b.halveEnemySpells[1] = true;
  b.fighters[0].life = 50;
  queue(b.fighters[0], 0, kindAttack, 9);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" Player 1 casts an attack spell with 9 damage", red},
                            {" Player 2 loses 4 health points", blue},
                        }));
  EXPECT_EQ(b.fighters[1].life, 96);
  // A defense of 9 counts 4 against an attack of 7.
  queue(b.fighters[0], 0, kindDefense, 9);
  queue(b.fighters[1], 0, kindAttack, 7);
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 47);
  // Heals are halved twice: 10 mana heals 2, 2 mana heals nothing, and the message says so.
  queue(b.fighters[1], 0, kindEmpty, 0);
  queue(b.fighters[0], 0, kindHeal, 10);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{{" Player 1 casts a healing spell and receives 2 health points", red}}));
  EXPECT_EQ(b.fighters[0].life, 49);
  queue(b.fighters[0], 0, kindHeal, 2);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{{" Player 1 casts a healing spell and receives 0 health points", red}}));
  EXPECT_EQ(b.fighters[0].life, 49);
  // A heal of 1 gains nothing even unhalved.
  b.halveEnemySpells[1] = false;
  queue(b.fighters[0], 0, kindHeal, 1);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{{" Player 1 casts a healing spell and receives 0 health points", red}}));
  EXPECT_EQ(b.fighters[0].life, 49);
}

TEST_F(resolveTest, gainsStopAtOneHundred) {
  meet(Fall, Summer);
  battleState b(units);
  b.fighters[0].life = 95;
  b.fighters[1].life = 99;
  queue(b.fighters[0], 0, kindHeal, 20);
  queue(b.fighters[1], 0, kindHeal, 6);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" Player 1 casts a healing spell and receives 5 health points", red},
                            {" Player 2 casts a healing spell and receives 1 health points", blue},
                        }));
  EXPECT_EQ(b.fighters[0].life, 100);
  EXPECT_EQ(b.fighters[1].life, 100);
  b.fighters[0].life = 90;
  queue(b.fighters[0], 0, kindSpecial, 15);
  queue(b.fighters[1], 0, kindEmpty, 0);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" He receives 15 health points", red},
                            {" Player 1 uses his special skill.", red},
                        }));
  EXPECT_EQ(b.fighters[0].life, 100);
  b.fighters[0].life = 70;
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 85);
}

TEST_F(resolveTest, orderOfActionsAroundSpecials) {
  meet(Spring, Summer);
  battleState b(units);
  // Both cast their special: the player's comes first.
  queue(b.fighters[0], 0, kindSpecial, 10);
  queue(b.fighters[1], 0, kindSpecial, 20);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" The effect of all enemy spells is cut by 50%", red},
                            {" Player 1 uses his special skill.", red},
                            {" He deals 30 damage and loses 20 health points", blue},
                            {" Player 2 uses his special skill.", blue},
                            {" Player 1 loses 30 health points", red},
                            {" Player 2 loses 20 health points", blue},
                        }));
  EXPECT_FALSE(b.opponentFirst);
  EXPECT_TRUE(b.halveEnemySpells[0]);
  EXPECT_EQ(b.fighters[0].life, 70);  // the Summer numbers are fixed, halving or not
  EXPECT_EQ(b.fighters[1].life, 80);

  // The opponent's Spring special goes ahead of the player's attack and halves it at once.
  meet(Fall, Spring);
  battleState c(units);
  queue(c.fighters[0], 0, kindAttack, 10);
  queue(c.fighters[1], 0, kindSpecial, 10);
  EXPECT_EQ(resolve(c), (std::vector<logLine>{
                            {" The effect of all enemy spells is cut by 50%", blue},
                            {" Player 2 uses his special skill.", blue},
                            {" Player 1 casts an attack spell with 10 damage", red},
                            {" Player 2 loses 5 health points", blue},
                        }));
  EXPECT_TRUE(c.opponentFirst);
  EXPECT_EQ(c.fighters[1].life, 95);
}

TEST_F(resolveTest, emptyAndUnknownSlotsCastNothing) {
  meet(Winter, Fall);
  battleState b(units);
  queue(b.fighters[0], 0, kindAttack, 6);
  queue(b.fighters[1], 0, 10, -1);
  EXPECT_EQ(resolve(b), (std::vector<logLine>{
                            {" Player 1 casts an attack spell with 6 damage", red},
                            {" Player 2 loses 6 health points", blue},
                        }));
  queue(b.fighters[0], 0, kindEmpty, 7);
  queue(b.fighters[1], 0, kindEmpty, 9);
  EXPECT_TRUE(resolve(b).empty());
  EXPECT_EQ(b.fighters[0].life, 100);
  EXPECT_EQ(b.fighters[1].life, 94);
}
