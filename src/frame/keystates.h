#pragma once

#include <allegro.h>

#include <atomic>

// Turns the library's live key table into press events: a held key reports once, when it goes
// down, and again only after a test has seen it up. A press that goes down and up between two
// tests, too quick for the table, is caught by the keyboard callback and reported at the next test
// within a tick or two; later it is stale, like the release of a key that no screen was reading.
// Alt+Enter and F11 belong to the display and reach no screen; Alt alone counts when let go.
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

 private:
  std::atomic<unsigned> tappedAt[KEY_MAX];  // 1 + the clock's tick count when a press that no test
                                            // saw ended; 0 for none
  std::atomic<bool> reserved[KEY_MAX];  // a press the display takes, not the screens
  std::atomic<bool> pressed[KEY_MAX];      // down, as the callback saw it
  std::atomic<bool> upSinceTest[KEY_MAX];  // the callback saw it go up after the last test
  std::atomic<bool> altAlone{false};    // Alt is down and no other key went down with it
  bool down(int k) const;
  bool takeTap(int k);
  void tap(int k);
};

extern keyStatesClass keyStates;
