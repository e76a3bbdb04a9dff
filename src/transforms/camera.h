// Where the orbit camera stands, and the projection and world matrices the
// renderer uploads every frame.
#pragma once

#include <glm/glm.hpp>

// Vertical field of view in degrees, and the near and far planes in cells.
constexpr float FIELD_OF_VIEW = 60.0f;
constexpr float NEAR_PLANE = 0.1f;
constexpr float FAR_PLANE = 100.0f;

// Where a camera stands that looks at the target from this distance, turned
// about the vertical axis by the azimuth and down from +y by the polar angle,
// both in degrees.
glm::vec3 orbit_eye(const glm::vec3& target, float distance, float azimuth_degrees, float polar_degrees);

glm::mat4 make_projection(int width, int height);

// Moves a grid of the given edge length so that its centre is at the
// origin, where the camera looks.
glm::mat4 make_world_translation(int grid_size);
