#include <sstream>
#include <string>

#include "allegro_fixture.h"
#include "battle/battle.h"

namespace {

// From the lives given, both sides' spells per slot; the lines sent, each as the side's number and A,
// D, H or L with its number, or S for a special after its effect; the lives after; who fell (-1 none).
const std::tuple<CT, CT, int, int, const char *, const char *, int, int, int> CASES[] = {
    {Summer, Winter, 100, 100, "A10 S20 D6 A8 H4 -", "2S 1A10 1D6 2A8 1L8 1H2", 94, 82, -1},
    {Fall, Winter, 100, 95, "A2 S20 A9 - A9 -", "2S 1A2 1A9 1A9", 100, 100, -1},
    {Spring, Winter, 100, 10, "A2 S20 D4 -", "2S 1A2 1D4", 100, 0, 1},
    {Spring, Winter, 5, 6, "H2 S20 D4 A9", "2S 1H1 1D4 2A9 1L9", 0, 0, 0},
    {Spring, Fall, 10, 10, "A15 A12", "1A15 2A12 1L12", 0, 10, 0},
    {Summer, Fall, 100, 100, "S20 D10 S20 A5", "1S 2D10 1L20 2L20 1S 2A5 1L25 2L30", 55, 50, -1},
    {Spring, Summer, 100, 100, "S10 S20", "1S 2S 1L30 2L20", 70, 80, -1},
    {Fall, Spring, 50, 100, "A9 S10 D9 A7 H10 -", "2S 1A9 2L4 1D9 2A7 1L3 1H2", 49, 96, -1},
    {Fall, Spring, 50, 100, "H1 - H2 S10", "1H0 2S 1H0", 50, 100, -1},
    {Fall, Summer, 95, 99, "H20 H6 S15 A20 S15 -", "1H5 2H1 1S 2A20 1L20 1S", 95, 100, -1}};

std::string lines(const std::string &brief, const unit *units) {
  const std::string says[] = {" casts an attack spell with # damage", " casts a defensive spell with a strength of #",
                              " casts a healing spell and receives # health points", " loses # health points",
                              " uses his special skill."};
  const std::string effects[] = {"The effect of all enemy spells is cut by 50%",
                                 "He deals 30 damage and loses 20 health points", "He receives 15 health points",
                                 "All attacks will raise and all defenses will reduce its life"};
  std::istringstream in(brief);
  std::string out;
  for (std::string w; in >> w;) {
    std::string said = says[std::string("ADHLS").find(w[1])];
    if (w[1] == 'S') out += ' ' + effects[units[w[0] - '1'].getType()] + '|';
    if (w[1] != 'S') said.replace(said.find('#'), 1, w.substr(2));
    out += " Player " + w.substr(0, 1) + said + '|';
  }
  return out;
}

}  // namespace

class turnTest : public allegroTest {
 protected:
  static inline int answer, questions;  // to the quit question, and how often it was asked
  int (*savedAskQuit)() = std::exchange(askQuit, [] { return key[KEY_ENTER] = 1, ++questions, answer; });
  unit units[2];

  turnTest() { answer = questions = 0, units[0].setValues("Fall", Fall), units[1].setValues("Winter", Winter); }
  ~turnTest() override { askQuit = savedAskQuit; }

  // Per word a key (UDLREBX) held n ticks (1) then let go, +K/-K to hold or let go, .n: n ticks.
  static std::string play(battleState &b, const std::string &script) {
    const int codes[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_BACKSPACE, KEY_ESC, KEY_MAX - 1};
    std::istringstream in(script);
    for (std::string w; in >> w;) {
      const bool toggle = w[0] == '+' || w[0] == '-';
      const int k = codes[std::string("UDLREBX.").find(w[toggle])];
      key[k] = w[0] != '-' && k != KEY_MAX - 1;
      for (int n = toggle ? 0 : w.size() > 1 ? std::stoi(w.substr(1)) : 1; n > 0; --n) battleTick(b);
      if (!toggle && k != KEY_MAX - 1) key[k] = 0, battleTick(b);
    }
    const fightUnit &p = b.fighters[0];
    std::ostringstream out;
    out << b.phase << ' ' << b.selectedKind << ' ' << b.chosenMana << " |";
    for (int i = 0; i < 3; ++i)
      out << ' ' << (p.spellKind[i] < 0 ? "-" : "ADHS"[p.spellKind[i]] + std::to_string(p.spellMana[i]));
    out << ' ' << p.mana << " | " << b.slot << ' ' << b.slotTimer << " | " << p.life << ' ' << b.fighters[1].life;
    return out.str();
  }
};

