#pragma once

#include <allegro.h>

// Turns the library's live key table into press events: a held key reports once, when it goes
// down, and again only after a test has seen it up.
class keyStatesClass {
 public:
  int state[KEY_MAX];

  keyStatesClass();
  int operator[](int k);
  int getKey(int k);
  bool anyKey();
  void resetAll();
  void setState(int k, int v);
};

extern keyStatesClass keyStates;
