#include <algorithm>
#include <array>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "allegro_fixture.h"
#include "battle/battle.h"

namespace {

// The log's lines, each with the space the log puts in front; `n` is 1 for the player, 2 for the opponent.
std::string player(int n) { return " Player " + std::to_string(n); }
std::string attack(int n, int damage) {
  return player(n) + " casts an attack spell with " + std::to_string(damage) + " damage";
}
std::string defense(int n, int strength) {
  return player(n) + " casts a defensive spell with a strength of " + std::to_string(strength);
}
std::string heal(int n, int gain) {
  return player(n) + " casts a healing spell and receives " + std::to_string(gain) + " health points";
}
std::string loses(int n, int points) { return player(n) + " loses " + std::to_string(points) + " health points"; }
std::string special(int n) { return player(n) + " uses his special skill."; }
const std::string springEffect = " The effect of all enemy spells is cut by 50%";
const std::string summerEffect = " He deals 30 damage and loses 20 health points";
const std::string fallEffect = " He receives 15 health points";
const std::string winterEffect = " All attacks will raise and all defenses will reduce its life";

struct resolution {
  CT player, opponent;
  int life[2];
  std::vector<std::array<const char *, 2>> slots;
  std::vector<std::string> sent;
  int lifeAfter[2];
  int fallen;
};

// Slots resolved one after the other. Columns: the two wizards and their lives; per slot the player's spell and the
// opponent's, written as the opponent's tables write them (A attack, D defense, H heal, S special, with the mana; -
// for none); the lines sent, oldest first; the lives after; the side that fell, -1 for none.
// clang-format off
const resolution RESOLUTIONS[] = {
    {Summer, Winter, {100, 100}, {{"A10", "S20"}, {"D6", "A8"}, {"H4", "-"}},
     {winterEffect, special(2), attack(1, 10), defense(1, 6), attack(2, 8), loses(1, 8), heal(1, 2)}, {94, 82}, -1},
    // An attack heals a Winter caster by a third of it, truncated.
    {Fall, Winter, {100, 90}, {{"A2", "S20"}, {"A9", "-"}, {"A9", "-"}},
     {winterEffect, special(2), attack(1, 2), attack(1, 9), attack(1, 9)}, {100, 96}, -1},
    // An inverted defense kills with no damage pending, also a life left at exactly 0.
    {Spring, Winter, {100, 12}, {{"A2", "S20"}, {"D4", "-"}},
     {winterEffect, special(2), attack(1, 2), defense(1, 4)}, {100, 0}, 1},
    // Both fall in one slot: the player is tested first and loses.
    {Spring, Winter, {5, 6}, {{"H2", "S20"}, {"D4", "A9"}},
     {winterEffect, special(2), heal(1, 1), defense(1, 4), attack(2, 9), loses(1, 9)}, {0, 0}, 0},
    // When the player falls, the opponent's damage of that slot is not applied.
    {Spring, Fall, {10, 10}, {{"A15", "A12"}}, {attack(1, 15), attack(2, 12), loses(1, 12)}, {0, 10}, 0},
    // Summer's special: 30 to the enemy and 20 to its caster; a defense takes off the 30 what it can.
    {Summer, Fall, {100, 100}, {{"S20", "D10"}},
     {summerEffect, special(1), defense(2, 10), loses(1, 20), loses(2, 20)}, {80, 80}, -1},
    // Both cast a special: the player's comes first.
    {Spring, Summer, {100, 100}, {{"S10", "S20"}},
     {springEffect, special(1), summerEffect, special(2), loses(1, 30), loses(2, 20)}, {70, 80}, -1},
    // Under Spring's special the enemy's spells count half, also a defense; attacks and defenses are told raw.
    {Fall, Spring, {50, 100}, {{"A9", "S10"}, {"D9", "A7"}, {"H10", "-"}},
     {springEffect, special(2), attack(1, 9), loses(2, 4), defense(1, 9), attack(2, 7), loses(1, 3), heal(1, 2)},
     {49, 96}, -1},
    // Fall's special gives 15 life.
    {Fall, Summer, {50, 100}, {{"S15", "-"}}, {fallEffect, special(1)}, {65, 100}, -1},
    // Heals and Fall's special stop at 100; a heal tells the life it really gave.
    {Fall, Summer, {95, 99}, {{"H20", "H6"}, {"S15", "A20"}},
     {heal(1, 5), heal(2, 1), fallEffect, special(1), attack(2, 20), loses(1, 20)}, {80, 100}, -1},
};
// clang-format on

// The player's queue, written as the opponent's tables are: A, D, H or S with the mana, - for an empty slot.
std::string queueOf(const fightUnit &f) {
  std::string out;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) out += ' ';
    out += f.spellKind[i] == kindEmpty ? std::string("-") : "ADHS"[f.spellKind[i]] + std::to_string(f.spellMana[i]);
  }
  return out;
}

