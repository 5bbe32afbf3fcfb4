#include "screens/game.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "allegro_fixture.h"
#include "frame/tga.h"
#include "images.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIRVANES_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MIRVANES_ASAN 1
#endif
#ifdef MIRVANES_ASAN
#include <sanitizer/asan_interface.h>
#endif

// A run with the intro and the battle replaced: the battle answers from `results` and records
// what it was given.
class gameTest : public allegroTest {
 protected:
  struct match {
    int number;
    std::string player, opponent;
    CT opponentType;
    BITMAP *background;
    BITMAP *buttons[4];
  };
  static inline std::vector<int> results;
  static inline std::vector<match> matches;
  static inline int introNumber;

  void SetUp() override {
    allegroTest::SetUp();
    results.clear();
    matches.clear();
    matchIntro = [](unit *, int matchNumber) { introNumber = matchNumber; };
    matchFight = [](unit *units, BITMAP *background, BITMAP **buttons) {
      matches.push_back({introNumber, units[0].getName(), units[1].getName(), units[1].getType(), background,
                         {buttons[0], buttons[1], buttons[2], buttons[3]}});
      return results[matches.size() - 1];
    };
  }

  void TearDown() override {
    matchIntro = savedIntro;
    matchFight = savedFight;
    allegroTest::TearDown();
  }

  static bool samePicture(BITMAP *shown, const unsigned char *data, std::size_t length) {
    BITMAP *decoded = HeaderTGA::tga_from_char_ex(data, length);
    bool same = decoded && shown->w == decoded->w && shown->h == decoded->h;
    for (int y = 0; same && y < decoded->h; ++y) same = std::memcmp(shown->line[y], decoded->line[y], decoded->w * 2) == 0;
    if (decoded) destroy_bitmap(decoded);
    return same;
  }

 private:
  void (*savedIntro)(unit *, int) = matchIntro;
  int (*savedFight)(unit *, BITMAP *, BITMAP **) = matchFight;
};

TEST_F(gameTest, winsCountUntilTheFirstMatchNotWon) {
  results = {0};
  EXPECT_EQ(game(Spring), 0);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].number, 1);

  matches.clear();
  results = {1, 1, 1, 0};
  EXPECT_EQ(game(Fall), 3);
  ASSERT_EQ(matches.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(matches[i].number, i + 1);
    EXPECT_EQ(matches[i].player, "Fall");
  }

  matches.clear();
  results = {1, 1, -1};  // abandoned after two wins
  EXPECT_EQ(game(Winter), 2);
  EXPECT_EQ(matches.size(), 3u);
}

TEST_F(gameTest, opponentsAreDrawnWithOneRedrawOfThePlayersType) {
  results.assign(200, 1);
  results.push_back(0);
  srand(4242);
  EXPECT_EQ(game(Summer), 200);
  srand(4242);
  int ownType = 0;
  for (const match &m : matches) {
    int t = rand() & 3;
    if (t == Summer) t = rand() & 3;
    ASSERT_EQ(m.opponentType, t);
    EXPECT_EQ(m.opponent, names[t]);
    if (t == Summer) ++ownType;
  }
  EXPECT_GT(ownType, 0);  // the one redraw can still give the player's own type
  EXPECT_LT(ownType, 40);
}

TEST_F(gameTest, picturesAreDecodedOncePerRunAndReleasedOnce) {
  results = {1, 1, 0};
  game(Spring);
  ASSERT_EQ(matches.size(), 3u);
  const match &first = matches[0];
  ASSERT_NE(first.background, nullptr);
  for (const match &m : matches) {
    EXPECT_EQ(m.background, first.background);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(m.buttons[k], first.buttons[k]);
  }
#ifdef MIRVANES_ASAN
  EXPECT_TRUE(__asan_address_is_poisoned(first.background));
  for (BITMAP *button : first.buttons) EXPECT_TRUE(__asan_address_is_poisoned(button));
#endif

  // While the run lasts the battle gets the background and the buttons in kind order.
  matchFight = [](unit *, BITMAP *background, BITMAP **buttons) {
    EXPECT_TRUE(samePicture(background, imgFight, sizeof imgFight));
    EXPECT_TRUE(samePicture(buttons[0], imgButtonAttack, sizeof imgButtonAttack));
    EXPECT_TRUE(samePicture(buttons[1], imgButtonDefense, sizeof imgButtonDefense));
    EXPECT_TRUE(samePicture(buttons[2], imgButtonHeal, sizeof imgButtonHeal));
    EXPECT_TRUE(samePicture(buttons[3], imgButtonSpecial, sizeof imgButtonSpecial));
    return 0;
  };
  EXPECT_EQ(game(Winter), 0);
}
