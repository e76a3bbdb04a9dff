#include "render/unlit_program.h"

#include "render/shader_program.h"

#include <iostream>

namespace {

const char* const VERTEX_SOURCE = R"(#version 150
uniform mat4 camera_matrix;
uniform mat4 projection_matrix;
uniform mat4 world_translation_matrix;
uniform mat4 cubetranslation_matrix;
in vec4 in_position;
in vec2 in_textcoords;
out vec2 texture_coordinates;
void main()
{
    texture_coordinates = in_textcoords;
    gl_Position = projection_matrix * camera_matrix * world_translation_matrix * cubetranslation_matrix * in_position;
}
)";

// The texture unit decodes the sRGB texels; alpha is opacity.
const char* const FRAGMENT_SOURCE = R"(#version 150
uniform sampler2D Texture0;
in vec2 texture_coordinates;
out vec4 out_color;
void main()
{
    out_color = texture(Texture0, texture_coordinates);
}
)";

void bind_like_phong(GLuint unlit, GLuint phong, const char* attribute)
{
    const GLint location = glGetAttribLocation(phong, attribute);
    if (location >= 0)
        glBindAttribLocation(unlit, static_cast<GLuint>(location), attribute);
}

} // namespace

UnlitProgram build_unlit_program(uint32_t phong_program)
{
    UnlitProgram unlit;
    const GLuint vertex = compile_shader_source(VERTEX_SOURCE, GL_VERTEX_SHADER);
    const GLuint fragment = compile_shader_source(FRAGMENT_SOURCE, GL_FRAGMENT_SHADER);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    bind_like_phong(program, phong_program, "in_position");
    bind_like_phong(program, phong_program, "in_textcoords");
    glBindFragDataLocation(program, 0, "out_color");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::cerr << "The sky and wall program did not link; they are drawn with the Phong program." << std::endl;
        glDeleteProgram(program);
        return unlit;
    }
    unlit.program = program;
    unlit.camera_matrix = glGetUniformLocation(program, "camera_matrix");
    unlit.projection_matrix = glGetUniformLocation(program, "projection_matrix");
    unlit.world_translation_matrix = glGetUniformLocation(program, "world_translation_matrix");
    unlit.cubetranslation_matrix = glGetUniformLocation(program, "cubetranslation_matrix");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "Texture0"), 0);
    glUseProgram(0);
    return unlit;
}