TEST_F(turnTest, slotsResolveAsTheRulesHaveThem) {
  for (const auto &[player, opponent, life0, life1, cast, sent, after0, after1, fallen] : CASES) {
    units[0].setValues(names[player], player), units[1].setValues(names[opponent], opponent);
    battleState b(units);
    b.phase = resolveSlots, b.result = -1, b.fighters[0].life = life0, b.fighters[1].life = life1;
    std::istringstream in(cast);
    for (std::string spell[2]; in >> spell[0] >> spell[1]; resolveSlot(b), ++b.slot)
      for (int s = 0; s < 2; ++s)
        b.fighters[s].spellKind[b.slot] = int(std::string("-ADHS").find(spell[s][0])) - 1,
        b.fighters[s].spellMana[b.slot] = spell[s].size() > 1 ? std::stoi(spell[s].substr(1)) : 0;
    std::string log;  // under the opening line
    for (int i = b.log.count - 2; i >= 0; --i) log += b.log.lines[i].text + '|';
    const int phase = fallen < 0 ? resolveSlots : fallen ? opponentDefeated : playerDefeated;
    EXPECT_EQ(std::tuple(log, b.fighters[0].life, b.fighters[1].life, b.result, b.phase, b.slotTimer),
              std::tuple(lines(sent, units), after0, after1, fallen, phase, 64));
  }
}

// A Fall player (special 15). Backspace with nothing queued is spent: held on, it does nothing.
TEST_F(turnTest, thePlayerQueuesSpellsWithinTheRules) {
  std::istringstream cases(
      "U5: 0 3 0 | - - - 20; U D D: 0 1 0 | - - - 20; E: 1 0 1 | - - - 20; E U5: 1 0 6 | - - - 20; "
      "E U30 D3: 1 0 17 | - - - 20; E D40 R5: 1 0 2 | - - - 20; E R R L5: 1 0 2 | - - - 20; "
      "E U5 E E U20: 1 0 14 | A6 - - 14; E U5 E E B3: 0 0 1 | A6 - - 14; E U5 E D E E B: 0 1 1 | A6 - - 14; "
      "+B E U5 E -B: 0 0 6 | A6 - - 14; D D E U6 E: 0 2 6 | H6 - - 14; D D E U4 E: 0 2 4 | H4 - - 16; D D E E: 0 2 2 | "
      "H2 - - 18; "
      "E U17 E D D E E: 3 2 2 | A18 H2 - 0 | 0 63; "
      "E U18 E D D E E: 3 2 1 | A19 H1 - 0 | 0 63; E U5 E U E: 0 3 0 | A6 - - 14; "
      "E U4 E U E D3 E: 3 3 15 | A5 S15 - 0 | 0 63; E E E E E E: 3 0 1 | A1 A1 A1 17 | 0 63; "
      "E U25 E: 3 0 20 | A20 - - 0 | 0 63");
  for (std::string script, state; std::getline(cases, script, ':') && std::getline(cases, state, ';');) {
    keyStates.resetAll();  // a release the last battle did not see
    battleState b(units);
    EXPECT_EQ(" " + play(b, script).substr(0, state.size() - 1), state) << script;
  }
}

