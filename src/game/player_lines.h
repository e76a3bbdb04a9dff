// Telling the player something in words. The HUD shows each line for a few
// seconds; a line about the player's own files (a save, the progress, the
// settings, unsaved edits kept) goes to standard output as well, so that it
// is seen whatever `text` says.
#pragma once

#include "language/language.h"

#include <string>

class Game;

void show_message(Game& game, std::string line);
void report_to_player(Game& game, std::string line);
// The line in English on standard output, and `shown` (the same in the
// player's language) on the screen.
void report_to_player(Game& game, const std::string& line, std::string shown);

// The pattern filled with the values: shown in the player's language, and
// for report_words also printed in English.
using Values = std::initializer_list<std::pair<const char*, std::string>>;
void show_words(Game& game, const char* pattern, Values values);
void report_words(Game& game, const char* pattern, Values values);
