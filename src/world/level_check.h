// Everything that can be wrong with a level, as the level designer needs
// to hear it.
#pragma once

#include "world/level_loader.h"

#include <string>
#include <vector>

// The words for a goal the ship start has no way to, so that the editor
// can tell that problem from the others.
extern const char* const GOAL_OUT_OF_REACH;

// The problems of a level as it is written, each a phrase; an empty list
// means the level is playable. Plays it with the game's flight step. Works
// on any level, also one the game would refuse to load. `shown`: in the
// player's language, for the editor's status line.
std::vector<std::string> check_level(const LevelFile& level, bool shown = false);

// The same for a level file, loaded as the game reads it, and the reason
// when it cannot be read at all. The phrases leave out the file name.
std::vector<std::string> check_level_file(const std::string& file_name);
