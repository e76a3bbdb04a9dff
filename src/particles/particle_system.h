#pragma once

#include <cstdint>

// The beamer effect: particles simulated on the graphics card by transform
// feedback and drawn as camera-facing quads. The OpenGL objects it names live
// until the context ends, so it deletes nothing itself.
class ParticleSystem {
public:
    uint32_t render_vertex_shader = 0;
    uint32_t render_fragment_shader = 0;
    uint32_t render_program = 0;
    uint32_t update_vertex_shader = 0;
    uint32_t update_geometry_shader = 0;
    uint32_t update_program = 0;
    uint32_t particle_count = 0;
    uint32_t update_vertex_array = 0;
    uint32_t current_positions = 0;
    uint32_t current_velocities = 0;
    uint32_t next_positions = 0;
    uint32_t next_velocities = 0;
    uint32_t instance_texture = 0;
    uint32_t sprite_texture = 0;
    int32_t pvm_location = -1;
    int32_t wtm_location = -1;
};
