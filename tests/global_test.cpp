#include "frame/global.h"

#include "allegro_fixture.h"

using frameTest = allegroTest;

TEST_F(frameTest, showWithoutAScreenCopiesNothing) {
  ASSERT_EQ(screen, nullptr);
  putpixel(global::dbuffer, 3, 4, makecol(255, 255, 255));
  show();
  EXPECT_EQ(pixel(3, 4), makecol(255, 255, 255));
}
