// The projection and world matrices the renderer uploads every frame. The
// orbit camera itself is Game::update_camera.
#pragma once

#include <glm/glm.hpp>

// Vertical field of view in degrees, and the near and far planes in cells.
constexpr float FIELD_OF_VIEW = 60.0f;
constexpr float NEAR_PLANE = 0.1f;
constexpr float FAR_PLANE = 100.0f;

glm::mat4 make_projection(int width, int height);

// Moves a grid of the given edge length so that its centre is at the
// origin, where the camera looks.
glm::mat4 make_world_translation(int grid_size);
