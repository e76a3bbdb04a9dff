#include "world/flight.h"

#include "game/game.h"
#include "world/assist.h"
#include "world/flight_rules.h"
#include "world/game_ship.h"
#include "world/level_loader.h"
#include "world/world_state.h"

#include <iostream>

void flight_step(Game& game)
{
    // A level without a ship has nothing to fly, restart or take back; the
    // game edits it before the player can ask. Level select may have just
    // gone to one.
    if (game.ship_index < 0)
        return;
    answer_requests(game);
    if (game.ship_index < 0)
        return;
    // The request stays set from the launch's first frame until the ship
    // rests again.
    if (launch_requested && !ship_flying) {
        launch_begins(game);
        game.events.push_back({WorldEventKind::LAUNCHED, game.grid_position});
    }

    const FlightStep step = step_flight(*game.level_grid, {heading_axis, heading_sign}, ship_motion(game));
    store_ship_motion(game, step.motion);
    if (step.beamed)
        game.events.push_back({WorldEventKind::BEAMED, step.ahead, step.beamer_exit});
    switch (step.end) {
    case StepEnd::NONE:
        break;
    case StepEnd::RESTS:
        game.events.push_back({WorldEventKind::STOPPED, step.ahead});
        launch_rests(game);
        break;
    case StepEnd::GOAL:
        // Every launch of the way there is still in the history, the last
        // one included: U takes back only launches that moved the ship.
        game.events.push_back({WorldEventKind::SOLVED, step.ahead, {}, game.level_number,
                               static_cast<int32_t>(game.aids.launches.size())});
        // A play-test's goal starts the level being edited again.
        if (game.edit_mode != EditMode::TESTING)
            game.level_number = next_level_number(game.level_number, game.level_file_count);
        start_level(game);
        break;
    case StepEnd::LOST:
        game.events.push_back({WorldEventKind::FLEW_OUT, step.motion.cell});
        restart_level(game);
        break;
    case StepEnd::ENDLESS:
        // Left alone it would lock every key but Escape for good; flying out
        // is what the player would have to do anyway.
        std::cout << level_file_name(game.level_number, game.level_file_count, game.level_set) << ENDLESS_FLIGHT_LINE
                  << std::endl;
        game.events.push_back({WorldEventKind::ENDLESS, step.ahead});
        restart_level(game);
        break;
    }
}
