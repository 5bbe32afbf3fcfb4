#pragma once

#include <allegro.h>

#include <atomic>

// A rectangle of the picture, its corners included.
struct area {
  int x1, y1, x2, y2;
};

// Turns the library's live key table into press events: a held key reports once, when it goes
// down, and again only after it went up (as a test or the keyboard callback saw). A press that
// goes down and up between two tests, too quick for the table, is caught by the keyboard callback
// and reported at the next test within a tick or two; later it is stale, like the release of a key
// that no screen was reading.
// Alt+Enter and F11 belong to the display and reach no screen; Alt alone counts when let go.
// The mouse and the game pad report here too, in the game's own terms: keys they stand for, the
// presses no key stands for, and the pointer in the picture's coordinates.
class keyStatesClass {
 public:
  int state[KEY_MAX];

  keyStatesClass();
  int operator[](int k);
  int getKey(int k);
  bool anyKey();
  void resetAll();
  void setState(int k, int v);

  // Whether key k is down now or went down and up since the last test (which this uses up): for
  // the keys that act once per tick while held.
  bool held(int k);
  // From the library's keyboard callback: a scancode, its top bit set for a release. Says whether
  // the press asks to switch between full screen and a window.
  bool keyEvent(int scancode);

  // Presses that no key stands for: "back" (the pad's B, the right mouse button: Backspace in a
  // battle, Esc on the chooser), "button" (any other pad button) and "click" (the left mouse
  // button, where the pointer was).
  enum other { back, button, click, OTHERS };
  // From any thread: a press of key k, or of another kind, reported at the next test like a tap.
  void press(int k);
  void press(other p);
  // Whether such a press came since the last test of it (which this uses up).
  bool took(other p);
  // Whether a pad button or a click came: what ends the screens that any press ends.
  bool anyOther();
  // A device holds key k down (the pad's d-pad): it counts as held.
  void hold(int k, bool down);

  // The pointer on the picture, as the mouse driver's callback sets it: where it is, where the last
  // click was, and whether it moved since the last look (which this uses up). Moves and wheel notches
  // go stale as taps do.
  std::atomic<int> pointerX{-1}, pointerY{-1};
  std::atomic<int> clickX{-1}, clickY{-1};
  void movePointer(int x, int y);
  bool pointerMoved();
  void turnWheel(int notches);
  // Wheel notches since the last look, up positive.
  int takeWheel();
  // Which of the areas the pointer moved onto since the last look, or a click fell on: -1 for none.
  // A click elsewhere is spent all the same.
  int pointedArea(const area *areas, int count);
  int clickedArea(const area *areas, int count);

 private:
  std::atomic<unsigned> tappedAt[KEY_MAX];  // 1 + the clock's tick count when a press that no test
                                            // saw ended; 0 for none
  std::atomic<bool> reserved[KEY_MAX];  // a press the display takes, not the screens
  std::atomic<bool> pressed[KEY_MAX];      // down, as the callback saw it
  std::atomic<bool> upSinceTest[KEY_MAX];  // the callback saw it go up after the last test
  std::atomic<bool> sawDown[KEY_MAX];      // a test saw its latest press down
  std::atomic<bool> altAlone{false};    // Alt is down and no other key went down with it
  std::atomic<int> releasesToCome[KEY_MAX];    // after a display switch, the releases its key still has
  std::atomic<unsigned> otherAt[OTHERS];   // as tappedAt, for the other presses
  bool heldByDevice[KEY_MAX];
  std::atomic<unsigned> movedAt{0}, wheelAt{0};
  std::atomic<int> wheel{0};
  bool down(int k) const;
  bool takeTap(int k);
  void tap(int k);
};

extern keyStatesClass keyStates;

// Whether this press, with the key table as it is, is Alt+Enter (either Enter) or F11: the display's.
bool displaySwitchKey(int k);