// All a test looks at in a battle between ticks, in the order of the tables' columns below.
struct turnState {
  int phase, selected, amount;
  std::string queue = "- - -";
  int mana = 20, slot = 0, timer = 0, life = 100, enemyLife = 100;
  bool operator==(const turnState &) const = default;
};

std::ostream &operator<<(std::ostream &out, const turnState &s) {
  return out << "phase " << s.phase << ", selected " << s.selected << ", amount " << s.amount << ", queue " << s.queue
             << ", mana " << s.mana << ", slot " << s.slot << ", timer " << s.timer << ", lives " << s.life << ' '
             << s.enemyLife;
}

turnState seen(const battleState &b) {
  return {b.phase, b.selectedKind, b.chosenMana,       queueOf(b.fighters[0]), b.fighters[0].mana,
          b.slot,  b.slotTimer,    b.fighters[0].life, b.fighters[1].life};
}

}  // namespace

class turnTest : public allegroTest {
 protected:
  static inline int answer;  // to the quit question
  int (*savedAskQuit)() = std::exchange(askQuit, [] {
    key[KEY_SPACE] = 1;  // still held from answering the dialog
    return answer;
  });
  unit units[2];

  turnTest() {
    answer = 0;
    units[0].setValues("Fall", Fall);
    units[1].setValues("Winter", Winter);
  }
  ~turnTest() override { askQuit = savedAskQuit; }

  // Each word a key held for one tick then let go for one: up, down, left, right, enter, back, esc; `key*n` holds
  // it n ticks; `wait*n` lets n ticks pass with no key.
  static void play(battleState &b, const std::string &script) {
    const std::map<std::string, int> codes = {{"up", KEY_UP},       {"down", KEY_DOWN},   {"left", KEY_LEFT},
                                              {"right", KEY_RIGHT}, {"enter", KEY_ENTER}, {"back", KEY_BACKSPACE},
                                              {"esc", KEY_ESC},     {"wait", KEY_MAX}};
    std::istringstream words(script);
    for (std::string word; words >> word;) {
      const std::size_t star = word.find('*');
      const int code = codes.at(word.substr(0, star));
      const int ticks = star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
      if (code != KEY_MAX) key[code] = 1;
      for (int n = 0; n < ticks; ++n) battleTick(b);
      if (code == KEY_MAX) continue;
      key[code] = 0;
      battleTick(b);
    }
  }
};

TEST_F(turnTest, slotsResolveAsTheRulesHaveThem) {
  for (const resolution &r : RESOLUTIONS) {
    units[0].setValues(names[r.player], r.player);
    units[1].setValues(names[r.opponent], r.opponent);
    battleState b(units);
    b.result = -1;
    for (int side = 0; side < 2; ++side) b.fighters[side].life = r.life[side];
    for (const auto &slot : r.slots) {
      for (int side = 0; side < 2; ++side) {
        const std::string spell = slot[side];
        b.fighters[side].spellKind[b.slot] = spell == "-" ? kindEmpty : int(std::string("ADHS").find(spell[0]));
        b.fighters[side].spellMana[b.slot] = spell == "-" ? 0 : std::stoi(spell.substr(1));
      }
      resolveSlot(b);
      ++b.slot;
    }
    std::vector<std::string> sent;  // oldest first, under the opening line
    for (int i = b.log.count - 2; i >= 0; --i) sent.push_back(b.log.lines[i].text);
    SCOPED_TRACE(names[r.player] + " against " + names[r.opponent] + " from " + std::to_string(r.life[0]));
    EXPECT_EQ(sent, r.sent);
    EXPECT_EQ(b.fighters[0].life, r.lifeAfter[0]);
    EXPECT_EQ(b.fighters[1].life, r.lifeAfter[1]);
    EXPECT_EQ(b.result, r.fallen);
  }
}

