#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "allegro_fixture.h"
#include "battle/battle.h"

// The log lines a slot sent, each with its colour, in the order sent.
using lines = std::vector<std::pair<std::string, int>>;

class resolveTest : public allegroTest {
 protected:
  unit units[2];
  std::optional<battleState> battle;
  int red = 0;
  int blue = 0;

  void SetUp() override {
    allegroTest::SetUp();
    red = makecol(204, 0, 0);
    blue = makecol(0, 0, 204);
  }

  // A fresh battle between the two wizard types, in place of the last one.
  battleState &meet(CT player, CT opponent) {
    units[0].setValues(names[player], player);
    units[1].setValues(names[opponent], opponent);
    return battle.emplace(units);
  }

  // Queues both sides' spells of the slot about to be resolved: the player's, then the opponent's.
  static void cast(battleState &b, int playerKind, int playerMana, int opponentKind = kindEmpty, int opponentMana = 0) {
    b.fighters[0].spellKind[b.slot] = playerKind;
    b.fighters[0].spellMana[b.slot] = playerMana;
    b.fighters[1].spellKind[b.slot] = opponentKind;
    b.fighters[1].spellMana[b.slot] = opponentMana;
  }

  static std::pair<int, int> lives(const battleState &b) { return {b.fighters[0].life, b.fighters[1].life}; }

  // Resolves b.slot and returns the lines it sent, in the order sent.
  static lines resolve(battleState &b) {
    b.log.send("mark", 0);
    resolveSlot(b);
    lines sent;
    for (int i = 0; b.log.lines[i].text != " mark"; ++i) {
      sent.insert(sent.begin(), {b.log.lines[i].text, b.log.lines[i].color});
    }
    return sent;
  }
};

TEST_F(resolveTest, workedExampleSlotBySlot) {
  battleState &b = meet(Summer, Winter);
  b.slot = 0;
  cast(b, kindAttack, 10, kindSpecial, 20);
  EXPECT_EQ(resolve(b), (lines{{" All attacks will raise and all defenses will reduce its life", blue},
                               {" Player 2 uses his special skill.", blue},
                               {" Player 1 casts an attack spell with 10 damage", red}}));
  EXPECT_TRUE(b.opponentFirst);
  EXPECT_EQ(b.slotTimer, 64);
  EXPECT_EQ(lives(b), std::pair(100, 100));  // healed by 3, capped

  b.slot = 1;
  cast(b, kindDefense, 6, kindAttack, 8);
  EXPECT_EQ(resolve(b), (lines{{" Player 1 casts a defensive spell with a strength of 6", red},
                               {" Player 2 casts an attack spell with 8 damage", blue},
                               {" Player 1 loses 8 health points", red}}));
  EXPECT_FALSE(b.opponentFirst);
  EXPECT_EQ(lives(b), std::pair(92, 82));

  b.slot = 2;
  cast(b, kindHeal, 4);
  EXPECT_EQ(resolve(b), (lines{{" Player 1 casts a healing spell and receives 2 health points", red}}));
  EXPECT_EQ(lives(b), std::pair(94, 82));
  EXPECT_EQ(b.phase, chooseSpell);  // nobody fell; the turn flow decides what follows
}

TEST_F(resolveTest, thePlayerIsHitAndTestedFirst) {
  battleState &b = meet(Spring, Fall);
  b.phase = resolveSlots;
  b.fighters[0].life = b.fighters[1].life = 10;
  cast(b, kindAttack, 15, kindAttack, 12);
  EXPECT_EQ(resolve(b), (lines{{" Player 1 casts an attack spell with 15 damage", red},
                               {" Player 2 casts an attack spell with 12 damage", blue},
                               {" Player 1 loses 12 health points", red}}));
  EXPECT_EQ(lives(b), std::pair(0, 10));  // its damage is never applied
  EXPECT_EQ(std::pair(b.result, b.phase), std::pair(0, playerDefeated));

  // Still the player when an inverted defense has already taken the opponent below 0.
  battleState &c = meet(Spring, Winter);
  c.invertEnemySpells[1] = true;
  c.fighters[0].life = 5;
  c.fighters[1].life = 6;
  cast(c, kindDefense, 4, kindAttack, 9);
  resolve(c);
  EXPECT_EQ(std::pair(c.result, c.phase), std::pair(0, playerDefeated));
  EXPECT_EQ(lives(c), std::pair(0, 0));
}

TEST_F(resolveTest, winterEffectTurnsAttacksIntoHealsAndDefensesIntoWounds) {
  battleState &b = meet(Fall, Winter);
  b.phase = resolveSlots;
  b.invertEnemySpells[1] = true;
  // An inverted defense protects nobody and hurts the effect's caster three times its strength.
  b.fighters[1].life = 50;
  cast(b, kindDefense, 5, kindAttack, 7);
  resolve(b);
  EXPECT_EQ(lives(b), std::pair(93, 35));
  // Attacks heal it by a third: 2 heals nothing, 9 heals 3, but not above 100.
  const int heals[][3] = {{2, 35, 35}, {9, 90, 93}, {9, 99, 100}};
  for (const auto &[mana, before, after] : heals) {
    b.fighters[1].life = before;
    cast(b, kindAttack, mana);
    resolve(b);
    EXPECT_EQ(b.fighters[1].life, after) << mana << " at " << before;
  }
  EXPECT_EQ(b.phase, resolveSlots);
  // A defense takes it to 0 before the damage step, which ends the battle with no damage pending.
  b.fighters[1].life = 10;
  cast(b, kindDefense, 4);
  EXPECT_EQ(resolve(b), (lines{{" Player 1 casts a defensive spell with a strength of 4", red}}));
  EXPECT_EQ(std::tuple(b.fighters[1].life, b.result, b.phase), std::tuple(0, 1, opponentDefeated));
}

