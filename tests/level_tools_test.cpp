#include "support/scratch_levels.h"

#include "level_check.h"
#include "level_search.h"
#include "world/level_show.h"

#include "game/game.h"
#include "world/level_loader.h"
#include "world/world_build.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Problems = std::vector<std::string>;

struct Solved {
    bool solvable;
    std::string launches;      // "+x +z"
    std::string dead_ends;     // "0 0 3; 1 2 3"
    std::string endless;       // "+x from 2 0 0; ..."
};

std::string cell_text(const std::array<int32_t, 3>& cell)
{
    return std::to_string(cell[0]) + " " + std::to_string(cell[1]) + " " + std::to_string(cell[2]);
}

std::string join(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

class LevelTools : public ::testing::Test {
protected:
    Solved solve(int size, const std::string& entries)
    {
        const std::string file = scratch.write("puzzle.lev", level_text(size, entries));
        Game game;
        build_world_from_file(game, file);
        const LevelSearch search = search_level(game);

        std::vector<std::string> launches, dead_ends, endless;
        for (const int heading : search.solution)
            launches.push_back(LAUNCH_HEADINGS[heading].name);
        for (const int state : search.dead_ends)
            dead_ends.push_back(cell_text(search.states[state].cell));
        for (const auto& [state, heading] : search.endless)
            endless.push_back(std::string(LAUNCH_HEADINGS[heading].name) + " from " +
                              cell_text(search.states[state].cell));
        return {search.solvable, join(launches, " "), join(dead_ends, "; "), join(endless, "; ")};
    }

    Problems check(const std::string& text)
    {
        return check_level_file(scratch.write("checked.lev", text));
    }

    ScratchLevels scratch;
};

TEST_F(LevelTools, SolvesSmallLevelsByTheShortestWay)
{
    // Straight ahead.
    Solved solved = solve(3, "0 0 0 5 2 0 0 6");
    EXPECT_TRUE(solved.solvable);
    EXPECT_EQ(solved.launches, "+x");

    // Along x to the cube, then along z into the goal: every other first
    // launch flies out of the level.
    solved = solve(5, "0 0 0 5 4 0 0 1 3 0 2 6");
    EXPECT_EQ(solved.launches, "+x +z");
    EXPECT_EQ(solved.dead_ends, "");

    // A cube at the far end of z makes a corner the ship can reach but
    // only leave by flying out.
    solved = solve(5, "0 0 0 5 4 0 0 1 3 0 2 6 0 0 4 1");
    EXPECT_EQ(solved.launches, "+x +z");
    EXPECT_EQ(solved.dead_ends, "0 0 3");

    // Through the beamers: into the first along +x, out of the second and on
    // along +x into the goal.
    solved = solve(5, "0 0 0 5 1 0 0 2 2 3 4 2 4 3 4 6");
    EXPECT_EQ(solved.launches, "+x");

    // Up, across and down again around a wall of cubes.
    solved = solve(4, "0 0 0 5 0 3 0 1 1 0 0 1 2 0 0 6 3 0 0 1 3 2 0 1 3 1 0 1");
    EXPECT_TRUE(solved.solvable);
    EXPECT_EQ(solved.launches, "+y +x -y");

    // Nothing ever stops the ship: every launch restarts the level.
    solved = solve(3, "0 0 0 5 1 1 1 6");
    EXPECT_FALSE(solved.solvable);
    EXPECT_EQ(solved.launches, "");
    EXPECT_EQ(solved.dead_ends, "0 0 0");
}

TEST_F(LevelTools, FlightsThatNeverEndAreDeadMoves)
{
    // The ship starts between two beamers on one line: either way it is sent
    // back behind itself for ever. Up and to the goal still works, in the
    // smallest grid that holds it and in the largest.
    const std::string between_beamers = "1 0 0 2 3 0 0 2 2 0 0 5 2 3 0 6";
    for (const int size : {4, MAX_GRID_SIZE}) {
        const Solved solved = solve(size, between_beamers);
        EXPECT_EQ(solved.endless, "+x from 2 0 0; -x from 2 0 0") << "size " << size;
        EXPECT_EQ(solved.launches, "+y") << "size " << size;
    }
}

TEST_F(LevelTools, AnEndlessFlightIsKnownWhenItRepeatsItself)
{
    // The same loop in a small and in the largest grid goes round in the
    // same few frames; once counted in frames per cell of the grid, the
    // large one took minutes to give up on.
    auto frames_to_know = [this](int size) {
        Game game;
        build_world_from_file(game, scratch.write("loop.lev", level_text(size, "1 0 0 2 3 0 0 2 2 0 0 5 2 3 0 6")));
        const LaunchResult result = play_launch(game, resting_ship(game), 0); // +x
        EXPECT_EQ(result.end, LaunchEnd::ENDLESS) << "size " << size;
        return result.frames;
    };
    EXPECT_EQ(frames_to_know(MAX_GRID_SIZE), frames_to_know(4));
}

TEST_F(LevelTools, ShipsInOneCellWithTheirPicturesApartAreDifferentStates)
{
    // Two ways to rest at the exit beamer 13 0 0 right after leaving it:
    // along +z, stopped by the hidden wall at 13 0 1 with the picture in the
    // cell, and along -x, stopped by the hidden wall at 12 0 0 with the
    // picture a cell behind. Launched along +x, the first is lost when its
    // picture passes x = 15; the second flies a cell farther and stops at
    // 16 0 0, below the goal. The search meets the first one first.
    const Solved solved = solve(20, "5 0 1 5 5 0 5 2 13 0 0 2 12 0 0 7 13 0 1 7 "
                                    "9 0 1 1 8 0 6 1 17 0 0 1 16 3 0 6");
    EXPECT_TRUE(solved.solvable);
    EXPECT_EQ(solved.launches, "+x +z -x +x +y");
    EXPECT_EQ(solved.dead_ends, "13 0 0") << "the ship that came along +z can only fly out";
}

TEST_F(LevelTools, CheckReportsEveryProblem)
{
    EXPECT_EQ(check(level_text(3, "0 0 0 5 2 0 0 6")), Problems{});
    EXPECT_EQ(check_level_file("missing.lev"), Problems{"cannot be opened"});

    EXPECT_EQ(check("size = -4\ncubes = 1\nlevel = 0 0 0 5\n"), Problems{"size is -4, which is negative"});
    EXPECT_EQ(check("size = 1290\ncubes = 1\nlevel = 0 0 0 5\n"),
              Problems{"size is 1290, larger than the largest grid of 64 cells a side"});
    EXPECT_EQ(check("size = 3\ncubes = -1\n"), Problems{"cubes is -1, which is negative"});
    EXPECT_EQ(check("cubes = 1\nlevel = 0 0 0 5\n"),
              (Problems{"size is missing or 0, so the grid has no cells",
                        "entry 1 (0 0 0 5) lies outside the grid of size 0",
                        "no ship start (a cell with the value 5)", "no goal (a cell with the value 6)"}));

    EXPECT_EQ(check(level_text(3, "0 0 0 5 2 0 0 6 3 0 0 1 0 -1 2 1")),
              (Problems{"entry 3 (3 0 0 1) lies outside the grid of size 3",
                        "entry 4 (0 -1 2 1) lies outside the grid of size 3"}));
    EXPECT_EQ(check(level_text(3, "0 0 0 5 2 0 0 6 1 1 1 1 1 1 1 2")),
              (Problems{"entries 3 and 4 both fill cell 1 1 1", "1 beamer; beamers come in one pair"}));
    EXPECT_EQ(check("size = 3\ncubes = 3\nlevel = 0 0 0 5 2 0 0 6\n"),
              (Problems{"the level list holds 8 integers, but cubes = 3 asks for 12; the missing "
                        "entries read as 0 0 0 0 and empty cell 0 0 0",
                        "no ship start (a cell with the value 5)"}));
    EXPECT_EQ(check("size = 3\ncubes = 1\nlevel = 0 0 0 5 2 0 0 6\n"),
              (Problems{"the level list holds 8 integers, but cubes = 1 asks for 4; the rest is ignored",
                        "no goal (a cell with the value 6)"}));

    EXPECT_EQ(check(level_text(3, "1 1 1 6")), Problems{"no ship start (a cell with the value 5)"});
    EXPECT_EQ(check(level_text(3, "0 2 2 5 1 0 0 5 2 0 0 6")), Problems{"2 ship starts; a level has one"});
    EXPECT_EQ(check(level_text(3, "0 0 0 5")), Problems{"no goal (a cell with the value 6)"});
    EXPECT_EQ(check(level_text(3, "0 0 0 5 1 1 1 6")),
              Problems{"the goal cannot be reached from the ship start"});

    // Three beamers: flying into the second leaves from the first, right
    // behind the ship, so it flies into the second again for ever.
    EXPECT_EQ(check(level_text(5, "2 0 0 5 1 0 0 2 3 0 0 2 3 4 4 2 2 3 0 6")),
              (Problems{"3 beamers; beamers come in one pair",
                        "launching +x from 2 0 0 never ends: the beamers send the ship round for ever"}));

    // The ship rests in 2 1 1 in two ways: at the start, and back from the
    // cube at 2 1 4, stopped by the hidden wall at 2 1 0 with its picture
    // short of the cell. Both are sent round for ever along x; each launch
    // is named once.
    EXPECT_EQ(check(level_text(5, "2 1 1 5 1 1 1 2 3 1 1 2 2 1 4 1 2 1 0 7 2 3 1 6")),
              (Problems{"launching +x from 2 1 1 never ends: the beamers send the ship round for ever",
                        "launching -x from 2 1 1 never ends: the beamers send the ship round for ever"}));
}

TEST(LevelShow, DrawsOneLayerAtATime)
{
    LevelGrid grid;
    grid.size = 2;
    grid.cell_count = 8;
    grid.cells = {CELL_SHIP_START, CELL_CUBE, CELL_EMPTY, CELL_BEAMER, 7, CELL_GOAL, CELL_BEAMER, CELL_EMPTY};
    EXPECT_EQ(show_level(grid),
              "size 2: . empty  # cube  B beamer  S ship start  G goal  X hidden wall\n"
              "y = 0\n"
              "     x 0 1\n"
              "  z 0  S #\n"
              "  z 1  X G\n"
              "y = 1\n"
              "     x 0 1\n"
              "  z 0  . B\n"
              "  z 1  B .\n");
}

} // namespace
