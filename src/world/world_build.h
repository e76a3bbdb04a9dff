// Turning a level into the world that is played and drawn: the list of
// occupied cells, their orientations and the ship.
#pragma once

#include "game/level_grid.h"

#include <string>

class Game;

// (Re)builds the world from the level file for game.level_number, or from
// the grid being edited while there is one: at start-up, after the goal and
// after the ship was lost. Throws ConfigFile::file_not_found for a missing
// file, and FatalError for one that cannot be read as a level; a level
// without a ship start is built without a ship, and game.unplayable says
// why.
void build_world(Game& game);

// The same from a named file, for the benchmark and the tests.
void build_world_from_file(Game& game, const std::string& file_name);
