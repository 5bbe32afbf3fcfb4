#include "screens/menu.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "combatants/wizard.h"
#include "frame/tga.h"
#include "images.h"
#include "screens_fixture.h"

// The menu driven through its rests: at each rest the keys pressed last are released, and before
// the next keys go down the frame on show is recorded as its page and framed entry.
class menuTest : public screensTest {
 protected:
  static constexpr int NEW_GAME = 0, END_GAME = 1, SPRING = 2, SUMMER = 3, FALL = 4, WINTER = 5;
  static constexpr int ENTRIES[6][4] = {{100, 370, 300, 430}, {340, 370, 540, 430}, {20, 190, 155, 220},
                                        {165, 190, 310, 220}, {330, 190, 465, 220}, {475, 190, 620, 220}};
  BITMAP *pages[2] = {};
  BITMAP *expected = nullptr;
  std::vector<int> held;

  void SetUp() override {
    screensTest::SetUp();
    pages[0] = HeaderTGA::tga_from_char_ex(imgMenuMainPic, sizeof imgMenuMainPic);
    pages[1] = HeaderTGA::tga_from_char_ex(imgMenuCCPic, sizeof imgMenuCCPic);
    ASSERT_NE(pages[0], nullptr);
    ASSERT_NE(pages[1], nullptr);
    expected = create_bitmap(640, 480);
  }

  void TearDown() override {
    destroy_bitmap(expected);
    for (BITMAP *page : pages) destroy_bitmap(page);
    screensTest::TearDown();
  }

  // The entry whose page and single red frame the back buffer shows exactly, or -1.
  int shownEntry() {
    for (int e = 0; e < 6; ++e) {
      blit(pages[e < 2 ? 0 : 1], expected, 0, 0, 0, 0, 640, 480);
      rect(expected, ENTRIES[e][0], ENTRIES[e][1], ENTRIES[e][2], ENTRIES[e][3], makecol16(255, 0, 0));
      bool same = true;
      for (int y = 0; y < 480 && same; ++y) same = std::memcmp(expected->line[y], global::dbuffer->line[y], 640 * 2) == 0;
      if (same) return e;
    }
    return -1;
  }

  // Runs the menu through the presses; returns the entries shown before each press.
  std::vector<int> play(std::vector<std::vector<int>> presses, int &result) {
    std::vector<int> shown;
    std::size_t next = 0;
    script = [&] {
      if (!held.empty()) {
        for (int k : held) key[k] = 0;
        held.clear();
        return;
      }
      shown.push_back(shownEntry());
      if (next == presses.size()) {
        std::fputs("the menu waits for more keys than the test presses\n", stderr);
        std::abort();
      }
      held = presses[next++];
      for (int k : held) key[k] = 1;
    };
    result = menu::mainMenu();
    EXPECT_EQ(next, presses.size());
    return shown;
  }
};

TEST_F(menuTest, mainMenuFramesItsTwoEntriesWithoutWrapping) {
  int result = 0;
  const auto shown = play({{KEY_RIGHT}, {KEY_LEFT}, {KEY_LEFT}, {KEY_RIGHT}, {KEY_RIGHT}, {KEY_ENTER}}, result);
  EXPECT_EQ(shown, (std::vector<int>{NEW_GAME, END_GAME, NEW_GAME, NEW_GAME, END_GAME, END_GAME}));
  EXPECT_EQ(result, -1);
}

TEST_F(menuTest, anEnterHeldFromTheLastScreenDoesNotAct) {
  key[KEY_ENTER] = 1;
  held = {KEY_ENTER};  // the first rest lets it go
  int result = 0;
  const auto shown = play({{KEY_RIGHT}, {KEY_ENTER}}, result);
  EXPECT_EQ(shown, (std::vector<int>{NEW_GAME, END_GAME}));
  EXPECT_EQ(result, -1);
}

TEST_F(menuTest, chooserWrapsBothWaysAndReturnsTheFramedType) {
  int result = -1;
  auto shown = play({{KEY_ENTER}, {KEY_LEFT}, {KEY_RIGHT}, {KEY_RIGHT}, {KEY_RIGHT}, {KEY_RIGHT}, {KEY_RIGHT},
                     {KEY_RIGHT}, {KEY_RIGHT}, {KEY_ENTER}},
                    result);
  EXPECT_EQ(shown, (std::vector<int>{NEW_GAME, SPRING, WINTER, SPRING, SUMMER, FALL, WINTER, SPRING, SUMMER, FALL}));
  EXPECT_EQ(result, Fall);

  // Every call starts afresh on the main menu.
  shown = play({{KEY_ENTER}, {KEY_LEFT}, {KEY_ENTER}}, result);
  EXPECT_EQ(shown, (std::vector<int>{NEW_GAME, SPRING, WINTER}));
  EXPECT_EQ(result, Winter);
}

TEST_F(menuTest, escapeGoesBackToNewGameAndEnterReopensOnSpring) {
  int result = -1;
  const auto shown = play({{KEY_ENTER}, {KEY_RIGHT}, {KEY_RIGHT}, {KEY_ESC}, {KEY_ENTER}, {KEY_ENTER}}, result);
  EXPECT_EQ(shown, (std::vector<int>{NEW_GAME, SPRING, SUMMER, FALL, NEW_GAME, SPRING}));
  EXPECT_EQ(result, Spring);

  // Esc with Right in one pass keeps the moved cursor on the main menu; with Left it would name
  // no main-menu entry, so the cursor goes back to new game.
  const auto moved = play({{KEY_ENTER}, {KEY_ESC, KEY_RIGHT}, {KEY_LEFT}, {KEY_ENTER}, {KEY_ESC, KEY_LEFT}, {KEY_ENTER},
                           {KEY_ENTER}},
                          result);
  EXPECT_EQ(moved, (std::vector<int>{NEW_GAME, SPRING, END_GAME, NEW_GAME, SPRING, NEW_GAME, SPRING}));
  EXPECT_EQ(result, Spring);
}
