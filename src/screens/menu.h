#pragma once

namespace menu {
// The main menu and the wizard chooser: the chosen wizard type 0..3, or -1 to end the game.
int mainMenu();
}  // namespace menu
