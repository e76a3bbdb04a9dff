#include "support/scratch_levels.h"

#include "game/game.h"
#include "world/level_show.h"
#include "world/level_loader.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr float EPS = 1e-5f;

glm::vec3 apply(const glm::mat4& m, const glm::vec3& point)
{
    return glm::vec3(m * glm::vec4(point, 1.0f));
}

void expect_near(const glm::vec3& actual, const glm::vec3& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, EPS) << what;
    EXPECT_NEAR(actual.y, expected.y, EPS) << what;
    EXPECT_NEAR(actual.z, expected.z, EPS) << what;
}

class WorldBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        heading_axis = AXIS_Z;
        heading_sign = -1;
        launch_requested = false;
        ship_flying = true;
    }

    ScratchLevels scratch;
    Game game;
};

TEST_F(WorldBuild, ListsOccupiedCellsWithXOutermostAndPlacesTheShip)
{
    // In cell order (x fastest) the cube at (2, 0, 0) would come before the
    // goal at (0, 0, 1); the world lists x outermost, z innermost.
    scratch.write_level(1, level_text(3, "0 0 1 6 2 0 0 1 1 2 0 5 0 1 0 2"));
    game.level_number = 7; // levels/1.lev again, two rounds later
    launch_requested = true;
    game.flight_progress = 1.0f;

    build_world(game);

    ASSERT_EQ(game.grid_size, 3);
    const std::vector<glm::vec4> expected{
        {0, 0, 1, CELL_GOAL}, {0, 1, 0, CELL_BEAMER}, {1, 2, 0, CELL_SHIP_START}, {2, 0, 0, CELL_CUBE}};
    EXPECT_EQ(game.cubes, expected);
    EXPECT_EQ(game.cube_rotations.size(), expected.size());
    EXPECT_EQ(game.ship_index, 2);
    EXPECT_EQ(game.grid_position, (std::array<int32_t, 3>{1, 2, 0}));
    EXPECT_EQ(game.level_grid->cells[1 + 3 * 2], CELL_EMPTY) << "the start cell is free to fly through";

    // A new level starts at rest along +x; a launch request survives.
    EXPECT_EQ(game.flight_progress, 0.0f);
    EXPECT_FALSE(ship_flying);
    EXPECT_EQ(heading_axis, AXIS_X);
    EXPECT_EQ(heading_sign, +1);
    EXPECT_TRUE(launch_requested);

    // Building again replaces the world rather than adding to it.
    scratch.write_level(1, level_text(2, "1 1 1 5"));
    build_world(game);
    EXPECT_EQ(game.cubes, (std::vector<glm::vec4>{{1, 1, 1, CELL_SHIP_START}}));
    EXPECT_EQ(game.cube_rotations.size(), 1u);
    EXPECT_EQ(game.level_grid->size, 2);
}

TEST_F(WorldBuild, TheLastShipStartVisitedIsTheShip)
{
    scratch.write_level(1, level_text(3, "2 0 0 5 0 2 2 5 1 1 1 6"));
    build_world(game);
    ASSERT_EQ(game.cubes.size(), 3u);
    EXPECT_EQ(game.cubes[game.ship_index], glm::vec4(2, 0, 0, CELL_SHIP_START));
    EXPECT_EQ(game.cubes[0], glm::vec4(0, 2, 2, CELL_SHIP_START)) << "the other start stays drawn";
    EXPECT_EQ(game.level_grid->cells[2], CELL_EMPTY);
    EXPECT_EQ(game.level_grid->cells[0 + 3 * (2 + 3 * 2)], CELL_EMPTY);
}

TEST_F(WorldBuild, CubeTurnsAreQuarterTurnsDrawnAxisFirst)
{
    scratch.write_level(1, level_text(3, "0 0 0 5 2 1 0 1 0 2 2 1 1 1 1 6 2 2 2 1 1 0 2 2"));
    constexpr unsigned SEED = 20240611;
    std::srand(SEED);
    build_world(game);

    // The same draws again, axis then angle for each listed cell in turn.
    std::srand(SEED);
    ASSERT_EQ(game.cube_rotations.size(), 6u);
    for (size_t k = 0; k < game.cube_rotations.size(); ++k) {
        const int axis = std::rand() % 3;
        const int quarter_turns = std::rand() % 4;
        const glm::mat4& turn = game.cube_rotations[k];
        const std::string what = "entry " + std::to_string(k);

        // The cell's centre stays put and its axis stays an axis.
        expect_near(apply(turn, {0.5f, 0.5f, 0.5f}), {0.5f, 0.5f, 0.5f}, what);
        glm::vec3 along(0.0f);
        along[axis] = 1.0f;
        expect_near(glm::mat3(turn) * along, along, what);

        // A direction across the axis turns by the drawn quarter turns.
        glm::vec3 across(0.0f);
        across[(axis + 1) % 3] = 1.0f;
        const glm::vec3 expected = glm::vec3(glm::rotate(glm::mat4(1.0f),
                                                         glm::radians(90.0f * quarter_turns), along) *
                                             glm::vec4(across, 0.0f));
        expect_near(glm::mat3(turn) * across, expected, what);
    }
}

TEST(HeadingMarker, PointsTheConeAlongTheHeadingFromTheCellCentre)
{
    struct Case {
        int axis;
        int sign;
        glm::vec3 tip;
    };
    const Case cases[] = {
        {AXIS_X, +1, {1, 0, 0}}, {AXIS_X, -1, {-1, 0, 0}}, {AXIS_Y, +1, {0, 1, 0}},
        {AXIS_Y, -1, {0, -1, 0}}, {AXIS_Z, +1, {0, 0, 1}}, {AXIS_Z, -1, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        heading_axis = c.axis;
        heading_sign = c.sign;
        update_heading_marker();
        const std::string what = "axis " + std::to_string(c.axis) + " sign " + std::to_string(c.sign);
        // The cone points along +z in its own space.
        expect_near(glm::mat3(marker_matrix) * glm::vec3(0, 0, 1), c.tip, what);
        expect_near(apply(marker_matrix, glm::vec3(0.0f)), {0.5f, 0.5f, 0.5f}, what);
    }

    // A heading that is none of the six leaves the marker as it was.
    const glm::mat4 before = marker_matrix;
    heading_axis = 0;
    update_heading_marker();
    EXPECT_EQ(marker_matrix, before);
    heading_axis = AXIS_X;
    heading_sign = +1;
}

TEST(FindBeamer, FirstAndLastInCellOrder)
{
    LevelGrid grid;
    grid.size = 3;
    grid.cell_count = 27;
    grid.cells.assign(27, CELL_EMPTY);
    EXPECT_EQ(find_beamer(grid, BeamerEnd::FIRST), glm::vec3(0.0f));
    EXPECT_EQ(find_beamer(grid, BeamerEnd::LAST), glm::vec3(0.0f));

    // z counts most, x least: (2, 0, 1) comes before (0, 2, 1), and both
    // before (1, 0, 2).
    grid.cells[2 + 3 * (0 + 3 * 1)] = CELL_BEAMER;
    grid.cells[0 + 3 * (2 + 3 * 1)] = CELL_BEAMER;
    grid.cells[1 + 3 * (0 + 3 * 2)] = CELL_BEAMER;
    grid.cells[0] = CELL_CUBE;
    EXPECT_EQ(find_beamer(grid, BeamerEnd::FIRST), glm::vec3(2, 0, 1));
    EXPECT_EQ(find_beamer(grid, BeamerEnd::LAST), glm::vec3(1, 0, 2));
}

} // namespace
