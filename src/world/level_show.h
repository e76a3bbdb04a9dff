// A level as text, one y layer at a time, for level designers and for
// tests that fail.
#pragma once

#include "game/level_grid.h"

#include <string>

// Layers from y = 0 up; in each, one row per z and one column per x.
std::string show_level(const LevelGrid& grid);
