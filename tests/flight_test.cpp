#include "support/scratch_levels.h"

#include "game/game.h"
#include "world/level_show.h"
#include "world/flight.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr double DT = 0.02; // seconds: each crossed cell adds 0.04 to the lead
constexpr float LEAD = 0.04f;
constexpr int FRAME_LIMIT = 1000;

using Cell = std::array<int32_t, 3>;

// What the ship looked like after one flight step.
struct Frame {
    glm::vec3 drawn;
    Cell cell;
    bool flying;
};

class Flight : public ::testing::Test {
protected:
    // Loads levels/1.lev as the game would.
    void load(int size, const std::string& entries)
    {
        scratch.write_level(1, level_text(size, entries));
        game.level_number = 1;
        build_world(game);
    }

    glm::vec3 drawn() const { return glm::vec3(game.cubes[game.ship_index]); }

    // Presses Space with the given heading and plays frames until the ship
    // rests again, which includes a new or restarted level.
    std::vector<Frame> launch(int axis, int sign)
    {
        heading_axis = axis;
        heading_sign = sign;
        launch_requested = true;
        std::vector<Frame> frames;
        while (frames.size() < FRAME_LIMIT) {
            flight_step(game, DT);
            frames.push_back({drawn(), game.grid_position, ship_flying});
            if (!ship_flying && !launch_requested)
                return frames;
        }
        ADD_FAILURE() << "the flight did not end\n" << show_level(*game.level_grid);
        return frames;
    }

    ScratchLevels scratch;
    Game game;
};

TEST_F(Flight, ACubeStopsTheShipInFrontOfItAtExactlyThatCell)
{
    load(5, "0 0 0 5 3 0 0 1 4 4 4 6");
    const std::vector<Frame> frames = launch(AXIS_X, +1);

    // A whole cell ahead for the picture, then the cell catches up while the
    // picture gains 2 * dt; the stop takes the lead away again.
    const std::vector<float> drawn_x{1.0f, 1.0f + LEAD, 2.0f + LEAD, 2.0f + 2 * LEAD, 2.0f};
    const std::vector<int32_t> cell_x{0, 1, 1, 2, 2};
    ASSERT_EQ(frames.size(), drawn_x.size()) << show_level(*game.level_grid);
    for (size_t k = 0; k < frames.size(); ++k) {
        EXPECT_NEAR(frames[k].drawn.x, drawn_x[k], 1e-5f) << "frame " << k;
        EXPECT_EQ(frames[k].cell, (Cell{cell_x[k], 0, 0})) << "frame " << k;
        EXPECT_EQ(frames[k].flying, k + 1 < frames.size()) << "frame " << k;
    }
    EXPECT_EQ(frames.back().drawn, glm::vec3(2, 0, 0)) << "exactly on the cell";

    // With the cube straight ahead nothing moves, and the launch is over in
    // the same frame.
    const std::vector<Frame> blocked = launch(AXIS_X, +1);
    ASSERT_EQ(blocked.size(), 1u);
    EXPECT_EQ(blocked[0].drawn, glm::vec3(2, 0, 0));
    EXPECT_EQ(blocked[0].cell, (Cell{2, 0, 0}));
    EXPECT_FALSE(launch_requested);
}

TEST_F(Flight, HiddenWallsStopTheShipButKeepItsLead)
{
    load(5, "0 0 4 5 0 0 1 3 4 4 4 6");
    const std::vector<Frame> frames = launch(AXIS_Z, -1);
    EXPECT_EQ(frames.back().cell, (Cell{0, 0, 2}));
    EXPECT_NEAR(frames.back().drawn.z, 2.0f - 2 * LEAD, 1e-5f);
}

TEST_F(Flight, BeamersSendTheShipOnFromTheOtherOneBothWays)
{
    // A = (1, 0, 0) comes first in cell order, B = (1, 0, 3) last; they
    // share x and y, so only a comparison of all three coordinates tells
    // which one was entered.
    const std::string beamers = "1 0 0 2 1 0 3 2 4 0 0 1 4 0 3 1 2 2 2 6 ";

    load(5, beamers + "0 0 0 5");
    std::vector<Frame> frames = launch(AXIS_X, +1);
    // The frame that enters A leaves the ship in B and moves it on at once.
    EXPECT_EQ(frames[0].cell, (Cell{1, 0, 3}));
    EXPECT_EQ(frames[0].drawn, glm::vec3(2, 0, 3));
    EXPECT_TRUE(frames[0].flying);
    EXPECT_EQ(frames.back().cell, (Cell{3, 0, 3})) << "flies on along +x from B";
    EXPECT_EQ(frames.back().drawn, glm::vec3(3, 0, 3));

    load(5, beamers + "0 0 3 5");
    frames = launch(AXIS_X, +1);
    EXPECT_EQ(frames[0].cell, (Cell{1, 0, 0}));
    EXPECT_EQ(frames.back().cell, (Cell{3, 0, 0})) << "flies on along +x from A";

    // Beamers on a line along the flight: entering B from above leaves from
    // A and goes on down.
    load(5, "2 0 1 2 2 3 1 2 2 4 1 5 4 4 4 6");
    frames = launch(AXIS_Y, -1);
    EXPECT_EQ(frames[0].cell, (Cell{2, 0, 1}));
    ASSERT_EQ(frames.back().cell, (Cell{2, 4, 1})) << "lost below the grid and back at the start";
}

