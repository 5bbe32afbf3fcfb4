#include "allegro_fixture.h"
#include "frame/devices.h"
#include "frame/display.h"
#include "frame/enlarge.h"

namespace {

// A desktop faked below the library: the neutral system driver with a desktop's size and depth, and a
// windowed and a full-screen graphics driver whose screens are memory bitmaps, blue until drawn on (the library
// destroys them when it leaves the mode).
struct desktop {
  int width = 1920, height = 1080, depth = 32;
  bool fullScreenAtItsSize = true, fullScreenAt640x480 = true, windows = true;  // what the drivers open
};
desktop fake;

BITMAP *openScreen(GFX_DRIVER &driver, int width, int height, int depth) {
  useX11ColourLayouts();
  BITMAP *opened = create_bitmap_ex(depth, width, height);
  clear_to_color(opened, makecol_depth(depth, 0, 0, 255));
  driver.w = width;
  driver.h = height;
  return opened;
}
BITMAP *openWindow(int width, int height, int, int, int depth);
BITMAP *openFullScreen(int width, int height, int, int, int depth);

GFX_DRIVER driver(int id, BITMAP *(*open)(int, int, int, int, int), bool windowed) {
  GFX_DRIVER made{};
  made.id = id;
  made.name = made.desc = made.ascii_name = "fake";
  made.init = open;
  made.windowed = windowed;
  return made;
}
GFX_DRIVER windowDriver = driver(AL_ID('W', 'I', 'N', 'D'), openWindow, true);
GFX_DRIVER fullScreenDriver = driver(AL_ID('F', 'U', 'L', 'L'), openFullScreen, false);

BITMAP *openWindow(int width, int height, int, int, int depth) {
  return fake.windows ? openScreen(windowDriver, width, height, depth) : nullptr;
}
BITMAP *openFullScreen(int width, int height, int, int, int depth) {
  const bool opens = width == 640 && height == 480 ? fake.fullScreenAt640x480 : fake.fullScreenAtItsSize;
  return opens ? openScreen(fullScreenDriver, width, height, depth) : nullptr;
}

_DRIVER_INFO graphicsDrivers[] = {{windowDriver.id, &windowDriver, TRUE},
                                  {fullScreenDriver.id, &fullScreenDriver, TRUE},
                                  {0, nullptr, FALSE}};
// A mouse that reports nothing by itself: the tests move it by the library's variables.
MOUSE_DRIVER mouse() {
  MOUSE_DRIVER made{};
  made.id = AL_ID('M', 'O', 'U', 'S');
  made.name = made.desc = made.ascii_name = "fake";
  made.init = [] { return 2; };  // buttons
  made.exit = [] {};
  made.position = [](int, int) {};
  made.set_range = [](int, int, int, int) {};
  made.set_speed = [](int, int) {};
  made.get_mickeys = [](int *x, int *y) { *x = *y = 0; };
  made.enable_hardware_cursor = [](int) {};
  made.select_system_cursor = [](int) { return 0; };
  return made;
}
MOUSE_DRIVER mouseDriver = mouse();
_DRIVER_INFO mouseDrivers[] = {{mouseDriver.id, &mouseDriver, TRUE}, {0, nullptr, FALSE}};

SYSTEM_DRIVER fakeSystem;

options opening(options::display mode, int scale = 1) {
  options opts;
  opts.mode = mode;
  opts.scale = scale;
  return opts;
}

class displayTest : public allegroTest {
 protected:
  void SetUp() override {
    allegroTest::SetUp();
    fake = desktop{};
    fakeSystem = system_none;
    fakeSystem.desktop_color_depth = [] { return fake.depth; };
    fakeSystem.get_desktop_resolution = [](int *width, int *height) {
      *width = fake.width;
      *height = fake.height;
      return 0;
    };
    fakeSystem.gfx_drivers = [] { return graphicsDrivers; };
    fakeSystem.mouse_drivers = [] { return mouseDrivers; };
    system_driver = &fakeSystem;
    // The picture's top-left pixel white and its bottom-right one red, to find it on the screen.
    putpixel(global::dbuffer, 0, 0, makecol16(255, 255, 255));
    putpixel(global::dbuffer, 639, 479, makecol16(255, 0, 0));
  }
  void TearDown() override {
    remove_mouse();
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    system_driver = &system_none;
    display::placed = {};
    allegroTest::TearDown();
  }
  // The screen's pixel at (x, y) is the colour, in the screen's depth.
  static bool screenIs(int x, int y, int r, int g, int b) {
    return getpixel(screen, x, y) == makecol_depth(bitmap_color_depth(screen), r, g, b);
  }
};

// What a start finds pending, read before any test runs.
struct pending {
  bool switchWanted, closeWanted;
  int ticks;
};
const pending atStart = [] {
  const int ticks = timerCounter;
  timerCounter = 1;
  display::serviceToggle();  // drops the ticks where a switch is pending
  const bool switchWanted = timerCounter == 0;
  timerCounter = 0;
  return pending{.switchWanted = switchWanted, .closeWanted = display::closeRequested(), .ticks = ticks};
}();

}  // namespace

TEST(display, aStartFindsNoSwitchNoCloseRequestAndNoTickPending) {
  EXPECT_FALSE(atStart.switchWanted);
  EXPECT_FALSE(atStart.closeWanted);
  EXPECT_EQ(atStart.ticks, 0);
}

