#include "frame/keystates.h"

keyStatesClass keyStates;

keyStatesClass::keyStatesClass() { resetAll(); }

int keyStatesClass::operator[](int k) {
  if (static_cast<unsigned>(k) >= static_cast<unsigned>(KEY_MAX)) return 0;
  if (key[k] && !state[k]) {
    state[k] = 1;
    return 1;
  }
  if (!key[k]) state[k] = 0;
  return 0;
}

int keyStatesClass::getKey(int k) { return (*this)[k]; }

bool keyStatesClass::anyKey() {
  bool pressed = false;
  for (int k = 0; k < KEY_MAX; ++k) {
    if ((*this)[k]) pressed = true;
  }
  return pressed;
}

void keyStatesClass::resetAll() {
  for (int &s : state) s = 0;
}

void keyStatesClass::setState(int k, int v) { state[k] = v; }
