#include "world/world_build.h"

#include "game/game.h"
#include "world/assist.h"
#include "world/level_loader.h"
#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <memory>

namespace {

constexpr float QUARTER_TURN = 90.0f; // degrees
constexpr int PRINCIPAL_AXES = 3;
constexpr int QUARTER_TURNS = 4;
const glm::vec3 CELL_CENTRE{0.5f, 0.5f, 0.5f};

// A turn of the unit cell about its centre by a multiple of 90 degrees about
// x, y or z, so every cube looks a little different but still fills its cell.
// The generator is never seeded and the axis is drawn before the angle, so
// the same level always shows the same cubes.
glm::mat4 random_cell_turn()
{
    glm::vec3 axis{0.0f};
    axis[std::rand() % PRINCIPAL_AXES] = 1.0f;
    const float angle = static_cast<float>(std::rand() % QUARTER_TURNS) * QUARTER_TURN;
    return glm::translate(glm::mat4(1.0f), CELL_CENTRE) *
           glm::rotate(glm::mat4(1.0f), glm::radians(angle), axis) *
           glm::translate(glm::mat4(1.0f), -CELL_CENTRE);
}

// Every occupied cell becomes an entry to draw, x outermost and z innermost.
// The ship start becomes the ship and leaves the grid empty there, so the
// ship can fly back through it.
void place_cells(Game& game)
{
    LevelGrid& grid = *game.level_grid;
    for (int32_t x = 0; x < game.grid_size; ++x)
        for (int32_t y = 0; y < game.grid_size; ++y)
            for (int32_t z = 0; z < game.grid_size; ++z) {
                int32_t& cell = grid.cells[cell_index(grid, x, y, z)];
                if (cell == CELL_EMPTY)
                    continue;
                game.cubes.emplace_back(x, y, z, cell);
                game.cube_rotations.push_back(random_cell_turn());
                if (cell == CELL_SHIP_START) {
                    // With several starts the last one visited is the ship;
                    // the others stay behind as pictures of ships.
                    game.ship_index = static_cast<int32_t>(game.cubes.size()) - 1;
                    game.grid_position = {x, y, z};
                    cell = CELL_EMPTY;
                }
            }
}

template <typename Load>
void build(Game& game, Load load)
{
    game.cubes.clear();
    game.cube_rotations.clear();

    // A new level starts at rest, pointing along +x. The player's chosen
    // heading comes back with the next key event.
    game.flight_progress = 0.0f;
    ship_flying = false;
    heading_axis = AXIS_X;
    heading_sign = +1;

    forget_launches();

    auto grid = std::make_unique<LevelGrid>();
    game.grid_size = load(*grid);
    game.level_grid = std::move(grid);
    if (game.grid_size <= 0)
        return;
    place_cells(game);
}

} // namespace

void build_world(Game& game)
{
    build(game, [&game](LevelGrid& grid) { return load_level(game.level_number, grid); });
}

void build_world_from_file(Game& game, const std::string& file_name)
{
    build(game, [&file_name](LevelGrid& grid) { return load_level_file(file_name, grid); });
}

void build_world_from_grid(Game& game, const LevelGrid& grid)
{
    build(game, [&grid](LevelGrid& copy) {
        copy = grid;
        return copy.size;
    });
}

void update_heading_marker()
{
    // The marker model points along +z; turn it to the heading and move it
    // to the centre of the ship's cell.
    const glm::mat4 identity(1.0f);
    const glm::vec3 x_axis{1.0f, 0.0f, 0.0f};
    const glm::vec3 y_axis{0.0f, 1.0f, 0.0f};
    glm::mat4 turn;
    switch (heading_axis * heading_sign) {
    case +AXIS_X: turn = glm::rotate(identity, glm::radians(90.0f), y_axis); break;
    case -AXIS_X: turn = glm::rotate(identity, glm::radians(-90.0f), y_axis); break;
    case +AXIS_Y: turn = glm::rotate(identity, glm::radians(-90.0f), x_axis); break;
    case -AXIS_Y: turn = glm::rotate(identity, glm::radians(90.0f), x_axis); break;
    case +AXIS_Z: turn = identity; break;
    case -AXIS_Z: turn = glm::rotate(identity, glm::radians(180.0f), y_axis); break;
    default: return;
    }
    marker_matrix = glm::translate(identity, CELL_CENTRE) * turn;
}

glm::vec3 find_beamer(const LevelGrid& grid, BeamerEnd end)
{
    const int32_t count = grid.cell_count;
    for (int32_t step = 0; step < count; ++step) {
        const int32_t index = end == BeamerEnd::FIRST ? step : count - 1 - step;
        if (grid.cells[index] != CELL_BEAMER)
            continue;
        const int32_t x = index % grid.size;
        const int32_t y = index / grid.size % grid.size;
        const int32_t z = index / (grid.size * grid.size);
        return glm::vec3(x, y, z);
    }
    return glm::vec3(0.0f);
}
