// Turning a level into the world that is played and drawn: the list of
// occupied cells, their orientations, the ship and its heading marker.
#pragma once

#include "game/level_grid.h"

#include <glm/glm.hpp>

#include <string>

class Game;

// (Re)builds the world from the level file for game.level_number: at
// start-up, after the goal and after the ship was lost. Throws what
// load_level throws.
void build_world(Game& game);

// The same from a named file, for the level tools and the tests, and from a
// grid made in memory, for the level generator.
void build_world_from_file(Game& game, const std::string& file_name);
void build_world_from_grid(Game& game, const LevelGrid& grid);

// Points the heading marker along heading_axis and heading_sign.
void update_heading_marker();

enum class BeamerEnd { FIRST, LAST };

// The first or last beamer cell in cell order (x fastest, then y, then z),
// or (0, 0, 0) when the grid holds none.
glm::vec3 find_beamer(const LevelGrid& grid, BeamerEnd end);
