// The beamer effect: a cloud of particles simulated on the graphics card by
// transform feedback and drawn as camera-facing quads, once at every beamer
// cell of the level.
#pragma once

#include "gl/shader_program.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <vector>

class ParticleSystem {
public:
    // Builds both shader programs and the particle buffers; the sprite is
    // the texture drawn on every quad. Needs the OpenGL context. Throws
    // FatalError when one of the shaders does not compile.
    explicit ParticleSystem(uint32_t sprite);

    // Advances the simulation one step and draws it at the cell the model
    // matrix places it in. Leaves the render program in use, blending off
    // and depth writes on.
    void update_and_draw(glm::mat4 camera, glm::mat4 projection, glm::mat4 world, glm::mat4 model);

    // For a frame drawn in several passes: the steps that drawing `clouds`
    // beamers one after another would take, each one's positions kept, so
    // that every pass draws a cloud as it was left by its own step.
    void step_ahead(int clouds);
    // Draws what the given step of the last step_ahead left, at the cell
    // the model matrix places it in. Leaves what update_and_draw leaves.
    void draw_kept(int cloud, glm::mat4 camera, glm::mat4 projection, glm::mat4 world, glm::mat4 model);

    ShaderProgram render; // draws the quads
    ShaderProgram update; // advances the simulation by transform feedback
    uint32_t particle_count = 0;
    uint32_t update_vertex_array = 0;
    uint32_t current_positions = 0; // what the next update reads
    uint32_t current_velocities = 0;
    uint32_t next_positions = 0; // what the next update writes
    uint32_t next_velocities = 0;
    uint32_t instance_texture = 0; // presents the positions to the render program
    uint32_t sprite_texture = 0;
    std::vector<uint32_t> kept_positions; // one a cloud, made as step_ahead first needs it
    int32_t pvm_location = -1;
    int32_t wtm_location = -1;
    // Entry points the effect fetches from the window library itself.
    PFNGLBINDVERTEXARRAYPROC bind_vertex_array = nullptr;
    PFNGLBINDBUFFERBASEPROC bind_buffer_base = nullptr;

private:
    void step();
    void draw_positions(uint32_t positions, glm::mat4 camera, glm::mat4 projection, glm::mat4 world,
                        glm::mat4 model);
};

// How many particles the effect has; fixed, since the buffers never grow.
constexpr uint32_t PARTICLE_COUNT = 510;

// Start values, drawn from the C library's rand(), as four floats per
// particle. Positions lie on a grid of 0.02 in [0, 1.98) with w = 1;
// velocities in [-0.0099, 0.0099] with w = 0.
std::vector<glm::vec4> make_start_positions(uint32_t count);
std::vector<glm::vec4> make_start_velocities(uint32_t count);

// The corners of a quad that faces the camera, from the camera's right and
// up axes: upper right first, then counter-clockwise.
std::array<glm::vec4, 4> make_billboard_corners(const glm::mat4& camera);