TEST_F(Flight, AShipStoppedAtItsExitBeamerRestsHalfwayThroughAStep)
{
    // Out of the second beamer with a cube right behind it: the ship stops
    // in the beamer's cell, but the frame that brought it there already made
    // the first half of a step.
    load(5, "0 0 0 5 1 0 0 2 3 0 2 2 4 0 2 1 0 4 4 6");
    std::vector<Frame> frames = launch(AXIS_X, +1);
    EXPECT_EQ(frames.back().cell, (Cell{3, 0, 2}));
    EXPECT_EQ(frames.back().drawn, glm::vec3(3, 0, 2));
    EXPECT_EQ(game.flight_progress, 1.0f);

    // So the next flight takes its first cell in its first frame, while the
    // picture only gains the lead; a cube stop puts it right again.
    frames = launch(AXIS_Z, -1);
    EXPECT_EQ(frames[0].cell, (Cell{3, 0, 1}));
    EXPECT_NEAR(frames[0].drawn.z, 2.0f - LEAD, 1e-5f);
}

TEST_F(Flight, ASingleBeamerPutsTheShipBackIntoItself)
{
    load(6, "0 1 1 5 2 1 1 2 5 1 1 1 0 0 0 6");
    const std::vector<Frame> frames = launch(AXIS_X, +1);
    // Entered from (1, 1, 1); out of the same beamer at (2, 1, 1), then on.
    EXPECT_EQ(frames[2].cell, (Cell{2, 1, 1}));
    EXPECT_EQ(frames[2].drawn, glm::vec3(3, 1, 1));
    EXPECT_EQ(frames.back().cell, (Cell{4, 1, 1}));
    EXPECT_EQ(frames.back().drawn, glm::vec3(4, 1, 1));
}

TEST_F(Flight, TheGoalLoadsTheNextLevelInTheSameFrame)
{
    scratch.write_level(3, level_text(4, "0 0 0 5 0 1 0 6"));
    scratch.write_level(1, level_text(4, "3 3 3 5 0 0 0 6 1 1 1 1"));
    game.level_number = 3;
    build_world(game);

    const std::vector<Frame> frames = launch(AXIS_Y, +1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(game.level_number, 4);
    EXPECT_EQ(game.grid_position, (Cell{3, 3, 3})) << "level 4 is levels/1.lev";
    EXPECT_EQ(game.cubes.size(), 3u);
    EXPECT_EQ(heading_axis, AXIS_X) << "a new level points the ship along +x";
    EXPECT_FALSE(launch_requested);
}

TEST_F(Flight, FlyingTooFarOutRestartsTheSameLevel)
{
    load(5, "2 1 2 5 4 4 4 6");
    std::vector<Frame> frames = launch(AXIS_X, +1);
    ASSERT_GE(frames.size(), 2u);
    const Frame& last_flying = frames[frames.size() - 2];
    EXPECT_TRUE(last_flying.flying);
    EXPECT_GT(last_flying.drawn.x, 14.0f);
    EXPECT_LE(last_flying.drawn.x, LOST_ABOVE);
    EXPECT_EQ(game.grid_position, (Cell{2, 1, 2})) << "back at the start";
    EXPECT_EQ(drawn(), glm::vec3(2, 1, 2));
    EXPECT_EQ(game.level_number, 1);

    // A changed file shows that the restart reads the level again.
    scratch.write_level(1, level_text(5, "1 3 0 5 4 4 4 6"));
    frames = launch(AXIS_Z, -1);
    const Frame& last_below = frames[frames.size() - 2];
    EXPECT_GE(last_below.drawn.z, LOST_BELOW);
    EXPECT_LT(last_below.drawn.z, -9.0f);
    EXPECT_EQ(game.grid_position, (Cell{1, 3, 0})) << "the rewritten file was read again";
    EXPECT_EQ(game.level_number, 1);
}

TEST_F(Flight, TheLossBoundsHoldInsideLargeGrids)
{
    load(20, "0 0 0 5 19 19 19 6");
    const std::vector<Frame> frames = launch(AXIS_X, +1);
    const Frame& last_flying = frames[frames.size() - 2];
    EXPECT_LT(last_flying.cell[0], 19) << "still inside the grid";
    EXPECT_EQ(game.grid_position, (Cell{0, 0, 0}));
}

} // namespace
