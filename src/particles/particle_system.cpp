#include "particles/particle_system.h"

#include "platform/window.h"
#include "gl/program_builder.h"

#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <iostream>

namespace {

constexpr GLsizeiptr RECORD_BYTES = 4 * sizeof(float);
// The render program reads the particle positions from this texture unit;
// unit 0 carries the sprite.
constexpr GLint INSTANCE_UNIT = 5;

// A shader that does not compile ends the game; a program that does not link
// is reported, and the effect then draws nothing useful.
ProgramOptions render_program_options()
{
    ProgramOptions options;
    options.stages = {{GL_VERTEX_SHADER, "Shaders/particlerender.vert", ""},
                      {GL_FRAGMENT_SHADER, "Shaders/particlerender.frag", ""}};
    options.attributes = {{0, "in_position"}, {1, "in_texcords"}};
    options.on_failure = OnFailure::END_GAME;
    return options;
}

// Points in; each particle leaves as at most two points, whose position and
// velocity are captured into the next pair of buffers.
ProgramOptions update_program_options()
{
    ProgramOptions options;
    options.stages = {{GL_VERTEX_SHADER, "Shaders/particlecalc.vert", ""},
                      {GL_GEOMETRY_SHADER, "Shaders/particlecalc.geom", ""}};
    options.geometry = {GL_POINTS, GL_POINTS, 2};
    options.feedback_outputs = {"gs_out_Position", "gs_out_Velocity"};
    options.attributes = {{0, "in_position"}, {1, "in_velocity"}};
    options.on_failure = OnFailure::END_GAME;
    return options;
}

GLuint make_buffer(GLsizeiptr bytes, const void* data, GLenum usage)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_TEXTURE_BUFFER, buffer);
    glBufferData(GL_TEXTURE_BUFFER, bytes, data, usage);
    return buffer;
}

// Points the update pass's two inputs at the pair it reads this time.
void point_update_inputs(GLuint positions, GLuint velocities)
{
    glBindBuffer(GL_ARRAY_BUFFER, positions);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, RECORD_BYTES, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, velocities);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, RECORD_BYTES, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

} // namespace

ParticleSystem::ParticleSystem(uint32_t sprite)
{
    particle_count = PARTICLE_COUNT;
    sprite_texture = sprite;

    render = build_program(render_program_options());
    glUseProgram(render.program);
    // From here on the frame clear is opaque black.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    update = build_program(update_program_options());

    const auto gen_vertex_arrays =
        reinterpret_cast<PFNGLGENVERTEXARRAYSPROC>(platform::get_proc_address("glGenVertexArrays"));
    bind_vertex_array =
        reinterpret_cast<PFNGLBINDVERTEXARRAYPROC>(platform::get_proc_address("glBindVertexArray"));
    bind_buffer_base =
        reinterpret_cast<PFNGLBINDBUFFERBASEPROC>(platform::get_proc_address("glBindBufferBase"));

    std::cerr << "> Creating instances..." << std::endl;
    const GLsizeiptr buffer_bytes = particle_count * RECORD_BYTES;
    const std::vector<glm::vec4> positions = make_start_positions(particle_count);
    current_positions = make_buffer(buffer_bytes, positions.data(), GL_STATIC_DRAW);
    const std::vector<glm::vec4> velocities = make_start_velocities(particle_count);
    current_velocities = make_buffer(buffer_bytes, velocities.data(), GL_STATIC_DRAW);

    gen_vertex_arrays(1, &update_vertex_array);
    bind_vertex_array(update_vertex_array);
    point_update_inputs(current_positions, current_velocities);
    bind_vertex_array(0);

    next_positions = make_buffer(buffer_bytes, nullptr, GL_DYNAMIC_COPY);
    glGenTextures(1, &instance_texture);
    glBindTexture(GL_TEXTURE_BUFFER, instance_texture);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, next_positions);
    next_velocities = make_buffer(buffer_bytes, nullptr, GL_DYNAMIC_COPY);
    glBindTexture(GL_TEXTURE_BUFFER, 0);
    glBindBuffer(GL_TEXTURE_BUFFER, 0);

    std::cerr << "> Initializing scene data..." << std::endl;
    std::cerr << "> Configuring rendering environment..." << std::endl;
    std::cerr << "> Done!" << std::endl;

    wtm_location = glGetUniformLocation(render.program, "wtm");
    pvm_location = glGetUniformLocation(render.program, "pvm");
    glUniform1i(glGetUniformLocation(render.program, "Texture0"), 0);
    glUniform1i(glGetUniformLocation(render.program, "InstanceData"), INSTANCE_UNIT);
}

