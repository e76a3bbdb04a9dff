#include "world/assist.h"

#include "game/game.h"
#include "world/level_search.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <iostream>
#include <vector>

namespace {

// Where a launch began: the resting ship and the heading the player had
// chosen, so that launching again from there does what it did before.
struct LaunchStart {
    RestingShip ship;
    int view_index = 0;
    int vertical_heading = 0;
};

std::vector<LaunchStart> launches;

void take_back_launch(Game& game)
{
    if (launches.empty())
        return;
    const LaunchStart start = launches.back();
    launches.pop_back();
    place_ship(game, start.ship);
    view_index = start.view_index;
    vertical_heading = start.vertical_heading;
    apply_chosen_heading();
}

void point_along_shortest_way(Game& game)
{
    const LevelSearch search = search_level(game);
    if (!search.solvable) {
        std::cout << NO_WAY_LINE << std::endl;
        return;
    }
    const LaunchHeading& first = LAUNCH_HEADINGS[search.solution.front()];
    choose_heading(first.axis, first.sign);
}

} // namespace

void answer_requests(Game& game)
{
    if (restart_requested) {
        restart_requested = false;
        build_world(game);
    }
    if (undo_requested) {
        undo_requested = false;
        take_back_launch(game);
    }
    if (hint_requested) {
        hint_requested = false;
        point_along_shortest_way(game);
    }
}

void launch_begins(const Game& game)
{
    launches.push_back({resting_ship(game), view_index, vertical_heading});
}

void launch_rests(const Game& game)
{
    if (!launches.empty() && same_ship(launches.back().ship, resting_ship(game)))
        launches.pop_back();
}

void forget_launches()
{
    launches.clear();
}
