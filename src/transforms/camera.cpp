#include "transforms/camera.h"

#include "game/game.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

void Game::update_camera()
{
    const float polar = glm::radians(camera_polar);
    const float azimuth = glm::radians(camera_azimuth);
    const float r = camera_distance;
    camera_eye.x = camera_target.x + r * std::sin(polar) * std::cos(azimuth);
    camera_eye.y = camera_target.y + r * std::cos(polar);
    camera_eye.z = camera_target.z - r * std::sin(polar) * std::sin(azimuth);
    view_matrix = glm::lookAt(camera_eye, camera_target, camera_up);
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