void ParticleSystem::update_and_draw(glm::mat4 camera, glm::mat4 projection, glm::mat4 world,
                                     glm::mat4 model)
{
    step();
    draw_positions(current_positions, camera, projection, world, model);
}

void ParticleSystem::step_ahead(int clouds)
{
    const GLsizeiptr bytes = particle_count * RECORD_BYTES;
    while (kept_positions.size() < static_cast<size_t>(clouds))
        kept_positions.push_back(make_buffer(bytes, nullptr, GL_DYNAMIC_COPY));
    for (int cloud = 0; cloud < clouds; ++cloud) {
        step();
        glBindBuffer(GL_COPY_READ_BUFFER, current_positions);
        glBindBuffer(GL_COPY_WRITE_BUFFER, kept_positions[static_cast<size_t>(cloud)]);
        glCopyBufferSubData(GL_COPY_READ_BUFFER, GL_COPY_WRITE_BUFFER, 0, 0, bytes);
        glBindBuffer(GL_COPY_READ_BUFFER, 0);
        glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    }
}

void ParticleSystem::draw_kept(int cloud, glm::mat4 camera, glm::mat4 projection, glm::mat4 world,
                               glm::mat4 model)
{
    if (cloud >= 0 && static_cast<size_t>(cloud) < kept_positions.size())
        draw_positions(kept_positions[static_cast<size_t>(cloud)], camera, projection, world, model);
}

void ParticleSystem::step()
{
    // Read the current pair, write the next one, draw nothing; what was
    // written is the current pair from then on.
    glUseProgram(update.program);
    glEnable(GL_RASTERIZER_DISCARD);
    bind_buffer_base(GL_TRANSFORM_FEEDBACK_BUFFER, 0, next_positions);
    bind_buffer_base(GL_TRANSFORM_FEEDBACK_BUFFER, 1, next_velocities);
    bind_vertex_array(update_vertex_array);
    point_update_inputs(current_positions, current_velocities);
    glBeginTransformFeedback(GL_POINTS);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(particle_count));
    glEndTransformFeedback();
    glDisable(GL_RASTERIZER_DISCARD);
    bind_vertex_array(0);
    bind_buffer_base(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
    bind_buffer_base(GL_TRANSFORM_FEEDBACK_BUFFER, 1, 0);
    std::swap(current_positions, next_positions);
    std::swap(current_velocities, next_velocities);
}

void ParticleSystem::draw_positions(uint32_t positions, glm::mat4 camera, glm::mat4 projection, glm::mat4 world,
                                    glm::mat4 model)
{
    // One quad per particle at these positions, from arrays in this
    // process's memory: those belong to the default vertex array, never to
    // a model's.
    bind_vertex_array(0);
    glUseProgram(render.program);
    const glm::mat4 pvm = projection * camera;
    const glm::mat4 wtm = world * model;
    glUniformMatrix4fv(pvm_location, 1, GL_FALSE, glm::value_ptr(pvm));
    glUniformMatrix4fv(wtm_location, 1, GL_FALSE, glm::value_ptr(wtm));

    const std::array<glm::vec4, 4> corners = make_billboard_corners(camera);
    static const float TEXTURE_CORNERS[] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, corners.data());
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, TEXTURE_CORNERS);

    glActiveTexture(GL_TEXTURE0 + INSTANCE_UNIT);
    glBindTexture(GL_TEXTURE_BUFFER, instance_texture);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, positions);
    glActiveTexture(GL_TEXTURE0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, sprite_texture);
    glDrawArraysInstanced(GL_QUADS, 0, 4, static_cast<GLsizei>(particle_count));
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