TEST_F(turnTest, slotsPlayEvery64TicksWhileEitherSideHasOneThenTheTurnOrTheBattleEnds) {
  srand(3);
  battleState b(units);
  EXPECT_EQ(b.log.lines[0].text + std::to_string(b.log.lines[0].color), " Beginning next match, Fall versus Winter0");
  for (int s = 0; s < 2; ++s) b.halveEnemySpells[s] = b.invertEnemySpells[s] = true;  // end as it plans
  play(b, "E U25 E");
  EXPECT_NE(b.fighters[1].spellKind[0], kindEmpty);
  b.fighters[1] = {100, 20, {kindDefense, 10, -1}, {5, -1, 0}};  // kind 10 casts nothing but is played
  b.selectedKind = kindHeal;
  EXPECT_EQ(play(b, ".62"), "3 2 20 | A20 - - 0 | 0 1 | 100 100");
  EXPECT_EQ(play(b, ".1"), "3 2 20 | - - - 0 | 1 64 | 100 85");
  EXPECT_EQ(play(b, ".64"), "4 2 20 | - - - 0 | 1 64 | 100 85");
  EXPECT_EQ(play(b, ".1"), "0 0 20 | - - - 20 | 1 64 | 100 85");
  EXPECT_EQ(std::pair(b.queuedCount, b.fighters[1].spellKind[0]), std::pair(0, kindDefense));
  b.phase = resolveSlots, b.slot = 2, b.slotTimer = 1;  // after slot 2 the turn ends, whatever is next
  EXPECT_EQ(play(b, ".1"), "4 0 20 | - - - 20 | 2 64 | 100 85");
  // A fall: 8 blank lines, the outcome, 64 ticks; a quit declined drops ticks and keys pending.
  b.fighters[0].spellKind[0] = kindAttack, b.fighters[0].spellMana[0] = 9, b.fighters[1] = {3};
  b.phase = resolveSlots, b.slot = 0, b.slotTimer = 1;
  timerCounter = 5;
  EXPECT_EQ(play(b, ".60 X3"), "6 0 20 | - - - 20 | 0 1 | 100 0");
  EXPECT_EQ(std::tuple(questions, int(timerCounter), keyStates[KEY_ENTER], b.result), std::tuple(1, 0, 0, 1));
  std::string log;
  for (int i = 0; i < 10; ++i) log += b.log.lines[i].text + '|';
  EXPECT_EQ(log, " You have won!||||||||| Player 2 loses 9 health points|");
  EXPECT_EQ(std::pair(b.log.lines[0].color, b.running), std::pair(makecol(204, 0, 0), true));
  battleState lost(units);  // the player falls instead: the outcome in the opponent's colour
  lost.fighters[0] = {3, 20, {-1, -1, -1}, {0, 0, 0}}, lost.fighters[1] = {100, 20, {kindAttack, -1, -1}, {9, 0, 0}};
  lost.phase = resolveSlots, lost.slot = 0, lost.slotTimer = 1;
  play(lost, ".2");
  EXPECT_EQ(std::pair(lost.log.lines[0].text, lost.log.lines[0].color),
            std::pair(std::string(" You have lost."), makecol(0, 0, 204)));
  answer = 1;  // at the pause's last tick
  play(b, "X");
  EXPECT_EQ(std::tuple(questions, b.running, b.result), std::tuple(2, false, -1));
}

using soakTest = turnTest;

TEST_F(soakTest, randomBattlesKeepTheRulesAtEveryTick) {
  askQuit = [] { return answer = rand() % 3 == 0; };  // random wizards, keys and answers, seeded
  srand(97);
  const int keys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_BACKSPACE, KEY_ESC};
  const int odds[] = {4500, 1500, 2000, 2000, 3500, 500, 2};  // in 10000
  for (int n = 0; n < 1000; ++n) {
    const int type = rand() % 4, other = (type + 1 + rand() % 3) % 4;
    units[0].setValues(names[type], CT(type)), units[1].setValues(names[other], CT(other)), answer = 0;
    battleState b(units);
    const fightUnit &p = b.fighters[0], &o = b.fighters[1];
    for (long tick = 1; b.running; ++tick) {
      for (int i = 0; i < 7; ++i) key[keys[i]] = rand() % 10000 < odds[i];
      battleTick(b);
      int spent = 0, filled = 0;  // while choosing, the queue holds what was paid for
      for (int i = 0; i < 3; ++i) spent += i < b.queuedCount ? p.spellMana[i] : 0, filled += p.spellKind[i] >= 0;
      ASSERT_TRUE(b.phase >= 0 && b.phase <= 8 && b.selectedKind >= 0 && b.selectedKind <= 3 && p.life >= 0 &&
                  p.life <= 100 && o.life >= 0 && o.life <= 100 && o.mana == 20 && tick < 1000000 &&
                  (b.phase > chooseMana || (filled == b.queuedCount && spent + p.mana == 20)))
          << "battle " << n << " tick " << tick;
    }
    ASSERT_EQ(b.result == -1, answer == 1) << n;
    ASSERT_TRUE(b.result == -1 || (b.fighters[b.result].life == 0 && b.fighters[1 - b.result].life > 0)) << n;
  }
}
