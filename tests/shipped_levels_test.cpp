// The three levels that ship with the game: playable, as hard as they were
// designed to be, and played through in a row with the keys.
#include "app/controls.h"
#include "game/game.h"
#include "level_check.h"
#include "level_search.h"
#include "platform/window.h"
#include "world/flight.h"
#include "world/level_loader.h"
#include "world/level_show.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace {

const std::string DATA_DIR = TIRAK_DATA_DIR;
constexpr double DT = 1.0 / 60.0;
constexpr int FLIGHT_FRAME_LIMIT = 1000;

std::string shipped(int number)
{
    return DATA_DIR + "/levels/" + std::to_string(number) + ".lev";
}

struct Solution {
    LevelSearch search;
    std::string grid_text;
};

Solution solve(int number)
{
    Game game;
    build_world_from_file(game, shipped(number));
    return {search_level(game), show_level(*game.level_grid)};
}

std::set<int32_t> cell_values(int number)
{
    LevelGrid grid;
    fill_level_grid(read_level_file(shipped(number)), grid);
    return std::set<int32_t>(grid.cells.begin(), grid.cells.end());
}

int32_t beamer_count(int number)
{
    LevelGrid grid;
    fill_level_grid(read_level_file(shipped(number)), grid);
    return static_cast<int32_t>(std::count(grid.cells.begin(), grid.cells.end(), CELL_BEAMER));
}

TEST(ShippedLevels, PassTheCheck)
{
    for (int number = 1; number <= 3; ++number)
        EXPECT_EQ(check_level_file(shipped(number)), std::vector<std::string>{}) << shipped(number);
}

TEST(ShippedLevels, TeachCubesThenBeamersThenEverything)
{
    // Pinned, so that an edit that makes a level easier or harder shows.
    const Solution first = solve(1);
    EXPECT_EQ(first.search.solution.size(), 4u) << first.grid_text;
    EXPECT_EQ(first.search.dead_ends.size(), 0u) << "the first level forgives";
    EXPECT_EQ(cell_values(1), (std::set<int32_t>{CELL_EMPTY, CELL_CUBE, CELL_SHIP_START, CELL_GOAL}));

    const Solution second = solve(2);
    EXPECT_EQ(second.search.solution.size(), 4u) << second.grid_text;
    EXPECT_EQ(beamer_count(2), 2);

    const Solution third = solve(3);
    EXPECT_EQ(third.search.solution.size(), 6u) << third.grid_text;
    EXPECT_EQ(beamer_count(3), 2);
    EXPECT_FALSE(third.search.dead_ends.empty());
    std::set<int> axes;
    for (const int heading : third.search.solution)
        axes.insert(LAUNCH_HEADINGS[heading].axis);
    EXPECT_EQ(axes, (std::set<int>{AXIS_X, AXIS_Y, AXIS_Z})) << "every way to the goal needs all three axes";
}

// Turns the ship with the keys a player would press.
void aim(int heading)
{
    const LaunchHeading& wanted = LAUNCH_HEADINGS[heading];
    for (int presses = 0; heading_axis != wanted.axis || heading_sign != wanted.sign; ++presses) {
        ASSERT_LT(presses, 8) << "cannot aim " << wanted.name;
        if (wanted.axis == AXIS_Y) {
            on_key(wanted.sign > 0 ? 'W' : 'S', platform::PRESS);
        } else {
            on_key('D', platform::PRESS);
        }
    }
}

// Runs the rest of a test in another working directory.
struct WorkingDirectory {
    explicit WorkingDirectory(const std::string& path) { std::filesystem::current_path(path); }
    ~WorkingDirectory() { std::filesystem::current_path(home); }
    const std::filesystem::path home = std::filesystem::current_path();
};

TEST(ShippedLevels, PlayThroughAllThreeAndBackToTheFirst)
{
    const WorkingDirectory data(DATA_DIR); // the game reads levels/ from here
    view_index = 0;
    vertical_heading = 0;
    launch_requested = false;

    Game game;
    game.level_number = 1;
    build_world(game);
    for (int number = 1; number <= 3; ++number) {
        const Solution plan = solve(number);
        ASSERT_EQ(game.level_number, number);
        for (const int heading : plan.search.solution) {
            aim(heading);
            on_key(platform::KEY_SPACE, platform::PRESS);
            int frames = 0;
            do {
                flight_step(game, DT);
            } while ((ship_flying || launch_requested) && ++frames < FLIGHT_FRAME_LIMIT);
            ASSERT_LT(frames, FLIGHT_FRAME_LIMIT);
        }
        EXPECT_EQ(game.level_number, number + 1) << "level " << number << " was not finished";
    }
    // Level 4 is the first file again.
    Game first;
    build_world_from_file(first, "levels/1.lev");
    EXPECT_EQ(game.cubes.size(), first.cubes.size());
    EXPECT_EQ(game.grid_position, first.grid_position);
}

} // namespace
