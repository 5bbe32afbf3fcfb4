#include <stdexcept>

#include "allegro_fixture.h"
#include "battle/battle.h"
#include "frame/devices.h"
#include "frame/display.h"
#include "frame/enlarge.h"
#include "highscore/hsfile.h"
#include "highscore/screen.h"
#include "screens/intro.h"
#include "screens/menu.h"

namespace {

// The keyboard driver as the library runs it: the key table first, then the callback.
void pressKey(int k) {
  key[k] = -1;
  devices::keyEvent(k);
  if (k == KEY_ALT) key_shifts = KB_ALT_FLAG;
}

void releaseKey(int k) {
  key[k] = 0;
  if (k == KEY_ALT) key_shifts = 0;
  devices::keyEvent(k | 0x80);
}

// The left mouse button at the picture's (x, y), as the mouse callback reports it.
void clickAt(int x, int y) {
  keyStates.clickX = x;
  keyStates.clickY = y;
  keyStates.press(keyStatesClass::click);
}

// Whether a switch between full screen and a window is pending: carrying one out drops the ticks.
bool switchPending() {
  timerCounter = 1;
  display::serviceToggle();
  return timerCounter == 0;
}

class inputTest : public allegroTest {
 protected:
  void SetUp() override {
    allegroTest::SetUp();
    key_shifts = 0;
    display::closeRequested();  // no press left over from another test
    display::leaving = false;
  }
};

}  // namespace

TEST(fullScreen, thePictureGetsTheLargestWholeScaleThatFitsCentred) {
  struct row {
    int width, height;
    placement want;
  };
  const row table[] = {
      {.width = 1920, .height = 1080, .want = {.scale = 2, .x = 320, .y = 60}},
      {.width = 2560, .height = 1440, .want = {.scale = 3, .x = 320, .y = 0}},
      {.width = 3840, .height = 2160, .want = {.scale = 4, .x = 640, .y = 120}},
      {.width = 1366, .height = 768, .want = {.scale = 1, .x = 363, .y = 144}},
      {.width = 5120, .height = 2880, .want = {.scale = 6, .x = 640, .y = 0}},
  };
  for (const row &r : table) {
    const placement got = fullScreenPlacement(r.width, r.height);
    EXPECT_EQ(got.scale, r.want.scale) << r.width << "x" << r.height;
    EXPECT_EQ(got.x, r.want.x) << r.width << "x" << r.height;
    EXPECT_EQ(got.y, r.want.y) << r.width << "x" << r.height;
  }
  EXPECT_EQ(fullScreenPlacement(800, 479).scale, 0);  // too low for the picture: the 640x480 mode instead
  // The pointer at 2x with the picture at x = 320: the screen's pixels 320 and 321 are the picture's 0.
  EXPECT_EQ(onPicture(319, 320, 2), -1);
  EXPECT_EQ(onPicture(321, 320, 2), 0);
}

// A scale past the four of a window, at an offset: the squares start at the offset, and the border stays.
TEST_F(allegroTest, theEnlargerPlacesItsSquaresAtTheOffset) {
  const ownedBitmap picture(create_bitmap_ex(16, 2, 1));
  const int white = makecol16(255, 255, 255), red = makecol16(255, 0, 0), border = 0x1234;
  putpixel(picture.get(), 0, 0, white);
  putpixel(picture.get(), 1, 0, red);
  const ownedBitmap target(create_bitmap_ex(16, 20, 10));
  clear_to_color(target.get(), border);
  const int scale = 6, left = 3, top = 2;
  enlarge(picture.get(), target.get(), scale, left, top);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= left && x < left + 2 * scale && y >= top && y < top + scale;
      const int want = !inside ? border : x < left + scale ? white : red;
      ASSERT_EQ(getpixel(target.get(), x, y), want) << x << "," << y;
    }
  }
}

