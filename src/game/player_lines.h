// Telling the player something in words. The HUD shows each line for a few
// seconds; a line about the player's own files (a save, the progress, the
// settings, unsaved edits kept) goes to standard output as well, so that it
// is seen whatever `text` says.
#pragma once

#include <string>

class Game;

void show_message(Game& game, std::string line);
void report_to_player(Game& game, std::string line);
