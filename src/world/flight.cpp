#include "world/flight.h"

#include "game/game.h"
#include "world/assist.h"
#include "world/level_loader.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <array>

namespace {

// Each crossed cell adds two frame periods to the ship's drawn lead, in
// cells. It once added two real frame times, so a slow frame or a stalled
// process pushed the drawn ship past the loss bounds and restarted a level
// that the same launch at 60 frames a second would have finished; now a
// launch ends the same way at any frame rate, as the solver assumes.
constexpr float LEAD_PER_CELL = static_cast<float>(2.0 * FRAME_PERIOD);

// Ends the flight and the launch: the ship rests.
void come_to_rest()
{
    ship_flying = false;
    launch_requested = false;
}

// The launch check: what lies in the cell ahead of the ship decides whether
// it flies on.
WorldChange look_ahead(Game& game, int axis, int sign)
{
    const LevelGrid& grid = *game.level_grid;
    glm::vec4& ship = game.cubes[game.ship_index];
    std::array<int32_t, 3> ahead = game.grid_position;
    ahead[axis] += sign;

    // Past the edge there is nothing to stop the ship; it flies on until it
    // is lost. A cell off the grid on another axis cannot happen in play, but
    // would count as outside too rather than be read.
    if (!inside_grid(grid, ahead[0], ahead[1], ahead[2])) {
        ship_flying = true;
        return WorldChange::NONE;
    }

    switch (grid.cells[cell_index(grid, ahead[0], ahead[1], ahead[2])]) {
    case CELL_EMPTY:
        ship_flying = true;
        break;
    case CELL_CUBE:
        // Stop in this cell, dropping the lead the drawn ship had gained.
        ship[axis] = static_cast<float>(game.grid_position[axis]);
        come_to_rest();
        break;
    case CELL_BEAMER: {
        // Entering one beamer leaves from the other; with a single beamer
        // the ship comes out of the one it entered. The launch stays
        // requested, so the flight goes on in the same direction.
        const glm::vec3 first = find_beamer(grid, BeamerEnd::FIRST);
        const glm::vec3 entered(ahead[0], ahead[1], ahead[2]);
        const glm::vec3 exit = entered == first ? find_beamer(grid, BeamerEnd::LAST) : first;
        ship.x = exit.x;
        ship.y = exit.y;
        ship.z = exit.z;
        game.grid_position = {static_cast<int32_t>(exit.x), static_cast<int32_t>(exit.y),
                              static_cast<int32_t>(exit.z)};
        ship_flying = true;
        break;
    }
    case CELL_GOAL:
        game.level_number += 1;
        come_to_rest();
        return WorldChange::NEXT_LEVEL;
    default:
        // Cells the renderer does not draw still block, but leave the drawn
        // position as it was.
        come_to_rest();
        break;
    }
    return WorldChange::NONE;
}

// The motion: a whole cell ahead for the drawn ship in one frame, then the
// ship's cell catches up in the next while the drawn ship gains its lead.
WorldChange move_ship(Game& game, int axis, int sign)
{
    float step = 0.0f;
    if (game.flight_progress < 1.0f) {
        step = 1.0f - game.flight_progress;
        game.flight_progress = game.flight_progress + step;
    } else {
        game.grid_position[axis] += sign;
        step = LEAD_PER_CELL;
        game.flight_progress = 0.0f;
    }

    float& drawn = game.cubes[game.ship_index][axis];
    drawn += static_cast<float>(sign) * step;
    if (drawn > LOST_ABOVE || drawn < LOST_BELOW) {
        come_to_rest();
        return WorldChange::RESTART_LEVEL;
    }
    return WorldChange::NONE;
}

} // namespace

WorldChange advance_flight(Game& game)
{
    if (heading_axis < AXIS_X || heading_axis > AXIS_Z)
        return WorldChange::NONE;
    const int axis = heading_axis - AXIS_X; // 0, 1, 2 for x, y, z
    const int sign = heading_sign;

    if (launch_requested) {
        const WorldChange change = look_ahead(game, axis, sign);
        if (change != WorldChange::NONE)
            return change;
    }
    if (ship_flying)
        return move_ship(game, axis, sign);
    return WorldChange::NONE;
}

void flight_step(Game& game)
{
    answer_requests(game);
    // The request stays set from the launch's first frame until the ship
    // rests again.
    const bool launched = launch_requested;
    if (launched && !ship_flying)
        launch_begins(game);
    if (advance_flight(game) != WorldChange::NONE)
        build_world(game);
    else if (launched && !launch_requested)
        launch_rests(game);
}