TEST_F(inputTest, aTapBetweenTwoTestsCountsOnceAtTheNextTest) {
  pressKey(KEY_ENTER);
  releaseKey(KEY_ENTER);
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  // A press the tests saw is not counted again when it ends.
  pressKey(KEY_DOWN);
  EXPECT_EQ(keyStates[KEY_DOWN], 1);
  releaseKey(KEY_DOWN);
  EXPECT_EQ(keyStates[KEY_DOWN], 0);
  // A tap three ticks old is stale, as a key no screen read.
  pressKey(KEY_LEFT);
  releaseKey(KEY_LEFT);
  global::ticks += 3;
  EXPECT_EQ(keyStates[KEY_LEFT], 0);
  // Keys that act while held count a tap as one tick held, and a hold they saw is no tap when it ends.
  pressKey(KEY_UP);
  releaseKey(KEY_UP);
  EXPECT_TRUE(keyStates.held(KEY_UP));
  EXPECT_FALSE(keyStates.held(KEY_UP));
  pressKey(KEY_UP);
  EXPECT_TRUE(keyStates.held(KEY_UP));
  releaseKey(KEY_UP);
  EXPECT_FALSE(keyStates.held(KEY_UP));
  // A key still down when the tracker starts afresh is no tap when it goes up.
  pressKey(KEY_UP);
  keyStates.resetAll();
  releaseKey(KEY_UP);
  EXPECT_EQ(keyStates[KEY_UP], 0);
  // A mode switch has the library let go of a key twice: the second is no tap.
  releaseKey(KEY_UP);
  EXPECT_EQ(keyStates[KEY_UP], 0);
  // Keypad Enter is Enter; held, let go and tapped again before the next test, it is a new press.
  pressKey(KEY_ENTER_PAD);
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
  releaseKey(KEY_ENTER_PAD);
  pressKey(KEY_ENTER_PAD);
  releaseKey(KEY_ENTER_PAD);
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
}

TEST_F(inputTest, altEnterAndF11SwitchTheDisplayAndReachNoScreen) {
  pressKey(KEY_ALT);
  EXPECT_FALSE(keyStates.anyKey());
  key[KEY_ENTER] = -1;  // the table shows Enter before the callback marks it
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  key[KEY_ENTER] = 0;
  pressKey(KEY_ENTER);
  EXPECT_TRUE(switchPending());
  // The switch lets go of both keys; the keyboard then repeats the Enter still held, until it is let go.
  releaseKey(KEY_ENTER);
  key[KEY_ALT] = 0;
  pressKey(KEY_ENTER);
  EXPECT_FALSE(switchPending()) << "a held switch key switches once";
  EXPECT_EQ(keyStates[KEY_ENTER], 0);
  releaseKey(KEY_ENTER);
  // Alt still held as the keyboard says, Enter pressed again: a new switch.
  pressKey(KEY_ENTER);
  EXPECT_TRUE(switchPending());
  releaseKey(KEY_ENTER);
  releaseKey(KEY_ENTER);
  releaseKey(KEY_ALT);
  EXPECT_FALSE(keyStates.anyKey()) << "neither Alt nor Enter counts when let go";
  pressKey(KEY_ENTER);
  EXPECT_EQ(keyStates[KEY_ENTER], 1) << "Enter alone is Enter again";
  releaseKey(KEY_ENTER);

  pressKey(KEY_F11);
  EXPECT_TRUE(switchPending());
  releaseKey(KEY_F11);
  EXPECT_FALSE(keyStates.anyKey());

  // The dialogs' key buffer gets neither, and keypad Enter there is Enter.
  const int keypadEnter = KEY_ENTER_PAD << 8 | '\r';
  EXPECT_EQ(display::filterKeyBuffer(keypadEnter), KEY_ENTER << 8 | '\r');
  key[KEY_ALT] = -1;
  EXPECT_EQ(display::filterKeyBuffer(keypadEnter), 0);
  EXPECT_EQ(display::filterKeyBuffer(KEY_F11 << 8), 0);
  key[KEY_ALT] = 0;

  // Alt alone is a key like any other, counted when it is let go.
  pressKey(KEY_ALT);
  releaseKey(KEY_ALT);
  EXPECT_TRUE(keyStates.anyKey());
}

