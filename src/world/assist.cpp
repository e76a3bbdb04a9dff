#include "world/assist.h"

#include "game/game.h"
#include "world/game_ship.h"
#include "world/level_search.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <iostream>

namespace {

LaunchStart launch_start(const Game& game)
{
    return {resting_ship(game), view_index, vertical_heading};
}

void take_back_launch(Game& game)
{
    std::vector<LaunchStart>& launches = game.aids.launches;
    // Right after a restart U takes back the restart itself.
    if (launches.empty())
        launches.swap(game.aids.before_restart);
    if (launches.empty())
        return;
    game.events.push_back({WorldEventKind::UNDONE, game.grid_position});
    const LaunchStart start = launches.back();
    launches.pop_back();
    place_ship(game, start.ship);
    view_index = start.view_index;
    vertical_heading = start.vertical_heading;
    apply_chosen_heading();
}

void point_along_shortest_way(Game& game)
{
    const LevelSearch search = search_level(*game.level_grid, resting_ship(game));
    if (!search.solvable) {
        std::cout << NO_WAY_LINE << std::endl;
        game.events.push_back({WorldEventKind::NO_WAY, game.grid_position});
        return;
    }
    const LaunchHeading& first = LAUNCH_HEADINGS[search.solution.front()];
    choose_heading(first.axis, first.sign);
    game.events.push_back({WorldEventKind::HINTED, game.grid_position});
}

} // namespace

void answer_requests(Game& game)
{
    PlayerAids& aids = game.aids;
    if (aids.restart_requested) {
        aids.restart_requested = false;
        game.events.push_back({WorldEventKind::RESTARTED, game.grid_position});
        // Taking back the restart puts the ship where it rests now.
        game.aids.launches.push_back(launch_start(game));
        restart_level(game);
    }
    if (aids.undo_requested) {
        aids.undo_requested = false;
        take_back_launch(game);
    }
    if (aids.hint_requested) {
        aids.hint_requested = false;
        point_along_shortest_way(game);
    }
}

void launch_begins(Game& game)
{
    game.aids.launches.push_back(launch_start(game));
    game.aids.before_restart.clear();
}

void launch_rests(Game& game)
{
    std::vector<LaunchStart>& launches = game.aids.launches;
    if (!launches.empty() && launches.back().ship == resting_ship(game))
        launches.pop_back();
}

void start_level(Game& game)
{
    build_world(game);
    game.aids.launches.clear();
    game.aids.before_restart.clear();
}

void restart_level(Game& game)
{
    std::vector<LaunchStart> before = std::move(game.aids.launches);
    start_level(game);
    game.aids.before_restart = std::move(before);
}
