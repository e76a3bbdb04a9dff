#include "transforms/camera.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

glm::vec3 orbit_eye(const glm::vec3& target, float distance, float azimuth_degrees, float polar_degrees)
{
    const float polar = glm::radians(polar_degrees);
    const float azimuth = glm::radians(azimuth_degrees);
    const float r = distance;
    return {target.x + r * std::sin(polar) * std::cos(azimuth), target.y + r * std::cos(polar),
            target.z - r * std::sin(polar) * std::sin(azimuth)};
}

glm::mat4 make_projection(int width, int height)
{
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    return glm::perspective(glm::radians(FIELD_OF_VIEW), aspect, NEAR_PLANE, FAR_PLANE);
}

glm::mat4 make_world_translation(int grid_size)
{
    const float half = static_cast<float>(grid_size) * -0.5f;
    return glm::translate(glm::mat4(1.0f), glm::vec3(half, half, half));
}
