#include "combatants/wizard.h"

void unit::setValues(std::string newName, CT newType) {
  name = std::move(newName);
  type = newType;
}

const std::string names[4] = {"Spring", "Summer", "Fall", "Winter"};

const std::string attackNames[4][4] = {
    {"Typhoon", "Wind wall", "Heal", "Confusing joint"},
    {"Fireball", "Magma wall", "Energy Absorption", "Vendetta"},
    {"Earthquake", "Magic shield", "Heal", "Heal of nature"},
    {"Icebolt", "Magic shield", "Ice is life", "Frosty twist"},
};

const std::string description[16][3] = {
    {"A typhoon will blow away the enemy", "", "Causes 1 damage for every mana point spent"},
    {"A strong wind will reduce the damage of enemy attacks", "",
     "Reduces the damage of enemy attacks by 1 for each mana point spent"},
    {"This spell will heal you", "", "Turns half of the mana spent into life"},
    {"THC in the blood reduces the effects of all enemy spells by 50%", "Does not affect the special attack", ""},
    {"A ball of fire will burn the enemy", "", "Causes 1 damage for every mana point spent"},
    {"A wall made of magma will pop up and reduce the damage of enemy", "attacks",
     "Reduces the damage of enemy attacks by 1 for each mana point spent"},
    {"Energy from the sun will be absorbed and turned into life", "", "Turns half of the mana spent into life"},
    {"Casting this spell will decrease the enemy's life by 30.", "You lose 20 life yourself,",
     "but it's still a powerful attack"},
    {"An earthquake will shake the enemy", "", "Causes 1 damage for every mana point spent"},
    {"A mana shield will block attacks", "", "Reduces the damage of enemy attacks by 1 for each mana point spent"},
    {"This spell will heal you", "", "Turns half of the mana spent into life"},
    {"Using forces of nature and the element of earth,", "you will receive 15 health points for only 15 mana points",
     ""},
    {"A bolt of ice will be shot on the enemy", "", "Causes 1 damage for every mana point spent"},
    {"A mana shield will block attacks", "", "Reduces the damage of enemy attacks by 1 for each mana point spent"},
    {"The cold powers of ice will increase your life", "", "Turns half of the mana spent into life"},
    {"This is a 'no risk, no fun' spell.", "You will receive life for every attack spell the enemy casts",
     "and lose life for every defend spell the enemy casts"},
};

const std::int32_t manaSpecial[4] = {10, 20, 15, 20};