// A Fall player (special 15) against Winter, from a fresh battle.
TEST_F(turnTest, thePlayerQueuesSpellsWithinTheRules) {
  const struct {
    const char *keys;
    turnState after;
    bool backspaceHeld = false;  // down from the start
  } cases[] = {
      // clang-format off
      // keys                                   phase         selected     amount queue       mana slot timer
      // The cursor moves once per press and wraps both ways.
      {"up*5 down down",                          {chooseSpell,  kindDefense, 0}},
      // The amount starts at 1; held Up and Down count every tick, Right and Left every press; 1 to 20.
      {"enter up*30 down*3",                      {chooseMana,   kindAttack,  17}},
      {"enter down*40 right*5 right left*5",      {chooseMana,   kindAttack,  2}},
      // Queued spells are paid for; the amount stays within the mana left.
      {"enter up*5 enter enter up*20",            {chooseMana,   kindAttack,  14, "A6 - -",   14}},
      // Backspace goes back to the spells, then takes back only the last one queued; pressed with nothing queued,
      // it is spent, and held on it takes back nothing later.
      {"enter up*5 enter enter back*3",           {chooseSpell,  kindAttack,  1,  "A6 - -",   14}},
      {"enter up*5 enter down enter enter back",  {chooseSpell,  kindDefense, 1,  "A6 - -",   14}},
      {"enter up*5 enter",                        {chooseSpell,  kindAttack,  6,  "A6 - -",   14}, true},
      // Heals are queued even: an odd amount drops a unit, 1 becomes 2, and stays 1 with 1 mana left.
      {"down down enter up*6 enter",              {chooseSpell,  kindHeal,    6,  "H6 - -",   14}},
      {"enter up*17 enter down down enter enter", {resolveSlots, kindHeal,    2,  "A18 H2 -", 0,   0,   63}},
      {"enter up*18 enter down down enter enter", {resolveSlots, kindHeal,    1,  "A19 H1 -", 0,   0,   63}},
      // The special needs its 15 mana, and then costs exactly that.
      {"enter up*5 enter up enter",               {chooseSpell,  kindSpecial, 0,  "A6 - -",   14}},
      {"enter up*4 enter up enter down*3 enter",  {resolveSlots, kindSpecial, 15, "A5 S15 -", 0,   0,   63}},
      // Three spells, or all 20 mana (above), end the input; slot 0 starts playing at once.
      {"enter enter enter enter enter enter",     {resolveSlots, kindAttack,  1,  "A1 A1 A1", 17,  0,   63}},
      // clang-format on
  };
  for (const auto &c : cases) {
    keyStates.resetAll();  // a release the last battle did not see
    battleState b(units);
    key[KEY_BACKSPACE] = c.backspaceHeld;
    play(b, c.keys);
    EXPECT_EQ(seen(b), c.after) << c.keys;
  }
  // An amount to set with no mana left ends the input.
  battleState b(units);
  b.phase = chooseMana;
  b.fighters[0].mana = 0;
  battleTick(b);
  EXPECT_EQ(b.phase, opponentPlans);
}

