#include "world/assist.h"

#include "game/game.h"
#include "world/game_ship.h"
#include "world/level_loader.h"
#include "world/level_search.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <algorithm>
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

} // namespace

std::string no_way_line(const std::string& restart_key)
{
    return "No way to the goal from here: press " + restart_key + " to start again.";
}

const std::string NO_WAY_LINE = no_way_line("R");

namespace {

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

// PageUp and PageDown step through the levels open to the player, Home goes
// to the first and End to the furthest. Asking for the level being played
// changes nothing.
void choose_level(Game& game, LevelChoice choice)
{
    int32_t level = game.level_number;
    LevelSet set = game.level_set;
    switch (choice) {
    case LevelChoice::NONE: return;
    case LevelChoice::PREVIOUS: level = std::max(level - 1, 1); break;
    case LevelChoice::NEXT:
        if (opens_next(game, level))
            level = next_level_number(level, game.level_file_count);
        break;
    case LevelChoice::FIRST: level = 1; break;
    case LevelChoice::FURTHEST: level = furthest_open_level(game); break;
    case LevelChoice::NUMBER:
        level = game.aids.chosen_level;
        set = game.aids.chosen_set;
        break;
    }
    if (level == game.level_number && set == game.level_set)
        return;
    enter_level_set(game, set);
    game.level_number = level;
    start_level(game);
    game.events.push_back({WorldEventKind::CHOSEN, game.grid_position, {}, level});
}

} // namespace

void enter_level_set(Game& game, LevelSet set)
{
    if (set == game.level_set)
        return;
    // The progress keeper reads the other set's solves before they count.
    game.level_set = set;
    game.level_file_count = count_level_files(set);
}

bool opens_next(const Game& game, int32_t level)
{
    // The player's own levels are all theirs to play.
    return game.level_set == LevelSet::OWN || level < game.start_level ||
           game.progress.solved(level_file_number(level, game.level_file_count));
}

int32_t furthest_open_level(const Progress& progress, int32_t start_level, int32_t file_count)
{
    // With every level solved the levels go round for ever; End then stops
    // at the last file, or the start level if that is further.
    // Every level before the start level is open: no need to count to it.
    const int32_t last = std::max(start_level, file_count);
    int32_t level = std::max(start_level, 1);
    while (level < last && progress.solved(level_file_number(level, file_count)))
        ++level;
    return level;
}

int32_t furthest_open_level(const Game& game)
{
    if (game.level_set == LevelSet::OWN)
        return game.level_file_count;
    return furthest_open_level(game.progress, game.start_level, game.level_file_count);
}

void answer_requests(Game& game)
{
    PlayerAids& aids = game.aids;
    choose_level(game, aids.level_choice);
    aids.level_choice = LevelChoice::NONE;
    // A level chosen that cannot be played has no ship to restart, take back
    // or point: what else was asked waits for a level that has one.
    if (game.ship_index < 0)
        return;
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

void work_out_par(Game& game)
{
    game.par = 0;
    if (game.ship_index < 0)
        return;
    const LevelSearch search = search_level(*game.level_grid, resting_ship(game));
    game.par = search.solvable ? static_cast<int32_t>(search.solution.size()) : 0;
}

void start_level(Game& game)
{
    build_world(game);
    work_out_par(game);
    game.aids.launches.clear();
    game.aids.before_restart.clear();
}

void restart_level(Game& game)
{
    std::vector<LaunchStart> before = std::move(game.aids.launches);
    start_level(game);
    game.aids.before_restart = std::move(before);
}
