#include "screens/game.h"

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "allegro_fixture.h"
#include "frame/tga.h"
#include "images.h"

// Present only in a build with AddressSanitizer, where it tells whether memory was released.
extern "C" int __asan_address_is_poisoned(void const volatile *address) __attribute__((weak));

// A run with the intro and the battle replaced: the battle answers from `results` and records
// what each match was given.
class gameTest : public allegroTest {
 protected:
  struct match {
    int number;  // as the intro showed it
    std::string pairing;
    CT opponent;
    std::array<BITMAP *, 5> pictures;  // the background, then the buttons
  };
  static inline std::vector<int> results;
  static inline std::vector<match> matches;
  static inline int introNumber;
  void (*savedIntro)(unit *, int) = matchIntro;
  int (*savedFight)(unit *, BITMAP *, BITMAP **) = matchFight;

  void SetUp() override {
    allegroTest::SetUp();
    matchIntro = [](unit *, int matchNumber) { introNumber = matchNumber; };
    matchFight = record;
  }

  static int record(unit *units, BITMAP *background, BITMAP **buttons) {
    matches.push_back({introNumber,
                       units[0].getName() + " - " + units[1].getName(),
                       units[1].getType(),
                       {background, buttons[0], buttons[1], buttons[2], buttons[3]}});
    return results[matches.size() - 1];
  }

  void TearDown() override {
    matchIntro = savedIntro;
    matchFight = savedFight;
    allegroTest::TearDown();
  }

  // Plays a run whose battles end with `outcomes` and returns its wins.
  static int run(CT type, std::vector<int> outcomes) {
    results = std::move(outcomes);
    matches.clear();
    return game(type);
  }
};

TEST_F(gameTest, winsCountUntilTheFirstMatchNotWon) {
  EXPECT_EQ(run(Spring, {0}), 0);
  EXPECT_EQ(matches.size(), 1u);
  EXPECT_EQ(run(Fall, {1, 1, 1, 0}), 3);
  ASSERT_EQ(matches.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(matches[i].number, i + 1);
  EXPECT_EQ(run(Winter, {1, 1, -1}), 2);  // abandoned after two wins
  EXPECT_EQ(matches.size(), 3u);
}

TEST_F(gameTest, opponentsAreDrawnWithOneRedrawOfThePlayersType) {
  std::vector<int> outcomes(200, 1);
  outcomes.push_back(0);
  srand(4242);
  EXPECT_EQ(run(Summer, outcomes), 200);
  srand(4242);
  const std::string typeNames[4] = {"Spring", "Summer", "Fall", "Winter"};
  int ownType = 0;
  for (const match &m : matches) {
    int t = rand() & 3;
    if (t == Summer) t = rand() & 3;
    ASSERT_EQ(m.opponent, t);
    EXPECT_EQ(m.pairing, "Summer - " + typeNames[t]);
    ownType += t == Summer;
  }
  EXPECT_GT(ownType, 0);  // the one redraw can still give the player's own type
}

TEST_F(gameTest, picturesAreDecodedOncePerRunInKindOrderAndReleasedOnce) {
  run(Spring, {1, 1, 0});
  ASSERT_EQ(matches.size(), 3u);
  for (const match &m : matches) EXPECT_EQ(m.pictures, matches[0].pictures);
  if (__asan_address_is_poisoned) {
    for (BITMAP *released : matches[0].pictures) EXPECT_TRUE(__asan_address_is_poisoned(released));
  }

  // While the run lasts the battle gets the background and the buttons in kind order.
  matchFight = [](unit *, BITMAP *background, BITMAP **buttons) {
    const std::pair<const unsigned char *, std::size_t> sources[5] = {{imgFight, sizeof imgFight},
                                                                      {imgButtonAttack, sizeof imgButtonAttack},
                                                                      {imgButtonDefense, sizeof imgButtonDefense},
                                                                      {imgButtonHeal, sizeof imgButtonHeal},
                                                                      {imgButtonSpecial, sizeof imgButtonSpecial}};
    BITMAP *shown[5] = {background, buttons[0], buttons[1], buttons[2], buttons[3]};
    for (int i = 0; i < 5; ++i) {
      BITMAP *decoded = HeaderTGA::tga_from_char_ex(sources[i].first, sources[i].second);
      EXPECT_TRUE(shown[i] && decoded && samePixels(shown[i], decoded)) << i;
      if (decoded) destroy_bitmap(decoded);
    }
    return 0;
  };
  EXPECT_EQ(game(Winter), 0);
}