TEST_F(displayTest, fullScreenOpensAtTheDesktopsSizeAndDepthWithThePictureCentredOnBlack) {
  setMode(opening(options::fullscreen));
  EXPECT_FALSE(is_windowed_mode());
  EXPECT_EQ(SCREEN_W, 1920);
  EXPECT_EQ(SCREEN_H, 1080);
  EXPECT_EQ(bitmap_color_depth(screen), 32);
  EXPECT_EQ(get_color_depth(), 16) << "the game's own bitmaps stay 16-bit";
  EXPECT_EQ(gui_fg_color, makecol16(0, 0, 0)) << "the dialogs draw on the back buffer, in its depth";
  EXPECT_EQ(gui_bg_color, makecol16(221, 221, 221));
  show();
  // 2x, its top-left corner at (320, 60).
  EXPECT_TRUE(screenIs(320, 60, 255, 255, 255));
  EXPECT_TRUE(screenIs(321, 61, 255, 255, 255));
  EXPECT_TRUE(screenIs(1599, 1019, 255, 0, 0));
  EXPECT_TRUE(screenIs(319, 60, 0, 0, 0));
  EXPECT_TRUE(screenIs(1600, 1020, 0, 0, 0));
  EXPECT_TRUE(screenIs(1919, 1079, 0, 0, 0));
}

TEST_F(displayTest, eachModeFallsBackAsItShould) {
  // A desktop of 16 bits: full screen in 16 bits, the picture copied as it is.
  fake.depth = 16;
  setMode(opening(options::fullscreen));
  EXPECT_EQ(bitmap_color_depth(screen), 16);
  // A monitor that takes only the picture's own size: 640x480 in 16 bits.
  fake.depth = 32;
  fake.fullScreenAtItsSize = false;
  setMode(opening(options::fullscreen));
  EXPECT_EQ(SCREEN_W, 640);
  EXPECT_EQ(bitmap_color_depth(screen), 16);
  show();
  EXPECT_TRUE(screenIs(0, 0, 255, 255, 255));
  EXPECT_TRUE(screenIs(639, 479, 255, 0, 0));
  // A window of the automatic scale: 2x on 1920x1080, in the desktop's depth; scale 1 is 16 bits.
  setMode(opening(options::window, autoScale));
  EXPECT_TRUE(is_windowed_mode());
  EXPECT_EQ(SCREEN_W, 1280);
  EXPECT_EQ(SCREEN_H, 960);
  EXPECT_EQ(bitmap_color_depth(screen), 32);
  setMode(opening(options::window));
  EXPECT_EQ(SCREEN_W, 640);
  EXPECT_EQ(bitmap_color_depth(screen), 16);
  // No option: the picture's own size, whichever driver opens it.
  setMode(opening(options::autodetect));
  EXPECT_EQ(SCREEN_W, 640);
  EXPECT_EQ(SCREEN_H, 480);
  fake.fullScreenAt640x480 = false;
  fake.windows = false;
  EXPECT_REPORT(setMode(opening(options::autodetect)), "Error004: Graphic mode couldn't be set");
}

TEST_F(displayTest, aSwitchGoesBetweenFullScreenAndTheWindowAndBackWhereItFails) {
  setMode(opening(options::window));
  display::requestToggle();
  timerCounter = 3;
  display::serviceToggle();
  EXPECT_FALSE(is_windowed_mode());
  EXPECT_EQ(SCREEN_W, 1920);
  EXPECT_EQ(timerCounter, 0) << "the ticks the switch took are dropped";
  EXPECT_TRUE(screenIs(320, 60, 255, 255, 255)) << "the picture shown at once";
  display::requestToggle();
  display::serviceToggle();
  EXPECT_TRUE(is_windowed_mode());
  EXPECT_EQ(SCREEN_W, 1280) << "the window of the automatic scale";
  // A full screen that will not open leaves the window as it was; where that too fails, the game ends.
  fake.fullScreenAtItsSize = false;
  fake.fullScreenAt640x480 = false;
  display::requestToggle();
  display::serviceToggle();
  EXPECT_TRUE(is_windowed_mode());
  EXPECT_EQ(SCREEN_W, 1280);
  fake.windows = false;
  display::requestToggle();
  EXPECT_REPORT(display::serviceToggle(), "Error004: Graphic mode couldn't be set");
}

// The mouse as the library's driver reports it, with the picture 2x at (320, 60): the pointer, the buttons and the
// wheel at the picture's coordinates, for the screens and for the dialogs.
TEST_F(displayTest, theMouseActsAtThePicturesCoordinates) {
  setMode(opening(options::fullscreen));
  devices::install();
  const area pixel100x50[] = {{.x1 = 100, .y1 = 50, .x2 = 100, .y2 = 50}};
  mouse_x = 320 + 2 * 100 + 1;  // the right half of the picture's pixel (100, 50)
  mouse_y = 60 + 2 * 50;
  mouse_callback(MOUSE_FLAG_MOVE);
  EXPECT_EQ(keyStates.pointedArea(pixel100x50, 1), 0);
  mouse_callback(MOUSE_FLAG_LEFT_DOWN);
  EXPECT_EQ(keyStates.clickedArea(pixel100x50, 1), 0);
  EXPECT_FALSE(keyStates.took(keyStatesClass::back));
  mouse_callback(MOUSE_FLAG_RIGHT_DOWN);
  EXPECT_TRUE(keyStates.took(keyStatesClass::back));
  EXPECT_EQ(gui_mouse_x(), 100);
  EXPECT_EQ(gui_mouse_y(), 50);
  mouse_z = 3;  // notches up
  mouse_callback(MOUSE_FLAG_MOVE_Z);
  EXPECT_EQ(keyStates.takeWheel(), 3);
  mouse_z = 1;
  mouse_callback(MOUSE_FLAG_MOVE_Z);
  EXPECT_EQ(keyStates.takeWheel(), -2);
}
