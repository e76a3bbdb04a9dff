// The beamer effect on a real context, its buffers read back after each
// step: what the simulation really did.
#include "gl_test.h"
#include "particles/particle_system.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <filesystem>

namespace {

// A step of our own: the position moves by the velocity, so the number of
// steps shows in the numbers.
const char* const ADDING_GEOMETRY = R"(#version 150
layout(points) in;
layout(points, max_vertices = 2) out;
in vec4 vs_position[], vs_velocity[];
out vec4 gs_out_Position, gs_out_Velocity;
void main()
{
    gs_out_Position = vs_position[0] + vec4(vs_velocity[0].xyz, 0.0);
    gs_out_Velocity = vs_velocity[0];
    EmitVertex();
}
)";

class ParticleSystemTest : public GlTest {};

// Both buffer pairs in turn, each holding exactly one record a particle.
TEST_F(ParticleSystemTest, EachStepReadsWhatTheLastOneWrote)
{
    const ScratchDirectory scratch;
    std::filesystem::copy(std::string(TIRAK_DATA_DIR) + "/Shaders", "Shaders");
    scratch.write("Shaders/particlecalc.geom", ADDING_GEOMETRY);
    std::srand(7);
    std::vector<glm::vec4> positions = make_start_positions(PARTICLE_COUNT);
    const std::vector<glm::vec4> velocities = make_start_velocities(PARTICLE_COUNT);
    std::srand(7);
    std::unique_ptr<ParticleSystem> system;
    capture_output([&] { system = std::make_unique<ParticleSystem>(0); });
    const glm::mat4 identity(1.0f);
    for (int steps = 1; steps <= 2; ++steps) {
        system->update_and_draw(identity, identity, identity, identity);
        for (uint32_t i = 0; i < PARTICLE_COUNT; ++i)
            positions[i] += glm::vec4(glm::vec3(velocities[i]), 0.0f);
        EXPECT_EQ(buffer_contents<glm::vec4>(GL_ARRAY_BUFFER, system->current_positions), positions)
            << "after " << steps << " steps";
        EXPECT_EQ(buffer_contents<glm::vec4>(GL_ARRAY_BUFFER, system->current_velocities), velocities)
            << "after " << steps << " steps";
    }
    // Stepped ahead for a frame of several passes: the same steps, each
    // one's positions kept for its cloud.
    system->step_ahead(2);
    for (size_t cloud = 0; cloud < 2; ++cloud) {
        for (uint32_t i = 0; i < PARTICLE_COUNT; ++i)
            positions[i] += glm::vec4(glm::vec3(velocities[i]), 0.0f);
        EXPECT_EQ(buffer_contents<glm::vec4>(GL_ARRAY_BUFFER, system->kept_positions.at(cloud)), positions)
            << "cloud " << cloud;
    }
    EXPECT_EQ(buffer_contents<glm::vec4>(GL_ARRAY_BUFFER, system->current_positions), positions);
}

TEST(BillboardCorners, FaceTheCameraUprightFromAnyView)
{
    const glm::mat4 camera = glm::lookAt(glm::vec3(7, 9.9f, 7), glm::vec3(0), glm::vec3(0, 1, 0));
    const auto corners = make_billboard_corners(camera);
    const glm::vec3 seen[] = {{0.2f, 0.2f, 0}, {-0.2f, 0.2f, 0}, {-0.2f, -0.2f, 0}, {0.2f, -0.2f, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_LT(glm::distance(glm::mat3(camera) * glm::vec3(corners[i]), seen[i]), 1e-5f) << "corner " << i;
}

} // namespace