TEST_F(inputTest, thePadsButtonsAndSticksAreTheGamesPresses) {
  devices::padState before{}, now{};
  now.numButtons = 11;
  const auto push = [&](int button) {
    now.buttons[button] = true;
    devices::padEvents(now, before);
    now.buttons[button] = false;
    devices::padEvents(now, before);
  };
  push(0);  // A is Enter
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
  push(1);  // B is back, no key
  EXPECT_TRUE(keyStates.took(keyStatesClass::back));
  EXPECT_FALSE(keyStates.anyKey());
  for (int start : {7, 9}) {  // Start on either layout is Esc, and a button
    push(start);
    EXPECT_EQ(keyStates[KEY_ESC], 1) << start;
    EXPECT_TRUE(keyStates.took(keyStatesClass::button)) << start;
  }
  push(2);  // X is a button only
  EXPECT_TRUE(keyStates.anyOther());
  // The left stick (0) and the d-pad (1) are arrows past half their travel, 64 of 128, held while pushed.
  const struct {
    int *axis;
    int towards;
    int arrow;
  } directions[] = {
      {.axis = &now.stickX[0], .towards = -1, .arrow = KEY_LEFT},
      {.axis = &now.stickX[1], .towards = 1, .arrow = KEY_RIGHT},
      {.axis = &now.stickY[0], .towards = -1, .arrow = KEY_UP},
      {.axis = &now.stickY[1], .towards = 1, .arrow = KEY_DOWN},
  };
  for (const auto &d : directions) {
    *d.axis = 64 * d.towards;
    devices::padEvents(now, before);
    EXPECT_FALSE(keyStates.held(d.arrow)) << d.arrow;
    *d.axis = 65 * d.towards;
    devices::padEvents(now, before);
    EXPECT_TRUE(keyStates.held(d.arrow)) << d.arrow;
    EXPECT_TRUE(keyStates.held(d.arrow)) << d.arrow << " still pushed";
    *d.axis = 0;
  }
  now.stickY[1] = 128;
  devices::padEvents(now, before);
  EXPECT_TRUE(keyStates.held(KEY_DOWN));
  now.stickY[1] = 0;
  devices::padEvents(now, before);
  EXPECT_FALSE(keyStates.held(KEY_DOWN)) << "a short push acts once";
}

// The pad as the library's driver leaves it: its buttons, the left stick and the last one, the d-pad.
TEST_F(inputTest, thePadIsReadFromTheLibrarysTable) {
  devices::install();
  EXPECT_EQ(num_joysticks, 0) << "no pad here: nothing to read";
  num_joysticks = 1;
  JOYSTICK_INFO &pad = joy[0];
  pad.num_buttons = 2;
  pad.button[0].b = true;
  pad.num_sticks = 3;
  pad.stick[0].num_axis = 2;
  pad.stick[0].axis[1].pos = -128;  // the left stick up
  pad.stick[2].num_axis = 2;
  pad.stick[2].axis[0].pos = 128;  // the d-pad right
  devices::poll();
  EXPECT_EQ(keyStates[KEY_ENTER], 1);
  EXPECT_TRUE(keyStates.held(KEY_UP));
  EXPECT_TRUE(keyStates.held(KEY_RIGHT));
  EXPECT_FALSE(keyStates.held(KEY_LEFT));
  pad = {};
  devices::poll();
  num_joysticks = 0;
}

