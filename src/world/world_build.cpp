#include "world/world_build.h"

#include "game/fatal_error.h"
#include "game/game.h"
#include "world/flight_rules.h"
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
// The axis is drawn before the angle from the C library's generator, which
// the game never seeds but shares with the beamers' particles: a run starts
// with the same cubes every time, while a level played again later in the
// run, or after a restart, draws new turns.
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
// ship can fly back through it. With several starts one is the ship; the
// others stay behind as pictures of ships.
void place_cells(Game& game)
{
    LevelGrid& grid = *game.level_grid;
    const Cell start = ship_start(grid);
    for (int32_t x = 0; x < game.grid_size; ++x)
        for (int32_t y = 0; y < game.grid_size; ++y)
            for (int32_t z = 0; z < game.grid_size; ++z) {
                const int32_t cell = grid.cells[cell_index(grid, x, y, z)];
                if (cell == CELL_EMPTY)
                    continue;
                game.cubes.emplace_back(x, y, z, cell);
                game.cube_rotations.push_back(random_cell_turn());
                if (cell == CELL_SHIP_START && Cell{x, y, z} == start)
                    game.ship_index = static_cast<int32_t>(game.cubes.size()) - 1;
            }
    game.grid_position = take_ship_start(grid).cell;
}

// A level the game has reached but cannot play or edit ends the game.
[[noreturn]] void cannot_play(const std::string& file_name, const std::string& problem)
{
    throw FatalError{"Cannot play \"" + file_name + "\": " + problem + "."};
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

    // A level without a ship start (one being edited) has no ship to draw.
    game.ship_index = -1;
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
    game.unplayable.clear();
    if (game.edited_grid) {
        build(game, [&game](LevelGrid& grid) {
            grid = *game.edited_grid;
            return grid.size;
        });
        return;
    }
    // A level the editor saved half made is still one to reach: it is built
    // without a ship, and the game edits it.
    build(game, [&game](LevelGrid& grid) {
        const std::string file_name = level_file_name(game.level_number, game.level_file_count, game.level_set);
        const Result<LevelFile> level = read_level_file(file_name);
        if (!level)
            cannot_play(file_name, level.problem());
        fill_level_grid(level.value(), grid);
        game.level_name = level->name;
        game.unplayable = check_playable(grid).problem();
        return grid.size;
    });
}

void build_world_from_file(Game& game, const std::string& file_name)
{
    build(game, [&game, &file_name](LevelGrid& grid) {
        const Result<int32_t> size = load_level_file(file_name, grid, &game.level_name);
        if (!size)
            cannot_play(file_name, size.problem());
        return size.value();
    });
}
