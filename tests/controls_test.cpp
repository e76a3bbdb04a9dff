#include "app/controls.h"
#include "platform/window.h"
#include "render/render_settings.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int KEY_W = 'W';
constexpr int KEY_A = 'A';
constexpr int KEY_S = 'S';
constexpr int KEY_D = 'D';
constexpr int KEY_Q = 'Q';

void press(int key)
{
    on_key(key, platform::PRESS);
    on_key(key, platform::RELEASE);
}

// Presses a key and returns what it printed.
std::string press_and_read(int key)
{
    ::testing::internal::CaptureStdout();
    press(key);
    return ::testing::internal::GetCapturedStdout();
}

class Controls : public ::testing::Test {
protected:
    // The program's start values.
    void SetUp() override
    {
        heading_axis = AXIS_X;
        heading_sign = +1;
        launch_requested = false;
        ship_flying = false;
        marker_matrix = glm::mat4(1.0f);
        view_index = 0;
        vertical_heading = 0;
        mipmaps_enabled = false;
        mipmap_mode = 0;
        render_settings = RenderSettings{};
    }

    void expect_heading(int axis, int sign, const std::string& what)
    {
        EXPECT_EQ(heading_axis, axis) << what;
        EXPECT_EQ(heading_sign, sign) << what;
        // The marker follows every change.
        const glm::vec3 tip = glm::mat3(marker_matrix) * glm::vec3(0, 0, 1);
        glm::vec3 expected(0.0f);
        expected[axis - 1] = static_cast<float>(sign);
        EXPECT_NEAR(glm::length(tip - expected), 0.0f, 1e-5f) << what;
    }
};

TEST_F(Controls, StartValues)
{
    const RenderSettings fresh;
    EXPECT_EQ(fresh.draw_mode, DRAW_TRIANGLES);
    EXPECT_EQ(fresh.min_filter, FILTER_LINEAR);
    EXPECT_EQ(fresh.mag_filter, FILTER_LINEAR);
}

TEST_F(Controls, ADAndWSChooseTheHeading)
{
    press(KEY_D);
    expect_heading(AXIS_Z, +1, "D");
    press(KEY_D);
    expect_heading(AXIS_X, -1, "D D");
    EXPECT_EQ(view_index, 2);
    press(KEY_D);
    press(KEY_D);
    expect_heading(AXIS_X, +1, "four times D turns all the way round");
    EXPECT_EQ(view_index, 0);

    press(KEY_A);
    expect_heading(AXIS_Z, -1, "A from the start");
    EXPECT_EQ(view_index, 3);

    press(KEY_W);
    expect_heading(AXIS_Y, +1, "W");
    press(KEY_S);
    expect_heading(AXIS_Y, -1, "S");
    press(KEY_D);
    expect_heading(AXIS_X, +1, "D after S goes on from the horizontal heading");
    EXPECT_EQ(vertical_heading, 0);
    press(KEY_W);
    press(KEY_A);
    expect_heading(AXIS_Z, -1, "A clears the vertical heading too");
    EXPECT_FALSE(launch_requested);
}

TEST_F(Controls, AnyEventRestoresTheChosenHeadingAfterANewLevel)
{
    press(KEY_D); // +z
    // A new level points the ship along +x but keeps the player's choice.
    heading_axis = AXIS_X;
    heading_sign = +1;
    update_heading_marker();
    on_key(KEY_Q, platform::PRESS);
    expect_heading(AXIS_Z, +1, "an unbound key");

    heading_axis = AXIS_X;
    update_heading_marker();
    on_key(platform::KEY_F3, platform::RELEASE);
    expect_heading(AXIS_Z, +1, "a release");
    EXPECT_EQ(render_settings.draw_mode, DRAW_TRIANGLES) << "releases act on nothing";
}

TEST_F(Controls, SpaceAsksForALaunchAndF3SwitchesTheDrawMode)
{
    on_key(platform::KEY_SPACE, platform::PRESS);
    EXPECT_TRUE(launch_requested);
    EXPECT_FALSE(ship_flying) << "the world decides whether the ship flies";

    press(platform::KEY_F3);
    EXPECT_EQ(render_settings.draw_mode, DRAW_LINE_LOOP);
    press(platform::KEY_F3);
    EXPECT_EQ(render_settings.draw_mode, DRAW_TRIANGLES);
}