// Setting a defence's amount by the mouse: the pointer and a click on the button, the wheel, the box's
// arrows, a click on the amount to queue it, and the right button to take it back. Alt+Enter in between
// queues nothing.
TEST_F(inputTest, theMouseChoosesSetsAndQueuesASpell) {
  unit units[2];
  units[0].setValues("Spring", Spring);
  units[1].setValues("Winter", Winter);
  battleState b(units);
  keyStates.movePointer(600, 340);  // on the heal's button
  battleTick(b);
  EXPECT_EQ(b.selectedKind, kindHeal);
  clickAt(570, 260);  // the defence's button, top-left corner
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  battleTick(b);
  keyStates.turnWheel(2);  // stale by the time of the next notch
  global::ticks += 3;
  keyStates.turnWheel(3);
  battleTick(b);
  EXPECT_EQ(b.chosenMana, 4);
  clickAt(385, 233);  // the box's right arrow
  battleTick(b);
  EXPECT_EQ(b.chosenMana, 5);
  clickAt(315, 233);  // its left arrow
  battleTick(b);
  EXPECT_EQ(b.chosenMana, 4);
  pressKey(KEY_ALT);
  pressKey(KEY_ENTER);
  battleTick(b);
  EXPECT_EQ(b.phase, chooseMana);
  clickAt(350, 233);  // the amount
  battleTick(b);
  EXPECT_EQ(b.fighters[0].spellKind[0], kindDefense);
  EXPECT_EQ(b.fighters[0].spellMana[0], 4);
  keyStates.press(keyStatesClass::back);
  battleTick(b);
  EXPECT_EQ(b.queuedCount, 0);
  EXPECT_EQ(b.fighters[0].mana, 20);
}

// The pointer over "End game" frames it; a click on "New game" opens the chooser, one on Spring's card starts with it,
// wherever the pointer was before.
TEST_F(inputTest, theMouseFramesAndChoosesOnTheMenus) {
  int pass = 0;
  script = [&] {
    switch (++pass) {
      case 1:
        keyStates.movePointer(400, 400);  // over "End game"
        break;
      case 2:
        EXPECT_EQ(pixel(340, 371), makecol16(255, 0, 0)) << "End game framed";
        clickAt(200, 400);  // "New game"
        break;
      case 3:
        keyStates.movePointer(550, 300);  // over Winter's card
        break;
      case 4:
        clickAt(90, 300);  // Spring's card, below its name
        break;
      default:
        throw std::runtime_error("the menus wait for more");
    }
  };
  EXPECT_EQ(menu::mainMenu(), int(Spring));
}

TEST_F(inputTest, theCloseButtonEndsTheMenusAndAsksInARun) {
  script = [] { display::closeButton(); };
  EXPECT_EQ(menu::mainMenu(), -1) << "as End game";
  EXPECT_FALSE(display::leaving);
  const std::string savedName = std::exchange(hsFilename, testing::TempDir() + "close_highscore.mhs");
  highscore(7, Winter);
  EXPECT_TRUE(display::leaving);
  hsFilename = savedName;

  unit units[2];
  units[0].setValues("Fall", Fall);
  units[1].setValues("Summer", Summer);
  static int answer;
  const auto savedQuit = std::exchange(askQuit, [] { return answer; });
  // In the intro, "No" goes on with the intro (a key then ends it) and "Yes" ends the run and the game.
  display::leaving = false;
  answer = 2;
  script = [] {
    if (key[KEY_SPACE] == 0) display::closeButton();
    key[KEY_SPACE] = 1;
    timerCounter = 1;
  };
  EXPECT_TRUE(showNames(units, 1));
  EXPECT_FALSE(display::leaving);
  answer = 1;
  key[KEY_SPACE] = 0;
  script = [] {
    display::closeButton();
    timerCounter = 1;
  };
  EXPECT_FALSE(showNames(units, 1));
  EXPECT_TRUE(display::leaving);
  // In a battle "Yes" quits the match.
  display::leaving = false;
  const ownedBitmap background(create_bitmap(640, 480));
  clear_bitmap(background.get());
  BITMAP *buttons[4] = {};
  EXPECT_EQ(fight(units, background.get(), buttons), -1);
  EXPECT_TRUE(display::leaving);
  askQuit = savedQuit;
}
