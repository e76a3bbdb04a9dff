#include "particles/particle_system.h"

#include "platform/window.h"
#include "render/info_log.h"
#include "render/shader_file.h"

#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <iostream>

namespace {

constexpr GLsizeiptr RECORD_BYTES = 4 * sizeof(float);
constexpr GLsizei LINK_LOG_BYTES = 10000;
// The render program reads the particle positions from this texture unit;
// unit 0 carries the sprite.
constexpr GLint INSTANCE_UNIT = 5;

// Entry points that the effect fetches from the window library itself.
PFNGLGENVERTEXARRAYSPROC gen_vertex_arrays = nullptr;
PFNGLBINDVERTEXARRAYPROC bind_vertex_array = nullptr;
PFNGLBINDBUFFERBASEPROC bind_buffer_base = nullptr;

void link_or_report(GLuint program)
{
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cerr << "Failed to link shaders: " << std::endl;
        std::cerr << program_info_log(program, LINK_LOG_BYTES) << std::endl;
    }
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

    render_vertex_shader = compile_shader_file("Shaders/particlerender.vert", GL_VERTEX_SHADER);
    render_fragment_shader = compile_shader_file("Shaders/particlerender.frag", GL_FRAGMENT_SHADER);
    render_program = glCreateProgram();
    glAttachShader(render_program, render_vertex_shader);
    glAttachShader(render_program, render_fragment_shader);
    glBindAttribLocation(render_program, 0, "in_position");
    glBindAttribLocation(render_program, 1, "in_texcords");
    link_or_report(render_program);
    glUseProgram(render_program);
    // From here on the frame clear is opaque black.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    update_vertex_shader = compile_shader_file("Shaders/particlecalc.vert", GL_VERTEX_SHADER);
    update_geometry_shader = compile_shader_file("Shaders/particlecalc.geom", GL_GEOMETRY_SHADER);
    update_program = glCreateProgram();
    glAttachShader(update_program, update_vertex_shader);
    glAttachShader(update_program, update_geometry_shader);
    // Older drivers take the geometry stage's primitive types from the
    // program; Mesa has no such entry point and reads them from the source,
    // which declares them too.
    if (glProgramParameteriARB) {
        glProgramParameteriARB(update_program, GL_GEOMETRY_INPUT_TYPE_ARB, GL_POINTS);
        glProgramParameteriARB(update_program, GL_GEOMETRY_OUTPUT_TYPE_ARB, GL_POINTS);
        glProgramParameteriARB(update_program, GL_GEOMETRY_VERTICES_OUT_ARB, 2);
    }
    const char* outputs[] = {"gs_out_Position", "gs_out_Velocity"};
    glTransformFeedbackVaryings(update_program, 2, outputs, GL_SEPARATE_ATTRIBS);
    glBindAttribLocation(update_program, 0, "in_position");
    glBindAttribLocation(update_program, 1, "in_velocity");
    link_or_report(update_program);

    gen_vertex_arrays =
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

    wtm_location = glGetUniformLocation(render_program, "wtm");
    pvm_location = glGetUniformLocation(render_program, "pvm");
    glUniform1i(glGetUniformLocation(render_program, "Texture0"), 0);
    glUniform1i(glGetUniformLocation(render_program, "InstanceData"), INSTANCE_UNIT);
}

void ParticleSystem::update_and_draw(glm::mat4 camera, glm::mat4 projection, glm::mat4 world,
                                     glm::mat4 model)
{
    // Update: read the current pair, write the next one, draw nothing.
    glUseProgram(update_program);
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

    // Draw: one quad per particle at the positions just written.
    glUseProgram(render_program);
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
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, next_positions);
    glActiveTexture(GL_TEXTURE0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, sprite_texture);
    glDrawArraysInstanced(GL_QUADS, 0, 4, static_cast<GLsizei>(particle_count));
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);

    std::swap(current_positions, next_positions);
    std::swap(current_velocities, next_velocities);
}