TEST_F(Controls, F4SwapsSamplingAndF5StepsTheMipmapMode)
{
    constexpr int F4 = platform::KEY_F4;
    constexpr int F5 = platform::KEY_F5;
    struct Step {
        int key;
        const char* line;
        uint32_t min_filter;
        uint32_t mag_filter;
    };
    const Step steps[] = {
        {F4, "TEXTURESAMPLING NEAREST", FILTER_NEAREST, FILTER_NEAREST},
        {F4, "TEXTURESAMPLING LINEAR", FILTER_LINEAR, FILTER_LINEAR},
        // Mipmaps on keep the sampling, and F4 keeps the mip selection.
        {F5, "MIPMAP NEAREST", FILTER_LINEAR_MIPMAP_NEAREST, FILTER_LINEAR},
        {F4, "TEXTURESAMPLING NEAREST", FILTER_NEAREST_MIPMAP_NEAREST, FILTER_NEAREST},
        {F4, "TEXTURESAMPLING LINEAR", FILTER_LINEAR_MIPMAP_NEAREST, FILTER_LINEAR},
        {F5, "MIPMAP LINEAR", FILTER_LINEAR_MIPMAP_LINEAR, FILTER_LINEAR},
        {F4, "TEXTURESAMPLING NEAREST", FILTER_NEAREST_MIPMAP_LINEAR, FILTER_NEAREST},
        // Mipmaps off flip the sampling.
        {F5, "MIPMAP OFF", FILTER_LINEAR, FILTER_LINEAR},
        {F4, "TEXTURESAMPLING NEAREST", FILTER_NEAREST, FILTER_NEAREST},
        {F5, "MIPMAP NEAREST", FILTER_NEAREST_MIPMAP_NEAREST, FILTER_NEAREST},
        {F5, "MIPMAP LINEAR", FILTER_NEAREST_MIPMAP_LINEAR, FILTER_NEAREST},
        {F5, "MIPMAP OFF", FILTER_LINEAR, FILTER_LINEAR},
        {F5, "MIPMAP NEAREST", FILTER_LINEAR_MIPMAP_NEAREST, FILTER_LINEAR},
        {F5, "MIPMAP LINEAR", FILTER_LINEAR_MIPMAP_LINEAR, FILTER_LINEAR},
        {F5, "MIPMAP OFF", FILTER_NEAREST, FILTER_NEAREST},
    };
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        EXPECT_EQ(press_and_read(step.key), std::string(step.line) + "\n") << "step " << number;
        EXPECT_EQ(render_settings.min_filter, step.min_filter) << "step " << number;
        EXPECT_EQ(render_settings.mag_filter, step.mag_filter) << "step " << number;
        EXPECT_EQ(mipmaps_enabled, step.min_filter >= FILTER_NEAREST_MIPMAP_NEAREST) << "step " << number;
    }
    EXPECT_EQ(mipmap_mode, 0);
}

TEST_F(Controls, NothingChangesWhileTheShipFlies)
{
    press(KEY_D); // +z, marker along +z
    const glm::mat4 marker = marker_matrix;
    ship_flying = true;
    heading_axis = AXIS_X; // as if the flight had been launched along +x

    ::testing::internal::CaptureStdout();
    for (const int key : {KEY_W, KEY_A, KEY_S, KEY_D, platform::KEY_SPACE, platform::KEY_F3,
                          platform::KEY_F4, platform::KEY_F5, KEY_Q})
        press(key);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(heading_axis, AXIS_X);
    EXPECT_EQ(heading_sign, +1);
    EXPECT_EQ(marker_matrix, marker);
    EXPECT_EQ(view_index, 1);
    EXPECT_EQ(vertical_heading, 0);
    EXPECT_FALSE(launch_requested);
    EXPECT_EQ(render_settings.draw_mode, DRAW_TRIANGLES);
    EXPECT_EQ(render_settings.min_filter, FILTER_LINEAR);
    EXPECT_EQ(mipmap_mode, 0);

    // A key pressed in flight and released after it is not seen either.
    on_key(KEY_W, platform::PRESS);
    ship_flying = false;
    on_key(KEY_W, platform::RELEASE);
    EXPECT_EQ(vertical_heading, 0);
    expect_heading(AXIS_Z, +1, "the release only re-applies the heading");
}

} // namespace
