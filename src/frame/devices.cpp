#include "frame/devices.h"

#include <allegro.h>

#include "frame/display.h"
#include "frame/global.h"
#include "frame/idle.h"
#include "frame/keystates.h"

namespace {
constexpr int HALF_TRAVEL = 64;  // a stick pushed past half its way counts as an arrow
constexpr int BUTTON_A = 0, BUTTON_B = 1, START = 7, START_OTHER_LAYOUT = 9;

int lastWheel = 0;  // the driver's wheel count at the last notch taken
devices::padState lastPad{};

// The dialogs of the library read the mouse at the picture's coordinates, as the game does.
int guiMouseX() { return onPicture(mouse_x, display::placed.x, display::placed.scale); }
int guiMouseY() { return onPicture(mouse_y, display::placed.y, display::placed.scale); }

devices::padState readPad() {
  devices::padState now{};
  poll_joystick();
  const JOYSTICK_INFO &pad = joy[0];
  now.numButtons = pad.num_buttons < 16 ? pad.num_buttons : 16;
  for (int b = 0; b < now.numButtons; ++b) now.buttons[b] = pad.button[b].b;
  // The left stick, and the last one where there are more: the d-pad of the usual pads.
  const int sticks[2] = {0, pad.num_sticks - 1};
  for (int s = 0; s < 2 && s < pad.num_sticks; ++s) {
    const JOYSTICK_STICK_INFO &stick = pad.stick[sticks[s]];
    if (stick.num_axis < 2) continue;
    now.stickX[s] = stick.axis[0].pos;
    now.stickY[s] = stick.axis[1].pos;
  }
  return now;
}
}  // namespace

void devices::install() {
  keyboard_callback = display::filterKeyBuffer;
  if (install_mouse() >= 0) {
    mouse_callback = mouseEvent;
    gui_mouse_x = guiMouseX;
    gui_mouse_y = guiMouseY;
  }
  // No pad is no error; the driver finds none quietly.
  if (install_joystick(JOY_TYPE_AUTODETECT) != 0) num_joysticks = 0;
}

void devices::keyEvent(int scancode) {
  if (keyStates.keyEvent(scancode)) display::requestToggle();
  global::wake();
}

void devices::mouseEvent(int flags) {
  const placement where = display::placed;
  const int x = onPicture(mouse_x, where.x, where.scale), y = onPicture(mouse_y, where.y, where.scale);
  if (flags & MOUSE_FLAG_MOVE) keyStates.movePointer(x, y);
  if (flags & MOUSE_FLAG_LEFT_DOWN) {
    keyStates.clickX = x;
    keyStates.clickY = y;
    keyStates.press(keyStatesClass::click);
  }
  if (flags & MOUSE_FLAG_RIGHT_DOWN) keyStates.press(keyStatesClass::back);
  if (flags & MOUSE_FLAG_MOVE_Z) {
    keyStates.turnWheel(mouse_z - lastWheel);
    lastWheel = mouse_z;
  }
  global::wake();
}

void devices::padEvents(const padState &now, padState &before) {
  for (int b = 0; b < now.numButtons; ++b) {
    if (!now.buttons[b] || before.buttons[b]) continue;
    if (b == BUTTON_A) {
      keyStates.press(KEY_ENTER);
    } else if (b == BUTTON_B) {
      keyStates.press(keyStatesClass::back);
    } else {
      // Start is Esc; it and the rest end the screens that any press ends.
      if (b == START || b == START_OTHER_LAYOUT) keyStates.press(KEY_ESC);
      keyStates.press(keyStatesClass::button);
    }
  }
  bool left = false, right = false, up = false, down = false;
  for (int s = 0; s < 2; ++s) {
    left = left || now.stickX[s] < -HALF_TRAVEL;
    right = right || now.stickX[s] > HALF_TRAVEL;
    up = up || now.stickY[s] < -HALF_TRAVEL;
    down = down || now.stickY[s] > HALF_TRAVEL;
  }
  keyStates.hold(KEY_LEFT, left);
  keyStates.hold(KEY_RIGHT, right);
  keyStates.hold(KEY_UP, up);
  keyStates.hold(KEY_DOWN, down);
  before = now;
}

void devices::poll() {
  display::serviceToggle();
  if (num_joysticks > 0) padEvents(readPad(), lastPad);
}
