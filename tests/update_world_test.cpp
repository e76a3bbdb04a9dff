#include "support/scratch_levels.h"
#include "support/scripted_window.h"

#include "game/game.h"
#include "world/update_world.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

constexpr double DT = 1.0 / 60.0;
constexpr float EPS = 1e-4f;

class UpdateWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted::reset();
        scratch.write_level(1, level_text(4, "0 0 0 5 3 0 0 1 3 3 3 6"));
        build_world(game);
        launch_requested = false;
    }

    ScratchLevels scratch;
    Game game;
};

TEST_F(UpdateWorld, TheMouseTurnsTheCameraOneDegreePerUnit)
{
    const glm::vec3 eye_before = game.camera_eye;
    scripted::set_mouse_pos(10, 0);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_azimuth, 325.0f);
    EXPECT_FLOAT_EQ(game.camera_polar, 45.0f);
    EXPECT_EQ(game.last_mouse_x, 10);
    EXPECT_NEAR(game.camera_eye.y, eye_before.y, EPS) << "a turn about the vertical keeps the height";
    EXPECT_GT(glm::length(game.camera_eye - eye_before), 1.0f) << "the eye moved";
    EXPECT_EQ(game.view_matrix, glm::lookAt(game.camera_eye, game.camera_target, game.camera_up));

    // Down lowers the eye; the azimuth is not wrapped.
    scripted::set_mouse_pos(60, 30);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_azimuth, 375.0f);
    EXPECT_FLOAT_EQ(game.camera_polar, 75.0f);
    EXPECT_LT(game.camera_eye.y, eye_before.y);

    // A mouse that does not move changes nothing.
    const glm::mat4 view = game.view_matrix;
    update_world(game, DT);
    EXPECT_EQ(game.view_matrix, view);
}

TEST_F(UpdateWorld, MovementsThatReachAPoleAreDropped)
{
    game.camera_polar = 175.0f;
    scripted::set_mouse_pos(3, 10);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_polar, 175.0f) << "185 is not below 180";
    EXPECT_FLOAT_EQ(game.camera_azimuth, 318.0f) << "the sideways part still turns";
    EXPECT_EQ(game.last_mouse_y, 10) << "the dropped movement is used up";

    scripted::set_mouse_pos(3, 15);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_polar, 175.0f) << "exactly 180 is refused too";

    scripted::set_mouse_pos(3, 14);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_polar, 174.0f);

    scripted::set_mouse_pos(3, 14 - 174);
    update_world(game, DT);
    EXPECT_FLOAT_EQ(game.camera_polar, 174.0f) << "exactly 0 is refused";
}

TEST_F(UpdateWorld, TheCameraFollowsTheWheelAtAFixedPace)
{
    scripted::set_mouse_wheel(1);
    for (int frame = 1; frame <= 20; ++frame) {
        update_world(game, DT);
        EXPECT_NEAR(game.camera_distance, 14.0f + 0.05f * frame, EPS) << "frame " << frame;
    }
    EXPECT_FLOAT_EQ(game.zoom_level, 1.0f);
    const float caught_up = game.camera_distance;
    update_world(game, DT);
    EXPECT_EQ(game.camera_distance, caught_up) << "no more steps once the wheel is followed";
    EXPECT_NEAR(glm::length(game.camera_eye - game.camera_target), caught_up, EPS);

    // Rolled far back, the camera comes nearer by the same step each frame
    // and passes through the target to the other side.
    scripted::set_mouse_wheel(-16);
    int frames = 0;
    while (game.zoom_level != -16.0f && frames < 400) {
        update_world(game, DT);
        ++frames;
    }
    EXPECT_NEAR(frames, 17 * 20, 1) << "17 wheel steps of 20 frames";
    EXPECT_NEAR(game.camera_distance, caught_up - 0.05f * frames, 1e-3f);
    EXPECT_LT(game.camera_distance, 0.0f);
    EXPECT_LT(game.camera_eye.y, game.camera_target.y) << "the eye went through to below";
}

TEST_F(UpdateWorld, TheGoalSpinsWithTheClockNotTheFrameTime)
{
    scripted::set_time(0.9); // 90 degrees at 100 degrees a second
    update_world(game, DT);
    // The rotating part turns about the vertical line through the cell's
    // centre: +x of the centre goes to -z of it.
    const glm::vec4 turned = game.goal_spin_matrix * glm::vec4(1.0f, 0.5f, 0.5f, 1.0f);
    EXPECT_NEAR(turned.x, 0.5f, EPS);
    EXPECT_NEAR(turned.y, 0.5f, EPS);
    EXPECT_NEAR(turned.z, 0.0f, EPS);

    const glm::mat4 spin = game.goal_spin_matrix;
    update_world(game, 0.5);
    EXPECT_EQ(game.goal_spin_matrix, spin) << "the same moment gives the same angle";
}

TEST_F(UpdateWorld, RunsTheFlightStepEveryFrame)
{
    launch_requested = true;
    update_world(game, DT);
    EXPECT_TRUE(ship_flying);
    EXPECT_EQ(game.cubes[game.ship_index].x, 1.0f);
    for (int frame = 0; frame < 10 && ship_flying; ++frame)
        update_world(game, DT);
    EXPECT_FALSE(ship_flying);
    EXPECT_EQ(game.grid_position[0], 2) << "stopped in front of the cube";
}

} // namespace