TEST_F(resolveTest, summerSpecialCostsItsCasterTwenty) {
  battleState &b = meet(Summer, Fall);
  cast(b, kindSpecial, 20, kindDefense, 10);
  EXPECT_EQ(resolve(b), (lines{{" He deals 30 damage and loses 20 health points", red},
                               {" Player 1 uses his special skill.", red},
                               {" Player 2 casts a defensive spell with a strength of 10", blue},
                               {" Player 1 loses 20 health points", red},
                               {" Player 2 loses 20 health points", blue}}));
  EXPECT_EQ(lives(b), std::pair(80, 80));
  cast(b, kindSpecial, 20, kindAttack, 5);  // the enemy's attack adds to the caster's own 20
  resolve(b);
  EXPECT_EQ(lives(b), std::pair(55, 50));
}

TEST_F(resolveTest, springEffectHalvesByShiftingAndHealsReportTheirTrueGain) {
  battleState &b = meet(Fall, Spring);
  b.halveEnemySpells[1] = true;
  b.fighters[0].life = 50;
  cast(b, kindAttack, 9);
  EXPECT_EQ(resolve(b),
            (lines{{" Player 1 casts an attack spell with 9 damage", red}, {" Player 2 loses 4 health points", blue}}));
  EXPECT_EQ(b.fighters[1].life, 96);
  cast(b, kindDefense, 9, kindAttack, 7);  // a defense of 9 counts 4 against an attack of 7
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 47);
  // Heals are halved twice: 10 mana heals 2, 2 mana heals nothing, and the message says so; a
  // heal of 1 gains nothing even unhalved.
  const int heals[][4] = {{true, 10, 2, 49}, {true, 2, 0, 49}, {false, 1, 0, 49}};
  for (const auto &[halved, mana, gain, after] : heals) {
    b.halveEnemySpells[1] = halved;
    cast(b, kindHeal, mana);
    EXPECT_EQ(
        resolve(b),
        (lines{{" Player 1 casts a healing spell and receives " + std::to_string(gain) + " health points", red}}));
    EXPECT_EQ(b.fighters[0].life, after);
  }
}

TEST_F(resolveTest, gainsStopAtOneHundred) {
  battleState &b = meet(Fall, Summer);
  b.fighters[0].life = 95;
  b.fighters[1].life = 99;
  cast(b, kindHeal, 20, kindHeal, 6);
  EXPECT_EQ(resolve(b), (lines{{" Player 1 casts a healing spell and receives 5 health points", red},
                               {" Player 2 casts a healing spell and receives 1 health points", blue}}));
  EXPECT_EQ(lives(b), std::pair(100, 100));
  b.fighters[0].life = 90;
  cast(b, kindSpecial, 15);
  EXPECT_EQ(resolve(b), (lines{{" He receives 15 health points", red}, {" Player 1 uses his special skill.", red}}));
  EXPECT_EQ(b.fighters[0].life, 100);
  b.fighters[0].life = 70;
  resolve(b);
  EXPECT_EQ(b.fighters[0].life, 85);
}

TEST_F(resolveTest, orderOfActionsAroundSpecials) {
  // Both cast their special: the player's comes first, and the Summer numbers are fixed,
  // halving or not.
  battleState &b = meet(Spring, Summer);
  cast(b, kindSpecial, 10, kindSpecial, 20);
  EXPECT_EQ(resolve(b), (lines{{" The effect of all enemy spells is cut by 50%", red},
                               {" Player 1 uses his special skill.", red},
                               {" He deals 30 damage and loses 20 health points", blue},
                               {" Player 2 uses his special skill.", blue},
                               {" Player 1 loses 30 health points", red},
                               {" Player 2 loses 20 health points", blue}}));
  EXPECT_FALSE(b.opponentFirst);
  EXPECT_TRUE(b.halveEnemySpells[0]);
  EXPECT_EQ(lives(b), std::pair(70, 80));

  // The opponent's Spring special goes ahead of the player's attack and halves it at once.
  battleState &c = meet(Fall, Spring);
  cast(c, kindAttack, 10, kindSpecial, 10);
  EXPECT_EQ(resolve(c), (lines{{" The effect of all enemy spells is cut by 50%", blue},
                               {" Player 2 uses his special skill.", blue},
                               {" Player 1 casts an attack spell with 10 damage", red},
                               {" Player 2 loses 5 health points", blue}}));
  EXPECT_TRUE(c.opponentFirst);
  EXPECT_EQ(c.fighters[1].life, 95);
}
