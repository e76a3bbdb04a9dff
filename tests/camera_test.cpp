#include "game/game.h"
#include "transforms/camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float EPS = 1e-4f;

void expect_near(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, EPS);
    EXPECT_NEAR(actual.y, expected.y, EPS);
    EXPECT_NEAR(actual.z, expected.z, EPS);
}

glm::vec3 transform_point(const glm::mat4& m, const glm::vec3& p)
{
    const glm::vec4 r = m * glm::vec4(p, 1.0f);
    return glm::vec3(r) / r.w;
}

TEST(Camera, StartsAboveThePlusXPlusZCornerLookingAtTheCentre)
{
    const Game game;
    expect_near(game.camera_eye, {7.0f, 14.0f * std::cos(glm::radians(45.0f)), 7.0f});
    // The target lands straight ahead, at the orbit distance.
    expect_near(transform_point(game.view_matrix, game.camera_target), {0.0f, 0.0f, -14.0f});
    // The up vector stays up on screen.
    const glm::vec3 up_on_screen = glm::mat3(game.view_matrix) * game.camera_up;
    EXPECT_NEAR(up_on_screen.x, 0.0f, EPS);
    EXPECT_GT(up_on_screen.y, 0.0f);
}

TEST(Camera, OrbitAnglesMoveTheEyeAsThePlayerExpects)
{
    Game game;
    game.camera_azimuth = 0.0f;
    game.camera_polar = 90.0f;
    game.update_camera();
    expect_near(game.camera_eye, {14.0f, 0.0f, 0.0f});

    // More azimuth turns the eye from +x towards -z.
    game.camera_azimuth = 90.0f;
    game.update_camera();
    expect_near(game.camera_eye, {0.0f, 0.0f, -14.0f});

    // More polar angle lowers the eye below the target.
    game.camera_polar = 135.0f;
    game.camera_distance = 2.0f;
    game.update_camera();
    EXPECT_LT(game.camera_eye.y, 0.0f);
    EXPECT_NEAR(glm::length(game.camera_eye - game.camera_target), 2.0f, EPS);

    // Nearly straight above the target the view is still well defined.
    game.camera_polar = 0.5f;
    game.update_camera();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_TRUE(std::isfinite(game.view_matrix[c][r]));
}

TEST(Camera, ProjectionUsesSixtyDegreesAndTheWindowAspect)
{
    const glm::mat4 p = make_projection(800, 600);
    const float f = 1.0f / std::tan(glm::radians(30.0f));
    EXPECT_NEAR(p[1][1], f, EPS);
    EXPECT_NEAR(p[1][1] / p[0][0], 4.0f / 3.0f, EPS);

    // Points on the near and far planes map to the ends of the depth range.
    const glm::vec3 near_point = transform_point(p, {0.0f, 0.0f, -0.1f});
    const glm::vec3 far_point = transform_point(p, {0.0f, 0.0f, -100.0f});
    EXPECT_NEAR(near_point.z, -1.0f, EPS);
    EXPECT_NEAR(far_point.z, 1.0f, EPS);
}

TEST(Camera, WorldTranslationCentresTheGrid)
{
    const glm::mat4 t = make_world_translation(3);
    expect_near(transform_point(t, {0.0f, 0.0f, 0.0f}), {-1.5f, -1.5f, -1.5f});
    // Cell (1, 1, 1) of a 3-grid spans -0.5 .. 0.5, centred on the target.
    expect_near(transform_point(t, {1.0f, 1.0f, 1.0f}), {-0.5f, -0.5f, -0.5f});
    expect_near(transform_point(t, {2.0f, 2.0f, 2.0f}), {0.5f, 0.5f, 0.5f});
    expect_near(transform_point(make_world_translation(0), {1.0f, 2.0f, 3.0f}), {1.0f, 2.0f, 3.0f});
}

} // namespace
