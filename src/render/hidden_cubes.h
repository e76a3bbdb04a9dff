// Which of a level's cubes no eye outside them can see, so that dense
// levels are not drawn from the inside out.
#pragma once

#include <glm/glm.hpp>

#include <vector>

// One flag a cell of `cells` (the game's cubes: x, y, z and what is there):
// true for a cube that has a cube in every one of the 26 cells around it,
// while `eye`, in the cells' own coordinates, stands well outside that block
// of 27. Every cube fills its cell out to the faces in any of its quarter
// turns, so the block hides the cube in the middle; from inside the block,
// or close enough for the near plane to cut into it, it would not.
std::vector<bool> hidden_cubes(const std::vector<glm::vec4>& cells, int grid_size, glm::vec3 eye);
