#pragma once

// The keyboard, the mouse and the game pad, turned into the game's presses (see keyStates), and
// the requests they make of the display.
namespace devices {
// Installs the mouse and the game pad where there are any; neither is needed.
void install();

// The library's keyboard and mouse callbacks, from its own threads.
void keyEvent(int scancode);
void mouseEvent(int flags);

// What a pass of a screen loop does first: a pending display switch, and the game pad's state.
void poll();

// The game pad as the library reads it: its buttons and its two direction sticks (the left stick,
// and the last one, which is the d-pad of an eight-axis pad) in -128..128.
struct padState {
  bool buttons[16];
  int numButtons;
  int stickX[2], stickY[2];
};
// The presses and held arrows of one reading of the pad, against the reading before.
void padEvents(const padState &now, padState &before);
}  // namespace devices
