#include "frame/keystates.h"

#include <climits>

#include "allegro_fixture.h"

using keyStatesTest = allegroTest;

TEST_F(keyStatesTest, heldKeyReportsOnceUntilATestSeesItUp) {
  key[KEY_ENTER] = 1;
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 0;  // released and pressed again with no test in between: not seen
  key[KEY_ENTER] = 1;
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 0;
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 1;
  EXPECT_EQ(keyStates.getKey(KEY_ENTER), 1);
}

TEST_F(keyStatesTest, anyKeyMarksEveryHeldKeyAndOutOfRangeCodesReportNothing) {
  EXPECT_FALSE(keyStates.anyKey());
  key[KEY_A] = 1;
  key[KEY_B] = 1;
  EXPECT_TRUE(keyStates.anyKey());
  EXPECT_EQ(keyStates[KEY_B], 0);  // marked too, although A had already made the result
  EXPECT_FALSE(keyStates.anyKey());
  key[KEY_A] = 0;
  EXPECT_FALSE(keyStates.anyKey());
  EXPECT_EQ(keyStates.state[KEY_A], 0);
  EXPECT_EQ(keyStates.state[KEY_B], 1);

  for (int k = 0; k < KEY_MAX; ++k) key[k] = 1;
  keyStates.resetAll();
  for (int k : {-1, int(KEY_MAX), 1000, INT_MIN}) EXPECT_EQ(keyStates[k], 0) << k;
  for (int k = 0; k < KEY_MAX; ++k) EXPECT_EQ(keyStates.state[k], 0) << k;
}
