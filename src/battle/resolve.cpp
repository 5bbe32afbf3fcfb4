#include <algorithm>
#include <string>

#include "battle/battle.h"

namespace {

std::string player(int side) { return "Player " + std::to_string(side + 1); }

// No gain of life lifts a side above 100.
void gainLife(fightUnit &f, int amount) { f.life = std::min(f.life + amount, 100); }

void castSpecial(battleState &b, int s) {
  const int e = 1 - s;
  const int colour = b.sideColour[s];
  switch (b.units[s].getType()) {
    case Spring:
      b.log.send("The effect of all enemy spells is cut by 50%", colour);
      b.halveEnemySpells[s] = true;
      break;
    case Summer:
      b.log.send("He deals 30 damage and loses 20 health points", colour);
      b.pendingDamage[s] += 20;
      b.pendingDamage[e] += 30;
      break;
    case Fall:
      b.log.send("He receives 15 health points", colour);
      gainLife(b.fighters[s], 15);
      break;
    case Winter:
      b.log.send("All attacks will raise and all defenses will reduce its life", colour);
      b.invertEnemySpells[s] = true;
      break;
  }
  b.log.send(player(s) + " uses his special skill.", colour);
}

// Side s casts its spell of the current slot against side 1 - s.
void act(battleState &b, int s) {
  const int e = 1 - s;
  fightUnit &self = b.fighters[s];
  fightUnit &enemy = b.fighters[e];
  const int raw = self.spellMana[b.slot];
  const int eff = b.halveEnemySpells[e] ? raw >> 1 : raw;
  const int colour = b.sideColour[s];
  switch (self.spellKind[b.slot]) {
    case kindAttack:
      b.log.send(player(s) + " casts an attack spell with " + std::to_string(raw) + " damage", colour);
      if (b.invertEnemySpells[e]) {
        gainLife(enemy, eff / 3);
      } else {
        b.pendingDamage[e] += eff;
      }
      break;
    case kindDefense:
      b.log.send(player(s) + " casts a defensive spell with a strength of " + std::to_string(raw), colour);
      // Under the enemy's Winter effect a defense hurts the enemy at once and protects nobody.
      if (b.invertEnemySpells[e]) {
        enemy.life -= 3 * eff;
      } else {
        b.pendingDamage[s] -= eff;
      }
      break;
    case kindHeal: {
      const int before = self.life;
      gainLife(self, eff / 2);
      // The message tells what was really gained, after the enemy's halving and the cap.
      b.log.send(
          player(s) + " casts a healing spell and receives " + std::to_string(self.life - before) + " health points",
          colour);
      break;
    }
    case kindSpecial:
      castSpecial(b, s);
      break;
    default:  // an empty slot, or a kind no spell has
      break;
  }
}

}  // namespace

void resolveSlot(battleState &b) {
  // The opponent goes first only to put its special ahead of a player spell that is not one.
  b.opponentFirst = b.fighters[0].spellKind[b.slot] != kindSpecial && b.fighters[1].spellKind[b.slot] == kindSpecial;
  b.pendingDamage[0] = b.pendingDamage[1] = 0;
  b.slotTimer = 64;
  const int first = b.opponentFirst ? 1 : 0;
  act(b, first);
  act(b, 1 - first);
  // The player is hit and tested first, so when both fall he is the one who loses.
  for (int j = 0; j < 2; ++j) {
    fightUnit &f = b.fighters[j];
    if (b.pendingDamage[j] > 0) {
      b.log.send(player(j) + " loses " + std::to_string(b.pendingDamage[j]) + " health points", b.sideColour[j]);
      f.life -= b.pendingDamage[j];
    }
    if (f.life <= 0) {
      f.life = 0;
      // An inverted defense can have taken the opponent below 0 in the slot that kills the player;
      // the player still loses, but no life is left negative.
      b.fighters[1].life = std::max(b.fighters[1].life, 0);
      b.result = j;
      b.phase = j == 1 ? opponentDefeated : playerDefeated;
      return;
    }
  }
}
