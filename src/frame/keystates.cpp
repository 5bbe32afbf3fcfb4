#include "frame/keystates.h"

#include "frame/global.h"

keyStatesClass keyStates;

namespace {
bool isAlt(int k) { return k == KEY_ALT || k == KEY_ALTGR; }
bool isEnter(int k) { return k == KEY_ENTER || k == KEY_ENTER_PAD; }
}  // namespace

// The library lets go of Alt too during a switch while the player may still hold it: its flag in
// key_shifts, kept from the keyboard's own state, still says so then.
bool displaySwitchKey(int k) {
  return k == KEY_F11 || (isEnter(k) && (key[KEY_ALT] || key[KEY_ALTGR] || (key_shifts & KB_ALT_FLAG)));
}

keyStatesClass::keyStatesClass() { resetAll(); }

// Keypad Enter is Enter wherever the game reads Enter.
bool keyStatesClass::down(int k) const { return key[k] || (k == KEY_ENTER && key[KEY_ENTER_PAD]); }

int keyStatesClass::operator[](int k) {
  if (static_cast<unsigned>(k) >= static_cast<unsigned>(KEY_MAX)) return 0;
  const bool isDown = down(k);
  // Tested here too, as the callback may not have marked an Enter that the table shows already.
  const bool display = reserved[k] || isAlt(k) || displaySwitchKey(k);
  // A key down with its press reported is a new press when the callback saw it go up since.
  const bool fresh = isDown && (!state[k] || upSinceTest[k]);
  const bool pressed = (fresh && !display) || takeTap(k);
  upSinceTest[k] = false;
  if (isDown) sawDown[k] = true;
  state[k] = isDown;
  return pressed;
}

int keyStatesClass::getKey(int k) { return (*this)[k]; }

bool keyStatesClass::anyKey() {
  bool pressed = anyOther();
  for (int k = 0; k < KEY_MAX; ++k) {
    if ((*this)[k]) pressed = true;
  }
  return pressed;
}

void keyStatesClass::resetAll() {
  for (int k = 0; k < KEY_MAX; ++k) {
    state[k] = 0;
    tappedAt[k] = 0;
    reserved[k] = false;
    pressed[k] = false;
    upSinceTest[k] = false;
    sawDown[k] = false;
    releasesToCome[k] = 0;
    heldByDevice[k] = false;
  }
  for (std::atomic<unsigned> &at : otherAt) at = 0;
  movedAt = 0;

  wheelAt = 0;
  wheel = 0;
}

void keyStatesClass::setState(int k, int v) { state[k] = v; }

bool keyStatesClass::held(int k) {
  if (key[k]) sawDown[k] = true;
  const bool tapped = takeTap(k);  // taken even while held, or it would act again once let go
  return key[k] || heldByDevice[k] || tapped;
}

namespace {
// A press stamped with the tick it came in counts for the test in the next tick or the one after.
unsigned now() { return global::ticks + 1; }
bool fresh(std::atomic<unsigned> &at) {
  const unsigned stamp = at.exchange(0);
  return stamp != 0 && now() - stamp <= 2;
}
}  // namespace

void keyStatesClass::tap(int k) { tappedAt[k] = now(); }

bool keyStatesClass::takeTap(int k) { return fresh(tappedAt[k]); }

void keyStatesClass::press(int k) { tap(k); }

void keyStatesClass::press(other p) { otherAt[p] = now(); }

bool keyStatesClass::took(other p) { return fresh(otherAt[p]); }

bool keyStatesClass::anyOther() {
  const bool pad = took(button), backPress = took(back), clicked = took(click);
  return pad || backPress || clicked;
}

void keyStatesClass::hold(int k, bool down) {
  if (down && !heldByDevice[k]) press(k);
  heldByDevice[k] = down;
}

void keyStatesClass::movePointer(int x, int y) {
  pointerX = x;
  pointerY = y;
  movedAt = now();
}

bool keyStatesClass::pointerMoved() { return fresh(movedAt); }

void keyStatesClass::turnWheel(int notches) {
  if (!fresh(wheelAt)) wheel = 0;  // notches no step took are stale
  wheel += notches;
  wheelAt = now();
}

int keyStatesClass::takeWheel() {
  const int notches = wheel.exchange(0);
  return fresh(wheelAt) ? notches : 0;
}

namespace {
int areaAt(const area *areas, int count, int x, int y) {
  for (int i = 0; i < count; ++i) {
    if (x >= areas[i].x1 && x <= areas[i].x2 && y >= areas[i].y1 && y <= areas[i].y2) return i;
  }
  return -1;
}
}  // namespace

int keyStatesClass::pointedArea(const area *areas, int count) {
  return pointerMoved() ? areaAt(areas, count, pointerX, pointerY) : -1;
}

int keyStatesClass::clickedArea(const area *areas, int count) {
  return took(click) ? areaAt(areas, count, clickX, clickY) : -1;
}

// A press that goes up before any test saw the key down is one the screens would never see: it
// becomes a tap.
bool keyStatesClass::keyEvent(int scancode) {
  const int k = scancode & 0x7F;
  const int target = k == KEY_ENTER_PAD ? KEY_ENTER : k;
  // A display switch makes the library let go of every key, so the key that asked for it goes up
  // twice (its own release and the library's, in either order), and if still held it comes back
  // as the keyboard's repeats in between: all of that is the display's.
  if (releasesToCome[target] > 0) {
    if (scancode & 0x80) --releasesToCome[target];
    pressed[k] = !(scancode & 0x80);
    return false;
  }
  // A mode switch makes the library let go of every key once more: only a key it saw go down counts.
  if (scancode & 0x80) {
    if (!pressed[k].exchange(false)) return false;
    if (isAlt(k) ? altAlone.exchange(false) : !reserved[target].exchange(false) && !sawDown[target]) tap(target);
    upSinceTest[target] = true;
    return false;
  }
  // The driver repeats the press of a held key; only the first is a new press.
  if (!pressed[k].exchange(true)) {
    sawDown[target] = false;
    reserved[target] = false;
  }
  if (isAlt(k)) {
    altAlone = true;
    return false;
  }
  altAlone = false;
  if (!displaySwitchKey(k) || reserved[target].exchange(true)) return false;
  releasesToCome[target] = 2;
  return true;
}
