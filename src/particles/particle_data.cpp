#include "particles/particle_system.h"

#include <cstdlib>

namespace {

// One start coordinate: 0, 0.02, ..., 1.98.
float start_coordinate()
{
    return static_cast<float>(std::rand() % 100) / 50.0f;
}

// One start speed: 0 to 0.00495 per step in steps of 0.00005, times the sign
// of +2 or -2 that was drawn for it.
float start_speed(float sign)
{
    return static_cast<float>(std::rand() % 100) / 20000.0f * sign;
}

float start_sign()
{
    return std::rand() % 2 == 1 ? 2.0f : -2.0f;
}

} // namespace

std::vector<glm::vec4> make_start_positions(uint32_t count)
{
    std::vector<glm::vec4> positions(count);
    for (glm::vec4& p : positions) {
        p.z = start_coordinate();
        p.y = start_coordinate();
        p.x = start_coordinate();
        p.w = 1.0f;
    }
    return positions;
}

std::vector<glm::vec4> make_start_velocities(uint32_t count)
{
    std::vector<glm::vec4> velocities(count);
    for (glm::vec4& v : velocities) {
        const float sign_x = start_sign();
        const float sign_y = start_sign();
        const float sign_z = start_sign();
        v.z = start_speed(sign_z);
        v.y = start_speed(sign_y);
        v.x = start_speed(sign_x);
        v.w = 0.0f;
    }
    return velocities;
}

std::array<glm::vec4, 4> make_billboard_corners(const glm::mat4& camera)
{
    // The first two rows of the view matrix's rotation are the camera's
    // right and up axes in world space.
    const glm::vec3 right(camera[0][0], camera[1][0], camera[2][0]);
    const glm::vec3 up(camera[0][1], camera[1][1], camera[2][1]);
    constexpr float HALF_SIZE = 0.2f; // cells
    return {glm::vec4(HALF_SIZE * (right + up), 1.0f), glm::vec4(HALF_SIZE * (up - right), 1.0f),
            glm::vec4(-HALF_SIZE * (right + up), 1.0f), glm::vec4(HALF_SIZE * (right - up), 1.0f)};
}
