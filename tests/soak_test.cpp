#include <sstream>

#include "allegro_fixture.h"
#include "battle/battle.h"
#include "random_player.h"

namespace {

// What the rules allow after any tick; an empty text means all is well.
std::string broken(const battleState &b, int queuedBefore, int manaBefore) {
  std::ostringstream why;
  const fightUnit &p = b.fighters[0];
  const fightUnit &o = b.fighters[1];
  if (b.phase < chooseSpell || b.phase > defeatPause) why << "phase " << b.phase << "; ";
  for (const fightUnit &f : b.fighters) {
    if (f.life < 0 || f.life > 100) why << "life " << f.life << "; ";
  }
  if (p.mana < 0 || p.mana > 20) why << "mana " << p.mana << "; ";
  if (o.mana != 20) why << "opponent mana " << o.mana << "; ";
  for (int i = 0; i < 3; ++i) {
    const int kind = o.spellKind[i];
    const int amount = o.spellMana[i];
    const bool legal = kind == kindEmpty || (kind == 10 && amount == -1) ||
                       (kind >= kindAttack && kind <= kindSpecial && amount >= 1 && amount <= 20);
    if (!legal) why << "opponent slot " << i << ' ' << kind << ':' << amount << "; ";
  }
  if (b.selectedKind < 0 || b.selectedKind > 3) why << "cursor " << b.selectedKind << "; ";
  if (b.queuedCount < 0 || b.queuedCount > 3) why << "queued " << b.queuedCount << "; ";
  if (b.queuedCount == queuedBefore + 1) {
    const int kind = p.spellKind[b.queuedCount - 1];
    const int amount = p.spellMana[b.queuedCount - 1];
    const int cost = manaSpecial[b.units[0].getType()];
    const bool legal =
        kind == kindSpecial ? amount == cost && cost <= manaBefore : amount >= 1 && amount <= std::min(20, manaBefore);
    if (!legal || (kind == kindHeal && amount % 2 == 1 && manaBefore != 1)) {
      why << "queued " << kind << ':' << amount << " from " << manaBefore << "; ";
    }
  }
  if (b.phase == chooseSpell || b.phase == chooseMana) {
    int spent = 0;
    for (int i = 0; i < 3; ++i) {
      const bool queued = i < b.queuedCount;
      if (queued) spent += p.spellMana[i];
      if (queued != (p.spellKind[i] != kindEmpty)) why << "slot " << i << " kind " << p.spellKind[i] << "; ";
    }
    if (spent + p.mana != 20) why << "spent " << spent << " with " << p.mana << " left; ";
  }
  return why.str();
}

}  // namespace

using soakTest = allegroTest;

TEST_F(soakTest, randomPlayersFinishEveryBattleWithinTheRules) {
  const int BATTLES = 2000;
  // Over eight hours of play. Nothing forces an end, but even with Esc never pressed the longest of
  // these battles (a Fall player against Winter) ran about 263 000 ticks.
  const long TICK_LIMIT = 1000000;
  int (*const savedAskQuit)() = askQuit;
  askQuit = randomPlayer::answerAtRandom;
  randomPlayer::seed(20240611, 97);
  int outcomes[3] = {0, 0, 0};  // quit, lost, won
  long longest = 0;
  long total = 0;
  for (int n = 0; n < BATTLES; ++n) {
    unit units[2];
    randomPlayer::chooseWizards(units);
    battleState b(units);
    randomPlayer::quitConfirmed = false;
    long tick = 0;
    while (b.running) {
      randomPlayer::pressKeys();
      const int queuedBefore = b.queuedCount;
      const int manaBefore = b.fighters[0].mana;
      battleTick(b);
      ++tick;
      const std::string why = broken(b, queuedBefore, manaBefore);
      ASSERT_TRUE(why.empty()) << "battle " << n << " tick " << tick << ": " << why;
      ASSERT_LE(tick, TICK_LIMIT) << "battle " << n << " does not end";
    }
    if (randomPlayer::quitConfirmed) {
      ASSERT_EQ(b.result, -1) << "battle " << n;
    } else {
      ASSERT_TRUE(b.result == 0 || b.result == 1) << "battle " << n << " result " << b.result;
      ASSERT_EQ(b.fighters[b.result].life, 0) << "battle " << n;
      ASSERT_GT(b.fighters[1 - b.result].life, 0) << "battle " << n;
    }
    ++outcomes[b.result + 1];
    longest = std::max(longest, tick);
    total += tick;
  }
  askQuit = savedAskQuit;
  // Every way out must have been taken, or the run proved little.
  EXPECT_GT(outcomes[0], 0);
  EXPECT_GT(outcomes[1], 0);
  EXPECT_GT(outcomes[2], 0);
  RecordProperty("longestBattleTicks", static_cast<int>(longest));
  std::cout << "quit " << outcomes[0] << ", lost " << outcomes[1] << ", won " << outcomes[2] << "; " << total
            << " ticks, the longest battle " << longest << "\n";
}
