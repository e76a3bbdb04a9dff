#include "render/hidden_cubes.h"

#include "game/level_grid.h"

#include <cstddef>

namespace {

// How far outside a block the eye must be, in cells, for its sides to stay
// whole: more than the near plane's corners reach from the eye.
constexpr float EYE_CLEARANCE = 0.5f;

// A cube needs 26 others round it.
constexpr size_t BLOCK_CELLS = 27;

} // namespace

std::vector<bool> hidden_cubes(const std::vector<glm::vec4>& cells, int grid_size, glm::vec3 eye)
{
    std::vector<bool> hidden(cells.size(), false);
    if (cells.size() < BLOCK_CELLS || grid_size < 3)
        return hidden;

    const auto size = static_cast<size_t>(grid_size);
    const auto inside = [grid_size](int x, int y, int z) {
        return x >= 0 && x < grid_size && y >= 0 && y < grid_size && z >= 0 && z < grid_size;
    };
    const auto at = [size](int x, int y, int z) {
        return (static_cast<size_t>(x) * size + static_cast<size_t>(y)) * size + static_cast<size_t>(z);
    };
    const auto is_cube = [](const glm::vec4& cell) { return static_cast<int>(cell.w) == CELL_CUBE; };
    std::vector<bool> cube(size * size * size, false);
    for (const glm::vec4& cell : cells) {
        const int x = static_cast<int>(cell.x), y = static_cast<int>(cell.y), z = static_cast<int>(cell.z);
        if (is_cube(cell) && inside(x, y, z))
            cube[at(x, y, z)] = true;
    }
    // Beyond the grid is open space.
    const auto cube_at = [&](int x, int y, int z) { return inside(x, y, z) && cube[at(x, y, z)]; };

    for (size_t k = 0; k < cells.size(); ++k) {
        const glm::vec3 low = glm::vec3(cells[k]) - 1.0f - EYE_CLEARANCE;
        const glm::vec3 high = glm::vec3(cells[k]) + 2.0f + EYE_CLEARANCE;
        if (!is_cube(cells[k]) || (glm::all(glm::greaterThan(eye, low)) && glm::all(glm::lessThan(eye, high))))
            continue;
        const int x = static_cast<int>(cells[k].x), y = static_cast<int>(cells[k].y),
                  z = static_cast<int>(cells[k].z);
        bool closed = true;
        for (int dx = -1; dx <= 1 && closed; ++dx)
            for (int dy = -1; dy <= 1 && closed; ++dy)
                for (int dz = -1; dz <= 1 && closed; ++dz)
                    closed = cube_at(x + dx, y + dy, z + dz);
        hidden[k] = closed;
    }
    return hidden;
}
