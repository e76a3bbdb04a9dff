// Everything that can be wrong with a level file, as the level designer
// needs to hear it.
#pragma once

#include <string>
#include <vector>

// The problems of one level file, each a phrase without the file name; an
// empty list means the level is playable. Loads the file as the game does
// and plays it with the game's flight step.
std::vector<std::string> check_level_file(const std::string& file_name);
