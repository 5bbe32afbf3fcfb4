#include "frame/display.h"

#include <allegro.h>

#include <atomic>

#include "frame/enlarge.h"
#include "frame/error.h"
#include "frame/global.h"
#include "frame/idle.h"
#include "frame/keystates.h"

namespace {
constexpr int WIDTH = 640, HEIGHT = 480;  // the back buffer, whatever the size of the screen

std::atomic<bool> toggleWanted{false};
std::atomic<bool> closeWanted{false};

// What set_gfx_mode was given, so that a switch that fails can go back.
struct mode {
  int card;
  int width;
  int height;
  bool deep;  // in the desktop's depth, where the enlarger converts the pixels itself
};
mode current{};

// Where the picture goes follows from the size the library actually opened.
bool open(const mode &m) {
  set_color_depth(m.deep && desktop_color_depth() == 32 ? 32 : 16);
  const bool opened = set_gfx_mode(m.card, m.width, m.height, 0, 0) == 0;
  set_color_depth(16);
  if (!opened) return false;
  // Every mode set makes the dialogs' colours anew in the screen's depth; they draw on the back buffer.
  gui_fg_color = makecol(0, 0, 0);
  gui_bg_color = makecol(221, 221, 221);
  const placement where = fullScreenPlacement(SCREEN_W, SCREEN_H);
  if (where.scale == 0) return false;
  display::placed = where;
  current = m;
  clear_to_color(screen, makecol_depth(bitmap_color_depth(screen), 0, 0, 0));  // the border stays black
  set_close_button_callback(display::closeButton);
  show_os_cursor(MOUSE_CURSOR_ARROW);  // the desktop's own pointer: sharp at every scale, never redrawn
  return true;
}

// At the desktop's own size the monitor keeps its mode; where that fails, the picture's own size.
bool openFullScreen() {
  int width = 0, height = 0;
  if (get_desktop_resolution(&width, &height) == 0 && fullScreenPlacement(width, height).scale > 0 &&
      open({GFX_AUTODETECT_FULLSCREEN, width, height, true})) {
    return true;
  }
  return open({GFX_AUTODETECT_FULLSCREEN, WIDTH, HEIGHT, false});
}

// A window of auto scale is the largest that fits the desktop.
bool openWindow(int scale) {
  int width = 0, height = 0;
  if (scale == autoScale) scale = get_desktop_resolution(&width, &height) == 0 ? fittingScale(width, height) : 1;
  return open({GFX_AUTODETECT_WINDOWED, WIDTH * scale, HEIGHT * scale, scale > 1});
}
}  // namespace

placement display::placed;
bool display::leaving = false;

// Keys the dialogs read from the library's key buffer: the display's keys never get there, and
// keypad Enter reaches them as Enter.
int display::filterKeyBuffer(int key) {
  const int scancode = key >> 8;
  if (displaySwitchKey(scancode)) return 0;
  return scancode == KEY_ENTER_PAD ? (KEY_ENTER << 8) | '\r' : key;
}

void display::requestToggle() { toggleWanted = true; }

void display::closeButton() {
  closeWanted = true;
  global::wake();
}

bool display::closeRequested() { return closeWanted.exchange(false); }

void display::serviceToggle() {
  if (!toggleWanted.exchange(false)) return;
  // Without a graphics driver there is no mode to switch.
  if (screen) {
    const mode before = current;
    const bool switched = is_windowed_mode() ? openFullScreen() : openWindow(autoScale);
    if (!switched && !open(before)) error::graphicMode();
    show();
  }
  timerCounter = 0;
}

void setMode(const options &opts) {
  bool opened = false;
  switch (opts.mode) {
    case options::fullscreen:
      opened = openFullScreen();
      break;
    case options::window:
      opened = openWindow(opts.scale);
      break;
    case options::autodetect:
      opened = open({GFX_AUTODETECT, WIDTH, HEIGHT, false});
      break;
  }
  if (!opened) error::graphicMode();
}

// Without a graphics driver there is no screen, and the library's blit would crash on it.
void show() {
  if (!screen) return;
  const placement &p = display::placed;
  if (p.scale == 1 && bitmap_color_depth(screen) == 16) {
    blit(global::dbuffer, screen, 0, 0, p.x, p.y, WIDTH, HEIGHT);
  } else {
    enlarge(global::dbuffer, screen, p.scale, p.x, p.y);
  }
}
