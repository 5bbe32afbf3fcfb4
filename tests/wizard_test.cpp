#include "combatants/wizard.h"

#include <gtest/gtest.h>

TEST(catalogueTest, emptyDescriptionLinesStandWhereTheyBelong) {
  int empty = 0;
  for (int row = 0; row < 16; ++row) {
    const int kind = row % 4;
    // Line 1 is empty but for the specials and Summer's wrapped defense; line 2 only for the
    // Spring and Fall specials.
    const bool gapInLine1 = kind != kindSpecial && row != Summer * 4 + kindDefense;
    const bool gapInLine2 = row == Spring * 4 + kindSpecial || row == Fall * 4 + kindSpecial;
    EXPECT_FALSE(description[row][0].empty()) << row;
    EXPECT_EQ(description[row][1].empty(), gapInLine1) << row;
    EXPECT_EQ(description[row][2].empty(), gapInLine2) << row;
    for (const std::string &line : description[row]) empty += line.empty();
  }
  EXPECT_EQ(empty, 13);
  EXPECT_EQ(description[Summer * 4 + kindDefense][1], "attacks");
}

TEST(catalogueTest, tablesFollowTheTypeAndKindOrder) {
  EXPECT_EQ(names[Fall], "Fall");
  EXPECT_EQ(attackNames[Summer][kindSpecial], "Vendetta");
  EXPECT_EQ(attackNames[Winter][kindHeal], "Ice is life");
  EXPECT_EQ(attackNames[Spring][kindHeal], attackNames[Fall][kindHeal]);
  EXPECT_EQ(attackNames[Fall][kindDefense], attackNames[Winter][kindDefense]);
  EXPECT_EQ(manaSpecial[Spring], 10);
  EXPECT_EQ(manaSpecial[Summer], 20);
  EXPECT_EQ(manaSpecial[Fall], 15);
  EXPECT_EQ(manaSpecial[Winter], 20);
}
