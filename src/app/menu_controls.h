// What the menu's commands do to the game: open it and pause, move through
// it, and carry out what is chosen there.
#pragma once

#include "app/input_bindings.h"
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

// Whether the keys screen waits for a key or a button to bind.
bool awaiting_binding(const Game& game);
// The key or button pressed for the command the keys screen waits on: it
// becomes the command's one chord on that device, and goes into the
// settings. One that another command holds where this one is asked for is
// refused, and the game says whose it is; the menu's own key (F2, Start)
// leaves the command as it was.
void bind_from_menu(Game& game, Chord chord, const ChordSpelling& spelling, InputBindings& bindings);
