#include "world/game_ship.h"

#include "game/game.h"
#include "world/flight_rules.h"
#include "world/world_state.h"

RestingShip resting_ship(const Game& game)
{
    return resting_ship(ship_motion(game));
}

void place_ship(Game& game, const RestingShip& ship)
{
    ShipMotion motion = ship_motion(game);
    motion.cell = ship.cell;
    motion.flight_progress = ship.flight_progress;
    motion.drawn = ship.drawn;
    store_ship_motion(game, motion);
}

ShipMotion ship_motion(const Game& game)
{
    ShipMotion motion;
    motion.cell = game.grid_position;
    motion.drawn = glm::vec3(game.cubes[game.ship_index]);
    motion.flight_progress = game.flight_progress;
    motion.launch_requested = launch_requested;
    motion.flying = ship_flying;
    motion.beamers_left = game.beamers_left;
    return motion;
}

void store_ship_motion(Game& game, const ShipMotion& motion)
{
    game.grid_position = motion.cell;
    glm::vec4& drawn = game.cubes[game.ship_index];
    drawn.x = motion.drawn.x;
    drawn.y = motion.drawn.y;
    drawn.z = motion.drawn.z;
    game.flight_progress = motion.flight_progress;
    launch_requested = motion.launch_requested;
    ship_flying = motion.flying;
    game.beamers_left = motion.beamers_left;
}