TEST_F(turnTest, slotsPlayEvery64TicksWhileEitherSideHasOneThenTheTurnOrTheBattleEnds) {
  battleState b(units);
  std::fill_n(b.halveEnemySpells, 2, true);  // effects of the last turn, which end as the opponent plans
  std::fill_n(b.invertEnemySpells, 2, true);
  srand(2);  // the first rand() % 19 is 3: Winter at full life plays aggressive row 5 + 3
  play(b, "enter up*25 enter");
  EXPECT_EQ(queueOf(b.fighters[1]), "A17 D3 -");
  b.fighters[1] = {.spellKind = {kindDefense, 10, kindEmpty}, .spellMana = {5, -1, 0}};  // kind 10 casts nothing
  b.selectedKind = kindHeal;
  play(b, "wait*63");  // slot 0 at the 64th tick: the defense takes 5 off the attack; slot 1 plays for its kind 10
  EXPECT_EQ(seen(b), (turnState{resolveSlots, kindHeal, 20, "- - -", 0, 1, 64, 100, 85}));
  play(b, "wait*65");  // slot 2 is empty on both sides: the turn ends, and the next begins
  EXPECT_EQ(seen(b), (turnState{chooseSpell, kindAttack, 20, "- - -", 20, 1, 64, 100, 85}));
  b.phase = resolveSlots;  // after slot 2 the turn ends, whatever slot 3 would hold
  b.slot = 2;
  b.slotTimer = 1;
  play(b, "wait");
  EXPECT_EQ(seen(b), (turnState{newTurn, kindAttack, 20, "- - -", 20, 2, 64, 100, 85}));

  // A fall: 8 blank lines, the outcome, 64 ticks. A quit declined drops the ticks and the keys pending.
  b.fighters[0].spellKind[0] = kindAttack;
  b.fighters[0].spellMana[0] = 9;
  b.fighters[1] = {.life = 3};
  b.phase = resolveSlots;
  b.slot = 0;
  b.slotTimer = 1;
  timerCounter = 5;
  play(b, "wait*60 esc*3");
  EXPECT_EQ(seen(b), (turnState{victoryPause, kindAttack, 20, "- - -", 20, 0, 1, 100, 0}));
  EXPECT_EQ(timerCounter, 0);
  EXPECT_FALSE(keyStates[KEY_SPACE]);
  const std::string logLines[] = {" You have won!", "", "", "", "", "", "", "", "", " Player 2 loses 9 health points"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(b.log.lines[i].text, logLines[i]) << "row " << i;
  EXPECT_EQ(b.log.lines[0].color, makecol(204, 0, 0));
  answer = 1;  // at the pause's last tick
  play(b, "esc");
  EXPECT_EQ(b.result, -1);
  b.phase = playerDefeated;  // had the player fallen: the outcome in the opponent's colour
  play(b, "wait");
  EXPECT_EQ(b.log.lines[0].text, " You have lost.");
  EXPECT_EQ(b.log.lines[0].color, makecol(0, 0, 204));
}

using soakTest = turnTest;

TEST_F(soakTest, randomBattlesKeepTheRulesAtEveryTick) {
  askQuit = [] { return answer = rand() % 3 == 0; };  // random wizards, keys and answers, seeded
  srand(97);
  const int keys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_BACKSPACE, KEY_ESC};
  const int odds[] = {4500, 1500, 2000, 2000, 3500, 500, 2};  // in 10000
  for (int n = 0; n < 1000; ++n) {
    units[0].type = CT(rand() % 4);
    units[1].type = CT(rand() % 4);
    answer = 0;
    battleState b(units);
    const fightUnit &p = b.fighters[0], &o = b.fighters[1];
    for (long tick = 1; b.running; ++tick) {
      for (int i = 0; i < 7; ++i) key[keys[i]] = rand() % 10000 < odds[i];
      battleTick(b);
      const auto where = [&] { return " in battle " + std::to_string(n) + " at tick " + std::to_string(tick); };
      ASSERT_TRUE(b.phase >= chooseSpell && b.phase <= defeatPause) << "a phase of the nine" << where();
      ASSERT_TRUE(b.selectedKind >= kindAttack && b.selectedKind <= kindSpecial) << "the cursor on a button" << where();
      ASSERT_TRUE(p.life >= 0 && p.life <= 100) << "the player's life within 0 to 100" << where();
      ASSERT_TRUE(o.life >= 0 && o.life <= 100) << "the opponent's life within 0 to 100" << where();
      ASSERT_EQ(o.mana, 20) << "the opponent's mana untouched" << where();
      ASSERT_LT(tick, 1000000) << "the battle ends" << where();
      int spent = 0, filled = 0;  // while choosing, the queue holds what was paid for
      for (int i = 0; i < b.queuedCount; ++i) spent += p.spellMana[i];
      for (int kind : p.spellKind) filled += kind != kindEmpty;
      if (b.phase > chooseMana) continue;
      ASSERT_EQ(filled, b.queuedCount) << "the queue holds the spells counted" << where();
      ASSERT_EQ(spent + p.mana, 20) << "the mana left and the mana queued make 20" << where();
    }
    ASSERT_EQ(b.result == -1, answer == 1) << "a quit only when confirmed, battle " << n;
    if (b.result == -1) continue;
    ASSERT_EQ(b.fighters[b.result].life, 0) << "the loser at 0, battle " << n;
    ASSERT_GT(b.fighters[1 - b.result].life, 0) << "the winner alive, battle " << n;
  }
}
