// The game's own icon on its window, for the task bar and the window
// switcher: the one the menu entry shows, which tirak-make-data paints.
#pragma once

// Where the icon is, beside the textures: the player's directory links to
// the shipped tex/, as the game's data/ holds it.
constexpr const char* WINDOW_ICON_FILE = "tex/icon.png";

// Gives the open window the icon in WINDOW_ICON_FILE. An icon that is
// missing or cannot be read is said in one line on standard output, and
// the window goes without: the game plays on.
void give_window_its_icon();
