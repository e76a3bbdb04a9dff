// What the menu's commands do to the game: open it and pause, move through
// it, and carry out what is chosen there.
#pragma once

#include "game/command.h"

class Game;

// Whether the menu is open over the game.
bool menu_open(const Game& game);

// MENU opens the menu while a level is played (not while it is edited) and
// closes it; the menu's other commands move through it or choose.
void answer_menu(Game& game, Command command);

// F11 and the options: the whole screen or a window, at once, kept in the
// settings.
void switch_whole_screen(Game& game);
